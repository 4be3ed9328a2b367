#pragma once

#include "mergesettings.h"

#include <QList>
#include <QSqlDatabase>
#include <QSqlError>
#include <QString>

class QSqlDatabase;

// Reading table shapes and writing identifiers, for the merges, which copy rows by the
// columns a deployment really has.
namespace MergeSql {

const int kErrorNoSuchTable = 1146;

// One column as SHOW FULL COLUMNS describes it.
struct Column
{
    QString name;
    QString lower;
    QString charset;   // empty for columns without one
    int maxLength = 0; // of character columns, in characters; 0 when unknown
    bool integer = false;
    bool autoIncrement = false;
    QString type;      // as the server names it, in lower case: "int(11)", "datetime", ...
    bool nullable = true;
    bool hasDefault = false;
    bool generated = false;

    // NOT NULL without a default: an INSERT that leaves it out fails in strict mode.
    bool needsValue() const { return !nullable && !hasDefault && !autoIncrement && !generated; }
};

// What the game writes into a required column that an INSERT does not name: the current time
// for dates and times, 0 for numbers, '' for text. Empty for types without such a value.
QString newRowValue(const Column &column);

// `identifier` in backquotes, with backquotes inside doubled.
QString quoted(const QString &identifier);

// Character sets whose characters are counted in bytes here: the game keeps GBK bytes in them.
bool isLegacyCharset(const QString &charset);

int errorNumber(const QSqlError &error);

// The columns of `table`, of the connection's database or of `database` when given; empty
// with *error set when the table cannot be described.
QList<Column> readColumns(QSqlDatabase &db, const QString &table, QSqlError *error,
                          const QString &database = QString());

const Column *findColumn(const QList<Column> &columns, const QString &lower);

QList<Column> withoutColumn(QList<Column> columns, const QString &lower);

// How a source column is read: integers as numbers, everything else as its stored bytes,
// since the driver would decode text as UTF-8 and dates and decimals through lossy types.
QString selectExpression(const Column &column, const QString &alias = QString());

// A native connection under `name` (an older one of that name released) to `database` on the
// endpoint's server, not yet open.
QSqlDatabase addConnection(const QString &name, const MergeEndpoint &endpoint, const QString &database, const QString &options);

} // namespace MergeSql
