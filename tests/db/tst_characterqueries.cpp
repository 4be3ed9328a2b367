#include "db/databasemanager.h"
#include "db/legacytext.h"
#include "logfiles.h"
#include "testservers.h"

#include <QSignalSpy>
#include <QSqlQuery>
#include <QtTest>

class TestCharacterQueries : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();

    void notConnectedReturnsEmpty();
    void summariesCarryDecodedNames();
    void repeatedWorldIdListsEachCharacterOnce();
    void emptyWorldListIsReportedByTheServer();
    void nullNameReadsEmpty();
    void statisticsAreOrderedByWorldId();
    void statisticsFailureIsReported();

private:
    TestServer m_server;
};

void TestCharacterQueries::initTestCase()
{
    m_server = TestServers::shared();
    QVERIFY(m_server.isValid());
    SampleOptions options;
    options.characterDatabase = QStringLiteral("queries_db");
    options.accountDatabases = {QStringLiteral("queries_web")};
    options.worldIds = {10, 2, 1};
    options.worldSizes = {3, 40, 25};
    QVERIFY(TestServers::loadSample(m_server, options));
}

void TestCharacterQueries::cleanupTestCase()
{
    DatabaseManager::instance()->disconnectFromDatabase();
    TestServers::runSql(m_server, "DROP DATABASE queries_db; DROP DATABASE queries_web;");
}

void TestCharacterQueries::init()
{
    clearDebugLog();
    DatabaseManager *db = DatabaseManager::instance();
    if (!db->isConnected())
        QVERIFY(db->connectToDatabase(m_server.hostConfig(QStringLiteral("queries_db"))));
}

void TestCharacterQueries::notConnectedReturnsEmpty()
{
    DatabaseManager *db = DatabaseManager::instance();
    db->disconnectFromDatabase();
    clearDebugLog();
    QVERIFY(db->queryCharacters({1}).isEmpty());
    QCOMPARE(debugLogMessages(), QStringList({QStringLiteral("queryCharacters 入口"),
                                              QStringLiteral("queryCharacters: 数据库未连接")}));
    QVERIFY(db->getCharGuids({1}).isEmpty());
    QVERIFY(db->getWorldIdStatistics().isEmpty());
    QCOMPARE(debugLogMessages().size(), 2);
}

void TestCharacterQueries::summariesCarryDecodedNames()
{
    DatabaseManager *db = DatabaseManager::instance();
    const QList<CharacterSummary> characters = db->queryCharacters({1, 10});
    QCOMPARE(characters.size(), 28);

    const QStringList keys = {"bankmoney", "bdyuanbao", "charguid", "charname", "level", "menpai", "scene",
                              "sect_point", "vmoney", "xpos", "yuanbao", "zoneworldid", "zpos"};
    QSqlQuery check(db->database());
    for (const CharacterSummary &c : characters) {
        QCOMPARE(c.keys(), keys);
        QVERIFY(c.value(QStringLiteral("zoneworldid")).toInt() == 1 || c.value(QStringLiteral("zoneworldid")).toInt() == 10);
        // The decoded name is exactly the stored GBK bytes.
        QVERIFY(check.exec(QStringLiteral("SELECT HEX(charname), level, vmoney FROM t_char WHERE charguid = %1")
                               .arg(c.value(QStringLiteral("charguid")).toInt())));
        QVERIFY(check.next());
        QCOMPARE(encodeGbk(c.value(QStringLiteral("charname")).toString()), bytesFromHexValue(check.value(0)));
        QCOMPARE(c.value(QStringLiteral("level")).toInt(), check.value(1).toInt());
        QCOMPARE(c.value(QStringLiteral("vmoney")).toInt(), check.value(2).toInt());
    }

    const QStringList log = debugLogMessages();
    QCOMPARE(log.at(0), QStringLiteral("queryCharacters 入口"));
    QCOMPARE(log.at(1), QStringLiteral("queryCharacters: inClause = 1,10"));
    QVERIFY(log.at(2).startsWith(QStringLiteral("queryCharacters: SQL = SELECT charguid, HEX(charname) as charname_hex")));
    QVERIFY(log.at(2).endsWith(QStringLiteral("WHERE zoneworldid IN (1,10) ORDER BY charname")));
    QCOMPARE(log.mid(3), QStringList({QStringLiteral("queryCharacters: 执行 SQL 前"),
                                      QStringLiteral("queryCharacters: SQL 执行成功"),
                                      QStringLiteral("queryCharacters: 驱动类型 = QMYSQL"),
                                      QStringLiteral("queryCharacters: 读取了 28 行"),
                                      QStringLiteral("queryCharacters 返回 28 条记录")}));
}

void TestCharacterQueries::repeatedWorldIdListsEachCharacterOnce()
{
    DatabaseManager *db = DatabaseManager::instance();
    QCOMPARE(db->queryCharacters({10, 10}).size(), 3);
    QCOMPARE(debugLogMessages().at(1), QStringLiteral("queryCharacters: inClause = 10,10"));
    QList<int> guids = db->getCharGuids({10, 10, 2});
    QCOMPARE(guids.size(), 43);
    std::sort(guids.begin(), guids.end());
    QCOMPARE(std::adjacent_find(guids.begin(), guids.end()), guids.end());
}

void TestCharacterQueries::emptyWorldListIsReportedByTheServer()
{
    DatabaseManager *db = DatabaseManager::instance();
    QSignalSpy errors(db, &DatabaseManager::errorOccurred);
    QVERIFY(db->queryCharacters({}).isEmpty());
    QCOMPARE(errors.count(), 1);
    QVERIFY(debugLogMessages().contains(QStringLiteral("queryCharacters: SQL 执行失败 - ") + errors.at(0).at(0).toString()));
    QCOMPARE(debugLogMessages().last(), QStringLiteral("queryCharacters 返回 0 条记录"));
    QVERIFY(db->getCharGuids({}).isEmpty());
    QCOMPARE(errors.count(), 1);  // getCharGuids fails silently
}

void TestCharacterQueries::nullNameReadsEmpty()
{
    DatabaseManager *db = DatabaseManager::instance();
    QSqlQuery query(db->database());
    QVERIFY(query.exec(QStringLiteral("UPDATE t_char SET charname = NULL WHERE zoneworldid = 10 ORDER BY charguid LIMIT 1")));
    const QList<CharacterSummary> characters = db->queryCharacters({10});
    QCOMPARE(characters.size(), 3);
    QCOMPARE(characters.first().value(QStringLiteral("charname")).toString(), QString());  // NULL sorts first
}

void TestCharacterQueries::statisticsAreOrderedByWorldId()
{
    const QMap<int, int> counts = DatabaseManager::instance()->getWorldIdStatistics();
    QCOMPARE(counts.keys(), QList<int>({1, 2, 10}));
    QCOMPARE(counts.values(), QList<int>({25, 40, 3}));
}

void TestCharacterQueries::statisticsFailureIsReported()
{
    DatabaseManager *db = DatabaseManager::instance();
    QSqlQuery query(db->database());
    QVERIFY(query.exec(QStringLiteral("RENAME TABLE t_char TO t_char_away")));
    QSignalSpy errors(db, &DatabaseManager::errorOccurred);
    QVERIFY(db->getWorldIdStatistics().isEmpty());
    QVERIFY(query.exec(QStringLiteral("RENAME TABLE t_char_away TO t_char")));
    QCOMPARE(errors.count(), 1);
    QVERIFY(errors.at(0).at(0).toString().startsWith(QStringLiteral("获取角色统计失败: ")));
    QVERIFY(errors.at(0).at(0).toString().contains(QStringLiteral("t_char")));
}

QTEST_MAIN(TestCharacterQueries)
#include "tst_characterqueries.moc"
