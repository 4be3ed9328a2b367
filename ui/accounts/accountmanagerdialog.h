#pragma once

#include "db/hostconfig.h"
#include "engine/accountstore.h"

#include <QDialog>

#include <functional>

class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;

// The fixed domain appended to new account names when the operator asks for it.

// Lists, searches, registers, edits and deletes the accounts of one account database.
class AccountManagerDialog : public QDialog
{
    Q_OBJECT

public:
    // `accountDatabase`: host, port, username, password and database of the account database.
    explicit AccountManagerDialog(const HostConfig &accountDatabase, QWidget *parent = nullptr);

private slots:
    void onRefresh();
    void onSearch();
    void onRegister();
    void onDelete();
    void onChangePassword();
    void onModifyPoint();
    void onBatchAddPoint();
    void onBatchClearPoint();
    void onBatchSetPoint();
    void onSelectionChanged();
    void onDoubleClicked(int row, int column);

private:
    bool connectAccountDatabase();
    void loadAccounts(const QString &filter);
    static QString hashPassword(const QString &password);

    bool confirm(const QString &text);
    // Runs a change of the account table off the window's thread and shows its outcome; a
    // successful one reloads the whole list unless told not to.
    void change(const QString &what, const AccountChange &operation, const QString &success,
                const QString &failurePrefix, bool reload = true);
    int currentRow() const;
    QString cellText(int row, int column) const;

    HostConfig m_connection;
    AccountStore m_store;
    QLabel *m_status = nullptr;
    QLineEdit *m_searchEdit = nullptr;
    QTableWidget *m_table = nullptr;
    QPushButton *m_deleteButton = nullptr;
    QPushButton *m_passwordButton = nullptr;
    QPushButton *m_pointButton = nullptr;
};
