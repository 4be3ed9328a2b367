#pragma once

#include "base/message.h"

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

class AccountStore;

// One change of the account table, as the account window and `quorvel-cli account` ask for it:
// what the operator chose, what it will touch, and its run in the store's transaction.
struct AccountChange
{
    enum class Kind { Register, Delete, Password, Point, Edit, AddToAll, ClearAll, SetAll };
    Kind kind = Kind::Register;
    QString name;      // Register, Delete, Password, Point
    QString password;  // Register, Password
    qint64 value = 0;  // Point, AddToAll, SetAll
    qint64 id = 0;     // Edit: the row, its assignments ("point = ?") and their values
    QStringList assignments;
    QVariantList values;

    static AccountChange of(Kind kind, const QString &name = QString(), const QString &password = QString(), qint64 value = 0)
    {
        AccountChange change;
        change.kind = kind;
        change.name = name;
        change.password = password;
        change.value = value;
        return change;
    }

    bool changesAll() const { return kind == Kind::AddToAll || kind == Kind::ClearAll || kind == Kind::SetAll; }

    struct Preview
    {
        qint64 rows = 0;  // the account rows it changes: one account's, or all of them for a batch; 0 for a registration
        Message refusal;  // the account it names does not exist
        Message failure;  // they could not be counted
    };
    Preview preview(AccountStore &store) const;

    struct Result
    {
        bool ok = false;
        Message failure;   // the store's error
        QString undoPath;  // the undo file a delete or a batch wrote
    };
    Result run(AccountStore &store) const;
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
    Message error() const { return m_error; }

    // Rows whose name contains the filter ("%" and "_" keep their LIKE meaning); all without one.
    QList<AccountRow> list(const QString &filter);

    bool registerAccount(const QString &name, const QString &password);
    // The delete and the batch point changes first write an undo file inside their transaction
    // (the deleted row, or every account's old points); undoPath() names it afterwards.
    bool deleteAccount(const QString &name);
    bool setPassword(const QString &name, const QString &password);
    bool setPoint(const QString &name, qint64 point);
    // Assignments such as "point = ?" with their values, for the row of that id.
    bool updateAccount(qint64 id, const QStringList &assignments, const QVariantList &values);
    bool addPointsToAll(qint64 points);
    bool clearPoints();
    bool setAllPoints(qint64 points);
    QString undoPath() const { return m_undoPath; }
    // The rows of the account table, or of one account: what a delete or a batch change touches.
    qint64 countRows(const QString &name = QString());

    static QString hashPassword(const QString &password);

private:
    // Runs a statement; with `mustMatch`, a statement that touches no row is a failure too.
    bool run(const QString &sql, const QVariantList &values, bool mustMatch);
    // run() in one transaction with an undo file of `operation`, written first from the rows
    // `where` selects: whole rows, or only the point column by id.
    bool runWithUndo(const QString &operation, const QString &sql, const QVariantList &values, const QString &where,
                     const QVariantList &whereValues, bool pointsOnly);

    QString m_connectionName;
    bool m_open = false;
    Message m_error;
    int m_lastErrorNumber = 0;
    QString m_undoPath;
};
