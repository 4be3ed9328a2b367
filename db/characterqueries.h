#pragma once

#include "message.h"

#include "databasemanager.h"

#include <QList>
#include <QString>

class QSqlDatabase;

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
