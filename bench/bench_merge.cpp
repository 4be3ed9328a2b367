// Merges a zone of one server into a zone of the same size on another (two servers when
// QUORVEL_TEST_SERVERS names two, else two databases of one), per stage, and compares with
// the same rows copied server-side by INSERT ... SELECT between two databases of one server,
// which is the practical limit:
//   bench_merge [characters per zone]     (default 20000)
#include "engine/charactertables.h"
#include "merge/mergeengine.h"
#include "testservers.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTextStream>
#include <QThread>

namespace {
const QString kMain = QStringLiteral("bench_merge_main");
const QString kBase = QStringLiteral("bench_merge_base");
const QString kSub = QStringLiteral("bench_merge_sub");

qint64 zoneRows(const TestServer &server, const QString &database)
{
    QStringList parts;
    for (const QString &table : mergeCharacterTables + QStringList{QStringLiteral("t_char")})
        parts.append(QStringLiteral("(SELECT COUNT(*) FROM %1)").arg(table));
    return TestServers::querySql(server, QStringLiteral("SELECT ") + parts.join(QStringLiteral(" + ")), database).toLongLong();
}

// Every column but the auto-increment row id, in table order.
QString copiedColumns(QSqlQuery &query, const QString &table)
{
    query.prepare(QStringLiteral("SELECT GROUP_CONCAT(COLUMN_NAME ORDER BY ORDINAL_POSITION) FROM information_schema.COLUMNS "
                                 "WHERE TABLE_SCHEMA = ? AND TABLE_NAME = ? AND EXTRA NOT LIKE '%auto_increment%'"));
    query.addBindValue(kSub);
    query.addBindValue(table);
    return query.exec() && query.next() ? query.value(0).toString() : QString();
}

bool serverSideCopy(const TestServer &server, int world)
{
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QMYSQL"), QStringLiteral("bench_baseline"));
    db.setHostName(QStringLiteral("127.0.0.1"));
    db.setPort(server.port);
    db.setUserName(QStringLiteral("root"));
    db.setPassword(server.password);
    if (!db.open())
        return false;
    QSqlQuery query(db);
    bool ok = db.transaction();
    for (const QString &table : mergeCharacterTables + QStringList{QStringLiteral("t_char")}) {
        if (!ok)
            break;
        const QString columns = copiedColumns(query, table);
        QString select = columns;
        if (table == QLatin1String("t_char"))  // the two zones may share names: rename every one, as a merge renames clashes
            select.replace(QStringLiteral("charname"), QStringLiteral("CONCAT(charname, '_S2')"));
        QString sql = QStringLiteral("INSERT INTO %1.%2 (%3) SELECT %4 FROM %5.%2 t").arg(kBase, table, columns, select, kSub);
        if (table == QLatin1String("t_char"))
            sql += QStringLiteral(" WHERE t.zoneworldid = %1 AND t.isvalid = 1").arg(world);
        else
            sql += QStringLiteral(" WHERE t.charguid IN (SELECT charguid FROM %1.t_char WHERE zoneworldid = %2 AND isvalid = 1)").arg(kSub).arg(world);
        ok = !columns.isEmpty() && query.exec(sql);
        if (!ok)
            QTextStream(stderr) << table << ": " << query.lastError().text() << '\n';
    }
    ok = ok ? db.commit() : (db.rollback(), false);
    db.close();
    return ok;
}

// Waits until the server has written its dirty pages, so that neither run pays for the
// writes of what came before it (the loading, or the other run).
void settle(const TestServer &server)
{
    const QString old = TestServers::querySql(server, QStringLiteral("SELECT @@GLOBAL.innodb_max_dirty_pages_pct")).trimmed();
    TestServers::runSql(server, "SET GLOBAL innodb_max_dirty_pages_pct = 0;");
    for (int i = 0; i < 120; ++i) {
        if (TestServers::querySql(server, QStringLiteral("SELECT VARIABLE_VALUE FROM information_schema.GLOBAL_STATUS "
                                                         "WHERE VARIABLE_NAME = 'INNODB_BUFFER_POOL_PAGES_DIRTY'")).trimmed().toInt() == 0)
            break;
        QThread::msleep(500);
    }
    TestServers::runSql(server, QStringLiteral("SET GLOBAL innodb_max_dirty_pages_pct = %1;").arg(old).toUtf8());
}

void printRow(QTextStream &out, const QString &what, qint64 rows, double seconds, double baseline)
{
    const double perSecond = rows / qMax(0.001, seconds);
    out << qSetFieldWidth(44) << Qt::left << what << qSetFieldWidth(0) << rows << " rows in "
        << qSetRealNumberPrecision(2) << Qt::fixed << seconds << " s  " << qSetRealNumberPrecision(0) << perSecond
        << " rows/s";
    if (baseline > 0)
        out << "  ratio " << qSetRealNumberPrecision(2) << perSecond / baseline;
    out << Qt::endl;
}
} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const int perZone = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 20000;
    const TestServer target = TestServers::shared(0);
    const TestServer source = qEnvironmentVariable("QUORVEL_TEST_SERVERS").contains(QLatin1Char(',')) ? TestServers::shared(1) : target;
    if (!target.isValid() || !source.isValid())
        return 1;
    QTextStream out(stdout);
    auto load = [&](const TestServer &server, const QString &name, int world, int firstGuid, quint64 seed) {
        SampleOptions options;
        options.characterDatabase = name;
        options.accountDatabases = {name + QStringLiteral("_web")};
        options.worldIds = {world};
        options.charactersPerWorld = perZone;
        options.firstCharGuid = firstGuid;
        options.seed = seed;
        out << "loading " << name << " (" << perZone << " characters)..." << Qt::endl;
        return TestServers::loadSample(server, options);
    };
    // Different worlds and disjoint ids: both copies carry the same rows (the merge gives the
    // source characters world 1's next ids, since their own lie above its counter).
    if (!load(target, kMain, 1, 1, 1) || !load(target, kBase, 1, 1, 1) || !load(target, kSub, 2, 10000000, 2))
        return 1;
    if (source.port != target.port && !load(source, kSub, 2, 10000000, 2))
        return 1;

    const qint64 baseBefore = zoneRows(target, kBase);
    settle(target);
    settle(source);
    QElapsedTimer timer;
    timer.start();
    if (!serverSideCopy(target, 2))
        return 1;
    const double baseSeconds = timer.elapsed() / 1000.0;
    const qint64 baseRows = zoneRows(target, kBase) - baseBefore;
    const double baseline = baseRows / qMax(0.001, baseSeconds);
    printRow(out, QStringLiteral("server-side INSERT ... SELECT (baseline)"), baseRows, baseSeconds, baseline);

    MergeSettings settings;
    settings.target = {QStringLiteral("127.0.0.1"), target.port, QStringLiteral("root"), target.password, kMain, kMain + QStringLiteral("_web")};
    settings.source = {QStringLiteral("127.0.0.1"), source.port, QStringLiteral("root"), source.password, kSub, kSub + QStringLiteral("_web")};
    settings.targetWorldId = 1;
    settings.sourceWorldId = 2;
    settings.mergeWeb = false;

    // The operator's path plans first (the preview), then runs the confirmed plan.
    settle(target);
    timer.restart();
    const MergePreflight preflight = CrossServerMerge::preview(settings, OperationContext());
    if (!preflight.ok)
        return 1;
    const double preflightSeconds = timer.elapsed() / 1000.0;
    settings.confirmedPlan = preflight.plan;

    // Seconds per stage as the progress reports them, the related tables together.
    QMap<QString, double> stageSeconds;
    QStringList stageOrder;
    QString stage;
    QElapsedTimer stageTimer;
    const qint64 before = zoneRows(target, kMain);
    settle(target);
    timer.restart();
    stageTimer.start();
    OperationContext context;
    context.onProgress = [&](const QString &name, qint64, qint64) {
        const QString now = name.startsWith(QLatin1String("t_")) ? QStringLiteral("related tables") : name;
        if (now != stage) {
            stageSeconds[stage] += stageTimer.restart() / 1000.0;
            stage = now;
            if (!stageOrder.contains(now))
                stageOrder.append(now);
        }
    };
    const MergeReport report = CrossServerMerge::run(settings, context);
    const bool ok = report.ok;
    stageSeconds[stage] += stageTimer.restart() / 1000.0;
    const double seconds = timer.elapsed() / 1000.0;
    if (!ok)
        return 1;
    const qint64 rows = zoneRows(target, kMain) - before;
    // Relations to a character that was not merged (a deleted one) are dropped on purpose.
    if (rows + report.relationsDropped != baseRows)
        out << "warning: the merge carried " << rows << " rows, the baseline " << baseRows << Qt::endl;
    if (report.relationsDropped > 0)
        out << "  relations to unmerged characters dropped: " << report.relationsDropped << Qt::endl;
    for (const Message &line : report.lossLines())
        out << "  " << line << Qt::endl;
    printRow(out, QStringLiteral("CrossServerMerge::run, whole run"), rows, seconds, baseline);
    printRow(out, QStringLiteral("preview, then the run"), rows, preflightSeconds + seconds, baseline);
    out << "  preview: " << qSetRealNumberPrecision(2) << preflightSeconds << " s" << Qt::endl;
    for (const QString &name : std::as_const(stageOrder)) {
        if (stageSeconds.value(name) >= 0.01)
            out << "  " << name << ": " << qSetRealNumberPrecision(2) << stageSeconds.value(name) << " s" << Qt::endl;
    }

    for (const QString &name : {kMain, kBase, kSub})
        TestServers::runSql(target, QStringLiteral("DROP DATABASE IF EXISTS %1; DROP DATABASE IF EXISTS %1_web;").arg(name).toUtf8());
    if (source.port != target.port)
        TestServers::runSql(source, QStringLiteral("DROP DATABASE %1; DROP DATABASE %1_web;").arg(kSub).toUtf8());
    return 0;
}
