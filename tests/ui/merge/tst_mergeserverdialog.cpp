#include "logfiles.h"
#include "mergefixture.h"
#include "modalanswer.h"
#include "testservers.h"
#include "ui/merge/mergeserverdialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

using namespace MergeFixture;

// The cross-server merge's window on two servers: presets, connections, refusals, the run,
// cancelling and closing.
class TestMergeServerDialog : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void dialogPresetsAndConnections();
    void dialogRefusesABadLevelThenMerges();
    void dialogCancelsAndClosesWhileMerging();

private:
    void load(int sourceWorld, int sourceFirstGuid) { QVERIFY(MergeFixture::load(m_main, m_sub, sourceWorld, sourceFirstGuid)); }
    // Opens the merge window on both servers, connected, with these worlds chosen.
    void connectDialog(MergeServerDialog &dialog, int mainWorld, int subWorld);
    QString mainQuery(const QString &sql) { return TestServers::querySql(m_main, sql, kMainDb); }
    QString subQuery(const QString &sql) { return TestServers::querySql(m_sub, sql, kSubDb); }

    TestServer m_main;
    TestServer m_sub;
};

void TestMergeServerDialog::initTestCase()
{
    m_main = TestServers::shared(0);
    m_sub = TestServers::shared(1);
    QVERIFY(m_main.isValid() && m_sub.isValid());
}

// Fields per group: host, port, user, password, character database, account database.
void TestMergeServerDialog::connectDialog(MergeServerDialog &dialog, int mainWorld, int subWorld)
{
    const QList<QComboBox *> combos = dialog.findChildren<QComboBox *>();  // main preset, worlds, sub preset, worlds
    const QList<QLineEdit *> edits = dialog.findChildren<QLineEdit *>();
    combos[0]->setCurrentIndex(1);
    combos[2]->setCurrentIndex(2);
    edits[5]->setText(kMainWeb);
    edits[10]->setText(kSubDb);
    edits[11]->setText(kSourceWeb);
    // A failed connect shows a box: answer it rather than hang, and fail.
    QList<ModalRecord> errors;
    answerMessageBoxes({QMessageBox::Ok, QMessageBox::Ok}, &errors);
    QVERIFY(clickButton(edits[0]->parentWidget(), "connectBtn"));
    QVERIFY(clickButton(edits[6]->parentWidget(), "connectBtn"));
    // Both servers are reached on workers; the window fills the worlds when they answer.
    QTRY_VERIFY_WITH_TIMEOUT((combos[1]->count() > 0 && combos[3]->count() > 0) || !errors.isEmpty(), 20000);
    stopAnsweringModals();
    QVERIFY2(errors.isEmpty(), qPrintable(errors.value(0).text));
    combos[1]->setCurrentIndex(combos[1]->findData(mainWorld));
    combos[3]->setCurrentIndex(combos[3]->findData(subWorld));
}

void TestMergeServerDialog::dialogPresetsAndConnections()
{
    load(1, 5000);
    MergeServerDialog dialog(hosts(m_main, m_sub));
    const QList<QComboBox *> combos = dialog.findChildren<QComboBox *>();
    const QList<QLineEdit *> edits = dialog.findChildren<QLineEdit *>();
    // A preset fills every field from its entry, the account database too (as quorvel-cli
    // merge takes it), and the default character database where the entry names none.
    edits[11]->setText(QStringLiteral("typed"));
    combos[2]->setCurrentIndex(2);
    QCOMPARE(QStringList({edits[7]->text(), edits[10]->text(), edits[11]->text()}),
             QStringList({QString::number(m_sub.port), "vexadb_main", kSourceWeb}));
    // A test reaches both databases on a worker and says which one failed.
    ModalRecord tested;
    answerNextMessageBox(QMessageBox::Ok, &tested);
    QVERIFY(clickButton(edits[6]->parentWidget(), "testBtn"));
    QTRY_VERIFY_WITH_TIMEOUT(tested.seen, 20000);
    QVERIFY2(tested.text.startsWith(QStringLiteral("连接失败：角色库连接失败: ")) && tested.text.contains(QStringLiteral("Unknown database 'vexadb_main'")),
             qPrintable(tested.text));
    connectDialog(dialog, 1, 1);
    bool sameWorld = false;
    for (QLabel *label : dialog.findChildren<QLabel *>())
        sameWorld = sameWorld || label->text() == QStringLiteral("WorldID 相同 (1) - 需重新分配charguid");
    QVERIFY(sameWorld);
    // Another preset disconnects the group, which stops the start.
    combos[2]->setCurrentIndex(0);
    QCOMPARE(combos[3]->count(), 0);
    QVERIFY(!dialog.findChild<QPushButton *>(QStringLiteral("mergeBtn"))->isEnabled());
}

void TestMergeServerDialog::dialogRefusesABadLevelThenMerges()
{
    load(5, 5000);
    MergeServerDialog dialog(hosts(m_main, m_sub));
    connectDialog(dialog, 2, 5);
    auto *start = dialog.findChild<QPushButton *>(QStringLiteral("mergeBtn"));
    const QString before = TestServers::databaseChecksums(m_main, {kMainDb, kMainWeb}).value(kMainDb + QStringLiteral(".t_char"));
    dialog.findChild<QCheckBox *>()->setChecked(true);
    dialog.findChildren<QLineEdit *>().at(14)->setText(QStringLiteral("0"));
    QList<ModalRecord> boxes;
    answerMessageBoxes({QMessageBox::Ok}, &boxes);
    start->click();
    QTRY_COMPARE(boxes.size(), 1);
    QCOMPARE(boxes.at(0).title, QStringLiteral("输入错误"));
    QCOMPARE(TestServers::databaseChecksums(m_main, {kMainDb}).value(kMainDb + QStringLiteral(".t_char")), before);

    dialog.findChild<QCheckBox *>()->setChecked(false);
    const int target = mainQuery(QStringLiteral("SELECT COUNT(*) FROM t_char WHERE zoneworldid = 2")).toInt();
    const int source = subQuery(QStringLiteral("SELECT COUNT(*) FROM t_char WHERE zoneworldid = 5 AND isvalid = 1")).toInt();
    boxes.clear();
    answerMessageBoxes({QMessageBox::Yes, QMessageBox::No, QMessageBox::Ok}, &boxes);
    start->click();
    QTRY_COMPARE_WITH_TIMEOUT(boxes.size(), 3, 60000);
    QVERIFY2(boxes.at(2).text.startsWith(QStringLiteral("合区操作完成！\n\n撤销文件: ")), qPrintable(boxes.at(2).text));
    // The confirmation showed what the preflight counted; the same merge is not offered again.
    QVERIFY(boxes.at(0).text.contains(QStringLiteral("将合并 %1 个角色").arg(source)));
    QVERIFY(!start->isEnabled());
    QCOMPARE(mainQuery(QStringLiteral("SELECT COUNT(*) FROM t_char WHERE zoneworldid = 2")).toInt(), target + source);
    // Lines of both threads reach the day's file.
    const QString text = todaysLog(QStringLiteral("merge_"));
    QVERIFY(text.contains(QStringLiteral("异步线程数据库连接成功")) && text.contains(QStringLiteral("========== 合区完成 ==========")));
}

void TestMergeServerDialog::dialogCancelsAndClosesWhileMerging()
{
    load(5, 5000);
    // The last table's first insert waits three seconds, the time to cancel.
    QVERIFY(TestServers::runSql(m_main, "DELIMITER ;;\nCREATE TRIGGER slow BEFORE INSERT ON t_xiulian FOR EACH ROW BEGIN "
                                        "IF @slept IS NULL THEN SET @slept = 1; DO SLEEP(3); END IF; END;;\nDELIMITER ;\n", kMainDb));
    const auto before = TestServers::databaseChecksums(m_main, {kMainDb, kMainWeb});
    MergeServerDialog dialog(hosts(m_main, m_sub));
    dialog.open();
    connectDialog(dialog, 2, 5);
    auto *start = dialog.findChild<QPushButton *>(QStringLiteral("mergeBtn"));
    auto waitForTheLastTable = [&] {
        // The server shows the merge's insert asleep in the trigger.
        QTRY_VERIFY_WITH_TIMEOUT(TestServers::querySql(m_main, QStringLiteral("SELECT COUNT(*) FROM information_schema.PROCESSLIST "
                                                                              "WHERE DB = '%1' AND STATE = 'User sleep'").arg(kMainDb)).toInt() > 0,
                                 60000);
    };

    QList<ModalRecord> boxes;
    answerMessageBoxes({QMessageBox::Yes, QMessageBox::No}, &boxes);
    start->click();
    waitForTheLastTable();
    answerMessageBoxes({QMessageBox::Yes, QMessageBox::Ok}, &boxes);
    QVERIFY(clickButton(&dialog, "cancelBtn"));
    QTRY_COMPARE_WITH_TIMEOUT(boxes.size(), 4, 60000);
    QCOMPARE(boxes.at(3).text, QStringLiteral("合区已取消，主区保持原样。"));
    QCOMPARE(TestServers::databaseChecksums(m_main, {kMainDb, kMainWeb}), before);
    QVERIFY(dialog.isVisible() && start->isEnabled());

    // Closing the window while it merges asks, cancels, and closes once the run has ended.
    boxes.clear();
    answerMessageBoxes({QMessageBox::Yes, QMessageBox::No}, &boxes);
    start->click();
    waitForTheLastTable();
    answerMessageBoxes({QMessageBox::Yes}, &boxes);
    dialog.reject();
    QTRY_VERIFY_WITH_TIMEOUT(!dialog.isVisible(), 60000);
    QCOMPARE(boxes.last().title, QStringLiteral("取消合区"));
    QCOMPARE(TestServers::databaseChecksums(m_main, {kMainDb, kMainWeb}), before);
}

QTEST_MAIN(TestMergeServerDialog)
#include "tst_mergeserverdialog.moc"
