#include "characterpurge.h"

#include "db/connectionrule.h"
#include "base/storedtext.h"
#include "undofile.h"

#include <QSet>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

#include <condition_variable>
#include <mutex>
#include <thread>

namespace CharacterPurge {

namespace {
const QString kIdTable = QStringLiteral("quorvel_purge_ids");
const QString kPartnerTable = QStringLiteral("quorvel_purge_partners");  // the same ids, for a second reference

// Fills the temporary table (just created, empty) with the ids, in slices; false with *error.
bool fillIdTable(QSqlDatabase &db, const QList<int> &ids, Message *error)
{
    QSqlQuery query(db);
    qsizetype preparedSize = -1;
    for (qsizetype start = 0; start < ids.size(); start += kSliceSize) {
        const qsizetype size = qMin<qsizetype>(kSliceSize, ids.size() - start);
        if (size != preparedSize
            && !query.prepare(QStringLiteral("INSERT IGNORE INTO %1 (charguid) VALUES %2")
                                  .arg(kIdTable, QStringList(size, QStringLiteral("(?)")).join(QLatin1Char(','))))) {
            *error = query.lastError().text();
            return false;
        }
        preparedSize = size;
        for (qsizetype i = 0; i < size; ++i)
            query.bindValue(int(i), ids.at(start + i));
        if (!query.exec()) {
            *error = query.lastError().text();
            return false;
        }
    }
    return true;
}

// Deletes the rows of `table` whose `column` is one of the ids: by one join against the id
// table, or in slices of bound ids. With an undo file, each statement's rows are written to it
// first, under the lock the deletion then takes. The affected rows, or -1 with *error.
qint64 deleteRows(QSqlDatabase &db, const QString &table, const QString &column, const QList<int> &ids, bool joined,
                  bool trailing, UndoFile *undo, const OperationContext &context, Message *error, bool *cancelled)
{
    qint64 affected = 0;
    QSqlQuery query(db);
    qsizetype preparedSize = -1;
    const qsizetype step = joined ? ids.size() : kSliceSize;
    for (qsizetype start = 0; start < ids.size(); start += step) {
        if (context.cancelled()) {
            *cancelled = true;
            return -1;
        }
        const qsizetype size = qMin<qsizetype>(step, ids.size() - start);
        QVariantList values;
        QString where = QStringLiteral("%1 IN (SELECT charguid FROM %2)").arg(column, kIdTable);
        if (!joined) {
            where = QStringLiteral("%1 IN (%2)").arg(column, QStringList(size, QStringLiteral("?")).join(QLatin1Char(',')));
            for (qsizetype i = 0; i < size; ++i)
                values.append(ids.at(start + i));
        }
        if (undo && !trailing
            && undo->saveRows(db, table, where, values, error, QString(),
                                    table == QLatin1String("t_char") ? QStringLiteral("charguid") : QString()) < 0)
            return -1;
        if (joined) {
            if (!query.exec(QStringLiteral("DELETE t FROM %1 t JOIN %2 d ON t.%3 = d.charguid").arg(table, kIdTable, column))) {
                *error = query.lastError().text();
                return -1;
            }
        } else {
            if (size != preparedSize && !query.prepare(QStringLiteral("DELETE FROM %1 WHERE %2").arg(table, where))) {
                *error = query.lastError().text();
                return -1;
            }
            preparedSize = size;
            for (qsizetype i = 0; i < size; ++i)
                query.bindValue(int(i), values.at(i));
            if (!query.exec()) {
                *error = query.lastError().text();
                return -1;
            }
        }
        affected += query.numRowsAffected();
    }
    return affected;
}
// Writes the undo file's rows of each table on a connection of its own while the operation's
// connection deletes the next table, so that reading and writing the rows costs little beyond
// the deletion. Each table is read in a snapshot taken after its deletion: the deletion has not
// committed, so the snapshot still sees the rows it removed, and since the deletion holds them
// and the gaps around their ids locked, it sees exactly those rows.
class TrailingUndoReader
{
public:
    TrailingUndoReader(const QSqlDatabase &db, const QList<int> &ids, UndoFile *undo)
        : m_source(db.connectionName())
        , m_name(QStringLiteral("quorvel_undo_reader_%1").arg(quintptr(this)))
        , m_ids(ids)
        , m_undo(undo)
        , m_thread([this] { work(); })
    {
    }
    ~TrailingUndoReader()
    {
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_closing = true;
            m_queue.clear();
        }
        m_wake.notify_all();
        if (m_thread.joinable())
            m_thread.join();
    }
    TrailingUndoReader(const TrailingUndoReader &) = delete;
    TrailingUndoReader &operator=(const TrailingUndoReader &) = delete;

    // After `table` was deleted from by `column`: reads those rows into the undo file.
    void read(const QString &table, const QString &column)
    {
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_queue.append({table, column});
        }
        m_wake.notify_all();
    }
    // Waits until every table asked for is in the file; false with *error when one is not.
    bool finish(Message *error)
    {
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_closing = true;
        }
        m_wake.notify_all();
        m_thread.join();
        *error = m_error;
        return m_error.isEmpty();
    }

private:
    void work()
    {
        {
            QSqlDatabase db = QSqlDatabase::cloneDatabase(m_source, m_name);
            Message error;
            QSqlQuery query(db);
            // Its temporary tables before any transaction (servers that enforce GTID consistency).
            const auto prepare = [&] {
                if (!db.open()) {
                    error = db.lastError().text();
                    return;
                }
                if (QString sessionError; !applyWorkSession(db, &sessionError)) {
                    error = sessionError;
                    return;
                }
                if (!query.exec(QStringLiteral("CREATE TEMPORARY TABLE %1 (charguid INT PRIMARY KEY)").arg(kIdTable))
                    || (fillIdTable(db, m_ids, &error)
                        && !query.exec(QStringLiteral("CREATE TEMPORARY TABLE %1 (charguid INT PRIMARY KEY) SELECT charguid FROM %2")
                                           .arg(kPartnerTable, kIdTable))))
                    error = query.lastError().text();
            };
            prepare();
            m_undo->setLockingReads(false);
            while (error.isEmpty()) {
                QPair<QString, QString> next;
                {
                    std::unique_lock<std::mutex> lock(m_mutex);
                    m_wake.wait(lock, [this] { return m_closing || !m_queue.isEmpty(); });
                    if (m_queue.isEmpty())
                        break;
                    next = m_queue.takeFirst();
                }
                query.exec(QStringLiteral("COMMIT"));
                if (!query.exec(QStringLiteral("START TRANSACTION WITH CONSISTENT SNAPSHOT"))) {
                    error = query.lastError().text();
                    break;
                }
                // The snapshot sees every row this deletion removed so far: relations whose
                // own character went in an earlier step are not the reverse step's.
                QString where = QStringLiteral("%1 IN (SELECT charguid FROM %2)").arg(next.second, kIdTable);
                if (next.second != QLatin1String("charguid"))
                    where += QStringLiteral(" AND charguid NOT IN (SELECT charguid FROM %1)").arg(kPartnerTable);
                m_undo->saveRows(db, next.first, where, {}, &error, QString(),
                                 next.first == QLatin1String("t_char") ? QStringLiteral("charguid") : QString());
            }
            m_undo->setLockingReads(true);
            if (db.isOpen()) {
                query.exec(QStringLiteral("COMMIT"));
                query.exec(QStringLiteral("DROP TEMPORARY TABLE IF EXISTS %1, %2").arg(kIdTable, kPartnerTable));
            }
            query = QSqlQuery();
            db.close();
            m_error = error.isEmpty() ? QString() : STORED_TEXT("撤销文件读取失败: %1").arg(error).stored();
        }
        QSqlDatabase::removeDatabase(m_name);
    }

    const QString m_source;
    const QString m_name;
    const QList<int> m_ids;
    UndoFile *const m_undo;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    QList<QPair<QString, QString>> m_queue;
    bool m_closing = false;
    QString m_error;
    std::thread m_thread;
};

} // namespace

IdTable::IdTable(QSqlDatabase db)
    : m_db(db)
{
}

IdTable::~IdTable()
{
    if (m_created)
        QSqlQuery(m_db).exec(QStringLiteral("DROP TEMPORARY TABLE IF EXISTS %1").arg(kIdTable));
}

bool IdTable::create(Message *error)
{
    QSqlQuery query(m_db);
    query.exec(QStringLiteral("DROP TEMPORARY TABLE IF EXISTS %1").arg(kIdTable));
    if (!query.exec(QStringLiteral("CREATE TEMPORARY TABLE %1 (charguid INT PRIMARY KEY)").arg(kIdTable))) {
        *error = query.lastError().text();
        return false;
    }
    m_created = true;
    return true;
}

bool lockWorldCharacters(QSqlDatabase &db, const QList<int> &worlds, QList<int> *ids, Message *error)
{
    ids->clear();
    QStringList list;
    for (int world : worlds)
        list.append(QString::number(world));
    QSqlQuery query(db);
    query.setForwardOnly(true);
    const auto read = [&](const QString &sql, QList<int> *into) {
        if (!query.exec(sql)) {
            *error = query.lastError().text();
            return false;
        }
        while (query.next())
            into->append(query.value(0).toInt());
        return true;
    };
    // Without an index on the world, a locking read would lock every row it looks at: the whole
    // table, for as long as the wipe runs.
    const bool indexed = query.exec(QStringLiteral("SELECT COUNT(*) FROM information_schema.STATISTICS WHERE TABLE_SCHEMA = DATABASE() "
                                                   "AND TABLE_NAME = 't_char' AND COLUMN_NAME = 'zoneworldid' AND SEQ_IN_INDEX = 1"))
        && query.next() && query.value(0).toInt() > 0;
    const QString inWorlds = QStringLiteral("zoneworldid IN (%1)").arg(list.join(QLatin1Char(',')));
    if (indexed)
        return read(QStringLiteral("SELECT charguid FROM t_char WHERE %1 FOR UPDATE").arg(inWorlds), ids);
    QList<int> candidates;
    if (!read(QStringLiteral("SELECT charguid FROM t_char WHERE %1").arg(inWorlds), &candidates))
        return false;
    for (qsizetype start = 0; start < candidates.size(); start += kSliceSize) {
        QStringList slice;
        for (int id : candidates.mid(start, kSliceSize))
            slice.append(QString::number(id));
        if (!read(QStringLiteral("SELECT charguid FROM t_char WHERE charguid IN (%1) AND %2 FOR UPDATE").arg(slice.join(QLatin1Char(',')), inWorlds),
                  ids))
            return false;
    }
    return true;
}

bool existingTables(QSqlDatabase &db, const QStringList &tables, QStringList *existing, Message *error)
{
    QSqlQuery query(db);
    query.setForwardOnly(true);
    if (!query.exec(QStringLiteral("SELECT table_name FROM information_schema.tables WHERE table_schema = DATABASE()"))) {
        *error = query.lastError().text();
        return false;
    }
    // Servers on Windows fold table names to lower case.
    QSet<QString> present;
    while (query.next())
        present.insert(query.value(0).toString().toLower());
    existing->clear();
    for (const QString &table : tables) {
        if (present.contains(table.toLower()))
            existing->append(table);
    }
    return true;
}

bool deleteCharacters(QSqlDatabase &db, const QList<int> &ids, const QStringList &tables, UndoFile *undo,
                      const OperationContext &context, Outcome *outcome)
{
    *outcome = Outcome();
    QStringList present;
    if (!existingTables(db, tables + QStringList{QStringLiteral("t_relation")}, &present, &outcome->error))
        return false;
    // The undo puts these ids back: it first checks that nobody has taken one since.
    if (undo)
        undo->addCharacterIds(ids);
    struct Item
    {
        Step kind;
        QString table;
        QString column;
    };
    // Beyond one slice, the ids go into a temporary table once and each table is deleted from
    // by one join: the server's own fastest way, without a statement per slice and table.
    const bool joined = ids.size() > kSliceSize;
    if (joined && !fillIdTable(db, ids, &outcome->error))
        return false;
    // Rows of many characters go into the undo file from a second connection, meanwhile. The
    // characters' own rows are locked here and read first, while the other tables are deleted
    // from: nobody can change them before their deletion at the end, and the file is not left
    // waiting for the widest table after it.
    std::unique_ptr<TrailingUndoReader> reader;
    if (joined && undo) {
        QSqlQuery lock(db);
        if (!lock.exec(QStringLiteral("SELECT t.charguid FROM t_char t JOIN %1 d ON t.charguid = d.charguid FOR UPDATE").arg(kIdTable))) {
            outcome->error = lock.lastError().text();
            return false;
        }
        reader = std::make_unique<TrailingUndoReader>(db, ids, undo);
        reader->read(QStringLiteral("t_char"), QStringLiteral("charguid"));
    }
    QList<Item> steps;
    for (const QString &table : tables)
        steps.append({Step::Table, table, QStringLiteral("charguid")});
    steps.append({Step::ReverseRelations, QStringLiteral("t_relation"), QStringLiteral("fguid")});
    steps.append({Step::Characters, QStringLiteral("t_char"), QStringLiteral("charguid")});
    for (int i = 0; i < steps.size(); ++i) {
        const Item &item = steps.at(i);
        const bool reverse = item.kind == Step::ReverseRelations;
        context.progress(reverse ? STORED_TEXT("t_relation(反向)") : Message(item.table), i + 1, steps.size());
        if (item.kind != Step::Characters && !present.contains(item.table)) {
            // A missing t_relation is reported once, as a table of the list.
            if (!reverse)
                context.log(STORED_TEXT("  跳过 %1: 表不存在").arg(item.table));
            continue;
        }
        const qint64 rows = deleteRows(db, item.table, item.column, ids, joined, reader != nullptr, undo, context,
                                       &outcome->error, &outcome->cancelled);
        if (rows < 0) {
            outcome->failedStep = item.kind;
            outcome->failedTable = item.table;
            return false;
        }
        outcome->rows += rows;
        if (item.kind == Step::Characters)
            outcome->characters = rows;
        if (reader && item.kind != Step::Characters)
            reader->read(item.table, item.column);
        context.log(reverse ? STORED_TEXT("  清理 t_relation(反向关系): %1 条记录").arg(rows)
                            : STORED_COUNT("  删除 %1: %Ln 条记录").count(rows).arg(item.table));
    }
    if (reader && !reader->finish(&outcome->error)) {
        outcome->failedStep = Step::Characters;
        outcome->failedTable = QStringLiteral("t_char");
        return false;
    }
    return true;
}

} // namespace CharacterPurge
