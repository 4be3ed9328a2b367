#pragma once

#include <QDialog>
#include <QList>
#include <QMap>

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

// Ticks several world ids out of those present in t_char, with their character counts.
class WorldIdSelectorDialog : public QDialog
{
    Q_OBJECT

public:
    explicit WorldIdSelectorDialog(QWidget *parent);

    void setWorldIds(const QList<int> &worldIds, const QMap<int, int> &counts);
    // Every ticked id in list order, hidden entries included.
    QList<int> selectedWorldIds() const;

private slots:
    void onSelectAll();
    void onSelectNone();
    void onInvertSelection();
    void onSearchTextChanged(const QString &text);
    void updateSelectionInfo();

private:
    QMap<int, int> m_counts;
    QLineEdit *m_filter = nullptr;
    QListWidget *m_list = nullptr;
    QLabel *m_status = nullptr;
    QPushButton *m_okButton = nullptr;
};
