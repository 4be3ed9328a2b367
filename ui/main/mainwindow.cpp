#include "mainwindow.h"

#include "app/dailylog.h"
#include "db/connectionrule.h"
#include "db/databasemanager.h"
#include "engine/backupmanager.h"
#include "engine/rowpreview.h"
#include "ui/merge/mergeserverdialog.h"
#include "ui/merge/sameservermergedialog.h"
#include "ui/characters/characterlistdialog.h"
#include "hostconfigdialog.h"
#include "changeconfirm.h"
#include "undodialog.h"
#include "db/hoststore.h"
#include "logpanel.h"
#include "mainstyle.h"
#include "ui/accounts/accountmanagerdialog.h"
#include "ui/zones/zonedeletedialog.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QDateTime>
#include <QFileDialog>
#include <QFutureWatcher>
#include <QSignalBlocker>
#include <QtConcurrent>
#include <QFileInfo>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QInputDialog>
#include <QLabel>
#include <QMessageBox>
#include <QProgressBar>
#include <QApplication>
#include <QPushButton>
#include <QTextEdit>
#include <QVBoxLayout>

static void initResources()
{
    // The resources live in a static library; referencing them keeps them linked in.
    Q_INIT_RESOURCE(resources);
}

namespace {
const int kKeepAliveIntervalMs = 180000;

const QString kConnectedStyle = QStringLiteral(
    "color: #10b981;font-weight: bold;padding: 6px 12px;border-radius: 6px;"
    "background-color: rgba(16, 185, 129, 0.15);border: 1px solid #10b981;");
const QString kDisconnectedStyle = QStringLiteral(
    "color: #ef4444;font-weight: bold;padding: 6px 12px;border-radius: 6px;"
    "background-color: #3d3d4d;border: 1px solid #4d4d6d;");

QPushButton *makeButton(const QString &text, const QString &objectName, QWidget *parent)
{
    auto *button = new QPushButton(text, parent);
    button->setObjectName(objectName);
    return button;
}
} // namespace

MainWindow::MainWindow(QWidget *parent)
    : QMainWindow(parent)
{
    initResources();
    setWindowTitle(QStringLiteral("Quorvel 游戏数据库管理工具 v1.1"));
    setMinimumSize(600, 700);
    resize(650, 580);
    setWindowIcon(QIcon(QStringLiteral(":/app.ico")));

    buildLayout();
    setStyleSheet(mainStyleSheet());
    connectSignals();
    m_backupManager = new BackupManager(this);
    onConnectionStatusChanged(false);
    updateSessionActions();
}

void MainWindow::buildLayout()
{
    auto *central = new QWidget(this);
    auto *mainLayout = new QVBoxLayout(central);
    mainLayout->setSpacing(12);
    mainLayout->setContentsMargins(15, 15, 15, 15);

    auto *connectionGroup = new QGroupBox(QStringLiteral("数据库连接"), central);
    auto *connectionLayout = new QVBoxLayout(connectionGroup);
    connectionLayout->setSpacing(12);
    connectionLayout->setContentsMargins(15, 18, 15, 15);

    auto *firstRow = new QHBoxLayout;
    firstRow->setSpacing(12);
    auto *configLabel = new QLabel(QStringLiteral("数据库配置"), connectionGroup);
    configLabel->setObjectName(QStringLiteral("configLabel"));
    m_hostCombo = new QComboBox(connectionGroup);
    m_hostCombo->setMinimumWidth(200);
    m_configButton = makeButton(QStringLiteral("管理配置"), QStringLiteral("configBtn"), connectionGroup);
    m_configButton->setFixedSize(90, 36);
    m_statusLabel = new QLabel(QStringLiteral("● 未连接"), connectionGroup);
    m_statusLabel->setObjectName(QStringLiteral("statusLabel"));
    m_statusLabel->setFixedWidth(100);
    firstRow->addWidget(configLabel);
    firstRow->addWidget(m_hostCombo);
    firstRow->addWidget(m_configButton);
    firstRow->addWidget(m_statusLabel);
    connectionLayout->addLayout(firstRow);

    auto *separator = new QFrame(connectionGroup);
    separator->setFrameShape(QFrame::NoFrame);  // the style sheet draws the line
    separator->setMinimumHeight(1);
    separator->setStyleSheet(QStringLiteral("background-color: #3d3d4d; max-height: 1px;"));
    connectionLayout->addWidget(separator);

    auto *secondRow = new QHBoxLayout;
    secondRow->setSpacing(15);
    m_connectButton = makeButton(QStringLiteral("连接数据库"), QStringLiteral("connectBtn"), connectionGroup);
    m_testButton = makeButton(QStringLiteral("测试连接"), QStringLiteral("testBtn"), connectionGroup);
    m_backupButton = makeButton(QStringLiteral("备份数据库"), QStringLiteral("backupBtn"), connectionGroup);
    m_restoreButton = makeButton(QStringLiteral("恢复数据库"), QStringLiteral("restoreBtn"), connectionGroup);
    for (QPushButton *button : {m_connectButton, m_testButton, m_backupButton, m_restoreButton}) {
        button->setFixedHeight(38);
        secondRow->addWidget(button);
    }
    connectionLayout->addLayout(secondRow);
    mainLayout->addWidget(connectionGroup);

    auto *featureGroup = new QGroupBox(QStringLiteral("功能入口"), central);
    auto *featureLayout = new QGridLayout(featureGroup);
    featureLayout->setSpacing(12);
    featureLayout->setContentsMargins(15, 15, 15, 15);
    struct Feature { const char16_t *text; const char *name; int row; int column; };
    const Feature features[] = {
        {u"角色管理", "charMgrBtn", 0, 0},
        {u"账号管理", "accountMgrBtn", 0, 1},
        {u"跨服合区", "mergeServerBtn", 0, 2},
        {u"同服合区", "sameServerMergeBtn", 1, 0},
        {u"区服删档", "zoneDeleteBtn", 1, 1},
        {u"撤销记录", "undoBtn", 1, 2},
    };
    for (const Feature &f : features) {
        QPushButton *button = makeButton(QString::fromUtf16(f.text), QLatin1String(f.name), featureGroup);
        button->setMinimumSize(130, 45);
        featureLayout->addWidget(button, f.row, f.column);
    }
    m_accountButton = featureGroup->findChild<QPushButton *>(QStringLiteral("accountMgrBtn"));
    mainLayout->addWidget(featureGroup);

    const LogPanel logPanel = createLogPanel(central, 25);
    m_logView = logPanel.view;
    m_logView->setFixedHeight(120);
    m_progressBar = logPanel.progress;
    mainLayout->addWidget(logPanel.group);

    setCentralWidget(central);
    loadHostConfigs();
}

void MainWindow::connectSignals()
{
    connect(m_connectButton, &QPushButton::clicked, this, &MainWindow::onConnect);
    connect(m_testButton, &QPushButton::clicked, this, &MainWindow::onTestConnection);
    connect(m_backupButton, &QPushButton::clicked, this, &MainWindow::onBackupDatabase);
    connect(m_restoreButton, &QPushButton::clicked, this, &MainWindow::onRestoreDatabase);
    connect(m_configButton, &QPushButton::clicked, this, &MainWindow::onHostConfig);
    connect(m_hostCombo, &QComboBox::currentIndexChanged, this, &MainWindow::onHostComboChanged);
    connect(m_accountButton, &QPushButton::clicked, this, &MainWindow::onAccountManager);

    const std::pair<const char *, void (MainWindow::*)()> byName[] = {
        {"charMgrBtn", &MainWindow::onCharacterManager},
        {"mergeServerBtn", &MainWindow::onMergeServer},
        {"sameServerMergeBtn", &MainWindow::onSameServerMerge},
        {"zoneDeleteBtn", &MainWindow::onZoneDelete},
        {"undoBtn", &MainWindow::onUndoRecords},
    };
    for (const auto &[name, slot] : byName) {
        if (auto *button = findChild<QPushButton *>(QLatin1String(name)))
            connect(button, &QPushButton::clicked, this, slot);
    }

    DatabaseManager *db = DatabaseManager::instance();
    connect(db, &DatabaseManager::connectionStatusChanged, this, &MainWindow::onConnectionStatusChanged);
    connect(db, &DatabaseManager::errorOccurred, this, &MainWindow::onLogMessage);
    connect(db, &DatabaseManager::busyChanged, this, &MainWindow::updateSessionActions);
    for (const char *name : {"charMgrBtn", "accountMgrBtn", "mergeServerBtn", "sameServerMergeBtn", "zoneDeleteBtn", "undoBtn"}) {
        if (auto *button = findChild<QPushButton *>(QLatin1String(name)))
            m_sessionButtons.append(button);
    }
}

void MainWindow::updateSessionActions()
{
    const bool busy = DatabaseManager::instance()->isBusy();
    for (QPushButton *button : std::as_const(m_sessionButtons))
        button->setEnabled(!busy);
    m_connectButton->setEnabled(!busy && !m_probing);
    m_testButton->setEnabled(!m_probing);
    m_hostCombo->setEnabled(!busy && !m_probing);
    m_configButton->setEnabled(!busy && !m_probing);
    m_restoreButton->setEnabled(!busy && !(m_backupManager && m_backupManager->isBusy()));
}

void MainWindow::probeInBackground(const HostConfig &config, bool test, const std::function<void(const ConnectionOutcome &)> &done)
{
    m_probing = true;
    updateSessionActions();
    auto *watcher = new QFutureWatcher<ConnectionOutcome>(this);
    connect(watcher, &QFutureWatcher<ConnectionOutcome>::finished, this, [this, watcher, done] {
        watcher->deleteLater();
        m_probing = false;
        updateSessionActions();
        done(watcher->result());
    });
    watcher->setFuture(QtConcurrent::run([config, test] { return DatabaseManager::probe(config, test); }));
}

void MainWindow::loadHostConfigs()
{
    m_hostConfigs = readHostConfigs(hostConfigFilePath());
    for (const HostConfig &config : std::as_const(m_hostConfigs))
        m_hostCombo->addItem(config.name);
}

bool MainWindow::saveHostConfigs()
{
    QString error;
    if (writeHostConfigs(hostConfigFilePath(), m_hostConfigs, &error))
        return true;
    onLogMessage(QStringLiteral("主机配置保存失败: %1").arg(error));
    QMessageBox::warning(this, QStringLiteral("警告"),
                         QStringLiteral("主机配置未能保存，文件保持原样：\n%1\n\n%2").arg(hostConfigFilePath(), error));
    return false;
}

HostConfig MainWindow::getCurrentConfig() const
{
    const int index = m_hostCombo->currentIndex();
    if (index < 0 || index >= m_hostConfigs.size())
        return HostConfig::initial();
    HostConfig config = m_hostConfigs.at(index);
    config.name.clear();
    return config;
}

bool MainWindow::requireConnection()
{
    if (DatabaseManager::instance()->isConnected())
        return true;
    QMessageBox::warning(this, QStringLiteral("提示"), QStringLiteral("请先连接数据库！"));
    return false;
}

void MainWindow::onTestConnection()
{
    onLogMessage(QStringLiteral("测试连接..."));
    probeInBackground(getCurrentConfig(), true, [this](const ConnectionOutcome &outcome) {
        if (outcome.ok) {
            onLogMessage(QStringLiteral("连接测试成功!"));
            QMessageBox::information(this, QStringLiteral("成功"), QStringLiteral("数据库连接测试成功!"));
        } else {
            DatabaseManager::instance()->reportFailure(outcome, true);
            onLogMessage(QStringLiteral("连接测试失败"));
            QMessageBox::warning(this, QStringLiteral("失败"), QStringLiteral("数据库连接测试失败,请检查配置"));
        }
    });
}

void MainWindow::onConnect()
{
    DatabaseManager *db = DatabaseManager::instance();
    if (db->isConnected()) {
        db->disconnectFromDatabase();
        onLogMessage(QStringLiteral("已断开连接"));
        return;
    }
    if (m_probing)
        return;
    onLogMessage(QStringLiteral("正在连接..."));
    m_statusLabel->setText(QStringLiteral("● 正在连接…"));
    const HostConfig config = getCurrentConfig();
    const int index = m_hostCombo->currentIndex();
    const QString name = m_hostCombo->currentText();
    // The server is reached on a worker first; the session then opens on this thread against
    // a server that has just answered.
    probeInBackground(config, false, [this, config, index, name](const ConnectionOutcome &outcome) {
        DatabaseManager *db = DatabaseManager::instance();
        db->setEntryName(name);
        if (!outcome.ok) {
            db->reportFailure(outcome, false);
        } else if (db->connectToDatabase(config)) {
            m_sessionIndex = index;
            onLogMessage(QStringLiteral("连接成功: %1").arg(db->serverLabel()));
            db->startKeepAlive(kKeepAliveIntervalMs);
            onLogMessage(QStringLiteral("已启动数据库连接保活"));
            return;
        }
        onConnectionStatusChanged(false);
        onLogMessage(QStringLiteral("连接失败"));
    });
}

void MainWindow::attachBackupManager()
{
    disconnect(m_backupManager, nullptr, this, nullptr);
    disconnect(m_backupManager, nullptr, m_progressBar, nullptr);
    connect(m_backupManager, &BackupManager::logMessage, this, &MainWindow::onLogMessage);
    connect(m_backupManager, &BackupManager::errorOccurred, this, &MainWindow::onLogMessage);
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
    if (session->isConnected()) {
        *label = session->serverLabel();
        return session->storedConfig();
    }
    *label = serverLabel(m_hostCombo->currentText(), getCurrentConfig());
    return getCurrentConfig();
}

void MainWindow::onBackupDatabase()
{
    QString label;
    const HostConfig config = toolServer(&label);
    const QString proposal = m_backupManager->getDefaultBackupPath();
    const QString path = QFileDialog::getSaveFileName(this, QStringLiteral("保存备份文件 - %1").arg(label), proposal,
                                                      QStringLiteral("SQL 文件 (*.sql)"));
    if (path.isEmpty())
        return;
    onLogMessage(QStringLiteral("开始备份数据库..."));
    m_progressBar->setValue(0);
    attachBackupManager();
    connect(m_backupManager, &BackupManager::backupProgress, m_progressBar, &QProgressBar::setValue);
    connect(m_backupManager, &BackupManager::backupCompleted, this, [this](bool success, const QString &filePath) {
        setBackupButtonsEnabled(true);
        if (success)
            QMessageBox::information(this, QStringLiteral("成功"), QStringLiteral("备份完成: %1").arg(filePath));
        else
            QMessageBox::warning(this, QStringLiteral("失败"), QStringLiteral("备份失败，请检查日志获取详细信息"));
    });
    setBackupButtonsEnabled(false);
    m_backupManager->backupDatabase(config.host, config.port, config.username, config.password,
                                    config.database, path);
}

void MainWindow::onRestoreDatabase()
{
    const QString filter = QStringLiteral("SQL 文件 (*.sql)");
    QStringList files = m_backupManager->getBackupFiles();
    if (files.isEmpty()) {
        const QString chosen = QFileDialog::getOpenFileName(this, QStringLiteral("选择备份文件"),
                                                            m_backupManager->getBackupDir(), filter);
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
    const QString other = QStringLiteral("[ 选择其他备份文件... ]");
    items.append(other);

    bool ok = false;
    const QString item = QInputDialog::getItem(this, QStringLiteral("选择备份文件"), QStringLiteral("请选择要恢复的备份:"),
                                               items, 0, false, &ok);
    if (!ok)
        return;
    QString path;
    if (item == other) {
        path = QFileDialog::getOpenFileName(this, QStringLiteral("选择备份文件"), QString(), filter);
        if (path.isEmpty())
            return;
    } else {
        path = pathOfItem.value(item);
    }

    QString label;
    const HostConfig config = toolServer(&label);
    // What the restore does to each table, counted on the server it writes to: the rows there
    // now against the rows of the file.
    QStringList preview;
    DatabaseManager *session = DatabaseManager::instance();
    QString error;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    QList<RestorePreview::Table> tables;
    QString liveGame;
    if (session->isConnected()) {
        tables = RestorePreview::compare(session->database(), path, &error);
        liveGame = RowPreview::liveGameWarning(session->database(), {config.database}, {});
    } else {
        const QString name = QStringLiteral("restore_preview");
        const ConnectionOutcome outcome = openMysqlConnection(name, config, QStringLiteral("MYSQL_OPT_CONNECT_TIMEOUT=5"));
        if (outcome.ok) {
            QSqlDatabase db = QSqlDatabase::database(name, false);
            tables = RestorePreview::compare(db, path, &error);
            liveGame = RowPreview::liveGameWarning(db, {config.database}, {});
        } else {
            error = QStringLiteral("无法连接 %1，无法统计现有行数: %2").arg(label, outcome.failureReason());
        }
        removeNamedConnection(name);
    }
    QApplication::restoreOverrideCursor();
    if (!error.isEmpty() && tables.isEmpty()) {
        onLogMessage(error);
        QMessageBox::warning(this, QStringLiteral("无法恢复"), error);
        return;
    }
    preview = RestorePreview::lines(tables);
    if (!liveGame.isEmpty())
        preview.prepend(liveGame);
    onLogMessage(QStringLiteral("恢复将改动的数据:"));
    for (const QString &line : std::as_const(preview))
        onLogMessage(line);
    QStringList changed;
    for (const QString &line : std::as_const(preview)) {
        if (!line.contains(QStringLiteral("保持不变")))
            changed.append(line);
    }
    if (!confirmChange(this, QMessageBox::Warning, QStringLiteral("确认恢复"),
                       QStringLiteral("确认要恢复数据库吗？\n\n目标数据库: %1\n服务器: %2\n备份文件: %3\n\n"
                                      "⚠️ 警告: 此操作将覆盖当前数据库中的所有数据！\n建议先备份当前数据库！")
                           .arg(config.database, label, QFileInfo(path).fileName()),
                       changed.mid(0, 30) + (changed.size() > 30 ? QStringList{QStringLiteral("  ……（共 %1 个表，见详细信息）").arg(changed.size())} : QStringList{}),
                       preview, false))
        return;
    // The restore rewrites the database under the session: nothing else may run meanwhile.
    QString refusal;
    if (!DatabaseManager::instance()->beginOperation(QStringLiteral("恢复数据库"), &refusal)) {
        QMessageBox::warning(this, QStringLiteral("提示"), refusal);
        return;
    }
    m_restoring = true;

    onLogMessage(QStringLiteral("开始恢复数据库..."));
    m_progressBar->setValue(0);
    attachBackupManager();
    connect(m_backupManager, &BackupManager::restoreProgress, m_progressBar, &QProgressBar::setValue);
    connect(m_backupManager, &BackupManager::restoreCompleted, this, [this](bool success, const QString &database) {
        if (std::exchange(m_restoring, false))
            DatabaseManager::instance()->endOperation();
        setBackupButtonsEnabled(true);
        if (success) {
            QMessageBox::information(this, QStringLiteral("成功"),
                                     QStringLiteral("数据库恢复完成: %1\n\n请重新连接数据库以刷新数据。").arg(database));
            DatabaseManager *db = DatabaseManager::instance();
            if (db->isConnected())
                db->disconnectFromDatabase();
        } else {
            QMessageBox::warning(this, QStringLiteral("失败"), QStringLiteral("数据库恢复失败，请检查日志获取详细信息"));
        }
    });
    setBackupButtonsEnabled(false);
    m_backupManager->restoreDatabase(config.host, config.port, config.username, config.password,
                                     config.database, path);
}

void MainWindow::onHostConfig()
{
    HostConfigDialog dialog(m_hostConfigs, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    DatabaseManager *db = DatabaseManager::instance();
    const bool connected = db->isConnected() && m_sessionIndex >= 0;
    const QString shown = connected ? m_hostCombo->itemText(m_sessionIndex) : m_hostCombo->currentText();
    m_hostConfigs = dialog.getConfigs();
    int match = -1;
    {
        // Filling the list again is no choice of the operator's.
        const QSignalBlocker blocker(m_hostCombo);
        m_hostCombo->clear();
        for (const HostConfig &config : std::as_const(m_hostConfigs))
            m_hostCombo->addItem(config.name);
        match = m_hostCombo->findText(shown, Qt::MatchExactly | Qt::MatchCaseSensitive);
        m_hostCombo->setCurrentIndex(match >= 0 ? match : (m_hostCombo->count() > 0 ? 0 : -1));
    }
    if (saveHostConfigs())
        onLogMessage(QStringLiteral("主机配置已更新"));
    if (!connected)
        return;
    m_sessionIndex = match;
    // The entry in use was changed or removed: the session keeps the server it is connected
    // to, and every window keeps naming that one, until the operator reconnects.
    HostConfig edited = match >= 0 ? m_hostConfigs.at(match) : HostConfig();
    edited.name = db->storedConfig().name;
    if (match >= 0 && edited == db->storedConfig())
        return;
    const QString question = match >= 0
        ? QStringLiteral("正在使用的主机配置 %1 已修改。\n\n当前仍连接在 %2。是否用新的设置重新连接？").arg(shown, db->serverLabel())
        : QStringLiteral("正在使用的主机配置 %1 已删除。\n\n当前仍连接在 %2。是否断开连接？").arg(shown, db->serverLabel());
    if (QMessageBox::question(this, QStringLiteral("主机配置已修改"), question, QMessageBox::Yes | QMessageBox::No, QMessageBox::No)
        != QMessageBox::Yes) {
        onLogMessage(QStringLiteral("会话仍连接在 %1，重新连接后才使用新的设置").arg(db->serverLabel()));
        return;
    }
    db->disconnectFromDatabase();
    onLogMessage(QStringLiteral("已断开连接"));
    if (match >= 0)
        onConnect();
}

void MainWindow::onHostComboChanged(int index)
{
    // While connected, the selector shows the session's server: another choice disconnects.
    DatabaseManager *db = DatabaseManager::instance();
    if (!db->isConnected() || index == m_sessionIndex)
        return;
    const QString question = QStringLiteral("当前已连接 %1。\n\n切换到 %2 将断开当前连接，确定要切换吗？")
                                 .arg(db->serverLabel(), m_hostCombo->itemText(index));
    if (QMessageBox::question(this, QStringLiteral("切换主机"), question, QMessageBox::Yes | QMessageBox::No, QMessageBox::No)
        != QMessageBox::Yes) {
        const QSignalBlocker blocker(m_hostCombo);
        m_hostCombo->setCurrentIndex(m_sessionIndex);
        return;
    }
    db->disconnectFromDatabase();
    onLogMessage(QStringLiteral("已断开连接"));
    onConnect();
}

void MainWindow::onAccountManager()
{
    const int index = m_hostCombo->currentIndex();
    if (index < 0 || index >= m_hostConfigs.size()) {
        QMessageBox::warning(this, QStringLiteral("警告"), QStringLiteral("请先选择主机配置"));
        return;
    }
    QString label;
    const HostConfig web = accountDatabaseConfig(toolServer(&label));
    onLogMessage(QStringLiteral("打开账号管理: %1@%2:%3/%4")
                     .arg(web.username, web.host, QString::number(web.port), web.database));
    AccountManagerDialog dialog(web, this);
    dialog.exec();
}

void MainWindow::onCharacterManager()
{
    if (!requireConnection())
        return;
    onLogMessage(QStringLiteral("打开角色管理对话框"));
    auto *dialog = new CharacterListDialog(this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->show();
}

void MainWindow::onMergeServer()
{
    onLogMessage(QStringLiteral("打开跨服合区对话框"));
    MergeServerDialog dialog(m_hostConfigs, this);
    dialog.exec();
}

void MainWindow::onSameServerMerge()
{
    if (!requireConnection())
        return;
    onLogMessage(QStringLiteral("打开同服合区对话框"));
    SameServerMergeDialog dialog(this);
    if (dialog.exec() == QDialog::Accepted)
        onLogMessage(QStringLiteral("同服合区操作完成"));
}

void MainWindow::onZoneDelete()
{
    if (!requireConnection())
        return;
    onLogMessage(QStringLiteral("打开区服删档对话框"));
    ZoneDeleteDialog dialog(this);
    dialog.exec();
}

void MainWindow::onUndoRecords()
{
    if (!requireConnection())
        return;
    onLogMessage(QStringLiteral("打开撤销记录"));
    UndoDialog dialog(this);
    connect(&dialog, &UndoDialog::logMessage, this, &MainWindow::onLogMessage);
    dialog.exec();
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    // A running operation is cancelled (and rolled back) or waited for as its window closes.
    const QString running = DatabaseManager::instance()->busyRefusal();
    if (!running.isEmpty() && !m_restoring
        && QMessageBox::question(this, QStringLiteral("提示"), QStringLiteral("%1。\n\n退出将取消正在进行的操作，确定要退出吗？").arg(running),
                                 QMessageBox::Yes | QMessageBox::No, QMessageBox::No) != QMessageBox::Yes) {
        event->ignore();
        return;
    }
    // Closing ends the running tool with the program; never without the operator's word.
    if (m_backupManager->isBusy()
        && QMessageBox::question(this, QStringLiteral("提示"),
                                 QStringLiteral("备份或恢复操作正在进行，退出将中止该操作。\n\n确定要退出吗？"),
                                 QMessageBox::Yes | QMessageBox::No, QMessageBox::No) != QMessageBox::Yes) {
        event->ignore();
        return;
    }
    QMainWindow::closeEvent(event);
}

void MainWindow::onLogMessage(const QString &message)
{
    const QString line = timestampedLine(message);
    appendLogLine(m_logView, line);
    appendToDailyLog(QStringLiteral("operation_"), line);
}

void MainWindow::onConnectionStatusChanged(bool connected)
{
    if (connected) {
        m_statusLabel->setText(QStringLiteral("● 已连接"));
        m_statusLabel->setStyleSheet(kConnectedStyle);
        m_connectButton->setText(QStringLiteral("断开连接"));
    } else {
        m_statusLabel->setText(QStringLiteral("● 未连接"));
        m_statusLabel->setStyleSheet(kDisconnectedStyle);
        m_connectButton->setText(QStringLiteral("连接数据库"));
    }
}
