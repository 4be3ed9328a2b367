#pragma once

#include "base/message.h"
#include "db/operationcontext.h"

#include <QList>
#include <QSqlDatabase>
#include <QString>

class UndoFile;

// Moving a character to another world of the same database: its t_char row and the world
// column of its rows in the item tables. The character keeps its id and every counter stays.
namespace CharacterTransfer {

// Whether a character may move to `worldId`: a world the game knows by its counter in t_var
// (or, without t_var, a world that has characters). False with the reason in *error.
bool checkTargetWorld(QSqlDatabase &db, int worldId, Message *error);
// Whether every world of `worldIds` is one the game knows (its counter in t_var) or that
// has characters: a world with neither is a mistyped number. False with the reason in
// *error, in the words of checkTargetWorld.
bool checkExistingWorlds(QSqlDatabase &db, const QList<int> &worldIds, Message *error);

// The move inside the caller's transaction on `db` (any connection), first writing the old
// worlds into `undo` when given; each table's outcome is a line on the context. Refuses a world
// the game does not know. False with the reason in *error; the caller rolls back.
bool moveToWorld(QSqlDatabase &db, UndoFile *undo, int charguid, int worldId, const OperationContext &context, Message *error);

// The move in a transaction of its own, with an undo file unless `writeUndo` is off (*undoPath
// names it). False with the text for the operator in *error (everything rolled back).
bool transfer(QSqlDatabase &db, int charguid, int worldId, bool writeUndo, const OperationContext &context, QString *undoPath,
              Message *error);

} // namespace CharacterTransfer
