#pragma once

#include "base/message.h"

#include "db/sessiontask.h"
#include "merge/sameservermerge.h"

#include <QDialog>
#include <QList>

#include <atomic>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;
class LogView;

// Merges one world of the session's character database into another ("副区" into "主区"),
// with an optional clean-up of low-level characters and an optional account-database merge.
// Shows a live preview and runs the merge engine on a worker thread.
class SameServerMergeDialog : public QDialog
{
    Q_OBJECT

public:
    explicit SameServerMergeDialog(QWidget *parent = nullptr);
    ~SameServerMergeDialog() override;

    // The parameters of the last start, as the engine reads them.
    const SameServerMergeParameters &runParameters() const { return m_parameters; }

private slots:
    void onAccountModeChanged();
    void onCleanLowLevelToggled(bool checked);
    void onWorldIdChanged();
    void onPreview();
    void onExecute();
    void onMergeFinished(bool success);

private:
    void loadWorldList();
    int levelValue() const;
    void addLogLine(const Message &message);

    QList<int> m_worldIds;
    SameServerMergeParameters m_parameters;
    SessionTask *m_task = nullptr;  // the running merge

    QComboBox *m_subCombo = nullptr;
    QComboBox *m_mainCombo = nullptr;
    QCheckBox *m_cleanCheck = nullptr;
    QLineEdit *m_levelEdit = nullptr;
    QLabel *m_cleanCountLabel = nullptr;
    QRadioButton *m_sameAccountRadio = nullptr;
    QRadioButton *m_independentRadio = nullptr;
    QGroupBox *m_accountGroup = nullptr;
    QLineEdit *m_mainAccountEdit = nullptr;
    QLineEdit *m_subAccountEdit = nullptr;
    QLineEdit *m_suffixEdit = nullptr;
    QLabel *m_conflictLabel = nullptr;
    QLabel *m_previewLabel = nullptr;
    LogView *m_logView = nullptr;
    QProgressBar *m_progressBar = nullptr;
    QPushButton *m_executeButton = nullptr;
    QPushButton *m_closeButton = nullptr;
    QString m_undoPath;  // written by the merge's worker, read after it finished
};
