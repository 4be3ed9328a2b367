#pragma once

#include <QByteArray>
#include <QFile>
#include <QFileDevice>
#include <QSaveFile>
#include <QString>

// A file that is written whole or not at all: the data goes into a file beside the final name,
// which commit() renames over it. Every write is checked: Qt's own buffered writes can come up
// short on a full disk or at a file size limit and still commit.
// Opens `file` to append to it, created readable and writable by its owner only (logs hold
// player names and accounts); one created wider before is narrowed.
bool openPrivateAppend(QFile *file);

class AtomicFile
{
public:
    explicit AtomicFile(const QString &path);

    // `permissions`, when given, are set on the new file (an older file's are not kept).
    bool open(QFileDevice::Permissions permissions = {});
    // Collects the data and writes it in large pieces; false once anything failed.
    bool write(const QByteArray &data);
    // Writes what is left and renames the file into place; false leaves an earlier file as it was.
    bool commit();
    QString errorString() const { return m_error; }

private:
    bool flush();

    QSaveFile m_file;
    QByteArray m_pending;
    QString m_error;
};
