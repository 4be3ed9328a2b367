#include "db/connectionrule.h"
#include "db/databasemanager.h"
#include "logfiles.h"
#include "testservers.h"

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
    void init();
    void cleanup();

    void ensureConnectedBeforeAnyConnect();
    void connectTestAndDisconnect();
    void connectWhileConnectedReportsBothStates();
    void wrongPasswordAndUnreachablePortFailOnce();
    void testConnectionLeavesMainSessionAlone();
    void sessionNeverReconnectsSilently();
    void keepAliveReconnectsAfterServerRestart();
    void keepAliveReportsFailedReconnection();
    void odbcPathPicksFirstInstalledDriver();
    void odbcPathReportsWhenNoDriverOpens();
    void odbcConnectionStringQuotesUnsafeValues();

private:
    TestServer m_server;
    QTemporaryDir m_odbcDir;
};

void TestDatabaseManager::initTestCase()
{
    m_server = TestServers::shared();
    QVERIFY(m_server.isValid());
    QVERIFY(TestServers::runSql(m_server, "CREATE DATABASE IF NOT EXISTS vexadb_main;"));
    QVERIFY(m_odbcDir.isValid());
    // The MariaDB driver, registered under a MySQL driver name of the list: the third candidate.
    QVERIFY2(TestServers::installPrivateOdbcDriver(m_odbcDir.path(), QStringLiteral("MySQL ODBC 9.3 ANSI Driver")),
             "the MariaDB ODBC driver (odbc-mariadb) is not installed");
}

void TestDatabaseManager::init()
{
    clearDebugLog();
}

void TestDatabaseManager::cleanup()
{
    DatabaseManager::instance()->disconnectFromDatabase();
    setNativeMysqlEnabled(true);
}

void TestDatabaseManager::ensureConnectedBeforeAnyConnect()
{
    DatabaseManager *db = DatabaseManager::instance();
    QCOMPARE(db->storedConfig(), HostConfig::initial());
    QVERIFY(!db->isConnected());

    // The initial configuration points at localhost:3306, where no server of ours listens.
    QSignalSpy errors(db, &DatabaseManager::errorOccurred);
    QVERIFY(!db->ensureConnected());
    QCOMPARE(errors.count(), 1);
    QVERIFY(!db->isConnected());
    QCOMPARE(debugLogMessages(),
             QStringList({QStringLiteral("执行数据库重连..."), QStringLiteral("数据库重连失败")}));
}

void TestDatabaseManager::connectTestAndDisconnect()
{
    DatabaseManager *db = DatabaseManager::instance();
    QSignalSpy status(db, &DatabaseManager::connectionStatusChanged);
    QSignalSpy errors(db, &DatabaseManager::errorOccurred);

    QVERIFY(db->connectToDatabase(m_server.hostConfig()));
    QVERIFY(db->isConnected());
    QCOMPARE(status.count(), 1);
    QCOMPARE(status.at(0).at(0).toBool(), true);
    QCOMPARE(errors.count(), 0);
    QCOMPARE(db->database().connectionName(), QStringLiteral("main_connection"));
    QVERIFY(db->odbcDriverName().isEmpty());

    QSqlQuery query(db->database());
    QVERIFY(query.exec(QStringLiteral("SELECT @@character_set_client, @@character_set_results")));
    QVERIFY(query.next());
    QCOMPARE(query.value(0).toString(), QStringLiteral("latin1"));
    QCOMPARE(query.value(1).toString(), QStringLiteral("latin1"));
    query.finish();

    QVERIFY(db->checkConnection());
    QVERIFY(db->ensureConnected());

    db->startKeepAlive(180000);
    QVERIFY(db->isKeepAliveActive());
    db->disconnectFromDatabase();
    QVERIFY(!db->isKeepAliveActive());
    QVERIFY(!db->isConnected());
    QVERIFY(!QSqlDatabase::contains(QStringLiteral("main_connection")));
    QCOMPARE(status.count(), 2);
    QCOMPARE(status.at(1).at(0).toBool(), false);
    QCOMPARE(debugLogMessages(),
             QStringList({QStringLiteral("启动数据库心跳保活，间隔: 180000ms"),
                          QStringLiteral("停止数据库心跳保活")}));

    // A disconnected session answers the heartbeat without touching the server or the log.
    QVERIFY(!db->checkConnection());
    QCOMPARE(debugLogMessages().size(), 2);
}

void TestDatabaseManager::connectWhileConnectedReportsBothStates()
{
    DatabaseManager *db = DatabaseManager::instance();
    QVERIFY(db->connectToDatabase(m_server.hostConfig()));
    QSignalSpy status(db, &DatabaseManager::connectionStatusChanged);
    HostConfig other = m_server.hostConfig(QStringLiteral("mysql"));
    QVERIFY(db->connectToDatabase(other));
    QCOMPARE(status.count(), 2);
    QCOMPARE(status.at(0).at(0).toBool(), false);
    QCOMPARE(status.at(1).at(0).toBool(), true);
    QCOMPARE(db->storedConfig(), other);
    QCOMPARE(db->database().databaseName(), QStringLiteral("mysql"));
}

void TestDatabaseManager::wrongPasswordAndUnreachablePortFailOnce()
{
    DatabaseManager *db = DatabaseManager::instance();
    QSignalSpy status(db, &DatabaseManager::connectionStatusChanged);
    QSignalSpy errors(db, &DatabaseManager::errorOccurred);

    HostConfig wrongPassword = m_server.hostConfig();
    wrongPassword.password = QStringLiteral("not the password");
    QVERIFY(!db->connectToDatabase(wrongPassword));
    QCOMPARE(errors.count(), 1);
    QVERIFY2(errors.at(0).at(0).toString().contains(QStringLiteral("Access denied")),
             qPrintable(errors.at(0).at(0).toString()));

    HostConfig unreachable = m_server.hostConfig();
    unreachable.port = 1;  // nothing listens on port 1
    QVERIFY(!db->connectToDatabase(unreachable));
    QCOMPARE(errors.count(), 2);
    QVERIFY2(errors.at(1).at(0).toString().contains(QStringLiteral("Can't connect")),
             qPrintable(errors.at(1).at(0).toString()));

    QCOMPARE(status.count(), 0);
    QVERIFY(!db->isConnected());
    QVERIFY(db->odbcDriverName().isEmpty());
    QVERIFY(!QSqlDatabase::contains(QStringLiteral("main_connection")));
}

void TestDatabaseManager::testConnectionLeavesMainSessionAlone()
{
    DatabaseManager *db = DatabaseManager::instance();
    QVERIFY(db->connectToDatabase(m_server.hostConfig()));
    QSignalSpy status(db, &DatabaseManager::connectionStatusChanged);
    QSignalSpy errors(db, &DatabaseManager::errorOccurred);

    QVERIFY(db->testConnection(m_server.hostConfig(QStringLiteral("mysql"))));
    QVERIFY(!QSqlDatabase::contains(QStringLiteral("test_connection")));

    HostConfig wrong = m_server.hostConfig();
    wrong.password = QStringLiteral("x");
    QVERIFY(!db->testConnection(wrong));
    QCOMPARE(errors.count(), 1);
    QVERIFY(errors.at(0).at(0).toString().contains(QStringLiteral("Access denied")));
    QVERIFY(!QSqlDatabase::contains(QStringLiteral("test_connection")));

    QCOMPARE(status.count(), 0);
    QVERIFY(db->isConnected());
    QCOMPARE(db->storedConfig(), m_server.hostConfig());
    QVERIFY(db->checkConnection());
}

void TestDatabaseManager::sessionNeverReconnectsSilently()
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
    QVERIFY(debugLogMessages().last().startsWith(QStringLiteral("心跳查询失败: ")));
    QVERIFY(db->ensureConnected());
    QSqlQuery fresh(db->database());
    QVERIFY(!fresh.exec(QStringLiteral("SELECT * FROM marker")));  // the old session is gone
    QVERIFY(fresh.exec(QStringLiteral("SELECT 1")));
}

void TestDatabaseManager::keepAliveReconnectsAfterServerRestart()
{
    const TestServer server = TestServers::startPrivate();
    QVERIFY(server.isValid());
    DatabaseManager *db = DatabaseManager::instance();
    QVERIFY(db->connectToDatabase(server.hostConfig(QStringLiteral("mysql"))));
    QSignalSpy status(db, &DatabaseManager::connectionStatusChanged);

    QVERIFY(TestServers::stop(server));
    QVERIFY(TestServers::start(server));
    clearDebugLog();
    db->startKeepAlive(200);
    QTRY_VERIFY_WITH_TIMEOUT(debugLogMessages().contains(QStringLiteral("自动重连成功")), 15000);

    const QStringList log = debugLogMessages();
    const int failed = log.indexOf(QStringLiteral("心跳检测失败，尝试重连..."));
    QVERIFY(failed > 0);
    QVERIFY(log.at(failed - 1).startsWith(QStringLiteral("心跳查询失败: ")));
    QCOMPARE(log.mid(failed, 4),
             QStringList({QStringLiteral("心跳检测失败，尝试重连..."), QStringLiteral("执行数据库重连..."),
                          QStringLiteral("数据库重连成功"), QStringLiteral("自动重连成功")}));
    QVERIFY(db->isConnected());
    QVERIFY(db->isKeepAliveActive());
    QCOMPARE(status.count(), 1);  // the reconnection's own "connected"
    QCOMPARE(status.at(0).at(0).toBool(), true);
    QSqlQuery query(db->database());
    QVERIFY(query.exec(QStringLiteral("SELECT 1")));
}

void TestDatabaseManager::keepAliveReportsFailedReconnection()
{
    const TestServer server = TestServers::startPrivate();
    QVERIFY(server.isValid());
    DatabaseManager *db = DatabaseManager::instance();
    QVERIFY(db->connectToDatabase(server.hostConfig(QStringLiteral("mysql"))));
    QSignalSpy status(db, &DatabaseManager::connectionStatusChanged);
    QSignalSpy errors(db, &DatabaseManager::errorOccurred);

    QVERIFY(TestServers::stop(server));
    db->startKeepAlive(200);
    QTRY_VERIFY_WITH_TIMEOUT(debugLogMessages().contains(QStringLiteral("自动重连失败")), 15000);
    QVERIFY(!db->isConnected());
    QVERIFY(db->isKeepAliveActive());  // the timer runs on; its ticks do nothing now
    QCOMPARE(status.count(), 1);
    QCOMPARE(status.at(0).at(0).toBool(), false);
    QCOMPARE(errors.count(), 1);

    // Later ticks neither query nor try to reconnect until the operator connects again.
    const int lines = debugLogMessages().size();
    QTest::qWait(700);
    QCOMPARE(debugLogMessages().size(), lines);
    QVERIFY(TestServers::start(server));
}

void TestDatabaseManager::odbcPathPicksFirstInstalledDriver()
{
    setNativeMysqlEnabled(false);
    DatabaseManager *db = DatabaseManager::instance();
    QSignalSpy status(db, &DatabaseManager::connectionStatusChanged);
    QSignalSpy errors(db, &DatabaseManager::errorOccurred);

    // The password holds ";", "{", "}" and "=", which must not break the connection string.
    QVERIFY(m_server.password.contains(QLatin1Char(';')));
    QVERIFY(db->connectToDatabase(m_server.hostConfig(QStringLiteral("mysql"))));
    QCOMPARE(errors.count(), 0);
    QCOMPARE(status.count(), 1);
    QCOMPARE(db->database().driverName(), QStringLiteral("QODBC"));
    QCOMPARE(db->odbcDriverName(), QStringLiteral("MySQL ODBC 9.3 ANSI Driver"));
    QSqlQuery query(db->database());
    QVERIFY2(query.exec(QStringLiteral("SELECT DATABASE()")), qPrintable(query.lastError().text()));
    QVERIFY(query.next());
    QCOMPARE(query.value(0).toString(), QStringLiteral("mysql"));
    query.finish();

    QVERIFY(db->testConnection(m_server.hostConfig(QStringLiteral("mysql"))));
    db->disconnectFromDatabase();

    // The driver name is kept until the next ODBC success, also across a native session.
    setNativeMysqlEnabled(true);
    QVERIFY(db->connectToDatabase(m_server.hostConfig(QStringLiteral("mysql"))));
    QCOMPARE(db->odbcDriverName(), QStringLiteral("MySQL ODBC 9.3 ANSI Driver"));
}

void TestDatabaseManager::odbcPathReportsWhenNoDriverOpens()
{
    setNativeMysqlEnabled(false);
    DatabaseManager *db = DatabaseManager::instance();
    QSignalSpy errors(db, &DatabaseManager::errorOccurred);
    HostConfig wrong = m_server.hostConfig(QStringLiteral("mysql"));
    wrong.password = QStringLiteral("wrong");

    QVERIFY(!db->connectToDatabase(wrong));
    QCOMPARE(errors.count(), 1);
    const QString message = errors.at(0).at(0).toString();
    QVERIFY2(message.startsWith(QStringLiteral("无法连接数据库，最后错误：")), qPrintable(message));
    QVERIFY(message.endsWith(QStringLiteral(
        "\n\n请检查：\n1. MySQL ODBC 驱动是否安装\n2. 数据库连接信息是否正确\n3. MySQL 服务是否运行")));
    QVERIFY(!db->isConnected());

    QVERIFY(!db->testConnection(wrong));
    QCOMPARE(errors.count(), 2);
    QVERIFY(errors.at(1).at(0).toString().startsWith(QStringLiteral("无法连接数据库：")));
    QVERIFY(!QSqlDatabase::contains(QStringLiteral("test_connection")));
}

void TestDatabaseManager::odbcConnectionStringQuotesUnsafeValues()
{
    QCOMPARE(odbcConnectionString(QStringLiteral("MySQL ODBC 8.0 ANSI Driver"), QStringLiteral("db.example"),
                                  3307, QStringLiteral("vexadb_main"), QStringLiteral("root"),
                                  QStringLiteral("plain")),
             QStringLiteral("DRIVER={MySQL ODBC 8.0 ANSI Driver};SERVER=db.example;PORT=3307;"
                            "DATABASE=vexadb_main;USER=root;PASSWORD=plain;OPTION=3"));
    const QString s = odbcConnectionString(QStringLiteral("D"), QStringLiteral("h"), 1, QStringLiteral("d"),
                                           QStringLiteral("u"), QStringLiteral("a;b}c{"));
    QVERIFY(s.contains(QStringLiteral("PASSWORD={a;b}}c{};OPTION=3")));
    QVERIFY(odbcConnectionString(QStringLiteral("D"), QStringLiteral("h"), 1, QStringLiteral("d"),
                                 QStringLiteral("u"), QStringLiteral(" x"))
                .contains(QStringLiteral("PASSWORD={ x}")));
}

QTEST_MAIN(TestDatabaseManager)
#include "tst_databasemanager.moc"
