#include "ui/main/hoststore.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QtTest>

class TestHostStore : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void missingOrBrokenFileGivesDefaultEntry_data();
    void missingOrBrokenFileGivesDefaultEntry();
    void accountFieldsFallBackToCharacterFields();
    void portWrittenAsStringFallsBack();
    void nonObjectElementStillYieldsEntry();
    void writtenFileIsSortedIndentedAndPrivate();
    void roundTripKeepsEveryField();

private:
    void writeFile(const QByteArray &content);
    QString path() const { return m_dir.filePath(QStringLiteral("host_configs.json")); }
    QTemporaryDir m_dir;
};

void TestHostStore::init()
{
    QFile::remove(path());
}

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
    const HostConfigList configs = readHostConfigs(path());
    QCOMPARE(configs.size(), 1);
    QCOMPARE(configs.first(), HostConfig::initial(QStringLiteral("本地数据库")));
    // Reading never writes: an empty array stays as it is.
    if (!content.isNull()) {
        QFile file(path());
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), content);
    } else {
        QVERIFY(!QFile::exists(path()));
    }
}

void TestHostStore::accountFieldsFallBackToCharacterFields()
{
    writeFile(R"([{"name": "一区", "host": "10.0.0.5", "port": 3307, "username": "gm",
                   "password": "secret", "database": "game1"}])");
    const HostConfigList configs = readHostConfigs(path());
    QCOMPARE(configs.size(), 1);
    const HostConfig &c = configs.first();
    QCOMPARE(c.name, QStringLiteral("一区"));
    QCOMPARE(c.webHost, QStringLiteral("10.0.0.5"));
    QCOMPARE(c.webPort, 3307);
    QCOMPARE(c.webUsername, QStringLiteral("gm"));
    QCOMPARE(c.webPassword, QStringLiteral("secret"));
    QCOMPARE(c.webDatabase, QStringLiteral("web"));
}

void TestHostStore::portWrittenAsStringFallsBack()
{
    writeFile(R"([{"name": "a", "host": "h", "port": "3307"},
                  {"name": "b", "host": "h", "port": 3310.5, "web_port": "x"}])");
    const HostConfigList configs = readHostConfigs(path());
    QCOMPARE(configs.size(), 2);
    QCOMPARE(configs.at(0).port, 3306);
    QCOMPARE(configs.at(0).webPort, 3306);
    QCOMPARE(configs.at(1).port, 3306);
    QCOMPARE(configs.at(1).webPort, 3306);
}

void TestHostStore::nonObjectElementStillYieldsEntry()
{
    writeFile(R"([42, {"name": "b", "web_host": "", "web_database": ""}])");
    const HostConfigList configs = readHostConfigs(path());
    QCOMPARE(configs.size(), 2);
    QCOMPARE(configs.at(0).name, QString());
    QCOMPARE(configs.at(0).port, 3306);
    QCOMPARE(configs.at(0).webDatabase, QStringLiteral("web"));
    // Present but empty keys are taken as they are.
    QCOMPARE(configs.at(1).webHost, QString());
    QCOMPARE(configs.at(1).webDatabase, QString());
}

void TestHostStore::writtenFileIsSortedIndentedAndPrivate()
{
    HostConfig c = HostConfig::initial(QStringLiteral("主服"));
    c.password = QStringLiteral("p;w\"d");
    QVERIFY(writeHostConfigs(path(), {c}));

    QFile file(path());
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(file.readAll());
    const QStringList keys = {"database", "host", "name", "password", "port", "username",
                              "web_database", "web_host", "web_password", "web_port", "web_username"};
    int last = -1;
    for (const QString &key : keys) {
        const int at = text.indexOf(QStringLiteral("        \"%1\": ").arg(key));
        QVERIFY2(at > last, qPrintable(key));
        last = at;
    }
    QVERIFY(text.contains(QStringLiteral("\"port\": 3306")));
    QVERIFY(text.contains(QStringLiteral("\"password\": \"p;w\\\"d\"")));
    QCOMPARE(file.permissions() & (QFileDevice::ReadGroup | QFileDevice::ReadOther | QFileDevice::WriteGroup
                                   | QFileDevice::WriteOther),
             QFileDevice::Permissions());

    // A file that others could read is made private on the next write.
    QVERIFY(file.setPermissions(file.permissions() | QFileDevice::ReadOther));
    QVERIFY(writeHostConfigs(path(), {c}));
    QVERIFY(!(QFile(path()).permissions() & QFileDevice::ReadOther));

    QVERIFY(!writeHostConfigs(m_dir.filePath(QStringLiteral("no/such/dir/host_configs.json")), {c}));
}

void TestHostStore::roundTripKeepsEveryField()
{
    HostConfig a = HostConfig::initial(QStringLiteral("一区"));
    a.host = QStringLiteral("192.0.2.1");
    a.port = 3307;
    a.password = QStringLiteral(" spaced ");
    a.webHost = QStringLiteral("192.0.2.2");
    a.webPort = 3308;
    a.webUsername = QStringLiteral("webuser");
    a.webPassword = QStringLiteral("{}");
    a.webDatabase = QStringLiteral("web2");
    HostConfig b = a;
    b.name = a.name;  // names need not be unique
    b.port = 0;
    QVERIFY(writeHostConfigs(path(), {a, b}));
    const HostConfigList read = readHostConfigs(path());
    QCOMPARE(read.size(), 2);
    QCOMPARE(read.at(0), a);
    QCOMPARE(read.at(1), b);
}

QTEST_MAIN(TestHostStore)
#include "tst_hoststore.moc"
