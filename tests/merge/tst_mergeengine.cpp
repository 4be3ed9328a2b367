#include "base/debuglog.h"
#include "db/legacytext.h"
#include "db/databasemanager.h"
#include "engine/charactertables.h"
#include "merge/mergeengine.h"
#include "mergefixture.h"
#include "testservers.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

namespace {
using namespace MergeFixture;

QByteArray allBytes()
{
    return TestServers::allByteValues();
}

QByteArray ids(const QList<int> &list)
{
    return idListText(list).toLatin1();
}

struct Run
{
    bool ok = false;
    QStringList log;
    MergeReport report;
};
} // namespace

class TestMergeEngine : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void renamesClashingNames_data();
    void renamesClashingNames();
    void mergesZoneByteForByte_data();
    void mergesZoneByteForByte();
    void imperfectTargetIsReportedNotHidden();
    void abortsBeforeChangingAnything_data();
    void abortsBeforeChangingAnything();
    void failuresRollEverythingBack_data();
    void failuresRollEverythingBack();
    void cleansAndFillsAsCounted();
    void secondRunIsRefusedUnlessAgain();
    void runCarriesOutTheConfirmedPlan_data();
    void runCarriesOutTheConfirmedPlan();
    void mergesWhileTheGameRuns();

private:
    void loadFixture(int sourceWorld, int sourceFirstGuid);
    MergeSettings settings(int mainWorld, int subWorld) const;
    // `watch` sees the run reach each of its stages as it starts ("合并角色", then the related
    // tables by name), and may cancel the run there.
    Run merge(const MergeSettings &settings, const std::function<void(const QString &, std::atomic_bool &)> &watch = {});
    QString mainQuery(const QString &sql) { return TestServers::querySql(m_main, sql, kMainDb); }
    QString subQuery(const QString &sql) { return TestServers::querySql(m_sub, sql, kSubDb); }
    QStringList tableRows(const TestServer &server, const QString &database, const QString &table,
                          const QList<int> &owners, const QMap<int, int> &map, int world);
    static QMap<QString, QString> checksums(const TestServer &server, const QStringList &databases)
    {
        return TestServers::databaseChecksums(server, databases);
    }

    TestServer m_main;
    TestServer m_sub;
};

void TestMergeEngine::initTestCase()
{
    m_main = TestServers::shared(0);
    m_sub = TestServers::shared(1);
    QVERIFY(m_main.isValid() && m_sub.isValid());
}

void TestMergeEngine::loadFixture(int sourceWorld, int sourceFirstGuid)
{
    QVERIFY(MergeFixture::load(m_main, m_sub, sourceWorld, sourceFirstGuid));
}

MergeSettings TestMergeEngine::settings(int mainWorld, int subWorld) const
{
    MergeSettings s;
    s.target = {m_main.host, m_main.port, QStringLiteral("root"), m_main.password, kMainDb, kMainWeb};
    s.source = {m_sub.host, m_sub.port, QStringLiteral("root"), m_sub.password, kSubDb, kSourceWeb};
    s.targetWorldId = mainWorld;
    s.sourceWorldId = subWorld;
    return s;
}

Run TestMergeEngine::merge(const MergeSettings &settings, const std::function<void(const QString &, std::atomic_bool &)> &watch)
{
    Run run;
    std::atomic_bool cancel{false};
    OperationContext context;
    context.onLog = [&](const QString &line) { run.log.append(line); };
    QString reached;
    context.onProgress = [&](const QString &stage, qint64, qint64) {
        if (watch && stage != reached)
            watch(stage, cancel);
        reached = stage;
    };
    context.cancelFlag = &cancel;
    run.report = CrossServerMerge::run(settings, context);
    run.ok = run.report.ok;
    return run;
}

// Every row of the owners' rows in `table`, as hex of each column, the owner (and a relation's
// partner) mapped; world columns left out and checked apart.
QStringList TestMergeEngine::tableRows(const TestServer &server, const QString &database, const QString &table,
                                       const QList<int> &owners, const QMap<int, int> &map, int world)
{
    const QStringList columns = TestServers::querySql(server, QStringLiteral(
        "SELECT COLUMN_NAME FROM information_schema.COLUMNS WHERE TABLE_SCHEMA = '%1' AND TABLE_NAME = '%2' "
        "AND COLUMN_NAME NOT IN ('aid', 'charguid', 'fguid', 'fname') ORDER BY ORDINAL_POSITION").arg(database, table)).split(QLatin1Char('\n'));
    QStringList parts;
    for (const QString &column : columns) {
        if (column == QLatin1String("world") && worldColumnTables.contains(table))
            parts << (world < 0 ? QStringLiteral("'W'") : QStringLiteral("IF(world = %1, 'W', HEX(world))").arg(world));
        else if (table != QLatin1String("t_char") || !QStringList{"zoneworldid", "charname", "accname"}.contains(column))
            parts << QStringLiteral("IFNULL(HEX(CAST(`%1` AS BINARY)), 'N')").arg(column);
    }
    const bool relation = table == QLatin1String("t_relation");
    const QString out = TestServers::querySql(server, QStringLiteral("SELECT charguid, %1, CONCAT_WS('|', %2) FROM %3 WHERE charguid IN (%4)")
        .arg(relation ? QStringLiteral("fguid") : QStringLiteral("0"), parts.join(QStringLiteral(", ")), table, QString::fromLatin1(ids(owners))),
        database);
    QStringList rows;
    for (const QString &line : out.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        const QStringList f = line.split(QLatin1Char('\t'));
        const int owner = f.at(0).toInt();
        int partner = f.at(1).toInt();
        if (relation && !map.isEmpty()) {
            if (!map.contains(partner))
                continue;  // a partner outside the merge is not copied
            partner = map.value(partner);
        }
        rows << QStringLiteral("%1 %2 %3").arg(map.isEmpty() ? owner : map.value(owner)).arg(partner).arg(f.at(2));
    }
    rows.sort();
    return rows;
}

void TestMergeEngine::renamesClashingNames_data()
{
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<QByteArrayList>("taken");
    QTest::addColumn<bool>("atRule");
    QTest::addColumn<int>("maxLength");
    QTest::addColumn<QByteArray>("expected");
    QTest::addColumn<bool>("shortened");
    const QByteArray gbkAt = encodeGbk(QStringLiteral("侍")) ;  // a GBK character whose trail byte is "@"
    QTest::newRow("suffix") << QByteArray("abc") << QByteArrayList{} << false << 50 << QByteArray("abc_S2") << false;
    QTest::newRow("then _1, _2") << QByteArray("abc") << QByteArrayList{"abc_S2", "abc_S2_1"} << false << 50 << QByteArray("abc_S2_2") << false;
    QTest::newRow("before the @") << QByteArray("bob@x.com") << QByteArrayList{"bob_S2@x.com"} << true << 50 << QByteArray("bob_S2_1@x.com") << false;
    QTest::newRow("leading @") << QByteArray("@bob") << QByteArrayList{} << true << 50 << QByteArray("@bob_S2") << false;
    QTest::newRow("character names ignore @") << QByteArray("a@b") << QByteArrayList{} << false << 50 << QByteArray("a@b_S2") << false;
    QTest::newRow("GBK trail byte is no @") << QByteArray("x" + gbkAt + "y") << QByteArrayList{} << true << 50 << QByteArray("x" + gbkAt + "y_S2") << false;
    QTest::newRow("cut at a character") << QByteArray("\xbd\xa3\xd0\xc4" "ab") << QByteArrayList{} << false << 6
                                         << QByteArray("\xbd\xa3_S2") << true;
}

void TestMergeEngine::renamesClashingNames()
{
    QFETCH(QByteArray, name);
    QFETCH(QByteArrayList, taken);
    QFETCH(bool, atRule);
    QFETCH(int, maxLength);
    QFETCH(QByteArray, expected);
    QFETCH(bool, shortened);
    bool cut = false;
    const QByteArray result = MergeNames::resolve(name, "_S2", atRule, true, maxLength,
                                                  [&](const QByteArray &n) { return taken.contains(n); }, &cut);
    QCOMPARE(result, expected);
    QCOMPARE(cut, shortened);
}

void TestMergeEngine::mergesZoneByteForByte_data()
{
    // The target's world 1 holds ids 1-20 and world 2 ids 1000001-1000020, with three world-2
    // characters at 800001-800004 that bound world 1's next ids. The source's characters
    // 900001-900008 lie behind them, where no counter will reach: they keep their ids.
    QTest::addColumn<int>("mainWorld");
    QTest::addColumn<int>("subWorld");
    QTest::addColumn<int>("sourceFirstGuid");
    QTest::addColumn<bool>("keepsFree");
    // Rows go as files the target loads, or, where it refuses them, as statements.
    QTest::addColumn<bool>("files");
    QTest::newRow("same world, every id new") << 1 << 1 << 1 << false << true;
    QTest::newRow("taken ids, into the highest range") << 2 << 5 << 1 << true << true;
    QTest::newRow("world 1's next ids, into the highest range") << 2 << 5 << 5000 << true << true;
    QTest::newRow("world 2's next ids, into the lowest range, files refused") << 1 << 5 << 1000021 << true << false;
}

void TestMergeEngine::mergesZoneByteForByte()
{
    QFETCH(int, mainWorld);
    QFETCH(int, subWorld);
    QFETCH(int, sourceFirstGuid);
    QFETCH(bool, keepsFree);
    QFETCH(bool, files);
    loadFixture(subWorld, sourceFirstGuid);
    QVERIFY(TestServers::runSql(m_main, files ? "SET GLOBAL local_infile = 1;" : "SET GLOBAL local_infile = 0;"));
    const auto sourceBefore = checksums(m_sub, {kSubDb, kSourceWeb});
    const auto targetBefore = checksums(m_main, {kMainDb, kMainWeb});
    const int maxAid = mainQuery(QStringLiteral("SELECT MAX(aid) FROM t_char")).toInt();
    const QMap<int, WorldIds> counters = TestServers::worldIds(m_main, kMainDb);
    QMap<QString, int> countsBefore;
    for (const QString &table : mergeCharacterTables)
        countsBefore[table] = mainQuery(QStringLiteral("SELECT COUNT(*) FROM ") + table).toInt();

    for (const TestServer &server : {m_main, m_sub})
        TestServers::recordStatements(server, true);
    const Run run = merge(settings(mainWorld, subWorld));
    QVERIFY(TestServers::runSql(m_main, "SET GLOBAL local_infile = 1;"));
    for (const TestServer &server : {m_main, m_sub}) {
        TestServers::recordStatements(server, false);
        QCOMPARE(TestServers::statementsNamingATemporaryTableTwice(server), QStringList());
    }
    // Files on the native driver, every table; a refusal is asked once (ODBC never asks).
    const int loads = mainQuery(QStringLiteral("SELECT COUNT(*) FROM mysql.general_log WHERE argument LIKE 'LOAD DATA LOCAL INFILE%'")).toInt();
    if (TestServers::odbcRun())
        QCOMPARE(loads, 0);
    else if (files)
        QVERIFY2(loads > mergeCharacterTables.size(), qPrintable(QString::number(loads)));
    else
        QCOMPARE(loads, 1);
    QVERIFY2(run.ok, qPrintable(run.log.mid(run.log.size() - 8).join(QLatin1Char('\n'))));
    QVERIFY2(!run.report.hasLosses(), qPrintable(storedLines(run.report.lossLines()).join(QLatin1Char('\n'))));
    QCOMPARE(checksums(m_sub, {kSubDb, kSourceWeb}), sourceBefore);

    // Source characters in the order the engine read them, and what they became: the free ids
    // behind world 1's next ones are kept, every other one is the main world's next id in turn.
    const QList<int> source = TestServers::queryInts(
        m_sub, QStringLiteral("SELECT charguid FROM t_char WHERE zoneworldid = %1 AND isvalid = 1 ORDER BY charguid").arg(subWorld), kSubDb);
    const QList<int> merged = TestServers::queryInts(
        m_main, QStringLiteral("SELECT charguid FROM t_char WHERE aid > %1 ORDER BY aid").arg(maxAid), kMainDb);
    QCOMPARE(merged.size(), source.size());
    QCOMPARE(run.report.charactersMerged, source.size());
    QMap<int, int> map;
    qint64 next = counters.value(mainWorld).counter;
    for (int i = 0; i < source.size(); ++i) {
        map[source.at(i)] = merged.at(i);
        const bool kept = keepsFree && source.at(i) >= 900001 && source.at(i) <= 900008;
        QCOMPARE(merged.at(i), kept ? source.at(i) : int(++next));
    }
    QCOMPARE(TestServers::worldIds(m_main, kMainDb).value(mainWorld).counter, next);
    QCOMPARE(TestServers::idFaults(m_main, kMainDb, counters, mainWorld), QStringList());
    QCOMPARE(mainQuery(QStringLiteral("SELECT COUNT(*) FROM t_char WHERE aid > %1 AND zoneworldid <> %2").arg(maxAid).arg(mainWorld)), QStringLiteral("0"));

    // Every row of every table equals its source row but for the mapped columns.
    int dropped = 0;
    for (const QString &table : QStringList{QStringLiteral("t_char")} + mergeCharacterTables) {
        const QStringList expected = tableRows(m_sub, kSubDb, table, source, map, -1);
        const QStringList actual = tableRows(m_main, kMainDb, table, merged, {}, mainWorld);
        QCOMPARE(actual.size(), expected.size());
        QCOMPARE(actual, expected);
        if (table != QLatin1String("t_char"))
            QCOMPARE(mainQuery(QStringLiteral("SELECT COUNT(*) FROM ") + table).toInt(), countsBefore[table] + int(expected.size()));
        if (table == QLatin1String("t_relation"))
            dropped = int(subQuery(QStringLiteral("SELECT COUNT(*) FROM t_relation WHERE charguid IN (%1)").arg(QString::fromLatin1(ids(source)))).toInt() - expected.size());
    }
    QVERIFY(dropped >= 7);
    QCOMPARE(run.report.relationsDropped, dropped);
    // A relation keeps its partner's name, or names the partner as renamed in the target.
    const QString merged_ = QString::fromLatin1(ids(merged));
    QCOMPARE(mainQuery(QStringLiteral("SELECT COUNT(*) FROM t_relation r JOIN t_char c ON c.charguid = r.fguid WHERE r.charguid IN (%1) "
                                      "AND r.fname <> c.charname AND c.charname LIKE '%\\_S2%'").arg(merged_)), QStringLiteral("0"));
    QVERIFY(mainQuery(QStringLiteral("SELECT COUNT(*) FROM t_relation r JOIN t_char c ON c.charguid = r.fguid WHERE r.charguid IN (%1) "
                                     "AND r.fname = c.charname AND c.charname LIKE '%\\_S2%'").arg(merged_)).toInt() > 0);

    // Names: clashes get the suffix, then "_1"; a name too long for it is cut at a character.
    auto targetName = [&](int sourceGuid) {
        return QByteArray::fromHex(mainQuery(QStringLiteral("SELECT HEX(charname) FROM t_char WHERE charguid = %1").arg(map.value(sourceGuid))).toLatin1());
    };
    QCOMPARE(decodeGbk(targetName(900001)), QStringLiteral("剑心_S2_1"));
    QCOMPARE(decodeGbk(targetName(900002)), QString(23, QChar(0x5251)) + QStringLiteral("_S2"));
    QCOMPARE(targetName(900003), chunk(2));
    QCOMPARE(targetName(900008), QByteArray("\xE9\xA1\xE9\xA1_S2"));
    QVERIFY(run.log.contains(QStringLiteral("  剑心 -> 剑心_S2_1")));
    QCOMPARE(run.report.namesShortened, 1);

    // Accounts: renamed before the "@", and the characters follow, those whose accname has
    // another case too; text kept exactly.
    QCOMPARE(mainQuery(QStringLiteral("SELECT DISTINCT accname FROM t_char WHERE charguid IN (%1)")
                           .arg(QString::fromLatin1(ids({map.value(900001), map.value(900004)})))),
             QStringLiteral("bob_S2_1@x.com"));
    QCOMPARE(mainQuery(QStringLiteral("SELECT accname FROM t_char WHERE charguid = %1").arg(map.value(900008))), QStringLiteral("carol_S2"));
    QCOMPARE(TestServers::querySql(m_main, QStringLiteral("SELECT COUNT(*) FROM account WHERE name = 'carol_S2'"), kMainWeb), QStringLiteral("1"));
    QCOMPARE(TestServers::querySql(m_main, QStringLiteral("SELECT HEX(user_name), HEX(address), reg_time, is_online FROM account WHERE name = 'bob_S2_1@x.com'"), kMainWeb),
             QStringLiteral("%1\t%2\t2025-01-02 03:04:05\t0").arg(QString::fromLatin1(QStringLiteral("玩家").toUtf8().toHex().toUpper()),
                                                                 QString::fromLatin1(QStringLiteral("路🙂").toUtf8().toHex().toUpper())));
    const int accounts = TestServers::querySql(m_sub, QStringLiteral("SELECT COUNT(*) FROM account"), kSourceWeb).toInt();
    QCOMPARE(TestServers::querySql(m_main, QStringLiteral("SELECT COUNT(*) FROM account WHERE id > 23"), kMainWeb).toInt(), accounts);

    // A FLOAT keeps every bit (its own text has six digits: 16777218 would become 16777200).
    QCOMPARE(mainQuery(QStringLiteral("SELECT COUNT(*) FROM t_iteminfo WHERE weight = 16777218 AND charguid IN (%1)").arg(merged_)),
             QStringLiteral("7"));

    // The undo file takes the target back: characters, rows, accounts and the counter.
    QCOMPARE(TestServers::applyUndo(m_main, kMainDb, run.report.undoFile), QString());
    QCOMPARE(checksums(m_main, {kMainDb, kMainWeb}), targetBefore);
    // Applied again after the game has handed a merged id out anew, it deletes nobody.
    mainQuery(QStringLiteral("START TRANSACTION; CALL create_char(%1, @g); COMMIT;").arg(mainWorld));
    const auto created = checksums(m_main, {kMainDb, kMainWeb});
    const QString applied = QFileInfo(run.report.undoFile).absolutePath() + QStringLiteral("/applied/") + QFileInfo(run.report.undoFile).fileName();
    QVERIFY(!TestServers::applyUndo(m_main, kMainDb, applied).isEmpty());
    QCOMPARE(checksums(m_main, {kMainDb, kMainWeb}), created);
}

void TestMergeEngine::imperfectTargetIsReportedNotHidden()
{
    loadFixture(5, 5000);
    // The target: strict, with an extra column and without a table the source fills; the
    // source: a column and a table fewer. What the target lacks is reported, the rest merged.
    QVERIFY(TestServers::runSql(m_main, "USE merge_main; SET GLOBAL sql_mode = 'STRICT_ALL_TABLES,NO_ZERO_DATE';"
                                        "ALTER TABLE t_skill ADD COLUMN isvalid TINYINT NULL DEFAULT NULL; DROP TABLE t_seckill;"));
    QVERIFY(TestServers::runSql(m_sub, "USE merge_sub; ALTER TABLE t_xinfa ADD COLUMN legacy INT NOT NULL DEFAULT 7; DROP TABLE t_talent;"
                                       "INSERT INTO t_seckill (charguid, seckillid, killcount) VALUES (900001, 1, 1);"));
    const Run run = merge(settings(2, 5));
    QVERIFY2(run.ok, qPrintable(run.log.join(QLatin1Char('\n'))));
    QCOMPARE(run.report.tablesSkipped, QStringList{QStringLiteral("t_seckill")});
    QVERIFY(run.log.contains(QStringLiteral("主区没有、因而未拷贝的表: 1 个 (t_seckill)")));
    QCOMPARE(mainQuery(QStringLiteral("SELECT COUNT(*) FROM t_skill WHERE charguid >= 1000021 AND isvalid IS NOT NULL")), QStringLiteral("0"));
    QVERIFY(mainQuery(QStringLiteral("SELECT COUNT(*) FROM t_xinfa WHERE charguid >= 1000021")).toInt() > 0);

    // One row the target refuses: nothing of the merge stays, and the log names the table.
    loadFixture(5, 5000);
    QByteArray source = "USE merge_sub; INSERT INTO t_shengwang (charguid, swid, swpoint) VALUES ";
    for (int i = 0; i < 500; ++i)
        source += (i ? ",(900003," : "(900003,") + QByteArray::number(1000 + i) + (i == 250 ? ",-1)" : ",5)");
    QVERIFY(TestServers::runSql(m_sub, source + ";"));
    QVERIFY(TestServers::runSql(m_main, "ALTER TABLE t_shengwang ADD CONSTRAINT ok_points CHECK (swpoint >= 0);", kMainDb));
    const auto before = checksums(m_main, {kMainDb, kMainWeb});
    const Run refused = merge(settings(2, 5));
    TestServers::runSql(m_main, "SET GLOBAL sql_mode = DEFAULT;");
    QVERIFY(!refused.ok);
    QCOMPARE(checksums(m_main, {kMainDb, kMainWeb}), before);
    QVERIFY2(!refused.log.filter(QStringLiteral("表 t_shengwang 合并失败")).isEmpty(), qPrintable(refused.log.join(QLatin1Char('\n'))));
}

void TestMergeEngine::abortsBeforeChangingAnything_data()
{
    QTest::addColumn<QString>("failure");
    QTest::addColumn<QByteArray>("targetSql");
    QTest::addColumn<QString>("logged");
    QTest::newRow("server unreachable") << QStringLiteral("unreachable") << QByteArray() << QString();
    QTest::newRow("dump program missing") << QStringLiteral("missing") << QByteArray() << QStringLiteral("mysqldump 启动失败：");
    QTest::newRow("dump fails") << QStringLiteral("fails") << QByteArray() << QStringLiteral("备份失败（merge_main）：exit=3 access denied");
    // Refused by the preflight, before a single statement that changes anything.
    QTest::newRow("into itself") << QStringLiteral("itself") << QByteArray()
                                 << QStringLiteral("拒绝合区：主区和副区是同一个角色库 merge_main，不能把它合并到自身");
    QTest::newRow("main world without counter") << QStringLiteral("world 99") << QByteArray()
                                                << QStringLiteral("拒绝合区：主区 WorldID 99 在 t_var 中没有计数器（已有: 1, 2）");
    QTest::newRow("required column the source lacks") << QString() << QByteArray("ALTER TABLE t_char ADD regflag INT NOT NULL;")
                                                       << QStringLiteral("拒绝合区：主区表 t_char 的字段 regflag 必须有值");
    QTest::newRow("clean-up level out of range") << QStringLiteral("level 151") << QByteArray()
                                                 << QStringLiteral("拒绝合区：清理等级必须为1-150之间的数字");
    // World 9's ids lie above world 2's counter; world 1 has no free id left before 800001.
    QTest::newRow("main world's ids used up") << QStringLiteral("world 9 into 1") << QByteArray("UPDATE t_var SET maxcharguid = 800000 WHERE worldid = 1;")
                                              << QStringLiteral("拒绝合区：WorldID 1 的角色ID不足");
}

void TestMergeEngine::abortsBeforeChangingAnything()
{
    QFETCH(QString, failure);
    QFETCH(QByteArray, targetSql);
    QFETCH(QString, logged);
    loadFixture(5, 5000);
    if (!targetSql.isEmpty())
        QVERIFY(TestServers::runSql(m_main, targetSql, kMainDb));
    const auto mainBefore = checksums(m_main, {kMainDb, kMainWeb});
    const auto subBefore = checksums(m_sub, {kSubDb, kSourceWeb});
    MergeSettings s = settings(failure == QLatin1String("world 9 into 1") ? 1 : 2, failure == QLatin1String("world 9 into 1") ? 9 : 5);
    s.targetWorldId = failure == QLatin1String("world 99") ? 99 : s.targetWorldId;
    if (failure == QLatin1String("itself"))
        s.source = s.target;
    if (failure == QLatin1String("level 151")) {
        s.cleanLowLevel = true;
        s.cleanLevel = 151;
    }
    QTemporaryDir dir;
    const QString record = dir.filePath(QStringLiteral("arguments"));
    if (failure == QLatin1String("unreachable")) {
        s.source.port = 1;
    } else if (failure == QLatin1String("missing") || failure == QLatin1String("fails")) {
        s.backupFirst = true;
        s.dumpProgram = dir.filePath(QStringLiteral("mysqldump"));
        if (failure == QLatin1String("fails")) {
            // Records its arguments and the option file it was given, then fails.
            QFile script(s.dumpProgram);
            QVERIFY(script.open(QIODevice::WriteOnly));
            script.write("#!/bin/sh\nprintf '%s\\n' \"$@\" > '" + record.toLocal8Bit() + "'\ncat \"${1#--defaults-extra-file=}\" >> '"
                         + record.toLocal8Bit() + "'\necho 'access denied' >&2\nexit 3\n");
            script.close();
            script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        }
    }
    const Run run = merge(s);
    QVERIFY(!run.ok);
    QCOMPARE(checksums(m_main, {kMainDb, kMainWeb}), mainBefore);
    QCOMPARE(checksums(m_sub, {kSubDb, kSourceWeb}), subBefore);
    QVERIFY2(logged.isEmpty() || !run.log.filter(logged).isEmpty(), qPrintable(run.log.mid(run.log.size() - 5).join(QLatin1Char('\n'))));
    if (failure == QLatin1String("unreachable")) {
        QCOMPARE(run.log.filter(QStringLiteral("连接 副区角色库 失败（尝试")).size(), 3);
    } else if (failure == QLatin1String("fails")) {
        QFile file(record);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray seen = file.readAll();
        const QByteArray arguments = seen.left(seen.indexOf("[client]"));
        QVERIFY(arguments.startsWith("--defaults-extra-file=") && arguments.endsWith("\nmerge_main\n"));
        QVERIFY(!arguments.contains(m_main.password.toUtf8()));
        QVERIFY(seen.contains(m_main.password.toUtf8()));  // the file held it while the tool ran
    }
}

void TestMergeEngine::failuresRollEverythingBack_data()
{
    QTest::addColumn<QString>("at");        // the point of the run that triggers the failure
    QTest::addColumn<QString>("failure");
    QTest::addColumn<QByteArray>("targetSql");
    QTest::newRow("cancelled in the related tables") << QStringLiteral("t_iteminfo") << QStringLiteral("cancel") << QByteArray();
    QTest::newRow("connection lost in the characters") << QStringLiteral("合并角色") << QStringLiteral("kill") << QByteArray();
    QTest::newRow("source lost before the characters") << QStringLiteral("合并角色") << QStringLiteral("kill source") << QByteArray();
    QTest::newRow("counter refused at the end") << QString() << QString()
        << QByteArray("CREATE TRIGGER counters BEFORE UPDATE ON t_var FOR EACH ROW SIGNAL SQLSTATE '45000' SET MESSAGE_TEXT = 'counters frozen';");
    QTest::newRow("target clean-up refused") << QString() << QStringLiteral("clean")
        << QByteArray("CREATE TRIGGER keep BEFORE DELETE ON t_char FOR EACH ROW SIGNAL SQLSTATE '45000' SET MESSAGE_TEXT = 'characters kept';");
}

// Whatever stops a run after the target's transaction has begun, the target stays as it was.
void TestMergeEngine::failuresRollEverythingBack()
{
    QFETCH(QString, at);
    QFETCH(QString, failure);
    QFETCH(QByteArray, targetSql);
    loadFixture(5, 1);  // taken ids: renumbered, so the counter moves at the end
    if (!targetSql.isEmpty())
        QVERIFY(TestServers::runSql(m_main, targetSql, kMainDb));
    const auto before = checksums(m_main, {kMainDb, kMainWeb});
    const auto sourceBefore = checksums(m_sub, {kSubDb, kSourceWeb});
    MergeSettings s = settings(2, 5);
    s.cleanLowLevel = true;  // the source's low-level characters stay while the merge has not committed
    const Run run = merge(s, [&](const QString &line, std::atomic_bool &cancel) {
        if (line != at)
            return;
        if (failure == QLatin1String("cancel")) {
            cancel = true;
            return;
        }
        // The server drops the merge's connections to the target, or those that read the source.
        const bool target = failure == QLatin1String("kill");
        const TestServer &server = target ? m_main : m_sub;
        const QString kills = TestServers::querySql(server, QStringLiteral("SELECT GROUP_CONCAT(CONCAT('KILL ', id, ';') SEPARATOR ' ') "
                                                                           "FROM information_schema.PROCESSLIST WHERE db = '%1'")
                                                                .arg(target ? kMainDb : kSubDb));
        QVERIFY(TestServers::runSql(server, kills.toUtf8()));
    });
    QVERIFY(!run.ok);
    QVERIFY(run.log.contains(QStringLiteral("主区事务已开始：合区完成前主区不会有任何改动")));
    QCOMPARE(checksums(m_main, {kMainDb, kMainWeb}), before);
    QCOMPARE(checksums(m_sub, {kSubDb, kSourceWeb}), sourceBefore);
    QCOMPARE(run.report.cancelled, failure == QLatin1String("cancel"));
}

void TestMergeEngine::cleansAndFillsAsCounted()
{
    // A newer target requires a column the source lacks; the operator allows the game's value.
    loadFixture(5, 5000);
    QVERIFY(TestServers::runSql(m_main, "ALTER TABLE t_char ADD regflag INT NOT NULL, ADD regnote VARCHAR(10) NOT NULL;", kMainDb));
    MergeSettings s = settings(2, 5);
    s.cleanLowLevel = true;
    s.cleanLevel = 10;
    s.fillMissingColumns = true;
    const MergePreflight preflight = CrossServerMerge::preview(s, {});
    QVERIFY(preflight.ok);
    QVERIFY(preflight.refusals.isEmpty() && preflight.lowLevelTarget > 0 && preflight.lowLevelSource > 0);
    const QString lowSub = subQuery(QStringLiteral("SELECT COUNT(*) FROM t_char WHERE zoneworldid = 5 AND isvalid = 1 AND level <= 10"));
    const int mergedBefore = mainQuery(QStringLiteral("SELECT COUNT(*) FROM t_char WHERE zoneworldid = 2")).toInt();
    const auto targetBefore = checksums(m_main, {kMainDb, kMainWeb});
    const auto sourceBefore = checksums(m_sub, {kSubDb, kSourceWeb});

    const Run run = merge(s);
    QVERIFY2(run.ok, qPrintable(run.log.mid(run.log.size() - 8).join(QLatin1Char('\n'))));
    // What the preflight counted is what happened, on both servers.
    QCOMPARE(lowSub.toInt(), preflight.lowLevelSource);
    QCOMPARE(subQuery(QStringLiteral("SELECT COUNT(*) FROM t_char WHERE zoneworldid = 5 AND isvalid = 1 AND level <= 10")), QStringLiteral("0"));
    QCOMPARE(mainQuery(QStringLiteral("SELECT COUNT(*) FROM t_char WHERE zoneworldid = 2 AND isvalid = 1 AND level <= 10")), QStringLiteral("0"));
    QCOMPARE(mainQuery(QStringLiteral("SELECT COUNT(*) FROM t_char WHERE zoneworldid = 2")).toInt(),
             mergedBefore - preflight.lowLevelTarget + preflight.characters);
    QCOMPARE(run.report.charactersMerged, preflight.characters);
    QCOMPARE(mainQuery(QStringLiteral("SELECT COUNT(*) FROM t_char WHERE zoneworldid = 2 AND accname <> 'x' AND (regflag <> 0 OR regnote <> '')")),
             QStringLiteral("0"));
    // No row of a deleted character is left, on either side.
    for (const auto &[server, database] : {std::pair{m_main, kMainDb}, std::pair{m_sub, kSubDb}}) {
        for (const QString &table : mergeCharacterTables)
            QCOMPARE(TestServers::querySql(server, QStringLiteral("SELECT COUNT(*) FROM %1 WHERE charguid NOT IN (SELECT charguid FROM t_char)")
                                                       .arg(table), database), QStringLiteral("0"));
    }
    // The undo puts the target's deleted characters back as well, and the source's file its own.
    QCOMPARE(TestServers::applyUndo(m_main, kMainDb, run.report.undoFile), QString());
    QCOMPARE(checksums(m_main, {kMainDb, kMainWeb}), targetBefore);
    QCOMPARE(TestServers::applyUndo(m_sub, kSubDb, run.report.sourceUndoFile), QString());
    QCOMPARE(checksums(m_sub, {kSubDb, kSourceWeb}), sourceBefore);
}

void TestMergeEngine::secondRunIsRefusedUnlessAgain()
{
    loadFixture(5, 5000);
    QDir(applicationDirectory() + QStringLiteral("/backups")).removeRecursively();
    MergeSettings s = settings(2, 5);
    s.backupFirst = true;
    QVERIFY(merge(s).ok);
    // The merge's dumps hold password hashes: private files.
    const QFileInfoList dumps = QDir(applicationDirectory() + QStringLiteral("/backups")).entryInfoList({QStringLiteral("merge_backup_*.sql")});
    QCOMPARE(dumps.size(), 2);
    for (const QFileInfo &dump : dumps)
        QCOMPARE(dump.permissions() & (QFileDevice::ReadGroup | QFileDevice::ReadOther), QFileDevice::Permissions());

    s.backupFirst = false;
    const auto before = checksums(m_main, {kMainDb, kMainWeb});
    const Run again = merge(s);
    QVERIFY(!again.ok);
    QVERIFY(!again.log.filter(QStringLiteral("这次合区似乎已经做过")).isEmpty());
    QCOMPARE(checksums(m_main, {kMainDb, kMainWeb}), before);
    s.again = true;
    QVERIFY(merge(s).ok);
    QVERIFY(checksums(m_main, {kMainDb, kMainWeb}) != before);
}

void TestMergeEngine::runCarriesOutTheConfirmedPlan_data()
{
    // What changes between the confirmation and the run: nothing, a character of the source's
    // zone gone, one renamed, one created in the target world (its counter moves).
    QTest::addColumn<QByteArray>("source");
    QTest::addColumn<QByteArray>("target");
    QTest::newRow("nothing") << QByteArray() << QByteArray();
    QTest::newRow("a character left the source zone") << QByteArray("UPDATE t_char SET zoneworldid = 9 WHERE charguid = 900006;") << QByteArray();
    QTest::newRow("a character renamed") << QByteArray("UPDATE t_char SET charname = 'renamed' WHERE charguid = 900006;") << QByteArray();
    QTest::newRow("the target's counter moved") << QByteArray() << QByteArray("START TRANSACTION; CALL create_char(2, @g); COMMIT;");
}

void TestMergeEngine::runCarriesOutTheConfirmedPlan()
{
    QFETCH(QByteArray, source);
    QFETCH(QByteArray, target);
    loadFixture(5, 1);
    MergeSettings s = settings(2, 5);
    const MergePreflight confirmed = CrossServerMerge::preview(s, {});
    QVERIFY(confirmed.ok);
    QVERIFY(confirmed.refusals.isEmpty() && !confirmed.plan.isEmpty());
    if (!source.isEmpty())
        QVERIFY(TestServers::runSql(m_sub, source, kSubDb));
    if (!target.isEmpty())
        QVERIFY(TestServers::runSql(m_main, target, kMainDb));
    const auto before = checksums(m_main, {kMainDb, kMainWeb});
    s.confirmedPlan = confirmed.plan;
    s.confirmed = confirmed;
    const Run run = merge(s);
    const bool changed = !source.isEmpty() || !target.isEmpty();
    QCOMPARE(run.ok, !changed);
    QCOMPARE(checksums(m_main, {kMainDb, kMainWeb}) == before, changed);
}

void TestMergeEngine::mergesWhileTheGameRuns()
{
    // While the merge's transaction is open on the target, the game creates a character in
    // another world without waiting for the merge's locks; on the source, a player gains an
    // item after the plan was read, which the merge (reading one snapshot) leaves behind.
    loadFixture(5, 1);
    // And the servers in different zones: a TIMESTAMP is the same instant on both sides. And a
    // value over half the target's max_allowed_packet, which hexadecimal would double past it.
    // And a source running READ COMMITTED, where a snapshot is none unless the reader asks for
    // REPEATABLE READ itself.
    QVERIFY(TestServers::runSql(m_sub, "SET GLOBAL time_zone = '+08:00'; SET GLOBAL TRANSACTION ISOLATION LEVEL READ COMMITTED;"));
    for (const TestServer &server : {m_main, m_sub})
        QVERIFY(TestServers::runSql(server, "SET GLOBAL max_allowed_packet = 16777216; ALTER TABLE t_impact MODIFY imdata LONGTEXT CHARACTER SET latin1 NOT NULL;",
                                    server.port == m_main.port ? kMainDb : kSubDb));
    QVERIFY(TestServers::runSql(m_sub, "UPDATE t_impact SET imdata = REPEAT(UNHEX('" + allBytes().toHex() + "'), 35157) WHERE charguid = 900003;", kSubDb));
    const QString big = QStringLiteral("SELECT MD5(imdata), LENGTH(imdata) FROM t_impact WHERE LENGTH(imdata) > 9000000");
    const QString sourceBig = subQuery(big);
    const QString stamps = QStringLiteral("SELECT SUM(UNIX_TIMESTAMP(stamp)) FROM t_iteminfo WHERE stamp IS NOT NULL");
    const QString sourceStamps = subQuery(stamps);
    const QString items = QStringLiteral("SELECT COUNT(*) FROM t_iteminfo");
    const int targetItems = mainQuery(items).toInt();
    const int sourceItems = subQuery(QStringLiteral("SELECT COUNT(*) FROM t_iteminfo i JOIN t_char c ON c.charguid = i.charguid "
                                                    "WHERE c.zoneworldid = 5 AND c.isvalid = 1")).toInt();
    QString created;
    const Run run = merge(settings(2, 5), [&](const QString &line, std::atomic_bool &) {
        if (line == QStringLiteral("合并角色"))
            subQuery(QStringLiteral("INSERT INTO t_iteminfo (charguid, guid, world, server, itemtype, pos, p1, p2, p3, p4, p5, p6, p7, p8, p9, p10, "
                                    "p11, p12, p13, p14, p15, p16, p17, creator, fixattr) SELECT charguid, 999999, world, server, itemtype, pos, "
                                    "p1, p2, p3, p4, p5, p6, p7, p8, p9, p10, p11, p12, p13, p14, p15, p16, p17, creator, fixattr "
                                    "FROM t_iteminfo WHERE charguid = 900001 LIMIT 1"));
        if (line == QStringLiteral("t_iteminfo"))
            created = mainQuery(QStringLiteral("SET SESSION innodb_lock_wait_timeout = 1; START TRANSACTION; CALL create_char(1, @g); "
                                               "SELECT @g; ROLLBACK;"));
    });
    QVERIFY(TestServers::runSql(m_sub, "SET GLOBAL time_zone = 'SYSTEM'; SET GLOBAL TRANSACTION ISOLATION LEVEL REPEATABLE READ;"));
    QVERIFY(run.ok);
    QVERIFY2(created.toInt() > 0, qPrintable(created));
    QCOMPARE(mainQuery(stamps), sourceStamps);
    QVERIFY(sourceBig.endsWith(QStringLiteral("\t9000192")));
    QCOMPARE(mainQuery(big), sourceBig);
    QCOMPARE(subQuery(QStringLiteral("SELECT COUNT(*) FROM t_iteminfo WHERE guid = 999999")), QStringLiteral("1"));
    QCOMPARE(mainQuery(items).toInt(), targetItems + sourceItems);
}

QTEST_MAIN(TestMergeEngine)
#include "tst_mergeengine.moc"
