#pragma once

#include <QDateTime>
#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <memory>

class QSqlDatabase;
class QTemporaryFile;

// An undo file: an SQL script that puts back what one operation deletes, changes or adds.
// The operation writes it inside its own transaction, from the very rows it is about to
// change, read under locks (FOR UPDATE) just before it changes them, and finishes the file
// before it commits: a file that cannot be written whole stops the operation. The stock
// client runs it ("mysql < file") as well as the program; every text travels as a
// hexadecimal literal, so every byte comes back.
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
    bool begin(QSqlDatabase &db, const QString &operation, QString *error);
    bool isOpen() const { return m_body != nullptr; }

    // Locks and writes the rows of `table` that `where` selects (its values bound), as INSERTs
    // of every column, or, with `replace`, as REPLACEs that turn changed rows back. `database`
    // names another database of the same server. The rows written, or -1 with *error.
    qint64 saveRows(QSqlDatabase &db, const QString &table, const QString &where, const QVariantList &values, bool replace,
                    QString *error, const QString &database = QString());
    // Locks and writes the `changed` columns of the rows `where` selects, with their `keys`: the
    // undo sets those columns back and leaves the others as they are then.
    qint64 saveColumns(QSqlDatabase &db, const QString &table, const QStringList &keys, const QStringList &changed,
                       const QString &where, const QVariantList &values, QString *error);
    // Writes a deletion, by `key`, of the rows `where` selects now: rows the operation has added.
    qint64 saveDeletion(QSqlDatabase &db, const QString &table, const QString &key, const QString &where,
                        const QVariantList &values, QString *error, const QString &database = QString());
    // A statement the undo runs at this point (deleting rows the operation adds, a counter);
    // `rows` is what it touches, for the header.
    bool addStatement(const QString &sql, const QString &table, qint64 rows, QString *error, const QString &database = QString());
    // A statement the undo runs before everything else written: removing rows the operation
    // added, before the rows it deleted come back under names or keys those rows took over.
    void addLeadingStatement(const QString &sql, const QString &table, qint64 rows, const QString &database = QString());
    // The charguids the undo puts back: checked free before it is applied.
    void addCharacterIds(const QList<int> &ids);

    // Writes the file under a new name in directory(), readable by its owner only; false with
    // *error, and then no file. The operation commits only after this.
    bool finish(QString *error);
    // Removes the finished file: the operation did not take place after all.
    void discard();
    QString path() const { return m_path; }

    // What an undo file says about itself.
    struct Summary
    {
        QString path;
        QString operation;
        QDateTime time;
        QString server;    // host:port
        QString serverId;  // @@hostname:@@port:@@datadir
        QString database;
        QStringList rows;  // "database.table: N" in the order written
        QList<int> characterIds;
        bool valid = false;
    };
    static Summary read(const QString &path);
    // "操作: …", "时间: …", "服务器: …", "数据库: …" and "  database.table: N" per table.
    static QStringList describe(const Summary &summary);
    // The undo files of directory(), newest first.
    static QList<Summary> list();

    // Checks the file against the connection's server and the ids it would put back, then runs
    // it in one transaction. False with *error (naming the taken ids, or the other server) and
    // nothing changed. `check` alone does only the checks. An applied file of directory() moves
    // to its "applied" folder, out of the list.
    static bool apply(QSqlDatabase &db, const QString &path, QString *error, bool checkOnly = false);

private:
    enum class Form { Insert, Replace, SetBack, Delete };
    qint64 saveSelected(QSqlDatabase &db, const QString &table, const QStringList &keys, const QStringList &changed,
                        const QString &where, const QVariantList &values, Form form, QString *error,
                        const QString &database);
    bool write(const QByteArray &data, QString *error);
    bool useDatabase(const QString &database, QString *error);
    void countRows(const QString &database, const QString &table, qint64 rows);

    std::unique_ptr<QTemporaryFile> m_body;
    QByteArray m_buffer;
    QByteArray m_leading;
    QString m_operation;
    QString m_server;
    QString m_serverId;
    QString m_database;   // the connection's
    QString m_current;    // of the last USE written
    QDateTime m_time;
    QStringList m_rows;
    QMap<QString, qint64> m_counts;
    QList<int> m_characterIds;
    QString m_path;
};
