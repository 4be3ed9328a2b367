#include "command.h"

#include "db/databasemanager.h"
#include "db/hoststore.h"
#include "base/storedtext.h"
#include "engine/backupmanager.h"
#include "merge/mergesql.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTextStream>
#include <QSqlQuery>

namespace Cli {

namespace {
// backup and restore: the dump tools on one server, with the program's password file.
class ToolCommand : public ServerCommand
{
public:
    ToolCommand(bool restore)
        : ServerCommand(restore ? QStringLiteral("restore") : QStringLiteral("backup"),
                        restore ? QCoreApplication::translate("Cli", "从 SQL 文件恢复角色数据库（需 --yes）") : QCoreApplication::translate("Cli", "把角色数据库备份为 SQL 文件"))
        , m_restore(restore)
    {
    }

    bool changesData() const override { return m_restore; }

    void addOptions(QCommandLineParser &parser) const override
    {
        ServerCommand::addOptions(parser);
        parser.addOption({QStringLiteral("file"), QCoreApplication::translate("Cli", "SQL 文件"), QStringLiteral("PATH")});
        if (m_restore)
            return;
        parser.addOption({QStringLiteral("gzip"), QCoreApplication::translate("Cli", "压缩为 .sql.gz（边备份边压缩，磁盘上不留未压缩的文件）")});
        parser.addOption({QStringLiteral("all"), QCoreApplication::translate("Cli", "依次备份主机配置中每个主机的角色库和账号库，文件以主机和数据库命名")});
        parser.addOption({QStringLiteral("keep"), QCoreApplication::translate("Cli", "--all: 每个主机的每个数据库只保留最新的 N 个完整备份（N ≥ 1）"),
                          QStringLiteral("N")});
        parser.addOption({QStringLiteral("json"), QCoreApplication::translate("Cli", "--all: 把每个备份的结果作为一个 JSON 对象输出到标准输出（日志改到标准错误）")});
    }

    int execute(const QCommandLineParser &parser, Output &out) override
    {
        if (!m_restore && parser.isSet(QStringLiteral("all")))
            return backupAll(parser, out);
        const HostConfig config = connection(parser, out);
        if (usageFailed())
            return Usage;
        BackupManager backup;
        QString file = parser.value(QStringLiteral("file"));
        if (m_restore) {
            if (file.isEmpty()) {
                usageError(STORED_TEXT("restore 需要 --file PATH"));
                return Usage;
            }
            if (!QFileInfo::exists(file)) {
                out.line(STORED_TEXT("备份文件不存在: %1").arg(file));
                return Failed;
            }
            if (!parser.isSet(QStringLiteral("yes")))
                return rehearse(config, file, out);
        } else if (file.isEmpty()) {
            file = backup.defaultBackupPath();
            if (parser.isSet(QStringLiteral("gzip")))
                file += QStringLiteral(".gz");
        } else if (parser.isSet(QStringLiteral("gzip")) && !file.endsWith(QLatin1String(".gz"))) {
            usageError(STORED_TEXT("--gzip 的文件名需以 .gz 结尾: %1").arg(file));
            return Usage;
        }
        return runTool(config, file, out) ? Success : Failed;
    }

private:
    // One dump or restore with the tools, its lines and progress on `out`; true when it succeeded.
    bool runTool(const HostConfig &server, const QString &file, Output &out)
    {
        DatabaseTool::Request request;
        request.kind = m_restore ? DatabaseTool::Request::Restore : DatabaseTool::Request::Backup;
        request.server = server;
        request.path = file;
        const DatabaseTool::Result result = DatabaseTool::run(request, out.context());
        out.clearProgress();
        return result.ok;
    }

    // Every entry's character and account databases, one after the other: one that fails does
    // not stop the others. Then the rotation, and a line (or a JSON object) per backup.
    int backupAll(const QCommandLineParser &parser, Output &out)
    {
        int keep = 0;
        if (parser.isSet(QStringLiteral("keep"))) {
            bool ok = false;
            keep = parser.value(QStringLiteral("keep")).toInt(&ok);
            if (!ok || keep < 1) {
                usageError(STORED_TEXT("--keep 需要正整数，而不是 \"%1\"").arg(parser.value(QStringLiteral("keep"))));
                return Usage;
            }
        }
        const bool json = parser.isSet(QStringLiteral("json"));
        out.toStandardError(json);
        const HostConfigList hosts = readHostConfigs(hostConfigFilePath());
        if (hosts.isEmpty()) {
            out.line(STORED_TEXT("主机配置中没有主机 (%1)").arg(hostConfigFilePath()));
            return Failed;
        }
        BackupManager backup;
        QJsonArray results;
        int failed = 0;
        for (const HostConfig &host : hosts) {
            QList<HostConfig> databases{host};
            if (!host.accountDatabase.isEmpty())
                databases.append(accountDatabaseConfig(host));
            for (const HostConfig &config : std::as_const(databases)) {
                QString file;
                bool ok = false;
                if (config.password.isEmpty()) {
                    out.line(STORED_TEXT("%1: 主机配置中没有 %2 的密码，跳过").arg(host.name, config.database));
                } else {
                    file = backup.entryBackupPath(host.name, config.database, parser.isSet(QStringLiteral("gzip")));
                    ok = runTool(config, file, out);
                }
                const QStringList removed = ok && keep > 0 ? backup.removeBackupsBeyond(host.name, config.database, keep) : QStringList();
                failed += ok ? 0 : 1;
                out.line((ok ? STORED_TEXT("备份成功: %1 %2 → %3（删除旧备份 %4 个）") : STORED_TEXT("备份失败: %1 %2"))
                             .arg(host.name, config.database, file, QString::number(removed.size())));
                results.append(QJsonObject{{QStringLiteral("entry"), host.name}, {QStringLiteral("database"), config.database},
                                           {QStringLiteral("ok"), ok}, {QStringLiteral("file"), ok ? file : QString()},
                                           {QStringLiteral("removed"), QJsonArray::fromStringList(removed)}});
            }
        }
        out.line(STORED_TEXT("备份完成: %1 个成功，%2 个失败").arg(results.size() - failed).arg(failed));
        if (json)
            QTextStream(stdout) << QJsonDocument(QJsonObject{{QStringLiteral("command"), QStringLiteral("backup")}, {QStringLiteral("ok"), failed == 0},
                                                             {QStringLiteral("backups"), results}})
                                       .toJson(QJsonDocument::Compact)
                                << '\n';
        return failed == 0 ? Success : Failed;
    }

    int rehearse(const HostConfig &config, const QString &file, Output &out)
    {
        out.line(STORED_TEXT("将用 %1 (%2 字节) 恢复数据库 %3，各表现有行数与文件中的行数:")
                     .arg(file, QString::number(QFileInfo(file).size()), config.database));
        DatabaseTool::Request request;
        request.kind = DatabaseTool::Request::Restore;
        request.server = config;
        request.path = file;
        const DatabaseTool::Preview preview = DatabaseTool::preview(request);
        if (!preview.failure.isEmpty()) {
            out.line(preview.failure);
            return Failed;
        }
        for (const Message &line : preview.lines())
            out.line(line);
        dryRunNote(out);
        return Success;
    }

    bool m_restore;
};
} // namespace

std::shared_ptr<Command> backupCommand()
{
    return std::make_shared<ToolCommand>(false);
}

std::shared_ptr<Command> restoreCommand()
{
    return std::make_shared<ToolCommand>(true);
}

} // namespace Cli
