#include "characterexport.h"

#include "base/atomicfile.h"
#include "base/debuglog.h"
#include "db/legacytext.h"
#include "base/storedtext.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QStringEncoder>

namespace {
// The files are opened by spreadsheets on Chinese Windows, whose local code page is 936 (GBK),
// so they are written in GBK with CR LF on every platform.
QByteArray windowsChineseText(const QString &text)
{
    QString lines = text;
    lines.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    QStringEncoder encoder("GBK");
    return encoder.isValid() ? QByteArray(encoder.encode(lines)) : lines.toLocal8Bit();
}

// A spreadsheet runs a cell that starts with one of these as a formula.
QString defusedName(const QString &name)
{
    static const QString formulaStarts = QStringLiteral("=+-@");
    if (!name.isEmpty() && formulaStarts.contains(name.front()))
        return QLatin1Char('\'') + name;
    return name;
}
} // namespace

namespace CharacterExport {

QString defaultPath(const QList<int> &worldIds)
{
    const QString folder = applicationDirectory() + QStringLiteral("/exports");
    QDir().mkpath(folder);
    QStringList first;
    for (int id : worldIds.mid(0, 3))
        first.append(QString::number(id));
    QString name = QStringLiteral("characters_zone") + first.join(QLatin1Char('_'));
    if (worldIds.size() > 3)
        name += QStringLiteral("_etc");
    name += QLatin1Char('_') + QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd_HHmmss"))
            + QStringLiteral(".csv");
    return folder + QLatin1Char('/') + name;
}

QByteArray csvLine(const CharacterSummary &character)
{
    // Field by field: the name is quoted and written as its GBK bytes, line breaks and all.
    QString name = defusedName(character.name);
    name.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QByteArray::number(character.number(CharacterSummary::CharGuid)) + ",\"" + encodeGbk(name) + "\","
        + QByteArray::number(character.number(CharacterSummary::Menpai)) + ','
        + QByteArray::number(character.number(CharacterSummary::Level)) + ','
        + QByteArray::number(character.number(CharacterSummary::World)) + "\r\n";
}

Result run(const Request &request, const OperationContext &context)
{
    Result result;
    const Message stage = STORED_TEXT("导出");
    const qsizetype n = request.characters.size();
    context.log(STORED_TEXT("开始导出角色列表: %1").arg(request.path));
    context.progress(stage, 0, n);
    // Player names and accounts: readable by the owner only, as the logs and backups.
    AtomicFile file(request.path);
    if (!file.open(QFileDevice::ReadOwner | QFileDevice::WriteOwner)) {
        result.failure = STORED_TEXT("无法创建导出文件");
        context.log(result.failure);
        return result;
    }
    file.write(windowsChineseText(STORED_TEXT("角色GUID,角色名称,门派,等级,ZoneWorldID\n")));
    for (qsizetype i = 0; i < n; ++i) {
        file.write(csvLine(request.characters.at(i)));
        if (i % 100 == 0 || i == n - 1)
            context.progress(stage, i + 1, n);
    }
    // A failed write leaves the chosen name alone.
    if (!file.commit()) {
        result.failure = STORED_TEXT("写入导出文件失败: %1").arg(file.errorString());
        context.log(result.failure);
        return result;
    }
    result.ok = true;
    result.rows = n;
    context.log(STORED_COUNT("导出完成: %Ln 条记录").count(n));
    return result;
}

} // namespace CharacterExport
