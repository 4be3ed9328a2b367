#include "db/connectionrule.h"
#include "db/databasemanager.h"
#include "db/legacytext.h"
#include "logfiles.h"
#include "testservers.h"

#include <QBuffer>
#include <QSignalSpy>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>

class TestDatabaseManager : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init() { clearDebugLog(); }
    void cleanup();
    void cleanupTestCase();

    void sessionLifecycle();
    void lostSessionIsReportedAndKeepAliveReconnects();
    void odbcPath();
    void queriesWithoutConnectionReturnEmpty();
    void summariesAndStatisticsMatchTheRows();
    void failedQueriesAreReported();

private:
    TestServer m_server;
    QTemporaryDir m_odbcDir;
};

void TestDatabaseManager::initTestCase()
{
    m_server = TestServers::shared();
    QVERIFY(m_server.isValid());
    QVERIFY(TestServers::runSql(m_server, "CREATE DATABASE IF NOT EXISTS vexadb_main;"));
    // The sample is the same for the same seed and loads under a strict SQL mode.
    SampleOptions options = TestServers::smallSample(QStringLiteral("queries_db"), {10, 2, 1}, 0);
    options.worldSizes = {3, 40, 25};
    QBuffer first, second;
    QVERIFY(first.open(QIODevice::WriteOnly) && second.open(QIODevice::WriteOnly));
    writeSampleDatabase(&first, options);
    writeSampleDatabase(&second, options);
    QCOMPARE(first.data(), second.data());
    QVERIFY(TestServers::runSql(m_server, "SET SESSION sql_mode = 'STRICT_ALL_TABLES,NO_ZERO_DATE,ERROR_FOR_DIVISION_BY_ZERO';\n"
                                              + first.data()));
    // The MariaDB driver, registered under a MySQL driver name of the list: the third candidate.
    QVERIFY2(TestServers::installPrivateOdbcDriver(m_odbcDir.path(), QStringLiteral("MySQL ODBC 9.3 ANSI Driver")),
             "the MariaDB ODBC driver (odbc-mariadb) is not installed");
}

void TestDatabaseManager::cleanupTestCase()
{
    TestServers::runSql(m_server, "DROP DATABASE queries_db; DROP DATABASE queries_db_web;");
}

void TestDatabaseManager::cleanup()
{
    DatabaseManager::instance()->disconnectFromDatabase();
    setNativeMysqlEnabled(true);
}

void TestDatabaseManager::sessionLifecycle()
{
    DatabaseManager *db = DatabaseManager::instance();
    QSignalSpy status(db, &DatabaseManager::connectionStatusChanged);
    QSignalSpy errors(db, &DatabaseManager::errorOccurred);
    // Before any connect the initial configuration points at localhost:3306, where nothing of ours listens.
    QVERIFY(!db->ensureConnected());
    QCOMPARE(errors.count(), 1);
    QCOMPARE(debugLogMessages(), QStringList({QStringLiteral("执行数据库重连..."), QStringLiteral("数据库重连失败")}));

    HostConfig wrong = m_server.hostConfig();
    wrong.password = QStringLiteral("not the password");
    QVERIFY(!db->connectToDatabase(wrong));
    HostConfig unreachable = m_server.hostConfig();
    unreachable.port = 1;
    QVERIFY(!db->connectToDatabase(unreachable));
    QCOMPARE(errors.count(), 3);
    QVERIFY(errors.at(1).at(0).toString().contains(QStringLiteral("Access denied")));
    QVERIFY(errors.at(2).at(0).toString().contains(QStringLiteral("Can't connect")));
    QCOMPARE(status.count(), 0);
    QVERIFY(!QSqlDatabase::contains(QStringLiteral("main_connection")));

    QVERIFY(db->connectToDatabase(m_server.hostConfig()));
    QSqlQuery query(db->database());
    QVERIFY(query.exec(QStringLiteral("SELECT @@character_set_client, @@character_set_results")) && query.next());
    QCOMPARE(query.value(0).toString() + query.value(1).toString(), QStringLiteral("latin1latin1"));
    query.finish();

    // A test connection leaves the session alone.
    QVERIFY(db->testConnection(m_server.hostConfig(QStringLiteral("mysql"))));
    QVERIFY(!db->testConnection(wrong));
    QVERIFY(!QSqlDatabase::contains(QStringLiteral("test_connection")));
    QCOMPARE(db->storedConfig(), m_server.hostConfig());
    QVERIFY(db->checkConnection());

    // Connecting while connected reports both states.
    const HostConfig other = m_server.hostConfig(QStringLiteral("mysql"));
    QVERIFY(db->connectToDatabase(other));
    QCOMPARE(db->database().databaseName(), QStringLiteral("mysql"));
    db->startKeepAlive(180000);
    db->disconnectFromDatabase();
    QVERIFY(!db->isKeepAliveActive() && !db->isConnected());
    QList<bool> states;
    for (const QList<QVariant> &signal : std::as_const(status))
        states.append(signal.at(0).toBool());
    QCOMPARE(states, QList<bool>({true, false, true, false}));
    // A disconnected session answers the heartbeat without touching the server or the log.
    const int lines = int(debugLogMessages().size());
    QVERIFY(!db->checkConnection());
    QCOMPARE(debugLogMessages().size(), lines);
}

void TestDatabaseManager::lostSessionIsReportedAndKeepAliveReconnects()
{
    const TestServer server = TestServers::startPrivate();
    QVERIFY(server.isValid());
    DatabaseManager *db = DatabaseManager::instance();
    QVERIFY(db->connectToDatabase(server.hostConfig(QStringLiteral("mysql"))));
    QSqlQuery query(db->database());
    QVERIFY(query.exec(QStringLiteral("CREATE TEMPORARY TABLE marker (id INT)")));
    QVERIFY(TestServers::stop(server));
    QVERIFY(TestServers::start(server));

    // A client-side reconnection would run this on a fresh session, outside any transaction
    // begun before; the session has to report the loss instead.
    QVERIFY(!query.exec(QStringLiteral("SELECT 1")));
    QVERIFY(!db->checkConnection());
    QVERIFY(db->ensureConnected());
    QSqlQuery fresh(db->database());
    QVERIFY(!fresh.exec(QStringLiteral("SELECT * FROM marker")));  // the old session is gone

    QVERIFY(TestServers::stop(server));
    QVERIFY(TestServers::start(server));
    QSignalSpy status(db, &DatabaseManager::connectionStatusChanged);
    clearDebugLog();
    db->startKeepAlive(200);
    QTRY_VERIFY_WITH_TIMEOUT(debugLogMessages().contains(QStringLiteral("自动重连成功")), 15000);
    QVERIFY(debugLogMessages().contains(QStringLiteral("心跳检测失败，尝试重连...")));
    QCOMPARE(status.count(), 1);
    QVERIFY(QSqlQuery(db->database()).exec(QStringLiteral("SELECT 1")));

    // With the server down the reconnection fails once; later ticks do nothing.
    QSignalSpy errors(db, &DatabaseManager::errorOccurred);
    QVERIFY(TestServers::stop(server));
    QTRY_VERIFY_WITH_TIMEOUT(debugLogMessages().contains(QStringLiteral("自动重连失败")), 15000);
    QVERIFY(!db->isConnected() && db->isKeepAliveActive());
    QCOMPARE(errors.count(), 1);
    const int lines = int(debugLogMessages().size());
    QTest::qWait(700);
    QCOMPARE(debugLogMessages().size(), lines);
}

void TestDatabaseManager::odbcPath()
{
    setNativeMysqlEnabled(false);
    DatabaseManager *db = DatabaseManager::instance();
    QSignalSpy errors(db, &DatabaseManager::errorOccurred);
    // The password holds ";", "{", "}" and "=", which must not break the connection string.
    QVERIFY(m_server.password.contains(QLatin1Char(';')));
    QVERIFY(db->connectToDatabase(m_server.hostConfig(QStringLiteral("mysql"))));
    QCOMPARE(db->database().driverName(), QStringLiteral("QODBC"));
    QCOMPARE(db->odbcDriverName(), QStringLiteral("MySQL ODBC 9.3 ANSI Driver"));
    QSqlQuery query(db->database());
    QVERIFY2(query.exec(QStringLiteral("SELECT DATABASE()")) && query.next(), qPrintable(query.lastError().text()));
    QCOMPARE(query.value(0).toString(), QStringLiteral("mysql"));
    query.finish();
    QCOMPARE(errors.count(), 0);

    HostConfig wrong = m_server.hostConfig(QStringLiteral("mysql"));
    wrong.password = QStringLiteral("wrong");
    QVERIFY(!db->connectToDatabase(wrong));
    QVERIFY(!db->testConnection(wrong));
    QCOMPARE(errors.count(), 2);
    QVERIFY(errors.at(0).at(0).toString().startsWith(QStringLiteral("无法连接数据库，最后错误：")));
    QVERIFY(!QSqlDatabase::contains(QStringLiteral("test_connection")));

    const QString s = odbcConnectionString(QStringLiteral("D"), QStringLiteral("h"), 1, QStringLiteral("d"),
                                           QStringLiteral("u"), QStringLiteral("a;b}c{"));
    QCOMPARE(s, QStringLiteral("DRIVER={D};SERVER=h;PORT=1;DATABASE=d;USER=u;PASSWORD={a;b}}c{};OPTION=3"));
}

void TestDatabaseManager::queriesWithoutConnectionReturnEmpty()
{
    DatabaseManager *db = DatabaseManager::instance();
    db->disconnectFromDatabase();
    clearDebugLog();
    QVERIFY(db->queryCharacters({1}).isEmpty());
    QVERIFY(db->getCharGuids({1}).isEmpty());
    QVERIFY(db->getWorldIdStatistics().isEmpty());
    QCOMPARE(debugLogMessages().last(), QStringLiteral("queryCharacters: 数据库未连接"));
}

void TestDatabaseManager::summariesAndStatisticsMatchTheRows()
{
    DatabaseManager *db = DatabaseManager::instance();
    QVERIFY(db->connectToDatabase(m_server.hostConfig(QStringLiteral("queries_db"))));
    QSqlQuery query(db->database());
    QVERIFY(query.exec(QStringLiteral("UPDATE t_char SET charname = NULL WHERE zoneworldid = 10 ORDER BY charguid LIMIT 1")));
    const QList<CharacterSummary> characters = db->queryCharacters({1, 10});
    QCOMPARE(characters.size(), 28);
    QCOMPARE(characters.first().value(QStringLiteral("charname")).toString(), QString());  // NULL sorts first
    const QStringList keys = {"bankmoney", "bdyuanbao", "charguid", "charname", "level", "menpai", "scene",
                              "sect_point", "vmoney", "xpos", "yuanbao", "zoneworldid", "zpos"};
    for (const CharacterSummary &c : characters) {
        QCOMPARE(c.keys(), keys);
        // The decoded name is exactly the stored GBK bytes.
        QVERIFY(query.exec(QStringLiteral("SELECT IFNULL(HEX(charname), ''), level, vmoney, zoneworldid FROM t_char WHERE charguid = %1")
                               .arg(c.value(QStringLiteral("charguid")).toInt())) && query.next());
        QCOMPARE(encodeGbk(c.value(QStringLiteral("charname")).toString()), bytesFromHexValue(query.value(0)));
        QCOMPARE(QList<int>({c.value(QStringLiteral("level")).toInt(), c.value(QStringLiteral("vmoney")).toInt(),
                             c.value(QStringLiteral("zoneworldid")).toInt()}),
                 QList<int>({query.value(1).toInt(), query.value(2).toInt(), query.value(3).toInt()}));
    }
    // A world given twice lists its characters once.
    QCOMPARE(db->queryCharacters({10, 10}).size(), 3);
    QList<int> guids = db->getCharGuids({10, 10, 2});
    QCOMPARE(guids.size(), 43);
    std::sort(guids.begin(), guids.end());
    QCOMPARE(std::adjacent_find(guids.begin(), guids.end()), guids.end());

    const QMap<int, int> counts = db->getWorldIdStatistics();
    QCOMPARE(counts.keys(), QList<int>({1, 2, 10}));
    QCOMPARE(counts.values(), QList<int>({25, 40, 3}));
}

void TestDatabaseManager::failedQueriesAreReported()
{
    DatabaseManager *db = DatabaseManager::instance();
    QVERIFY(db->connectToDatabase(m_server.hostConfig(QStringLiteral("queries_db"))));
    QSignalSpy errors(db, &DatabaseManager::errorOccurred);
    QVERIFY(db->queryCharacters({}).isEmpty());
    QCOMPARE(errors.count(), 1);
    QString error;
    QVERIFY(db->getCharGuids({}, &error).isEmpty());
    QVERIFY(!error.isEmpty());

    QSqlQuery query(db->database());
    QVERIFY(query.exec(QStringLiteral("RENAME TABLE t_char TO t_char_away")));
    QVERIFY(db->getWorldIdStatistics().isEmpty());
    QVERIFY(query.exec(QStringLiteral("RENAME TABLE t_char_away TO t_char")));
    QCOMPARE(errors.count(), 2);
    QVERIFY(errors.at(1).at(0).toString().startsWith(QStringLiteral("获取角色统计失败: ")));
}

QTEST_MAIN(TestDatabaseManager)
#include "tst_databasemanager.moc"
