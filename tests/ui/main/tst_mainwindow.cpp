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
#include <QSqlDatabase>
#include <QPushButton>
#include <QTextEdit>
#include <QtTest>

class TestMainWindow : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase() { TestServers::runSql(m_server, "DROP DATABASE IF EXISTS web;"); }
    void init();
    void cleanup();

    void connectsTestsAndLogs();
    void sessionActionsNeedAConnection_data();
    void sessionActionsNeedAConnection();
    void accountManagerFallsBackToCharacterDatabase();
    void logKeepsPercentSignsAndGoesToDatedFiles();
    void hostDialogAddsAndCancels();
    void removingEntries();

private:
    QPushButton *button(MainWindow &w, const char *name) { return w.findChild<QPushButton *>(QLatin1String(name)); }
    static QStringList messagesOf(const QStringList &lines);
    QStringList logLines(MainWindow &w) { return messagesOf(w.findChild<QTextEdit *>()->toPlainText().split(QLatin1Char('\n'))); }
    QStringList logFileLines();
    void editHosts(MainWindow &w, const std::function<void(QWidget *)> &action);

    TestServer m_server;
    HostConfigList m_hosts;
};

void TestMainWindow::initTestCase()
{
    m_server = TestServers::shared();
    QVERIFY(m_server.isValid());
    QVERIFY(TestServers::runSql(m_server, "CREATE DATABASE IF NOT EXISTS web;"));
    HostConfig good = m_server.hostConfig(QStringLiteral("mysql"));
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

QStringList TestMainWindow::logFileLines()
{
    QFile file(dailyLogPath(QStringLiteral("operation_"), QDate::currentDate()));
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    return messagesOf(QString::fromUtf8(file.readAll()).split(QLatin1Char('\n')));
}

QStringList TestMainWindow::messagesOf(const QStringList &lines)
{
    QStringList messages;
    static const QRegularExpression stamp(QStringLiteral("^\\[\\d\\d:\\d\\d:\\d\\d\\] "));
    for (const QString &line : lines) {
        if (stamp.match(line).hasMatch())
            messages.append(line.mid(11));
    }
    return messages;
}

void TestMainWindow::editHosts(MainWindow &w, const std::function<void(QWidget *)> &action)
{
    withNextModal(action);
    QTest::mouseClick(button(w, "configBtn"), Qt::LeftButton);
}

void TestMainWindow::connectsTestsAndLogs()
{
    MainWindow w;
    w.show();
    // The selected entry is handed out without its name.
    HostConfig expected = m_hosts.first();
    expected.name.clear();
    QCOMPARE(w.getCurrentConfig(), expected);

    DatabaseManager *db = DatabaseManager::instance();
    QTest::mouseClick(button(w, "connectBtn"), Qt::LeftButton);
    QVERIFY(db->isConnected() && db->isKeepAliveActive());
    QCOMPARE(w.findChild<QLabel *>(QStringLiteral("statusLabel"))->text(), QStringLiteral("● 已连接"));
    const QStringList connected = {QStringLiteral("正在连接..."), QStringLiteral("连接成功!"), QStringLiteral("已启动数据库连接保活")};
    QCOMPARE(logLines(w), connected);
    QCOMPARE(logFileLines(), connected);
    QTest::mouseClick(button(w, "connectBtn"), Qt::LeftButton);
    QVERIFY(!db->isConnected() && !db->isKeepAliveActive());
    QCOMPARE(logFileLines().last(), QStringLiteral("已断开连接"));

    // A test connection leaves the session alone and answers with a box.
    ModalRecord success;
    answerNextMessageBox(QMessageBox::Ok, &success);
    QTest::mouseClick(button(w, "testBtn"), Qt::LeftButton);
    QCOMPARE(success.text, QStringLiteral("数据库连接测试成功!"));
    QVERIFY(!db->isConnected());

    w.findChild<QComboBox *>()->setCurrentIndex(1);
    ModalRecord failure;
    answerNextMessageBox(QMessageBox::Ok, &failure);
    QTest::mouseClick(button(w, "testBtn"), Qt::LeftButton);
    QCOMPARE(failure.text, QStringLiteral("数据库连接测试失败,请检查配置"));
    QTest::mouseClick(button(w, "connectBtn"), Qt::LeftButton);
    QVERIFY(!db->isConnected());
    const QStringList failed = logFileLines().mid(connected.size() + 1 + 2);
    QCOMPARE(failed.size(), 6);
    QVERIFY(failed.at(1).contains(QStringLiteral("Access denied")) && failed.at(4).contains(QStringLiteral("Access denied")));
    QCOMPARE(failed.last(), QStringLiteral("连接失败"));
    QCOMPARE(w.findChild<QLabel *>(QStringLiteral("statusLabel"))->text(), QStringLiteral("● 未连接"));
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
    QCOMPARE(logFileLines(), QStringList{QStringLiteral("打开账号管理: root@127.0.0.1:%1/web").arg(m_server.port)});

    HostConfig entry;
    entry.host = QStringLiteral("chars.example");
    entry.port = 3310;
    entry.username = QStringLiteral("gm");
    entry.password = QStringLiteral("pw");
    entry.webHost = QStringLiteral("web.example");
    entry.webPort = 0;
    entry.webDatabase = QStringLiteral("web2");
    const HostConfig web = MainWindow::accountDatabaseConfig(entry);
    QCOMPARE(QStringList({web.host, QString::number(web.port), web.username, web.password, web.database}),
             QStringList({"web.example", "3310", "gm", "pw", "web2"}));
}

void TestMainWindow::logKeepsPercentSignsAndGoesToDatedFiles()
{
    MainWindow w;
    QMetaObject::invokeMethod(&w, "onLogMessage", Q_ARG(QString, QStringLiteral("进度 100%1 <b>完成</b>")));
    QCOMPARE(logLines(w), QStringList{QStringLiteral("进度 100%1 <b>完成</b>")});
    QCOMPARE(logFileLines(), QStringList{QStringLiteral("进度 100%1 <b>完成</b>")});

    // The date is taken per line: a line after midnight opens the next day's file.
    const QDate day(2026, 12, 31);
    appendToDailyLog(QStringLiteral("operation_"), timestampedLine(QStringLiteral("before")), day);
    appendToDailyLog(QStringLiteral("operation_"), timestampedLine(QStringLiteral("after")), day.addDays(1));
    QVERIFY(QFile::exists(applicationDirectory() + QStringLiteral("/Log/operation_2026-12-31.log")));
    QFile next(applicationDirectory() + QStringLiteral("/Log/operation_2027-01-01.log"));
    QVERIFY(next.open(QIODevice::ReadOnly));
    QCOMPARE(messagesOf(QString::fromUtf8(next.readAll()).split(QLatin1Char('\n'))), QStringList{QStringLiteral("after")});
}

void TestMainWindow::hostDialogAddsAndCancels()
{
    MainWindow w;
    QFile file(hostConfigFilePath());
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray content = file.readAll();
    file.close();
    auto addEntry = [](QWidget *dialog, const QString &closeWith) {
        withNextModal([](QWidget *form) {
            auto field = [form](const char *name) { return form->findChild<QLineEdit *>(QLatin1String(name)); };
            field("nameEdit")->setText(QStringLiteral("  "));
            field("hostEdit")->setText(QStringLiteral(" 192.0.2.7 "));
            field("portEdit")->setText(QStringLiteral("abc"));
            field("passwordEdit")->setText(QStringLiteral(" p w "));
            form->findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok)->click();
        });
        QVERIFY(clickButton(dialog, QStringLiteral("添加")));
        QVERIFY(clickButton(dialog, closeWith));
    };
    editHosts(w, [&](QWidget *dialog) { addEntry(dialog, QStringLiteral("取消")); });
    QCOMPARE(w.hostConfigs(), m_hosts);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), content);
    file.close();
    QVERIFY(logFileLines().isEmpty());

    w.findChild<QComboBox *>()->setCurrentIndex(1);
    editHosts(w, [&](QWidget *dialog) { addEntry(dialog, QStringLiteral("保存")); });
    const HostConfigList saved = readHostConfigs(hostConfigFilePath());
    QCOMPARE(saved.size(), 4);
    const HostConfig &added = saved.last();
    QCOMPARE(QStringList({added.name, added.host, QString::number(added.port), added.password, added.webHost}),
             QStringList({"192.0.2.7", "192.0.2.7", "0", " p w ", "localhost"}));
    QCOMPARE(w.hostConfigs(), saved);
    QCOMPARE(w.findChild<QComboBox *>()->currentText(), QStringLiteral("错误密码"));
    QCOMPARE(logFileLines(), QStringList{QStringLiteral("主机配置已更新")});
}

void TestMainWindow::removingEntries()
{
    {
        MainWindow w;
        auto *combo = w.findChild<QComboBox *>();
        combo->setCurrentIndex(2);
        ModalRecord question;
        editHosts(w, [&question](QWidget *dialog) {
            dialog->findChild<QListWidget *>()->setCurrentRow(2);
            answerNextMessageBox(QMessageBox::Yes, &question);
            QVERIFY(clickButton(dialog, QStringLiteral("删除")));
            QVERIFY(clickButton(dialog, QStringLiteral("保存")));
        });
        QCOMPARE(question.text, QStringLiteral("确定要删除配置 \"无账号库\" 吗？"));
        QCOMPARE(combo->count(), 2);
        QCOMPARE(combo->currentIndex(), 0);
        QCOMPARE(readHostConfigs(hostConfigFilePath()).size(), 2);

        editHosts(w, [](QWidget *dialog) {
            auto *list = dialog->findChild<QListWidget *>();
            while (list->count() > 0) {
                list->setCurrentRow(0);
                answerNextMessageBox(QMessageBox::Yes);
                QVERIFY(clickButton(dialog, QStringLiteral("删除")));
            }
            QVERIFY(clickButton(dialog, QStringLiteral("保存")));
        });
        QCOMPARE(combo->count(), 0);
        QCOMPARE(w.getCurrentConfig(), HostConfig::initial());
        ModalRecord warning;
        answerNextMessageBox(QMessageBox::Ok, &warning);
        QTest::mouseClick(button(w, "accountMgrBtn"), Qt::LeftButton);
        QCOMPARE(warning.text, QStringLiteral("请先选择主机配置"));
    }
    MainWindow next;
    QCOMPARE(next.findChild<QComboBox *>()->itemText(0), QStringLiteral("本地数据库"));
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
