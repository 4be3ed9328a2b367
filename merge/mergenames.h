#pragma once

#include "base/message.h"

#include <QByteArray>
#include <QList>
#include <QSet>
#include <QString>

#include <functional>

class QSqlDatabase;

// How the merges name what clashes, and how they tell that two names clash.
namespace MergeNames {

// A clashing name with the suffix: before the first "@" (one that is not the first character)
// for account names, at the end otherwise; then "_1", "_2", ... after the suffix until
// `taken` says no. `legacy`: GBK bytes, whose trail bytes may look like "@". The original is
// shortened at a character boundary so that the result has at most `maxLength` characters
// (bytes for legacy text); `shortened` tells whether it had to be.
QByteArray resolve(const QByteArray &name, const QByteArray &suffix, bool atRule, bool legacy,
                   int maxLength, const std::function<bool(const QByteArray &)> &taken,
                   bool *shortened = nullptr);

} // namespace MergeNames

// When two names are the same to a column: its collation decides ("Bob" and "bob" on a
// case-insensitive column, two GBK names that latin1_swedish_ci folds together), so the server
// gives every name the key (its collation weight) under which equal names are equal.
class CollationKeys
{
public:
    // The character set and collation of `column` of `table`, in `database` (empty: the
    // connection's). False with *error when they cannot be read.
    bool describe(QSqlDatabase &db, const QString &database, const QString &table, const QString &column, Message *error);

    QString charset() const { return m_charset; }
    // GBK bytes kept in a single-byte character set.
    bool isLegacy() const;
    int maxLength() const { return m_maxLength; }
    // The text's bytes as the column stores them.
    QByteArray encode(const QString &text) const;
    QString decode(const QByteArray &bytes) const;

    // Keys of stored bytes, in order, computed on `db` (the column's server).
    bool keysOf(QSqlDatabase &db, const QList<QByteArray> &values, QList<QByteArray> *keys, Message *error) const;
    bool keyOf(QSqlDatabase &db, const QByteArray &value, QByteArray *key, Message *error) const;
    // Keys of every value the column holds, but for the rows `exclude` (a condition on them) names.
    bool keysInColumn(QSqlDatabase &db, QSet<QByteArray> *keys, Message *error, const QString &exclude = QString()) const;
    // A condition that holds where `column` (of another table, another character set even)
    // equals the value bound at `placeholder`, as this column compares them.
    QString equalTo(const QString &column, const QString &placeholder) const;

private:
    QString weightOf(const QString &text) const;

    QString m_table;     // `database`.`table` or `table`
    QString m_column;
    QString m_charset;   // empty for a binary column
    QString m_collation;
    bool m_padSpace = false;  // trailing blanks do not count
    int m_maxLength = 0;
};
