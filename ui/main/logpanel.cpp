#include "logpanel.h"

#include "app/language.h"

#include <QCoreApplication>
#include <QGroupBox>
#include <QProgressBar>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTextCursor>
#include <QTextEdit>
#include <QVBoxLayout>

LogPanel createLogPanel(QWidget *parent, int progressHeight)
{
    LogPanel panel;
    panel.group = new QGroupBox(QCoreApplication::translate("LogPanel", "操作日志"), parent);
    auto *layout = new QVBoxLayout(panel.group);
    panel.view = new QTextEdit(panel.group);
    panel.view->setReadOnly(true);
    // Windows give it their spare height; on a small screen it shrinks to a few lines.
    panel.view->setMinimumHeight(60);
    panel.progress = new QProgressBar(panel.group);
    panel.progress->setValue(0);
    panel.progress->setTextVisible(true);
    panel.progress->setFixedHeight(progressHeight);
    layout->addWidget(panel.view);
    layout->addWidget(panel.progress);
    return panel;
}

void appendLogLine(QTextEdit *view, const QString &line)
{
    // As plain text: QTextEdit::append() shows escaped markup literally when the rest of the
    // line looks plain ("湖壹陆伍 -&gt; 湖壹陆伍_S2").
    QScrollBar *bar = view->verticalScrollBar();
    const bool following = bar->value() == bar->maximum();
    QTextCursor cursor(view->document());
    cursor.movePosition(QTextCursor::End);
    if (!view->document()->isEmpty())
        cursor.insertBlock();
    // The line as stored, after its time, shown in the window's language.
    static const QRegularExpression stamp(QStringLiteral("^(\\[[0-9: -]+\\] )?(.*)$"), QRegularExpression::DotMatchesEverythingOption);
    const QRegularExpressionMatch parts = stamp.match(line);
    cursor.insertText(parts.captured(1) + Language::shown(parts.captured(2)));
    if (following)
        bar->setValue(bar->maximum());
}
