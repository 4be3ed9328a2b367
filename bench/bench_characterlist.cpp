// Queries and shows the characters of five worlds in the character list, against the bare
// query read into memory as the baseline:
//   bench_characterlist [characters per world]   (default 20000; uses QUORVEL_TEST_SERVERS or its own server)
#include "db/databasemanager.h"
#include "testservers.h"
#include "ui/characters/characterlistdialog.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlQuery>
#include <QTableView>
#include <QTextStream>

namespace {
const QString kDb = QStringLiteral("bench_list");

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
    timer.restart();
    dialog.onQueryCharacters();  // the whole slot: query, fill, sort by level and paint
    app.processEvents();
    const qint64 slotMs = qMax<qint64>(1, timer.elapsed());
    const qint64 fillMs = qMax<qint64>(1, slotMs - queryMs);

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
    TestServers::runSql(server, QStringLiteral("DROP DATABASE %1; DROP DATABASE %1_web;").arg(kDb).toUtf8());
    return 0;
}
