#pragma once

#include "base/message.h"
#include "db/hostconfig.h"
#include "db/operationcontext.h"
#include "restorepreview.h"

#include <QObject>
#include <QProcess>
#include <QStringList>

namespace Gzip {
class Dump;
class Writer;
}
class QFile;
class QTemporaryFile;
class QTimer;

// Dumps a character database to an SQL file with mysqldump and restores one with mysql,
// running the tool as a child process and reporting through signals.
class BackupManager : public QObject
{
    Q_OBJECT

public:
    explicit BackupManager(QObject *parent = nullptr);
    ~BackupManager() override;

    void backupDatabase(const QString &host, int port, const QString &user, const QString &password,
                        const QString &database, const QString &filePath);
    void restoreDatabase(const QString &host, int port, const QString &user, const QString &password,
                         const QString &database, const QString &filePath);
    // Ends the running tool; it then reports a failure (a restore keeps what it already ran).
    void cancel();

    QStringList backupFiles() const;
    QString backupDirectory() const;
    QString defaultBackupPath() const;
    // backups/<entry>_<database>_<yyyyMMdd_HHmmss>.sql: a host entry's database, named so that
    // the backups of several servers keep apart (characters a file name cannot hold become "_").
    // With `compressed`, ".sql.gz": backupDatabase() compresses a path so named as it writes.
    QString entryBackupPath(const QString &entry, const QString &database, bool compressed = false) const;
    // The whole backups of that entry and database beyond the newest `keep` (>= 1), oldest last:
    // what a rotation removes. Unfinished dumps (".part") are not backups and stay out of it.
    QStringList backupsBeyond(const QString &entry, const QString &database, int keep) const;
    // Removes those; returns the files removed, and those that could not be into *kept.
    QStringList removeBackupsBeyond(const QString &entry, const QString &database, int keep, QStringList *kept = nullptr) const;

    bool isBusy() const { return m_mode != Idle; }

    // The tools: beside the program first, then on the search path.
    QString dumpToolPath() const { return m_dumpToolPath; }
    QString clientToolPath() const { return m_clientToolPath; }
    void setToolPaths(const QString &dumpTool, const QString &clientTool);

    // The arguments the last tool was started with (the password is never among them).
    QStringList lastArguments() const { return m_lastArguments; }

signals:
    void backupProgress(int percent);
    void backupCompleted(bool success, const QString &filePath);
    void restoreProgress(int percent);
    void restoreCompleted(bool success, const QString &database);
    void logMessage(const Message &message);
    void errorOccurred(const Message &error);

private slots:
    void onProcessFinished(int exitCode, QProcess::ExitStatus exitStatus);

private:
    enum Mode { Idle = 0, Backup = 1, Restore = 2 };

    bool refuseWhileBusy(bool backup, const QString &database);
    void beginOperation(Mode mode, const QString &filePath, const QString &database);
    // The tool's connection arguments, and as the log shows them; false (the operation ended
    // and reported) when the password cannot be handed over. `mariadbTool`: the tool is MariaDB's,
    // which gets no MySQL-only options.
    bool connectionArguments(const QString &host, int port, const QString &user, const QString &password,
                             QStringList *arguments, QStringList *shown, bool mariadbTool);
    void startProcess(const QString &program, const QStringList &arguments);
    void onProcessError(QProcess::ProcessError error);
    void onStandardError();
    void onStandardOutput();
    void feedInput();
    void updateBackupProgress();
    void finishOperation();
    void emitProgress(int percent);
    // Where the dump is written until the tool has finished it.
    QString partialPath() const { return m_filePath + QStringLiteral(".part"); }

    QProcess *m_process = nullptr;
    QString m_dumpToolPath;
    QString m_clientToolPath;
    QString m_filePath;
    QString m_database;
    Mode m_mode = Idle;

    QStringList m_lastArguments;
    QTemporaryFile *m_optionFile = nullptr;
    Gzip::Dump *m_input = nullptr;    // restore: the file fed to the tool
    qint64 m_inputSize = 0;
    QFile *m_output = nullptr;        // a compressed backup: the file the dump goes to
    Gzip::Writer *m_compressor = nullptr;
    bool m_outputFailed = false;
    bool m_inputFailed = false;       // a compressed file that could not be read to its end
    QTimer *m_sizeTimer = nullptr;    // backup: watches the growing dump
    qint64 m_expectedDumpSize = 0;
    int m_lastProgress = -1;
};

// One dump or restore of a server's database with the tools, run to its end on the calling
// thread (in an event loop of its own): its lines and progress go to the context, and its
// cancel ends the tool. The window runs it on a session task, the command line directly.
namespace DatabaseTool {

struct Request
{
    enum Kind { Backup, Restore };
    Kind kind = Backup;
    HostConfig server;   // host, port, login and database
    QString path;        // the file written or read; ".gz" compresses or decompresses
    QString dumpTool;    // empty: found beside the program or on the search path
    QString clientTool;
};

struct Result
{
    bool ok = false;
    bool cancelled = false;
    QString path;  // the backup written
};

// What a restore would do, counted on the server it writes to (a connection of its own): the
// rows of each table there now against the file's, and whether the game seems to be running.
struct Preview
{
    QList<RestorePreview::Table> tables;
    Message liveGame;  // empty when the game seems stopped
    Message failure;   // the file cannot be read or restored there, or the server not reached
    // The live-game warning, then a line per table.
    QList<Message> lines() const;
};

Preview preview(const Request &request);

Result run(const Request &request, const OperationContext &context);

} // namespace DatabaseTool
