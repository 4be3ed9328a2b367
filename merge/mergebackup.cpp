#include "mergebackup.h"

#include "base/debuglog.h"
#include "db/connectionrule.h"
#include "base/storedtext.h"
#include "engine/clientoptionfile.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QObject>
#include <QProcess>
#include <QTemporaryFile>

namespace {
QString dumpProgram(const MergeSettings &settings)
{
    if (!settings.dumpProgram.isEmpty())
        return settings.dumpProgram;
    const QString beside = applicationDirectory() + QStringLiteral("/mysqldump");
    if (QFileInfo::exists(beside + QStringLiteral(".exe")))
        return beside + QStringLiteral(".exe");
    if (QFileInfo::exists(beside))
        return beside;
    return QStringLiteral("mysqldump");
}

bool dumpMergeDatabase(const QString &program, const MergeEndpoint &endpoint, const QString &database, const QString &file,
                       const std::function<void(const Message &)> &log)
{
    QObject owner;
    QStringList arguments;
    QTemporaryFile *optionFile = createClientOptionFile(endpoint.password, &owner, !isMariaDbTool(program));
    if (!optionFile) {
        log(STORED_TEXT_IN("MergeBackup", "备份失败（%1）：无法写入临时密码文件").arg(database));
        return false;
    }
    arguments << clientOptionFileArgument(optionFile);
    // Named only once the dump is whole: a failed one never looks like a backup.
    const QString partial = file + QStringLiteral(".part");
    Message error;
    if (!createPrivateFile(partial, &error)) {
        log(STORED_TEXT_IN("MergeBackup", "备份失败（%1）：无法创建 %2：%3").arg(database, file, error));
        return false;
    }
    arguments << toolConnectionArguments(endpoint.host, endpoint.port, endpoint.username) << dumpOptions(partial, database);
    log(STORED_TEXT_IN("MergeBackup", "备份数据库 [%1] -> %2").arg(database, file));

    QProcess process;
    process.start(program, arguments);
    if (!process.waitForStarted(5000)) {
        log(STORED_TEXT_IN("MergeBackup", "mysqldump 启动失败：%1").arg(process.errorString()));
        QFile::remove(partial);
        return false;
    }
    process.waitForFinished(-1);
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        const QString output = QString::fromLocal8Bit(process.readAllStandardError()).trimmed();
        log(STORED_TEXT_IN("MergeBackup", "备份失败（%1）：exit=%2 %3").arg(database, QString::number(process.exitCode()), output));
        QFile::remove(partial);  // half a dump is no backup
        return false;
    }
    if (!QFile::rename(partial, file)) {
        log(STORED_TEXT_IN("MergeBackup", "备份失败（%1）：无法把备份命名为 %2").arg(database, file));
        QFile::remove(partial);
        return false;
    }
    const QFileInfo info(file);
    log(STORED_TEXT_IN("MergeBackup", "备份完成：%1 (%2 KB)").arg(info.fileName(), QString::number(info.size() / 1024)));
    return true;
}
} // namespace

bool backupMergeTarget(const MergeSettings &settings, const std::function<void(const Message &)> &log)
{
    log(STORED_TEXT_IN("MergeBackup", "========== 备份主区数据库 =========="));
    const QString directory = applicationDirectory() + QStringLiteral("/backups");
    if (!QDir().mkpath(directory)) {
        log(STORED_TEXT_IN("MergeBackup", "创建备份目录失败：") + directory);
        return false;
    }
    const QString program = dumpProgram(settings);
    const QString stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd_HHmmss"));
    if (!dumpMergeDatabase(program, settings.target, settings.target.charDatabase,
                           directory + QStringLiteral("/merge_backup_main_char_%1.sql").arg(stamp), log)) {
        log(STORED_TEXT_IN("MergeBackup", "主区角色库备份失败，已中止合区（建议检查 mysqldump.exe 及其依赖 DLL）。"));
        return false;
    }
    if (!dumpMergeDatabase(program, settings.target, settings.target.accountDatabase,
                           directory + QStringLiteral("/merge_backup_main_web_%1.sql").arg(stamp), log)) {
        log(STORED_TEXT_IN("MergeBackup", "主区账号库备份失败，已中止合区（建议检查 mysqldump.exe 及其依赖 DLL）。"));
        return false;
    }
    return true;
}
