// Copies N rows of GBK names between two latin1 tables in the three byte-exact ways the
// session offers, and prints rows per second with the ratio to the server-side copy:
//   bench_legacycopy [rows]        (starts its own server unless QUORVEL_TEST_SERVERS is set)
#include "db/databasemanager.h"
#include "db/legacytext.h"
#include "testservers.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QSqlError>
#include <QSqlQuery>
#include <QTextStream>

#include <functional>

namespace {
const int kBatch = 500;

bool exec(QSqlQuery &query, const QString &sql)
{
    if (query.exec(sql))
        return true;
    QTextStream(stderr) << sql.left(120) << ": " << query.lastError().text() << '\n';
    return false;
}

bool copyThroughHex(QSqlDatabase &db)
{
    QSqlQuery read(db);
    read.setForwardOnly(true);
    if (!exec(read, QStringLiteral("SELECT id, HEX(name) FROM src")))
        return false;
    QSqlQuery write(db);
    QStringList rows;
    auto flush = [&]() {
        const bool ok = rows.isEmpty() || exec(write, QStringLiteral("INSERT INTO dst VALUES ") + rows.join(QLatin1Char(',')));
        rows.clear();
        return ok;
    };
    while (read.next()) {
        rows.append(QStringLiteral("(%1,%2)").arg(read.value(0).toInt()).arg(unhexExpression(bytesFromHexValue(read.value(1)))));
        if (rows.size() == kBatch && !flush())
            return false;
    }
    return flush();
}

bool copyThroughBinary(QSqlDatabase &db)
{
    QSqlQuery read(db);
    read.setForwardOnly(true);
    if (!exec(read, QStringLiteral("SELECT id, CAST(name AS BINARY) FROM src")))
        return false;
    QList<std::pair<int, QByteArray>> rows;
    QSqlQuery write(db);
    auto flush = [&]() {
        if (rows.isEmpty())
            return true;
        QStringList marks(rows.size(), QStringLiteral("(?,?)"));
        write.prepare(QStringLiteral("INSERT INTO dst VALUES ") + marks.join(QLatin1Char(',')));
        for (const auto &[id, name] : std::as_const(rows)) {
            write.addBindValue(id);
            write.addBindValue(name);
        }
        rows.clear();
        if (write.exec())
            return true;
        QTextStream(stderr) << write.lastError().text() << '\n';
        return false;
    };
    while (read.next()) {
        rows.append({read.value(0).toInt(), bytesFromBinaryValue(read.value(1))});
        if (rows.size() == kBatch && !flush())
            return false;
    }
    return flush();
}

bool copyOnServer(QSqlDatabase &db)
{
    QSqlQuery query(db);
    return exec(query, QStringLiteral("INSERT INTO dst SELECT id, name FROM src"));
}
} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const int rows = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 50000;
    const TestServer server = TestServers::shared();
    if (!server.isValid())
        return 1;
    QByteArray setup = "DROP DATABASE IF EXISTS bench_legacy; CREATE DATABASE bench_legacy DEFAULT CHARACTER SET latin1;"
                       "USE bench_legacy; CREATE TABLE src (id INT PRIMARY KEY, name VARCHAR(64) CHARACTER SET latin1);"
                       "CREATE TABLE dst LIKE src;";
    const QByteArray gbk = encodeGbk(QStringLiteral("堃喆燊昇剑心"));
    for (int i = 0; i < rows; i += 1000) {
        setup += "INSERT INTO src VALUES ";
        for (int k = i; k < qMin(rows, i + 1000); ++k)
            setup += (k > i ? ",(" : "(") + QByteArray::number(k) + ",X'" + gbk.toHex() + QByteArray::number(k).toHex() + "')";
        setup += ";";
    }
    if (!TestServers::runSql(server, setup))
        return 1;
    DatabaseManager *manager = DatabaseManager::instance();
    if (!manager->connectToDatabase(server.hostConfig(QStringLiteral("bench_legacy"))))
        return 1;
    QSqlDatabase &db = manager->database();

    const QList<std::pair<const char *, std::function<bool(QSqlDatabase &)>>> ways = {
        {"server-side INSERT ... SELECT (baseline)", copyOnServer},
        {"HEX read, UNHEX literal write", copyThroughHex},
        {"binary cast read, bound QByteArray write", copyThroughBinary},
    };
    QTextStream out(stdout);
    out << "rows: " << rows << '\n';
    double baseline = 0;
    for (const auto &[name, copy] : ways) {
        QSqlQuery(db).exec(QStringLiteral("TRUNCATE dst"));
        QElapsedTimer timer;
        timer.start();
        if (!copy(db))
            return 1;
        const double seconds = qMax<qint64>(1, timer.elapsed()) / 1000.0;
        QSqlQuery check(db);
        check.exec(QStringLiteral("SELECT COUNT(*) FROM src s JOIN dst d ON d.id = s.id AND CAST(d.name AS BINARY) = CAST(s.name AS BINARY)"));
        check.next();
        const double perSecond = rows / seconds;
        if (baseline == 0)
            baseline = perSecond;
        out << qSetFieldWidth(44) << Qt::left << name << qSetFieldWidth(0) << qSetRealNumberPrecision(0) << Qt::fixed
            << perSecond << " rows/s  ratio " << qSetRealNumberPrecision(2) << perSecond / baseline
            << (check.value(0).toInt() == rows ? "  (all bytes equal)" : "  (BYTES DIFFER)") << '\n';
    }
    manager->disconnectFromDatabase();
    TestServers::runSql(server, "DROP DATABASE bench_legacy;");
    return 0;
}
