#include "command.h"

#include "base/storedtext.h"
#include "engine/accountstore.h"
#include "terminal.h"

#include <QCoreApplication>
#include <QJsonArray>
#include <QTextStream>

namespace Cli {

namespace {
const QStringList kActions = {QStringLiteral("list"), QStringLiteral("register"), QStringLiteral("points"), QStringLiteral("delete")};

class AccountCommand : public ActionCommand
{
public:
    AccountCommand()
        : ActionCommand(QStringLiteral("account"),
                        QCoreApplication::translate("Cli", "账号: list 查看，register|points|delete 修改（需 --yes）；不用主机配置时账号库由 --accounts-database（或 --database）指定"),
                        QStringLiteral("account_"), kActions)
    {
    }

    void addOptions(QCommandLineParser &parser) const override
    {
        ActionCommand::addOptions(parser);
        parser.addOptions({
            {QStringLiteral("name"), QCoreApplication::translate("Cli", "账号名（list: 包含的文字）"), QStringLiteral("NAME")},
            {QStringLiteral("all"), QCoreApplication::translate("Cli", "points: 对所有账号")},
            {QStringLiteral("set"), QCoreApplication::translate("Cli", "points: 设为这个点数"), QStringLiteral("N")},
            {QStringLiteral("add"), QCoreApplication::translate("Cli", "points --all: 每个账号加这么多点"), QStringLiteral("N")},
            {QStringLiteral("clear"), QCoreApplication::translate("Cli", "points --all: 清零")},
        });
    }

private:
    // The points change asked for, checked before the server is asked anything.
    bool pointsRequest(const QCommandLineParser &parser, qint64 *value)
    {
        const bool all = parser.isSet(QStringLiteral("all"));
        const int kinds = int(parser.isSet(QStringLiteral("set"))) + int(parser.isSet(QStringLiteral("add"))) + int(parser.isSet(QStringLiteral("clear")));
        if (all == parser.isSet(QStringLiteral("name")) || kinds != 1 || (!all && !parser.isSet(QStringLiteral("set")))) {
            usageError(STORED_TEXT("points 需要 --name NAME --set N，或 --all 加 --set N、--add N、--clear 之一"));
            return false;
        }
        const QString text = parser.value(parser.isSet(QStringLiteral("set")) ? QStringLiteral("set") : QStringLiteral("add"));
        bool ok = parser.isSet(QStringLiteral("clear"));
        *value = ok ? 0 : text.toLongLong(&ok);
        if (!ok || (!parser.isSet(QStringLiteral("add")) && *value < 0))
            usageError(STORED_TEXT("点数需要非负整数（--add 可为负），而不是 \"%1\"").arg(text));
        return !usageFailed();
    }

    int run(const QCommandLineParser &parser, const QString &action, const QStringList &, Output &out) override
    {
        const QString name = parser.value(QStringLiteral("name")).trimmed();
        if ((action == QLatin1String("register") || action == QLatin1String("delete")) && name.isEmpty()) {
            usageError(STORED_TEXT("%1 需要 --name").arg(action));
            return Usage;
        }
        qint64 points = 0;
        if (action == QLatin1String("points") && !pointsRequest(parser, &points))
            return Usage;
        HostConfig config = connection(parser, out);
        if (usageFailed())
            return Usage;
        // A host entry names its account database; without one, --accounts-database names it (or
        // --database, as this command always took it).
        if (parser.isSet(QStringLiteral("host")))
            config = accountDatabaseConfig(config);
        else if (parser.isSet(QStringLiteral("accounts-database")))
            config.database = config.accountDatabase;
        else if (!parser.isSet(QStringLiteral("database")))
            config.database = QStringLiteral("web");
        // The new account's password: the next line of standard input, never an argument.
        QString password;
        if (action == QLatin1String("register")) {
            password = Terminal::isStandardInput() ? Terminal::readPassword(STORED_TEXT("账号 %1 的密码: ").arg(name).shown()) : Terminal::readLine();
            if (password.isEmpty()) {
                usageError(STORED_TEXT("register 需要新账号的密码（标准输入的下一行）"));
                return Usage;
            }
        }
        AccountStore store(QStringLiteral("cli_account_connection"));
        if (!store.open(config))
            return fail(out, STORED_TEXT("无法连接账号数据库 %1: %2").arg(config.database, store.error()));
        out.line(STORED_TEXT("账号数据库: %1").arg(config.database));

        if (action == QLatin1String("list"))
            return list(store, name, out);
        const AccountChange change = AccountChange::of(action == QLatin1String("register")      ? AccountChange::Kind::Register
                                                       : action == QLatin1String("delete")    ? AccountChange::Kind::Delete
                                                       : !parser.isSet(QStringLiteral("all")) ? AccountChange::Kind::Point
                                                       : parser.isSet(QStringLiteral("clear")) ? AccountChange::Kind::ClearAll
                                                       : parser.isSet(QStringLiteral("add"))   ? AccountChange::Kind::AddToAll
                                                                                               : AccountChange::Kind::SetAll,
                                                       name, password, points);
        if (change.kind != AccountChange::Kind::Register) {
            const AccountChange::Preview preview = change.preview(store);
            if (!preview.failure.isEmpty() || !preview.refusal.isEmpty())
                return fail(out, preview.failure.isEmpty() ? preview.refusal : preview.failure);
            out.line(STORED_TEXT("将改动 account: %1 条记录").arg(preview.rows));
            setResult(QStringLiteral("counts"), QJsonObject{{QStringLiteral("account"), preview.rows}});
        }
        if (!parser.isSet(QStringLiteral("yes"))) {
            dryRunNote(out);
            return Success;
        }
        const AccountChange::Result result = change.run(store);
        if (!result.ok)
            return fail(out, STORED_TEXT("操作失败: %1").arg(result.failure));
        out.line(STORED_TEXT("操作完成"));
        printUndoFile(result.undoPath, out);
        if (!result.undoPath.isEmpty())
            setResult(QStringLiteral("undoFile"), result.undoPath);
        return Success;
    }

    int list(AccountStore &store, const QString &filter, Output &out)
    {
        const QList<AccountRow> rows = store.list(filter);
        if (!store.error().isEmpty())
            return fail(out, STORED_TEXT("查询失败: %1").arg(store.error()));
        QTextStream stream(stdout);
        QJsonArray array;
        if (!json())
            stream << "id\tname\tpoint\texpoint\tonline\tlocked\tgm\n";
        for (const AccountRow &row : rows) {
            if (json())
                array.append(QJsonObject{{QStringLiteral("id"), row.id}, {QStringLiteral("name"), row.name}, {QStringLiteral("point"), row.point},
                                         {QStringLiteral("expoint"), row.expoint}, {QStringLiteral("online"), row.online},
                                         {QStringLiteral("locked"), row.locked}, {QStringLiteral("gm"), row.gm}});
            else
                stream << row.id << '\t' << row.name << '\t' << row.point << '\t' << row.expoint << '\t' << int(row.online) << '\t'
                       << int(row.locked) << '\t' << int(row.gm) << '\n';
        }
        stream.flush();
        out.line(STORED_COUNT("共 %Ln 个账号").count(rows.size()));
        setResult(QStringLiteral("rows"), array);
        setResult(QStringLiteral("count"), qint64(rows.size()));
        return Success;
    }
};
} // namespace

std::shared_ptr<Command> accountCommand()
{
    return std::make_shared<AccountCommand>();
}

} // namespace Cli
