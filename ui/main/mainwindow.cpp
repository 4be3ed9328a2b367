#include "mainwindow.h"

#include "base/dailylog.h"
#include "base/language.h"
#include "changeconfirm.h"
#include "db/connectionrule.h"
#include "db/databasemanager.h"
#include "db/sessiontask.h"
#include "db/hoststore.h"
#include "base/storedtext.h"
#include "engine/backupmanager.h"
#include "engine/restorepreview.h"
#include "engine/rowpreview.h"
#include "hostconfigdialog.h"
#include "logpanel.h"
#include "mainstyle.h"
#include "ui/accounts/accountmanagerdialog.h"
#include "ui/characters/characterlistdialog.h"
#include "ui/merge/mergeserverdialog.h"
#include "ui/merge/sameservermergedialog.h"
#include "ui/zones/zonedeletedialog.h"
#include "undodialog.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QDateTime>
#include <QFileDialog>
#include <QSignalBlocker>
#include <QDir>
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

#include <algorithm>
#include <iterator>

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
    setMinimumSize(600, 700);
    resize(650, 580);
    setWindowIcon(QIcon(QStringLiteral(":/app.ico")));

    buildLayout();
    setStyleSheet(mainStyleSheet());
    connectSignals();
    m_backupManager = new BackupManager(this);
    retranslate();
    updateSessionActions();
}

void MainWindow::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    QMainWindow::changeEvent(event);
}

void MainWindow::retranslate()
{
    setWindowTitle(tr("Quorvel 游戏数据库管理工具 v%1").arg(QStringLiteral(QUORVEL_VERSION)));
    m_connectionGroup->setTitle(tr("数据库连接"));
    m_configLabel->setText(tr("数据库配置"));
    m_configButton->setText(tr("管理配置"));
    m_testButton->setText(tr("测试连接"));
    m_backupButton->setText(tr("备份数据库"));
    m_restoreButton->setText(tr("恢复数据库"));
    m_featureGroup->setTitle(tr("功能入口"));
    const std::pair<const char *, QString> features[] = {
        {"charMgrBtn", tr("角色管理")},       {"accountMgrBtn", tr("账号管理")}, {"mergeServerBtn", tr("跨服合区")},
        {"sameServerMergeBtn", tr("同服合区")}, {"zoneDeleteBtn", tr("区服删档")}, {"undoBtn", tr("撤销记录")},
    };
    for (const auto &[name, text] : features)
        m_featureGroup->findChild<QPushButton *>(QLatin1String(name))->setText(text);
    m_languageLabel->setText(tr("界面语言"));
    onConnectionStatusChanged(DatabaseManager::instance()->isConnected());
}

void MainWindow::buildLayout()
{
    auto *central = new QWidget(this);
    auto *mainLayout = new QVBoxLayout(central);
    mainLayout->setSpacing(12);
    mainLayout->setContentsMargins(15, 15, 15, 15);

    auto *connectionGroup = m_connectionGroup = new QGroupBox(central);
    auto *connectionLayout = new QVBoxLayout(connectionGroup);
    connectionLayout->setSpacing(12);
    connectionLayout->setContentsMargins(15, 18, 15, 15);

    auto *firstRow = new QHBoxLayout;
    firstRow->setSpacing(12);
    auto *configLabel = m_configLabel = new QLabel(connectionGroup);
    configLabel->setObjectName(QStringLiteral("configLabel"));
    m_hostCombo = new QComboBox(connectionGroup);
    m_hostCombo->setObjectName(QStringLiteral("hostCombo"));
    m_hostCombo->setMinimumWidth(200);
    m_configButton = makeButton(QString(), QStringLiteral("configBtn"), connectionGroup);
    m_configButton->setMinimumSize(90, 36);
    m_statusLabel = new QLabel(connectionGroup);
    m_statusLabel->setObjectName(QStringLiteral("statusLabel"));
    m_statusLabel->setMinimumWidth(100);
    m_languageCombo = new QComboBox(central);
    m_languageCombo->setObjectName(QStringLiteral("languageCombo"));
    for (const QString &code : Language::codes())
        m_languageCombo->addItem(Language::nativeName(code), code);
    m_languageCombo->setCurrentIndex(m_languageCombo->findData(Language::current()));
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
    m_connectButton = makeButton(QString(), QStringLiteral("connectBtn"), connectionGroup);
    m_testButton = makeButton(QString(), QStringLiteral("testBtn"), connectionGroup);
    m_backupButton = makeButton(QString(), QStringLiteral("backupBtn"), connectionGroup);
    m_restoreButton = makeButton(QString(), QStringLiteral("restoreBtn"), connectionGroup);
    for (QPushButton *button : {m_connectButton, m_testButton, m_backupButton, m_restoreButton}) {
        button->setFixedHeight(38);
        secondRow->addWidget(button);
    }
    connectionLayout->addLayout(secondRow);
    mainLayout->addWidget(connectionGroup);

    auto *featureGroup = m_featureGroup = new QGroupBox(central);
    auto *featureLayout = new QGridLayout(featureGroup);
    featureLayout->setSpacing(12);
    featureLayout->setContentsMargins(15, 15, 15, 15);
    struct Feature { const char *name; int row; int column; };
    const Feature features[] = {
        {"charMgrBtn", 0, 0}, {"accountMgrBtn", 0, 1}, {"mergeServerBtn", 0, 2},
        {"sameServerMergeBtn", 1, 0}, {"zoneDeleteBtn", 1, 1}, {"undoBtn", 1, 2},
    };
    for (const Feature &f : features) {
        QPushButton *button = makeButton(QString(), QLatin1String(f.name), featureGroup);
        button->setMinimumSize(130, 45);
        featureLayout->addWidget(button, f.row, f.column);
    }
    m_accountButton = featureGroup->findChild<QPushButton *>(QStringLiteral("accountMgrBtn"));
    mainLayout->addWidget(featureGroup);

    const LogPanel logPanel = createLogPanel(central, 25);
    m_logView = logPanel.view;
    m_logView->setFixedHeight(120);
    m_progressBar = logPanel.progress;
    m_logGroup = logPanel.group;
    mainLayout->addWidget(logPanel.group);

    auto *languageRow = new QHBoxLayout;
    languageRow->addStretch();
    m_languageLabel = new QLabel(central);
    languageRow->addWidget(m_languageLabel);
    languageRow->addWidget(m_languageCombo);
    mainLayout->addLayout(languageRow);

    setCentralWidget(central);
    loadHostConfigs();
}

void MainWindow::onLanguageChosen()
{
    const QString code = m_languageCombo->currentData().toString();
    if (code == Language::current())
        return;
    // A window half in one language and half in the other shows neither well: the language
    // changes while the main window is the only one open.
    const QWidgetList windows = QApplication::topLevelWidgets();
    const bool othersOpen = std::any_of(windows.cbegin(), windows.cend(), [this](const QWidget *window) {
        return window != this && window->isVisible() && window->isWindow() && qobject_cast<const QDialog *>(window);
    });
    if (othersOpen) {
        m_languageCombo->setCurrentIndex(m_languageCombo->findData(Language::current()));
        QMessageBox::information(this, tr("界面语言"), tr("请先关闭其他窗口，再切换界面语言。"));
        return;
    }
    Language::save(code);
    Language::install(code);  // every open window hears of it and sets its texts again
}

void MainWindow::connectSignals()
{
    connect(m_connectButton, &QPushButton::clicked, this, &MainWindow::onConnect);
    connect(m_testButton, &QPushButton::clicked, this, &MainWindow::onTestConnection);
    connect(m_backupButton, &QPushButton::clicked, this, &MainWindow::onBackupDatabase);
    connect(m_restoreButton, &QPushButton::clicked, this, &MainWindow::onRestoreDatabase);
    connect(m_configButton, &QPushButton::clicked, this, &MainWindow::onHostConfig);
    connect(m_hostCombo, &QComboBox::currentIndexChanged, this, &MainWindow::onHostComboChanged);
    connect(m_languageCombo, &QComboBox::activated, this, &MainWindow::onLanguageChosen);
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
    m_restoreButton->setEnabled(!busy && !m_toolTask);
}

void MainWindow::probeInBackground(const HostConfig &config, bool test, const std::function<void(const ConnectionOutcome &)> &done)
{
    m_probing = true;
    updateSessionActions();
    auto outcome = std::make_shared<ConnectionOutcome>();
    SessionTask *task = SessionTask::startDetached([config, test, outcome](QSqlDatabase &, SessionTask &) {
        *outcome = DatabaseManager::probe(config, test);
        return outcome->ok;
    }, this);
    connect(task, &SessionTask::finished, this, [this, task, outcome, done] {
        task->deleteLater();
        m_probing = false;
        updateSessionActions();
        done(*outcome);
    });
}

void MainWindow::loadHostConfigs()
{
    m_hostConfigs = readHostConfigs(hostConfigFilePath());
    // A first start: say where the host list goes and how it is written.
    if (!QFileInfo::exists(hostConfigFilePath()))
        onLogMessage(STORED_TEXT("还没有主机配置（%1）：点“管理配置”添加游戏的服务器；内置的一项指向本机 3306 端口")
                         .arg(QDir::toNativeSeparators(hostConfigFilePath())));
    if (const Message exposed = hostFileExposure(hostConfigFilePath()); !exposed.isEmpty())
        onLogMessage(exposed);
    for (const HostConfig &config : std::as_const(m_hostConfigs))
        m_hostCombo->addItem(config.name);
}

bool MainWindow::saveHostConfigs()
{
    Message error;
    if (writeHostConfigs(hostConfigFilePath(), m_hostConfigs, &error))
        return true;
    onLogMessage(STORED_TEXT("主机配置保存失败: %1").arg(error));
    QMessageBox::warning(this, tr("警告"),
                         tr("主机配置未能保存，文件保持原样：\n%1\n\n%2").arg(hostConfigFilePath(), error.shown()));
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
    QMessageBox::warning(this, tr("提示"), tr("请先连接数据库！"));
    return false;
}

void MainWindow::onTestConnection()
{
    onLogMessage(STORED_TEXT("测试连接..."));
    probeInBackground(getCurrentConfig(), true, [this](const ConnectionOutcome &outcome) {
        if (outcome.ok) {
            onLogMessage(STORED_TEXT("连接测试成功!"));
            QMessageBox::information(this, tr("成功"), tr("数据库连接测试成功!"));
        } else {
            DatabaseManager::instance()->reportFailure(outcome, true);
            onLogMessage(STORED_TEXT("连接测试失败"));
            QMessageBox::warning(this, tr("失败"), tr("数据库连接测试失败,请检查配置"));
        }
    });
}

void MainWindow::onConnect()
{
    DatabaseManager *db = DatabaseManager::instance();
    if (db->isConnected()) {
        db->disconnectFromDatabase();
        onLogMessage(STORED_TEXT("已断开连接"));
        return;
    }
    if (m_probing)
        return;
    onLogMessage(STORED_TEXT("正在连接..."));
    m_statusLabel->setText(tr("● 正在连接…"));
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
            onLogMessage(STORED_TEXT("连接成功: %1").arg(db->serverLabel()));
            db->startKeepAlive(kKeepAliveIntervalMs);
            onLogMessage(STORED_TEXT("已启动数据库连接保活"));
            return;
        }
        onConnectionStatusChanged(false);
        onLogMessage(STORED_TEXT("连接失败"));
    });
}

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
        *label = serverLabel(m_hostCombo->currentText(), getCurrentConfig());
        config = getCurrentConfig();
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
    // What the restore does to each table, counted on the server it writes to: the rows there
    // now against the rows of the file.
    QList<Message> preview;
    DatabaseManager *session = DatabaseManager::instance();
    Message error;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    QList<RestorePreview::Table> tables;
    Message liveGame;
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
            error = STORED_TEXT("无法连接 %1，无法统计现有行数: %2").arg(label, outcome.failureReason());
        }
        removeNamedConnection(name);
    }
    QApplication::restoreOverrideCursor();
    if (!error.isEmpty() && tables.isEmpty()) {
        onLogMessage(error);
        QMessageBox::warning(this, tr("无法恢复"), error.shown());
        return;
    }
    preview = RestorePreview::lines(tables);
    if (!liveGame.isEmpty())
        preview.prepend(liveGame);
    onLogMessage(STORED_TEXT("恢复将改动的数据:"));
    for (const Message &line : std::as_const(preview))
        onLogMessage(line);
    // The box lists the tables the file changes; the details list them all.
    QList<Message> changed = RestorePreview::lines(RestorePreview::changed(tables));
    if (!liveGame.isEmpty())
        changed.prepend(liveGame);
    if (!confirmChange(this, QMessageBox::Warning, tr("确认恢复"),
                       tr("确认要恢复数据库吗？\n\n目标数据库: %1\n服务器: %2\n备份文件: %3\n\n"
                                      "⚠️ 警告: 此操作将覆盖当前数据库中的所有数据！\n建议先备份当前数据库！")
                           .arg(config.database, label, QFileInfo(path).fileName()),
                       changed.mid(0, 30) + (changed.size() > 30 ? QList<Message>{tr("  ……（共 %1 个表，见详细信息）").arg(changed.size())} : QList<Message>{}),
                       preview, false))
        return;
    onLogMessage(STORED_TEXT("开始恢复数据库..."));
    runTool(toolRequest(DatabaseTool::Request::Restore, config, path), [this, config](const DatabaseTool::Result &result) {
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
        onLogMessage(STORED_TEXT("主机配置已更新"));
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
        ? tr("正在使用的主机配置 %1 已修改。\n\n当前仍连接在 %2。是否用新的设置重新连接？").arg(shown, db->serverLabel())
        : tr("正在使用的主机配置 %1 已删除。\n\n当前仍连接在 %2。是否断开连接？").arg(shown, db->serverLabel());
    if (QMessageBox::question(this, tr("主机配置已修改"), question, QMessageBox::Yes | QMessageBox::No, QMessageBox::No)
        != QMessageBox::Yes) {
        onLogMessage(STORED_TEXT("会话仍连接在 %1，重新连接后才使用新的设置").arg(db->serverLabel()));
        return;
    }
    db->disconnectFromDatabase();
    onLogMessage(STORED_TEXT("已断开连接"));
    if (match >= 0)
        onConnect();
}

void MainWindow::onHostComboChanged(int index)
{
    // While connected, the selector shows the session's server: another choice disconnects.
    DatabaseManager *db = DatabaseManager::instance();
    if (!db->isConnected() || index == m_sessionIndex)
        return;
    const QString question = tr("当前已连接 %1。\n\n切换到 %2 将断开当前连接，确定要切换吗？")
                                 .arg(db->serverLabel(), m_hostCombo->itemText(index));
    if (QMessageBox::question(this, tr("切换主机"), question, QMessageBox::Yes | QMessageBox::No, QMessageBox::No)
        != QMessageBox::Yes) {
        const QSignalBlocker blocker(m_hostCombo);
        m_hostCombo->setCurrentIndex(m_sessionIndex);
        return;
    }
    db->disconnectFromDatabase();
    onLogMessage(STORED_TEXT("已断开连接"));
    onConnect();
}

void MainWindow::onAccountManager()
{
    const int index = m_hostCombo->currentIndex();
    if (index < 0 || index >= m_hostConfigs.size()) {
        QMessageBox::warning(this, tr("警告"), tr("请先选择主机配置"));
        return;
    }
    QString label;
    const HostConfig web = accountDatabaseConfig(toolServer(&label));
    onLogMessage(STORED_TEXT("打开账号管理: %1@%2:%3/%4")
                     .arg(web.username, web.host, QString::number(web.port), web.database));
    AccountManagerDialog dialog(web, this);
    dialog.exec();
}

void MainWindow::onCharacterManager()
{
    if (!requireConnection())
        return;
    onLogMessage(STORED_TEXT("打开角色管理对话框"));
    auto *dialog = new CharacterListDialog(this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->show();
}

void MainWindow::onMergeServer()
{
    onLogMessage(STORED_TEXT("打开跨服合区对话框"));
    MergeServerDialog dialog(m_hostConfigs, this);
    dialog.exec();
}

void MainWindow::onSameServerMerge()
{
    if (!requireConnection())
        return;
    onLogMessage(STORED_TEXT("打开同服合区对话框"));
    SameServerMergeDialog dialog(this);
    if (dialog.exec() == QDialog::Accepted)
        onLogMessage(STORED_TEXT("同服合区操作完成"));
}

void MainWindow::onZoneDelete()
{
    if (!requireConnection())
        return;
    onLogMessage(STORED_TEXT("打开区服删档对话框"));
    ZoneDeleteDialog dialog(this);
    dialog.exec();
}

void MainWindow::onUndoRecords()
{
    if (!requireConnection())
        return;
    onLogMessage(STORED_TEXT("打开撤销记录"));
    UndoDialog dialog(this);
    connect(&dialog, &UndoDialog::logMessage, this, &MainWindow::onLogMessage);
    dialog.exec();
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    // A running operation is cancelled (and rolled back) or waited for as its window closes.
    const Message running = DatabaseManager::instance()->busyRefusal();
    if (!running.isEmpty() && !m_toolTask
        && QMessageBox::question(this, tr("提示"), tr("%1。\n\n退出将取消正在进行的操作，确定要退出吗？").arg(running.shown()),
                                 QMessageBox::Yes | QMessageBox::No, QMessageBox::No) != QMessageBox::Yes) {
        event->ignore();
        return;
    }
    // Closing ends the running tool with the program; never without the operator's word.
    if (m_toolTask
        && QMessageBox::question(this, tr("提示"),
                                 tr("备份或恢复操作正在进行，退出将中止该操作。\n\n确定要退出吗？"),
                                 QMessageBox::Yes | QMessageBox::No, QMessageBox::No) != QMessageBox::Yes) {
        event->ignore();
        return;
    }
    QMainWindow::closeEvent(event);
}

void MainWindow::onLogMessage(const Message &message)
{
    const QString line = m_logView->addLine(message);
    appendToDailyLog(QStringLiteral("operation_"), line);
}

void MainWindow::onConnectionStatusChanged(bool connected)
{
    if (connected) {
        m_statusLabel->setText(tr("● 已连接"));
        m_statusLabel->setStyleSheet(kConnectedStyle);
        m_connectButton->setText(tr("断开连接"));
    } else {
        m_statusLabel->setText(tr("● 未连接"));
        m_statusLabel->setStyleSheet(kDisconnectedStyle);
        m_connectButton->setText(tr("连接数据库"));
    }
}
