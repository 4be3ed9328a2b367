#pragma once

#include "base/message.h"

#include <QByteArray>
#include <QList>
#include <QSqlError>
#include <QString>
#include <QVariant>

class QSqlQuery;

class QSqlDatabase;

// Table shapes as the server describes them, identifiers, and values written back as SQL
// literals exactly as they are stored. Every path that copies or saves whole rows (the merges,
// the copy, undo files) reads and writes columns through here.
namespace Sql {

const int kErrorNoSuchTable = 1146;

// How a column's value travels so that it comes back exactly: which expression reads it and
// which literal writes it.
enum class ValueKind {
    Integer,    // read as a number, written as a number
    Decimal,    // read as its text, written as that numeric literal
    Float,      // FLOAT, DOUBLE: read as a double, written with 17 digits and an exponent
    Bit,        // read as an unsigned number
    Year,       // read as a number (0 is the zero year)
    Temporal,   // DATE, DATETIME, TIME: read as text, written quoted
    Timestamp,  // read as seconds since 1970 (the stored value, whatever the session's zone)
    Json,       // MySQL's JSON: its text, written as utf8mb4
    Enum,       // ENUM, SET: the label's bytes in the column's character set
    Bytes,      // text and binary: the stored bytes as a hexadecimal literal
};

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
    ValueKind kind = ValueKind::Bytes;
    bool nullable = true;
    bool hasDefault = false;
    bool generated = false;

    // NOT NULL without a default: an INSERT that leaves it out fails in strict mode.
    bool needsValue() const { return !nullable && !hasDefault && !autoIncrement && !generated; }
};

// `identifier` in backquotes, with backquotes inside doubled.
QString quoted(const QString &identifier);
// `database`.`table`, or `table` alone when no database is given.
QString qualified(const QString &database, const QString &table);

// Character sets whose characters are counted in bytes here: the game keeps GBK bytes in them.
bool isLegacyCharset(const QString &charset);

int errorNumber(const QSqlError &error);

// The value kind of a column type as SHOW COLUMNS writes it ("float", "decimal(10,2)", ...).
ValueKind kindOfType(const QString &type);
// Whether SHOW COLUMNS' Extra marks a generated column. MySQL 8 writes "DEFAULT_GENERATED"
// for an expression default, which is an ordinary column.
bool isGeneratedExtra(const QString &extra);

// The columns of `table`, of the connection's database or of `database` when given; empty
// with *error set when the table cannot be described.
QList<Column> readColumns(QSqlDatabase &db, const QString &table, QSqlError *error,
                          const QString &database = QString());

const Column *findColumn(const QList<Column> &columns, const QString &lower);

QList<Column> withoutColumn(QList<Column> columns, const QString &lower);

// What the game writes into a required column that an INSERT does not name: the current time
// for dates and times, 0 for numbers, '' for text. Empty for types without such a value.
QString newRowValue(const Column &column);

// What to select for a column so that appendLiteral can write its value back exactly: numbers
// as numbers, FLOAT widened to DOUBLE, TIMESTAMP as its seconds, everything else as its stored
// bytes (the driver would decode text as UTF-8 and decimals through doubles).
QString readExpression(const Column &column, const QString &alias = QString());

// What to select for a column that the server copies into another table itself (INSERT ...
// SELECT): the column as it is, and text and binary as their stored bytes, so that no character
// set conversion touches them.
QString copyExpression(const Column &column, const QString &alias = QString());

// Appends the SQL literal of `value`, as read by readExpression for a column of `kind`: a
// number for every numeric kind, never a hexadecimal literal (MySQL takes X'..' as a number
// in numeric contexts). `charset` relabels the bytes of a text value with that character set
// (CONVERT(X'..' USING charset)). False with *error for a value that cannot be written exactly.
bool appendLiteral(QByteArray *out, ValueKind kind, const QVariant &value, Message *error,
                   const QByteArray &charset = QByteArray());

// Stored bytes as a literal for a statement: X'..', or introduced with `charset` (_latin1 X'..')
// so that it compares as a column of that character set does, its index included. Bytes bound
// as a parameter arrive as text in the connection's character set on some drivers (ODBC).
QString bytesLiteral(const QByteArray &bytes, const QString &charset = QString());

// Statements that put `bytes` together in the user variable `name` ("@x") in pieces of at most
// `piece` bytes, so that no statement grows beyond the server's packet limit; the variable then
// stands for the value in one row's statement.
QList<QByteArray> assembleInVariable(const QByteArray &name, const QByteArray &bytes, qsizetype piece);

// The bytes a value of `kind` takes in its literal, at most: to keep statements under the
// server's packet limit.
qsizetype literalSize(const QVariant &value);

// Prepares `sql` on the query, binds `values` in order and executes it; false with *error
// (when given) set to the driver's text.
bool execBound(QSqlQuery *query, const QString &sql, const QVariantList &values, Message *error = nullptr);

} // namespace Sql
