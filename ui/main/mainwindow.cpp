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
#include "hostconfigdialog.h"
#include "logpanel.h"
#include "mainstyle.h"
#include "ui/accounts/accountmanagerdialog.h"
#include "ui/characters/characterlistdialog.h"
#include "ui/merge/mergeserverdialog.h"
#include "ui/merge/sameservermergedialog.h"
#include "ui/zones/zonewipedialog.h"
#include "undodialog.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QSignalBlocker>
#include <QDir>
#include <QFileInfo>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
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
        {"sameServerMergeBtn", tr("同服合区")}, {"zoneWipeBtn", tr("区服删档")}, {"undoBtn", tr("撤销记录")},
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
        {"sameServerMergeBtn", 1, 0}, {"zoneWipeBtn", 1, 1}, {"undoBtn", 1, 2},
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
        {"zoneWipeBtn", &MainWindow::onZoneWipe},
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
    for (const char *name : {"charMgrBtn", "accountMgrBtn", "mergeServerBtn", "sameServerMergeBtn", "zoneWipeBtn", "undoBtn"}) {
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

HostConfig MainWindow::currentConfig() const
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
    probeInBackground(currentConfig(), true, [this](const ConnectionOutcome &outcome) {
        if (outcome.ok) {
            onLogMessage(STORED_TEXT("连接测试成功!"));
            QMessageBox::information(this, tr("成功"), tr("数据库连接测试成功!"));
        } else {
            onLogMessage(DatabaseManager::failureMessage(outcome, true));
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
    const HostConfig config = currentConfig();
    const int index = m_hostCombo->currentIndex();
    const QString name = m_hostCombo->currentText();
    // The server is reached on a worker first; the session then opens on this thread against
    // a server that has just answered.
    probeInBackground(config, false, [this, config, index, name](const ConnectionOutcome &outcome) {
        DatabaseManager *db = DatabaseManager::instance();
        db->setEntryName(name);
        if (!outcome.ok) {
            onLogMessage(DatabaseManager::failureMessage(outcome, false));
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

void MainWindow::onHostConfig()
{
    HostConfigDialog dialog(m_hostConfigs, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    DatabaseManager *db = DatabaseManager::instance();
    const bool connected = db->isConnected() && m_sessionIndex >= 0;
    const QString shown = connected ? m_hostCombo->itemText(m_sessionIndex) : m_hostCombo->currentText();
    m_hostConfigs = dialog.configs();
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

void MainWindow::onZoneWipe()
{
    if (!requireConnection())
        return;
    onLogMessage(STORED_TEXT("打开区服删档对话框"));
    ZoneWipeDialog dialog(this);
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
