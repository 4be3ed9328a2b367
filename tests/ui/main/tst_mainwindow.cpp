#include "app/dailylog.h"
#include "app/debuglog.h"
#include "db/databasemanager.h"
#include "modalanswer.h"
#include "testservers.h"
#include "ui/main/hoststore.h"
#include "ui/main/mainwindow.h"

#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QSqlDatabase>
#include <QPushButton>
#include <QTextEdit>
#include <QtTest>

class TestMainWindow : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void cleanup();

    void startsDisconnectedWithItsLayout();
    void connectButtonTogglesTheSession();
    void failedConnectionIsLogged();
    void testConnectionAnswersWithABox();
    void sessionActionsNeedAConnection_data();
    void sessionActionsNeedAConnection();
    void accountManagerFallsBackToCharacterDatabase();
    void logKeepsPercentSignsAndGoesToDatedFiles();
    void hostDialogAddsEntryNamedAfterItsHost();
    void hostDialogCancelKeepsEverything();
    void removingSelectedEntryFallsBackToFirst();
    void removingEveryEntryUsesTheInitialConfiguration();

private:
    QPushButton *button(MainWindow &w, const char *name) { return w.findChild<QPushButton *>(QLatin1String(name)); }
    QStringList logLines(MainWindow &w);
    QStringList logFileLines();

    TestServer m_server;
    HostConfigList m_hosts;
};

void TestMainWindow::initTestCase()
{
    m_server = TestServers::shared();
    QVERIFY(m_server.isValid());
    QVERIFY(TestServers::runSql(m_server, "CREATE DATABASE IF NOT EXISTS web;"));
    HostConfig good = m_server.hostConfig(QStringLiteral("mysql"));
    good.name = QStringLiteral("测试服务器");
    HostConfig bad = good;
    bad.name = QStringLiteral("错误密码");
    bad.password = QStringLiteral("wrong");
    HostConfig webless = good;
    webless.name = QStringLiteral("无账号库");
    webless.webHost.clear();
    webless.webPort = 0;
    webless.webUsername.clear();
    webless.webPassword.clear();
    webless.webDatabase.clear();
    m_hosts = {good, bad, webless};
}

void TestMainWindow::cleanupTestCase()
{
    TestServers::runSql(m_server, "DROP DATABASE IF EXISTS web;");
}

void TestMainWindow::init()
{
    QVERIFY(writeHostConfigs(hostConfigFilePath(), m_hosts));
    QDir(applicationDirectory() + QStringLiteral("/Log")).removeRecursively();
}

void TestMainWindow::cleanup()
{
    DatabaseManager::instance()->disconnectFromDatabase();
    QFile::remove(hostConfigFilePath());
}

QStringList TestMainWindow::logLines(MainWindow &w)
{
    return w.findChild<QTextEdit *>()->toPlainText().split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

QStringList TestMainWindow::logFileLines()
{
    QFile file(dailyLogPath(QStringLiteral("operation_"), QDate::currentDate()));
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    return QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

static QStringList messagesOf(const QStringList &lines)
{
    QStringList messages;
    for (const QString &line : lines) {
        if (QRegularExpression(QStringLiteral("^\\[\\d\\d:\\d\\d:\\d\\d\\] ")).match(line).hasMatch())
            messages.append(line.mid(11));
    }
    return messages;
}

void TestMainWindow::startsDisconnectedWithItsLayout()
{
    MainWindow w;
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QVERIFY(w.windowTitle().endsWith(QStringLiteral("v1.1")));
    QCOMPARE(w.size(), QSize(650, 700));
    QVERIFY(!w.windowIcon().isNull());
    QVERIFY(!QIcon(QStringLiteral(":/app.ico")).pixmap(32).isNull());

    auto *status = w.findChild<QLabel *>(QStringLiteral("statusLabel"));
    QCOMPARE(status->text(), QStringLiteral("● 未连接"));
    QVERIFY(status->styleSheet().startsWith(QStringLiteral("color: #ef4444;")));
    QCOMPARE(button(w, "connectBtn")->text(), QStringLiteral("连接数据库"));
    const QList<std::pair<const char *, QString>> buttons = {
        {"configBtn", QStringLiteral("管理配置")}, {"testBtn", QStringLiteral("测试连接")},
        {"backupBtn", QStringLiteral("备份数据库")}, {"restoreBtn", QStringLiteral("恢复数据库")},
        {"charMgrBtn", QStringLiteral("角色管理")}, {"accountMgrBtn", QStringLiteral("账号管理")},
        {"mergeServerBtn", QStringLiteral("跨服合区")}, {"sameServerMergeBtn", QStringLiteral("同服合区")},
        {"zoneDeleteBtn", QStringLiteral("区服删档")}};
    for (const auto &[name, text] : buttons) {
        QVERIFY2(button(w, name), name);
        QCOMPARE(button(w, name)->text(), text);
    }
    QCOMPARE(button(w, "configBtn")->size(), QSize(90, 36));

    auto *combo = w.findChild<QComboBox *>();
    QCOMPARE(combo->count(), 3);
    QCOMPARE(combo->itemText(0), QStringLiteral("测试服务器"));
    QCOMPARE(w.findChild<QProgressBar *>()->value(), 0);
    QVERIFY(w.findChild<QTextEdit *>()->isReadOnly());
    QVERIFY(w.styleSheet().contains(QStringLiteral("#1e1e2e")));

    // The selected entry is handed out without its name.
    HostConfig expected = m_hosts.first();
    expected.name.clear();
    QCOMPARE(w.getCurrentConfig(), expected);
}

void TestMainWindow::connectButtonTogglesTheSession()
{
    MainWindow w;
    w.show();
    QTest::mouseClick(button(w, "connectBtn"), Qt::LeftButton);

    DatabaseManager *db = DatabaseManager::instance();
    QVERIFY(db->isConnected());
    QVERIFY(db->isKeepAliveActive());
    QCOMPARE(w.findChild<QLabel *>(QStringLiteral("statusLabel"))->text(), QStringLiteral("● 已连接"));
    QCOMPARE(button(w, "connectBtn")->text(), QStringLiteral("断开连接"));
    const QStringList connected = {QStringLiteral("正在连接..."), QStringLiteral("连接成功!"),
                                   QStringLiteral("已启动数据库连接保活")};
    QCOMPARE(messagesOf(logLines(w)), connected);
    QCOMPARE(messagesOf(logFileLines()), connected);

    QTest::mouseClick(button(w, "connectBtn"), Qt::LeftButton);
    QVERIFY(!db->isConnected());
    QVERIFY(!db->isKeepAliveActive());
    QCOMPARE(w.findChild<QLabel *>(QStringLiteral("statusLabel"))->text(), QStringLiteral("● 未连接"));
    QCOMPARE(button(w, "connectBtn")->text(), QStringLiteral("连接数据库"));
    QCOMPARE(messagesOf(logFileLines()).last(), QStringLiteral("已断开连接"));
}

void TestMainWindow::failedConnectionIsLogged()
{
    MainWindow w;
    w.findChild<QComboBox *>()->setCurrentIndex(1);
    QTest::mouseClick(button(w, "connectBtn"), Qt::LeftButton);
    const QStringList messages = messagesOf(logFileLines());
    QCOMPARE(messages.size(), 3);
    QCOMPARE(messages.at(0), QStringLiteral("正在连接..."));
    QVERIFY(messages.at(1).contains(QStringLiteral("Access denied")));
    QCOMPARE(messages.at(2), QStringLiteral("连接失败"));
    QCOMPARE(w.findChild<QLabel *>(QStringLiteral("statusLabel"))->text(), QStringLiteral("● 未连接"));
    QVERIFY(!DatabaseManager::instance()->isConnected());
}

void TestMainWindow::testConnectionAnswersWithABox()
{
    MainWindow w;
    ModalRecord success;
    answerNextMessageBox(QMessageBox::Ok, &success);
    QTest::mouseClick(button(w, "testBtn"), Qt::LeftButton);
    QVERIFY(success.seen);
    QCOMPARE(success.title, QStringLiteral("成功"));
    QCOMPARE(success.text, QStringLiteral("数据库连接测试成功!"));
    QVERIFY(!DatabaseManager::instance()->isConnected());

    w.findChild<QComboBox *>()->setCurrentIndex(1);
    ModalRecord failure;
    answerNextMessageBox(QMessageBox::Ok, &failure);
    QTest::mouseClick(button(w, "testBtn"), Qt::LeftButton);
    QCOMPARE(failure.title, QStringLiteral("失败"));
    QCOMPARE(failure.text, QStringLiteral("数据库连接测试失败,请检查配置"));

    const QStringList messages = messagesOf(logLines(w));
    QCOMPARE(messages.first(), QStringLiteral("测试连接..."));
    QCOMPARE(messages.at(1), QStringLiteral("连接测试成功!"));
    QCOMPARE(messages.at(2), QStringLiteral("测试连接..."));
    QVERIFY(messages.at(3).contains(QStringLiteral("Access denied")));
    QCOMPARE(messages.at(4), QStringLiteral("连接测试失败"));
}

void TestMainWindow::sessionActionsNeedAConnection_data()
{
    QTest::addColumn<QString>("buttonName");
    QTest::newRow("characters") << QStringLiteral("charMgrBtn");
    QTest::newRow("same-server merge") << QStringLiteral("sameServerMergeBtn");
    QTest::newRow("zone wipe") << QStringLiteral("zoneDeleteBtn");
}

void TestMainWindow::sessionActionsNeedAConnection()
{
    QFETCH(QString, buttonName);
    MainWindow w;
    ModalRecord box;
    answerNextMessageBox(QMessageBox::Ok, &box);
    QTest::mouseClick(w.findChild<QPushButton *>(buttonName), Qt::LeftButton);
    QVERIFY(box.seen);
    QCOMPARE(box.title, QStringLiteral("提示"));
    QCOMPARE(box.text, QStringLiteral("请先连接数据库！"));
    QVERIFY(logFileLines().isEmpty());
}

void TestMainWindow::accountManagerFallsBackToCharacterDatabase()
{
    MainWindow w;
    w.findChild<QComboBox *>()->setCurrentIndex(2);
    QString connectedTo;
    withNextModal([&connectedTo](QWidget *dialog) {
        connectedTo = QSqlDatabase::database(QStringLiteral("web_connection"), false).databaseName();
        dialog->close();
    }, "AccountManagerDialog");
    QTest::mouseClick(button(w, "accountMgrBtn"), Qt::LeftButton);
    QCOMPARE(connectedTo, QStringLiteral("web"));
    QCOMPARE(messagesOf(logFileLines()),
             QStringList{QStringLiteral("打开账号管理: root@127.0.0.1:%1/web").arg(m_server.port)});

    HostConfig entry;
    entry.host = QStringLiteral("chars.example");
    entry.port = 3310;
    entry.username = QStringLiteral("gm");
    entry.password = QStringLiteral("pw");
    entry.webHost = QStringLiteral("web.example");
    entry.webPort = 0;
    entry.webDatabase = QStringLiteral("web2");
    const HostConfig web = MainWindow::accountDatabaseConfig(entry);
    QCOMPARE(web.host, QStringLiteral("web.example"));
    QCOMPARE(web.port, 3310);
    QCOMPARE(web.username, QStringLiteral("gm"));
    QCOMPARE(web.password, QStringLiteral("pw"));
    QCOMPARE(web.database, QStringLiteral("web2"));
}

void TestMainWindow::logKeepsPercentSignsAndGoesToDatedFiles()
{
    MainWindow w;
    QMetaObject::invokeMethod(&w, "onLogMessage", Q_ARG(QString, QStringLiteral("进度 100%1 <b>完成</b>")));
    QCOMPARE(messagesOf(logLines(w)), QStringList{QStringLiteral("进度 100%1 <b>完成</b>")});
    QCOMPARE(messagesOf(logFileLines()), QStringList{QStringLiteral("进度 100%1 <b>完成</b>")});

    // The date is taken per line: a line after midnight opens the next day's file.
    const QDate day(2026, 12, 31);
    appendToDailyLog(QStringLiteral("operation_"), timestampedLine(QStringLiteral("before")), day);
    appendToDailyLog(QStringLiteral("operation_"), timestampedLine(QStringLiteral("after")), day.addDays(1));
    QVERIFY(QFile::exists(applicationDirectory() + QStringLiteral("/Log/operation_2026-12-31.log")));
    QFile next(applicationDirectory() + QStringLiteral("/Log/operation_2027-01-01.log"));
    QVERIFY(next.open(QIODevice::ReadOnly));
    QCOMPARE(messagesOf(QString::fromUtf8(next.readAll()).split(QLatin1Char('\n'))), QStringList{QStringLiteral("after")});
}

void TestMainWindow::hostDialogAddsEntryNamedAfterItsHost()
{
    MainWindow w;
    w.findChild<QComboBox *>()->setCurrentIndex(1);
    withNextModal([](QWidget *dialog) {
        withNextModal([](QWidget *form) {
            QCOMPARE(form->windowTitle(), QStringLiteral("添加配置"));
            auto field = [form](const char *name) { return form->findChild<QLineEdit *>(QLatin1String(name)); };
            QCOMPARE(field("nameEdit")->text(), QStringLiteral("新配置"));
            QCOMPARE(field("hostEdit")->text(), QStringLiteral("localhost"));
            QCOMPARE(field("webDatabaseEdit")->text(), QStringLiteral("web"));
            QCOMPARE(field("passwordEdit")->echoMode(), QLineEdit::Password);
            field("nameEdit")->setText(QStringLiteral("  "));
            field("hostEdit")->setText(QStringLiteral(" 192.0.2.7 "));
            field("portEdit")->setText(QStringLiteral("abc"));
            field("passwordEdit")->setText(QStringLiteral(" p w "));
            form->findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok)->click();
        });
        QVERIFY(clickButton(dialog, QStringLiteral("添加")));
        QCOMPARE(dialog->findChild<QListWidget *>()->count(), 4);
        QVERIFY(clickButton(dialog, QStringLiteral("保存")));
    });
    QTest::mouseClick(button(w, "configBtn"), Qt::LeftButton);

    const HostConfigList saved = readHostConfigs(hostConfigFilePath());
    QCOMPARE(saved.size(), 4);
    const HostConfig &added = saved.last();
    QCOMPARE(added.name, QStringLiteral("192.0.2.7"));
    QCOMPARE(added.host, QStringLiteral("192.0.2.7"));
    QCOMPARE(added.port, 0);
    QCOMPARE(added.password, QStringLiteral(" p w "));
    QCOMPARE(added.webHost, QStringLiteral("localhost"));
    QCOMPARE(w.hostConfigs(), saved);
    auto *combo = w.findChild<QComboBox *>();
    QCOMPARE(combo->count(), 4);
    QCOMPARE(combo->currentText(), QStringLiteral("错误密码"));
    QCOMPARE(messagesOf(logFileLines()), QStringList{QStringLiteral("主机配置已更新")});
}

void TestMainWindow::hostDialogCancelKeepsEverything()
{
    MainWindow w;
    QFile before(hostConfigFilePath());
    QVERIFY(before.open(QIODevice::ReadOnly));
    const QByteArray content = before.readAll();
    before.close();

    withNextModal([](QWidget *dialog) {
        withNextModal([](QWidget *form) {
            form->findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok)->click();
        });
        QVERIFY(clickButton(dialog, QStringLiteral("添加")));
        QVERIFY(clickButton(dialog, QStringLiteral("取消")));
    });
    QTest::mouseClick(button(w, "configBtn"), Qt::LeftButton);
    QCOMPARE(w.hostConfigs(), m_hosts);
    QVERIFY(before.open(QIODevice::ReadOnly));
    QCOMPARE(before.readAll(), content);
    QVERIFY(logFileLines().isEmpty());
}

void TestMainWindow::removingSelectedEntryFallsBackToFirst()
{
    MainWindow w;
    w.findChild<QComboBox *>()->setCurrentIndex(2);
    ModalRecord question;
    withNextModal([&question](QWidget *dialog) {
        dialog->findChild<QListWidget *>()->setCurrentRow(2);
        answerNextMessageBox(QMessageBox::Yes, &question);
        QVERIFY(clickButton(dialog, QStringLiteral("删除")));
        QVERIFY(clickButton(dialog, QStringLiteral("保存")));
    });
    QTest::mouseClick(button(w, "configBtn"), Qt::LeftButton);
    QCOMPARE(question.title, QStringLiteral("确认删除"));
    QCOMPARE(question.text, QStringLiteral("确定要删除配置 \"无账号库\" 吗？"));
    auto *combo = w.findChild<QComboBox *>();
    QCOMPARE(combo->count(), 2);
    QCOMPARE(combo->currentIndex(), 0);
    QCOMPARE(readHostConfigs(hostConfigFilePath()).size(), 2);
}

void TestMainWindow::removingEveryEntryUsesTheInitialConfiguration()
{
    {
        MainWindow w;
        withNextModal([](QWidget *dialog) {
            auto *list = dialog->findChild<QListWidget *>();
            while (list->count() > 0) {
                list->setCurrentRow(0);
                answerNextMessageBox(QMessageBox::Yes);
                QVERIFY(clickButton(dialog, QStringLiteral("删除")));
            }
            QVERIFY(clickButton(dialog, QStringLiteral("保存")));
        });
        QTest::mouseClick(button(w, "configBtn"), Qt::LeftButton);
        QCOMPARE(w.findChild<QComboBox *>()->count(), 0);
        QCOMPARE(w.getCurrentConfig(), HostConfig::initial());

        // Account management needs a selected entry.
        ModalRecord warning;
        answerNextMessageBox(QMessageBox::Ok, &warning);
        QTest::mouseClick(button(w, "accountMgrBtn"), Qt::LeftButton);
        QCOMPARE(warning.title, QStringLiteral("警告"));
        QCOMPARE(warning.text, QStringLiteral("请先选择主机配置"));
    }
    MainWindow next;
    QCOMPARE(next.findChild<QComboBox *>()->itemText(0), QStringLiteral("本地数据库"));
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
