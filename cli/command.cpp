#include "command.h"

#include "base/dailylog.h"
#include "base/debuglog.h"
#include "base/language.h"
#include "db/databasemanager.h"
#include "db/hoststore.h"
#include "base/storedtext.h"
#include "engine/rowpreview.h"
#include "merge/mergelog.h"
#include "merge/mergesettings.h"
#include "terminal.h"

#include <QCoreApplication>
#include <QJsonDocument>
#include <QTextStream>

namespace Cli {

Output::Output(const QString &logPrefix)
    : m_prefix(logPrefix)
    , m_progress(Terminal::isStandardError())
{
}

void Output::line(const Message &message)
{
    clearProgress();
    const QString text = timestampedLine(message.stored());
    QTextStream(m_toError ? stderr : stdout) << timestampedLine(message.shown()) << '\n' << Qt::flush;
    if (m_prefix == QLatin1String("merge_"))
        writeMergeLogLine(text);
    else
        appendToDailyLog(m_prefix, text);
}

OperationContext Output::context()
{
    OperationContext context;
    context.onLog = [this](const Message &line) { this->line(line); };
    context.onProgress = [this](const Message &stage, qint64 done, qint64 total) {
        progress(int(done * 100 / qMax<qint64>(1, total)), stage);
    };
    return context;
}

void Output::progress(int percent, const Message &label)
{
    if (!m_progress)
        return;
    const int filled = qBound(0, percent, 100) * 30 / 100;
    QTextStream(stderr) << "\r[" << QString(filled, QLatin1Char('#')) << QString(30 - filled, QLatin1Char('.')) << "] "
                        << qBound(0, percent, 100) << "% " << label.shown().left(40) << "\x1b[K" << Qt::flush;
    m_shown = true;
}

void Output::clearProgress()
{
    if (m_shown)
        QTextStream(stderr) << "\r\x1b[K" << Qt::flush;
    m_shown = false;
}

Command::Command(const QString &name, const QString &description, const QString &logPrefix)
    : m_name(name)
    , m_description(description)
    , m_logPrefix(logPrefix)
{
}

void Command::addOptions(QCommandLineParser &parser) const
{
    if (changesData())
        parser.addOption({QStringLiteral("yes"), QCoreApplication::translate("Cli", "真正执行（不加时只预演，不做修改）")});
}

void Command::usageError(const Message &text)
{
    if (m_usageError.isEmpty())
        m_usageError = text;
}

QList<int> Command::worldList(const QCommandLineParser &parser, const QString &option)
{
    if (!parser.isSet(option)) {
        usageError(STORED_TEXT("缺少 --%1").arg(option));
        return {};
    }
    QList<int> ids;
    for (const QString &part : parser.value(option).split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        bool ok = false;
        const int id = part.trimmed().toInt(&ok);
        if (!ok || id < 1) {
            usageError(STORED_TEXT("--%1: \"%2\" 不是有效的 WorldID").arg(option, part.trimmed()));
            return {};
        }
        ids.append(id);
    }
    if (ids.isEmpty())
        usageError(STORED_TEXT("--%1: 需要至少一个 WorldID").arg(option));
    return ids;
}

int Command::world(const QCommandLineParser &parser, const QString &option)
{
    const QList<int> ids = worldList(parser, option);
    if (usageFailed())
        return 0;
    if (ids.size() != 1) {
        usageError(STORED_TEXT("--%1: 只能给一个 WorldID").arg(option));
        return 0;
    }
    return ids.first();
}

bool Command::cleanLevel(const QCommandLineParser &parser, int *level)
{
    if (!parser.isSet(QStringLiteral("clean-level")))
        return false;
    bool ok = false;
    const int value = parser.value(QStringLiteral("clean-level")).toInt(&ok);
    if (!ok || !isCleanLevel(value)) {
        usageError(Message::source(QStringLiteral("--clean-level: %1")).arg(cleanLevelRefusal()));
        return false;
    }
    *level = value;
    return true;
}

HostConfig Command::namedHost(const QString &name)
{
    const HostConfigList hosts = readHostConfigs(hostConfigFilePath());
    static bool warned = false;
    if (const Message exposed = hostFileExposure(hostConfigFilePath()); !exposed.isEmpty() && !std::exchange(warned, true)) {
        debugLog(exposed);
        QTextStream(stderr) << exposed.shown() << '\n';
    }
    for (const HostConfig &host : hosts) {
        if (host.name == name)
            return host;
    }
    usageError(STORED_TEXT("主机配置中没有 \"%1\" (%2)").arg(name, hostConfigFilePath()));
    return HostConfig();
}

void Command::dryRunNote(Output &out)
{
    out.line(STORED_TEXT("预演完成，未做任何修改。确认无误后加 --yes 执行。"));
}

void Command::addUndoOption(QCommandLineParser &parser)
{
    parser.addOption({QStringLiteral("no-undo"), QCoreApplication::translate("Cli", "不写撤销文件（已另做完整备份时）")});
}

void Command::printUndoFile(const QString &path, Output &out)
{
    if (!path.isEmpty())
        out.line(STORED_TEXT("撤销文件: %1").arg(path));
}

void ServerCommand::addOptions(QCommandLineParser &parser) const
{
    parser.addOptions({
        {QStringLiteral("host"), QCoreApplication::translate("Cli", "host_configs.json 中的主机名称"), QStringLiteral("NAME")},
        {QStringLiteral("server"), QCoreApplication::translate("Cli", "不用主机配置时: 服务器地址"), QStringLiteral("HOST:PORT")},
        {QStringLiteral("user"), QCoreApplication::translate("Cli", "不用主机配置时: 用户名"), QStringLiteral("USER")},
        {QStringLiteral("database"), QCoreApplication::translate("Cli", "不用主机配置时: 角色数据库（默认 vexadb_main）"), QStringLiteral("DB")},
        {QStringLiteral("accounts-database"), QCoreApplication::translate("Cli", "不用主机配置时: 同一服务器上的账号库（默认 web）"), QStringLiteral("DB")},
        {QStringLiteral("password-stdin"), QCoreApplication::translate("Cli", "从标准输入读取密码（一行）")},
    });
    Command::addOptions(parser);
}

HostConfig ServerCommand::connection(const QCommandLineParser &parser, Output &out)
{
    HostConfig config;
    const bool direct = parser.isSet(QStringLiteral("server")) || parser.isSet(QStringLiteral("user")) || parser.isSet(QStringLiteral("database"))
        || parser.isSet(QStringLiteral("accounts-database"));
    if (parser.isSet(QStringLiteral("host")) && direct) {
        usageError(STORED_TEXT("--host 不能与 --server/--user/--database/--accounts-database 同时使用：只能用一种方式指定服务器"));
        return config;
    }
    if (parser.isSet(QStringLiteral("host"))) {
        config = namedHost(parser.value(QStringLiteral("host")));
    } else if (parser.isSet(QStringLiteral("server"))) {
        const QString server = parser.value(QStringLiteral("server"));
        const qsizetype colon = server.lastIndexOf(QLatin1Char(':'));
        bool ok = colon > 0;
        const int port = ok ? server.mid(colon + 1).toInt(&ok) : 0;
        if (!ok || port < 1 || port > 65535) {
            usageError(STORED_TEXT("--server: 需要 HOST:PORT，收到 \"%1\"").arg(server));
            return config;
        }
        config = HostConfig::initial(STORED_TEXT("命令行"));
        config.host = config.accountHost = server.left(colon);
        config.port = config.accountPort = port;
        config.username = config.accountUsername = parser.value(QStringLiteral("user")).isEmpty()
            ? QStringLiteral("root") : parser.value(QStringLiteral("user"));
        if (parser.isSet(QStringLiteral("database")))
            config.database = parser.value(QStringLiteral("database"));
        if (parser.isSet(QStringLiteral("accounts-database")))
            config.accountDatabase = parser.value(QStringLiteral("accounts-database"));
        config.password.clear();
        if (!parser.isSet(QStringLiteral("password-stdin")) && Terminal::isStandardInput())
            config.password = Terminal::readPassword(STORED_TEXT("%1@%2 的密码: ").arg(config.username, server).shown());
    } else {
        usageError(STORED_TEXT("需要 --host NAME 或 --server HOST:PORT"));
        return config;
    }
    if (parser.isSet(QStringLiteral("password-stdin"))) {
        config.password = Terminal::readLine();
    } else if (config.password.isEmpty() && !usageFailed()) {
        // A host entry without a password: asked for on a terminal, else said, never tried blank unheard.
        if (Terminal::isStandardInput() && parser.isSet(QStringLiteral("host")))
            config.password = Terminal::readPassword(STORED_TEXT("%1@%2 的密码: ").arg(config.username, config.host).shown());
        else if (!Terminal::isStandardInput())
            out.line(STORED_TEXT("注意：没有密码（主机配置中没有，也没有 --password-stdin），以空密码连接 %1").arg(config.host));
    }
    config.accountPassword = config.accountPassword.isEmpty() ? config.password : config.accountPassword;
    if (!usageFailed())
        printServer(STORED_TEXT("服务器"), config, out);
    return config;
}

void Command::printServer(const Message &role, const HostConfig &config, Output &out)
{
    out.line(Message::source(QStringLiteral("%1: %2")).arg(role, serverLabel(config.name, config)));
}

bool ServerCommand::connectSession(const HostConfig &config, Output &out, Message *failure)
{
    Message reason;
    const bool ok = DatabaseManager::instance()->connectToDatabase(config, &reason);
    if (!ok) {
        const Message line = STORED_TEXT("连接数据库失败: %1:%2/%3: %4").arg(config.host, QString::number(config.port), config.database, reason);
        out.line(line);
        if (failure)
            *failure = line;
    }
    return ok;
}

int ServerCommand::openWorlds(const QCommandLineParser &parser, Output &out, QList<int> *worlds, HostConfig *config)
{
    if (!parser.isSet(QStringLiteral("worlds"))) {
        usageError(STORED_TEXT("%1 需要 --worlds 1,2,...").arg(name()));
        return Usage;
    }
    *worlds = worldList(parser, QStringLiteral("worlds"));
    if (usageFailed())
        return Usage;
    *config = connection(parser, out);
    if (usageFailed())
        return Usage;
    return connectSession(*config, out) ? Success : Failed;
}

void printRowCounts(QSqlDatabase &db, const QString &owners, Output &out, bool reverseRelations)
{
    for (const Message &line : RowPreview::lines(RowPreview::characterRows(db, owners, reverseRelations)))
        out.line(line);
}

ActionCommand::ActionCommand(const QString &name, const QString &description, const QString &logPrefix, const QStringList &actions)
    : ServerCommand(name, description, logPrefix)
    , m_actions(actions)
{
}

void ActionCommand::addOptions(QCommandLineParser &parser) const
{
    ServerCommand::addOptions(parser);
    parser.addPositionalArgument(QStringLiteral("ACTION"), m_actions.join(QLatin1Char('|')));
    parser.addOption({QStringLiteral("json"), QCoreApplication::translate("Cli", "把结果作为一个 JSON 对象输出到标准输出（日志改到标准错误）")});
}

bool ActionCommand::takesMoreArguments(const QString &) const
{
    return false;
}

int ActionCommand::execute(const QCommandLineParser &parser, Output &out)
{
    const QStringList arguments = parser.positionalArguments();
    const QString action = arguments.value(0);
    m_json = parser.isSet(QStringLiteral("json"));
    m_result = QJsonObject{{QStringLiteral("command"), name()}, {QStringLiteral("action"), action}};
    out.toStandardError(m_json);
    const int code = runAction(parser, action, arguments, out);
    // With --json there is always one object, a usage error's too.
    if (m_json) {
        m_result.insert(QStringLiteral("ok"), code == Success);
        if (usageFailed())
            m_result.insert(QStringLiteral("error"), usageText().stored());
        QTextStream(stdout) << QJsonDocument(m_result).toJson(QJsonDocument::Compact) << '\n';
    }
    return code;
}

int ActionCommand::runAction(const QCommandLineParser &parser, const QString &action, const QStringList &arguments, Output &out)
{
    if (!m_actions.contains(action)) {
        usageError(action.isEmpty() ? STORED_TEXT("需要一个动作: %1").arg(m_actions.join(QLatin1Char('|')))
                                    : STORED_TEXT("未知的动作 \"%1\"，可用: %2").arg(action, m_actions.join(QLatin1Char('|'))));
        return Usage;
    }
    if (arguments.size() > 1 && !takesMoreArguments(action)) {
        usageError(STORED_TEXT("多余的参数 \"%1\"").arg(arguments.mid(1).join(QLatin1Char(' '))));
        return Usage;
    }
    return run(parser, action, arguments.mid(1), out);
}

int ActionCommand::fail(Output &out, const Message &error)
{
    out.line(error);
    m_result.insert(QStringLiteral("error"), error.stored());
    return Failed;
}

} // namespace Cli
