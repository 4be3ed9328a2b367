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
    int firstCharGuid = 1;
    quint64 seed = 20261206;
    bool schemaOnly = false;
    bool dropExisting = true;
};

// DDL of the character database (t_char, t_var and the character-owned tables).
QString characterSchemaSql();

// DDL of one account database's account table.
QString accountSchemaSql();

// Writes the whole script; returns the number of characters written.
qint64 writeSampleDatabase(QIODevice *out, const SampleOptions &options);
