#pragma once

#include "mergesql.h"

#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <functional>

// Copies the rows of one table from the source server into the target, in multi-row INSERTs
// of the columns both have: a target column the source lacks gets NULL, or, when the target
// requires a value and the operator allowed it, the value the game writes for a new row; a
// source column the target lacks stays behind. Values travel as their stored bytes. Every
// merge table goes through here: accounts, characters and the related tables.
class RowCopier
{
public:
    // `target` is the table as the INSERT names it, qualified where needed.
    RowCopier(QSqlDatabase source, QSqlDatabase target, const QString &table);

    // Matches the columns; `skip` are target columns (lower case) that are never written.
    void setColumns(const QList<MergeSql::Column> &targetColumns, const QList<MergeSql::Column> &sourceColumns,
                    bool fillRequired, const QStringList &skip = {});
    // The position of a target column in a row handed to the transform, or -1.
    int position(const QString &lower) const;
    // What to select from the source, in that order, with `alias` before each column.
    QString selectList(const QString &alias) const;
    // A target column written as a fixed expression, not from the source ("0" for is_online).
    void setFixed(const QString &lower, const QString &expression);

    // Runs `select` on the source (its values bound), lets `transform` change or drop (false)
    // each row, and inserts the rows. False with *error when a statement fails or `cancelled`
    // says so; the caller rolls back. *copied counts the rows written.
    bool copy(const QString &select, const QVariantList &values, const std::function<bool(QVariantList &row)> &transform,
              const std::function<bool()> &cancelled, qint64 *copied, QString *error);

private:
    struct Target
    {
        QString name;        // quoted
        QString lower;
        int source = -1;     // position in the source's select list, -1: none
        QString expression;  // a fixed expression instead of a bound value
        QString placeholder; // "?" or a conversion of it
    };
    bool flush(QList<QVariantList> &batch, QSqlQuery &insert, qsizetype &prepared, QString *error);

    QSqlDatabase m_source;
    QSqlDatabase m_target;
    QString m_table;
    QList<Target> m_columns;
    QStringList m_select;    // source column names (quoted), in select order
    QList<MergeSql::Column> m_sourceColumns;
};
