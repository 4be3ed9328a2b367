#include "ui/main/hoststore.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

class TestHostStore : public QObject
{
    Q_OBJECT

private slots:
    void init() { QFile::remove(path()); }
    void missingOrBrokenFileGivesDefaultEntry_data();
    void missingOrBrokenFileGivesDefaultEntry();
    void readsEveryEntryWithFallbacks();
    void writesSortedPrivateFilesThatReadBack();

private:
    void writeFile(const QByteArray &content);
    QString path() const { return m_dir.filePath(QStringLiteral("host_configs.json")); }
    QTemporaryDir m_dir;
};

void TestHostStore::writeFile(const QByteArray &content)
{
    QFile file(path());
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(content);
}

void TestHostStore::missingOrBrokenFileGivesDefaultEntry_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::newRow("missing") << QByteArray();
    QTest::newRow("empty array") << QByteArray("[]");
    QTest::newRow("malformed") << QByteArray("[{\"name\": ");
    QTest::newRow("object at top level") << QByteArray("{\"name\": \"x\"}");
}

void TestHostStore::missingOrBrokenFileGivesDefaultEntry()
{
    QFETCH(QByteArray, content);
    if (!content.isNull())
        writeFile(content);
    QCOMPARE(readHostConfigs(path()), HostConfigList{HostConfig::initial(QStringLiteral("本地数据库"))});
    // Reading never writes.
    QFile file(path());
    QCOMPARE(file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray(), content);
}

void TestHostStore::readsEveryEntryWithFallbacks()
{
    writeFile(R"([{"name": "一区", "host": "10.0.0.5", "port": 3307, "username": "gm", "password": "secret", "database": "game1"},
                  {"name": "a", "host": "h", "port": "3307", "web_port": "x"}, 42,
                  {"name": "b", "port": 3310.5, "web_host": "", "web_database": ""}])");
    const HostConfigList c = readHostConfigs(path());
    QCOMPARE(c.size(), 4);
    // Account fields fall back to the character fields; a port that is no whole number to 3306.
    QCOMPARE(QStringList({c[0].webHost, QString::number(c[0].webPort), c[0].webUsername, c[0].webPassword, c[0].webDatabase}),
             QStringList({"10.0.0.5", "3307", "gm", "secret", "web"}));
    QCOMPARE(QList<int>({c[1].port, c[1].webPort, c[2].port, c[3].port}), QList<int>({3306, 3306, 3306, 3306}));
    QCOMPARE(c[2].webDatabase, QStringLiteral("web"));
    // Present but empty keys are taken as they are.
    QVERIFY(c[3].webHost.isEmpty() && c[3].webDatabase.isEmpty());
}

void TestHostStore::writesSortedPrivateFilesThatReadBack()
{
    HostConfig a = HostConfig::initial(QStringLiteral("一区"));
    a.port = 3307;
    a.password = QStringLiteral(" p;w\"d ");
    a.webPort = 3308;
    a.webPassword = QStringLiteral("{}");
    HostConfig b = a;  // names need not be unique
    b.port = 0;
    QVERIFY(writeHostConfigs(path(), {a, b}));
    QCOMPARE(readHostConfigs(path()), HostConfigList({a, b}));

    QFile file(path());
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(file.readAll());
    int last = -1;
    for (const char *key : {"database", "host", "name", "password", "port", "username", "web_database", "web_host",
                            "web_password", "web_port", "web_username"}) {
        const int at = int(text.indexOf(QStringLiteral("        \"%1\": ").arg(QLatin1String(key))));
        QVERIFY2(at > last, key);
        last = at;
    }
    // A file that others could read is made private on the next write.
    QVERIFY(file.setPermissions(file.permissions() | QFileDevice::ReadOther | QFileDevice::ReadGroup));
    QVERIFY(writeHostConfigs(path(), {a}));
    QCOMPARE(QFile(path()).permissions() & (QFileDevice::ReadGroup | QFileDevice::ReadOther | QFileDevice::WriteGroup
                                            | QFileDevice::WriteOther), QFileDevice::Permissions());
    QVERIFY(!writeHostConfigs(m_dir.filePath(QStringLiteral("no/such/dir/host_configs.json")), {a}));
}

QTEST_MAIN(TestHostStore)
#include "tst_hoststore.moc"
