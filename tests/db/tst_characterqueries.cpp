#include "db/databasemanager.h"
#include "db/legacytext.h"
#include "logfiles.h"
#include "testservers.h"

#include <QBuffer>
#include <QSignalSpy>
#include <QSqlQuery>
#include <QtTest>

class TestCharacterQueries : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();

    void notConnectedReturnsEmpty();
    void summariesAndStatisticsMatchTheRows();
    void failuresAreReported();

private:
    TestServer m_server;
};

void TestCharacterQueries::initTestCase()
{
    // The sample is the same for the same seed and loads under a strict SQL mode.
    SampleOptions options = TestServers::smallSample(QStringLiteral("queries_db"), {10, 2, 1}, 0);
    options.worldSizes = {3, 40, 25};
    QBuffer first, second;
    QVERIFY(first.open(QIODevice::WriteOnly) && second.open(QIODevice::WriteOnly));
    writeSampleDatabase(&first, options);
    writeSampleDatabase(&second, options);
    QCOMPARE(first.data(), second.data());
    m_server = TestServers::shared();
    QVERIFY(TestServers::runSql(m_server, "SET SESSION sql_mode = 'STRICT_ALL_TABLES,NO_ZERO_DATE,ERROR_FOR_DIVISION_BY_ZERO';\n"
                                              + first.data()));
    QVERIFY(DatabaseManager::instance()->connectToDatabase(m_server.hostConfig(QStringLiteral("queries_db"))));
}

void TestCharacterQueries::cleanupTestCase()
{
    DatabaseManager::instance()->disconnectFromDatabase();
    TestServers::runSql(m_server, "DROP DATABASE queries_db; DROP DATABASE queries_db_web;");
}

void TestCharacterQueries::notConnectedReturnsEmpty()
{
    DatabaseManager *db = DatabaseManager::instance();
    db->disconnectFromDatabase();
    clearDebugLog();
    QVERIFY(db->queryCharacters({1}).isEmpty());
    QVERIFY(db->getCharGuids({1}).isEmpty());
    QVERIFY(db->getWorldIdStatistics().isEmpty());
    QCOMPARE(debugLogMessages().last(), QStringLiteral("queryCharacters: 数据库未连接"));
    QVERIFY(db->connectToDatabase(m_server.hostConfig(QStringLiteral("queries_db"))));
}

void TestCharacterQueries::summariesAndStatisticsMatchTheRows()
{
    DatabaseManager *db = DatabaseManager::instance();
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

void TestCharacterQueries::failuresAreReported()
{
    DatabaseManager *db = DatabaseManager::instance();
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

QTEST_MAIN(TestCharacterQueries)
#include "tst_characterqueries.moc"
