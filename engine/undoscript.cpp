#include "undoscript.h"

#include "charactertables.h"
#include "base/storedtext.h"

#include <QRegularExpression>

#include <algorithm>
#include <cstring>

namespace UndoScript {

namespace {

struct Token
{
    enum Kind { Word, Ident, Number, Hex, Text, UserVariable, SystemVariable, Punct, End };
    Kind kind = End;
    QByteArray text;  // as written, quotes included
    qsizetype offset = 0;
};

bool isWordStart(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

bool isHexDigit(char c)
{
    return isDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

// The characters of the quoted texts the program writes (modes, time zones, temporal values,
// check values, digests): no quote, backslash or anything else a server or client reads twice.
bool isTextCharacter(char c)
{
    return isWordStart(c) || isDigit(c) || c == ':' || c == '.' || c == ',' || c == '+' || c == '-' || c == ' ';
}

// Splits a statement into tokens as the server would, refusing everything the program does not
// write: comments, double quotes, backslashes, texts with other characters, a ";" before the end.
bool tokenize(const QByteArray &text, QList<Token> *tokens, Message *why)
{
    const qsizetype size = text.size();
    qsizetype i = 0;
    auto fail = [&](const Message &what) {
        *why = STORED_TEXT_IN("UndoScript", "第 %1 个字符处: %2").arg(QString::number(i + 1), what);
        return false;
    };
    while (i < size) {
        const char c = text.at(i);
        if (c == ' ' || c == '\n' || c == '\t') {
            ++i;
            continue;
        }
        const qsizetype start = i;
        Token token;
        if (c == 'X' && i + 1 < size && text.at(i + 1) == '\'') {
            i += 2;
            while (i < size && isHexDigit(text.at(i)))
                ++i;
            if (i >= size || text.at(i) != '\'' || (i - start - 2) % 2 != 0)
                return fail(STORED_TEXT_IN("UndoScript", "不完整的十六进制值"));
            ++i;
            token.kind = Token::Hex;
        } else if (isWordStart(c)) {
            while (i < size && (isWordStart(text.at(i)) || isDigit(text.at(i))))
                ++i;
            token.kind = Token::Word;
        } else if (isDigit(c)) {
            while (i < size && isDigit(text.at(i)))
                ++i;
            if (i < size && text.at(i) == '.') {
                ++i;
                while (i < size && isDigit(text.at(i)))
                    ++i;
            }
            if (i < size && (text.at(i) == 'e' || text.at(i) == 'E')) {
                ++i;
                if (i < size && (text.at(i) == '+' || text.at(i) == '-'))
                    ++i;
                if (i >= size || !isDigit(text.at(i)))
                    return fail(STORED_TEXT_IN("UndoScript", "不完整的数字"));
                while (i < size && isDigit(text.at(i)))
                    ++i;
            }
            if (i < size && (isWordStart(text.at(i)) || text.at(i) == '.'))
                return fail(STORED_TEXT_IN("UndoScript", "不完整的数字"));
            token.kind = Token::Number;
        } else if (c == '`') {
            ++i;
            for (;;) {
                if (i >= size || text.at(i) == '\0')
                    return fail(STORED_TEXT_IN("UndoScript", "未结束的名称"));
                if (text.at(i) == '`') {
                    if (i + 1 < size && text.at(i + 1) == '`') {
                        i += 2;
                        continue;
                    }
                    break;
                }
                ++i;
            }
            ++i;
            token.kind = Token::Ident;
        } else if (c == '\'') {
            ++i;
            while (i < size && isTextCharacter(text.at(i)))
                ++i;
            if (i >= size || text.at(i) != '\'')
                return fail(STORED_TEXT_IN("UndoScript", "程序不会写出的文本"));
            ++i;
            token.kind = Token::Text;
        } else if (c == '@') {
            ++i;
            token.kind = Token::UserVariable;
            if (i < size && text.at(i) == '@') {
                ++i;
                token.kind = Token::SystemVariable;
            }
            while (i < size && (isWordStart(text.at(i)) || isDigit(text.at(i)) || (token.kind == Token::SystemVariable && text.at(i) == '.')))
                ++i;
            if (i - start < (token.kind == Token::SystemVariable ? 3 : 2))
                return fail(STORED_TEXT_IN("UndoScript", "不完整的变量"));
        } else if (c == '>' && i + 1 < size && text.at(i + 1) == '=') {
            i += 2;
            token.kind = Token::Punct;
        } else if (c == '-' && i + 1 < size && text.at(i + 1) == '-') {
            return fail(STORED_TEXT_IN("UndoScript", "注释"));
        } else if (c != '\0' && std::strchr("(),;=*+-.<", c)) {
            ++i;
            token.kind = Token::Punct;
        } else {
            return fail(STORED_TEXT_IN("UndoScript", "程序不会写出的字符"));
        }
        token.text = text.mid(start, i - start);
        token.offset = start;
        tokens->append(token);
    }
    for (qsizetype t = 0; t < tokens->size(); ++t) {
        if (tokens->at(t).text == ";" && t != tokens->size() - 1) {
            *why = STORED_TEXT_IN("UndoScript", "一行中有多条语句");
            return false;
        }
    }
    if (tokens->isEmpty() || tokens->constLast().text != ";") {
        *why = STORED_TEXT_IN("UndoScript", "语句没有以 ; 结束");
        return false;
    }
    return true;
}

// The tables an undo file may touch: those the program changes.
bool isKnownTable(const QByteArray &name)
{
    static const QStringList others = {QStringLiteral("t_char"), QStringLiteral("t_var"), QStringLiteral("account")};
    const QString table = QString::fromUtf8(name);
    return characterDeleteTables.contains(table) || others.contains(table);
}

// Walks the tokens of one statement, shape by shape.
class Cursor
{
public:
    explicit Cursor(const QList<Token> &tokens) : m_tokens(tokens) {}

    const Token &peek(qsizetype ahead = 0) const
    {
        static const Token end;
        return m_at + ahead < m_tokens.size() ? m_tokens.at(m_at + ahead) : end;
    }
    bool word(const char *text)
    {
        if (peek().kind != Token::Word || peek().text != text)
            return false;
        ++m_at;
        return true;
    }
    bool words(std::initializer_list<const char *> texts)
    {
        const qsizetype start = m_at;
        for (const char *text : texts) {
            if (!word(text)) {
                m_at = start;
                return false;
            }
        }
        return true;
    }
    bool punct(const char *text)
    {
        if (peek().kind != Token::Punct || peek().text != text)
            return false;
        ++m_at;
        return true;
    }
    bool ident(QByteArray *text = nullptr)
    {
        if (peek().kind != Token::Ident)
            return false;
        if (text)
            *text = peek().text;
        ++m_at;
        return true;
    }
    bool number()
    {
        if (peek().kind != Token::Number)
            return false;
        ++m_at;
        return true;
    }
    bool integer()
    {
        if (peek().kind != Token::Number || !std::all_of(peek().text.begin(), peek().text.end(), isDigit))
            return false;
        ++m_at;
        return true;
    }
    bool kind(Token::Kind kind)
    {
        if (peek().kind != kind)
            return false;
        ++m_at;
        return true;
    }
    // `database`.`table` of a table the program changes.
    bool table(QByteArray *text)
    {
        QByteArray database;
        QByteArray name;
        if (!ident(&database) || !punct(".") || !ident(&name))
            return false;
        const QByteArray bare = name.mid(1, name.size() - 2);
        if (!isKnownTable(bare))
            return false;
        *text = database + '.' + name;
        return true;
    }
    // One value as Sql::appendLiteral and the key writer write it.
    bool literal()
    {
        if (word("NULL") || kind(Token::Hex) || kind(Token::UserVariable))
            return true;
        if (punct("-"))
            return number();
        if (number())
            return true;
        if (peek().kind == Token::Text) {
            static const QRegularExpression temporal(QStringLiteral("^'-?[0-9][0-9:. -]*'$"));
            if (!temporal.match(QString::fromLatin1(peek().text)).hasMatch())
                return false;
            ++m_at;
            return true;
        }
        if (peek().kind == Token::Word && peek().text.startsWith('_') && peek(1).kind == Token::Hex) {
            m_at += 2;
            return true;
        }
        if (word("CONVERT"))
            return punct("(") && (kind(Token::Hex) || kind(Token::UserVariable)) && word("USING") && kind(Token::Word) && punct(")");
        if (word("FROM_UNIXTIME"))
            return punct("(") && number() && punct(")");
        return false;
    }
    // literal, literal, ...: how many.
    int literals()
    {
        int count = 0;
        do {
            if (!literal())
                return -1;
            ++count;
        } while (punct(","));
        return count;
    }
    qsizetype position() const { return m_at; }
    // The statement's own text from token `start` to the last one taken.
    QByteArray textFrom(qsizetype start, const QByteArray &source) const
    {
        if (m_at <= start)
            return QByteArray();
        const Token &last = m_tokens.at(m_at - 1);
        return source.mid(m_tokens.at(start).offset, last.offset + last.text.size() - m_tokens.at(start).offset);
    }
    bool atEnd() const { return m_at == m_tokens.size() - 1 && m_tokens.constLast().text == ";"; }

private:
    const QList<Token> &m_tokens;
    qsizetype m_at = 0;
};

// The expression a check computes over the selected rows: functions of the fingerprints the
// program writes, over the table's own columns, and nothing that reads anything else.
bool aggregate(Cursor &cursor)
{
    static const QList<QByteArray> functions = {"CONCAT", "COUNT", "COALESCE", "SUM", "CRC32", "CONCAT_WS", "HEX", "QUOTE", "CAST",
                                                "UNIX_TIMESTAMP"};
    int depth = 0;
    qsizetype count = 0;
    for (;; ++count) {
        const Token &token = cursor.peek();
        if (depth == 0 && token.kind == Token::Word && token.text == "FROM")
            return count > 0;
        if (token.kind == Token::End || token.text == ";")
            return false;
        if (token.text == "(") {
            ++depth;
        } else if (token.text == ")") {
            if (--depth < 0)
                return false;
        } else if (token.kind == Token::Word) {
            const bool function = functions.contains(token.text) && cursor.peek(1).text == "(";
            if (!function && token.text != "AS" && token.text != "BINARY")
                return false;
        } else if (token.kind == Token::Punct) {
            if (token.text != "," && token.text != "*" && token.text != "+")
                return false;
        } else if (token.kind != Token::Ident && token.kind != Token::Number && token.kind != Token::Text) {
            return false;
        }
        cursor.kind(token.kind);
    }
}

bool parseCheckValue(Cursor &cursor, const QByteArray &text, Statement *statement)
{
    if (!cursor.word("SET") || cursor.peek().text != "@quorvel_check" || !cursor.kind(Token::UserVariable) || !cursor.punct("=")
        || !cursor.punct("("))
        return false;
    const qsizetype query = cursor.position();
    if (!cursor.word("SELECT"))
        return false;
    const qsizetype from = cursor.position();
    if (!aggregate(cursor))
        return false;
    statement->aggregate = cursor.textFrom(from, text);
    if (!cursor.word("FROM") || !cursor.table(&statement->table) || !cursor.word("WHERE"))
        return false;
    if (cursor.ident(&statement->key)) {
        if (!cursor.word("IN") || !cursor.punct("("))
            return false;
        const qsizetype keys = cursor.position();
        if (cursor.literals() < 0)
            return false;
        statement->keys = cursor.textFrom(keys, text);
        if (!cursor.punct(")"))
            return false;
    } else {
        // The counters' check: (worldid = N AND maxcharguid >= N) OR ..., or without worldid
        // (maxcharguid >= N AND maxcharguid < N) OR ... OR (maxcharguid >= N).
        do {
            if (!cursor.punct("("))
                return false;
            if (cursor.word("worldid")) {
                if (!cursor.punct("=") || !cursor.integer() || !cursor.word("AND") || !cursor.word("maxcharguid") || !cursor.punct(">=")
                    || !cursor.integer())
                    return false;
            } else {
                if (!cursor.word("maxcharguid") || !cursor.punct(">=") || !cursor.integer())
                    return false;
                if (cursor.word("AND") && (!cursor.word("maxcharguid") || !cursor.punct("<") || !cursor.integer()))
                    return false;
            }
            if (!cursor.punct(")"))
                return false;
        } while (cursor.word("OR"));
    }
    statement->query = cursor.textFrom(query, text);
    return cursor.punct(")") && cursor.atEnd();
}

bool parseDelete(Cursor &cursor, Statement *statement)
{
    return cursor.words({"DELETE", "FROM"}) && cursor.table(&statement->table) && cursor.word("WHERE") && cursor.ident() && cursor.word("IN")
        && cursor.punct("(") && cursor.literals() > 0 && cursor.punct(")") && cursor.atEnd();
}

bool parseInsert(Cursor &cursor, Statement *statement)
{
    if (!cursor.words({"INSERT", "INTO"}) || !cursor.table(&statement->table) || !cursor.punct("("))
        return false;
    int columns = 0;
    do {
        if (!cursor.ident())
            return false;
        ++columns;
    } while (cursor.punct(","));
    if (!cursor.punct(")") || !cursor.word("VALUES"))
        return false;
    do {
        if (!cursor.punct("(") || cursor.literals() != columns || !cursor.punct(")"))
            return false;
    } while (cursor.punct(","));
    return cursor.atEnd();
}

bool parseSetBack(Cursor &cursor, Statement *statement)
{
    if (!cursor.word("UPDATE") || !cursor.table(&statement->table) || !cursor.words({"AS", "u", "JOIN"}) || !cursor.punct("(") || !cursor.word("SELECT"))
        return false;
    int columns = 0;
    do {
        if (!cursor.word("NULL") || !cursor.word("AS") || !cursor.ident())
            return false;
        ++columns;
    } while (cursor.punct(","));
    if (!cursor.words({"FROM", "DUAL", "WHERE"}) || cursor.peek().text != "0" || !cursor.number())
        return false;
    while (cursor.words({"UNION", "ALL", "SELECT"})) {
        if (cursor.literals() != columns)
            return false;
    }
    QByteArray left;
    QByteArray right;
    if (!cursor.punct(")") || !cursor.words({"AS", "v", "ON", "u"}) || !cursor.punct(".") || !cursor.ident(&left) || !cursor.punct("=")
        || !cursor.word("v") || !cursor.punct(".") || !cursor.ident(&right) || left != right || !cursor.word("SET"))
        return false;
    int set = 0;
    do {
        if (!cursor.word("u") || !cursor.punct(".") || !cursor.ident(&left) || !cursor.punct("=") || !cursor.word("v") || !cursor.punct(".")
            || !cursor.ident(&right) || left != right)
            return false;
        ++set;
    } while (cursor.punct(","));
    return set == columns - 1 && cursor.atEnd();
}

bool matches(const QByteArray &text, const QRegularExpression &pattern, QRegularExpressionMatch *match = nullptr)
{
    const QRegularExpressionMatch found = pattern.match(QString::fromUtf8(text));
    if (match)
        *match = found;
    return found.hasMatch();
}

// A piece of a value put together in a variable: checked by hand, it may be large.
bool isValuePiece(const QByteArray &text)
{
    static const QRegularExpression head(QStringLiteral("^SET (@quorvel_v\\d+) = (CONCAT\\(\\1, )?X'"));
    const qsizetype open = text.indexOf("X'");
    if (open < 0 || open > 64)
        return false;
    const QRegularExpressionMatch match = head.match(QString::fromLatin1(text.left(open + 2)));
    if (!match.hasMatch())
        return false;
    const QByteArray tail = match.capturedLength(2) > 0 ? "');" : "';";
    if (!text.endsWith(tail))
        return false;
    const qsizetype end = text.size() - tail.size();
    if ((end - open - 2) % 2 != 0)
        return false;
    for (qsizetype i = open + 2; i < end; ++i) {
        if (!isHexDigit(text.at(i)))
            return false;
    }
    return true;
}

const char *const kIdentifier = "`(?:[^`]|``)+`";
} // namespace

bool parse(const QByteArray &text, Statement *statement, Message *why)
{
    *statement = Statement();
    static const QList<QPair<QByteArray, Shape>> fixed = {
        {"SET SESSION sql_mode = 'STRICT_ALL_TABLES,NO_AUTO_VALUE_ON_ZERO';", Shape::Session},
        {"SET SESSION time_zone = '+00:00';", Shape::Session},
        {"SET SESSION foreign_key_checks = 0;", Shape::Session},
        {"START TRANSACTION;", Shape::StartTransaction},
        {"COMMIT;", Shape::Commit},
    };
    for (const auto &[known, shape] : fixed) {
        if (text == known) {
            statement->shape = shape;
            return true;
        }
    }
    static const QRegularExpression server(
        QStringLiteral("^SET SESSION sql_mode = IF\\(CAST\\((@@server_uuid|CONCAT_WS\\(':', @@hostname, @@port, @@datadir\\)) AS BINARY\\) = "
                       "X'([0-9a-f]*)', @@SESSION\\.sql_mode, 'quorvel_check_(\\d+)_failed'\\);$"));
    static const QRegularExpression compare(QStringLiteral("^SET SESSION sql_mode = IF\\(@quorvel_check = '([0-9:]*)', "
                                                           "@@SESSION\\.sql_mode, 'quorvel_check_(\\d+)_failed'\\);$"));
    static const QRegularExpression digest(QStringLiteral("^SET SESSION sql_mode = IF\\(SHA2\\(@quorvel_v\\d+, 256\\) = '[0-9a-f]{64}', "
                                                          "@@SESSION\\.sql_mode, 'quorvel_value_damaged_or_too_large_for_max_allowed_packet'\\);$"));
    // Files of the version before the digest: the value's length only.
    static const QRegularExpression length(QStringLiteral("^SET @quorvel_length = LENGTH\\(@quorvel_v\\d+\\);$|^SET SESSION sql_mode = "
                                                          "IF\\(@quorvel_length = \\d+, @@SESSION\\.sql_mode, "
                                                          "'quorvel_value_too_large_for_max_allowed_packet'\\);$"));
    static const QRegularExpression freeing(QStringLiteral("^SET @quorvel_v\\d+ = NULL;$"));
    static const QRegularExpression counter(QStringLiteral("^UPDATE (%1\\.%1) SET maxcharguid = \\d+ WHERE (worldid = \\d+ AND )?maxcharguid = \\d+;$")
                                                .arg(QLatin1String(kIdentifier)));
    QRegularExpressionMatch match;
    if (text.size() < 4096) {
        if (matches(text, server, &match)) {
            statement->shape = Shape::ServerCheck;
            statement->expected = match.captured(2).toLatin1();
            statement->check = match.captured(3).toInt();
            return true;
        }
        if (matches(text, compare, &match)) {
            statement->shape = Shape::CheckCompare;
            statement->expected = match.captured(1).toLatin1();
            statement->check = match.captured(2).toInt();
            return true;
        }
        if (matches(text, digest) || matches(text, length)) {
            statement->shape = Shape::ValueCheck;
            return true;
        }
        if (matches(text, freeing)) {
            statement->shape = Shape::ValueFree;
            return true;
        }
        if (matches(text, counter, &match) && isKnownTable(match.captured(1).section(QLatin1Char('.'), -1).mid(1).chopped(1).toUtf8())) {
            statement->shape = Shape::CounterBack;
            statement->table = match.captured(1).toUtf8();
            return true;
        }
    }
    if (isValuePiece(text)) {
        statement->shape = Shape::ValuePiece;
        return true;
    }
    QList<Token> tokens;
    if (!tokenize(text, &tokens, why))
        return false;
    const QByteArray first = tokens.constFirst().text;
    Cursor cursor(tokens);
    bool ok = false;
    if (first == "SET") {
        statement->shape = Shape::CheckValue;
        ok = parseCheckValue(cursor, text, statement);
    } else if (first == "DELETE") {
        statement->shape = Shape::Delete;
        ok = parseDelete(cursor, statement);
    } else if (first == "INSERT") {
        statement->shape = Shape::Insert;
        ok = parseInsert(cursor, statement);
    } else if (first == "UPDATE") {
        statement->shape = Shape::SetBack;
        ok = parseSetBack(cursor, statement);
    }
    if (!ok)
        *why = STORED_TEXT_IN("UndoScript", "不是程序写出的语句形式");
    return ok;
}

bool belongsToChecks(Shape shape)
{
    return shape == Shape::Session || shape == Shape::StartTransaction || shape == Shape::ServerCheck || shape == Shape::CheckValue
        || shape == Shape::CheckCompare;
}

ServerIdentity ServerIdentity::fromText(const QString &text)
{
    ServerIdentity identity;
    const QString kind = text.section(QLatin1Char(' '), 0, 0);
    if (kind == QLatin1String("uuid") || kind == QLatin1String("host")) {
        identity.kind = kind;
        identity.value = text.section(QLatin1Char(' '), 1).toUtf8();
    }
    return identity;
}

QByteArray identityExpression(const QString &kind)
{
    return kind == QLatin1String("uuid") ? QByteArray("@@server_uuid") : QByteArray("CONCAT_WS(':', @@hostname, @@port, @@datadir)");
}

QByteArray serverCheck(const ServerIdentity &identity, int number)
{
    return "SET SESSION sql_mode = IF(CAST(" + identityExpression(identity.kind) + " AS BINARY) = X'" + identity.value.toHex()
        + "', @@SESSION.sql_mode, 'quorvel_check_" + QByteArray::number(number) + "_failed');";
}

QByteArray checkCompare(const QByteArray &expected, int number)
{
    return "SET SESSION sql_mode = IF(@quorvel_check = '" + expected + "', @@SESSION.sql_mode, 'quorvel_check_" + QByteArray::number(number)
        + "_failed');";
}

} // namespace UndoScript
