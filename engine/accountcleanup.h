#pragma once

#include "db/hostconfig.h"

#include <QByteArray>
#include <QList>
#include <QStringList>

#include <functional>

class QSqlDatabase;
class UndoFile;

// Removal of the game accounts of wiped zones from the account databases ("web", "web2", ...)
// on the character database's server.
namespace AccountCleanup {

using LogSink = std::function<void(const QString &)>;

// Keeps "web" and "web" followed by digits, "web" first, then by number (web2 before web10).
QStringList filterAccountDatabases(const QStringList &names);

// The account databases on the session's server, filtered and ordered; logs the outcome.
QStringList detectAccountDatabases(QSqlDatabase &db, const LogSink &log);

// The accounts of the characters of wiped worlds.
struct WipedAccounts
{
    QList<QByteArray> names;  // to delete, as their stored bytes
    int kept = 0;             // accounts that still own a character in a world that stays
};

// The distinct account names of the characters of those worlds, less those that also own a
// character in another world (compared as the accname column compares). False with *error
// when they cannot be read.
bool collectAccountNames(QSqlDatabase &db, const QList<int> &worldIds, WipedAccounts *accounts, QString *error);

// Deletes the accounts from each database over a connection of its own, one transaction per
// database; a database that cannot be opened is skipped. Returns the number deleted.
int deleteAccounts(const HostConfig &storedConfig, const QStringList &databases,
                   const QList<QByteArray> &accountNames, const LogSink &log);

// Whether the account databases of the entry live on the character database's server, so that
// one connection and one transaction can hold both.
bool accountsOnSessionServer(const HostConfig &config);

// The accounts of `database` (on the connection's server) that deleteAccountsHere deletes.
int countAccounts(QSqlDatabase &db, const QString &database, const QList<QByteArray> &accountNames);

// Deletes the accounts from each database through `db` itself, inside the caller's transaction,
// each row first written to `undo` when given. False with *error; the caller rolls back.
bool deleteAccountsHere(QSqlDatabase &db, const QStringList &databases, const QList<QByteArray> &accountNames,
                        UndoFile *undo, const LogSink &log, QString *error);

} // namespace AccountCleanup
