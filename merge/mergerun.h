#pragma once

#include "base/message.h"

// The cross-server merge's one run, shared by its two halves: the planner (mergeplanner.cpp)
// reads both servers and produces a MergePlan, the preflight in it; the writer (mergewriter.cpp)
// carries that plan out in the target's transaction. Not part of the merge's interface (mergeengine.h).
#include "mergeengine.h"

#include "base/atomicfile.h"
#include "base/debuglog.h"
#include "db/connectionrule.h"
#include "db/legacytext.h"
#include "engine/characterpurge.h"
#include "engine/charactertables.h"
#include "engine/charguidledger.h"
#include "engine/rowpreview.h"
#include "engine/undoabletransaction.h"
#include "mergebackup.h"
#include "mergesql.h"
#include "rowcopier.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QHash>
#include <QSet>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QThread>

namespace MergeRunning {

inline const QString kTarget = QStringLiteral("async_main");
inline const QString kSourceChar = QStringLiteral("async_sub_char");
inline const QString kSourceWeb = QStringLiteral("async_sub_web");
inline const QString kSourceReader = QStringLiteral("async_sub_reader");
inline const QString kTargetChecker = QStringLiteral("async_main_checker");
inline const QString kOptions = QStringLiteral("MYSQL_OPT_CONNECT_TIMEOUT=60;MYSQL_OPT_READ_TIMEOUT=1800;MYSQL_OPT_WRITE_TIMEOUT=1800");
inline const QString kGuidTable = QStringLiteral("tmp_merge_guids");
// The same ids again: MySQL cannot name one temporary table twice in a statement.
inline const QString kPartnerTable = QStringLiteral("tmp_merge_partners");
constexpr int kMaxAttempts = 3;
constexpr int kShownRecords = 20;
constexpr int kStages = 11;  // reported as each starts: stage(1) to stage(11)

QString oneDecimal(double value);
// Cuts a GBK title to 50 bytes without leaving half a character at the end.
QByteArray cutTitle(const QByteArray &title);
// The part of an account name before its first "@" (one that is not the first character).
QByteArray accountHead(const QByteArray &name);
QByteArray accountTail(const QByteArray &name);

struct SourceCharacter
{
    int guid = 0;
    QByteArray name;  // null when the name is NULL
    QByteArray account;
    qint64 created = 0;
};

struct Rename
{
    QString from;
    QString to;
};

// What the planner read on both servers and decided: the preflight the confirmation shows and
// everything the writer needs to carry it out. The writer only reads it.
struct MergePlan
{
    MergePreflight preflight;
    QList<SourceCharacter> characters;  // merged, by charguid
    QSet<int> merged;                   // their source ids
    QList<int> lowMain;                 // low-level characters to delete first, on each server
    QList<int> lowSub;
    QList<int> renumbered;              // source ids that get a new id, in charguid order
    QList<int> newIds;                  // the ids they get at the target's counter as read
    QHash<int, QByteArray> newNames;           // source charguid -> its new name
    QHash<QByteArray, QByteArray> accountNames; // source account -> new name, renamed ones only
    QHash<QByteArray, QByteArray> accnames;     // a character's accname -> its renamed account
    QList<Rename> accountRecords;
    QList<Rename> characterRecords;
    QStringList characterConflicts;
    QStringList accountConflicts;
    QHash<QString, QPair<QList<Sql::Column>, QList<Sql::Column>>> columns;  // table -> target, source
    QStringList copyTables;  // related tables both servers have
    bool hasCreateTime = false;
    QString accountCharset;  // of the target's account names
};

class MergeRun
{
public:
    MergeRun(const MergeSettings &settings, const OperationContext &context, MergeReport *report)
        : m_settings(settings), m_context(context), m_report(report ? report : &m_ownReport)
    {
    }

    bool run();
    bool preflight(MergePreflight *result);

private:
    void addLogLine(const Message &text) { m_context.log(text); }
    void stage(int number, const Message &text);
    bool cancelled() const { return m_context.cancelled(); }
    bool stopped();
    bool abort();
    void closeAll();
    bool openWithRetry(QSqlDatabase &db, const QString &name, const MergeEndpoint &endpoint, const QString &database,
                       const Message &label);
    bool connectAll();

    // What the run will do, read on both servers; changes nothing but temporary tables.
    bool makePlan();
    void checkIdentity();
    bool readSource();
    bool lowLevel(QSqlDatabase &db, int world, QList<int> *ids);
    bool planColumns();
    bool planIds();
    bool planAccounts();
    bool planNames();
    // The plan's fingerprint, MergePreflight::plan.
    QByteArray fingerprint() const;
    // Whether the plan is the one the operator confirmed; logs what changed when it is not.
    bool isConfirmedPlan();
    static bool createGuidTables(QSqlDatabase &db, Message *error);
    bool fillGuidTable(QSqlDatabase &db, Message *error) const;
    // Opens a connection named `name` to `endpoint`'s character database on a SourceReader's
    // thread, then runs `setUp` on it.
    static SourceReader::Open openOnThread(const QString &name, const MergeEndpoint &endpoint, const SourceReader::Open &setUp);
    void startReader();
    bool beginSourceSnapshot();
    // The rows of each related table that the merged characters own, on a source connection
    // that holds the filled id tables: table -> rows (absent: no such table), and the relations
    // to characters outside the merge. False with *error when a count fails.
    struct SourceRows
    {
        QMap<QString, qint64> rows;
        int relationsDropped = 0;
    };
    static bool countSourceRows(QSqlDatabase &source, SourceRows *counted, Message *error);
    // The counts in the plan: the preview's rows, the tables skipped.
    void takeRowCounts(const SourceRows &counted);
    bool countAlreadyMerged();
    void statistics();
    void conflictSurvey();
    QString excludedLowLevel() const;

    // Carrying the plan out: the target's transaction, then the source's clean-up and the report.
    void cleanSource(const MergePlan &plan);
    bool writeTarget(const MergePlan &plan);
    bool writeUndo(const MergePlan &plan, Message *error);
    // A second connection to the target that takes the undo file's fingerprints of each table
    // once it is written, while the merge writes the next one.
    void startChecker();
    void checkWritten(const QString &table);
    bool saveAddedCharacters(Message *error);
    bool purgeLowLevel(QSqlDatabase &db, const Message &label, const QList<int> &ids);
    bool copyAccounts(const MergePlan &plan);
    bool copyCharacters(const MergePlan &plan);
    bool copyRelatedTables(const MergePlan &plan);
    // The target's file loading, for the character tables; nullptr where its driver has none.
    FileLoading *fileLoading();
    std::unique_ptr<RowCopier> startTable(const MergePlan &plan, const QString &table);
    bool copyTable(const MergePlan &plan, const QString &table, RowCopier *copier);
    void finish(const MergePlan &plan);
    QString writeRenameFile(const MergePlan &plan);

    MergeSettings m_settings;
    const OperationContext &m_context;
    MergeReport m_ownReport;
    MergeReport *m_report;

    // The target server's character and account databases on one connection, for one transaction.
    QSqlDatabase m_target;
    QSqlDatabase m_sourceChar;
    QSqlDatabase m_sourceWeb;
    std::unique_ptr<SourceReader> m_reader;  // reads the character tables while the target writes
    std::unique_ptr<SourceReader> m_checker;  // on the target, READ UNCOMMITTED, while it writes
    FileLoading m_fileLoading;  // whether the target takes the character tables' rows as files
    bool m_readerHasIds = false;  // the reader's id tables hold the plan's characters
    QString m_targetWeb;  // the target account table, qualified
    QString m_sourceAccounts;  // the source's, read through the character connection's snapshot

    MergePlan m_plan;  // the planner's, handed to the writer
    CollationKeys m_nameKeys;     // the planner's
    CollationKeys m_accountKeys;
    // The writer's own, in the target's transaction.
    QMap<int, int> m_guidMap;
    QList<qint64> m_mergedIds;  // the merged characters' ids in the target
    int m_lastAllocated = 0;
    std::unique_ptr<CharacterPurge::IdTable> m_targetIds;  // outlives the transaction
    std::unique_ptr<UndoableTransaction> m_transaction;  // the target's, while it writes
    UndoFile *m_undo = nullptr;         // when the operator wants the file
    QList<QByteArray> m_insertedAccounts;  // the target names of the accounts copied
    QMap<QString, qint64> m_copiedRows;    // table -> rows copied into the target
    qint64 m_counterBefore = 0;
    QString m_counterBack;  // the undo's statement that sets the counter back
};

} // namespace MergeRunning
