#pragma once

#include <QString>

class QTemporaryFile;
class QObject;

// The MySQL client tools read the password from an owner-only option file, never from the
// command line that every user of the machine can read.
//
// Creates such a file holding the password under [client]; nullptr when it cannot be written.
// The file is removed when the returned object (owned by `parent`) is deleted.
QTemporaryFile *createClientOptionFile(const QString &password, QObject *parent = nullptr);

// Removes option files that a program killed while its tool ran left behind. The tools read
// the file when they start, so a file some minutes old is no longer needed by anyone.
void removeStaleClientOptionFiles();

// The argument that makes a tool read the file; it must stand first among the arguments.
QString clientOptionFileArgument(const QTemporaryFile *file);

// Creates (or empties) `path` readable and writable by its owner only, before a tool writes
// into it: dumps hold password hashes and player data. False with *error when it cannot.
bool createPrivateFile(const QString &path, QString *error);
