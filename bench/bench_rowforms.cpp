// How fast one server takes the same rows in the three forms a copy between servers could
// send them, against the server copying them itself (INSERT ... SELECT, the limit):
//   - multi-row INSERTs of literals, as the merges' RowCopier writes them (read, written and
//     sent on one connection, no reader thread);
//   - the same statements, built beforehand: what the server alone spends on them;
//   - prepared multi-row INSERTs with every value bound (the binary protocol);
//   - files the server loads (LOAD DATA LOCAL INFILE), as the copier writes them.
// Each round runs in a transaction that is rolled back. The largest related tables are used:
//   bench_rowforms [characters]     (default 20000; uses QUORVEL_TEST_SERVERS or its own server)
#include "db/sqlcolumns.h"
#include "merge/rowcopier.h"
#include "testservers.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTextStream>

#include <algorithm>

namespace {
const QString kDatabase = QStringLiteral("bench_rowforms");
const QString kScratch = QStringLiteral("bench_rowforms_target");

struct Rows
{
    QList<Sql::Column> columns;  // without the auto-increment id
    QList<QVariantList> values;  // read as the copies read them
    QString names;
};

bool readRows(QSqlDatabase &db, const QString &table, Rows *rows)
{
    QSqlError error;
    QStringList reads;
    QStringList names;
    for (const Sql::Column &column : Sql::readColumns(db, table, &error)) {
        if (column.autoIncrement || column.generated)
            continue;
        rows->columns.append(column);
        reads.append(Sql::readExpression(column));
        names.append(Sql::quoted(column.name));
    }
    rows->names = names.join(QLatin1Char(','));
    QSqlQuery query(db);
    query.setForwardOnly(true);
    if (!query.exec(QStringLiteral("SELECT %1 FROM %2").arg(reads.join(QLatin1Char(',')), table)))
        return false;
    while (query.next()) {
        QVariantList row;
        for (int i = 0; i < rows->columns.size(); ++i)
            row.append(query.value(i));
        rows->values.append(row);
    }
    return !rows->columns.isEmpty();
}

QList<QByteArray> literalStatements(const Rows &rows)
{
    const QByteArray head = "INSERT INTO " + kScratch.toUtf8() + " (" + rows.names.toUtf8() + ") VALUES ";
    QList<QByteArray> statements;
    QByteArray statement;
    Message error;
    for (const QVariantList &row : rows.values) {
        statement += statement.isEmpty() ? head + '(' : QByteArray(",(");
        for (int i = 0; i < row.size(); ++i) {
            if (i > 0)
                statement += ',';
            Sql::appendLiteral(&statement, rows.columns.at(i).kind, row.at(i), &error);
        }
        statement += ')';
        if (statement.size() >= 512 * 1024)
            statements.append(std::exchange(statement, QByteArray()));
    }
    if (!statement.isEmpty())
        statements.append(statement);
    return statements;
}

bool boundInserts(QSqlDatabase &db, const Rows &rows, Message *error)
{
    const int perStatement = qMax<int>(1, 60000 / int(rows.columns.size()));
    const QString one = QLatin1Char('(') + QStringList(rows.columns.size(), QStringLiteral("?")).join(QLatin1Char(',')) + QLatin1Char(')');
    QSqlQuery insert(db);
    int prepared = -1;
    for (qsizetype start = 0; start < rows.values.size(); start += perStatement) {
        const int size = int(qMin<qsizetype>(perStatement, rows.values.size() - start));
        if (size != prepared
            && !insert.prepare(QStringLiteral("INSERT INTO %1 (%2) VALUES %3").arg(kScratch, rows.names, QStringList(size, one).join(QLatin1Char(','))))) {
            *error = insert.lastError().text();
            return false;
        }
        prepared = size;
        int at = 0;
        for (qsizetype row = start; row < start + size; ++row) {
            for (const QVariant &value : rows.values.at(row))
                insert.bindValue(at++, value);
        }
        if (!insert.exec()) {
            *error = insert.lastError().text();
            return false;
        }
    }
    return true;
}
} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const int characters = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 20000;
    const TestServer server = TestServers::shared();
    if (!server.isValid())
        return 1;
    QTextStream out(stdout);
    SampleOptions options;
    options.characterDatabase = kDatabase;
    options.accountDatabases = {kDatabase + QStringLiteral("_web")};
    options.worldIds = {1};
    options.charactersPerWorld = characters;
    out << "loading " << kDatabase << " (" << characters << " characters)..." << Qt::endl;
    if (!TestServers::loadSample(server, options))
        return 1;
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QMYSQL"), QStringLiteral("bench_rowforms"));
    db.setHostName(server.host);
    db.setPort(server.port);
    db.setUserName(QStringLiteral("root"));
    db.setPassword(server.password);
    db.setDatabaseName(kDatabase);
    if (!db.open())
        return 1;
    QSqlQuery query(db);
    for (const QString &table : {QStringLiteral("t_iteminfo"), QStringLiteral("t_skill"), QStringLiteral("t_char")}) {
        Rows rows;
        if (!readRows(db, table, &rows)
            || !query.exec(QStringLiteral("DROP TABLE IF EXISTS %1").arg(kScratch))
            || !query.exec(QStringLiteral("CREATE TABLE %1 LIKE %2").arg(kScratch, table)))
            return 1;
        const QList<QByteArray> statements = literalStatements(rows);
        const QStringList forms = {QStringLiteral("INSERT ... SELECT (baseline)"), QStringLiteral("literal INSERTs, as copied"),
                                   QStringLiteral("literal INSERTs, server only"), QStringLiteral("bound values"),
                                   QStringLiteral("files loaded, as copied")};
        QList<QList<double>> seconds(forms.size());
        for (int round = 0; round < 3; ++round) {
            for (int form = 0; form < forms.size(); ++form) {
                if (!db.transaction())
                    return 1;
                QElapsedTimer timer;
                timer.start();
                bool ok = true;
                Message error;
                if (form == 0) {
                    ok = query.exec(QStringLiteral("INSERT INTO %1 (%2) SELECT %2 FROM %3").arg(kScratch, rows.names, table));
                } else if (form == 1 || form == 4) {
                    FileLoading loading;
                    RowCopier copier(db, db, kScratch);
                    copier.setColumns(rows.columns, rows.columns, false);
                    copier.setFileLoading(form == 4 ? &loading : nullptr);
                    qint64 copied = 0;
                    ok = copier.copy(QStringLiteral("SELECT %1 FROM %2 t").arg(copier.selectList(QStringLiteral("t")), table), {}, {}, {},
                                     &copied, &error);
                    ok = ok && !loading.refused;
                } else if (form == 2) {
                    for (const QByteArray &statement : statements)
                        ok = ok && query.exec(QString::fromLatin1(statement));
                } else {
                    ok = boundInserts(db, rows, &error);
                }
                seconds[form].append(timer.elapsed() / 1000.0);
                if (!ok) {
                    QTextStream(stderr) << table << ", " << forms.at(form) << ": " << (error.isEmpty() ? query.lastError().text() : error.stored()) << '\n';
                    return 1;
                }
                db.rollback();
            }
        }
        out << table << " (" << rows.values.size() << " rows of " << rows.columns.size() << " columns), median of 3:" << Qt::endl;
        const auto median = [](QList<double> values) {
            std::sort(values.begin(), values.end());
            return values.at(values.size() / 2);
        };
        const double baseline = median(seconds.at(0));
        for (int form = 0; form < forms.size(); ++form) {
            out << "  " << qSetFieldWidth(32) << Qt::left << forms.at(form) << qSetFieldWidth(0) << qSetRealNumberPrecision(3)
                << Qt::fixed << median(seconds.at(form)) << " s  ratio " << qSetRealNumberPrecision(2)
                << baseline / median(seconds.at(form)) << Qt::endl;
        }
    }
    query.exec(QStringLiteral("DROP TABLE IF EXISTS %1").arg(kScratch));
    TestServers::runSql(server, QStringLiteral("DROP DATABASE %1; DROP DATABASE %1_web;").arg(kDatabase).toUtf8());
    return 0;
}
