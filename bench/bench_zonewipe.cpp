// Wipes the zones of a database holding three, one per round, as the window does (the session's
// operation on a worker with its own connection), and compares with the same deletion done on
// an identical copy server-side (one multi-table DELETE per table against a temporary id
// table), which is the practical limit. A third copy is wiped with the undo file written first,
// against the wipe alone:
//   bench_zonewipe [characters per zone]     (default 20000; uses QUORVEL_TEST_SERVERS or its own server)
#include "db/databasemanager.h"
#include "db/sessiontask.h"
#include "engine/charactertables.h"
#include "engine/zonewipe.h"
#include "testservers.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QEventLoop>
#include <QMap>
#include <QSqlError>
#include <QSqlQuery>
#include <QTextStream>

#include <algorithm>

namespace {
qint64 totalRows(const TestServer &server, const QString &database)
{
    QStringList parts;
    for (const QString &table : characterDeleteTables + QStringList{QStringLiteral("t_char")})
        parts.append(QStringLiteral("(SELECT COUNT(*) FROM %1)").arg(table));
    return TestServers::querySql(server, QStringLiteral("SELECT ") + parts.join(QStringLiteral(" + ")), database).toLongLong();
}

bool serverSideWipe(QSqlDatabase &db, int world)
{
    QSqlQuery query(db);
    QStringList statements = {
        QStringLiteral("CREATE TEMPORARY TABLE doomed (charguid INT PRIMARY KEY) "
                       "SELECT charguid FROM t_char WHERE zoneworldid = %1").arg(world)};
    for (const QString &table : characterDeleteTables)
        statements.append(QStringLiteral("DELETE t FROM %1 t JOIN doomed d ON t.charguid = d.charguid").arg(table));
    statements.append(QStringLiteral("DELETE t FROM t_relation t JOIN doomed d ON t.fguid = d.charguid"));
    statements.append(QStringLiteral("DELETE t FROM t_char t JOIN doomed d ON t.charguid = d.charguid"));
    if (!db.transaction())
        return false;
    for (const QString &sql : std::as_const(statements)) {
        if (!query.exec(sql)) {
            QTextStream(stderr) << sql << ": " << query.lastError().text() << '\n';
            db.rollback();
            return false;
        }
    }
    return db.commit();
}
} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const int perZone = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 20000;
    const TestServer server = TestServers::shared();
    if (!server.isValid())
        return 1;
    QTextStream out(stdout);
    const QStringList copies = {QStringLiteral("bench_wipe_engine"), QStringLiteral("bench_wipe_baseline"), QStringLiteral("bench_wipe_undo")};
    for (const QString &name : copies) {
        SampleOptions options;
        options.characterDatabase = name;
        options.accountDatabases = {name + QStringLiteral("_web")};
        options.worldIds = {1, 2, 3};
        options.charactersPerWorld = perZone;
        out << "loading " << name << " (3 zones of " << perZone << " characters)..." << Qt::endl;
        if (!TestServers::loadSample(server, options))
            return 1;
    }

    // Each round wipes the next zone on both copies. The order alternates, since the second
    // run of a round pays for the first one's page flushing; the median ratio is the result.
    DatabaseManager *manager = DatabaseManager::instance();
    QList<double> ratios;
    QList<double> undoRatios;
    for (int round = 0; round < 3; ++round) {
        const int world = round + 1;
        QStringList order = copies;
        std::rotate(order.begin(), order.begin() + round, order.end());
        QMap<QString, double> secondsOf;
        QMap<QString, double> perSecondOf;
        for (const QString &name : std::as_const(order)) {
            if (!manager->connectToDatabase(server.hostConfig(name)))
                return 1;
            const qint64 before = totalRows(server, name);
            QString undoPath;
            QElapsedTimer timer;
            timer.start();
            bool ok = false;
            if (name == copies.at(1)) {
                ok = serverSideWipe(manager->database(), world);
            } else {
                Message refusal;
                const bool undo = name == copies.at(2);
                SessionTask *task = SessionTask::start(QStringLiteral("区服删档"), [world, undo, &undoPath](QSqlDatabase &db, SessionTask &) {
                    const ZoneWipe::Result result = ZoneWipe::run(db, {{world}, {}, {}, {}, undo}, {});
                    undoPath = result.undoPath;
                    return result.ok;
                }, &app, &refusal);
                if (!task)
                    return 1;
                QEventLoop loop;
                QObject::connect(task, &SessionTask::finished, &loop, [&](bool success) {
                    ok = success;
                    loop.quit();
                });
                loop.exec();
                delete task;
            }
            const double seconds = qMax<qint64>(1, timer.elapsed()) / 1000.0;
            manager->disconnectFromDatabase();
            if (!ok)
                return 1;
            const qint64 deleted = before - totalRows(server, name);
            perSecondOf.insert(name, deleted / seconds);
            secondsOf.insert(name, seconds);
            const char *labels[] = {"zone wipe on its worker", "server-side multi-table DELETE (baseline)", "zone wipe with its undo file"};
            out << "round " << round + 1 << "  " << qSetFieldWidth(44) << Qt::left << labels[copies.indexOf(name)]
                << qSetFieldWidth(0) << deleted << " rows in " << qSetRealNumberPrecision(2) << Qt::fixed << seconds
                << " s  " << qSetRealNumberPrecision(0) << deleted / seconds << " rows/s";
            if (!undoPath.isEmpty()) {
                out << "  undo file " << qSetRealNumberPrecision(1) << QFileInfo(undoPath).size() / 1048576.0 << " MB";
                QFile::remove(undoPath);
            }
            out << Qt::endl;
        }
        const double ratio = perSecondOf.value(copies.at(0)) / perSecondOf.value(copies.at(1));
        ratios.append(ratio);
        undoRatios.append(secondsOf.value(copies.at(2)) / secondsOf.value(copies.at(0)));
        out << "round " << round + 1 << "  ratio " << qSetRealNumberPrecision(2) << ratio << "  with undo file / without "
            << undoRatios.last() << "  (first: " << order.constFirst() << ")" << Qt::endl;
    }
    std::sort(ratios.begin(), ratios.end());
    std::sort(undoRatios.begin(), undoRatios.end());
    out << "median ratio (engine / baseline): " << qSetRealNumberPrecision(2) << ratios.at(ratios.size() / 2) << Qt::endl;
    out << "median time with the undo file / without: " << qSetRealNumberPrecision(2) << undoRatios.at(undoRatios.size() / 2) << Qt::endl;
    for (const QString &name : copies)
        TestServers::runSql(server, QStringLiteral("DROP DATABASE %1; DROP DATABASE %1_web;").arg(name).toUtf8());
    return 0;
}
