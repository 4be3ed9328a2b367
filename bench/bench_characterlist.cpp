// Queries and shows the characters of five worlds in the character list, against the bare
// query read into memory as the baseline:
//   bench_characterlist [characters per world]   (default 20000; uses QUORVEL_TEST_SERVERS or its own server)
#include "db/databasemanager.h"
#include "testservers.h"
#include "ui/characters/characterlistdialog.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlQuery>
#include <QTableView>
#include <QTextStream>

namespace {
const QString kDb = QStringLiteral("bench_list");

qint64 residentKiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLongLong();
    }
    return 0;
}

qint64 bareQuery(QSqlDatabase &db, qint64 *rows)
{
    QElapsedTimer timer;
    timer.start();
    QSqlQuery query(db);
    query.setForwardOnly(true);
    query.exec(QStringLiteral("SELECT charguid, HEX(charname) as charname_hex, menpai, level, zoneworldid, yuanbao, "
                              "bdyuanbao, vmoney, bankmoney, sect_point, scene, xpos, zpos FROM t_char "
                              "WHERE zoneworldid IN (1,2,3,4,5) ORDER BY charname"));
    QList<QVariantList> values;
    while (query.next()) {
        QVariantList row;
        for (int i = 0; i < 13; ++i)
            row.append(query.value(i));
        values.append(row);
    }
    *rows = values.size();
    return timer.elapsed();
}
} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int perWorld = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 20000;
    const TestServer server = TestServers::shared();
    if (!server.isValid())
        return 1;
    QTextStream out(stdout);
    SampleOptions options;
    options.characterDatabase = kDb;
    options.accountDatabases = {kDb + QStringLiteral("_web")};
    options.worldIds = {1, 2, 3, 4, 5};
    options.charactersPerWorld = perWorld;
    out << "loading 5 worlds of " << perWorld << " characters..." << Qt::endl;
    if (!TestServers::loadSample(server, options) || !DatabaseManager::instance()->connectToDatabase(server.hostConfig(kDb)))
        return 1;

    qint64 rows = 0;
    bareQuery(DatabaseManager::instance()->database(), &rows);  // warms the server's pages
    const qint64 baseline = qMax<qint64>(1, bareQuery(DatabaseManager::instance()->database(), &rows));

    CharacterListDialog dialog(nullptr);
    dialog.show();
    dialog.findChild<QTableView *>()->sortByColumn(3, Qt::DescendingOrder);
    for (QLineEdit *edit : dialog.findChildren<QLineEdit *>()) {
        if (edit->placeholderText().startsWith(QStringLiteral("输入ID")))
            edit->setText(QStringLiteral("1,2,3,4,5"));
    }
    QElapsedTimer timer;
    timer.start();
    const QList<CharacterSummary> characters = DatabaseManager::instance()->queryCharacters({1, 2, 3, 4, 5});
    const qint64 queryMs = qMax<qint64>(1, timer.elapsed());
    const qint64 listBytes = qint64(characters.size()) * qint64(sizeof(CharacterSummary));
    const qint64 residentBefore = residentKiB();
    timer.restart();
    dialog.onQueryCharacters();  // the whole action: query on the worker, fill, sort by level and paint
    // The window keeps handling events meanwhile: count the longest gap between them.
    qint64 longestGap = 0;
    QElapsedTimer gap;
    gap.start();
    while (DatabaseManager::instance()->isBusy()) {
        app.processEvents(QEventLoop::AllEvents, 5);
        longestGap = qMax(longestGap, gap.restart());
    }
    app.processEvents();
    const qint64 slotMs = qMax<qint64>(1, timer.elapsed());
    const qint64 fillMs = qMax<qint64>(1, slotMs - queryMs);
    const qint64 residentAfter = residentKiB();

    auto row = [&](const char *what, qint64 ms) {
        out << qSetFieldWidth(52) << Qt::left << what << qSetFieldWidth(0) << ms << " ms  "
            << qSetRealNumberPrecision(0) << Qt::fixed << rows * 1000.0 / ms << " rows/s  ratio "
            << qSetRealNumberPrecision(2) << double(baseline) / ms << Qt::endl;
    };
    out << characters.size() << " characters" << Qt::endl;
    row("bare query read into memory (baseline)", baseline);
    row("queryCharacters", queryMs);
    row("table fill and sort (slot time minus query)", fillMs);
    row("query and show, in all", slotMs);
    out << "longest wait for the window's events while loading: " << longestGap << " ms" << Qt::endl;
    out << "memory: the list's records " << (listBytes + characters.size() * 24) / 1024 << " KiB beyond the names; "
        << "resident memory grew by " << (residentAfter - residentBefore) << " KiB while the window loaded them" << Qt::endl;
    TestServers::runSql(server, QStringLiteral("DROP DATABASE %1; DROP DATABASE %1_web;").arg(kDb).toUtf8());
    return 0;
}
