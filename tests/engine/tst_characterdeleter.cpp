#include "db/databasemanager.h"
#include "engine/characterdeleter.h"
#include "engine/charactertables.h"
#include "testservers.h"

#include <QSqlQuery>
#include <QtTest>

namespace {
const QString kDb = QStringLiteral("wipe_db");
const QString kExpected = QStringLiteral("wipe_expected");

QStringList allTables()
{
    return characterDeleteTables + QStringList{QStringLiteral("t_char"), QStringLiteral("t_var")};
}

// What the deleter reports through its context: its log lines and the steps it starts.
struct Recorder
{
    QStringList logs;
    QList<int> steps;
    OperationContext context;
    int deleted = -1;

    Recorder()
    {
        context.onLog = [this](const QString &line) { logs.append(line); };
        context.onProgress = [this](const QString &, qint64 done, qint64) { steps.append(int(done)); };
    }
};
} // namespace

class TestCharacterDeleter : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();

    void catalogueMatchesTheSchema();
    void nothingToDeleteTouchesNothing_data();
    void nothingToDeleteTouchesNothing();
    void wipesZonesExactly_data();
    void wipesZonesExactly();
    void failureInLastStepRollsBackEverything();
    void olderDeploymentSkipsMissingTables();
    void failedCharacterQueryIsAFailure();

private:
    QMap<QString, QString> checksums(const TestServer &server, const QString &database);
    void snapshotExpected(const QList<int> &worldIds);
    qint64 sessionDeletes();

    TestServer m_server;
};

void TestCharacterDeleter::initTestCase()
{
    m_server = TestServers::shared();
    QVERIFY(m_server.isValid());
    SampleOptions options = TestServers::smallSample(kDb, {4, 1, 2, 3, 6}, 0);
    options.accountDatabases = {QStringLiteral("wipe_web")};
    options.worldSizes = {1, 500, 501, 1200, 300};
    QVERIFY(TestServers::loadAndConnect(&m_server, options));
}

void TestCharacterDeleter::cleanupTestCase()
{
    DatabaseManager::instance()->disconnectFromDatabase();
    TestServers::runSql(m_server, "DROP DATABASE IF EXISTS wipe_db; DROP DATABASE IF EXISTS wipe_web;"
                                  "DROP DATABASE IF EXISTS wipe_expected;");
}

QMap<QString, QString> TestCharacterDeleter::checksums(const TestServer &server, const QString &database)
{
    return TestServers::tableChecksums(server, database, allTables());
}

// Copies into wipe_expected what must remain after wiping those worlds.
void TestCharacterDeleter::snapshotExpected(const QList<int> &worldIds)
{
    const QString ids = worldIds.isEmpty() ? QStringLiteral("NULL") : idListText(worldIds);
    QVERIFY(TestServers::copySurvivors(m_server, kDb, kExpected,
                                       QStringLiteral("SELECT charguid FROM %1.t_char WHERE zoneworldid IN (%2)").arg(kDb, ids), allTables()));
}

qint64 TestCharacterDeleter::sessionDeletes()
{
    QSqlQuery query(DatabaseManager::instance()->database());
    qint64 statements = 0;
    if (!query.exec(QStringLiteral("SHOW SESSION STATUS WHERE Variable_name IN ('Com_delete', 'Com_delete_multi')")))
        return -1;
    while (query.next())
        statements += query.value(1).toLongLong();
    return statements;
}

void TestCharacterDeleter::catalogueMatchesTheSchema()
{
    // The lists name real tables of the game's schema, with the columns their users rely on.
    const QString columns = TestServers::querySql(
        m_server, QStringLiteral("SELECT CONCAT(table_name, '.', column_name) FROM information_schema.columns WHERE table_schema = '%1'").arg(kDb));
    const QStringList have = columns.split(QLatin1Char('\n'));
    QCOMPARE(QSet<QString>(characterDeleteTables.cbegin(), characterDeleteTables.cend()),
             QSet<QString>(mergeCharacterTables.cbegin(), mergeCharacterTables.cend()));
    for (const QString &table : characterDeleteTables)
        QVERIFY2(have.contains(table + QStringLiteral(".charguid")), qPrintable(table));
    for (const QString &table : worldColumnTables)
        QVERIFY2(have.contains(table + QStringLiteral(".world")), qPrintable(table));
    for (const DuplicateRepairTable &repair : duplicateRepairSpecs) {
        const QStringList names = (repair.keyColumns + QStringLiteral(", ") + repair.extraColumns).split(QStringLiteral(", "));
        for (const QString &column : names + QStringList{QStringLiteral("aid")})
            QVERIFY2(have.contains(repair.tableName + QLatin1Char('.') + column), qPrintable(repair.tableName + QLatin1Char('.') + column));
    }
}

void TestCharacterDeleter::nothingToDeleteTouchesNothing_data()
{
    QTest::addColumn<QList<int>>("worlds");
    QTest::addColumn<bool>("connected");
    QTest::newRow("not connected") << QList<int>({1}) << false;
    QTest::newRow("empty list") << QList<int>() << true;
    QTest::newRow("worlds without characters") << QList<int>({99, 5}) << true;
}

void TestCharacterDeleter::nothingToDeleteTouchesNothing()
{
    QFETCH(QList<int>, worlds);
    QFETCH(bool, connected);
    const QMap<QString, QString> before = checksums(m_server, kDb);
    if (!connected)
        DatabaseManager::instance()->disconnectFromDatabase();
    const qint64 deletesBefore = connected ? sessionDeletes() : 0;
    Recorder recorder;
    CharacterDeleter deleter(DatabaseManager::instance()->database(), recorder.context);
    QCOMPARE(deleter.deleteByZoneWorldIds(worlds, &recorder.deleted), connected);
    QCOMPARE(recorder.deleted, 0);
    QCOMPARE(deleter.error().isEmpty(), connected);
    if (connected)
        QCOMPARE(sessionDeletes(), deletesBefore);
    QVERIFY(DatabaseManager::instance()->connectToDatabase(m_server.hostConfig(kDb)));
    QCOMPARE(checksums(m_server, kDb), before);
}

void TestCharacterDeleter::wipesZonesExactly_data()
{
    QTest::addColumn<QList<int>>("worlds");
    QTest::addColumn<int>("characters");
    // Run in this order on one database: each wipe checks what the earlier ones left.
    QTest::newRow("1 character") << QList<int>({4}) << 1;
    QTest::newRow("500 characters") << QList<int>({1}) << 500;
    QTest::newRow("501 characters") << QList<int>({2}) << 501;
    QTest::newRow("1200 characters, a world given twice") << QList<int>({3, 3}) << 1200;
}

void TestCharacterDeleter::wipesZonesExactly()
{
    QFETCH(QList<int>, worlds);
    QFETCH(int, characters);
    snapshotExpected(worlds);

    // Rows each step should remove, counted before the wipe.
    QMap<QString, int> expectedCounts;
    const QString doomed = QStringLiteral("(SELECT charguid FROM %1.doomed)").arg(kExpected);
    for (const QString &table : characterDeleteTables + QStringList{QStringLiteral("t_char")}) {
        expectedCounts.insert(table, TestServers::querySql(
            m_server, QStringLiteral("SELECT COUNT(*) FROM %1 WHERE charguid IN %2").arg(table, doomed), kDb).toInt());
    }
    const int reverse = TestServers::querySql(
        m_server, QStringLiteral("SELECT COUNT(*) FROM t_relation WHERE fguid IN %1 AND charguid NOT IN %1").arg(doomed), kDb).toInt();
    QVERIFY(reverse > 0 || characters < 10);
    QCOMPARE(expectedCounts.value(QStringLiteral("t_char")), characters);

    const qint64 deletesBefore = sessionDeletes();
    Recorder recorder;
    CharacterDeleter deleter(DatabaseManager::instance()->database(), recorder.context);
    TestServers::recordStatements(m_server, true);
    QVERIFY(deleter.deleteByZoneWorldIds(worlds, &recorder.deleted));
    TestServers::recordStatements(m_server, false);
    const qint64 statements = sessionDeletes() - deletesBefore;
    QCOMPARE(TestServers::statementsNamingATemporaryTableTwice(m_server), QStringList());
    QCOMPARE(recorder.deleted, characters);
    QCOMPARE(checksums(m_server, kDb), checksums(m_server, kExpected));

    // 27 steps in order, one statement each (bound ids up to 500, a joined id table beyond), each logging its count.
    QCOMPARE(statements, qint64(27));
    QCOMPARE(recorder.steps.size(), 27);
    QVERIFY(std::is_sorted(recorder.steps.cbegin(), recorder.steps.cend()) && recorder.steps.last() == 27);
    const QStringList &logs = recorder.logs;
    qint64 total = reverse;
    for (const QString &table : characterDeleteTables + QStringList{QStringLiteral("t_char")}) {
        QVERIFY2(logs.contains(QStringLiteral("  删除 %1: %2 条记录").arg(table).arg(expectedCounts.value(table))), qPrintable(table));
        total += expectedCounts.value(table);
    }
    QCOMPARE(logs.at(27), QStringLiteral("  清理 t_relation(反向关系): %1 条记录").arg(reverse));
    QVERIFY(logs.contains(QStringLiteral("删除完成！共删除 %1 条记录").arg(total)));
}

void TestCharacterDeleter::failureInLastStepRollsBackEverything()
{
    QVERIFY(TestServers::runSql(m_server,
        "CREATE TRIGGER t_char_guard BEFORE DELETE ON t_char FOR EACH ROW "
        "SIGNAL SQLSTATE '45000' SET MESSAGE_TEXT = 'characters are protected';", kDb));
    const QMap<QString, QString> before = checksums(m_server, kDb);
    Recorder recorder;
    CharacterDeleter deleter(DatabaseManager::instance()->database(), recorder.context);
    QVERIFY(!deleter.deleteByZoneWorldIds({6}, &recorder.deleted));
    QVERIFY(TestServers::runSql(m_server, "DROP TRIGGER t_char_guard;", kDb));

    QCOMPARE(recorder.deleted, 0);
    QVERIFY2(deleter.error().stored().contains(QStringLiteral("characters are protected")), qPrintable(deleter.error()));
    QCOMPARE(checksums(m_server, kDb), before);
}

void TestCharacterDeleter::olderDeploymentSkipsMissingTables()
{
    QVERIFY(TestServers::loadAndConnect(&m_server, TestServers::smallSample(QStringLiteral("wipe_old"), {1, 2}, 30)));
    QVERIFY(TestServers::runSql(m_server, "DROP TABLE t_di4shop, t_relation;", QStringLiteral("wipe_old")));
    Recorder recorder;
    CharacterDeleter deleter(DatabaseManager::instance()->database(), recorder.context);
    QVERIFY(deleter.deleteByZoneWorldIds({1}, &recorder.deleted));
    QCOMPARE(recorder.deleted, 30);
    QCOMPARE(recorder.logs.filter(QStringLiteral("表不存在")),
             QStringList({QStringLiteral("  跳过 t_di4shop: 表不存在"), QStringLiteral("  跳过 t_relation: 表不存在")}));
    // World 1 is gone from every table that exists; world 2 keeps its rows.
    QCOMPARE(TestServers::querySql(m_server, QStringLiteral("SELECT (SELECT COUNT(*) FROM t_iteminfo WHERE charguid NOT IN (SELECT charguid FROM t_char)),"
                                                            "(SELECT COUNT(*) FROM t_char), (SELECT COUNT(*) > 0 FROM t_skill)"), QStringLiteral("wipe_old")),
             QStringLiteral("0\t30\t1"));
}

void TestCharacterDeleter::failedCharacterQueryIsAFailure()
{
    // The session is still on wipe_old; its t_char loses the world column.
    QVERIFY(TestServers::runSql(m_server, "ALTER TABLE t_char CHANGE zoneworldid zone INT NOT NULL;", QStringLiteral("wipe_old")));
    Recorder recorder;
    CharacterDeleter deleter(DatabaseManager::instance()->database(), recorder.context);
    QVERIFY(!deleter.deleteByZoneWorldIds({2}, &recorder.deleted));
    QVERIFY(recorder.steps.isEmpty());
    QVERIFY2(deleter.error().stored().contains(QStringLiteral("zoneworldid")), qPrintable(deleter.error()));
    QVERIFY(DatabaseManager::instance()->connectToDatabase(m_server.hostConfig(kDb)));
    TestServers::runSql(m_server, "DROP DATABASE wipe_old; DROP DATABASE wipe_old_web;");
}

QTEST_MAIN(TestCharacterDeleter)
#include "tst_characterdeleter.moc"
