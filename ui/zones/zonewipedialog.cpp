#include "zonewipedialog.h"

#include "base/dailylog.h"
#include "base/language.h"
#include "db/databasemanager.h"
#include "db/sessiontask.h"
#include "base/storedtext.h"
#include "engine/accountcleanup.h"
#include "engine/rowpreview.h"
#include "engine/zonewipe.h"
#include "ui/main/logpanel.h"
#include "ui/main/mainstyle.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QTextEdit>
#include <QVBoxLayout>


ZoneWipeDialog::ZoneWipeDialog(QWidget *parent)
    : QDialog(parent)
{
    setWindowTitle(tr("区服删档 - %1").arg(DatabaseManager::instance()->serverLabel()));
    resize(600, 550);
    setModal(true);

    auto *layout = new QVBoxLayout(this);
    layout->setSpacing(12);
    layout->setContentsMargins(15, 15, 15, 15);

    auto *worldGroup = new QGroupBox(tr("选择要删档的区服"), this);
    auto *worldLayout = new QVBoxLayout(worldGroup);
    auto *worldRow = new QHBoxLayout;
    m_countLabel = new QLabel(tr("区服数量: 0"), worldGroup);
    auto *selectAll = new QPushButton(tr("全选"), worldGroup);
    auto *selectNone = new QPushButton(tr("取消全选"), worldGroup);
    auto *refresh = new QPushButton(tr("刷新"), worldGroup);
    selectAll->setFixedWidth(70);
    selectNone->setFixedWidth(80);
    refresh->setFixedWidth(70);
    worldRow->addWidget(m_countLabel);
    worldRow->addStretch();
    worldRow->addWidget(selectAll);
    worldRow->addWidget(selectNone);
    worldRow->addWidget(refresh);
    worldLayout->addLayout(worldRow);
    m_worldList = new QListWidget(worldGroup);
    m_worldList->setSelectionMode(QAbstractItemView::NoSelection);
    m_worldList->setMinimumHeight(100);
    worldLayout->addWidget(m_worldList);
    layout->addWidget(worldGroup);

    auto *accountGroup = new QGroupBox(tr("账号库选项 (自动检测)"), this);
    auto *accountLayout = new QVBoxLayout(accountGroup);
    accountLayout->addWidget(new QLabel(tr("勾选要同时删除账号数据的库（不勾选则不删除账号）:"), accountGroup));
    m_accountDbList = new QListWidget(accountGroup);
    m_accountDbList->setSelectionMode(QAbstractItemView::NoSelection);
    m_accountDbList->setMaximumHeight(100);
    accountLayout->addWidget(m_accountDbList);
    auto *warning = new QLabel(tr("⚠️ 删档前会写撤销文件：在没有角色占用被释放的ID之前，可在主窗口的“撤销记录”中撤销。"), accountGroup);
    warning->setStyleSheet(QStringLiteral("color: #ef4444; font-weight: bold;"));
    warning->setWordWrap(true);
    accountLayout->addWidget(warning);
    layout->addWidget(accountGroup);

    const LogPanel logPanel = createLogPanel(this, 22);
    m_logView = logPanel.view;
    m_progressBar = logPanel.progress;
    layout->addWidget(logPanel.group, 1);

    auto *bottom = new QHBoxLayout;
    bottom->addStretch();
    m_deleteButton = new QPushButton(tr("开始删档"), this);
    m_deleteButton->setObjectName(QStringLiteral("deleteBtn"));
    m_deleteButton->setFixedSize(120, 40);
    m_cancelButton = new QPushButton(tr("取消"), this);
    m_cancelButton->setObjectName(QStringLiteral("cancelBtn"));
    m_cancelButton->setFixedSize(100, 40);
    m_cancelButton->setEnabled(false);
    auto *closeButton = new QPushButton(tr("关闭"), this);
    closeButton->setFixedSize(100, 40);
    bottom->addWidget(m_deleteButton);
    bottom->addWidget(m_cancelButton);
    bottom->addWidget(closeButton);
    layout->addLayout(bottom);

    setStyleSheet(darkDialogStyleSheet() + QStringLiteral(
        "QPushButton#deleteBtn { background-color: #ef4444; }"
        "QPushButton#deleteBtn:hover { background-color: #dc2626; }"
        "QPushButton#deleteBtn:disabled { background-color: #4d4d5d; color: #8d8d9d; }"));

    connect(refresh, &QPushButton::clicked, this, &ZoneWipeDialog::onRefreshWorldList);
    connect(selectAll, &QPushButton::clicked, this, &ZoneWipeDialog::onSelectAll);
    connect(selectNone, &QPushButton::clicked, this, &ZoneWipeDialog::onSelectNone);
    connect(m_deleteButton, &QPushButton::clicked, this, &ZoneWipeDialog::onStartDelete);
    connect(m_cancelButton, &QPushButton::clicked, this, &ZoneWipeDialog::onCancelDelete);
    connect(closeButton, &QPushButton::clicked, this, &QDialog::reject);
    connect(DatabaseManager::instance(), &DatabaseManager::busyChanged, this, &ZoneWipeDialog::updateButtons);

    onRefreshWorldList();
}

void ZoneWipeDialog::addLogLine(const Message &message)
{
    const QString line = m_logView->addLine(message);
    writeLogFile(line);
}

void ZoneWipeDialog::writeLogFile(const QString &line)
{
    appendToDailyLog(QStringLiteral("zone_delete_"), line);
}

void ZoneWipeDialog::onRefreshWorldList()
{
    m_worldList->clear();
    m_worldCounts.clear();
    DatabaseManager *db = DatabaseManager::instance();
    if (!db->isConnected()) {
        addLogLine(STORED_TEXT("错误：数据库未连接"));
        m_countLabel->setText(tr("区服数量: 0"));
        return;
    }
    addLogLine(STORED_TEXT("正在加载区服列表..."));
    m_worldCounts = db->worldIdStatistics();
    if (m_worldCounts.isEmpty()) {
        addLogLine(STORED_TEXT("未找到任何区服数据"));
        m_countLabel->setText(tr("区服数量: 0"));
        return;
    }
    for (auto it = m_worldCounts.cbegin(); it != m_worldCounts.cend(); ++it) {
        auto *item = new QListWidgetItem(tr("WorldID: %1  (角色数量: %2)").arg(it.key()).arg(it.value()),
                                         m_worldList);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Unchecked);
        item->setData(Qt::UserRole, it.key());
    }
    m_countLabel->setText(tr("区服数量: %1").arg(m_worldCounts.size()));
    addLogLine(STORED_TEXT("加载完成，共 %1 个区服").arg(m_worldCounts.size()));
    detectAccountDatabases();
}

void ZoneWipeDialog::setAllWorldsChecked(bool checked)
{
    for (int i = 0; i < m_worldList->count(); ++i)
        m_worldList->item(i)->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
}

void ZoneWipeDialog::onSelectAll()
{
    setAllWorldsChecked(true);
}

void ZoneWipeDialog::onSelectNone()
{
    setAllWorldsChecked(false);
}

void ZoneWipeDialog::detectAccountDatabases()
{
    m_accountDbList->clear();
    DatabaseManager *db = DatabaseManager::instance();
    if (!db->isConnected())
        return;
    OperationContext context;
    context.onLog = [this](const Message &line) { addLogLine(line); };
    const QStringList names = AccountCleanup::detectAccountDatabases(db->database(), db->storedConfig(), context);
    for (const QString &name : names) {
        auto *item = new QListWidgetItem(name, m_accountDbList);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Unchecked);
        item->setData(Qt::UserRole, name);
    }
}

QStringList ZoneWipeDialog::checkedAccountDatabases() const
{
    QStringList names;
    for (int i = 0; i < m_accountDbList->count(); ++i) {
        if (m_accountDbList->item(i)->checkState() == Qt::Checked)
            names.append(m_accountDbList->item(i)->data(Qt::UserRole).toString());
    }
    return names;
}

void ZoneWipeDialog::onStartDelete()
{
    if (m_task) {
        QMessageBox::warning(this, tr("提示"), tr("删档操作正在进行中，请等待完成"));
        return;
    }
    QList<int> worldIds;
    qint64 characters = 0;
    QStringList idTexts;
    for (int i = 0; i < m_worldList->count(); ++i) {
        const QListWidgetItem *item = m_worldList->item(i);
        if (item->checkState() != Qt::Checked)
            continue;
        const int id = item->data(Qt::UserRole).toInt();
        worldIds.append(id);
        idTexts.append(QString::number(id));
        characters += m_worldCounts.value(id, 0);
    }
    if (worldIds.isEmpty()) {
        QMessageBox::warning(this, tr("提示"), tr("请至少选择一个区服进行删档"));
        return;
    }

    const QString idText = idTexts.join(QStringLiteral(", "));
    const QString server = DatabaseManager::instance()->serverLabel();
    QString text = tr("即将在 %1 上删除以下区服的所有数据：\n\n区服ID: %2\n角色总数: %3\n\n").arg(server, idText, QString::number(characters));
    const QStringList accountDbs = checkedAccountDatabases();
    // What the wipe will delete, table by table, counted where it deletes, as the command line
    // counts it; the accounts for the confirmation (the wipe decides again, with the zone's
    // characters locked).
    ZoneWipe::Request request;
    request.worlds = worldIds;
    request.accountDatabases = accountDbs;
    request.accountServer = DatabaseManager::instance()->storedConfig();
    const ZoneWipe::Preview preview = ZoneWipe::preview(DatabaseManager::instance()->database(), &request);
    if (!preview.ok()) {
        addLogLine(preview.failure);
        QMessageBox::warning(this, tr("失败"), preview.failure.shown());
        return;
    }
    m_accounts = request.accounts;
    if (!accountDbs.isEmpty())
        text += tr("⚠️ 同时删除账号库: %1\n要删除的账号: %2 个\n保留的账号: %3 个（在未删档的区服还有角色）\n\n")
                    .arg(accountDbs.join(QStringLiteral(", ")), QString::number(m_accounts.names.size()), QString::number(m_accounts.kept));
    addLogLine(STORED_TEXT("将删除的数据:"));
    for (const Message &line : preview.lines)
        addLogLine(line);
    text += tr("删除前先写撤销文件，可在“撤销记录”中撤销。各表行数见日志和详细信息。\n\n确定要继续吗？");

    QMessageBox first(QMessageBox::Warning, tr("确认删档"), text, QMessageBox::Yes | QMessageBox::No, this);
    first.setDetailedText(shownLines(preview.lines).join(QLatin1Char('\n')));
    first.setDefaultButton(QMessageBox::No);
    if (first.exec() != QMessageBox::Yes)
        return;
    QMessageBox second(QMessageBox::Critical, tr("最终确认"),
                       tr("这是最终确认！\n\n确定要在 %1 上执行删档操作吗？").arg(server),
                       QMessageBox::Yes | QMessageBox::No, this);
    second.setDefaultButton(QMessageBox::No);
    if (second.exec() != QMessageBox::Yes)
        return;

    // The wipe and the account clean-up run on a connection of their own; the window only reacts.
    auto outcome = std::make_shared<ZoneWipe::Result>();
    Message refusal;
    m_task = SessionTask::start(STORED_TEXT("区服删档"), [request, outcome](QSqlDatabase &db, SessionTask &task) {
        *outcome = ZoneWipe::run(db, request, task.context());
        return outcome->ok;
    }, this, &refusal);
    if (!m_task) {
        QMessageBox::warning(this, tr("提示"), refusal.shown());
        return;
    }
    m_outcome = outcome;
    connect(m_task, &SessionTask::logMessage, this, &ZoneWipeDialog::addLogLine);
    connect(m_task, &SessionTask::progressChanged, this, [this](const Message &stage, qint64 done, qint64 total) {
        showProgress(m_progressBar, stage, done, total);
    });
    connect(m_task, &SessionTask::finished, this, &ZoneWipeDialog::onDeleteFinished);
    m_progressBar->setValue(0);
    addLogLine(STORED_TEXT("========== 开始删档操作 =========="));
    addLogLine(STORED_TEXT("选中区服: %1").arg(idText));
    addLogLine(STORED_TEXT("预计删除角色数: %1").arg(characters));
    updateButtons();
}

void ZoneWipeDialog::updateButtons()
{
    const bool running = m_task != nullptr;
    m_deleteButton->setEnabled(!running && !DatabaseManager::instance()->isBusy());
    m_cancelButton->setEnabled(running && !m_task->isCancelled());
}

void ZoneWipeDialog::onCancelDelete()
{
    if (!m_task)
        return;
    addLogLine(STORED_TEXT("正在取消删档..."));
    m_task->cancel();
    updateButtons();
}

void ZoneWipeDialog::reject()
{
    if (!m_task) {
        QDialog::reject();
        return;
    }
    if (m_closeWhenDone
        || QMessageBox::question(this, tr("确认关闭"),
                                 tr("删档正在进行，关闭将取消删档并回滚。\n\n确定要取消并关闭吗？"),
                                 QMessageBox::Yes | QMessageBox::No, QMessageBox::No) != QMessageBox::Yes)
        return;
    m_closeWhenDone = true;
    onCancelDelete();
}

void ZoneWipeDialog::onDeleteFinished(bool ok, bool cancelled)
{
    m_task->deleteLater();
    m_task = nullptr;
    const ZoneWipe::Result outcome = m_outcome ? *m_outcome : ZoneWipe::Result();
    m_outcome.reset();
    m_accounts = AccountCleanup::WipedAccounts();
    m_progressBar->setFormat(QString());
    updateButtons();
    const QString failure = outcome.accountsFailed
        ? tr("账号删除失败：%1 个角色已删除，账号未全部删除，详见日志").arg(outcome.deleted)
        : cancelled ? tr("删档已取消，数据已回滚") : tr("删档操作失败，数据已回滚");
    if (ok) {
        addLogLine(STORED_TEXT("========== 删档操作完成 =========="));
        m_progressBar->setValue(100);
    } else {
        addLogLine(failure);
        m_progressBar->setValue(0);
    }
    if (m_closeWhenDone) {
        QDialog::reject();
        return;
    }
    if (ok) {
        QString text = tr("删档完成！\n\n共删除 %Ln 个角色数据", nullptr, outcome.deleted);
        if (!outcome.undoPath.isEmpty())
            text += tr("\n\n撤销文件: %1").arg(outcome.undoPath);
        QMessageBox::information(this, tr("完成"), text);
        onRefreshWorldList();
    } else {
        QMessageBox::warning(this, tr("失败"),
                             outcome.undoPath.isEmpty() ? failure : tr("%1\n\n撤销文件: %2").arg(failure, outcome.undoPath));
    }
}
