#include "db/databasemanager.h"
#include "db/legacytext.h"
#include "engine/accountcleanup.h"
#include "testservers.h"

#include <QSqlQuery>
#include <QtTest>

// Account databases of one server: web (latin1 names holding GBK bytes, as legacy servers keep
// them), web2 (utf8mb4), web9, web10, and two look-alikes that are not account databases.
class TestAccountCleanup : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();

    void detectsAccountDatabasesAndNames();
    void deletesFromEveryTickedDatabase();
    void skipsDatabaseThatCannotBeOpened();

private:
    QStringList names(const QString &database);
    QStringList m_log;
    TestServer m_server;
    QByteArray m_gbkName;
    QByteArray m_gbkNeighbour;
};

void TestAccountCleanup::initTestCase()
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
           "INSERT INTO account (name) VALUES ('alice'), ('shared'), ('bob'), (X'" + m_gbkName.toHex() + "'), (X'"
           + m_gbkNeighbour.toHex() + "');"
           "USE web2;" + accountTable + " DEFAULT CHARSET=utf8mb4;"
           "INSERT INTO account (name) VALUES ('Alice'), ('shared'), ('bob');"
           "USE web9;" + accountTable + " DEFAULT CHARSET=gbk;"
           "INSERT INTO account (name) VALUES ('shared'), (CONVERT(X'" + m_gbkName.toHex() + "' USING gbk));"
           "USE web10;" + accountTable + " DEFAULT CHARSET=latin1;"
           "INSERT INTO account (name) VALUES ('shared');"
           "CREATE OR REPLACE USER 'cleaner'@'127.0.0.1' IDENTIFIED BY 'cleaner';"
           "GRANT ALL ON web.* TO 'cleaner'@'127.0.0.1'; GRANT ALL ON web2.* TO 'cleaner'@'127.0.0.1';";
    QVERIFY(TestServers::runSql(m_server, sql));
    QVERIFY(DatabaseManager::instance()->connectToDatabase(m_server.hostConfig(QStringLiteral("cleanup_chars"))));
}

void TestAccountCleanup::cleanupTestCase()
{
    DatabaseManager::instance()->disconnectFromDatabase();
    TestServers::runSql(m_server, "DROP DATABASE cleanup_chars; DROP DATABASE web; DROP DATABASE web2; DROP DATABASE web9;"
                                  "DROP DATABASE web10; DROP DATABASE web_bak; DROP DATABASE webtest; DROP USER 'cleaner'@'127.0.0.1';");
}

QStringList TestAccountCleanup::names(const QString &database)
{
    return TestServers::querySql(m_server, QStringLiteral("SELECT HEX(name) FROM account ORDER BY HEX(name)"), database)
        .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

void TestAccountCleanup::detectsAccountDatabasesAndNames()
{
    QCOMPARE(AccountCleanup::filterAccountDatabases({"webtest", "web10", "web_bak", "web2", "web9", "web", "web01x", "Web3"}),
             QStringList({"web", "web2", "web9", "web10"}));
    QSqlDatabase &db = DatabaseManager::instance()->database();
    // Other tests' databases may share the server; only the account databases count.
    QCOMPARE(AccountCleanup::detectAccountDatabases(db, [](const QString &) {}), QStringList({"web", "web2", "web9", "web10"}));

    QList<QByteArray> names = AccountCleanup::collectAccountNames(db, {7});
    std::sort(names.begin(), names.end());
    // "alice" twice is one name; "Alice" differs by its bytes and stays a name of its own.
    QCOMPARE(names, QList<QByteArray>({"Alice", "alice", "shared", m_gbkName}));
    QVERIFY(AccountCleanup::collectAccountNames(db, {42}).isEmpty());
}

void TestAccountCleanup::deletesFromEveryTickedDatabase()
{
    HostConfig stored = m_server.hostConfig(QStringLiteral("cleanup_chars"));
    const QList<QByteArray> accounts = AccountCleanup::collectAccountNames(DatabaseManager::instance()->database(), {7});
    m_log.clear();
    const int deleted = AccountCleanup::deleteAccounts(stored, {"web", "web2", "web9"}, accounts,
                                                       [this](const QString &line) { m_log.append(line); });

    // web: alice, shared and the GBK name; its neighbour differing in bytes 0x80-0x9F and bob stay.
    QCOMPARE(names(QStringLiteral("web")), QStringList({"626F62", QString::fromLatin1(m_gbkNeighbour.toHex().toUpper())}));
    // web2: "Alice" and shared.
    QCOMPARE(names(QStringLiteral("web2")), QStringList({"626F62"}));
    // web9 keeps names as GBK text; the same bytes are deleted there too.
    QCOMPARE(names(QStringLiteral("web9")), QStringList());
    QCOMPARE(deleted, 3 + 2 + 2);
    QCOMPARE(m_log.last(), QStringLiteral("所有账号库共删除 7 个账号"));
    QVERIFY(!QSqlDatabase::contains(QStringLiteral("zone_delete_web_conn_web")));
}

void TestAccountCleanup::skipsDatabaseThatCannotBeOpened()
{
    HostConfig stored = m_server.hostConfig(QStringLiteral("cleanup_chars"));
    stored.webUsername = QStringLiteral("cleaner");
    stored.webPassword = QStringLiteral("cleaner");
    m_log.clear();
    const int deleted = AccountCleanup::deleteAccounts(stored, {"web10", "web", "web2"}, {"bob", "nobody"},
                                                       [this](const QString &line) { m_log.append(line); });
    QCOMPARE(deleted, 2);
    QVERIFY2(m_log.at(2).startsWith(QStringLiteral("无法连接账号数据库 web10: ")), qPrintable(m_log.at(2)));
    QCOMPARE(names(QStringLiteral("web10")), QStringList({"736861726564"}));
    QVERIFY(!QSqlDatabase::contains(QStringLiteral("zone_delete_web_conn_web10")));

    m_log.clear();
    QCOMPARE(AccountCleanup::deleteAccounts(stored, {"web"}, {}, [this](const QString &line) { m_log.append(line); }), 0);
    QCOMPARE(m_log, QStringList{QStringLiteral("没有找到需要删除的账号")});
}

QTEST_MAIN(TestAccountCleanup)
#include "tst_accountcleanup.moc"
