#include "worldidselectordialog.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
QString styleSheetText()
{
    return QStringLiteral(R"(
QDialog { background-color: #1e1e2e; color: #e4e4e7; }
QGroupBox { background-color: #2d2d3d; border: 1px solid #3d3d4d; border-radius: 6px; margin-top: 14px; padding: 10px; color: #3b82f6; font-weight: bold; }
QGroupBox::title { subcontrol-origin: margin; left: 10px; padding: 0 4px; }
QLineEdit { background-color: #1e1e2e; color: #e4e4e7; border: 1px solid #3d3d4d; border-radius: 6px; padding: 6px; }
QListWidget { background-color: #1e1e2e; color: #e4e4e7; border: 1px solid #3d3d4d; border-radius: 6px; }
QListWidget::item { padding: 8px 4px; }
QListWidget::indicator { border: 1px solid #71717a; border-radius: 3px; background-color: #2d2d3d; }
QListWidget::indicator:checked { background-color: #3b82f6; border-color: #3b82f6; }
QPushButton { background-color: #3b82f6; color: white; border: none; border-radius: 6px; padding: 6px 14px; }
QPushButton:hover { background-color: #2563eb; }
QPushButton:disabled { background-color: #3d3d4d; color: #71717a; }
)");
}
} // namespace

WorldIdSelectorDialog::WorldIdSelectorDialog(QWidget *parent)
    : QDialog(parent)
{
    setWindowTitle(tr("选择 WorldID"));
    setMinimumSize(500, 600);
    setStyleSheet(styleSheetText());

    auto *layout = new QVBoxLayout(this);
    layout->setSpacing(12);
    layout->setContentsMargins(15, 15, 15, 15);

    auto *filterGroup = new QGroupBox(tr("搜索过滤"), this);
    auto *filterLayout = new QVBoxLayout(filterGroup);
    m_filter = new QLineEdit(filterGroup);
    m_filter->setPlaceholderText(tr("输入WorldID进行搜索..."));
    filterLayout->addWidget(m_filter);
    layout->addWidget(filterGroup);

    auto *listGroup = new QGroupBox(tr("可用的 WorldID"), this);
    auto *listLayout = new QVBoxLayout(listGroup);
    m_list = new QListWidget(listGroup);
    listLayout->addWidget(m_list);
    layout->addWidget(listGroup, 1);

    auto *bulkGroup = new QGroupBox(tr("批量选择"), this);
    auto *bulkLayout = new QHBoxLayout(bulkGroup);
    auto *allButton = new QPushButton(tr("全选"), bulkGroup);
    allButton->setObjectName(QStringLiteral("allBtn"));
    auto *noneButton = new QPushButton(tr("全不选"), bulkGroup);
    noneButton->setObjectName(QStringLiteral("noneBtn"));
    auto *invertButton = new QPushButton(tr("反选"), bulkGroup);
    invertButton->setObjectName(QStringLiteral("invertBtn"));
    bulkLayout->addWidget(allButton);
    bulkLayout->addWidget(noneButton);
    bulkLayout->addWidget(invertButton);
    bulkLayout->addStretch();
    layout->addWidget(bulkGroup);

    m_status = new QLabel(tr("已选择: 0 / 0 个WorldID"), this);
    m_status->setObjectName(QStringLiteral("statusLabel"));
    m_status->setStyleSheet(QStringLiteral("color: #3b82f6; font-weight: bold;"));
    layout->addWidget(m_status);

    auto *bottom = new QHBoxLayout;
    bottom->addStretch();
    m_okButton = new QPushButton(tr("确定"), this);
    m_okButton->setObjectName(QStringLiteral("okBtn"));
    m_okButton->setEnabled(false);
    auto *cancelButton = new QPushButton(tr("取消"), this);
    bottom->addWidget(m_okButton);
    bottom->addWidget(cancelButton);
    layout->addLayout(bottom);

    connect(m_filter, &QLineEdit::textChanged, this, &WorldIdSelectorDialog::onSearchTextChanged);
    connect(m_list, &QListWidget::itemChanged, this, &WorldIdSelectorDialog::updateSelectionInfo);
    connect(allButton, &QPushButton::clicked, this, &WorldIdSelectorDialog::onSelectAll);
    connect(noneButton, &QPushButton::clicked, this, &WorldIdSelectorDialog::onSelectNone);
    connect(invertButton, &QPushButton::clicked, this, &WorldIdSelectorDialog::onInvertSelection);
    connect(m_okButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancelButton, &QPushButton::clicked, this, &QDialog::reject);
}

void WorldIdSelectorDialog::setWorldIds(const QList<int> &worldIds, const QMap<int, int> &counts)
{
    m_counts = counts;
    const QSignalBlocker blocker(m_list);
    m_list->clear();
    for (int id : worldIds) {
        QString text = QStringLiteral("WorldID: %1").arg(id);
        if (counts.contains(id))
            text += tr("  (角色数: %1)").arg(counts.value(id));
        auto *item = new QListWidgetItem(text, m_list);
        item->setData(Qt::UserRole, id);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Unchecked);
    }
    updateSelectionInfo();
}

QList<int> WorldIdSelectorDialog::selectedWorldIds() const
{
    QList<int> ids;
    for (int i = 0; i < m_list->count(); ++i) {
        const QListWidgetItem *item = m_list->item(i);
        if (item->checkState() == Qt::Checked)
            ids.append(item->data(Qt::UserRole).toInt());
    }
    return ids;
}

void WorldIdSelectorDialog::onSelectAll()
{
    const QSignalBlocker blocker(m_list);
    for (int i = 0; i < m_list->count(); ++i) {
        if (!m_list->item(i)->isHidden())
            m_list->item(i)->setCheckState(Qt::Checked);
    }
    updateSelectionInfo();
}

void WorldIdSelectorDialog::onSelectNone()
{
    const QSignalBlocker blocker(m_list);
    for (int i = 0; i < m_list->count(); ++i)
        m_list->item(i)->setCheckState(Qt::Unchecked);
    updateSelectionInfo();
}

void WorldIdSelectorDialog::onInvertSelection()
{
    const QSignalBlocker blocker(m_list);
    for (int i = 0; i < m_list->count(); ++i) {
        QListWidgetItem *item = m_list->item(i);
        if (!item->isHidden())
            item->setCheckState(item->checkState() == Qt::Checked ? Qt::Unchecked : Qt::Checked);
    }
    updateSelectionInfo();
}

void WorldIdSelectorDialog::onSearchTextChanged(const QString &text)
{
    const QString filter = text.trimmed();
    for (int i = 0; i < m_list->count(); ++i) {
        QListWidgetItem *item = m_list->item(i);
        item->setHidden(!filter.isEmpty() && !item->text().contains(filter, Qt::CaseInsensitive));
    }
    updateSelectionInfo();
}

void WorldIdSelectorDialog::updateSelectionInfo()
{
    int visible = 0;
    int ticked = 0;
    qint64 characters = 0;
    for (int i = 0; i < m_list->count(); ++i) {
        const QListWidgetItem *item = m_list->item(i);
        if (item->isHidden())
            continue;
        ++visible;
        if (item->checkState() == Qt::Checked) {
            ++ticked;
            characters += m_counts.value(item->data(Qt::UserRole).toInt());
        }
    }
    QString text = tr("已选择: %1 / %2 个WorldID").arg(ticked).arg(visible);
    if (characters > 0)
        text += tr("  (共 %Ln 个角色)", nullptr, characters);
    m_status->setText(text);
    m_okButton->setEnabled(ticked > 0);
}
