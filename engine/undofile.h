#pragma once

#include "base/message.h"

#include "commitcheck.h"
#include "undoscript.h"

#include <QDateTime>
#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <functional>
#include <memory>

class QSqlDatabase;
class QTemporaryFile;

namespace Sql {
struct Column;
}

// An undo file: an SQL script that puts back what one operation deletes, changes or adds.
// The operation writes it inside its own transaction, from the very rows it is about to
// change, read under locks (FOR UPDATE) just before it changes them (a large deletion reads
// them from a second connection just after, see CharacterPurge), and finishes the file
// before it commits: a file that cannot be written whole stops the operation.
//
// The file is applied whole or not at all, on the server it was written on, by the program and
// by the stock client alike:
// - it runs in one transaction that only its last line commits, so a cut file changes nothing;
// - it first checks, in SQL, that it runs on the server it was written on (MySQL's server_uuid;
//   on MariaDB, which has none, the host name, port and data folder) and that the data is
//   still exactly as the operation left it: every column the undo sets back or removes, row by
//   row (a fingerprint of each key's rows), the rows it puts back absent, no world's id counter
//   lower. A failed check raises an error before anything changes, which stops the client; the
//   program names the rows that differ. So a file applied twice, or over later changes, or on
//   another server, does nothing;
// - it ends with a trailer (the number of statements and a SHA-256 of everything before), which
//   the program requires: it tells a cut or damaged file, not one rewritten by someone who can
//   write the file. The program also accepts only the statements it writes (UndoScript) and
//   refuses a file already applied.
// Every value is written exactly, whatever its type and size (see Sql::appendLiteral): no
// statement exceeds the server's packet limit; larger values are assembled in a variable and
// checked by their SHA-256 on the server. Header values are percent-encoded, so no text of the
// operation can end a comment line.
class UndoFile
{
public:
    UndoFile();
    ~UndoFile();
    UndoFile(const UndoFile &) = delete;
    UndoFile &operator=(const UndoFile &) = delete;

    // backups/undo beside the program.
    static QString directory();

    // Starts the file of `operation` on the connection's server and database; false with
    // *error when it cannot be started.
    bool begin(QSqlDatabase &db, const QString &operation, Message *error);
    bool isOpen() const { return m_body != nullptr; }

    // Rows the operation is about to delete: locks the rows `where` selects (its values bound)
    // and writes them as INSERTs of every column. The values of `absentKey` in these rows must
    // be absent when the undo runs (t_char's charguid, the account's name), or it refuses.
    // `database` names another database of the same server. The rows written, or -1 with *error.
    qint64 saveRows(QSqlDatabase &db, const QString &table, const QString &where, const QVariantList &values,
                    Message *error, const QString &database = QString(), const QString &absentKey = QString());
    // Reads without FOR UPDATE: for a second connection reading, in a snapshot taken after the
    // operation's connection deleted them, rows that connection holds locked.
    void setLockingReads(bool locking) { m_lockingReads = locking; }
    // Rows whose `changed` columns the operation is about to change: locks them and writes those
    // columns by `key`; the undo sets them back, and leaves the other columns as they are then,
    // once it has checked that those columns of every one of those rows are still as the
    // operation left them.
    qint64 saveColumns(QSqlDatabase &db, const QString &table, const QString &key, const QStringList &changed,
                       const QString &where, const QVariantList &values, Message *error,
                       const QString &database = QString());
    // Rows the operation has added, called after adding them: the undo deletes them by `key`,
    // before it puts anything back, once it has checked that every column of them is still as
    // the operation left it.
    qint64 saveAdded(QSqlDatabase &db, const QString &table, const QString &key, const QString &where,
                     const QVariantList &values, Message *error, const QString &database = QString());
    // Rows of `table` whose `key` column holds one of `keys`, deleted with the rows saveAdded
    // checks (a merged character's items), once the undo has checked that they are still, row
    // for row, as the operation left them; `rows` is what they are now, for the header.
    void addRemoval(const QString &table, const QString &key, const QList<qint64> &keys, qint64 rows,
                    const QString &database = QString());
    // Has the pending fingerprints of the rows added to `table` so far (saveAdded, addRemoval)
    // taken now by a job that `post` runs on another connection, one that sees this
    // transaction's rows (READ UNCOMMITTED), so that this connection writes on meanwhile; the
    // rows must not change again before the commit. finish() waits for the jobs, and takes
    // on this connection what one of them could not.
    using Post = std::function<void(std::function<void(QSqlDatabase &db)> job)>;
    void takeFingerprintsElsewhere(const QString &table, const Post &post, const QString &database = QString());
    // The charguids the undo puts back, named in the header: the program names those taken since.
    void addCharacterIds(const QList<int> &ids) { m_characterIds += ids; }
    // A statement the undo runs after everything else (a counter set back while the game has
    // created nobody since), with %1 where `table` stands (written qualified with its database);
    // `rows` is what it touches, for the header. Built by the caller from numbers only.
    bool addStatement(const QString &sql, const QString &table, qint64 rows, Message *error, const QString &database = QString());

    // Writes the file under a new name in directory(), readable by its owner only; false with
    // *error, and then no file. Called on the operation's connection, inside its transaction,
    // after its last change: the checks take the rows as the operation leaves them. The
    // operation commits only after this.
    bool finish(QSqlDatabase &db, Message *error);
    // Removes the finished file: the operation did not take place after all.
    void discard();
    QString path() const { return m_path; }
    // What tells, after a COMMIT whose answer was lost, whether the operation took place: each
    // check's value before the operation and at its end. Valid after finish().
    QList<CommitCheck::Probe> probes() const { return m_probes; }
    UndoScript::ServerIdentity identity() const { return m_identity; }

    // What an undo file says about itself.
    struct Summary
    {
        QString path;
        QString operation;
        QDateTime time;
        QString server;       // host:port
        UndoScript::ServerIdentity identity;  // invalid in files written before it was recorded
        QString database;
        QStringList databases;
        QStringList rows;     // "database.table N" in the order written
        QList<int> characterIds;
        QStringList checks;   // what the file checks before it changes anything, by number from 1
        bool valid = false;
    };
    static Summary read(const QString &path);
    // "操作: …", "时间: …", "服务器: …", "数据库: …" and "  database.table: N" per table.
    static QList<Message> describe(const Summary &summary);
    // The undo files of directory(), newest first.
    static QList<Summary> list();

    // A file that a prune removes.
    struct Prunable
    {
        QString path;
        qint64 bytes = 0;
        bool applied = false;  // in the "applied" folder: it has been run
    };
    // What a prune removes, newest first: every applied file, every undo file of directory()
    // older than `days` days (none when `days` < 0), and the files `named` (undo files of
    // directory() or of its applied folder, whatever their age). The newest file of each
    // server's database that has not been applied stays unless it is named: the way back from
    // the last change there is never removed by age alone.
    static QList<Prunable> prunable(int days, const QStringList &named = {});
    // Removes them; the checksums of applied files stay recorded, so that a copy of one found
    // elsewhere is still refused. False with *error at the first file that cannot be removed.
    static bool prune(const QList<Prunable> &files, Message *error);

    struct ApplyOptions
    {
        bool checkOnly = false;    // run the file's checks alone and roll back
        bool serverMoved = false;  // the operator confirmed that this is the file's server, moved
        // The databases the operator chose (a host entry's character and account databases):
        // the file's own database must be one of them. Empty: any.
        QStringList databases;
    };
    struct Applied
    {
        bool ok = false;
        Message error;
        // The file names another server than this one (or none): both, for the question whether
        // the server was moved; set together with the refusal in `error`.
        bool otherServer = false;
        QString fileServer;
        QString thisServer;
        QString notice;  // a COMMIT whose answer was lost, found committed
    };
    // Verifies the file (its trailer and checksum, that every statement is one the program
    // writes and stands where the program writes it, that it acts on the databases it names on
    // this server, that it was not applied before), then runs it in one transaction. On failure
    // `error` says why (the damaged file, the other server, the check that failed and the rows
    // that differ) and nothing changed; a COMMIT whose answer was lost is settled by reading the
    // server again, and an outcome that cannot be found out is a failure that says so. The
    // connection's SQL mode, time zone and foreign key checks are as before afterwards. An
    // applied file of directory() moves to its "applied" folder, out of the list; one from
    // elsewhere is copied there, so that it is refused next time.
    static Applied apply(QSqlDatabase &db, const QString &path, const ApplyOptions &options);
    static bool apply(QSqlDatabase &db, const QString &path, Message *error, bool checkOnly = false);

private:
    enum class Form { Insert, SetBack };
    // One check the file makes before it changes anything.
    struct Check
    {
        QString description;
        QByteArray query;     // SELECT of one value
        QByteArray expected;  // what it must give when the undo runs
        QByteArray before;    // what it gave before the operation
        QByteArray keyValues; // "key=value ...", the hex of each key's bytes with its rows' value
        // A fingerprint taken at finish(): the rows of `keys` with every column (`columns`
        // empty) or those columns.
        bool pending = false;
        QString table;
        QString database;
        QString key;
        QStringList columns;
        QByteArray keys;
        // Taken elsewhere (takeFingerprintsElsewhere): what the job found, once it is done.
        struct Taken;
        std::shared_ptr<Taken> taken;
    };
    qint64 saveSelected(QSqlDatabase &db, const QString &table, const QString &key, const QStringList &changed,
                        const QString &where, const QVariantList &values, Form form, Message *error,
                        const QString &database);
    bool writeRows(QSqlDatabase &db, const QString &table, const QList<Sql::Column> &columns, int keyIndex, Form form,
                   const QString &where, const QVariantList &values, QList<QByteArray> *keys, qint64 *rows,
                   Message *error, const QString &database);
    bool write(const QByteArray &data, Message *error);
    bool writeStatement(const QByteArray &statement, Message *error);
    // The key literals in slices short enough for one statement each.
    QList<QByteArray> slices(const QList<QByteArray> &keys) const;
    // Fingerprints of `keys`' rows (their `columns`, or all), checked when the undo runs.
    bool addFingerprints(QSqlDatabase *db, const QString &description, const QString &table, const QString &key,
                         const QStringList &columns, const QList<QByteArray> &keys, Message *error, const QString &database);
    static bool takeFingerprint(QSqlDatabase &db, Check *check, Message *error);
    void countRows(const QString &database, const QString &table, qint64 rows);
    QString databaseOf(const QString &database) const { return database.isEmpty() ? m_database : database; }

    std::unique_ptr<QTemporaryFile> m_body;
    QByteArray m_buffer;
    QList<Check> m_checks;  // run first
    QByteArray m_removals;  // then the rows the operation added go
    QByteArray m_trailing;  // after the body
    QList<CommitCheck::Probe> m_probes;
    qint64 m_statements = 0;
    qsizetype m_statementLimit = 0;
    bool m_lockingReads = true;
    QString m_operation;
    QString m_server;
    UndoScript::ServerIdentity m_identity;
    QString m_database;   // the connection's
    QDateTime m_time;
    QStringList m_rows;
    QMap<QString, qint64> m_counts;
    QList<int> m_characterIds;
    QString m_path;
};
