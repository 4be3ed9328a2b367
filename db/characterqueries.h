#pragma once

#include "base/message.h"

#include <QList>
#include <QString>

#include <array>

class QSqlDatabase;

// One character of t_char as the list shows it: the name decoded for display, the numbers as
// stored. Compact, since a list holds every character of several zones.
struct CharacterSummary
{
    // The columns, in the list's order.
    enum Field { CharGuid, Name, Menpai, Level, World, Yuanbao, BoundYuanbao, Money, BankMoney, SectPoint, Scene, X, Z, FieldCount };
    static const char *column(Field field);  // "charguid", "charname", ...

    QString name;
    std::array<qint64, FieldCount> numbers{};  // by field; Name's slot is unused

    qint64 number(Field field) const { return numbers[field]; }
    int guid() const { return int(numbers[CharGuid]); }
    // The field's value as text: the name, or the number in decimal.
    QString text(Field field) const { return field == Name ? name : QString::number(numbers[field]); }
};

// Ids in decimal joined by "," without blanks, in the given order: the text of an IN list.
QString idListText(const QList<int> &ids);

// The character list's reads of t_char, on any connection: a failure comes back with its
// reason, never as an empty list.
namespace CharacterQueries {

struct Result
{
    bool ok = false;
    Message error;
    QList<CharacterSummary> characters;
    bool cut = false;  // a search found more than its limit
};

// The characters of the worlds, ordered by name.
Result byWorlds(QSqlDatabase &db, const QList<int> &worldIds);

enum class SearchBy { CharGuid, Account, Name };

// At most `limit` valid characters whose account or name contains `text` (as the text's GBK
// bytes: the columns hold legacy text; the name byte for byte, the account as its column
// compares), highest level first; or the one character of that id (decimal, or hexadecimal
// as the game shows it). The text travels as a hexadecimal literal, so every driver sends the
// same bytes.
Result search(QSqlDatabase &db, SearchBy by, const QString &text, int limit);

// The characters the account owns (its name compared as the accname column compares), -1
// when they cannot be counted.
int charactersOfAccount(QSqlDatabase &db, const QString &account);

// The characters named `name` (its GBK bytes, compared as the charname column and its unique
// index compare), -1 when they cannot be counted.
int charactersNamed(QSqlDatabase &db, const QString &name);

// The id a text names: "0x" and hexadecimal digits always hexadecimal, bare digits decimal,
// bare digits with letters A-F hexadecimal; 0 when it names none or one beyond the charguid
// column's range (1 to 2147483647).
qint64 parseCharGuid(const QString &text);

// "%text%" for LIKE ... ESCAPE '!', with the text's own wildcards taken literally. Works on
// the stored bytes, so a GBK trail byte is never read as an escape.
QByteArray containsPattern(const QByteArray &bytes);

} // namespace CharacterQueries
