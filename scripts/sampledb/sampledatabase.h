#pragma once

#include <QList>
#include <QString>

class QIODevice;

// Generates a game database as an SQL script: the schema of a character database and of
// account databases, and deterministic (seeded) characters with realistic rows.
struct SampleOptions
{
    QString characterDatabase = QStringLiteral("vexadb_main");
    QStringList accountDatabases = {QStringLiteral("web"), QStringLiteral("web2")};
    QList<int> worldIds = {1, 2, 10};
    int charactersPerWorld = 200;
    QList<int> worldSizes;  // characters of each world, in worldIds order; overrides the above
    // Each world takes its character ids from a range of its own, as the game hands them out:
    // the first world from firstCharGuid, the others rangeSize apart, the last two swapped so
    // that the ranges are not in world order. A world's counter in t_var ends on its last id.
    int firstCharGuid = 1;
    int rangeSize = 1000000;
    bool rowIdVarTable = false;  // t_var keyed by a row id with a unique worldid, as older tools made it
    quint64 seed = 20261206;
    bool schemaOnly = false;
    bool dropExisting = true;
};

// DDL of the character database (t_char, t_var and the character-owned tables), and the
// game's character creation procedure create_char(world, OUT id).
QString characterSchemaSql(bool rowIdVarTable = false);

// The first character id of each world, in the order of options.worldIds.
QList<int> worldRangeStarts(const SampleOptions &options);

// DDL of one account database's account table.
QString accountSchemaSql();

// Writes the whole script; returns the number of characters written.
qint64 writeSampleDatabase(QIODevice *out, const SampleOptions &options);
