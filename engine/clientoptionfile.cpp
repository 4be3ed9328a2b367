#include "clientoptionfile.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QProcess>
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
    // MySQL 8 clients against a server without TLS need the server's key for
    // caching_sha2_password; MySQL 8's mysqldump asks other servers for COLUMN_STATISTICS,
    // and on a GTID server it writes GTID_PURGED, which a restore onto that server refuses.
    QByteArray content = "[client]\n";
    if (!password.isEmpty())
        content += "password=" + optionFileValue(password) + "\n";
    content += "loose-get-server-public-key=1\n[mysqldump]\nloose-column-statistics=0\nloose-set-gtid-purged=OFF\n";
    if (!file->open() || file->write(content) < 0 || !file->flush()) {
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

QStringList dumpOptions(const QString &file, const QString &database)
{
    return {QStringLiteral("--single-transaction"), QStringLiteral("--routines"), QStringLiteral("--triggers"),
            QStringLiteral("--no-tablespaces"), QStringLiteral("-r") + file, database};
}

bool isSandboxLine(const QByteArray &line)
{
    return line.startsWith("/*M!999999\\- enable the sandbox mode");
}

bool isMariaDbTool(const QString &program)
{
    QProcess process;
    process.start(program, {QStringLiteral("--version")});
    return process.waitForFinished(5000) && process.readAllStandardOutput().contains("MariaDB");
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
