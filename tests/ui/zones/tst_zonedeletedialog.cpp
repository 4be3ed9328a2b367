#include "app/dailylog.h"
#include "app/debuglog.h"
#include "db/databasemanager.h"
#include "modalanswer.h"
#include "testservers.h"
#include "ui/main/hoststore.h"
#include "ui/main/mainwindow.h"
#include "ui/zones/zonedeletedialog.h"

#include <QDir>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QTextEdit>
#include <QtTest>

// The zone wipe as the operator drives it: from the main window, with real widgets.
class TestZoneDeleteDialog : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();

    void withoutConnectionSaysSo();
    void listsWorldsAndAccountDatabases();
    void refusedOrDeclinedStartChangesNothing_data();
    void refusedOrDeclinedStartChangesNothing();
    void wipesZoneAndItsAccounts();

private:
    // Opens the dialog through the main window's button and runs `action` on it.
    void runFromMainWindow(const std::function<void(ZoneDeleteDialog *)> &action);
    int count(const QString &sql, const QString &database = QStringLiteral("zone_dlg"));
    QStringList fileMessages();

    TestServer m_server;
};

void TestZoneDeleteDialog::initTestCase()
{
    m_server = TestServers::shared();
    QVERIFY(m_server.isValid());
    SampleOptions options = TestServers::smallSample(QStringLiteral("zone_dlg"), {1, 2, 10}, 0);
    options.accountDatabases = {QStringLiteral("web"), QStringLiteral("web2")};
    options.worldSizes = {30, 20, 10};
    QVERIFY(TestServers::loadSample(m_server, options));
    QVERIFY(TestServers::runSql(m_server, "DROP DATABASE IF EXISTS web_bak; CREATE DATABASE web_bak;"));
    HostConfig host = m_server.hostConfig(QStringLiteral("zone_dlg"));
    QVERIFY(writeHostConfigs(hostConfigFilePath(), {host}));
}

void TestZoneDeleteDialog::cleanupTestCase()
{
    DatabaseManager::instance()->disconnectFromDatabase();
    QFile::remove(hostConfigFilePath());
    TestServers::runSql(m_server, "DROP DATABASE zone_dlg; DROP DATABASE web; DROP DATABASE web2; DROP DATABASE web_bak;");
}

void TestZoneDeleteDialog::init()
{
    DatabaseManager::instance()->disconnectFromDatabase();
}

int TestZoneDeleteDialog::count(const QString &sql, const QString &database)
{
    return TestServers::querySql(m_server, sql, database).toInt();
}

QStringList TestZoneDeleteDialog::fileMessages()
{
    QFile file(dailyLogPath(QStringLiteral("zone_delete_"), QDate::currentDate()));
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    QStringList messages;
    for (const QString &line : QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts))
        messages.append(line.mid(11));
    return messages;
}

void TestZoneDeleteDialog::runFromMainWindow(const std::function<void(ZoneDeleteDialog *)> &action)
{
    DatabaseManager::instance()->disconnectFromDatabase();
    MainWindow window;
    QTest::mouseClick(window.findChild<QPushButton *>(QStringLiteral("connectBtn")), Qt::LeftButton);
    QVERIFY(DatabaseManager::instance()->isConnected());
    bool ran = false;
    withNextModal([&](QWidget *modal) {
        auto *dialog = qobject_cast<ZoneDeleteDialog *>(modal);
        QVERIFY(dialog);
        ran = true;
        action(dialog);
        dialog->reject();
    });
    QTest::mouseClick(window.findChild<QPushButton *>(QStringLiteral("zoneDeleteBtn")), Qt::LeftButton);
    QVERIFY(ran);
}

void TestZoneDeleteDialog::withoutConnectionSaysSo()
{
    ZoneDeleteDialog dialog;
    QVERIFY(dialog.findChild<QTextEdit *>()->toPlainText().endsWith(QStringLiteral("错误：数据库未连接")));
    QCOMPARE(dialog.findChildren<QListWidget *>().at(0)->count(), 0);
}

void TestZoneDeleteDialog::listsWorldsAndAccountDatabases()
{
    runFromMainWindow([](ZoneDeleteDialog *dialog) {
        const QList<QListWidget *> lists = dialog->findChildren<QListWidget *>();
        QListWidget *worlds = lists.at(0);
        QCOMPARE(worlds->count(), 3);
        QCOMPARE(worlds->item(2)->text(), QStringLiteral("WorldID: 10  (角色数量: 10)"));
        QCOMPARE(worlds->item(2)->data(Qt::UserRole).toInt(), 10);
        QCOMPARE(lists.at(1)->count(), 2);  // web_bak is no account database
        QCOMPARE(lists.at(1)->item(1)->data(Qt::UserRole).toString(), QStringLiteral("web2"));
        clickButton(dialog, QStringLiteral("全选"));
        QCOMPARE(worlds->item(1)->checkState(), Qt::Checked);
        clickButton(dialog, QStringLiteral("取消全选"));
        QCOMPARE(worlds->item(1)->checkState(), Qt::Unchecked);
    });
}

void TestZoneDeleteDialog::refusedOrDeclinedStartChangesNothing_data()
{
    QTest::addColumn<bool>("tickWorld");
    QTest::addColumn<QList<QMessageBox::StandardButton>>("answers");
    QTest::addColumn<QString>("firstBox");
    QTest::newRow("no world ticked") << false << QList<QMessageBox::StandardButton>({QMessageBox::Ok})
                                     << QStringLiteral("请至少选择一个区服进行删档");
    const QString confirm = QStringLiteral("即将删除以下区服的所有数据：\n\n区服ID: 2\n角色总数: 20\n\n⚠️ 同时删除账号库: web2\n\n"
                                           "此操作不可撤销！建议先备份数据库。\n\n确定要继续吗？");
    QTest::newRow("no at the first") << true << QList<QMessageBox::StandardButton>({QMessageBox::No}) << confirm;
    QTest::newRow("no at the final") << true << QList<QMessageBox::StandardButton>({QMessageBox::Yes, QMessageBox::No}) << confirm;
}

void TestZoneDeleteDialog::refusedOrDeclinedStartChangesNothing()
{
    QFETCH(bool, tickWorld);
    QFETCH(QList<QMessageBox::StandardButton>, answers);
    QFETCH(QString, firstBox);
    QDir(applicationDirectory() + QStringLiteral("/Log")).removeRecursively();
    runFromMainWindow([&](ZoneDeleteDialog *dialog) {
        if (tickWorld)
            dialog->findChildren<QListWidget *>().at(0)->item(1)->setCheckState(Qt::Checked);
        dialog->findChildren<QListWidget *>().at(1)->item(1)->setCheckState(Qt::Checked);
        QList<ModalRecord> boxes;
        answerMessageBoxes(answers, &boxes);
        clickButton(dialog, QStringLiteral("开始删档"));
        QCOMPARE(boxes.size(), answers.size());
        QCOMPARE(boxes.first().text, firstBox);
        QVERIFY(dialog->findChild<QPushButton *>(QStringLiteral("deleteBtn"))->isEnabled());
    });
    QCOMPARE(count(QStringLiteral("SELECT COUNT(*) FROM t_char")), 60);
    QCOMPARE(count(QStringLiteral("SELECT COUNT(*) FROM account"), QStringLiteral("web2")), 10);
    QVERIFY(!fileMessages().contains(QStringLiteral("========== 开始删档操作 ==========")));
}

void TestZoneDeleteDialog::wipesZoneAndItsAccounts()
{
    QDir(applicationDirectory() + QStringLiteral("/Log")).removeRecursively();
    // World 2's accounts live in web2; one of them also owns a character in world 10.
    QVERIFY(TestServers::runSql(m_server, "UPDATE t_char SET accname = 'w2u0@qq.com' WHERE zoneworldid = 10 LIMIT 1;",
                                QStringLiteral("zone_dlg")));
    const int web2Before = count(QStringLiteral("SELECT COUNT(*) FROM account"), QStringLiteral("web2"));
    const int webBefore = count(QStringLiteral("SELECT COUNT(*) FROM account"), QStringLiteral("web"));

    for (int run = 0; run < 2; ++run) {
        const int world = run == 0 ? 2 : 1;
        runFromMainWindow([world](ZoneDeleteDialog *dialog) {
            QListWidget *worlds = dialog->findChildren<QListWidget *>().at(0);
            for (int i = 0; i < worlds->count(); ++i) {
                if (worlds->item(i)->data(Qt::UserRole).toInt() == world)
                    worlds->item(i)->setCheckState(Qt::Checked);
            }
            dialog->findChildren<QListWidget *>().at(1)->item(world == 2 ? 1 : 0)->setCheckState(Qt::Checked);
            QList<ModalRecord> boxes;
            answerMessageBoxes({QMessageBox::Yes, QMessageBox::Yes, QMessageBox::Ok}, &boxes);
            clickButton(dialog, QStringLiteral("开始删档"));
            QCOMPARE(boxes.value(2).text, QStringLiteral("删档完成！\n\n共删除 %1 个角色数据").arg(world == 2 ? 20 : 30));
            // The refresh after success shows what is left, with no ticks.
            QCOMPARE(worlds->count(), world == 2 ? 2 : 1);
            QCOMPARE(dialog->findChildren<QListWidget *>().at(1)->item(0)->checkState(), Qt::Unchecked);
            QCOMPARE(dialog->findChild<QProgressBar *>()->value(), 100);
        });
        if (run == 0) {
            QCOMPARE(count(QStringLiteral("SELECT COUNT(*) FROM t_char WHERE zoneworldid = 2")), 0);
            QCOMPARE(count(QStringLiteral("SELECT COUNT(*) FROM t_iteminfo i LEFT JOIN t_char c USING (charguid) "
                                          "WHERE c.charguid IS NULL")), 0);
            // The accounts of world 2's 20 characters (10 accounts) are gone from web2, even the
            // one that still owns a character elsewhere; web was not ticked.
            QCOMPARE(count(QStringLiteral("SELECT COUNT(*) FROM account"), QStringLiteral("web2")), web2Before - 10);
            QCOMPARE(count(QStringLiteral("SELECT COUNT(*) FROM account"), QStringLiteral("web")), webBefore);
        }
    }
    QCOMPARE(count(QStringLiteral("SELECT COUNT(*) FROM t_char")), 10);

    // Both wipes of the day went to the same file.
    const QStringList messages = fileMessages();
    QCOMPARE(messages.count(QStringLiteral("========== 开始删档操作 ==========")), 2);
    QCOMPARE(messages.count(QStringLiteral("========== 删档操作完成 ==========")), 2);
    QVERIFY(messages.contains(QStringLiteral("库 web2 成功删除 10 个账号")));
    QVERIFY(messages.contains(QStringLiteral("库 web 成功删除 15 个账号")));
}

QTEST_MAIN(TestZoneDeleteDialog)
#include "tst_zonedeletedialog.moc"
