#pragma once

#include "base/message.h"

#include <QList>
#include <QString>
#include <QTextEdit>

class QGroupBox;
class QProgressBar;
class QWidget;

// A read-only log that keeps its lines as messages: each is shown in the window's language after
// its time, and shown again in the new language when the operator switches it.
class LogView : public QTextEdit
{
public:
    explicit LogView(QWidget *parent = nullptr);

    // Appends `message` after `prefix` (the time, "[HH:mm:ss] " when empty) as a paragraph of its
    // own, shown literally (no markup, line breaks kept). Returns the line as kept: the prefix
    // and the message in the source language, for a log file.
    QString addLine(const Message &message, const QString &prefix = QString());
    void clearLines();

protected:
    void changeEvent(QEvent *event) override;

private:
    void show(const QString &prefix, const Message &message);

    QList<std::pair<QString, Message>> m_lines;
};

// The "操作日志" group that windows of the program share: a log view above a progress bar that
// shows its text. The view takes what height the window gives it.
struct LogPanel
{
    QGroupBox *group = nullptr;
    LogView *view = nullptr;
    QProgressBar *progress = nullptr;
};

LogPanel createLogPanel(QWidget *parent, int progressHeight);

// An operation's progress on a bar: its share done, and the stage with its counts as the text.
void showProgress(QProgressBar *bar, const Message &stage, qint64 done, qint64 total);
