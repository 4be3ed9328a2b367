#include "characterqueries.h"

#include "base/storedtext.h"
#include "legacytext.h"
#include "sqlcolumns.h"

#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

#include <limits>

const char *CharacterSummary::column(Field field)
{
    static const char *const columns[FieldCount] = {"charguid", "charname", "menpai", "level", "zoneworldid", "yuanbao",
                                                    "bdyuanbao", "vmoney", "bankmoney", "sect_point", "scene", "xpos", "zpos"};
    return columns[field];
}

QString idListText(const QList<int> &ids)
{
    QStringList parts;
    parts.reserve(ids.size());
    for (int id : ids)
        parts.append(QString::number(id));
    return parts.join(QLatin1Char(','));
}

namespace CharacterQueries {

namespace {
const QString kSelectColumns = QStringLiteral(
    "SELECT charguid, HEX(charname), menpai, level, zoneworldid, yuanbao, bdyuanbao, vmoney, "
    "bankmoney, sect_point, scene, xpos, zpos FROM t_char ");

// Positions are FLOAT on some deployments; the list shows them rounded.
qint64 wholeNumber(const QVariant &value)
{
    bool whole = false;
    const qint64 number = value.toLongLong(&whole);
    return whole ? number : qRound64(value.toDouble());
}

Result read(QSqlDatabase &db, const QString &sql)
{
    Result result;
    QSqlQuery query(db);
    query.setForwardOnly(true);
    if (!query.exec(sql)) {
        result.error = query.lastError().text();
        return result;
    }
    if (query.size() > 0)
        result.characters.reserve(query.size());
    // By position: a lookup by name rebuilds the record for every value.
    while (query.next()) {
        CharacterSummary summary;
        for (int i = 0; i < CharacterSummary::FieldCount; ++i) {
            if (i == CharacterSummary::Name)
                summary.name = decodeHexColumn(query.value(i));
            else
                summary.numbers[i] = wholeNumber(query.value(i));
        }
        result.characters.append(std::move(summary));
    }
    result.ok = true;
    return result;
}

// The character set a column's literal is introduced with, so that it compares as the column does.
QString columnCharset(QSqlDatabase &db, const QString &column)
{
    static const QRegularExpression identifier(QStringLiteral("^[A-Za-z0-9_]+$"));
    QSqlQuery query(db);
    const QString charset = query.exec(QStringLiteral("SELECT CHARACTER_SET_NAME FROM information_schema.COLUMNS WHERE TABLE_SCHEMA = DATABASE() "
                                                      "AND TABLE_NAME = 't_char' AND COLUMN_NAME = '%1'").arg(column))
            && query.next()
        ? query.value(0).toString()
        : QString();
    return identifier.match(charset).hasMatch() ? charset : QString();
}
} // namespace

Result byWorlds(QSqlDatabase &db, const QList<int> &worldIds)
{
    if (worldIds.isEmpty())
        return {true, QString(), {}, false};
    return read(db, kSelectColumns + QStringLiteral("WHERE zoneworldid IN (%1) ORDER BY charname").arg(idListText(worldIds)));
}

namespace {
int countWhereEqual(QSqlDatabase &db, const QString &column, const QString &text)
{
    QSqlQuery query(db);
    return query.exec(QStringLiteral("SELECT COUNT(*) FROM t_char WHERE %1 = %2")
                          .arg(column, Sql::bytesLiteral(encodeGbk(text), columnCharset(db, column))))
            && query.next()
        ? query.value(0).toInt()
        : -1;
}
} // namespace

int charactersOfAccount(QSqlDatabase &db, const QString &account)
{
    return countWhereEqual(db, QStringLiteral("accname"), account);
}

int charactersNamed(QSqlDatabase &db, const QString &name)
{
    return countWhereEqual(db, QStringLiteral("charname"), name);
}

qint64 parseCharGuid(const QString &text)
{
    static const QRegularExpression hexadecimal(QStringLiteral("^(0X)?([0-9A-F]{1,16})$"));
    static const QRegularExpression decimal(QStringLiteral("^[0-9]{1,19}$"));
    const QString s = text.trimmed().toUpper();
    const QRegularExpressionMatch hex = hexadecimal.match(s);
    bool ok = false;
    qint64 value = 0;
    if (hex.hasMatch() && (hex.capturedLength(1) > 0 || !decimal.match(s).hasMatch()))
        value = hex.captured(2).toLongLong(&ok, 16);
    else if (decimal.match(s).hasMatch())
        value = s.toLongLong(&ok, 10);
    return ok && value >= 1 && value <= std::numeric_limits<qint32>::max() ? value : 0;
}

QByteArray containsPattern(const QByteArray &bytes)
{
    QByteArray pattern("%");
    for (char c : bytes) {
        if (c == '!' || c == '%' || c == '_')
            pattern.append('!');
        pattern.append(c);
    }
    pattern.append('%');
    return pattern;
}

Result search(QSqlDatabase &db, SearchBy by, const QString &text, int limit)
{
    if (by == SearchBy::CharGuid) {
        const qint64 guid = parseCharGuid(text);
        if (guid < 1)
            return {false, STORED_TEXT("CharGUID必须是正整数\n支持格式: 11001234 或 A7DD92 或 0xA7DD92"), {}, false};
        return read(db, kSelectColumns + QStringLiteral("WHERE charguid = %1").arg(guid));
    }
    const QByteArray literal = "X'" + containsPattern(encodeGbk(text)).toHex() + '\'';
    QString condition;
    if (by == SearchBy::Name) {
        // Byte for byte: the column's collation would fold GBK bytes together, and a bare
        // hexadecimal literal takes the column's collation.
        condition = QStringLiteral("charname LIKE CAST(%1 AS BINARY)").arg(QString::fromLatin1(literal));
    } else {
        condition = QStringLiteral("accname LIKE %1").arg(Sql::bytesLiteral(containsPattern(encodeGbk(text)), columnCharset(db, QStringLiteral("accname"))));
    }
    // One row more than is shown tells whether the list was cut.
    Result result = read(db, kSelectColumns + QStringLiteral("WHERE %1 ESCAPE '!' AND isvalid = 1 ORDER BY level DESC LIMIT %2")
                                                  .arg(condition, QString::number(limit + 1)));
    result.cut = result.characters.size() > limit;
    if (result.cut)
        result.characters.removeLast();
    return result;
}

} // namespace CharacterQueries
