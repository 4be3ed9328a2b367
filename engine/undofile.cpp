#include "undofile.h"

#include "base/atomicfile.h"
#include "base/debuglog.h"
#include "db/connectionrule.h"
#include "db/sqlcolumns.h"
#include "base/storedtext.h"
#include "undoformat.h"

#include <QCryptographicHash>
#include <QSemaphore>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryFile>
#include <QUuid>

using Sql::quoted;

using namespace UndoFormat;

namespace {
const qsizetype kChunk = 4 * 1024 * 1024;
// Statements stay below this even where the server allows more: the client and the server
// handle them in one piece.
const qsizetype kMaxStatementBytes = 1024 * 1024;

// Header values are percent-encoded where they could end or confuse a comment line.
QByteArray encodeHeader(const QString &text)
{
    QByteArray out;
    for (const char c : text.toUtf8()) {
        const uchar byte = uchar(c);
        if (byte < 0x20 || byte == 0x7F || byte == '%' || byte == '\\')
            out += '%' + QByteArray::number(byte, 16).rightJustified(2, '0').toUpper();
        else
            out += c;
    }
    return out;
}

// The literal of a key value for an IN list: text with its character set's introducer, so
// that the comparison uses the column's collation and index.
bool appendKey(QByteArray *out, const Sql::Column &column, const QVariant &value, Message *error)
{
    if (column.kind == Sql::ValueKind::Bytes && !column.charset.isEmpty() && value.typeId() == QMetaType::QByteArray) {
        out->append('_' + column.charset.toLatin1() + " X'" + value.toByteArray().toHex() + '\'');
        return true;
    }
    return Sql::appendLiteral(out, column.kind, value, error);
}

// What a check computes over the rows of its keys: their number and the sum of a checksum of
// each row's `columns`, each read exactly (TIMESTAMPs as seconds, whatever the session's zone).
// Values that may be NULL or hold the separator are quoted, so that NULL, '' and 'NULL' differ
// and no comma moves between two values; a number or a date that cannot be NULL goes as its
// text, which the server makes without the quoting (a third of the work on a wide table).
QString fingerprintExpression(const QList<Sql::Column> &columns)
{
    QStringList values;
    for (const Sql::Column &column : columns) {
        const bool plain = !column.nullable && column.kind != Sql::ValueKind::Bytes && column.kind != Sql::ValueKind::Json
            && column.kind != Sql::ValueKind::Enum;
        values.append(plain ? Sql::readExpression(column) : QStringLiteral("QUOTE(%1)").arg(Sql::readExpression(column)));
    }
    return QStringLiteral("CONCAT(COUNT(*), ':', COALESCE(SUM(CRC32(CONCAT_WS(',', %1))), 0))").arg(values.join(QStringLiteral(", ")));
}

} // namespace

UndoFile::UndoFile() = default;

UndoFile::~UndoFile() = default;

QString UndoFile::directory()
{
    return applicationDirectory() + QStringLiteral("/backups/undo");
}

bool UndoFile::begin(QSqlDatabase &db, const QString &operation, Message *error)
{
    m_operation = operation;
    m_time = QDateTime::currentDateTime();
    m_buffer.clear();
    m_checks.clear();
    m_removals.clear();
    m_trailing.clear();
    m_probes.clear();
    m_statements = 0;
    m_rows.clear();
    m_counts.clear();
    m_characterIds.clear();
    m_path.clear();
    // Named as the server names itself: on ODBC the connection's "database" is a connection string.
    QSqlQuery query(db);
    if (!query.exec(QStringLiteral("SELECT DATABASE(), @@port, @@hostname, @@max_allowed_packet")) || !query.next()
        || query.value(0).isNull()) {
        *error = STORED_TEXT("无法读取当前数据库，撤销文件未能开始: %1").arg(query.lastError().text());
        return false;
    }
    m_database = query.value(0).toString();
    m_server = QStringLiteral("%1:%2").arg(db.hostName().isEmpty() ? query.value(2).toString() : db.hostName(), query.value(1).toString());
    m_statementLimit = qBound<qsizetype>(64 * 1024, query.value(3).toLongLong() - 16 * 1024, kMaxStatementBytes);
    m_identity = CommitCheck::serverIdentity(db);
    if (!m_identity.isValid()) {
        *error = STORED_TEXT("无法读取服务器的标识，撤销文件未能开始: %1").arg(db.lastError().text());
        return false;
    }
    if (!QDir().mkpath(directory())) {
        *error = STORED_TEXT("无法创建撤销文件目录 %1").arg(directory());
        return false;
    }
    // A temporary file is created readable by its owner only.
    m_body = std::make_unique<QTemporaryFile>(directory() + QStringLiteral("/.undo_XXXXXX"));
    if (!m_body->open()) {
        *error = STORED_TEXT("无法创建撤销文件: %1").arg(m_body->errorString());
        m_body.reset();
        return false;
    }
    // Counters only rise: data whose counters stand lower is an older copy, or other data.
    if (!query.exec(QStringLiteral("SELECT COUNT(*) FROM information_schema.TABLES WHERE TABLE_SCHEMA = DATABASE() AND TABLE_NAME = 't_var'"))
        || !query.next()) {
        *error = STORED_TEXT("读取表清单失败: %1").arg(query.lastError().text());
        return false;
    }
    if (query.value(0).toInt() > 0) {
        // With worldid, each world's counter must stand at or above its value now; without it
        // (one counter per range), each range must still hold one counter between its value now
        // and the next counter's.
        const bool worldColumn = query.exec(QStringLiteral("SELECT COUNT(*) FROM information_schema.COLUMNS WHERE TABLE_SCHEMA = DATABASE() "
                                                           "AND TABLE_NAME = 't_var' AND COLUMN_NAME = 'worldid'"))
            && query.next() && query.value(0).toInt() > 0;
        if (!query.exec(worldColumn ? QStringLiteral("SELECT worldid, maxcharguid FROM t_var ORDER BY worldid")
                                    : QStringLiteral("SELECT maxcharguid FROM t_var ORDER BY maxcharguid"))) {
            *error = STORED_TEXT("读取 t_var 失败: %1").arg(query.lastError().text());
            return false;
        }
        QStringList conditions;
        QList<qint64> counters;
        while (query.next()) {
            if (worldColumn)
                conditions.append(QStringLiteral("(worldid = %1 AND maxcharguid >= %2)").arg(query.value(0).toLongLong()).arg(query.value(1).toLongLong()));
            else
                counters.append(query.value(0).toLongLong());
        }
        for (qsizetype i = 0; i < counters.size(); ++i) {
            conditions.append(i + 1 < counters.size() ? QStringLiteral("(maxcharguid >= %1 AND maxcharguid < %2)").arg(counters.at(i)).arg(counters.at(i + 1))
                                                      : QStringLiteral("(maxcharguid >= %1)").arg(counters.at(i)));
        }
        if (!conditions.isEmpty()) {
            Check check;
            check.description = STORED_TEXT("t_var: %1 个世界的角色ID计数器都不低于操作时的值").arg(conditions.size());
            check.query = QStringLiteral("SELECT CONCAT(COUNT(*)) FROM %1 WHERE %2")
                              .arg(Sql::qualified(m_database, QStringLiteral("t_var")), conditions.join(QStringLiteral(" OR ")))
                              .toUtf8();
            check.expected = check.before = QByteArray::number(conditions.size());
            m_checks.append(check);
        }
    }
    return true;
}

bool UndoFile::write(const QByteArray &data, Message *error)
{
    m_buffer.append(data);
    if (m_buffer.size() < kChunk)
        return true;
    const bool ok = m_body->write(m_buffer) == m_buffer.size();
    m_buffer.clear();
    if (!ok)
        *error = STORED_TEXT("写入撤销文件失败: %1").arg(m_body->errorString());
    return ok;
}

bool UndoFile::writeStatement(const QByteArray &statement, Message *error)
{
    ++m_statements;
    return write(statement + ";\n", error);
}

QList<QByteArray> UndoFile::slices(const QList<QByteArray> &keys) const
{
    QList<QByteArray> lists;
    qsizetype start = 0;
    while (start < keys.size()) {
        QByteArray list;
        qsizetype end = start;
        while (end < keys.size() && (end == start || list.size() + keys.at(end).size() < m_statementLimit / 2)) {
            if (end > start)
                list += ',';
            list += keys.at(end);
            ++end;
        }
        lists.append(list);
        start = end;
    }
    return lists;
}

bool UndoFile::addFingerprints(QSqlDatabase *db, const QString &description, const QString &table, const QString &key,
                               const QStringList &columns, const QList<QByteArray> &keys, Message *error, const QString &database)
{
    for (const QByteArray &list : slices(keys)) {
        Check check;
        check.pending = true;
        check.table = table;
        check.database = databaseOf(database);
        check.key = key;
        check.columns = columns;
        check.keys = list;
        check.description = QStringLiteral("%1.%2: %3").arg(check.database, table, description);
        // Rows the operation adds were not there before it; rows it changes were as they are now.
        check.before = "0:0";
        if (db && !takeFingerprint(*db, &check, error))
            return false;
        if (db)
            check.before = check.expected;
        m_checks.append(check);
    }
    return true;
}

struct UndoFile::Check::Taken
{
    QSemaphore done;
    bool ok = false;
    Check check;
};

void UndoFile::takeFingerprintsElsewhere(const QString &table, const Post &post, const QString &database)
{
    const QString in = databaseOf(database);
    for (Check &check : m_checks) {
        if (!check.pending || check.table != table || check.database != in)
            continue;
        auto taken = std::make_shared<Check::Taken>();
        taken->check = check;
        check.pending = false;
        check.taken = taken;
        post([taken](QSqlDatabase &db) {
            Message unused;
            taken->ok = takeFingerprint(db, &taken->check, &unused);
            taken->done.release();
        });
    }
}

bool UndoFile::takeFingerprint(QSqlDatabase &db, Check *check, Message *error)
{
    QSqlError columnError;
    QList<Sql::Column> columns;
    for (const Sql::Column &column : Sql::readColumns(db, check->table, &columnError, check->database)) {
        if (!column.generated && (check->columns.isEmpty() || check->columns.contains(column.name, Qt::CaseInsensitive)))
            columns.append(column);
    }
    if (columns.isEmpty()) {
        *error = STORED_TEXT("读取表 %1 的字段失败: %2").arg(check->table, columnError.text());
        return false;
    }
    const QString source = Sql::qualified(check->database, check->table);
    const QString expression = fingerprintExpression(columns);
    const QString where = QStringLiteral("%1 IN (").arg(quoted(check->key));
    check->query = QStringLiteral("SELECT %1 FROM %2 WHERE ").arg(expression, source).toUtf8() + where.toUtf8() + check->keys + ')';
    // Each key's rows on their own, so that the program can name the rows that differ; the
    // check's value is their sum.
    QSqlQuery query(db);
    query.setForwardOnly(true);
    if (!query.exec(QString::fromUtf8(QStringLiteral("SELECT HEX(CAST(%1 AS BINARY)), %2 FROM %3 WHERE ").arg(quoted(check->key), expression, source).toUtf8()
                                      + where.toUtf8() + check->keys + ") GROUP BY " + quoted(check->key).toUtf8()))) {
        *error = STORED_TEXT("读取 %1 失败: %2").arg(check->table, query.lastError().text());
        return false;
    }
    qint64 rows = 0;
    quint64 sum = 0;
    check->keyValues.clear();
    while (query.next()) {
        const QByteArray value = query.value(1).toByteArray();
        const qsizetype colon = value.indexOf(':');
        rows += value.left(colon).toLongLong();
        sum += value.mid(colon + 1).toULongLong();
        if (!check->keyValues.isEmpty())
            check->keyValues += ' ';
        check->keyValues += query.value(0).toByteArray().toLower() + '=' + value;
    }
    check->expected = QByteArray::number(rows) + ':' + QByteArray::number(sum);
    return true;
}

qint64 UndoFile::saveRows(QSqlDatabase &db, const QString &table, const QString &where, const QVariantList &values,
                          Message *error, const QString &database, const QString &absentKey)
{
    return saveSelected(db, table, absentKey, {}, where, values, Form::Insert, error, database);
}

qint64 UndoFile::saveColumns(QSqlDatabase &db, const QString &table, const QString &key, const QStringList &changed,
                             const QString &where, const QVariantList &values, Message *error, const QString &database)
{
    return saveSelected(db, table, key, changed, where, values, Form::SetBack, error, database);
}

qint64 UndoFile::saveSelected(QSqlDatabase &db, const QString &table, const QString &key, const QStringList &changed,
                              const QString &where, const QVariantList &values, Form form, Message *error,
                              const QString &database)
{
    QSqlError columnError;
    QList<Sql::Column> columns;
    int keyIndex = -1;
    const bool isKey = !key.isEmpty();
    for (const Sql::Column &column : Sql::readColumns(db, table, &columnError, database)) {
        const bool keyColumn = isKey && column.lower == key.toLower();
        if (column.generated || (form == Form::SetBack && !keyColumn && !changed.contains(column.name, Qt::CaseInsensitive)))
            continue;
        if (keyColumn)
            keyIndex = int(columns.size());
        columns.append(column);
    }
    if (columns.isEmpty() || (isKey && keyIndex < 0)) {
        *error = STORED_TEXT("读取表 %1 的字段失败: %2").arg(table, columnError.isValid() ? columnError.text() : key);
        return -1;
    }
    QList<QByteArray> keys;
    qint64 rows = 0;
    if (!writeRows(db, table, columns, keyIndex, form, where, values, &keys, &rows, error, database))
        return -1;
    countRows(database, table, rows);
    if (keys.isEmpty())
        return rows;
    if (form == Form::SetBack) {
        QStringList set = changed;
        set.removeAll(key);
        return addFingerprints(&db, STORED_TEXT("要改回的 %1 行仍是操作后的样子（%2 未变）").arg(QString::number(rows), set.join(QLatin1Char('/'))),
                               table, key, set, keys, error, database)
            ? rows
            : -1;
    }
    const QString source = Sql::qualified(databaseOf(database), table);
    for (const QByteArray &list : slices(keys)) {
        Check check;
        check.description = QStringLiteral("%1.%2: %3").arg(databaseOf(database), table,
                                                            STORED_TEXT("要放回的 %1 行不存在（%2 空闲）").arg(QString::number(list.count(',') + 1), key));
        check.query = QStringLiteral("SELECT CONCAT(COUNT(*)) FROM %1 WHERE %2 IN (").arg(source, quoted(key)).toUtf8() + list + ')';
        check.expected = "0";
        check.before = QByteArray::number(list.count(',') + 1);
        m_checks.append(check);
    }
    return rows;
}

bool UndoFile::writeRows(QSqlDatabase &db, const QString &table, const QList<Sql::Column> &columns, int keyIndex, Form form,
                         const QString &where, const QVariantList &values, QList<QByteArray> *keys, qint64 *rows,
                         Message *error, const QString &database)
{
    QStringList reads;
    QStringList names;
    for (const Sql::Column &column : columns) {
        reads.append(Sql::readExpression(column));
        names.append(quoted(column.name));
    }
    const QString target = Sql::qualified(databaseOf(database), table);
    QSqlQuery query(db);
    query.setForwardOnly(true);
    if (!query.prepare(QStringLiteral("SELECT %1 FROM %2 WHERE %3%4")
                           .arg(reads.join(QStringLiteral(", ")), target, where,
                                m_lockingReads ? QStringLiteral(" FOR UPDATE") : QString()))) {
        *error = STORED_TEXT("读取 %1 失败: %2").arg(table, query.lastError().text());
        return false;
    }
    for (const QVariant &value : values)
        query.addBindValue(value);
    if (!query.exec()) {
        *error = STORED_TEXT("读取 %1 失败: %2").arg(table, query.lastError().text());
        return false;
    }

    QByteArray head;
    QByteArray separator = ",\n";
    QByteArray tail;
    if (form == Form::Insert) {
        head = "INSERT INTO " + target.toUtf8() + " (" + names.join(QLatin1Char(',')).toUtf8() + ") VALUES\n";
    } else {
        // Changed columns go back by key onto the rows that still exist: what players changed
        // since in the other columns stays.
        QStringList nulls;
        QStringList set;
        for (const Sql::Column &column : columns) {
            nulls.append(QStringLiteral("NULL AS %1").arg(quoted(column.name)));
            if (column.name != columns.at(keyIndex).name)
                set.append(QStringLiteral("u.%1 = v.%1").arg(quoted(column.name)));
        }
        head = "UPDATE " + target.toUtf8() + " AS u JOIN (SELECT " + nulls.join(QStringLiteral(", ")).toUtf8() + " FROM DUAL WHERE 0\nUNION ALL SELECT ";
        separator = "\nUNION ALL SELECT ";
        tail = QStringLiteral(") AS v ON u.%1 = v.%1 SET %2").arg(quoted(columns.at(keyIndex).name), set.join(QStringLiteral(", "))).toUtf8();
    }
    const qsizetype valueLimit = m_statementLimit / 4;
    QByteArray statement;
    int variables = 0;
    auto endStatement = [&]() {
        if (statement.isEmpty())
            return true;
        const bool ok = writeStatement(statement + tail, error);
        statement.clear();
        return ok;
    };
    while (query.next()) {
        QByteArray row;
        QByteArray prelude;
        QByteArray freeing;
        if (form == Form::Insert)
            row += '(';
        for (int i = 0; i < columns.size(); ++i) {
            const Sql::Column &column = columns.at(i);
            const QVariant value = query.value(i);
            if (i > 0)
                row += ',';
            if (i == keyIndex) {
                QByteArray key;
                if (!appendKey(&key, column, value, error))
                    return false;
                keys->append(key);
            }
            if (value.typeId() == QMetaType::QByteArray && Sql::literalSize(value) > valueLimit) {
                // A value too large for one statement is assembled in a variable, piece by piece.
                const QByteArray bytes = value.toByteArray();
                const QByteArray name = "@quorvel_v" + QByteArray::number(++variables);
                for (const QByteArray &statement : Sql::assembleInVariable(name, bytes, valueLimit / 2))
                    prelude += statement + ";\n";
                // Pieces put together in the wrong order, or cut by a server whose packets are
                // smaller, give another digest: the client stops there.
                prelude += "SET SESSION sql_mode = IF(SHA2(" + name + ", 256) = '"
                    + QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex()
                    + "', @@SESSION.sql_mode, 'quorvel_value_damaged_or_too_large_for_max_allowed_packet');\n";
                freeing += "SET " + name + " = NULL;\n";
                row += column.kind == Sql::ValueKind::Json ? "CONVERT(" + name + " USING utf8mb4)"
                    : column.kind == Sql::ValueKind::Enum  ? "CONVERT(" + name + " USING " + column.charset.toLatin1() + ')'
                                                           : name;
            } else if (!Sql::appendLiteral(&row, column.kind, value, error,
                                           column.kind == Sql::ValueKind::Enum ? column.charset.toLatin1() : QByteArray())) {
                *error = QStringLiteral("%1.%2: %3").arg(table, column.name, *error);
                return false;
            }
        }
        if (form == Form::Insert)
            row += ')';
        ++*rows;
        if (!prelude.isEmpty()) {
            if (!endStatement() || !write(prelude, error))
                return false;
            m_statements += prelude.count(";\n");
        } else if (!statement.isEmpty() && statement.size() + row.size() + tail.size() >= m_statementLimit) {
            if (!endStatement())
                return false;
        }
        statement += (statement.isEmpty() ? head : separator) + row;
        if (!freeing.isEmpty()) {
            if (!endStatement() || !write(freeing, error))
                return false;
            m_statements += freeing.count(";\n");
        }
    }
    if (!endStatement())
        return false;
    query.finish();
    // A value the server converted or cut on the way says so only in a warning.
    QSqlQuery warnings(db);
    if (warnings.exec(QStringLiteral("SHOW COUNT(*) WARNINGS")) && warnings.next() && warnings.value(0).toInt() > 0) {
        *error = STORED_TEXT("读取 %1 时服务器给出 %2 条警告，撤销文件可能不精确").arg(table).arg(warnings.value(0).toInt());
        return false;
    }
    return true;
}

qint64 UndoFile::saveAdded(QSqlDatabase &db, const QString &table, const QString &key, const QString &where, const QVariantList &values,
                           Message *error, const QString &database)
{
    QSqlError columnError;
    const QList<Sql::Column> all = Sql::readColumns(db, table, &columnError, database);
    const Sql::Column *keyColumn = Sql::findColumn(all, key.toLower());
    if (!keyColumn) {
        *error = STORED_TEXT("读取表 %1 的字段失败: %2").arg(table, columnError.isValid() ? columnError.text() : key);
        return -1;
    }
    const QString target = Sql::qualified(databaseOf(database), table);
    QSqlQuery query(db);
    query.setForwardOnly(true);
    if (!query.prepare(QStringLiteral("SELECT %1 FROM %2 WHERE %3 FOR UPDATE").arg(Sql::readExpression(*keyColumn), target, where))) {
        *error = STORED_TEXT("读取 %1 失败: %2").arg(table, query.lastError().text());
        return -1;
    }
    for (const QVariant &value : values)
        query.addBindValue(value);
    if (!query.exec()) {
        *error = STORED_TEXT("读取 %1 失败: %2").arg(table, query.lastError().text());
        return -1;
    }
    QList<QByteArray> keys;
    while (query.next()) {
        QByteArray literal;
        if (!appendKey(&literal, *keyColumn, query.value(0), error))
            return -1;
        keys.append(literal);
    }
    query.finish();
    countRows(database, table, keys.size());
    if (keys.isEmpty())
        return 0;
    if (!addFingerprints(nullptr, STORED_TEXT("操作写入的 %1 行仍是操作后的样子（每一列都未变）").arg(keys.size()), table, key, {}, keys, error,
                         database))
        return -1;
    for (qsizetype start = 0; start < keys.size();) {
        QByteArray statement = "DELETE FROM " + target.toUtf8() + " WHERE " + quoted(key).toUtf8() + " IN (";
        const qsizetype head = statement.size();
        while (start < keys.size() && (statement.size() == head || statement.size() + keys.at(start).size() < m_statementLimit)) {
            if (statement.size() > head)
                statement += ',';
            statement += keys.at(start++);
        }
        m_removals += statement + ");\n";
        ++m_statements;
    }
    return keys.size();
}

void UndoFile::addRemoval(const QString &table, const QString &key, const QList<qint64> &keys, qint64 rows, const QString &database)
{
    QList<QByteArray> literals;
    for (qint64 value : keys)
        literals.append(QByteArray::number(value));
    Message unused;
    addFingerprints(nullptr, STORED_TEXT("操作写入的、%2 为这 %1 个值的行仍是操作后的样子（行数和每一列都未变）").arg(QString::number(keys.size()), key), table,
                    key, {}, literals, &unused, database);
    const QByteArray head = "DELETE FROM " + Sql::qualified(databaseOf(database), table).toUtf8() + " WHERE " + quoted(key).toUtf8() + " IN (";
    for (qsizetype start = 0; start < keys.size();) {
        QByteArray statement = head;
        while (start < keys.size() && statement.size() < m_statementLimit - 32) {
            if (statement.size() > head.size())
                statement += ',';
            statement += QByteArray::number(keys.at(start++));
        }
        m_removals += statement + ");\n";
        ++m_statements;
    }
    countRows(database, table, rows);
}

bool UndoFile::addStatement(const QString &sql, const QString &table, qint64 rows, Message *error, const QString &database)
{
    const QByteArray statement = sql.arg(Sql::qualified(databaseOf(database), table)).toUtf8();
    UndoScript::Statement parsed;
    Message why;
    if (!UndoScript::parse(statement + ';', &parsed, &why) || parsed.shape != UndoScript::Shape::CounterBack) {
        *error = STORED_TEXT("撤销文件不能写入这条语句: %1").arg(sql.left(80));
        return false;
    }
    m_trailing += statement + ";\n";
    ++m_statements;
    countRows(database, table, rows);
    return true;
}

void UndoFile::countRows(const QString &database, const QString &table, qint64 rows)
{
    const QString key = databaseOf(database) + QLatin1Char('.') + table;
    if (!m_counts.contains(key))
        m_rows.append(key);
    m_counts[key] += rows;
}

bool UndoFile::finish(QSqlDatabase &db, Message *error)
{
    if (!m_body) {
        *error = STORED_TEXT("撤销文件未开始");
        return false;
    }
    // The rows as the operation leaves them: what the undo will find, or refuse.
    for (Check &check : m_checks) {
        if (const std::shared_ptr<Check::Taken> taken = std::move(check.taken)) {
            taken->done.acquire();
            check.pending = !taken->ok;
            if (taken->ok) {
                check.query = taken->check.query;
                check.expected = taken->check.expected;
                check.keyValues = taken->check.keyValues;
            }
        }
        if (check.pending && !takeFingerprint(db, &check, error))
            return false;
    }
    if (!m_buffer.isEmpty() && m_body->write(m_buffer) != m_buffer.size()) {
        *error = STORED_TEXT("写入撤销文件失败: %1").arg(m_body->errorString());
        return false;
    }
    m_buffer.clear();
    if (!m_body->flush() || !m_body->seek(0)) {
        *error = STORED_TEXT("写入撤销文件失败: %1").arg(m_body->errorString());
        return false;
    }
    const QString name = QStringLiteral("undo_%1").arg(m_time.toString(QStringLiteral("yyyyMMdd_HHmmss_zzz")));
    m_path = QStringLiteral("%1/%2.sql").arg(directory(), name);
    for (int n = 2; QFileInfo::exists(m_path); ++n)
        m_path = QStringLiteral("%1/%2_%3.sql").arg(directory(), name, QString::number(n));

    QByteArray header = kMagic + "\n";
    header += "-- operation: " + encodeHeader(m_operation) + "\n";
    header += "-- time: " + m_time.toString(Qt::ISODateWithMs).toUtf8() + "\n";
    // Each file its own: the program knows a file it applied by its checksum.
    header += "-- file: " + QUuid::createUuid().toString(QUuid::WithoutBraces).toUtf8() + "\n";
    header += "-- server: " + encodeHeader(m_server) + "\n";
    header += "-- server identity: " + encodeHeader(m_identity.text()) + "\n";
    header += "-- database: " + encodeHeader(m_database) + "\n";
    QStringList databases{m_database};
    for (const QString &key : std::as_const(m_rows))
        databases.append(key.section(QLatin1Char('.'), 0, 0));
    databases.removeDuplicates();
    header += "-- databases: " + encodeHeader(databases.join(QStringLiteral(", "))) + "\n";
    for (const QString &key : std::as_const(m_rows))
        header += "-- rows: " + encodeHeader(key) + " " + QByteArray::number(m_counts.value(key)) + "\n";
    QStringList ids;
    for (int id : std::as_const(m_characterIds))
        ids.append(QString::number(id));
    header += "-- charguids: " + ids.join(QLatin1Char(',')).toUtf8() + "\n";
    // Check 1: the server; then the data, each check's query and the value it must give.
    header += "-- check 1: " + encodeHeader(STORED_TEXT("服务器与写入时相同 (%1)").arg(m_identity.text())) + "\n";
    QByteArray checks = UndoScript::serverCheck(m_identity, 1) + "\n";
    m_probes.clear();
    for (int i = 0; i < m_checks.size(); ++i) {
        const Check &check = m_checks.at(i);
        const int number = i + 2;
        header += "-- check " + QByteArray::number(number) + ": " + encodeHeader(check.description) + "\n";
        if (!check.keyValues.isEmpty())
            checks += "-- keys of check " + QByteArray::number(number) + ": " + check.keyValues + "\n";
        checks += "SET @quorvel_check = (" + check.query + ");\n" + UndoScript::checkCompare(check.expected, number) + "\n";
        m_probes.append({check.query, check.before, check.expected});
    }
    header += "-- 撤销该操作: mysql -h <主机> -P <端口> -u <用户> -p < 本文件，或在程序的“撤销记录”中应用。\n"
              "-- 文件先检查服务器和数据仍是操作后的样子，不符时报错 quorvel_check_N_failed（见上面的 check N）并且不做任何修改。\n"
        + kSessionMode + "\nSET SESSION time_zone = '+00:00';\nSET SESSION foreign_key_checks = 0;\nSTART TRANSACTION;\n"
        + checks + kChanges + "\n" + m_removals;
    const qint64 statements = m_statements + 5 + 2 * m_checks.size();

    QCryptographicHash hash(kDigest);
    AtomicFile file(m_path);
    auto put = [&](const QByteArray &data) {
        hash.addData(data);
        return file.write(data);
    };
    bool ok = file.open(QFileDevice::ReadOwner | QFileDevice::WriteOwner) && put(header);
    while (ok && !m_body->atEnd()) {
        const QByteArray chunk = m_body->read(kChunk);
        ok = !chunk.isEmpty() && put(chunk);
    }
    ok = ok && put(m_trailing);
    ok = ok && file.write(kTrailer + QByteArray::number(statements) + " statements, " + kDigestName + ' ' + hash.result().toHex() + "\n" + kCommit + "\n")
        && file.commit();
    m_body.reset();
    if (!ok) {
        *error = STORED_TEXT("写入撤销文件 %1 失败: %2").arg(m_path, file.errorString());
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
