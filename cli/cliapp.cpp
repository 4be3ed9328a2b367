#include "cliapp.h"

#include "app/dailylog.h"
#include "db/connectionrule.h"
#include "db/databasemanager.h"
#include "db/legacytext.h"
#include "engine/accountcleanup.h"
#include "engine/backupmanager.h"
#include "engine/zonewipe.h"
#include "engine/characterpurge.h"
#include "engine/charactertables.h"
#include "engine/exportmanager.h"
#include "merge/mergeengine.h"
#include "merge/mergelog.h"
#include "merge/mergesql.h"
#include "merge/sameservermerge.h"
#include "terminal.h"
#include "ui/main/hoststore.h"

#include <QCommandLineParser>
#include <QEventLoop>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QTextStream>

#include <functional>

namespace {

enum ExitCode { Success = 0, Failed = 1, Usage = 2 };

// The first usage problem of this run; once set, the command stops with exit code 2.
QString g_usageError;

void setUsageError(const QString &text)
{
    if (g_usageError.isEmpty())
        g_usageError = text;
}

bool usageFailed()
{
    return !g_usageError.isEmpty();
}

const QList<QPair<QString, QString>> kCommands = {
    {QStringLiteral("backup"), QStringLiteral("把角色数据库备份为 SQL 文件")},
    {QStringLiteral("restore"), QStringLiteral("从 SQL 文件恢复角色数据库（需 --yes）")},
    {QStringLiteral("worlds"), QStringLiteral("列出 WorldID 及其角色数")},
    {QStringLiteral("wipe"), QStringLiteral("删除区服的全部角色及其账号（需 --yes）")},
    {QStringLiteral("merge"), QStringLiteral("跨服合区（需 --yes）")},
    {QStringLiteral("merge-same"), QStringLiteral("同服合区（需 --yes）")},
    {QStringLiteral("export"), QStringLiteral("把区服的角色列表导出为 CSV")},
};

// Writes log lines as the windows show them, into the day's file of the operation's kind,
// and a progress bar to a terminal.
class Output
{
public:
    explicit Output(const QString &logPrefix)
        : m_prefix(logPrefix)
        , m_progress(Terminal::isStandardError())
    {
    }

    void line(const QString &message)
    {
        clearProgress();
        const QString text = timestampedLine(message);
        QTextStream(stdout) << text << '\n' << Qt::flush;
        if (m_prefix == QLatin1String("merge_"))
            writeMergeLogLine(text);
        else
            appendToDailyLog(m_prefix, text);
    }

    void progress(int percent, const QString &label = QString())
    {
        if (!m_progress)
            return;
        const int filled = qBound(0, percent, 100) * 30 / 100;
        QTextStream(stderr) << "\r[" << QString(filled, QLatin1Char('#')) << QString(30 - filled, QLatin1Char('.')) << "] "
                            << qBound(0, percent, 100) << "% " << label.left(40) << "\x1b[K" << Qt::flush;
        m_shown = true;
    }

    void clearProgress()
    {
        if (m_shown)
            QTextStream(stderr) << "\r\x1b[K" << Qt::flush;
        m_shown = false;
    }

private:
    QString m_prefix;
    bool m_progress;
    bool m_shown = false;
};

QList<int> parseWorldList(const QString &text, const QString &option)
{
    QList<int> ids;
    for (const QString &part : text.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        bool ok = false;
        const int id = part.trimmed().toInt(&ok);
        if (!ok || id < 1) {
            setUsageError(QStringLiteral("--%1: \"%2\" 不是有效的 WorldID").arg(option, part.trimmed()));
            return {};
        }
        ids.append(id);
    }
    if (ids.isEmpty()) {
        setUsageError(QStringLiteral("--%1: 需要至少一个 WorldID").arg(option));
        return {};
    }
    return ids;
}

int parseWorld(const QCommandLineParser &parser, const QString &option)
{
    if (!parser.isSet(option)) {
        setUsageError(QStringLiteral("缺少 --%1").arg(option));
        return 0;
    }
    const QList<int> ids = parseWorldList(parser.value(option), option);
    if (ids.size() != 1) {
        setUsageError(QStringLiteral("--%1: 只能给一个 WorldID").arg(option));
        return 0;
    }
    return ids.first();
}

// Whether --clean-level is given; its level (1 to 150, as the windows take it) goes into *level.
bool cleanLevel(const QCommandLineParser &parser, int *level)
{
    if (!parser.isSet(QStringLiteral("clean-level")))
        return false;
    bool ok = false;
    const int value = parser.value(QStringLiteral("clean-level")).toInt(&ok);
    if (!ok || value < kMinCleanLevel || value > kMaxCleanLevel) {
        setUsageError(QStringLiteral("--clean-level: 清理等级必须为%1-%2之间的数字").arg(kMinCleanLevel).arg(kMaxCleanLevel));
        return false;
    }
    *level = value;
    return true;
}

HostConfig namedHost(const QString &name)
{
    const HostConfigList hosts = readHostConfigs(hostConfigFilePath());
    for (const HostConfig &host : hosts) {
        if (host.name == name)
            return host;
    }
    setUsageError(QStringLiteral("主机配置中没有 \"%1\" (%2)").arg(name, hostConfigFilePath()));
    return HostConfig();
}

void addConnectionOptions(QCommandLineParser &parser)
{
    parser.addOptions({
        {QStringLiteral("host"), QStringLiteral("host_configs.json 中的主机名称"), QStringLiteral("NAME")},
        {QStringLiteral("server"), QStringLiteral("不用主机配置时: 服务器地址"), QStringLiteral("HOST:PORT")},
        {QStringLiteral("user"), QStringLiteral("不用主机配置时: 用户名"), QStringLiteral("USER")},
        {QStringLiteral("database"), QStringLiteral("不用主机配置时: 角色数据库"), QStringLiteral("DB")},
        {QStringLiteral("password-stdin"), QStringLiteral("从标准输入读取密码（一行）")},
    });
}

// The connection of a single-server command. The password never comes from the command line.
HostConfig connectionFrom(const QCommandLineParser &parser)
{
    HostConfig config;
    if (parser.isSet(QStringLiteral("host"))) {
        config = namedHost(parser.value(QStringLiteral("host")));
    } else if (parser.isSet(QStringLiteral("server"))) {
        const QString server = parser.value(QStringLiteral("server"));
        const qsizetype colon = server.lastIndexOf(QLatin1Char(':'));
        bool ok = colon > 0;
        const int port = ok ? server.mid(colon + 1).toInt(&ok) : 0;
        if (!ok || port < 1 || port > 65535) {
            setUsageError(QStringLiteral("--server: 需要 HOST:PORT，收到 \"%1\"").arg(server));
            return config;
        }
        config = HostConfig::initial(QStringLiteral("命令行"));
        config.host = config.webHost = server.left(colon);
        config.port = config.webPort = port;
        config.username = config.webUsername = parser.value(QStringLiteral("user")).isEmpty()
            ? QStringLiteral("root") : parser.value(QStringLiteral("user"));
        if (parser.isSet(QStringLiteral("database")))
            config.database = parser.value(QStringLiteral("database"));
        config.password.clear();
        if (!parser.isSet(QStringLiteral("password-stdin")) && Terminal::isStandardInput())
            config.password = Terminal::readPassword(QStringLiteral("%1@%2 的密码: ").arg(config.username, server));
    } else {
        setUsageError(QStringLiteral("需要 --host NAME 或 --server HOST:PORT"));
        return config;
    }
    if (parser.isSet(QStringLiteral("password-stdin")))
        config.password = Terminal::readLine();
    config.webPassword = config.webPassword.isEmpty() ? config.password : config.webPassword;
    return config;
}

bool connectSession(const HostConfig &config, Output &out)
{
    DatabaseManager *manager = DatabaseManager::instance();
    QString reason;
    const QMetaObject::Connection heard =
        QObject::connect(manager, &DatabaseManager::errorOccurred, [&reason](const QString &error) { reason = error; });
    const bool ok = manager->connectToDatabase(config);
    QObject::disconnect(heard);
    if (!ok)
        out.line(QStringLiteral("连接数据库失败: %1:%2/%3: %4").arg(config.host, QString::number(config.port), config.database, reason));
    return ok;
}

// Rows of each character-owned table that belong to the characters chosen by `owners` (a
// sub-select of charguids), as a dry run shows them. Missing tables are named.
void printRowCounts(QSqlDatabase &db, const QString &owners, Output &out, bool reverseRelations)
{
    QStringList present;
    QString error;
    CharacterPurge::existingTables(db, characterDeleteTables + QStringList{QStringLiteral("t_char")}, &present, &error);
    QSqlQuery query(db);
    for (const QString &table : characterDeleteTables + QStringList{QStringLiteral("t_char")}) {
        if (!present.contains(table)) {
            out.line(QStringLiteral("  跳过 %1: 表不存在").arg(table));
            continue;
        }
        if (!query.exec(QStringLiteral("SELECT COUNT(*) FROM %1 WHERE charguid IN (%2)").arg(table, owners)) || !query.next()) {
            out.line(QStringLiteral("  %1: 统计失败: %2").arg(table, query.lastError().text()));
            continue;
        }
        out.line(QStringLiteral("  %1: %2 条记录").arg(table).arg(query.value(0).toLongLong()));
        if (table == QLatin1String("t_xiulian") && reverseRelations && present.contains(QStringLiteral("t_relation"))
            && query.exec(QStringLiteral("SELECT COUNT(*) FROM t_relation WHERE fguid IN (%1) AND charguid NOT IN (%1)").arg(owners)) && query.next())
            out.line(QStringLiteral("  t_relation(反向关系): %1 条记录").arg(query.value(0).toLongLong()));
    }
}

QString worldOwners(const QList<int> &worlds)
{
    return QStringLiteral("SELECT charguid FROM t_char WHERE zoneworldid IN (%1)").arg(idListText(worlds));
}

void dryRunNote(Output &out)
{
    out.line(QStringLiteral("预演完成，未做任何修改。确认无误后加 --yes 执行。"));
}

int runBackupOrRestore(bool restore, const QCommandLineParser &parser, Output &out)
{
    const HostConfig config = connectionFrom(parser);
    if (usageFailed())
        return Usage;
    BackupManager backup;
    QString file = parser.value(QStringLiteral("file"));
    if (restore) {
        if (file.isEmpty()) {
            setUsageError(QStringLiteral("restore 需要 --file PATH"));
            return Usage;
        }
        if (!QFileInfo::exists(file)) {
            out.line(QStringLiteral("备份文件不存在: %1").arg(file));
            return Failed;
        }
        if (!parser.isSet(QStringLiteral("yes"))) {
            out.line(QStringLiteral("将用 %1 (%2 字节) 恢复数据库 %3，以下表的数据会被覆盖:")
                         .arg(file, QString::number(QFileInfo(file).size()), config.database));
            if (!connectSession(config, out))
                return Failed;
            QSqlQuery query(DatabaseManager::instance()->database());
            query.exec(QStringLiteral("SELECT table_name FROM information_schema.tables WHERE table_schema = DATABASE() ORDER BY table_name"));
            QStringList tables;
            while (query.next())
                tables.append(query.value(0).toString());
            for (const QString &table : std::as_const(tables)) {
                if (query.exec(QStringLiteral("SELECT COUNT(*) FROM %1").arg(MergeSql::quoted(table))) && query.next())
                    out.line(QStringLiteral("  %1: %2 条记录").arg(table).arg(query.value(0).toLongLong()));
            }
            dryRunNote(out);
            return Success;
        }
    } else if (file.isEmpty()) {
        file = backup.getDefaultBackupPath();
    }
    bool ok = false;
    QEventLoop loop;
    QObject::connect(&backup, &BackupManager::logMessage, &loop, [&out](const QString &m) { out.line(m); });
    QObject::connect(&backup, &BackupManager::errorOccurred, &loop, [&out](const QString &m) { out.line(m); });
    QObject::connect(&backup, &BackupManager::backupProgress, &loop, [&out](int p) { out.progress(p, QStringLiteral("备份")); });
    QObject::connect(&backup, &BackupManager::restoreProgress, &loop, [&out](int p) { out.progress(p, QStringLiteral("恢复")); });
    QObject::connect(&backup, &BackupManager::backupCompleted, &loop, [&](bool success) { ok = success; loop.quit(); });
    QObject::connect(&backup, &BackupManager::restoreCompleted, &loop, [&](bool success) { ok = success; loop.quit(); });
    if (restore)
        backup.restoreDatabase(config.host, config.port, config.username, config.password, config.database, file);
    else
        backup.backupDatabase(config.host, config.port, config.username, config.password, config.database, file);
    if (backup.isBusy())
        loop.exec();
    out.clearProgress();
    return ok ? Success : Failed;
}

int runWorlds(const QCommandLineParser &parser, Output &out)
{
    const HostConfig config = connectionFrom(parser);
    if (usageFailed())
        return Usage;
    if (!connectSession(config, out))
        return Failed;
    const QMap<int, int> stats = DatabaseManager::instance()->getWorldIdStatistics();
    QTextStream stream(stdout);
    stream << "WorldID\t角色数\n";
    for (auto it = stats.cbegin(); it != stats.cend(); ++it)
        stream << it.key() << '\t' << it.value() << '\n';
    return Success;
}

// The account databases named by --accounts, each checked against the server's.
QStringList chosenAccountDatabases(const QCommandLineParser &parser)
{
    if (!parser.isSet(QStringLiteral("accounts")))
        return {};
    QStringList names = parser.value(QStringLiteral("accounts")).split(QLatin1Char(','), Qt::SkipEmptyParts);
    for (QString &name : names) {
        name = name.trimmed();
        if (!isPlainDatabaseName(name)) {
            setUsageError(QStringLiteral("--accounts: \"%1\" 不是有效的数据库名").arg(name));
            return {};
        }
    }
    // Named explicitly, so any account database of the server will do, not only "web" and "webN".
    QSqlQuery query(DatabaseManager::instance()->database());
    for (const QString &name : std::as_const(names)) {
        query.prepare(QStringLiteral("SELECT COUNT(*) FROM information_schema.tables WHERE table_schema = ? AND table_name = 'account'"));
        query.addBindValue(name);
        if (!query.exec() || !query.next() || query.value(0).toInt() == 0) {
            setUsageError(QStringLiteral("--accounts: 服务器上没有账号数据库 \"%1\"").arg(name));
            return {};
        }
    }
    return names;
}

int countAccounts(QSqlDatabase &db, const QString &database, const QList<QByteArray> &names)
{
    int total = 0;
    for (qsizetype start = 0; start < names.size(); start += 500) {
        const QList<QByteArray> slice = names.mid(start, 500);
        QSqlQuery query(db);
        query.prepare(QStringLiteral("SELECT COUNT(*) FROM %1.account WHERE name IN (%2)")
                          .arg(MergeSql::quoted(database), QStringList(slice.size(), QStringLiteral("UNHEX(?)")).join(QLatin1Char(','))));
        for (const QByteArray &name : slice)
            query.addBindValue(textParameter(db, QString::fromLatin1(name.toHex())));
        if (query.exec() && query.next())
            total += query.value(0).toInt();
    }
    return total;
}

// The --worlds list and the session of a command that works on worlds: Success, Usage or Failed.
int openWorldsSession(const QCommandLineParser &parser, Output &out, const QString &command, QList<int> *worlds,
                      HostConfig *config)
{
    if (!parser.isSet(QStringLiteral("worlds"))) {
        setUsageError(QStringLiteral("%1 需要 --worlds 1,2,...").arg(command));
        return Usage;
    }
    *worlds = parseWorldList(parser.value(QStringLiteral("worlds")), QStringLiteral("worlds"));
    if (usageFailed())
        return Usage;
    *config = connectionFrom(parser);
    if (usageFailed())
        return Usage;
    return connectSession(*config, out) ? Success : Failed;
}

int runWipe(const QCommandLineParser &parser, Output &out)
{
    QList<int> worlds;
    HostConfig config;
    if (const int code = openWorldsSession(parser, out, QStringLiteral("wipe"), &worlds, &config); code != Success)
        return code;
    const QStringList accountDatabases = chosenAccountDatabases(parser);
    if (usageFailed())
        return Usage;
    QSqlDatabase &db = DatabaseManager::instance()->database();
    AccountCleanup::WipedAccounts accounts;
    QString error;
    if (!accountDatabases.isEmpty() && !AccountCleanup::collectAccountNames(db, worlds, &accounts, &error)) {
        out.line(QStringLiteral("读取账号失败，未做任何修改: %1").arg(error));
        return Failed;
    }

    if (!parser.isSet(QStringLiteral("yes"))) {
        out.line(QStringLiteral("将删除 zoneworldid IN (%1) 的角色数据:").arg(idListText(worlds)));
        printRowCounts(db, worldOwners(worlds), out, true);
        for (const QString &database : accountDatabases)
            out.line(QStringLiteral("  %1.account: %2 个账号").arg(database).arg(countAccounts(db, database, accounts.names)));
        if (accounts.kept > 0)
            out.line(QStringLiteral("  保留 %1 个账号：它们在未删档的区服还有角色").arg(accounts.kept));
        dryRunNote(out);
        return Success;
    }
    ZoneWipe::Request request{worlds, accountDatabases, accounts, config};
    ZoneWipe::Sinks sinks;
    sinks.log = [&out](const QString &m) { out.line(m); };
    sinks.progress = [&out](int step, int steps, const QString &table) { out.progress(step * 100 / qMax(1, steps), table); };
    int deleted = 0;
    const bool ok = ZoneWipe::run(db, request, sinks, &deleted);
    out.clearProgress();
    return ok ? Success : Failed;
}

int runExport(const QCommandLineParser &parser, Output &out)
{
    QList<int> worlds;
    HostConfig config;
    if (const int code = openWorldsSession(parser, out, QStringLiteral("export"), &worlds, &config); code != Success)
        return code;
    ExportManager exporter(nullptr);
    QObject::connect(&exporter, &ExportManager::logMessage, [&out](const QString &m) { out.line(m); });
    QObject::connect(&exporter, &ExportManager::exportProgress, [&out](int p) { out.progress(p, QStringLiteral("导出")); });
    const QString file = parser.value(QStringLiteral("file")).isEmpty() ? exporter.generateExportPath(worlds)
                                                                        : parser.value(QStringLiteral("file"));
    const bool ok = exporter.exportCharacters(DatabaseManager::instance()->queryCharacters(worlds), file);
    out.clearProgress();
    return ok ? Success : Failed;
}

MergeEndpoint endpointOf(const HostConfig &host)
{
    MergeEndpoint endpoint;
    endpoint.host = host.host;
    endpoint.port = host.port;
    endpoint.username = host.username;
    endpoint.password = host.password;
    endpoint.charDatabase = host.database;
    endpoint.webDatabase = host.webDatabase;
    return endpoint;
}

int runCrossMerge(const QCommandLineParser &parser, Output &out)
{
    if (!parser.isSet(QStringLiteral("main")) || !parser.isSet(QStringLiteral("sub"))) {
        setUsageError(QStringLiteral("merge 需要 --main NAME 和 --sub NAME"));
        return Usage;
    }
    MergeSettings settings;
    const HostConfig main = namedHost(parser.value(QStringLiteral("main")));
    const HostConfig sub = namedHost(parser.value(QStringLiteral("sub")));
    if (usageFailed())
        return Usage;
    settings.main = endpointOf(main);
    settings.sub = endpointOf(sub);
    settings.mainWorldId = parseWorld(parser, QStringLiteral("main-world"));
    settings.subWorldId = parseWorld(parser, QStringLiteral("sub-world"));
    if (usageFailed())
        return Usage;
    if (parser.isSet(QStringLiteral("char-suffix")))
        settings.charNameSuffix = parser.value(QStringLiteral("char-suffix"));
    if (parser.isSet(QStringLiteral("account-suffix")))
        settings.accountNameSuffix = parser.value(QStringLiteral("account-suffix"));
    settings.cleanLowLevel = cleanLevel(parser, &settings.cleanLevel);
    if (usageFailed())
        return Usage;
    settings.mergeWeb = !parser.isSet(QStringLiteral("no-accounts"));
    settings.backupFirst = parser.isSet(QStringLiteral("backup"));
    settings.fillMissingColumns = parser.isSet(QStringLiteral("fill-missing"));
    settings.again = parser.isSet(QStringLiteral("again"));
    // An entry without a stored password: one line of standard input each, or a prompt.
    for (auto [endpoint, name] : {std::pair{&settings.main, main.name}, std::pair{&settings.sub, sub.name}}) {
        if (!endpoint->password.isEmpty())
            continue;
        if (parser.isSet(QStringLiteral("password-stdin")))
            endpoint->password = Terminal::readLine();
        else if (Terminal::isStandardInput())
            endpoint->password = Terminal::readPassword(QStringLiteral("%1 (%2@%3) 的密码: ").arg(name, endpoint->username, endpoint->host));
    }

    if (!parser.isSet(QStringLiteral("yes"))) {
        out.line(QStringLiteral("将把 %1 的 WorldID %2 合入 %3 的 WorldID %4:")
                     .arg(sub.name, QString::number(settings.subWorldId), main.name, QString::number(settings.mainWorldId)));
        MergePreflight preflight;
        if (!preflightMerge(settings, [&out](const QString &m) { out.line(m); }, &preflight))
            return Failed;
        if (!preflight.refusals.isEmpty())
            return Failed;
        if (preflight.alreadyMerged > 0)
            out.line(QStringLiteral("要再次合并，需同时加 --yes --again。"));
        dryRunNote(out);
        return Success;
    }
    MergeReport report;
    const bool ok = runMerge(settings, [&out](const QString &m) { out.line(m); }, nullptr, &report,
                             [&out](const MergeProgress &p) { out.progress((p.stage - 1) * 100 / MergeProgress::stageCount, p.text); });
    out.clearProgress();
    for (const QString &loss : report.lossLines())
        out.line(loss);
    return ok && !report.hasLosses() ? Success : Failed;
}

int runSameMerge(const QCommandLineParser &parser, Output &out)
{
    SameServerMergeParameters parameters;
    parameters.subWorldId = parseWorld(parser, QStringLiteral("sub-world"));
    parameters.mainWorldId = parseWorld(parser, QStringLiteral("main-world"));
    if (usageFailed())
        return Usage;
    if (parameters.subWorldId == parameters.mainWorldId) {
        setUsageError(QStringLiteral("--sub-world 与 --main-world 不能相同"));
        return Usage;
    }
    parameters.cleanLowLevel = cleanLevel(parser, &parameters.levelThreshold);
    if (usageFailed())
        return Usage;
    if (parser.isSet(QStringLiteral("main-accounts")) || parser.isSet(QStringLiteral("sub-accounts"))) {
        parameters.independentAccounts = true;
        parameters.mainAccountDb = parser.value(QStringLiteral("main-accounts"));
        parameters.subAccountDb = parser.value(QStringLiteral("sub-accounts"));
        if (!isPlainDatabaseName(parameters.mainAccountDb) || !isPlainDatabaseName(parameters.subAccountDb)) {
            setUsageError(QStringLiteral("--main-accounts 和 --sub-accounts 需同时给出有效的数据库名"));
            return Usage;
        }
        if (!parser.isSet(QStringLiteral("suffix"))) {
            setUsageError(QStringLiteral("独立账号库需要 --suffix TEXT（重名账号的后缀）"));
            return Usage;
        }
        parameters.conflictSuffix = parser.value(QStringLiteral("suffix"));
    }
    if (const QString refusal = sameServerMergeRefusal(parameters); !refusal.isEmpty()) {
        setUsageError(refusal);
        return Usage;
    }
    const HostConfig config = connectionFrom(parser);
    if (usageFailed())
        return Usage;
    if (!parser.isSet(QStringLiteral("yes"))) {
        if (!connectSession(config, out))
            return Failed;
        QSqlDatabase &db = DatabaseManager::instance()->database();
        out.line(QStringLiteral("将把 WorldID %1 的角色并入 WorldID %2，涉及的数据:").arg(parameters.subWorldId).arg(parameters.mainWorldId));
        printRowCounts(db, worldOwners({parameters.subWorldId}), out, false);
        if (parameters.cleanLowLevel) {
            out.line(QStringLiteral("先删除两个区等级 ≤ %1 的角色:").arg(parameters.levelThreshold));
            printRowCounts(db, sameServerLowLevelCharacters(parameters), out, true);
        }
        dryRunNote(out);
        return Success;
    }
    const bool ok = runSameServerMerge(config, parameters, [&out](const QString &m) { out.line(m); },
                                       [&out](int p) { out.progress(p, QStringLiteral("同服合区")); }, nullptr);
    out.clearProgress();
    return ok ? Success : Failed;
}

QString overview()
{
    QString text = QStringLiteral("用法: quorvel-cli <命令> [选项]\n\n命令:\n");
    for (const auto &[name, what] : kCommands)
        text += QStringLiteral("  %1%2\n").arg(name, -12).arg(what);
    text += QStringLiteral("\n各命令的选项: quorvel-cli <命令> --help\n"
                           "退出码: 0 成功，1 操作失败，2 用法错误。会修改数据的命令不加 --yes 时只做预演。\n");
    return text;
}

} // namespace

int runCommandLine(const QStringList &arguments)
{
    QTextStream err(stderr);
    const QString command = arguments.value(1);
    if (command.isEmpty() || command == QLatin1String("--help") || command == QLatin1String("-h") || command == QLatin1String("help")) {
        QTextStream(stdout) << overview();
        return command.isEmpty() ? Usage : Success;
    }
    auto known = std::find_if(kCommands.cbegin(), kCommands.cend(), [&](const auto &c) { return c.first == command; });
    if (known == kCommands.cend()) {
        err << "quorvel-cli: 未知命令 \"" << command << "\"，可用: backup, restore, worlds, wipe, merge, merge-same, export\n";
        return Usage;
    }

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("quorvel-cli %1: %2").arg(command, known->second));
    parser.addHelpOption();
    const QCommandLineOption yes(QStringLiteral("yes"), QStringLiteral("真正执行（不加时只预演，不做修改）"));
    QString logPrefix = QStringLiteral("operation_");
    if (command != QLatin1String("merge"))
        addConnectionOptions(parser);
    if (command == QLatin1String("backup") || command == QLatin1String("restore") || command == QLatin1String("export"))
        parser.addOption({QStringLiteral("file"), QStringLiteral("SQL 或 CSV 文件"), QStringLiteral("PATH")});
    if (command == QLatin1String("wipe") || command == QLatin1String("export"))
        parser.addOption({QStringLiteral("worlds"), QStringLiteral("WorldID 列表，如 2,3"), QStringLiteral("LIST")});
    if (command == QLatin1String("wipe")) {
        parser.addOption({QStringLiteral("accounts"), QStringLiteral("同时清理的账号数据库，如 web,web2"), QStringLiteral("LIST")});
        logPrefix = QStringLiteral("zone_delete_");
    }
    if (command == QLatin1String("export"))
        logPrefix = QStringLiteral("character_");
    if (command == QLatin1String("merge") || command == QLatin1String("merge-same")) {
        parser.addOptions({
            {QStringLiteral("main-world"), QStringLiteral("主区（目标）WorldID"), QStringLiteral("N")},
            {QStringLiteral("sub-world"), QStringLiteral("副区（来源）WorldID"), QStringLiteral("N")},
            {QStringLiteral("clean-level"), QStringLiteral("先删除等级 ≤ N 的角色（1-150）"), QStringLiteral("N")},
        });
        logPrefix = QStringLiteral("merge_");
    }
    if (command == QLatin1String("merge")) {
        parser.addOptions({
            {QStringLiteral("main"), QStringLiteral("主服（目标）的主机名称"), QStringLiteral("NAME")},
            {QStringLiteral("sub"), QStringLiteral("副服（来源）的主机名称"), QStringLiteral("NAME")},
            {QStringLiteral("char-suffix"), QStringLiteral("重名角色的后缀（默认 _S2）"), QStringLiteral("TEXT")},
            {QStringLiteral("account-suffix"), QStringLiteral("重名账号的后缀（默认 _S2）"), QStringLiteral("TEXT")},
            {QStringLiteral("no-accounts"), QStringLiteral("不合并账号")},
            {QStringLiteral("backup"), QStringLiteral("合区前备份主服")},
            {QStringLiteral("fill-missing"), QStringLiteral("主服必填而副服没有的字段，填入游戏为新角色写入的值")},
            {QStringLiteral("again"), QStringLiteral("主服似乎已合并过这些角色时仍然合并（需同时加 --yes）")},
            {QStringLiteral("password-stdin"), QStringLiteral("主机配置中没有密码时，从标准输入读取（每个一行，先主服）")},
        });
    }
    if (command == QLatin1String("merge-same")) {
        parser.addOptions({
            {QStringLiteral("main-accounts"), QStringLiteral("独立账号库: 主区的账号数据库"), QStringLiteral("DB")},
            {QStringLiteral("sub-accounts"), QStringLiteral("独立账号库: 副区的账号数据库"), QStringLiteral("DB")},
            {QStringLiteral("suffix"), QStringLiteral("重名账号的后缀"), QStringLiteral("TEXT")},
        });
    }
    if (command == QLatin1String("restore") || command == QLatin1String("wipe") || command.startsWith(QLatin1String("merge")))
        parser.addOption(yes);

    QStringList rest = arguments;
    rest.removeAt(1);
    if (!parser.parse(rest)) {
        err << "quorvel-cli " << command << ": " << parser.errorText() << '\n';
        return Usage;
    }
    if (parser.isSet(QStringLiteral("help")) || parser.isSet(QStringLiteral("help-all"))) {
        QString help = parser.helpText();
        help.replace(0, help.indexOf(QLatin1Char('\n')), QStringLiteral("用法: quorvel-cli %1 [选项]").arg(command));
        QTextStream(stdout) << help;
        return Success;
    }
    if (!parser.positionalArguments().isEmpty()) {
        err << "quorvel-cli " << command << ": 多余的参数 \"" << parser.positionalArguments().join(QLatin1Char(' ')) << "\"\n";
        return Usage;
    }

    Output out(logPrefix);
    int code = Success;
    if (command == QLatin1String("backup") || command == QLatin1String("restore"))
        code = runBackupOrRestore(command == QLatin1String("restore"), parser, out);
    else if (command == QLatin1String("worlds"))
        code = runWorlds(parser, out);
    else if (command == QLatin1String("wipe"))
        code = runWipe(parser, out);
    else if (command == QLatin1String("export"))
        code = runExport(parser, out);
    else if (command == QLatin1String("merge"))
        code = runCrossMerge(parser, out);
    else
        code = runSameMerge(parser, out);
    if (usageFailed()) {
        err << "quorvel-cli " << command << ": " << g_usageError << '\n';
        return Usage;
    }
    return code;
}
