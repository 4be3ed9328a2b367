#include "charactertablemodel.h"

#include <QCoreApplication>

#include <algorithm>
#include <array>
#include <vector>

namespace {
const std::array<const char *, CharacterSummary::FieldCount> kHeaders = {
    "CharGUID", QT_TRANSLATE_NOOP("CharacterTableModel", "角色名称"), QT_TRANSLATE_NOOP("CharacterTableModel", "门派"),
    QT_TRANSLATE_NOOP("CharacterTableModel", "等级"), "ZoneWorldID", QT_TRANSLATE_NOOP("CharacterTableModel", "元宝"),
    QT_TRANSLATE_NOOP("CharacterTableModel", "绑元宝"), QT_TRANSLATE_NOOP("CharacterTableModel", "金币"),
    QT_TRANSLATE_NOOP("CharacterTableModel", "交子"), QT_TRANSLATE_NOOP("CharacterTableModel", "武道点"),
    QT_TRANSLATE_NOOP("CharacterTableModel", "地图ID"), "X", "Z"};
} // namespace

CharacterTableModel::CharacterTableModel(QObject *parent)
    : QAbstractTableModel(parent)
{
}

QString CharacterTableModel::menpaiName(int menpai)
{
    static const char *const names[] = {
        QT_TRANSLATE_NOOP("CharacterTableModel", "少林"), QT_TRANSLATE_NOOP("CharacterTableModel", "明教"),
        QT_TRANSLATE_NOOP("CharacterTableModel", "丐帮"), QT_TRANSLATE_NOOP("CharacterTableModel", "武当"),
        QT_TRANSLATE_NOOP("CharacterTableModel", "峨眉"), QT_TRANSLATE_NOOP("CharacterTableModel", "星宿"),
        QT_TRANSLATE_NOOP("CharacterTableModel", "天龙"), QT_TRANSLATE_NOOP("CharacterTableModel", "天山"),
        QT_TRANSLATE_NOOP("CharacterTableModel", "逍遥"), QT_TRANSLATE_NOOP("CharacterTableModel", "无门派"),
        QT_TRANSLATE_NOOP("CharacterTableModel", "曼陀")};
    if (menpai >= 0 && menpai < int(std::size(names)))
        return QCoreApplication::translate("CharacterTableModel", names[menpai]);
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
    const CharacterSummary &character = m_characters.at(row);
    const auto field = CharacterSummary::Field(column);
    if (field == CharacterSummary::Menpai)
        return menpaiName(int(character.number(field)));
    return character.text(field);
}

int CharacterTableModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_characters.size());
}

int CharacterTableModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(kHeaders.size());
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
    return QCoreApplication::translate("CharacterTableModel", kHeaders.at(section));
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
        const QString *text;
        qint64 number;
        qsizetype index;
    };
    const auto field = CharacterSummary::Field(m_sortColumn);
    const bool byText = field == CharacterSummary::Name;
    std::vector<Keyed> keyed;
    keyed.reserve(m_characters.size());
    for (qsizetype i = 0; i < m_characters.size(); ++i)
        keyed.push_back({&m_characters.at(i).name, m_characters.at(i).number(field), i});
    auto less = [byText](const Keyed &a, const Keyed &b) { return byText ? *a.text < *b.text : a.number < b.number; };
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
    m_characters = std::move(sorted);
    return oldRows;
}
