#include "rowpreview.h"

#include "charactercopier.h"
#include "characterpurge.h"
#include "charactertables.h"
#include "db/sqlcolumns.h"
#include "db/storedtext.h"

#include <QFile>
#include <QFileInfo>
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
    QString error;
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
    QString error;
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

QStringList lines(const QList<Count> &counts, bool nonEmptyOnly)
{
    QStringList lines;
    for (const Count &count : counts) {
        if (nonEmptyOnly && count.error.isEmpty() && (count.missing || count.rows == 0))
            continue;
        if (count.missing)
            lines.append(STORED_TEXT("  跳过 %1: 表不存在").arg(count.table));
        else if (!count.error.isEmpty())
            lines.append(STORED_TEXT("  %1: 统计失败: %2").arg(count.table, count.error));
        else
            lines.append(STORED_TEXT("  %1: %2 条记录").arg(count.table).arg(count.rows));
    }
    return lines;
}

QString liveGameWarning(QSqlDatabase &db, const QStringList &databases, const QStringList &accountDatabases)
{
    QStringList names;
    for (const QString &database : databases + accountDatabases)
        names.append(Sql::bytesLiteral(database.toUtf8(), QStringLiteral("utf8mb4")));
    QSqlQuery query(db);
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
    if (sessions == 0 && online == 0)
        return QString();
    return STORED_TEXT("注意：游戏可能仍在运行：%1 个其他客户端连接正在使用这些数据库，%2 个账号标记为在线。建议先停服再操作。")
        .arg(sessions)
        .arg(online);
}

QString lockWarning(QSqlDatabase &db, qint64 rows, const QString &where)
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
        .arg(where.isEmpty() ? QString() : where + STORED_TEXT("："))
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

namespace RestorePreview {

namespace {
// Counts the rows of "INSERT INTO `t` VALUES (...),(...);" statements, which the dump tools
// write on one line or with a row per line: top-level parentheses, quotes and escapes skipped.
class TupleCounter
{
public:
    // Feeds a line of the statement; false once the statement has ended.
    bool feed(const QByteArray &line, qsizetype from)
    {
        for (qsizetype i = from; i < line.size(); ++i) {
            const char c = line.at(i);
            if (m_quote) {
                if (c == '\\')
                    ++i;
                else if (c == m_quote)
                    m_quote = 0;
            } else if (c == '\'' || c == '"') {
                m_quote = c;
            } else if (c == '(') {
                if (m_depth++ == 0)
                    ++m_tuples;
            } else if (c == ')') {
                --m_depth;
            } else if (c == ';' && m_depth == 0) {
                return false;
            }
        }
        return true;
    }
    qint64 tuples() const { return m_tuples; }

private:
    qint64 m_tuples = 0;
    int m_depth = 0;
    char m_quote = 0;
};

QString tableName(const QByteArray &line, qsizetype from)
{
    const qsizetype open = line.indexOf('`', from);
    const qsizetype close = open < 0 ? -1 : line.indexOf('`', open + 1);
    return close < 0 ? QString() : QString::fromUtf8(line.mid(open + 1, close - open - 1));
}
} // namespace

bool scan(const QString &dumpFile, Dump *dump, QString *error)
{
    *dump = Dump();
    QFile file(dumpFile);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = STORED_TEXT("无法读取备份文件 %1: %2").arg(dumpFile, file.errorString());
        return false;
    }
    QByteArray last;
    while (!file.atEnd()) {
        const QByteArray line = file.readLine();
        if (!line.trimmed().isEmpty())
            last = line;
        if (line.startsWith("CREATE TABLE ")) {
            dump->rows.insert(tableName(line, 13), dump->rows.value(tableName(line, 13), 0));
        } else if (line.startsWith("CREATE DATABASE ") || line.startsWith("USE ")) {
            dump->databases.append(tableName(line, 0));
        } else {
            // mysqldump writes INSERT, and with --insert-ignore or --replace these.
            qsizetype prefix = 0;
            for (const char *statement : {"INSERT INTO ", "INSERT IGNORE INTO ", "REPLACE INTO "}) {
                if (line.startsWith(statement))
                    prefix = qstrlen(statement);
            }
            if (prefix == 0)
                continue;
            TupleCounter counter;
            bool open = counter.feed(line, line.indexOf(" VALUES") + 7);
            while (open && !file.atEnd())
                open = counter.feed(file.readLine(), 0);
            dump->rows[tableName(line, prefix)] += counter.tuples();
        }
    }
    dump->databases.removeDuplicates();
    dump->complete = last.startsWith("-- Dump completed");
    return true;
}

bool dumpCompleted(const QString &dumpFile)
{
    QFile file(dumpFile);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    file.seek(qMax<qint64>(0, file.size() - 4096));
    const QList<QByteArray> lines = file.readAll().trimmed().split('\n');
    return lines.last().startsWith("-- Dump completed");
}

QString refusal(const Dump &dump, const QString &dumpFile, const QString &database)
{
    if (!dump.complete)
        return STORED_TEXT("%1 不是完整的备份（没有 mysqldump 结尾的 \"-- Dump completed\"，可能是失败或中断的备份），拒绝恢复")
            .arg(QFileInfo(dumpFile).fileName());
    for (const QString &named : dump.databases) {
        if (named != database)
            return STORED_TEXT("%1 会写入数据库 %2（文件中有 CREATE DATABASE/USE），而不是要恢复的 %3，拒绝恢复")
                .arg(QFileInfo(dumpFile).fileName(), named, database);
    }
    return QString();
}

QList<Table> compare(QSqlDatabase &db, const QString &dumpFile, QString *error)
{
    Dump dump;
    if (!scan(dumpFile, &dump, error))
        return {};
    QSqlQuery current(db);
    const QString database = current.exec(QStringLiteral("SELECT DATABASE()")) && current.next() ? current.value(0).toString() : QString();
    if (const QString refused = refusal(dump, dumpFile, database); !refused.isEmpty()) {
        *error = refused;
        return {};
    }
    const QMap<QString, qint64> &inFile = dump.rows;
    QMap<QString, qint64> now;
    QSqlQuery query(db);
    QStringList tables;
    if (query.exec(QStringLiteral("SELECT table_name FROM information_schema.tables WHERE table_schema = DATABASE() AND table_type = 'BASE TABLE'"))) {
        while (query.next())
            tables.append(query.value(0).toString());
    }
    for (const QString &table : std::as_const(tables)) {
        if (query.exec(QStringLiteral("SELECT COUNT(*) FROM `%1`").arg(QString(table).replace(QLatin1Char('`'), QStringLiteral("``"))))
            && query.next())
            now.insert(table, query.value(0).toLongLong());
    }
    QList<Table> result;
    QStringList names = now.keys() + inFile.keys();
    names.removeDuplicates();
    names.sort();
    for (const QString &name : std::as_const(names))
        result.append({name, now.value(name, -1), inFile.value(name, -1)});
    return result;
}

QStringList lines(const QList<Table> &tables)
{
    QStringList lines;
    for (const Table &table : tables) {
        if (table.file < 0)
            lines.append(STORED_TEXT("  %1: 现有 %2 条，文件中没有此表，保持不变").arg(table.name).arg(table.now));
        else if (table.now < 0)
            lines.append(STORED_TEXT("  %1: 现在没有此表 → 恢复后 %2 条").arg(table.name).arg(table.file));
        else
            lines.append(STORED_TEXT("  %1: 现有 %2 条 → 恢复后 %3 条").arg(table.name).arg(table.now).arg(table.file));
    }
    return lines;
}

} // namespace RestorePreview
