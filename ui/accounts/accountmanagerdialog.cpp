#include "accountmanagerdialog.h"

#include "db/characterqueries.h"
#include "db/databasemanager.h"
#include "db/sessiontask.h"
#include "base/storedtext.h"
#include "ui/main/changeconfirm.h"
#include "ui/main/mainstyle.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QVBoxLayout>

#include <limits>


namespace {
// The point columns are signed INT: negative balances exist and must survive an edit.
const int kMaxPoint = std::numeric_limits<int>::max();
const int kMinPoint = std::numeric_limits<int>::min();

bool askInt(QWidget *parent, const QString &title, const QString &label, int value, int minimum, int *result)
{
    bool ok = false;
    *result = QInputDialog::getInt(parent, title, label, value, minimum, kMaxPoint, 1, &ok);
    return ok;
}
} // namespace

AccountManagerDialog::AccountManagerDialog(const HostConfig &accountDatabase, QWidget *parent)
    : QDialog(parent)
    , m_connection(accountDatabase)
    , m_store(QStringLiteral("web_connection"))
{
    setWindowTitle(tr("账号管理 - %1@%2").arg(accountDatabase.username, serverLabel(accountDatabase.name, accountDatabase)));
    setMinimumSize(900, 600);
    setModal(true);
    setStyleSheet(darkDialogStyleSheet());

    auto *layout = new QVBoxLayout(this);

    auto *searchRow = new QHBoxLayout;
    searchRow->addWidget(new QLabel(tr("搜索账号:"), this));
    m_searchEdit = new QLineEdit(this);
    m_searchEdit->setPlaceholderText(tr("输入账号名搜索..."));
    searchRow->addWidget(m_searchEdit, 1);
    auto *searchButton = new QPushButton(tr("搜索"), this);
    searchButton->setObjectName(QStringLiteral("searchBtn"));
    auto *refreshButton = new QPushButton(tr("刷新"), this);
    refreshButton->setObjectName(QStringLiteral("refreshBtn"));
    searchRow->addWidget(searchButton);
    searchRow->addWidget(refreshButton);
    layout->addLayout(searchRow);

    // A list that could not be read says so inside the window, which may not be shown yet.
    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("listError"));
    m_status->setStyleSheet(QStringLiteral("color: #ff6b6b;"));
    m_status->setWordWrap(true);
    m_status->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_status->hide();
    layout->addWidget(m_status);

    m_table = new QTableWidget(0, 7, this);
    m_table->setHorizontalHeaderLabels({QStringLiteral("ID"), tr("账号名"), tr("点数"),
                                        tr("额外点数"), tr("在线"), tr("锁定"),
                                        QStringLiteral("GM")});
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::SingleSelection);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->horizontalHeader()->setStretchLastSection(true);
    m_table->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
    layout->addWidget(m_table, 1);

    auto *single = new QGroupBox(tr("单个账号操作"), this);
    auto *singleRow = new QHBoxLayout(single);
    auto *registerButton = new QPushButton(tr("注册账号"), single);
    registerButton->setObjectName(QStringLiteral("registerBtn"));
    m_deleteButton = new QPushButton(tr("删除账号"), single);
    m_deleteButton->setObjectName(QStringLiteral("deleteAccountBtn"));
    m_passwordButton = new QPushButton(tr("修改密码"), single);
    m_passwordButton->setObjectName(QStringLiteral("passwordBtn"));
    m_pointButton = new QPushButton(tr("修改点数"), single);
    m_pointButton->setObjectName(QStringLiteral("pointBtn"));
    for (QPushButton *button : {registerButton, m_deleteButton, m_passwordButton, m_pointButton})
        singleRow->addWidget(button);
    singleRow->addStretch();
    for (QPushButton *button : {m_deleteButton, m_passwordButton, m_pointButton})
        button->setEnabled(false);
    layout->addWidget(single);

    auto *batch = new QGroupBox(tr("批量操作 (对所有账号)"), this);
    auto *batchRow = new QHBoxLayout(batch);
    auto *addAll = new QPushButton(tr("一键增加点数"), batch);
    addAll->setObjectName(QStringLiteral("addPointsBtn"));
    auto *clearAll = new QPushButton(tr("一键清空点数"), batch);
    clearAll->setObjectName(QStringLiteral("clearPointsBtn"));
    auto *setAll = new QPushButton(tr("一键设置点数"), batch);
    setAll->setObjectName(QStringLiteral("setPointsBtn"));
    for (QPushButton *button : {addAll, clearAll, setAll})
        batchRow->addWidget(button);
    batchRow->addStretch();
    layout->addWidget(batch);

    auto *bottom = new QHBoxLayout;
    bottom->addStretch();
    auto *closeButton = new QPushButton(tr("关闭"), this);
    closeButton->setFixedWidth(100);
    bottom->addWidget(closeButton);
    layout->addLayout(bottom);

    connect(searchButton, &QPushButton::clicked, this, &AccountManagerDialog::onSearch);
    connect(m_searchEdit, &QLineEdit::returnPressed, this, &AccountManagerDialog::onSearch);
    connect(refreshButton, &QPushButton::clicked, this, &AccountManagerDialog::onRefresh);
    connect(registerButton, &QPushButton::clicked, this, &AccountManagerDialog::onRegister);
    connect(m_deleteButton, &QPushButton::clicked, this, &AccountManagerDialog::onDelete);
    connect(m_passwordButton, &QPushButton::clicked, this, &AccountManagerDialog::onChangePassword);
    connect(m_pointButton, &QPushButton::clicked, this, &AccountManagerDialog::onModifyPoint);
    connect(addAll, &QPushButton::clicked, this, &AccountManagerDialog::onBatchAddPoint);
    connect(clearAll, &QPushButton::clicked, this, &AccountManagerDialog::onBatchClearPoint);
    connect(setAll, &QPushButton::clicked, this, &AccountManagerDialog::onBatchSetPoint);
    connect(m_table, &QTableWidget::itemSelectionChanged, this, &AccountManagerDialog::onSelectionChanged);
    connect(m_table, &QTableWidget::cellDoubleClicked, this, &AccountManagerDialog::onDoubleClicked);
    connect(closeButton, &QPushButton::clicked, this, &QDialog::close);

    if (connectAccountDatabase())
        loadAccounts(QString());
}

bool AccountManagerDialog::connectAccountDatabase()
{
    if (m_store.open(m_connection))
        return true;
    QMessageBox::critical(this, tr("错误"), tr("无法连接账号数据库: ") + m_store.error().shown());
    return false;
}

void AccountManagerDialog::loadAccounts(const QString &filter)
{
    if (!m_store.isOpen())
        return;
    // Sorting stays off while rows are filled, so that each row keeps one account's cells.
    m_table->setSortingEnabled(false);
    m_table->setRowCount(0);
    const QList<AccountRow> rows = m_store.list(filter);
    m_status->setVisible(!m_store.error().isEmpty());
    if (!m_store.error().isEmpty()) {
        m_table->setSortingEnabled(true);
        m_status->setText(tr("读取账号失败: %1").arg(m_store.error().shown()));
        return;
    }
    m_table->setRowCount(int(rows.size()));
    auto flag = [](bool on) { return on ? tr("是") : tr("否"); };
    // Numbers are held as numbers, so that a header click sorts them as numbers.
    auto number = [](qint64 value) {
        auto *item = new QTableWidgetItem;
        item->setData(Qt::DisplayRole, value);
        return item;
    };
    for (int r = 0; r < rows.size(); ++r) {
        const AccountRow &a = rows.at(r);
        const QList<QTableWidgetItem *> cells = {number(a.id), new QTableWidgetItem(a.name), number(a.point), number(a.expoint),
                                                 new QTableWidgetItem(flag(a.online)), new QTableWidgetItem(flag(a.locked)),
                                                 new QTableWidgetItem(flag(a.gm))};
        for (int c = 0; c < cells.size(); ++c)
            m_table->setItem(r, c, cells.at(c));
    }
    m_table->setSortingEnabled(true);
    onSelectionChanged();
}

QString AccountManagerDialog::hashPassword(const QString &password)
{
    return AccountStore::hashPassword(password);
}

int AccountManagerDialog::currentRow() const
{
    return m_table->currentRow();
}

QString AccountManagerDialog::cellText(int row, int column) const
{
    const QTableWidgetItem *item = m_table->item(row, column);
    return item ? item->text() : QString();
}

bool AccountManagerDialog::confirm(const QString &text)
{
    return confirmChange(this, QMessageBox::Question, tr("确认操作"), text,
                         {tr("  account: %1 条记录（点数）").arg(AccountChange::of(AccountChange::Kind::ClearAll).preview(m_store).rows)});
}

void AccountManagerDialog::change(const QString &what, const AccountChange &operation, const QString &success,
                                  const QString &failurePrefix, bool reload)
{
    // On the session's worker, with an account store of its own there: the window waits.
    auto outcome = std::make_shared<AccountChange::Result>();
    const HostConfig connection = m_connection;
    Message refusal;
    SessionTask *task = SessionTask::start(what, [connection, operation, outcome](QSqlDatabase &, SessionTask &) {
        static std::atomic_int serial{0};
        AccountStore store(QStringLiteral("account_task_%1").arg(++serial));
        if (!store.open(connection)) {
            outcome->failure = store.error();
            return false;
        }
        *outcome = operation.run(store);
        return outcome->ok;
    }, this, &refusal, SessionTask::Connection::Own);
    if (!task) {
        QMessageBox::warning(this, tr("提示"), refusal.shown());
        return;
    }
    setEnabled(false);
    connect(task, &SessionTask::finished, this, [this, task, outcome, success, failurePrefix, reload](bool ok) {
        task->deleteLater();
        setEnabled(true);
        if (!ok) {
            QMessageBox::warning(this, tr("失败"), failurePrefix + outcome->failure.shown());
            return;
        }
        QMessageBox::information(this, tr("成功"), success + undoFileLine(outcome->undoPath));
        if (reload)
            loadAccounts(QString());
    });
}

void AccountManagerDialog::onRefresh()
{
    m_searchEdit->clear();
    loadAccounts(QString());
}

void AccountManagerDialog::onSearch()
{
    loadAccounts(m_searchEdit->text().trimmed());
}

void AccountManagerDialog::onSelectionChanged()
{
    const bool hasRow = m_table->currentRow() >= 0 && !m_table->selectedItems().isEmpty();
    for (QPushButton *button : {m_deleteButton, m_passwordButton, m_pointButton})
        button->setEnabled(hasRow);
}

void AccountManagerDialog::onRegister()
{
    QDialog form(this);
    form.setObjectName(QStringLiteral("registerForm"));
    form.setWindowTitle(tr("注册账号"));
    form.setFixedSize(350, 200);
    form.setStyleSheet(styleSheet());
    auto *layout = new QVBoxLayout(&form);
    auto *fields = new QFormLayout;
    auto *nameEdit = new QLineEdit(&form);
    nameEdit->setObjectName(QStringLiteral("nameEdit"));
    nameEdit->setPlaceholderText(tr("输入账号名"));
    auto *passwordEdit = new QLineEdit(&form);
    passwordEdit->setObjectName(QStringLiteral("passwordEdit"));
    passwordEdit->setPlaceholderText(tr("输入密码"));
    passwordEdit->setEchoMode(QLineEdit::Password);
    fields->addRow(tr("账号名:"), nameEdit);
    fields->addRow(tr("密  码:"), passwordEdit);
    layout->addLayout(fields);
    auto *suffixBox = new QCheckBox(tr("自动添加后缀 ") + accountNameSuffix(), &form);
    suffixBox->setChecked(true);
    layout->addWidget(suffixBox);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &form);
    buttons->button(QDialogButtonBox::Ok)->setText(tr("注册"));
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("registerOkBtn"));
    buttons->button(QDialogButtonBox::Cancel)->setText(tr("取消"));
    connect(buttons, &QDialogButtonBox::accepted, &form, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, &form, &QDialog::reject);
    layout->addWidget(buttons);
    if (form.exec() != QDialog::Accepted)
        return;

    QString name = nameEdit->text().trimmed();
    const QString password = passwordEdit->text();
    if (name.isEmpty()) {
        QMessageBox::warning(this, tr("错误"), tr("账号名不能为空！"));
        return;
    }
    if (password.isEmpty()) {
        QMessageBox::warning(this, tr("错误"), tr("密码不能为空！"));
        return;
    }
    if (suffixBox->isChecked())
        name += accountNameSuffix();
    change(STORED_TEXT("注册账号"), AccountChange::of(AccountChange::Kind::Register, name, password),
           tr("账号 %1 注册成功！").arg(name), tr("注册失败: "));
}

void AccountManagerDialog::onDelete()
{
    const int row = currentRow();
    if (row < 0)
        return;
    const QString name = cellText(row, 1);
    // The account's characters stay in the character database: the operator should know them.
    DatabaseManager *session = DatabaseManager::instance();
    const int characters = session->isConnected() ? CharacterQueries::charactersOfAccount(session->database(), name) : -1;
    QString question = tr("确定要删除账号 %1 吗？").arg(name);
    if (characters > 0)
        question += tr("\n\n⚠️ 该账号在 %1 还有 %2 个角色，删除账号后这些角色将无法登录。").arg(session->serverLabel(), QString::number(characters));
    else if (characters < 0)
        question += tr("\n\n未连接角色库，无法统计该账号的角色。");
    if (!confirmChange(this, QMessageBox::Question, tr("确认删除"), question,
                       {tr("  account: %1 条记录").arg(AccountChange::of(AccountChange::Kind::Delete, name).preview(m_store).rows)}))
        return;
    change(STORED_TEXT("删除账号"), AccountChange::of(AccountChange::Kind::Delete, name),
           tr("账号 %1 已删除！").arg(name), tr("删除失败: "));
}

void AccountManagerDialog::onChangePassword()
{
    const int row = currentRow();
    if (row < 0)
        return;
    const QString name = cellText(row, 1);
    bool accepted = false;
    const QString password = QInputDialog::getText(this, tr("修改密码"),
                                                   tr("为账号 %1 设置新密码:").arg(name),
                                                   QLineEdit::Password, QString(), &accepted);
    if (!accepted || password.isEmpty())
        return;
    change(STORED_TEXT("修改密码"), AccountChange::of(AccountChange::Kind::Password, name, password),
           tr("账号 %1 密码已修改！").arg(name), tr("修改失败: "), false);
}

void AccountManagerDialog::onModifyPoint()
{
    const int row = currentRow();
    if (row < 0)
        return;
    const QString name = cellText(row, 1);
    const int current = cellText(row, 2).toInt();
    int value = 0;
    if (!askInt(this, tr("修改点数"),
                tr("账号 %1 当前点数: %2\n请输入新点数:").arg(name, QString::number(current)), current, kMinPoint, &value))
        return;
    change(STORED_TEXT("修改点数"), AccountChange::of(AccountChange::Kind::Point, name, QString(), value),
           tr("账号 %1 点数已修改为 %2！").arg(name, QString::number(value)), tr("修改失败: "));
}

void AccountManagerDialog::onDoubleClicked(int row, int column)
{
    Q_UNUSED(column);
    if (row < 0)
        return;
    const qint64 id = cellText(row, 0).toLongLong();
    const QString name = cellText(row, 1);
    const int point = cellText(row, 2).toInt();
    const int expoint = cellText(row, 3).toInt();

    QDialog form(this);
    form.setObjectName(QStringLiteral("editForm"));
    form.setWindowTitle(tr("编辑账号 - %1").arg(name));
    form.setFixedSize(400, 280);
    form.setStyleSheet(styleSheet());
    auto *layout = new QVBoxLayout(&form);
    layout->setContentsMargins(20, 20, 20, 20);
    auto *title = new QLabel(tr("账号: <b>%1</b>").arg(name.toHtmlEscaped()), &form);
    title->setStyleSheet(QStringLiteral("color: #3b82f6; font-size: 14px;"));
    layout->addWidget(title);
    auto *fields = new QFormLayout;
    auto *passwordEdit = new QLineEdit(&form);
    passwordEdit->setObjectName(QStringLiteral("passwordEdit"));
    passwordEdit->setEchoMode(QLineEdit::Password);
    passwordEdit->setPlaceholderText(tr("留空则不修改密码"));
    auto *pointBox = new QSpinBox(&form);
    pointBox->setObjectName(QStringLiteral("pointBox"));
    pointBox->setRange(kMinPoint, kMaxPoint);
    pointBox->setValue(point);
    auto *expointBox = new QSpinBox(&form);
    expointBox->setObjectName(QStringLiteral("expointBox"));
    expointBox->setRange(kMinPoint, kMaxPoint);
    expointBox->setValue(expoint);
    // What the form showed, which is what the operator may have changed.
    const int shownPoint = pointBox->value();
    const int shownExpoint = expointBox->value();
    fields->addRow(tr("新密码:"), passwordEdit);
    fields->addRow(tr("点数:"), pointBox);
    fields->addRow(tr("额外点数:"), expointBox);
    layout->addLayout(fields);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    auto *save = new QPushButton(tr("保存"), &form);
    save->setObjectName(QStringLiteral("saveBtn"));
    auto *cancel = new QPushButton(tr("取消"), &form);
    save->setFixedWidth(80);
    cancel->setFixedWidth(80);
    buttons->addWidget(save);
    buttons->addWidget(cancel);
    layout->addLayout(buttons);
    connect(save, &QPushButton::clicked, &form, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, &form, &QDialog::reject);
    if (form.exec() != QDialog::Accepted)
        return;

    QStringList assignments;
    QVariantList values;
    if (!passwordEdit->text().isEmpty()) {
        assignments.append(QStringLiteral("password = ?"));
        values.append(hashPassword(passwordEdit->text()));
    }
    if (pointBox->value() != shownPoint) {
        assignments.append(QStringLiteral("point = ?"));
        values.append(pointBox->value());
    }
    if (expointBox->value() != shownExpoint) {
        assignments.append(QStringLiteral("expoint = ?"));
        values.append(expointBox->value());
    }
    if (assignments.isEmpty()) {
        QMessageBox::information(this, tr("提示"), tr("没有任何修改。"));
        return;
    }
    AccountChange edit = AccountChange::of(AccountChange::Kind::Edit, name);
    edit.id = id;
    edit.assignments = assignments;
    edit.values = values;
    change(STORED_TEXT("编辑账号"), edit,
           tr("账号 %1 已更新！").arg(name), tr("更新失败: "));
}

void AccountManagerDialog::onBatchAddPoint()
{
    int points = 0;
    if (!askInt(this, tr("一键增加点数"), tr("为所有账号增加多少点数?"), 100, 1, &points))
        return;
    if (!confirm(tr("确定要为所有账号增加 %1 点数吗？").arg(points)))
        return;
    change(STORED_TEXT("一键增加点数"), AccountChange::of(AccountChange::Kind::AddToAll, QString(), QString(), points),
           tr("已为所有账号增加 %1 点数！").arg(points), tr("操作失败: "));
}

void AccountManagerDialog::onBatchClearPoint()
{
    if (!confirm(tr("确定要清空所有账号的点数吗？")))
        return;
    change(STORED_TEXT("一键清空点数"), AccountChange::of(AccountChange::Kind::ClearAll), tr("已清空所有账号点数！"),
           tr("操作失败: "));
}

void AccountManagerDialog::onBatchSetPoint()
{
    int points = 0;
    if (!askInt(this, tr("一键设置点数"), tr("将所有账号点数设置为:"), 0, 0, &points))
        return;
    if (!confirm(tr("确定要将所有账号点数设置为 %1 吗？").arg(points)))
        return;
    change(STORED_TEXT("一键设置点数"), AccountChange::of(AccountChange::Kind::SetAll, QString(), QString(), points),
           tr("已将所有账号点数设置为 %1！").arg(points), tr("操作失败: "));
}
