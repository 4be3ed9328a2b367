#include "charactertablemodel.h"

#include <algorithm>
#include <array>
#include <vector>

namespace {
struct ColumnSpec
{
    const char *header;
    const char *key;
};

const std::array<ColumnSpec, 13> kColumns = {{
    {"CharGUID", "charguid"},
    {"角色名称", "charname"},
    {"门派", "menpai"},
    {"等级", "level"},
    {"ZoneWorldID", "zoneworldid"},
    {"元宝", "yuanbao"},
    {"绑元宝", "bdyuanbao"},
    {"金币", "vmoney"},
    {"交子", "bankmoney"},
    {"武道点", "sect_point"},
    {"地图ID", "scene"},
    {"X", "xpos"},
    {"Z", "zpos"},
}};
const int kNameColumn = 1;
const int kMenpaiColumn = 2;
} // namespace

CharacterTableModel::CharacterTableModel(QObject *parent)
    : QAbstractTableModel(parent)
{
}

QString CharacterTableModel::menpaiName(int menpai)
{
    static const char *const names[] = {"少林", "明教", "丐帮", "武当", "峨眉", "星宿",
                                        "天龙", "天山", "逍遥", "无门派", "曼陀"};
    if (menpai >= 0 && menpai < int(std::size(names)))
        return QString::fromUtf8(names[menpai]);
    return QString::number(menpai);
}

void CharacterTableModel::setCharacters(const QList<CharacterSummary> &characters)
{
    beginResetModel();
    m_characters = characters;
    sortRecords();
    endResetModel();
}

QString CharacterTableModel::cellText(int row, int column) const
{
    const QVariant value = m_characters.at(row).value(QLatin1String(kColumns.at(column).key));
    if (column == kMenpaiColumn)
        return menpaiName(value.toInt());
    return value.toString();
}

int CharacterTableModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_characters.size());
}

int CharacterTableModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(kColumns.size());
}

QVariant CharacterTableModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::ToolTipRole))
        return QVariant();
    return cellText(index.row(), index.column());
}

QVariant CharacterTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return QVariant();
    if (orientation == Qt::Vertical)
        return section + 1;
    return QString::fromUtf8(kColumns.at(section).header);
}

void CharacterTableModel::sort(int column, Qt::SortOrder order)
{
    if (column < 0 || column >= columnCount())
        return;
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    m_sortColumn = column;
    m_sortOrder = order;
    const std::vector<qsizetype> oldRows = sortRecords();
    // The current row and the selection follow their records.
    if (!oldRows.empty()) {
        std::vector<int> newRowOf(oldRows.size());
        for (size_t row = 0; row < oldRows.size(); ++row)
            newRowOf[size_t(oldRows[row])] = int(row);
        const QModelIndexList before = persistentIndexList();
        QModelIndexList after;
        after.reserve(before.size());
        for (const QModelIndex &index : before)
            after.append(this->index(newRowOf[size_t(index.row())], index.column()));
        changePersistentIndexList(before, after);
    }
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

std::vector<qsizetype> CharacterTableModel::sortRecords()
{
    if (m_sortColumn < 0 || m_characters.size() < 2)
        return {};
    // The name sorts as text; every other column, the sect included, by its number.
    struct Keyed
    {
        QString text;
        qint64 number;
        qsizetype index;
    };
    const bool byText = m_sortColumn == kNameColumn;
    const QString key = QLatin1String(kColumns.at(m_sortColumn).key);
    std::vector<Keyed> keyed;
    keyed.reserve(m_characters.size());
    for (qsizetype i = 0; i < m_characters.size(); ++i) {
        if (byText)
            keyed.push_back({cellText(int(i), m_sortColumn), 0, i});
        else
            keyed.push_back({QString(), m_characters.at(i).value(key).toLongLong(), i});
    }
    auto less = [byText](const Keyed &a, const Keyed &b) { return byText ? a.text < b.text : a.number < b.number; };
    if (m_sortOrder == Qt::AscendingOrder)
        std::stable_sort(keyed.begin(), keyed.end(), less);
    else
        std::stable_sort(keyed.begin(), keyed.end(), [&less](const Keyed &a, const Keyed &b) { return less(b, a); });
    QList<CharacterSummary> sorted;
    sorted.reserve(m_characters.size());
    std::vector<qsizetype> oldRows;
    oldRows.reserve(keyed.size());
    for (const Keyed &k : keyed) {
        sorted.append(m_characters.at(k.index));
        oldRows.push_back(k.index);
    }
    m_characters = sorted;
    return oldRows;
}
