#include "charactereditdialog.h"

#include "db/connectionrule.h"
#include "db/databasemanager.h"
#include "db/legacytext.h"
#include "db/sessiontask.h"
#include "db/sqlcolumns.h"
#include "base/storedtext.h"
#include "engine/characterdeleter.h"
#include "engine/characteredit.h"
#include "engine/characterpurge.h"
#include "engine/charactertables.h"
#include "ui/main/changeconfirm.h"
#include "ui/main/mainstyle.h"

#include <QComboBox>
#include <QDateTime>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QSpinBox>
#include <QSqlError>
#include <QSqlQuery>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>
#include <QtEndian>

#include <limits>

namespace {
const int kIntMax = std::numeric_limits<int>::max();
const QString kOutOfRangeStyle = QStringLiteral("color: #f59e0b;");

QTableWidget *readOnlyTable(const QStringList &headers, QWidget *parent)
{
    auto *table = new QTableWidget(0, int(headers.size()), parent);
    table->setHorizontalHeaderLabels(headers);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setAlternatingRowColors(true);
    table->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    return table;
}

void appendRow(QTableWidget *table, const QStringList &cells)
{
    const int row = table->rowCount();
    table->insertRow(row);
    for (int column = 0; column < cells.size(); ++column)
        table->setItem(row, column, new QTableWidgetItem(cells.at(column)));
}
} // namespace

CharacterEditDialog::CharacterEditDialog(int charguid, QWidget *parent)
    : QDialog(parent)
    , m_charguid(charguid)
{
    const QString hex = QString::number(charguid, 16).toUpper();
    setWindowTitle(tr("编辑角色 - CharGUID: %1 (%2) - %3").arg(QString::number(charguid), hex, DatabaseManager::instance()->serverLabel()));
    setMinimumSize(600, 700);
    setModal(true);
    setStyleSheet(characterEditStyleSheet());

    auto *layout = new QVBoxLayout(this);
    layout->setSpacing(10);
    layout->setContentsMargins(15, 15, 15, 15);
    auto *tabs = new QTabWidget(this);
    layout->addWidget(tabs, 1);
    tabs->addTab(buildBasicTab(), tr("基本信息"));

    auto gridTab = [this, tabs](const QString &title) {
        auto *page = new QWidget(tabs);
        auto *grid = new QGridLayout(page);
        tabs->addTab(page, title);
        return grid;
    };
    QGridLayout *grid = gridTab(tr("经济属性"));
    addIntField(grid, tr("银币:"), "vmoney", 0, kIntMax);
    addIntField(grid, tr("钱庄银币:"), "bankmoney", 0, kIntMax);
    addIntField(grid, tr("元宝:"), "yuanbao", 0, kIntMax);
    addIntField(grid, tr("绑定元宝:"), "bdyuanbao", 0, kIntMax);
    grid->setRowStretch(grid->rowCount(), 1);

    grid = gridTab(tr("战斗属性"));
    addIntField(grid, tr("经验值:"), "exp", 0, kIntMax);
    addIntField(grid, tr("生命值:"), "hp", 0, kIntMax);
    addIntField(grid, tr("魔法值:"), "mp", 0, kIntMax);
    addIntField(grid, tr("力量:"), "str", 0, 99999);
    addIntField(grid, tr("体力:"), "con", 0, 99999);
    addIntField(grid, tr("敏捷:"), "dex", 0, 99999);
    addIntField(grid, tr("灵气:"), "spr", 0, 99999);
    addIntField(grid, tr("定力:"), "ipr", 0, 99999);
    addIntField(grid, tr("属性点:"), "points", 0, 99999);
    grid->setRowStretch(grid->rowCount(), 1);

    grid = gridTab(tr("位置信息"));
    addIntField(grid, tr("当前场景:"), "scene", 0, 99999);
    addIntField(grid, tr("X 坐标:"), "xpos", -99999, 99999);
    addIntField(grid, tr("Z 坐标:"), "zpos", -99999, 99999);
    addIntField(grid, tr("返回场景:"), "bkscene", 0, 99999);
    addIntField(grid, tr("返回 X:"), "bkxpos", -99999, 99999);
    addIntField(grid, tr("返回 Z:"), "bkzpos", -99999, 99999);
    auto *luoyang = new QPushButton(tr("返回洛阳"), this);
    luoyang->setObjectName(QStringLiteral("luoyangBtn"));
    luoyang->setToolTip(tr("设置当前位置为洛阳 (场景0, X=9000, Z=18500)"));
    grid->addWidget(luoyang, grid->rowCount(), 0, 1, 2);
    grid->setRowStretch(grid->rowCount(), 1);
    connect(luoyang, &QPushButton::clicked, this, &CharacterEditDialog::onReturnToLuoyang);

    grid = gridTab(tr("其他属性"));
    addIntField(grid, tr("精力:"), "vigor", 0, 999999);
    addIntField(grid, tr("最大精力:"), "maxvigor", 0, 999999);
    addIntField(grid, tr("活力:"), "enegry", 0, 999999);
    addIntField(grid, tr("最大活力:"), "energymax", 0, 999999);
    addIntField(grid, tr("帮派贡献:"), "guildpoint", 0, kIntMax);
    addIntField(grid, tr("门派贡献:"), "menpaipoint", 0, kIntMax);
    addIntField(grid, tr("武道点数:"), "sect_point", 0, kIntMax);
    addIntField(grid, tr("杀气值:"), "pkvalue", 0, kIntMax);
    addIntField(grid, tr("赠点:"), "zengdian", 0, kIntMax);
    const int titleRow = grid->rowCount();
    grid->addWidget(new QLabel(tr("称号:"), this), titleRow, 0);
    auto *title = new QLineEdit(this);
    title->setObjectName(QStringLiteral("title"));
    grid->addWidget(title, titleRow, 1);
    m_texts.append({QStringLiteral("title"), title, {}, {}});
    grid->setRowStretch(grid->rowCount(), 1);

    tabs->addTab(buildBuffTab(), tr("BUFF状态"));
    tabs->addTab(buildXinfaTab(), tr("心法技能"));

    auto *buttons = new QHBoxLayout;
    auto *refresh = new QPushButton(tr("刷新"), this);
    auto *save = new QPushButton(tr("保存修改"), this);
    save->setObjectName(QStringLiteral("saveBtn"));
    auto *cancel = new QPushButton(tr("取消"), this);
    cancel->setObjectName(QStringLiteral("cancelBtn"));
    buttons->addWidget(refresh);
    buttons->addStretch();
    buttons->addWidget(save);
    buttons->addWidget(cancel);
    layout->addLayout(buttons);
    connect(refresh, &QPushButton::clicked, this, &CharacterEditDialog::onRefresh);
    connect(save, &QPushButton::clicked, this, &CharacterEditDialog::onSave);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    loadCharacterData();
}

QWidget *CharacterEditDialog::buildBasicTab()
{
    auto *page = new QWidget(this);
    auto *grid = new QGridLayout(page);
    const QString hex = QString::number(m_charguid, 16).toUpper();
    grid->addWidget(new QLabel(QStringLiteral("CharGUID:"), page), 0, 0);
    auto *guid = new QLabel(QStringLiteral("%1 (%2)").arg(m_charguid).arg(hex), page);
    guid->setStyleSheet(QStringLiteral("color: #3b82f6; font-weight: bold;"));
    grid->addWidget(guid, 0, 1);

    grid->addWidget(new QLabel(tr("账号名:"), page), 1, 0);
    auto *account = new QLineEdit(page);
    account->setObjectName(QStringLiteral("accname"));
    account->setPlaceholderText(tr("可修改账号归属"));
    grid->addWidget(account, 1, 1);
    m_texts.append({QStringLiteral("accname"), account, {}, {}});
    grid->addWidget(new QLabel(tr("角色名:"), page), 2, 0);
    auto *name = new QLineEdit(page);
    name->setObjectName(QStringLiteral("charname"));
    grid->addWidget(name, 2, 1);
    m_texts.append({QStringLiteral("charname"), name, {}, {}});
    grid->addWidget(new QLabel(tr("称号:"), page), 3, 0);
    m_titleLabel = new QLabel(tr("无"), page);
    m_titleLabel->setStyleSheet(QStringLiteral("color: #FFD700; font-weight: bold;"));
    grid->addWidget(m_titleLabel, 3, 1);

    auto addChoice = [&](int row, const QString &label, const char *column, const QStringList &names) {
        grid->addWidget(new QLabel(label, page), row, 0);
        auto *combo = new QComboBox(page);
        combo->setObjectName(QLatin1String(column));
        grid->addWidget(combo, row, 1);
        m_choices.append({QLatin1String(column), combo, names, 0});
    };
    addChoice(4, tr("性别:"), "sex", {tr("男"), tr("女")});
    addChoice(5, tr("门派:"), "menpai",
              {tr("少林"), tr("明教"), tr("丐帮"), tr("武当"),
               tr("峨眉"), tr("星宿"), tr("天龙"), tr("天山"),
               tr("逍遥"), tr("无门派"), tr("曼陀山庄"), tr("恶人谷")});
    addIntField(grid, tr("等级:"), "level", 1, 200);
    addIntField(grid, QStringLiteral("ZoneWorldID:"), "zoneworldid", 1, 999999);

    grid->addWidget(new QLabel(tr("封禁状态:"), page), 8, 0);
    m_banLabel = new QLabel(tr("未封禁"), page);
    m_banLabel->setStyleSheet(QStringLiteral("color: #10b981; font-weight: bold;"));
    grid->addWidget(m_banLabel, 8, 1);
    auto *banRow = new QHBoxLayout;
    m_banButton = new QPushButton(tr("封禁角色"), page);
    m_banButton->setObjectName(QStringLiteral("banBtn"));
    m_banButton->setStyleSheet(QStringLiteral("background-color: #ef4444;"));
    m_banButton->setToolTip(tr("封禁角色，设置封禁时间为100年后"));
    m_unbanButton = new QPushButton(tr("解封角色"), page);
    m_unbanButton->setObjectName(QStringLiteral("unbanBtn"));
    m_unbanButton->setStyleSheet(QStringLiteral("background-color: #10b981;"));
    m_unbanButton->setToolTip(tr("解除角色封禁"));
    banRow->addWidget(m_banButton);
    banRow->addWidget(m_unbanButton);
    grid->addLayout(banRow, 9, 0, 1, 2);
    grid->setRowStretch(10, 1);
    connect(m_banButton, &QPushButton::clicked, this, &CharacterEditDialog::onBanCharacter);
    connect(m_unbanButton, &QPushButton::clicked, this, &CharacterEditDialog::onUnbanCharacter);
    return page;
}

void CharacterEditDialog::addIntField(QGridLayout *grid, const QString &label, const char *column, int minimum, int maximum)
{
    const int row = grid->rowCount();
    QWidget *page = grid->parentWidget();
    grid->addWidget(new QLabel(label, page), row, 0);
    auto *box = new QSpinBox(page);
    box->setObjectName(QLatin1String(column));
    box->setRange(minimum, maximum);
    grid->addWidget(box, row, 1);
    m_ints.append({QLatin1String(column), box, minimum, maximum, 0});
}

CharacterEditDialog::IntField *CharacterEditDialog::intField(const QString &column)
{
    for (IntField &field : m_ints) {
        if (field.column == column)
            return &field;
    }
    return nullptr;
}

QWidget *CharacterEditDialog::buildBuffTab()
{
    auto *page = new QWidget(this);
    auto *layout = new QVBoxLayout(page);
    layout->setSpacing(8);
    m_buffTable = readOnlyTable({tr("效果ID"), tr("驻留ID"), tr("持续时间"),
                                 tr("已持续时间")}, page);
    m_buffTable->setContextMenuPolicy(Qt::CustomContextMenu);
    layout->addWidget(m_buffTable, 1);
    m_buffMenu = new QMenu(this);
    connect(m_buffMenu->addAction(tr("删除选中BUFF")), &QAction::triggered, this, &CharacterEditDialog::onDeleteBuff);
    connect(m_buffTable, &QTableWidget::customContextMenuRequested, this, &CharacterEditDialog::showBuffContextMenu);

    auto *row = new QHBoxLayout;
    auto *note = new QLabel(tr("注：持续时间为 -1 表示永久"), page);
    note->setStyleSheet(QStringLiteral("color: #9ca3af; font-size: 11px;"));
    auto *clear = new QPushButton(tr("清空所有BUFF"), page);
    clear->setObjectName(QStringLiteral("clearBuffsBtn"));
    clear->setStyleSheet(QStringLiteral("background-color: #ef4444;"));
    clear->setMinimumWidth(100);
    row->addWidget(note);
    row->addStretch();
    row->addWidget(clear);
    layout->addLayout(row);
    connect(clear, &QPushButton::clicked, this, &CharacterEditDialog::onClearAllBuff);
    return page;
}

QWidget *CharacterEditDialog::buildXinfaTab()
{
    auto *page = new QWidget(this);
    auto *layout = new QVBoxLayout(page);
    auto *xinfaLabel = new QLabel(tr("心法列表"), page);
    xinfaLabel->setStyleSheet(QStringLiteral("font-weight: bold;"));
    layout->addWidget(xinfaLabel);
    m_xinfaTable = readOnlyTable({tr("心法ID"), tr("心法名称"), tr("等级")}, page);
    m_xinfaTable->setMaximumHeight(200);
    layout->addWidget(m_xinfaTable);
    connect(m_xinfaTable, &QTableWidget::itemSelectionChanged, this, &CharacterEditDialog::onXinfaSelected);

    auto *group = new QGroupBox(tr("修改心法"), page);
    auto *grid = new QGridLayout(group);
    grid->addWidget(new QLabel(tr("心法ID:"), group), 0, 0);
    m_xinfaId = new QSpinBox(group);
    m_xinfaId->setRange(0, 1000);
    grid->addWidget(m_xinfaId, 0, 1);
    grid->addWidget(new QLabel(tr("心法名称:"), group), 0, 2);
    m_xinfaName = new QLabel(QStringLiteral("-"), group);
    m_xinfaName->setStyleSheet(QStringLiteral("color: #60a5fa;"));
    grid->addWidget(m_xinfaName, 0, 3);
    grid->addWidget(new QLabel(tr("心法等级:"), group), 1, 0);
    m_xinfaLevel = new QSpinBox(group);
    m_xinfaLevel->setObjectName(QStringLiteral("xinfaLevel"));
    m_xinfaLevel->setRange(1, 10000);
    grid->addWidget(m_xinfaLevel, 1, 1);
    auto *save = new QPushButton(tr("保存心法修改"), group);
    save->setObjectName(QStringLiteral("saveXinfaBtn"));
    save->setStyleSheet(QStringLiteral("background-color: #10b981;"));
    grid->addWidget(save, 1, 2, 1, 2);
    layout->addWidget(group);
    connect(save, &QPushButton::clicked, this, &CharacterEditDialog::onSaveXinfa);

    auto *skillLabel = new QLabel(tr("技能列表"), page);
    skillLabel->setStyleSheet(QStringLiteral("font-weight: bold;"));
    layout->addWidget(skillLabel);
    m_skillTable = readOnlyTable({tr("技能ID"), tr("技能名称"), tr("心法ID")}, page);
    layout->addWidget(m_skillTable, 1);
    return page;
}

void CharacterEditDialog::loadCharacterData()
{
    DatabaseManager *manager = DatabaseManager::instance();
    if (!manager->isConnected()) {
        QMessageBox::warning(this, tr("错误"), tr("数据库未连接"));
        return;
    }
    QStringList columns = {QStringLiteral("HEX(accname) as accname_hex"), QStringLiteral("HEX(charname) as charname_hex"),
                           QStringLiteral("HEX(title) as title_hex"), QStringLiteral("banendtime")};
    for (const ChoiceField &field : std::as_const(m_choices))
        columns.append(field.column);
    for (const IntField &field : std::as_const(m_ints))
        columns.append(field.column);
    QSqlQuery query(manager->database());
    query.prepare(QStringLiteral("SELECT %1 FROM t_char WHERE charguid = ?").arg(columns.join(QStringLiteral(", "))));
    query.addBindValue(m_charguid);
    if (!query.exec() || !query.next()) {
        QMessageBox::warning(this, tr("错误"), tr("无法加载角色数据: %1").arg(query.lastError().text()));
        return;
    }

    // A stored value that a widget cannot hold is shown as it is and marked; it is written
    // back only when the operator changes that field.
    for (int i = 0; i < 3; ++i) {
        TextField &field = m_texts[i];  // accname, charname, title, as the statement reads them
        field.stored = bytesFromHexValue(query.value(i));
        field.shown = decodeGbk(field.stored);
        field.edit->setText(field.shown);
        const bool exact = encodeGbk(field.shown) == field.stored;
        field.edit->setStyleSheet(exact ? QString() : kOutOfRangeStyle);
        field.edit->setToolTip(exact ? QString()
                                     : tr("存储的字节 %1 不是有效的 GBK 文本；不修改此项时保存不会改写它")
                                           .arg(QString::fromLatin1(field.stored.toHex(' ').toUpper())));
    }
    const QString title = m_texts.at(2).shown;
    m_titleLabel->setText(title.isEmpty() ? tr("无") : title);
    const int banEnd = query.value(3).toInt();

    int index = 4;
    for (ChoiceField &field : m_choices) {
        field.stored = query.value(index++).toInt();
        const QSignalBlocker blocker(field.combo);
        field.combo->clear();
        for (int value = 0; value < field.names.size(); ++value)
            field.combo->addItem(field.names.at(value), value);
        const bool known = field.stored >= 0 && field.stored < field.names.size();
        if (!known)
            field.combo->addItem(tr("未知(%1)").arg(field.stored), field.stored);
        field.combo->setCurrentIndex(known ? field.stored : field.combo->count() - 1);
        field.combo->setStyleSheet(known ? QString() : kOutOfRangeStyle);
        field.combo->setToolTip(known ? QString() : tr("数据库中的值 %1 没有对应选项").arg(field.stored));
    }
    for (IntField &field : m_ints) {
        field.stored = query.value(index++).toInt();
        const bool inRange = field.stored >= field.minimum && field.stored <= field.maximum;
        field.box->setRange(qMin(field.minimum, field.stored), qMax(field.maximum, field.stored));
        field.box->setValue(field.stored);
        field.box->setStyleSheet(inRange ? QString() : kOutOfRangeStyle);
        field.box->setToolTip(inRange ? QString()
                                      : tr("数据库中的值 %1 超出编辑范围 %2 到 %3")
                                            .arg(field.stored).arg(field.minimum).arg(field.maximum));
    }
    m_loaded = true;
    showBanState(banEnd);
    loadBuffs();
    loadXinfa();
    loadSkills();
}

void CharacterEditDialog::showBanState(int banEnd)
{
    const qint64 now = QDateTime::currentSecsSinceEpoch();
    const bool banned = banEnd > 0 && banEnd > now;
    if (banned) {
        m_banLabel->setText(tr("封禁中 - 解封时间: %1")
                                .arg(QDateTime::fromSecsSinceEpoch(banEnd).toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"))));
        m_banLabel->setStyleSheet(QStringLiteral("color: #ef4444; font-weight: bold;"));
    } else {
        m_banLabel->setText(tr("未封禁"));
        m_banLabel->setStyleSheet(QStringLiteral("color: #10b981; font-weight: bold;"));
    }
    m_banButton->setEnabled(!banned);
    m_unbanButton->setEnabled(banned);
}

QList<QPair<QString, QVariant>> CharacterEditDialog::changedColumns() const
{
    QHash<QString, QVariant> changed;
    for (const TextField &field : m_texts) {
        if (field.edit->text() != field.shown)
            changed.insert(field.column, encodeGbk(field.edit->text()));
    }
    for (const ChoiceField &field : m_choices) {
        const int value = field.combo->currentData().toInt();
        if (value != field.stored)
            changed.insert(field.column, value);
    }
    for (const IntField &field : m_ints) {
        if (field.box->value() != field.stored)
            changed.insert(field.column, field.box->value());
    }
    QList<QPair<QString, QVariant>> ordered;
    for (const QString &column : CharacterEdit::editableColumns()) {
        const auto it = changed.constFind(column);
        if (it != changed.cend())
            ordered.append({it.key(), it.value()});
    }
    return ordered;
}

void CharacterEditDialog::onSave()
{
    if (!m_loaded) {
        QMessageBox::warning(this, tr("错误"), tr("角色数据未加载"));
        return;
    }
    QList<QPair<QString, QVariant>> changes = changedColumns();
    if (changes.isEmpty()) {
        QMessageBox::information(this, tr("提示"), tr("没有需要保存的修改"));
        return;
    }
    QSqlDatabase &db = DatabaseManager::instance()->database();
    const CharacterEdit::Preview check = CharacterEdit::preview(db, {m_charguid, changes});
    if (!check.failure.isEmpty() || !check.refusal.isEmpty()) {
        const bool failed = !check.failure.isEmpty();
        QMessageBox::warning(this, failed ? tr("失败") : tr("错误"),
                             failed ? tr("保存失败: %1").arg(check.failure.shown()) : check.refusal.shown());
        return;
    }
    const int newWorld = check.newWorld;
    QString question = tr("确定要在 %1 上保存对角色 CharGUID %2 的修改吗？\n\n注意：修改后需要玩家重新登录才能生效。")
                           .arg(DatabaseManager::instance()->serverLabel(), QString::number(m_charguid));
    if (newWorld > 0)
        question += tr("\n\nZoneWorldID 将从 %1 改为 %2，角色的装备、时装和珍兽装备随之转移。")
                        .arg(intField(QStringLiteral("zoneworldid"))->stored).arg(newWorld);
    if (QMessageBox::question(this, tr("确认保存"), question, QMessageBox::Yes | QMessageBox::No, QMessageBox::No)
        != QMessageBox::Yes)
        return;

    // Saved on the session's worker, as every other change; the window waits meanwhile.
    auto outcome = std::make_shared<CharacterEdit::Result>();
    Message refusal;
    SessionTask *task = SessionTask::start(STORED_TEXT("编辑角色"), [request = CharacterEdit::Request{m_charguid, changes}, outcome](QSqlDatabase &db, SessionTask &) {
        *outcome = CharacterEdit::save(db, request);
        return outcome->ok;
    }, this, &refusal);
    if (!task) {
        QMessageBox::warning(this, tr("提示"), refusal.shown());
        return;
    }
    setEnabled(false);
    connect(task, &SessionTask::logMessage, this, [outcome](const Message &line) {
        if (outcome->failure.isEmpty())
            outcome->failure = line;  // the worker could not connect
    });
    connect(task, &SessionTask::finished, this, [this, task, outcome](bool ok) {
        task->deleteLater();
        setEnabled(true);
        if (!ok) {
            QMessageBox::warning(this, tr("失败"), tr("保存失败: %1").arg(outcome->failure.shown()));
            return;
        }
        QMessageBox::information(this, tr("成功"), tr("角色数据保存成功！") + undoFileLine(outcome->undoPath));
        accept();
    });
}

void CharacterEditDialog::onRefresh()
{
    loadCharacterData();
    QMessageBox::information(this, tr("刷新"), tr("角色数据已刷新"));
}

void CharacterEditDialog::onReturnToLuoyang()
{
    const QList<QPair<const char *, int>> spot = {{"scene", 0}, {"xpos", 9000}, {"zpos", 18500},
                                                  {"bkscene", 0}, {"bkxpos", 9000}, {"bkzpos", 18500}};
    for (const auto &[column, value] : spot)
        intField(QLatin1String(column))->box->setValue(value);
}

void CharacterEditDialog::onBanCharacter()
{
    if (QMessageBox::question(this, tr("确认封禁"),
                              tr("确定要封禁该角色吗？\n\n角色GUID: %1\n封禁后该角色将无法登录游戏。").arg(m_charguid),
                              QMessageBox::Yes | QMessageBox::No, QMessageBox::No)
        != QMessageBox::Yes)
        return;
    const qint64 until = QDateTime::currentDateTime().addYears(10).toSecsSinceEpoch();
    Message error;
    if (!CharacterEdit::setBanEnd(DatabaseManager::instance()->database(), m_charguid, until, &error)) {
        QMessageBox::warning(this, tr("失败"), tr("封禁失败: %1").arg(error.shown()));
        return;
    }
    QMessageBox::information(this, tr("成功"), tr("角色已封禁！"));
    loadCharacterData();
}

void CharacterEditDialog::onUnbanCharacter()
{
    if (QMessageBox::question(this, tr("确认解封"),
                              tr("确定要解除该角色的封禁吗？\n\n角色GUID: %1").arg(m_charguid),
                              QMessageBox::Yes | QMessageBox::No, QMessageBox::No)
        != QMessageBox::Yes)
        return;
    Message error;
    if (!CharacterEdit::setBanEnd(DatabaseManager::instance()->database(), m_charguid, 0, &error)) {
        QMessageBox::warning(this, tr("失败"), tr("解封失败: %1").arg(error.shown()));
        return;
    }
    QMessageBox::information(this, tr("成功"), tr("角色已解封！"));
    loadCharacterData();
}

QString CharacterEditDialog::durationText(quint32 duration)
{
    if (duration == 0xFFFFFFFFu)
        return tr("永久");
    const qint32 v = qint32(duration);
    if (v <= 0)
        return QString::number(v);
    const int s = v / 1000, m = s / 60, h = m / 60, days = h / 24;
    if (days >= 1)
        return tr("%1天%2小时").arg(days).arg(h - 24 * days);
    if (h >= 1)
        return tr("%1小时%2分").arg(h).arg(m - 60 * h);
    if (m >= 1)
        return tr("%1分%2秒").arg(m).arg(s - 60 * m);
    return tr("%1秒").arg(s);
}

QString CharacterEditDialog::elapsedText(qint32 elapsed)
{
    if (elapsed <= 0)
        return QString::number(elapsed);
    const int s = elapsed / 1000, m = s / 60, h = m / 60;
    if (h >= 1)
        return tr("%1小时%2分").arg(h).arg(m - 60 * h);
    if (m >= 1)
        return tr("%1分%2秒").arg(m).arg(s - 60 * m);
    return tr("%1秒").arg(s);
}

void CharacterEditDialog::loadBuffs()
{
    m_buffTable->setRowCount(0);
    QSqlQuery query(DatabaseManager::instance()->database());
    if (!Sql::execBound(&query, QStringLiteral("SELECT aid, imdata FROM t_impact WHERE charguid = ? ORDER BY aid"), {m_charguid}))
        return;
    while (query.next()) {
        const QByteArray block = QByteArray::fromHex(query.value(1).toString().toLatin1());
        if (block.size() < 32)
            continue;
        const auto *data = reinterpret_cast<const uchar *>(block.constData());
        appendRow(m_buffTable, {QString::number(qFromLittleEndian<qint16>(data + 4)),
                                QString::number(qFromLittleEndian<qint16>(data + 6)),
                                durationText(qFromLittleEndian<quint32>(data + 24)),
                                elapsedText(qFromLittleEndian<qint32>(data + 28))});
        // The row keeps its own aid, so a delete removes exactly the row shown.
        m_buffTable->item(m_buffTable->rowCount() - 1, 0)->setData(Qt::UserRole, query.value(0).toLongLong());
    }
    if (m_buffTable->rowCount() == 0)
        appendRow(m_buffTable, {QStringLiteral("-"), tr("无BUFF数据"), QStringLiteral("-"), QStringLiteral("-")});
}

void CharacterEditDialog::showBuffContextMenu(const QPoint &pos)
{
    if (m_buffTable->rowCount() > 0 && m_buffTable->currentRow() >= 0)
        m_buffMenu->exec(m_buffTable->viewport()->mapToGlobal(pos));
}

void CharacterEditDialog::onDeleteBuff()
{
    const int row = m_buffTable->currentRow();
    if (row < 0) {
        QMessageBox::warning(this, tr("提示"), tr("请先选择要删除的BUFF"));
        return;
    }
    if (QMessageBox::question(this, tr("确认删除"), tr("确定要删除选中的BUFF吗？"),
                              QMessageBox::Yes | QMessageBox::No)
        != QMessageBox::Yes)
        return;
    const QVariant aid = m_buffTable->item(row, 0)->data(Qt::UserRole);
    if (!aid.isValid())
        return;  // the placeholder row
    Message error;
    if (!CharacterEdit::deleteBuff(DatabaseManager::instance()->database(), m_charguid, aid.toLongLong(), &error)) {
        QMessageBox::warning(this, tr("失败"), tr("BUFF删除失败"));
        return;
    }
    QMessageBox::information(this, tr("成功"), tr("BUFF删除成功"));
    loadBuffs();
}

void CharacterEditDialog::onClearAllBuff()
{
    if (QMessageBox::question(this, tr("确认清空"), tr("确定要清空该角色的所有BUFF吗？\n\n此操作不可恢复！"),
                              QMessageBox::Yes | QMessageBox::No)
        != QMessageBox::Yes)
        return;
    Message error;
    const int cleared = CharacterEdit::clearBuffs(DatabaseManager::instance()->database(), m_charguid, &error);
    if (cleared < 0) {
        QMessageBox::warning(this, tr("失败"), tr("清空BUFF失败"));
        return;
    }
    QMessageBox::information(this, tr("成功"), tr("已清空 %1 个BUFF").arg(cleared));
    loadBuffs();
}

void CharacterEditDialog::loadXinfa()
{
    const QSignalBlocker blocker(m_xinfaTable);
    m_xinfaTable->setRowCount(0);
    QSqlQuery query(DatabaseManager::instance()->database());
    if (!Sql::execBound(&query, QStringLiteral("SELECT aid, xinfaid, xinfalvl FROM t_xinfa WHERE charguid = ? ORDER BY xinfaid"), {m_charguid}))
        return;
    while (query.next()) {
        const int id = query.value(1).toInt();
        appendRow(m_xinfaTable, {QString::number(id), tr("心法%1").arg(id), query.value(2).toString()});
        m_xinfaTable->item(m_xinfaTable->rowCount() - 1, 0)->setData(Qt::UserRole, query.value(0).toLongLong());
    }
    if (m_xinfaTable->rowCount() == 0)
        appendRow(m_xinfaTable, {QStringLiteral("-"), tr("无心法数据"), QStringLiteral("-")});
}

void CharacterEditDialog::onXinfaSelected()
{
    const int row = m_xinfaTable->currentRow();
    if (row < 0 || !m_xinfaTable->item(row, 0) || !m_xinfaTable->item(row, 1) || !m_xinfaTable->item(row, 2))
        return;
    m_selectedXinfa = m_xinfaTable->item(row, 0)->data(Qt::UserRole).toLongLong();
    m_xinfaName->setText(m_xinfaTable->item(row, 1)->text());
    showXinfa(m_xinfaTable->item(row, 0)->text().toInt(), m_xinfaTable->item(row, 2)->text().toInt());
}

void CharacterEditDialog::showXinfa(int id, int level)
{
    // A stored value outside the usual range widens it: what is shown is what is stored.
    m_xinfaId->setRange(qMin(0, id), qMax(1000, id));
    m_xinfaId->setValue(id);
    m_xinfaLevel->setRange(qMin(1, level), qMax(10000, level));
    m_xinfaLevel->setValue(level);
    m_xinfaShown = {id, level};
}

void CharacterEditDialog::onSaveXinfa()
{
    if (m_selectedXinfa == 0) {
        QMessageBox::warning(this, tr("提示"), tr("请先选择要修改的心法"));
        return;
    }
    const int id = m_xinfaId->value();
    const int level = m_xinfaLevel->value();
    if (id == m_xinfaShown.first && level == m_xinfaShown.second) {
        QMessageBox::information(this, tr("提示"), tr("没有需要保存的修改"));
        return;
    }
    if (level != m_xinfaShown.second && (level < 1 || level > 10000)) {
        QMessageBox::warning(this, tr("错误"), tr("心法等级需要在1-10000之间"));
        return;
    }
    Message error;
    if (!CharacterEdit::setXinfa(DatabaseManager::instance()->database(), m_selectedXinfa, id != m_xinfaShown.first ? id : -1,
                                 level != m_xinfaShown.second ? level : -1, &error)) {
        QMessageBox::warning(this, tr("失败"), tr("心法修改失败: %1").arg(error.shown()));
        return;
    }
    m_xinfaShown = {id, level};
    QMessageBox::information(this, tr("成功"), tr("心法修改成功"));
    loadXinfa();
}

void CharacterEditDialog::loadSkills()
{
    m_skillTable->setRowCount(0);
    QSqlQuery query(DatabaseManager::instance()->database());
    if (!Sql::execBound(&query, QStringLiteral("SELECT aid, skid FROM t_skill WHERE charguid = ? ORDER BY skid"), {m_charguid}))
        return;
    while (query.next()) {
        const int id = query.value(1).toInt();
        appendRow(m_skillTable, {QString::number(id), tr("技能%1").arg(id), QStringLiteral("-")});
    }
    if (m_skillTable->rowCount() == 0)
        appendRow(m_skillTable, {QStringLiteral("-"), tr("无技能数据"), QStringLiteral("-")});
}
