#include "db/connectionrule.h"
#include "modalanswer.h"
#include "testservers.h"
#include "ui/accounts/accountmanagerdialog.h"

#include <QCheckBox>
#include <QInputDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QSqlQuery>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtTest>

// The account manager driven as an operator drives it, against a real account database.
class TestAccountManagerDialog : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();

    void listsAccounts();
    void searchKeepsQuotesAndWildcards_data();
    void searchKeepsQuotesAndWildcards();
    void registerStoresMd5AndSuffix();
    void registerRefusesEmptyAndDuplicateNames();
    void singleActionsNeedASelection();
    void deleteShowsAllAccountsAfterwards();
    void changePasswordAndPoints();
    void editWithoutChangesRunsNothing();
    void editChangesOnlyWhatChanged();
    void batchOperations();
    void failedBatchLeavesPointsAlone();
    void unreachableDatabaseLeavesDialogUsable();
    void worksOverOdbc();

private:
    QString query(const QString &sql) { return TestServers::querySql(m_server, sql, QStringLiteral("acct_web")); }
    static QTableWidget *table(QDialog &d) { return d.findChild<QTableWidget *>(); }
    static QStringList names(QDialog &d);
    static bool selectName(QDialog &d, const QString &name);
    static qint64 updatesOnDialogConnection();

    TestServer m_server;
    HostConfig m_web;
};

void TestAccountManagerDialog::initTestCase()
{
    m_server = TestServers::shared();
    QVERIFY(m_server.isValid());
    m_web = m_server.hostConfig(QStringLiteral("acct_web"));
}

void TestAccountManagerDialog::cleanupTestCase()
{
    TestServers::runSql(m_server, "DROP DATABASE IF EXISTS acct_web;");
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
          "ALTER TABLE account MODIFY reg_time DATETIME NOT NULL DEFAULT CURRENT_TIMESTAMP, MODIFY reg_ip VARCHAR(45) NOT NULL DEFAULT '';"));
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
    if (row < 0)
        return false;
    table(d)->selectRow(row);
    return true;
}

qint64 TestAccountManagerDialog::updatesOnDialogConnection()
{
    QSqlQuery q(QSqlDatabase::database(QStringLiteral("web_connection"), false));
    if (!q.exec(QStringLiteral("SHOW SESSION STATUS LIKE 'Com_update'")) || !q.next())
        return -1;
    return q.value(1).toLongLong();
}

void TestAccountManagerDialog::listsAccounts()
{
    AccountManagerDialog dialog(m_web);
    QCOMPARE(dialog.windowTitle(), QStringLiteral("账号管理"));
    QCOMPARE(names(dialog), QStringList({"alice", "bob", "o'neil", "100%off", "100x", "carol_1", "carolX1"}));
    QTableWidget *t = table(dialog);
    QCOMPARE(t->columnCount(), 7);
    QCOMPARE(t->horizontalHeaderItem(5)->text(), QStringLiteral("锁定"));
    const QStringList alice = {t->item(0, 0)->text(), t->item(0, 2)->text(), t->item(0, 3)->text(),
                               t->item(0, 4)->text(), t->item(0, 5)->text(), t->item(0, 6)->text()};
    QCOMPARE(alice, QStringList({"1", "10", "1", "是", "否", "否"}));
    QCOMPARE(t->item(2, 6)->text(), QStringLiteral("是"));
}

void TestAccountManagerDialog::searchKeepsQuotesAndWildcards_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("quote") << QStringLiteral("o'neil") << QStringList{"o'neil"};
    QTest::newRow("quote closing the pattern") << QStringLiteral("x' OR '1'='1") << QStringList();
    QTest::newRow("percent is a wildcard") << QStringLiteral("100%") << QStringList({"100%off", "100x"});
    QTest::newRow("underscore is a wildcard") << QStringLiteral("carol_1") << QStringList({"carol_1", "carolX1"});
    QTest::newRow("blanks around") << QStringLiteral("  bob ") << QStringList{"bob"};
}

void TestAccountManagerDialog::searchKeepsQuotesAndWildcards()
{
    QFETCH(QString, text);
    QFETCH(QStringList, expected);
    AccountManagerDialog dialog(m_web);
    auto *search = dialog.findChild<QLineEdit *>();
    QTest::keyClicks(search, text);
    QTest::keyClick(search, Qt::Key_Return);
    QCOMPARE(names(dialog), expected);
    clickButton(&dialog, QStringLiteral("刷新"));
    QCOMPARE(search->text(), QString());
    QCOMPARE(names(dialog).size(), 7);
}

void TestAccountManagerDialog::registerStoresMd5AndSuffix()
{
    AccountManagerDialog dialog(m_web);
    QList<ModalRecord> boxes;
    withNextModal([&boxes](QWidget *form) {
        QCOMPARE(form->windowTitle(), QStringLiteral("注册账号"));
        form->findChild<QLineEdit *>(QStringLiteral("nameEdit"))->setText(QStringLiteral("  newbie "));
        form->findChild<QLineEdit *>(QStringLiteral("passwordEdit"))->setText(QStringLiteral("秘密 pw"));
        answerMessageBoxes({QMessageBox::Ok}, &boxes);
        QVERIFY(clickButton(form, QStringLiteral("注册")));
    });
    clickButton(&dialog, QStringLiteral("注册账号"));
    QCOMPARE(boxes.size(), 1);
    QCOMPARE(boxes.first().title, QStringLiteral("成功"));
    QCOMPARE(boxes.first().text, QStringLiteral("账号 newbie%1 注册成功！").arg(accountDomainSuffix));
    QVERIFY(accountDomainSuffix.startsWith(QLatin1Char('@')));
    QVERIFY(names(dialog).contains(QStringLiteral("newbie") + accountDomainSuffix));
    // The server's own MD5 of the UTF-8 bytes, as 32 lower-case digits.
    QCOMPARE(query(QStringLiteral("SELECT password = MD5(CONVERT(X'%1' USING utf8mb4)) AND password = LOWER(password) "
                                  "AND LENGTH(password) = 32 FROM account WHERE name = 'newbie%2'")
                       .arg(QString::fromLatin1(QStringLiteral("秘密 pw").toUtf8().toHex()), accountDomainSuffix)),
             QStringLiteral("1"));

    // Without the box the name is kept as typed, "@" or not.
    withNextModal([&boxes](QWidget *form) {
        form->findChild<QLineEdit *>(QStringLiteral("nameEdit"))->setText(QStringLiteral("plain@elsewhere.com"));
        form->findChild<QLineEdit *>(QStringLiteral("passwordEdit"))->setText(QStringLiteral("x"));
        form->findChild<QCheckBox *>()->setChecked(false);
        answerMessageBoxes({QMessageBox::Ok}, &boxes);
        QVERIFY(clickButton(form, QStringLiteral("注册")));
    });
    clickButton(&dialog, QStringLiteral("注册账号"));
    QCOMPARE(query(QStringLiteral("SELECT COUNT(*) FROM account WHERE name = 'plain@elsewhere.com'")), QStringLiteral("1"));
}

void TestAccountManagerDialog::registerRefusesEmptyAndDuplicateNames()
{
    AccountManagerDialog dialog(m_web);
    auto attempt = [&dialog](const QString &name, const QString &password) {
        ModalRecord result;
        withNextModal([&](QWidget *form) {
            form->findChild<QLineEdit *>(QStringLiteral("nameEdit"))->setText(name);
            form->findChild<QLineEdit *>(QStringLiteral("passwordEdit"))->setText(password);
            form->findChild<QCheckBox *>()->setChecked(false);
            answerNextMessageBox(QMessageBox::Ok, &result);
            clickButton(form, QStringLiteral("注册"));
        });
        clickButton(&dialog, QStringLiteral("注册账号"));
        return result;
    };
    ModalRecord box = attempt(QStringLiteral("   "), QStringLiteral("pw"));
    QCOMPARE(box.title, QStringLiteral("错误"));
    QCOMPARE(box.text, QStringLiteral("账号名不能为空！"));
    box = attempt(QStringLiteral("dave"), QString());
    QCOMPARE(box.text, QStringLiteral("密码不能为空！"));
    box = attempt(QStringLiteral("bob"), QStringLiteral("pw"));
    QCOMPARE(box.title, QStringLiteral("失败"));
    QVERIFY2(box.text.startsWith(QStringLiteral("注册失败: ")) && box.text.contains(QStringLiteral("Duplicate entry")),
             qPrintable(box.text));
    QCOMPARE(query(QStringLiteral("SELECT COUNT(*) FROM account")), QStringLiteral("7"));
}

void TestAccountManagerDialog::singleActionsNeedASelection()
{
    AccountManagerDialog dialog(m_web);
    dialog.show();
    const QStringList single = {QStringLiteral("删除账号"), QStringLiteral("修改密码"), QStringLiteral("修改点数")};
    for (QPushButton *b : dialog.findChildren<QPushButton *>()) {
        if (single.contains(b->text()))
            QVERIFY2(!b->isEnabled(), qPrintable(b->text()));
    }
    // Called without a selection, the slots return without asking anything.
    for (const char *slot : {"onDelete", "onChangePassword", "onModifyPoint"})
        QVERIFY(QMetaObject::invokeMethod(&dialog, slot));
    QCOMPARE(query(QStringLiteral("SELECT COUNT(*) FROM account")), QStringLiteral("7"));

    QVERIFY(selectName(dialog, QStringLiteral("bob")));
    for (QPushButton *b : dialog.findChildren<QPushButton *>()) {
        if (single.contains(b->text()))
            QVERIFY(b->isEnabled());
    }
}

void TestAccountManagerDialog::deleteShowsAllAccountsAfterwards()
{
    AccountManagerDialog dialog(m_web);
    auto *search = dialog.findChild<QLineEdit *>();
    search->setText(QStringLiteral("o'neil"));
    clickButton(&dialog, QStringLiteral("搜索"));
    QCOMPARE(names(dialog), QStringList{"o'neil"});
    QVERIFY(selectName(dialog, QStringLiteral("o'neil")));

    QList<ModalRecord> boxes;
    answerMessageBoxes({QMessageBox::Yes, QMessageBox::Ok}, &boxes);
    clickButton(&dialog, QStringLiteral("删除账号"));
    QCOMPARE(boxes.size(), 2);
    QCOMPARE(boxes.at(0).title, QStringLiteral("确认删除"));
    QCOMPARE(boxes.at(0).text, QStringLiteral("确定要删除账号 o'neil 吗？\n\n警告：这将永久删除该账号！"));
    QCOMPARE(boxes.at(1).text, QStringLiteral("账号 o'neil 已删除！"));
    QCOMPARE(names(dialog).size(), 6);
    QCOMPARE(search->text(), QStringLiteral("o'neil"));
    QCOMPARE(query(QStringLiteral("SELECT COUNT(*) FROM account WHERE name = 'o''neil'")), QStringLiteral("0"));

    // An account deleted behind the dialog's back is reported, not claimed as deleted.
    QVERIFY(selectName(dialog, QStringLiteral("bob")));
    QVERIFY(TestServers::runSql(m_server, "DELETE FROM account WHERE name = 'bob';", QStringLiteral("acct_web")));
    boxes.clear();
    answerMessageBoxes({QMessageBox::Yes, QMessageBox::Ok}, &boxes);
    clickButton(&dialog, QStringLiteral("删除账号"));
    QCOMPARE(boxes.at(1).title, QStringLiteral("失败"));
    QVERIFY(boxes.at(1).text.startsWith(QStringLiteral("删除失败: ")));

    // Answering No keeps the account.
    QVERIFY(selectName(dialog, QStringLiteral("alice")));
    answerMessageBoxes({QMessageBox::No});
    clickButton(&dialog, QStringLiteral("删除账号"));
    QCOMPARE(query(QStringLiteral("SELECT COUNT(*) FROM account WHERE name = 'alice'")), QStringLiteral("1"));
}

void TestAccountManagerDialog::changePasswordAndPoints()
{
    AccountManagerDialog dialog(m_web);
    QVERIFY(selectName(dialog, QStringLiteral("carol_1")));
    QList<ModalRecord> boxes;
    withNextModal([&boxes](QWidget *modal) {
        auto *input = qobject_cast<QInputDialog *>(modal);
        QVERIFY(input);
        QCOMPARE(input->labelText(), QStringLiteral("为账号 carol_1 设置新密码:"));
        QCOMPARE(input->textEchoMode(), QLineEdit::Password);
        input->setTextValue(QStringLiteral("new-pw"));
        answerMessageBoxes({QMessageBox::Ok}, &boxes);
        input->accept();
    });
    clickButton(&dialog, QStringLiteral("修改密码"));
    QCOMPARE(boxes.value(0).text, QStringLiteral("账号 carol_1 密码已修改！"));
    QCOMPARE(query(QStringLiteral("SELECT password = MD5('new-pw') FROM account WHERE name = 'carol_1'")), QStringLiteral("1"));
    // The underscore is no wildcard here: carolX1 keeps its password.
    QCOMPARE(query(QStringLiteral("SELECT password = MD5('g') FROM account WHERE name = 'carolX1'")), QStringLiteral("1"));

    QVERIFY(selectName(dialog, QStringLiteral("carol_1")));
    boxes.clear();
    withNextModal([&boxes](QWidget *modal) {
        auto *input = qobject_cast<QInputDialog *>(modal);
        QVERIFY(input);
        QCOMPARE(input->labelText(), QStringLiteral("账号 carol_1 当前点数: 60\n请输入新点数:"));
        QCOMPARE(input->intValue(), 60);
        QCOMPARE(input->intMinimum(), 0);
        input->setIntValue(2147483647);
        answerMessageBoxes({QMessageBox::Ok}, &boxes);
        input->accept();
    });
    clickButton(&dialog, QStringLiteral("修改点数"));
    QCOMPARE(boxes.value(0).text, QStringLiteral("账号 carol_1 点数已修改为 2147483647！"));
    QCOMPARE(query(QStringLiteral("SELECT point FROM account WHERE name = 'carol_1'")), QStringLiteral("2147483647"));
}

void TestAccountManagerDialog::editWithoutChangesRunsNothing()
{
    AccountManagerDialog dialog(m_web);
    const qint64 before = updatesOnDialogConnection();
    ModalRecord box;
    withNextModal([&box](QWidget *form) {
        QCOMPARE(form->windowTitle(), QStringLiteral("编辑账号 - bob"));
        QCOMPARE(form->findChild<QSpinBox *>(QStringLiteral("pointBox"))->value(), 20);
        answerNextMessageBox(QMessageBox::Ok, &box);
        clickButton(form, QStringLiteral("保存"));
    });
    emit table(dialog)->cellDoubleClicked(1, 3);
    QCOMPARE(box.title, QStringLiteral("提示"));
    QCOMPARE(box.text, QStringLiteral("没有任何修改。"));
    QCOMPARE(updatesOnDialogConnection(), before);
}

void TestAccountManagerDialog::editChangesOnlyWhatChanged()
{
    AccountManagerDialog dialog(m_web);
    ModalRecord box;
    withNextModal([this, &box](QWidget *form) {
        // Someone else changes bob's points while the form is open; a password-only edit keeps them.
        QVERIFY(TestServers::runSql(m_server, "UPDATE account SET point = 777 WHERE name = 'bob';", QStringLiteral("acct_web")));
        form->findChild<QLineEdit *>(QStringLiteral("passwordEdit"))->setText(QStringLiteral("edited"));
        answerNextMessageBox(QMessageBox::Ok, &box);
        clickButton(form, QStringLiteral("保存"));
    });
    emit table(dialog)->cellDoubleClicked(1, 0);
    QCOMPARE(box.text, QStringLiteral("账号 bob 已更新！"));
    QCOMPARE(query(QStringLiteral("SELECT CONCAT(password = MD5('edited'), ' ', point, ' ', expoint) FROM account WHERE name = 'bob'")),
             QStringLiteral("1 777 2"));

    withNextModal([&box](QWidget *form) {
        form->findChild<QSpinBox *>(QStringLiteral("expointBox"))->setValue(99);
        answerNextMessageBox(QMessageBox::Ok, &box);
        clickButton(form, QStringLiteral("保存"));
    });
    emit table(dialog)->cellDoubleClicked(1, 0);
    QCOMPARE(query(QStringLiteral("SELECT CONCAT(password = MD5('edited'), ' ', point, ' ', expoint) FROM account WHERE name = 'bob'")),
             QStringLiteral("1 777 99"));
}

void TestAccountManagerDialog::batchOperations()
{
    AccountManagerDialog dialog(m_web);
    auto runBatch = [&dialog](const QString &button, int value, int expectedMinimum, QList<ModalRecord> *boxes) {
        withNextModal([=](QWidget *modal) {
            auto *input = qobject_cast<QInputDialog *>(modal);
            QVERIFY(input);
            QCOMPARE(input->intMinimum(), expectedMinimum);
            input->setIntValue(value);
            answerMessageBoxes({QMessageBox::Yes, QMessageBox::Ok}, boxes);
            input->accept();
        });
        clickButton(&dialog, button);
    };
    QList<ModalRecord> boxes;
    runBatch(QStringLiteral("一键增加点数"), 5, 1, &boxes);  // 0 is out of its range
    QCOMPARE(boxes.at(0).text, QStringLiteral("确定要为所有账号增加 5 点数吗？"));
    QCOMPARE(boxes.at(1).text, QStringLiteral("已为所有账号增加 5 点数！"));
    QCOMPARE(query(QStringLiteral("SELECT GROUP_CONCAT(point ORDER BY id) FROM account")), QStringLiteral("15,25,35,45,55,65,75"));
    QCOMPARE(table(dialog)->item(0, 2)->text(), QStringLiteral("15"));

    boxes.clear();
    runBatch(QStringLiteral("一键设置点数"), 0, 0, &boxes);
    QCOMPARE(boxes.at(1).text, QStringLiteral("已将所有账号点数设置为 0！"));
    QCOMPARE(query(QStringLiteral("SELECT SUM(point) FROM account")), QStringLiteral("0"));

    QVERIFY(TestServers::runSql(m_server, "UPDATE account SET point = 3;", QStringLiteral("acct_web")));
    boxes.clear();
    answerMessageBoxes({QMessageBox::Yes, QMessageBox::Ok}, &boxes);
    clickButton(&dialog, QStringLiteral("一键清空点数"));
    QCOMPARE(boxes.at(0).text, QStringLiteral("确定要清空所有账号的点数吗？\n\n警告：此操作不可恢复！"));
    QCOMPARE(query(QStringLiteral("SELECT SUM(point) + SUM(expoint) FROM account")), QStringLiteral("28"));  // expoint untouched

    // No at the confirmation changes nothing.
    withNextModal([](QWidget *modal) {
        answerMessageBoxes({QMessageBox::No});
        qobject_cast<QInputDialog *>(modal)->accept();
    });
    clickButton(&dialog, QStringLiteral("一键增加点数"));
    QCOMPARE(query(QStringLiteral("SELECT SUM(point) FROM account")), QStringLiteral("0"));
}

void TestAccountManagerDialog::failedBatchLeavesPointsAlone()
{
    QVERIFY(TestServers::runSql(m_server, "UPDATE account SET point = 2147483600 WHERE name = 'carolX1';", QStringLiteral("acct_web")));
    const QString before = query(QStringLiteral("SELECT GROUP_CONCAT(point ORDER BY id) FROM account"));
    AccountManagerDialog dialog(m_web);
    QList<ModalRecord> boxes;
    withNextModal([&boxes](QWidget *modal) {
        qobject_cast<QInputDialog *>(modal)->setIntValue(100);
        answerMessageBoxes({QMessageBox::Yes, QMessageBox::Ok}, &boxes);
        qobject_cast<QInputDialog *>(modal)->accept();
    });
    clickButton(&dialog, QStringLiteral("一键增加点数"));
    QCOMPARE(boxes.at(1).title, QStringLiteral("失败"));
    QVERIFY2(boxes.at(1).text.startsWith(QStringLiteral("操作失败: ")) && boxes.at(1).text.contains(QStringLiteral("range")),
             qPrintable(boxes.at(1).text));
    QCOMPARE(query(QStringLiteral("SELECT GROUP_CONCAT(point ORDER BY id) FROM account")), before);
}

void TestAccountManagerDialog::unreachableDatabaseLeavesDialogUsable()
{
    HostConfig nowhere = m_web;
    nowhere.port = 1;
    ModalRecord box;
    answerNextMessageBox(QMessageBox::Ok, &box);
    AccountManagerDialog dialog(nowhere);
    QCOMPARE(box.title, QStringLiteral("错误"));
    QVERIFY2(box.text.startsWith(QStringLiteral("无法连接账号数据库: ")), qPrintable(box.text));
    QCOMPARE(table(dialog)->rowCount(), 0);

    clickButton(&dialog, QStringLiteral("刷新"));
    QCOMPARE(table(dialog)->rowCount(), 0);
    ModalRecord failure;
    withNextModal([&failure](QWidget *form) {
        form->findChild<QLineEdit *>(QStringLiteral("nameEdit"))->setText(QStringLiteral("x"));
        form->findChild<QLineEdit *>(QStringLiteral("passwordEdit"))->setText(QStringLiteral("y"));
        answerNextMessageBox(QMessageBox::Ok, &failure);
        clickButton(form, QStringLiteral("注册"));
    });
    clickButton(&dialog, QStringLiteral("注册账号"));
    QCOMPARE(failure.title, QStringLiteral("失败"));
    QVERIFY(failure.text.startsWith(QStringLiteral("注册失败: ")));
}

void TestAccountManagerDialog::worksOverOdbc()
{
    QTemporaryDir odbc;
    QVERIFY(TestServers::installPrivateOdbcDriver(odbc.path(), QStringLiteral("MySQL ODBC 8.0 Unicode Driver")));
    setNativeMysqlEnabled(false);
    {
        AccountManagerDialog dialog(m_web);
        QCOMPARE(QSqlDatabase::database(QStringLiteral("web_connection"), false).driverName(), QStringLiteral("QODBC"));
        QCOMPARE(names(dialog).size(), 7);
        QVERIFY(selectName(dialog, QStringLiteral("alice")));
        QList<ModalRecord> boxes;
        answerMessageBoxes({QMessageBox::Yes, QMessageBox::Ok}, &boxes);
        clickButton(&dialog, QStringLiteral("删除账号"));
        QCOMPARE(boxes.value(1).text, QStringLiteral("账号 alice 已删除！"));

        // Bound text arrives as typed: a quote in the search, Chinese in a new name.
        dialog.findChild<QLineEdit *>()->setText(QStringLiteral("o'neil"));
        clickButton(&dialog, QStringLiteral("搜索"));
        QCOMPARE(names(dialog), QStringList{"o'neil"});
        withNextModal([](QWidget *form) {
            form->findChild<QLineEdit *>(QStringLiteral("nameEdit"))->setText(QStringLiteral("张三"));
            form->findChild<QLineEdit *>(QStringLiteral("passwordEdit"))->setText(QStringLiteral("pw"));
            form->findChild<QCheckBox *>()->setChecked(false);
            answerNextMessageBox(QMessageBox::Ok);
            clickButton(form, QStringLiteral("注册"));
        });
        clickButton(&dialog, QStringLiteral("注册账号"));
    }
    QCOMPARE(query(QStringLiteral("SELECT COUNT(*) FROM account WHERE name = '张三' AND password = MD5('pw')")), QStringLiteral("1"));
    QVERIFY(TestServers::runSql(m_server, "DELETE FROM account WHERE name = '张三';", QStringLiteral("acct_web")));
    setNativeMysqlEnabled(true);
    QVERIFY(!QSqlDatabase::contains(QStringLiteral("web_connection")));
    QCOMPARE(query(QStringLiteral("SELECT COUNT(*) FROM account")), QStringLiteral("6"));
}

QTEST_MAIN(TestAccountManagerDialog)
#include "tst_accountmanagerdialog.moc"
