#include "command.h"

#include "db/characterqueries.h"
#include "db/databasemanager.h"
#include "db/legacytext.h"
#include "base/storedtext.h"
#include "engine/characteredit.h"
#include "engine/characteroperation.h"
#include "engine/rowpreview.h"

#include <QCoreApplication>
#include <QJsonArray>
#include <QTextStream>

namespace Cli {

namespace {
const QStringList kActions = {QStringLiteral("list"), QStringLiteral("search"), QStringLiteral("show"), QStringLiteral("copy"),
                              QStringLiteral("transfer"), QStringLiteral("delete"), QStringLiteral("repair"), QStringLiteral("set")};

QJsonObject characterObject(const CharacterSummary &character)
{
    QJsonObject object;
    for (int field = 0; field < CharacterSummary::FieldCount; ++field) {
        const auto f = CharacterSummary::Field(field);
        object.insert(QLatin1String(CharacterSummary::column(f)),
                      f == CharacterSummary::Name ? QJsonValue(character.name) : QJsonValue(character.number(f)));
    }
    return object;
}

class CharacterCommand : public ActionCommand
{
public:
    CharacterCommand()
        : ActionCommand(QStringLiteral("character"),
                        QCoreApplication::translate("Cli", "角色: list|search|show 查看，copy|transfer|delete|repair|set 修改（需 --yes）"),
                        QStringLiteral("character_"), kActions)
    {
    }

    void addOptions(QCommandLineParser &parser) const override
    {
        ActionCommand::addOptions(parser);
        addUndoOption(parser);
        parser.addPositionalArgument(QStringLiteral("FIELD=VALUE"), STORED_TEXT("set 的字段与新值，可多个；可改的字段: %1").arg(CharacterEdit::editableColumns().join(QStringLiteral(", "))).shown(), QStringLiteral("[FIELD=VALUE...]"));
        parser.addOptions({
            {QStringLiteral("worlds"), QCoreApplication::translate("Cli", "list: WorldID 列表，如 2,3"), QStringLiteral("LIST")},
            {QStringLiteral("guid"), QCoreApplication::translate("Cli", "角色的 CharGUID（十进制，或游戏显示的十六进制）"), QStringLiteral("ID")},
            {QStringLiteral("name"), QCoreApplication::translate("Cli", "search: 角色名包含的文字；copy: 副本的名字（不给则随机）"), QStringLiteral("TEXT")},
            {QStringLiteral("account"), QCoreApplication::translate("Cli", "search: 账号包含的文字；copy: 副本所属账号"), QStringLiteral("TEXT")},
            {QStringLiteral("to-world"), QCoreApplication::translate("Cli", "transfer: 目标 WorldID"), QStringLiteral("ID")},
            {QStringLiteral("limit"), QCoreApplication::translate("Cli", "search: 最多显示的角色数（默认 500）"), QStringLiteral("N"), QStringLiteral("500")},
        });
    }

private:
    bool takesMoreArguments(const QString &action) const override { return action == QLatin1String("set"); }

    int guidOption(const QCommandLineParser &parser)
    {
        const int guid = CharacterQueries::parseCharGuid(parser.value(QStringLiteral("guid")));
        if (guid < 1)
            usageError(STORED_TEXT("%1 需要 --guid（正整数，或 0x 开头的十六进制）").arg(m_action));
        return guid;
    }

    int run(const QCommandLineParser &parser, const QString &action, const QStringList &assignments, Output &out) override
    {
        m_action = action;
        // Everything the operator typed is checked before the server is asked anything.
        QList<int> worlds;
        int guid = 0;
        CharacterEdit::Changes changes;
        if (m_action == QLatin1String("list")) {
            worlds = worldList(parser, QStringLiteral("worlds"));
        } else if (m_action == QLatin1String("search")) {
            if (parser.isSet(QStringLiteral("name")) == parser.isSet(QStringLiteral("account")))
                usageError(STORED_TEXT("search 需要 --name 或 --account 之一"));
        } else {
            guid = guidOption(parser);
        }
        if (m_action == QLatin1String("transfer") && world(parser, QStringLiteral("to-world")) < 1 && !usageFailed())
            usageError(STORED_TEXT("transfer 需要 --to-world"));
        if (m_action == QLatin1String("copy") && parser.value(QStringLiteral("account")).trimmed().isEmpty() && !usageFailed())
            usageError(STORED_TEXT("copy 需要 --account"));
        if (m_action == QLatin1String("set") && !usageFailed())
            changes = parseAssignments(assignments);
        if (usageFailed())
            return Usage;
        m_config = connection(parser, out);
        if (usageFailed())
            return Usage;
        if (Message failure; !connectSession(m_config, out, &failure)) {
            setResult(QStringLiteral("error"), failure.stored());
            return Failed;
        }
        QSqlDatabase &db = DatabaseManager::instance()->database();

        if (m_action == QLatin1String("list"))
            return show(CharacterQueries::byWorlds(db, worlds), out);
        if (m_action == QLatin1String("search")) {
            const bool byName = parser.isSet(QStringLiteral("name"));
            return show(CharacterQueries::search(db, byName ? CharacterQueries::SearchBy::Name : CharacterQueries::SearchBy::Account,
                                                 parser.value(byName ? QStringLiteral("name") : QStringLiteral("account")),
                                                 qMax(1, parser.value(QStringLiteral("limit")).toInt())),
                        out);
        }
        const CharacterQueries::Result found = CharacterQueries::search(db, CharacterQueries::SearchBy::CharGuid, QString::number(guid), 1);
        if (!found.ok)
            return fail(out, STORED_TEXT("查询失败: %1").arg(found.error));
        if (found.characters.isEmpty())
            return fail(out, STORED_TEXT("角色不存在: CharGUID %1").arg(guid));
        if (m_action == QLatin1String("show"))
            return show(found, out);
        return change(parser, db, found.characters.constFirst(), changes, out);
    }

    CharacterEdit::Changes parseAssignments(const QStringList &assignments)
    {
        CharacterEdit::Changes changes;
        for (const QString &assignment : assignments) {
            const qsizetype equals = assignment.indexOf(QLatin1Char('='));
            const QString field = assignment.left(equals).trimmed().toLower();
            // The columns the editor changes; the texts among them travel as GBK bytes.
            if (equals < 1 || !CharacterEdit::editableColumns().contains(field)) {
                usageError(STORED_TEXT("无法修改 \"%1\"，可改的字段: %2").arg(assignment, CharacterEdit::editableColumns().join(QStringLiteral(", "))));
                return {};
            }
            const QString value = assignment.mid(equals + 1);
            if (CharacterEdit::isTextColumn(field)) {
                changes.append({field, encodeGbk(value)});
                continue;
            }
            bool ok = false;
            const int number = value.trimmed().toInt(&ok);
            if (!ok) {
                usageError(STORED_TEXT("%1 需要整数，而不是 \"%2\"").arg(field, value));
                return {};
            }
            changes.append({field, number});
        }
        if (changes.isEmpty())
            usageError(STORED_TEXT("set 需要至少一个 FIELD=VALUE"));
        return changes;
    }

    int show(const CharacterQueries::Result &result, Output &out)
    {
        if (!result.ok)
            return fail(out, STORED_TEXT("查询失败: %1").arg(result.error));
        QJsonArray rows;
        QTextStream stream(stdout);
        if (!json()) {
            QStringList header;
            for (int field = 0; field < CharacterSummary::FieldCount; ++field)
                header.append(QLatin1String(CharacterSummary::column(CharacterSummary::Field(field))));
            stream << header.join(QLatin1Char('\t')) << '\n';
        }
        for (const CharacterSummary &character : result.characters) {
            if (json()) {
                rows.append(characterObject(character));
                continue;
            }
            QStringList cells;
            for (int field = 0; field < CharacterSummary::FieldCount; ++field)
                cells.append(character.text(CharacterSummary::Field(field)));
            stream << cells.join(QLatin1Char('\t')) << '\n';
        }
        stream.flush();
        out.line(STORED_COUNT("共 %Ln 个角色%1").count(result.characters.size()).arg(result.cut ? STORED_TEXT("（已截断）") : Message()));
        setResult(QStringLiteral("rows"), rows);
        setResult(QStringLiteral("count"), qint64(result.characters.size()));
        return Success;
    }

    int change(const QCommandLineParser &parser, QSqlDatabase &db, const CharacterSummary &character, const CharacterEdit::Changes &changes,
               Output &out)
    {
        const int guid = character.guid();
        const int toWorld = m_action == QLatin1String("transfer") ? world(parser, QStringLiteral("to-world")) : 0;
        out.line(STORED_TEXT("角色: %1 (CharGUID %2, WorldID %3)").arg(character.name).arg(guid).arg(character.number(CharacterSummary::World)));
        CharacterOperation::Request request;
        request.charguid = guid;
        request.kind = m_action == QLatin1String("copy")       ? CharacterOperation::Kind::Copy
                       : m_action == QLatin1String("transfer") ? CharacterOperation::Kind::Transfer
                       : m_action == QLatin1String("repair")   ? CharacterOperation::Kind::Repair
                                                                : CharacterOperation::Kind::Delete;
        request.world = toWorld;
        request.account = parser.value(QStringLiteral("account")).trimmed();
        request.accounts = m_config;
        request.newName = parser.value(QStringLiteral("name"));
        request.writeUndo = !parser.isSet(QStringLiteral("no-undo"));
        // Refusals come before the preview, as the windows refuse before their confirmation.
        QList<RowPreview::Count> preview;
        if (m_action == QLatin1String("set")) {
            const CharacterEdit::Preview check = CharacterEdit::preview(db, {guid, changes});
            if (!check.failure.isEmpty() || !check.refusal.isEmpty())
                return fail(out, check.failure.isEmpty() ? Message(check.refusal) : STORED_TEXT("检查失败: %1").arg(check.failure));
        } else {
            const CharacterOperation::Preview counted = CharacterOperation::preview(db, &request);
            if (!counted.refusal.isEmpty())
                return fail(out, counted.refusal);
            if (!counted.nothingToDo.isEmpty()) {
                out.line(counted.nothingToDo);
                return Success;
            }
            preview = counted.rows;
            // A name drawn here is the run's only within this run: a rehearsal names none.
            if (request.kind == CharacterOperation::Kind::Copy)
                out.line(parser.isSet(QStringLiteral("name")) || parser.isSet(QStringLiteral("yes"))
                             ? STORED_TEXT("副本名: %1").arg(request.newName)
                             : STORED_TEXT("副本名: 执行时随机生成一个未被占用的名字（用 --name 指定）"));
        }
        QJsonObject counts;
        for (const RowPreview::Count &count : preview)
            counts.insert(count.table, count.missing ? QJsonValue() : QJsonValue(count.rows));
        setResult(QStringLiteral("counts"), counts);
        for (const Message &line : RowPreview::lines(preview, true))
            out.line(line);
        for (const auto &change : changes)
            out.line(QStringLiteral("  %1 = %2").arg(change.first,
                                                      change.second.typeId() == QMetaType::QByteArray ? decodeGbk(change.second.toByteArray())
                                                                                                      : change.second.toString()));
        if (!parser.isSet(QStringLiteral("yes"))) {
            dryRunNote(out);
            return Success;
        }

        Message error;
        QString undoPath;
        bool ok = false;
        if (m_action == QLatin1String("set")) {
            const CharacterEdit::Result result = CharacterEdit::save(db, {guid, changes});
            ok = result.ok;
            error = result.failure;
            undoPath = result.undoPath;
        } else {
            const CharacterOperation::Result result = CharacterOperation::run(db, request, out.context());
            ok = result.ok;
            error = result.failure;
            undoPath = result.undoFile;
            if (ok && request.kind == CharacterOperation::Kind::Copy) {
                out.line(STORED_TEXT("副本: %1 (CharGUID %2)").arg(result.newName).arg(result.newGuid));
                setResult(QStringLiteral("copy"), QJsonObject{{QStringLiteral("charguid"), result.newGuid}, {QStringLiteral("charname"), result.newName}});
            }
        }
        if (!ok)
            return fail(out, STORED_TEXT("操作失败: %1").arg(error.isEmpty() ? STORED_TEXT("未知错误") : Message(error)));
        out.line(STORED_TEXT("操作完成"));
        printUndoFile(undoPath, out);
        if (!undoPath.isEmpty())
            setResult(QStringLiteral("undoFile"), undoPath);
        return Success;
    }

    QString m_action;
    HostConfig m_config;
};
} // namespace

std::shared_ptr<Command> characterCommand()
{
    return std::make_shared<CharacterCommand>();
}

} // namespace Cli
