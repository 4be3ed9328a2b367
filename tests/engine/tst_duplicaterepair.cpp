#include "db/databasemanager.h"
#include "engine/characterdeleter.h"
#include "engine/charactertables.h"
#include "testservers.h"

#include <QSignalSpy>
#include <QSqlQuery>
#include <QtTest>

namespace {
const QString kDb = QStringLiteral("repair_db");
const int kSkills = 900001;    // duplicates in t_skill and t_xinfa
const int kExterior = 900002;  // duplicates only in t_exterior
const int kClean = 900003;

QStringList allTables()
{
    QStringList tables;
    for (const DuplicateRepairTable &repair : duplicateRepairSpecs)
        tables.append(repair.tableName);
    return tables;
}
} // namespace

class TestDuplicateRepair : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void noDuplicatesOpensNoTransaction();
    void failingReinsertRollsBackEverything();
    void keepsOneRowPerKeyWithEveryColumn();
    void compositeKeyOnly();

private:
    QString query(const QString &sql) { return TestServers::querySql(m_server, sql, kDb); }
    qint64 sessionStatus(const char *name);

    TestServer m_server;
};

void TestDuplicateRepair::initTestCase()
{
    QVERIFY(TestServers::loadAndConnect(&m_server, TestServers::smallSample(kDb, {1}, 20)));

    // A deployment's t_skill: more columns than the repair names, and NULL payloads.
    const QByteArray hex = TestServers::allByteValues().toHex();
    QVERIFY(TestServers::runSql(m_server,
        "ALTER TABLE t_skill MODIFY sktime INT NULL, ADD isvalid TINYINT DEFAULT NULL, "
        "ADD dbversion INT NOT NULL, ADD note VARBINARY(300) NOT NULL, ADD label VARCHAR(300) CHARACTER SET latin1 NULL;"
        "INSERT INTO t_skill (aid, charguid, skid, sktime, isvalid, dbversion, note, label) VALUES "
        "(5000005, 900001, 100, 11, 1, 7, UNHEX('" + hex + "'), UNHEX('" + hex + "')),"
        "(5000006, 900001, 50, NULL, NULL, 8, 'b', NULL),"
        "(5000007, 900001, 100, 22, 0, 9, 'c', 'c'),"
        "(5000008, 900001, 300, 33, 1, 10, 'd', 'd'),"
        "(5000009, 900001, 100, 44, 0, 11, 'e', 'e'),"
        "(5000010, 900003, 100, 1, 1, 1, 'x', 'x');"
        "INSERT INTO t_xinfa (charguid, xinfaid, xinfalvl) VALUES (900001, 3, 1), (900001, 3, 2);"
        "INSERT INTO t_exterior (charguid, exterior_type, exterior_id, lefttime, redpoint) VALUES "
        "(900002, 1, 5, 10, 0), (900002, 2, 5, 20, 0), (900002, 1, 5, 30, 1), (900002, 1, 4, 40, 0);",
        kDb));
}

void TestDuplicateRepair::cleanupTestCase()
{
    DatabaseManager::instance()->disconnectFromDatabase();
    TestServers::runSql(m_server, "DROP DATABASE IF EXISTS repair_db; DROP DATABASE IF EXISTS repair_db_web;");
}

qint64 TestDuplicateRepair::sessionStatus(const char *name)
{
    QSqlQuery status(DatabaseManager::instance()->database());
    if (!status.exec(QStringLiteral("SHOW SESSION STATUS LIKE '%1'").arg(QLatin1String(name))) || !status.next())
        return -1;
    return status.value(1).toLongLong();
}

void TestDuplicateRepair::noDuplicatesOpensNoTransaction()
{
    CharacterDeleter deleter(this);
    QSignalSpy logs(&deleter, &CharacterDeleter::logMessage);
    QSignalSpy done(&deleter, &CharacterDeleter::singleRepairCompleted);
    const qint64 begins = sessionStatus("Com_begin");
    deleter.repairCharacterDuplicates(kClean);
    QCOMPARE(sessionStatus("Com_begin"), begins);
    QCOMPARE(done.at(0), QVariantList({true, kClean, 0}));
}

void TestDuplicateRepair::failingReinsertRollsBackEverything()
{
    const QMap<QString, QString> before = TestServers::tableChecksums(m_server, kDb, allTables());
    QVERIFY(TestServers::runSql(m_server,
        "CREATE TRIGGER skill_guard BEFORE INSERT ON t_skill FOR EACH ROW "
        "SIGNAL SQLSTATE '45000' SET MESSAGE_TEXT = 'skills are frozen';", kDb));
    CharacterDeleter deleter(this);
    QSignalSpy errors(&deleter, &CharacterDeleter::errorOccurred);
    QSignalSpy done(&deleter, &CharacterDeleter::singleRepairCompleted);
    deleter.repairCharacterDuplicates(kSkills);
    QVERIFY(TestServers::runSql(m_server, "DROP TRIGGER skill_guard;", kDb));
    QCOMPARE(done.at(0), QVariantList({false, kSkills, 0}));
    QVERIFY(errors.at(0).at(0).toString().contains(QStringLiteral("skills are frozen")));
    QCOMPARE(TestServers::tableChecksums(m_server, kDb, allTables()), before);
}

void TestDuplicateRepair::keepsOneRowPerKeyWithEveryColumn()
{
    const QString columns = QStringLiteral(
        "charguid, skid, IFNULL(sktime, 'N'), IFNULL(isvalid, 'N'), dbversion, HEX(note), IFNULL(HEX(label), 'N')");
    const QString expected = query(QStringLiteral("SELECT %1 FROM t_skill WHERE aid IN (5000005, 5000006, 5000008) "
                                                  "ORDER BY skid").arg(columns));
    const QString otherBefore = query(QStringLiteral("SELECT * FROM t_skill WHERE charguid <> 900001 ORDER BY aid"));
    CharacterDeleter deleter(this);
    QSignalSpy logs(&deleter, &CharacterDeleter::logMessage);
    QSignalSpy done(&deleter, &CharacterDeleter::singleRepairCompleted);
    deleter.repairCharacterDuplicates(kSkills);
    QCOMPARE(done.at(0), QVariantList({true, kSkills, 3}));
    QCOMPARE(query(QStringLiteral("SELECT %1 FROM t_skill WHERE charguid = 900001 ORDER BY aid").arg(columns)), expected);
    QCOMPARE(query(QStringLiteral("SELECT COUNT(*) FROM t_skill WHERE charguid = 900001 AND aid > 5000010")),
             QStringLiteral("3"));
    QCOMPARE(query(QStringLiteral("SELECT * FROM t_skill WHERE charguid <> 900001 ORDER BY aid")), otherBefore);
    QCOMPARE(query(QStringLiteral("SELECT GROUP_CONCAT(xinfalvl) FROM t_xinfa WHERE charguid = 900001")),
             QStringLiteral("1"));
    QCOMPARE(logs.at(2).at(0).toString(), QStringLiteral("[技能] 删除 2 条重复，重排 3 条记录"));
}

void TestDuplicateRepair::compositeKeyOnly()
{
    QStringList others = allTables();
    others.removeAll(QStringLiteral("t_exterior"));
    const QMap<QString, QString> before = TestServers::tableChecksums(m_server, kDb, others);
    CharacterDeleter deleter(this);
    QSignalSpy done(&deleter, &CharacterDeleter::singleRepairCompleted);
    deleter.repairCharacterDuplicates(kExterior);
    QCOMPARE(done.at(0), QVariantList({true, kExterior, 1}));
    QCOMPARE(query(QStringLiteral("SELECT GROUP_CONCAT(CONCAT(exterior_type, ':', exterior_id, ':', lefttime) ORDER BY aid) "
                                  "FROM t_exterior WHERE charguid = 900002")),
             QStringLiteral("1:4:40,1:5:10,2:5:20"));
    QCOMPARE(TestServers::tableChecksums(m_server, kDb, others), before);
}

QTEST_MAIN(TestDuplicateRepair)
#include "tst_duplicaterepair.moc"
