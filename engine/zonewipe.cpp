#include "zonewipe.h"

#include "characterdeleter.h"

#include <QSqlDatabase>

namespace ZoneWipe {

bool run(QSqlDatabase &db, const Request &request, const Sinks &sinks, int *deleted)
{
    *deleted = 0;
    auto log = [&sinks](const QString &line) {
        if (sinks.log)
            sinks.log(line);
    };
    CharacterDeleter deleter(db);
    deleter.setCancelFlag(sinks.cancel);
    bool ok = false;
    QObject::connect(&deleter, &CharacterDeleter::logMessage, log);
    QObject::connect(&deleter, &CharacterDeleter::errorOccurred, [&log](const QString &error) { log(QStringLiteral("错误: ") + error); });
    QObject::connect(&deleter, &CharacterDeleter::progressChanged, [&sinks](int step, int steps, const QString &table) {
        if (sinks.progress)
            sinks.progress(step, steps, table);
    });
    QObject::connect(&deleter, &CharacterDeleter::deleteCompleted, [&](bool success, int count) {
        ok = success;
        *deleted = count;
    });
    deleter.deleteByZoneWorldIds(request.worlds);
    if (!ok)
        return false;
    log(QStringLiteral("角色数据删除完成，共删除 %1 个角色").arg(*deleted));
    if (request.accountDatabases.isEmpty())
        return true;
    log(QStringLiteral("正在删除账号库数据: %1").arg(request.accountDatabases.join(QStringLiteral(", "))));
    if (request.accounts.kept > 0)
        log(QStringLiteral("保留 %1 个账号：它们在未删档的区服还有角色").arg(request.accounts.kept));
    AccountCleanup::deleteAccounts(request.accountServer, request.accountDatabases, request.accounts.names, log);
    log(QStringLiteral("账号库数据删除完成"));
    return true;
}

} // namespace ZoneWipe
