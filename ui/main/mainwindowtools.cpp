#include "mainwindow.h"

#include "base/storedtext.h"
#include "changeconfirm.h"
#include "db/databasemanager.h"
#include "logpanel.h"

#include <QApplication>
#include <QComboBox>
#include <QDateTime>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QHash>
#include <QInputDialog>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>

#include <memory>

// The window's backup and restore: the tools on the session's server, or the selected entry's.

bool MainWindow::runTool(const DatabaseTool::Request &request, const std::function<void(const DatabaseTool::Result &)> &done)
{
    auto result = std::make_shared<DatabaseTool::Result>();
    const SessionTask::Work work = [request, result](QSqlDatabase &, SessionTask &task) {
        *result = DatabaseTool::run(request, task.context());
        return result->ok;
    };
    // The restore rewrites the database under the session: nothing else may run meanwhile.
    Message refusal;
    m_toolTask = request.kind == DatabaseTool::Request::Restore
        ? SessionTask::start(STORED_TEXT("恢复数据库"), work, this, &refusal, SessionTask::Connection::Own)
        : SessionTask::startDetached(work, this);
    if (!m_toolTask) {
        QMessageBox::warning(this, tr("提示"), refusal.shown());
        return false;
    }
    connect(m_toolTask, &SessionTask::logMessage, this, &MainWindow::onLogMessage);
    connect(m_toolTask, &SessionTask::progressChanged, this, [this](const Message &stage, qint64 done, qint64 total) {
        showProgress(m_progressBar, stage, done, total);
    });
    connect(m_toolTask, &SessionTask::finished, this, [this, result, done] {
        std::exchange(m_toolTask, nullptr)->deleteLater();
        setBackupButtonsEnabled(true);
        done(*result);
    });
    m_progressBar->setValue(0);
    setBackupButtonsEnabled(false);
    return true;
}

DatabaseTool::Request MainWindow::toolRequest(DatabaseTool::Request::Kind kind, const HostConfig &server, const QString &path) const
{
    DatabaseTool::Request request;
    request.kind = kind;
    request.server = server;
    request.path = path;
    request.dumpTool = m_backupManager->dumpToolPath();
    request.clientTool = m_backupManager->clientToolPath();
    return request;
}

void MainWindow::setBackupButtonsEnabled(bool enabled)
{
    // One tool runs at a time; a second start would have to end the first.
    m_backupButton->setEnabled(enabled);
    m_restoreButton->setEnabled(enabled && !DatabaseManager::instance()->isBusy());
}

HostConfig MainWindow::toolServer(QString *label) const
{
    // While connected, the tools work on the session's server, whatever the selector shows.
    const DatabaseManager *session = DatabaseManager::instance();
    HostConfig config;
    if (session->isConnected()) {
        *label = session->serverLabel();
        config = session->storedConfig();
        config.name = session->entryName();
    } else {
        *label = serverLabel(m_hostCombo->currentText(), currentConfig());
        config = currentConfig();
        config.name = m_hostCombo->currentText();
    }
    return config;
}

void MainWindow::onBackupDatabase()
{
    QString label;
    const HostConfig config = toolServer(&label);
    // Named after the entry and the database, compressed as it is written, as backup --all does.
    const QString proposal = config.name.isEmpty() ? m_backupManager->defaultBackupPath() + QStringLiteral(".gz")
                                                   : m_backupManager->entryBackupPath(config.name, config.database, true);
    const QString path = QFileDialog::getSaveFileName(this, tr("保存备份文件 - %1").arg(label), proposal,
                                                      tr("压缩的 SQL 文件 (*.sql.gz);;SQL 文件 (*.sql)"));
    if (path.isEmpty())
        return;
    onLogMessage(STORED_TEXT("开始备份数据库..."));
    runTool(toolRequest(DatabaseTool::Request::Backup, config, path), [this, config](const DatabaseTool::Result &result) {
        if (!result.ok) {
            QMessageBox::warning(this, tr("失败"), tr("备份失败，请检查日志获取详细信息"));
            return;
        }
        QMessageBox::information(this, tr("成功"), tr("备份完成: %1").arg(result.path));
        pruneEntryBackups(config.name, config.database);
    });
}

void MainWindow::pruneEntryBackups(const QString &entry, const QString &database)
{
    // Only whole backups named after this entry and database count; the newest always stays.
    const QStringList older = m_backupManager->backupsBeyond(entry, database, 1);
    if (older.isEmpty() || entry.isEmpty())
        return;
    const int total = older.size() + 1;
    bool ok = false;
    const int keep = QInputDialog::getInt(this, tr("旧备份"),
                                          tr("%1 的数据库 %2 共有 %3 个完整备份。保留最新的几个？更早的将被删除。")
                                              .arg(entry, database, QString::number(total)),
                                          total, 1, total, 1, &ok);
    if (!ok || keep >= total)
        return;
    QStringList kept;
    const QStringList removed = m_backupManager->removeBackupsBeyond(entry, database, keep, &kept);
    for (const QString &path : removed)
        onLogMessage(STORED_TEXT("已删除旧备份: %1").arg(QDir::toNativeSeparators(path)));
    for (const QString &path : std::as_const(kept))
        onLogMessage(STORED_TEXT("无法删除旧备份: %1").arg(QDir::toNativeSeparators(path)));
    onLogMessage(STORED_TEXT("保留最新 %1 个备份，删除了 %2 个").arg(keep).arg(removed.size()));
}

void MainWindow::onRestoreDatabase()
{
    const QString filter = tr("SQL 文件 (*.sql *.sql.gz)");
    QStringList files = m_backupManager->backupFiles();
    if (files.isEmpty()) {
        const QString chosen = QFileDialog::getOpenFileName(this, tr("选择备份文件"),
                                                            m_backupManager->backupDirectory(), filter);
        if (chosen.isEmpty())
            return;
        files = {chosen};
    }

    QStringList items;
    QHash<QString, QString> pathOfItem;
    for (const QString &file : std::as_const(files)) {
        const QFileInfo info(file);
        const QString item = QStringLiteral("%1 (%2 KB) - %3")
                                 .arg(info.fileName(), QString::number(info.size() / 1024),
                                      info.lastModified().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")));
        items.append(item);
        pathOfItem.insert(item, file);
    }
    const QString other = tr("[ 选择其他备份文件... ]");
    items.append(other);

    bool ok = false;
    const QString item = QInputDialog::getItem(this, tr("选择备份文件"), tr("请选择要恢复的备份:"),
                                               items, 0, false, &ok);
    if (!ok)
        return;
    QString path;
    if (item == other) {
        path = QFileDialog::getOpenFileName(this, tr("选择备份文件"), QString(), filter);
        if (path.isEmpty())
            return;
    } else {
        path = pathOfItem.value(item);
    }

    QString label;
    const HostConfig config = toolServer(&label);
    const DatabaseTool::Request request = toolRequest(DatabaseTool::Request::Restore, config, path);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const DatabaseTool::Preview restore = DatabaseTool::preview(request);
    QApplication::restoreOverrideCursor();
    if (!restore.failure.isEmpty()) {
        onLogMessage(restore.failure);
        QMessageBox::warning(this, tr("无法恢复"), restore.failure.shown());
        return;
    }
    const QList<Message> preview = restore.lines();
    onLogMessage(STORED_TEXT("恢复将改动的数据:"));
    for (const Message &line : std::as_const(preview))
        onLogMessage(line);
    // The box lists the tables the file changes; the details list them all.
    const QList<Message> changed = DatabaseTool::Preview{RestorePreview::changed(restore.tables), restore.liveGame, Message()}.lines();
    if (!confirmChange(this, QMessageBox::Warning, tr("确认恢复"),
                       tr("确认要恢复数据库吗？\n\n目标数据库: %1\n服务器: %2\n备份文件: %3\n\n"
                                      "⚠️ 警告: 此操作将覆盖当前数据库中的所有数据！\n建议先备份当前数据库！")
                           .arg(config.database, label, QFileInfo(path).fileName()),
                       changed.mid(0, 30) + (changed.size() > 30 ? QList<Message>{tr("  ……（共 %1 个表，见详细信息）").arg(changed.size())} : QList<Message>{}),
                       preview, false))
        return;
    onLogMessage(STORED_TEXT("开始恢复数据库..."));
    runTool(request, [this, config](const DatabaseTool::Result &result) {
        if (!result.ok) {
            QMessageBox::warning(this, tr("失败"), tr("数据库恢复失败，请检查日志获取详细信息"));
            return;
        }
        QMessageBox::information(this, tr("成功"), tr("数据库恢复完成: %1\n\n请重新连接数据库以刷新数据。").arg(config.database));
        DatabaseManager *db = DatabaseManager::instance();
        if (db->isConnected())
            db->disconnectFromDatabase();
    });
}
