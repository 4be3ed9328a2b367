#include "undofile.h"

#include "base/atomicfile.h"
#include "base/debuglog.h"
#include "db/connectionrule.h"
#include "db/sqlcolumns.h"
#include "base/storedtext.h"
#include "undoformat.h"
#include "db/legacytext.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QSet>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringDecoder>
#include <QTemporaryFile>

#include <algorithm>
#include <functional>

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

// The database of a table name as a statement writes it: `database`.`table`.
QString databaseOfTable(const QByteArray &qualified)
{
    const qsizetype dot = qualified.indexOf("`.`");
    return dot < 1 ? QString() : QString::fromUtf8(qualified.mid(1, dot - 1).replace("``", "`"));
}

bool isSystemDatabase(const QString &database)
{
    static const QStringList system = {QStringLiteral("mysql"), QStringLiteral("information_schema"), QStringLiteral("performance_schema"),
                                       QStringLiteral("sys")};
    return system.contains(database.toLower());
}

// What a walk over the file hands to its visitor for each statement.
struct Step
{
    QByteArray text;  // up to and including the ";"
    UndoScript::Statement statement;
    bool checks = true;    // before the "-- changes" line
    QByteArray keyValues;  // the "keys of check" line of a check, when the file has one
};

struct Walked
{
    qint64 statements = 0;
    QByteArray checksum;
    bool reachedChanges = false;
    QString failure;
};

// The digest a file's trailer names and its value, read from the file's end; empty when the
// end holds no trailer.
QPair<QByteArray, QByteArray> trailerDigest(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    file.seek(qMax<qint64>(0, file.size() - 256));
    const QByteArray tail = file.readAll();
    for (const QByteArray &name : {kDigestName, kOldDigestName}) {
        const qsizetype at = tail.lastIndexOf(" statements, " + name + ' ');
        if (at >= 0)
            return {name, tail.mid(at + 14 + name.size(), 64)};
    }
    return {};
}

// Reads the file statement by statement, as the program writes it and nothing else: the magic
// line, the header, the setup and the checks, the "-- changes" line, the changes, the trailer
// and COMMIT. Every statement must parse as one of UndoScript's shapes, in its section, on the
// file's own databases; the trailer must count them and hash everything before it. `visit`
// (when given) sees each statement as it is read and may stop the walk by returning false;
// `stopAtChanges` ends it at the "-- changes" line.
Walked walk(const QString &path, const QStringList &databases, const std::function<bool(const Step &)> &visit = {},
            bool stopAtChanges = false)
{
    static const QRegularExpression trailer(QStringLiteral("^-- end: (\\d+) statements, (sha256|blake2b-256) ([0-9a-f]{64})$"));
    static const QRegularExpression keysLine(QStringLiteral("^-- keys of check (\\d+): "));
    Walked result;
    ScriptReader reader(path);
    if (!reader.open()) {
        result.failure = STORED_TEXT_IN("UndoApply", "无法读取撤销文件: %1").arg(reader.errorString());
        return result;
    }
    // The digest the trailer names, read first: the walk hashes as it reads.
    const QByteArray digestName = trailerDigest(path).first;
    QCryptographicHash hash(digestName == kOldDigestName ? QCryptographicHash::Sha256 : kDigest);
    QByteArray text;
    bool first = true;
    bool header = true;
    bool checks = true;
    bool started = false;
    bool ended = false;
    bool committed = false;
    bool awaitingCompare = false;
    qint64 declared = -1;
    QByteArray keyValues;
    auto refuse = [&](const Message &why) {
        result.failure = STORED_TEXT_IN("UndoApply", "撤销文件含有程序不会写出的内容，拒绝执行，未做任何修改: %1").arg(why);
        return result;
    };
    while (!reader.atEnd()) {
        const QByteArray line = reader.line();
        if (first) {
            if (line != kMagic) {
                result.failure = STORED_TEXT_IN("UndoApply", "%1 不是撤销文件").arg(path);
                return result;
            }
            first = false;
            hash.addData(line + '\n');
            continue;
        }
        if (ended) {
            if (line == kCommit && !committed)
                committed = true;
            else if (!line.trimmed().isEmpty())
                return refuse(QString::fromUtf8(line.left(120)));
            continue;
        }
        if (text.isEmpty() && line.startsWith(kTrailer)) {
            const QRegularExpressionMatch match = trailer.match(QString::fromLatin1(line));
            if (!match.hasMatch())
                break;
            declared = match.captured(1).toLongLong();
            if (match.captured(2).toLatin1() != digestName)
                break;
            result.checksum = match.captured(3).toLatin1();
            ended = true;
            continue;
        }
        hash.addData(line + '\n');
        if (text.isEmpty() && line.trimmed().isEmpty())
            continue;
        if (text.isEmpty() && line.startsWith("--")) {
            if (header && (line.startsWith("-- ") || line == "--"))
                continue;
            if (line == kChanges && checks && started && !awaitingCompare) {
                checks = false;
                result.reachedChanges = true;
                if (stopAtChanges)
                    return result;
                continue;
            }
            if (checks && keysLine.match(QString::fromLatin1(line.left(40))).hasMatch()) {
                keyValues = line.mid(line.indexOf(": ") + 2);
                continue;
            }
            return refuse(QString::fromUtf8(line.left(120)));
        }
        header = false;
        text += line;
        if (!line.endsWith(';')) {
            text += '\n';
            continue;
        }
        Step step;
        step.text = text;
        step.checks = checks;
        text.clear();
        Message why;
        if (!UndoScript::parse(step.text, &step.statement, &why))
            return refuse(Message::source(QStringLiteral("%1: %2")).arg(why, QString::fromUtf8(step.text.left(120))));
        using UndoScript::Shape;
        const Shape shape = step.statement.shape;
        // The setup, then the checks (each value followed by its comparison), then the changes.
        const bool setup = shape == Shape::Session || shape == Shape::StartTransaction;
        const bool placed = checks == UndoScript::belongsToChecks(shape) && (setup ? !started : !checks || started)
            && awaitingCompare == (shape == Shape::CheckCompare) && shape != Shape::Commit;
        if (!placed)
            return refuse(STORED_TEXT_IN("UndoApply", "语句不在程序写它的位置: %1").arg(QString::fromUtf8(step.text.left(120))));
        started = started || shape == Shape::StartTransaction;
        awaitingCompare = shape == Shape::CheckValue;
        const QString database = databaseOfTable(step.statement.table);
        if (!step.statement.table.isEmpty() && (!databases.contains(database) || isSystemDatabase(database)))
            return refuse(STORED_TEXT_IN("UndoApply", "语句作用于文件头没有列出的数据库 %1").arg(database));
        if (shape == Shape::CheckValue) {
            step.keyValues = keyValues;
            keyValues.clear();
        }
        ++result.statements;
        if (visit && !visit(step))
            return result;
    }
    if (!ended || !committed || !text.isEmpty() || !result.reachedChanges) {
        result.failure = STORED_TEXT_IN("UndoApply", "撤销文件不完整（没有结尾的校验行和 COMMIT），可能被截断，拒绝执行，未做任何修改");
        return result;
    }
    if (declared != result.statements || hash.result().toHex() != result.checksum) {
        result.failure = STORED_TEXT_IN("UndoApply", "撤销文件的校验和不符，文件已被修改或损坏，拒绝执行，未做任何修改");
        return result;
    }
    return result;
}

// The trailer's checksum of a file, read from its end: to know a file applied before.
QByteArray trailerChecksum(const QString &path)
{
    return trailerDigest(path).second;
}

// A key as the program shows it: its bytes as text, numbers as they are.
QString shownKey(const QByteArray &hex)
{
    const QByteArray bytes = QByteArray::fromHex(hex);
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = utf8.decode(bytes);
    return utf8.hasError() ? decodeGbk(bytes) : text;
}

// The rows of a failed check that are not as the operation left them, named by their keys.
QStringList differingRows(QSqlDatabase &db, const UndoScript::Statement &check, const QByteArray &keyValues)
{
    if (check.key.isEmpty())
        return {};
    QMap<QByteArray, QByteArray> expected;
    for (const QByteArray &pair : keyValues.split(' ')) {
        if (const qsizetype equals = pair.indexOf('='); equals > 0)
            expected.insert(pair.left(equals), pair.mid(equals + 1));
    }
    QSqlQuery query(db);
    query.setForwardOnly(true);
    if (!query.exec(QString::fromUtf8("SELECT HEX(CAST(" + check.key + " AS BINARY)), " + check.aggregate + " FROM " + check.table + " WHERE "
                                      + check.key + " IN (" + check.keys + ") GROUP BY " + check.key)))
        return {};
    QMap<QByteArray, QByteArray> now;
    while (query.next())
        now.insert(query.value(0).toByteArray().toLower(), query.value(1).toByteArray());
    const QString column = QStringLiteral("%1.%2").arg(QString::fromUtf8(check.table.mid(check.table.lastIndexOf("`.`") + 3).chopped(1)),
                                                        QString::fromUtf8(check.key.mid(1).chopped(1)));
    QList<QByteArray> keys = expected.keys() + now.keys();
    std::sort(keys.begin(), keys.end());
    keys.erase(std::unique(keys.begin(), keys.end()), keys.end());
    QStringList rows;
    for (const QByteArray &key : std::as_const(keys)) {
        if (expected.value(key) != now.value(key))
            rows.append(QStringLiteral("%1 = %2").arg(column, shownKey(key)));
    }
    return rows;
}

} // namespace

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
        else if (const QString v = headerValue(line, "server identity"); !v.isEmpty())
            summary.identity = UndoScript::ServerIdentity::fromText(v);
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

QList<Message> UndoFile::describe(const Summary &summary)
{
    QList<Message> lines{STORED_TEXT("操作: %1").arg(summary.operation),
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

namespace {
// Checksums of applied files that a prune removed, one per line.
QString prunedChecksumsPath()
{
    return QDir(UndoFile::directory()).filePath(QStringLiteral("applied/pruned-checksums.txt"));
}
} // namespace

QList<UndoFile::Prunable> UndoFile::prunable(int days, const QStringList &named)
{
    QList<Prunable> files;
    const QDir applied(QDir(directory()).filePath(QStringLiteral("applied")));
    QSet<QString> chosen;
    for (const QString &path : named)
        chosen.insert(QFileInfo(path).absoluteFilePath());
    for (const QFileInfo &entry : applied.entryInfoList({QStringLiteral("*.sql")}, QDir::Files, QDir::Time))
        files.append({entry.absoluteFilePath(), entry.size(), true});
    const QDateTime limit = QDateTime::currentDateTime().addDays(-qMax(0, days));
    QSet<QString> kept;  // server and database whose newest file was seen
    QList<Summary> written = list();
    std::stable_sort(written.begin(), written.end(), [](const Summary &a, const Summary &b) { return a.time > b.time; });
    for (const Summary &file : std::as_const(written)) {
        const QString absolute = QFileInfo(file.path).absoluteFilePath();
        const QString where = (file.identity.isValid() ? file.identity.text() : file.server) + QLatin1Char('/') + file.database;
        const bool newest = !kept.contains(where);
        kept.insert(where);
        if (chosen.contains(absolute) || (days >= 0 && file.time.isValid() && file.time < limit && !newest))
            files.append({absolute, QFileInfo(absolute).size(), false});
    }
    return files;
}

bool UndoFile::prune(const QList<Prunable> &files, Message *error)
{
    QSaveFile record(prunedChecksumsPath());
    QByteArray checksums;
    if (QFile old(prunedChecksumsPath()); old.open(QIODevice::ReadOnly))
        checksums = old.readAll();
    for (const Prunable &file : files) {
        if (file.applied)
            checksums += trailerChecksum(file.path) + '\n';
    }
    if (std::any_of(files.cbegin(), files.cend(), [](const Prunable &file) { return file.applied; })
        && (!QDir().mkpath(QFileInfo(prunedChecksumsPath()).absolutePath()) || !record.open(QIODevice::WriteOnly)
            || record.write(checksums) != checksums.size() || !record.commit())) {
        *error = STORED_TEXT("无法记录已执行的撤销文件: %1").arg(record.errorString());
        return false;
    }
    for (const Prunable &file : files) {
        if (QFile::exists(file.path) && !QFile::remove(file.path)) {
            *error = STORED_TEXT("无法删除 %1").arg(file.path);
            return false;
        }
    }
    return true;
}

bool UndoFile::apply(QSqlDatabase &db, const QString &path, Message *error, bool checkOnly)
{
    ApplyOptions options;
    options.checkOnly = checkOnly;
    const Applied applied = apply(db, path, options);
    *error = applied.error;
    return applied.ok;
}

UndoFile::Applied UndoFile::apply(QSqlDatabase &db, const QString &path, const ApplyOptions &options)
{
    Applied result;
    const Summary summary = read(path);
    if (!summary.valid) {
        result.error = STORED_TEXT("%1 不是撤销文件").arg(path);
        return result;
    }
    // A file runs once: the copy kept in "applied", and any file of the same content, are refused.
    const QFileInfo info(path);
    const QDir applied(QDir(directory()).filePath(QStringLiteral("applied")));
    const QByteArray checksum = trailerChecksum(path);
    if (info.absoluteDir() == applied) {
        result.error = STORED_TEXT("%1 已经执行过（在 applied 目录中），不能再执行").arg(path);
        return result;
    }
    for (const QFileInfo &done : applied.entryInfoList({QStringLiteral("*.sql")}, QDir::Files)) {
        if (!checksum.isEmpty() && trailerChecksum(done.absoluteFilePath()) == checksum) {
            result.error = STORED_TEXT("这个撤销文件已经执行过（%1），不能再执行").arg(done.absoluteFilePath());
            return result;
        }
    }
    if (QFile pruned(prunedChecksumsPath()); !checksum.isEmpty() && pruned.open(QIODevice::ReadOnly)
        && pruned.readAll().split('\n').contains(checksum)) {
        result.error = STORED_TEXT("这个撤销文件已经执行过（其执行记录已清理），不能再执行");
        return result;
    }
    const QStringList databases = summary.databases.isEmpty() ? QStringList{summary.database} : summary.databases;
    const Walked verified = walk(path, databases);
    if (!verified.failure.isEmpty()) {
        result.error = verified.failure;
        return result;
    }
    // The server and the database the operator chose must be those the file was written on.
    const UndoScript::ServerIdentity here = CommitCheck::serverIdentity(db);
    if (!summary.identity.isValid() || here.kind != summary.identity.kind || here.value != summary.identity.value) {
        result.fileServer = summary.identity.isValid() ? QStringLiteral("%1 (%2)").arg(summary.server, summary.identity.text())
                                                       : STORED_TEXT("%1（文件没有记录服务器标识）").arg(summary.server).stored();
        result.thisServer = here.isValid() ? here.text() : STORED_TEXT("无法读取: %1").arg(db.lastError().text()).stored();
        if (!options.serverMoved) {
            result.otherServer = true;
            result.error = STORED_TEXT("撤销文件写于另一台服务器，拒绝执行，未做任何修改。\n文件: %1\n当前服务器: %2\n"
                                       "如果这确实是同一台服务器（迁移过），请确认后再执行")
                               .arg(result.fileServer, result.thisServer);
            return result;
        }
    }
    if (!options.databases.isEmpty() && !options.databases.contains(summary.database)) {
        result.error = STORED_TEXT("撤销文件作用于数据库 %1，而选择的是 %2，拒绝执行，未做任何修改")
                           .arg(summary.database, options.databases.join(QStringLiteral(", ")));
        return result;
    }
    QSqlQuery query(db);
    for (const QString &database : databases) {
        query.prepare(QStringLiteral("SELECT COUNT(*) FROM information_schema.SCHEMATA WHERE SCHEMA_NAME = ?"));
        query.addBindValue(textParameter(db, database));
        if (!query.exec() || !query.next() || query.value(0).toInt() == 0) {
            result.error = STORED_TEXT("服务器上没有数据库 %1，未做任何修改").arg(database);
            return result;
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
            result.error = STORED_TEXT("检查角色ID失败: %1").arg(query.lastError().text());
            return result;
        }
        while (query.next())
            taken.append(query.value(0).toString());
    }
    if (!taken.isEmpty()) {
        result.error = STORED_TEXT("以下 %1 个角色ID已被占用，撤销未执行，未做任何修改: %2%3")
                           .arg(QString::number(taken.size()), taken.mid(0, 20).join(QStringLiteral(", ")),
                                taken.size() > 20 ? QStringLiteral(" ...") : QString());
        return result;
    }

    // The file sets the session's mode, time zone and foreign key checks for itself; the
    // connection gets its own back afterwards.
    QStringList session;
    if (!query.exec(QStringLiteral("SELECT @@SESSION.sql_mode, @@SESSION.time_zone, @@SESSION.foreign_key_checks")) || !query.next()) {
        result.error = STORED_TEXT("读取会话设置失败: %1").arg(query.lastError().text());
        return result;
    }
    for (int i = 0; i < 3; ++i)
        session.append(query.value(i).toString());
    const qint64 connection = CommitCheck::connectionId(db);
    if (!db.transaction()) {
        result.error = STORED_TEXT("开启事务失败: %1").arg(db.lastError().text());
        return result;
    }
    // The file is read again as it runs: every statement is checked again before it is sent,
    // alone and without its ";", and the whole must be the file verified above.
    static const QRegularExpression failedCheck(QStringLiteral("quorvel_check_(\\d+)_failed"));
    QList<CommitCheck::Probe> probes;
    UndoScript::Statement lastCheck;
    QByteArray lastKeys;
    const Walked run = walk(path, databases, [&](const Step &step) {
        using UndoScript::Shape;
        const Shape shape = step.statement.shape;
        if (shape == Shape::StartTransaction || (shape == Shape::ServerCheck && options.serverMoved))
            return true;
        if (shape == Shape::CheckValue) {
            lastCheck = step.statement;
            lastKeys = step.keyValues;
        }
        if (query.exec(QString::fromUtf8(step.text.chopped(1)))) {
            if (shape == Shape::CheckCompare)
                probes.append({lastCheck.query, step.statement.expected, QByteArray()});
            return true;
        }
        const QString text = query.lastError().text();
        const QRegularExpressionMatch match = failedCheck.match(text);
        const int number = match.hasMatch() ? match.captured(1).toInt() : 0;
        if (number > 0) {
            const QStringList rows = shape == Shape::CheckCompare ? differingRows(db, lastCheck, lastKeys) : QStringList();
            result.error = STORED_TEXT("撤销前的检查未通过（第 %1 项：%2），数据已不是操作后的样子，撤销未执行，未做任何修改")
                               .arg(QString::number(number), summary.checks.value(number - 1));
            if (!rows.isEmpty())
                result.error = Message::joined({result.error, STORED_TEXT("与操作后不同的行（%1 行）: %2%3")
                          .arg(QString::number(rows.size()), rows.mid(0, 20).join(QStringLiteral(", ")),
                               rows.size() > 20 ? QStringLiteral(" ...") : QString())},
                                                 QStringLiteral("\n"));
        } else {
            result.error = STORED_TEXT("撤销失败，已回滚，未做任何修改: %1\n%2").arg(text, QString::fromUtf8(step.text.left(200)));
        }
        return false;
    }, options.checkOnly);
    bool ok = result.error.isEmpty();
    if (ok && !run.failure.isEmpty()) {
        ok = false;
        result.error = run.failure;
    }
    if (ok && !options.checkOnly && run.checksum != verified.checksum) {
        ok = false;
        result.error = STORED_TEXT("撤销文件在执行时被改动，已回滚，未做任何修改");
    }
    if (ok && !options.checkOnly) {
        // What the checks give at the undo's end tells, if the answer to COMMIT is lost,
        // whether it took place.
        for (CommitCheck::Probe &probe : probes) {
            if (query.exec(QString::fromUtf8(probe.query)) && query.next())
                probe.after = query.value(0).toByteArray();
        }
        if (!db.commit()) {
            const QString lost = db.lastError().text();
            QString detail;
            switch (CommitCheck::settle(db, connection, here, probes, &detail)) {
            case CommitCheck::Outcome::Committed:
                result.notice = STORED_TEXT("提交撤销时连接中断（%1）；重新连接后核对：撤销已提交").arg(lost);
                break;
            case CommitCheck::Outcome::RolledBack:
                ok = false;
                result.error = STORED_TEXT("提交撤销失败（%1）；核对结果：未提交，数据没有改动（%2）").arg(lost, detail);
                break;
            case CommitCheck::Outcome::Unknown:
                ok = false;
                result.error = STORED_TEXT("提交撤销时连接中断（%1），结果未知：无法确认撤销是否已提交（%2）。"
                                           "请在服务器恢复后用同一文件预演（quorvel-cli undo FILE，不加 --yes）："
                                           "检查通过说明撤销没有提交，可以再执行；报告检查未通过说明撤销已提交或数据已被改动")
                                   .arg(lost, detail);
                break;
            }
        }
    }
    if (options.checkOnly || !ok)
        db.rollback();
    query.prepare(QStringLiteral("SET SESSION sql_mode = ?, SESSION time_zone = ?, SESSION foreign_key_checks = ?"));
    query.addBindValue(textParameter(db, session.at(0)));
    query.addBindValue(textParameter(db, session.at(1)));
    query.addBindValue(session.at(2).toInt());
    if (!query.exec())
        debugLog(STORED_TEXT("撤销后恢复会话设置失败: %1").arg(query.lastError().text()));
    if (ok && !options.checkOnly) {
        applied.mkpath(QStringLiteral("."));
        const QString kept = applied.filePath(info.fileName());
        if (info.absoluteDir() == QDir(directory()))
            QFile::rename(path, kept);
        else if (!QFile::exists(kept))
            QFile::copy(path, kept);
    }
    result.ok = ok;
    return result;
}
