#pragma once

#include "base/message.h"

#include "engine/accountcleanup.h"
#include "engine/zonewipe.h"

#include <QByteArray>
#include <QDialog>
#include <QList>
#include <QMap>

#include <memory>

class QLabel;
class SessionTask;
class QListWidget;
class QProgressBar;
class QPushButton;
class LogView;

// Wipes whole zones: every character of the ticked world ids, and optionally their accounts
// in the ticked account databases.
class ZoneWipeDialog : public QDialog
{
    Q_OBJECT

public:
    explicit ZoneWipeDialog(QWidget *parent = nullptr);

private slots:
    void onRefreshWorldList();
    void onSelectAll();
    void onSelectNone();
    void onStartDelete();
    void onCancelDelete();
    void onDeleteFinished(bool ok, bool cancelled);

public slots:
    // Closing while the wipe runs asks first, then cancels it and closes when it has ended.
    void reject() override;

private:
    void addLogLine(const Message &message);
    void writeLogFile(const QString &line);
    void detectAccountDatabases();
    QStringList checkedAccountDatabases() const;
    void setAllWorldsChecked(bool checked);
    void updateButtons();

    QLabel *m_countLabel = nullptr;
    QListWidget *m_worldList = nullptr;
    QListWidget *m_accountDbList = nullptr;
    LogView *m_logView = nullptr;
    QProgressBar *m_progressBar = nullptr;
    QPushButton *m_deleteButton = nullptr;
    QPushButton *m_cancelButton = nullptr;
    QMap<int, int> m_worldCounts;
    AccountCleanup::WipedAccounts m_accounts;  // of the running wipe
    SessionTask *m_task = nullptr;
    std::shared_ptr<ZoneWipe::Result> m_outcome;  // of the running wipe, written by its worker
    bool m_closeWhenDone = false;
};
