#include "characteroperation.h"

#include "charactercopier.h"
#include "characterdeleter.h"
#include "db/storedtext.h"

#include <QSqlQuery>

namespace CharacterOperation {

Preview preview(QSqlDatabase &db, Request *request)
{
    Preview preview;
    switch (request->kind) {
    case Kind::Copy:
        if (request->newName.isEmpty())
            request->newName = CharacterCopier::freeRandomName(db);
        if (request->newName.isEmpty())
            request->newName = CharacterCopier::randomName();
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
        if (!CharacterDeleter::checkTargetWorld(db, request->world, &preview.refusal))
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
        CharacterCopier copier(db, context);
        copier.setWriteUndo(request.writeUndo);
        result.ok = copier.copyCharacter(request.charguid, request.account, request.newName, &result.newGuid, &result.newName,
                                         &result.failure);
        if (result.ok)
            result.undoFile = copier.undoPath();
    } else {
        CharacterDeleter deleter(db, context);
        deleter.setWriteUndo(request.writeUndo);
        if (request.kind == Kind::Delete) {
            result.ok = deleter.deleteCharacter(request.charguid, &result.failure);
        } else if (request.kind == Kind::Transfer) {
            result.ok = deleter.transferCharacter(request.charguid, request.world, &result.failure);
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
