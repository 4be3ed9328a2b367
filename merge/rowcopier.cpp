#include "rowcopier.h"

#include "base/storedtext.h"


#include <QQueue>
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
    bool push(const QByteArray &statement, int rows)
    {
        QMutexLocker lock(&m_mutex);
        while (m_queue.size() >= kStatementsAhead && !m_stopped)
            m_changed.wait(&m_mutex);
        if (m_stopped)
            return false;
        m_queue.enqueue({statement, rows});
        m_changed.wakeAll();
        return true;
    }
    // False when the reader has finished and everything is taken.
    bool pop(QByteArray *statement, int *rows)
    {
        QMutexLocker lock(&m_mutex);
        while (m_queue.isEmpty() && !m_finished)
            m_changed.wait(&m_mutex);
        if (m_queue.isEmpty())
            return false;
        std::tie(*statement, *rows) = m_queue.dequeue();
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
    QQueue<std::pair<QByteArray, int>> m_queue;
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
    if (!m_reader)
        return;
    m_pipe = std::make_unique<StatementPipe>();
    m_reader->post([this, pipe = m_pipe.get()](QSqlDatabase &source) {
        if (pipe->stopped()) {
            pipe->finish(false, QString());
            return;
        }
        Message error;
        const bool ok = read(source, [pipe](const QByteArray &statement, int rows) { return pipe->push(statement, rows); }, &error);
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
        return read(m_source, [&](const QByteArray &statement, int rows) {
            if (!flush(statement, rows, error))
                return false;
            *copied += rows;
            return true;
        }, error);
    }
    QByteArray statement;
    int rows = 0;
    bool ok = true;
    while (m_pipe->pop(&statement, &rows)) {
        if (!flush(statement, rows, error)) {
            ok = false;
            m_pipe->stop();
            break;
        }
        *copied += rows;
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
    QByteArray statement;
    int rows = 0;
    while (source.next()) {
        QVariantList row;
        row.reserve(m_columns.size());
        for (const Target &column : std::as_const(m_columns))
            row.append(column.source >= 0 ? source.value(column.source) : QVariant());
        if (m_transform && !m_transform(row))
            continue;
        QByteArray literal;
        QList<QByteArray> prelude;
        if (!rowLiteral(row, &literal, &prelude, error))
            return false;
        if (!prelude.isEmpty()) {
            // A row with a value larger than a statement may be: alone, after its variables.
            if (rows > 0 && !sink(statement, rows))
                return false;
            statement.clear();
            rows = 0;
            for (const QByteArray &part : std::as_const(prelude)) {
                if (!sink(part, 0))
                    return false;
            }
            if (!sink(m_insert + literal, 1))
                return false;
            continue;
        }
        statement += (statement.isEmpty() ? m_insert : QByteArray(",")) + literal;
        ++rows;
        if (statement.size() < m_statementLimit)
            continue;
        if (m_cancelled && m_cancelled()) {
            *error = STORED_TEXT("合区已取消");
            return false;
        }
        if (!sink(statement, rows))
            return false;
        statement.clear();
        rows = 0;
    }
    return rows == 0 || sink(statement, rows);
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

bool RowCopier::flush(const QByteArray &statement, int rows, Message *error)
{
    QSqlQuery insert(m_target);
    const bool ok = insert.exec(QString::fromLatin1(statement));
    if (!ok || insert.numRowsAffected() != rows) {
        *error = QStringLiteral("%1: %2").arg(m_table, ok ? STORED_TEXT("写入 %1 行，应为 %2 行").arg(insert.numRowsAffected()).arg(rows).stored()
                                                          : insert.lastError().text());
        return false;
    }
    return true;
}
