#include "characteredit.h"

#include "charactertransfer.h"
#include "db/connectionrule.h"
#include "db/legacytext.h"
#include "db/sqlcolumns.h"
#include "base/storedtext.h"
#include "undoabletransaction.h"
#include "undofile.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

namespace CharacterEdit {

using Sql::execBound;

namespace {
QString fieldName(const QString &column)
{
    return column == QLatin1String("charname") ? STORED_TEXT("角色名")
        : column == QLatin1String("accname")   ? STORED_TEXT("账号名")
                                               : STORED_TEXT("称号");
}
} // namespace

const QStringList &editableColumns()
{
    static const QStringList columns = {
        QStringLiteral("accname"), QStringLiteral("charname"), QStringLiteral("sex"), QStringLiteral("menpai"), QStringLiteral("level"),
        QStringLiteral("zoneworldid"), QStringLiteral("vmoney"), QStringLiteral("bankmoney"), QStringLiteral("yuanbao"),
        QStringLiteral("bdyuanbao"), QStringLiteral("exp"), QStringLiteral("hp"), QStringLiteral("mp"), QStringLiteral("str"),
        QStringLiteral("con"), QStringLiteral("dex"), QStringLiteral("spr"), QStringLiteral("ipr"), QStringLiteral("points"),
        QStringLiteral("scene"), QStringLiteral("xpos"), QStringLiteral("zpos"), QStringLiteral("bkscene"), QStringLiteral("bkxpos"),
        QStringLiteral("bkzpos"), QStringLiteral("vigor"), QStringLiteral("maxvigor"), QStringLiteral("enegry"),
        QStringLiteral("energymax"), QStringLiteral("guildpoint"), QStringLiteral("menpaipoint"), QStringLiteral("sect_point"),
        QStringLiteral("pkvalue"), QStringLiteral("zengdian"), QStringLiteral("title")};
    return columns;
}

bool isTextColumn(const QString &column)
{
    return column == QLatin1String("accname") || column == QLatin1String("charname") || column == QLatin1String("title");
}

Preview preview(QSqlDatabase &db, const Request &request)
{
    const int charguid = request.charguid;
    const Changes &changes = request.changes;
    Preview result;
    // Texts are checked in the column's own terms before anything is written: a server without
    // strict mode would cut a name, half a GBK character included, and say nothing.
    QSqlError columnError;
    const QList<Sql::Column> columns = Sql::readColumns(db, QStringLiteral("t_char"), &columnError);
    if (columns.isEmpty()) {
        result.failure = columnError.text();
        return result;
    }
    for (const auto &change : changes) {
        if (change.first == QLatin1String("zoneworldid"))
            result.newWorld = change.second.toInt();
        if (change.second.typeId() != QMetaType::QByteArray)
            continue;
        const QByteArray bytes = change.second.toByteArray();
        const QString what = fieldName(change.first);
        if (bytes.trimmed().isEmpty() && change.first != QLatin1String("title")) {
            result.refusal = STORED_TEXT("%1不能为空").arg(what);
            return result;
        }
        const Sql::Column *column = Sql::findColumn(columns, change.first);
        if (!column || column->maxLength <= 0)
            continue;
        const bool inBytes = Sql::isLegacyCharset(column->charset);
        const qsizetype length = inBytes ? bytes.size() : decodeGbk(bytes).size();
        if (length > column->maxLength) {
            result.refusal = STORED_TEXT("%1过长：最多 %2 %3（当前 %4）")
                                 .arg(what)
                                 .arg(column->maxLength)
                                 .arg(inBytes ? STORED_TEXT("字节") : STORED_TEXT("个字符"))
                                 .arg(length);
            return result;
        }
    }
    for (const auto &change : changes) {
        if (change.first != QLatin1String("charname"))
            continue;
        // As the name's unique index compares it, letter case included or not.
        const QByteArray name = change.second.toByteArray();
        QSqlQuery taken(db);
        if (!execBound(&taken, QStringLiteral("SELECT charguid FROM t_char WHERE charname = CONVERT(UNHEX(?) USING latin1) "
                                              "AND charguid <> ? LIMIT 1"),
                       {textParameter(db, QString::fromLatin1(name.toHex())), charguid}, &result.failure))
            return result;
        if (taken.next()) {
            result.refusal = STORED_TEXT("角色名已存在: %1").arg(decodeGbk(name));
            return result;
        }
    }
    if (result.newWorld > 0 && !CharacterTransfer::checkTargetWorld(db, result.newWorld, &result.refusal))
        result.newWorld = 0;
    return result;
}

Result save(QSqlDatabase &db, const Request &request)
{
    Result result;
    const int charguid = request.charguid;
    Changes changes = request.changes;
    Message *error = &result.failure;
    // A new world id moves the character as the transfer does: its items follow.
    int newWorld = 0;
    for (qsizetype i = 0; i < changes.size(); ++i) {
        if (changes.at(i).first == QLatin1String("zoneworldid")) {
            newWorld = changes.takeAt(i).second.toInt();
            break;
        }
    }
    // The undo file sets back the columns this save changes, and the items' world on a move.
    QStringList changedColumns;
    for (const auto &change : std::as_const(changes))
        changedColumns.append(change.first);
    UndoableTransaction transaction(db);
    bool ok = transaction.begin(STORED_TEXT("编辑角色 CharGUID %1").arg(charguid), true, error)
        && (changedColumns.isEmpty()
            || transaction.undo()->saveColumns(db, QStringLiteral("t_char"), QStringLiteral("charguid"), changedColumns,
                                               QStringLiteral("charguid = ?"), {charguid}, error) >= 0);
    if (ok && !changes.isEmpty()) {
        // Every value is bound. Texts travel as the hexadecimal of their GBK bytes, which no
        // driver or connection character set can alter.
        // An empty text is written as '': bound, it would arrive as NULL.
        QStringList assignments;
        QVariantList values;
        for (const auto &change : std::as_const(changes)) {
            if (change.second.typeId() != QMetaType::QByteArray) {
                assignments.append(change.first + QStringLiteral(" = ?"));
                values.append(change.second);
            } else if (change.second.toByteArray().isEmpty()) {
                assignments.append(change.first + QStringLiteral(" = ''"));
            } else {
                assignments.append(change.first + QStringLiteral(" = UNHEX(?)"));
                values.append(textParameter(db, QString::fromLatin1(change.second.toByteArray().toHex().toUpper())));
            }
        }
        QSqlQuery query(db);
        ok = execBound(&query, QStringLiteral("UPDATE t_char SET %1 WHERE charguid = ?").arg(assignments.join(QStringLiteral(", "))),
                       values << charguid, error);
    }
    if (ok && newWorld > 0) {
        ok = CharacterTransfer::moveToWorld(db, transaction.undo(), charguid, newWorld, OperationContext(), error);
    }
    result.ok = ok && transaction.commit(error);
    if (!result.ok) {
        transaction.rollback();
        return result;
    }
    result.undoPath = transaction.undoPath();
    return result;
}

bool setBanEnd(QSqlDatabase &db, int charguid, qint64 until, Message *error)
{
    QSqlQuery query(db);
    return execBound(&query, QStringLiteral("UPDATE t_char SET banendtime = ? WHERE charguid = ?"), {until, charguid}, error);
}

bool deleteBuff(QSqlDatabase &db, int charguid, qint64 aid, Message *error)
{
    QSqlQuery query(db);
    return execBound(&query, QStringLiteral("DELETE FROM t_impact WHERE aid = ? AND charguid = ?"), {aid, charguid}, error);
}

int clearBuffs(QSqlDatabase &db, int charguid, Message *error)
{
    QSqlQuery query(db);
    return execBound(&query, QStringLiteral("DELETE FROM t_impact WHERE charguid = ?"), {charguid}, error) ? query.numRowsAffected() : -1;
}

bool setXinfa(QSqlDatabase &db, qint64 aid, int id, int level, Message *error)
{
    QStringList assignments;
    QVariantList values;
    if (id >= 0) {
        assignments.append(QStringLiteral("xinfaid = ?"));
        values.append(id);
    }
    if (level >= 0) {
        assignments.append(QStringLiteral("xinfalvl = ?"));
        values.append(level);
    }
    if (assignments.isEmpty())
        return true;
    QSqlQuery query(db);
    return execBound(&query, QStringLiteral("UPDATE t_xinfa SET %1 WHERE aid = ?").arg(assignments.join(QStringLiteral(", "))),
                     values << aid, error);
}

} // namespace CharacterEdit
