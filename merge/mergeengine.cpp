#include "mergerun.h"
#include "base/storedtext.h"


using namespace MergeRunning;

namespace MergeRunning {

QString oneDecimal(double value)
{
    return QString::number(value, 'f', 1);
}

QByteArray cutTitle(const QByteArray &title)
{
    if (title.size() <= 50)
        return title;
    QByteArray cut = title.left(50);
    const uchar last = uchar(cut.back());
    if (last >= 0x81 && last <= 0xFE)
        cut.chop(1);
    return cut;
}

QByteArray accountHead(const QByteArray &name)
{
    const qsizetype at = name.indexOf('@');
    return at >= 1 ? name.left(at) : name;
}

QByteArray accountTail(const QByteArray &name)
{
    const qsizetype at = name.indexOf('@');
    return at >= 1 ? name.mid(at) : QByteArray();
}

} // namespace MergeRunning

Message cleanLevelRefusal()
{
    return STORED_TEXT_IN("MergeSettings", "清理等级必须为%1-%2之间的数字").arg(kMinCleanLevel).arg(kMaxCleanLevel);
}

MergeEndpoint endpointOf(const HostConfig &host)
{
    MergeEndpoint endpoint;
    endpoint.host = host.host;
    endpoint.port = host.port;
    endpoint.username = host.username;
    endpoint.password = host.password;
    endpoint.charDatabase = host.database.isEmpty() ? QStringLiteral("vexadb_main") : host.database;
    endpoint.accountDatabase = host.accountDatabase.isEmpty() ? QStringLiteral("web") : host.accountDatabase;
    return endpoint;
}

QList<Message> MergePreflight::lines() const
{
    QList<Message> lines;
    if (!liveGame.isEmpty())
        lines << liveGame;
    lines << lockWarnings;
    lines << STORED_TEXT("将合并 %1 个角色，其中 %2 个获得新的角色ID").arg(characters).arg(renumbered);
    if (invalidLeftBehind > 0)
        lines << STORED_TEXT("无效角色（isvalid ≠ 1）不合并，留在副区: %1 个").arg(invalidLeftBehind);
    if (lowLevelTarget > 0 || lowLevelSource > 0)
        lines << STORED_TEXT("先删除低等级角色: 主区 %1 个，副区 %2 个").arg(lowLevelTarget).arg(lowLevelSource);
    lines << STORED_TEXT("账号: %1 个，其中 %2 个重名将改名；角色名冲突: %3 个").arg(accounts).arg(accountRenames).arg(characterRenames);
    for (auto it = rows.cbegin(); it != rows.cend(); ++it)
        lines << STORED_COUNT("  %1: %Ln 条记录").count(it.value()).arg(it.key());
    if (relationsDropped > 0)
        lines << STORED_TEXT("对方角色不在合并范围内的关系不拷贝: %1 条").arg(relationsDropped);
    if (!tablesSkipped.isEmpty())
        lines << STORED_TEXT("主区没有的表，副区数据不拷贝: %1").arg(tablesSkipped.join(QStringLiteral(", ")));
    for (auto it = missingColumns.cbegin(); it != missingColumns.cend(); ++it)
        lines << STORED_TEXT("副区缺少主区必填的字段 %1: %2").arg(it.key(), it.value().join(QStringLiteral(", ")));
    if (alreadyMerged > 0)
        lines << STORED_TEXT("注意: 主区已有 %1 个副区角色（账号与创建时间相同），这次合区似乎已经做过").arg(alreadyMerged);
    for (const Message &refusal : refusals)
        lines << STORED_TEXT("无法合区: %1").arg(refusal);
    return lines;
}

QList<Message> MergeReport::lossLines() const
{
    QList<Message> lines;
    if (!tablesSkipped.isEmpty())
        lines << STORED_TEXT("主区没有、因而未拷贝的表: %1 个 (%2)").arg(tablesSkipped.size()).arg(tablesSkipped.join(QStringLiteral(", ")));
    if (!sourceCleanupFailure.isEmpty())
        lines << STORED_TEXT("合区已提交，但副区的低等级角色没有删除（副区未改动）: %1").arg(sourceCleanupFailure);
    return lines;
}

namespace CrossServerMerge {

Preview preview(const Request &request, const OperationContext &context)
{
    Preview preview;
    MergeRun run(request, context, nullptr);
    preview.ok = run.preflight(&preview);
    return preview;
}

Result run(const Request &request, const OperationContext &context)
{
    Result result;
    MergeRun run(request, context, &result);
    result.ok = run.run();
    result.cancelled = !result.ok && context.cancelled();
    return result;
}

} // namespace CrossServerMerge
