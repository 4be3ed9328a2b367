#pragma once

#include "base/message.h"

#include "db/hostconfig.h"

#include <QMap>
#include <QString>
#include <QStringList>

// One server of a cross-server merge: its character database and its account database.
struct MergeEndpoint
{
    QString host;
    int port = 3306;
    QString username;
    QString password;
    QString charDatabase;
    QString accountDatabase;
};

// The merge endpoint of a host entry: its server, character database and account database. The
// window and the command line both take an entry's endpoint from here.
MergeEndpoint endpointOf(const HostConfig &host);

// What a merge will do, counted on both servers before anything changes: the window's and the
// command line's preview. The run works from the same counts.
struct MergePreflight
{
    bool ok = false;                  // both servers were read; the counts hold
    QList<Message> refusals;          // each one stops the merge before anything changes
    int characters = 0;               // source characters that are merged
    int renumbered = 0;               // of them, those that get a new id
    int invalidLeftBehind = 0;        // characters of the zone with isvalid <> 1: not merged
    int lowLevelTarget = 0;             // deleted first, with every row they own
    int lowLevelSource = 0;
    int accounts = 0;                 // source accounts that are merged
    int accountRenames = 0;
    int characterRenames = 0;
    int alreadyMerged = 0;            // source characters the target seems to hold already
    Message liveGame;                 // other sessions or online accounts on the target: the game may run
    QList<Message> lockWarnings;      // a server whose buffer pool will not hold the run's row locks
    int relationsDropped = 0;         // relations to characters outside the merge
    QMap<QString, qint64> rows;       // rows each target table receives
    QStringList tablesSkipped;        // source tables with rows that the target lacks
    QMap<QString, QStringList> missingColumns;  // target columns that need a value the source lacks
    // The plan's fingerprint: which characters, under which ids, names and accounts, with which
    // rows, at which counter of the target world. Two plans with the same are the same plan.
    QByteArray plan;

    // The preview as lines for the log, the confirmation and the command line.
    QList<Message> lines() const;
};

// What the operator chose for one merge; read by the engine, never changed by it.
struct MergeSettings
{
    MergeEndpoint target;
    MergeEndpoint source;
    int targetWorldId = -1;
    int sourceWorldId = -1;
    QString charNameSuffix = QStringLiteral("_S2");
    QString accountNameSuffix = QStringLiteral("_S2");
    bool cleanLowLevel = false;
    int cleanLevel = 10;  // characters of this level and below are deleted first (1 to 150)
    bool mergeWeb = true;
    bool backupFirst = false;
    // A required target column the source lacks gets the value the game writes for a new row
    // (0, '' or the current time); without this the merge refuses to start.
    bool fillMissingColumns = false;
    // Go on although the target seems to hold the source's characters already.
    bool again = false;
    // An undo file in backups/undo for the target, written inside its transaction.
    bool writeUndo = true;
    // The dump program; empty: mysqldump beside the program, else the one on the search path.
    QString dumpProgram;
    // The plan the operator confirmed (MergePreflight::plan, or its start as the command line
    // prints it): the run carries out that plan or, when the servers changed since, none.
    // Empty: the run's own plan, as its log shows it.
    QByteArray confirmedPlan;
    MergePreflight confirmed;  // its counts, to say what changed
};

// The levels a merge's clean-up may take: characters of this level and below are deleted first.
const int kMinCleanLevel = 1;
const int kMaxCleanLevel = 150;
inline bool isCleanLevel(int level)
{
    return level >= kMinCleanLevel && level <= kMaxCleanLevel;
}
// Why a level outside them is refused, wherever it is typed.
Message cleanLevelRefusal();

// Whether a run committed, and what it did beyond the merged rows.
struct MergeReport
{
    bool ok = false;                   // the target committed (the log says why not)
    bool cancelled = false;            // the operator stopped it: the target is as it was
    int charactersMerged = 0;
    int accountsMerged = 0;
    int invalidLeftBehind = 0;
    QStringList tablesSkipped;         // tables whose rows were not copied (missing in the target)
    int relationsDropped = 0;          // relations whose partner was not merged
    int namesShortened = 0;            // renamed names cut to fit their column
    QString renameFile;                // every rename of the run, for the players' support
    QString undoFile;                  // takes the target back to before the merge
    QString sourceUndoFile;            // puts back the source's low-level characters
    Message sourceCleanupFailure;      // why the source's clean-up, after the merge, did not happen

    bool hasLosses() const { return !tablesSkipped.isEmpty() || !sourceCleanupFailure.isEmpty(); }
    // The lines that describe the losses, for the log and the warning box.
    QList<Message> lossLines() const;
};
