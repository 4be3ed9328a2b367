#include "sameservermergedialog.h"

#include "db/databasemanager.h"
#include "base/storedtext.h"
#include "merge/mergesettings.h"
#include "ui/main/changeconfirm.h"
#include "ui/main/logpanel.h"
#include "ui/main/mainstyle.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateTime>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSqlQuery>
#include <QTextEdit>
#include <QVBoxLayout>

namespace {
const int kDefaultLevel = 10;

QString extraStyleSheet()
{
    return QStringLiteral(R"(
QComboBox { border: 2px solid #f97316; border-radius: 4px; padding: 3px 6px; background-color: #2d2d3d; color: #e4e4e7; }
QComboBox:hover { border-color: #fb923c; }
QComboBox:focus { border-color: #fdba74; }
QComboBox::drop-down { background-color: #f97316; width: 20px; }
QComboBox::drop-down:hover { background-color: #ea580c; }
QLineEdit:focus { border: 1px solid #3b82f6; }
QPushButton { background-color: #3b82f6; color: white; border: none; border-radius: 4px; padding: 5px 10px; }
QPushButton:hover { background-color: #2563eb; }
QPushButton#executeBtn { background-color: #f97316; }
QPushButton#executeBtn:hover { background-color: #ea580c; }
)");
}

// A count on the main session; 0 when the statement fails.
qint64 countOf(const QString &sql, const QVariantList &values = {})
{
    QSqlQuery query(DatabaseManager::instance()->database());
    query.prepare(sql);
    for (const QVariant &value : values)
        query.addBindValue(value);
    return query.exec() && query.next() ? query.value(0).toLongLong() : 0;
}

qint64 charactersOf(int worldId)
{
    return countOf(QStringLiteral("SELECT COUNT(*) FROM t_char WHERE zoneworldid = ?"), {worldId});
}
} // namespace

SameServerMergeDialog::SameServerMergeDialog(QWidget *parent)
    : QDialog(parent)
{
    setWindowTitle(tr("同服合区 - %1").arg(DatabaseManager::instance()->serverLabel()));
    setMinimumSize(900, 500);
    resize(950, 550);
    setStyleSheet(darkDialogStyleSheet() + extraStyleSheet());

    auto *outer = new QHBoxLayout(this);
    outer->setSpacing(15);
    outer->setContentsMargins(15, 15, 15, 15);
    auto *left = new QVBoxLayout;
    left->setSpacing(10);
    auto *right = new QVBoxLayout;
    right->setSpacing(10);
    outer->addLayout(left, 1);
    outer->addLayout(right, 1);

    auto *zoneGroup = new QGroupBox(tr("区服设置"), this);
    auto *zoneGrid = new QGridLayout(zoneGroup);
    zoneGrid->setSpacing(8);
    m_subCombo = new QComboBox(zoneGroup);
    m_subCombo->setMinimumWidth(150);
    m_mainCombo = new QComboBox(zoneGroup);
    m_mainCombo->setMinimumWidth(150);
    zoneGrid->addWidget(new QLabel(tr("副区 (被合并):"), zoneGroup), 0, 0);
    zoneGrid->addWidget(m_subCombo, 0, 1);
    zoneGrid->addWidget(new QLabel(tr("主区 (合并到):"), zoneGroup), 1, 0);
    zoneGrid->addWidget(m_mainCombo, 1, 1);
    zoneGrid->setColumnStretch(2, 1);
    left->addWidget(zoneGroup);

    auto *cleanGroup = new QGroupBox(tr("清理低等级角色"), this);
    auto *cleanGrid = new QGridLayout(cleanGroup);
    cleanGrid->setSpacing(8);
    m_cleanCheck = new QCheckBox(tr("合区前清理低等级角色"), cleanGroup);
    m_levelEdit = new QLineEdit(QString::number(kDefaultLevel), cleanGroup);
    m_levelEdit->setValidator(new QIntValidator(kMinCleanLevel, kMaxCleanLevel, m_levelEdit));
    m_levelEdit->setFixedWidth(60);
    m_levelEdit->setEnabled(false);
    m_cleanCountLabel = new QLabel(tr("待清理: 0 个"), cleanGroup);
    m_cleanCountLabel->setStyleSheet(QStringLiteral("color: #f97316;"));
    cleanGrid->addWidget(m_cleanCheck, 0, 0, 1, 3);
    cleanGrid->addWidget(new QLabel(tr("等级 ≤"), cleanGroup), 1, 0);
    cleanGrid->addWidget(m_levelEdit, 1, 1);
    cleanGrid->addWidget(m_cleanCountLabel, 1, 2);
    cleanGrid->setColumnStretch(2, 1);
    left->addWidget(cleanGroup);

    auto *modeGroup = new QGroupBox(tr("账号库模式"), this);
    auto *modeLayout = new QVBoxLayout(modeGroup);
    modeLayout->setSpacing(6);
    m_sameAccountRadio = new QRadioButton(tr("同一账号库（默认）"), modeGroup);
    m_sameAccountRadio->setChecked(true);
    m_independentRadio = new QRadioButton(tr("独立账号库"), modeGroup);
    m_accountGroup = new QGroupBox(tr("独立账号库设置"), modeGroup);
    m_accountGroup->setEnabled(false);
    auto *accountGrid = new QGridLayout(m_accountGroup);
    accountGrid->setSpacing(6);
    m_mainAccountEdit = new QLineEdit(QStringLiteral("web"), m_accountGroup);
    m_mainAccountEdit->setPlaceholderText(tr("如: web"));
    m_subAccountEdit = new QLineEdit(m_accountGroup);
    m_subAccountEdit->setPlaceholderText(tr("如: web2"));
    m_suffixEdit = new QLineEdit(QStringLiteral("_s2"), m_accountGroup);
    m_suffixEdit->setPlaceholderText(tr("如: _s2"));
    m_conflictLabel = new QLabel(tr("冲突: 0 个"), m_accountGroup);
    m_conflictLabel->setStyleSheet(QStringLiteral("color: #ef4444;"));
    accountGrid->addWidget(new QLabel(tr("主区账号库:"), m_accountGroup), 0, 0);
    accountGrid->addWidget(m_mainAccountEdit, 0, 1);
    accountGrid->addWidget(new QLabel(tr("副区账号库:"), m_accountGroup), 1, 0);
    accountGrid->addWidget(m_subAccountEdit, 1, 1);
    accountGrid->addWidget(new QLabel(tr("冲突后缀:"), m_accountGroup), 2, 0);
    accountGrid->addWidget(m_suffixEdit, 2, 1);
    accountGrid->addWidget(m_conflictLabel, 2, 2);
    modeLayout->addWidget(m_sameAccountRadio);
    modeLayout->addWidget(m_independentRadio);
    modeLayout->addWidget(m_accountGroup);
    left->addWidget(modeGroup);
    left->addStretch();

    auto *previewGroup = new QGroupBox(tr("操作预览"), this);
    auto *previewLayout = new QVBoxLayout(previewGroup);
    m_previewLabel = new QLabel(previewGroup);
    m_previewLabel->setMinimumHeight(120);
    m_previewLabel->setStyleSheet(QStringLiteral("background-color: #2d2d3d; padding: 8px; border-radius: 4px;"));
    auto *refreshButton = new QPushButton(tr("刷新"), previewGroup);
    refreshButton->setFixedWidth(70);
    previewLayout->addWidget(m_previewLabel);
    previewLayout->addWidget(refreshButton, 0, Qt::AlignRight);
    right->addWidget(previewGroup);

    const LogPanel logPanel = createLogPanel(this, 18);
    m_logView = logPanel.view;
    m_logView->setMinimumHeight(100);
    m_logView->setMaximumHeight(QWIDGETSIZE_MAX);
    m_progressBar = logPanel.progress;
    right->addWidget(logPanel.group);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    m_executeButton = new QPushButton(tr("执行合区"), this);
    m_executeButton->setObjectName(QStringLiteral("executeBtn"));
    m_executeButton->setMinimumWidth(100);
    m_closeButton = new QPushButton(tr("取消"), this);
    m_closeButton->setMinimumWidth(70);
    buttons->addWidget(m_executeButton);
    buttons->addWidget(m_closeButton);
    right->addLayout(buttons);

    loadWorldList();

    connect(m_cleanCheck, &QCheckBox::toggled, this, &SameServerMergeDialog::onCleanLowLevelToggled);
    connect(m_levelEdit, &QLineEdit::textChanged, this, &SameServerMergeDialog::onPreview);
    connect(m_subCombo, &QComboBox::currentIndexChanged, this, &SameServerMergeDialog::onWorldIdChanged);
    connect(m_mainCombo, &QComboBox::currentIndexChanged, this, &SameServerMergeDialog::onWorldIdChanged);
    connect(m_sameAccountRadio, &QRadioButton::toggled, this, &SameServerMergeDialog::onAccountModeChanged);
    connect(m_independentRadio, &QRadioButton::toggled, this, &SameServerMergeDialog::onAccountModeChanged);
    connect(refreshButton, &QPushButton::clicked, this, &SameServerMergeDialog::onWorldIdChanged);
    connect(m_executeButton, &QPushButton::clicked, this, &SameServerMergeDialog::onExecute);
    connect(m_closeButton, &QPushButton::clicked, this, &QDialog::reject);

    onPreview();
}

SameServerMergeDialog::~SameServerMergeDialog()
{
    // The engine rolls back at its next check; its connection must be gone before we are.
    if (m_task) {
        m_task->disconnect(this);
        delete m_task;
    }
}

void SameServerMergeDialog::addLogLine(const Message &message)
{
    m_logView->addLine(message);
}

void SameServerMergeDialog::loadWorldList()
{
    m_subCombo->clear();
    m_mainCombo->clear();
    const QMap<int, int> counts = DatabaseManager::instance()->worldIdStatistics();
    m_worldIds = counts.keys();
    for (auto it = counts.cbegin(); it != counts.cend(); ++it) {
        const QString text = tr("%1 (%Ln个角色)", nullptr, it.value()).arg(it.key());
        m_subCombo->addItem(text, it.key());
        m_mainCombo->addItem(text, it.key());
    }
    if (m_mainCombo->count() > 1)
        m_mainCombo->setCurrentIndex(1);
}

int SameServerMergeDialog::levelValue() const
{
    bool ok = false;
    const int level = m_levelEdit->text().toInt(&ok);
    return ok && level >= 1 ? level : kDefaultLevel;
}

void SameServerMergeDialog::onAccountModeChanged()
{
    m_accountGroup->setEnabled(m_independentRadio->isChecked());
    onPreview();
}

void SameServerMergeDialog::onCleanLowLevelToggled(bool checked)
{
    m_levelEdit->setEnabled(checked);
    onPreview();
}

void SameServerMergeDialog::onWorldIdChanged()
{
    onPreview();
}

void SameServerMergeDialog::onPreview()
{
    const int sub = m_subCombo->currentData().toInt();
    const int main = m_mainCombo->currentData().toInt();
    const qint64 subCount = charactersOf(sub);
    const qint64 mainCount = charactersOf(main);

    qint64 lowLevel = 0;
    if (m_cleanCheck->isChecked()) {
        SameServerMergeParameters parameters;
        parameters.sourceWorldId = sub;
        parameters.targetWorldId = main;
        parameters.levelThreshold = levelValue();
        lowLevel = countOf(QStringLiteral("SELECT COUNT(*) FROM (%1) doomed").arg(sameServerLowLevelCharacters(parameters)));
    }
    m_cleanCountLabel->setText(tr("待清理: %1 个").arg(lowLevel));

    // Database names go into the statement text: anything but a plain name counts nothing.
    const bool independent = m_independentRadio->isChecked();
    const QString mainDb = m_mainAccountEdit->text().trimmed();
    const QString subDb = m_subAccountEdit->text().trimmed();
    qint64 conflicts = 0;
    if (independent && isPlainDatabaseName(mainDb) && isPlainDatabaseName(subDb)) {
        conflicts = countOf(QStringLiteral("SELECT COUNT(*) FROM `%1`.account m INNER JOIN `%2`.account s ON m.name = s.name")
                                .arg(mainDb, subDb));
    }
    m_conflictLabel->setText(tr("冲突: %1 个").arg(conflicts));

    QString text = tr("副区 [%1]: %2 个角色\n主区 [%3]: %4 个角色\n").arg(sub).arg(subCount).arg(main).arg(mainCount);
    if (sub == main)
        text += tr("\n⚠️ 副区和主区不能相同！\n");
    if (m_cleanCheck->isChecked())
        text += tr("清理 ≤%1级: %2 个\n").arg(m_levelEdit->text(), QString::number(lowLevel));
    if (independent) {
        const qint64 sourceAccountRows = isPlainDatabaseName(subDb) ? countOf(QStringLiteral("SELECT COUNT(*) FROM `%1`.account").arg(subDb)) : 0;
        text += tr("副区账号: %1 个\n").arg(sourceAccountRows);
        if (conflicts > 0)
            text += tr("冲突账号: %1 个\n").arg(conflicts);
    }
    text += tr("\n合并后总角色: %1 个\n").arg(mainCount - lowLevel + subCount);
    text += tr("自动同步world字段");
    m_previewLabel->setText(text);
}

void SameServerMergeDialog::onExecute()
{
    const int sub = m_subCombo->currentData().toInt();
    const int main = m_mainCombo->currentData().toInt();
    if (sub == main) {
        QMessageBox::warning(this, tr("警告"), tr("副区和主区不能相同！"));
        return;
    }
    const QString mainDb = m_mainAccountEdit->text().trimmed();
    const QString subDb = m_subAccountEdit->text().trimmed();
    const QString suffix = m_suffixEdit->text().trimmed();
    if (m_independentRadio->isChecked()) {
        const QList<std::pair<bool, QString>> checks = {
            {mainDb.isEmpty(), tr("请输入主区账号库名称！")},
            {subDb.isEmpty(), tr("请输入副区账号库名称！")},
            {suffix.isEmpty(), tr("请输入冲突账号后缀！")},
            {!isPlainDatabaseName(mainDb) || !isPlainDatabaseName(subDb),
             tr("账号库名称只能包含字母、数字、_ 和 $！")},
        };
        for (const auto &[failed, message] : checks) {
            if (failed) {
                QMessageBox::warning(this, tr("警告"), message);
                return;
            }
        }
    }
    SameServerMergeParameters parameters;
    parameters.sourceWorldId = sub;
    parameters.targetWorldId = main;
    parameters.cleanLowLevel = m_cleanCheck->isChecked();
    parameters.levelThreshold = levelValue();
    parameters.independentAccounts = m_independentRadio->isChecked();
    parameters.targetAccountDatabase = mainDb;
    parameters.sourceAccountDatabase = subDb;
    parameters.conflictSuffix = suffix;
    const SameServerMerge::Preview preview = SameServerMerge::preview(DatabaseManager::instance()->database(), parameters);
    if (!preview.refusal.isEmpty()) {
        QMessageBox::warning(this, tr("警告"), preview.refusal.shown());
        return;
    }
    for (const Message &line : preview.lines)
        addLogLine(line);
    if (!confirmChange(this, QMessageBox::Question, tr("确认执行合区"),
                       tr("即将执行同服合区操作：\n\n副区 [%1] → 主区 [%2]").arg(sub).arg(main), preview.lines))
        return;

    m_parameters = parameters;
    // The engine opens a connection of its own on the task's thread with the session's entry.
    const HostConfig host = DatabaseManager::instance()->storedConfig();
    auto result = std::make_shared<SameServerMerge::Result>();
    Message refusal;
    m_task = SessionTask::start(STORED_TEXT("同服合区"), [host, parameters, result](QSqlDatabase &, SessionTask &task) {
        *result = SameServerMerge::run(host, parameters, task.context());
        return result->ok;
    }, this, &refusal, SessionTask::Connection::Own);
    if (!m_task) {
        QMessageBox::warning(this, tr("提示"), refusal.shown());
        return;
    }
    connect(m_task, &SessionTask::logMessage, this, &SameServerMergeDialog::addLogLine);
    connect(m_task, &SessionTask::progressChanged, this, [this](const Message &stage, qint64 done, qint64 total) {
        showProgress(m_progressBar, stage, done, total);
    });
    connect(m_task, &SessionTask::finished, this, [this, result](bool ok) {
        m_task->deleteLater();
        m_task = nullptr;
        m_undoPath = result->undoPath;
        onMergeFinished(ok);
    });

    m_logView->clearLines();
    m_progressBar->setValue(0);
    m_executeButton->setEnabled(false);
    m_closeButton->setText(tr("取消"));
    addLogLine(STORED_TEXT("══ 开始异步合区操作 ══"));
    addLogLine(STORED_TEXT("副区: %1, 主区: %2").arg(sub).arg(main));
}

void SameServerMergeDialog::onMergeFinished(bool success)
{
    m_executeButton->setEnabled(true);
    m_closeButton->setText(tr("关闭"));
    if (success) {
        m_progressBar->setValue(100);
        addLogLine(STORED_TEXT("══ 合区完成 ══"));
        QMessageBox::information(this, tr("成功"), tr("同服合区操作完成！") + undoFileLine(m_undoPath));
        accept();
        return;
    }
    addLogLine(STORED_TEXT("══ 合区失败 ══"));
    QMessageBox::warning(this, tr("失败"), tr("合区操作失败，数据已回滚，请查看日志。"));
}
