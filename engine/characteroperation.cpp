#include "characteroperation.h"

#include "charactercopier.h"
#include "charactertransfer.h"
#include "accountcleanup.h"
#include "characterdeleter.h"
#include "db/characterqueries.h"
#include "db/legacytext.h"
#include "base/storedtext.h"

#include <QSqlQuery>

namespace CharacterOperation {

namespace {
// Why the copy must not go to `account`: its account database does not hold it, or cannot be
// read. Empty when it may.
QString accountRefusal(QSqlDatabase &db, const Request &request)
{
    const QString database = request.accounts.accountDatabase;
    if (database.isEmpty())
        return STORED_TEXT("主机配置没有账号库，无法确认目标账号 %1 存在，未复制").arg(request.account);
    // The name as the game stores it: GBK bytes, or UTF-8 in a UTF-8 column.
    QList<QByteArray> names{encodeGbk(request.account)};
    if (request.account.toUtf8() != names.constFirst())
        names.append(request.account.toUtf8());
    QMap<QString, int> counts;
    Message error;
    if (!AccountCleanup::countAccounts(db, request.accounts, {database}, names, &counts, &error))
        return STORED_TEXT("无法读取账号库 %1: %2，未复制").arg(database, error);
    if (counts.value(database) > 0)
        return QString();
    const HostConfig accounts = accountDatabaseConfig(request.accounts);
    const QString server = QStringLiteral("%1:%2").arg(accounts.host, QString::number(accounts.port));
    return STORED_TEXT("目标账号 %1 在账号库 %2（%3）中不存在，未复制").arg(request.account, database, server);
}
} // namespace

Preview preview(QSqlDatabase &db, Request *request)
{
    Preview preview;
    switch (request->kind) {
    case Kind::Copy:
        if (request->newName.isEmpty())
            request->newName = CharacterCopier::freeRandomName(db);
        if (request->newName.isEmpty())
            request->newName = CharacterCopier::randomName();
        preview.refusal = accountRefusal(db, *request);
        if (preview.refusal.isEmpty() && CharacterQueries::charactersNamed(db, request->newName) != 0)
            preview.refusal = STORED_TEXT("角色名 %1 已被占用，未复制").arg(request->newName);
        if (!preview.refusal.isEmpty())
            return preview;
        preview.rows = RowPreview::copyRows(db, request->charguid);
        preview.rows.append({STORED_TEXT("t_var(计数器)"), 1, false, QString()});
        break;
    case Kind::Transfer: {
        QSqlQuery current(db);
        current.prepare(QStringLiteral("SELECT zoneworldid FROM t_char WHERE charguid = ?"));
        current.addBindValue(request->charguid);
        if (current.exec() && current.next() && current.value(0).toInt() == request->world) {
            preview.nothingToDo = STORED_TEXT("角色 CharGUID=%1 已在 WorldID=%2，无需转移").arg(request->charguid).arg(request->world);
            return preview;
        }
        if (!CharacterTransfer::checkTargetWorld(db, request->world, &preview.refusal))
            return preview;
        preview.rows = RowPreview::transferRows(db, request->charguid);
        break;
    }
    case Kind::Delete:
        preview.rows = RowPreview::characterRows(db, QString::number(request->charguid), true);
        break;
    case Kind::Repair:
        preview.rows = RowPreview::repairRows(db, request->charguid);
        break;
    }
    return preview;
}

Result run(QSqlDatabase &db, const Request &request, const OperationContext &context)
{
    Result result;
    if (request.kind == Kind::Copy) {
        // The account may have gone since the confirmation.
        if (result.failure = accountRefusal(db, request); !result.failure.isEmpty()) {
            context.log(result.failure);
            return result;
        }
        CharacterCopier copier(db, context);
        copier.setWriteUndo(request.writeUndo);
        result.ok = copier.copyCharacter(request.charguid, request.account, request.newName, &result.newGuid, &result.newName,
                                         &result.failure);
        if (result.ok)
            result.undoFile = copier.undoPath();
    } else if (request.kind == Kind::Transfer) {
        result.ok = CharacterTransfer::transfer(db, request.charguid, request.world, request.writeUndo, context, &result.undoFile,
                                               &result.failure);
    } else {
        CharacterDeleter deleter(db, context);
        deleter.setWriteUndo(request.writeUndo);
        if (request.kind == Kind::Delete) {
            result.ok = deleter.deleteCharacter(request.charguid, &result.failure);
        } else {
            result.removed = deleter.repairCharacterDuplicates(request.charguid);
            result.ok = result.removed >= 0;
            result.failure = deleter.error();
        }
        if (result.ok)
            result.undoFile = deleter.undoPath();
    }
    result.cancelled = !result.ok && context.cancelled();
    return result;
}

} // namespace CharacterOperation
