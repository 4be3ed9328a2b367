#pragma once

#include "engine/accountcleanup.h"

#include <QByteArray>
#include <QDialog>
#include <QList>
#include <QMap>

class CharacterDeleter;
class QLabel;
class QListWidget;
class QProgressBar;
class QPushButton;
class QTextEdit;

// Wipes whole zones: every character of the ticked world ids, and optionally their accounts
// in the ticked account databases.
class ZoneDeleteDialog : public QDialog
{
    Q_OBJECT

public:
    explicit ZoneDeleteDialog(QWidget *parent = nullptr);

private slots:
    void onRefreshWorldList();
    void onSelectAll();
    void onSelectNone();
    void onStartDelete();
    void onProgressChanged(int current, int total, const QString &table);
    void onDeleteCompleted(bool success, int count);

private:
    void addLogLine(const QString &message);
    void writeLogFile(const QString &line);
    void detectAccountDatabases();
    QStringList checkedAccountDatabases() const;
    bool collectAccountNames(const QList<int> &worldIds, QString *error);
    void deleteAccounts(const QList<QByteArray> &accountNames);
    void setAllWorldsChecked(bool checked);

    QLabel *m_countLabel = nullptr;
    QListWidget *m_worldList = nullptr;
    QListWidget *m_accountDbList = nullptr;
    QTextEdit *m_logView = nullptr;
    QProgressBar *m_progressBar = nullptr;
    QPushButton *m_deleteButton = nullptr;
    QMap<int, int> m_worldCounts;
    bool m_busy = false;
    AccountCleanup::WipedAccounts m_accounts;  // of the running wipe
    CharacterDeleter *m_deleter = nullptr;
};
