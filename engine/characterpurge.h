#pragma once

#include "base/message.h"
#include "db/operationcontext.h"

#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>

class QSqlDatabase;
class UndoFile;

// Deleting characters with every row they own: their rows in each table of a catalogue list,
// the relations that point at them, then their t_char rows, by bound ids (one slice) or a
// temporary id table (more), on the caller's connection and inside the caller's transaction. The zone wipe, both merges'
// clean-ups and the single delete all delete this way, each in its own words.
namespace CharacterPurge {

const int kSliceSize = 500;

enum class Step { Table, ReverseRelations, Characters };

struct Outcome
{
    qint64 rows = 0;        // all rows of all steps
    qint64 characters = 0;  // t_char rows
    Step failedStep = Step::Table;
    QString failedTable;    // empty when the tables could not be listed
    Message error;          // empty when nothing failed
    bool cancelled = false;
};

// The temporary table of ids that a deletion of more than one slice joins against. Created on
// its connection before the caller's transaction begins, and dropped when the object goes,
// after it: servers that enforce GTID consistency refuse CREATE and DROP TEMPORARY TABLE inside
// a transaction. Declare it before the transaction's own object; one per deletion.
class IdTable
{
public:
    explicit IdTable(QSqlDatabase db);
    ~IdTable();
    IdTable(const IdTable &) = delete;
    IdTable &operator=(const IdTable &) = delete;
    bool create(Message *error);

private:
    QSqlDatabase m_db;
    bool m_created = false;
};

// False when a statement fails (failedStep, failedTable and error say which) or the context's
// cancel is set (polled before every statement); the caller then rolls back. Tables missing here
// are skipped, t_char is not. Every row goes to `undo` before it is deleted, when given. Each
// step is reported to the context as progress (its table, its number from 1 of the steps)
// before it runs and as a log line of its rows or of the missing table after. More than one
// slice of ids needs an IdTable created before the transaction.
bool deleteCharacters(QSqlDatabase &db, const QList<int> &ids, const QStringList &tables, UndoFile *undo,
                      const OperationContext &context, Outcome *outcome);

// The characters of `worlds`, read and locked inside the caller's transaction, so that they
// stay the worlds' characters until it ends: through the zoneworldid index where t_char has one
// (locking those worlds' entries, not the rest of the table), else by id after a plain read
// (the rows of those ids that are still in the worlds then). False with *error.
bool lockWorldCharacters(QSqlDatabase &db, const QList<int> &worlds, QList<int> *ids, Message *error);

// Which of `tables` exist in the connection's database (names as given, same order); false
// with *error set when that cannot be read.
bool existingTables(QSqlDatabase &db, const QStringList &tables, QStringList *existing, Message *error);

} // namespace CharacterPurge
