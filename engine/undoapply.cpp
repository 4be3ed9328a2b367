#include "undofile.h"

#include "app/atomicfile.h"
#include "app/debuglog.h"
#include "db/connectionrule.h"
#include "db/sqlcolumns.h"
#include "db/storedtext.h"
#include "undoformat.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryFile>

using Sql::quoted;

using namespace UndoFormat;

namespace {
QString decodeHeader(const QByteArray &text)
{
    return QString::fromUtf8(QByteArray::fromPercentEncoding(text));
}

QString headerValue(const QByteArray &line, const char *key)
{
    const QByteArray prefix = QByteArray("-- ") + key + ": ";
    return line.startsWith(prefix) ? decodeHeader(line.mid(prefix.size()).trimmed()) : QString();
}


// Reads an undo file statement by statement, lines ending in CR LF or LF alike.
class ScriptReader
{
public:
    explicit ScriptReader(const QString &path) : m_file(path) {}
    bool open() { return m_file.open(QIODevice::ReadOnly); }
    QString errorString() const { return m_file.errorString(); }
    bool atEnd() const { return m_file.atEnd(); }
    QByteArray line()
    {
        QByteArray text = m_file.readLine();
        if (text.endsWith('\n'))
            text.chop(1);
        if (text.endsWith('\r'))
            text.chop(1);
        return text;
    }

private:
    QFile m_file;
};

struct Verified
{
    qint64 statements = 0;
    QString failure;
};

// Checks that the file is whole and as written: its trailer, its checksum, its statements.
Verified verifyScript(const QString &path)
{
    static const QRegularExpression trailer(QStringLiteral("^-- end: (\\d+) statements, sha256 ([0-9a-f]{64})$"));
    Verified result;
    ScriptReader reader(path);
    if (!reader.open()) {
        result.failure = STORED_TEXT_IN("UndoApply", "无法读取撤销文件: %1").arg(reader.errorString());
        return result;
    }
    QCryptographicHash hash(QCryptographicHash::Sha256);
    QByteArray statement;
    bool first = true;
    bool ended = false;
    qint64 declared = -1;
    QByteArray declaredHash;
    QList<QByteArray> after;
    while (!reader.atEnd()) {
        const QByteArray line = reader.line();
        if (ended) {
            if (!line.trimmed().isEmpty())
                after.append(line);
            continue;
        }
        if (first && line != kMagic) {
            result.failure = STORED_TEXT_IN("UndoApply", "%1 不是撤销文件").arg(path);
            return result;
        }
        first = false;
        if (line.startsWith(kTrailer) && statement.isEmpty()) {
            const QRegularExpressionMatch match = trailer.match(QString::fromLatin1(line));
            if (!match.hasMatch())
                break;
            declared = match.captured(1).toLongLong();
            declaredHash = match.captured(2).toLatin1();
            ended = true;
            continue;
        }
        hash.addData(line);
        hash.addData("\n");
        if (statement.isEmpty() && (line.isEmpty() || line.startsWith("--")))
            continue;
        statement += line;
        if (!line.endsWith(';')) {
            statement += '\n';
            continue;
        }
        if (!isKnownStatement(statement)) {
            result.failure = STORED_TEXT_IN("UndoApply", "撤销文件含有程序不会写出的语句，拒绝执行，未做任何修改: %1")
                                 .arg(QString::fromUtf8(statement.left(120)));
            return result;
        }
        ++result.statements;
        statement.clear();
    }
    if (!ended || after != QList<QByteArray>{kCommit} || !statement.isEmpty()) {
        result.failure = STORED_TEXT_IN("UndoApply", "撤销文件不完整（没有结尾的校验行和 COMMIT），可能被截断，拒绝执行，未做任何修改");
        return result;
    }
    if (declared != result.statements || hash.result().toHex() != declaredHash) {
        result.failure = STORED_TEXT_IN("UndoApply", "撤销文件的校验和不符，文件已被修改或损坏，拒绝执行，未做任何修改");
        return result;
    }
    return result;
}

} // namespace

namespace UndoFormat {

// The forms of statement an undo file holds; anything else in a file is refused.
bool isKnownStatement(const QByteArray &statement)
{
    static const QList<QByteArray> prefixes = {
        "SET SESSION sql_mode = ", "SET SESSION time_zone = '+00:00';", "SET SESSION foreign_key_checks = 0;",
        "SET @quorvel_", "START TRANSACTION;", "INSERT INTO `", "UPDATE `", "DELETE FROM `",
    };
    for (const QByteArray &prefix : prefixes) {
        if (statement.startsWith(prefix))
            return true;
    }
    return false;
}

} // namespace UndoFormat

UndoFile::Summary UndoFile::read(const QString &path)
{
    Summary summary;
    summary.path = path;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return summary;
    if (file.readLine().trimmed() != kMagic)
        return summary;
    static const QRegularExpression check(QStringLiteral("^-- check (\\d+): (.*)$"));
    while (!file.atEnd()) {
        const QByteArray line = file.readLine().trimmed();
        if (!line.startsWith("-- "))
            break;
        if (const QString v = headerValue(line, "operation"); !v.isEmpty())
            summary.operation = v;
        else if (const QString v = headerValue(line, "time"); !v.isEmpty())
            summary.time = QDateTime::fromString(v, Qt::ISODate);
        else if (const QString v = headerValue(line, "server"); !v.isEmpty())
            summary.server = v;
        else if (const QString v = headerValue(line, "database"); !v.isEmpty())
            summary.database = v;
        else if (const QString v = headerValue(line, "databases"); !v.isEmpty())
            summary.databases = v.split(QStringLiteral(", "), Qt::SkipEmptyParts);
        else if (const QString v = headerValue(line, "rows"); !v.isEmpty())
            summary.rows.append(v);
        else if (const QString v = headerValue(line, "charguids"); !v.isEmpty()) {
            for (const QString &id : v.split(QLatin1Char(','), Qt::SkipEmptyParts))
                summary.characterIds.append(id.toInt());
        } else if (const QRegularExpressionMatch match = check.match(QString::fromUtf8(line)); match.hasMatch()) {
            summary.checks.append(decodeHeader(match.captured(2).toUtf8()));
        }
    }
    summary.valid = !summary.database.isEmpty();
    return summary;
}

QStringList UndoFile::describe(const Summary &summary)
{
    QStringList lines{STORED_TEXT("操作: %1").arg(summary.operation),
                      STORED_TEXT("时间: %1").arg(summary.time.toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"))),
                      STORED_TEXT("服务器: %1").arg(summary.server), STORED_TEXT("数据库: %1").arg(summary.database),
                      STORED_TEXT("撤销将写回的数据:")};
    for (const QString &rows : summary.rows)
        lines.append(STORED_TEXT("  %1: %2 条记录").arg(rows.section(QLatin1Char(' '), 0, 0), rows.section(QLatin1Char(' '), -1)));
    return lines;
}

QList<UndoFile::Summary> UndoFile::list()
{
    QList<Summary> files;
    const QFileInfoList entries = QDir(directory()).entryInfoList({QStringLiteral("undo_*.sql")}, QDir::Files, QDir::Time);
    for (const QFileInfo &entry : entries) {
        const Summary summary = read(entry.absoluteFilePath());
        if (summary.valid)
            files.append(summary);
    }
    return files;
}

bool UndoFile::apply(QSqlDatabase &db, const QString &path, QString *error, bool checkOnly)
{
    const Summary summary = read(path);
    if (!summary.valid) {
        *error = STORED_TEXT("%1 不是撤销文件").arg(path);
        return false;
    }
    const Verified verified = verifyScript(path);
    if (!verified.failure.isEmpty()) {
        *error = verified.failure;
        return false;
    }
    QSqlQuery query(db);
    for (const QString &database : summary.databases.isEmpty() ? QStringList{summary.database} : summary.databases) {
        query.prepare(QStringLiteral("SELECT COUNT(*) FROM information_schema.SCHEMATA WHERE SCHEMA_NAME = ?"));
        query.addBindValue(textParameter(db, database));
        if (!query.exec() || !query.next() || query.value(0).toInt() == 0) {
            *error = STORED_TEXT("服务器上没有数据库 %1，未做任何修改").arg(database);
            return false;
        }
    }
    // A character created since may hold an id the undo would put back: named here, refused
    // by the file's own check as well.
    QStringList taken;
    for (qsizetype start = 0; start < summary.characterIds.size(); start += 1000) {
        QStringList slice;
        for (int id : summary.characterIds.mid(start, 1000))
            slice.append(QString::number(id));
        if (!query.exec(QStringLiteral("SELECT charguid FROM %1 WHERE charguid IN (%2) ORDER BY charguid")
                            .arg(Sql::qualified(summary.database, QStringLiteral("t_char")), slice.join(QLatin1Char(','))))) {
            *error = STORED_TEXT("检查角色ID失败: %1").arg(query.lastError().text());
            return false;
        }
        while (query.next())
            taken.append(query.value(0).toString());
    }
    if (!taken.isEmpty()) {
        *error = STORED_TEXT("以下 %1 个角色ID已被占用，撤销未执行，未做任何修改: %2%3")
                     .arg(taken.size())
                     .arg(taken.mid(0, 20).join(QStringLiteral(", ")), taken.size() > 20 ? QStringLiteral(" ...") : QString());
        return false;
    }

    ScriptReader reader(path);
    if (!reader.open()) {
        *error = STORED_TEXT("无法读取撤销文件: %1").arg(reader.errorString());
        return false;
    }
    // The file sets the session's mode, time zone and foreign key checks for itself; the
    // connection gets its own back afterwards.
    QStringList session;
    if (!query.exec(QStringLiteral("SELECT @@SESSION.sql_mode, @@SESSION.time_zone, @@SESSION.foreign_key_checks")) || !query.next()) {
        *error = STORED_TEXT("读取会话设置失败: %1").arg(query.lastError().text());
        return false;
    }
    for (int i = 0; i < 3; ++i)
        session.append(query.value(i).toString());
    if (!db.transaction()) {
        *error = STORED_TEXT("开启事务失败: %1").arg(db.lastError().text());
        return false;
    }
    static const QRegularExpression failedCheck(QStringLiteral("quorvel_check_(\\d+)_failed"));
    QByteArray statement;
    bool ok = true;
    while (ok && !reader.atEnd()) {
        const QByteArray line = reader.line();
        if (statement.isEmpty() && line.startsWith(kTrailer))
            break;
        if (checkOnly && statement.isEmpty() && line == kChanges)
            break;
        if (statement.isEmpty() && (line.startsWith("--") || line.isEmpty()))
            continue;
        statement += line;
        if (!line.endsWith(';')) {
            statement += '\n';
            continue;
        }
        if (statement != "START TRANSACTION;" && !query.exec(QString::fromUtf8(statement))) {
            const QString text = query.lastError().text();
            const QRegularExpressionMatch match = failedCheck.match(text);
            const int number = match.hasMatch() ? match.captured(1).toInt() : 0;
            if (number > 0)
                *error = STORED_TEXT("撤销前的检查未通过（第 %1 项：%2），数据已不是操作后的样子，撤销未执行，未做任何修改")
                             .arg(number)
                             .arg(summary.checks.value(number - 1));
            else
                *error = STORED_TEXT("撤销失败，已回滚，未做任何修改: %1\n%2").arg(text, QString::fromUtf8(statement.left(200)));
            ok = false;
        }
        statement.clear();
    }
    if (checkOnly)
        db.rollback();
    else if (ok && !db.commit()) {
        ok = false;
        *error = STORED_TEXT("提交撤销失败，已回滚: %1").arg(db.lastError().text());
    }
    if (!ok)
        db.rollback();
    query.prepare(QStringLiteral("SET SESSION sql_mode = ?, SESSION time_zone = ?, SESSION foreign_key_checks = ?"));
    query.addBindValue(textParameter(db, session.at(0)));
    query.addBindValue(textParameter(db, session.at(1)));
    query.addBindValue(session.at(2).toInt());
    if (!query.exec())
        debugLog(STORED_TEXT("撤销后恢复会话设置失败: %1").arg(query.lastError().text()));
    const QFileInfo info(path);
    if (ok && !checkOnly && info.absoluteDir() == QDir(directory())) {
        QDir(directory()).mkpath(QStringLiteral("applied"));
        QFile::rename(path, QDir(directory()).filePath(QStringLiteral("applied/") + info.fileName()));
    }
    return ok;
}
