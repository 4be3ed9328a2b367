#include "command.h"

#include "db/databasemanager.h"
#include "db/storedtext.h"
#include "engine/backupmanager.h"
#include "engine/restorepreview.h"
#include "engine/rowpreview.h"
#include "merge/mergesql.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QFileInfo>
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
    }

    int execute(const QCommandLineParser &parser, Output &out) override
    {
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
            file = backup.getDefaultBackupPath();
        }
        bool ok = false;
        QEventLoop loop;
        QObject::connect(&backup, &BackupManager::logMessage, &loop, [&out](const Message &m) { out.line(m); });
        QObject::connect(&backup, &BackupManager::errorOccurred, &loop, [&out](const Message &m) { out.line(m); });
        QObject::connect(&backup, &BackupManager::backupProgress, &loop, [&out](int p) { out.progress(p, STORED_TEXT("备份")); });
        QObject::connect(&backup, &BackupManager::restoreProgress, &loop, [&out](int p) { out.progress(p, STORED_TEXT("恢复")); });
        QObject::connect(&backup, &BackupManager::backupCompleted, &loop, [&](bool success) { ok = success; loop.quit(); });
        QObject::connect(&backup, &BackupManager::restoreCompleted, &loop, [&](bool success) { ok = success; loop.quit(); });
        if (m_restore)
            backup.restoreDatabase(config.host, config.port, config.username, config.password, config.database, file);
        else
            backup.backupDatabase(config.host, config.port, config.username, config.password, config.database, file);
        if (backup.isBusy())
            loop.exec();
        out.clearProgress();
        return ok ? Success : Failed;
    }

private:
    int rehearse(const HostConfig &config, const QString &file, Output &out)
    {
        out.line(STORED_TEXT("将用 %1 (%2 字节) 恢复数据库 %3，各表现有行数与文件中的行数:")
                     .arg(file, QString::number(QFileInfo(file).size()), config.database));
        if (!connectSession(config, out))
            return Failed;
        Message error;
        const QList<RestorePreview::Table> tables = RestorePreview::compare(DatabaseManager::instance()->database(), file, &error);
        if (!error.isEmpty()) {
            out.line(error);
            return Failed;
        }
        if (const Message warning = RowPreview::liveGameWarning(DatabaseManager::instance()->database(), {config.database}, {}); !warning.isEmpty())
            out.line(warning);
        for (const Message &line : RestorePreview::lines(tables))
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
