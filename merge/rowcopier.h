#pragma once

#include "base/message.h"

#include "db/sqlcolumns.h"

#include <QList>
#include <QMutex>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <QThread>
#include <QVariant>
#include <QWaitCondition>

#include <atomic>
#include <deque>
#include <functional>
#include <memory>

class QTemporaryFile;
class StatementPipe;

// Whether a target connection takes rows as files (LOAD DATA LOCAL INFILE, which the server's
// local_infile and the client library must both allow). Shared by the copiers of one target
// connection: after the first refusal the others write statements without asking again.
struct FileLoading
{
    std::atomic_bool refused{false};
};

// A thread with a connection of its own: the merge's reader of the source, or its checker of
// the target (UndoFile::takeFingerprintsElsewhere). A RowCopier given a reader reads the
// source and builds its statements there while the caller's thread writes the previous ones.
class SourceReader : public QThread
{
public:
    // Opens the connection on the reader's thread, with whatever its selects need (temporary
    // tables); false with *error when it cannot.
    using Open = std::function<bool(QSqlDatabase &db, Message *error)>;

    explicit SourceReader(Open open);
    ~SourceReader() override;

    // Starts the thread and waits until the connection is open; false with *error if it is not.
    bool begin(Message *error);
    // Runs `job` on the reader's thread with its connection, after the jobs posted before.
    void post(std::function<void(QSqlDatabase &db)> job);
    // The same, waiting for the job's answer.
    bool call(const std::function<bool(QSqlDatabase &db)> &job);

protected:
    void run() override;

private:
    Open m_open;
    QMutex m_mutex;
    QWaitCondition m_changed;
    std::deque<std::function<void(QSqlDatabase &)>> m_jobs;
    enum class State { Opening, Open, Failed } m_state = State::Opening;
    QString m_error;
    bool m_stop = false;
};

// Copies the rows of one table from the source server into the target, in multi-row INSERTs
// of the columns both have: a target column the source lacks keeps its default, or, when the
// target requires a value and the operator allowed it, gets the value the game writes for a
// new row; a source column the target lacks stays behind. Values travel as their stored bytes,
// written as hexadecimal literals (numbers as numbers): the statements carry no text of their
// own, and the client spends a fraction of what binding thousands of parameters costs; or, with
// setFileLoading(), as the lines of files the target loads, which cost its server about 40 %
// less work than the statements. Every merge table goes through here: accounts, characters
// and the related tables.
class RowCopier
{
public:
    // `target` is the table as the INSERT names it, qualified where needed.
    using Transform = std::function<bool(QVariantList &row)>;
    using Cancelled = std::function<bool()>;

    RowCopier(QSqlDatabase source, QSqlDatabase target, const QString &table);
    // Waits for a read it started, after stopping it.
    ~RowCopier();
    Q_DISABLE_COPY_MOVE(RowCopier)

    // Reads through `reader` (its connection sees the same source) instead of `source`.
    void setReader(SourceReader *reader) { m_reader = reader; }

    // Matches the columns; `skip` are target columns (lower case) that are never written.
    void setColumns(const QList<Sql::Column> &targetColumns, const QList<Sql::Column> &sourceColumns,
                    bool fillRequired, const QStringList &skip = {});
    // The position of a target column in a row handed to the transform, or -1.
    int position(const QString &lower) const;
    // What to select from the source, in that order, with `alias` before each column.
    QString selectList(const QString &alias) const;
    // A target column written as a fixed expression, not from the source ("0" for is_online).
    void setFixed(const QString &lower, const QString &expression);
    // Writes the rows as files that the target loads where every column's value travels
    // exactly as text (numbers, dates, the bytes of a column of the same character set on both
    // sides), and statements otherwise. A file that the target refuses or warns about is taken
    // back to a savepoint and its rows go as statements. Without it (nullptr), statements.
    void setFileLoading(FileLoading *loading) { m_loading = loading; }

    // Runs `select` on the source (its values bound), lets `transform` change or drop (false)
    // each row, and inserts the rows. False with *error when a statement fails or `cancelled`
    // says so; the caller rolls back. *copied counts the rows written.
    bool copy(const QString &select, const QVariantList &values, const Transform &transform, const Cancelled &cancelled,
              qint64 *copied, Message *error);
    // The same in two steps, so that the reader can read ahead of the writer: start() queues
    // the read on the reader (the transform then runs on the reader's thread), finish() writes.
    // Without a reader, finish() does both.
    void start(const QString &select, const QVariantList &values, const Transform &transform, const Cancelled &cancelled);
    bool finish(qint64 *copied, Message *error);
    // Makes a started read stop soon; for copiers whose turn will not come.
    void stop();

    // What the reader hands the writer: a statement, or the lines of a file to load.
    struct Chunk
    {
        QByteArray bytes;
        int rows = 0;               // the rows it writes; 0 for a statement that sets a variable
        QList<QVariantList> lines;  // a file's rows, to write as statements if it is not taken
    };

private:
    struct Target
    {
        QString name;        // quoted
        QString lower;
        int source = -1;     // position in the source's select list, -1: none
        QByteArray expression; // a fixed expression instead of the source's value
        QByteArray charset;    // the source's character set where the target's differs
        Sql::ValueKind kind = Sql::ValueKind::Bytes;  // of the value as the source reads it
        bool asText = false;   // its value travels exactly as a file's text
    };
    using Sink = std::function<bool(Chunk &chunk)>;
    bool read(QSqlDatabase source, const Sink &sink, Message *error) const;
    // The literal of one row, "(..)"; a value too large for one statement goes into a variable,
    // whose statements come first in *prelude.
    bool rowLiteral(const QVariantList &row, QByteArray *literal, QList<QByteArray> *prelude, Message *error) const;
    // Adds a row to *statement, handing it to `sink` when full; a row with a large value goes
    // alone, after its variables.
    bool addToStatement(const QVariantList &row, Chunk *statement, const Sink &sink, Message *error) const;
    // A row as a line of the file: its values as text, tab between them.
    bool addToFile(const QVariantList &row, Chunk *file, Message *error) const;
    bool hasLargeValue(const QVariantList &row) const;
    bool flush(Chunk &chunk, Message *error);
    bool load(Chunk &chunk, Message *error);
    bool writeStatements(const QList<QVariantList> &rows, Message *error);

    QSqlDatabase m_source;
    QSqlDatabase m_target;
    SourceReader *m_reader = nullptr;
    QString m_table;
    QList<Target> m_columns;
    QStringList m_select;    // source column names (quoted), in select order
    QList<Sql::Column> m_sourceColumns;
    qsizetype m_statementLimit = 512 * 1024;  // from the target's max_allowed_packet
    QByteArray m_insert;     // "INSERT INTO table (columns) VALUES "
    QString m_query;         // the select, its values, what happens to each row
    QVariantList m_values;
    Transform m_transform;
    Cancelled m_cancelled;
    std::unique_ptr<StatementPipe> m_pipe;  // while the reader reads
    FileLoading *m_loading = nullptr;
    QByteArray m_load;       // the LOAD statement after the file's name; empty: statements only
    std::unique_ptr<QTemporaryFile> m_file;
};
