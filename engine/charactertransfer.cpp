#include "charactertransfer.h"

#include "base/storedtext.h"
#include "characterpurge.h"
#include "charactertables.h"
#include "charguidledger.h"
#include "db/databasemanager.h"
#include "undoabletransaction.h"
#include "undofile.h"

#include <QSqlError>
#include <QSqlQuery>

#include <algorithm>

namespace CharacterTransfer {

bool moveToWorld(QSqlDatabase &db, UndoFile *undo, int charguid, int worldId, const OperationContext &context, Message *error)
{
    QStringList present;
    if (!CharacterPurge::existingTables(db, worldColumnTables, &present, error) || !checkTargetWorld(db, worldId, error)) {
        context.log(*error);
        return false;
    }

    // The undo sets the world columns back by key, on the rows as they are then.
    if (undo) {
        if (undo->saveColumns(db, QStringLiteral("t_char"), QStringLiteral("charguid"), {QStringLiteral("zoneworldid")},
                              QStringLiteral("charguid = ?"), {charguid}, error) < 0)
            return false;
        for (const QString &table : worldColumnTables) {
            if (present.contains(table)
                && undo->saveColumns(db, table, QStringLiteral("aid"), {QStringLiteral("world")}, QStringLiteral("charguid = ?"), {charguid},
                                     error) < 0)
                return false;
        }
    }
    QSqlQuery query(db);
    auto update = [&](const QString &sql) -> qint64 {
        query.prepare(sql);
        query.addBindValue(worldId);
        query.addBindValue(charguid);
        if (!query.exec()) {
            *error = query.lastError().text();
            return -1;
        }
        return query.numRowsAffected();
    };
    const qint64 characters = update(QStringLiteral("UPDATE t_char SET zoneworldid = ? WHERE charguid = ?"));
    if (characters < 0) {
        context.log(STORED_TEXT("更新t_char失败: %1").arg(*error));
        return false;
    }
    if (characters == 0) {
        *error = STORED_TEXT("未找到要转移的角色");
        context.log(STORED_TEXT("警告: 未找到要转移的角色"));
        return false;
    }
    context.log(STORED_TEXT("✓ t_char更新成功 (影响%1行)").arg(characters));

    const QStringList what = {STORED_TEXT("装备"), STORED_TEXT("时装"), STORED_TEXT("珍兽装备")};
    for (int i = 0; i < worldColumnTables.size(); ++i) {
        const QString &table = worldColumnTables.at(i);
        if (!present.contains(table)) {
            context.log(STORED_TEXT("跳过 %1: 表不存在").arg(table));
            continue;
        }
        const qint64 rows = update(QStringLiteral("UPDATE %1 SET world = ? WHERE charguid = ?").arg(table));
        if (rows < 0) {
            context.log(STORED_TEXT("更新%1失败: %2").arg(table, *error));
            return false;
        }
        context.log(STORED_TEXT("✓ %1更新成功 (影响%2行%3)").arg(table).arg(rows).arg(what.value(i)));
    }
    return true;
}

namespace {
// The worlds the game knows by their counters (none without t_var) and, with `withCharacters`,
// those that have characters; sorted.
bool knownWorlds(QSqlDatabase &db, bool withCharacters, QList<int> *known, Message *error)
{
    QStringList present;
    if (!CharacterPurge::existingTables(db, {QStringLiteral("t_var")}, &present, error))
        return false;
    if (!present.isEmpty()) {
        CharGuidLedger ledger;
        if (!ledger.read(db, CharGuidLedger::kNoLock, error))
            return false;
        *known = ledger.worlds();
    }
    if (present.isEmpty() || withCharacters) {
        QSqlQuery worlds(db);
        if (!worlds.exec(QStringLiteral("SELECT DISTINCT zoneworldid FROM t_char ORDER BY zoneworldid"))) {
            *error = worlds.lastError().text();
            return false;
        }
        while (worlds.next())
            known->append(worlds.value(0).toInt());
    }
    std::sort(known->begin(), known->end());
    known->erase(std::unique(known->begin(), known->end()), known->end());
    return true;
}

bool refuseUnknown(const QList<int> &worlds, const QList<int> &known, Message *error)
{
    for (int world : worlds) {
        if (!known.contains(world)) {
            *error = STORED_TEXT("WorldID %1 不存在，已知的 WorldID: %2").arg(QString::number(world), idListText(known).replace(QLatin1Char(','), QStringLiteral(", ")));
            return false;
        }
    }
    return true;
}
} // namespace

bool checkTargetWorld(QSqlDatabase &db, int worldId, Message *error)
{
    // The game knows a world by its id counter; a character anywhere else is lost to every world.
    QList<int> known;
    return knownWorlds(db, false, &known, error) && refuseUnknown({worldId}, known, error);
}

bool checkExistingWorlds(QSqlDatabase &db, const QList<int> &worldIds, Message *error)
{
    QList<int> known;
    return knownWorlds(db, true, &known, error) && refuseUnknown(worldIds, known, error);
}

bool transfer(QSqlDatabase &db, int charguid, int worldId, bool writeUndo, const OperationContext &context, QString *undoPath,
              Message *error)
{
    context.log(STORED_TEXT("开始转移角色 CharGUID=%1 -> WorldID=%2").arg(charguid).arg(worldId));
    undoPath->clear();
    UndoableTransaction transaction(db);
    if (!transaction.begin(STORED_TEXT("转移角色 CharGUID %1 到 WorldID %2").arg(charguid).arg(worldId), writeUndo, error)) {
        context.log(*error);
        return false;
    }
    if (!moveToWorld(db, transaction.undo(), charguid, worldId, context, error)) {
        transaction.rollback();
        *error = STORED_TEXT("角色转移失败，已回滚所有更改\n\n%1").arg(*error);
        context.log(STORED_TEXT("角色转移失败，已回滚所有更改"));
        return false;
    }
    if (!transaction.commit(error)) {
        context.log(*error);
        return false;
    }
    *undoPath = transaction.undoPath();
    if (!undoPath->isEmpty())
        context.log(STORED_TEXT("撤销文件: %1").arg(*undoPath));
    context.log(STORED_TEXT("===== 角色转移成功 ====="));
    context.log(STORED_TEXT("CharGUID=%1 已转移到 WorldID=%2").arg(charguid).arg(worldId));
    context.log(STORED_TEXT("共更新 1 条主表记录及相关装备数据"));
    return true;
}

} // namespace CharacterTransfer
