#pragma once

#include "db/hostconfig.h"
#include "db/operationcontext.h"
#include "rowpreview.h"

#include <QList>
#include <QString>

class QSqlDatabase;

// One change of one character as the character list's menu and `quorvel-cli character` run it:
// the request the operator made, the preview the confirmation shows, and the run in one
// undoable transaction.
namespace CharacterOperation {

enum class Kind { Copy, Transfer, Delete, Repair };

struct Request
{
    Kind kind = Kind::Delete;
    int charguid = 0;
    QString account;  // copy: the account that receives it, which must exist
    HostConfig accounts;  // copy: the host entry whose account database (and server) holds that account
    QString newName;  // copy: the copy's name; preview() draws a free one when empty; the run refuses it when taken
    int world = 0;    // transfer: the world it moves to
    bool writeUndo = true;
};

struct Preview
{
    Message refusal;      // why it cannot run (a world the game does not know); nothing else is set
    Message nothingToDo;  // why running it would change nothing (the character is in that world already)
    QList<RowPreview::Count> rows;
};

struct Result
{
    bool ok = false;
    bool cancelled = false;
    Message failure;   // the operator's text when !ok
    QString undoFile;  // the committed change's undo file, when one was written
    int newGuid = 0;   // copy
    QString newName;   // copy: the name it got (drawn again when taken meanwhile)
    int removed = 0;   // repair: duplicated rows removed
};

// Counts, on the server, what the request will change; draws the copy's name when it has none.
// Refuses a copy into an account its account database does not hold, or under a name taken.
Preview preview(QSqlDatabase &db, Request *request);
Result run(QSqlDatabase &db, const Request &request, const OperationContext &context);

} // namespace CharacterOperation
