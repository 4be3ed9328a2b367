#include "hostconfigdialog.h"

#include "mainstyle.h"

#include "db/databasemanager.h"
#include "db/sessiontask.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

HostConfigDialog::HostConfigDialog(const HostConfigList &configs, QWidget *parent)
    : QDialog(parent)
    , m_configs(configs)
{
    setWindowTitle(tr("主机配置管理"));
    setMinimumSize(500, 400);
    setModal(true);

    auto *layout = new QVBoxLayout(this);
    layout->setSpacing(15);
    layout->setContentsMargins(20, 20, 20, 20);

    auto *title = new QLabel(tr("管理数据库连接配置"), this);
    title->setStyleSheet(QStringLiteral("font-size: 14px; font-weight: bold; color: #3b82f6;"));
    layout->addWidget(title);

    auto *middle = new QHBoxLayout;
    m_list = new QListWidget(this);
    m_list->setAlternatingRowColors(true);
    middle->addWidget(m_list, 1);
    auto *column = new QVBoxLayout;
    auto *addButton = new QPushButton(tr("添加"), this);
    addButton->setObjectName(QStringLiteral("addBtn"));
    auto *editButton = new QPushButton(tr("编辑"), this);
    editButton->setObjectName(QStringLiteral("editBtn"));
    auto *removeButton = new QPushButton(tr("删除"), this);
    removeButton->setObjectName(QStringLiteral("removeBtn"));
    for (QPushButton *button : {addButton, editButton, removeButton}) {
        button->setFixedWidth(70);
        column->addWidget(button);
    }
    column->addStretch();
    middle->addLayout(column);
    layout->addLayout(middle);

    auto *bottom = new QHBoxLayout;
    bottom->addStretch();
    auto *saveButton = new QPushButton(tr("保存"), this);
    saveButton->setObjectName(QStringLiteral("saveBtn"));
    auto *cancelButton = new QPushButton(tr("取消"), this);
    cancelButton->setObjectName(QStringLiteral("cancelBtn"));
    saveButton->setFixedWidth(80);
    cancelButton->setFixedWidth(80);
    bottom->addWidget(saveButton);
    bottom->addWidget(cancelButton);
    layout->addLayout(bottom);

    connect(addButton, &QPushButton::clicked, this, &HostConfigDialog::onAddConfig);
    connect(editButton, &QPushButton::clicked, this, &HostConfigDialog::onEditConfig);
    connect(removeButton, &QPushButton::clicked, this, &HostConfigDialog::onRemoveConfig);
    connect(saveButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancelButton, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_list, &QListWidget::itemDoubleClicked, this, &HostConfigDialog::onItemDoubleClicked);

    setStyleSheet(hostDialogStyleSheet());
    refreshList();
}

void HostConfigDialog::refreshList()
{
    m_list->clear();
    for (const HostConfig &config : std::as_const(m_configs))
        m_list->addItem(config.name);
}

void HostConfigDialog::onAddConfig()
{
    HostConfig config = HostConfig::initial(tr("新配置"));
    if (editConfig(config, true)) {
        m_configs.append(config);
        refreshList();
    }
}

void HostConfigDialog::onEditConfig()
{
    const int row = m_list->currentRow();
    if (row < 0 || row >= m_configs.size())
        return;
    HostConfig config = m_configs.at(row);
    if (editConfig(config, false)) {
        m_configs[row] = config;
        refreshList();
    }
}

void HostConfigDialog::onRemoveConfig()
{
    const int row = m_list->currentRow();
    if (row < 0 || row >= m_configs.size())
        return;
    const auto answer = QMessageBox::question(
        this, tr("确认删除"),
        tr("确定要删除配置 \"%1\" 吗？").arg(m_configs.at(row).name),
        QMessageBox::Yes | QMessageBox::No);
    if (answer == QMessageBox::Yes) {
        m_configs.removeAt(row);
        refreshList();
    }
}

void HostConfigDialog::onItemDoubleClicked(QListWidgetItem *item)
{
    Q_UNUSED(item);
    onEditConfig();
}

bool HostConfigDialog::editConfig(HostConfig &config, bool isNew)
{
    QDialog form(this);
    form.setObjectName(QStringLiteral("hostEntryForm"));
    form.setWindowTitle(isNew ? tr("添加配置") : tr("编辑配置"));
    form.setMinimumWidth(450);
    form.setStyleSheet(styleSheet());

    auto *layout = new QVBoxLayout(&form);
    layout->setSpacing(10);
    layout->setContentsMargins(20, 20, 20, 20);

    auto lineEdit = [&form](const QString &objectName, const QString &text) {
        auto *edit = new QLineEdit(text, &form);
        edit->setObjectName(objectName);
        return edit;
    };
    auto portEdit = [&lineEdit](const QString &objectName, int port) {
        QLineEdit *edit = lineEdit(objectName, QString::number(port));
        edit->setFixedWidth(80);
        return edit;
    };

    auto *charHeading = new QLabel(tr("角色数据库配置"), &form);
    charHeading->setStyleSheet(QStringLiteral("font-weight: bold; color: #3b82f6;"));
    layout->addWidget(charHeading);
    auto *charForm = new QFormLayout;
    charForm->setVerticalSpacing(8);
    QLineEdit *nameEdit = lineEdit(QStringLiteral("nameEdit"), config.name);
    QLineEdit *hostEdit = lineEdit(QStringLiteral("hostEdit"), config.host);
    QLineEdit *portField = portEdit(QStringLiteral("portEdit"), config.port);
    QLineEdit *userEdit = lineEdit(QStringLiteral("userEdit"), config.username);
    QLineEdit *passwordEdit = lineEdit(QStringLiteral("passwordEdit"), config.password);
    passwordEdit->setEchoMode(QLineEdit::Password);
    QLineEdit *databaseEdit = lineEdit(QStringLiteral("databaseEdit"), config.database);
    charForm->addRow(tr("配置名称:"), nameEdit);
    charForm->addRow(tr("主机地址:"), hostEdit);
    charForm->addRow(tr("端口:"), portField);
    charForm->addRow(tr("用户名:"), userEdit);
    charForm->addRow(tr("密码:"), passwordEdit);
    charForm->addRow(tr("数据库:"), databaseEdit);
    layout->addLayout(charForm);

    layout->addSpacing(10);
    auto *webHeading = new QLabel(tr("账号数据库配置"), &form);
    webHeading->setStyleSheet(QStringLiteral("font-weight: bold; color: #10b981;"));
    layout->addWidget(webHeading);
    auto *webForm = new QFormLayout;
    webForm->setVerticalSpacing(8);
    // An empty field means the character server's value, so that an entry whose accounts live
    // on the same server is typed once and follows it when it changes.
    auto ownValue = [](const QString &web, const QString &character) { return web == character ? QString() : web; };
    QLineEdit *webHostEdit = lineEdit(QStringLiteral("webHostEdit"), ownValue(config.accountHost, config.host));
    QLineEdit *webPortField = lineEdit(QStringLiteral("webPortEdit"),
                                       config.accountPort == 0 || config.accountPort == config.port ? QString() : QString::number(config.accountPort));
    webPortField->setFixedWidth(80);
    QLineEdit *webUserEdit = lineEdit(QStringLiteral("webUserEdit"), ownValue(config.accountUsername, config.username));
    QLineEdit *webPasswordEdit = lineEdit(QStringLiteral("webPasswordEdit"), ownValue(config.accountPassword, config.password));
    webPasswordEdit->setEchoMode(QLineEdit::Password);
    for (QLineEdit *edit : {webHostEdit, webPortField, webUserEdit, webPasswordEdit})
        edit->setPlaceholderText(tr("同角色数据库"));
    QLineEdit *webDatabaseEdit = lineEdit(QStringLiteral("webDatabaseEdit"), config.accountDatabase);
    webForm->addRow(tr("主机地址:"), webHostEdit);
    webForm->addRow(tr("端口:"), webPortField);
    webForm->addRow(tr("用户名:"), webUserEdit);
    webForm->addRow(tr("密码:"), webPasswordEdit);
    webForm->addRow(tr("数据库:"), webDatabaseEdit);
    layout->addLayout(webForm);

    auto collect = [&] {
        HostConfig c;
        c.name = nameEdit->text().trimmed();
        c.host = hostEdit->text().trimmed();
        c.port = portField->text().toInt();
        c.username = userEdit->text().trimmed();
        c.password = passwordEdit->text();
        c.database = databaseEdit->text().trimmed();
        c.accountHost = webHostEdit->text().trimmed();
        c.accountPort = webPortField->text().toInt();
        c.accountUsername = webUserEdit->text().trimmed();
        c.accountPassword = webPasswordEdit->text();
        c.accountDatabase = webDatabaseEdit->text().trimmed();
        if (c.name.isEmpty())
            c.name = c.host;
        return c;
    };

    auto *testRow = new QHBoxLayout;
    auto *testButton = new QPushButton(tr("测试连接"), &form);
    testButton->setObjectName(QStringLiteral("testConnectionButton"));
    auto *testResult = new QLabel(&form);
    testResult->setObjectName(QStringLiteral("testResult"));
    testResult->setWordWrap(true);
    testResult->setTextInteractionFlags(Qt::TextSelectableByMouse);
    testRow->addWidget(testButton);
    testRow->addWidget(testResult, 1);
    layout->addLayout(testRow);
    connect(testButton, &QPushButton::clicked, &form, [&collect, testButton, testResult, &form] {
        testButton->setEnabled(false);
        testResult->setText(tr("正在连接…"));
        const HostConfig entry = collect();
        // Off the window's thread: a server that does not answer holds only this label.
        auto lines = std::make_shared<QStringList>();
        SessionTask *task = SessionTask::startDetached([entry, lines](QSqlDatabase &, SessionTask &) {
            auto probe = [&lines](const QString &what, const HostConfig &config) {
                const ConnectionOutcome outcome = DatabaseManager::probe(config, true);
                const QString server = QStringLiteral("%1:%2/%3").arg(config.host, QString::number(config.port), config.database);
                lines->append(outcome.ok ? tr("%1 %2: 连接成功").arg(what, server)
                                         : tr("%1 %2: 连接失败: %3").arg(what, server, outcome.failureReason().shown()));
            };
            probe(tr("角色数据库"), entry);
            probe(tr("账号数据库"), accountDatabaseConfig(entry));
            return true;
        }, &form);
        connect(task, &SessionTask::finished, &form, [task, lines, testButton, testResult] {
            task->deleteLater();
            testButton->setEnabled(true);
            testResult->setText(lines->join(QLatin1Char('\n')));
        });
    });

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &form);
    connect(buttons, &QDialogButtonBox::accepted, &form, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, &form, &QDialog::reject);
    layout->addWidget(buttons);

    if (form.exec() != QDialog::Accepted)
        return false;

    config = collect();
    return true;
}
