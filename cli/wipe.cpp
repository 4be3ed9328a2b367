#include "command.h"

#include "db/databasemanager.h"
#include "base/storedtext.h"
#include "engine/accountcleanup.h"
#include "engine/zonewipe.h"
#include "merge/sameservermerge.h"

#include <QCoreApplication>
#include <QSqlQuery>

namespace Cli {

namespace {
class WipeCommand : public ServerCommand
{
public:
    WipeCommand()
        : ServerCommand(QStringLiteral("wipe"), QCoreApplication::translate("Cli", "删除区服的全部角色及其账号（需 --yes）"), QStringLiteral("zone_delete_"))
    {
    }

    bool changesData() const override { return true; }

    void addOptions(QCommandLineParser &parser) const override
    {
        ServerCommand::addOptions(parser);
        parser.addOption({QStringLiteral("worlds"), QCoreApplication::translate("Cli", "WorldID 列表，如 2,3"), QStringLiteral("LIST")});
        parser.addOption({QStringLiteral("accounts"), QCoreApplication::translate("Cli", "同时清理的账号数据库，如 web,web2"), QStringLiteral("LIST")});
        addUndoOption(parser);
    }

    int execute(const QCommandLineParser &parser, Output &out) override
    {
        QList<int> worlds;
        HostConfig config;
        if (const int code = openWorlds(parser, out, &worlds, &config); code != Success)
            return code;
        const QStringList accountDatabases = chosenAccountDatabases(parser);
        if (usageFailed())
            return Usage;
        QSqlDatabase &db = DatabaseManager::instance()->database();
        ZoneWipe::Request request{worlds, accountDatabases, {}, config, !parser.isSet(QStringLiteral("no-undo"))};
        // Counted where the wipe deletes: a count that cannot be made stops the wipe as well.
        const ZoneWipe::Preview preview = ZoneWipe::preview(db, &request);
        if (!preview.ok()) {
            out.line(preview.failure);
            return Failed;
        }
        if (!parser.isSet(QStringLiteral("yes"))) {
            out.line(STORED_TEXT("将删除 zoneworldid IN (%1) 的角色数据:").arg(idListText(worlds)));
            for (const Message &line : preview.lines)
                out.line(line);
            dryRunNote(out);
            return Success;
        }
        if (!preview.liveGame.isEmpty())
            out.line(preview.liveGame);
        const ZoneWipe::Result result = ZoneWipe::run(db, request, out.context());
        out.clearProgress();
        if (result.accountsFailed)
            out.line(STORED_TEXT("账号删除失败：%1 个角色已删除，账号未全部删除（见上）").arg(result.deleted));
        printUndoFile(result.undoPath, out);
        return result.ok ? Success : Failed;
    }

private:
    // The account databases named by --accounts, each checked against the server's. Named
    // explicitly, so any account database of the server will do, not only "web" and "webN".
    QStringList chosenAccountDatabases(const QCommandLineParser &parser)
    {
        if (!parser.isSet(QStringLiteral("accounts")))
            return {};
        QStringList names = parser.value(QStringLiteral("accounts")).split(QLatin1Char(','), Qt::SkipEmptyParts);
        for (QString &name : names) {
            name = name.trimmed();
            if (!isPlainDatabaseName(name)) {
                usageError(STORED_TEXT("--accounts: \"%1\" 不是有效的数据库名").arg(name));
                return {};
            }
        }
        // On another account server, the count before the wipe finds a missing one.
        if (!AccountCleanup::accountsOnSessionServer(DatabaseManager::instance()->storedConfig()))
            return names;
        QSqlQuery query(DatabaseManager::instance()->database());
        for (const QString &name : std::as_const(names)) {
            query.prepare(QStringLiteral("SELECT COUNT(*) FROM information_schema.tables WHERE table_schema = ? AND table_name = 'account'"));
            query.addBindValue(textParameter(DatabaseManager::instance()->database(), name));
            if (!query.exec() || !query.next() || query.value(0).toInt() == 0) {
                usageError(STORED_TEXT("--accounts: 服务器上没有账号数据库 \"%1\"").arg(name));
                return {};
            }
        }
        return names;
    }

};
} // namespace

std::shared_ptr<Command> wipeCommand()
{
    return std::make_shared<WipeCommand>();
}

} // namespace Cli
