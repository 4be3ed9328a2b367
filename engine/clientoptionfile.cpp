#include "clientoptionfile.h"

#include "base/debuglog.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
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

QTemporaryFile *createClientOptionFile(const QString &password, QObject *parent, bool mysqlTools)
{
    // QTemporaryFile creates its file readable and writable by the owner only.
    auto *file = new QTemporaryFile(QDir::tempPath() + QStringLiteral("/quorvel-XXXXXX.cnf"), parent);
    // MySQL 8 clients against a server without TLS need the server's key for
    // caching_sha2_password; MySQL 8's mysqldump asks other servers for COLUMN_STATISTICS,
    // and on a GTID server it writes GTID_PURGED, which a restore onto that server refuses.
    QByteArray content = "[client]\n";
    if (!password.isEmpty())
        content += "password=" + optionFileValue(password) + "\n";
    if (mysqlTools)
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
    QStringList options{QStringLiteral("--single-transaction"), QStringLiteral("--routines"), QStringLiteral("--triggers"),
                        QStringLiteral("--no-tablespaces")};
    if (!file.isEmpty())
        options.append(QStringLiteral("-r") + file);
    return options + QStringList{database};
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

bool createPrivateFile(const QString &path, Message *error)
{
    // Created new, never through a link or into a file another left there: what stands at the
    // path (a part file of a killed run, or a link) goes first, not what it points to.
    const auto ownerOnly = QFileDevice::ReadOwner | QFileDevice::WriteOwner;
    const QFileInfo existing(path);
    QFile file(path);
    if ((existing.exists() || existing.isSymLink()) && !file.remove()) {
        *error = file.errorString();
        return false;
    }
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly, ownerOnly) || !file.setPermissions(ownerOnly)) {
        *error = file.errorString();
        return false;
    }
    return true;
}

void removeLeftoverToolFiles()
{
    removeStaleClientOptionFiles();
    removeStalePartFiles(applicationDirectory() + QStringLiteral("/backups"));
}

void removeStalePartFiles(const QString &directory)
{
    // A dump that runs writes all the time; one untouched for ten minutes was left by a
    // program that was killed.
    const QDateTime stale = QDateTime::currentDateTime().addSecs(-600);
    const QFileInfoList files = QDir(directory).entryInfoList({QStringLiteral("backup_*.sql.part"), QStringLiteral("merge_backup_*.sql.part")},
                                                              QDir::Files | QDir::Hidden | QDir::System);
    for (const QFileInfo &file : files) {
        if (file.lastModified() < stale)
            QFile::remove(file.absoluteFilePath());
    }
}
