#include "charguidledger.h"

#include "base/storedtext.h"


#include <QSqlDatabase>
#include <QSqlError>
#include <QSet>
#include <QSqlQuery>

#include <limits>

namespace {
// charguid is an INT column.
const qint64 kIdCeiling = qint64(std::numeric_limits<int>::max()) + 1;
} // namespace

bool CharGuidLedger::readCounters(QSqlDatabase &db, QMap<int, qint64> *counters, bool *worldColumn, Message *error)
{
    counters->clear();
    QSqlQuery query(db);
    query.setForwardOnly(true);
    if (!query.exec(QStringLiteral("SELECT COUNT(*) FROM information_schema.COLUMNS WHERE TABLE_SCHEMA = DATABASE() AND TABLE_NAME = 't_var' "
                                   "AND COLUMN_NAME = 'worldid'"))
        || !query.next()) {
        *error = STORED_TEXT("读取 t_var 失败: %1").arg(query.lastError().text());
        return false;
    }
    *worldColumn = query.value(0).toInt() > 0;
    if (!query.exec(*worldColumn ? QStringLiteral("SELECT worldid, maxcharguid FROM t_var ORDER BY worldid")
                                 : QStringLiteral("SELECT maxcharguid FROM t_var ORDER BY maxcharguid"))) {
        *error = STORED_TEXT("读取 t_var 失败: %1").arg(query.lastError().text());
        return false;
    }
    if (*worldColumn) {
        while (query.next()) {
            const int world = query.value(0).toInt();
            if (counters->contains(world)) {
                *error = STORED_TEXT("t_var 中 WorldID %1 有多行计数器，无法确定它的下一个角色ID").arg(world);
                counters->clear();
                return false;
            }
            counters->insert(world, query.value(1).toLongLong());
        }
        return true;
    }
    // One counter per range: the world whose characters hold most ids from the counter below up
    // to it (a character moved to another world keeps its id, and stays a minority).
    QList<qint64> values;
    while (query.next())
        values.append(query.value(0).toLongLong());
    QSqlQuery owner(db);
    owner.prepare(QStringLiteral("SELECT zoneworldid FROM t_char WHERE charguid > ? AND charguid <= ? GROUP BY zoneworldid "
                                 "ORDER BY COUNT(*) DESC, zoneworldid LIMIT 1"));
    qint64 below = 0;
    for (qint64 value : std::as_const(values)) {
        owner.bindValue(0, below);
        owner.bindValue(1, value);
        if (!owner.exec()) {
            *error = STORED_TEXT("读取角色ID失败: %1").arg(owner.lastError().text());
            counters->clear();
            return false;
        }
        if (owner.next()) {
            const int world = owner.value(0).toInt();
            if (counters->contains(world)) {
                *error = STORED_TEXT("t_var 没有 worldid 列，WorldID %1 的角色占着两段ID（计数器 %2 和 %3），无法确定它的计数器")
                             .arg(QString::number(world), QString::number(counters->value(world)), QString::number(value));
                counters->clear();
                return false;
            }
            counters->insert(world, value);
        }
        below = value;
    }
    return true;
}

QString CharGuidLedger::counterBack(int world, qint64 from, qint64 to) const
{
    return m_worldColumn ? QStringLiteral("UPDATE %1 SET maxcharguid = %2 WHERE worldid = %3 AND maxcharguid = %4")
                               .arg(QStringLiteral("%1"), QString::number(to), QString::number(world), QString::number(from))
                         : QStringLiteral("UPDATE %1 SET maxcharguid = %2 WHERE maxcharguid = %3")
                               .arg(QStringLiteral("%1"), QString::number(to), QString::number(from));
}

bool CharGuidLedger::read(QSqlDatabase &db, int lockedWorld, Message *error)
{
    m_worlds.clear();
    m_lockedColumn.clear();
    QMap<int, qint64> counters;
    if (!readCounters(db, &counters, &m_worldColumn, error))
        return false;
    QSqlQuery query(db);
    query.setForwardOnly(true);
    if (lockedWorld != kNoLock) {
        if (!counters.contains(lockedWorld)) {
            *error = STORED_TEXT("WorldID %1 在 t_var 中没有计数器").arg(lockedWorld);
            return false;
        }
        // Only the receiving world's row is locked, by a unique key: t_var is keyed by the
        // counter itself, so a lock through its worldid index would hold the gaps into which
        // the neighbouring worlds' counters move, and the game could create nobody there.
        QSet<QString> unique;
        if (!query.exec(QStringLiteral("SHOW INDEX FROM t_var"))) {
            *error = STORED_TEXT("读取 t_var 失败: %1").arg(query.lastError().text());
            return false;
        }
        QMap<QString, QStringList> indexColumns;
        while (query.next()) {
            if (query.value(1).toInt() == 0)
                indexColumns[query.value(2).toString()].append(query.value(4).toString().toLower());
        }
        for (const QStringList &columns : std::as_const(indexColumns)) {
            if (columns.size() == 1)
                unique.insert(columns.first());
        }
        const qint64 seen = counters.value(lockedWorld);
        m_lockedColumn = unique.contains(QStringLiteral("maxcharguid")) || !m_worldColumn ? QStringLiteral("maxcharguid") : QStringLiteral("worldid");
        m_lockedKey = m_lockedColumn == QLatin1String("maxcharguid") ? seen : lockedWorld;
        // A locking read sees the counter as it is now: gone from its place, the game has just
        // created a character there, and the operation is to be tried again.
        if (!query.exec(QStringLiteral("SELECT %1 FROM t_var WHERE %2 = %3 FOR UPDATE")
                            .arg(m_worldColumn ? QStringLiteral("worldid, maxcharguid") : QStringLiteral("maxcharguid, maxcharguid"),
                                 m_lockedColumn, QString::number(m_lockedKey)))) {
            *error = STORED_TEXT("读取 t_var 失败: %1").arg(query.lastError().text());
            return false;
        }
        if (!query.next() || (m_worldColumn && query.value(0).toInt() != lockedWorld)) {
            *error = STORED_TEXT("WorldID %1 的计数器刚刚被游戏改变（有新角色创建），请重试").arg(lockedWorld);
            m_lockedColumn.clear();
            return false;
        }
        counters[lockedWorld] = query.value(1).toLongLong();
    }
    for (auto it = counters.cbegin(); it != counters.cend(); ++it)
        m_worlds[it.key()].counter = it.value();

    // A world's counter may climb until it meets another world: that world's counter, or the
    // first character of another world above it.
    QSqlQuery other(db);
    other.prepare(QStringLiteral("SELECT charguid, zoneworldid FROM t_char WHERE charguid > ? AND zoneworldid <> ? ORDER BY charguid LIMIT 1"));
    for (auto it = m_worlds.begin(); it != m_worlds.end(); ++it) {
        World &world = it.value();
        world.limit = kIdCeiling;
        world.limitText = STORED_TEXT("角色ID上限 %1").arg(kIdCeiling - 1);
        for (auto o = m_worlds.cbegin(); o != m_worlds.cend(); ++o) {
            if (o.key() != it.key() && o->counter > world.counter && o->counter < world.limit) {
                world.limit = o->counter;
                world.limitText = STORED_TEXT("WorldID %1 的计数器 %2").arg(o.key()).arg(o->counter);
            }
        }
        other.bindValue(0, world.counter);
        other.bindValue(1, it.key());
        if (!other.exec()) {
            *error = STORED_TEXT("读取角色ID失败: %1").arg(other.lastError().text());
            m_worlds.clear();
            return false;
        }
        if (other.next() && other.value(0).toLongLong() < world.limit) {
            world.limit = other.value(0).toLongLong();
            world.limitText = STORED_TEXT("WorldID %1 的角色 %2").arg(other.value(1).toInt()).arg(world.limit);
        }
    }
    return true;
}

QString CharGuidLedger::worldList() const
{
    QStringList worlds;
    for (int world : m_worlds.keys())
        worlds.append(QString::number(world));
    return worlds.join(QStringLiteral(", "));
}

bool CharGuidLedger::isNextId(qint64 id) const
{
    for (const World &world : m_worlds) {
        if (id > world.counter && id < world.limit)
            return true;
    }
    return false;
}

bool CharGuidLedger::allocate(QSqlDatabase &db, int world, int count, QList<int> *ids, Message *error) const
{
    ids->clear();
    const auto it = m_worlds.constFind(world);
    if (it == m_worlds.cend()) {
        *error = STORED_TEXT("WorldID %1 在 t_var 中没有计数器（已有: %2）").arg(world).arg(worldList());
        return false;
    }
    if (count <= 0)
        return true;
    // Between the counter and the limit every character is the world's own.
    QSqlQuery taken(db);
    taken.setForwardOnly(true);
    taken.prepare(QStringLiteral("SELECT charguid FROM t_char WHERE charguid > ? AND charguid < ? ORDER BY charguid"));
    taken.bindValue(0, it->counter);
    taken.bindValue(1, it->limit);
    if (!taken.exec()) {
        *error = STORED_TEXT("读取角色ID失败: %1").arg(taken.lastError().text());
        return false;
    }
    qint64 candidate = it->counter + 1;
    while (ids->size() < count && taken.next()) {
        const qint64 next = taken.value(0).toLongLong();
        for (; candidate < next && ids->size() < count; ++candidate)
            ids->append(int(candidate));
        candidate = next + 1;
    }
    for (; candidate < it->limit && ids->size() < count; ++candidate)
        ids->append(int(candidate));
    if (ids->size() < count) {
        *error = STORED_TEXT("WorldID %1 的角色ID不足：需要 %2 个新ID，计数器 %3 之后只有 %4 个空闲ID，再往上是%5")
                     .arg(world).arg(count).arg(it->counter).arg(ids->size()).arg(it->limitText);
        ids->clear();
        return false;
    }
    return true;
}

bool CharGuidLedger::setCounter(QSqlDatabase &db, int world, qint64 value, Message *error)
{
    QSqlQuery query(db);
    const bool byLock = !m_lockedColumn.isEmpty() && m_worlds.contains(world);
    if (!m_worldColumn) {
        // Without worldid the row is its counter's value.
        query.prepare(QStringLiteral("UPDATE t_var SET maxcharguid = ? WHERE maxcharguid = ?"));
        query.addBindValue(value);
        query.addBindValue(byLock ? m_lockedKey : m_worlds.value(world).counter);
    } else {
        query.prepare(byLock ? QStringLiteral("UPDATE t_var SET maxcharguid = ? WHERE %1 = ? AND worldid = ?").arg(m_lockedColumn)
                             : QStringLiteral("UPDATE t_var SET maxcharguid = ? WHERE worldid = ?"));
        query.addBindValue(value);
        if (byLock)
            query.addBindValue(m_lockedKey);
        query.addBindValue(world);
    }
    if (!query.exec()) {
        *error = STORED_TEXT("更新 WorldID %1 的 maxcharguid 失败: %2").arg(world).arg(query.lastError().text());
        return false;
    }
    if (query.numRowsAffected() != 1) {
        *error = STORED_TEXT("更新 WorldID %1 的 maxcharguid 失败: 改变了 %2 行").arg(world).arg(query.numRowsAffected());
        return false;
    }
    return true;
}
