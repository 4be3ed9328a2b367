#include "app/dailylog.h"
#include "merge/mergeserverdialog.h"
#include "modalanswer.h"
#include "testservers.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

// The merge window as the operator drives it, with real widgets and two real servers.
class TestMergeServerDialog : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void presetsConnectAndShowTheMode();
    void refusesABadLevelThenMerges();

private:
    struct Widgets
    {
        QList<QComboBox *> combos;  // main preset, main worlds, sub preset, sub worlds
        QList<QLineEdit *> edits;   // per group: host, port, user, password, char db, web db
        QLabel *mode = nullptr;
        QPushButton *start = nullptr;
    };
    Widgets widgets(MergeServerDialog &dialog);
    void connectBoth(MergeServerDialog &dialog, int mainWorld, int subWorld);

    TestServer m_main;
    TestServer m_sub;
    HostConfigList m_hosts;
};

void TestMergeServerDialog::initTestCase()
{
    m_main = TestServers::shared(0);
    m_sub = TestServers::shared(1);
    QVERIFY(m_main.isValid() && m_sub.isValid());
    SampleOptions options = TestServers::smallSample(QStringLiteral("mdlg_main"), {1, 2}, 15);
    options.accountDatabases = {QStringLiteral("mdlg_web")};
    QVERIFY(TestServers::loadSample(m_main, options));
    options.characterDatabase = QStringLiteral("mdlg_sub");
    options.accountDatabases = {QStringLiteral("mdlg_subweb")};
    options.worldIds = {1, 7};
    QVERIFY(TestServers::loadSample(m_sub, options));
    HostConfig main = m_main.hostConfig(QStringLiteral("mdlg_main"));
    main.name = QStringLiteral("目标");
    HostConfig sub = m_sub.hostConfig(QString());  // no database: the preset fills the default
    sub.name = QStringLiteral("源");
    m_hosts = {main, sub};
}

TestMergeServerDialog::Widgets TestMergeServerDialog::widgets(MergeServerDialog &dialog)
{
    Widgets w;
    w.combos = dialog.findChildren<QComboBox *>();
    w.edits = dialog.findChildren<QLineEdit *>();
    for (QLabel *label : dialog.findChildren<QLabel *>()) {
        if (label->text().contains(QStringLiteral("WorldID")) || label->text() == QStringLiteral("请先连接主区和副区"))
            w.mode = label;
    }
    w.start = dialog.findChild<QPushButton *>(QStringLiteral("mergeBtn"));
    return w;
}

void TestMergeServerDialog::connectBoth(MergeServerDialog &dialog, int mainWorld, int subWorld)
{
    Widgets w = widgets(dialog);
    w.combos[0]->setCurrentIndex(1);
    w.combos[2]->setCurrentIndex(2);
    w.edits[10]->setText(QStringLiteral("mdlg_sub"));
    w.edits[5]->setText(QStringLiteral("mdlg_web"));
    w.edits[11]->setText(QStringLiteral("mdlg_subweb"));
    // A failed connect shows a box: answer it rather than hang, and fail.
    QList<ModalRecord> errors;
    answerMessageBoxes({QMessageBox::Ok, QMessageBox::Ok}, &errors);
    QVERIFY(clickButton(w.edits[0]->parentWidget(), QStringLiteral("连接")));
    QVERIFY(clickButton(w.edits[6]->parentWidget(), QStringLiteral("连接")));
    stopAnsweringModals();
    QVERIFY2(errors.isEmpty(), qPrintable(errors.isEmpty() ? QString() : errors.first().text));
    w.combos[1]->setCurrentIndex(w.combos[1]->findData(mainWorld));
    w.combos[3]->setCurrentIndex(w.combos[3]->findData(subWorld));
}

void TestMergeServerDialog::presetsConnectAndShowTheMode()
{
    MergeServerDialog dialog(m_hosts);
    Widgets w = widgets(dialog);
    // A preset fills the fields it has and keeps what the operator typed for the rest.
    w.edits[11]->setText(QStringLiteral("kept"));
    w.combos[2]->setCurrentIndex(2);
    QCOMPARE(QStringList({w.edits[7]->text(), w.edits[10]->text(), w.edits[11]->text()}),
             QStringList({QString::number(m_sub.port), "vexadb_main", "kept"}));
    connectBoth(dialog, 1, 1);
    QCOMPARE(w.mode->text(), QStringLiteral("WorldID 相同 (1) - 需重新分配charguid"));
    // Another preset disconnects the group, which stops the start.
    w.combos[2]->setCurrentIndex(0);
    QCOMPARE(w.combos[3]->count(), 0);
    QVERIFY(!w.start->isEnabled());
}

void TestMergeServerDialog::refusesABadLevelThenMerges()
{
    MergeServerDialog dialog(m_hosts);
    connectBoth(dialog, 2, 7);
    auto count = [this] {
        return TestServers::querySql(m_main, QStringLiteral("SELECT COUNT(*) FROM t_char WHERE zoneworldid = 2"), QStringLiteral("mdlg_main")).toInt();
    };
    const int before = count();
    dialog.findChild<QCheckBox *>()->setChecked(true);
    widgets(dialog).edits[14]->setText(QStringLiteral("0"));
    QList<ModalRecord> boxes;
    answerMessageBoxes({QMessageBox::Yes, QMessageBox::No, QMessageBox::Ok}, &boxes);
    widgets(dialog).start->click();
    QTRY_COMPARE(boxes.size(), 3);
    QCOMPARE(boxes.at(2).title, QStringLiteral("输入错误"));
    QCOMPARE(count(), before);

    dialog.findChild<QCheckBox *>()->setChecked(false);
    const int source = TestServers::querySql(m_sub, QStringLiteral("SELECT COUNT(*) FROM t_char WHERE zoneworldid = 7 AND isvalid = 1"), QStringLiteral("mdlg_sub")).toInt();
    boxes.clear();
    answerMessageBoxes({QMessageBox::Yes, QMessageBox::No, QMessageBox::Ok}, &boxes);
    widgets(dialog).start->click();
    QTRY_COMPARE_WITH_TIMEOUT(boxes.size(), 3, 60000);
    QCOMPARE(boxes.at(2).text, QStringLiteral("合区操作完成！"));
    QCOMPARE(count(), before + source);

    // Lines of both threads reach the day's file.
    QFile log(dailyLogPath(QStringLiteral("merge_"), QDate::currentDate()));
    QVERIFY(log.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(log.readAll());
    QVERIFY(text.contains(QStringLiteral("异步线程数据库连接成功")) && text.contains(QStringLiteral("========== 合区完成 ==========")));
}

QTEST_MAIN(TestMergeServerDialog)
#include "tst_mergeserverdialog.moc"
