#include "zonewipe.h"

#include "characterdeleter.h"
#include "charactertransfer.h"
#include "db/databasemanager.h"
#include "base/storedtext.h"
#include "rowpreview.h"

#include <QSqlDatabase>
#include <QSqlQuery>

namespace ZoneWipe {

namespace {
bool wipe(QSqlDatabase &db, const Request &request, const OperationContext &context, Result *result)
{
    auto log = [&context](const Message &line) { context.log(line); };
    Message refusal;
    if (!CharacterTransfer::checkExistingWorlds(db, request.worlds, &refusal)) {
        log(refusal);
        return false;
    }
    const bool accountsHere = !request.accountDatabases.isEmpty() && AccountCleanup::accountsOnSessionServer(request.accountServer);
    // Accounts on another server: all of them reachable before anything is deleted.
    AccountCleanup::AccountConnections remote;
    Message error;
    if (!request.accountDatabases.isEmpty() && !accountsHere && !remote.open(request.accountServer, request.accountDatabases, context, &error)) {
        log(STORED_TEXT("账号删除失败，未做任何修改: %1").arg(error));
        return false;
    }
    CharacterDeleter deleter(db, context);
    deleter.setWriteUndo(request.undo);
    // The accounts as the transaction finds them with the zone's characters locked: one whose
    // character moved to a world that stays keeps its account.
    AccountCleanup::WipedAccounts accounts;
    deleter.setAfterLocking([&](QSqlDatabase &connection, UndoFile *, Message *stepError) {
        return request.accountDatabases.isEmpty() || AccountCleanup::collectAccountNames(connection, request.worlds, &accounts, stepError, true);
    });
    deleter.setBeforeCommit([&](QSqlDatabase &connection, UndoFile *undo, Message *stepError) {
        if (!accountsHere)
            return true;
        log(STORED_TEXT("正在删除账号库数据: %1").arg(request.accountDatabases.join(QStringLiteral(", "))));
        if (accounts.kept > 0)
            log(STORED_TEXT("保留 %1 个账号：它们在未删档的区服还有角色").arg(accounts.kept));
        return AccountCleanup::deleteAccountsHere(connection, request.accountDatabases, accounts.names, undo, context, stepError);
    });
    if (!deleter.deleteByZoneWorldIds(request.worlds, &result->deleted))
        return false;
    result->undoPath = deleter.undoPath();
    log(STORED_COUNT("角色数据删除完成，共删除 %Ln 个角色").count(result->deleted));
    if (request.accountDatabases.isEmpty() || accountsHere || result->deleted == 0)
        return true;
    // Account databases on another server: their own transactions, after the characters'.
    log(STORED_TEXT("账号库在另一台服务器上，账号的删除不在撤销文件中"));
    log(STORED_TEXT("正在删除账号库数据: %1").arg(request.accountDatabases.join(QStringLiteral(", "))));
    if (accounts.kept > 0)
        log(STORED_TEXT("保留 %1 个账号：它们在未删档的区服还有角色").arg(accounts.kept));
    int deleted = 0;
    if (!AccountCleanup::deleteAccounts(remote, request.accountDatabases, accounts.names, context, &deleted, &error)) {
        result->accountsFailed = true;
        log(STORED_TEXT("账号删除失败: %1（角色已删除）").arg(error));
        return false;
    }
    log(STORED_TEXT("账号库数据删除完成"));
    return true;
}
} // namespace

Result run(QSqlDatabase &db, const Request &request, const OperationContext &context)
{
    Result result;
    result.ok = wipe(db, request, context, &result);
    result.cancelled = !result.ok && context.cancelled();
    return result;
}

Preview preview(QSqlDatabase &db, Request *request)
{
    Preview result;
    Message error;
    if (!CharacterTransfer::checkExistingWorlds(db, request->worlds, &error)) {
        result.failure = error;
        return result;
    }
    request->accounts = AccountCleanup::WipedAccounts();
    if (!request->accountDatabases.isEmpty() && !AccountCleanup::collectAccountNames(db, request->worlds, &request->accounts, &error)) {
        result.failure = STORED_TEXT("读取要删除的账号失败，未做任何修改: %1").arg(error);
        return result;
    }
    const QList<RowPreview::Count> rows = RowPreview::characterRows(
        db, QStringLiteral("SELECT charguid FROM t_char WHERE zoneworldid IN (%1)").arg(idListText(request->worlds)), true);
    QList<Message> &lines = result.lines;
    lines = RowPreview::lines(rows);
    QMap<QString, int> counts;
    if (!AccountCleanup::countAccounts(db, request->accountServer, request->accountDatabases, request->accounts.names, &counts, &error)) {
        result.failure = STORED_TEXT("账号删除失败，未做任何修改: %1").arg(error);
        return result;
    }
    for (const QString &database : request->accountDatabases)
        lines.append(STORED_TEXT("  %1.account: %2 个账号").arg(database).arg(counts.value(database)));
    if (request->accounts.kept > 0)
        lines.append(STORED_TEXT("  保留 %1 个账号：它们在未删档的区服还有角色").arg(request->accounts.kept));
    QSqlQuery current(db);
    const QString database = current.exec(QStringLiteral("SELECT DATABASE()")) && current.next() ? current.value(0).toString() : QString();
    const QStringList here = AccountCleanup::accountsOnSessionServer(request->accountServer) ? request->accountDatabases : QStringList();
    if (const Message warning = RowPreview::lockWarning(db, RowPreview::total(rows)); !warning.isEmpty())
        lines.prepend(warning);
    result.liveGame = RowPreview::liveGameWarning(db, {database}, here);
    if (!result.liveGame.isEmpty())
        lines.prepend(result.liveGame);
    return result;
}

} // namespace ZoneWipe
