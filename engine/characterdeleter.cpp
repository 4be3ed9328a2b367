#include "characterdeleter.h"

#include "characterpurge.h"
#include "charactertables.h"
#include "charguidledger.h"
#include "db/databasemanager.h"
#include "db/sqlcolumns.h"
#include "base/storedtext.h"
#include "undoabletransaction.h"

#include <QSet>
#include <QSqlError>
#include <QSqlQuery>

#include <algorithm>

CharacterDeleter::CharacterDeleter(QSqlDatabase db, const OperationContext &context)
    : m_db(db)
    , m_context(context)
{
}

QStringList CharacterDeleter::relatedTables()
{
    return characterDeleteTables;
}

bool CharacterDeleter::fail(const Message &message)
{
    m_error = message;
    m_context.log(STORED_TEXT("错误: ") + message);
    return false;
}

bool CharacterDeleter::deleteByZoneWorldIds(const QList<int> &worldIds, int *deleted)
{
    *deleted = 0;
    m_error.clear();
    if (!m_db.isOpen())
        return fail(STORED_TEXT("未连接到数据库"));

    m_context.log(STORED_TEXT("开始删除 zoneworldid IN (%1) 的角色数据...").arg(idListText(worldIds)));
    m_undoPath.clear();

    if (worldIds.isEmpty()) {
        m_context.log(STORED_TEXT("没有找到符合条件的角色"));
        return true;
    }
    Message error;
    QSqlDatabase &db = m_db;
    // Created before the transaction, whatever the number of characters it then finds.
    CharacterPurge::IdTable idTable(db);
    if (!idTable.create(&error))
        return fail(error);
    UndoableTransaction transaction(db);
    transaction.setLog([this](const Message &line) { m_context.log(line); });
    if (!transaction.begin(STORED_TEXT("区服删档 WorldID %1").arg(idListText(worldIds)), m_writeUndo, &error))
        return fail(error);
    // The zone's characters now, locked: what the deletion removes and the report counts.
    QList<int> guids;
    if (!CharacterPurge::lockWorldCharacters(db, worldIds, &guids, &error))
        return fail(STORED_TEXT("查询角色失败: ") + error);
    if (guids.isEmpty()) {
        transaction.rollback();
        m_context.log(STORED_TEXT("没有找到符合条件的角色"));
        return true;
    }
    m_context.log(STORED_COUNT("找到 %Ln 个角色需要删除").count(guids.size()));
    if (m_afterLocking && !m_afterLocking(db, transaction.undo(), &error))
        return fail(error);
    CharacterPurge::Outcome outcome;
    if (!CharacterPurge::deleteCharacters(db, guids, characterDeleteTables, transaction.undo(), m_context, &outcome))
        return fail(outcome.cancelled ? STORED_TEXT("已取消，所有删除已回滚") : purgeFailure(outcome));
    if ((m_beforeCommit && !m_beforeCommit(db, transaction.undo(), &error)) || !transaction.commit(&error))
        return fail(error);
    m_undoPath = transaction.undoPath();
    if (!m_undoPath.isEmpty())
        m_context.log(STORED_TEXT("撤销文件: %1").arg(m_undoPath));
    m_context.log(STORED_COUNT("删除完成！共删除 %Ln 条记录").count(outcome.rows));
    *deleted = int(outcome.characters);
    return true;
}

Message CharacterDeleter::purgeFailure(const CharacterPurge::Outcome &outcome)
{
    if (outcome.failedTable.isEmpty())
        return STORED_TEXT("读取表清单失败: ") + outcome.error;
    switch (outcome.failedStep) {
    case CharacterPurge::Step::ReverseRelations:
        return STORED_TEXT("清理 t_relation 反向关系失败: %1").arg(outcome.error);
    case CharacterPurge::Step::Characters:
        return STORED_TEXT("删除 t_char 失败: %1").arg(outcome.error);
    case CharacterPurge::Step::Table:
        break;
    }
    return STORED_TEXT("删除 %1 失败: %2").arg(outcome.failedTable, outcome.error);
}


int CharacterDeleter::duplicateGroups(QSqlDatabase &db, const DuplicateRepairTable &repair, int charguid)
{
    QSqlQuery query(db);
    if (!query.exec(QStringLiteral("SELECT COUNT(*) FROM (  SELECT %1 FROM %2 WHERE charguid = %3 GROUP BY %1 "
                                   "HAVING COUNT(*) > 1) AS dup")
                        .arg(repair.keyColumns, repair.tableName, QString::number(charguid)))
        || !query.next())
        return 0;
    return query.value(0).toInt();
}

int CharacterDeleter::repairCharacterDuplicates(int charguid)
{
    m_error.clear();
    if (!m_db.isOpen())
        return fail(STORED_TEXT("未连接到数据库")), -1;
    m_context.log(STORED_TEXT("[单角色异常修复] 开始修复 CharGUID=%1...").arg(charguid));
    m_undoPath.clear();

    QSqlDatabase &db = m_db;
    QList<DuplicateRepairTable> repairs;
    for (const DuplicateRepairTable &repair : duplicateRepairSpecs) {
        if (duplicateGroups(db, repair, charguid) > 0)
            repairs.append(repair);
    }
    if (repairs.isEmpty()) {
        m_context.log(STORED_TEXT("[单角色异常修复] CharGUID=%1 没有发现重复数据").arg(charguid));
        return 0;
    }
    // The survivors wait in temporary tables, created before the transaction: servers that
    // enforce GTID consistency refuse to create one inside it.
    QSqlQuery query(db);
    auto holding = [](int index) { return QStringLiteral("quorvel_repair_%1").arg(index); };
    auto dropHolding = [&]() {
        for (int i = 0; i < repairs.size(); ++i)
            query.exec(QStringLiteral("DROP TEMPORARY TABLE IF EXISTS %1").arg(holding(i)));
    };
    dropHolding();
    for (int i = 0; i < repairs.size(); ++i) {
        if (!query.exec(QStringLiteral("CREATE TEMPORARY TABLE %1 LIKE %2").arg(holding(i), repairs.at(i).tableName))) {
            fail(STORED_TEXT("查询%1失败: %2").arg(repairs.at(i).displayName, query.lastError().text()));
            dropHolding();
            return -1;
        }
    }
    const int deleted = repairIn(repairs, charguid, holding);
    dropHolding();
    if (deleted < 0)
        return -1;
    m_context.log(STORED_TEXT("[单角色异常修复] 完成！共删除 %1 条重复记录").arg(deleted));
    return deleted;
}

int CharacterDeleter::repairIn(const QList<DuplicateRepairTable> &repairs, int charguid, const std::function<QString(int)> &holding)
{
    QSqlDatabase &db = m_db;
    Message error;
    UndoableTransaction transaction(db);
    if (!transaction.begin(STORED_TEXT("修复技能 CharGUID %1").arg(charguid), m_writeUndo, &error))
        return fail(error), -1;
    UndoFile *undo = transaction.undo();
    int deleted = 0;
    QSqlQuery query(db);
    for (int index = 0; index < repairs.size(); ++index) {
        const DuplicateRepairTable &repair = repairs.at(index);
        if (m_context.cancelled())
            return fail(STORED_TEXT("已取消，所有修改已回滚")), -1;
        const int groups = duplicateGroups(db, repair, charguid);
        if (groups <= 0)
            continue;
        m_context.log(STORED_TEXT("[%1] 发现 %2 组重复，开始修复...").arg(repair.displayName).arg(groups));

        QStringList keys = repair.keyColumns.split(QLatin1Char(','), Qt::SkipEmptyParts);
        for (QString &key : keys)
            key = key.trimmed();
        QStringList sameKey;
        for (const QString &key : std::as_const(keys))
            sameKey.append(QStringLiteral("t1.%1 = t2.%1").arg(key));
        // The undo removes the rows the repair writes and puts the character's old ones back.
        if (undo && undo->saveRows(db, repair.tableName, QStringLiteral("charguid = ?"), {charguid}, &error) < 0) {
            return fail(error), -1;
        }
        if (!query.exec(QStringLiteral("DELETE t1 FROM %1 t1 INNER JOIN %1 t2 ON t1.charguid = t2.charguid AND %2 "
                                       "AND t1.aid > t2.aid WHERE t1.charguid = %3")
                            .arg(repair.tableName, sameKey.join(QStringLiteral(" AND "))).arg(charguid))) {
            return fail(STORED_TEXT("删除重复%1失败: %2").arg(repair.displayName, query.lastError().text())), -1;
        }
        const int removed = query.numRowsAffected();
        deleted += removed;

        // The survivors keep every column but aid, byte for byte and with their NULLs; the
        // server copies them, so nothing passes through a text conversion.
        QSqlError columnError;
        const QList<Sql::Column> columns = Sql::withoutColumn(Sql::readColumns(db, repair.tableName, &columnError), QStringLiteral("aid"));
        if (columns.isEmpty()) {
            return fail(STORED_TEXT("查询%1失败: %2").arg(repair.displayName, columnError.text())), -1;
        }
        QStringList names;
        for (const Sql::Column &column : columns) {
            if (!column.generated)
                names.append(Sql::quoted(column.name));
        }
        const QString columnList = names.join(QStringLiteral(", "));
        if (!query.exec(QStringLiteral("INSERT INTO %1 (%2) SELECT %2 FROM %3 WHERE charguid = %4")
                            .arg(holding(index), columnList, repair.tableName, QString::number(charguid)))) {
            return fail(STORED_TEXT("查询%1失败: %2").arg(repair.displayName, query.lastError().text())), -1;
        }
        const int survivors = query.numRowsAffected();
        if (!query.exec(QStringLiteral("DELETE FROM %1 WHERE charguid = %2").arg(repair.tableName).arg(charguid))) {
            return fail(STORED_TEXT("删除%1失败: %2").arg(repair.displayName, query.lastError().text())), -1;
        }
        if (!query.exec(QStringLiteral("INSERT INTO %1 (%2) SELECT %2 FROM %3 ORDER BY %4")
                            .arg(repair.tableName, columnList, holding(index), keys.join(QStringLiteral(", "))))) {
            return fail(STORED_TEXT("批量插入%1失败: %2").arg(repair.displayName, query.lastError().text())), -1;
        }
        if (undo && undo->saveAdded(db, repair.tableName, QStringLiteral("aid"), QStringLiteral("charguid = ?"), {charguid}, &error) < 0) {
            return fail(error), -1;
        }
        m_context.log(STORED_TEXT("[%1] 删除 %2 条重复，重排 %3 条记录").arg(repair.displayName).arg(removed).arg(survivors));
    }
    if (!transaction.commit(&error)) {
        return fail(error), -1;
    }
    m_undoPath = transaction.undoPath();
    if (!m_undoPath.isEmpty())
        m_context.log(STORED_TEXT("撤销文件: %1").arg(m_undoPath));
    return deleted;
}

bool CharacterDeleter::deleteCharacter(int charguid, Message *error)
{
    m_context.log(STORED_TEXT("开始删除角色 CharGUID=%1").arg(charguid));
    m_undoPath.clear();
    QSqlDatabase &db = m_db;
    UndoableTransaction transaction(db);
    if (!transaction.begin(STORED_TEXT("删除角色 CharGUID %1").arg(charguid), m_writeUndo, error)) {
        m_context.log(*error);
        return false;
    }
    CharacterPurge::Outcome outcome;
    const bool deleted = CharacterPurge::deleteCharacters(db, {charguid}, characterDeleteTables, transaction.undo(), m_context, &outcome);
    if (!deleted || outcome.characters == 0) {
        *error = deleted ? STORED_TEXT("未找到要删除的角色") : purgeFailure(outcome);
        m_context.log(*error);
        return false;
    }
    if (!transaction.commit(error)) {
        m_context.log(*error);
        return false;
    }
    m_undoPath = transaction.undoPath();
    if (!m_undoPath.isEmpty())
        m_context.log(STORED_TEXT("撤销文件: %1").arg(m_undoPath));
    m_context.log(STORED_TEXT("角色 %1 删除成功").arg(charguid));
    return true;
}

