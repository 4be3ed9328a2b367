#include "zonewipe.h"

#include "characterdeleter.h"
#include "db/databasemanager.h"

#include <QSqlDatabase>

namespace ZoneWipe {

bool run(QSqlDatabase &db, const Request &request, const Sinks &sinks, Result *result)
{
    *result = Result();
    auto log = [&sinks](const QString &line) {
        if (sinks.log)
            sinks.log(line);
    };
    const bool accountsHere = !request.accountDatabases.isEmpty() && AccountCleanup::accountsOnSessionServer(request.accountServer);
    CharacterDeleter deleter(db);
    deleter.setCancelFlag(sinks.cancel);
    deleter.setWriteUndo(request.undo);
    deleter.setBeforeCommit([&](QSqlDatabase &connection, UndoFile *undo, QString *stepError) {
        if (!accountsHere)
            return true;
        log(QStringLiteral("正在删除账号库数据: %1").arg(request.accountDatabases.join(QStringLiteral(", "))));
        if (request.accounts.kept > 0)
            log(QStringLiteral("保留 %1 个账号：它们在未删档的区服还有角色").arg(request.accounts.kept));
        return AccountCleanup::deleteAccountsHere(connection, request.accountDatabases, request.accounts.names,
                                                  undo, log, stepError);
    });
    bool ok = false;
    QObject::connect(&deleter, &CharacterDeleter::logMessage, log);
    QObject::connect(&deleter, &CharacterDeleter::errorOccurred, [&log](const QString &message) { log(QStringLiteral("错误: ") + message); });
    QObject::connect(&deleter, &CharacterDeleter::progressChanged, [&sinks](int step, int steps, const QString &table) {
        if (sinks.progress)
            sinks.progress(step, steps, table);
    });
    QObject::connect(&deleter, &CharacterDeleter::deleteCompleted, [&](bool success, int count) {
        ok = success;
        result->deleted = count;
    });
    deleter.deleteByZoneWorldIds(request.worlds);
    if (!ok)
        return false;
    result->undoPath = deleter.undoPath();
    log(QStringLiteral("角色数据删除完成，共删除 %1 个角色").arg(result->deleted));
    if (request.accountDatabases.isEmpty() || accountsHere)
        return true;
    // Account databases on another server: their own transactions, after the characters'.
    log(QStringLiteral("账号库在另一台服务器上，账号的删除不在撤销文件中"));
    log(QStringLiteral("正在删除账号库数据: %1").arg(request.accountDatabases.join(QStringLiteral(", "))));
    if (request.accounts.kept > 0)
        log(QStringLiteral("保留 %1 个账号：它们在未删档的区服还有角色").arg(request.accounts.kept));
    AccountCleanup::deleteAccounts(request.accountServer, request.accountDatabases, request.accounts.names, log);
    log(QStringLiteral("账号库数据删除完成"));
    return true;
}

} // namespace ZoneWipe
