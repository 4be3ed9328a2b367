#include "bankdialog.h"

#include "db/databasemanager.h"
#include "db/legacytext.h"
#include "itemconfigmanager.h"
#include "ui/main/mainstyle.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSqlError>
#include <QSqlQuery>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {
// Numbers are held as numbers, so that a header click sorts them as numbers.
QTableWidgetItem *centred(const QVariant &value)
{
    auto *item = new QTableWidgetItem;
    item->setData(Qt::DisplayRole, value);
    item->setTextAlignment(Qt::AlignCenter);
    return item;
}
} // namespace

BankDialog::BankDialog(int charguid, const QString &characterName, QWidget *parent)
    : QDialog(parent)
    , m_charguid(charguid)
{
    setWindowTitle(tr("仓库查看 - %1 - %2").arg(characterName, DatabaseManager::instance()->serverLabel()));
    setMinimumSize(900, 650);
    resize(1000, 700);
    setStyleSheet(darkDialogStyleSheet());

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(tr("角色 %1 (GUID: %2) 的仓库物品").arg(characterName, QString::number(charguid)), this));
    m_table = new QTableWidget(0, 7, this);
    m_table->setHorizontalHeaderLabels({tr("位置"), tr("物品ID"), tr("物品名称"),
                                        tr("数量"), tr("绑定状态"), QStringLiteral("GUID"),
                                        tr("创建者")});
    const int widths[] = {60, 100, 250, 60, 80, 120, 120};
    for (int column = 0; column < 7; ++column)
        m_table->setColumnWidth(column, widths[column]);
    m_table->horizontalHeader()->setStretchLastSection(true);
    m_table->setAlternatingRowColors(true);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::SingleSelection);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->verticalHeader()->setVisible(false);
    m_table->horizontalHeader()->setSortIndicator(0, Qt::AscendingOrder);
    m_table->setSortingEnabled(true);
    layout->addWidget(m_table, 1);
    m_info = new QLabel(tr("加载中..."), this);
    layout->addWidget(m_info);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    auto *refresh = new QPushButton(tr("刷新"), this);
    auto *close = new QPushButton(tr("关闭"), this);
    close->setObjectName(QStringLiteral("closeBtn"));
    close->setMinimumWidth(100);
    buttons->addWidget(refresh);
    buttons->addWidget(close);
    layout->addLayout(buttons);
    connect(refresh, &QPushButton::clicked, this, &BankDialog::onRefresh);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);

    loadItems();
}

QString BankDialog::bindStateText(int state)
{
    switch (state) {
    case 0: return tr("未绑定");
    case 1: return tr("已绑定");
    case 2: return tr("装备绑定");
    default: return tr("状态%1").arg(state);
    }
}

void BankDialog::onRefresh()
{
    loadItems();
}

void BankDialog::loadItems()
{
    m_table->setRowCount(0);
    DatabaseManager *manager = DatabaseManager::instance();
    if (!manager->isConnected() || !manager->database().isOpen()) {
        m_info->setText(tr("数据库连接失败"));
        return;
    }
    // The creator is a player's name: its stored bytes, decoded as GBK for display.
    QSqlQuery query(manager->database());
    query.setForwardOnly(true);
    query.prepare(QStringLiteral("SELECT aid, guid, itemtype, pos, p7, CAST(creator AS BINARY) AS creator FROM t_iteminfo "
                                 "WHERE charguid = :charguid AND isvalid = 1 AND pos >= 210 AND pos < 330 ORDER BY pos ASC"));
    query.bindValue(QStringLiteral(":charguid"), m_charguid);
    if (!query.exec()) {
        m_info->setText(tr("查询失败: %1").arg(query.lastError().text()));
        return;
    }
    // Sorting stays off while rows are filled, so that each row keeps one item's cells.
    const Qt::SortOrder order = m_table->horizontalHeader()->sortIndicatorOrder();
    const int sortColumn = m_table->horizontalHeader()->sortIndicatorSection();
    m_table->setSortingEnabled(false);
    int rows = 0;
    while (query.next()) {
        // p7 holds bytes 24 to 27 of the parameter block: byte 26 the bind state, 27 the count.
        const quint32 p7 = quint32(query.value(4).toLongLong());
        const int bind = int((p7 >> 16) & 0xFF);
        const int count = int((p7 >> 24) & 0xFF);
        const int itemType = query.value(2).toInt();
        m_table->insertRow(rows);
        m_table->setItem(rows, 0, centred(query.value(3).toLongLong()));
        m_table->setItem(rows, 1, centred(itemType));
        m_table->setItem(rows, 2, new QTableWidgetItem(ItemConfigManager::instance()->itemName(itemType)));
        m_table->setItem(rows, 3, centred(count == 0 ? 1 : count));
        QTableWidgetItem *state = centred(bindStateText(bind));
        if (bind != 0)
            state->setForeground(QColor(0xdc, 0x35, 0x45));
        m_table->setItem(rows, 4, state);
        m_table->setItem(rows, 5, centred(query.value(1).toLongLong()));
        m_table->setItem(rows, 6, new QTableWidgetItem(decodeGbk(bytesFromBinaryValue(query.value(5)))));
        ++rows;
    }
    m_table->setSortingEnabled(true);
    m_table->sortItems(sortColumn, order);
    m_info->setText(tr("共加载 %1 件仓库物品").arg(rows));
}
