#pragma once

#include "base/message.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

class QTemporaryFile;
class QObject;

// The MySQL client tools read the password from an owner-only option file, never from the
// command line that every user of the machine can read.
//
// Creates such a file, with the password (when there is one) under [client], and, for MySQL's
// tools (`mysqlTools`), what they need against servers of the other family; nullptr when it
// cannot be written. MariaDB's tools would print a note for each of those options, which reads
// as an error in a backup's log. The file is removed when the returned object (owned by
// `parent`) is deleted.
QTemporaryFile *createClientOptionFile(const QString &password, QObject *parent = nullptr, bool mysqlTools = true);

// The dump tool's options after the connection: a consistent dump with routines and
// triggers, without tablespaces (newer MySQL wants the PROCESS privilege for them), into `file`
// (empty: to standard output).
QStringList dumpOptions(const QString &file, const QString &database);

// MariaDB 10.11.8 and later begin a dump with "/*M!999999\- enable the sandbox mode */",
// which MySQL's client stops at ("Unknown command '\-'"): a restore through it leaves the line out.
bool isSandboxLine(const QByteArray &line);
// Whether the client tool is MariaDB's, by what `--version` prints; false when it cannot tell.
bool isMariaDbTool(const QString &program);

// Removes option files that a program killed while its tool ran left behind. The tools read
// the file when they start, so a file some minutes old is no longer needed by anyone.
void removeStaleClientOptionFiles();

// The argument that makes a tool read the file; it must stand first among the arguments.
QString clientOptionFileArgument(const QTemporaryFile *file);

// Creates `path` new, readable and writable by its owner only, before a tool writes into it:
// dumps hold password hashes and player data. Whatever stood at the path (a file, a link) is
// removed first, never written through. False with *error when it cannot.
bool createPrivateFile(const QString &path, Message *error);

// What a killed program leaves behind: option files in the temporary folder and part files of
// backups beside the program. Run at every start.
void removeLeftoverToolFiles();

// Removes the part files of backups (the program's own names) in `directory` that a killed
// program left behind.
void removeStalePartFiles(const QString &directory);
