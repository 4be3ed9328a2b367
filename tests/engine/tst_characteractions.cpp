#include "db/databasemanager.h"
#include "db/legacytext.h"
#include "engine/charactercopier.h"
#include "engine/characterdeleter.h"
#include "engine/charactertransfer.h"
#include "engine/characteroperation.h"
#include "engine/charactertables.h"
#include "engine/rowpreview.h"
#include "engine/undofile.h"
#include "engine/zonewipe.h"
#include "modalanswer.h"
#include "testservers.h"
#include "ui/characters/characterlistdialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QInputDialog>
#include <QLineEdit>
#include <QProgressBar>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QSqlQuery>
#include <QTableView>
#include <QTextEdit>
#include <QtTest>

namespace {
const QString kDb = QStringLiteral("actions_db");
const int kSource = 11;
const int kSkills = 900001;    // duplicates in t_skill and t_xinfa
const int kExterior = 900002;  // duplicates only in t_exterior
const int kClean = 900003;

QStringList repairTables()
{
    QStringList tables;
    for (const DuplicateRepairTable &repair : duplicateRepairSpecs)
        tables.append(repair.tableName);
    return tables;
}

QStringList allTables()
{
    return characterDeleteTables + QStringList{QStringLiteral("t_char"), QStringLiteral("t_var")};
}

// Adds to `table` a copy of one row of another character, owned by `guid`, with `set` applied.
QByteArray addRow(const char *table, int guid, const QByteArray &set = QByteArray())
{
    const QByteArray t(table);
    return "CREATE TEMPORARY TABLE r AS SELECT * FROM " + t + " WHERE charguid <> " + QByteArray::number(guid)
        + " LIMIT 1; ALTER TABLE r MODIFY aid BIGINT NULL; UPDATE r SET aid = NULL, charguid = " + QByteArray::number(guid)
        + (set.isEmpty() ? QByteArray() : ", " + set) + "; INSERT INTO " + t + " SELECT * FROM r; DROP TEMPORARY TABLE r;";
}
} // namespace

class TestCharacterActions : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void previewCountsAndUndoPutsEveryRowBack_data();
    void previewCountsAndUndoPutsEveryRowBack();
    void repairsDuplicatesOrNothing();
    void copiesEveryRowExactly();
    void failedCopiesChangeNothing_data();
    void failedCopiesChangeNothing();
    void transfersKeepingEveryCounter();
    void deletesOneCharacterOrNothing();
    void flowsThroughTheList();
    void countersWithoutWorldIds();

private:
    QString query(const QString &sql) { return TestServers::querySql(m_server, sql, kDb); }
    // Every column but aid and `skip` of the character's rows, as hexadecimal, in aid order.
    QString rows(const QString &table, int guid, const QStringList &skip = {});
    QMap<QString, QString> checksums() { return TestServers::tableChecksums(m_server, kDb, allTables()); }

    TestServer m_server;
};

void TestCharacterActions::initTestCase()
{
    QVERIFY(TestServers::loadAndConnect(&m_server, TestServers::smallSample(kDb, {1, 3}, 20)));

    const QByteArray all = TestServers::allByteValues();
    const QByteArray hexAll = all.toHex();
    QByteArray sql = "UPDATE t_char SET settings = UNHEX('" + hexAll + "'), title = UNHEX('" + all.mid(0x80, 50).toHex()
        + "'), pwdsafe = UNHEX('" + all.mid(0, 32).toHex() + "') WHERE charguid = 11;"
          "DELETE FROM t_pet WHERE charguid = 11; DELETE FROM t_pet_bank WHERE charguid = 11;"
          "DELETE FROM t_pet_iteminfo WHERE charguid = 11; DELETE FROM t_iteminfo WHERE charguid = 11;";
    for (const QString &table : copiedCharacterTables)
        sql += addRow(table.toLatin1().constData(), kSource);
    sql += addRow("t_impact", kSource, "imdata = UNHEX('" + hexAll + "')");
    sql += addRow("t_iteminfo", kSource, "pos = 3, creator = UNHEX('" + all.mid(0x80, 40).toHex() + "')");
    sql += addRow("t_iteminfo", kSource, "pos = 215, fixattr = UNHEX('" + all.mid(1, 120).toHex() + "')");
    sql += addRow("t_iteminfo", kSource, "pos = 216");
    sql += "INSERT INTO t_pet (charguid, hpetguid, lpetguid, hspetguid, lspetguid, petname, petnick, level, petdata) VALUES "
           "(11, 1, 5001, 1, 5001, 'a', 'b', 3, UNHEX('" + all.mid(1, 255).toHex() + "')), (11, 1, 5002, 1, 5002, 'c', 'd', 4, '');"
           "INSERT INTO t_pet_bank (charguid, hpetguid, lpetguid, hspetguid, lspetguid, petname, petnick, level, bankpos, petdata) "
           "VALUES (11, 1, 9000, 1, 9000, 'e', 'f', 5, 2, 'x');"
           "INSERT INTO t_pet_iteminfo (charguid, guid, world, hpetguid, lpetguid, itemtype, pos, p1, p2, p3, p7, creator) VALUES "
           "(11, 70001, 1, 1, 5002, 7, 1, 0, 0, 0, 0, UNHEX('B6ADC0CF')), (11, 70002, 1, 4, 4444, 7, 2, 0, 0, 0, 0, '');";
    // A deployment's t_skill: more columns than the repair names, and NULL payloads.
    const QByteArray hex = hexAll;
    QVERIFY(TestServers::runSql(m_server, sql +
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

void TestCharacterActions::cleanupTestCase()
{
    DatabaseManager::instance()->disconnectFromDatabase();
    TestServers::runSql(m_server, "DROP DATABASE IF EXISTS actions_db; DROP DATABASE IF EXISTS actions_db_web;");
}

void TestCharacterActions::previewCountsAndUndoPutsEveryRowBack_data()
{
    QTest::addColumn<QString>("operation");
    QTest::addColumn<int>("guid");
    for (const auto &[operation, guid] : {std::pair{"delete", kSource}, std::pair{"transfer", kSource}, std::pair{"repair", kSkills},
                                          std::pair{"copy", kSource}})
        QTest::newRow(operation) << QString::fromLatin1(operation) << guid;
}

void TestCharacterActions::previewCountsAndUndoPutsEveryRowBack()
{
    QFETCH(QString, operation);
    QFETCH(int, guid);
    QSqlDatabase &db = DatabaseManager::instance()->database();
    const QMap<QString, QString> before = checksums();
    CharacterOperation::Request request;
    request.kind = operation == QLatin1String("delete")     ? CharacterOperation::Kind::Delete
                   : operation == QLatin1String("transfer") ? CharacterOperation::Kind::Transfer
                   : operation == QLatin1String("repair")   ? CharacterOperation::Kind::Repair
                                                            : CharacterOperation::Kind::Copy;
    request.charguid = guid;
    request.world = 3;
    request.accounts = DatabaseManager::instance()->storedConfig();
    if (request.kind == CharacterOperation::Kind::Copy) {
        // A table numbered by a key of the server's own, as MySQL 8.0.30+ adds (an invisible
        // auto-increment my_row_id): the copy's rows get new numbers.
        QVERIFY(TestServers::runSql(m_server, "ALTER TABLE t_talent CHANGE aid my_row_id BIGINT NOT NULL AUTO_INCREMENT INVISIBLE;", kDb));
        // Into an account its account database does not hold: refused, naming the database.
        request.account = QStringLiteral("nobody_here");
        const QString refusal = CharacterOperation::preview(db, &request).refusal;
        QVERIFY2(refusal.contains(QStringLiteral("nobody_here")) && refusal.contains(request.accounts.accountDatabase), qPrintable(refusal));
        QVERIFY(!CharacterOperation::run(db, request, {}).ok);
        QCOMPARE(checksums(), before);
    }
    request.account = QStringLiteral("w1u0@qq.com");
    const QList<RowPreview::Count> preview = CharacterOperation::preview(db, &request).rows;
    Message error;
    const CharacterOperation::Result result = CharacterOperation::run(db, request, {});
    QVERIFY2(result.ok, qPrintable(result.failure));
    const QString path = result.undoFile;
    QVERIFY(QFileInfo::exists(path));
    QVERIFY(checksums() != before);

    // What the confirmation counted is what changed: the undo file's rows, or the rows the repair removed.
    QMap<QString, qint64> counted;
    for (const RowPreview::Count &count : std::as_const(preview))
        counted[count.table.stored().section(QLatin1Char('('), 0, 0)] += count.rows;
    const UndoFile::Summary summary = UndoFile::read(path);
    for (const QString &line : summary.rows) {
        const QString table = line.section(QLatin1Char('.'), 1).section(QLatin1Char(' '), 0, 0);
        const qint64 rows = line.section(QLatin1Char(' '), -1).toLongLong();
        QCOMPARE(rows, counted.value(table));
    }

    if (operation == QLatin1String("delete")) {
        // A character created since under the id refuses the undo, which changes nothing.
        QVERIFY(TestServers::runSql(m_server, addRow("t_char", guid, "charname = 'newcomer'"), kDb));
        QVERIFY(!UndoFile::apply(db, path, &error));
        QVERIFY2(error.stored().contains(QStringLiteral("以下 1 个角色ID已被占用")) && error.stored().endsWith(QString::number(guid)), qPrintable(error));
        QVERIFY(TestServers::runSql(m_server, "DELETE FROM t_char WHERE charname = 'newcomer';", kDb));
    }
    auto sessionModes = [&db] {
        QSqlQuery modes(db);
        return modes.exec(QStringLiteral("SELECT CONCAT(@@SESSION.sql_mode, @@SESSION.foreign_key_checks)")) && modes.next()
            ? modes.value(0).toString() : QString();
    };
    const QString modes = sessionModes();
    QVERIFY2(UndoFile::apply(db, path, &error), qPrintable(error));
    QCOMPARE(checksums(), before);
    QCOMPARE(sessionModes(), modes);  // the file's own settings end with it
    if (request.kind == CharacterOperation::Kind::Copy)
        QVERIFY(TestServers::runSql(m_server, "ALTER TABLE t_talent CHANGE my_row_id aid BIGINT NOT NULL AUTO_INCREMENT;", kDb));
}

void TestCharacterActions::repairsDuplicatesOrNothing()
{
    CharacterDeleter deleter(DatabaseManager::instance()->database());
    // A character without duplicates opens no transaction.
    QSqlQuery status(DatabaseManager::instance()->database());
    auto begins = [&status] {
        return status.exec(QStringLiteral("SHOW SESSION STATUS LIKE 'Com_begin'")) && status.next() ? status.value(1).toLongLong() : -1;
    };
    const qint64 before = begins();
    QCOMPARE(deleter.repairCharacterDuplicates(kClean), 0);
    QCOMPARE(begins(), before);

    // A failing reinsert rolls back everything.
    const QMap<QString, QString> tables = TestServers::tableChecksums(m_server, kDb, repairTables());
    QVERIFY(TestServers::runSql(m_server, "CREATE TRIGGER skill_guard BEFORE INSERT ON t_skill FOR EACH ROW "
                                          "SIGNAL SQLSTATE '45000' SET MESSAGE_TEXT = 'skills are frozen';", kDb));
    QCOMPARE(deleter.repairCharacterDuplicates(kSkills), -1);
    QVERIFY(TestServers::runSql(m_server, "DROP TRIGGER skill_guard;", kDb));
    QVERIFY2(deleter.error().stored().contains(QStringLiteral("skills are frozen")), qPrintable(deleter.error()));
    QCOMPARE(TestServers::tableChecksums(m_server, kDb, repairTables()), tables);

    // One row per key remains, the first, with every column as stored, reinserted in key order.
    const QString columns = QStringLiteral(
        "charguid, skid, IFNULL(sktime, 'N'), IFNULL(isvalid, 'N'), dbversion, HEX(note), IFNULL(HEX(label), 'N')");
    const QString expected = query(QStringLiteral("SELECT %1 FROM t_skill WHERE aid IN (5000005, 5000006, 5000008) ORDER BY skid").arg(columns));
    const QString others = query(QStringLiteral("SELECT * FROM t_skill WHERE charguid <> 900001 ORDER BY aid"));
    QCOMPARE(deleter.repairCharacterDuplicates(kSkills), 3);
    QCOMPARE(query(QStringLiteral("SELECT %1 FROM t_skill WHERE charguid = 900001 AND aid > 5000010 ORDER BY aid").arg(columns)), expected);
    QCOMPARE(query(QStringLiteral("SELECT * FROM t_skill WHERE charguid <> 900001 ORDER BY aid")), others);
    QCOMPARE(query(QStringLiteral("SELECT GROUP_CONCAT(xinfalvl) FROM t_xinfa WHERE charguid = 900001")), QStringLiteral("1"));
    // A composite key: only rows equal in all key columns are duplicates.
    QCOMPARE(deleter.repairCharacterDuplicates(kExterior), 1);
    QCOMPARE(query(QStringLiteral("SELECT GROUP_CONCAT(CONCAT(exterior_type, ':', exterior_id, ':', lefttime) ORDER BY aid) "
                                  "FROM t_exterior WHERE charguid = 900002")), QStringLiteral("1:4:40,1:5:10,2:5:20"));
}

QString TestCharacterActions::rows(const QString &table, int guid, const QStringList &skip)
{
    const QStringList columns = query(QStringLiteral("SELECT column_name FROM information_schema.columns WHERE table_schema = '%1' "
                                                     "AND table_name = '%2' ORDER BY ordinal_position").arg(kDb, table))
                                    .split(QLatin1Char('\n'));
    QStringList parts;
    for (const QString &column : columns) {
        if (column != QLatin1String("aid") && column != QLatin1String("charguid") && !skip.contains(column))
            parts.append(QStringLiteral("IFNULL(HEX(`%1`), 'N')").arg(column));
    }
    return query(QStringLiteral("SELECT CONCAT_WS('|', %1) FROM %2 WHERE charguid = %3 ORDER BY aid")
                     .arg(parts.join(QLatin1Char(',')), table).arg(guid));
}

void TestCharacterActions::copiesEveryRowExactly()
{
    const QStringList petIds = {QStringLiteral("hpetguid"), QStringLiteral("lpetguid"), QStringLiteral("hspetguid"),
                                QStringLiteral("lspetguid"), QStringLiteral("petname"), QStringLiteral("petnick")};
    QMap<QString, QStringList> replaced = {
        {QStringLiteral("t_char"), {QStringLiteral("accname"), QStringLiteral("charname")}},
        {QStringLiteral("t_iteminfo"), {QStringLiteral("guid")}},
        {QStringLiteral("t_pet"), petIds}, {QStringLiteral("t_pet_bank"), petIds},
        {QStringLiteral("t_pet_iteminfo"), {QStringLiteral("guid"), QStringLiteral("hpetguid"), QStringLiteral("lpetguid")}}};
    // Every table of the database that holds a character's rows, as the server lists them; a copy
    // leaves out only the relations (they point at other characters) and t_crc32.
    QStringList tables = query(QStringLiteral("SELECT GROUP_CONCAT(TABLE_NAME) FROM information_schema.COLUMNS "
                                              "WHERE TABLE_SCHEMA = DATABASE() AND COLUMN_NAME = 'charguid'")).split(QLatin1Char(','));
    tables.removeAll(QStringLiteral("t_relation"));
    tables.removeAll(QStringLiteral("t_crc32"));
    QCOMPARE(tables.size(), 24);
    QMap<QString, QString> source;
    for (const QString &table : tables) {
        source.insert(table, rows(table, kSource, replaced.value(table)));
        QVERIFY2(!source.value(table).isEmpty(), qPrintable(table));  // a row to copy in every table
    }
    const QString sourceFull = rows(QStringLiteral("t_iteminfo"), kSource) + rows(QStringLiteral("t_pet"), kSource);
    const int maxItem = query(QStringLiteral("SELECT MAX(guid) FROM t_iteminfo")).toInt();
    const int maxPetItem = query(QStringLiteral("SELECT MAX(guid) FROM t_pet_iteminfo")).toInt();
    const int maxPet = query(QStringLiteral("SELECT GREATEST((SELECT MAX(lpetguid) FROM t_pet), (SELECT MAX(lpetguid) FROM t_pet_bank))")).toInt();
    const QMap<int, WorldIds> ids = TestServers::worldIds(m_server, kDb);

    int steps = 0;
    OperationContext context;
    context.onProgress = [&steps](const QString &, qint64, qint64) { ++steps; };
    CharacterCopier copier(DatabaseManager::instance()->database(), context);
    int guid = 0;
    QString name;
    Message failure;
    QVERIFY2(copier.copyCharacter(kSource, QStringLiteral("target@qq.com"), QStringLiteral("Abcdefgh"), &guid, &name, &failure),
             qPrintable(failure));
    // The id the game would have given world 1's next character; world 3's ids lie above.
    QCOMPARE(guid, ids.value(1).counter + 1);
    QCOMPARE(TestServers::idFaults(m_server, kDb, ids, 1), QStringList());
    QCOMPARE(TestServers::worldIds(m_server, kDb).value(1).counter, guid);
    QCOMPARE(steps, 21);
    for (const QString &table : tables)
        QCOMPARE(rows(table, guid, replaced.value(table)), source.value(table));
    QCOMPARE(rows(QStringLiteral("t_iteminfo"), kSource) + rows(QStringLiteral("t_pet"), kSource), sourceFull);
    QCOMPARE(query(QStringLiteral("SELECT accname, charname FROM t_char WHERE charguid = %1").arg(guid)),
             QStringLiteral("target@qq.com\tAbcdefgh"));
    QCOMPARE(query(QStringLiteral("SELECT GROUP_CONCAT(guid ORDER BY aid) FROM t_iteminfo WHERE charguid = %1").arg(guid)),
             QStringLiteral("%1,%2,%3").arg(maxItem + 1).arg(maxItem + 2).arg(maxItem + 3));
    QCOMPARE(query(QStringLiteral("SELECT GROUP_CONCAT(CONCAT(hpetguid, ':', lpetguid, ':', hspetguid, ':', lspetguid) ORDER BY aid) "
                                  "FROM t_pet WHERE charguid = %1").arg(guid)),
             QStringLiteral("1:%1:1:%1,1:%2:1:%2").arg(maxPet + 1).arg(maxPet + 2));
    QCOMPARE(query(QStringLiteral("SELECT lpetguid FROM t_pet_bank WHERE charguid = %1").arg(guid)).toInt(), maxPet + 3);
    QCOMPARE(query(QStringLiteral("SELECT GROUP_CONCAT(CONCAT(guid, ':', hpetguid, ':', lpetguid) ORDER BY aid) "
                                  "FROM t_pet_iteminfo WHERE charguid = %1").arg(guid)),
             QStringLiteral("%1:1:%2,%3:4:4444").arg(maxPetItem + 1).arg(maxPet + 2).arg(maxPetItem + 2));
    const QRegularExpression eightLetters(QStringLiteral("^[A-Za-z]{8}$"));
    for (const QString &pet : query(QStringLiteral("SELECT CONCAT(petname, petnick) FROM t_pet WHERE charguid = %1").arg(guid)).split(QLatin1Char('\n')))
        QVERIFY(eightLetters.match(pet.left(8)).hasMatch() && pet.left(8) == pet.mid(8));
    QCOMPARE(query(QStringLiteral("SELECT COUNT(*) FROM t_relation WHERE charguid = %1").arg(guid)), QStringLiteral("0"));

    // A world-1 character holding the next id already: the copy takes the one after it.
    QVERIFY(TestServers::runSql(m_server, QStringLiteral("INSERT INTO t_char (charguid, accname, charname, zoneworldid, createtime, "
                                                         "logouttime, haircolor, pwdsafe, settings) VALUES (%1, 'x', 'nextheld', 1, 1, 1, 1, '', '');")
                                              .arg(guid + 1).toUtf8(), kDb));
    const QMap<int, WorldIds> held = TestServers::worldIds(m_server, kDb);
    int second = 0;
    // A Chinese name is stored as its GBK bytes; taken, the next copy is refused.
    const QString chinese = QStringLiteral("测试角色");
    QVERIFY2(copier.copyCharacter(kSource, QStringLiteral("t2"), chinese, &second, &name, &failure), qPrintable(failure));
    QCOMPARE(second, guid + 2);
    QCOMPARE(TestServers::idFaults(m_server, kDb, held, 1), QStringList());
    QCOMPARE(name, chinese);
    QCOMPARE(query(QStringLiteral("SELECT HEX(charname) FROM t_char WHERE charguid = %1").arg(second)),
             QString::fromLatin1(encodeGbk(chinese).toHex().toUpper()));
    int third = 0;
    QVERIFY(!copier.copyCharacter(kSource, QStringLiteral("t3"), chinese, &third, &name, &failure));
    QVERIFY2(failure.stored().contains(chinese), qPrintable(failure));
}

void TestCharacterActions::failedCopiesChangeNothing_data()
{
    QTest::addColumn<QByteArray>("setUp");
    QTest::addColumn<QByteArray>("tearDown");
    QTest::addColumn<QString>("failure");
    QTest::newRow("world without t_var") << QByteArray("UPDATE t_char SET zoneworldid = 77 WHERE charguid = 11;")
                                         << QByteArray("UPDATE t_char SET zoneworldid = 1 WHERE charguid = 11;")
                                         << QStringLiteral("获取新charguid失败");
    QTest::newRow("item insert refused")
        << QByteArray("CREATE TRIGGER no_items BEFORE INSERT ON t_iteminfo FOR EACH ROW SIGNAL SQLSTATE '45000' SET MESSAGE_TEXT = 'items frozen';")
        << QByteArray("DROP TRIGGER no_items;") << QStringLiteral("复制t_iteminfo失败: items frozen");
    // World 1's next ids end where world 3's begin.
    QTest::newRow("world's ids used up")
        << QByteArray("UPDATE t_var SET maxcharguid = 1000000 WHERE worldid = 1;")
        << QByteArray("UPDATE t_var SET maxcharguid = (SELECT MAX(charguid) FROM t_char WHERE zoneworldid = 1 AND charguid < 1000) WHERE worldid = 1;")
        << QStringLiteral("获取新charguid失败: WorldID 1 的角色ID不足：需要 1 个新ID，计数器 1000000 之后只有 0 个空闲ID，再往上是WorldID 3 的角色 1000001");
    QTest::newRow("name taken since it was confirmed") << QByteArray("UPDATE t_char SET charname = 'Takenabc' WHERE charguid = 12;")
                                                     << QByteArray() << QStringLiteral("角色名 TAKENABC 已被占用");
}

void TestCharacterActions::failedCopiesChangeNothing()
{
    QFETCH(QByteArray, setUp);
    QFETCH(QByteArray, tearDown);
    QFETCH(QString, failure);
    if (!setUp.isEmpty())
        QVERIFY(TestServers::runSql(m_server, setUp, kDb));
    const QMap<QString, QString> before = checksums();
    CharacterCopier copier(DatabaseManager::instance()->database());
    int guid = 0;
    QString name;
    Message message;
    // A taken name (the index ignores case) is refused, never replaced by another.
    const bool ok = copier.copyCharacter(kSource, QStringLiteral("t"), QStringLiteral("TAKENABC"), &guid, &name, &message);
    const QMap<QString, QString> after = checksums();
    if (!tearDown.isEmpty())
        QVERIFY(TestServers::runSql(m_server, tearDown, kDb));
    QVERIFY(!ok);
    // The server's words stand after the program's, whatever a driver puts around them.
    QVERIFY2(message.stored().startsWith(failure.section(QStringLiteral(": "), 0, 0)) && message.stored().contains(failure.section(QStringLiteral(": "), 1)),
             qPrintable(message));
    QCOMPARE(after, before);
}

void TestCharacterActions::transfersKeepingEveryCounter()
{
    QVERIFY(TestServers::runSql(m_server, "DELETE FROM t_iteminfo WHERE charguid = 13; DELETE FROM t_pet_iteminfo WHERE charguid = 13;"
                                          "DELETE FROM t_exterior_fashion WHERE charguid = 13;", kDb));
    const QMap<int, WorldIds> ids = TestServers::worldIds(m_server, kDb);
    QSqlDatabase &db = DatabaseManager::instance()->database();
    Message error;
    QString undoPath;
    auto transfer = [&](int guid, int world) { return CharacterTransfer::transfer(db, guid, world, true, {}, &undoPath, &error); };
    QVERIFY2(transfer(kSource, 3), qPrintable(error));
    QCOMPARE(query(QStringLiteral("SELECT CONCAT((SELECT zoneworldid FROM t_char WHERE charguid = 11), ' ',"
                                  "(SELECT COUNT(*) FROM t_iteminfo WHERE charguid = 11 AND world <> 3), ' ',"
                                  "(SELECT COUNT(*) FROM t_pet_iteminfo WHERE charguid = 11 AND world <> 3))")), QStringLiteral("3 0 0"));
    QVERIFY2(transfer(13, 3), qPrintable(error));  // no items
    QCOMPARE(TestServers::idFaults(m_server, kDb, ids), QStringList());

    // A world the game does not know, and a failing step: nothing changes.
    QVERIFY(TestServers::runSql(m_server, "CREATE TRIGGER no_moves BEFORE UPDATE ON t_pet_iteminfo FOR EACH ROW "
                                          "SIGNAL SQLSTATE '45000' SET MESSAGE_TEXT = 'pets stay';", kDb));
    const QMap<QString, QString> before = checksums();
    QVERIFY(!transfer(kSource, 999));
    QCOMPARE(error, QStringLiteral("角色转移失败，已回滚所有更改\n\nWorldID 999 不存在，已知的 WorldID: 1, 3"));
    QVERIFY(!transfer(kSource, 1));
    QVERIFY(TestServers::runSql(m_server, "DROP TRIGGER no_moves;", kDb));
    QVERIFY(error.stored().contains(QStringLiteral("pets stay")));
    QCOMPARE(checksums(), before);
    QVERIFY(transfer(kSource, 1));
}

void TestCharacterActions::deletesOneCharacterOrNothing()
{
    QVERIFY(TestServers::runSql(m_server, "DELETE FROM t_skill WHERE charguid = 14; DELETE FROM t_mission WHERE charguid = 14;"
                                          "INSERT INTO t_relation (charguid, fguid, fname, relflag, fpoint) VALUES (1000005, 14, 'x', 1, 0);", kDb));
    QVERIFY(TestServers::runSql(m_server, "CREATE TRIGGER keep_chars BEFORE DELETE ON t_char FOR EACH ROW "
                                          "SIGNAL SQLSTATE '45000' SET MESSAGE_TEXT = 'kept';", kDb));
    const QMap<QString, QString> before = checksums();
    CharacterDeleter deleter(DatabaseManager::instance()->database());
    Message error;
    QVERIFY(!deleter.deleteCharacter(14, &error));
    QVERIFY(TestServers::runSql(m_server, "DROP TRIGGER keep_chars;", kDb));
    QCOMPARE(checksums(), before);

    const int others = query(QStringLiteral("SELECT COUNT(*) FROM t_iteminfo WHERE charguid <> 14")).toInt();
    QVERIFY2(deleter.deleteCharacter(14, &error), qPrintable(error));
    for (const QString &table : characterDeleteTables + QStringList{QStringLiteral("t_char")})
        QCOMPARE(query(QStringLiteral("SELECT COUNT(*) FROM %1 WHERE charguid = 14").arg(table)), QStringLiteral("0"));
    QCOMPARE(query(QStringLiteral("SELECT COUNT(*) FROM t_relation WHERE fguid = 14")), QStringLiteral("0"));
    QCOMPARE(query(QStringLiteral("SELECT COUNT(*) FROM t_iteminfo WHERE charguid <> 14")).toInt(), others);
}

void TestCharacterActions::flowsThroughTheList()
{
    CharacterListDialog list(nullptr);
    auto select = [&list](int guid) {
        list.findChild<QComboBox *>()->setCurrentIndex(0);
        editWithPlaceholder(&list, QStringLiteral("请输入搜索内容"))->setText(QString::number(guid));
        QVERIFY(clickButton(&list, "searchBtn"));
        auto *table = list.findChild<QTableView *>();
        table->setCurrentIndex(table->model()->index(0, 0));
    };
    auto copyTo = [&list](const QString &account, bool suffix, QList<QMessageBox::StandardButton> answers) {
        withNextModal([account, suffix](QWidget *w) {
            w->findChild<QLineEdit *>()->setText(account);
            w->findChild<QCheckBox *>()->setChecked(suffix);
            QMetaObject::invokeMethod(w, "accept");
        }, "QDialog");
        answerMessageBoxes(answers);
        QVERIFY(QMetaObject::invokeMethod(&list, "onContextCopyCharacter"));
        QTRY_VERIFY_WITH_TIMEOUT(!DatabaseManager::instance()->isBusy(), 20000);
    };
    // A name holding "%1" stays the name in every text around it.
    QVERIFY(TestServers::runSql(m_server, "UPDATE t_char SET charname = 'n%1x' WHERE charguid = 15;", kDb));
    select(15);
    const QMap<QString, QString> before = checksums();
    QTextEdit *log = list.findChild<QTextEdit *>();
    const QString logBefore = log->toPlainText();
    copyTo(QStringLiteral("nobody"), true, {QMessageBox::Ok});  // no such account: refused before the confirmation
    withNextModal([](QWidget *w) { QMetaObject::invokeMethod(w, "reject"); }, "QInputDialog");
    QVERIFY(QMetaObject::invokeMethod(&list, "onContextTransferCharacter"));
    ModalRecord confirm;
    answerNextMessageBox(QMessageBox::No, &confirm);
    QVERIFY(QMetaObject::invokeMethod(&list, "onContextDeleteCharacter"));
    QVERIFY2(confirm.text.startsWith(QStringLiteral("确认要删除角色 [n%1x] (GUID=15)")), qPrintable(confirm.text));
    QCOMPARE(checksums(), before);
    QVERIFY(!log->toPlainText().mid(logBefore.size()).contains(QStringLiteral("成功")));

    // The suffix is added only when asked and when the account has no "@" of its own.
    QVERIFY(TestServers::runSql(m_server, "INSERT INTO account (name) VALUES ('plain@qq.com'), ('a@b.cn'), ('bare');", kDb + QStringLiteral("_web")));
    copyTo(QStringLiteral("plain"), true, {QMessageBox::Yes, QMessageBox::Ok});
    copyTo(QStringLiteral("a@b.cn"), true, {QMessageBox::Yes, QMessageBox::Ok});
    copyTo(QStringLiteral("bare"), false, {QMessageBox::Yes, QMessageBox::Ok});
    QCOMPARE(query(QStringLiteral("SELECT COUNT(*) FROM t_char WHERE accname IN ('plain@qq.com', 'a@b.cn', 'bare')")), QStringLiteral("3"));
    QCOMPARE(list.findChild<QProgressBar *>()->text(), QStringLiteral("100%"));  // a finished copy leaves no step text

    ModalRecord box;
    withNextModal([](QWidget *w) {
        qobject_cast<QInputDialog *>(w)->setIntValue(1);
        QMetaObject::invokeMethod(w, "accept");
    }, "QInputDialog");
    answerNextMessageBox(QMessageBox::Ok, &box);
    QVERIFY(QMetaObject::invokeMethod(&list, "onContextTransferCharacter"));
    QCOMPARE(box.text, QStringLiteral("角色已在 WorldID 1，无需转移"));

    answerMessageBoxes({QMessageBox::Yes, QMessageBox::Ok});
    QVERIFY(QMetaObject::invokeMethod(&list, "onContextDeleteCharacter"));
    QTRY_VERIFY_WITH_TIMEOUT(!DatabaseManager::instance()->isBusy(), 20000);
    QCOMPARE(query(QStringLiteral("SELECT COUNT(*) FROM t_char WHERE charguid = 15")), QStringLiteral("0"));
}

void TestCharacterActions::countersWithoutWorldIds()
{
    // An older deployment: t_var keeps one maxcharguid row per world's range and no worldid. The
    // copy, the transfer, the wipe and their undo files work on it as on the newer layout.
    const QString old = QStringLiteral("actions_old");
    SampleOptions sample = TestServers::smallSample(old, {1, 3}, 20);
    QVERIFY(TestServers::loadSample(m_server, sample));
    QVERIFY(TestServers::runSql(m_server, "ALTER TABLE t_var DROP COLUMN worldid;", old));
    HostConfig config = m_server.hostConfig(old);
    config.accountDatabase = old + QStringLiteral("_web");
    QVERIFY(DatabaseManager::instance()->connectToDatabase(config));
    QSqlDatabase &db = DatabaseManager::instance()->database();
    const auto counters = [&] { return TestServers::querySql(m_server, QStringLiteral("SELECT GROUP_CONCAT(maxcharguid ORDER BY maxcharguid) FROM t_var"), old); };
    const auto sums = [&] { return TestServers::databaseChecksums(m_server, {old, old + QStringLiteral("_web")}); };
    const QMap<QString, QString> before = sums();
    const QString counted = counters();

    // The copy takes world 1's next id, and its counter moves there; its undo sets it back.
    CharacterOperation::Request copy;
    copy.kind = CharacterOperation::Kind::Copy;
    copy.charguid = 5;
    copy.account = QStringLiteral("w1u0@qq.com");
    copy.accounts = config;
    QVERIFY(CharacterOperation::preview(db, &copy).refusal.isEmpty());
    const CharacterOperation::Result copied = CharacterOperation::run(db, copy, {});
    QVERIFY2(copied.ok, qPrintable(copied.failure));
    QCOMPARE(copied.newGuid, 21);
    QCOMPARE(counters(), QStringLiteral("21,1000020"));
    Message error;
    QVERIFY2(UndoFile::apply(db, copied.undoFile, &error), qPrintable(error));
    QCOMPARE(counters(), counted);

    // The transfer knows the worlds by their ranges' counters.
    CharacterOperation::Request move;
    move.kind = CharacterOperation::Kind::Transfer;
    move.charguid = 5;
    move.world = 77;
    QVERIFY(!CharacterOperation::preview(db, &move).refusal.isEmpty());
    move.world = 3;
    QVERIFY(CharacterOperation::preview(db, &move).refusal.isEmpty());
    const CharacterOperation::Result moved = CharacterOperation::run(db, move, {});
    QVERIFY2(moved.ok, qPrintable(moved.failure));
    QVERIFY2(UndoFile::apply(db, moved.undoFile, &error), qPrintable(error));

    // The wipe writes its undo file, whose counter check reads the ranges.
    const ZoneWipe::Result wiped = ZoneWipe::run(db, {{3}, {}, {}, config, true}, {});
    QVERIFY(wiped.ok);
    QCOMPARE(wiped.deleted, 20);
    QVERIFY2(UndoFile::apply(db, wiped.undoPath, &error), qPrintable(error));
    QCOMPARE(sums(), before);

    QVERIFY(DatabaseManager::instance()->connectToDatabase(m_server.hostConfig(kDb)));
    TestServers::runSql(m_server, "DROP DATABASE actions_old; DROP DATABASE actions_old_web;");
}

QTEST_MAIN(TestCharacterActions)
#include "tst_characteractions.moc"
