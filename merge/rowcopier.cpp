#include "rowcopier.h"

#include "base/storedtext.h"


#include <QDir>
#include <QQueue>
#include <QTemporaryFile>
#include <QSemaphore>
#include <QRegularExpression>
#include <QSqlError>
#include <QSqlQuery>

using namespace Sql;

namespace {
// A statement is sent when it reaches this size: large enough that the round trips do not
// count, and at most half the target's max_allowed_packet.
const qsizetype kStatementBytes = 512 * 1024;
// Statements built ahead of the writer: enough to keep it busy, little memory.
const int kStatementsAhead = 3;
// A file is loaded when it reaches this size.
const qsizetype kFileBytes = 1024 * 1024;
const char kSavepoint[] = "quorvel_rows";

// Bytes as a field of a file that LOAD DATA reads with its default escaping.
void appendField(QByteArray *out, const QByteArray &bytes)
{
    const char *run = bytes.constData();
    const char *const end = run + bytes.size();
    for (const char *at = run; at != end; ++at) {
        char escaped = 0;
        switch (*at) {
        case '\\': escaped = '\\'; break;
        case '\t': escaped = 't'; break;
        case '\n': escaped = 'n'; break;
        case '\r': escaped = 'r'; break;
        case '\0': escaped = '0'; break;
        default: continue;
        }
        out->append(run, at - run).append('\\').append(escaped);
        run = at + 1;
    }
    out->append(run, end - run);
}

// The character set to relabel a value with, so that the server converts its bytes from the
// source's character set into the target's; empty when both agree.
QByteArray conversion(const Column &source, const Column &target)
{
    static const QRegularExpression plainName(QStringLiteral("^[a-z0-9_]+$"));
    if (!source.integer && !source.charset.isEmpty() && !target.charset.isEmpty() && source.charset != target.charset
        && plainName.match(source.charset).hasMatch())
        return source.charset.toLatin1();
    return {};
}

} // namespace

// Hands statements from the reader's thread to the writer's.
class StatementPipe
{
public:
    bool stopped()
    {
        QMutexLocker lock(&m_mutex);
        return m_stopped;
    }
    // False once the writer has stopped taking them.
    bool push(RowCopier::Chunk &chunk)
    {
        QMutexLocker lock(&m_mutex);
        while (m_queue.size() >= kStatementsAhead && !m_stopped)
            m_changed.wait(&m_mutex);
        if (m_stopped)
            return false;
        m_queue.enqueue(std::move(chunk));
        m_changed.wakeAll();
        return true;
    }
    // False when the reader has finished and everything is taken.
    bool pop(RowCopier::Chunk *chunk)
    {
        QMutexLocker lock(&m_mutex);
        while (m_queue.isEmpty() && !m_finished)
            m_changed.wait(&m_mutex);
        if (m_queue.isEmpty())
            return false;
        *chunk = m_queue.dequeue();
        m_changed.wakeAll();
        return true;
    }
    void finish(bool ok, const QString &error)
    {
        QMutexLocker lock(&m_mutex);
        m_finished = true;
        m_ok = ok;
        m_error = error;
        m_changed.wakeAll();
    }
    void stop()
    {
        QMutexLocker lock(&m_mutex);
        m_stopped = true;
        m_changed.wakeAll();
    }
    // Waits for the reader; false with *error when it failed.
    bool wait(Message *error)
    {
        QMutexLocker lock(&m_mutex);
        while (!m_finished)
            m_changed.wait(&m_mutex);
        if (!m_ok)
            *error = m_error;
        return m_ok;
    }

private:
    QMutex m_mutex;
    QWaitCondition m_changed;
    QQueue<RowCopier::Chunk> m_queue;
    bool m_finished = false;
    bool m_stopped = false;
    bool m_ok = false;
    QString m_error;
};

SourceReader::SourceReader(Open open)
    : m_open(std::move(open))
{
}

SourceReader::~SourceReader()
{
    {
        QMutexLocker lock(&m_mutex);
        m_stop = true;
        m_changed.wakeAll();
    }
    wait();
}

bool SourceReader::begin(Message *error)
{
    start();
    QMutexLocker lock(&m_mutex);
    while (m_state == State::Opening)
        m_changed.wait(&m_mutex);
    *error = m_error;
    return m_state == State::Open;
}

void SourceReader::post(std::function<void(QSqlDatabase &)> job)
{
    QMutexLocker lock(&m_mutex);
    m_jobs.push_back(std::move(job));
    m_changed.wakeAll();
}

bool SourceReader::call(const std::function<bool(QSqlDatabase &)> &job)
{
    QSemaphore done;
    bool ok = false;
    post([&](QSqlDatabase &db) {
        ok = job(db);
        done.release();
    });
    done.acquire();
    return ok;
}

void SourceReader::run()
{
    QSqlDatabase db;
    Message error;
    const bool open = m_open(db, &error);
    {
        QMutexLocker lock(&m_mutex);
        m_state = open ? State::Open : State::Failed;
        m_error = error;
        m_changed.wakeAll();
    }
    while (open) {
        std::function<void(QSqlDatabase &)> job;
        {
            QMutexLocker lock(&m_mutex);
            while (m_jobs.empty() && !m_stop)
                m_changed.wait(&m_mutex);
            if (m_jobs.empty())
                break;
            job = std::move(m_jobs.front());
            m_jobs.pop_front();
        }
        job(db);
    }
    const QString name = db.connectionName();
    db.close();
    db = QSqlDatabase();
    if (!name.isEmpty())
        QSqlDatabase::removeDatabase(name);
}

RowCopier::RowCopier(QSqlDatabase source, QSqlDatabase target, const QString &table)
    : m_source(source)
    , m_target(target)
    , m_table(table)
{
}

void RowCopier::setColumns(const QList<Column> &targetColumns, const QList<Column> &sourceColumns, bool fillRequired,
                           const QStringList &skip)
{
    m_columns.clear();
    m_select.clear();
    m_sourceColumns = sourceColumns;
    for (const Column &column : targetColumns) {
        if (column.autoIncrement || column.generated || skip.contains(column.lower))
            continue;
        Target target{quoted(column.name), column.lower, -1, {}, {}, column.kind};
        if (const Column *source = findColumn(sourceColumns, column.lower)) {
            target.source = int(m_select.size());
            // A value is written as the target column takes it: JSON text from a MariaDB source,
            // where JSON is longtext, must reach a MySQL JSON column as text, not bytes.
            target.kind = column.kind == ValueKind::Json ? ValueKind::Json : source->kind;
            target.charset = source->kind == ValueKind::Enum ? source->charset.toLatin1() : conversion(*source, column);
            // As text, a value takes the target column's own conversion from a string: exact
            // where both columns are of one kind, and text of one character set.
            switch (target.kind) {
            case ValueKind::Json:
                break;
            case ValueKind::Enum:
                target.asText = column.kind == ValueKind::Enum && source->charset == column.charset;
                break;
            case ValueKind::Bytes:
                target.asText = column.kind == ValueKind::Bytes && target.charset.isEmpty();
                break;
            default:
                target.asText = column.kind == target.kind;
            }
            m_select.append(column.lower);
        } else if (column.needsValue() && fillRequired && !newRowValue(column).isEmpty()) {
            target.expression = newRowValue(column).toLatin1();
        } else {
            continue;  // the target's default
        }
        m_columns.append(target);
    }
    QStringList names;
    for (const Target &column : std::as_const(m_columns))
        names.append(column.name);
    m_insert = QStringLiteral("INSERT INTO %1 (%2) VALUES ").arg(m_table, names.join(QStringLiteral(", "))).toUtf8();
    QSqlQuery packet(m_target);
    if (packet.exec(QStringLiteral("SELECT @@max_allowed_packet")) && packet.next())
        m_statementLimit = qBound<qsizetype>(16 * 1024, packet.value(0).toLongLong() / 2, kStatementBytes);
}

int RowCopier::position(const QString &lower) const
{
    for (int i = 0; i < m_columns.size(); ++i) {
        if (m_columns.at(i).lower == lower)
            return i;
    }
    return -1;
}

void RowCopier::setFixed(const QString &lower, const QString &expression)
{
    const int at = position(lower);
    if (at >= 0)
        m_columns[at].expression = expression.toLatin1();
}

QString RowCopier::selectList(const QString &alias) const
{
    QStringList list;
    for (const QString &lower : m_select)
        list.append(readExpression(*findColumn(m_sourceColumns, lower), alias));
    return list.isEmpty() ? alias + QStringLiteral(".charguid") : list.join(QStringLiteral(", "));
}

RowCopier::~RowCopier()
{
    if (m_pipe) {
        m_pipe->stop();
        Message ignored;
        m_pipe->wait(&ignored);  // the read refers to this copier
    }
}

bool RowCopier::copy(const QString &select, const QVariantList &values, const Transform &transform, const Cancelled &cancelled,
                     qint64 *copied, Message *error)
{
    start(select, values, transform, cancelled);
    return finish(copied, error);
}

void RowCopier::start(const QString &select, const QVariantList &values, const Transform &transform, const Cancelled &cancelled)
{
    m_query = select;
    m_values = values;
    m_transform = transform;
    m_cancelled = cancelled;
    m_load.clear();
    if (m_loading && !m_loading->refused) {
        // The file's fields in column order; numbers that the server would read as strings
        // (BIT, YEAR) and timestamps in seconds go through variables, as their literals do.
        QStringList fields;
        QStringList sets;
        bool asText = true;
        for (int i = 0; i < m_columns.size() && asText; ++i) {
            const Target &column = m_columns.at(i);
            const QString variable = QStringLiteral("@quorvel_f%1").arg(i);
            if (!column.expression.isEmpty()) {
                sets.append(column.name + QStringLiteral(" = ") + QString::fromLatin1(column.expression));
            } else if (!column.asText) {
                asText = false;
            } else if (column.kind == ValueKind::Bit || column.kind == ValueKind::Year) {
                fields.append(variable);
                sets.append(QStringLiteral("%1 = CAST(%2 AS UNSIGNED)").arg(column.name, variable));
            } else if (column.kind == ValueKind::Timestamp) {
                fields.append(variable);
                sets.append(QStringLiteral("%1 = IF(%2 = 0, '0000-00-00 00:00:00', FROM_UNIXTIME(%2))").arg(column.name, variable));
            } else {
                fields.append(column.name);
            }
        }
        if (asText && !fields.isEmpty()) {
            // The default format: tab between fields, a line per row, backslash escapes.
            m_load = QStringLiteral(" INTO TABLE %1 CHARACTER SET binary (%2)").arg(m_table, fields.join(QStringLiteral(", "))).toUtf8();
            if (!sets.isEmpty())
                m_load += " SET " + sets.join(QStringLiteral(", ")).toUtf8();
        }
    }
    if (!m_reader)
        return;
    m_pipe = std::make_unique<StatementPipe>();
    m_reader->post([this, pipe = m_pipe.get()](QSqlDatabase &source) {
        if (pipe->stopped()) {
            pipe->finish(false, QString());
            return;
        }
        Message error;
        const bool ok = read(source, [pipe](Chunk &chunk) { return pipe->push(chunk); }, &error);
        pipe->finish(ok, error);
    });
}

void RowCopier::stop()
{
    if (m_pipe)
        m_pipe->stop();
}

bool RowCopier::finish(qint64 *copied, Message *error)
{
    *copied = 0;
    if (!m_pipe) {
        return read(m_source, [&](Chunk &chunk) {
            if (!flush(chunk, error))
                return false;
            *copied += chunk.rows;
            return true;
        }, error);
    }
    Chunk chunk;
    bool ok = true;
    while (m_pipe->pop(&chunk)) {
        if (!flush(chunk, error)) {
            ok = false;
            m_pipe->stop();
            break;
        }
        *copied += chunk.rows;
    }
    Message readError;
    if (!m_pipe->wait(&readError) && ok) {
        *error = readError;
        ok = false;
    }
    m_pipe.reset();
    return ok;
}

bool RowCopier::read(QSqlDatabase db, const Sink &sink, Message *error) const
{
    QSqlQuery source(db);
    source.setForwardOnly(true);
    if (!source.prepare(m_query)) {
        *error = source.lastError().text();
        return false;
    }
    for (const QVariant &value : m_values)
        source.addBindValue(value);
    if (!source.exec()) {
        *error = source.lastError().text();
        return false;
    }
    // A full chunk goes, unless the operation was cancelled meanwhile.
    const Sink send = [&](Chunk &chunk) {
        if (chunk.bytes.isEmpty())
            return true;
        if (m_cancelled && m_cancelled()) {
            *error = STORED_TEXT("合区已取消");
            return false;
        }
        const bool sent = sink(chunk);
        chunk = Chunk();
        return sent;
    };
    Chunk statement;
    Chunk file;
    while (source.next()) {
        QVariantList row;
        row.reserve(m_columns.size());
        for (const Target &column : std::as_const(m_columns))
            row.append(column.source >= 0 ? source.value(column.source) : QVariant());
        if (m_transform && !m_transform(row))
            continue;
        // The rows keep their order: what waits in the other chunk goes first.
        if (!m_load.isEmpty() && !m_loading->refused && !hasLargeValue(row)) {
            if (!send(statement) || !addToFile(row, &file, error))
                return false;
            if (file.bytes.size() >= kFileBytes && !send(file))
                return false;
            continue;
        }
        if (!send(file) || !addToStatement(row, &statement, send, error))
            return false;
    }
    return send(file) && send(statement);
}

bool RowCopier::addToStatement(const QVariantList &row, Chunk *statement, const Sink &sink, Message *error) const
{
    QByteArray literal;
    QList<QByteArray> prelude;
    if (!rowLiteral(row, &literal, &prelude, error))
        return false;
    if (!prelude.isEmpty()) {
        if (!sink(*statement))
            return false;
        for (const QByteArray &part : std::as_const(prelude)) {
            Chunk variable{part, 0, {}};
            if (!sink(variable))
                return false;
        }
        Chunk alone{m_insert + literal, 1, {}};
        return sink(alone);
    }
    statement->bytes += (statement->bytes.isEmpty() ? m_insert : QByteArray(",")) + literal;
    ++statement->rows;
    return statement->bytes.size() < m_statementLimit || sink(*statement);
}

bool RowCopier::hasLargeValue(const QVariantList &row) const
{
    for (int i = 0; i < row.size(); ++i) {
        if (m_columns.at(i).expression.isEmpty() && row.at(i).typeId() == QMetaType::QByteArray && literalSize(row.at(i)) > m_statementLimit / 2)
            return true;
    }
    return false;
}

bool RowCopier::addToFile(const QVariantList &row, Chunk *file, Message *error) const
{
    bool first = true;
    for (int i = 0; i < row.size(); ++i) {
        const Target &column = m_columns.at(i);
        if (!column.expression.isEmpty())
            continue;
        if (!first)
            file->bytes.append('\t');
        first = false;
        const QVariant &value = row.at(i);
        if (value.isNull()) {
            file->bytes.append("\\N", 2);
            continue;
        }
        // The literal checks the value; the file takes its text: numbers as their literals
        // (digits, sign, point, exponent), text and binary as their bytes.
        QByteArray literal;
        bool ok = true;
        switch (column.kind) {
        case ValueKind::Bytes:
        case ValueKind::Enum:
            ok = value.typeId() == QMetaType::QByteArray;
            if (ok)
                appendField(&file->bytes, value.toByteArray());
            else
                *error = STORED_TEXT("无法写入的值类型 %1").arg(QString::fromLatin1(value.typeName()));
            break;
        case ValueKind::Temporal:
            ok = appendLiteral(&literal, column.kind, value, error);
            file->bytes.append(literal.mid(1, literal.size() - 2));  // without its quotes
            break;
        case ValueKind::Timestamp:
            ok = appendLiteral(&literal, column.kind, value, error);
            file->bytes.append(literal.startsWith("FROM_UNIXTIME(") ? literal.mid(14, literal.size() - 15) : QByteArray("0"));
            break;
        default:
            ok = appendLiteral(&file->bytes, column.kind, value, error);
        }
        if (!ok) {
            *error = QStringLiteral("%1.%2: %3").arg(m_table, column.lower, *error);
            return false;
        }
    }
    file->bytes.append('\n');
    file->lines.append(row);
    ++file->rows;
    return true;
}

bool RowCopier::rowLiteral(const QVariantList &row, QByteArray *literal, QList<QByteArray> *prelude, Message *error) const
{
    literal->append('(');
    for (int i = 0; i < row.size(); ++i) {
        if (i > 0)
            literal->append(',');
        const Target &column = m_columns.at(i);
        const QVariant &value = row.at(i);
        if (!column.expression.isEmpty()) {
            literal->append(column.expression);
        } else if (value.typeId() == QMetaType::QByteArray && literalSize(value) > m_statementLimit / 2) {
            const QByteArray name = "@quorvel_m" + QByteArray::number(i);
            *prelude += assembleInVariable(name, value.toByteArray(), m_statementLimit / 4);
            const QByteArray charset = column.kind == ValueKind::Json ? QByteArray("utf8mb4") : column.charset;
            literal->append(charset.isEmpty() ? name : "CONVERT(" + name + " USING " + charset + ')');
        } else if (!appendLiteral(literal, column.kind, value, error, column.charset)) {
            *error = QStringLiteral("%1.%2: %3").arg(m_table, column.lower, *error);
            return false;
        }
    }
    literal->append(')');
    return true;
}

bool RowCopier::flush(Chunk &chunk, Message *error)
{
    if (!chunk.lines.isEmpty())
        return load(chunk, error);
    QSqlQuery insert(m_target);
    const bool ok = insert.exec(QString::fromLatin1(chunk.bytes));
    if (!ok || insert.numRowsAffected() != chunk.rows) {
        *error = QStringLiteral("%1: %2").arg(m_table, ok ? STORED_TEXT("写入 %1 行，应为 %2 行").arg(insert.numRowsAffected()).arg(chunk.rows).stored()
                                                          : insert.lastError().text());
        return false;
    }
    return true;
}

bool RowCopier::load(Chunk &chunk, Message *error)
{
    if (m_loading->refused)
        return writeStatements(chunk.lines, error);
    if (!m_file) {
        m_file = std::make_unique<QTemporaryFile>(QDir::tempPath() + QStringLiteral("/quorvel_rows_XXXXXX"));
        if (!m_file->open()) {
            m_loading->refused = true;
            return writeStatements(chunk.lines, error);
        }
    }
    if (!m_file->resize(0) || !m_file->seek(0) || m_file->write(chunk.bytes) != chunk.bytes.size() || !m_file->flush())
        return writeStatements(chunk.lines, error);
    QSqlQuery query(m_target);
    if (!query.exec(QStringLiteral("SAVEPOINT ") + QLatin1String(kSavepoint))) {
        *error = QStringLiteral("%1: %2").arg(m_table, query.lastError().text());
        return false;
    }
    // The client library reads the file by the name the statement gives.
    QByteArray name = QDir::fromNativeSeparators(m_file->fileName()).toUtf8();
    name.replace("\\", "\\\\").replace("'", "''");
    const bool loaded = query.exec(QString::fromUtf8("LOAD DATA LOCAL INFILE '" + name + "'" + m_load));
    const qint64 written = loaded ? query.numRowsAffected() : -1;
    // LOCAL makes the server turn what does not fit into warnings: a warning takes the file back.
    const bool exact = loaded && written == chunk.rows && query.exec(QStringLiteral("SELECT @@warning_count")) && query.next()
        && query.value(0).toInt() == 0;
    if (exact)
        return true;
    if (!query.exec(QStringLiteral("ROLLBACK TO SAVEPOINT ") + QLatin1String(kSavepoint))) {
        *error = QStringLiteral("%1: %2").arg(m_table, query.lastError().text());
        return false;
    }
    if (!loaded)
        m_loading->refused = true;
    return writeStatements(chunk.lines, error);
}

bool RowCopier::writeStatements(const QList<QVariantList> &rows, Message *error)
{
    const Sink write = [&](Chunk &chunk) {
        const bool written = chunk.bytes.isEmpty() || flush(chunk, error);
        chunk = Chunk();
        return written;
    };
    Chunk statement;
    for (const QVariantList &row : rows) {
        if (!addToStatement(row, &statement, write, error))
            return false;
    }
    return write(statement);
}
