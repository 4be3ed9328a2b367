#include "clientoptionfile.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QTemporaryFile>

namespace {
// Option files take a double-quoted value with backslash escapes.
QByteArray optionFileValue(const QString &value)
{
    QByteArray escaped = value.toUtf8();
    escaped.replace('\\', "\\\\").replace('"', "\\\"").replace('\n', "\\n");
    return '"' + escaped + '"';
}
} // namespace

QTemporaryFile *createClientOptionFile(const QString &password, QObject *parent)
{
    // QTemporaryFile creates its file readable and writable by the owner only.
    auto *file = new QTemporaryFile(QDir::tempPath() + QStringLiteral("/quorvel-XXXXXX.cnf"), parent);
    if (!file->open() || file->write("[client]\npassword=" + optionFileValue(password) + "\n") < 0 || !file->flush()) {
        delete file;
        return nullptr;
    }
    file->close();
    return file;
}

void removeStaleClientOptionFiles()
{
    const QDateTime stale = QDateTime::currentDateTime().addSecs(-600);
    const QFileInfoList files = QDir(QDir::tempPath()).entryInfoList({QStringLiteral("quorvel-*.cnf")}, QDir::Files | QDir::Hidden);
    for (const QFileInfo &file : files) {
        if (file.lastModified() < stale && file.isWritable())
            QFile::remove(file.absoluteFilePath());
    }
}

QString clientOptionFileArgument(const QTemporaryFile *file)
{
    return QStringLiteral("--defaults-extra-file=") + file->fileName();
}

bool createPrivateFile(const QString &path, QString *error)
{
    const auto ownerOnly = QFileDevice::ReadOwner | QFileDevice::WriteOwner;
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate, ownerOnly) || !file.setPermissions(ownerOnly)) {
        *error = file.errorString();
        return false;
    }
    return true;
}
