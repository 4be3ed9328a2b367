#include "engine/undofile.h"
#include "db/databasemanager.h"
#include "engine/charactertables.h"
#include "merge/sameservermerge.h"
#include "ui/merge/sameservermergedialog.h"
#include "modalanswer.h"
#include "testservers.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTextEdit>
#include <QtTest>

namespace {
const QString kDb = QStringLiteral("ssm_db");
const QString kWeb = QStringLiteral("ssm_web");
const QString kWeb2 = QStringLiteral("ssm_web2");
const QString kExpected = QStringLiteral("ssm_expected");
const int kLevel = 10;

QStringList characterTables()
{
    return mergeCharacterTables + QStringList{QStringLiteral("t_char"), QStringLiteral("t_var")};
}

QString accountChecksum(const TestServer &server, const QString &database)
{
    return TestServers::tableChecksums(server, database, {QStringLiteral("account")}).value(QStringLiteral("account"));
}

struct Run
{
    bool ok = false;
    QString undoPath;
    QStringList log;
    QList<int> progress;
};
} // namespace

// The same-server merge against a real server: whole-database results, accounts, failures.
class TestSameServerMerge : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();

    void mergesWithCleanupAndAccounts();
    void emptySubAccountDatabaseMovesCharactersOnly();
    void failuresAndCancellationLeaveEverythingAsBefore_data();
    void failuresAndCancellationLeaveEverythingAsBefore();
    void alteredValuesAreRefused();
    void dialogRefusesSameWorldAndBadNames();
    void dialogRunsAndReportsBothOutcomes();

private:
    void load(const TestServer &server);
    QMap<QString, QString> everything(const TestServer &server);
    Run merge(const TestServer &server, const SameServerMergeParameters &parameters,
              const std::function<void(Run &, std::atomic_bool &)> &watch = {});
    static SameServerMergeParameters parameters(bool accounts);
    QString count(const QString &sql) { return TestServers::querySql(m_server, sql, kDb); }

    TestServer m_server;
};

void TestSameServerMerge::initTestCase()
{
    m_server = TestServers::shared();
    QVERIFY(m_server.isValid());
}

void TestSameServerMerge::cleanupTestCase()
{
    TestServers::runSql(m_server, QStringLiteral("DROP DATABASE IF EXISTS %1; DROP DATABASE IF EXISTS %2; DROP DATABASE IF EXISTS %3;"
                                                 "DROP DATABASE IF EXISTS %4;").arg(kDb, kWeb, kWeb2, kExpected).toUtf8());
}

void TestSameServerMerge::init()
{
    load(m_server);
}

// Worlds 1 (main) and 2 (sub) with more than 500 low-level characters between them, world 3
// aside; world 2's accounts in their own database, some of them clashing with the main one.
void TestSameServerMerge::load(const TestServer &server)
{
    SampleOptions options = TestServers::smallSample(kDb, {1, 2, 3}, 0);
    options.accountDatabases = {kWeb, kWeb2};
    options.worldSizes = {2000, 1800, 300};
    QVERIFY(TestServers::loadSample(server, options));
    const QByteArray sql =
        "SET NAMES utf8mb4; USE ssm_web;"
        // a plain clash, a clash whose suffixed name is taken, one by case only, one outside ASCII
        "INSERT INTO account (name, password, reg_time, reg_ip) VALUES "
        "('w2u0@qq.com', 'main0', NOW(), ''), ('w2u1', 'main1', NOW(), ''), ('w2u1_s2', 'main1s2', NOW(), ''),"
        "('W2U2', 'main2', NOW(), ''), ('张三', 'main3', NOW(), '');"
        "USE ssm_web2;"
        "INSERT INTO account (name, password, reg_time, reg_ip, user_name) VALUES ('张三', 'sub3', '2024-02-03 04:05:06', '', '李四');"
        "USE ssm_db;"
        // a main-world character of the main account w2u0@qq.com keeps it
        "UPDATE t_char SET accname = 'w2u0@qq.com' WHERE charguid = 1;"
        // world 2's first characters and its newest, whose id is world 2's counter, stay
        "UPDATE t_char SET level = 50 WHERE charguid IN (1, 2000001, 2000002, 2000003, 2000004, 2000005, 2000006, 2000010, 2001800);"
        // the non-ASCII account's sub character, its name bytes as the account table stores them
        "UPDATE t_char SET accname = UNHEX('E5BCA0E4B889') WHERE charguid = 2000010;"
        // a character of account w2u2 stored with another case: it follows its account
        "UPDATE t_char SET accname = 'W2U2' WHERE charguid = 2000006;";
    QVERIFY(TestServers::runSql(server, sql));
}

QMap<QString, QString> TestSameServerMerge::everything(const TestServer &server)
{
    QMap<QString, QString> all = TestServers::tableChecksums(server, kDb, characterTables());
    all.insert(kWeb, accountChecksum(server, kWeb));
    all.insert(kWeb2, accountChecksum(server, kWeb2));
    return all;
}

SameServerMergeParameters TestSameServerMerge::parameters(bool accounts)
{
    SameServerMergeParameters p;
    p.sourceWorldId = 2;
    p.targetWorldId = 1;
    p.cleanLowLevel = true;
    p.levelThreshold = kLevel;
    p.independentAccounts = accounts;
    p.targetAccountDatabase = kWeb;
    p.sourceAccountDatabase = kWeb2;
    p.conflictSuffix = QStringLiteral("_s2");
    return p;
}

Run TestSameServerMerge::merge(const TestServer &server, const SameServerMergeParameters &parameters,
                               const std::function<void(Run &, std::atomic_bool &)> &watch)
{
    Run run;
    std::atomic_bool cancel{false};
    OperationContext context;
    context.onLog = [&](const QString &line) {
        run.log.append(line);
        if (watch)
            watch(run, cancel);
    };
    context.onProgress = [&](const QString &, qint64 done, qint64) {
        run.progress.append(int(done));
        if (watch)
            watch(run, cancel);
    };
    context.cancelFlag = &cancel;
    const SameServerMerge::Result result = SameServerMerge::run(server.hostConfig(kDb), parameters, context);
    run.ok = result.ok;
    run.undoPath = result.undoPath;
    return run;
}

void TestSameServerMerge::mergesWithCleanupAndAccounts()
{
    // What must remain: every row but the low-level characters' of both worlds (relations to
    // them included), world 2 moved to 1 with its item world fields, renamed accounts repointed.
    QVERIFY(TestServers::copySurvivors(m_server, kDb, kExpected, QStringLiteral("SELECT charguid FROM %1.t_char "
                                       "WHERE zoneworldid IN (1, 2) AND level <= %2").arg(kDb).arg(kLevel), characterTables()));
    QString sql = QStringLiteral("USE %1;").arg(kExpected);
    sql += QStringLiteral(
        "UPDATE t_char SET accname = CASE BINARY accname WHEN 'w2u0@qq.com' THEN 'w2u0@qq.com_s2' WHEN 'w2u1' THEN 'w2u1_s2_1' "
        "WHEN 'w2u2' THEN 'w2u2_s2' WHEN 'W2U2' THEN 'w2u2_s2' WHEN UNHEX('E5BCA0E4B889') THEN UNHEX('E5BCA0E4B8895F7332') ELSE accname END "
        "WHERE zoneworldid = 2;"
        "UPDATE t_char SET zoneworldid = 1 WHERE zoneworldid = 2;");
    for (const QString &table : worldColumnTables)
        sql += QStringLiteral("UPDATE %1 SET world = 1 WHERE charguid IN (SELECT charguid FROM t_char WHERE zoneworldid = 1);").arg(table);
    QVERIFY(TestServers::runSql(m_server, sql.toUtf8()));
    QVERIFY(TestServers::querySql(m_server, QStringLiteral("SELECT COUNT(*) FROM %1.t_relation WHERE fguid IN (SELECT charguid FROM doomed) "
                                                           "AND charguid NOT IN (SELECT charguid FROM doomed)").arg(kDb), kExpected).toInt() > 0);
    const QString lowLevel = TestServers::querySql(
        m_server, QStringLiteral("SELECT COUNT(*) FROM t_char WHERE zoneworldid IN (1, 2) AND level <= 10"), kDb);
    QVERIFY(lowLevel.toInt() > 500);
    const QString sourceAccountRows = TestServers::querySql(m_server, QStringLiteral("SELECT COUNT(*) FROM account"), kWeb2);
    const int mainAccounts = TestServers::querySql(m_server, QStringLiteral("SELECT COUNT(*) FROM account"), kWeb).toInt();
    const QString oldAccounts = TestServers::querySql(m_server, QStringLiteral("SELECT MAX(id) FROM account"), kWeb);
    // The sub accounts as they must arrive, names mapped, every other column as stored.
    const QString accountRow = QStringLiteral("HEX(%1), password, HEX(question), email, HEX(address), point, is_gm, HEX(user_name), reg_time, reg_ip");
    const QString expectedAccounts = TestServers::querySql(m_server, QStringLiteral(
        "SET NAMES utf8mb4; SELECT ") + accountRow.arg(QStringLiteral(
            "CASE name WHEN 'w2u0@qq.com' THEN 'w2u0@qq.com_s2' WHEN 'w2u1' THEN 'w2u1_s2_1' WHEN 'w2u2' THEN 'w2u2_s2' "
            "WHEN '张三' THEN '张三_s2' ELSE name END")) + QStringLiteral(" FROM account ORDER BY 1"), kWeb2);
    const QString web2Before = accountChecksum(m_server, kWeb2);
    const QMap<int, WorldIds> ids = TestServers::worldIds(m_server, kDb);
    const QMap<QString, QString> before = everything(m_server);

    const Run run = merge(m_server, parameters(true));
    QVERIFY2(run.ok, qPrintable(run.log.join(QLatin1Char('\n'))));
    QCOMPARE(TestServers::idFaults(m_server, kDb, ids), QStringList());

    QCOMPARE(TestServers::tableChecksums(m_server, kDb, characterTables()), TestServers::tableChecksums(m_server, kExpected, characterTables()));
    QCOMPARE(TestServers::querySql(m_server, QStringLiteral("SELECT COUNT(*) FROM account"), kWeb).toInt(),
             mainAccounts + sourceAccountRows.toInt());
    QCOMPARE(TestServers::querySql(m_server, QStringLiteral("SELECT ") + accountRow.arg(QStringLiteral("name"))
                                       + QStringLiteral(" FROM account WHERE id > %1 ORDER BY 1").arg(oldAccounts), kWeb),
             expectedAccounts);
    QCOMPARE(accountChecksum(m_server, kWeb2), web2Before);
    // Every moved character's account is the one imported for it.
    QCOMPARE(TestServers::querySql(m_server, QStringLiteral(
        "SELECT COUNT(*) FROM t_char c LEFT JOIN ssm_web.account a ON BINARY a.name = BINARY c.accname "
        "WHERE c.charguid > 2000000 AND c.charguid <= 2001800 AND (a.id IS NULL OR a.id <= %1)").arg(oldAccounts), kDb),
             QStringLiteral("0"));

    QVERIFY(std::is_sorted(run.progress.begin(), run.progress.end()));
    QCOMPARE(run.progress.last(), 90);

    // The undo file takes both databases back: deleted characters, imported accounts, moved worlds.
    QCOMPARE(TestServers::applyUndo(m_server, kDb, run.undoPath), QString());
    QCOMPARE(everything(m_server), before);
}

void TestSameServerMerge::emptySubAccountDatabaseMovesCharactersOnly()
{
    QVERIFY(TestServers::runSql(m_server, "DELETE FROM account;", kWeb2));
    const QString web = accountChecksum(m_server, kWeb);
    SameServerMergeParameters p = parameters(true);
    p.cleanLowLevel = false;
    p.sourceWorldId = 3;
    const QString moved = TestServers::querySql(m_server, QStringLiteral("SELECT COUNT(*) FROM t_char WHERE zoneworldid IN (1, 3)"), kDb);
    const QMap<int, WorldIds> ids = TestServers::worldIds(m_server, kDb);
    const Run run = merge(m_server, p);
    QVERIFY2(run.ok, qPrintable(run.log.join(QLatin1Char('\n'))));
    // World 3's ids lie between worlds 1 and 2: world 1's counter stays below them.
    QCOMPARE(TestServers::idFaults(m_server, kDb, ids), QStringList());
    QCOMPARE(accountChecksum(m_server, kWeb), web);
    QCOMPARE(TestServers::querySql(m_server, QStringLiteral("SELECT COUNT(*) FROM t_char WHERE zoneworldid = 1"), kDb), moved);
    QCOMPARE(TestServers::querySql(m_server, QStringLiteral(
        "SELECT COUNT(*) FROM t_iteminfo WHERE world <> 1 AND charguid IN (SELECT charguid FROM t_char WHERE zoneworldid = 1)"), kDb),
             QStringLiteral("0"));
}

void TestSameServerMerge::failuresAndCancellationLeaveEverythingAsBefore_data()
{
    QTest::addColumn<QString>("setup");
    QTest::addColumn<int>("cancelAt");  // percent of the bar; the clean-up takes 0 to 20
    QTest::addColumn<QString>("lastMessage");
    QTest::newRow("trigger in the last step")
        << QStringLiteral("CREATE TRIGGER guard BEFORE UPDATE ON t_pet_iteminfo FOR EACH ROW "
                          "SIGNAL SQLSTATE '45000' SET MESSAGE_TEXT = 'pets are protected'")
        << 0 << QStringLiteral("❌ 同步失败");
    QTest::newRow("character delete refused")
        << QStringLiteral("CREATE TRIGGER guard BEFORE DELETE ON t_char FOR EACH ROW "
                          "SIGNAL SQLSTATE '45000' SET MESSAGE_TEXT = 'characters are protected'")
        << 0 << QStringLiteral("❌ 清理失败");
    QTest::newRow("cancelled during the clean-up") << QString() << 5 << QString();
    QTest::newRow("refused: account database name") << QString() << 0 << QString();
    QTest::newRow("refused: one account database twice") << QString() << 0 << QString();
    QTest::newRow("refused: the same world") << QString() << 0 << QString();
}

void TestSameServerMerge::failuresAndCancellationLeaveEverythingAsBefore()
{
    QFETCH(QString, setup);
    QFETCH(int, cancelAt);
    QFETCH(QString, lastMessage);
    if (!setup.isEmpty())
        QVERIFY(TestServers::runSql(m_server, setup.toUtf8() + ';', kDb));
    const QMap<QString, QString> before = everything(m_server);
    SameServerMergeParameters p = parameters(true);
    const QByteArray tag = QTest::currentDataTag();
    if (tag.endsWith("name"))
        p.sourceAccountDatabase = QStringLiteral("ssm_web2`.account; DROP DATABASE ssm_web; --");
    else if (tag.endsWith("twice"))
        p.sourceAccountDatabase = kWeb;
    else if (tag.endsWith("world"))
        p.targetWorldId = p.sourceWorldId;
    const Run run = merge(m_server, p, [cancelAt](Run &r, std::atomic_bool &cancel) {
        if (cancelAt > 0 && !r.progress.isEmpty() && r.progress.last() >= cancelAt)
            cancel = true;
    });
    if (!setup.isEmpty())
        QVERIFY(TestServers::runSql(m_server, "DROP TRIGGER guard;", kDb));
    QVERIFY(!run.ok);
    QCOMPARE(everything(m_server), before);
    if (tag.startsWith("refused")) {
        // Refused before it connects: its one line says why.
        QVERIFY(!SameServerMerge::refusal(p).isEmpty());
        QCOMPARE(run.log.size(), 1);
        return;
    }
    QCOMPARE(run.log.last(), QStringLiteral("↩ 事务已回滚"));
    if (!lastMessage.isEmpty()) {
        QCOMPARE(run.log.at(run.log.size() - 2), lastMessage);
        QVERIFY(run.log.at(run.log.size() - 3).contains(QStringLiteral("protected")));
    } else {
        QVERIFY(!run.log.contains(QStringLiteral("❌ 清理失败")));
    }
}

// The server killed mid-run, and values a non-strict server would store altered: nothing changes.
void TestSameServerMerge::alteredValuesAreRefused()
{
    // A merge cut off half-way is the fault matrix's (merge-same, connection killed).
    const TestServer server = TestServers::startPrivate();
    QVERIFY(server.isValid());
    load(server);

    // A sub column wider than the main one: refused on a strict server and on one without a
    // mode alike, since the merge works in strict mode itself.
    QVERIFY(TestServers::runSql(server, "ALTER TABLE account MODIFY email VARCHAR(300);"
                                        "UPDATE account SET email = REPEAT('x', 150) WHERE name = 'w2u5';", kWeb2));
    const QMap<QString, QString> widened = everything(server);
    for (const QByteArray &mode : {QByteArray("STRICT_TRANS_TABLES"), QByteArray("")}) {
        QVERIFY(TestServers::runSql(server, "SET GLOBAL sql_mode = '" + mode + "';"));
        const Run run = merge(server, parameters(true));
        QVERIFY(!run.ok);
        QVERIFY2(run.log.contains(QStringLiteral("❌ 账号合并失败")), qPrintable(run.log.join(QLatin1Char('\n'))));
        QCOMPARE(everything(server), widened);
    }
    TestServers::stop(server);
}

void TestSameServerMerge::dialogRefusesSameWorldAndBadNames()
{
    if (TestServers::rerun())
        QSKIP("the dialog's own behaviour, the same on every driver and SQL mode");
    QVERIFY(DatabaseManager::instance()->connectToDatabase(m_server.hostConfig(kDb)));
    SameServerMergeDialog dialog;
    auto *execute = dialog.findChild<QPushButton *>(QStringLiteral("executeBtn"));
    const QList<QComboBox *> worlds = dialog.findChildren<QComboBox *>();
    const int sub = worlds.at(0)->currentIndex();
    worlds.at(1)->setCurrentIndex(sub);
    QList<ModalRecord> boxes;
    answerMessageBoxes({QMessageBox::Ok}, &boxes);
    execute->click();
    QCOMPARE(boxes.value(0).text, QStringLiteral("副区和主区不能相同！"));
    worlds.at(1)->setCurrentIndex(sub + 1);

    // The preview counts what the merge would do: with an empty level it counts with 10.
    QLabel *preview = nullptr;
    for (QLabel *label : dialog.findChildren<QLabel *>())
        preview = label->text().startsWith(QStringLiteral("副区 [")) ? label : preview;
    QVERIFY(preview);
    dialog.findChild<QCheckBox *>()->setChecked(true);
    for (QLineEdit *edit : dialog.findChildren<QLineEdit *>()) {
        if (edit->text() == QLatin1String("10"))
            edit->clear();
    }
    const QString lowLevel = count(QStringLiteral("SELECT COUNT(*) FROM t_char WHERE zoneworldid IN (1, 2) AND level <= 10"));
    QVERIFY(preview->text().contains(QStringLiteral("清理 ≤级: %1 个\n").arg(lowLevel)));
    QVERIFY(preview->text().contains(QStringLiteral("合并后总角色: %1 个").arg(3800 - lowLevel.toInt())));
    editWithPlaceholder(&dialog, QStringLiteral("如: web"))->setText(kWeb);
    editWithPlaceholder(&dialog, QStringLiteral("如: web2"))->setText(kWeb2);
    dialog.findChildren<QRadioButton *>().at(1)->setChecked(true);
    QVERIFY2(preview->text().contains(QStringLiteral("副区账号: %1 个\n冲突账号: 4 个\n")
                                          .arg(TestServers::querySql(m_server, QStringLiteral("SELECT COUNT(*) FROM account"), kWeb2))),
             qPrintable(preview->text()));
    // A name that is not a plain identifier never reaches a statement.
    editWithPlaceholder(&dialog, QStringLiteral("如: web2"))->setText(QStringLiteral("ssm_web`.account, mysql.user --"));
    answerMessageBoxes({QMessageBox::Ok}, &boxes);
    execute->click();
    QCOMPARE(boxes.value(1).text, QStringLiteral("账号库名称只能包含字母、数字、_ 和 $！"));
}

void TestSameServerMerge::dialogRunsAndReportsBothOutcomes()
{
    if (TestServers::rerun())
        QSKIP("the dialog's own behaviour, the same on every driver and SQL mode");
    QVERIFY(DatabaseManager::instance()->connectToDatabase(m_server.hostConfig(kDb)));
    // First a refused run: the dialog stays open with its log; then the merge itself.
    QVERIFY(TestServers::runSql(m_server, "CREATE TRIGGER guard BEFORE UPDATE ON t_iteminfo FOR EACH ROW "
                                          "SIGNAL SQLSTATE '45000' SET MESSAGE_TEXT = 'items are protected';", kDb));
    const QMap<QString, QString> before = everything(m_server);
    SameServerMergeDialog dialog;
    auto *execute = dialog.findChild<QPushButton *>(QStringLiteral("executeBtn"));
    QList<ModalRecord> boxes;
    answerMessageBoxes({QMessageBox::Yes, QMessageBox::Ok}, &boxes);
    execute->click();
    QVERIFY(!execute->isEnabled());
    QTRY_COMPARE_WITH_TIMEOUT(boxes.size(), 2, 60000);
    QCOMPARE(boxes.at(1).text, QStringLiteral("合区操作失败，数据已回滚，请查看日志。"));
    QVERIFY(execute->isEnabled());
    const QString log = dialog.findChild<QTextEdit *>()->toPlainText();
    QVERIFY(log.contains(QStringLiteral("items are protected")) && log.contains(QStringLiteral("↩ 事务已回滚")));
    QCOMPARE(everything(m_server), before);

    QVERIFY(TestServers::runSql(m_server, "DROP TRIGGER guard;", kDb));
    boxes.clear();
    answerMessageBoxes({QMessageBox::Yes, QMessageBox::Ok}, &boxes);
    execute->click();
    QTRY_COMPARE_WITH_TIMEOUT(boxes.size(), 2, 60000);
    // The confirmation counted the characters that then moved; the result names the undo file.
    QVERIFY2(boxes.at(0).text.contains(QStringLiteral("  t_char: 2,000 条记录")), qPrintable(boxes.at(0).text));
    QVERIFY2(boxes.at(1).text.startsWith(QStringLiteral("同服合区操作完成！\n\n撤销文件: ")), qPrintable(boxes.at(1).text));
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(count(QStringLiteral("SELECT COUNT(*) FROM t_char WHERE zoneworldid = 2")), QStringLiteral("3800"));
}

QTEST_MAIN(TestSameServerMerge)
#include "tst_sameservermerge.moc"
