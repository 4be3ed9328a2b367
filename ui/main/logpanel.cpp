#include "logpanel.h"

#include <QCoreApplication>
#include <QEvent>
#include <QGroupBox>
#include <QLocale>
#include <QProgressBar>
#include <QScrollBar>
#include <QTextCursor>
#include <QTime>
#include <QVBoxLayout>

namespace {

class LogGroup : public QGroupBox
{
public:
    explicit LogGroup(QWidget *parent)
        : QGroupBox(parent)
    {
        retranslate();
    }

protected:
    void changeEvent(QEvent *event) override
    {
        if (event->type() == QEvent::LanguageChange)
            retranslate();
        QGroupBox::changeEvent(event);
    }

private:
    void retranslate() { setTitle(QCoreApplication::translate("LogPanel", "操作日志")); }
};

} // namespace

LogView::LogView(QWidget *parent)
    : QTextEdit(parent)
{
    setReadOnly(true);
}

QString LogView::addLine(const Message &message, const QString &prefix)
{
    const QString stamp = prefix.isEmpty() ? QStringLiteral("[%1] ").arg(QTime::currentTime().toString(QStringLiteral("HH:mm:ss"))) : prefix;
    m_lines.append({stamp, message});
    show(stamp, message);
    return stamp + message.stored();
}

void LogView::clearLines()
{
    m_lines.clear();
    clear();
}

void LogView::show(const QString &prefix, const Message &message)
{
    // As plain text: QTextEdit::append() shows escaped markup literally when the rest of the
    // line looks plain ("湖壹陆伍 -&gt; 湖壹陆伍_S2").
    QScrollBar *bar = verticalScrollBar();
    const bool following = bar->value() == bar->maximum();
    QTextCursor cursor(document());
    cursor.movePosition(QTextCursor::End);
    if (!document()->isEmpty())
        cursor.insertBlock();
    cursor.insertText(prefix + message.shown());
    if (following)
        bar->setValue(bar->maximum());
}

void LogView::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange) {
        clear();
        for (const auto &[prefix, message] : std::as_const(m_lines))
            show(prefix, message);
    }
    QTextEdit::changeEvent(event);
}

LogPanel createLogPanel(QWidget *parent, int progressHeight)
{
    LogPanel panel;
    panel.group = new LogGroup(parent);
    auto *layout = new QVBoxLayout(panel.group);
    panel.view = new LogView(panel.group);
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

void showProgress(QProgressBar *bar, const Message &stage, qint64 done, qint64 total)
{
    bar->setValue(int(qBound(qint64(0), done * 100 / qMax<qint64>(1, total), qint64(100))));
    const QLocale locale;
    bar->setFormat(stage.isEmpty() ? QStringLiteral("%p%")
                                   : QStringLiteral("%1 (%2/%3)").arg(stage.shown(), locale.toString(done), locale.toString(total)));
}
