#include <QCoreApplication>
#include "command.h"

#include "base/storedtext.h"
#include "merge/mergeengine.h"
#include "terminal.h"

namespace Cli {

namespace {
class MergeCommand : public Command
{
public:
    MergeCommand()
        : Command(QStringLiteral("merge"), QCoreApplication::translate("Cli", "跨服合区（需 --yes）"), QStringLiteral("merge_"))
    {
    }

    bool changesData() const override { return true; }

    void addOptions(QCommandLineParser &parser) const override
    {
        parser.addOptions({
            {QStringLiteral("main-world"), QCoreApplication::translate("Cli", "主区（目标）WorldID"), QStringLiteral("N")},
            {QStringLiteral("sub-world"), QCoreApplication::translate("Cli", "副区（来源）WorldID"), QStringLiteral("N")},
            {QStringLiteral("clean-level"), QCoreApplication::translate("Cli", "先删除等级 ≤ N 的角色（1-150）"), QStringLiteral("N")},
            {QStringLiteral("main"), QCoreApplication::translate("Cli", "主服（目标）的主机名称"), QStringLiteral("NAME")},
            {QStringLiteral("sub"), QCoreApplication::translate("Cli", "副服（来源）的主机名称"), QStringLiteral("NAME")},
            {QStringLiteral("plan"), QCoreApplication::translate("Cli", "预演给出的合区计划；服务器在此之后有变化时不做任何修改"), QStringLiteral("ID")},
            {QStringLiteral("char-suffix"), QCoreApplication::translate("Cli", "重名角色的后缀（默认 _S2）"), QStringLiteral("TEXT")},
            {QStringLiteral("account-suffix"), QCoreApplication::translate("Cli", "重名账号的后缀（默认 _S2）"), QStringLiteral("TEXT")},
            {QStringLiteral("no-accounts"), QCoreApplication::translate("Cli", "不合并账号")},
            {QStringLiteral("backup"), QCoreApplication::translate("Cli", "合区前备份主服")},
            {QStringLiteral("fill-missing"), QCoreApplication::translate("Cli", "主服必填而副服没有的字段，填入游戏为新角色写入的值")},
            {QStringLiteral("again"), QCoreApplication::translate("Cli", "主服似乎已合并过这些角色时仍然合并（需同时加 --yes）")},
            {QStringLiteral("password-stdin"), QCoreApplication::translate("Cli", "主机配置中没有密码时，从标准输入读取（每个一行，先主服）")},
        });
        addUndoOption(parser);
        Command::addOptions(parser);
    }

    int execute(const QCommandLineParser &parser, Output &out) override
    {
        if (!parser.isSet(QStringLiteral("main")) || !parser.isSet(QStringLiteral("sub"))) {
            usageError(STORED_TEXT("merge 需要 --main NAME 和 --sub NAME"));
            return Usage;
        }
        MergeSettings settings;
        const HostConfig main = namedHost(parser.value(QStringLiteral("main")));
        const HostConfig sub = namedHost(parser.value(QStringLiteral("sub")));
        if (usageFailed())
            return Usage;
        settings.target = endpointOf(main);
        settings.source = endpointOf(sub);
        settings.targetWorldId = world(parser, QStringLiteral("main-world"));
        settings.sourceWorldId = world(parser, QStringLiteral("sub-world"));
        if (usageFailed())
            return Usage;
        if (parser.isSet(QStringLiteral("char-suffix")))
            settings.charNameSuffix = parser.value(QStringLiteral("char-suffix"));
        if (parser.isSet(QStringLiteral("account-suffix")))
            settings.accountNameSuffix = parser.value(QStringLiteral("account-suffix"));
        settings.cleanLowLevel = cleanLevel(parser, &settings.cleanLevel);
        if (usageFailed())
            return Usage;
        printServer(STORED_TEXT("主区"), main, out);
        printServer(STORED_TEXT("副区"), sub, out);
        settings.mergeWeb = !parser.isSet(QStringLiteral("no-accounts"));
        settings.backupFirst = parser.isSet(QStringLiteral("backup"));
        settings.fillMissingColumns = parser.isSet(QStringLiteral("fill-missing"));
        settings.again = parser.isSet(QStringLiteral("again"));
        // An entry without a stored password: one line of standard input each, or a prompt.
        for (auto [endpoint, name] : {std::pair{&settings.target, main.name}, std::pair{&settings.source, sub.name}}) {
            if (!endpoint->password.isEmpty())
                continue;
            if (parser.isSet(QStringLiteral("password-stdin")))
                endpoint->password = Terminal::readLine();
            else if (Terminal::isStandardInput())
                endpoint->password = Terminal::readPassword(STORED_TEXT("%1 (%2@%3) 的密码: ").arg(name, endpoint->username, endpoint->host).shown());
        }

        if (!parser.isSet(QStringLiteral("yes"))) {
            out.line(STORED_TEXT("将把 %1 的 WorldID %2 合入 %3 的 WorldID %4:")
                         .arg(sub.name, QString::number(settings.sourceWorldId), main.name, QString::number(settings.targetWorldId)));
            const CrossServerMerge::Preview preflight = CrossServerMerge::preview(settings, out.context());
            if (!preflight.ok)
                return Failed;
            if (!preflight.refusals.isEmpty())
                return Failed;
            if (preflight.alreadyMerged > 0)
                out.line(STORED_TEXT("要再次合并，需同时加 --yes --again。"));
            out.line(STORED_TEXT("合区计划: %1（加 --yes --plan %1 只执行这个计划：服务器在此之后有变化时不做任何修改）")
                         .arg(QString::fromLatin1(preflight.plan.left(16))));
            dryRunNote(out);
            return Success;
        }
        settings.writeUndo = !parser.isSet(QStringLiteral("no-undo"));
        settings.confirmedPlan = parser.value(QStringLiteral("plan")).trimmed().toLatin1();
        const CrossServerMerge::Result report = CrossServerMerge::run(settings, out.context());
        out.clearProgress();
        for (const Message &loss : report.lossLines())
            out.line(loss);
        printUndoFile(report.sourceUndoFile, out);
        printUndoFile(report.undoFile, out);
        return report.ok && !report.hasLosses() ? Success : Failed;
    }
};
} // namespace

std::shared_ptr<Command> mergeCommand()
{
    return std::make_shared<MergeCommand>();
}

} // namespace Cli
