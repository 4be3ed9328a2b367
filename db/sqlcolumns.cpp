#include "sqlcolumns.h"

#include "base/storedtext.h"


#include <QLocale>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlRecord>

#include <cmath>

namespace Sql {

namespace {
bool isSigned(int type)
{
    return type == QMetaType::Int || type == QMetaType::LongLong || type == QMetaType::Short || type == QMetaType::Char
        || type == QMetaType::SChar || type == QMetaType::Long;
}

bool isUnsigned(int type)
{
    return type == QMetaType::Bool || type == QMetaType::UInt || type == QMetaType::ULongLong || type == QMetaType::UShort || type == QMetaType::UChar
        || type == QMetaType::ULong;
}

// The ASCII text of a value that a driver hands over as bytes or as text.
QByteArray asciiText(const QVariant &value)
{
    return value.typeId() == QMetaType::QByteArray ? value.toByteArray() : value.toString().toLatin1();
}

bool appendChecked(QByteArray *out, const QByteArray &text, const QRegularExpression &pattern, Message *error)
{
    if (!pattern.match(QString::fromLatin1(text)).hasMatch()) {
        *error = STORED_TEXT("无法精确写出的值: %1").arg(QString::fromLatin1(text.left(40)));
        return false;
    }
    out->append(text);
    return true;
}

void appendHex(QByteArray *out, const QByteArray &bytes, const QByteArray &charset)
{
    if (!charset.isEmpty())
        out->append("CONVERT(");
    out->append("X'");
    out->append(bytes.toHex());
    out->append('\'');
    if (!charset.isEmpty())
        out->append(" USING " + charset + ')');
}
} // namespace

QString quoted(const QString &identifier)
{
    QString escaped = identifier;
    escaped.replace(QLatin1Char('`'), QStringLiteral("``"));
    return QLatin1Char('`') + escaped + QLatin1Char('`');
}

QString qualified(const QString &database, const QString &table)
{
    return database.isEmpty() ? quoted(table) : quoted(database) + QLatin1Char('.') + quoted(table);
}

bool isLegacyCharset(const QString &charset)
{
    return !charset.startsWith(QLatin1String("utf")) && !charset.startsWith(QLatin1String("ucs"));
}

int errorNumber(const QSqlError &error)
{
    return error.nativeErrorCode().toInt();
}

ValueKind kindOfType(const QString &type)
{
    static const QRegularExpression integer(QStringLiteral("^(tiny|small|medium|big)?int\\b|^bool"));
    static const QRegularExpression decimal(QStringLiteral("^(decimal|numeric|dec|fixed)\\b"));
    static const QRegularExpression floating(QStringLiteral("^(float|double|real)\\b"));
    const QString lower = type.trimmed().toLower();
    if (integer.match(lower).hasMatch())
        return ValueKind::Integer;
    if (decimal.match(lower).hasMatch())
        return ValueKind::Decimal;
    if (floating.match(lower).hasMatch())
        return ValueKind::Float;
    if (lower.startsWith(QLatin1String("bit")))
        return ValueKind::Bit;
    if (lower.startsWith(QLatin1String("year")))
        return ValueKind::Year;
    if (lower.startsWith(QLatin1String("timestamp")))
        return ValueKind::Timestamp;
    if (lower.startsWith(QLatin1String("date")) || lower.startsWith(QLatin1String("time")))
        return ValueKind::Temporal;
    if (lower == QLatin1String("json"))
        return ValueKind::Json;
    if (lower.startsWith(QLatin1String("enum(")) || lower.startsWith(QLatin1String("set(")))
        return ValueKind::Enum;
    return ValueKind::Bytes;
}

bool isGeneratedExtra(const QString &extra)
{
    // MySQL and MariaDB 10.2+: "VIRTUAL GENERATED", "STORED GENERATED"; older MariaDB:
    // "VIRTUAL", "PERSISTENT".
    static const QRegularExpression generated(QStringLiteral("\\b(VIRTUAL|STORED) GENERATED\\b|^\\s*(VIRTUAL|PERSISTENT)\\s*$"),
                                              QRegularExpression::CaseInsensitiveOption);
    return generated.match(extra).hasMatch();
}

QList<Column> readColumns(QSqlDatabase &db, const QString &table, QSqlError *error, const QString &database)
{
    static const QRegularExpression length(QStringLiteral("^(?:var)?char\\((\\d+)\\)"));
    QList<Column> columns;
    QSqlQuery query(db);
    if (!query.exec(QStringLiteral("SHOW FULL COLUMNS FROM %1").arg(qualified(database, table)))) {
        if (error)
            *error = query.lastError();
        return columns;
    }
    const QSqlRecord record = query.record();
    const int fieldIndex = record.indexOf(QStringLiteral("Field"));
    const int typeIndex = record.indexOf(QStringLiteral("Type"));
    const int collationIndex = record.indexOf(QStringLiteral("Collation"));
    const int extraIndex = record.indexOf(QStringLiteral("Extra"));
    const int nullIndex = record.indexOf(QStringLiteral("Null"));
    const int defaultIndex = record.indexOf(QStringLiteral("Default"));
    while (query.next()) {
        Column column;
        column.name = query.value(fieldIndex).toString();
        column.lower = column.name.toLower();
        // Servers that describe columns in binary strings hand the type over as bytes.
        const QString type = QString::fromUtf8(asciiText(query.value(typeIndex))).toLower();
        column.type = type;
        column.kind = kindOfType(type);
        column.integer = column.kind == ValueKind::Integer;
        const QString extra = query.value(extraIndex).toString();
        column.autoIncrement = extra.contains(QLatin1String("auto_increment"), Qt::CaseInsensitive);
        column.generated = isGeneratedExtra(extra);
        column.nullable = query.value(nullIndex).toString() == QLatin1String("YES");
        column.hasDefault = !query.value(defaultIndex).isNull();
        const QString collation = query.value(collationIndex).toString();
        if (!collation.isEmpty())
            column.charset = collation.section(QLatin1Char('_'), 0, 0).toLower();
        const QRegularExpressionMatch match = length.match(type);
        if (match.hasMatch())
            column.maxLength = match.captured(1).toInt();
        else if (type == QLatin1String("tinytext"))
            column.maxLength = 255;
        columns.append(column);
    }
    return columns;
}

const Column *findColumn(const QList<Column> &columns, const QString &lower)
{
    for (const Column &column : columns) {
        if (column.lower == lower)
            return &column;
    }
    return nullptr;
}

QList<Column> withoutColumn(QList<Column> columns, const QString &lower)
{
    columns.removeIf([&](const Column &c) { return c.lower == lower; });
    return columns;
}

QString newRowValue(const Column &column)
{
    static const QRegularExpression text(QStringLiteral("^(var)?(char|binary)\\b|^(tiny|medium|long)?(text|blob)\\b|^json"));
    const QString &type = column.type;
    switch (column.kind) {
    case ValueKind::Timestamp:
        return QStringLiteral("NOW()");
    case ValueKind::Temporal:
        if (type.startsWith(QLatin1String("datetime")))
            return QStringLiteral("NOW()");
        return type.startsWith(QLatin1String("date")) ? QStringLiteral("CURRENT_DATE") : QStringLiteral("CURRENT_TIME");
    case ValueKind::Year:
        return QStringLiteral("YEAR(NOW())");
    case ValueKind::Integer:
    case ValueKind::Decimal:
    case ValueKind::Float:
    case ValueKind::Bit:
        return QStringLiteral("0");
    case ValueKind::Json:
    case ValueKind::Enum:
    case ValueKind::Bytes:
        break;
    }
    return text.match(type).hasMatch() ? QStringLiteral("''") : QString();
}

QString readExpression(const Column &column, const QString &alias)
{
    const QString reference = alias.isEmpty() ? quoted(column.name) : alias + QLatin1Char('.') + quoted(column.name);
    switch (column.kind) {
    case ValueKind::Integer:
        // Qt's ODBC plug-in hands every TINYINT over as unsigned: -128 would come back as
        // 4294967168. Widened, it arrives as the signed number it is.
        if (column.type.startsWith(QLatin1String("tinyint")) && !column.type.contains(QLatin1String("unsigned")))
            return QStringLiteral("(%1 + 0)").arg(reference);
        return reference;
    case ValueKind::Float:
        // FLOAT widened to DOUBLE is exact; its own text has six digits.
        return QStringLiteral("(%1 * 1e0)").arg(reference);
    case ValueKind::Bit:
    case ValueKind::Year:
        return QStringLiteral("(%1 + 0)").arg(reference);
    case ValueKind::Timestamp:
        return QStringLiteral("CAST(UNIX_TIMESTAMP(%1) AS BINARY)").arg(reference);
    case ValueKind::Decimal:
    case ValueKind::Temporal:
    case ValueKind::Json:
    case ValueKind::Enum:
    case ValueKind::Bytes:
        break;
    }
    return QStringLiteral("CAST(%1 AS BINARY)").arg(reference);
}

QString copyExpression(const Column &column, const QString &alias)
{
    const QString reference = alias.isEmpty() ? quoted(column.name) : alias + QLatin1Char('.') + quoted(column.name);
    return column.kind == ValueKind::Bytes ? QStringLiteral("CAST(%1 AS BINARY)").arg(reference) : reference;
}

bool appendLiteral(QByteArray *out, ValueKind kind, const QVariant &value, Message *error, const QByteArray &charset)
{
    static const QRegularExpression integer(QStringLiteral("^-?\\d+$"));
    static const QRegularExpression number(QStringLiteral("^[+-]?(\\d+(\\.\\d*)?|\\.\\d+)([eE][+-]?\\d+)?$"));
    static const QRegularExpression temporal(QStringLiteral("^-?[0-9][0-9:. -]*$"));
    static const QRegularExpression seconds(QStringLiteral("^\\d+(\\.\\d+)?$"));
    if (value.isNull()) {
        out->append("NULL");
        return true;
    }
    const int type = value.typeId();
    switch (kind) {
    case ValueKind::Integer:
    case ValueKind::Bit:
    case ValueKind::Year:
        if (isUnsigned(type)) {
            out->append(QByteArray::number(value.toULongLong()));
            return true;
        }
        if (isSigned(type)) {
            out->append(QByteArray::number(value.toLongLong()));
            return true;
        }
        return appendChecked(out, asciiText(value), integer, error);
    case ValueKind::Float: {
        if (type == QMetaType::Double || type == QMetaType::Float) {
            const double number = value.toDouble();
            if (!std::isfinite(number)) {
                *error = STORED_TEXT("无法写出的浮点值: %1").arg(number);
                return false;
            }
            // An exponent makes it an approximate-value literal: read as a double, exactly.
            QByteArray text = QByteArray::number(number, 'g', QLocale::FloatingPointShortest);
            if (!text.contains('e'))
                text += "e0";
            if (number == 0 && std::signbit(number) && !text.startsWith('-'))
                text.prepend('-');
            out->append(text);
            return true;
        }
        QByteArray text = asciiText(value);
        if (!text.contains('e') && !text.contains('E'))
            text += "e0";
        return appendChecked(out, text, number, error);
    }
    case ValueKind::Decimal:
        return appendChecked(out, asciiText(value), number, error);
    case ValueKind::Temporal: {
        const QByteArray text = asciiText(value);
        if (!temporal.match(QString::fromLatin1(text)).hasMatch()) {
            *error = STORED_TEXT("无法精确写出的时间值: %1").arg(QString::fromLatin1(text.left(40)));
            return false;
        }
        out->append('\'' + text + '\'');
        return true;
    }
    case ValueKind::Timestamp: {
        const QByteArray text = asciiText(value);
        if (!seconds.match(QString::fromLatin1(text)).hasMatch()) {
            *error = STORED_TEXT("无法精确写出的时间戳: %1").arg(QString::fromLatin1(text.left(40)));
            return false;
        }
        // The zero timestamp has no seconds since 1970.
        if (text.toDouble() == 0)
            out->append("'0000-00-00 00:00:00'");
        else
            out->append("FROM_UNIXTIME(" + text + ')');
        return true;
    }
    case ValueKind::Json:
        appendHex(out, value.toByteArray(), "utf8mb4");
        return true;
    case ValueKind::Enum:
    case ValueKind::Bytes:
        if (type != QMetaType::QByteArray) {
            *error = STORED_TEXT("无法写入的值类型 %1").arg(QString::fromLatin1(value.typeName()));
            return false;
        }
        appendHex(out, value.toByteArray(), charset);
        return true;
    }
    return false;
}

QString bytesLiteral(const QByteArray &bytes, const QString &charset)
{
    static const QRegularExpression identifier(QStringLiteral("^[A-Za-z0-9_]+$"));
    const QString hex = QStringLiteral("X'%1'").arg(QString::fromLatin1(bytes.toHex()));
    return charset.isEmpty() || !identifier.match(charset).hasMatch() ? hex : QLatin1Char('_') + charset + QLatin1Char(' ') + hex;
}

QList<QByteArray> assembleInVariable(const QByteArray &name, const QByteArray &bytes, qsizetype piece)
{
    QList<QByteArray> statements;
    for (qsizetype at = 0; at == 0 || at < bytes.size(); at += piece) {
        const QByteArray hex = "X'" + bytes.mid(at, piece).toHex() + '\'';
        statements.append("SET " + name + " = " + (at == 0 ? hex : "CONCAT(" + name + ", " + hex + ')'));
    }
    return statements;
}

qsizetype literalSize(const QVariant &value)
{
    return value.typeId() == QMetaType::QByteArray ? 2 * value.toByteArray().size() + 48 : 48;
}

bool execBound(QSqlQuery *query, const QString &sql, const QVariantList &values, Message *error)
{
    bool ok = query->prepare(sql);
    if (ok) {
        for (const QVariant &value : values)
            query->addBindValue(value);
        ok = query->exec();
    }
    if (!ok && error)
        *error = query->lastError().text();
    return ok;
}

} // namespace Sql
