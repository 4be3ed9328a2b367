#include "mergeserverdialog.h"

#include "base/dailylog.h"
#include "base/language.h"
#include "db/connectionrule.h"
#include "db/databasemanager.h"
#include "base/storedtext.h"
#include "engine/charguidledger.h"
#include "merge/mergelog.h"
#include "merge/mergesql.h"
#include "ui/main/changeconfirm.h"
#include "ui/main/logpanel.h"
#include "ui/main/mainstyle.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTextEdit>
#include <QThread>
#include <QVBoxLayout>

namespace {
const QString kDisconnectedStyle = QStringLiteral("color: #ef4444;");
const QString kConnectedStyle = QStringLiteral("color: #10b981;");
const QString kAmberStyle = QStringLiteral("color: #f59e0b; font-weight: bold;");
const QString kGreenStyle = QStringLiteral("color: #10b981; font-weight: bold;");
const QString kDialogOptions = QStringLiteral("MYSQL_OPT_CONNECT_TIMEOUT=30;MYSQL_OPT_READ_TIMEOUT=60;MYSQL_OPT_WRITE_TIMEOUT=60");
const int kConnectAttempts = 3;
} // namespace

MergeServerDialog::MergeServerDialog(const HostConfigList &hostConfigs, QWidget *parent)
    : QDialog(parent)
    , m_hostConfigs(hostConfigs)
{
    setWindowTitle(tr("跨服合区"));
    resize(800, 700);
    setModal(true);

    m_main.isMain = true;
    m_main.label = STORED_TEXT("主区");
    m_main.prefix = QStringLiteral("main");
    m_sub.isMain = false;
    m_sub.label = STORED_TEXT("副区");
    m_sub.prefix = QStringLiteral("sub");

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(createGroup(m_main, tr("主区配置（目标区）")));
    layout->addWidget(createGroup(m_sub, tr("副区配置（源区）")));

    auto *options = new QGroupBox(tr("合区配置"), this);
    auto *grid = new QGridLayout(options);
    grid->addWidget(new QLabel(tr("合区模式:"), options), 0, 0);
    m_modeLabel = new QLabel(tr("请先连接主区和副区"), options);
    m_modeLabel->setStyleSheet(kAmberStyle);
    grid->addWidget(m_modeLabel, 0, 1, 1, 5);
    grid->addWidget(new QLabel(tr("角色名后缀:"), options), 1, 0);
    m_charSuffix = new QLineEdit(QStringLiteral("_S2"), options);
    m_charSuffix->setMaximumWidth(100);
    grid->addWidget(m_charSuffix, 1, 1);
    grid->addWidget(new QLabel(tr("账号名后缀:"), options), 1, 2);
    m_accountSuffix = new QLineEdit(QStringLiteral("_S2"), options);
    m_accountSuffix->setMaximumWidth(100);
    grid->addWidget(m_accountSuffix, 1, 3);
    m_cleanCheck = new QCheckBox(tr("合区前清理低等级角色（两区）"), options);
    grid->addWidget(m_cleanCheck, 2, 0, 1, 2);
    grid->addWidget(new QLabel(tr("清理等级 ≤"), options), 2, 2);
    m_cleanLevel = new QLineEdit(QStringLiteral("10"), options);
    m_cleanLevel->setPlaceholderText(QStringLiteral("%1-%2").arg(kMinCleanLevel).arg(kMaxCleanLevel));
    m_cleanLevel->setFixedWidth(60);
    m_cleanLevel->setEnabled(false);
    m_cleanLevel->setValidator(new QIntValidator(kMinCleanLevel, kMaxCleanLevel, m_cleanLevel));
    grid->addWidget(m_cleanLevel, 2, 3);
    m_mergeWebCheck = new QCheckBox(tr("合并web库（账号数据）"), options);
    m_mergeWebCheck->setChecked(true);
    m_mergeWebCheck->setToolTip(tr("勾选后将合并副区的web库账号数据到主区"));
    grid->addWidget(m_mergeWebCheck, 3, 0, 1, 2);
    layout->addWidget(options);

    auto *buttons = new QHBoxLayout;
    m_mergeButton = new QPushButton(tr("开始合区"), this);
    m_mergeButton->setObjectName(QStringLiteral("mergeBtn"));
    m_mergeButton->setEnabled(false);
    m_cancelButton = new QPushButton(tr("取消"), this);
    m_cancelButton->setObjectName(QStringLiteral("cancelBtn"));
    buttons->addWidget(m_mergeButton);
    buttons->addStretch();
    buttons->addWidget(m_cancelButton);
    layout->addLayout(buttons);

    // A merge of a big zone runs for minutes: the bar follows the stages and the tables.
    const LogPanel logPanel = createLogPanel(this, 22);
    m_logView = logPanel.view;
    m_logView->setMinimumHeight(80);
    m_progressBar = logPanel.progress;
    m_progressBar->setRange(0, 100);
    m_progressBar->setFormat(tr("就绪"));
    layout->addWidget(logPanel.group, 1);

    setStyleSheet(darkDialogStyleSheet() + QStringLiteral(
        "QGroupBox { border: 1px solid #3d3d4d; border-radius: 8px; }"
        "QGroupBox::title { color: #3b82f6; }"
        "QPushButton { background-color: #3b82f6; }"
        "QPushButton:disabled { background-color: #4d4d5d; color: #8d8d9d; }"
        // Compact fields: both servers and the options fit a 1280 x 800 screen with the log.
        "QLineEdit, QComboBox { padding: 3px 8px; min-height: 18px; }"));

    connect(m_main.preset, &QComboBox::currentIndexChanged, this, &MergeServerDialog::onMainHostChanged);
    connect(m_main.testButton, &QPushButton::clicked, this, &MergeServerDialog::onMainTestConnection);
    connect(m_main.connectButton, &QPushButton::clicked, this, &MergeServerDialog::onMainConnectClicked);
    connect(m_sub.preset, &QComboBox::currentIndexChanged, this, &MergeServerDialog::onSubHostChanged);
    connect(m_sub.testButton, &QPushButton::clicked, this, &MergeServerDialog::onSubTestConnection);
    connect(m_sub.connectButton, &QPushButton::clicked, this, &MergeServerDialog::onSubConnectClicked);
    connect(m_mergeButton, &QPushButton::clicked, this, &MergeServerDialog::onStartMerge);
    connect(m_cancelButton, &QPushButton::clicked, this, &MergeServerDialog::reject);
    connect(m_main.worldIds, &QComboBox::currentIndexChanged, this, &MergeServerDialog::updateMergeMode);
    connect(m_sub.worldIds, &QComboBox::currentIndexChanged, this, &MergeServerDialog::updateMergeMode);
    connect(m_cleanCheck, &QCheckBox::toggled, m_cleanLevel, &QWidget::setEnabled);
}

MergeServerDialog::~MergeServerDialog()
{
    // A merge still running is cancelled (its transaction rolls back) and waited for.
    m_cancel = true;
    for (SessionTask *task : m_checks + QList<SessionTask *>{m_preflightTask, m_task}) {
        if (task) {
            task->disconnect(this);
            delete task;
        }
    }
}

QWidget *MergeServerDialog::createGroup(ServerGroup &group, const QString &title)
{
    auto *box = new QGroupBox(title, this);
    auto *grid = new QGridLayout(box);
    group.preset = new QComboBox(box);
    group.preset->addItem(tr("手动输入"));
    for (const HostConfig &config : std::as_const(m_hostConfigs))
        group.preset->addItem(config.name);
    group.host = new QLineEdit(box);
    group.host->setPlaceholderText(QStringLiteral("192.168.1.100"));
    fitPlaceholder(group.host);
    group.port = new QLineEdit(QStringLiteral("3306"), box);
    group.port->setFixedWidth(60);
    group.user = new QLineEdit(QStringLiteral("root"), box);
    group.password = new QLineEdit(box);
    group.password->setEchoMode(QLineEdit::Password);
    group.charDatabase = new QLineEdit(QStringLiteral("vexadb_main"), box);
    group.accountDatabase = new QLineEdit(QStringLiteral("web"), box);
    group.worldIds = new QComboBox(box);
    group.worldIds->setMinimumWidth(80);
    group.testButton = new QPushButton(tr("测试"), box);
    group.testButton->setObjectName(QStringLiteral("testBtn"));
    group.testButton->setFixedWidth(60);
    group.connectButton = new QPushButton(tr("连接"), box);
    group.connectButton->setObjectName(QStringLiteral("connectBtn"));
    group.connectButton->setFixedWidth(60);
    group.status = new QLabel(tr("○ 未连接"), box);
    group.status->setStyleSheet(kDisconnectedStyle);

    grid->addWidget(new QLabel(tr("预设:"), box), 0, 0);
    grid->addWidget(group.preset, 0, 1);
    grid->addWidget(new QLabel(tr("主机:"), box), 0, 2);
    grid->addWidget(group.host, 0, 3);
    grid->addWidget(new QLabel(tr("端口:"), box), 0, 4);
    grid->addWidget(group.port, 0, 5);
    grid->addWidget(new QLabel(tr("用户:"), box), 1, 0);
    grid->addWidget(group.user, 1, 1);
    grid->addWidget(new QLabel(tr("密码:"), box), 1, 2);
    grid->addWidget(group.password, 1, 3);
    grid->addWidget(new QLabel(tr("角色库:"), box), 1, 4);
    grid->addWidget(group.charDatabase, 1, 5);
    grid->addWidget(new QLabel(tr("账号库:"), box), 2, 0);
    grid->addWidget(group.accountDatabase, 2, 1);
    grid->addWidget(new QLabel(QStringLiteral("WorldID:"), box), 2, 2);
    grid->addWidget(group.worldIds, 2, 3);
    grid->addWidget(group.testButton, 2, 4);
    grid->addWidget(group.connectButton, 2, 5);
    grid->addWidget(group.status, 0, 6, 3, 1);
    return box;
}

MergeEndpoint MergeServerDialog::endpoint(const ServerGroup &group) const
{
    MergeEndpoint e;
    e.host = group.host->text();
    e.port = group.port->text().toInt();
    e.username = group.user->text();
    e.password = group.password->text();
    e.charDatabase = group.charDatabase->text();
    e.accountDatabase = group.accountDatabase->text();
    return e;
}

void MergeServerDialog::onMainHostChanged(int index) { hostChanged(m_main, index); }
void MergeServerDialog::onSubHostChanged(int index) { hostChanged(m_sub, index); }
void MergeServerDialog::onMainTestConnection() { testConnection(m_main); }
void MergeServerDialog::onSubTestConnection() { testConnection(m_sub); }
void MergeServerDialog::onMainConnectClicked() { connectClicked(m_main); }
void MergeServerDialog::onSubConnectClicked() { connectClicked(m_sub); }

void MergeServerDialog::showDisconnected(ServerGroup &group)
{
    group.status->setText(tr("○ 未连接"));
    group.status->setStyleSheet(kDisconnectedStyle);
    group.connectButton->setText(tr("连接"));
    group.worldIds->clear();
}

void MergeServerDialog::hostChanged(ServerGroup &group, int index)
{
    if (group.connected) {
        group.connected = false;
        showDisconnected(group);
    }
    if (index < 1 || index > m_hostConfigs.size())
        return;
    const MergeEndpoint e = endpointOf(m_hostConfigs.at(index - 1));
    group.host->setText(e.host);
    group.port->setText(QString::number(e.port));
    group.user->setText(e.username);
    group.password->setText(e.password);
    group.charDatabase->setText(e.charDatabase);
    group.accountDatabase->setText(e.accountDatabase);
}

namespace {
// What reaching one server found: the worlds of its character database, or what failed.
struct ServerCheck
{
    Message failedKind;      // "角色库" or "账号库", empty on success
    QString failedDatabase;
    QString error;
    QList<int> worlds;
};

// Reaches the character and the account database of one server, `attempts` times each, reads
// the worlds and closes again. Runs on a worker, so that a server slow to answer never holds
// the window; the merge opens connections of its own.
ServerCheck checkServer(const MergeEndpoint &e, const QString &prefix, const Message &label, int attempts,
                        const QString &options, const std::atomic_bool *stop, const std::function<void(const Message &)> &log)
{
    ServerCheck check;
    const QList<std::pair<Message, QString>> databases = {{STORED_TEXT_IN("MergeServerDialog", "角色库"), e.charDatabase},
                                                          {STORED_TEXT_IN("MergeServerDialog", "账号库"), e.accountDatabase}};
    for (const auto &[kind, database] : databases) {
        // "主区角色库", or only "角色库" for a test of one entry.
        const Message what = label.isEmpty() ? kind : STORED_TEXT_IN("MergeServerDialog", "%1%2").arg(label, kind);
        const QString name = QStringLiteral("%1_check_%2").arg(prefix, &kind == &databases.first().first ? QStringLiteral("char") : QStringLiteral("web"));
        bool open = false;
        {
            QSqlDatabase db;
            for (int attempt = 1; attempt <= attempts && !open && !stop->load(); ++attempt) {
                const ConnectionOutcome outcome = MergeSql::openEndpoint(name, e, database, options);
                db = QSqlDatabase::database(name, false);
                open = outcome.ok;
                if (open) {
                    log(STORED_TEXT_IN("MergeServerDialog", "%1连接成功: %2").arg(what, database));
                    break;
                }
                check.error = outcome.failureReason();
                log(attempts > 1 ? STORED_TEXT_IN("MergeServerDialog", "%1连接失败（尝试 %2/%3）：%4").arg(what).arg(attempt).arg(attempts).arg(check.error)
                                 : STORED_TEXT_IN("MergeServerDialog", "%1连接失败: %2").arg(what, check.error));
                if (attempt < attempts)
                    QThread::msleep(2000);
            }
            if (open && check.worlds.isEmpty() && &kind == &databases.first().first) {
                // The worlds the game knows by their counters, whichever layout t_var has.
                QMap<int, qint64> counters;
                bool worldColumn = true;
                Message unused;
                if (CharGuidLedger::readCounters(db, &counters, &worldColumn, &unused))
                    check.worlds = counters.keys();
            }
            db.close();
        }
        removeNamedConnection(name);
        if (!open) {
            check.failedKind = kind;
            check.failedDatabase = database;
            return check;
        }
    }
    return check;
}
} // namespace

void MergeServerDialog::runCheck(ServerGroup &group, bool test)
{
    const MergeEndpoint e = endpoint(group);
    group.testButton->setEnabled(false);
    group.connectButton->setEnabled(false);
    group.status->setText(tr("● 连接中…"));
    const Message label = test ? Message() : group.label;
    const int attempts = test ? 1 : kConnectAttempts;
    const QString options = test ? QStringLiteral("MYSQL_OPT_CONNECT_TIMEOUT=10") : kDialogOptions;
    auto result = std::make_shared<ServerCheck>();
    SessionTask *task = SessionTask::startDetached([e, prefix = group.prefix, label, attempts, options, result](QSqlDatabase &, SessionTask &task) {
        *result = checkServer(e, prefix, label, attempts, options, task.cancelFlag(), [&task](const Message &line) { task.log(line); });
        return result->failedKind.isEmpty();
    }, this);
    m_checks.append(task);
    connect(task, &SessionTask::logMessage, this, &MergeServerDialog::addLogLine);
    connect(task, &SessionTask::finished, this, [this, task, result, &group, test, e] {
        m_checks.removeOne(task);
        task->deleteLater();
        group.testButton->setEnabled(true);
        group.connectButton->setEnabled(true);
        const ServerCheck check = *result;
        if (test) {
            showDisconnected(group);
            if (check.failedKind.isEmpty()) {
                addLogLine(STORED_TEXT("%1连接测试成功！").arg(group.label));
                QMessageBox::information(this, tr("成功"),
                                         tr("%1数据库连接测试成功！\n角色库: ").arg(group.label.shown()) + e.charDatabase
                                             + tr("\n账号库: ") + e.accountDatabase);
            } else {
                QMessageBox::warning(this, tr("失败"),
                                     tr("连接失败：%1连接失败: %2").arg(check.failedKind, check.error));
            }
            return;
        }
        if (!check.failedKind.isEmpty()) {
            showDisconnected(group);
            addLogLine(STORED_TEXT("%1连接失败").arg(group.label));
            QMessageBox::warning(this, tr("错误"),
                                 tr("无法连接%1%2 '%3'（已重试%4次）").arg(group.label.shown(), check.failedKind.shown(), check.failedDatabase, QString::number(kConnectAttempts)));
            return;
        }
        group.connected = true;
        group.status->setText(tr("● 已连接"));
        group.status->setStyleSheet(kConnectedStyle);
        group.connectButton->setText(tr("断开"));
        group.worldIds->blockSignals(true);
        group.worldIds->clear();
        for (int id : check.worlds)
            group.worldIds->addItem(QString::number(id), id);
        group.worldIds->blockSignals(false);
        addLogLine(STORED_TEXT("%1连接成功，发现 %2 个WorldID").arg(group.label).arg(check.worlds.size()));
        updateMergeMode();
    });
}

void MergeServerDialog::testConnection(ServerGroup &group)
{
    addLogLine(STORED_TEXT("测试%1连接...").arg(group.label));
    const MergeEndpoint e = endpoint(group);
    addLogLine(STORED_TEXT("连接参数: %1:%2, 角色库=%3, 账号库=%4").arg(e.host, QString::number(e.port), e.charDatabase, e.accountDatabase));
    runCheck(group, true);
}

void MergeServerDialog::connectClicked(ServerGroup &group)
{
    if (group.connected) {
        group.connected = false;
        showDisconnected(group);
        updateMergeMode();
        return;
    }
    const MergeEndpoint e = endpoint(group);
    if (group.isMain && e.host.isEmpty()) {
        QMessageBox::warning(this, tr("错误"), tr("请输入主区主机地址"));
        return;
    }
    addLogLine(STORED_TEXT("正在连接%1数据库...").arg(group.label));
    addLogLine(STORED_TEXT("%1连接参数: %2:%3, 角色库=%4, 账号库=%5").arg(group.label, e.host, QString::number(e.port), e.charDatabase, e.accountDatabase));
    runCheck(group, false);
}

void MergeServerDialog::updateMergeMode()
{
    const bool possible = m_main.connected && m_sub.connected && m_main.worldIds->count() > 0
        && m_sub.worldIds->count() > 0;
    m_mergeButton->setEnabled(possible && !m_merging);
    if (!possible) {
        m_modeLabel->setText(tr("请先连接主区和副区"));
        m_modeLabel->setStyleSheet(kAmberStyle);
        return;
    }
    m_mainWorldId = m_main.worldIds->currentData().toInt();
    m_subWorldId = m_sub.worldIds->currentData().toInt();
    // The merge that has just run is not offered again; another choice of servers or worlds is.
    if (!m_doneKey.isEmpty() && mergeKey() == m_doneKey) {
        m_mergeButton->setEnabled(false);
        m_modeLabel->setText(tr("已完成合区 (%1 ← %2)，如需再合并请更换区服").arg(m_mainWorldId).arg(m_subWorldId));
        m_modeLabel->setStyleSheet(kGreenStyle);
        return;
    }
    if (m_mainWorldId != m_subWorldId) {
        m_modeLabel->setText(tr("WorldID 不同 (%1 ← %2) - 保持charguid").arg(m_mainWorldId).arg(m_subWorldId));
        m_modeLabel->setStyleSheet(kGreenStyle);
    } else {
        m_modeLabel->setText(tr("WorldID 相同 (%1) - 需重新分配charguid").arg(m_mainWorldId));
        m_modeLabel->setStyleSheet(kAmberStyle);
    }
}

QString MergeServerDialog::mergeKey() const
{
    const MergeEndpoint main = endpoint(m_main);
    const MergeEndpoint sub = endpoint(m_sub);
    return QStringLiteral("%1:%2/%3#%4<-%5:%6/%7#%8")
        .arg(main.host, QString::number(main.port), main.charDatabase, QString::number(m_mainWorldId), sub.host,
             QString::number(sub.port), sub.charDatabase, QString::number(m_subWorldId));
}

void MergeServerDialog::setMerging(bool merging, const QString &buttonText)
{
    m_merging = merging;
    m_mergeButton->setText(buttonText);
    m_mergeButton->setEnabled(!merging);
    m_cancelButton->setEnabled(true);
    m_cancelButton->setText(merging ? tr("取消合区") : tr("取消"));
}

void MergeServerDialog::onStartMerge()
{
    if (m_merging) {
        addLogLine(STORED_TEXT("有操作正在进行中..."));
        return;
    }
    addLogLine(STORED_TEXT("========== 开始合区 =========="));
    MergeSettings settings;
    settings.target = endpoint(m_main);
    settings.source = endpoint(m_sub);
    settings.targetWorldId = m_mainWorldId;
    settings.sourceWorldId = m_subWorldId;
    settings.charNameSuffix = m_charSuffix->text();
    settings.accountNameSuffix = m_accountSuffix->text();
    settings.cleanLowLevel = m_cleanCheck->isChecked();
    settings.mergeWeb = m_mergeWebCheck->isChecked();
    settings.dumpProgram = m_dumpProgram;
    bool levelOk = false;
    const int level = m_cleanLevel->text().trimmed().toInt(&levelOk);
    if (settings.cleanLowLevel && (!levelOk || !isCleanLevel(level))) {
        QMessageBox::warning(this, tr("输入错误"), cleanLevelRefusal().shown());
        return;
    }
    settings.cleanLevel = levelOk && level > 0 ? level : 10;
    m_settings = settings;

    // First what the merge would do, counted on both servers; nothing changes yet.
    setMerging(true, tr("预检中..."));
    m_cancel = false;
    m_progressBar->setValue(0);
    m_progressBar->setFormat(tr("预检中..."));
    delete m_preflightTask;
    MergePreflight *preflight = &m_preflight;
    m_preflightTask = SessionTask::startDetached([settings, preflight](QSqlDatabase &, SessionTask &task) {
        *preflight = CrossServerMerge::preview(settings, task.context());
        return preflight->ok;
    }, this);
    connect(m_preflightTask, &SessionTask::logMessage, this, &MergeServerDialog::addLogLine);
    connect(m_preflightTask, &SessionTask::finished, this, &MergeServerDialog::onPreflightFinished);
}

void MergeServerDialog::onPreflightFinished(bool ok)
{
    setMerging(false, tr("开始合区"));
    m_progressBar->setFormat(tr("就绪"));
    if (m_closeWhenDone) {
        QDialog::reject();
        return;
    }
    if (!ok) {
        QMessageBox::warning(this, tr("失败"), tr("合区预检失败，未做任何修改，请检查日志！"));
        return;
    }
    if (!m_preflight.refusals.isEmpty()) {
        QMessageBox::warning(this, tr("无法合区"),
                             tr("合区未开始，两边都没有改动：\n\n") + shownLines(m_preflight.refusals).join(QLatin1Char('\n')));
        return;
    }
    if (m_preflight.alreadyMerged > 0) {
        if (QMessageBox::warning(this, tr("可能已经合并过"),
                                 tr("主区已有 %1 个副区角色（账号与创建时间相同），这次合区似乎已经做过。\n\n"
                                                "再次合并会把这些角色和账号再复制一份（带后缀）。确定要继续吗？")
                                     .arg(m_preflight.alreadyMerged),
                                 QMessageBox::Yes | QMessageBox::No, QMessageBox::No) != QMessageBox::Yes)
            return;
        m_settings.again = true;
    }
    if (QMessageBox::question(this, tr("确认合区"),
                              tr("确定要将副区 WorldID=%1 的数据合并到主区 WorldID=%2 吗？\n\n%3\n\n此操作不可逆！")
                                  .arg(QString::number(m_subWorldId), QString::number(m_mainWorldId), shownLines(m_preflight.lines()).join(QLatin1Char('\n'))),
                              QMessageBox::Yes | QMessageBox::No, QMessageBox::No) != QMessageBox::Yes)
        return;
    // The run carries out this plan, or none when the servers changed since.
    m_settings.confirmedPlan = m_preflight.plan;
    m_settings.confirmed = m_preflight;
    m_backupFirst = QMessageBox::question(this, tr("备份数据库"),
                                          tr("是否在合区前备份主区数据库？\n\n备份可能需要几分钟时间。"),
                                          QMessageBox::Yes | QMessageBox::No, QMessageBox::No) == QMessageBox::Yes;
    m_settings.backupFirst = m_backupFirst;
    startRun();
}

void MergeServerDialog::startRun()
{
    // No other operation of this program writes while the merge does; it connects on its own.
    const MergeSettings settings = m_settings;
    MergeReport *report = &m_report;
    Message refusal;
    m_task = SessionTask::start(STORED_TEXT("跨服合区"), [settings, report](QSqlDatabase &, SessionTask &task) {
        *report = CrossServerMerge::run(settings, task.context());
        return report->ok;
    }, this, &refusal, SessionTask::Connection::Own);
    if (!m_task) {
        QMessageBox::warning(this, tr("提示"), refusal.shown());
        return;
    }
    connect(m_task, &SessionTask::logMessage, this, &MergeServerDialog::addLogLine);
    connect(m_task, &SessionTask::progressChanged, this, [this](const Message &stage, qint64 done, qint64 total) {
        showProgress(m_progressBar, stage, done, total);
    });
    connect(m_task, &SessionTask::finished, this, &MergeServerDialog::onMergeFinished);
    m_cancel = false;
    setMerging(true, tr("合区中..."));
    m_progressBar->setValue(0);
}

bool MergeServerDialog::askToCancel()
{
    if (m_cancel)
        return true;
    if (QMessageBox::question(this, tr("取消合区"),
                              tr("合区正在进行。取消后，主区保持合区开始前的样子。\n\n确定要取消吗？"),
                              QMessageBox::Yes | QMessageBox::No, QMessageBox::No) != QMessageBox::Yes)
        return false;
    m_cancel = true;
    if (m_task)
        m_task->cancel();
    addLogLine(STORED_TEXT("正在取消合区..."));
    m_cancelButton->setEnabled(false);
    m_cancelButton->setText(tr("正在取消..."));
    return true;
}

void MergeServerDialog::reject()
{
    if (!m_merging) {
        QDialog::reject();
        return;
    }
    // The "取消合区" button cancels and keeps the window; closing it closes once the run has ended.
    const bool closing = sender() != m_cancelButton;
    if (askToCancel() && closing)
        m_closeWhenDone = true;
}

void MergeServerDialog::onMergeFinished(bool ok, bool cancelled)
{
    m_task->deleteLater();
    m_task = nullptr;
    setMerging(false, tr("开始合区"));
    if (m_closeWhenDone) {
        addLogLine(ok ? STORED_TEXT("========== 合区完成 ==========") : STORED_TEXT("========== 合区已取消，主区未改动 =========="));
        QDialog::reject();
        return;
    }
    if (!ok) {
        addLogLine(cancelled ? STORED_TEXT("========== 合区已取消，主区未改动 ==========") : STORED_TEXT("========== 合区失败 =========="));
        m_progressBar->setFormat(cancelled ? tr("合区已取消") : tr("合区失败"));
        QMessageBox::warning(this, tr("失败"), cancelled ? tr("合区已取消，主区保持原样。")
                                                                    : tr("合区操作失败，请检查日志！"));
        return;
    }
    addLogLine(STORED_TEXT("========== 合区完成 =========="));
    m_progressBar->setValue(100);
    m_doneKey = mergeKey();
    updateMergeMode();
    if (m_report.hasLosses()) {
        m_progressBar->setFormat(tr("合区完成（有数据未合并）"));
        QMessageBox::warning(this, tr("警告"),
                             tr("合区已完成，但有数据未能合并：\n\n") + shownLines(m_report.lossLines()).join(QLatin1Char('\n'))
                                 + tr("\n\n详情请查看日志。") + undoFileLine(m_report.undoFile));
        return;
    }
    m_progressBar->setFormat(tr("合区完成"));
    QMessageBox::information(this, tr("成功"), tr("合区操作完成！") + undoFileLine(m_report.undoFile));
}

void MergeServerDialog::addLogLine(const Message &text)
{
    const QString line = timestampedLine(text.stored());
    if (QThread::currentThread() != thread())
        QMetaObject::invokeMethod(this, [this, text]() { m_logView->addLine(text); }, Qt::QueuedConnection);
    else
        m_logView->addLine(text);
    writeMergeLog(line);
}

void MergeServerDialog::writeMergeLog(const QString &line)
{
    writeMergeLogLine(line);
}
