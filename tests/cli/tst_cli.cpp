#include "logfiles.h"
#include "base/debuglog.h"
#include "db/legacytext.h"
#include "db/databasemanager.h"
#include "engine/charactertables.h"
#include "merge/mergeengine.h"
#include "merge/sameservermerge.h"
#include "testservers.h"
#include "db/hoststore.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

namespace {
struct Result
{
    int code = -1;
    QString out;
    QString err;
};

QStringList characterTables()
{
    return characterDeleteTables + QStringList{QStringLiteral("t_char"), QStringLiteral("t_var")};
}
} // namespace

// The real quorvel-cli binary, copied beside its own host list, against the test server.
class TestCli : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void badUsage_data();
    void badUsage();
    void connectionErrorsGiveTheReason_data();
    void connectionErrorsGiveTheReason();
    void mergesGiveTheEnginesRows();
    void dryRunWipeCountsWhatTheWipeDeletes();
    void backupRestoreRoundTrips();
    void backupAllRotatesEveryEntry();
    void characterCommandsChangeExactlyWhatTheySay_data();
    void characterCommandsChangeExactlyWhatTheySay();
    void accountCommands();

private:
    Result run(const QStringList &arguments, const QByteArray &input = QByteArray());
    HostConfig host(const QString &name, const QString &database) const;
    QMap<QString, QString> rowsOf(const QString &database) const;

    TestServer m_server;
    QTemporaryDir m_dir;
    QString m_program;
};

HostConfig TestCli::host(const QString &name, const QString &database) const
{
    HostConfig config = m_server.hostConfig(database);
    config.name = name;
    config.accountDatabase = database + QStringLiteral("_web");
    return config;
}

QMap<QString, QString> TestCli::rowsOf(const QString &database) const
{
    QMap<QString, QString> rows = TestServers::tableChecksums(m_server, database, characterTables());
    rows.insert(QStringLiteral("account"),
                TestServers::tableChecksums(m_server, database + QStringLiteral("_web"), {QStringLiteral("account")}).value(QStringLiteral("account")));
    return rows;
}

void TestCli::initTestCase()
{
    m_server = TestServers::shared();
    QVERIFY(m_server.isValid());
    m_program = m_dir.filePath(QStringLiteral("quorvel-cli"));
    QVERIFY(QFile::copy(QStringLiteral(QUORVEL_CLI_PATH), m_program));
    QVERIFY(TestServers::hideNativeDriver(m_dir.path()));
    QVERIFY(writeHostConfigs(m_dir.filePath(QStringLiteral("host_configs.json")),
                             {host(QStringLiteral("甲服"), QStringLiteral("cli_a")), host(QStringLiteral("副服"), QStringLiteral("cli_sub"))}));
    for (const QString &db : {QStringLiteral("cli_a"), QStringLiteral("cli_b")})
        QVERIFY(TestServers::loadSample(m_server, TestServers::smallSample(db, {1, 2}, 30)));
    SampleOptions sub = TestServers::smallSample(QStringLiteral("cli_sub"), {5}, 25);
    sub.firstCharGuid = 50;  // world 1's next ids in the main database, so the merge renumbers
    QVERIFY(TestServers::loadSample(m_server, sub));
    QVERIFY(TestServers::runSql(m_server, "UPDATE t_char SET isvalid = 0 WHERE charguid IN (52, 60);", QStringLiteral("cli_sub")));
}

void TestCli::cleanupTestCase()
{
    // No log, undo file, backup, export or rename list holds the password, on either driver.
    // Nor can another user of the machine read any of them.
    for (const QString &directory : QStringList{m_dir.path(), applicationDirectory()})
        QCOMPARE(TestServers::filesHoldingPassword(directory), QStringList());
    for (const QString &kept : {QStringLiteral("Log"), QStringLiteral("backups"), QStringLiteral("exports"), QStringLiteral("debug.log")})
        QCOMPARE(TestServers::filesOthersCanRead(m_dir.filePath(kept)), QStringList());
    DatabaseManager::instance()->disconnectFromDatabase();
    for (const char *db : {"cli_a", "cli_b", "cli_c", "cli_sub"})
        TestServers::runSql(m_server, QByteArray("DROP DATABASE IF EXISTS ") + db + "; DROP DATABASE IF EXISTS " + db + "_web;");
}

Result TestCli::run(const QStringList &arguments, const QByteArray &input)
{
    QProcess process;
    process.setWorkingDirectory(m_dir.path());
    process.start(m_program, arguments);
    process.write(input);
    process.closeWriteChannel();
    Result result;
    if (!process.waitForFinished(180000))
        return result;
    result.code = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    result.out = QString::fromUtf8(process.readAllStandardOutput());
    result.err = QString::fromUtf8(process.readAllStandardError());
    return result;
}

void TestCli::badUsage_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("english");  // the same with --lang en
    QTest::newRow("unknown language") << QStringList{QStringLiteral("--lang"), QStringLiteral("xx"), QStringLiteral("worlds")}
                                      << QStringLiteral("--lang: xx") << QStringLiteral("--lang: xx");
    QTest::newRow("unknown host") << QStringList{QStringLiteral("worlds"), QStringLiteral("--host"), QStringLiteral("无此服")}
                                  << QStringLiteral("主机配置中没有 \"无此服\"") << QStringLiteral("The host list has no \"无此服\"");
    QTest::newRow("unknown command") << QStringList{QStringLiteral("frobnicate")} << QStringLiteral("未知命令 \"frobnicate\"") << QStringLiteral("Unknown command \"frobnicate\"");
    QTest::newRow("bad world list") << QStringList{QStringLiteral("wipe"), QStringLiteral("--host"), QStringLiteral("甲服"),
                                                   QStringLiteral("--worlds"), QStringLiteral("1,x")}
                                    << QStringLiteral("--worlds: \"x\" 不是有效的 WorldID") << QStringLiteral("--worlds: \"x\" is not a valid WorldID");
    QTest::newRow("password on the command line") << QStringList{QStringLiteral("worlds"), QStringLiteral("--password"), QStringLiteral("x")}
                                                  << QStringLiteral("未知选项“password”") << QStringLiteral("Unknown option 'password'");
    QTest::newRow("account databases without a suffix")
        << QStringList{QStringLiteral("merge-same"), QStringLiteral("--host"), QStringLiteral("甲服"), QStringLiteral("--sub-world"),
                       QStringLiteral("2"), QStringLiteral("--main-world"), QStringLiteral("1"), QStringLiteral("--main-accounts"),
                       QStringLiteral("web"), QStringLiteral("--sub-accounts"), QStringLiteral("web2")}
        << QStringLiteral("独立账号库需要 --suffix TEXT") << QStringLiteral("Separate account databases need --suffix TEXT");
    QTest::newRow("a host entry and a server together")
        << QStringList{QStringLiteral("wipe"), QStringLiteral("--host"), QStringLiteral("甲服"), QStringLiteral("--server"),
                       QStringLiteral("127.0.0.1:1"), QStringLiteral("--database"), QStringLiteral("bigsrc"), QStringLiteral("--worlds"),
                       QStringLiteral("5")}
        << QStringLiteral("--host 不能与 --server/--user/--database/--accounts-database 同时使用")
        << QStringLiteral("--host cannot be used with --server/--user/--database/--accounts-database");
    QTest::newRow("character without an action") << QStringList{QStringLiteral("character"), QStringLiteral("--host"), QStringLiteral("甲服")}
                                                 << QStringLiteral("需要一个动作: list|search|show|copy|transfer|delete|repair|set") << QStringLiteral("An action is needed: list|search|show|copy|transfer|delete|repair|set");
    QTest::newRow("an unknown action") << QStringList{QStringLiteral("character"), QStringLiteral("lst"), QStringLiteral("--host"), QStringLiteral("甲服")}
                                       << QStringLiteral("未知的动作 \"lst\"") << QStringLiteral("Unknown action \"lst\"");
    QTest::newRow("a field the editor does not change")
        << QStringList{QStringLiteral("character"), QStringLiteral("set"), QStringLiteral("--host"), QStringLiteral("甲服"),
                       QStringLiteral("--guid"), QStringLiteral("1"), QStringLiteral("isvalid=0")}
        << QStringLiteral("无法修改 \"isvalid=0\"") << QStringLiteral("Cannot change \"isvalid=0\"");
    QTest::newRow("clean-up level beyond the window's") << QStringList{QStringLiteral("merge"), QStringLiteral("--main"), QStringLiteral("甲服"),
                                                                      QStringLiteral("--sub"), QStringLiteral("副服"), QStringLiteral("--main-world"),
                                                                      QStringLiteral("1"), QStringLiteral("--sub-world"), QStringLiteral("5"),
                                                                      QStringLiteral("--clean-level"), QStringLiteral("151")}
                                                       << QStringLiteral("--clean-level: 清理等级必须为1-150之间的数字") << QStringLiteral("--clean-level: The clean-up level must be a number from 1 to 150");
}

void TestCli::badUsage()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, message);
    QFETCH(QString, english);
    for (const auto &[language, expected] : {std::pair{QStringLiteral("zh_CN"), message}, std::pair{QStringLiteral("en"), english}}) {
        const Result result = run(QStringList{QStringLiteral("--lang=") + language} + arguments);
        QCOMPARE(result.code, 2);
        QVERIFY2(result.err.contains(expected), qPrintable(result.err));
        QCOMPARE(result.err.count(QLatin1Char('\n')), 1);
        QVERIFY(result.out.isEmpty());
    }
    // With --json an action's usage error is an object too.
    if (arguments.first() == QLatin1String("character")) {
        const Result result = run(arguments + QStringList{QStringLiteral("--json")});
        const QJsonObject object = QJsonDocument::fromJson(result.out.toUtf8()).object();
        QVERIFY2(result.code == 2 && object.value(QStringLiteral("ok")) == QJsonValue(false)
                     && object.value(QStringLiteral("error")).toString().startsWith(message.left(4)),
                 qPrintable(result.out));
    }
}

void TestCli::connectionErrorsGiveTheReason_data()
{
    QTest::addColumn<int>("port");
    QTest::addColumn<QString>("database");
    QTest::addColumn<QByteArray>("password");
    QTest::addColumn<QString>("reason");
    const int port = TestServers::shared().port;
    QTest::newRow("wrong password") << port << QStringLiteral("cli_a") << QByteArray("wrong") << QStringLiteral("Access denied");
    QTest::newRow("unknown database") << port << QStringLiteral("no_such_db") << QByteArray() << QStringLiteral("Unknown database");
    QTest::newRow("nobody listening") << 1 << QStringLiteral("cli_a") << QByteArray() << QStringLiteral("Can't connect");
}

void TestCli::connectionErrorsGiveTheReason()
{
    QFETCH(int, port);
    QFETCH(QString, database);
    QFETCH(QByteArray, password);
    QFETCH(QString, reason);
    const Result result = run({QStringLiteral("worlds"), QStringLiteral("--server"), QStringLiteral("127.0.0.1:%1").arg(port),
                               QStringLiteral("--database"), database, QStringLiteral("--password-stdin")},
                              (password.isEmpty() ? m_server.password.toUtf8() : password) + '\n');
    QCOMPARE(result.code, 1);
    const QString prefix = QStringLiteral("连接数据库失败: 127.0.0.1:%1/%2: ").arg(port).arg(database);
    QVERIFY2(result.out.contains(prefix) && result.out.contains(reason), qPrintable(result.out));
}

void TestCli::mergesGiveTheEnginesRows()
{
    // Without --yes nothing changes, and the rows it counts per table are the rows the run
    // adds; with --yes the rows equal the engine's on an identical copy.
    const QMap<QString, QString> before = rowsOf(QStringLiteral("cli_a"));
    auto tableSizes = [this]() {
        QMap<QString, QString> sizes;
        for (const QString &table : characterTables())
            sizes.insert(table, TestServers::querySql(m_server, QStringLiteral("SELECT COUNT(*) FROM ") + table, QStringLiteral("cli_a")));
        sizes.insert(QStringLiteral("account"), TestServers::querySql(m_server, QStringLiteral("SELECT COUNT(*) FROM account"),
                                                                      QStringLiteral("cli_a_web")));
        return sizes;
    };
    const QMap<QString, QString> sizesBefore = tableSizes();
    const QStringList merge = {QStringLiteral("merge"), QStringLiteral("--main"), QStringLiteral("甲服"), QStringLiteral("--sub"),
                               QStringLiteral("副服"), QStringLiteral("--main-world"), QStringLiteral("1"),
                               QStringLiteral("--sub-world"), QStringLiteral("5")};
    Result result = run(merge);
    QCOMPARE(result.code, 0);
    QCOMPARE(rowsOf(QStringLiteral("cli_a")), before);
    QMap<QString, int> counted;
    static const QRegularExpression row(QStringLiteral("\\]   (\\w+): (\\d+) 条记录"));
    for (auto it = row.globalMatch(result.out); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        counted.insert(m.captured(1), m.captured(2).toInt());
    }
    QCOMPARE(counted.size(), 27);  // t_char, account and the 25 related tables
    // The zone's characters with isvalid = 0 stay behind, and the rehearsal says so.
    const int invalid = TestServers::querySql(m_server, QStringLiteral("SELECT COUNT(*) FROM t_char WHERE zoneworldid = 5 AND isvalid <> 1"),
                                              QStringLiteral("cli_sub")).toInt();
    QVERIFY(invalid > 0 && result.out.contains(QStringLiteral("无效角色（isvalid ≠ 1）不合并，留在副区: %1 个").arg(invalid)));
    // The rehearsal names its plan; --plan runs that plan or nothing.
    static const QRegularExpression planLine(QStringLiteral("合区计划: ([0-9a-f]{16})"));
    const QString plan = planLine.match(result.out).captured(1);
    QVERIFY2(!plan.isEmpty(), qPrintable(result.out));
    Result other = run(merge + QStringList{QStringLiteral("--yes"), QStringLiteral("--plan"), QStringLiteral("0123456789abcdef")});
    QCOMPARE(other.code, 1);
    QCOMPARE(rowsOf(QStringLiteral("cli_a")), before);
    result = run(merge + QStringList{QStringLiteral("--yes"), QStringLiteral("--plan"), plan});
    QVERIFY2(result.code == 0, qPrintable(result.err));
    const QMap<QString, QString> sizesAfter = tableSizes();
    for (auto it = counted.cbegin(); it != counted.cend(); ++it)
        QCOMPARE(sizesAfter.value(it.key()).toInt() - sizesBefore.value(it.key()).toInt(), it.value());
    QVERIFY(QRegularExpression(QStringLiteral("^\\[\\d\\d:\\d\\d:\\d\\d\\] ")).match(result.out).hasMatch());

    MergeSettings settings;
    const HostConfig main = host(QString(), QStringLiteral("cli_b"));
    const HostConfig sub = host(QString(), QStringLiteral("cli_sub"));
    settings.target = {main.host, main.port, main.username, main.password, main.database, main.accountDatabase};
    settings.source = {sub.host, sub.port, sub.username, sub.password, sub.database, sub.accountDatabase};
    settings.targetWorldId = 1;
    settings.sourceWorldId = 5;
    QVERIFY(CrossServerMerge::run(settings, {}).ok);
    QCOMPARE(rowsOf(QStringLiteral("cli_a")), rowsOf(QStringLiteral("cli_b")));

    result = run({QStringLiteral("merge-same"), QStringLiteral("--host"), QStringLiteral("甲服"), QStringLiteral("--sub-world"),
                  QStringLiteral("2"), QStringLiteral("--main-world"), QStringLiteral("1"), QStringLiteral("--clean-level"),
                  QStringLiteral("20"), QStringLiteral("--yes")});
    QVERIFY2(result.code == 0, qPrintable(result.out + result.err));
    SameServerMergeParameters parameters;
    parameters.sourceWorldId = 2;
    parameters.targetWorldId = 1;
    parameters.cleanLowLevel = true;
    parameters.levelThreshold = 20;
    QVERIFY(SameServerMerge::run(main, parameters, {}).ok);
    QCOMPARE(rowsOf(QStringLiteral("cli_a")), rowsOf(QStringLiteral("cli_b")));
}

void TestCli::dryRunWipeCountsWhatTheWipeDeletes()
{
    const QStringList wipe = {QStringLiteral("wipe"), QStringLiteral("--server"), QStringLiteral("%1:%2").arg(m_server.host).arg(m_server.port),
                              QStringLiteral("--database"), QStringLiteral("cli_a"), QStringLiteral("--password-stdin"),
                              QStringLiteral("--worlds"), QStringLiteral("1"), QStringLiteral("--accounts"), QStringLiteral("cli_a_web")};
    const QMap<QString, QString> before = rowsOf(QStringLiteral("cli_a"));
    const QStringList databases = {QStringLiteral("cli_a"), QStringLiteral("cli_a_web")};
    // The game still running: a session of its own user on the database, two players online.
    const int online = TestServers::querySql(m_server, QStringLiteral("SELECT COUNT(*) FROM cli_a_web.account WHERE is_online <> 0")).toInt();
    QVERIFY(TestServers::runSql(m_server, "CREATE USER IF NOT EXISTS 'game'@'127.0.0.1' IDENTIFIED BY 'g';"
                                          "GRANT SELECT ON cli_a.* TO 'game'@'127.0.0.1';"
                                          "UPDATE cli_a_web.account SET is_online = 7 WHERE is_online = 0 ORDER BY id LIMIT 2;"));
    QProcess game;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("MYSQL_PWD"), QStringLiteral("g"));
    game.setProcessEnvironment(env);
    game.start(QStringLiteral("mariadb"), {QStringLiteral("--no-defaults"), QStringLiteral("-h%1").arg(m_server.host),
                                           QStringLiteral("-P%1").arg(m_server.port), QStringLiteral("-ugame"), QStringLiteral("cli_a"),
                                           QStringLiteral("-e"), QStringLiteral("SELECT SLEEP(20)")});
    QVERIFY(QTest::qWaitFor([this] {
        return TestServers::querySql(m_server, QStringLiteral("SELECT COUNT(*) FROM information_schema.PROCESSLIST WHERE USER = 'game'")) == QLatin1String("1");
    }, 10000));
    const Result dry = run(wipe, m_server.password.toUtf8() + '\n');
    // A user who may not see other users' sessions is told that it cannot tell.
    QVERIFY(TestServers::runSql(m_server, "GRANT SELECT ON cli_a_web.* TO 'game'@'127.0.0.1';"));
    const Result blind = run(wipe + QStringList{QStringLiteral("--user"), QStringLiteral("game")},
                             "g\n");
    game.kill();
    game.waitForFinished();
    QVERIFY(TestServers::runSql(m_server, "UPDATE cli_a_web.account SET is_online = 0 WHERE is_online = 7; DROP USER 'game'@'127.0.0.1';"));
    QVERIFY2(blind.code == 0 && blind.out.contains(QStringLiteral("没有 PROCESS 权限")), qPrintable(blind.out + blind.err));
    // A world the game does not know is refused, as the transfer refuses it.
    const Result unknown = run(QStringList(wipe).replaceInStrings(QRegularExpression(QStringLiteral("^1$")), QStringLiteral("99")),
                               m_server.password.toUtf8() + '\n');
    QVERIFY2(unknown.code == 1 && unknown.out.contains(QStringLiteral("WorldID 99 不存在")), qPrintable(unknown.out + unknown.err));
    const QMap<QString, QString> checksums = TestServers::databaseChecksums(m_server, databases);
    QCOMPARE(dry.code, 0);
    QVERIFY2(dry.out.contains(QStringLiteral("1 个其他客户端连接正在使用这些数据库，%1 个账号标记为在线").arg(online + 2)), qPrintable(dry.out));
    // The first line names the server the command acts on.
    QVERIFY2(dry.out.section(QLatin1Char('\n'), 0, 0).endsWith(QStringLiteral("] 服务器: 命令行 (%1:%2/cli_a)").arg(m_server.host).arg(m_server.port)),
             qPrintable(dry.out.section(QLatin1Char('\n'), 0, 0)));
    QCOMPARE(rowsOf(QStringLiteral("cli_a")), before);
    const QString accounts = TestServers::querySql(m_server, QStringLiteral("SELECT COUNT(*) FROM account"), QStringLiteral("cli_a_web"));

    const Result done = run(wipe + QStringList{QStringLiteral("--yes")}, m_server.password.toUtf8() + '\n');
    QVERIFY2(done.code == 0, qPrintable(done.out + done.err));
    const QRegularExpression count(QStringLiteral("\\]   (?:删除 |清理 )?(t_\\w+(?:\\(反向关系\\))?): (\\d+) 条记录"));
    auto counts = [&count](const QString &text) {
        QMap<QString, QString> found;
        for (auto it = count.globalMatch(text); it.hasNext();) {
            const QRegularExpressionMatch m = it.next();
            found.insert(m.captured(1), m.captured(2));
        }
        return found;
    };
    QCOMPARE(counts(dry.out).size(), 27);
    QCOMPARE(counts(done.out), counts(dry.out));
    const int planned = QRegularExpression(QStringLiteral("cli_a_web.account: (\\d+) 个账号")).match(dry.out).captured(1).toInt();
    QVERIFY(planned > 0);
    QCOMPARE(TestServers::querySql(m_server, QStringLiteral("SELECT COUNT(*) FROM account"), QStringLiteral("cli_a_web")).toInt(),
             accounts.toInt() - planned);
    QCOMPARE(TestServers::querySql(m_server, QStringLiteral("SELECT COUNT(*) FROM t_char WHERE zoneworldid = 1"), QStringLiteral("cli_a")),
             QStringLiteral("0"));
    for (const Result &result : {dry, done})
        QVERIFY(!(result.out + result.err).contains(m_server.password));
    QVERIFY(todaysLog(QStringLiteral("zone_delete_"), m_dir.path()).contains(QStringLiteral("删除完成！")));

    // The undo file: rehearsed by the command line, then run by the stock client alone. A second
    // undo finds the ids taken and changes nothing.
    const QString undoFile = QRegularExpression(QStringLiteral("撤销文件: (\\S+)\\s*$")).match(done.out).captured(1);
    QStringList undo = wipe.mid(1, 5);
    undo.prepend(undoFile);
    undo.prepend(QStringLiteral("undo"));
    const Result rehearsal = run(undo, m_server.password.toUtf8() + '\n');
    QVERIFY2(rehearsal.code == 0 && rehearsal.out.contains(QStringLiteral("检查通过")), qPrintable(rehearsal.out + rehearsal.err));
    QFile file(undoFile);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QVERIFY(TestServers::runSql(m_server, file.readAll()));
    QCOMPARE(TestServers::databaseChecksums(m_server, databases), checksums);
    const Result again = run(undo + QStringList{QStringLiteral("--yes")}, m_server.password.toUtf8() + '\n');
    QVERIFY2(again.code == 1 && again.out.contains(QStringLiteral("个角色ID已被占用，撤销未执行")), qPrintable(again.out + again.err));
    QCOMPARE(TestServers::databaseChecksums(m_server, databases), checksums);
}

void TestCli::backupRestoreRoundTrips()
{
    const QString file = m_dir.filePath(QStringLiteral("a.sql"));
    const QMap<QString, QString> before = rowsOf(QStringLiteral("cli_a"));
    const QStringList target = {QStringLiteral("--host"), QStringLiteral("甲服"), QStringLiteral("--file"), file};
    // A link left where the dump's part file goes is replaced, never written through; part
    // files a killed backup left behind go at the next start.
    const QString precious = m_dir.filePath(QStringLiteral("precious.txt"));
    QFile(precious).open(QIODevice::WriteOnly);
    QVERIFY(QFile::link(precious, file + QStringLiteral(".part")));
    QDir().mkpath(m_dir.filePath(QStringLiteral("backups")));
    QFile stale(m_dir.filePath(QStringLiteral("backups/backup_20261201_030000.sql.part")));
    QVERIFY(stale.open(QIODevice::WriteOnly) && stale.setFileTime(QDateTime::currentDateTime().addSecs(-3600), QFileDevice::FileModificationTime));
    stale.close();
    QCOMPARE(run(QStringList{QStringLiteral("backup")} + target).code, 0);
    QCOMPARE(QFileInfo(precious).size(), 0);
    QVERIFY(!stale.exists());
    QCOMPARE(run({QStringLiteral("export"), QStringLiteral("--host"), QStringLiteral("甲服"), QStringLiteral("--worlds"), QStringLiteral("1")}).code, 0);
    QVERIFY(TestServers::runSql(m_server, "DELETE FROM t_skill; DELETE FROM t_char WHERE level > 50;", QStringLiteral("cli_a")));
    const QMap<QString, QString> damaged = rowsOf(QStringLiteral("cli_a"));
    const Result rehearsal = run(QStringList{QStringLiteral("restore")} + target);
    QCOMPARE(rehearsal.code, 0);
    QCOMPARE(rowsOf(QStringLiteral("cli_a")), damaged);
    const Result restored = run(QStringList{QStringLiteral("restore")} + target + QStringList{QStringLiteral("--yes")});
    QVERIFY2(restored.code == 0, qPrintable(restored.out + restored.err));
    QCOMPARE(rowsOf(QStringLiteral("cli_a")), before);
    // The rehearsal named, table by table, the rows the restore then left there.
    static const QRegularExpression line(QStringLiteral("  (t_\\w+): 现有 (\\d+) 条 → 恢复后 (\\d+) 条"));
    int tables = 0;
    for (auto it = line.globalMatch(rehearsal.out); it.hasNext(); ++tables) {
        const QRegularExpressionMatch m = it.next();
        QCOMPARE(TestServers::querySql(m_server, QStringLiteral("SELECT COUNT(*) FROM %1").arg(m.captured(1)), QStringLiteral("cli_a")),
                 m.captured(3));
        if (m.captured(1) == QLatin1String("t_skill"))
            QCOMPARE(m.captured(2), QStringLiteral("0"));
    }
    QVERIFY(tables >= 26);
}

// backup --all --gzip backs up every entry's databases (an account database on another server
// too), compressed as they are written, keeps the newest two of each, reports the entry whose
// server is down, and every kept file restores its database.
void TestCli::backupAllRotatesEveryEntry()
{
    const TestServer accounts = TestServers::shared(1);
    QVERIFY(accounts.isValid());
    QVERIFY(TestServers::runSql(accounts, "DROP DATABASE IF EXISTS cli_b_web; CREATE DATABASE cli_b_web;"));
    QVERIFY(TestServers::copyTables(m_server, accounts, QStringLiteral("cli_b_web")));
    HostConfig remote = host(QStringLiteral("乙 服/2"), QStringLiteral("cli_b"));
    remote.accountHost = accounts.host;
    remote.accountPort = accounts.port;
    remote.accountPassword = accounts.password;
    HostConfig down = host(QStringLiteral("停服"), QStringLiteral("cli_b"));
    down.port = 1;
    down.accountDatabase.clear();
    const QString hosts = m_dir.filePath(QStringLiteral("host_configs.json"));
    // The other cases' host list comes back however this one ends.
    const HostConfigList original = readHostConfigs(hosts);
    const auto restoreHosts = qScopeGuard([&hosts, &original, &accounts] {
        writeHostConfigs(hosts, original);
        TestServers::runSql(accounts, "DROP DATABASE IF EXISTS cli_b_web;");
    });
    QVERIFY(writeHostConfigs(hosts, {host(QStringLiteral("甲服"), QStringLiteral("cli_a")), remote, down}));
    QDir backups(m_dir.filePath(QStringLiteral("backups")));
    for (const QString &old : backups.entryList({QStringLiteral("*.sql"), QStringLiteral("*.gz")}, QDir::Files))
        QVERIFY(backups.remove(old));
    struct Database
    {
        QString prefix;
        TestServer server;
        QString name;
    };
    const QList<Database> databases = {{QStringLiteral("甲服_cli_a_"), m_server, QStringLiteral("cli_a")},
                                       {QStringLiteral("甲服_cli_a_web_"), m_server, QStringLiteral("cli_a_web")},
                                       {QStringLiteral("乙_服_2_cli_b_"), m_server, QStringLiteral("cli_b")},
                                       {QStringLiteral("乙_服_2_cli_b_web_"), accounts, QStringLiteral("cli_b_web")}};
    QMap<QString, QMap<QString, QString>> before;
    for (const Database &database : databases)
        before.insert(database.name, TestServers::databaseChecksums(database.server, {database.name}));
    for (int run = 0; run < 3; ++run) {
        const Result result = this->run({QStringLiteral("backup"), QStringLiteral("--all"), QStringLiteral("--gzip"), QStringLiteral("--keep"),
                                         QStringLiteral("2"), QStringLiteral("--json")});
        QCOMPARE(result.code, 1);  // the entry whose server is down
        // The tools' notes on options of the other family are no errors of the backup.
        QVERIFY2(!result.err.contains(QLatin1String("unknown variable"), Qt::CaseInsensitive), qPrintable(result.err));
        const QJsonArray done = QJsonDocument::fromJson(result.out.toUtf8()).object().value(QStringLiteral("backups")).toArray();
        QCOMPARE(done.size(), 5);
        for (const QJsonValue &backup : done)
            QCOMPARE(backup.toObject().value(QStringLiteral("ok")).toBool(), backup.toObject().value(QStringLiteral("entry")).toString() != QStringLiteral("停服"));
    }
    for (const Database &database : databases) {
        const QStringList kept = backups.entryList({database.prefix + QStringLiteral("2*.sql.gz")}, QDir::Files, QDir::Name | QDir::Reversed);
        QCOMPARE(kept.size(), 2);
        QVERIFY(TestServers::runSql(database.server, "DELETE FROM account;", database.name) || TestServers::runSql(database.server, "DELETE FROM t_char;", database.name));
        const Result restored = run({QStringLiteral("restore"), QStringLiteral("--file"), backups.filePath(kept.first()), QStringLiteral("--server"),
                                     QStringLiteral("%1:%2").arg(database.server.host).arg(database.server.port), QStringLiteral("--database"),
                                     database.name, QStringLiteral("--password-stdin"), QStringLiteral("--yes")},
                                    database.server.password.toUtf8() + '\n');
        QVERIFY2(restored.code == 0, qPrintable(restored.out + restored.err));
        QCOMPARE(TestServers::databaseChecksums(database.server, {database.name}), before.value(database.name));
    }
}

QTEST_MAIN(TestCli)
void TestCli::characterCommandsChangeExactlyWhatTheySay_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("changed");  // what the run leaves, read back by its own query
    QTest::addColumn<QString>("expected");
    QTest::addColumn<QString>("name");  // the character's, shown exactly so in the English rehearsal
    QTest::newRow("set") << QStringList{QStringLiteral("set"), QStringLiteral("level=77"), QStringLiteral("charname=新名字")}
                         << QStringLiteral("SELECT CONCAT(level, ' ', HEX(charname)) FROM t_char WHERE charguid = %1")
                         << QStringLiteral("77 D0C2C3FBD7D6") << QStringLiteral("无");
    QTest::newRow("transfer") << QStringList{QStringLiteral("transfer"), QStringLiteral("--to-world"), QStringLiteral("1")}
                              << QStringLiteral("SELECT zoneworldid FROM t_char WHERE charguid = %1") << QStringLiteral("1")
                              << QStringLiteral("逍遥");
    QTest::newRow("delete") << QStringList{QStringLiteral("delete")}
                            << QStringLiteral("SELECT COUNT(*) FROM t_char WHERE charguid = %1") << QStringLiteral("0") << QStringLiteral("%1");
    QTest::newRow("copy") << QStringList{QStringLiteral("copy"), QStringLiteral("--account"), QStringLiteral("w2u0@qq.com"),
                                         QStringLiteral("--name"), QStringLiteral("副本")}
                          << QStringLiteral("SELECT COUNT(*) FROM t_char WHERE charname = X'B8B1B1BE' AND charguid <> %1") << QStringLiteral("1")
                          << QStringLiteral("%2%3");
}

// Every character action rehearses without --yes, changes what it says with it, reports as
// JSON on standard output alone, and writes an undo file that takes the database back.
void TestCli::characterCommandsChangeExactlyWhatTheySay()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, changed);
    QFETCH(QString, expected);
    QFETCH(QString, name);
    const QString db = QStringLiteral("cli_c");
    QVERIFY(TestServers::loadSample(m_server, TestServers::smallSample(db, {1, 2}, 10)));
    const int guid = TestServers::querySql(m_server, QStringLiteral("SELECT MIN(charguid) FROM t_char WHERE zoneworldid = 2"), db).toInt();
    QVERIFY(TestServers::runSql(m_server, QStringLiteral("UPDATE t_char SET charname = X'%1' WHERE charguid = %2;")
                                              .arg(QString::fromLatin1(encodeGbk(name).toHex()), QString::number(guid)).toUtf8(), db));
    const QStringList server = {QStringLiteral("--server"), QStringLiteral("%1:%2").arg(m_server.host).arg(m_server.port),
                                QStringLiteral("--database"), db, QStringLiteral("--accounts-database"), db + QStringLiteral("_web"),
                                QStringLiteral("--password-stdin")};
    const QByteArray password = m_server.password.toUtf8() + '\n';
    const QStringList command = QStringList{QStringLiteral("character"), arguments.first(), QStringLiteral("--guid"), QString::number(guid)}
                                + server + arguments.mid(1);
    const QMap<QString, QString> before = rowsOf(db);

    const Result shown = run(QStringList{QStringLiteral("character"), QStringLiteral("show"), QStringLiteral("--json"),
                                         QStringLiteral("--guid"), QString::number(guid)} + server, password);
    const QJsonObject object = QJsonDocument::fromJson(shown.out.toUtf8()).object();
    QCOMPARE(object.value(QStringLiteral("rows")).toArray().at(0).toObject().value(QStringLiteral("charguid")).toInt(), guid);
    const Result rehearsal = run(QStringList{QStringLiteral("--lang=en")} + command, password);
    QVERIFY2(rehearsal.code == 0, qPrintable(rehearsal.out + rehearsal.err));
    QVERIFY2(rehearsal.out.contains(QStringLiteral("Character: %1 (CharGUID %2, WorldID 2)").arg(name, QString::number(guid))),
             qPrintable(rehearsal.out));
    QCOMPARE(rowsOf(db), before);

    const Result done = run(command + QStringList{QStringLiteral("--yes"), QStringLiteral("--json")}, password);
    const QJsonObject result = QJsonDocument::fromJson(done.out.toUtf8()).object();
    QVERIFY2(done.code == 0 && result.value(QStringLiteral("ok")).toBool(), qPrintable(done.out + done.err));
    QCOMPARE(TestServers::querySql(m_server, changed.arg(guid), db), expected);
    const QString undo = result.value(QStringLiteral("undoFile")).toString();
    QVERIFY2(QFileInfo::exists(undo), qPrintable(done.out));
    const Result undone = run(QStringList{QStringLiteral("undo"), undo, QStringLiteral("--yes")} + server, password);
    QVERIFY2(undone.code == 0, qPrintable(undone.out + undone.err));
    QCOMPARE(rowsOf(db), before);
}

// Register (its password from the next line of standard input), points and delete through a
// host entry's account database; the delete's undo file brings the row back.
void TestCli::accountCommands()
{
    const QStringList host = {QStringLiteral("--host"), QStringLiteral("甲服")};
    const auto account = [&](const QStringList &arguments, const QByteArray &input = QByteArray()) {
        return run(QStringList{QStringLiteral("account")} + arguments + host, input);
    };
    const auto row = [this] {
        return TestServers::querySql(m_server, QStringLiteral("SELECT point FROM account WHERE name = 'cli新人'"), QStringLiteral("cli_a_web"));
    };
    QCOMPARE(account({QStringLiteral("register"), QStringLiteral("--name"), QStringLiteral("cli新人"), QStringLiteral("--yes")}).code, 2);
    const Result made = account({QStringLiteral("register"), QStringLiteral("--name"), QStringLiteral("cli新人"), QStringLiteral("--yes")}, "pw1\n");
    QVERIFY2(made.code == 0 && row() == QStringLiteral("0"), qPrintable(made.out + made.err + row()));
    QCOMPARE(account({QStringLiteral("points"), QStringLiteral("--name"), QStringLiteral("cli新人"), QStringLiteral("--set"), QStringLiteral("70")}).code, 0);
    QCOMPARE(row(), QStringLiteral("0"));  // a rehearsal
    QCOMPARE(account({QStringLiteral("points"), QStringLiteral("--name"), QStringLiteral("cli新人"), QStringLiteral("--set"), QStringLiteral("70"),
                      QStringLiteral("--yes")}).code, 0);
    QCOMPARE(row(), QStringLiteral("70"));
    const Result listed = account({QStringLiteral("list"), QStringLiteral("--name"), QStringLiteral("新人"), QStringLiteral("--json")});
    const QJsonArray rows = QJsonDocument::fromJson(listed.out.toUtf8()).object().value(QStringLiteral("rows")).toArray();
    QVERIFY2(rows.size() == 1 && rows.at(0).toObject().value(QStringLiteral("point")).toInt() == 70, qPrintable(listed.out));
    const Result deleted = account({QStringLiteral("delete"), QStringLiteral("--name"), QStringLiteral("cli新人"), QStringLiteral("--yes"), QStringLiteral("--json")});
    const QString undo = QJsonDocument::fromJson(deleted.out.toUtf8()).object().value(QStringLiteral("undoFile")).toString();
    QVERIFY2(deleted.code == 0 && row().isEmpty() && QFileInfo::exists(undo), qPrintable(deleted.out + deleted.err));
    QCOMPARE(account({QStringLiteral("delete"), QStringLiteral("--name"), QStringLiteral("cli新人"), QStringLiteral("--yes")}).code, 1);
    QCOMPARE(run(QStringList{QStringLiteral("undo"), undo, QStringLiteral("--yes"), QStringLiteral("--host"), QStringLiteral("甲服")}).code, 0);
    QCOMPARE(row(), QStringLiteral("70"));
    QVERIFY(TestServers::runSql(m_server, "DELETE FROM account WHERE name = 'cli新人';", QStringLiteral("cli_a_web")));
    // A database without accounts is a failure, not an empty list; so is a count it cannot make.
    const QStringList wrong = {QStringLiteral("--server"), QStringLiteral("%1:%2").arg(m_server.host).arg(m_server.port),
                               QStringLiteral("--accounts-database"), QStringLiteral("cli_a"), QStringLiteral("--password-stdin")};
    for (const QStringList &action : {QStringList{QStringLiteral("list"), QStringLiteral("--json")},
                                      QStringList{QStringLiteral("points"), QStringLiteral("--all"), QStringLiteral("--add"), QStringLiteral("5"),
                                                  QStringLiteral("--json")}}) {
        const Result failed = run(QStringList{QStringLiteral("account")} + action + wrong, m_server.password.toUtf8() + '\n');
        QVERIFY2(failed.code == 1 && !QJsonDocument::fromJson(failed.out.toUtf8()).object().value(QStringLiteral("ok")).toBool(true),
                 qPrintable(failed.out + failed.err));
    }
}

#include "tst_cli.moc"
