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
    int subWorldId = 0;
    int mainWorldId = 0;
    bool cleanLowLevel = false;
    int levelThreshold = 10;
    bool independentAccounts = false;
    QString mainAccountDb;
    QString subAccountDb;
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
// What the merge will change, counted on the server on `db` (the character database): the
// rows of the characters the clean-up deletes, the characters that move, the item rows whose
// world changes and the accounts imported. The dialog's confirmation and the command line's
// rehearsal show these lines.
QList<Message> sameServerMergePreview(QSqlDatabase &db, const SameServerMergeParameters &parameters);

// What stops the merge before it starts (the same world twice, a bad account database name,
// the same account database twice, an empty suffix, a level outside 1 to 150); empty when none.
Message sameServerMergeRefusal(const SameServerMergeParameters &parameters);

// Merges the world subWorldId of the character database into mainWorldId, in one transaction
// that is committed at the end or rolled back whole: optionally deletes the low-level
// characters of both worlds, optionally imports the sub world's accounts into the main
// account database (clashing names get the suffix) and repoints their characters, moves the
// characters and follows with the item tables' world fields. Characters keep their ids, so
// every world's id counter stays as it is.
// Runs on a worker thread on a connection of its own to `host`, opened and removed there.
// Its progress runs from 0 to 100 of one stage, never decreasing; its cancel is polled between
// steps, slices and accounts. True when everything was committed.
// *undoPath names the undo file of a merge that was committed.
bool runSameServerMerge(const HostConfig &host, const SameServerMergeParameters &parameters, const OperationContext &context,
                        QString *undoPath = nullptr);
