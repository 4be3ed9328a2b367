#pragma once

#include "base/message.h"

#include "db/hostconfig.h"
#include "db/operationcontext.h"

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QSqlDatabase>
#include <QStringList>

class QSqlDatabase;
class UndoFile;

// Removal of the game accounts of wiped zones from the account databases ("web", "web2", ...)
// on the character database's server.
namespace AccountCleanup {

// Keeps "web" and "web" followed by digits, "web" first, then by number (web2 before web10).
QStringList filterAccountDatabases(const QStringList &names);

// The account databases on the session's server, filtered and ordered; logs the outcome.
QStringList detectAccountDatabases(QSqlDatabase &db, const OperationContext &context);

// The accounts of the characters of wiped worlds.
struct WipedAccounts
{
    QList<QByteArray> names;  // to delete, as their stored bytes
    int kept = 0;             // accounts that still own a character in a world that stays
};

// The distinct account names of the characters of those worlds, less those that also own a
// character in another world (compared as the accname column compares). With `locking`, inside
// the caller's transaction, the rows it decides by are read as they are now and stay so until
// the transaction ends. False with *error when they cannot be read.
bool collectAccountNames(QSqlDatabase &db, const QList<int> &worldIds, WipedAccounts *accounts, Message *error,
                         bool locking = false);

// The account databases of an entry on its account server (accountHost, accountPort and their login,
// else the character server's), one connection per database, opened together so that an
// operation learns before it changes anything whether it can reach them all. Closed with the
// object.
class AccountConnections
{
public:
    AccountConnections() = default;
    ~AccountConnections();
    AccountConnections(const AccountConnections &) = delete;
    AccountConnections &operator=(const AccountConnections &) = delete;

    // False with *error naming the first database that cannot be opened; none is open then.
    bool open(const HostConfig &config, const QStringList &databases, const OperationContext &context, Message *error);
    QSqlDatabase database(const QString &name) const;

private:
    void close();
    QStringList m_connections;
};

// Deletes the accounts from each database over its own connection, one transaction per
// database. Opens them all first: one that cannot be opened deletes nothing. False with
// *error when a database could not be reached or its deletion failed (databases before it
// stay deleted, which the log says). *deleted counts the accounts deleted.
bool deleteAccounts(const HostConfig &storedConfig, const QStringList &databases, const QList<QByteArray> &accountNames,
                    const OperationContext &context, int *deleted, Message *error);
// The same over connections already open.
bool deleteAccounts(AccountConnections &connections, const QStringList &databases, const QList<QByteArray> &accountNames,
                    const OperationContext &context, int *deleted, Message *error);

// The accounts each database holds of `accountNames`, counted where deleteAccounts or
// deleteAccountsHere will delete them: through `session` when the databases live on its
// server, else on the account server. False with *error when a database cannot be read.
bool countAccounts(QSqlDatabase &session, const HostConfig &config, const QStringList &databases,
                   const QList<QByteArray> &accountNames, QMap<QString, int> *counts, Message *error);

// The account databases of the entry's account server, filtered and ordered: through the
// session when it is that server.
QStringList detectAccountDatabases(QSqlDatabase &session, const HostConfig &config, const OperationContext &context);

// Whether the account databases of the entry live on the character database's server, so that
// one connection and one transaction can hold both.
bool accountsOnSessionServer(const HostConfig &config);

// The accounts of `database` (on the connection's server) that deleteAccountsHere deletes;
// -1 when they cannot be counted.
int countAccounts(QSqlDatabase &db, const QString &database, const QList<QByteArray> &accountNames);

// Deletes the accounts from each database through `db` itself, inside the caller's transaction,
// each row first written to `undo` when given. False with *error; the caller rolls back.
bool deleteAccountsHere(QSqlDatabase &db, const QStringList &databases, const QList<QByteArray> &accountNames,
                        UndoFile *undo, const OperationContext &context, Message *error, int *deleted = nullptr);

} // namespace AccountCleanup
