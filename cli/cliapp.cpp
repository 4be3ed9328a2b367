#include "cliapp.h"

#include "base/language.h"
#include "command.h"

#include <QCoreApplication>
#include <QTextStream>

#include <algorithm>

namespace Cli {

QList<std::shared_ptr<Command>> commands()
{
    return {backupCommand(), restoreCommand(), worldsCommand(), characterCommand(), accountCommand(), wipeCommand(), mergeCommand(), mergeSameCommand(),
            exportCommand(), undoCommand()};
}

} // namespace Cli

namespace {
QString overview(const QList<std::shared_ptr<Cli::Command>> &commands)
{
    QString text = QCoreApplication::translate("Cli", "用法: quorvel-cli <命令> [选项]\n\n命令:\n");
    for (const auto &command : commands)
        text += QStringLiteral("  %1%2\n").arg(command->name().leftJustified(12), command->description());
    text += QCoreApplication::translate("Cli", "\n各命令的选项: quorvel-cli <命令> --help\n"
                           "退出码: 0 成功，1 操作失败，2 用法错误。会修改数据的命令不加 --yes 时只做预演。\n"
                           "--version 显示版本；--lang zh_CN|en 选择语言（默认跟随系统）。\n");
    return text;
}
} // namespace

int runCommandLine(const QStringList &arguments)
{
    using namespace Cli;
    QTextStream err(stderr);
    const QList<std::shared_ptr<Command>> all = commands();
    const QString name = arguments.value(1);
    if (name == QLatin1String("--version") || name == QLatin1String("-v")) {
        QTextStream(stdout) << "quorvel-cli " << QStringLiteral(QUORVEL_VERSION) << '\n';
        return Success;
    }
    if (name.isEmpty() || name == QLatin1String("--help") || name == QLatin1String("-h") || name == QLatin1String("help")) {
        QTextStream(stdout) << overview(all);
        return name.isEmpty() ? Usage : Success;
    }
    const auto found = std::find_if(all.cbegin(), all.cend(), [&](const auto &c) { return c->name() == name; });
    if (found == all.cend()) {
        QStringList names;
        for (const auto &command : all)
            names.append(command->name());
        err << "quorvel-cli: " << QCoreApplication::translate("Cli", "未知命令 \"%1\"，可用: %2").arg(name, names.join(QStringLiteral(", "))) << '\n';
        return Usage;
    }
    Command &command = **found;

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("quorvel-cli %1: %2").arg(name, command.description()));
    parser.addHelpOption();
    command.addOptions(parser);
    QStringList rest = arguments;
    rest.removeAt(1);
    if (!parser.parse(rest)) {
        err << "quorvel-cli " << name << ": " << parser.errorText() << '\n';
        return Usage;
    }
    if (parser.isSet(QStringLiteral("help")) || parser.isSet(QStringLiteral("help-all"))) {
        QString help = parser.helpText();
        help.replace(0, help.indexOf(QLatin1Char('\n')), QCoreApplication::translate("Cli", "用法: quorvel-cli %1 [选项]").arg(name));
        QTextStream(stdout) << help;
        return Success;
    }
    if (!parser.positionalArguments().isEmpty() && !command.takesArguments()) {
        err << "quorvel-cli " << name << ": " << QCoreApplication::translate("Cli", "多余的参数 \"%1\"").arg(parser.positionalArguments().join(QLatin1Char(' '))) << '\n';
        return Usage;
    }

    Output out(command.logPrefix());
    const int code = command.execute(parser, out);
    if (command.usageFailed()) {
        err << "quorvel-cli " << name << ": " << command.usageText().shown() << '\n';
        return Usage;
    }
    return code;
}
