// Writes a sample game database as an SQL script, to pipe into the mysql client:
//   quorvel-sampledb [--worlds 1,2,10] [--per-world 200] [--first-guid 1] [--seed N]
//                    [--database vexadb_main] [--web web,web2] [--schema-only] [--out FILE]
#include "sampledatabase.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>
#include <QTextStream>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.addHelpOption();
    const QCommandLineOption worlds(QStringLiteral("worlds"), QStringLiteral("World ids."), QStringLiteral("list"), QStringLiteral("1,2,10"));
    const QCommandLineOption perWorld(QStringLiteral("per-world"), QStringLiteral("Characters per world."), QStringLiteral("n"), QStringLiteral("200"));
    const QCommandLineOption firstGuid(QStringLiteral("first-guid"), QStringLiteral("First charguid."), QStringLiteral("n"), QStringLiteral("1"));
    const QCommandLineOption seed(QStringLiteral("seed"), QStringLiteral("Random seed."), QStringLiteral("n"), QStringLiteral("20261206"));
    const QCommandLineOption database(QStringLiteral("database"), QStringLiteral("Character database."), QStringLiteral("name"), QStringLiteral("vexadb_main"));
    const QCommandLineOption web(QStringLiteral("web"), QStringLiteral("Account databases."), QStringLiteral("list"), QStringLiteral("web,web2"));
    const QCommandLineOption schemaOnly(QStringLiteral("schema-only"), QStringLiteral("Tables only."));
    const QCommandLineOption out(QStringLiteral("out"), QStringLiteral("Output file (default: standard output)."), QStringLiteral("file"));
    parser.addOptions({worlds, perWorld, firstGuid, seed, database, web, schemaOnly, out});
    parser.process(app);

    SampleOptions options;
    options.worldIds.clear();
    for (const QString &w : parser.value(worlds).split(QLatin1Char(','), Qt::SkipEmptyParts))
        options.worldIds.append(w.toInt());
    options.charactersPerWorld = parser.value(perWorld).toInt();
    options.firstCharGuid = parser.value(firstGuid).toInt();
    options.seed = parser.value(seed).toULongLong();
    options.characterDatabase = parser.value(database);
    options.accountDatabases = parser.value(web).split(QLatin1Char(','), Qt::SkipEmptyParts);
    options.schemaOnly = parser.isSet(schemaOnly);

    QFile file;
    const bool toFile = parser.isSet(out);
    if (toFile)
        file.setFileName(parser.value(out));
    if (!(toFile ? file.open(QIODevice::WriteOnly | QIODevice::Truncate)
                 : file.open(stdout, QIODevice::WriteOnly))) {
        QTextStream(stderr) << "cannot write output\n";
        return 1;
    }
    writeSampleDatabase(&file, options);
    return 0;
}
