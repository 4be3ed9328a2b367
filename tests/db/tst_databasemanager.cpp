#include "db/connectionrule.h"
#include "db/databasemanager.h"
#include "db/sqlcolumns.h"
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
    void gbkConversions_data();
    void gbkConversions();
    void everyGbkCharacterRoundTrips();
    void hexPatterns();
    void allByteValuesSurviveTheSession();

private:
    QByteArray readHex(int id);
    TestServer m_server;
    QTemporaryDir m_odbcDir;
};

void TestDatabaseManager::initTestCase()
{
    m_server = TestServers::shared();
    QVERIFY(m_server.isValid());
    // GBK bytes live in latin1 columns, and the driver reads and writes text as UTF-8.
    QVERIFY(TestServers::runSql(m_server, "CREATE DATABASE IF NOT EXISTS vexadb_main;"
        "DROP DATABASE IF EXISTS legacy_text; CREATE DATABASE legacy_text DEFAULT CHARACTER SET latin1;"
        "CREATE TABLE legacy_text.names (id INT PRIMARY KEY, name VARCHAR(300) CHARACTER SET latin1 NULL) DEFAULT CHARSET=latin1;"));
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
    TestServers::runSql(m_server, "DROP DATABASE queries_db; DROP DATABASE queries_db_web; DROP DATABASE legacy_text;");
}

void TestDatabaseManager::cleanup()
{
    DatabaseManager::instance()->disconnectFromDatabase();
    TestServers::useNativeDriver(true);
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
    QVERIFY(errors.at(1).at(0).value<Message>().stored().contains(QStringLiteral("Access denied")));
    QVERIFY(errors.at(2).at(0).value<Message>().stored().contains(QStringLiteral("Can't connect")));
    QCOMPARE(status.count(), 0);
    QVERIFY(!QSqlDatabase::contains(QStringLiteral("main_connection")));

    QVERIFY(db->connectToDatabase(m_server.hostConfig()));
    QSqlQuery query(db->database());
    QVERIFY(query.exec(QStringLiteral("SELECT @@character_set_client, @@character_set_results")) && query.next());
    // The native plug-in talks latin1, so that legacy bytes pass unchanged; ODBC talks UTF-8,
    // and legacy bytes travel as literals there.
    QCOMPARE(query.value(0).toString() + query.value(1).toString(),
             TestServers::odbcRun() ? QStringLiteral("utf8mb4utf8mb4") : QStringLiteral("latin1latin1"));
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
    QSqlQuery current(db->database());
    QVERIFY(current.exec(QStringLiteral("SELECT DATABASE()")) && current.next());
    QCOMPARE(current.value(0).toString(), QStringLiteral("mysql"));
    current.finish();
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
    TestServers::useNativeDriver(false);
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
    QVERIFY(errors.at(0).at(0).value<Message>().stored().startsWith(QStringLiteral("无法连接数据库，最后错误：")));
    QVERIFY(!QSqlDatabase::contains(QStringLiteral("test_connection")));
}

void TestDatabaseManager::queriesWithoutConnectionReturnEmpty()
{
    DatabaseManager *db = DatabaseManager::instance();
    db->disconnectFromDatabase();
    clearDebugLog();
    QVERIFY(db->queryCharacters({1}).isEmpty());
    QVERIFY(db->charGuids({1}).isEmpty());
    QVERIFY(db->worldIdStatistics().isEmpty());
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
    QCOMPARE(characters.first().name, QString());  // NULL sorts first
    for (const CharacterSummary &c : characters) {
        // The decoded name is exactly the stored GBK bytes; every number as stored.
        QVERIFY(query.exec(QStringLiteral("SELECT IFNULL(HEX(charname), ''), charguid, menpai, level, zoneworldid, yuanbao, bdyuanbao, "
                                          "vmoney, bankmoney, sect_point, scene, xpos, zpos FROM t_char WHERE charguid = %1")
                               .arg(c.guid())) && query.next());
        QCOMPARE(encodeGbk(c.name), bytesFromHexValue(query.value(0)));
        for (int field = CharacterSummary::Menpai; field < CharacterSummary::FieldCount; ++field)
            QCOMPARE(c.number(CharacterSummary::Field(field)), query.value(field).toLongLong());
    }
    // A world given twice lists its characters once.
    QCOMPARE(db->queryCharacters({10, 10}).size(), 3);
    QList<int> guids = db->charGuids({10, 10, 2});
    QCOMPARE(guids.size(), 43);
    std::sort(guids.begin(), guids.end());
    QCOMPARE(std::adjacent_find(guids.begin(), guids.end()), guids.end());

    const QMap<int, int> counts = db->worldIdStatistics();
    QCOMPARE(counts.keys(), QList<int>({1, 2, 10}));
    QCOMPARE(counts.values(), QList<int>({25, 40, 3}));
}

void TestDatabaseManager::failedQueriesAreReported()
{
    DatabaseManager *db = DatabaseManager::instance();
    QVERIFY(db->connectToDatabase(m_server.hostConfig(QStringLiteral("queries_db"))));
    QSignalSpy errors(db, &DatabaseManager::errorOccurred);
    Message error;
    QVERIFY(db->charGuids({}, &error).isEmpty());
    QVERIFY(!error.isEmpty());

    QSqlQuery query(db->database());
    QVERIFY(query.exec(QStringLiteral("RENAME TABLE t_char TO t_char_away")));
    QVERIFY(db->queryCharacters({1}, &error).isEmpty());
    QVERIFY(!error.isEmpty());
    QCOMPARE(errors.count(), 1);
    QVERIFY(db->worldIdStatistics().isEmpty());
    QVERIFY(query.exec(QStringLiteral("RENAME TABLE t_char_away TO t_char")));
    QCOMPARE(errors.count(), 2);
    QVERIFY(errors.at(1).at(0).value<Message>().stored().startsWith(QStringLiteral("获取角色统计失败: ")));
}

void TestDatabaseManager::gbkConversions_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("empty") << QString() << QByteArray();
    QTest::newRow("ascii") << QStringLiteral("Warrior_01") << QByteArray("Warrior_01");
    QTest::newRow("bytes 0x80-0x9F") << QStringLiteral("堃喆燊昇") << QByteArray::fromHex("88D286B49FF6954E");
    QTest::newRow("trail byte 0x5C") << QStringLiteral("乗") << QByteArray::fromHex("815C");
    QTest::newRow("mixed") << QStringLiteral("剑心a1") << QByteArray::fromHex("BDA3D0C46131");
}

void TestDatabaseManager::gbkConversions()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, bytes);
    QCOMPARE(encodeGbk(text), bytes);
    QCOMPARE(decodeGbk(bytes), text);
    QCOMPARE(DatabaseManager::decodeGbk(bytes), text);
}

void TestDatabaseManager::everyGbkCharacterRoundTrips()
{
    int characters = 0;
    for (int lead = 0x81; lead <= 0xFE; ++lead) {
        for (int trail = 0x40; trail <= 0xFE; ++trail) {
            if (trail == 0x7F)
                continue;
            const QByteArray bytes = QByteArray(1, char(lead)) + char(trail);
            const QString text = decodeGbk(bytes);
            if (text.size() != 1 || text.at(0) == QChar::ReplacementCharacter)
                continue;  // an unassigned code
            QCOMPARE(encodeGbk(text), bytes);
            ++characters;
        }
    }
    QVERIFY2(characters > 21000, qPrintable(QString::number(characters)));

    // Characters beyond GBK take their GB18030 four-byte form and come back unchanged.
    const QString beyond = QStringLiteral("𠮷a€");
    QVERIFY(!encodeGbk(beyond).contains('?'));
    QCOMPARE(decodeGbk(encodeGbk(beyond)), beyond);
}

void TestDatabaseManager::hexPatterns()
{
    QCOMPARE(unhexExpression(QByteArray::fromHex("88d2ff00")), QStringLiteral("UNHEX('88D2FF00')"));
    QCOMPARE(legacyTextExpression(QStringLiteral("堃")), QStringLiteral("UNHEX('88D2')"));
    // Lower-case digits and stray characters decode as far as they go; NULL reads empty.
    QCOMPARE(decodeHexColumn(QStringLiteral("88d2")), QStringLiteral("堃"));
    QCOMPARE(bytesFromHexValue(QStringLiteral("88 D2")), QByteArray::fromHex("88D2"));
    QCOMPARE(decodeHexColumn(QVariant()), QString());
}

QByteArray TestDatabaseManager::readHex(int id)
{
    QSqlQuery query(DatabaseManager::instance()->database());
    if (!query.exec(QStringLiteral("SELECT HEX(name) AS name_hex FROM names WHERE id = %1").arg(id)) || !query.next())
        return QByteArray("<missing>");
    return bytesFromHexValue(query.value(0));
}

void TestDatabaseManager::allByteValuesSurviveTheSession()
{
    QVERIFY(DatabaseManager::instance()->connectToDatabase(m_server.hostConfig(QStringLiteral("legacy_text"))));
    const QByteArray all = TestServers::allByteValues();
    QSqlDatabase &db = DatabaseManager::instance()->database();
    QSqlQuery query(db);

    // Written as UNHEX, read as HEX.
    QVERIFY2(query.exec(QStringLiteral("REPLACE INTO names VALUES (1, %1)").arg(unhexExpression(all))),
             qPrintable(query.lastError().text()));
    QCOMPARE(readHex(1), all);

    // Read through a binary cast, which the driver hands over as bytes.
    QVERIFY(query.exec(QStringLiteral("SELECT CAST(name AS BINARY) FROM names WHERE id = 1")) && query.next());
    QCOMPARE(query.value(0).typeId(), QMetaType::QByteArray);
    const QByteArray fetched = bytesFromBinaryValue(query.value(0));
    query.finish();

    // Written back as a literal of its bytes (a bound QByteArray travels as binary data on the
    // native plug-in, as text in the connection's character set on ODBC).
    QVERIFY(query.exec(QStringLiteral("REPLACE INTO names VALUES (2, %1)").arg(Sql::bytesLiteral(fetched))));
    QCOMPARE(fetched, all);
    QCOMPARE(readHex(2), all);

    // Text written as its GBK bytes reads back as those bytes through another client.
    const QString name = QStringLiteral("堃喆燊昇_剑心");
    QVERIFY(query.exec(QStringLiteral("REPLACE INTO names VALUES (10, %1)").arg(legacyTextExpression(name))));
    QCOMPARE(TestServers::querySql(m_server, QStringLiteral("SELECT HEX(name) FROM names WHERE id = 10"), QStringLiteral("legacy_text")),
             QString::fromLatin1(encodeGbk(name).toHex().toUpper()));
}

QTEST_MAIN(TestDatabaseManager)
#include "tst_databasemanager.moc"
