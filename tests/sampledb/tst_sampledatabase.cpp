#include "db/legacytext.h"
#include "engine/charactertables.h"
#include "sampledatabase.h"
#include "testservers.h"

#include <QBuffer>
#include <QtTest>

// The sample database stands in for live player data in every later test, so it has to be
// as demanding as the real thing and load under strict and lenient SQL modes alike.
class TestSampleDatabase : public QObject
{
    Q_OBJECT

private slots:
    void sameSeedSameScript();
    void loadsUnderBothSqlModes_data();
    void loadsUnderBothSqlModes();

private:
    static QByteArray script(const SampleOptions &options);
};

QByteArray TestSampleDatabase::script(const SampleOptions &options)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    writeSampleDatabase(&buffer, options);
    return buffer.data();
}

void TestSampleDatabase::sameSeedSameScript()
{
    SampleOptions options;
    options.charactersPerWorld = 50;
    const QByteArray first = script(options);
    QCOMPARE(script(options), first);
    options.seed += 1;
    QVERIFY(script(options) != first);
}

void TestSampleDatabase::loadsUnderBothSqlModes_data()
{
    QTest::addColumn<QByteArray>("sqlMode");
    QTest::newRow("strict") << QByteArray("STRICT_ALL_TABLES,NO_ZERO_DATE,ERROR_FOR_DIVISION_BY_ZERO");
    QTest::newRow("lenient") << QByteArray("");
}

void TestSampleDatabase::loadsUnderBothSqlModes()
{
    QFETCH(QByteArray, sqlMode);
    const TestServer server = TestServers::shared();
    QVERIFY(server.isValid());
    SampleOptions options = TestServers::smallSample(QStringLiteral("sample_check"), {1, 2, 10}, 120);
    options.accountDatabases = {QStringLiteral("sample_web"), QStringLiteral("sample_web2")};
    QVERIFY(TestServers::runSql(server, "SET SESSION sql_mode = '" + sqlMode + "';\n" + script(options)));

    auto count = [&server](const QString &sql) {
        return TestServers::querySql(server, sql, QStringLiteral("sample_check")).toInt();
    };
    QCOMPARE(count(QStringLiteral("SELECT COUNT(*) FROM t_char")), 360);
    QCOMPARE(TestServers::querySql(server, QStringLiteral("SELECT GROUP_CONCAT(worldid, ':', maxcharguid ORDER BY worldid) FROM t_var"),
                                   QStringLiteral("sample_check")),
             QStringLiteral("1:120,2:240,10:360"));

    // Every table the program walks exists, holds rows and has its charguid index.
    for (const QString &table : characterDeleteTables) {
        QVERIFY2(count(QStringLiteral("SELECT COUNT(*) FROM %1").arg(table)) > 0, qPrintable(table));
        QCOMPARE(count(QStringLiteral("SELECT COUNT(*) FROM information_schema.statistics WHERE table_schema = "
                                      "'sample_check' AND table_name = '%1' AND column_name = 'charguid'").arg(table)), 1);
        QCOMPARE(count(QStringLiteral("SELECT COUNT(*) FROM t_char c RIGHT JOIN %1 r ON r.charguid = c.charguid "
                                      "WHERE c.charguid IS NULL").arg(table)), 0);
    }

    // Names are GBK in latin1 columns, with bytes 0x80-0x9F and the 0x5C trail byte among them.
    const QStringList names = TestServers::querySql(server, QStringLiteral("SELECT HEX(charname) FROM t_char"),
                                                    QStringLiteral("sample_check")).split(QLatin1Char('\n'));
    QByteArray all;
    for (const QString &hex : names) {
        const QByteArray bytes = QByteArray::fromHex(hex.toLatin1());
        QCOMPARE(encodeGbk(decodeGbk(bytes)), bytes);
        all += bytes;
    }
    QVERIFY(std::any_of(all.cbegin(), all.cend(), [](char b) { return uchar(b) >= 0x80 && uchar(b) <= 0x9F; }));

    // Every character's account exists in one of the account databases.
    QCOMPARE(count(QStringLiteral("SELECT COUNT(*) FROM t_char c WHERE NOT EXISTS (SELECT 1 FROM sample_web.account a "
                                  "WHERE a.name = c.accname) AND NOT EXISTS (SELECT 1 FROM sample_web2.account b WHERE b.name = c.accname)")),
             0);
    QVERIFY(count(QStringLiteral("SELECT COUNT(*) FROM sample_web2.account")) > 0);
    QVERIFY(count(QStringLiteral("SELECT COUNT(*) FROM t_relation r JOIN t_char a ON a.charguid = r.charguid "
                                 "JOIN t_char b ON b.charguid = r.fguid WHERE a.zoneworldid <> b.zoneworldid")) > 0);
    QVERIFY(count(QStringLiteral("SELECT COUNT(*) FROM (SELECT charguid FROM t_skill GROUP BY charguid, skid HAVING COUNT(*) > 1) d")) > 0);
    QVERIFY(TestServers::runSql(server, "DROP DATABASE sample_check; DROP DATABASE sample_web; DROP DATABASE sample_web2;"));
}

QTEST_MAIN(TestSampleDatabase)
#include "tst_sampledatabase.moc"
