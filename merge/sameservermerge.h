#pragma once

#include "db/hostconfig.h"
#include "db/operationcontext.h"

#include <QString>
#include <QStringList>

#include <atomic>
#include <functional>

// What the operator chose for one same-server merge; written before the run, only read by it.
struct SameServerMergeParameters
{
    int sourceWorldId = 0;
    int targetWorldId = 0;
    bool cleanLowLevel = false;
    int levelThreshold = 10;
    bool independentAccounts = false;
    QString targetAccountDatabase;
    QString sourceAccountDatabase;
    QString conflictSuffix;
    bool writeUndo = true;  // an undo file in backups/undo, written inside the transaction
};

// Whether a database name may be written into a statement: letters, digits, "_" and "$".
bool isPlainDatabaseName(const QString &name);

// The charguids of the characters the clean-up deletes, as a statement: both worlds, this
// level and below. The engine, the dialog's preview and the command line's rehearsal all count
// and delete with it.
QString sameServerLowLevelCharacters(const SameServerMergeParameters &parameters);

class QSqlDatabase;

namespace SameServerMerge {

using Request = SameServerMergeParameters;

// What stops the merge before it starts (the same world twice, a bad account database name,
// the same account database twice, an empty suffix, a level outside 1 to 150); empty when none.
Message refusal(const Request &request);

// What the merge will change, counted on the server on `db` (the character database): the
// rows of the characters the clean-up deletes, the characters that move, the item rows whose
// world changes and the accounts imported.
struct Preview
{
    Message refusal;       // as refusal(): nothing was counted, the merge must not start
    Message liveGame;      // the game seems to be running (also among the lines)
    QList<Message> lines;  // what the confirmation and the rehearsal show, the warnings first
};
Preview preview(QSqlDatabase &db, const Request &request);

struct Result
{
    bool ok = false;         // everything was committed
    bool cancelled = false;  // the operator stopped it: nothing changed
    QString undoPath;        // the undo file of a merge that was committed
};

// Merges the world sourceWorldId of the character database into targetWorldId, in one transaction
// that is committed at the end or rolled back whole: optionally deletes the low-level
// characters of both worlds, optionally imports the sub world's accounts into the main
// account database (clashing names get the suffix) and repoints their characters, moves the
// characters and follows with the item tables' world fields. Characters keep their ids, so
// every world's id counter stays as it is.
// Runs on a connection of its own to `host`, opened and removed on the calling thread.
// Its progress runs from 0 to 100 of one stage, never decreasing; its cancel is polled between
// steps, slices and accounts.
Result run(const HostConfig &host, const Request &request, const OperationContext &context);

} // namespace SameServerMerge
