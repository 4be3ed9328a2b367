#include <QCoreApplication>
#include "command.h"

#include "db/databasemanager.h"
#include "base/storedtext.h"
#include "merge/sameservermerge.h"

namespace Cli {

namespace {
class MergeSameCommand : public ServerCommand
{
public:
    MergeSameCommand()
        : ServerCommand(QStringLiteral("merge-same"), QCoreApplication::translate("Cli", "同服合区（需 --yes）"), QStringLiteral("merge_"))
    {
    }

    bool changesData() const override { return true; }

    void addOptions(QCommandLineParser &parser) const override
    {
        ServerCommand::addOptions(parser);
        parser.addOptions({
            {QStringLiteral("main-world"), QCoreApplication::translate("Cli", "主区（目标）WorldID"), QStringLiteral("N")},
            {QStringLiteral("sub-world"), QCoreApplication::translate("Cli", "副区（来源）WorldID"), QStringLiteral("N")},
            {QStringLiteral("clean-level"), QCoreApplication::translate("Cli", "先删除等级 ≤ N 的角色（1-150）"), QStringLiteral("N")},
            {QStringLiteral("main-accounts"), QCoreApplication::translate("Cli", "独立账号库: 主区的账号数据库"), QStringLiteral("DB")},
            {QStringLiteral("sub-accounts"), QCoreApplication::translate("Cli", "独立账号库: 副区的账号数据库"), QStringLiteral("DB")},
            {QStringLiteral("suffix"), QCoreApplication::translate("Cli", "重名账号的后缀"), QStringLiteral("TEXT")},
        });
        addUndoOption(parser);
    }

    int execute(const QCommandLineParser &parser, Output &out) override
    {
        SameServerMergeParameters parameters;
        parameters.sourceWorldId = world(parser, QStringLiteral("sub-world"));
        parameters.targetWorldId = world(parser, QStringLiteral("main-world"));
        if (usageFailed())
            return Usage;
        if (parameters.sourceWorldId == parameters.targetWorldId) {
            usageError(STORED_TEXT("--sub-world 与 --main-world 不能相同"));
            return Usage;
        }
        parameters.cleanLowLevel = cleanLevel(parser, &parameters.levelThreshold);
        if (usageFailed())
            return Usage;
        if (parser.isSet(QStringLiteral("main-accounts")) || parser.isSet(QStringLiteral("sub-accounts"))) {
            parameters.independentAccounts = true;
            parameters.targetAccountDatabase = parser.value(QStringLiteral("main-accounts"));
            parameters.sourceAccountDatabase = parser.value(QStringLiteral("sub-accounts"));
            if (!isPlainDatabaseName(parameters.targetAccountDatabase) || !isPlainDatabaseName(parameters.sourceAccountDatabase)) {
                usageError(STORED_TEXT("--main-accounts 和 --sub-accounts 需同时给出有效的数据库名"));
                return Usage;
            }
            if (!parser.isSet(QStringLiteral("suffix"))) {
                usageError(STORED_TEXT("独立账号库需要 --suffix TEXT（重名账号的后缀）"));
                return Usage;
            }
            parameters.conflictSuffix = parser.value(QStringLiteral("suffix"));
        }
        if (const Message refusal = SameServerMerge::refusal(parameters); !refusal.isEmpty()) {
            usageError(refusal);
            return Usage;
        }
        const HostConfig config = connection(parser, out);
        if (usageFailed())
            return Usage;
        if (!parser.isSet(QStringLiteral("yes"))) {
            if (!connectSession(config, out))
                return Failed;
            for (const Message &line : SameServerMerge::preview(DatabaseManager::instance()->database(), parameters).lines)
                out.line(line);
            dryRunNote(out);
            return Success;
        }
        parameters.writeUndo = !parser.isSet(QStringLiteral("no-undo"));
        const SameServerMerge::Result result = SameServerMerge::run(config, parameters, out.context());
        out.clearProgress();
        printUndoFile(result.undoPath, out);
        return result.ok ? Success : Failed;
    }
};
} // namespace

std::shared_ptr<Command> mergeSameCommand()
{
    return std::make_shared<MergeSameCommand>();
}

} // namespace Cli
