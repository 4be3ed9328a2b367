// The logic that needs no server: how column descriptions are read, how values are written
// back as literals, which dump lines a MySQL client must not see, how ids are read.
#include "db/characterqueries.h"
#include "db/sqlcolumns.h"
#include "engine/clientoptionfile.h"

#include <QtTest>

#include <cfloat>
#include <cmath>

class TestSqlColumns : public QObject
{
    Q_OBJECT

private slots:
    void generatedColumns_data();
    void generatedColumns();
    void numbersNeverTravelAsHexadecimal_data();
    void numbersNeverTravelAsHexadecimal();
    void floatsComeBackBitForBit_data();
    void floatsComeBackBitForBit();
    void valuesThatCannotBeWrittenExactlyAreRefused();
    void sandboxLineIsRecognised();
    void charGuidsAreReadAsWritten_data();
    void charGuidsAreReadAsWritten();
};

void TestSqlColumns::generatedColumns_data()
{
    QTest::addColumn<QString>("extra");
    QTest::addColumn<bool>("generated");
    // As MySQL 8.0, MySQL 5.7 and MariaDB describe their columns.
    QTest::newRow("MySQL 8 expression default") << QStringLiteral("DEFAULT_GENERATED") << false;
    QTest::newRow("MySQL 8 expression default with update") << QStringLiteral("DEFAULT_GENERATED on update CURRENT_TIMESTAMP") << false;
    QTest::newRow("auto increment") << QStringLiteral("auto_increment") << false;
    QTest::newRow("virtual") << QStringLiteral("VIRTUAL GENERATED") << true;
    QTest::newRow("stored") << QStringLiteral("STORED GENERATED") << true;
    QTest::newRow("older MariaDB virtual") << QStringLiteral("VIRTUAL") << true;
    QTest::newRow("older MariaDB persistent") << QStringLiteral("PERSISTENT") << true;
    QTest::newRow("none") << QString() << false;
}

void TestSqlColumns::generatedColumns()
{
    QFETCH(QString, extra);
    QFETCH(bool, generated);
    QCOMPARE(Sql::isGeneratedExtra(extra), generated);
}

void TestSqlColumns::numbersNeverTravelAsHexadecimal_data()
{
    QTest::addColumn<QString>("type");
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<QByteArray>("literal");
    // MySQL takes X'..' as a number in a numeric context: "12.5" would arrive as 825372213.
    QTest::newRow("decimal") << QStringLiteral("decimal(10,2)") << QVariant(QByteArray("-12.50")) << QByteArray("-12.50");
    QTest::newRow("double") << QStringLiteral("double") << QVariant(12.5) << QByteArray("12.5e0");
    QTest::newRow("float") << QStringLiteral("float unsigned") << QVariant(16777218.0) << QByteArray("16777218e0");
    QTest::newRow("bigint unsigned") << QStringLiteral("bigint(20) unsigned") << QVariant(quint64(18446744073709551615ULL))
                                     << QByteArray("18446744073709551615");
    QTest::newRow("tinyint") << QStringLiteral("tinyint(4)") << QVariant(qlonglong(-128)) << QByteArray("-128");
    QTest::newRow("year zero") << QStringLiteral("year(4)") << QVariant(qlonglong(0)) << QByteArray("0");
    QTest::newRow("bit") << QStringLiteral("bit(8)") << QVariant(quint64(165)) << QByteArray("165");
    QTest::newRow("zero date") << QStringLiteral("datetime") << QVariant(QByteArray("0000-00-00 00:00:00"))
                               << QByteArray("'0000-00-00 00:00:00'");
    QTest::newRow("negative time") << QStringLiteral("time(3)") << QVariant(QByteArray("-838:59:59.000")) << QByteArray("'-838:59:59.000'");
    QTest::newRow("timestamp") << QStringLiteral("timestamp(6)") << QVariant(QByteArray("1700000000.123456"))
                               << QByteArray("FROM_UNIXTIME(1700000000.123456)");
    QTest::newRow("zero timestamp") << QStringLiteral("timestamp") << QVariant(QByteArray("0")) << QByteArray("'0000-00-00 00:00:00'");
    QTest::newRow("json") << QStringLiteral("json") << QVariant(QByteArray("[1]")) << QByteArray("CONVERT(X'5b315d' USING utf8mb4)");
    QTest::newRow("text") << QStringLiteral("varchar(50)") << QVariant(QByteArray("\xbd\xa3\x5c")) << QByteArray("X'bda35c'");
    QTest::newRow("null") << QStringLiteral("float") << QVariant() << QByteArray("NULL");
}

void TestSqlColumns::numbersNeverTravelAsHexadecimal()
{
    QFETCH(QString, type);
    QFETCH(QVariant, value);
    QFETCH(QByteArray, literal);
    QByteArray out;
    Message error;
    QVERIFY2(Sql::appendLiteral(&out, Sql::kindOfType(type), value, &error), qPrintable(error));
    QCOMPARE(out, literal);
}

void TestSqlColumns::floatsComeBackBitForBit_data()
{
    QTest::addColumn<double>("value");
    QTest::newRow("above float's six digits") << 16777218.0;
    QTest::newRow("fraction") << 123456.7890625;
    QTest::newRow("largest float") << double(FLT_MAX);
    QTest::newRow("smallest normal float") << double(FLT_MIN);
    QTest::newRow("smallest subnormal float") << double(std::nextafter(0.0f, 1.0f));
    QTest::newRow("a third") << 1.0 / 3;
    QTest::newRow("negative zero") << -0.0;
}

void TestSqlColumns::floatsComeBackBitForBit()
{
    QFETCH(double, value);
    QByteArray out;
    Message error;
    QVERIFY(Sql::appendLiteral(&out, Sql::ValueKind::Float, value, &error));
    QVERIFY(out.contains('e'));  // an approximate-value literal, read as a double
    const double back = out.toDouble();
    QCOMPARE(std::signbit(back), std::signbit(value));
    QCOMPARE(QByteArray::number(back, 'g', 17), QByteArray::number(value, 'g', 17));
}

void TestSqlColumns::valuesThatCannotBeWrittenExactlyAreRefused()
{
    QByteArray out;
    Message error;
    QVERIFY(!Sql::appendLiteral(&out, Sql::ValueKind::Decimal, QByteArray("1; DROP TABLE t"), &error));
    QVERIFY(!Sql::appendLiteral(&out, Sql::ValueKind::Temporal, QByteArray("2024-01-01' OR '1"), &error));
    QVERIFY(!Sql::appendLiteral(&out, Sql::ValueKind::Float, std::nan(""), &error));
    QVERIFY(!Sql::appendLiteral(&out, Sql::ValueKind::Integer, QByteArray("12a"), &error));
    QVERIFY(out.isEmpty());
}

void TestSqlColumns::sandboxLineIsRecognised()
{
    QVERIFY(isSandboxLine("/*M!999999\\- enable the sandbox mode */ \n"));
    QVERIFY(!isSandboxLine("-- MariaDB dump 10.19  Distrib 10.11.19-MariaDB\n"));
    QVERIFY(!isSandboxLine("/*!40101 SET @OLD_CHARACTER_SET_CLIENT=@@CHARACTER_SET_CLIENT */;\n"));
    // What a dump needs against either family: consistent, without tablespaces.
    QVERIFY(dumpOptions(QStringLiteral("f.sql"), QStringLiteral("db")).contains(QStringLiteral("--no-tablespaces")));
}

void TestSqlColumns::charGuidsAreReadAsWritten_data()
{
    // The window's search and quorvel-cli's --guid read ids the same way.
    QTest::addColumn<QString>("text");
    QTest::addColumn<qint64>("guid");
    QTest::newRow("decimal") << QStringLiteral(" 161 ") << qint64(161);
    QTest::newRow("0x means hexadecimal, letters or not") << QStringLiteral("0x10") << qint64(16);
    QTest::newRow("letters without 0x") << QStringLiteral("a7dd92") << qint64(0xA7DD92);
    QTest::newRow("the largest id") << QStringLiteral("2147483647") << qint64(2147483647);
    QTest::newRow("beyond the column, hexadecimal") << QStringLiteral("0x1000000A1") << qint64(0);
    QTest::newRow("beyond the column, decimal") << QStringLiteral("2147483648") << qint64(0);
    QTest::newRow("not a number") << QStringLiteral("12G") << qint64(0);
}

void TestSqlColumns::charGuidsAreReadAsWritten()
{
    QFETCH(QString, text);
    QFETCH(qint64, guid);
    QCOMPARE(CharacterQueries::parseCharGuid(text), guid);
}

QTEST_GUILESS_MAIN(TestSqlColumns)
#include "tst_sqlcolumns.moc"
