#include "logfiles.h"
#include "base/debuglog.h"
#include "base/language.h"
#include "db/databasemanager.h"
#include "filesizelimit.h"
#include "modalanswer.h"
#include "testservers.h"
#include "db/hoststore.h"
#include "ui/merge/mergeserverdialog.h"
#include "ui/merge/sameservermergedialog.h"
#include "ui/accounts/accountmanagerdialog.h"
#include "ui/characters/bankdialog.h"
#include "ui/characters/charactereditdialog.h"
#include "ui/characters/characterlistdialog.h"
#include "ui/characters/worldidselectordialog.h"
#include "ui/main/hostconfigdialog.h"
#include "engine/undofile.h"
#include "ui/main/mainwindow.h"
#include "ui/main/screenfit.h"
#include "ui/main/undodialog.h"
#include "ui/zones/zonewipedialog.h"

#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QProgressBar>
#include <QTabBar>
#include <QTextDocument>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QSqlDatabase>
#include <QTcpServer>
#include <QTcpSocket>
#include <QPushButton>
#include <QTemporaryDir>
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
    void silentServerLeavesTheWindowLive();
    void accountManagerFallsBackToCharacterDatabase();
    void logKeepsPercentSignsAndGoesToDatedFiles();
    void hostDialogEditsTheList();
    void editedSessionEntryKeepsItsServer();
    void readsEveryEntryWithFallbacks();
    void writesSortedPrivateFilesThatReadBack();
    void everyWindowFitsTheScreen_data();
    void everyWindowFitsTheScreen();

private:
    QPushButton *button(MainWindow &w, const char *name) { return w.findChild<QPushButton *>(QLatin1String(name)); }
    static QStringList messagesOf(const QStringList &lines);
    QStringList logLines(MainWindow &w) { return messagesOf(w.findChild<QTextEdit *>()->toPlainText().split(QLatin1Char('\n'))); }
    QStringList logFileLines();
    void editHosts(MainWindow &w, const std::function<void(QWidget *)> &action);
    void writeFile(const QByteArray &content);
    QString path() const { return m_dir.filePath(QStringLiteral("host_configs.json")); }
    QTemporaryDir m_dir;

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
    webless.accountHost.clear();
    webless.accountPort = 0;
    webless.accountUsername.clear();
    webless.accountPassword.clear();
    webless.accountDatabase.clear();
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
    return messagesOf(todaysLog(QStringLiteral("operation_")).split(QLatin1Char('\n')));
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
    // The session's windows need a connection and say so without logging anything.
    for (const char *name : {"charMgrBtn", "sameServerMergeBtn", "zoneWipeBtn"}) {
        ModalRecord box;
        answerNextMessageBox(QMessageBox::Ok, &box);
        QTest::mouseClick(button(w, name), Qt::LeftButton);
        QCOMPARE(box.text, QStringLiteral("请先连接数据库！"));
    }
    QVERIFY(logFileLines().isEmpty());
    DatabaseManager *db = DatabaseManager::instance();
    QTest::mouseClick(button(w, "connectBtn"), Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(db->isConnected() && db->isKeepAliveActive(), 10000);
    const QStringList connected = {QStringLiteral("正在连接..."), QStringLiteral("连接成功: %1").arg(db->serverLabel()),
                                   QStringLiteral("已启动数据库连接保活")};
    QCOMPARE(logLines(w), connected);
    QCOMPARE(logFileLines(), connected);
    // A same-server merge that ends accepted is logged as done.
    withNextModal([](QWidget *dialog) { QMetaObject::invokeMethod(dialog, "accept"); }, "SameServerMergeDialog");
    QTest::mouseClick(button(w, "sameServerMergeBtn"), Qt::LeftButton);
    QCOMPARE(logLines(w).last(), QStringLiteral("同服合区操作完成"));

    // Another entry while connected: the operator is asked first. No keeps session and selection;
    // yes disconnects and connects to the new one.
    auto *hosts = w.findChild<QComboBox *>(QStringLiteral("hostCombo"));
    ModalRecord ask;
    answerNextMessageBox(QMessageBox::No, &ask);
    hosts->setCurrentIndex(2);
    QVERIFY2(ask.text.contains(QStringLiteral("切换到 无账号库 将断开当前连接")), qPrintable(ask.text));
    QVERIFY(hosts->currentIndex() == 0 && db->isConnected() && db->serverLabel().startsWith(m_hosts.first().name));
    answerNextMessageBox(QMessageBox::Yes);
    hosts->setCurrentIndex(2);
    QTRY_VERIFY_WITH_TIMEOUT(db->isConnected() && db->serverLabel().startsWith(QStringLiteral("无账号库 (")), 10000);
    QTest::mouseClick(button(w, "connectBtn"), Qt::LeftButton);
    QVERIFY(!db->isConnected() && !db->isKeepAliveActive());
    QCOMPARE(logFileLines().last(), QStringLiteral("已断开连接"));

    // A test connection leaves the session alone and answers with a box.
    ModalRecord success;
    answerNextMessageBox(QMessageBox::Ok, &success);
    QTest::mouseClick(button(w, "testBtn"), Qt::LeftButton);
    QTRY_COMPARE_WITH_TIMEOUT(success.text, QStringLiteral("数据库连接测试成功!"), 10000);
    QVERIFY(!db->isConnected());

    hosts->setCurrentIndex(1);
    ModalRecord failure;
    answerNextMessageBox(QMessageBox::Ok, &failure);
    QTest::mouseClick(button(w, "testBtn"), Qt::LeftButton);
    QTRY_COMPARE_WITH_TIMEOUT(failure.text, QStringLiteral("数据库连接测试失败,请检查配置"), 10000);
    QTest::mouseClick(button(w, "connectBtn"), Qt::LeftButton);
    QTRY_COMPARE_WITH_TIMEOUT(logFileLines().last(), QStringLiteral("连接失败"), 10000);
    QVERIFY(!db->isConnected());
    QCOMPARE(logFileLines().filter(QStringLiteral("Access denied")).size(), 2);
    QCOMPARE(w.findChild<QLabel *>(QStringLiteral("statusLabel"))->text(), QStringLiteral("● 未连接"));
}

// A server that accepts and never answers: the attempt waits on its worker while the window
// stays live and says so; when the server drops the line, the attempt fails as usual.
void TestMainWindow::silentServerLeavesTheWindowLive()
{
    QTcpServer silent;
    QVERIFY(silent.listen(QHostAddress::LocalHost));
    HostConfig mute = m_hosts.first();
    mute.port = silent.serverPort();
    QVERIFY(writeHostConfigs(hostConfigFilePath(), {mute}));
    MainWindow w;
    QTest::mouseClick(button(w, "connectBtn"), Qt::LeftButton);
    QCOMPARE(w.findChild<QLabel *>(QStringLiteral("statusLabel"))->text(), QStringLiteral("● 正在连接…"));
    QVERIFY(!button(w, "connectBtn")->isEnabled());
    QTRY_VERIFY(silent.hasPendingConnections());
    silent.close();
    while (QTcpSocket *line = silent.nextPendingConnection())
        delete line;
    QTRY_COMPARE_WITH_TIMEOUT(logFileLines().last(), QStringLiteral("连接失败"), 20000);
    QCOMPARE(w.findChild<QLabel *>(QStringLiteral("statusLabel"))->text(), QStringLiteral("● 未连接"));
    QVERIFY(button(w, "connectBtn")->isEnabled());
}

void TestMainWindow::accountManagerFallsBackToCharacterDatabase()
{
    MainWindow w;
    w.findChild<QComboBox *>(QStringLiteral("hostCombo"))->setCurrentIndex(2);
    QString connectedTo;
    QString listError;
    withNextModal([&connectedTo, &listError](QWidget *dialog) {
        connectedTo = QSqlDatabase::database(QStringLiteral("web_connection"), false).databaseName();
        listError = dialog->findChild<QLabel *>(QStringLiteral("listError"))->text();
        dialog->close();
    }, "AccountManagerDialog");
    QTest::mouseClick(button(w, "accountMgrBtn"), Qt::LeftButton);
    QCOMPARE(connectedTo, QStringLiteral("web"));
    QVERIFY2(!listError.isEmpty(), "a database without an account table must say so in the window");
    QCOMPARE(logFileLines(), QStringList{QStringLiteral("打开账号管理: root@%1:%2/web").arg(m_server.host).arg(m_server.port)});

    // An account port of 0 takes the character server's port.
    HostConfig entry = m_hosts.first();
    entry.accountPort = 0;
    entry.accountDatabase = QStringLiteral("web2");
    const HostConfig web = accountDatabaseConfig(entry);
    QCOMPARE(QString::number(web.port) + web.database, QString::number(m_server.port) + QStringLiteral("web2"));
}

void TestMainWindow::logKeepsPercentSignsAndGoesToDatedFiles()
{
    MainWindow w;
    // Shown as written, with or without anything that looks like markup.
    const QStringList lines = {QStringLiteral("进度 100%1 <b>完成</b>"), QStringLiteral("湖壹陆伍 -> 湖壹陆伍_S2 & x")};
    for (const QString &line : lines)
        QMetaObject::invokeMethod(&w, "onLogMessage", Q_ARG(Message, Message(line)));
    QCOMPARE(logLines(w), lines);
    QCOMPARE(logFileLines(), lines);

    // The date is taken per line: a line after midnight opens the next day's file.
    const QDate day(2026, 12, 31);
    appendToDailyLog(QStringLiteral("operation_"), timestampedLine(QStringLiteral("before")), day);
    appendToDailyLog(QStringLiteral("operation_"), timestampedLine(QStringLiteral("after")), day.addDays(1));
    QVERIFY(QFile::exists(applicationDirectory() + QStringLiteral("/Log/operation_2026-12-31.log")));
    QFile next(applicationDirectory() + QStringLiteral("/Log/operation_2027-01-01.log"));
    QVERIFY(next.open(QIODevice::ReadOnly));
    QCOMPARE(messagesOf(QString::fromUtf8(next.readAll()).split(QLatin1Char('\n'))), QStringList{QStringLiteral("after")});
}

void TestMainWindow::hostDialogEditsTheList()
{
    QFile file(hostConfigFilePath());
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray content = file.readAll();
    file.close();
    auto addEntry = [](QWidget *dialog, const char *closeWith) {
        withNextModal([](QWidget *form) {
            auto field = [form](const char *name) { return form->findChild<QLineEdit *>(QLatin1String(name)); };
            field("nameEdit")->setText(QStringLiteral("  "));
            field("hostEdit")->setText(QStringLiteral(" 192.0.2.7 "));
            field("portEdit")->setText(QStringLiteral("abc"));
            field("passwordEdit")->setText(QStringLiteral(" p w "));
            form->findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok)->click();
        });
        QVERIFY(clickButton(dialog, "addBtn"));
        QVERIFY(clickButton(dialog, closeWith));
    };
    auto removeRows = [](QWidget *dialog, int row, int count) {
        for (int i = 0; i < count; ++i) {
            dialog->findChild<QListWidget *>()->setCurrentRow(row);
            answerNextMessageBox(QMessageBox::Yes);
            QVERIFY(clickButton(dialog, "removeBtn"));
        }
        QVERIFY(clickButton(dialog, "saveBtn"));
    };
    {
        MainWindow w;
        auto *combo = w.findChild<QComboBox *>(QStringLiteral("hostCombo"));
        editHosts(w, [&](QWidget *dialog) { addEntry(dialog, "cancelBtn"); });
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), content);
        file.close();
        QVERIFY(logFileLines().isEmpty());

        // The entry's test reaches each database off the window's thread and says why one fails.
        QStringList tested;
        editHosts(w, [&](QWidget *dialog) {
            withNextModal([&](QWidget *form) {
                form->findChild<QLineEdit *>(QStringLiteral("webPasswordEdit"))->setText(QStringLiteral("wrong"));
                form->findChild<QPushButton *>(QStringLiteral("testConnectionButton"))->click();
                auto *result = form->findChild<QLabel *>(QStringLiteral("testResult"));
                QTRY_VERIFY_WITH_TIMEOUT(result->text().count(QLatin1Char('\n')) == 1, 15000);
                tested = result->text().split(QLatin1Char('\n'));
                form->findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Cancel)->click();
            });
            dialog->findChild<QListWidget *>()->setCurrentRow(0);
            QVERIFY(clickButton(dialog, "editBtn"));
            QVERIFY(clickButton(dialog, "cancelBtn"));
        });
        QCOMPARE(tested.size(), 2);
        QVERIFY2(!tested.at(0).contains(QStringLiteral("失败")) && tested.at(1).contains(QStringLiteral("Access denied")),
                 qPrintable(tested.join(QLatin1Char('\n'))));

        combo->setCurrentIndex(1);
        editHosts(w, [&](QWidget *dialog) { addEntry(dialog, "saveBtn"); });
        const HostConfigList saved = readHostConfigs(hostConfigFilePath());
        const HostConfig &added = saved.last();
        // The account server, left as it was offered, follows the character server.
        QCOMPARE(QStringList({added.name, added.host, QString::number(added.port), added.password, added.accountHost,
                              accountDatabaseConfig(added).host}),
                 QStringList({"192.0.2.7", "192.0.2.7", "0", " p w ", "", "192.0.2.7"}));
        QCOMPARE(w.hostConfigs(), saved);
        QCOMPARE(combo->currentText(), QStringLiteral("错误密码"));
        QCOMPARE(logFileLines(), QStringList{QStringLiteral("主机配置已更新")});

        // A file that cannot be written whole (a full disk) keeps the old one, and says so.
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray kept = file.readAll();
        file.close();
        ModalRecord full;
        {
            FileSizeLimit limit(64);
            answerNextMessageBox(QMessageBox::Ok, &full);
            editHosts(w, [&](QWidget *dialog) { addEntry(dialog, "saveBtn"); });
        }
        QVERIFY2(full.text.startsWith(QStringLiteral("主机配置未能保存，文件保持原样")), qPrintable(full.text + logLines(w).join(QLatin1Char('\n'))));
        QVERIFY(logLines(w).last().startsWith(QStringLiteral("主机配置保存失败: ")));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), kept);
        file.close();

        // Removing the selected entry selects the first; removing all leaves the initial configuration.
        editHosts(w, [&](QWidget *dialog) { removeRows(dialog, 1, 1); });
        QCOMPARE(combo->currentIndex(), 0);
        QCOMPARE(readHostConfigs(hostConfigFilePath()).size(), 4);
        editHosts(w, [&](QWidget *dialog) { removeRows(dialog, 0, 4); });
        QCOMPARE(w.currentConfig(), HostConfig::initial());
        ModalRecord warning;
        answerNextMessageBox(QMessageBox::Ok, &warning);
        QTest::mouseClick(button(w, "accountMgrBtn"), Qt::LeftButton);
        QCOMPARE(warning.text, QStringLiteral("请先选择主机配置"));
    }
    MainWindow next;
    QCOMPARE(next.findChild<QComboBox *>(QStringLiteral("hostCombo"))->itemText(0), QStringLiteral("本地数据库"));
}

void TestMainWindow::editedSessionEntryKeepsItsServer()
{
    MainWindow w;
    DatabaseManager *db = DatabaseManager::instance();
    QTest::mouseClick(button(w, "connectBtn"), Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(db->isConnected(), 10000);
    const QString label = db->serverLabel();
    // Saving the list unchanged asks nothing.
    QList<ModalRecord> boxes;
    answerMessageBoxes({QMessageBox::No}, &boxes);
    editHosts(w, [](QWidget *dialog) { QVERIFY(clickButton(dialog, "saveBtn")); });
    stopAnsweringModals();
    QVERIFY2(boxes.isEmpty(), qPrintable(boxes.value(0).text));

    // The entry in use gets another port: the session keeps its server until the operator
    // reconnects, and the windows name and use that one.
    editHosts(w, [](QWidget *dialog) {
        dialog->findChild<QListWidget *>()->setCurrentRow(0);
        withNextModal([](QWidget *form) {
            form->findChild<QLineEdit *>(QStringLiteral("portEdit"))->setText(QStringLiteral("1"));
            form->findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok)->click();
        });
        QVERIFY(clickButton(dialog, "editBtn"));
        answerMessageBoxes({QMessageBox::No}, nullptr);
        QVERIFY(clickButton(dialog, "saveBtn"));
    });
    QTRY_VERIFY(!QApplication::activeModalWidget());
    QCOMPARE(w.hostConfigs().value(0).port, 1);
    QVERIFY(db->isConnected());
    QCOMPARE(db->serverLabel(), label);
    QString named;
    withNextModal([&named](QWidget *dialog) {
        named = dialog->windowTitle();
        QMetaObject::invokeMethod(dialog, "reject");
    }, "AccountManagerDialog");
    QTest::mouseClick(button(w, "accountMgrBtn"), Qt::LeftButton);
    QVERIFY2(named.contains(QStringLiteral(":%1/").arg(m_server.port)), qPrintable(named));
}

void TestMainWindow::writeFile(const QByteArray &content)
{
    QFile file(path());
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(content);
}

void TestMainWindow::readsEveryEntryWithFallbacks()
{
    // A missing or broken file gives the default entry; reading never writes.
    QFile::remove(path());
    QCOMPARE(readHostConfigs(path()), HostConfigList{HostConfig::initial(QStringLiteral("本地数据库"))});
    QVERIFY(!QFile::exists(path()));
    for (const QByteArray &content : {QByteArray("[]"), QByteArray("[{\"name\": "), QByteArray("{\"name\": \"x\"}")}) {
        writeFile(content);
        QCOMPARE(readHostConfigs(path()), HostConfigList{HostConfig::initial(QStringLiteral("本地数据库"))});
        QFile file(path());
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), content);
    }

    writeFile(R"([{"name": "一区", "host": "10.0.0.5", "port": 3307, "username": "gm", "password": "secret", "database": "game1"},
                  {"name": "a", "host": "h", "port": "3307", "web_port": "x"}, 42,
                  {"name": "b", "port": 3310.5, "web_host": "", "web_database": ""}])");
    const HostConfigList c = readHostConfigs(path());
    QCOMPARE(c.size(), 4);
    // Account fields fall back to the character fields; a port that is no whole number to 3306.
    QCOMPARE(QStringList({c[0].accountHost, QString::number(c[0].accountPort), c[0].accountUsername, c[0].accountPassword, c[0].accountDatabase}),
             QStringList({"10.0.0.5", "3307", "gm", "secret", "web"}));
    QCOMPARE(QList<int>({c[1].port, c[1].accountPort, c[2].port, c[3].port}), QList<int>({3306, 3306, 3306, 3306}));
    QCOMPARE(c[2].accountDatabase, QStringLiteral("web"));
    // Present but empty keys are taken as they are.
    QVERIFY(c[3].accountHost.isEmpty() && c[3].accountDatabase.isEmpty());
}

void TestMainWindow::writesSortedPrivateFilesThatReadBack()
{
    HostConfig a = HostConfig::initial(QStringLiteral("一区"));
    a.port = 3307;
    a.password = QStringLiteral(" p;w\"d ");
    a.accountPort = 3308;
    a.accountPassword = QStringLiteral("{}");
    HostConfig b = a;  // names need not be unique
    b.port = 0;
    QVERIFY(writeHostConfigs(path(), {a, b}));
    QCOMPARE(readHostConfigs(path()), HostConfigList({a, b}));

    QFile file(path());
    // A file that others could read is made private on the next write.
    QVERIFY(file.setPermissions(file.permissions() | QFileDevice::ReadOther | QFileDevice::ReadGroup));
    QVERIFY(writeHostConfigs(path(), {a}));
    QCOMPARE(QFile(path()).permissions() & (QFileDevice::ReadGroup | QFileDevice::ReadOther | QFileDevice::WriteGroup
                                            | QFileDevice::WriteOther), QFileDevice::Permissions());
    QVERIFY(!writeHostConfigs(m_dir.filePath(QStringLiteral("no/such/dir/host_configs.json")), {a}));
}

void TestMainWindow::everyWindowFitsTheScreen_data()
{
    QTest::addColumn<QString>("language");
    QTest::newRow("Chinese") << QStringLiteral("zh_CN");
    QTest::newRow("English") << QStringLiteral("en");
}

// Every text a window shows, in the window's language and not cut off; in English without a
// Chinese character.
static QStringList textFaults(QWidget *window, const char *name, bool english, const QStringList &data)
{
    QStringList faults;
    auto fault = [&](QWidget *widget, const QString &what, const QString &text) {
        faults << QStringLiteral("%1: %2 %3 \"%4\"").arg(QLatin1String(name), QLatin1String(widget->metaObject()->className()), what, text);
    };
    static const QRegularExpression chinese(QStringLiteral("[\\x{3000}-\\x{9fff}\\x{ff00}-\\x{ffef}]"));
    // The host names are the operator's own, shown as they are.
    auto language = [&](QWidget *widget, const QString &what, const QString &text) {
        QString own = text;
        for (const QString &name : data)
            own.remove(name);
        if (english && own.contains(chinese))
            fault(widget, what, text);
    };
    auto fits = [&](QWidget *widget, const QString &text, int room) {
        if (!text.contains(QLatin1Char('\n')) && widget->fontMetrics().horizontalAdvance(text) > room)
            fault(widget, QStringLiteral("cut (%1 px)").arg(room), text);
    };
    language(window, QStringLiteral("title"), window->windowTitle());
    const QList<QWidget *> widgets = window->findChildren<QWidget *>();
    for (QWidget *widget : widgets) {
        if (!widget->isVisibleTo(window))
            continue;
        language(widget, QStringLiteral("tool tip"), widget->toolTip());
        if (auto *label = qobject_cast<QLabel *>(widget)) {
            QTextDocument plain;
            if (Qt::mightBeRichText(label->text()))
                plain.setHtml(label->text());
            else
                plain.setPlainText(label->text());
            language(label, QStringLiteral("text"), plain.toPlainText());
            if (!label->wordWrap() && label->pixmap().isNull())
                fits(label, plain.toPlainText(), label->contentsRect().width());
        } else if (auto *button = qobject_cast<QAbstractButton *>(widget)) {
            language(button, QStringLiteral("text"), button->text());
            if (!button->text().isEmpty() && button->sizeHint().width() > button->width())
                fault(button, QStringLiteral("cut (%1 px of %2)").arg(button->width()).arg(button->sizeHint().width()), button->text());
        } else if (auto *group = qobject_cast<QGroupBox *>(widget)) {
            language(group, QStringLiteral("title"), group->title());
            fits(group, group->title(), group->width() - 16);
        } else if (auto *edit = qobject_cast<QLineEdit *>(widget)) {
            language(edit, QStringLiteral("placeholder"), edit->placeholderText());
            if (edit->text().isEmpty())
                fits(edit, edit->placeholderText(), edit->width() - 30);  // the style sheet pads 12 px a side
        } else if (auto *combo = qobject_cast<QComboBox *>(widget)) {
            for (int i = 0; i < combo->count(); ++i) {
                // The language choice names each language in itself.
                if (combo->itemData(i).toString() != QLatin1String("zh_CN"))
                    language(combo, QStringLiteral("item"), combo->itemText(i));
            }
        } else if (auto *tabs = qobject_cast<QTabBar *>(widget)) {
            for (int i = 0; i < tabs->count(); ++i) {
                language(tabs, QStringLiteral("tab"), tabs->tabText(i));
                fits(tabs, tabs->tabText(i), tabs->tabRect(i).width() - 8);
            }
        } else if (auto *header = qobject_cast<QHeaderView *>(widget)) {
            QFont bold = header->font();
            bold.setBold(true);  // as the style sheet draws them
            for (int i = 0; header->model() && i < header->count(); ++i) {
                const QString title = header->model()->headerData(i, header->orientation()).toString();
                language(header, QStringLiteral("header"), title);
                if (header->orientation() == Qt::Horizontal && !header->isSectionHidden(i)
                    && QFontMetrics(bold).horizontalAdvance(title) + 16 > header->sectionSize(i))
                    fault(header, QStringLiteral("cut (%1 px)").arg(header->sectionSize(i)), title);
            }
        } else if (auto *bar = qobject_cast<QProgressBar *>(widget)) {
            language(bar, QStringLiteral("text"), bar->text());
        } else if (auto *text = qobject_cast<QTextEdit *>(widget)) {
            language(text, QStringLiteral("text"), text->toPlainText());
        }
    }
    return faults;
}

void TestMainWindow::everyWindowFitsTheScreen()
{
    QFETCH(QString, language);
    const bool english = language == QLatin1String("en");
    Language::install(language);
    // Run by ctest on a 1280 x 760 screen: the free area of a 1280 x 800 one with its task bar.
    installScreenFit();
    MainWindow main;
    QStringList faults;
    QStringList hostNames;
    for (const HostConfig &host : std::as_const(m_hosts))
        hostNames << host.name;
    auto check = [&faults, english, &hostNames](QWidget *window, const char *name) {
        window->show();
        QCoreApplication::processEvents();
        const QRect free = window->screen()->availableGeometry();
        const QSize needed = window->minimumSizeHint();
        if (!free.contains(window->frameGeometry()) || window->width() < needed.width() || window->height() < needed.height())
            faults << QStringLiteral("%1: %2x%3 at %4,%5, needs %6x%7, screen %8x%9")
                          .arg(QLatin1String(name)).arg(window->width()).arg(window->height()).arg(window->x()).arg(window->y())
                          .arg(needed.width()).arg(needed.height()).arg(free.width()).arg(free.height());
        faults << textFaults(window, name, english, hostNames);
        // QUORVEL_SCREENSHOTS=DIR keeps a picture of every window in every language, to look at.
        if (const QString folder = qEnvironmentVariable("QUORVEL_SCREENSHOTS"); !folder.isEmpty())
            window->grab().save(QStringLiteral("%1/%2-%3.png").arg(folder, QLatin1String(name), english ? QStringLiteral("en") : QStringLiteral("zh")));
        window->hide();
    };
    QList<ModalRecord> boxes;
    auto checkBoxes = [&] {
        for (const ModalRecord &box : std::as_const(boxes)) {
            if (english && (box.text + box.title).contains(QRegularExpression(QStringLiteral("[\\x{4e00}-\\x{9fff}]"))))
                faults << QStringLiteral("message box: %1 %2").arg(box.title, box.text);
        }
        boxes.clear();
    };
    check(&main, "main window");
    {
        CharacterListDialog list(&main);
        check(&list, "character list");
        answerMessageBoxes({QMessageBox::Ok}, &boxes);  // no session: the editor says so
        CharacterEditDialog editor(1, &main);
        stopAnsweringModals();
        checkBoxes();
        check(&editor, "editor");
        BankDialog bank(1, QStringLiteral("x"), &main);
        check(&bank, "bank");
    }
    {
        answerMessageBoxes({QMessageBox::Ok}, &boxes);  // the account database is unreachable
        HostConfig nowhere = HostConfig::initial();
        nowhere.port = 1;
        AccountManagerDialog accounts(nowhere, &main);
        stopAnsweringModals();
        checkBoxes();
        check(&accounts, "accounts");
        MergeServerDialog merge(m_hosts, &main);
        check(&merge, "cross-server merge");
        SameServerMergeDialog same(&main);
        check(&same, "same-server merge");
        ZoneWipeDialog zones(&main);
        check(&zones, "zone wipe");
        HostConfigDialog hosts(m_hosts, &main);
        check(&hosts, "hosts");
        WorldIdSelectorDialog selector(&main);
        check(&selector, "world selector");
        // What an undo file names (its operation) is read back from the file, as written.
        for (const UndoFile::Summary &file : UndoFile::list())
            hostNames << file.operation << file.operation.split(QRegularExpression(QStringLiteral("[\r\n]")));
        UndoDialog undo(&main);
        check(&undo, "undo history");
    }
    // The choice in the window takes effect at once and is kept for the next start.
    // With another window open it does not: no window is left half in each language.
    main.show();
    auto *languages = main.findChild<QComboBox *>(QStringLiteral("languageCombo"));
    const QString other = english ? QStringLiteral("zh_CN") : QStringLiteral("en");
    {
        CharacterListDialog list(&main);
        list.show();
        answerMessageBoxes({QMessageBox::Ok}, &boxes);
        languages->setCurrentIndex(languages->findData(other));
        emit languages->activated(languages->currentIndex());
        stopAnsweringModals();
        QCOMPARE(boxes.size(), 1);
        boxes.clear();
        QCOMPARE(Language::current(), language);
        QCOMPARE(languages->currentData().toString(), language);
    }
    languages->setCurrentIndex(languages->findData(other));
    emit languages->activated(languages->currentIndex());
    QTest::qWait(50);  // the layouts settle on the new texts
    QCOMPARE(Language::saved(), other);
    faults << textFaults(&main, "main window in the other language", !english, hostNames);
    QCOMPARE(button(main, "connectBtn")->text() == QStringLiteral("连接数据库"), english);
    QFile::remove(applicationDirectory() + QStringLiteral("/quorvel.ini"));
    Language::install(language);

    // The log shows its lines in the window's language; the Log folder keeps them as written.
    QTest::mouseClick(button(main, "connectBtn"), Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(DatabaseManager::instance()->isConnected(), 10000);
    const QStringList shown = logLines(main);
    QCOMPARE(logFileLines().size(), shown.size());
    const QRegularExpression chinese(QStringLiteral("[\\x{4e00}-\\x{9fff}]"));
    for (int i = 0; i < shown.size(); ++i) {
        QVERIFY2(QString(shown.at(i)).remove(m_hosts.first().name).contains(chinese) != english, qPrintable(shown.at(i)));
        QVERIFY2(logFileLines().at(i).contains(chinese), qPrintable(logFileLines().at(i)));
    }
    Language::install(QStringLiteral("zh_CN"));
    QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QLatin1Char('\n'))));
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
