#pragma once

#include "db/operationcontext.h"

#include <QList>
#include <QSqlDatabase>
#include <QStringList>

#include <functional>

class UndoFile;

struct DuplicateRepairTable;
namespace CharacterPurge {
struct Outcome;
}

// Removes characters with every row they own in the character database, on the connection
// it is given (the session's, or a worker's own). It reports to the operation's context, whose
// cancel the zone deletion and the repair poll between statements (a cancel rolls back).
class CharacterDeleter
{
public:
    explicit CharacterDeleter(QSqlDatabase db, const OperationContext &context = {});
    // Every deletion and repair writes an undo file inside its transaction, from the
    // rows it is about to change, unless this is switched off; undoPath() names the file of the
    // last committed one.
    void setWriteUndo(bool write) { m_writeUndo = write; }
    QString undoPath() const { return m_undoPath; }
    // Runs inside the zone deletion's transaction after the characters are gone, before the
    // commit (and the undo file's finish); false with *error rolls everything back.
    using Step = std::function<bool(QSqlDatabase &db, UndoFile *undo, Message *error)>;
    void setBeforeCommit(Step step) { m_beforeCommit = std::move(step); }
    // Runs inside the zone deletion's transaction once the zone's characters are read and
    // locked, before anything is deleted; false with *error rolls back.
    void setAfterLocking(Step step) { m_afterLocking = std::move(step); }

    // The tables a character's rows are deleted from, in deletion order.
    static QStringList relatedTables();

    // The reason the last deletion by worlds or repair failed.
    Message error() const { return m_error; }

    // Deletes every character of the given worlds, their rows in every character-owned
    // table, the relations pointing at them, and their t_char rows, in one transaction. The
    // characters are those of the worlds when the transaction reads and locks them: one that
    // moved away before stays, one that would move away waits. *deleted holds the characters
    // removed (0, and no undo file, when the worlds had none); false when it failed
    // (everything rolled back).
    bool deleteByZoneWorldIds(const QList<int> &worldIds, int *deleted);

    // Removes one character's duplicated entries from the tables of duplicateRepairSpecs and
    // rebuilds its rows of each such table in ascending key order, in one transaction. The
    // rows removed, or -1 when it failed (everything rolled back).
    int repairCharacterDuplicates(int charguid);

    // Deletes one character: its rows in every related table, the relations pointing at it and
    // its t_char row, in one transaction; missing tables are skipped with a log line. False with
    // the reason in *error (everything rolled back).
    bool deleteCharacter(int charguid, Message *error);

private:
    // The operator's text for a deletion that failed.
    static Message purgeFailure(const CharacterPurge::Outcome &outcome);
    bool fail(const Message &message);
    // The repair's transaction, with the survivors held in the given temporary tables; the
    // rows removed, or -1 after reporting the failure.
    int repairIn(const QList<DuplicateRepairTable> &repairs, int charguid, const std::function<QString(int)> &holding);
    // Rows of the character with a duplicated key in the table, or 0 when that cannot be read.
    static int duplicateGroups(QSqlDatabase &db, const DuplicateRepairTable &repair, int charguid);

    QSqlDatabase m_db;
    OperationContext m_context;
    Message m_error;
    bool m_writeUndo = true;
    QString m_undoPath;
    Step m_beforeCommit;
    Step m_afterLocking;
};
