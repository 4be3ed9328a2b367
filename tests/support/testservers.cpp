#include "testservers.h"

#include "db/connectionrule.h"
#include "db/databasemanager.h"
#include "engine/undofile.h"

#include <QCoreApplication>
#include <QDebug>
#include <QDir>
#include <QDirIterator>
#include <QList>
#include <QProcess>
#include <QLibraryInfo>
#include <QLockFile>
#include <QElapsedTimer>
#include <QThread>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QTemporaryFile>

#include <memory>

namespace {
const QString kPassword = QStringLiteral("Qv;p{w}d=1");

bool registerOdbcDriver(const QString &dir, const QString &driverName);

// Set up before any test runs, so that every connection of an ODBC run takes the ODBC path.
struct OdbcRun
{
    OdbcRun()
    {
        if (qEnvironmentVariableIntValue("QUORVEL_TEST_ODBC") != 1)
            return;
        if (!directory.isValid() || !registerOdbcDriver(directory.path(), QStringLiteral("MySQL ODBC 8.0 Unicode Driver")))
            qFatal("ODBC run: the MariaDB ODBC driver (odbc-mariadb) is not installed");
        setNativeMysqlEnabled(false);
        active = true;
    }
    QTemporaryDir directory;
    bool active = false;
};
const OdbcRun &odbcSetUp()
{
    static const OdbcRun run;
    return run;
}
const bool odbcAtStart = odbcSetUp().active;

QList<TestServer> &ownedServers()
{
    static QList<TestServer> servers;
    return servers;
}

QTemporaryDir &ownedRoot()
{
    // Under the test command's folder, whose clean-up stops what a crashed test left running.
    static QTemporaryDir dir(qEnvironmentVariable("QUORVEL_TEST_RUN_DIR", QDir::tempPath())
                             + QStringLiteral("/quorvel-test-XXXXXX"));
    return dir;
}

void stopOwnedServers()
{
    for (const TestServer &server : std::as_const(ownedServers()))
        TestServers::stop(server);
    ownedServers().clear();
}

bool runScript(const QStringList &arguments, QByteArray *output = nullptr)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(QStringLiteral("bash"),
                  QStringList{TestServers::scriptsDirectory() + QStringLiteral("/mariadb-sandbox.sh")} + arguments);
    const bool ok = process.waitForFinished(120000) && process.exitStatus() == QProcess::NormalExit
        && process.exitCode() == 0;
    const QByteArray out = process.readAll();
    if (output)
        *output = out;
    if (!ok)
        qWarning().noquote() << "mariadb-sandbox.sh" << arguments.join(QLatin1Char(' ')) << "failed:" << out;
    return ok;
}

TestServer startOwned()
{
    if (ownedServers().isEmpty())
        qAddPostRoutine(stopOwnedServers);
    TestServer server;
    server.password = kPassword;
    QByteArray output;
    // A second try in a fresh folder: on a loaded machine a first start may time out.
    static int started = 0;
    bool ok = false;
    for (int attempt = 0; attempt < 2 && !ok; ++attempt) {
        server.dir = ownedRoot().path() + QStringLiteral("/server%1").arg(started++);
        ok = runScript({QStringLiteral("start-any"), server.dir, server.password}, &output);
        if (!ok)
            TestServers::stop(server);
    }
    if (!ok)
        return {};
    server.port = output.trimmed().split('\n').last().toInt();
    ownedServers().append(server);
    return server;
}

// `channels`: MergedChannels where the client's errors are to be read with its output.
QProcess *startClient(const TestServer &server, const QString &database, QObject *parent,
                      QProcess::ProcessChannelMode channels = QProcess::SeparateChannels, const QString &inputFile = QString())
{
    auto *process = new QProcess(parent);
    process->setProcessChannelMode(channels);
    if (!inputFile.isEmpty())
        process->setStandardInputFile(inputFile);
    // The tests' own statements (fixtures with zero dates, GROUP BY checks) in a mode of their
    // own, whatever the server's global mode that the program meets.
    QStringList args{QStringLiteral("--no-defaults"), QStringLiteral("-h") + server.host,
                     QStringLiteral("-P%1").arg(server.port), QStringLiteral("-uroot"),
                     QStringLiteral("--batch"), QStringLiteral("--skip-column-names"),
                     QStringLiteral("--init-command=SET SESSION sql_mode = 'NO_ENGINE_SUBSTITUTION'")};
    if (!database.isEmpty())
        args << database;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("MYSQL_PWD"), server.password);
    process->setProcessEnvironment(env);
    process->start(QStringLiteral("mariadb"), args);
    return process;
}
} // namespace

HostConfig TestServer::hostConfig(const QString &database) const
{
    HostConfig config = HostConfig::initial(QStringLiteral("测试服务器"));
    config.host = host;
    config.port = port;
    config.password = password;
    config.database = database;
    config.accountHost = config.host;
    config.accountPort = port;
    config.accountPassword = password;
    return config;
}

namespace TestServers {

QString scriptsDirectory()
{
    return QStringLiteral(QUORVEL_SOURCE_DIR "/scripts");
}

// The shared servers' ports: QUORVEL_TEST_SERVERS, or, where the test command offers two pairs
// (QUORVEL_TEST_SERVERS_a and _b, for ctest -j2), the pair whose lock this program takes first
// and holds until it ends, so that two programs at once never share a server, its databases
// or its global settings. A program that crashed leaves no lock behind: it held it by its pid.
QStringList sharedPorts()
{
    const QString runDirectory = qEnvironmentVariable("QUORVEL_TEST_RUN_DIR");
    if (runDirectory.isEmpty() || !qEnvironmentVariableIsSet("QUORVEL_TEST_SERVERS_a"))
        return qEnvironmentVariable("QUORVEL_TEST_SERVERS").split(QLatin1Char(','), Qt::SkipEmptyParts);
    static std::unique_ptr<QLockFile> held;
    static QString lane;
    QElapsedTimer waited;
    waited.start();
    while (!held && waited.elapsed() < 600000) {
        for (const char *candidate : {"a", "b"}) {
            auto lock = std::make_unique<QLockFile>(runDirectory + QStringLiteral("/servers-%1.lock").arg(QLatin1String(candidate)));
            lock->setStaleLockTime(0);
            if (lock->tryLock(0)) {
                held = std::move(lock);
                lane = QLatin1String(candidate);
                break;
            }
        }
        if (!held)
            QThread::msleep(200);
    }
    return qEnvironmentVariable(("QUORVEL_TEST_SERVERS_" + lane.toLatin1()).constData()).split(QLatin1Char(','), Qt::SkipEmptyParts);
}

TestServer shared(int index)
{
    static QList<TestServer> servers;
    if (servers.size() > index)
        return servers.at(index);
    const QStringList ports = sharedPorts();
    while (servers.size() <= index) {
        if (servers.size() < ports.size()) {
            TestServer server;
            const QString entry = ports.at(servers.size()).trimmed();
            if (entry.contains(QLatin1Char(':')))
                server.host = entry.section(QLatin1Char(':'), 0, -2);
            server.port = entry.section(QLatin1Char(':'), -1).toInt();
            server.password = qEnvironmentVariable("QUORVEL_TEST_PASSWORD", kPassword);
            servers.append(server);
        } else {
            const TestServer server = startOwned();
            if (!server.isValid())
                return {};
            servers.append(server);
        }
        // Each program sets the server's mode for itself: a run of the MySQL mode, or MariaDB's default.
        runSql(servers.last(), "SET GLOBAL sql_mode = '" + serverSqlMode() + "';");
    }
    return servers.at(index);
}

QByteArray serverSqlMode()
{
    const QByteArray mode = qgetenv("QUORVEL_TEST_SQL_MODE");
    return mode.isEmpty() ? QByteArray("STRICT_TRANS_TABLES,ERROR_FOR_DIVISION_BY_ZERO,NO_ENGINE_SUBSTITUTION") : mode;
}

bool sqlModeRun()
{
    return !qEnvironmentVariableIsEmpty("QUORVEL_TEST_SQL_MODE");
}

TestServer startPrivate()
{
    const TestServer server = startOwned();
    if (server.isValid())
        runSql(server, "SET GLOBAL sql_mode = '" + serverSqlMode() + "';");
    return server;
}

bool stop(const TestServer &server)
{
    return !server.dir.isEmpty() && runScript({QStringLiteral("stop"), server.dir});
}

void kill(const TestServer &server)
{
    QFile pidFile(server.dir + QStringLiteral("/mariadbd.pid"));
    if (pidFile.open(QIODevice::ReadOnly))
        QProcess::execute(QStringLiteral("kill"), {QStringLiteral("-9"), QString::fromLatin1(pidFile.readAll().trimmed())});
}

bool start(const TestServer &server)
{
    return !server.dir.isEmpty()
        && runScript({QStringLiteral("start"), server.dir, QString::number(server.port), server.password});
}

bool runSql(const TestServer &server, const QByteArray &sql, const QString &database)
{
    QObject owner;
    QProcess *client = startClient(server, database, &owner, QProcess::MergedChannels);
    client->write(sql);
    client->closeWriteChannel();
    const bool ok = client->waitForFinished(600000) && client->exitStatus() == QProcess::NormalExit
        && client->exitCode() == 0;
    if (!ok)
        qWarning().noquote() << "mysql client failed:" << client->readAll();
    return ok;
}

QMap<QString, QString> tableChecksums(const TestServer &server, const QString &database, const QStringList &tables)
{
    QMap<QString, QString> result;
    const QString out = querySql(server, QStringLiteral("CHECKSUM TABLE ") + tables.join(QStringLiteral(", ")), database);
    for (const QString &line : out.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        const QStringList fields = line.split(QLatin1Char('\t'));
        result.insert(fields.value(0).section(QLatin1Char('.'), 1), fields.value(1));
    }
    return result;
}

QList<int> queryInts(const TestServer &server, const QString &sql, const QString &database)
{
    QList<int> values;
    for (const QString &line : querySql(server, sql, database).split(QLatin1Char('\n'), Qt::SkipEmptyParts))
        values.append(line.section(QLatin1Char('\t'), 0, 0).toInt());
    return values;
}

QMap<QString, QString> databaseChecksums(const TestServer &server, const QStringList &databases)
{
    QMap<QString, QString> result;
    for (const QString &database : databases) {
        const QStringList tables = querySql(server, QStringLiteral("SHOW TABLES"), database).split(QLatin1Char('\n'));
        const QMap<QString, QString> sums = tableChecksums(server, database, tables);
        for (auto it = sums.cbegin(); it != sums.cend(); ++it)
            result.insert(database + QLatin1Char('.') + it.key(), it.value());
    }
    return result;
}

QString applyUndo(const TestServer &server, const QString &database, const QString &resultText)
{
    const QString path = resultText.contains(QStringLiteral("撤销文件: "))
        ? resultText.section(QStringLiteral("撤销文件: "), 1).section(QLatin1Char('\n'), 0, 0)
        : resultText;
    if (path.isEmpty())
        return QStringLiteral("no undo file in: ") + resultText;
    if (!DatabaseManager::instance()->connectToDatabase(server.hostConfig(database)))
        return QStringLiteral("cannot connect");
    Message error;
    return UndoFile::apply(DatabaseManager::instance()->database(), path, &error) ? QString() : error.stored();
}

QByteArray allByteValues()
{
    QByteArray bytes;
    for (int b = 0; b < 256; ++b)
        bytes.append(char(b));
    return bytes;
}

QString querySql(const TestServer &server, const QString &sql, const QString &database)
{
    QObject owner;
    QProcess *client = startClient(server, database, &owner);
    client->write(sql.toUtf8());
    client->closeWriteChannel();
    if (!client->waitForFinished(120000) || client->exitCode() != 0) {
        qWarning().noquote() << "mysql client failed:" << client->readAllStandardError();
        return QString();
    }
    return QString::fromUtf8(client->readAllStandardOutput()).trimmed();
}

QStringList filesHoldingPassword(const QString &directory)
{
    const QByteArray password = qEnvironmentVariable("QUORVEL_TEST_PASSWORD", kPassword).toUtf8();
    QByteArray braced = password;
    braced.replace('}', "}}");
    QStringList found;
    QDirIterator it(directory, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        if (QFileInfo(path).fileName() == QLatin1String("host_configs.json"))
            continue;
        QFile file(path);
        if (file.open(QIODevice::ReadOnly)) {
            const QByteArray content = file.readAll();
            if (content.contains(password) || content.contains(braced))
                found.append(path);
        }
    }
    return found;
}

QStringList filesOthersCanRead(const QString &directory)
{
    QStringList found;
    QStringList files;
    if (QFileInfo(directory).isFile())
        files.append(directory);
    for (QDirIterator it(directory, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories); it.hasNext();)
        files.append(it.next());
    for (const QString &file : std::as_const(files)) {
        const QFileInfo info(file);
        if (info.suffix() != QLatin1String("sh") && info.permissions() & (QFileDevice::ReadGroup | QFileDevice::ReadOther)
            && !info.isExecutable())
            found.append(info.absoluteFilePath());
    }
    return found;
}

void recordStatements(const TestServer &server, bool on)
{
    runSql(server, on ? "SET GLOBAL general_log = 0; SET GLOBAL log_output = 'TABLE'; TRUNCATE TABLE mysql.general_log; SET GLOBAL general_log = 1;"
                      : "SET GLOBAL general_log = 0;");
}

QStringList statementsNamingATemporaryTableTwice(const TestServer &server)
{
    static const QRegularExpression created(QStringLiteral("CREATE TEMPORARY TABLE (?:IF NOT EXISTS )?`?(\\w+)`?"),
                                            QRegularExpression::CaseInsensitiveOption);
    QSet<QString> names;
    const QString creates = querySql(server, QStringLiteral("SELECT REPLACE(CONVERT(argument USING utf8mb4), '\\n', ' ') FROM mysql.general_log "
                                                            "WHERE argument LIKE 'CREATE TEMPORARY TABLE%'"));
    for (const QString &line : creates.split(QLatin1Char('\n'), Qt::SkipEmptyParts))
        names.insert(created.match(line).captured(1));
    QStringList twice;
    for (const QString &name : std::as_const(names)) {
        const QRegularExpression word(QStringLiteral("\\b%1\\b").arg(name));
        const QString statements = querySql(server, QStringLiteral("SELECT REPLACE(CONVERT(argument USING utf8mb4), '\\n', ' ') FROM mysql.general_log "
                                                                   "WHERE command_type IN ('Query', 'Execute') AND argument LIKE '%%1%%1%'").arg(name));
        for (const QString &statement : statements.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
            if (statement.count(word) > 1)
                twice.append(statement.left(200));
        }
    }
    return twice;
}

bool odbcRun()
{
    return odbcSetUp().active;
}

bool rerun()
{
    return odbcRun() || sqlModeRun();
}

void useNativeDriver(bool native)
{
    setNativeMysqlEnabled(native && !odbcRun());
}

bool hideNativeDriver(const QString &programDirectory)
{
    if (!odbcRun())
        return true;
    const QString plugins = programDirectory + QStringLiteral("/odbc-only-plugins");
    QDir().mkpath(plugins + QStringLiteral("/sqldrivers"));
    const QString odbc = QLibraryInfo::path(QLibraryInfo::PluginsPath) + QStringLiteral("/sqldrivers/libqsqlodbc.so");
    QFile::remove(plugins + QStringLiteral("/sqldrivers/libqsqlodbc.so"));
    QFile conf(programDirectory + QStringLiteral("/qt.conf"));
    return QFile::link(odbc, plugins + QStringLiteral("/sqldrivers/libqsqlodbc.so")) && conf.open(QIODevice::WriteOnly | QIODevice::Truncate)
        && conf.write("[Paths]\nPlugins = " + plugins.toUtf8() + "\nTranslations = "
                      + QLibraryInfo::path(QLibraryInfo::TranslationsPath).toUtf8() + "\n") > 0;
}

bool installPrivateOdbcDriver(const QString &dir, const QString &driverName)
{
    return registerOdbcDriver(dir, driverName);
}

} // namespace TestServers

namespace {
bool registerOdbcDriver(const QString &dir, const QString &driverName)
{
    QDirIterator it(QStringLiteral("/usr/lib"), {QStringLiteral("libmaodbc.so")}, QDir::Files, QDirIterator::Subdirectories);
    if (!it.hasNext())
        return false;
    const QString library = it.next();
    QFile ini(dir + QStringLiteral("/odbcinst.ini"));
    QFile odbcIni(dir + QStringLiteral("/odbc.ini"));
    if (!ini.open(QIODevice::WriteOnly | QIODevice::Truncate) || !odbcIni.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    if (!driverName.isEmpty())
        ini.write("[" + driverName.toUtf8() + "]\nDescription=MariaDB Connector/ODBC\nDriver=" + library.toLocal8Bit()
                  + "\nThreading=0\n");
    qputenv("ODBCSYSINI", dir.toLocal8Bit());
    return true;
}
} // namespace

namespace TestServers {

bool copySurvivors(const TestServer &server, const QString &source, const QString &target, const QString &doomed,
                   const QStringList &tables)
{
    QString sql = QStringLiteral("DROP DATABASE IF EXISTS %1; CREATE DATABASE %1; USE %1;"
                                 "CREATE TABLE doomed (charguid INT PRIMARY KEY) %2;").arg(target, doomed);
    for (const QString &table : tables) {
        QString keep = QStringLiteral("charguid NOT IN (SELECT charguid FROM doomed)");
        if (table == QLatin1String("t_relation"))
            keep += QStringLiteral(" AND fguid NOT IN (SELECT charguid FROM doomed)");
        if (table == QLatin1String("t_var"))
            keep = QStringLiteral("1");
        sql += QStringLiteral("CREATE TABLE %1 LIKE %2.%1; INSERT INTO %1 SELECT * FROM %2.%1 WHERE %3;").arg(table, source, keep);
    }
    return runSql(server, sql.toUtf8());
}

bool copyTables(const TestServer &from, const TestServer &to, const QString &database, const QStringList &tables)
{
    QProcess dump;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("MYSQL_PWD"), from.password);
    dump.setProcessEnvironment(env);
    dump.start(QStringLiteral("mariadb-dump"), QStringList{QStringLiteral("--no-defaults"), QStringLiteral("-h") + from.host,
                                                           QStringLiteral("-P%1").arg(from.port), QStringLiteral("-uroot"),
                                                           QStringLiteral("--routines"), database}
                                                   + tables);
    if (!dump.waitForFinished(120000) || dump.exitCode() != 0)
        return false;
    return runSql(to, "CREATE DATABASE IF NOT EXISTS `" + database.toUtf8() + "`;") && runSql(to, dump.readAllStandardOutput(), database);
}

QMap<int, WorldIds> worldIds(const TestServer &server, const QString &database)
{
    QMap<int, WorldIds> worlds;
    const QString out = querySql(server, QStringLiteral(
        "SELECT v.worldid, v.maxcharguid, LEAST("
        "COALESCE((SELECT MIN(c.charguid) FROM t_char c WHERE c.charguid > v.maxcharguid), 2147483648),"
        "COALESCE((SELECT MIN(o.maxcharguid) FROM t_var o WHERE o.maxcharguid > v.maxcharguid), 2147483648)) FROM t_var v"), database);
    for (const QString &line : out.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        const QStringList f = line.split(QLatin1Char('\t'));
        worlds.insert(f.value(0).toInt(), {f.value(1).toLongLong(), f.value(2).toLongLong()});
    }
    return worlds;
}

QStringList idFaults(const TestServer &server, const QString &database, const QMap<int, WorldIds> &before, int receivingWorld)
{
    QStringList faults;
    const QMap<int, WorldIds> after = worldIds(server, database);
    if (after.isEmpty())
        faults << QStringLiteral("no counters read");
    for (auto it = before.cbegin(); it != before.cend(); ++it) {
        const int world = it.key();
        if (!after.contains(world)) {
            faults << QStringLiteral("world %1 lost its counter").arg(world);
            continue;
        }
        const qint64 counter = after.value(world).counter;
        if (world == receivingWorld ? counter < it->counter : counter != it->counter)
            faults << QStringLiteral("world %1: counter %2 -> %3").arg(world).arg(it->counter).arg(counter);
        const QString taken = querySql(server, QStringLiteral("SELECT GROUP_CONCAT(charguid) FROM t_char WHERE charguid > %1 AND charguid < %2")
                                                   .arg(qMax(counter, it->counter)).arg(it->firstTaken), database);
        if (taken != QLatin1String("NULL"))
            faults << QStringLiteral("world %1: next ids taken: %2").arg(world).arg(taken.left(80));
    }
    for (auto it = after.cbegin(); it != after.cend(); ++it) {
        const QString created = querySql(server, QStringLiteral("START TRANSACTION; CALL create_char(%1, @g); SELECT @g; ROLLBACK;")
                                                     .arg(it.key()), database);
        if (created.toLongLong() != it->counter + 1)
            faults << QStringLiteral("world %1: the game cannot create a character (counter %2)").arg(it.key()).arg(it->counter);
    }
    return faults;
}

bool loadSample(const TestServer &server, const SampleOptions &options)
{
    // Through a file: the script of a large sample does not fit a pipe's write buffer in memory.
    QTemporaryFile script;
    if (!script.open())
        return false;
    writeSampleDatabase(&script, options);
    script.close();
    QObject owner;
    QProcess *client = startClient(server, QString(), &owner, QProcess::MergedChannels, script.fileName());
    const bool ok = client->waitForFinished(1800000) && client->exitStatus() == QProcess::NormalExit && client->exitCode() == 0;
    if (!ok)
        qWarning().noquote() << "mysql client failed loading the sample:" << client->readAll() << client->errorString();
    return ok;
}

SampleOptions smallSample(const QString &database, const QList<int> &worlds, int perWorld)
{
    SampleOptions options;
    options.characterDatabase = database;
    options.accountDatabases = {database + QStringLiteral("_web")};
    options.worldIds = worlds;
    options.charactersPerWorld = perWorld;
    options.firstCharGuid = 1;
    return options;
}

bool loadAndConnect(TestServer *server, const SampleOptions &options)
{
    *server = shared();
    HostConfig config = server->hostConfig(options.characterDatabase);
    if (!options.accountDatabases.isEmpty())
        config.accountDatabase = options.accountDatabases.constFirst();
    return server->isValid() && loadSample(*server, options) && DatabaseManager::instance()->connectToDatabase(config);
}

} // namespace TestServers
