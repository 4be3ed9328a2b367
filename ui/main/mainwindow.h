#pragma once

#include "base/message.h"

#include "db/connectionrule.h"
#include "db/hostconfig.h"
#include "db/sessiontask.h"
#include "engine/backupmanager.h"

#include <QMainWindow>
#include <QPointer>

#include <functional>

class QComboBox;
class QGroupBox;
class QLabel;
class QProgressBar;
class QPushButton;
class LogView;

class MainWindow : public QMainWindow
{
    Q_OBJECT

public:
    explicit MainWindow(QWidget *parent = nullptr);

    HostConfig currentConfig() const;
    // The server backup and restore work on (named after its host entry), and its name for the windows.
    HostConfig toolServer(QString *label) const;
    const HostConfigList &hostConfigs() const { return m_hostConfigs; }


    BackupManager *backupManager() const { return m_backupManager; }

protected:
    void closeEvent(QCloseEvent *event) override;
    // A new language: the window's texts and its log are set again.
    void changeEvent(QEvent *event) override;

private slots:
    void onTestConnection();
    void onConnect();
    void onBackupDatabase();
    void onRestoreDatabase();
    void onHostConfig();
    void onHostComboChanged(int index);
    void onLanguageChosen();
    void onAccountManager();
    void onCharacterManager();
    void onMergeServer();
    void onSameServerMerge();
    void onZoneWipe();
    void onUndoRecords();
    void onLogMessage(const Message &message);
    void onConnectionStatusChanged(bool connected);

private:
    // After a backup of a host entry's database: offers to keep only its newest backups.
    void pruneEntryBackups(const QString &entry, const QString &database);
    void buildLayout();
    void retranslate();
    void connectSignals();
    void loadHostConfigs();
    bool saveHostConfigs();
    bool requireConnection();
    // Runs a dump or restore on a task of its own; `done` gets its result on this thread.
    bool runTool(const DatabaseTool::Request &request, const std::function<void(const DatabaseTool::Result &)> &done);
    DatabaseTool::Request toolRequest(DatabaseTool::Request::Kind kind, const HostConfig &server, const QString &path) const;
    void setBackupButtonsEnabled(bool enabled);
    // Enables what needs the session, or a free server, by the session's state.
    void updateSessionActions();
    // Runs a connection probe on a worker; `done` gets its outcome on this thread.
    void probeInBackground(const HostConfig &config, bool test, const std::function<void(const ConnectionOutcome &)> &done);

    HostConfigList m_hostConfigs;
    QComboBox *m_languageCombo = nullptr;
    QComboBox *m_hostCombo = nullptr;
    QPushButton *m_configButton = nullptr;
    QPushButton *m_connectButton = nullptr;
    QPushButton *m_testButton = nullptr;
    QPushButton *m_backupButton = nullptr;
    QPushButton *m_restoreButton = nullptr;
    QPushButton *m_accountButton = nullptr;
    QLabel *m_statusLabel = nullptr;
    QLabel *m_configLabel = nullptr;
    QLabel *m_languageLabel = nullptr;
    QGroupBox *m_connectionGroup = nullptr;
    QGroupBox *m_featureGroup = nullptr;
    QGroupBox *m_logGroup = nullptr;
    LogView *m_logView = nullptr;
    QProgressBar *m_progressBar = nullptr;
    BackupManager *m_backupManager = nullptr;
    QList<QPushButton *> m_sessionButtons;  // off while an operation holds the session
    int m_sessionIndex = -1;                // the host entry the session is connected to
    bool m_probing = false;                 // a connection attempt or test is under way
    QPointer<SessionTask> m_toolTask;       // the running backup or restore
};
