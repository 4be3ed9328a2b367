#include "db/databasemanager.h"
#include "merge/sameservermergedialog.h"
#include "modalanswer.h"
#include "testservers.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTextEdit>
#include <QtTest>

namespace {
const QString kDb = QStringLiteral("ssmd_db");

QLabel *labelStartingWith(QWidget *parent, const QString &start)
{
    for (QLabel *label : parent->findChildren<QLabel *>()) {
        if (label->text().startsWith(start))
            return label;
    }
    return nullptr;
}

QString preview(QWidget *dialog)
{
    return labelStartingWith(dialog, QStringLiteral("副区 ["))->text();
}
} // namespace

// The same-server merge window with real widgets on the test server's session.
class TestSameServerMergeDialog : public QObject
{
    Q_OBJECT

private slots:
    void cleanupTestCase();
    void singleWorldIsRefused();
    void previewFollowsTheSettings();
    void runsAndReportsBothOutcomes();

private:
    void load(const QList<int> &worlds);

    TestServer m_server;
};

void TestSameServerMergeDialog::cleanupTestCase()
{
    DatabaseManager::instance()->disconnectFromDatabase();
    TestServers::runSql(m_server, "DROP DATABASE IF EXISTS ssmd_db; DROP DATABASE IF EXISTS ssmd_web; DROP DATABASE IF EXISTS ssmd_web2;");
}

void TestSameServerMergeDialog::load(const QList<int> &worlds)
{
    SampleOptions options = TestServers::smallSample(kDb, worlds, 40);
    options.accountDatabases = {QStringLiteral("ssmd_web"), QStringLiteral("ssmd_web2")};
    QVERIFY(TestServers::loadAndConnect(&m_server, options));
}

void TestSameServerMergeDialog::singleWorldIsRefused()
{
    load({5});
    SameServerMergeDialog dialog;
    QCOMPARE(dialog.findChildren<QComboBox *>().at(1)->currentText(), QStringLiteral("5 (40个角色)"));
    QList<ModalRecord> boxes;
    answerMessageBoxes({QMessageBox::Ok}, &boxes);
    dialog.findChild<QPushButton *>(QStringLiteral("executeBtn"))->click();
    QCOMPARE(boxes.value(0).text, QStringLiteral("副区和主区不能相同！"));
}

void TestSameServerMergeDialog::previewFollowsTheSettings()
{
    load({1, 2});
    QVERIFY(TestServers::runSql(m_server, "INSERT INTO account (name, password, reg_time, reg_ip) VALUES ('w1u4', 'x', NOW(), '');",
                                QStringLiteral("ssmd_web2")));
    const QString lowLevel = TestServers::querySql(m_server, QStringLiteral("SELECT COUNT(*) FROM t_char WHERE level <= 10"), kDb);
    SameServerMergeDialog dialog;
    dialog.findChild<QCheckBox *>()->setChecked(true);
    QLineEdit *level = nullptr;
    for (QLineEdit *edit : dialog.findChildren<QLineEdit *>()) {
        if (edit->text() == QLatin1String("10"))
            level = edit;
    }
    level->setText(QString());  // counts with level 10, shows what was typed
    QVERIFY(preview(&dialog).contains(QStringLiteral("清理 ≤级: %1 个\n").arg(lowLevel)));
    QVERIFY(preview(&dialog).contains(QStringLiteral("合并后总角色: %1 个").arg(80 - lowLevel.toInt())));

    editWithPlaceholder(&dialog, QStringLiteral("如: web"))->setText(QStringLiteral("ssmd_web2"));
    editWithPlaceholder(&dialog, QStringLiteral("如: web2"))->setText(QStringLiteral("ssmd_web"));
    dialog.findChildren<QRadioButton *>().at(1)->setChecked(true);
    QVERIFY(preview(&dialog).contains(QStringLiteral("副区账号: 20 个\n冲突账号: 1 个\n")));
    // A name that is not a plain identifier never reaches a statement.
    editWithPlaceholder(&dialog, QStringLiteral("如: web2"))->setText(QStringLiteral("ssmd_web`.account, mysql.user --"));
    QList<ModalRecord> boxes;
    answerMessageBoxes({QMessageBox::Ok}, &boxes);
    dialog.findChild<QPushButton *>(QStringLiteral("executeBtn"))->click();
    QCOMPARE(boxes.value(0).text, QStringLiteral("账号库名称只能包含字母、数字、_ 和 $！"));
}

void TestSameServerMergeDialog::runsAndReportsBothOutcomes()
{
    load({1, 2});
    // First a refused run: the dialog stays open with its log; then the merge itself.
    QVERIFY(TestServers::runSql(m_server, "CREATE TRIGGER guard BEFORE UPDATE ON t_iteminfo FOR EACH ROW "
                                          "SIGNAL SQLSTATE '45000' SET MESSAGE_TEXT = 'items are protected';", kDb));
    SameServerMergeDialog dialog;
    auto *execute = dialog.findChild<QPushButton *>(QStringLiteral("executeBtn"));
    QList<ModalRecord> boxes;
    answerMessageBoxes({QMessageBox::Yes, QMessageBox::Ok}, &boxes);
    execute->click();
    QVERIFY(!execute->isEnabled());
    QTRY_COMPARE_WITH_TIMEOUT(boxes.size(), 2, 30000);
    QCOMPARE(boxes.at(1).text, QStringLiteral("合区操作失败，数据已回滚，请查看日志。"));
    QVERIFY(execute->isEnabled());
    const QString log = dialog.findChild<QTextEdit *>()->toPlainText();
    QVERIFY(log.contains(QStringLiteral("items are protected")) && log.contains(QStringLiteral("↩ 事务已回滚")));
    QCOMPARE(TestServers::querySql(m_server, QStringLiteral("SELECT COUNT(*) FROM t_char WHERE zoneworldid = 1"), kDb),
             QStringLiteral("40"));

    QVERIFY(TestServers::runSql(m_server, "DROP TRIGGER guard;", kDb));
    boxes.clear();
    answerMessageBoxes({QMessageBox::Yes, QMessageBox::Ok}, &boxes);
    execute->click();
    QTRY_COMPARE_WITH_TIMEOUT(boxes.size(), 2, 30000);
    QCOMPARE(boxes.at(1).text, QStringLiteral("同服合区操作完成！"));
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(TestServers::querySql(m_server, QStringLiteral("SELECT COUNT(*) FROM t_char WHERE zoneworldid = 2"), kDb),
             QStringLiteral("80"));
}

QTEST_MAIN(TestSameServerMergeDialog)
#include "tst_sameservermergedialog.moc"
