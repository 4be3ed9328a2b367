#include "mergesql.h"

#include "db/connectionrule.h"

#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlRecord>

namespace MergeSql {

QString quoted(const QString &identifier)
{
    QString escaped = identifier;
    escaped.replace(QLatin1Char('`'), QStringLiteral("``"));
    return QLatin1Char('`') + escaped + QLatin1Char('`');
}

bool isLegacyCharset(const QString &charset)
{
    return !charset.startsWith(QLatin1String("utf")) && !charset.startsWith(QLatin1String("ucs"));
}

int errorNumber(const QSqlError &error)
{
    return error.nativeErrorCode().toInt();
}

QList<Column> readColumns(QSqlDatabase &db, const QString &table, QSqlError *error, const QString &database)
{
    static const QRegularExpression integerType(QStringLiteral("^(tiny|small|medium|big)?int\\b"));
    static const QRegularExpression length(QStringLiteral("^(?:var)?char\\((\\d+)\\)"));
    QList<Column> columns;
    QSqlQuery query(db);
    const QString name = database.isEmpty() ? quoted(table) : quoted(database) + QLatin1Char('.') + quoted(table);
    if (!query.exec(QStringLiteral("SHOW FULL COLUMNS FROM %1").arg(name))) {
        if (error)
            *error = query.lastError();
        return columns;
    }
    const int fieldIndex = query.record().indexOf(QStringLiteral("Field"));
    const int typeIndex = query.record().indexOf(QStringLiteral("Type"));
    const int collationIndex = query.record().indexOf(QStringLiteral("Collation"));
    const int extraIndex = query.record().indexOf(QStringLiteral("Extra"));
    const int nullIndex = query.record().indexOf(QStringLiteral("Null"));
    const int defaultIndex = query.record().indexOf(QStringLiteral("Default"));
    while (query.next()) {
        Column column;
        column.name = query.value(fieldIndex).toString();
        column.lower = column.name.toLower();
        const QString type = query.value(typeIndex).toString().toLower();
        column.integer = integerType.match(type).hasMatch();
        const QString extra = query.value(extraIndex).toString();
        column.autoIncrement = extra.contains(QLatin1String("auto_increment"), Qt::CaseInsensitive);
        column.generated = extra.contains(QLatin1String("GENERATED"), Qt::CaseInsensitive);
        column.type = type;
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

QString newRowValue(const Column &column)
{
    static const QRegularExpression number(QStringLiteral("^(tiny|small|medium|big)?int\\b|^(decimal|numeric|float|double|real|bit|bool)"));
    static const QRegularExpression text(QStringLiteral("^(var)?(char|binary)\\b|^(tiny|medium|long)?(text|blob)\\b|^json"));
    const QString &type = column.type;
    if (type.startsWith(QLatin1String("datetime")) || type.startsWith(QLatin1String("timestamp")))
        return QStringLiteral("NOW()");
    if (type.startsWith(QLatin1String("date")))
        return QStringLiteral("CURRENT_DATE");
    if (type.startsWith(QLatin1String("time")))
        return QStringLiteral("CURRENT_TIME");
    if (type.startsWith(QLatin1String("year")))
        return QStringLiteral("YEAR(NOW())");
    if (number.match(type).hasMatch())
        return QStringLiteral("0");
    if (text.match(type).hasMatch())
        return QStringLiteral("''");
    return QString();
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

QString selectExpression(const Column &column, const QString &alias)
{
    const QString reference = alias.isEmpty() ? quoted(column.name) : alias + QLatin1Char('.') + quoted(column.name);
    if (column.integer)
        return reference;
    return QStringLiteral("CAST(%1 AS BINARY)").arg(reference);
}

QSqlDatabase addConnection(const QString &name, const MergeEndpoint &endpoint, const QString &database, const QString &options)
{
    removeNamedConnection(name);
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QMYSQL"), name);
    db.setHostName(endpoint.host);
    db.setPort(endpoint.port);
    db.setUserName(endpoint.username);
    db.setPassword(endpoint.password);
    db.setDatabaseName(database);
    db.setConnectOptions(options);
    return db;
}

} // namespace MergeSql
