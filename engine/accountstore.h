#pragma once

#include "db/hostconfig.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

// One row of the account table as the account manager lists it.
struct AccountRow
{
    qint64 id = 0;
    QString name;
    qint64 point = 0;
    qint64 expoint = 0;
    bool online = false;
    bool locked = false;
    bool gm = false;
};

// The account table of one account database, over a connection of its own.
// Every change reports false with the driver's error text in error().
class AccountStore
{
public:
    explicit AccountStore(const QString &connectionName);
    ~AccountStore();
    AccountStore(const AccountStore &) = delete;
    AccountStore &operator=(const AccountStore &) = delete;

    // One attempt, with the main session's driver: native options, or the ODBC driver the
    // main session opened with (or a default one).
    bool open(const HostConfig &accountDatabase);
    bool isOpen() const { return m_open; }
    QString error() const { return m_error; }

    // Rows whose name contains the filter ("%" and "_" keep their LIKE meaning); all without one.
    QList<AccountRow> list(const QString &filter);

    bool registerAccount(const QString &name, const QString &password);
    bool deleteAccount(const QString &name);
    bool setPassword(const QString &name, const QString &password);
    bool setPoint(const QString &name, qint64 point);
    // Assignments such as "point = ?" with their values, for the row of that id.
    bool updateAccount(qint64 id, const QStringList &assignments, const QVariantList &values);
    bool addPointsToAll(qint64 points);
    bool clearPoints();
    bool setAllPoints(qint64 points);

    static QString hashPassword(const QString &password);

private:
    // Runs a statement; with `mustMatch`, a statement that touches no row is a failure too.
    bool run(const QString &sql, const QVariantList &values, bool mustMatch);

    QString m_connectionName;
    bool m_open = false;
    QString m_error;
};
