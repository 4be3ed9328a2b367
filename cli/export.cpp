#include <QCoreApplication>
#include "command.h"

#include "db/databasemanager.h"
#include "base/storedtext.h"
#include "engine/characterexport.h"

namespace Cli {

namespace {
class ExportCommand : public ServerCommand
{
public:
    ExportCommand()
        : ServerCommand(QStringLiteral("export"), QCoreApplication::translate("Cli", "把区服的角色列表导出为 CSV"), QStringLiteral("character_"))
    {
    }

    void addOptions(QCommandLineParser &parser) const override
    {
        ServerCommand::addOptions(parser);
        parser.addOption({QStringLiteral("file"), QCoreApplication::translate("Cli", "CSV 文件"), QStringLiteral("PATH")});
        parser.addOption({QStringLiteral("worlds"), QCoreApplication::translate("Cli", "WorldID 列表，如 2,3"), QStringLiteral("LIST")});
    }

    int execute(const QCommandLineParser &parser, Output &out) override
    {
        QList<int> worlds;
        HostConfig config;
        if (const int code = openWorlds(parser, out, &worlds, &config); code != Success)
            return code;
        CharacterExport::Request request;
        request.path = parser.value(QStringLiteral("file")).isEmpty() ? CharacterExport::defaultPath(worlds)
                                                                      : parser.value(QStringLiteral("file"));
        request.characters = DatabaseManager::instance()->queryCharacters(worlds);
        const CharacterExport::Result result = CharacterExport::run(request, out.context());
        out.clearProgress();
        return result.ok ? Success : Failed;
    }
};
} // namespace

std::shared_ptr<Command> exportCommand()
{
    return std::make_shared<ExportCommand>();
}

} // namespace Cli
