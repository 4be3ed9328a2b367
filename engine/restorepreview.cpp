#include "restorepreview.h"

#include "base/storedtext.h"

#include "gzipfile.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

namespace RestorePreview {

namespace {

struct Token
{
    enum Kind { Word, Name, Text, Punct };
    Kind kind = Word;
    QByteArray text;  // words in upper case; names without their backquotes
};

// Reads a dump as the client tool does and hands over each statement's first tokens and the
// number of row tuples of an INSERT.
class Scanner
{
public:
    explicit Scanner(const QString &database) : m_database(database) {}

    void feed(const QByteArray &chunk);
    void finish();

    Dump dump;

private:
    void endWord();
    void addToken(Token::Kind kind, const QByteArray &text);
    void endStatement();
    void refuse(const QString &why);
    void classify();
    // `name` or `database`.`name` at the cursor: the name, after checking its database.
    bool tableName(qsizetype *at, QString *name);
    bool clientCommandLine(const QByteArray &line);

    const QString m_database;
    QByteArray m_pending;  // an unfinished line
    QByteArray m_delimiter = ";";
    QList<Token> m_tokens;  // the statement's first tokens
    QByteArray m_word;
    QByteArray m_lastLine;
    char m_quote = 0;
    bool m_blockComment = false;
    bool m_executable = false;
    int m_depth = 0;
    bool m_values = false;
    qint64 m_tuples = 0;
    qint64 m_line = 0;
    qint64 m_statementLine = 0;
};

const int kHeadTokens = 64;

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

bool isWordCharacter(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_' || c == '$' || c == '@' || uchar(c) >= 0x80;
}

// The words the client takes as its own commands at the start of a statement.
bool isClientCommandWord(const QByteArray &word)
{
    static const QList<QByteArray> commands = {"?",      "CLEAR",   "CONNECT", "EDIT",     "EGO",    "EXIT",  "GO",      "HELP",
                                               "NOPAGER", "NOTEE",  "NOWARNING", "PAGER",  "PRINT",  "PROMPT", "QUIT",  "REHASH",
                                               "RESETCONNECTION", "SOURCE", "STATUS", "SYSTEM", "TEE", "WARNINGS", "CHARSET",
                                               "QUERY_ATTRIBUTES", "SSL_SESSION_DATA_PRINT"};
    return commands.contains(word);
}

void Scanner::refuse(const QString &why)
{
    if (dump.unfit.isEmpty())
        dump.unfit = STORED_TEXT("第 %1 行: %2").arg(QString::number(m_statementLine > 0 ? m_statementLine : m_line), why);
}

void Scanner::endWord()
{
    if (m_word.isEmpty())
        return;
    addToken(Token::Word, m_word.toUpper());
    m_word.clear();
}

void Scanner::addToken(Token::Kind kind, const QByteArray &text)
{
    if (m_tokens.isEmpty())
        m_statementLine = m_line;
    if (kind == Token::Word && text == "VALUES" && m_depth == 0)
        m_values = true;
    if (m_tokens.size() < kHeadTokens)
        m_tokens.append({kind, text});
}

bool Scanner::clientCommandLine(const QByteArray &line)
{
    // Commands the client reads from the start of a line that begins a statement.
    const QByteArray trimmed = line.trimmed();
    qsizetype end = 0;
    while (end < trimmed.size() && (isWordCharacter(trimmed.at(end)) || trimmed.at(end) == '?'))
        ++end;
    const QByteArray word = trimmed.left(end).toUpper();
    if (word == "DELIMITER") {
        const QByteArray delimiter = trimmed.mid(end).trimmed().split(' ').value(0);
        if (delimiter.isEmpty() || delimiter.contains('\\'))
            refuse(STORED_TEXT("DELIMITER 没有给出分隔符"));
        else
            m_delimiter = delimiter;
        return true;
    }
    if (isClientCommandWord(word)) {
        refuse(STORED_TEXT("客户端命令 %1").arg(QString::fromUtf8(word.toLower())));
        return true;
    }
    return false;
}

void Scanner::feed(const QByteArray &chunk)
{
    m_pending += chunk;
    qsizetype start = 0;
    for (;;) {
        const qsizetype newline = m_pending.indexOf('\n', start);
        if (newline < 0)
            break;
        const QByteArray line = m_pending.mid(start, newline - start + 1);
        start = newline + 1;
        ++m_line;
        if (!line.trimmed().isEmpty())
            m_lastLine = line.trimmed().left(64);
        const bool statementStart = m_tokens.isEmpty() && m_word.isEmpty() && !m_quote && !m_blockComment && !m_executable;
        if (statementStart && clientCommandLine(line))
            continue;
        for (qsizetype i = 0; i < line.size(); ++i) {
            const char c = line.at(i);
            if (m_quote) {
                if (c == '\\' && m_quote != '`') {
                    ++i;
                } else if (c == m_quote) {
                    if (i + 1 < line.size() && line.at(i + 1) == m_quote) {
                        m_word += c;
                        ++i;
                        continue;
                    }
                    addToken(m_quote == '`' ? Token::Name : Token::Text, m_word);
                    m_word.clear();
                    m_quote = 0;
                } else if (m_quote == '`' || m_word.size() < 256) {
                    m_word += c;
                }
                continue;
            }
            if (m_blockComment) {
                if (c == '*' && i + 1 < line.size() && line.at(i + 1) == '/') {
                    m_blockComment = false;
                    ++i;
                }
                continue;
            }
            if (c == m_delimiter.at(0) && QByteArrayView(line).sliced(i, qMin(m_delimiter.size(), line.size() - i)) == QByteArrayView(m_delimiter)) {
                endWord();
                endStatement();
                i += m_delimiter.size() - 1;
                continue;
            }
            if (c == '#' || (c == '-' && i + 1 < line.size() && line.at(i + 1) == '-' && (i + 2 >= line.size() || isBlank(line.at(i + 2))))) {
                endWord();
                break;
            }
            if (c == '/' && i + 1 < line.size() && line.at(i + 1) == '*') {
                endWord();
                // Executable comments are code: their contents are read on, the marker skipped.
                qsizetype j = i + 2;
                if (j < line.size() && line.at(j) == 'M')
                    ++j;
                if (j < line.size() && line.at(j) == '!') {
                    ++j;
                    while (j < line.size() && line.at(j) >= '0' && line.at(j) <= '9')
                        ++j;
                    m_executable = true;
                    i = j - 1;
                } else {
                    m_blockComment = true;
                    ++i;
                }
                continue;
            }
            if (c == '*' && m_executable && i + 1 < line.size() && line.at(i + 1) == '/') {
                endWord();
                m_executable = false;
                ++i;
                continue;
            }
            if (c == '\\') {
                endWord();
                const char command = i + 1 < line.size() ? line.at(i + 1) : '\n';
                if (command != '-')
                    refuse(STORED_TEXT("客户端命令 \\%1").arg(QChar::fromLatin1(command)));
                // The sandbox line: the client takes the rest of the line as the command's.
                m_executable = false;
                break;
            }
            if (c == '\'' || c == '"' || c == '`') {
                endWord();
                m_quote = c;
                continue;
            }
            if (isWordCharacter(c)) {
                m_word += c;
                continue;
            }
            endWord();
            if (c == '(') {
                if (m_depth++ == 0 && m_values)
                    ++m_tuples;
            } else if (c == ')') {
                --m_depth;
            }
            if (!isBlank(c))
                addToken(Token::Punct, QByteArray(1, c));
        }
        if (!m_quote)
            endWord();
    }
    m_pending.remove(0, start);
}

void Scanner::finish()
{
    if (!m_pending.isEmpty())
        feed("\n");
    endWord();
    if (!m_tokens.isEmpty())
        endStatement();
    dump.complete = m_lastLine.startsWith("-- Dump completed");
    dump.databases.removeDuplicates();
}

void Scanner::endStatement()
{
    if (!m_tokens.isEmpty())
        classify();
    m_tokens.clear();
    m_depth = 0;
    m_values = false;
    m_tuples = 0;
    m_statementLine = 0;
}

bool Scanner::tableName(qsizetype *at, QString *name)
{
    const auto nameAt = [&](qsizetype i) {
        return i < m_tokens.size() && (m_tokens.at(i).kind == Token::Name || m_tokens.at(i).kind == Token::Word);
    };
    if (!nameAt(*at))
        return false;
    QByteArray first = m_tokens.at(*at).text;
    if (m_tokens.at(*at).kind == Token::Word)
        first = first.toLower();
    if (*at + 2 < m_tokens.size() && m_tokens.at(*at + 1).text == "." && nameAt(*at + 2)) {
        const QString database = QString::fromUtf8(first);
        QByteArray table = m_tokens.at(*at + 2).text;
        if (m_tokens.at(*at + 2).kind == Token::Word)
            table = table.toLower();
        if (database.compare(m_database, Qt::CaseInsensitive) != 0)
            refuse(STORED_TEXT("表 %1.%2 属于另一个数据库").arg(database, QString::fromUtf8(table)));
        *name = QString::fromUtf8(table);
        *at += 3;
        return true;
    }
    *name = QString::fromUtf8(first);
    *at += 1;
    return true;
}

void Scanner::classify()
{
    const auto word = [&](qsizetype i) { return i < m_tokens.size() && m_tokens.at(i).kind == Token::Word ? m_tokens.at(i).text : QByteArray(); };
    const auto skip = [&](qsizetype *i, std::initializer_list<const char *> words) {
        while (std::any_of(words.begin(), words.end(), [&](const char *w) { return word(*i) == w; }))
            ++*i;
    };
    const auto names = [&](qsizetype i, QStringList *into) {
        QString name;
        while (tableName(&i, &name)) {
            if (into)
                into->append(name);
            while (i < m_tokens.size() && m_tokens.at(i).text != ",")
                ++i;
            if (i >= m_tokens.size())
                break;
            ++i;
        }
    };
    const QByteArray first = word(0);
    qsizetype i = 1;
    QString name;
    if (first == "SET") {
        for (const Token &token : std::as_const(m_tokens)) {
            static const QList<QByteArray> server = {"GLOBAL", "PERSIST", "PERSIST_ONLY", "PASSWORD", "ROLE", "@@GLOBAL"};
            if (token.kind == Token::Word && server.contains(token.text))
                return refuse(STORED_TEXT("语句改动服务器的设置: SET %1").arg(QString::fromUtf8(token.text)));
        }
    } else if (first == "DROP") {
        skip(&i, {"TEMPORARY"});
        const QByteArray what = word(i++);
        skip(&i, {"IF", "EXISTS"});
        if (what == "TABLE" || what == "TABLES")
            names(i, &dump.dropped);
        else if (what == "VIEW" || what == "PROCEDURE" || what == "FUNCTION" || what == "TRIGGER" || what == "EVENT")
            names(i, nullptr);
        else if (what == "DATABASE" || what == "SCHEMA")
            refuse(STORED_TEXT("文件删除数据库"));
        else
            refuse(STORED_TEXT("备份中不该有的语句: DROP %1").arg(QString::fromUtf8(what)));
    } else if (first == "CREATE") {
        // CREATE [OR REPLACE] [ALGORITHM=...] [DEFINER=...] [SQL SECURITY ...] <what>
        static const QList<QByteArray> objects = {"TABLE", "VIEW", "PROCEDURE", "FUNCTION", "TRIGGER", "EVENT", "DATABASE", "SCHEMA"};
        while (i < m_tokens.size() && i < 16 && !(m_tokens.at(i).kind == Token::Word && objects.contains(m_tokens.at(i).text)))
            ++i;
        const QByteArray what = word(i++);
        skip(&i, {"IF", "NOT", "EXISTS"});
        if (what == "TABLE") {
            if (tableName(&i, &name))
                dump.recreated.append(name);
        } else if (what == "DATABASE" || what == "SCHEMA") {
            // Only the database restored into, and only where it exists already: no change.
            const bool ifNotExists = word(i - 1) == "EXISTS";
            if (tableName(&i, &name) && name.compare(m_database, Qt::CaseInsensitive) == 0 && ifNotExists)
                dump.databases.append(name);
            else
                refuse(STORED_TEXT("文件创建数据库 %1").arg(name));
        } else if (!what.isEmpty()) {
            tableName(&i, &name);
            // A trigger names its table after ON.
            while (what == "TRIGGER" && i < m_tokens.size() && word(i) != "ON")
                ++i;
            if (what == "TRIGGER" && ++i < m_tokens.size())
                tableName(&i, &name);
        } else {
            refuse(STORED_TEXT("备份中不该有的语句: CREATE %1").arg(QString::fromUtf8(word(1))));
        }
    } else if (first == "ALTER") {
        const QByteArray what = word(i++);
        if (what == "TABLE") {
            tableName(&i, &name);
        } else if (what == "DATABASE" || what == "SCHEMA") {
            // Without a name it is the current one; mysqldump names it around routines.
            static const QList<QByteArray> options = {"CHARACTER", "CHARSET", "DEFAULT", "COLLATE"};
            if (!options.contains(word(i)) && (!tableName(&i, &name) || name.compare(m_database, Qt::CaseInsensitive) != 0))
                refuse(STORED_TEXT("文件改动另一个数据库 %1").arg(name));
        } else {
            refuse(STORED_TEXT("备份中不该有的语句: ALTER %1").arg(QString::fromUtf8(what)));
        }
    } else if (first == "LOCK") {
        skip(&i, {"TABLES", "TABLE"});
        names(i, nullptr);
    } else if (first == "INSERT" || first == "REPLACE") {
        skip(&i, {"LOW_PRIORITY", "DELAYED", "HIGH_PRIORITY", "IGNORE", "INTO"});
        if (tableName(&i, &name))
            dump.rows[name] += m_tuples;
    } else if (first == "DELETE") {
        skip(&i, {"LOW_PRIORITY", "QUICK", "IGNORE"});
        if (word(i++) != "FROM" || !tableName(&i, &name) || (i < m_tokens.size() && m_tokens.at(i).text == ","))
            refuse(STORED_TEXT("备份中不该有的语句: DELETE"));
        else
            dump.deleted.append(name);
    } else if (first == "TRUNCATE") {
        skip(&i, {"TABLE"});
        if (tableName(&i, &name))
            dump.emptied.append(name);
    } else if (first == "USE") {
        if (tableName(&i, &name))
            dump.databases.append(name);
        if (name.compare(m_database, Qt::CaseInsensitive) != 0)
            refuse(STORED_TEXT("文件切换到另一个数据库 %1").arg(name));
    } else if (first == "UNLOCK" || first == "START" || first == "BEGIN" || first == "COMMIT") {
    } else if (isClientCommandWord(first) || first == "DELIMITER") {
        refuse(STORED_TEXT("客户端命令 %1").arg(QString::fromUtf8(first.toLower())));
    } else {
        refuse(STORED_TEXT("备份中不该有的语句: %1").arg(QString::fromUtf8(first.isEmpty() ? m_tokens.constFirst().text : first)));
    }
}

} // namespace

bool scan(const QString &dumpFile, const QString &database, Dump *dump, Message *error)
{
    Gzip::Dump file;
    QString openError;
    if (!file.open(dumpFile, &openError)) {
        *error = STORED_TEXT("无法读取备份文件 %1: %2").arg(dumpFile, openError);
        return false;
    }
    Scanner scanner(database);
    while (!file.device()->atEnd())
        scanner.feed(file.device()->read(1 << 20));
    if (file.failed()) {
        *error = STORED_TEXT("无法读取备份文件 %1: %2").arg(dumpFile, file.device()->errorString());
        return false;
    }
    scanner.finish();
    *dump = scanner.dump;
    return true;
}

bool dumpCompleted(const QString &dumpFile)
{
    QFile file(dumpFile);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    file.seek(qMax<qint64>(0, file.size() - 4096));
    const QList<QByteArray> lines = file.readAll().trimmed().split('\n');
    return lines.last().startsWith("-- Dump completed");
}

Message refusal(const Dump &dump, const QString &dumpFile)
{
    if (!dump.complete)
        return STORED_TEXT("%1 不是完整的备份（没有 mysqldump 结尾的 \"-- Dump completed\"，可能是失败或中断的备份），拒绝恢复")
            .arg(QFileInfo(dumpFile).fileName());
    if (!dump.unfit.isEmpty())
        return STORED_TEXT("%1 含有恢复不能执行的内容，拒绝恢复，未做任何修改: %2").arg(QFileInfo(dumpFile).fileName(), dump.unfit);
    return QString();
}

QList<Table> compare(QSqlDatabase &db, const QString &dumpFile, Message *error)
{
    QSqlQuery query(db);
    const QString database = query.exec(QStringLiteral("SELECT DATABASE()")) && query.next() ? query.value(0).toString() : QString();
    Dump dump;
    if (!scan(dumpFile, database, &dump, error))
        return {};
    if (const Message refused = refusal(dump, dumpFile); !refused.isEmpty()) {
        *error = refused;
        return {};
    }
    QMap<QString, qint64> now;
    QStringList tables;
    if (query.exec(QStringLiteral("SELECT table_name FROM information_schema.tables WHERE table_schema = DATABASE() AND table_type = 'BASE TABLE'"))) {
        while (query.next())
            tables.append(query.value(0).toString());
    }
    for (const QString &table : std::as_const(tables)) {
        if (query.exec(QStringLiteral("SELECT COUNT(*) FROM `%1`").arg(QString(table).replace(QLatin1Char('`'), QStringLiteral("``"))))
            && query.next())
            now.insert(table, query.value(0).toLongLong());
    }
    QStringList names = now.keys() + dump.rows.keys() + dump.recreated + dump.dropped + dump.emptied + dump.deleted;
    names.removeDuplicates();
    names.sort();
    QList<Table> result;
    for (const QString &name : std::as_const(names)) {
        Table table;
        table.name = name;
        table.now = now.value(name, -1);
        const bool recreated = dump.recreated.contains(name);
        if (recreated)
            table.file = dump.rows.value(name, 0);
        else
            table.inserted = dump.rows.value(name, 0);
        table.dropped = dump.dropped.contains(name) && !recreated;
        table.emptied = dump.emptied.contains(name);
        table.deleted = dump.deleted.contains(name);
        result.append(table);
    }
    return result;
}

QList<Table> changed(const QList<Table> &tables)
{
    QList<Table> result;
    for (const Table &table : tables) {
        if (table.file >= 0 || table.inserted > 0 || (table.dropped && table.now >= 0) || table.emptied || table.deleted)
            result.append(table);
    }
    return result;
}

QList<Message> lines(const QList<Table> &tables)
{
    QList<Message> lines;
    for (const Table &table : tables) {
        const QString now = QString::number(qMax<qint64>(0, table.now));
        if (table.dropped && table.now >= 0)
            lines.append(STORED_TEXT("  %1: 现有 %2 条，文件删除此表（DROP TABLE）").arg(table.name, now));
        else if (table.file >= 0 && table.now >= 0)
            lines.append(STORED_TEXT("  %1: 现有 %2 条 → 恢复后 %3 条").arg(table.name, now, QString::number(table.file)));
        else if (table.file >= 0)
            lines.append(STORED_TEXT("  %1: 现在没有此表 → 恢复后 %2 条").arg(table.name, QString::number(table.file)));
        else if (table.emptied || table.deleted)
            lines.append(STORED_TEXT("  %1: 现有 %2 条，文件清空或删除此表的行（%3），再写入 %4 条")
                             .arg(table.name, now, table.emptied ? QStringLiteral("TRUNCATE") : QStringLiteral("DELETE"),
                                  QString::number(table.inserted)));
        else if (table.inserted > 0)
            lines.append(STORED_TEXT("  %1: 现有 %2 条，文件另外写入 %3 条").arg(table.name, now, QString::number(table.inserted)));
        else if (!table.dropped)
            lines.append(STORED_TEXT("  %1: 现有 %2 条，文件中没有此表，保持不变").arg(table.name, now));
    }
    return lines;
}

QStringList clientSafetyOptions(const QString &clientTool)
{
    QProcess process;
    process.start(clientTool, {QStringLiteral("--no-defaults"), QStringLiteral("--help")});
    const QByteArray help = process.waitForFinished(5000) ? process.readAllStandardOutput() : QByteArray();
    const auto has = [&help](const char *option) {
        return QRegularExpression(QStringLiteral("\\n\\s+(-\\w, )?%1\\b").arg(QLatin1String(option))).match(QString::fromUtf8(help)).hasMatch();
    };
    QStringList options;
    if (has("--binary-mode"))
        options.append(QStringLiteral("--binary-mode"));
    if (has("--sandbox"))
        options.append(QStringLiteral("--sandbox"));
    if (has("--commands"))
        options.append(QStringLiteral("--commands=OFF"));
    else if (has("--system-command"))
        options.append(QStringLiteral("--system-command=OFF"));
    return options;
}

} // namespace RestorePreview
