#include "db/databasemanager.h"
#include "db/legacytext.h"
#include "testservers.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QtTest>

// GBK bytes live in latin1 columns, and the driver reads and writes text as UTF-8. These tests
// pin the ways through the main session that keep every stored byte as it is.
class TestLegacyText : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();

    void gbkConversions_data();
    void gbkConversions();
    void everyGbkCharacterRoundTrips();
    void hexPatterns();
    void allByteValuesSurviveTheSession();

private:
    QByteArray readHex(int id);
    TestServer m_server;
};

void TestLegacyText::initTestCase()
{
    m_server = TestServers::shared();
    QVERIFY(m_server.isValid());
    QVERIFY(TestServers::runSql(m_server,
        "DROP DATABASE IF EXISTS legacy_text; CREATE DATABASE legacy_text DEFAULT CHARACTER SET latin1;"
        "CREATE TABLE legacy_text.names (id INT PRIMARY KEY, name VARCHAR(300) CHARACTER SET latin1 NULL)"
        " DEFAULT CHARSET=latin1;"));
    QVERIFY(DatabaseManager::instance()->connectToDatabase(m_server.hostConfig(QStringLiteral("legacy_text"))));
}

void TestLegacyText::cleanupTestCase()
{
    DatabaseManager::instance()->disconnectFromDatabase();
    TestServers::runSql(m_server, "DROP DATABASE legacy_text;");
}

void TestLegacyText::gbkConversions_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("empty") << QString() << QByteArray();
    QTest::newRow("ascii") << QStringLiteral("Warrior_01") << QByteArray("Warrior_01");
    QTest::newRow("bytes 0x80-0x9F") << QStringLiteral("堃喆燊昇") << QByteArray::fromHex("88D286B49FF6954E");
    QTest::newRow("trail byte 0x5C") << QStringLiteral("乗") << QByteArray::fromHex("815C");
    QTest::newRow("mixed") << QStringLiteral("剑心a1") << QByteArray::fromHex("BDA3D0C46131");
}

void TestLegacyText::gbkConversions()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, bytes);
    QCOMPARE(encodeGbk(text), bytes);
    QCOMPARE(decodeGbk(bytes), text);
    QCOMPARE(DatabaseManager::decodeGbk(bytes), text);
}

void TestLegacyText::everyGbkCharacterRoundTrips()
{
    int characters = 0;
    for (int lead = 0x81; lead <= 0xFE; ++lead) {
        for (int trail = 0x40; trail <= 0xFE; ++trail) {
            if (trail == 0x7F)
                continue;
            const QByteArray bytes = QByteArray(1, char(lead)) + char(trail);
            const QString text = decodeGbk(bytes);
            if (text.size() != 1 || text.at(0) == QChar::ReplacementCharacter)
                continue;  // an unassigned code
            QCOMPARE(encodeGbk(text), bytes);
            ++characters;
        }
    }
    QVERIFY2(characters > 21000, qPrintable(QString::number(characters)));

    // Characters beyond GBK take their GB18030 four-byte form and come back unchanged.
    const QString beyond = QStringLiteral("𠮷a€");
    QVERIFY(!encodeGbk(beyond).contains('?'));
    QCOMPARE(decodeGbk(encodeGbk(beyond)), beyond);
}

void TestLegacyText::hexPatterns()
{
    QCOMPARE(unhexExpression(QByteArray::fromHex("88d2ff00")), QStringLiteral("UNHEX('88D2FF00')"));
    QCOMPARE(legacyTextExpression(QStringLiteral("堃")), QStringLiteral("UNHEX('88D2')"));
    // Lower-case digits and stray characters decode as far as they go; NULL reads empty.
    QCOMPARE(decodeHexColumn(QStringLiteral("88d2")), QStringLiteral("堃"));
    QCOMPARE(bytesFromHexValue(QStringLiteral("88 D2")), QByteArray::fromHex("88D2"));
    QCOMPARE(decodeHexColumn(QVariant()), QString());
}

QByteArray TestLegacyText::readHex(int id)
{
    QSqlQuery query(DatabaseManager::instance()->database());
    if (!query.exec(QStringLiteral("SELECT HEX(name) AS name_hex FROM names WHERE id = %1").arg(id)) || !query.next())
        return QByteArray("<missing>");
    return bytesFromHexValue(query.value(0));
}

void TestLegacyText::allByteValuesSurviveTheSession()
{
    const QByteArray all = TestServers::allByteValues();
    QSqlDatabase &db = DatabaseManager::instance()->database();
    QSqlQuery query(db);

    // Written as UNHEX, read as HEX.
    QVERIFY2(query.exec(QStringLiteral("REPLACE INTO names VALUES (1, %1)").arg(unhexExpression(all))),
             qPrintable(query.lastError().text()));
    QCOMPARE(readHex(1), all);

    // Read through a binary cast, which the driver hands over as bytes.
    QVERIFY(query.exec(QStringLiteral("SELECT CAST(name AS BINARY) FROM names WHERE id = 1")) && query.next());
    QCOMPARE(query.value(0).typeId(), QMetaType::QByteArray);
    const QByteArray fetched = bytesFromBinaryValue(query.value(0));
    query.finish();

    // Written back as a bound QByteArray, which travels as binary data.
    QVERIFY(query.prepare(QStringLiteral("REPLACE INTO names VALUES (2, ?)")));
    query.addBindValue(fetched);
    QVERIFY2(query.exec(), qPrintable(query.lastError().text()));
    QCOMPARE(fetched, all);
    QCOMPARE(readHex(2), all);

    // Text written as its GBK bytes reads back as those bytes through another client.
    const QString name = QStringLiteral("堃喆燊昇_剑心");
    QVERIFY(query.exec(QStringLiteral("REPLACE INTO names VALUES (10, %1)").arg(legacyTextExpression(name))));
    QCOMPARE(TestServers::querySql(m_server, QStringLiteral("SELECT HEX(name) FROM names WHERE id = 10"), QStringLiteral("legacy_text")),
             QString::fromLatin1(encodeGbk(name).toHex().toUpper()));
}

QTEST_MAIN(TestLegacyText)
#include "tst_legacytext.moc"
