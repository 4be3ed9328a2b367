#include "characterlistdialog.h"

#include "base/dailylog.h"
#include "base/debuglog.h"
#include "base/language.h"
#include "bankdialog.h"
#include "charactereditdialog.h"
#include "charactertablemodel.h"
#include "db/characterqueries.h"
#include "db/connectionrule.h"
#include "db/legacytext.h"
#include "base/storedtext.h"
#include "engine/charactercopier.h"
#include "engine/characteroperation.h"
#include "engine/characterexport.h"
#include "itemconfigmanager.h"
#include "ui/main/changeconfirm.h"
#include "ui/main/logpanel.h"
#include "ui/main/mainstyle.h"
#include "worldidselectordialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringEncoder>
#include <QTableView>
#include <QTextEdit>
#include <QVBoxLayout>

namespace {
// Account and name searches show at most this many characters, highest level first.
const int kSearchLimit = 100;


QString styleSheetText()
{
    return QStringLiteral(R"(
QDialog { background-color: #1e1e2e; color: #e4e4e7; }
QLabel { color: #e4e4e7; }
QLineEdit, QComboBox, QTextEdit { background-color: #2d2d3d; color: #e4e4e7; border: 1px solid #3d3d4d; border-radius: 6px; padding: 4px; }
QTableView { background-color: #2d2d3d; alternate-background-color: #262636; color: #e4e4e7; gridline-color: #3d3d4d; border: 1px solid #3d3d4d; border-radius: 6px; }
QTableView::item:selected { background-color: #3b82f6; color: white; }
QHeaderView::section { background-color: #1e1e2e; color: #e4e4e7; border: 1px solid #3d3d4d; padding: 4px; }
QGroupBox { color: #e4e4e7; border: 1px solid #3d3d4d; border-radius: 6px; margin-top: 12px; padding: 8px; }
QGroupBox::title { subcontrol-origin: margin; left: 10px; padding: 0 4px; }
QPushButton { background-color: #3b82f6; color: white; border: none; border-radius: 6px; padding: 6px 12px; }
QPushButton:hover { background-color: #2563eb; }
QPushButton:pressed { background-color: #1d4ed8; }
QProgressBar { background-color: #2d2d3d; color: #e4e4e7; border: 1px solid #3d3d4d; border-radius: 6px; text-align: center; }
QProgressBar::chunk { background-color: #3b82f6; border-radius: 6px; }
)");
}

} // namespace

CharacterListDialog::CharacterListDialog(QWidget *parent)
    : QDialog(parent)
{
    setWindowTitle(tr("角色管理 - %1").arg(DatabaseManager::instance()->serverLabel()));
    resize(1400, 800);
    setStyleSheet(styleSheetText());
    buildWidgets();
    connect(DatabaseManager::instance(), &DatabaseManager::busyChanged, this, &CharacterListDialog::updateActions);
    updateActions();

    ItemConfigManager *catalogue = ItemConfigManager::instance();
    if (!catalogue->isLoaded()) {
        const QString folder = QDir::toNativeSeparators(applicationDirectory() + QStringLiteral("/Config"));
        onLogMessage(catalogue->loadConfig(applicationDirectory() + QStringLiteral("/Config"))
                         ? STORED_TEXT("物品配置加载成功: %1").arg(folder)
                         : STORED_TEXT("物品配置加载失败，请检查目录 %1").arg(folder));
    }
}

void CharacterListDialog::buildWidgets()
{
    auto *layout = new QVBoxLayout(this);
    layout->setSpacing(10);
    layout->setContentsMargins(15, 15, 15, 15);

    auto *top = new QHBoxLayout;
    top->addWidget(new QLabel(QStringLiteral("ZoneWorldID:"), this));
    m_worldIdEdit = new QLineEdit(this);
    m_worldIdEdit->setPlaceholderText(tr("输入ID，多个用逗号分隔"));
    fitPlaceholder(m_worldIdEdit, 150);
    top->addWidget(m_worldIdEdit);
    auto *selectButton = new QPushButton(tr("批量选择"), this);
    selectButton->setObjectName(QStringLiteral("selectWorldsBtn"));
    selectButton->setFixedWidth(90);
    top->addWidget(selectButton);
    auto *queryButton = new QPushButton(tr("查询"), this);
    queryButton->setObjectName(QStringLiteral("queryBtn"));
    queryButton->setFixedWidth(70);
    top->addWidget(queryButton);
    top->addSpacing(20);
    top->addWidget(new QLabel(tr("搜索:"), this));
    m_searchType = new QComboBox(this);
    m_searchType->addItems({QStringLiteral("CharGUID"), tr("账号"), tr("角色名")});
    m_searchType->setFixedWidth(100);
    top->addWidget(m_searchType);
    m_searchEdit = new QLineEdit(this);
    m_searchEdit->setPlaceholderText(tr("请输入搜索内容"));
    fitPlaceholder(m_searchEdit, 150);
    top->addWidget(m_searchEdit);
    auto *searchButton = new QPushButton(tr("搜索"), this);
    searchButton->setObjectName(QStringLiteral("searchBtn"));
    searchButton->setFixedWidth(70);
    top->addWidget(searchButton);
    top->addStretch();
    m_countLabel = new QLabel(tr("角色数量: 0"), this);
    top->addWidget(m_countLabel);
    layout->addLayout(top);

    m_model = new CharacterTableModel(this);
    m_table = new QTableView(this);
    m_table->setModel(m_model);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::SingleSelection);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setAlternatingRowColors(true);
    // Rows keep the query's order until the operator picks a column.
    m_table->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
    m_table->setSortingEnabled(true);
    m_table->setMinimumHeight(200);
    m_table->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    m_table->horizontalHeader()->setStretchLastSection(true);
    // Each column at least as wide as its title in the window's language (bold in the style).
    QFont bold = m_table->horizontalHeader()->font();
    bold.setBold(true);
    const QFontMetrics titles(bold);
    for (int column = 0; column < m_model->columnCount(); ++column) {
        const int needed = titles.horizontalAdvance(m_model->headerData(column, Qt::Horizontal).toString()) + 28;
        if (m_table->horizontalHeader()->sectionSize(column) < needed)
            m_table->horizontalHeader()->resizeSection(column, needed);
    }
    m_table->setContextMenuPolicy(Qt::CustomContextMenu);
    layout->addWidget(m_table, 1);

    auto *buttons = new QHBoxLayout;
    auto *exportButton = new QPushButton(tr("导出列表"), this);
    exportButton->setObjectName(QStringLiteral("exportBtn"));
    auto *editButton = new QPushButton(tr("编辑角色"), this);
    editButton->setObjectName(QStringLiteral("editBtn"));
    m_cancelButton = new QPushButton(tr("取消"), this);
    m_cancelButton->setObjectName(QStringLiteral("cancelBtn"));
    m_cancelButton->setToolTip(tr("取消正在进行的操作"));
    auto *closeButton = new QPushButton(tr("关闭"), this);
    closeButton->setObjectName(QStringLiteral("closeBtn"));
    connect(closeButton, &QPushButton::clicked, this, &QDialog::reject);
    buttons->addWidget(exportButton);
    buttons->addWidget(editButton);
    buttons->addStretch();
    buttons->addWidget(m_cancelButton);
    buttons->addWidget(closeButton);
    layout->addLayout(buttons);
    m_sessionWidgets = {selectButton, queryButton, searchButton, m_searchEdit, editButton};

    const LogPanel panel = createLogPanel(this, 20);
    m_logView = panel.view;
    m_logView->setMaximumHeight(100);
    m_progress = panel.progress;
    layout->addWidget(panel.group);

    m_contextMenu = new QMenu(this);
    connect(m_contextMenu->addAction(tr("编辑角色")), &QAction::triggered, this,
            &CharacterListDialog::onContextEditCharacter);
    connect(m_contextMenu->addAction(tr("技能修复")), &QAction::triggered, this,
            &CharacterListDialog::onContextRepairSkill);
    connect(m_contextMenu->addAction(tr("复制角色")), &QAction::triggered, this,
            &CharacterListDialog::onContextCopyCharacter);
    connect(m_contextMenu->addAction(tr("跨区转移角色")), &QAction::triggered, this,
            &CharacterListDialog::onContextTransferCharacter);
    connect(m_contextMenu->addAction(tr("查看仓库")), &QAction::triggered, this,
            &CharacterListDialog::onContextViewBank);
    m_contextMenu->addSeparator();
    connect(m_contextMenu->addAction(tr("删除角色")), &QAction::triggered, this,
            &CharacterListDialog::onContextDeleteCharacter);

    connect(selectButton, &QPushButton::clicked, this, &CharacterListDialog::onSelectWorldIds);
    connect(queryButton, &QPushButton::clicked, this, &CharacterListDialog::onQueryCharacters);
    connect(searchButton, &QPushButton::clicked, this, &CharacterListDialog::onSearchCharacters);
    connect(m_searchEdit, &QLineEdit::returnPressed, this, &CharacterListDialog::onSearchCharacters);
    connect(m_worldIdEdit, &QLineEdit::returnPressed, this, &CharacterListDialog::onQueryCharacters);
    // Enter runs the query or the search of its box and nothing else: no button is a default.
    for (QPushButton *button : findChildren<QPushButton *>())
        button->setAutoDefault(false);
    connect(exportButton, &QPushButton::clicked, this, &CharacterListDialog::onExportCharacters);
    connect(editButton, &QPushButton::clicked, this, &CharacterListDialog::onEditCharacter);
    connect(m_table, &QTableView::doubleClicked, this, [this](const QModelIndex &index) {
        onCharacterDoubleClicked(index.row(), index.column());
    });
    connect(m_table, &QTableView::customContextMenuRequested, this, &CharacterListDialog::onShowContextMenu);
    connect(m_cancelButton, &QPushButton::clicked, this, &CharacterListDialog::onCancelOperation);
}

void CharacterListDialog::updateActions()
{
    const bool busy = DatabaseManager::instance()->isBusy();
    for (QWidget *widget : std::as_const(m_sessionWidgets))
        widget->setEnabled(!busy);
    m_cancelButton->setEnabled(m_task && m_cancellable && !m_task->isCancelled());
}

void CharacterListDialog::runOperation(const QString &what, bool cancellable, SessionTask::Work work,
                                       const std::function<void(bool ok, bool cancelled)> &done)
{
    Message refusal;
    m_task = SessionTask::start(what, std::move(work), this, &refusal);
    if (!m_task) {
        QMessageBox::warning(this, tr("提示"), refusal.shown());
        return;
    }
    m_cancellable = cancellable;
    connect(m_task, &SessionTask::logMessage, this, &CharacterListDialog::onLogMessage);
    connect(m_task, &SessionTask::progressChanged, this, [this](const Message &stage, qint64 done, qint64 total) {
        showProgress(m_progress, stage, done, total);
    });
    connect(m_task, &SessionTask::finished, this, [this, done](bool ok, bool cancelled) {
        m_task->deleteLater();
        m_task = nullptr;
        // The bar says how the operation ended, never where a failed one stopped.
        m_progress->setValue(ok ? 100 : 0);
        m_progress->setFormat(ok ? QStringLiteral("%p%") : cancelled ? tr("已取消") : tr("失败"));
        updateActions();
        if (m_closeWhenDone) {
            QDialog::reject();
            return;
        }
        done(ok, cancelled);
    });
    updateActions();
}

void CharacterListDialog::onCancelOperation()
{
    if (!m_task || !m_cancellable)
        return;
    onLogMessage(STORED_TEXT("正在取消..."));
    m_task->cancel();
    updateActions();
}

void CharacterListDialog::reject()
{
    if (!m_task) {
        QDialog::reject();
        return;
    }
    const QString question = m_cancellable ? tr("操作正在进行，关闭将取消它并回滚。\n\n确定要取消并关闭吗？")
                                           : tr("操作正在进行，窗口将在它完成后关闭。\n\n确定要关闭吗？");
    if (m_closeWhenDone
        || QMessageBox::question(this, tr("确认关闭"), question, QMessageBox::Yes | QMessageBox::No, QMessageBox::No)
            != QMessageBox::Yes)
        return;
    m_closeWhenDone = true;
    onCancelOperation();
}

void CharacterListDialog::onLogMessage(const Message &message)
{
    const QString line = m_logView->addLine(message);
    appendToDailyLog(QStringLiteral("character_"), line);
}

QList<int> CharacterListDialog::parseWorldIds() const
{
    QList<int> ids;
    const QString text = m_worldIdEdit->text().trimmed();
    for (const QString &part : text.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        bool ok = false;
        const int id = part.trimmed().toInt(&ok);
        if (ok && id >= 1)
            ids.append(id);
    }
    return ids;
}

QString CharacterListDialog::cellText(int row, int column) const
{
    if (row < 0 || row >= m_model->rowCount())
        return QString();
    return m_model->cellText(row, column);
}

int CharacterListDialog::selectedCharGuid() const
{
    const int row = m_table->currentIndex().row();
    if (row < 0 || row >= m_model->rowCount())
        return -1;
    return cellText(row, 0).toInt();
}

const QList<CharacterSummary> &CharacterListDialog::currentCharacters() const
{
    return m_model->characters();
}

void CharacterListDialog::showCharacters(const QList<CharacterSummary> &characters)
{
    m_model->setCharacters(characters);
    m_countLabel->setText(tr("角色数量: %1").arg(characters.size()));
}

void CharacterListDialog::onQueryCharacters()
{
    const QList<int> ids = parseWorldIds();
    if (ids.isEmpty()) {
        QMessageBox::warning(this, tr("警告"), tr("请输入有效的 ZoneWorldID"));
        return;
    }
    m_showingSearch = false;
    onLogMessage(STORED_TEXT("查询角色..."));
    Message error;
    if (!DatabaseManager::instance()->ensureUsable(&error)) {
        showFailure(STORED_TEXT("查询失败"), error);
        return;
    }
    // Large zones take seconds: read on the worker, and show once everything has arrived.
    auto found = std::make_shared<CharacterQueries::Result>();
    runOperation(STORED_TEXT("查询角色"), false, [ids, found](QSqlDatabase &db, SessionTask &) {
        *found = CharacterQueries::byWorlds(db, ids);
        return found->ok;
    }, [this, found](bool ok, bool) {
        if (!ok) {
            showFailure(STORED_TEXT("查询失败"), found->error);
            return;
        }
        showCharacters(found->characters);
        onLogMessage(STORED_COUNT("查询完成，找到 %Ln 个角色").count(found->characters.size()));
        found->characters.clear();
    });
}

void CharacterListDialog::showFailure(const Message &what, const Message &error)
{
    showCharacters({});
    onLogMessage(Message::source(QStringLiteral("%1: %2")).arg(what, error));
    QMessageBox::warning(this, tr("失败"), QStringLiteral("%1\n\n%2").arg(what.shown(), error.shown()));
}

void CharacterListDialog::onSearchCharacters()
{
    const QString text = m_searchEdit->text().trimmed();
    if (text.isEmpty()) {
        QMessageBox::warning(this, tr("警告"), tr("请输入搜索内容"));
        return;
    }
    m_showingSearch = true;
    const QString type = m_searchType->currentText();
    const CharacterQueries::SearchBy by = type == QStringLiteral("CharGUID") ? CharacterQueries::SearchBy::CharGuid
        : type == tr("账号")                                      ? CharacterQueries::SearchBy::Account
                                                                              : CharacterQueries::SearchBy::Name;
    if (by == CharacterQueries::SearchBy::CharGuid && CharacterQueries::parseCharGuid(text) < 1) {
        QMessageBox::warning(this, tr("警告"), tr("CharGUID必须是正整数\n支持格式: 11001234 或 A7DD92 或 0xA7DD92"));
        return;
    }
    onLogMessage(STORED_TEXT("搜索角色 [类型: %1]: %2").arg(type, text));
    DatabaseManager *session = DatabaseManager::instance();
    Message error;
    if (!session->ensureUsable(&error)) {
        showFailure(STORED_TEXT("搜索失败"), error);
        return;
    }
    const CharacterQueries::Result result = CharacterQueries::search(session->database(), by, text, kSearchLimit);
    if (!result.ok) {
        showFailure(STORED_TEXT("搜索失败"), result.error);
        return;
    }
    showCharacters(result.characters);
    onLogMessage(STORED_COUNT("搜索完成，找到 %Ln 个角色").count(result.characters.size()));
    if (result.cut) {
        onLogMessage(STORED_TEXT("仅显示前 %1 个结果").arg(kSearchLimit));
        m_countLabel->setText(m_countLabel->text() + tr("（%1）").arg(tr("仅显示前 %1 个结果").arg(kSearchLimit)));
    }
}

void CharacterListDialog::onSelectWorldIds()
{
    const QMap<int, int> stats = DatabaseManager::instance()->worldIdStatistics();
    if (stats.isEmpty()) {
        QMessageBox::information(this, tr("提示"),
                                 tr("当前数据库中没有找到任何WorldID\n请确保数据库已连接且包含角色数据"));
        return;
    }
    WorldIdSelectorDialog selector(this);
    selector.setWorldIds(stats.keys(), stats);
    if (selector.exec() != QDialog::Accepted)
        return;
    const QList<int> ids = selector.selectedWorldIds();
    if (ids.isEmpty())
        return;
    QStringList texts;
    for (int id : ids)
        texts.append(QString::number(id));
    m_worldIdEdit->setText(texts.join(QLatin1Char(',')));
    onLogMessage(STORED_TEXT("已选择 %1 个WorldID: %2").arg(ids.size()).arg(texts.join(QStringLiteral(", "))));
}

void CharacterListDialog::openEditor(int charguid)
{
    if (const Message refusal = DatabaseManager::instance()->busyRefusal(); !refusal.isEmpty()) {
        QMessageBox::warning(this, tr("提示"), refusal.shown());
        return;
    }
    CharacterEditDialog editor(charguid, this);
    if (editor.exec() == QDialog::Accepted) {
        onLogMessage(STORED_TEXT("角色数据已修改"));
        // The list the operator was looking at, again: the search's, or the worlds'.
        if (m_showingSearch)
            onSearchCharacters();
        else
            onQueryCharacters();
    }
}

void CharacterListDialog::onEditCharacter()
{
    const int row = m_table->currentIndex().row();
    if (row < 0) {
        QMessageBox::warning(this, tr("警告"), tr("请先选择要编辑的角色"));
        return;
    }
    if (row >= m_model->rowCount())
        return;
    const int guid = cellText(row, 0).toInt();
    if (guid <= 0) {
        QMessageBox::warning(this, tr("错误"), tr("无效的角色 GUID"));
        return;
    }
    onLogMessage(STORED_TEXT("打开角色编辑: CharGUID = %1").arg(guid));
    openEditor(guid);
}

void CharacterListDialog::onContextEditCharacter()
{
    onEditCharacter();
}

void CharacterListDialog::onCharacterDoubleClicked(int row, int column)
{
    Q_UNUSED(column);
    if (row < 0 || row >= m_model->rowCount())
        return;
    const int guid = cellText(row, 0).toInt();
    if (guid <= 0)
        return;
    onLogMessage(STORED_TEXT("双击编辑角色: CharGUID = %1").arg(guid));
    openEditor(guid);
}

void CharacterListDialog::onShowContextMenu(const QPoint &pos)
{
    if (!m_table->indexAt(pos).isValid())
        return;
    m_contextMenu->exec(m_table->viewport()->mapToGlobal(pos));
}

bool CharacterListDialog::confirmRows(QMessageBox::Icon icon, const Message &title, const QString &question,
                                      const QList<RowPreview::Count> &counts)
{
    const QList<Message> shown = RowPreview::lines(counts, true);
    onLogMessage(STORED_TEXT("%1: 将改动的数据:").arg(title));
    for (const Message &line : shown)
        onLogMessage(line);
    return confirmChange(this, icon, title.shown(), question, shown, RowPreview::lines(counts));
}

int CharacterListDialog::requireSelectedCharacter()
{
    if (const Message refusal = DatabaseManager::instance()->busyRefusal(); !refusal.isEmpty()) {
        QMessageBox::warning(this, tr("提示"), refusal.shown());
        return 0;
    }
    const int guid = selectedCharGuid();
    if (guid <= 0) {
        QMessageBox::warning(this, tr("警告"), tr("请先选择角色"));
        return 0;
    }
    return guid;
}

void CharacterListDialog::runCharacterOperation(const QString &what, const CharacterOperation::Request &request,
                                                const std::function<void(const CharacterOperation::Result &)> &done)
{
    auto result = std::make_shared<CharacterOperation::Result>();
    const bool cancellable = request.kind == CharacterOperation::Kind::Copy || request.kind == CharacterOperation::Kind::Repair;
    runOperation(what, cancellable, [request, result](QSqlDatabase &db, SessionTask &task) {
        *result = CharacterOperation::run(db, request, task.context());
        return result->ok;
    }, [this, result, done](bool ok, bool cancelled) {
        if (!ok) {
            QMessageBox::warning(this, tr("失败"),
                                 cancelled                   ? tr("操作已取消，数据已回滚")
                                 : result->failure.isEmpty() ? tr("操作失败，数据已回滚，详见日志")
                                                             : tr("操作失败，数据已回滚\n\n%1").arg(result->failure.shown()));
            return;
        }
        done(*result);
    });
}

CharacterOperation::Request CharacterListDialog::selectedRequest(CharacterOperation::Kind kind)
{
    CharacterOperation::Request request;
    request.kind = kind;
    request.charguid = requireSelectedCharacter();
    return request;
}

void CharacterListDialog::onContextRepairSkill()
{
    CharacterOperation::Request request = selectedRequest(CharacterOperation::Kind::Repair);
    if (request.charguid <= 0)
        return;
    const int guid = request.charguid;
    if (!confirmRows(QMessageBox::Question, STORED_TEXT("确认技能修复"),
                     tr("确认要修复 CharGUID=%1 的重复技能吗？\n\n此操作将删除重复技能并按skid升序排列").arg(guid),
                     CharacterOperation::preview(DatabaseManager::instance()->database(), &request).rows))
        return;
    runCharacterOperation(STORED_TEXT("修复技能"), request, [this, guid](const CharacterOperation::Result &result) {
        if (result.removed != 0) {
            onLogMessage(STORED_TEXT("CharGUID=%1 技能修复完成，删除 %2 条重复记录").arg(guid).arg(result.removed));
            QMessageBox::information(this, tr("完成"),
                                     tr("技能修复完成！\n删除了 %1 条重复记录").arg(result.removed) + undoFileLine(result.undoFile));
        } else {
            onLogMessage(STORED_TEXT("CharGUID=%1 没有发现重复技能").arg(guid));
            QMessageBox::information(this, tr("完成"), tr("没有发现重复技能"));
        }
    });
}

void CharacterListDialog::onContextCopyCharacter()
{
    CharacterOperation::Request request = selectedRequest(CharacterOperation::Kind::Copy);
    if (request.charguid <= 0)
        return;
    const int guid = request.charguid;
    const QString name = cellText(m_table->currentIndex().row(), 1);

    QDialog ask(this);
    ask.setWindowTitle(tr("复制角色"));
    ask.setMinimumWidth(400);
    auto *layout = new QVBoxLayout(&ask);
    layout->addWidget(new QLabel(tr("将角色 [%1] (GUID=%2) 复制到哪个账号？").arg(name, QString::number(guid)), &ask));
    layout->addWidget(new QLabel(tr("请输入目标账号名称:"), &ask));
    auto *accountEdit = new QLineEdit(&ask);
    layout->addWidget(accountEdit);
    auto *suffix = new QCheckBox(tr("自动添加后缀 ") + accountNameSuffix(), &ask);
    layout->addWidget(suffix);
    // The copy's name: a free one drawn now, which the operator may change; the copy gets
    // exactly this name, or is refused when it is taken by then.
    layout->addWidget(new QLabel(tr("新角色名:"), &ask));
    auto *nameEdit = new QLineEdit(CharacterCopier::freeRandomName(DatabaseManager::instance()->database()), &ask);
    nameEdit->setObjectName(QStringLiteral("newName"));
    layout->addWidget(nameEdit);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &ask);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, &ask, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, &ask, &QDialog::reject);
    if (ask.exec() != QDialog::Accepted)
        return;
    request.account = accountEdit->text().trimmed();
    if (request.account.isEmpty())
        return;
    if (suffix->isChecked() && !request.account.contains(QLatin1Char('@')))
        request.account += accountNameSuffix();
    request.newName = nameEdit->text().trimmed();
    request.accounts = DatabaseManager::instance()->storedConfig();

    const CharacterOperation::Preview preview = CharacterOperation::preview(DatabaseManager::instance()->database(), &request);
    if (!preview.refusal.isEmpty()) {
        onLogMessage(preview.refusal);
        QMessageBox::warning(this, tr("无法复制"), preview.refusal.shown());
        return;
    }
    if (!confirmRows(QMessageBox::Question, STORED_TEXT("确认复制"),
                     tr("即将在 %1 上复制角色:\n\n源角色: %2 (GUID=%3)\n目标账号: %4\n新角色名: %5")
                         .arg(DatabaseManager::instance()->serverLabel(), name, QString::number(guid), request.account, request.newName),
                     preview.rows))
        return;
    runCharacterOperation(STORED_TEXT("复制角色"), request, [this, account = request.account](const CharacterOperation::Result &result) {
        QMessageBox::information(this, tr("完成"),
                                 tr("角色复制成功！\n\n新CharGUID: %1\n新角色名: %2\n目标账号: %3\n\n注意: 好友/师徒等社交关系不会被复制")
                                         .arg(result.newGuid).arg(result.newName, account)
                                     + undoFileLine(result.undoFile));
    });
}

void CharacterListDialog::onContextTransferCharacter()
{
    CharacterOperation::Request request = selectedRequest(CharacterOperation::Kind::Transfer);
    if (request.charguid <= 0)
        return;
    const int guid = request.charguid;
    const QString name = cellText(m_table->currentIndex().row(), 1);
    bool ok = false;
    request.world = QInputDialog::getInt(this, tr("转移角色"),
                                         tr("将角色 [%1] (GUID=%2) 转移到哪个服务器？\n\n请输入目标 WorldID:").arg(name, QString::number(guid)),
                                         1, 1, 999999, 1, &ok);
    if (!ok)
        return;
    const CharacterOperation::Preview preview = CharacterOperation::preview(DatabaseManager::instance()->database(), &request);
    if (!preview.nothingToDo.isEmpty()) {
        onLogMessage(preview.nothingToDo);
        QMessageBox::information(this, tr("提示"), tr("角色已在 WorldID %1，无需转移").arg(request.world));
        return;
    }
    if (!preview.refusal.isEmpty()) {
        onLogMessage(preview.refusal);
        QMessageBox::warning(this, tr("无法转移"), preview.refusal.shown());
        return;
    }
    if (!confirmRows(QMessageBox::Question, STORED_TEXT("确认转移"),
                     tr("即将转移角色:\n\n角色: %1 (GUID=%2)\n目标WorldID: %3").arg(name, QString::number(guid), QString::number(request.world)),
                     preview.rows))
        return;
    runCharacterOperation(STORED_TEXT("转移角色"), request, [this, guid, world = request.world](const CharacterOperation::Result &result) {
        QMessageBox::information(this, tr("成功"),
                                 tr("角色转移成功!\n\nCharGUID: %1\n新WorldID: %2\n\n已同步更新:\n• 角色主表\n• 角色装备\n• 时装装备\n• 珍兽装备")
                                         .arg(guid).arg(world)
                                     + undoFileLine(result.undoFile));
        if (!m_worldIdEdit->text().trimmed().isEmpty())
            onQueryCharacters();
    });
}

void CharacterListDialog::onContextDeleteCharacter()
{
    CharacterOperation::Request request = selectedRequest(CharacterOperation::Kind::Delete);
    if (request.charguid <= 0)
        return;
    const QString name = cellText(m_table->currentIndex().row(), 1);
    if (!confirmRows(QMessageBox::Warning, STORED_TEXT("确认删除"),
                     tr("确认要删除角色 [%1] (GUID=%2) 及其所有关联数据吗？").arg(name, QString::number(request.charguid)),
                     CharacterOperation::preview(DatabaseManager::instance()->database(), &request).rows))
        return;
    runCharacterOperation(STORED_TEXT("删除角色"), request, [this](const CharacterOperation::Result &result) {
        QMessageBox::information(this, tr("完成"), tr("角色删除成功") + undoFileLine(result.undoFile));
        if (!m_worldIdEdit->text().trimmed().isEmpty())
            onQueryCharacters();
    });
}

void CharacterListDialog::onContextViewBank()
{
    const int guid = requireSelectedCharacter();
    if (guid <= 0)
        return;
    const QString name = cellText(m_table->currentIndex().row(), 1);
    onLogMessage(STORED_TEXT("查看角色仓库: %1 (GUID=%2)").arg(name, QString::number(guid)));
    BankDialog bank(guid, name, this);
    bank.exec();
}

void CharacterListDialog::onExportCharacters()
{
    if (m_model->characters().isEmpty()) {
        QMessageBox::warning(this, tr("警告"), tr("请先查询角色"));
        return;
    }
    const QString proposed = CharacterExport::defaultPath(parseWorldIds());
    const QString path = QFileDialog::getSaveFileName(this, tr("导出角色列表"), proposed,
                                                      tr("CSV 文件 (*.csv)"));
    if (path.isEmpty())
        return;
    // A local file of the rows already listed: quick enough for the window's own thread.
    OperationContext context;
    context.onLog = [this](const Message &line) { onLogMessage(line); };
    context.onProgress = [this](const Message &stage, qint64 done, qint64 total) { showProgress(m_progress, stage, done, total); };
    if (!CharacterExport::run({m_model->characters(), path}, context).ok)
        QMessageBox::warning(this, tr("失败"), tr("导出失败，详见操作日志"));
}
