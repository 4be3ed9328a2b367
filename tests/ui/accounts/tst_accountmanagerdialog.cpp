#include "engine/undofile.h"
#include "db/connectionrule.h"
#include "db/databasemanager.h"
#include "modalanswer.h"
#include "testservers.h"
#include "ui/accounts/accountmanagerdialog.h"

#include <QCheckBox>
#include <QInputDialog>
#include <QLineEdit>
#include <QSpinBox>
#include <QSqlQuery>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtTest>

// The account manager driven as an operator drives it, against a real account database.
namespace {
// Changes of the account table run on the session's worker: wait until it is done.
void settle()
{
    QVERIFY(QTest::qWaitFor([] { return !DatabaseManager::instance()->isBusy(); }, 10000));
}
} // namespace

class TestAccountManagerDialog : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase() { TestServers::runSql(m_server, "DROP DATABASE IF EXISTS acct_web;"); }
    void init();

    void searchBindsTheText_data();
    void searchBindsTheText();
    void registersWithMd5AndRefusesBadNames();
    void singleAccountActions();
    void editWritesOnlyWhatChanged();
    void batchesAndTheirRollback();
    void unreachableDatabaseLeavesDialogUsable();

private:
    QString query(const QString &sql) { return TestServers::querySql(m_server, sql, QStringLiteral("acct_web")); }
    static QTableWidget *table(QDialog &d) { return d.findChild<QTableWidget *>(); }
    static QStringList names(QDialog &d);
    static bool selectName(QDialog &d, const QString &name);
    static ModalRecord registerAccount(QDialog &d, const QString &name, const QString &password, bool suffix);
    static QList<ModalRecord> answerInput(QDialog &d, const char *button, const std::function<void(QInputDialog *)> &fill,
                                          const QList<QMessageBox::StandardButton> &answers);

    TestServer m_server;
    HostConfig m_web;
};

void TestAccountManagerDialog::initTestCase()
{
    m_server = TestServers::shared();
    QVERIFY(m_server.isValid());
    m_web = m_server.hostConfig(QStringLiteral("acct_web"));
}

void TestAccountManagerDialog::init()
{
    QVERIFY(TestServers::runSql(m_server,
        "DROP DATABASE IF EXISTS acct_web; CREATE DATABASE acct_web; USE acct_web;" + accountSchemaSql().toUtf8()
        + "INSERT INTO account (name, password, point, expoint, is_online, is_lock, is_gm, reg_time, reg_ip) VALUES "
          "('alice', MD5('a'), 10, 1, 1, 0, 0, NOW(), ''), ('bob', MD5('b'), 20, 2, 0, 1, 0, NOW(), ''),"
          "('o''neil', MD5('c'), 30, 3, 0, 0, 1, NOW(), ''), ('100%off', MD5('d'), 40, 4, 0, 0, 0, NOW(), ''),"
          "('100x', MD5('e'), 50, 5, 0, 0, 0, NOW(), ''), ('carol_1', MD5('f'), 60, 6, 0, 0, 0, NOW(), ''),"
          "('carolX1', MD5('g'), 70, 7, 0, 0, 0, NOW(), '');"
          // one more column that a registration must fill, besides reg_time and reg_ip
          "ALTER TABLE account ADD safety INT NOT NULL;"));
}

QStringList TestAccountManagerDialog::names(QDialog &d)
{
    QStringList result;
    for (int r = 0; r < table(d)->rowCount(); ++r)
        result.append(table(d)->item(r, 1)->text());
    return result;
}

bool TestAccountManagerDialog::selectName(QDialog &d, const QString &name)
{
    const int row = int(names(d).indexOf(name));
    if (row >= 0)
        table(d)->selectRow(row);
    return row >= 0;
}

ModalRecord TestAccountManagerDialog::registerAccount(QDialog &d, const QString &name, const QString &password, bool suffix)
{
    ModalRecord result;
    withNextModal([&](QWidget *form) {
        form->findChild<QLineEdit *>(QStringLiteral("nameEdit"))->setText(name);
        form->findChild<QLineEdit *>(QStringLiteral("passwordEdit"))->setText(password);
        form->findChild<QCheckBox *>()->setChecked(suffix);
        answerNextMessageBox(QMessageBox::Ok, &result);
        clickButton(form, "registerOkBtn");
    });
    clickButton(&d, "registerBtn");
    settle();
    return result;
}

QList<ModalRecord> TestAccountManagerDialog::answerInput(QDialog &d, const char *button,
                                                         const std::function<void(QInputDialog *)> &fill,
                                                         const QList<QMessageBox::StandardButton> &answers)
{
    QList<ModalRecord> boxes;
    withNextModal([&](QWidget *modal) {
        auto *input = qobject_cast<QInputDialog *>(modal);
        QVERIFY(input);
        fill(input);
        answerMessageBoxes(answers, &boxes);
        input->accept();
    });
    clickButton(&d, button);
    settle();
    return boxes;
}

void TestAccountManagerDialog::searchBindsTheText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("empty lists all") << QString() << QStringList{"alice", "bob", "o'neil", "100%off", "100x", "carol_1", "carolX1"};
    QTest::newRow("quote") << QStringLiteral("o'neil") << QStringList{"o'neil"};
    QTest::newRow("quote closing the pattern") << QStringLiteral("x' OR '1'='1") << QStringList();
    QTest::newRow("percent is a wildcard") << QStringLiteral("100%") << QStringList({"100%off", "100x"});
    QTest::newRow("underscore is a wildcard") << QStringLiteral("carol_1") << QStringList({"carol_1", "carolX1"});
    QTest::newRow("blanks around") << QStringLiteral("  bob ") << QStringList{"bob"};
}

void TestAccountManagerDialog::searchBindsTheText()
{
    QFETCH(QString, text);
    QFETCH(QStringList, expected);
    AccountManagerDialog dialog(m_web);
    auto *search = dialog.findChild<QLineEdit *>();
    QTest::keyClicks(search, text);
    QTest::keyClick(search, Qt::Key_Return);
    QCOMPARE(names(dialog), expected);
    clickButton(&dialog, "refreshBtn");
    QCOMPARE(names(dialog).size(), 7);
}

void TestAccountManagerDialog::registersWithMd5AndRefusesBadNames()
{
    // Strict, as servers run: every required column the insert does not name must get a value.
    QVERIFY(TestServers::runSql(m_server, "SET GLOBAL sql_mode = 'STRICT_ALL_TABLES,NO_ZERO_DATE';"));
    AccountManagerDialog dialog(m_web);
    ModalRecord box = registerAccount(dialog, QStringLiteral("  newbie "), QStringLiteral("秘密 pw"), true);
    TestServers::runSql(m_server, "SET GLOBAL sql_mode = DEFAULT;");
    QCOMPARE(box.text, QStringLiteral("账号 newbie%1 注册成功！").arg(accountNameSuffix()));
    QVERIFY(names(dialog).contains(QStringLiteral("newbie") + accountNameSuffix()));
    // The server's own MD5 of the UTF-8 bytes, as 32 lower-case digits.
    QCOMPARE(query(QStringLiteral("SELECT password = MD5(CONVERT(X'%1' USING utf8mb4)) AND password = LOWER(password) "
                                  "AND LENGTH(password) = 32 FROM account WHERE name = 'newbie%2'")
                       .arg(QString::fromLatin1(QStringLiteral("秘密 pw").toUtf8().toHex()), accountNameSuffix())),
             QStringLiteral("1"));
    QCOMPARE(query(QStringLiteral("SELECT ABS(TIMESTAMPDIFF(SECOND, reg_time, NOW())) < 60, reg_ip, safety FROM account WHERE id = 8")),
             QStringLiteral("1\t\t0"));
    registerAccount(dialog, QStringLiteral("plain@elsewhere.com"), QStringLiteral("x"), false);
    registerAccount(dialog, QStringLiteral("张三"), QStringLiteral("pw"), false);  // bound as typed, on either driver
    QCOMPARE(query(QStringLiteral("SELECT COUNT(*) FROM account WHERE name IN ('plain@elsewhere.com', '张三')")), QStringLiteral("2"));

    QCOMPARE(registerAccount(dialog, QStringLiteral("   "), QStringLiteral("pw"), false).text, QStringLiteral("账号名不能为空！"));
    QCOMPARE(registerAccount(dialog, QStringLiteral("dave"), QString(), false).text, QStringLiteral("密码不能为空！"));
    box = registerAccount(dialog, QStringLiteral("bob"), QStringLiteral("pw"), false);
    QCOMPARE(box.text, QStringLiteral("注册失败: 账号已存在: bob"));
    QCOMPARE(query(QStringLiteral("SELECT COUNT(*) FROM account")), QStringLiteral("10"));
}

void TestAccountManagerDialog::singleAccountActions()
{
    AccountManagerDialog dialog(m_web);
    // Without a selection the slots return without asking anything.
    for (const char *slot : {"onDelete", "onChangePassword", "onModifyPoint"})
        QVERIFY(QMetaObject::invokeMethod(&dialog, slot));

    auto *search = dialog.findChild<QLineEdit *>();
    search->setText(QStringLiteral("o'neil"));
    clickButton(&dialog, "searchBtn");
    QVERIFY(selectName(dialog, QStringLiteral("o'neil")));
    QList<ModalRecord> boxes;
    answerMessageBoxes({QMessageBox::Yes, QMessageBox::Ok}, &boxes);
    clickButton(&dialog, "deleteAccountBtn");
    settle();
    QVERIFY2(boxes.value(1).text.startsWith(QStringLiteral("账号 o'neil 已删除！\n\n撤销文件: ")), qPrintable(boxes.value(1).text));
    QCOMPARE(names(dialog).size(), 6);  // all accounts again after a delete
    QCOMPARE(query(QStringLiteral("SELECT COUNT(*) FROM account WHERE name = 'o''neil'")), QStringLiteral("0"));

    // An account deleted behind the dialog's back is reported, not claimed as deleted.
    QVERIFY(selectName(dialog, QStringLiteral("bob")));
    QVERIFY(TestServers::runSql(m_server, "DELETE FROM account WHERE name = 'bob';", QStringLiteral("acct_web")));
    boxes.clear();
    answerMessageBoxes({QMessageBox::Yes, QMessageBox::Ok}, &boxes);
    clickButton(&dialog, "deleteAccountBtn");
    settle();
    QVERIFY(boxes.value(1).text.startsWith(QStringLiteral("删除失败: ")));
    QVERIFY(selectName(dialog, QStringLiteral("alice")));
    answerMessageBoxes({QMessageBox::No});
    clickButton(&dialog, "deleteAccountBtn");
    settle();

    QVERIFY(selectName(dialog, QStringLiteral("carol_1")));
    boxes = answerInput(dialog, "passwordBtn", [](QInputDialog *input) {
        QCOMPARE(input->textEchoMode(), QLineEdit::Password);
        input->setTextValue(QStringLiteral("new-pw"));
    }, {QMessageBox::Ok});
    QCOMPARE(boxes.value(0).text, QStringLiteral("账号 carol_1 密码已修改！"));
    QVERIFY(selectName(dialog, QStringLiteral("carol_1")));
    answerInput(dialog, "pointBtn", [](QInputDialog *input) {
        QCOMPARE(input->intValue(), 60);
        input->setIntValue(2147483647);
    }, {QMessageBox::Ok});
    // The underscore is no wildcard here: carolX1 keeps its password; alice (No) is kept.
    QCOMPARE(query(QStringLiteral("SELECT GROUP_CONCAT(name, ':', password = MD5('new-pw'), ':', point ORDER BY id) FROM account")),
             QStringLiteral("alice:0:10,100%off:0:40,100x:0:50,carol_1:1:2147483647,carolX1:0:70"));
    // Points sort as numbers.
    table(dialog)->sortByColumn(2, Qt::AscendingOrder);
    QCOMPARE(names(dialog), QStringList({"alice", "100%off", "100x", "carolX1", "carol_1"}));
}

void TestAccountManagerDialog::editWritesOnlyWhatChanged()
{
    AccountManagerDialog dialog(m_web);
    QSqlQuery status(QSqlDatabase::database(QStringLiteral("web_connection"), false));
    auto updates = [&status] {
        return status.exec(QStringLiteral("SHOW SESSION STATUS LIKE 'Com_update'")) && status.next() ? status.value(1).toLongLong() : -1;
    };
    QVERIFY(TestServers::runSql(m_server, "UPDATE account SET expoint = -3 WHERE name = 'bob';", QStringLiteral("acct_web")));
    clickButton(&dialog, "refreshBtn");
    const qint64 before = updates();
    ModalRecord box;
    auto edit = [&](const std::function<void(QWidget *)> &fill) {
        withNextModal([&](QWidget *form) {
            fill(form);
            answerNextMessageBox(QMessageBox::Ok, &box);
            clickButton(form, "saveBtn");
        });
        emit table(dialog)->cellDoubleClicked(1, 3);
        settle();
    };
    edit([](QWidget *) {});
    QCOMPARE(box.text, QStringLiteral("没有任何修改。"));
    QCOMPARE(updates(), before);

    edit([this](QWidget *form) {
        // Someone else changes bob's points while the form is open; a password-only edit keeps them.
        QVERIFY(TestServers::runSql(m_server, "UPDATE account SET point = 777 WHERE name = 'bob';", QStringLiteral("acct_web")));
        form->findChild<QLineEdit *>(QStringLiteral("passwordEdit"))->setText(QStringLiteral("edited"));
    });
    QCOMPARE(box.text, QStringLiteral("账号 bob 已更新！"));
    QCOMPARE(query(QStringLiteral("SELECT expoint FROM account WHERE name = 'bob'")), QStringLiteral("-3"));
    edit([](QWidget *form) { form->findChild<QSpinBox *>(QStringLiteral("expointBox"))->setValue(99); });
    QCOMPARE(query(QStringLiteral("SELECT CONCAT(password = MD5('edited'), ' ', point, ' ', expoint) FROM account WHERE name = 'bob'")),
             QStringLiteral("1 777 99"));
}

void TestAccountManagerDialog::batchesAndTheirRollback()
{
    AccountManagerDialog dialog(m_web);
    const QMap<QString, QString> original = TestServers::databaseChecksums(m_server, {QStringLiteral("acct_web")});
    const QList<QMessageBox::StandardButton> yes = {QMessageBox::Yes, QMessageBox::Ok};
    QStringList undoFiles;
    auto undoFileOf = [&undoFiles](const QList<ModalRecord> &boxes) {
        QVERIFY2(boxes.value(0).text.contains(QStringLiteral("account: 7 条记录（点数）")), qPrintable(boxes.value(0).text));
        undoFiles.prepend(boxes.value(1).text.section(QStringLiteral("撤销文件: "), 1));
    };
    undoFileOf(answerInput(dialog, "addPointsBtn", [](QInputDialog *input) {
        QCOMPARE(input->intMinimum(), 1);
        input->setIntValue(5);
    }, yes));
    QCOMPARE(query(QStringLiteral("SELECT GROUP_CONCAT(point ORDER BY id) FROM account")), QStringLiteral("15,25,35,45,55,65,75"));
    QCOMPARE(table(dialog)->item(0, 2)->text(), QStringLiteral("15"));
    answerInput(dialog, "addPointsBtn", [](QInputDialog *) {}, {QMessageBox::No});
    QCOMPARE(query(QStringLiteral("SELECT SUM(point) FROM account")), QStringLiteral("315"));

    // One account overflowing fails the whole batch.
    QVERIFY(TestServers::runSql(m_server, "UPDATE account SET point = 2147483600 WHERE name = 'carolX1';", QStringLiteral("acct_web")));
    const QString before = query(QStringLiteral("SELECT GROUP_CONCAT(point ORDER BY id) FROM account"));
    QList<ModalRecord> boxes = answerInput(dialog, "addPointsBtn",
                                           [](QInputDialog *input) { input->setIntValue(100); }, yes);
    QVERIFY2(boxes.value(1).text.startsWith(QStringLiteral("操作失败: ")) && boxes.value(1).text.contains(QStringLiteral("range")),
             qPrintable(boxes.value(1).text));
    QCOMPARE(query(QStringLiteral("SELECT GROUP_CONCAT(point ORDER BY id) FROM account")), before);

    // Back to what the first batch left: its undo file checks every account's points.
    QVERIFY(TestServers::runSql(m_server, "UPDATE account SET point = 75 WHERE name = 'carolX1';", QStringLiteral("acct_web")));
    undoFileOf(answerInput(dialog, "setPointsBtn", [](QInputDialog *input) { input->setIntValue(3); }, yes));
    QCOMPARE(query(QStringLiteral("SELECT SUM(point) FROM account")), QStringLiteral("21"));
    QList<ModalRecord> clearing;
    answerMessageBoxes(yes, &clearing);
    clickButton(&dialog, "clearPointsBtn");
    settle();
    undoFileOf(clearing);
    QCOMPARE(query(QStringLiteral("SELECT SUM(point) + SUM(expoint) FROM account")), QStringLiteral("28"));  // expoint untouched

    // The undo files, newest first, put back the points alone: a change players made since stays.
    QVERIFY(TestServers::runSql(m_server, "UPDATE account SET expoint = expoint + 1;", QStringLiteral("acct_web")));
    QSqlDatabase db = QSqlDatabase::database(QStringLiteral("web_connection"), false);
    for (const QString &file : std::as_const(undoFiles)) {
        Message error;
        QVERIFY2(UndoFile::apply(db, file, &error), qPrintable(error));
    }
    QCOMPARE(query(QStringLiteral("SELECT GROUP_CONCAT(point ORDER BY id) FROM account")), QStringLiteral("10,20,30,40,50,60,70"));
    QVERIFY(TestServers::runSql(m_server, "UPDATE account SET expoint = expoint - 1;", QStringLiteral("acct_web")));
    QCOMPARE(TestServers::databaseChecksums(m_server, {QStringLiteral("acct_web")}), original);
}

void TestAccountManagerDialog::unreachableDatabaseLeavesDialogUsable()
{
    HostConfig nowhere = m_web;
    nowhere.port = 1;
    ModalRecord box;
    answerNextMessageBox(QMessageBox::Ok, &box);
    AccountManagerDialog dialog(nowhere);
    QVERIFY2(box.text.startsWith(QStringLiteral("无法连接账号数据库: ")), qPrintable(box.text));
    clickButton(&dialog, "refreshBtn");
    QCOMPARE(table(dialog)->rowCount(), 0);
    QVERIFY(registerAccount(dialog, QStringLiteral("x"), QStringLiteral("y"), true).text.startsWith(QStringLiteral("注册失败: ")));
}

QTEST_MAIN(TestAccountManagerDialog)
#include "tst_accountmanagerdialog.moc"
