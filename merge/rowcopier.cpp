#include "rowcopier.h"

#include <QRegularExpression>
#include <QSqlError>
#include <QSqlQuery>

using namespace MergeSql;

namespace {
const int kRowsPerInsert = 500;
const int kMaxPlaceholders = 65535;  // the server's limit per prepared statement

// The placeholder of a value read from `source` and written into `target`. Bytes of one
// character set are relabelled, so that the server converts them into the other.
QString placeholder(const Column &source, const Column &target)
{
    static const QRegularExpression plainName(QStringLiteral("^[a-z0-9_]+$"));
    if (!source.integer && !source.charset.isEmpty() && !target.charset.isEmpty() && source.charset != target.charset
        && plainName.match(source.charset).hasMatch())
        return QStringLiteral("CONVERT(? USING %1)").arg(source.charset);
    return QStringLiteral("?");
}
} // namespace

RowCopier::RowCopier(QSqlDatabase source, QSqlDatabase target, const QString &table)
    : m_source(source)
    , m_target(target)
    , m_table(table)
{
}

void RowCopier::setColumns(const QList<Column> &targetColumns, const QList<Column> &sourceColumns, bool fillRequired,
                           const QStringList &skip)
{
    m_columns.clear();
    m_select.clear();
    m_sourceColumns = sourceColumns;
    for (const Column &column : targetColumns) {
        if (column.autoIncrement || column.generated || skip.contains(column.lower))
            continue;
        Target target{quoted(column.name), column.lower};
        if (const Column *source = findColumn(sourceColumns, column.lower)) {
            target.source = int(m_select.size());
            target.placeholder = placeholder(*source, column);
            m_select.append(column.lower);
        } else if (column.needsValue() && fillRequired && !newRowValue(column).isEmpty()) {
            target.expression = newRowValue(column);
        } else {
            continue;  // the target's default, or NULL
        }
        m_columns.append(target);
    }
}

int RowCopier::position(const QString &lower) const
{
    for (int i = 0; i < m_columns.size(); ++i) {
        if (m_columns.at(i).lower == lower)
            return i;
    }
    return -1;
}

void RowCopier::setFixed(const QString &lower, const QString &expression)
{
    const int at = position(lower);
    if (at >= 0)
        m_columns[at].expression = expression;
}

QString RowCopier::selectList(const QString &alias) const
{
    QStringList list;
    for (const QString &lower : m_select)
        list.append(selectExpression(*findColumn(m_sourceColumns, lower), alias));
    return list.isEmpty() ? alias + QStringLiteral(".charguid") : list.join(QStringLiteral(", "));
}

bool RowCopier::copy(const QString &select, const QVariantList &values, const std::function<bool(QVariantList &row)> &transform,
                     const std::function<bool()> &cancelled, qint64 *copied, QString *error)
{
    *copied = 0;
    QSqlQuery source(m_source);
    source.setForwardOnly(true);
    if (!source.prepare(select)) {
        *error = source.lastError().text();
        return false;
    }
    for (const QVariant &value : values)
        source.addBindValue(value);
    if (!source.exec()) {
        *error = source.lastError().text();
        return false;
    }
    int bound = 0;
    for (const Target &column : std::as_const(m_columns))
        bound += column.expression.isEmpty() ? 1 : 0;
    const int rowsPerInsert = qBound(1, kMaxPlaceholders / qMax(1, bound), kRowsPerInsert);
    QList<QVariantList> batch;
    QSqlQuery insert(m_target);
    qsizetype prepared = 0;
    while (source.next()) {
        QVariantList row;
        row.reserve(m_columns.size());
        for (const Target &column : std::as_const(m_columns))
            row.append(column.source >= 0 ? source.value(column.source) : QVariant());
        if (transform && !transform(row))
            continue;
        batch.append(row);
        if (batch.size() < rowsPerInsert)
            continue;
        if (cancelled && cancelled()) {
            *error = QStringLiteral("合区已取消");
            return false;
        }
        *copied += batch.size();
        if (!flush(batch, insert, prepared, error))
            return false;
    }
    *copied += batch.size();
    return flush(batch, insert, prepared, error);
}

bool RowCopier::flush(QList<QVariantList> &batch, QSqlQuery &insert, qsizetype &prepared, QString *error)
{
    if (batch.isEmpty())
        return true;
    // Full batches reuse one prepared statement; parsing thousands of placeholders is not free.
    if (prepared != batch.size()) {
        QStringList names;
        QStringList marks;
        for (const Target &column : std::as_const(m_columns)) {
            names.append(column.name);
            marks.append(column.expression.isEmpty() ? column.placeholder : column.expression);
        }
        const QString row = QLatin1Char('(') + marks.join(QStringLiteral(", ")) + QLatin1Char(')');
        if (!insert.prepare(QStringLiteral("INSERT INTO %1 (%2) VALUES %3")
                                .arg(m_table, names.join(QStringLiteral(", ")),
                                     QStringList(batch.size(), row).join(QStringLiteral(", "))))) {
            *error = insert.lastError().text();
            return false;
        }
        prepared = batch.size();
    }
    int position = 0;
    for (const QVariantList &row : std::as_const(batch)) {
        for (int i = 0; i < row.size(); ++i) {
            if (m_columns.at(i).expression.isEmpty())
                insert.bindValue(position++, row.at(i));
        }
    }
    batch.clear();
    if (!insert.exec()) {
        *error = QStringLiteral("%1: %2").arg(m_table, insert.lastError().text());
        return false;
    }
    return true;
}
