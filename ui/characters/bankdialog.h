#pragma once

#include <QDialog>

class QLabel;
class QTableWidget;

// The items one character keeps in its bank (positions 210 to 329), named by the catalogue.
class BankDialog : public QDialog
{
    Q_OBJECT

public:
    BankDialog(int charguid, const QString &characterName, QWidget *parent);

    // "未绑定", "已绑定", "装备绑定" or "状态%1" for byte 26 of the item's parameter block.
    static QString bindStateText(int state);

private slots:
    void onRefresh();

private:
    void loadItems();

    int m_charguid;
    QTableWidget *m_table = nullptr;
    QLabel *m_info = nullptr;
};
