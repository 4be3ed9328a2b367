#pragma once

#include "base/message.h"

#include "db/hostconfig.h"
#include "db/sessiontask.h"
#include "merge/mergeengine.h"
#include "merge/mergesettings.h"

#include <QDialog>
#include <QPointer>
#include <QList>

#include <atomic>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QSqlDatabase;
class LogView;

// Merges one zone of a source server ("副区") into a target server ("主区"): connects both,
// shows their world ids and the merge mode, and runs the merge engine on a worker thread.
class MergeServerDialog : public QDialog
{
    Q_OBJECT

public:
    explicit MergeServerDialog(const HostConfigList &hostConfigs, QWidget *parent = nullptr);
    ~MergeServerDialog() override;

    // The settings of the last start; what the engine works from.
    const MergeSettings &mergeSettings() const { return m_settings; }
    const MergeReport &lastReport() const { return m_report; }

    // Where the backup looks for mysqldump; empty for the usual places (tests point it elsewhere).
    void setDumpProgram(const QString &program) { m_dumpProgram = program; }

private slots:
    void onMainHostChanged(int index);
    void onMainTestConnection();
    void onMainConnectClicked();
    void onSubHostChanged(int index);
    void onSubTestConnection();
    void onSubConnectClicked();
    void onStartMerge();
    void onMergeFinished(bool ok, bool cancelled);

public slots:
    // Closing while a merge runs asks first, then cancels it and closes when it has ended.
    void reject() override;

private:
    struct ServerGroup
    {
        bool isMain = true;
        Message label;           // "主区" or "副区"
        QString prefix;          // of the connection names: "main" or "sub"
        QComboBox *preset = nullptr;
        QLineEdit *host = nullptr;
        QLineEdit *port = nullptr;
        QLineEdit *user = nullptr;
        QLineEdit *password = nullptr;
        QLineEdit *charDatabase = nullptr;
        QLineEdit *accountDatabase = nullptr;
        QComboBox *worldIds = nullptr;
        QPushButton *testButton = nullptr;
        QPushButton *connectButton = nullptr;
        QLabel *status = nullptr;
        bool connected = false;
    };

    QWidget *createGroup(ServerGroup &group, const QString &title);
    MergeEndpoint endpoint(const ServerGroup &group) const;
    void hostChanged(ServerGroup &group, int index);
    void testConnection(ServerGroup &group);
    void connectClicked(ServerGroup &group);
    // Reaches the group's server on a worker: a test, or the connect that reads its worlds.
    void runCheck(ServerGroup &group, bool test);
    void showDisconnected(ServerGroup &group);
    void updateMergeMode();
    void addLogLine(const Message &text);
    void writeMergeLog(const QString &line);
    // Runs on the worker: the preflight, then (when the operator goes on) the merge.
    void onPreflightFinished(bool ok);
    void startRun();
    // Asks whether to stop the running merge; true when it is being cancelled.
    bool askToCancel();
    void setMerging(bool merging, const QString &buttonText);
    // What identifies one merge: both servers and both worlds.
    QString mergeKey() const;

    HostConfigList m_hostConfigs;
    ServerGroup m_main;
    ServerGroup m_sub;
    int m_mainWorldId = -1;
    int m_subWorldId = -1;
    MergeSettings m_settings;
    MergeReport m_report;
    bool m_merging = false;
    bool m_backupFirst = false;
    bool m_closeWhenDone = false;
    std::atomic_bool m_cancel{false};
    QString m_dumpProgram;
    QString m_doneKey;  // the merge that has just succeeded, not offered again
    MergePreflight m_preflight;
    SessionTask *m_task = nullptr;  // the running merge
    QPointer<SessionTask> m_preflightTask;
    QList<SessionTask *> m_checks;  // servers being reached
    QPushButton *m_cancelButton = nullptr;

    QLabel *m_modeLabel = nullptr;
    QLineEdit *m_charSuffix = nullptr;
    QLineEdit *m_accountSuffix = nullptr;
    QCheckBox *m_cleanCheck = nullptr;
    QLineEdit *m_cleanLevel = nullptr;
    QCheckBox *m_mergeWebCheck = nullptr;
    QPushButton *m_mergeButton = nullptr;
    LogView *m_logView = nullptr;
    QProgressBar *m_progressBar = nullptr;
};
