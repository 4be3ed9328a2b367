#include "sameservermerge.h"

#include "mergesettings.h"
#include "db/connectionrule.h"
#include "db/databasemanager.h"
#include "db/legacytext.h"
#include "base/storedtext.h"
#include "engine/characterpurge.h"
#include "engine/charactertables.h"
#include "engine/rowpreview.h"
#include "engine/undoabletransaction.h"
#include "mergenames.h"
#include "mergesql.h"

#include <QRegularExpression>
#include <QScopeGuard>
#include <QSet>
#include <QSqlDatabase>
#include <QSqlQuery>

using namespace Sql;

namespace {


const QString kConnection = QStringLiteral("same_server_merge");
const QString kRenameTable = QStringLiteral("tmp_account_renames");
// MySQL cannot name one temporary table twice in a statement.
const QString kRenameCopy = QStringLiteral("tmp_account_renames_copy");
const int kSlice = 500;
// Warnings of a non-strict server that mean a value was not stored as it was read.
const QSet<int> kAlteredValueWarnings = {1265, 1366, 1406};

class SameServerMergeRun
{
public:
    SameServerMergeRun(QSqlDatabase db, const SameServerMergeParameters &parameters, const OperationContext &context)
        : m_db(db), m_p(parameters), m_context(context)
    {
    }

    bool run();
    QString undoPath() const { return m_undoPath; }

private:
    bool cleanupLowLevelCharacters();
    bool saveMovedCharacters();
    bool mergeAccountDatabases();
    bool updateCharacterAccounts();
    bool updateZoneWorldId();
    bool syncWorldField();

    bool cancelled() const { return m_context.cancelled(); }
    void log(const Message &line) const { m_context.log(line); }
    void report(int value);
    void rollBack();
    bool exec(QSqlQuery &query, const QString &sql);
    bool execPrepared(QSqlQuery &query);
    bool logged(const QSqlQuery &query, bool ok);
    bool readCharGuids(QSqlQuery &query, QList<int> *ids);
    qint64 execOnTable(const QString &table, const QString &sql);
    bool valuesAltered(const QString &what);
    QString accountText(const QByteArray &name) const;

    QSqlDatabase m_db;
    const SameServerMergeParameters &m_p;
    const OperationContext &m_context;
    int m_reported = 0;
    QSet<QString> m_missingTables;
    int m_renamed = 0;  // accounts imported under a suffixed name, listed in the rename table
    QString m_accountCharset;
    CollationKeys m_accountKeys;  // the main account table's name column
    UndoFile *m_undo = nullptr;  // when the operator wants the file
    QString m_undoPath;
};

void SameServerMergeRun::report(int value)
{
    value = qBound(0, value, 100);
    if (value > m_reported) {
        m_reported = value;
        m_context.progress(STORED_TEXT_IN("SameServerMerge", "同服合区"), value, 100);
    }
}

bool SameServerMergeRun::exec(QSqlQuery &query, const QString &sql)
{
    return logged(query, query.exec(sql));
}

bool SameServerMergeRun::execPrepared(QSqlQuery &query)
{
    return logged(query, query.exec());
}

bool SameServerMergeRun::logged(const QSqlQuery &query, bool ok)
{
    if (!ok)
        log(STORED_TEXT("错误: %1").arg(query.lastError().text()));
    return ok;
}

bool SameServerMergeRun::readCharGuids(QSqlQuery &query, QList<int> *ids)
{
    if (!execPrepared(query))
        return false;
    while (query.next())
        ids->append(query.value(0).toInt());
    return true;
}

// Affected rows of one statement on a character table; -1 when it failed (logged). A table
// this deployment lacks is skipped with one log line.
qint64 SameServerMergeRun::execOnTable(const QString &table, const QString &sql)
{
    if (m_missingTables.contains(table))
        return 0;
    QSqlQuery query(m_db);
    if (query.exec(sql))
        return query.numRowsAffected();
    if (errorNumber(query.lastError()) == kErrorNoSuchTable) {
        m_missingTables.insert(table);
        log(STORED_TEXT("  %1: 表不存在，已跳过").arg(table));
        return 0;
    }
    log(STORED_TEXT("错误: %1: %2").arg(table, query.lastError().text()));
    return -1;
}

// A non-strict server stores what it can and only warns; for a merge that is a failure.
bool SameServerMergeRun::valuesAltered(const QString &what)
{
    QSqlQuery query(m_db);
    if (!query.exec(QStringLiteral("SHOW WARNINGS")))
        return false;
    while (query.next()) {
        if (kAlteredValueWarnings.contains(query.value(1).toInt())) {
            log(STORED_TEXT("错误: %1时数据被截断或改变: %2").arg(what, query.value(2).toString()));
            return true;
        }
    }
    return false;
}

QString SameServerMergeRun::accountText(const QByteArray &name) const
{
    return isLegacyCharset(m_accountCharset) ? decodeGbk(name) : QString::fromUtf8(name);
}

void SameServerMergeRun::rollBack()
{
    if (m_db.rollback())
        log(STORED_TEXT("↩ 事务已回滚"));
    else  // the server rolls an open transaction back itself when the connection is gone
        log(STORED_TEXT("❌ 事务回滚失败: %1").arg(m_db.lastError().text()));
}

bool SameServerMergeRun::run()
{
    // Temporary tables exist before the transaction and go after it: servers that enforce GTID
    // consistency refuse to create or drop one inside it.
    Message error;
    CharacterPurge::IdTable idTable(m_db);
    QSqlQuery temporary(m_db);
    const auto dropRenames = qScopeGuard([&temporary] {
        temporary.exec(QStringLiteral("DROP TEMPORARY TABLE IF EXISTS %1, %2").arg(kRenameTable, kRenameCopy));
    });
    if ((m_p.cleanLowLevel && !idTable.create(&error))
        || (m_p.independentAccounts
            && !(exec(temporary, QStringLiteral("DROP TEMPORARY TABLE IF EXISTS %1, %2").arg(kRenameTable, kRenameCopy))
                 && exec(temporary, QStringLiteral("CREATE TEMPORARY TABLE %1 (old_name VARBINARY(1024) NOT NULL PRIMARY KEY, "
                                                   "new_name VARBINARY(1024) NOT NULL)").arg(kRenameTable))
                 && exec(temporary, QStringLiteral("CREATE TEMPORARY TABLE %1 LIKE %2").arg(kRenameCopy, kRenameTable))))) {
        log(STORED_TEXT("❌ 无法建立临时表，未做任何修改: %1").arg(error.isEmpty() ? Message(temporary.lastError().text()) : error));
        return false;
    }
    UndoableTransaction transaction(m_db);
    if (!transaction.begin(STORED_TEXT("同服合区 WorldID %1 → %2").arg(m_p.sourceWorldId).arg(m_p.targetWorldId), m_p.writeUndo, &error)) {
        log(QStringLiteral("❌ %1").arg(error));
        return false;
    }
    log(STORED_TEXT("✔ 已启动数据库事务"));
    m_undo = transaction.undo();

    struct Step
    {
        bool wanted;
        Message title;
        bool (SameServerMergeRun::*run)();
        Message failure;
    };
    const QList<Step> steps = {
        {m_p.cleanLowLevel, STORED_TEXT("══ 清理低等级角色 ══"), &SameServerMergeRun::cleanupLowLevelCharacters, STORED_TEXT("❌ 清理失败")},
        {m_undo != nullptr, QString(), &SameServerMergeRun::saveMovedCharacters, STORED_TEXT("❌ 撤销文件写入失败")},
        {m_p.independentAccounts, STORED_TEXT("══ 合并账号库 ══"), &SameServerMergeRun::mergeAccountDatabases, STORED_TEXT("❌ 账号合并失败")},
        {m_p.independentAccounts, STORED_TEXT("══ 更新角色账号 ══"), &SameServerMergeRun::updateCharacterAccounts, STORED_TEXT("❌ 账号更新失败")},
        {true, STORED_TEXT("══ 执行合区 ══"), &SameServerMergeRun::updateZoneWorldId, STORED_TEXT("❌ 合区失败")},
        {true, STORED_TEXT("══ 同步world字段 ══"), &SameServerMergeRun::syncWorldField, STORED_TEXT("❌ 同步失败")},
    };
    for (const Step &step : steps) {
        if (!step.wanted || cancelled())
            continue;
        if (!step.title.isEmpty())
            log(step.title);
        if (!(this->*step.run)()) {
            // A cancelled step stops without a message of its own.
            if (!cancelled())
                log(step.failure);
            rollBack();
            return false;
        }
    }
    if (cancelled()) {
        rollBack();
        return false;
    }
    if (!transaction.commit(&error)) {
        log(QStringLiteral("❌ %1").arg(error));
        return false;
    }
    log(STORED_TEXT("✔ 事务已提交"));
    m_undoPath = transaction.undoPath();
    if (!m_undoPath.isEmpty())
        log(STORED_TEXT("撤销文件: %1").arg(m_undoPath));
    return true;
}

bool SameServerMergeRun::saveMovedCharacters()
{
    // The sub world's characters change world (and account, when renamed); items change world
    // for every character that ends in the main world.
    Message error;
    QStringList present;
    if (!CharacterPurge::existingTables(m_db, worldColumnTables, &present, &error)
        || m_undo->saveColumns(m_db, QStringLiteral("t_char"), QStringLiteral("charguid"),
                               {QStringLiteral("accname"), QStringLiteral("zoneworldid")}, QStringLiteral("zoneworldid = ?"),
                               {m_p.sourceWorldId}, &error) < 0) {
        log(STORED_TEXT("错误: %1").arg(error));
        return false;
    }
    for (const QString &table : std::as_const(present)) {
        if (m_undo->saveColumns(m_db, table, QStringLiteral("aid"), {QStringLiteral("world")},
                                QStringLiteral("world <> ? AND charguid IN (SELECT charguid FROM t_char WHERE zoneworldid IN (?, ?))"),
                                {m_p.targetWorldId, m_p.sourceWorldId, m_p.targetWorldId}, &error) < 0) {
            log(STORED_TEXT("错误: %1").arg(error));
            return false;
        }
    }
    return true;
}

bool SameServerMergeRun::cleanupLowLevelCharacters()
{
    QSqlQuery query(m_db);
    query.prepare(sameServerLowLevelCharacters(m_p));
    QList<int> ids;
    if (!readCharGuids(query, &ids))
        return false;
    if (ids.isEmpty()) {
        log(STORED_TEXT("没有需要清理的角色"));
        return true;
    }
    log(STORED_TEXT("待清理: %1 个").arg(ids.size()));
    // The clean-up's steps take the first fifth of the bar.
    OperationContext purge;
    purge.onLog = m_context.onLog;
    purge.onProgress = [this](const Message &, qint64 step, qint64 steps) { report(int(20 * (step - 1) / steps)); };
    purge.cancelFlag = m_context.cancelFlag;
    CharacterPurge::Outcome outcome;
    if (!CharacterPurge::deleteCharacters(m_db, ids, mergeCharacterTables, m_undo, purge, &outcome)) {
        if (!outcome.cancelled)
            log(STORED_TEXT("错误: %1: %2").arg(outcome.failedTable, outcome.error));
        return false;
    }
    report(20);
    log(STORED_TEXT("✓ 删除 %1 个角色").arg(ids.size()));
    return true;
}

bool SameServerMergeRun::mergeAccountDatabases()
{
    const QString mainDb = quoted(m_p.targetAccountDatabase);
    const QString subDb = quoted(m_p.sourceAccountDatabase);
    QSqlError error;
    const QList<Column> targetColumns = readColumns(m_db, QStringLiteral("account"), &error, m_p.targetAccountDatabase);
    const QList<Column> sourceColumns = readColumns(m_db, QStringLiteral("account"), &error, m_p.sourceAccountDatabase);
    const Column *mainName = findColumn(targetColumns, QStringLiteral("name"));
    Message keysError;
    if (!mainName || !findColumn(sourceColumns, QStringLiteral("name"))
        || !m_accountKeys.describe(m_db, m_p.targetAccountDatabase, QStringLiteral("account"), QStringLiteral("name"), &keysError)) {
        log(STORED_TEXT("错误: 无法读取账号表 %1.account 与 %2.account 的结构: %3")
                  .arg(m_p.targetAccountDatabase, m_p.sourceAccountDatabase, error.text()));
        return false;
    }
    m_accountCharset = mainName->charset;

    QSqlQuery query(m_db);
    if (!exec(query, QStringLiteral("SELECT COUNT(*) FROM %1.account").arg(subDb)) || !query.next())
        return false;
    const qint64 sourceAccountRows = query.value(0).toLongLong();
    if (sourceAccountRows == 0) {
        log(STORED_TEXT("副区没有账号需要合并"));
        return true;
    }

    // Clashes as the main table's unique name index sees them, taken before anything is inserted.
    QList<QByteArray> conflicts;
    if (!exec(query, QStringLiteral("SELECT CAST(s.name AS BINARY) FROM %1.account m INNER JOIN %2.account s ON m.name = s.name")
                         .arg(mainDb, subDb)))
        return false;
    while (query.next())
        conflicts.append(bytesFromBinaryValue(query.value(0)));
    log(STORED_TEXT("副区账号: %1 个, 冲突: %2 个").arg(sourceAccountRows).arg(conflicts.size()));

    // A suffixed name must be free in both tables and among the names chosen so far, or an
    // account would be handed to another player.
    QSqlQuery lookup(m_db);
    const Column *subName = findColumn(sourceColumns, QStringLiteral("name"));
    QSet<QByteArray> chosen;
    bool lookupFailed = false;
    auto taken = [&](const QByteArray &candidate) {
        if (chosen.contains(candidate))
            return true;
        // As each name column compares: the name written in its own character set.
        for (const auto &[database, column] : {std::pair{mainDb, mainName}, std::pair{subDb, subName}}) {
            if (!exec(lookup, QStringLiteral("SELECT 1 FROM %1.account WHERE name = %2 LIMIT 1")
                                  .arg(database, Sql::bytesLiteral(candidate, column->charset)))) {
                lookupFailed = true;
                return false;
            }
            if (lookup.next())
                return true;
        }
        return false;
    };
    const QByteArray suffix = isLegacyCharset(m_accountCharset) ? encodeGbk(m_p.conflictSuffix) : m_p.conflictSuffix.toUtf8();
    QSqlQuery rename(m_db);
    for (const QByteArray &name : std::as_const(conflicts)) {
        if (cancelled())
            return false;
        const QByteArray target = MergeNames::resolve(name, suffix, false, isLegacyCharset(m_accountCharset), 0, taken);
        if (lookupFailed)
            return false;
        chosen.insert(target);
        ++m_renamed;
        if (!exec(rename, QStringLiteral("INSERT INTO %1 (old_name, new_name) VALUES (%2, %3)")
                              .arg(kRenameTable, Sql::bytesLiteral(name), Sql::bytesLiteral(target))))
            return false;
        log(STORED_TEXT("  冲突账号 %1 → %2").arg(accountText(name), accountText(target)));
    }
    if (cancelled())
        return false;

    // Every column both tables have, as stored bytes, so that no value is recoded on the way.
    QStringList targets;
    QStringList sources;
    for (const Column &column : targetColumns) {
        const Column *source = findColumn(sourceColumns, column.lower);
        if (column.autoIncrement || !source)
            continue;
        targets.append(quoted(column.name));
        sources.append(column.lower == QLatin1String("name")
                           ? QStringLiteral("COALESCE(r.new_name, CAST(s.%1 AS BINARY))").arg(quoted(source->name))
                           : copyExpression(*source, QStringLiteral("s")));
    }
    if (!exec(query, QStringLiteral("INSERT INTO %1.account (%2) SELECT %3 FROM %4.account s "
                                    "LEFT JOIN %5 r ON r.old_name = CAST(s.name AS BINARY)")
                         .arg(mainDb, targets.join(QStringLiteral(", ")), sources.join(QStringLiteral(", ")), subDb, kRenameTable)))
        return false;
    const qint64 imported = query.numRowsAffected();
    if (valuesAltered(STORED_TEXT("导入账号")))
        return false;
    // The undo removes the imported accounts again, by the exact names they were stored under.
    Message undoError;
    if (m_undo
        && m_undo->saveAdded(m_db, QStringLiteral("account"), QStringLiteral("name"),
                                QStringLiteral("CAST(name AS BINARY) IN (SELECT COALESCE(r.new_name, CAST(s.name AS BINARY)) FROM %1.account s "
                                               "LEFT JOIN %2 r ON r.old_name = CAST(s.name AS BINARY))").arg(subDb, kRenameTable),
                                {}, &undoError, m_p.targetAccountDatabase) < 0) {
        log(STORED_TEXT("错误: %1").arg(undoError));
        return false;
    }
    log(STORED_TEXT("✓ 导入 %1 个账号, 冲突处理 %2 个").arg(imported).arg(conflicts.size()));
    report(30);
    return true;
}

bool SameServerMergeRun::updateCharacterAccounts()
{
    if (m_renamed == 0) {
        log(STORED_TEXT("没有需要更新的账号"));
        return true;
    }
    if (cancelled())
        return false;
    // A character follows its renamed account when its accname is that account to the name
    // column's collation, the comparison that found the clash; an exact match comes first. One
    // statement each, so that a renamed name is never renamed again.
    const QString exact = QStringLiteral("r.old_name = CAST(c.accname AS BINARY)");
    const QString collated = m_accountKeys.equalTo(QStringLiteral("c.accname"), QStringLiteral("r.old_name"))
        + QStringLiteral(" AND NOT EXISTS (SELECT 1 FROM %1 x WHERE x.old_name = CAST(c.accname AS BINARY) "
                         "OR x.new_name = CAST(c.accname AS BINARY))").arg(kRenameCopy);
    QSqlQuery query(m_db);
    if (!exec(query, QStringLiteral("INSERT INTO %1 SELECT * FROM %2").arg(kRenameCopy, kRenameTable)))
        return false;
    qint64 characters = 0;
    for (const QString &match : {exact, collated}) {
        if (!exec(query, QStringLiteral("UPDATE t_char c JOIN %1 r ON %2 SET c.accname = r.new_name WHERE c.zoneworldid = %3")
                             .arg(kRenameTable, match)
                             .arg(m_p.sourceWorldId)))
            return false;
        characters += query.numRowsAffected();
        if (valuesAltered(STORED_TEXT("更新角色账号")))
            return false;
    }
    log(STORED_TEXT("✓ 更新 %1 个账号的 %2 个角色").arg(m_renamed).arg(characters));
    report(45);
    return true;
}

bool SameServerMergeRun::updateZoneWorldId()
{
    QSqlQuery query(m_db);
    query.prepare(QStringLiteral("SELECT COUNT(*) FROM t_char WHERE zoneworldid = ?"));
    query.addBindValue(m_p.sourceWorldId);
    const qint64 count = query.exec() && query.next() ? query.value(0).toLongLong() : 0;
    log(STORED_TEXT("待修改: %1 个角色").arg(count));
    query.prepare(QStringLiteral("UPDATE t_char SET zoneworldid = ? WHERE zoneworldid = ?"));
    query.addBindValue(m_p.targetWorldId);
    query.addBindValue(m_p.sourceWorldId);
    if (!execPrepared(query))
        return false;
    log(STORED_TEXT("✓ 修改 %1 个角色").arg(query.numRowsAffected()));
    report(60);
    return true;
}

bool SameServerMergeRun::syncWorldField()
{
    QSqlQuery query(m_db);
    query.prepare(QStringLiteral("SELECT charguid FROM t_char WHERE zoneworldid = ?"));
    query.addBindValue(m_p.targetWorldId);
    QList<int> ids;
    if (!readCharGuids(query, &ids))
        return false;
    if (ids.isEmpty()) {
        log(STORED_TEXT("没有需要更新的角色"));
        return true;
    }
    const int slices = int((ids.size() + kSlice - 1) / kSlice);
    const int total = slices * int(worldColumnTables.size());
    int done = 0;
    for (qsizetype start = 0; start < ids.size(); start += kSlice) {
        if (cancelled())
            return false;
        const QString list = idListText(ids.mid(start, kSlice));
        for (const QString &table : worldColumnTables) {
            const qint64 rows = execOnTable(table, QStringLiteral("UPDATE %1 SET world = %2 WHERE charguid IN (%3)")
                                                       .arg(table)
                                                       .arg(m_p.targetWorldId)
                                                       .arg(list));
            if (rows < 0)
                return false;
            if (rows > 0)
                log(STORED_COUNT("  %1: %Ln条").count(rows).arg(table));
            report(60 + 30 * ++done / total);
        }
    }
    log(STORED_TEXT("✓ world字段同步完成"));
    return true;
}

} // namespace

bool isPlainDatabaseName(const QString &name)
{
    static const QRegularExpression plain(QStringLiteral("^[A-Za-z0-9_$]+$"));
    return plain.match(name).hasMatch();
}

QString sameServerLowLevelCharacters(const SameServerMergeParameters &p)
{
    return QStringLiteral("SELECT charguid FROM t_char WHERE zoneworldid IN (%1, %2) AND level <= %3")
        .arg(p.sourceWorldId)
        .arg(p.targetWorldId)
        .arg(p.levelThreshold);
}

namespace SameServerMerge {

Preview preview(QSqlDatabase &db, const Request &p)
{
    Preview result;
    result.refusal = refusal(p);
    if (!result.refusal.isEmpty())
        return result;
    QList<Message> &lines = result.lines;
    QSqlQuery current(db);
    const QString database = current.exec(QStringLiteral("SELECT DATABASE()")) && current.next() ? current.value(0).toString() : QString();
    const QStringList accounts = p.independentAccounts ? QStringList{p.targetAccountDatabase, p.sourceAccountDatabase} : QStringList();
    result.liveGame = RowPreview::liveGameWarning(db, {database}, accounts);
    if (!result.liveGame.isEmpty())
        lines.append(result.liveGame);
    QString survivors = QStringLiteral("SELECT charguid FROM t_char WHERE zoneworldid IN (%1, %2)").arg(p.sourceWorldId).arg(p.targetWorldId);
    qint64 changed = 0;  // rows the merge's one transaction deletes or changes
    if (p.cleanLowLevel) {
        lines.append(STORED_TEXT_IN("SameServerMerge", "删除两个区等级 ≤ %1 的角色:").arg(p.levelThreshold));
        const QList<RowPreview::Count> doomed = RowPreview::characterRows(db, sameServerLowLevelCharacters(p), true);
        changed += RowPreview::total(doomed);
        lines += RowPreview::lines(doomed, true);
        survivors += QStringLiteral(" AND charguid NOT IN (%1)").arg(sameServerLowLevelCharacters(p));
    }
    QList<QPair<QString, QString>> moved{
        {QStringLiteral("t_char"), QStringLiteral("zoneworldid = %1%2").arg(p.sourceWorldId)
                                       .arg(p.cleanLowLevel ? QStringLiteral(" AND charguid NOT IN (%1)").arg(sameServerLowLevelCharacters(p)) : QString())}};
    for (const QString &table : worldColumnTables)
        moved.append({table, QStringLiteral("world <> %1 AND charguid IN (%2)").arg(p.targetWorldId).arg(survivors)});
    lines.append(STORED_TEXT_IN("SameServerMerge", "WorldID %1 → %2，改动的记录:").arg(p.sourceWorldId).arg(p.targetWorldId));
    const QList<RowPreview::Count> movedRows = RowPreview::tableRows(db, moved);
    changed += RowPreview::total(movedRows);
    lines += RowPreview::lines(movedRows);
    if (const Message warning = RowPreview::lockWarning(db, changed); !warning.isEmpty())
        lines.prepend(warning);
    if (p.independentAccounts && isPlainDatabaseName(p.targetAccountDatabase) && isPlainDatabaseName(p.sourceAccountDatabase)) {
        QSqlQuery query(db);
        const bool counted = query.exec(QStringLiteral("SELECT (SELECT COUNT(*) FROM %2.account), (SELECT COUNT(*) FROM %1.account m "
                                                       "INNER JOIN %2.account s ON m.name = s.name)")
                                            .arg(quoted(p.targetAccountDatabase), quoted(p.sourceAccountDatabase)))
            && query.next();
        lines.append(counted ? STORED_TEXT_IN("SameServerMerge", "  %1.account: 导入 %2 个账号，其中 %3 个重名加后缀")
                                   .arg(p.targetAccountDatabase).arg(query.value(0).toLongLong()).arg(query.value(1).toLongLong())
                             : STORED_TEXT_IN("SameServerMerge", "  账号统计失败: %1").arg(query.lastError().text()));
    }
    return result;
}

Message refusal(const Request &p)
{
    if (p.sourceWorldId == p.targetWorldId)
        return STORED_TEXT_IN("SameServerMerge", "副区和主区不能相同！");
    if (p.cleanLowLevel && !isCleanLevel(p.levelThreshold))
        return cleanLevelRefusal();
    if (!p.independentAccounts)
        return QString();
    for (const QString &name : {p.targetAccountDatabase, p.sourceAccountDatabase}) {
        if (!isPlainDatabaseName(name))
            return STORED_TEXT_IN("SameServerMerge", "账号库名称无效: %1").arg(name);
    }
    if (p.targetAccountDatabase.compare(p.sourceAccountDatabase, Qt::CaseInsensitive) == 0)
        return STORED_TEXT_IN("SameServerMerge", "主区和副区是同一个账号库 %1，不能把它合并到自身").arg(p.targetAccountDatabase);
    if (p.conflictSuffix.isEmpty())
        return STORED_TEXT_IN("SameServerMerge", "冲突账号后缀不能为空");
    return QString();
}

Result run(const HostConfig &host, const Request &parameters, const OperationContext &context)
{
    Result result;
    auto log = [&context](const Message &line) { context.log(line); };
    if (const Message refused = refusal(parameters); !refused.isEmpty()) {
        log(QStringLiteral("❌ ") + refused);
        return result;
    }
    {
        const ConnectionOutcome outcome = openSessionConnection(kConnection, host);
        QSqlDatabase db = QSqlDatabase::database(kConnection, false);
        if (!outcome.ok) {
            log(STORED_TEXT_IN("SameServerMerge", "❌ 数据库连接失败"));
            log(outcome.failureReason());
        } else {
            SameServerMergeRun run(db, parameters, context);
            result.ok = run.run();
            if (result.ok)
                result.undoPath = run.undoPath();
            db.close();
        }
    }
    removeNamedConnection(kConnection);
    result.cancelled = !result.ok && context.cancelled();
    return result;
}

} // namespace SameServerMerge
