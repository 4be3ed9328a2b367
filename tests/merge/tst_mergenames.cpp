// The naming rules of the merges and the ODBC connection string, which need no server.
#include "db/connectionrule.h"
#include "merge/mergenames.h"

#include <QSet>
#include <QtTest>

class TestMergeNames : public QObject
{
    Q_OBJECT

private slots:
    void clashingNamesGetTheSuffix_data();
    void clashingNamesGetTheSuffix();
    void odbcValuesCannotBreakTheString();
};

void TestMergeNames::clashingNamesGetTheSuffix_data()
{
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<bool>("atRule");
    QTest::addColumn<bool>("legacy");
    QTest::addColumn<int>("maxLength");
    QTest::addColumn<QList<QByteArray>>("taken");
    QTest::addColumn<QByteArray>("expected");
    QTest::addColumn<bool>("shortened");
    QTest::newRow("account: before the @") << QByteArray("bob@qq.com") << true << false << 50 << QList<QByteArray>()
                                           << QByteArray("bob_S2@qq.com") << false;
    QTest::newRow("taken twice") << QByteArray("bob@qq.com") << true << false << 50
                                 << QList<QByteArray>{"bob_S2@qq.com", "bob_S2_1@qq.com"} << QByteArray("bob_S2_2@qq.com") << false;
    QTest::newRow("an @ in first place is no domain") << QByteArray("@bob") << true << false << 50 << QList<QByteArray>()
                                                      << QByteArray("@bob_S2") << false;
    // 0x40 is "@" and a GBK trail byte: inside a character it splits nothing.
    QTest::newRow("GBK trail byte 0x40") << QByteArray("\x81\x40" "ab@qq.com") << true << true << 50 << QList<QByteArray>()
                                         << QByteArray("\x81\x40" "ab_S2@qq.com") << false;
    QTest::newRow("GBK cut at a character") << QByteArray("\xB1\xF9\xD4\xC6\xBD\xA3") << false << true << 8 << QList<QByteArray>()
                                            << QByteArray("\xB1\xF9\xD4\xC6_S2") << true;
    QTest::newRow("UTF-8 counted in characters") << QString::fromUtf8("剑心剑心").toUtf8() << false << false << 5 << QList<QByteArray>()
                                                 << QString::fromUtf8("剑心_S2").toUtf8() << true;
    QTest::newRow("cut names clash again") << QByteArray("abcdef") << false << false << 6 << QList<QByteArray>{"abc_S2"}
                                           << QByteArray("a_S2_1") << true;
}

void TestMergeNames::clashingNamesGetTheSuffix()
{
    QFETCH(QByteArray, name);
    QFETCH(bool, atRule);
    QFETCH(bool, legacy);
    QFETCH(int, maxLength);
    QFETCH(QList<QByteArray>, taken);
    QFETCH(QByteArray, expected);
    QFETCH(bool, shortened);
    const QSet<QByteArray> used(taken.cbegin(), taken.cend());
    bool cut = false;
    QCOMPARE(MergeNames::resolve(name, "_S2", atRule, legacy, maxLength, [&](const QByteArray &n) { return used.contains(n); }, &cut),
             expected);
    QCOMPARE(cut, shortened);
}

void TestMergeNames::odbcValuesCannotBreakTheString()
{
    const QString text = odbcConnectionString(QStringLiteral("MySQL ODBC 8.0 Unicode Driver"), QStringLiteral("db.example"), 3307,
                                              QStringLiteral("game"), QStringLiteral("root"), QStringLiteral(" p;w{x}=1 "));
    QCOMPARE(text, QStringLiteral("DRIVER={MySQL ODBC 8.0 Unicode Driver};SERVER=db.example;PORT=3307;DATABASE=game;USER=root;"
                                  "PASSWORD={ p;w{x}}=1 };OPTION=3"));
}

QTEST_GUILESS_MAIN(TestMergeNames)
#include "tst_mergenames.moc"
