#pragma once

#include "engine/undofile.h"

#include "base/message.h"

#include <QDialog>
#include <QList>

class QLabel;
class QPushButton;
class QTableWidget;
class QTextEdit;
class SessionTask;

// "撤销记录": the undo files of backups/undo, newest first, with what each puts back; applies
// the chosen one on the session's server after its checks and the operator's word.
class UndoDialog : public QDialog
{
    Q_OBJECT

public:
    explicit UndoDialog(QWidget *parent = nullptr);

signals:
    void logMessage(const Message &line);

public slots:
    void reload();
    // Closing waits for a running undo: it is one transaction and short.
    void reject() override;

private slots:
    void onSelectionChanged();
    void onApply();
    void onPrune();

private:
    QTableWidget *m_table = nullptr;
    QTextEdit *m_details = nullptr;
    QPushButton *m_applyButton = nullptr;
    QLabel *m_total = nullptr;
    QList<UndoFile::Summary> m_files;
    SessionTask *m_task = nullptr;
    bool m_closeWhenDone = false;
};
