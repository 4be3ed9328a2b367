#pragma once

#include <QString>
#include <QStringList>

// The fixed catalogue of the tables that hold rows owned by a character (each has a charguid
// column). t_char itself is in none of the lists: every user handles it on its own.

// The 25 character-owned tables in the order deletion walks them.
extern const QStringList characterDeleteTables;

// The same 25 tables in the order the merges walk them (positions 10 and 11 swapped).
extern const QStringList mergeCharacterTables;

// The 19 tables a character's copy copies by charguid, in order; its items and pets (whose ids
// are renumbered) are copied apart, its relations and t_crc32 not at all.
extern const QStringList copiedCharacterTables;

// Tables whose rows carry a `world` column that follows the owner's world id.
extern const QStringList worldColumnTables;

// A table in which a character may own duplicated entries, and how to rebuild them.
struct DuplicateRepairTable
{
    QString tableName;
    QString keyColumns;    // one column, or several joined by ", "
    QString extraColumns;  // payload columns joined by ", "
    QString displayName;
    bool compositeKey = false;
};

extern const QList<DuplicateRepairTable> duplicateRepairSpecs;
