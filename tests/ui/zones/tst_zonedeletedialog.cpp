#include "app/dailylog.h"
#include "app/debuglog.h"
#include "db/databasemanager.h"
#include "modalanswer.h"
#include "testservers.h"
#include "ui/main/hoststore.h"
#include "ui/main/mainwindow.h"
#include "ui/zones/zonedeletedialog.h"

#include <QDir>
#include <QListWidget>
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
    void init() { QDir(applicationDirectory() + QStringLiteral("/Log")).removeRecursively(); }

    void withoutConnectionSaysSo();
    void refusedOrDeclinedStartChangesNothing_data();
    void refusedOrDeclinedStartChangesNothing();
    void wipesZoneAndItsAccounts();

private:
    // Opens the dialog through the main window's button, ticks world `world` (0: none) and the
    // account database in row `accounts`, presses start and answers the boxes.
    QList<ModalRecord> wipe(int world, int accounts, const QList<QMessageBox::StandardButton> &answers);
    int count(const QString &sql, const QString &database = QStringLiteral("zone_dlg"))
    {
        return TestServers::querySql(m_server, sql, database).toInt();
    }
    QString logText();

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
    QVERIFY(writeHostConfigs(hostConfigFilePath(), {m_server.hostConfig(QStringLiteral("zone_dlg"))}));
}

void TestZoneDeleteDialog::cleanupTestCase()
{
    DatabaseManager::instance()->disconnectFromDatabase();
    QFile::remove(hostConfigFilePath());
    TestServers::runSql(m_server, "DROP DATABASE zone_dlg; DROP DATABASE web; DROP DATABASE web2; DROP DATABASE web_bak;");
}

QString TestZoneDeleteDialog::logText()
{
    QFile file(dailyLogPath(QStringLiteral("zone_delete_"), QDate::currentDate()));
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

QList<ModalRecord> TestZoneDeleteDialog::wipe(int world, int accounts, const QList<QMessageBox::StandardButton> &answers)
{
    DatabaseManager::instance()->disconnectFromDatabase();
    MainWindow window;
    QTest::mouseClick(window.findChild<QPushButton *>(QStringLiteral("connectBtn")), Qt::LeftButton);
    QList<ModalRecord> boxes;
    withNextModal([&](QWidget *modal) {
        auto *dialog = qobject_cast<ZoneDeleteDialog *>(modal);
        QVERIFY(dialog);
        const QList<QListWidget *> lists = dialog->findChildren<QListWidget *>();
        QCOMPARE(lists.at(1)->count(), 2);  // web and web2; web_bak is no account database
        for (int i = 0; i < lists.at(0)->count(); ++i) {
            if (lists.at(0)->item(i)->data(Qt::UserRole).toInt() == world)
                lists.at(0)->item(i)->setCheckState(Qt::Checked);
        }
        lists.at(1)->item(accounts)->setCheckState(Qt::Checked);
        answerMessageBoxes(answers, &boxes);
        clickButton(dialog, QStringLiteral("开始删档"));
        // The refresh after a wipe shows what is left, with no ticks.
        for (int i = 0; i < lists.at(0)->count(); ++i)
            QVERIFY(lists.at(0)->item(i)->data(Qt::UserRole).toInt() != world || boxes.size() < 3);
        QVERIFY(dialog->findChild<QPushButton *>(QStringLiteral("deleteBtn"))->isEnabled());
        dialog->reject();
    });
    QTest::mouseClick(window.findChild<QPushButton *>(QStringLiteral("zoneDeleteBtn")), Qt::LeftButton);
    return boxes;
}

void TestZoneDeleteDialog::withoutConnectionSaysSo()
{
    DatabaseManager::instance()->disconnectFromDatabase();
    ZoneDeleteDialog dialog;
    QVERIFY(dialog.findChild<QTextEdit *>()->toPlainText().endsWith(QStringLiteral("错误：数据库未连接")));
    QCOMPARE(dialog.findChildren<QListWidget *>().at(0)->count(), 0);
}

void TestZoneDeleteDialog::refusedOrDeclinedStartChangesNothing_data()
{
    QTest::addColumn<int>("world");
    QTest::addColumn<QList<QMessageBox::StandardButton>>("answers");
    QTest::addColumn<QString>("firstBox");
    QTest::newRow("no world ticked") << 0 << QList<QMessageBox::StandardButton>({QMessageBox::Ok})
                                     << QStringLiteral("请至少选择一个区服进行删档");
    const QString confirm = QStringLiteral("即将删除以下区服的所有数据：\n\n区服ID: 2\n角色总数: 20\n\n⚠️ 同时删除账号库: web2\n\n"
                                           "此操作不可撤销！建议先备份数据库。\n\n确定要继续吗？");
    QTest::newRow("no at the first") << 2 << QList<QMessageBox::StandardButton>({QMessageBox::No}) << confirm;
    QTest::newRow("no at the final") << 2 << QList<QMessageBox::StandardButton>({QMessageBox::Yes, QMessageBox::No}) << confirm;
}

void TestZoneDeleteDialog::refusedOrDeclinedStartChangesNothing()
{
    QFETCH(int, world);
    QFETCH(QList<QMessageBox::StandardButton>, answers);
    QFETCH(QString, firstBox);
    const QList<ModalRecord> boxes = wipe(world, 1, answers);
    QCOMPARE(boxes.size(), answers.size());
    QCOMPARE(boxes.first().text, firstBox);
    QCOMPARE(count(QStringLiteral("SELECT COUNT(*) FROM t_char")), 60);
    QCOMPARE(count(QStringLiteral("SELECT COUNT(*) FROM account"), QStringLiteral("web2")), 10);
    QVERIFY(!logText().contains(QStringLiteral("开始删档操作")));
}

void TestZoneDeleteDialog::wipesZoneAndItsAccounts()
{
    // World 2's accounts live in web2; one of them also owns a character in world 10.
    QVERIFY(TestServers::runSql(m_server, "UPDATE t_char SET accname = 'w2u0@qq.com' WHERE zoneworldid = 10 LIMIT 1;",
                                QStringLiteral("zone_dlg")));
    const int web2Before = count(QStringLiteral("SELECT COUNT(*) FROM account"), QStringLiteral("web2"));
    const int webBefore = count(QStringLiteral("SELECT COUNT(*) FROM account"), QStringLiteral("web"));
    const QList<ModalRecord> boxes = wipe(2, 1, {QMessageBox::Yes, QMessageBox::Yes, QMessageBox::Ok});
    QCOMPARE(boxes.value(2).text, QStringLiteral("删档完成！\n\n共删除 20 个角色数据"));
    QCOMPARE(count(QStringLiteral("SELECT COUNT(*) FROM t_char WHERE zoneworldid = 2")), 0);
    QCOMPARE(count(QStringLiteral("SELECT COUNT(*) FROM t_char")), 40);
    QCOMPARE(count(QStringLiteral("SELECT COUNT(*) FROM t_iteminfo i LEFT JOIN t_char c USING (charguid) WHERE c.charguid IS NULL")), 0);
    // The accounts of world 2's 20 characters (10 accounts) are gone from web2, even the one that
    // still owns a character elsewhere; web was not ticked.
    QCOMPARE(count(QStringLiteral("SELECT COUNT(*) FROM account"), QStringLiteral("web2")), web2Before - 10);
    QCOMPARE(count(QStringLiteral("SELECT COUNT(*) FROM account"), QStringLiteral("web")), webBefore);
    const QString log = logText();
    QVERIFY(log.contains(QStringLiteral("========== 开始删档操作 ==========")) && log.contains(QStringLiteral("库 web2 成功删除 10 个账号")));
}

QTEST_MAIN(TestZoneDeleteDialog)
#include "tst_zonedeletedialog.moc"
