#include "logfiles.h"
#include "base/debuglog.h"
#include "db/databasemanager.h"
#include "db/legacytext.h"
#include "engine/accountcleanup.h"
#include "engine/undofile.h"
#include "ui/main/undodialog.h"
#include "modalanswer.h"
#include "testservers.h"
#include "db/hoststore.h"
#include "ui/main/mainwindow.h"
#include "ui/zones/zonewipedialog.h"

#include <QDir>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QSqlDatabase>
#include <QTextEdit>
#include <QtTest>

// The zone wipe's account clean-up on databases of several character sets, then the wipe as the
// operator drives it: from the main window, with real widgets.
class TestZoneWipeDialog : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void init() { QDir(applicationDirectory() + QStringLiteral("/Log")).removeRecursively(); }

    void detectsAccountDatabasesAndNames();
    void deletesFromEveryTickedDatabase();
    void skipsDatabaseThatCannotBeOpened();
    void withoutConnectionSaysSo();
    void refusedOrDeclinedStartChangesNothing_data();
    void refusedOrDeclinedStartChangesNothing();
    void wipesZoneAndItsAccounts();
    void cancelledWipeKeepsEveryRow();

private:
    // Opens the dialog through the main window's button, ticks world `world` (0: none) and the
    // account database in row `accounts`, presses start and answers the boxes.
    // Wipes `world` through the main window's dialog, ticking the account database
    // `accounts`; with `cancelAt`, presses 取消 once the progress reaches that table.
    QList<ModalRecord> wipe(int world, const QString &accounts, const QList<QMessageBox::StandardButton> &answers,
                            const QString &cancelAt = QString());
    int count(const QString &sql, const QString &database = QStringLiteral("zone_dlg"))
    {
        return TestServers::querySql(m_server, sql, database).toInt();
    }
    void loadZoneSample();
    QStringList names(const QString &database);

    TestServer m_server;
    bool m_zoneLoaded = false;
    QByteArray m_gbkName;
    QByteArray m_gbkNeighbour;
};

void TestZoneWipeDialog::initTestCase()
{
    m_server = TestServers::shared();
    QVERIFY(m_server.isValid());
    m_gbkName = encodeGbk(QStringLiteral("堃喆@qq.com"));
    m_gbkNeighbour = encodeGbk(QStringLiteral("燊昇@qq.com"));  // same length, other bytes 0x80-0x9F
    const QByteArray accountTable =
        "CREATE TABLE account (id INT AUTO_INCREMENT PRIMARY KEY, name VARCHAR(50) NOT NULL, "
        "password CHAR(32) NOT NULL DEFAULT '', point INT NOT NULL DEFAULT 0, UNIQUE KEY (name))";
    QByteArray sql = "DROP DATABASE IF EXISTS cleanup_chars; CREATE DATABASE cleanup_chars;"
                     "CREATE TABLE cleanup_chars.t_char (charguid INT PRIMARY KEY, zoneworldid INT, "
                     "accname VARCHAR(50) CHARACTER SET latin1) DEFAULT CHARSET=latin1;"
                     "INSERT INTO cleanup_chars.t_char VALUES (1, 7, 'alice'), (2, 7, 'Alice'), (3, 7, 'shared'),"
                     "(4, 7, X'" + m_gbkName.toHex() + "'), (5, 8, X'" + m_gbkNeighbour.toHex() + "'), (6, 7, 'alice'),"
                     "(7, 8, 'bob');";
    for (const char *db : {"web", "web2", "web9", "web10", "web_bak", "webtest"}) {
        sql += QByteArray("DROP DATABASE IF EXISTS ") + db + "; CREATE DATABASE " + db + ";";
    }
    sql += "USE web;" + accountTable + " DEFAULT CHARSET=latin1;"
           "INSERT INTO account (name) VALUES ('alice'), ('Shared'), ('bob'), (X'" + m_gbkName.toHex() + "'), (X'"
           + m_gbkNeighbour.toHex() + "');"
           "USE web2;" + accountTable + " DEFAULT CHARSET=utf8mb4;"
           "INSERT INTO account (name) VALUES ('Alice'), ('SHARED'), ('bob');"
           "USE web9;" + accountTable + " DEFAULT CHARSET=gbk;"
           "INSERT INTO account (name) VALUES ('shared'), (CONVERT(X'" + m_gbkName.toHex() + "' USING gbk));"
           "USE web10;" + accountTable + " DEFAULT CHARSET=latin1;"
           "INSERT INTO account (name) VALUES ('shared');"
           "CREATE OR REPLACE USER 'cleaner'@'127.0.0.1' IDENTIFIED BY 'cleaner';"
           "GRANT ALL ON web.* TO 'cleaner'@'127.0.0.1'; GRANT ALL ON web2.* TO 'cleaner'@'127.0.0.1';";
    QVERIFY(TestServers::runSql(m_server, sql));
    QVERIFY(DatabaseManager::instance()->connectToDatabase(m_server.hostConfig(QStringLiteral("cleanup_chars"))));
}

// The wipe's own sample replaces the account databases of the clean-up tests.
void TestZoneWipeDialog::loadZoneSample()
{
    if (m_zoneLoaded)
        return;
    SampleOptions options = TestServers::smallSample(QStringLiteral("zone_dlg"), {1, 2, 10}, 0);
    options.accountDatabases = {QStringLiteral("web"), QStringLiteral("web2")};
    options.worldSizes = {30, 20, 10};
    QVERIFY(TestServers::loadSample(m_server, options));
    QVERIFY(TestServers::runSql(m_server, "DROP DATABASE web9; DROP DATABASE web10; DROP DATABASE webtest; DROP DATABASE cleanup_chars;"));
    QVERIFY(writeHostConfigs(hostConfigFilePath(), {m_server.hostConfig(QStringLiteral("zone_dlg"))}));
    m_zoneLoaded = true;
}

void TestZoneWipeDialog::cleanupTestCase()
{
    DatabaseManager::instance()->disconnectFromDatabase();
    QFile::remove(hostConfigFilePath());
    TestServers::runSql(m_server, "DROP DATABASE zone_dlg; DROP DATABASE web; DROP DATABASE web2; DROP DATABASE web_bak;"
                                  "DROP USER 'cleaner'@'127.0.0.1';");
}

QStringList TestZoneWipeDialog::names(const QString &database)
{
    return TestServers::querySql(m_server, QStringLiteral("SELECT HEX(name) FROM account ORDER BY HEX(name)"), database)
        .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

void TestZoneWipeDialog::detectsAccountDatabasesAndNames()
{
    QCOMPARE(AccountCleanup::filterAccountDatabases({"webtest", "web10", "web_bak", "web2", "web9", "web", "web01x", "Web3"}),
             QStringList({"web", "web2", "web9", "web10"}));
    QSqlDatabase &db = DatabaseManager::instance()->database();
    // Other tests' databases may share the server; only the account databases count.
    QCOMPARE(AccountCleanup::detectAccountDatabases(db, OperationContext()), QStringList({"web", "web2", "web9", "web10"}));

    AccountCleanup::WipedAccounts accounts;
    Message error;
    QVERIFY(AccountCleanup::collectAccountNames(db, {7}, &accounts, &error));
    std::sort(accounts.names.begin(), accounts.names.end());
    // "alice" twice is one name; "Alice" differs by its bytes and stays a name of its own.
    QCOMPARE(accounts.names, QList<QByteArray>({"Alice", "alice", "shared", m_gbkName}));
    QVERIFY(AccountCleanup::collectAccountNames(db, {42}, &accounts, &error) && accounts.names.isEmpty());
    // A character in world 8 of "ALICE", the same account to the column's collation: "alice"
    // and "Alice" keep their accounts.
    QVERIFY(TestServers::runSql(m_server, "INSERT INTO t_char VALUES (8, 8, 'ALICE');", QStringLiteral("cleanup_chars")));
    QVERIFY(AccountCleanup::collectAccountNames(db, {7}, &accounts, &error));
    QVERIFY(TestServers::runSql(m_server, "DELETE FROM t_char WHERE charguid = 8;", QStringLiteral("cleanup_chars")));
    std::sort(accounts.names.begin(), accounts.names.end());
    QCOMPARE(accounts.names, QList<QByteArray>({"shared", m_gbkName}));
    QCOMPARE(accounts.kept, 2);
}

void TestZoneWipeDialog::deletesFromEveryTickedDatabase()
{
    HostConfig stored = m_server.hostConfig(QStringLiteral("cleanup_chars"));
    AccountCleanup::WipedAccounts accounts;
    Message error;
    QVERIFY(AccountCleanup::collectAccountNames(DatabaseManager::instance()->database(), {7}, &accounts, &error));
    int deleted = 0;
    QVERIFY2(AccountCleanup::deleteAccounts(stored, {"web", "web2", "web9"}, accounts.names,
                                            OperationContext(), &deleted, &error), qPrintable(error));

    // web: alice and the GBK name; "Shared", its neighbour differing in bytes 0x80-0x9F, and bob stay.
    QCOMPARE(names(QStringLiteral("web")),
             QStringList({"536861726564", "626F62", QString::fromLatin1(m_gbkNeighbour.toHex().toUpper())}));
    // web2: "Alice"; "SHARED" differs from "shared" in its bytes and stays.
    QCOMPARE(names(QStringLiteral("web2")), QStringList({"534841524544", "626F62"}));
    // web9 keeps names as GBK text; the same bytes are deleted there too.
    QCOMPARE(names(QStringLiteral("web9")), QStringList());
    QCOMPARE(deleted, 2 + 1 + 2);
    QVERIFY(!QSqlDatabase::contains(QStringLiteral("zone_wipe_web_conn_web")));
}

void TestZoneWipeDialog::skipsDatabaseThatCannotBeOpened()
{
    // One database the account server refuses: nothing is deleted in any, and it says which.
    HostConfig stored = m_server.hostConfig(QStringLiteral("cleanup_chars"));
    stored.accountUsername = QStringLiteral("cleaner");
    stored.accountPassword = QStringLiteral("cleaner");
    const QStringList web = names(QStringLiteral("web"));
    int deleted = -1;
    Message error;
    QVERIFY(!AccountCleanup::deleteAccounts(stored, {"web", "web2", "web10"}, {"bob", "nobody"},
                                            OperationContext(), &deleted, &error));
    QCOMPARE(deleted, 0);
    QVERIFY2(error.stored().startsWith(QStringLiteral("无法连接账号数据库 web10 ")), qPrintable(error));
    QCOMPARE(names(QStringLiteral("web")), web);
    QCOMPARE(names(QStringLiteral("web10")), QStringList({"736861726564"}));
    QVERIFY(!QSqlDatabase::contains(QStringLiteral("zone_wipe_web_conn_web10")));

    QVERIFY(AccountCleanup::deleteAccounts(stored, {"web"}, {}, OperationContext(), &deleted, &error));
    QCOMPARE(deleted, 0);
}


QList<ModalRecord> TestZoneWipeDialog::wipe(int world, const QString &accounts, const QList<QMessageBox::StandardButton> &answers,
                                              const QString &cancelAt)
{
    DatabaseManager::instance()->disconnectFromDatabase();
    MainWindow window;
    QTest::mouseClick(window.findChild<QPushButton *>(QStringLiteral("connectBtn")), Qt::LeftButton);
    QList<ModalRecord> boxes;
    if (!QTest::qWaitFor([] { return DatabaseManager::instance()->isConnected(); }, 30000))
        return boxes;
    withNextModal([&](QWidget *modal) {
        auto *dialog = qobject_cast<ZoneWipeDialog *>(modal);
        QVERIFY(dialog);
        QVERIFY(dialog->windowTitle().contains(QStringLiteral("%1:%2/").arg(m_server.host).arg(m_server.port)));
        const QList<QListWidget *> lists = dialog->findChildren<QListWidget *>();
        QStringList offered;
        for (int i = 0; i < lists.at(1)->count(); ++i)
            offered << lists.at(1)->item(i)->text();
        QVERIFY(!offered.contains(QStringLiteral("web_bak")));  // no account database
        QVERIFY(offered.contains(accounts));
        lists.at(1)->item(int(offered.indexOf(accounts)))->setCheckState(Qt::Checked);
        for (int i = 0; i < lists.at(0)->count(); ++i) {
            if (lists.at(0)->item(i)->data(Qt::UserRole).toInt() == world)
                lists.at(0)->item(i)->setCheckState(Qt::Checked);
        }
        answerMessageBoxes(answers, &boxes);
        clickButton(dialog, "deleteBtn");
        if (!cancelAt.isEmpty()) {
            QTRY_VERIFY_WITH_TIMEOUT(dialog->findChild<QProgressBar *>()->format().startsWith(cancelAt), 60000);
            QVERIFY(clickButton(dialog, "cancelBtn"));
        }
        // The wipe runs on a worker; the window reports when it has ended.
        QTRY_VERIFY_WITH_TIMEOUT(boxes.size() == answers.size() && !DatabaseManager::instance()->isBusy(), 60000);
        // The refresh after a wipe shows what is left, with no ticks.
        for (int i = 0; i < lists.at(0)->count(); ++i)
            QVERIFY(lists.at(0)->item(i)->data(Qt::UserRole).toInt() != world || boxes.size() < 3 || !cancelAt.isEmpty());
        QVERIFY(dialog->findChild<QPushButton *>(QStringLiteral("deleteBtn"))->isEnabled());
        dialog->reject();
    });
    QTest::mouseClick(window.findChild<QPushButton *>(QStringLiteral("zoneWipeBtn")), Qt::LeftButton);
    return boxes;
}

void TestZoneWipeDialog::withoutConnectionSaysSo()
{
    DatabaseManager::instance()->disconnectFromDatabase();
    ZoneWipeDialog dialog;
    QVERIFY(dialog.findChild<QTextEdit *>()->toPlainText().endsWith(QStringLiteral("错误：数据库未连接")));
    QCOMPARE(dialog.findChildren<QListWidget *>().at(0)->count(), 0);
}

void TestZoneWipeDialog::refusedOrDeclinedStartChangesNothing_data()
{
    QTest::addColumn<int>("world");
    QTest::addColumn<QList<QMessageBox::StandardButton>>("answers");
    QTest::addColumn<QString>("firstBox");
    QTest::addColumn<QByteArray>("setUp");
    QTest::addColumn<QByteArray>("tearDown");
    QTest::newRow("no world ticked") << 0 << QList<QMessageBox::StandardButton>({QMessageBox::Ok})
                                     << QStringLiteral("请至少选择一个区服进行删档") << QByteArray() << QByteArray();
    // The confirmation names the server it deletes on.
    const QString confirm = QStringLiteral("即将在 SERVER 上删除以下区服的所有数据：\n\n区服ID: 2\n角色总数: 20\n\n⚠️ 同时删除账号库: web2\n"
                                           "要删除的账号: 10 个\n保留的账号: 0 个（在未删档的区服还有角色）\n\n"
                                           "删除前先写撤销文件，可在“撤销记录”中撤销。各表行数见日志和详细信息。\n\n确定要继续吗？");
    QTest::newRow("no at the first") << 2 << QList<QMessageBox::StandardButton>({QMessageBox::No}) << confirm << QByteArray() << QByteArray();
    QTest::newRow("no at the final") << 2 << QList<QMessageBox::StandardButton>({QMessageBox::Yes, QMessageBox::No}) << confirm
                                     << QByteArray() << QByteArray();
    // The account names cannot be read: the wipe does not start at all.
    QTest::newRow("account names unreadable")
        << 2 << QList<QMessageBox::StandardButton>({QMessageBox::Ok}) << QStringLiteral("读取要删除的账号失败，未做任何修改: ")
        << QByteArray("ALTER TABLE t_char RENAME COLUMN accname TO accname_gone;")
        << QByteArray("ALTER TABLE t_char RENAME COLUMN accname_gone TO accname;");
}

void TestZoneWipeDialog::refusedOrDeclinedStartChangesNothing()
{
    QFETCH(int, world);
    QFETCH(QList<QMessageBox::StandardButton>, answers);
    QFETCH(QString, firstBox);
    QFETCH(QByteArray, setUp);
    QFETCH(QByteArray, tearDown);
    loadZoneSample();
    if (!setUp.isEmpty())
        QVERIFY(TestServers::runSql(m_server, setUp, QStringLiteral("zone_dlg")));
    const QList<ModalRecord> boxes = wipe(world, QStringLiteral("web2"), answers);
    if (!tearDown.isEmpty())
        QVERIFY(TestServers::runSql(m_server, tearDown, QStringLiteral("zone_dlg")));
    QCOMPARE(boxes.size(), answers.size());
    QVERIFY2(boxes.first().text.startsWith(QString(firstBox).replace(QStringLiteral("SERVER"), DatabaseManager::instance()->serverLabel())),
             qPrintable(boxes.first().text));
    QCOMPARE(count(QStringLiteral("SELECT COUNT(*) FROM t_char")), 60);
    QCOMPARE(count(QStringLiteral("SELECT COUNT(*) FROM account"), QStringLiteral("web2")), 10);
    QVERIFY(!todaysLog(QStringLiteral("zone_delete_")).contains(QStringLiteral("开始删档操作")));
}

void TestZoneWipeDialog::wipesZoneAndItsAccounts()
{
    loadZoneSample();
    // World 2's accounts live in web2; one of them also owns a character in world 10.
    QVERIFY(TestServers::runSql(m_server, "UPDATE t_char SET accname = 'w2u0@qq.com' WHERE zoneworldid = 10 LIMIT 1;",
                                QStringLiteral("zone_dlg")));
    const int web2Before = count(QStringLiteral("SELECT COUNT(*) FROM account"), QStringLiteral("web2"));
    const int webBefore = count(QStringLiteral("SELECT COUNT(*) FROM account"), QStringLiteral("web"));
    const QStringList databases = {QStringLiteral("zone_dlg"), QStringLiteral("web2")};
    const auto before = TestServers::databaseChecksums(m_server, databases);
    const QList<ModalRecord> boxes = wipe(2, QStringLiteral("web2"), {QMessageBox::Yes, QMessageBox::Yes, QMessageBox::Ok});
    QVERIFY(boxes.value(0).text.contains(QStringLiteral("要删除的账号: 9 个\n保留的账号: 1 个")));
    QVERIFY2(boxes.value(2).text.startsWith(QStringLiteral("删档完成！\n\n共删除 20 个角色数据\n\n撤销文件: ")), qPrintable(boxes.value(2).text));
    QCOMPARE(count(QStringLiteral("SELECT COUNT(*) FROM t_char WHERE zoneworldid = 2")), 0);
    QCOMPARE(count(QStringLiteral("SELECT COUNT(*) FROM t_char")), 40);
    QCOMPARE(count(QStringLiteral("SELECT COUNT(*) FROM t_iteminfo i LEFT JOIN t_char c USING (charguid) WHERE c.charguid IS NULL")), 0);
    // The accounts of world 2's 20 characters (10 accounts) are gone from web2, but for the one
    // that still owns a character in world 10; web was not ticked.
    QCOMPARE(count(QStringLiteral("SELECT COUNT(*) FROM account"), QStringLiteral("web2")), web2Before - 9);
    QCOMPARE(count(QStringLiteral("SELECT COUNT(*) FROM account WHERE name = 'w2u0@qq.com'"), QStringLiteral("web2")), 1);
    QCOMPARE(count(QStringLiteral("SELECT COUNT(*) FROM account"), QStringLiteral("web")), webBefore);
    const QString log = todaysLog(QStringLiteral("zone_delete_"));
    QVERIFY(log.contains(QStringLiteral("保留 1 个账号：它们在未删档的区服还有角色")) && log.contains(QStringLiteral("库 web2 成功删除 9 个账号")));
    // The preview before the confirmation counted what the wipe then deleted, table by table.
    static const QRegularExpression counted(QStringLiteral("\\]   (?:删除 )?(t_\\w+|web2\\.account): (\\d+) (?:条记录|个账号)"));
    QMap<QString, QStringList> seen;
    for (auto it = counted.globalMatch(log); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        seen[m.captured(1)].append(m.captured(2));
    }
    seen[QStringLiteral("web2.account")].append(QString::number(web2Before - count(QStringLiteral("SELECT COUNT(*) FROM account"), QStringLiteral("web2"))));
    QCOMPARE(seen.size(), 27);  // 25 tables, t_char and the accounts
    for (auto it = seen.cbegin(); it != seen.cend(); ++it)
        QVERIFY2(it.value().size() == 2 && it.value().first() == it.value().last(), qPrintable(it.key() + it.value().join(QLatin1Char('/'))));

    // Its undo file, newest in the undo records, puts every row of both databases back from there.
    const QString undo = boxes.value(2).text.section(QStringLiteral("撤销文件: "), 1);
    QVERIFY(QFileInfo(undo).permissions() == (QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadUser | QFileDevice::WriteUser));
    UndoDialog records;
    QVERIFY(records.findChild<QTextEdit *>()->toPlainText().contains(undo));
    QList<ModalRecord> answers;
    answerMessageBoxes({QMessageBox::Yes, QMessageBox::Ok}, &answers);
    QVERIFY(clickButton(&records, "applyBtn"));
    QTRY_COMPARE_WITH_TIMEOUT(answers.size(), 2, 30000);
    QVERIFY2(answers.at(0).text.contains(QStringLiteral("  zone_dlg.t_char: 20 条记录\n  web2.account: 9 条记录")), qPrintable(answers.at(0).text));
    QVERIFY2(answers.at(1).text.startsWith(QStringLiteral("撤销完成")), qPrintable(answers.at(1).text));
    QCOMPARE(TestServers::databaseChecksums(m_server, databases), before);
    QVERIFY(!QFileInfo::exists(undo));  // applied files leave the list
}

// A wipe of a few thousand characters, cancelled while its worker is in the middle of the
// tables: every row of the database stays, and the window says it rolled back.
void TestZoneWipeDialog::cancelledWipeKeepsEveryRow()
{
    SampleOptions options = TestServers::smallSample(QStringLiteral("zone_big"), {1, 2}, 0);
    options.accountDatabases = {QStringLiteral("web3")};
    options.worldSizes = {10, 3000};
    QVERIFY(TestServers::loadSample(m_server, options));
    // The worker's first t_skill row waits two seconds, so that the cancel lands mid-way.
    QVERIFY(TestServers::runSql(m_server, "DELIMITER ;;\nCREATE TRIGGER slow BEFORE DELETE ON t_skill FOR EACH ROW BEGIN "
                                          "IF @slept IS NULL THEN SET @slept = 1; DO SLEEP(2); END IF; END;;\nDELIMITER ;\n",
                                QStringLiteral("zone_big")));
    QVERIFY(writeHostConfigs(hostConfigFilePath(), {m_server.hostConfig(QStringLiteral("zone_big"))}));
    m_zoneLoaded = false;
    const auto before = TestServers::databaseChecksums(m_server, {QStringLiteral("zone_big"), QStringLiteral("web3")});
    const QList<ModalRecord> boxes = wipe(2, QStringLiteral("web3"), {QMessageBox::Yes, QMessageBox::Yes, QMessageBox::Ok}, QStringLiteral("t_skill"));
    QCOMPARE(boxes.value(2).text, QStringLiteral("删档已取消，数据已回滚"));
    QCOMPARE(TestServers::databaseChecksums(m_server, {QStringLiteral("zone_big"), QStringLiteral("web3")}), before);
    QVERIFY(todaysLog(QStringLiteral("zone_delete_")).contains(QStringLiteral("已取消，所有删除已回滚")));
    TestServers::runSql(m_server, "DROP DATABASE zone_big; DROP DATABASE web3;");
}

QTEST_MAIN(TestZoneWipeDialog)
#include "tst_zonewipedialog.moc"
