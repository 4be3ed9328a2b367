#include "mergenames.h"

#include "db/connectionrule.h"
#include "db/legacytext.h"
#include "db/sqlcolumns.h"
#include "base/storedtext.h"

#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

namespace MergeNames {

namespace {
// Lengths of the characters of `bytes`, in order.
QList<int> characterSizes(const QByteArray &bytes, bool legacy)
{
    QList<int> sizes;
    for (int i = 0; i < bytes.size();) {
        const uchar c = uchar(bytes.at(i));
        int size = 1;
        if (legacy) {
            if (c >= 0x81 && c <= 0xFE && i + 1 < bytes.size())
                size = 2;
        } else if (c >= 0xF0) {
            size = 4;
        } else if (c >= 0xE0) {
            size = 3;
        } else if (c >= 0xC0) {
            size = 2;
        }
        size = qMin(size, int(bytes.size()) - i);
        sizes.append(size);
        i += size;
    }
    return sizes;
}

int characterCount(const QByteArray &bytes, bool legacy)
{
    return legacy ? int(bytes.size()) : int(characterSizes(bytes, false).size());
}

int findAt(const QByteArray &name, bool legacy)
{
    int position = 0;
    for (int size : characterSizes(name, legacy)) {
        if (size == 1 && name.at(position) == '@')
            return position;
        position += size;
    }
    return -1;
}

// `head` shortened at a character boundary so that head + extra holds at most maxLength.
QByteArray fitted(const QByteArray &head, const QByteArray &extra, bool legacy, int maxLength, bool *shortened)
{
    if (maxLength <= 0 || characterCount(head + extra, legacy) <= maxLength)
        return head + extra;
    const int room = maxLength - characterCount(extra, legacy);
    QByteArray kept;
    int count = 0;
    int position = 0;
    for (int size : characterSizes(head, legacy)) {
        const int weight = legacy ? size : 1;
        if (count + weight > room)
            break;
        kept += head.mid(position, size);
        count += weight;
        position += size;
    }
    if (shortened)
        *shortened = true;
    return kept + extra;
}
} // namespace

QByteArray resolve(const QByteArray &name, const QByteArray &suffix, bool atRule, bool legacy,
                   int maxLength, const std::function<bool(const QByteArray &)> &taken, bool *shortened)
{
    if (shortened)
        *shortened = false;
    const int at = atRule ? findAt(name, legacy) : -1;
    const QByteArray head = at >= 1 ? name.left(at) : name;
    const QByteArray tail = at >= 1 ? name.mid(at) : QByteArray();
    bool cut = false;
    QByteArray candidate = fitted(head, suffix + tail, legacy, maxLength, &cut);
    for (int n = 1; taken(candidate); ++n) {
        cut = false;
        candidate = fitted(head, suffix + '_' + QByteArray::number(n) + tail, legacy, maxLength, &cut);
    }
    if (shortened)
        *shortened = cut;
    return candidate;
}

} // namespace MergeNames

namespace {
const int kKeysPerStatement = 500;

bool isIdentifier(const QString &name)
{
    static const QRegularExpression plain(QStringLiteral("^[A-Za-z0-9_]+$"));
    return plain.match(name).hasMatch();
}
} // namespace

bool CollationKeys::describe(QSqlDatabase &db, const QString &database, const QString &table, const QString &column, Message *error)
{
    QSqlQuery query(db);
    query.prepare(QStringLiteral("SELECT CHARACTER_SET_NAME, COLLATION_NAME, CHARACTER_MAXIMUM_LENGTH FROM information_schema.COLUMNS "
                                 "WHERE TABLE_SCHEMA = %1 AND TABLE_NAME = ? AND COLUMN_NAME = ?")
                      .arg(database.isEmpty() ? QStringLiteral("DATABASE()") : QStringLiteral("?")));
    if (!database.isEmpty())
        query.addBindValue(textParameter(db, database));
    query.addBindValue(textParameter(db, table));
    query.addBindValue(textParameter(db, column));
    if (!query.exec() || !query.next()) {
        *error = query.lastError().isValid() ? query.lastError().text()
                                             : STORED_TEXT("表 %1 没有字段 %2").arg(table, column).stored();
        return false;
    }
    m_charset = query.value(0).toString();
    m_collation = query.value(1).toString();
    m_maxLength = query.value(2).toInt();
    if ((!m_charset.isEmpty() && !isIdentifier(m_charset)) || (!m_collation.isEmpty() && !isIdentifier(m_collation))) {
        *error = STORED_TEXT("字段 %1.%2 的字符集无法识别: %3").arg(table, column, m_collation);
        return false;
    }
    m_table = database.isEmpty() ? Sql::quoted(table) : Sql::quoted(database) + QLatin1Char('.') + Sql::quoted(table);
    m_column = Sql::quoted(column);
    // Whether trailing blanks count: the server says (MySQL 8's utf8mb4_0900_* collations are
    // NO PAD whatever their names say).
    m_padSpace = false;
    if (!m_collation.isEmpty()) {
        if (!query.exec(QStringLiteral("SELECT CONVERT('a ' USING %1) COLLATE %2 = CONVERT('a' USING %1) COLLATE %2").arg(m_charset, m_collation))
            || !query.next()) {
            *error = query.lastError().text();
            return false;
        }
        m_padSpace = query.value(0).toInt() == 1;
    }
    return true;
}

bool CollationKeys::isLegacy() const
{
    return Sql::isLegacyCharset(m_charset);
}

QByteArray CollationKeys::encode(const QString &text) const
{
    return isLegacy() ? encodeGbk(text) : text.toUtf8();
}

QString CollationKeys::decode(const QByteArray &bytes) const
{
    return isLegacy() ? decodeGbk(bytes) : QString::fromUtf8(bytes);
}

QString CollationKeys::weightOf(const QString &text) const
{
    if (m_collation.isEmpty())
        return QStringLiteral("CAST(%1 AS BINARY)").arg(text);
    // Trailing blanks do not count under a PAD SPACE collation, but they do count in its weights.
    return m_padSpace ? QStringLiteral("WEIGHT_STRING(TRIM(TRAILING ' ' FROM %1))").arg(text) : QStringLiteral("WEIGHT_STRING(%1)").arg(text);
}

QString CollationKeys::equalTo(const QString &column, const QString &placeholder) const
{
    if (m_collation.isEmpty())
        return QStringLiteral("CAST(%1 AS BINARY) = %2").arg(column, placeholder);
    return QStringLiteral("CONVERT(CAST(%1 AS BINARY) USING %3) COLLATE %4 = CONVERT(%2 USING %3) COLLATE %4")
        .arg(column, placeholder, m_charset, m_collation);
}

bool CollationKeys::keysOf(QSqlDatabase &db, const QList<QByteArray> &values, QList<QByteArray> *keys, Message *error) const
{
    keys->clear();
    // The values stand in the statement as hexadecimal literals: bound, the driver would size
    // the weights' buffers from a parameter of unknown length and cut them.
    QSqlQuery query(db);
    for (qsizetype start = 0; start < values.size(); start += kKeysPerStatement) {
        const qsizetype size = qMin<qsizetype>(kKeysPerStatement, values.size() - start);
        QStringList weights;
        for (qsizetype i = 0; i < size; ++i) {
            const QString literal = QStringLiteral("X'%1'").arg(QString::fromLatin1(values.at(start + i).toHex()));
            weights.append(m_collation.isEmpty() ? weightOf(literal)
                                                 : weightOf(QStringLiteral("CONVERT(%1 USING %2) COLLATE %3").arg(literal, m_charset, m_collation)));
        }
        if (!query.exec(QStringLiteral("SELECT ") + weights.join(QStringLiteral(", "))) || !query.next()) {
            *error = query.lastError().text();
            return false;
        }
        for (int i = 0; i < size; ++i)
            keys->append(query.value(i).toByteArray());
    }
    return true;
}

bool CollationKeys::keyOf(QSqlDatabase &db, const QByteArray &value, QByteArray *key, Message *error) const
{
    QList<QByteArray> keys;
    if (!keysOf(db, {value}, &keys, error))
        return false;
    *key = keys.value(0);
    return true;
}

bool CollationKeys::keysInColumn(QSqlDatabase &db, QSet<QByteArray> *keys, Message *error, const QString &exclude) const
{
    keys->clear();
    QSqlQuery query(db);
    query.setForwardOnly(true);
    QString sql = QStringLiteral("SELECT %1 FROM %2 WHERE %3 IS NOT NULL").arg(weightOf(m_column), m_table, m_column);
    if (!exclude.isEmpty())
        sql += QStringLiteral(" AND NOT (%1)").arg(exclude);
    if (!query.exec(sql)) {
        *error = query.lastError().text();
        return false;
    }
    while (query.next())
        keys->insert(query.value(0).toByteArray());
    return true;
}
