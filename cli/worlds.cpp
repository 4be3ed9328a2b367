#include "command.h"

#include "db/databasemanager.h"
#include "base/storedtext.h"

#include <QCoreApplication>
#include <QTextStream>

namespace Cli {

namespace {
class WorldsCommand : public ServerCommand
{
public:
    WorldsCommand()
        : ServerCommand(QStringLiteral("worlds"), QCoreApplication::translate("Cli", "列出 WorldID 及其角色数"))
    {
    }

    int execute(const QCommandLineParser &parser, Output &out) override
    {
        const HostConfig config = connection(parser, out);
        if (usageFailed())
            return Usage;
        if (!connectSession(config, out))
            return Failed;
        const QMap<int, int> stats = DatabaseManager::instance()->worldIdStatistics();
        QTextStream stream(stdout);
        stream << QCoreApplication::translate("Cli", "WorldID\t角色数\n");
        for (auto it = stats.cbegin(); it != stats.cend(); ++it)
            stream << it.key() << '\t' << it.value() << '\n';
        return Success;
    }
};
} // namespace

std::shared_ptr<Command> worldsCommand()
{
    return std::make_shared<WorldsCommand>();
}

} // namespace Cli
