#include "backupmanager.h"

#include "base/debuglog.h"
#include "clientoptionfile.h"
#include "db/connectionrule.h"
#include "base/storedtext.h"
#include "gzipfile.h"
#include "restorepreview.h"
#include "rowpreview.h"

#include <QDateTime>
#include <QFutureWatcher>
#include <QtConcurrent>
#include <QDir>
#include <QRegularExpression>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QTemporaryFile>
#include <QTimer>

namespace {
const qint64 kInputChunk = 256 * 1024;
const QString kSizeProbeConnection = QStringLiteral("backup_size_probe");

QString findTool(const QString &name)
{
    const QString besideProgram = applicationDirectory() + QLatin1Char('/') + name;
    if (!QStandardPaths::findExecutable(name, {applicationDirectory()}).isEmpty())
        return besideProgram;
    const QString onPath = QStandardPaths::findExecutable(name);
    return onPath.isEmpty() ? besideProgram : onPath;
}

// Maps work done to the span between the fixed 30 % and 90 % marks.
int workProgress(qint64 done, qint64 total)
{
    if (total <= 0)
        return 30;
    return 30 + int(59 * qMin<qint64>(done, total) / total);
}

// Size of the database's rows, an estimate of the dump that is being written. Runs on a
// worker, on a connection of its own.
qint64 databaseSize(const QString &host, int port, const QString &user, const QString &password,
                    const QString &database)
{
    static std::atomic_int serial{0};
    const QString name = kSizeProbeConnection + QString::number(++serial);
    ConnectionRequest request;
    request.host = host;
    request.port = port;
    request.user = user;
    request.password = password;
    request.database = database;
    request.nativeOptions = QStringLiteral("MYSQL_OPT_CONNECT_TIMEOUT=5");
    qint64 size = 0;
    if (openMysqlConnection(name, request).ok) {
        QSqlDatabase db = QSqlDatabase::database(name, false);
        QSqlQuery query(db);
        query.prepare(QStringLiteral("SELECT SUM(DATA_LENGTH) FROM information_schema.TABLES WHERE TABLE_SCHEMA = ?"));
        query.addBindValue(textParameter(db, database));
        if (query.exec() && query.next())
            size = query.value(0).toLongLong();
        query.finish();
        db.close();
    }
    removeNamedConnection(name);
    return size;
}
} // namespace

BackupManager::BackupManager(QObject *parent)
    : QObject(parent)
    , m_dumpToolPath(findTool(QStringLiteral("mysqldump")))
    , m_clientToolPath(findTool(QStringLiteral("mysql")))
    , m_sizeTimer(new QTimer(this))
{
    m_sizeTimer->setInterval(200);
    connect(m_sizeTimer, &QTimer::timeout, this, &BackupManager::updateBackupProgress);
}

BackupManager::~BackupManager()
{
    if (m_process) {
        m_process->disconnect(this);
        m_process->kill();
        m_process->waitForFinished(3000);
    }
}

void BackupManager::cancel()
{
    if (m_process)
        m_process->kill();
}

void BackupManager::setToolPaths(const QString &dumpTool, const QString &clientTool)
{
    m_dumpToolPath = dumpTool;
    m_clientToolPath = clientTool;
}

QString BackupManager::backupDirectory() const
{
    return applicationDirectory() + QStringLiteral("/backups");
}

QString BackupManager::defaultBackupPath() const
{
    QDir().mkpath(backupDirectory());
    return backupDirectory() + QStringLiteral("/backup_")
        + QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd_HHmmss")) + QStringLiteral(".sql");
}

namespace {
QString fileNamePart(const QString &text)
{
    QString part = text;
    static const QRegularExpression unsafe(QStringLiteral("[\\\\/:*?\"<>|\\s\\x00-\\x1f]"));
    return part.replace(unsafe, QStringLiteral("_"));
}
} // namespace

QString BackupManager::entryBackupPath(const QString &entry, const QString &database, bool compressed) const
{
    QDir().mkpath(backupDirectory());
    const QString stem = backupDirectory() + QLatin1Char('/') + fileNamePart(entry) + QLatin1Char('_') + fileNamePart(database) + QLatin1Char('_')
        + QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd_HHmmss"));
    const QString extension = compressed ? QStringLiteral(".sql.gz") : QStringLiteral(".sql");
    QString path = stem + extension;
    for (int n = 2; QFileInfo::exists(path) || QFileInfo::exists(path + QStringLiteral(".part")); ++n)
        path = stem + QStringLiteral("_%1").arg(n) + extension;
    return path;
}

QStringList BackupManager::backupsBeyond(const QString &entry, const QString &database, int keep) const
{
    const QString prefix = fileNamePart(entry) + QLatin1Char('_') + fileNamePart(database) + QLatin1Char('_');
    static const QRegularExpression stamp(QStringLiteral("^\\d{8}_\\d{6}(_\\d+)?\\.sql(\\.gz)?$"));
    QStringList whole;
    // Newest first by the time in the name (a compressed and a plain one of the same second
    // count as two).
    QStringList names = QDir(backupDirectory()).entryList({prefix + QStringLiteral("*.sql"), prefix + QStringLiteral("*.sql.gz")}, QDir::Files);
    std::sort(names.begin(), names.end(), [](const QString &a, const QString &b) {
        return QString(a).remove(QStringLiteral(".gz")) > QString(b).remove(QStringLiteral(".gz"));
    });
    for (const QString &name : std::as_const(names)) {
        if (stamp.match(name.mid(prefix.size())).hasMatch())
            whole.append(backupDirectory() + QLatin1Char('/') + name);
    }
    return whole.mid(qMax(1, keep));
}

QStringList BackupManager::removeBackupsBeyond(const QString &entry, const QString &database, int keep, QStringList *kept) const
{
    QStringList removed;
    for (const QString &path : backupsBeyond(entry, database, keep)) {
        if (QFile::remove(path))
            removed.append(path);
        else if (kept)
            kept->append(path);
    }
    return removed;
}

QStringList BackupManager::backupFiles() const
{
    const QFileInfoList entries = QDir(backupDirectory()).entryInfoList({QStringLiteral("*.sql"), QStringLiteral("*.sql.gz")}, QDir::Files, QDir::Time);
    QStringList files;
    for (const QFileInfo &entry : entries)
        files.append(entry.absoluteFilePath());
    return files;
}

bool BackupManager::refuseWhileBusy(bool backup, const QString &database)
{
    if (m_mode == Idle)
        return false;
    // A second start would have to end the running tool; it is refused instead.
    emit errorOccurred(STORED_TEXT("已有备份或恢复操作正在进行，请等待完成"));
    if (backup)
        emit backupCompleted(false, QString());
    else
        emit restoreCompleted(false, database);
    return true;
}

bool BackupManager::connectionArguments(const QString &host, int port, const QString &user, const QString &password,
                                        QStringList *arguments, QStringList *shown, bool mariadbTool)
{
    arguments->clear();
    delete m_optionFile;
    // The password goes through an owner-only option file, never the command line that every
    // user of the machine can read; the tools want that option first. Without the file the
    // tool could not log in or could not talk to a server of the other family, so nothing is
    // started.
    m_optionFile = createClientOptionFile(password, this, !mariadbTool);
    if (!m_optionFile) {
        const Mode mode = m_mode;
        if (mode == Backup)
            QFile::remove(partialPath());
        finishOperation();
        emit errorOccurred(STORED_TEXT("无法在临时目录 %1 写入密码文件，未启动 %2")
                               .arg(QDir::tempPath(), mode == Backup ? QStringLiteral("mysqldump") : QStringLiteral("mysql")));
        if (mode == Backup)
            emit backupCompleted(false, QString());
        else
            emit restoreCompleted(false, m_database);
        return false;
    }
    arguments->append(clientOptionFileArgument(m_optionFile));
    *arguments += toolConnectionArguments(host, port, user);
    *shown = *arguments;  // what runs: the password stays in the file
    return true;
}

void BackupManager::startProcess(const QString &program, const QStringList &arguments)
{
    if (m_process)
        m_process->deleteLater();
    m_process = new QProcess(this);
    connect(m_process, &QProcess::readyReadStandardOutput, this, &BackupManager::onStandardOutput);
    connect(m_process, &QProcess::readyReadStandardError, this, &BackupManager::onStandardError);
    connect(m_process, &QProcess::finished, this, &BackupManager::onProcessFinished);
    connect(m_process, &QProcess::errorOccurred, this, &BackupManager::onProcessError);
    m_lastArguments = arguments;
    m_process->start(program, arguments);
}

void BackupManager::emitProgress(int percent)
{
    if (percent == m_lastProgress)
        return;
    m_lastProgress = percent;
    if (m_mode == Backup)
        emit backupProgress(percent);
    else if (m_mode == Restore)
        emit restoreProgress(percent);
}

void BackupManager::beginOperation(Mode mode, const QString &filePath, const QString &database)
{
    m_mode = mode;
    m_filePath = filePath;
    m_database = database;
    m_lastProgress = -1;
    emit logMessage((mode == Backup ? STORED_TEXT("开始备份数据库: %1") : STORED_TEXT("开始恢复数据库: %1")).arg(database));
    emitProgress(0);
}

void BackupManager::backupDatabase(const QString &host, int port, const QString &user,
                                   const QString &password, const QString &database,
                                   const QString &filePath)
{
    if (refuseWhileBusy(true, database))
        return;
    beginOperation(Backup, filePath, database);
    QDir().mkpath(QFileInfo(filePath).absolutePath());
    // The dump holds password hashes and player data: readable by its owner only. It takes its
    // name only once the tool has finished it: a failed dump never looks like a backup.
    Message fileError;
    if (!createPrivateFile(partialPath(), &fileError)) {
        finishOperation();
        emit errorOccurred(STORED_TEXT("无法创建备份文件 %1: %2").arg(filePath, fileError));
        emit backupCompleted(false, QString());
        return;
    }

    // A compressed backup: the tool writes to its standard output, and the program compresses it
    // into the part file as it comes, never an uncompressed copy on disk.
    const bool compressed = Gzip::isCompressed(filePath);
    delete m_compressor;
    m_compressor = nullptr;
    delete m_output;
    m_output = nullptr;
    if (compressed) {
        m_output = new QFile(partialPath(), this);
        m_outputFailed = !m_output->open(QIODevice::WriteOnly | QIODevice::Truncate);
        m_compressor = new Gzip::Writer(m_output);
    }

    QStringList shown;
    QStringList arguments;
    if (!connectionArguments(host, port, user, password, &arguments, &shown, isMariaDbTool(m_dumpToolPath)))
        return;
    const QStringList rest = dumpOptions(compressed ? QString() : partialPath(), database);
    arguments += rest;
    shown += rest;
    m_expectedDumpSize = 0;

    emit logMessage(STORED_TEXT("执行命令: %1 %2").arg(m_dumpToolPath, shown.join(QLatin1Char(' '))));
    emitProgress(10);
    startProcess(m_dumpToolPath, arguments);
    if (m_mode != Backup)
        return;  // failed to start; already reported
    emitProgress(30);
    emit logMessage(STORED_TEXT("mysqldump 正在运行..."));
    // A server slow to answer must not hold the window: the estimate arrives when it arrives.
    auto *size = new QFutureWatcher<qint64>(this);
    connect(size, &QFutureWatcher<qint64>::finished, this, [this, size, filePath] {
        size->deleteLater();
        if (m_mode != Backup || m_filePath != filePath || size->result() <= 0)
            return;
        m_expectedDumpSize = size->result();
        m_sizeTimer->start();
    });
    size->setFuture(QtConcurrent::run(databaseSize, host, port, user, password, database));
}

void BackupManager::restoreDatabase(const QString &host, int port, const QString &user,
                                    const QString &password, const QString &database,
                                    const QString &filePath)
{
    if (refuseWhileBusy(false, database))
        return;
    beginOperation(Restore, filePath, database);

    auto *input = new Gzip::Dump;
    if (QString openError; !QFileInfo::exists(filePath) || !input->open(filePath, &openError)) {
        delete input;
        m_mode = Idle;
        emit errorOccurred(STORED_TEXT("备份文件不存在: ") + filePath);
        emit restoreCompleted(false, database);
        return;
    }
    // A cut or failed dump, or one that writes into another database, is not restored at all.
    RestorePreview::Dump dump;
    Message refusal;
    if (!RestorePreview::scan(filePath, database, &dump, &refusal) || !(refusal = RestorePreview::refusal(dump, filePath)).isEmpty()) {
        delete input;
        m_mode = Idle;
        emit errorOccurred(refusal);
        emit restoreCompleted(false, database);
        return;
    }
    m_input = input;
    m_inputSize = m_input->fileSize();
    const bool mariadbTool = isMariaDbTool(m_clientToolPath);
    if (!mariadbTool && isSandboxLine(m_input->device()->peek(64)))
        m_input->device()->readLine();
    emit logMessage(STORED_TEXT("备份文件: %1 (%2 KB)").arg(filePath, QString::number(m_inputSize / 1024)));

    QStringList shown;
    QStringList arguments;
    if (!connectionArguments(host, port, user, password, &arguments, &shown, mariadbTool))
        return;
    // The client runs no commands of its own (a shell, another file) where it can be told so.
    const QStringList safety = RestorePreview::clientSafetyOptions(m_clientToolPath) + QStringList{database};
    arguments += safety;
    shown += safety;
    emit logMessage(STORED_TEXT("执行命令: %1 %2 < %3").arg(m_clientToolPath, shown.join(QLatin1Char(' ')), filePath));
    emitProgress(10);
    startProcess(m_clientToolPath, arguments);
    if (m_mode != Restore)
        return;
    emitProgress(30);
    emit logMessage(STORED_TEXT("mysql 正在运行..."));
    // The file goes to the tool in chunks, so that the bytes sent tell how far it got.
    connect(m_process, &QProcess::started, this, &BackupManager::feedInput);
    connect(m_process, &QProcess::bytesWritten, this, &BackupManager::feedInput);
    if (m_process->state() == QProcess::Running)
        feedInput();
}

void BackupManager::feedInput()
{
    if (!m_input || !m_process || m_process->state() != QProcess::Running)
        return;
    if (m_process->bytesToWrite() > kInputChunk)
        return;
    const QByteArray chunk = m_input->device()->read(kInputChunk);
    if (!chunk.isEmpty())
        m_process->write(chunk);
    emitProgress(workProgress(m_input->filePosition(), m_inputSize));
    if (m_input->failed()) {
        // The file changed since it was checked: the client must not take what it got as all.
        m_inputFailed = true;
        m_process->kill();
        return;
    }
    if (m_input->device()->atEnd() && chunk.isEmpty()) {
        m_process->closeWriteChannel();
        delete m_input;
        m_input = nullptr;
    }
}

void BackupManager::updateBackupProgress()
{
    if (m_mode != Backup)
        return;
    emitProgress(workProgress(QFileInfo(partialPath()).size(), m_expectedDumpSize));
}

void BackupManager::onStandardError()
{
    // Line by line: the tools' warnings (options of the other family they do not know) stay out,
    // their errors come through.
    QStringList lines;
    for (const QString &line : QString::fromLocal8Bit(m_process->readAllStandardError()).split(QLatin1Char('\n'))) {
        if (!line.trimmed().isEmpty() && !line.contains(QLatin1String("warning"), Qt::CaseInsensitive)
            && !line.contains(QLatin1String("unknown variable 'loose-")))
            lines.append(line);
    }
    if (!lines.isEmpty())
        emit logMessage((m_mode == Backup ? QStringLiteral("mysqldump: %1") : QStringLiteral("mysql: %1")).arg(lines.join(QLatin1Char('\n')) + QLatin1Char('\n')));
}

void BackupManager::onProcessError(QProcess::ProcessError error)
{
    // Other errors (a crash, a broken pipe) are followed by finished(), which reports them.
    if (error != QProcess::FailedToStart)
        return;
    const Mode mode = m_mode;
    finishOperation();
    if (m_process)
        m_process->deleteLater();
    m_process = nullptr;
    if (mode == Backup) {
        QFile::remove(partialPath());
        emit errorOccurred(STORED_TEXT("无法启动 mysqldump，请确保程序目录下存在 mysqldump.exe 及其依赖 DLL"));
        emit backupCompleted(false, QString());
    } else if (mode == Restore) {
        emit errorOccurred(STORED_TEXT("无法启动 mysql，请确保程序目录下存在 mysql.exe 及其依赖 DLL"));
        emit restoreCompleted(false, m_database);
    }
}

void BackupManager::onStandardOutput()
{
    const QByteArray output = m_process->readAllStandardOutput();
    if (m_compressor)
        m_outputFailed = !m_compressor->write(output) || m_outputFailed;
    else if (!output.isEmpty())
        emit logMessage(QString::fromLocal8Bit(output));
}

void BackupManager::finishOperation()
{
    m_sizeTimer->stop();
    delete m_input;
    m_input = nullptr;
    delete m_optionFile;  // removes the password file
    m_optionFile = nullptr;
    m_mode = Idle;
}

void BackupManager::onProcessFinished(int exitCode, QProcess::ExitStatus exitStatus)
{
    const Mode mode = m_mode;
    if (m_process) {
        onStandardOutput();
        onStandardError();
        m_process->deleteLater();
        m_process = nullptr;
    }
    emitProgress(90);
    finishOperation();

    // A tool that crashed has no exit code worth trusting: it failed.
    bool ok = exitStatus == QProcess::NormalExit && exitCode == 0;
    QString failure;
    if (exitStatus == QProcess::CrashExit)
        failure = STORED_TEXT("%1 异常终止").arg(mode == Backup ? QStringLiteral("mysqldump") : QStringLiteral("mysql"));
    else
        failure = (mode == Backup ? STORED_TEXT("备份失败，退出码: %1") : STORED_TEXT("恢复失败，退出码: %1")).arg(exitCode);
    // A dump is no transaction: what mysql ran before it stopped stays.
    if (mode == Restore && std::exchange(m_inputFailed, false)) {
        ok = false;
        failure = STORED_TEXT("备份文件在检查之后读取失败，恢复已中止");
    }
    if (mode == Restore && !ok)
        failure += STORED_TEXT("（mysql 已执行的语句不会回滚，数据库可能只部分恢复，请用完整的备份再恢复一次）");

    // The compressed file's last member, and whether the dump completed, from what was written.
    bool completed = false;
    if (m_compressor) {
        m_outputFailed = !m_compressor->finish() || !m_output->flush() || m_outputFailed;
        completed = m_compressor->tail().trimmed().split('\n').constLast().startsWith("-- Dump completed");
        if (m_outputFailed && ok) {
            ok = false;
            failure = STORED_TEXT("写入备份文件失败: %1").arg(m_output->errorString());
        }
        delete m_compressor;
        m_compressor = nullptr;
        delete m_output;
        m_output = nullptr;
    } else if (mode == Backup) {
        completed = RestorePreview::dumpCompleted(partialPath());
    }
    if (mode == Backup) {
        if (ok && !completed) {
            ok = false;
            failure = STORED_TEXT("mysqldump 的输出不完整（没有 \"-- Dump completed\"）");
        }
        if (ok && QFile::exists(m_filePath) && !QFile::remove(m_filePath)) {
            ok = false;
            failure = STORED_TEXT("无法替换已有的文件 %1").arg(m_filePath);
        }
        if (ok && !QFile::rename(partialPath(), m_filePath)) {
            ok = false;
            failure = STORED_TEXT("无法把备份命名为 %1").arg(m_filePath);
        }
        if (!ok) {
            QFile::remove(partialPath());
            emit errorOccurred(failure);
            emit backupCompleted(false, QString());
            return;
        }
        emit logMessage(STORED_TEXT("备份完成: %1 (%2 KB)").arg(m_filePath, QString::number(QFileInfo(m_filePath).size() / 1024)));
        emit backupProgress(100);
        emit backupCompleted(true, m_filePath);
    } else if (mode == Restore) {
        if (ok) {
            emit logMessage(STORED_TEXT("恢复完成: %1").arg(m_database));
            emit restoreProgress(100);
        } else {
            emit errorOccurred(failure);
        }
        emit restoreCompleted(ok, m_database);
    }
}

namespace DatabaseTool {

QList<Message> Preview::lines() const
{
    QList<Message> result = RestorePreview::lines(tables);
    if (!liveGame.isEmpty())
        result.prepend(liveGame);
    return result;
}

Preview preview(const Request &request)
{
    Preview result;
    const QString name = QStringLiteral("restore_preview");
    {
        const ConnectionOutcome outcome = openMysqlConnection(name, request.server, QStringLiteral("MYSQL_OPT_CONNECT_TIMEOUT=5"));
        QSqlDatabase db = QSqlDatabase::database(name, false);
        if (!outcome.ok) {
            result.failure = STORED_TEXT("无法连接 %1:%2，无法统计现有行数: %3")
                                 .arg(request.server.host, QString::number(request.server.port), outcome.failureReason());
        } else {
            result.tables = RestorePreview::compare(db, request.path, &result.failure);
            result.liveGame = RowPreview::liveGameWarning(db, {request.server.database}, {});
        }
    }
    removeNamedConnection(name);
    return result;
}

Result run(const Request &request, const OperationContext &context)
{
    Result result;
    BackupManager tool;
    if (!request.dumpTool.isEmpty() || !request.clientTool.isEmpty())
        tool.setToolPaths(request.dumpTool.isEmpty() ? tool.dumpToolPath() : request.dumpTool,
                          request.clientTool.isEmpty() ? tool.clientToolPath() : request.clientTool);
    const bool backup = request.kind == Request::Backup;
    const Message stage = backup ? STORED_TEXT("备份") : STORED_TEXT("恢复");
    QEventLoop loop;
    QObject::connect(&tool, &BackupManager::logMessage, &loop, [&context](const Message &line) { context.log(line); });
    QObject::connect(&tool, &BackupManager::errorOccurred, &loop, [&context](const Message &line) { context.log(line); });
    auto progress = [&context, stage](int percent) { context.progress(stage, percent, 100); };
    QObject::connect(&tool, &BackupManager::backupProgress, &loop, progress);
    QObject::connect(&tool, &BackupManager::restoreProgress, &loop, progress);
    auto done = [&result, &loop, backup](bool ok, const QString &text) {
        result.ok = ok;
        if (backup)
            result.path = text;
        loop.quit();
    };
    QObject::connect(&tool, &BackupManager::backupCompleted, &loop, done);
    QObject::connect(&tool, &BackupManager::restoreCompleted, &loop, done);
    QTimer cancelCheck;
    QObject::connect(&cancelCheck, &QTimer::timeout, &loop, [&] {
        if (context.cancelled() && !result.cancelled) {
            result.cancelled = true;
            tool.cancel();
        }
    });
    const HostConfig &server = request.server;
    if (backup)
        tool.backupDatabase(server.host, server.port, server.username, server.password, server.database, request.path);
    else
        tool.restoreDatabase(server.host, server.port, server.username, server.password, server.database, request.path);
    if (tool.isBusy()) {
        cancelCheck.start(200);
        loop.exec();
    }
    return result;
}

} // namespace DatabaseTool
