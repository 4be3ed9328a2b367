#pragma once

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
    QString webDatabase;
};

// What the operator chose for one merge; read by the engine, never changed by it.
struct MergeSettings
{
    MergeEndpoint main;  // the target
    MergeEndpoint sub;   // the source
    int mainWorldId = -1;
    int subWorldId = -1;
    QString charNameSuffix = QStringLiteral("_S2");
    QString accountNameSuffix = QStringLiteral("_S2");
    bool cleanLowLevel = false;
    int cleanLevel = 10;
    bool mergeWeb = true;
    bool backupFirst = false;
    // The dump program; empty: mysqldump beside the program, else the one on the search path.
    QString dumpProgram;
};

// Where a run stands, for a progress bar.
struct MergeProgress
{
    int stage = 0;          // 1 to stageCount
    static constexpr int stageCount = 11;
    QString text;
    int tableIndex = 0;     // related tables: the table being copied, from 1
    int tableCount = 0;
    qint64 rows = 0;        // rows of that table processed so far
};

// What a run did not carry over. A run that returns true may still have lost rows.
struct MergeReport
{
    int charactersMerged = 0;
    int charactersFailed = 0;
    QMap<QString, int> rowsFailed;     // table -> rows that could not be inserted
    QStringList tablesSkipped;         // tables whose rows were not copied at all
    int relationsDropped = 0;          // relations whose partner was not merged
    int namesShortened = 0;            // renamed names cut to fit their column
    bool counterFailed = false;        // t_var.maxcharguid could not be raised

    bool hasLosses() const
    {
        return charactersFailed > 0 || !rowsFailed.isEmpty() || !tablesSkipped.isEmpty() || counterFailed;
    }

    // The lines that describe the losses, for the log and the warning box.
    QStringList lossLines() const;
};
