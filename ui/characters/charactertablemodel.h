#pragma once

#include "db/databasemanager.h"

#include <QAbstractTableModel>

#include <vector>

// The character list's 13 columns over a list of summaries. Every cell is text and sorting
// compares texts (10 sorts before 9), moving whole records.
class CharacterTableModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    explicit CharacterTableModel(QObject *parent);

    // Replaces the records and puts them in the order of the last sort, if any.
    void setCharacters(const QList<CharacterSummary> &characters);
    const QList<CharacterSummary> &characters() const { return m_characters; }

    QString cellText(int row, int column) const;
    static QString menpaiName(int menpai);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;

private:
    // Sorts by the last sort column; returns, per new row, the row it came from (empty: unchanged).
    std::vector<qsizetype> sortRecords();

    QList<CharacterSummary> m_characters;
    int m_sortColumn = -1;
    Qt::SortOrder m_sortOrder = Qt::AscendingOrder;
};
