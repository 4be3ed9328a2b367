#pragma once

#include <QString>

class QGroupBox;
class QProgressBar;
class QTextEdit;
class QWidget;

// The "操作日志" group that windows of the program share: a read-only log view above a
// progress bar that shows its text. The view takes what height the window gives it.
struct LogPanel
{
    QGroupBox *group = nullptr;
    QTextEdit *view = nullptr;
    QProgressBar *progress = nullptr;
};

LogPanel createLogPanel(QWidget *parent, int progressHeight);

// Appends one line as a paragraph of its own, shown literally (no markup, line breaks kept).
void appendLogLine(QTextEdit *view, const QString &line);
