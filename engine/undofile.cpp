#include "undofile.h"

#include "app/atomicfile.h"
#include "app/debuglog.h"
#include "merge/mergesql.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryFile>

using MergeSql::quoted;

namespace {
// Statements of the file stay well below any client's or server's packet limit.
const qsizetype kStatementBytes = 1024 * 1024;
const qsizetype kChunk = 4 * 1024 * 1024;
const QByteArray kBegin = "START TRANSACTION;";
const QByteArray kCommit = "COMMIT;";

QString serverIdentity(QSqlDatabase &db)
{
    QSqlQuery query(db);
    return query.exec(QStringLiteral("SELECT CONCAT(@@hostname, ':', @@port, ':', @@datadir)")) && query.next()
        ? query.value(0).toString() : QString();
}

QString headerValue(const QByteArray &line, const char *key)
{
    const QByteArray prefix = QByteArray("-- ") + key + ": ";
    return line.startsWith(prefix) ? QString::fromUtf8(line.mid(prefix.size()).trimmed()) : QString();
}
} // namespace

UndoFile::UndoFile() = default;

UndoFile::~UndoFile() = default;

QString UndoFile::directory()
{
    return applicationDirectory() + QStringLiteral("/backups/undo");
}

bool UndoFile::begin(QSqlDatabase &db, const QString &operation, QString *error)
{
    m_operation = operation;
    m_time = QDateTime::currentDateTime();
    m_server = QStringLiteral("%1:%2").arg(db.hostName()).arg(db.port() > 0 ? db.port() : 3306);
    m_serverId = serverIdentity(db);
    m_database = db.databaseName();
    m_current.clear();
    m_rows.clear();
    m_counts.clear();
    m_characterIds.clear();
    m_path.clear();
    if (m_serverId.isEmpty()) {
        *error = QStringLiteral("无法读取服务器标识，撤销文件未能开始");
        return false;
    }
    if (!QDir().mkpath(directory())) {
        *error = QStringLiteral("无法创建撤销文件目录 %1").arg(directory());
        return false;
    }
    // A temporary file is created readable by its owner only.
    m_body = std::make_unique<QTemporaryFile>(directory() + QStringLiteral("/.undo_XXXXXX"));
    if (!m_body->open()) {
        *error = QStringLiteral("无法创建撤销文件: %1").arg(m_body->errorString());
        m_body.reset();
        return false;
    }
    return useDatabase(m_database, error);
}

bool UndoFile::write(const QByteArray &data, QString *error)
{
    m_buffer.append(data);
    if (m_buffer.size() < kChunk)
        return true;
    const bool ok = m_body->write(m_buffer) == m_buffer.size();
    m_buffer.clear();
    if (!ok)
        *error = QStringLiteral("写入撤销文件失败: %1").arg(m_body->errorString());
    return ok;
}

bool UndoFile::useDatabase(const QString &database, QString *error)
{
    const QString target = database.isEmpty() ? m_database : database;
    if (target == m_current)
        return true;
    m_current = target;
    return write("USE " + quoted(target).toUtf8() + ";\n", error);
}

qint64 UndoFile::saveRows(QSqlDatabase &db, const QString &table, const QString &where, const QVariantList &values, bool replace,
                          QString *error, const QString &database)
{
    return saveSelected(db, table, {}, {}, where, values, replace ? Form::Replace : Form::Insert, error, database);
}

qint64 UndoFile::saveColumns(QSqlDatabase &db, const QString &table, const QStringList &keys, const QStringList &changed,
                             const QString &where, const QVariantList &values, QString *error)
{
    return saveSelected(db, table, keys, changed, where, values, Form::SetBack, error, QString());
}

qint64 UndoFile::saveDeletion(QSqlDatabase &db, const QString &table, const QString &key, const QString &where,
                              const QVariantList &values, QString *error, const QString &database)
{
    return saveSelected(db, table, {key}, {}, where, values, Form::Delete, error, database);
}

qint64 UndoFile::saveSelected(QSqlDatabase &db, const QString &table, const QStringList &keys, const QStringList &changed,
                              const QString &where, const QVariantList &values, Form form, QString *error,
                              const QString &database)
{
    QSqlError columnError;
    QList<MergeSql::Column> columns;
    for (const MergeSql::Column &column : MergeSql::readColumns(db, table, &columnError, database)) {
        if (!column.generated && (keys.isEmpty() || keys.contains(column.name) || changed.contains(column.name)))
            columns.append(column);
    }
    if (columns.isEmpty()) {
        *error = QStringLiteral("读取表 %1 的字段失败: %2").arg(table, columnError.text());
        return -1;
    }
    // The server writes each row as its literal: numbers as numbers, everything else as the
    // hexadecimal of its stored bytes.
    QStringList names;
    QStringList parts;
    for (const MergeSql::Column &column : std::as_const(columns)) {
        const QString name = quoted(column.name);
        names.append(name);
        parts.append(column.integer ? QStringLiteral("IFNULL(%1, 'NULL')").arg(name)
                                    : QStringLiteral("IFNULL(CONCAT('X''', HEX(CAST(%1 AS BINARY)), ''''), 'NULL')").arg(name));
    }
    const QString source = database.isEmpty() ? quoted(table) : quoted(database) + QLatin1Char('.') + quoted(table);
    QSqlQuery query(db);
    query.setForwardOnly(true);
    if (!query.prepare(QStringLiteral("SELECT CAST(CONCAT('(', CONCAT_WS(',', %1), ')') AS BINARY) FROM %2 WHERE %3 FOR UPDATE")
                           .arg(parts.join(QStringLiteral(", ")), source, where))) {
        *error = QStringLiteral("读取 %1 失败: %2").arg(table, query.lastError().text());
        return -1;
    }
    for (const QVariant &value : values)
        query.addBindValue(value);
    if (!query.exec()) {
        *error = QStringLiteral("读取 %1 失败: %2").arg(table, query.lastError().text());
        return -1;
    }
    if (!useDatabase(database, error))
        return -1;
    // Changed columns go back by key onto the rows that still exist: what players changed
    // since in the other columns stays.
    QByteArray head = (form == Form::Replace ? "REPLACE INTO " : "INSERT INTO ") + quoted(table).toUtf8() + " ("
        + names.join(QLatin1Char(',')).toUtf8() + ") VALUES\n";
    QByteArray separator = ",\n";
    QByteArray tail;
    if (form == Form::Delete) {
        head = "DELETE FROM " + quoted(table).toUtf8() + " WHERE " + names.constFirst().toUtf8() + " IN (";
        separator = ",";
        tail = ")";
    } else if (form == Form::SetBack) {
        QStringList nulls;
        QStringList on;
        QStringList set;
        for (const QString &name : std::as_const(names))
            nulls.append(QStringLiteral("NULL AS %1").arg(name));
        for (const QString &key : keys)
            on.append(QStringLiteral("u.%1 = v.%1").arg(quoted(key)));
        for (const QString &column : changed)
            set.append(QStringLiteral("u.%1 = v.%1").arg(quoted(column)));
        head = "UPDATE " + quoted(table).toUtf8() + " AS u JOIN (SELECT " + nulls.join(QStringLiteral(", ")).toUtf8() + " FROM DUAL WHERE 0";
        separator = "\nUNION ALL SELECT ";
        tail = ") AS v ON " + on.join(QStringLiteral(" AND ")).toUtf8() + " SET " + set.join(QStringLiteral(", ")).toUtf8();
    }
    qint64 rows = 0;
    qsizetype statement = 0;
    while (query.next()) {
        QByteArray row = query.value(0).toByteArray();
        if (form == Form::Delete || form == Form::SetBack)
            row = row.mid(1, row.size() - 2);  // a plain list, without the parentheses
        const bool first = statement == 0;
        const QByteArray text = first ? head + (form == Form::SetBack ? separator : QByteArray()) + row : separator + row;
        if (!write(text, error))
            return -1;
        statement += text.size();
        if (statement >= kStatementBytes) {
            if (!write(tail + ";\n", error))
                return -1;
            statement = 0;
        }
        ++rows;
    }
    if (statement > 0 && !write(tail + ";\n", error))
        return -1;
    countRows(database, table, rows);
    return rows;
}

bool UndoFile::addStatement(const QString &sql, const QString &table, qint64 rows, QString *error, const QString &database)
{
    if (!useDatabase(database, error) || !write(sql.toUtf8() + ";\n", error))
        return false;
    countRows(database, table, rows);
    return true;
}

void UndoFile::addLeadingStatement(const QString &sql, const QString &table, qint64 rows, const QString &database)
{
    m_leading += "USE " + quoted(database.isEmpty() ? m_database : database).toUtf8() + ";\n" + sql.toUtf8() + ";\n";
    countRows(database, table, rows);
}

void UndoFile::countRows(const QString &database, const QString &table, qint64 rows)
{
    const QString key = (database.isEmpty() ? m_database : database) + QLatin1Char('.') + table;
    if (!m_counts.contains(key))
        m_rows.append(key);
    m_counts[key] += rows;
}

void UndoFile::addCharacterIds(const QList<int> &ids)
{
    m_characterIds += ids;
}

bool UndoFile::finish(QString *error)
{
    if (!m_body) {
        *error = QStringLiteral("撤销文件未开始");
        return false;
    }
    if (!m_buffer.isEmpty() && m_body->write(m_buffer) != m_buffer.size()) {
        *error = QStringLiteral("写入撤销文件失败: %1").arg(m_body->errorString());
        return false;
    }
    m_buffer.clear();
    if (!m_body->flush() || !m_body->seek(0)) {
        *error = QStringLiteral("写入撤销文件失败: %1").arg(m_body->errorString());
        return false;
    }
    QString name = QStringLiteral("undo_%1").arg(m_time.toString(QStringLiteral("yyyyMMdd_HHmmss_zzz")));
    m_path = QStringLiteral("%1/%2.sql").arg(directory(), name);
    for (int n = 2; QFileInfo::exists(m_path); ++n)
        m_path = QStringLiteral("%1/%2_%3.sql").arg(directory(), name).arg(n);

    QByteArray header = "-- Quorvel undo file\n";
    header += "-- operation: " + m_operation.toUtf8() + "\n";
    header += "-- time: " + m_time.toString(Qt::ISODate).toUtf8() + "\n";
    header += "-- server: " + m_server.toUtf8() + "\n";
    header += "-- server-id: " + m_serverId.toUtf8() + "\n";
    header += "-- database: " + m_database.toUtf8() + "\n";
    QStringList databases{m_database};
    for (const QString &key : std::as_const(m_rows))
        databases.append(key.section(QLatin1Char('.'), 0, 0));
    databases.removeDuplicates();
    header += "-- databases: " + databases.join(QStringLiteral(", ")).toUtf8() + "\n";
    for (const QString &key : std::as_const(m_rows))
        header += "-- rows: " + key.toUtf8() + " " + QByteArray::number(m_counts.value(key)) + "\n";
    QStringList ids;
    for (int id : std::as_const(m_characterIds))
        ids.append(QString::number(id));
    header += "-- charguids: " + ids.join(QLatin1Char(',')).toUtf8() + "\n";
    header += "-- 撤销该操作: mysql -h <主机> -P <端口> -u <用户> -p < 本文件，或在程序的“撤销记录”中应用。\n"
              "SET SESSION sql_mode = 'NO_AUTO_VALUE_ON_ZERO';\nSET FOREIGN_KEY_CHECKS = 0;\n" + kBegin + "\n";
    if (!m_leading.isEmpty())
        header += m_leading + "USE " + quoted(m_database).toUtf8() + ";\n";

    AtomicFile file(m_path);
    bool ok = file.open(QFileDevice::ReadOwner | QFileDevice::WriteOwner) && file.write(header);
    while (ok && !m_body->atEnd()) {
        const QByteArray chunk = m_body->read(kChunk);
        ok = !chunk.isEmpty() && file.write(chunk);
    }
    ok = ok && file.write(kCommit + "\n") && file.commit();
    m_body.reset();
    if (!ok) {
        *error = QStringLiteral("写入撤销文件 %1 失败: %2").arg(m_path, file.errorString());
        m_path.clear();
    }
    return ok;
}

void UndoFile::discard()
{
    if (!m_path.isEmpty())
        QFile::remove(m_path);
    m_path.clear();
    m_body.reset();
}

UndoFile::Summary UndoFile::read(const QString &path)
{
    Summary summary;
    summary.path = path;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return summary;
    const QByteArray first = file.readLine();
    if (!first.startsWith("-- Quorvel undo file"))
        return summary;
    while (!file.atEnd()) {
        const QByteArray line = file.readLine();
        if (!line.startsWith("-- "))
            break;
        if (const QString v = headerValue(line, "operation"); !v.isEmpty())
            summary.operation = v;
        else if (const QString v = headerValue(line, "time"); !v.isEmpty())
            summary.time = QDateTime::fromString(v, Qt::ISODate);
        else if (const QString v = headerValue(line, "server"); !v.isEmpty())
            summary.server = v;
        else if (const QString v = headerValue(line, "server-id"); !v.isEmpty())
            summary.serverId = v;
        else if (const QString v = headerValue(line, "database"); !v.isEmpty())
            summary.database = v;
        else if (const QString v = headerValue(line, "rows"); !v.isEmpty())
            summary.rows.append(v);
        else if (const QString v = headerValue(line, "charguids"); !v.isEmpty()) {
            for (const QString &id : v.split(QLatin1Char(','), Qt::SkipEmptyParts))
                summary.characterIds.append(id.toInt());
        }
    }
    summary.valid = !summary.serverId.isEmpty() && !summary.database.isEmpty();
    return summary;
}

QStringList UndoFile::describe(const Summary &summary)
{
    QStringList lines{QStringLiteral("操作: %1").arg(summary.operation),
                      QStringLiteral("时间: %1").arg(summary.time.toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"))),
                      QStringLiteral("服务器: %1").arg(summary.server), QStringLiteral("数据库: %1").arg(summary.database),
                      QStringLiteral("撤销将写回的数据:")};
    for (const QString &rows : summary.rows)
        lines.append(QStringLiteral("  %1: %2 条记录").arg(rows.section(QLatin1Char(' '), 0, 0), rows.section(QLatin1Char(' '), -1)));
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
        *error = QStringLiteral("%1 不是撤销文件").arg(path);
        return false;
    }
    const QString here = serverIdentity(db);
    if (here != summary.serverId) {
        *error = QStringLiteral("撤销文件属于服务器 %1 (%2)，当前连接的是 %3，未做任何修改").arg(summary.server, summary.serverId, here);
        return false;
    }
    QSqlQuery query(db);
    query.prepare(QStringLiteral("SELECT COUNT(*) FROM information_schema.SCHEMATA WHERE SCHEMA_NAME = ?"));
    query.addBindValue(summary.database);
    if (!query.exec() || !query.next() || query.value(0).toInt() == 0) {
        *error = QStringLiteral("服务器上没有数据库 %1，未做任何修改").arg(summary.database);
        return false;
    }
    // A character created since may hold an id the undo would put back.
    QStringList taken;
    for (qsizetype start = 0; start < summary.characterIds.size(); start += 1000) {
        QStringList slice;
        for (int id : summary.characterIds.mid(start, 1000))
            slice.append(QString::number(id));
        if (!query.exec(QStringLiteral("SELECT charguid FROM %1.t_char WHERE charguid IN (%2) ORDER BY charguid")
                            .arg(quoted(summary.database), slice.join(QLatin1Char(','))))) {
            *error = QStringLiteral("检查角色ID失败: %1").arg(query.lastError().text());
            return false;
        }
        while (query.next())
            taken.append(query.value(0).toString());
    }
    if (!taken.isEmpty()) {
        *error = QStringLiteral("以下 %1 个角色ID已被占用，撤销未执行，未做任何修改: %2%3")
                     .arg(taken.size())
                     .arg(taken.mid(0, 20).join(QStringLiteral(", ")), taken.size() > 20 ? QStringLiteral(" ...") : QString());
        return false;
    }
    if (checkOnly)
        return true;

    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("无法读取撤销文件: %1").arg(file.errorString());
        return false;
    }
    // The file sets the session's mode and foreign key checks for itself; the connection gets
    // its own back afterwards.
    const QString original = db.databaseName();
    QVariant mode;
    QVariant foreignKeys;
    if (query.exec(QStringLiteral("SELECT @@SESSION.sql_mode, @@SESSION.foreign_key_checks")) && query.next()) {
        mode = query.value(0);
        foreignKeys = query.value(1);
    }
    if (!db.transaction()) {
        *error = QStringLiteral("开启事务失败: %1").arg(db.lastError().text());
        return false;
    }
    QByteArray statement;
    bool ok = true;
    while (ok && !file.atEnd()) {
        QByteArray line = file.readLine();
        if (line.endsWith('\n'))
            line.chop(1);
        if (statement.isEmpty() && (line.startsWith("--") || line.isEmpty() || line == kBegin || line == kCommit))
            continue;
        statement += line;
        if (!line.endsWith(';')) {
            statement += '\n';
            continue;
        }
        if (!query.exec(QString::fromUtf8(statement))) {
            *error = QStringLiteral("撤销失败，已回滚，未做任何修改: %1\n%2").arg(query.lastError().text(), QString::fromUtf8(statement.left(200)));
            ok = false;
        }
        statement.clear();
    }
    ok = ok && db.commit();
    if (!ok) {
        if (error->isEmpty())
            *error = QStringLiteral("提交撤销失败，已回滚: %1").arg(db.lastError().text());
        db.rollback();
    }
    query.exec(QStringLiteral("USE %1").arg(quoted(original)));
    query.prepare(QStringLiteral("SET SESSION sql_mode = ?, SESSION foreign_key_checks = ?"));
    query.addBindValue(mode);
    query.addBindValue(foreignKeys);
    query.exec();
    file.close();
    const QFileInfo info(path);
    if (ok && info.absoluteDir() == QDir(directory())) {
        QDir(directory()).mkpath(QStringLiteral("applied"));
        QFile::rename(path, QDir(directory()).filePath(QStringLiteral("applied/") + info.fileName()));
    }
    return ok;
}
