#include "rowpreview.h"

#include "charactercopier.h"
#include "characterpurge.h"
#include "charactertables.h"
#include "db/sqlcolumns.h"
#include "base/storedtext.h"

#include <QMap>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

namespace RowPreview {

namespace {
Count countOf(QSqlDatabase &db, const QString &table, const QString &where)
{
    Count count{table, 0, false, QString()};
    QSqlQuery query(db);
    if (!query.exec(QStringLiteral("SELECT COUNT(*) FROM %1 WHERE %2").arg(table, where)) || !query.next())
        count.error = query.lastError().text();
    else
        count.rows = query.value(0).toLongLong();
    return count;
}
} // namespace

QList<Count> characterRows(QSqlDatabase &db, const QString &owners, bool reverseRelations)
{
    const QStringList tables = characterDeleteTables + QStringList{QStringLiteral("t_char")};
    QStringList present;
    Message error;
    CharacterPurge::existingTables(db, tables + QStringList{QStringLiteral("t_relation")}, &present, &error);
    QList<Count> counts;
    for (const QString &table : tables) {
        if (!present.contains(table) && table != QLatin1String("t_char")) {
            counts.append({table, 0, true, QString()});
            continue;
        }
        counts.append(countOf(db, table, QStringLiteral("charguid IN (%1)").arg(owners)));
        // The deletion clears the relations pointing at the characters after their own tables.
        if (table == characterDeleteTables.last() && reverseRelations && present.contains(QStringLiteral("t_relation"))) {
            Count reverse = countOf(db, QStringLiteral("t_relation"), QStringLiteral("fguid IN (%1) AND charguid NOT IN (%1)").arg(owners));
            reverse.table = STORED_TEXT("t_relation(反向关系)");
            counts.append(reverse);
        }
    }
    return counts;
}

QList<Count> tableRows(QSqlDatabase &db, const QList<QPair<QString, QString>> &tablesAndWhere)
{
    QStringList names;
    for (const auto &[table, where] : tablesAndWhere)
        names.append(table);
    QStringList present;
    Message error;
    CharacterPurge::existingTables(db, names, &present, &error);
    QList<Count> counts;
    for (const auto &[table, where] : tablesAndWhere)
        counts.append(present.contains(table) ? countOf(db, table, where) : Count{table, 0, true, QString()});
    return counts;
}

QList<Count> copyRows(QSqlDatabase &db, int charguid)
{
    const QString owned = QStringLiteral("charguid = %1").arg(charguid);
    QList<QPair<QString, QString>> tables;
    for (const QString &table : CharacterCopier::addedTables())
        tables.append({table, owned});
    return tableRows(db, tables);
}

QList<Count> transferRows(QSqlDatabase &db, int charguid)
{
    const QString owned = QStringLiteral("charguid = %1").arg(charguid);
    QList<QPair<QString, QString>> tables{{QStringLiteral("t_char"), owned}};
    for (const QString &table : worldColumnTables)
        tables.append({table, owned});
    return tableRows(db, tables);
}

QList<Count> repairRows(QSqlDatabase &db, int charguid)
{
    // In a table where the character has duplicates, the repair deletes all its rows and writes
    // the survivors again (in key order, with new aids).
    QList<QPair<QString, QString>> duplicates;
    for (const DuplicateRepairTable &repair : duplicateRepairSpecs) {
        QStringList sameKey;
        for (const QString &key : repair.keyColumns.split(QLatin1Char(','), Qt::SkipEmptyParts))
            sameKey.append(QStringLiteral("d.%1 = %2.%1").arg(key.trimmed(), repair.tableName));
        duplicates.append({repair.tableName, QStringLiteral("charguid = %1 AND EXISTS (SELECT 1 FROM %2 d WHERE d.charguid = %2.charguid AND %3 AND d.aid < %2.aid)")
                                                 .arg(charguid).arg(repair.tableName, sameKey.join(QStringLiteral(" AND ")))});
    }
    QList<Count> counts;
    for (const Count &twins : tableRows(db, duplicates)) {
        if (twins.missing || !twins.error.isEmpty() || twins.rows == 0) {
            counts.append(twins);
            continue;
        }
        Count all = countOf(db, twins.table, QStringLiteral("charguid = %1").arg(charguid));
        Count rewritten = all;
        all.table = STORED_TEXT("%1(删除)").arg(twins.table);
        rewritten.table = STORED_TEXT("%1(重新写入)").arg(twins.table);
        rewritten.rows = all.rows - twins.rows;
        counts << all << rewritten;
    }
    return counts;
}

QList<Message> lines(const QList<Count> &counts, bool nonEmptyOnly)
{
    QList<Message> lines;
    for (const Count &count : counts) {
        if (nonEmptyOnly && count.error.isEmpty() && (count.missing || count.rows == 0))
            continue;
        if (count.missing)
            lines.append(STORED_TEXT("  跳过 %1: 表不存在").arg(count.table));
        else if (!count.error.isEmpty())
            lines.append(STORED_TEXT("  %1: 统计失败: %2").arg(count.table, count.error));
        else
            lines.append(STORED_COUNT("  %1: %Ln 条记录").count(count.rows).arg(count.table));
    }
    return lines;
}

Message liveGameWarning(QSqlDatabase &db, const QStringList &databases, const QStringList &accountDatabases)
{
    QStringList names;
    for (const QString &database : databases + accountDatabases)
        names.append(Sql::bytesLiteral(database.toUtf8(), QStringLiteral("utf8mb4")));
    QSqlQuery query(db);
    // Other users' sessions show only with the PROCESS privilege: without it, nobody else seems
    // to be there, which is not the same as nobody being there. GRANTEE reads 'user'@'host'.
    const bool seesOthers = query.exec(QStringLiteral("SELECT COUNT(*) FROM information_schema.USER_PRIVILEGES WHERE PRIVILEGE_TYPE = 'PROCESS' "
                                                      "AND GRANTEE = CONCAT(QUOTE(SUBSTRING_INDEX(CURRENT_USER(), '@', 1)), '@', "
                                                      "QUOTE(SUBSTRING_INDEX(CURRENT_USER(), '@', -1)))"))
        && query.next() && query.value(0).toLongLong() > 0;
    // The program's own connections come from its user and host; the game's from others.
    const qint64 sessions = query.exec(QStringLiteral("SELECT COUNT(*) FROM information_schema.PROCESSLIST WHERE ID <> CONNECTION_ID() "
                                                      "AND DB IN (%1) AND NOT (USER = SUBSTRING_INDEX(USER(), '@', 1) "
                                                      "AND SUBSTRING_INDEX(HOST, ':', 1) = SUBSTRING_INDEX(USER(), '@', -1))")
                                           .arg(names.join(QLatin1Char(','))))
            && query.next()
        ? query.value(0).toLongLong()
        : 0;
    qint64 online = 0;
    for (const QString &database : accountDatabases) {
        if (query.exec(QStringLiteral("SELECT COUNT(*) FROM %1 WHERE is_online <> 0").arg(Sql::qualified(database, QStringLiteral("account"))))
            && query.next())
            online += query.value(0).toLongLong();
    }
    if (!seesOthers)
        return STORED_TEXT("注意：无法确认游戏是否已停止：当前用户没有 PROCESS 权限，看不到其他客户端的连接；%1 个账号标记为在线。建议先停服再操作。")
            .arg(online);
    if (sessions == 0 && online == 0)
        return QString();
    return STORED_TEXT("注意：游戏可能仍在运行：%1 个其他客户端连接正在使用这些数据库，%2 个账号标记为在线。建议先停服再操作。")
        .arg(sessions)
        .arg(online);
}

Message lockWarning(QSqlDatabase &db, qint64 rows, const Message &where)
{
    // InnoDB takes row locks from the buffer pool and refuses new ones (error 1206) once less
    // than a quarter of the pool is left for pages. Measured on MariaDB 10.11 with a 6 MB pool:
    // deleting 790,000 wide rows held 4.15 MB of locks, a million failed with 1206; a wipe of
    // 40,000 characters (1.77 M rows) held 2.9 MB, about 1.7 bytes a row. Warning at half the
    // pool leaves a margin for the pages the work itself needs.
    constexpr double kLockBytesPerRow = 1.7;
    QSqlQuery query(db);
    if (rows <= 0 || !query.exec(QStringLiteral("SELECT @@innodb_buffer_pool_size")) || !query.next())
        return QString();
    const qint64 pool = query.value(0).toLongLong();
    const qint64 needed = qint64(double(rows) * kLockBytesPerRow);
    if (pool <= 0 || needed <= pool / 2)
        return QString();
    const auto megabytes = [](qint64 bytes) { return QString::number(double(bytes) / (1024 * 1024), 'f', 1); };
    return STORED_TEXT("注意：%1这次操作在一个事务中改动约 %2 行，行锁约需 %3 MB，而 innodb_buffer_pool_size 只有 %4 MB；"
                          "锁放不下时服务器会在做完大部分工作后报错 1206 并全部回滚。"
                          "请先把 innodb_buffer_pool_size 调到 %5 MB 以上，或一次少处理几个区。")
        .arg(where.isEmpty() ? Message() : where + STORED_TEXT("："))
        .arg(rows)
        .arg(megabytes(needed), megabytes(pool), megabytes(needed * 2));
}

qint64 total(const QList<Count> &counts)
{
    qint64 sum = 0;
    for (const Count &count : counts)
        sum += count.missing ? 0 : count.rows;
    return sum;
}

} // namespace RowPreview
