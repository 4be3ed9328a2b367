#pragma once

#include "base/message.h"

#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>

class QSqlDatabase;

// What a restore will do, table by table, and whether the dump may be restored at all.
//
// The dump is read before the client tool starts, the way that tool reads it: statements
// split at the current delimiter outside quotes and comments, the contents of executable
// comments (/*!...*/, /*M!...*/) as code, and the client's own commands in both spellings
// (a backslash and a letter anywhere outside quotes, a command word at the start of a
// statement). A dump is refused when it is not complete, runs a client command (anything but
// the sandbox line and DELIMITER), names another database (USE, a qualified table, CREATE or
// ALTER DATABASE of another), drops or creates a database, changes the server (SET GLOBAL,
// users, replication) or holds a statement a dump tool does not write.
namespace RestorePreview {

// What the file does to one table.
struct Table
{
    QString name;
    qint64 now = -1;       // rows now; -1: the table does not exist now
    qint64 file = -1;      // rows the file writes after recreating it; -1: it does not recreate it
    qint64 inserted = 0;   // rows the file writes into it without recreating it
    bool dropped = false;  // dropped and not created again
    bool emptied = false;  // TRUNCATE
    bool deleted = false;  // DELETE FROM
};

// What a dump file holds and whether it may be restored into a database.
struct Dump
{
    QMap<QString, qint64> rows;  // the rows each table gets (INSERT, INSERT IGNORE, REPLACE)
    QStringList recreated;       // CREATE TABLE
    QStringList dropped;         // DROP TABLE
    QStringList emptied;         // TRUNCATE
    QStringList deleted;         // DELETE FROM
    QStringList databases;       // databases it names itself (CREATE DATABASE, USE)
    Message unfit;               // why it must not be restored anywhere; empty when it may
    bool complete = false;       // it ends as the dump tools end a dump that succeeded
};
// Reads the whole file; false with *error when it cannot be read. `database` is the database
// it is to be restored into, which the file may name and no other.
bool scan(const QString &dumpFile, const QString &database, Dump *dump, Message *error);
// Whether the file ends as the dump tools end a dump that succeeded; reads only its end.
bool dumpCompleted(const QString &dumpFile);
// Why the dump must not be restored into `database`: incomplete, or unfit (see above).
// Empty when it may.
Message refusal(const Dump &dump, const QString &dumpFile);

// Compares the dump with the connection's database; empty with *error when the file cannot be
// read or must not be restored there (see refusal).
QList<Table> compare(QSqlDatabase &db, const QString &dumpFile, Message *error);
// A line per table: what it holds now and what the file does to it.
QList<Message> lines(const QList<Table> &tables);
// The tables the file changes (recreates, drops, empties, deletes from or writes into).
QList<Table> changed(const QList<Table> &tables);

// The options that keep the client tool from running commands of its own (a shell, other
// files) where its version has them: --binary-mode everywhere (client commands other than
// \C and DELIMITER are off for piped input), MariaDB's --sandbox, MySQL's --commands=OFF or
// --system-command=OFF; found in the tool's own --help.
QStringList clientSafetyOptions(const QString &clientTool);

} // namespace RestorePreview
