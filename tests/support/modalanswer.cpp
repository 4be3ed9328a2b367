#include "modalanswer.h"

#include <QApplication>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTimer>

#include <functional>
#include <memory>

void withNextModal(std::function<void(QWidget *)> action, const char *className)
{
    auto *timer = new QTimer(qApp);
    timer->setObjectName(QStringLiteral("modalAnswerTimer"));
    auto tries = std::make_shared<int>(0);
    timer->setInterval(20);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, tries, action, className]() {
        QWidget *modal = QApplication::activeModalWidget();
        if (modal && modal->isVisible() && (!className || modal->inherits(className))) {
            timer->stop();
            timer->deleteLater();
            QPointer<QWidget> guard(modal);
            action(modal);
            // A failed check inside the action must not leave the test hanging on an open box.
            if (guard && guard->isVisible())
                guard->close();
            return;
        }
        if (++*tries > 500) {  // ten seconds: give up rather than hang
            timer->stop();
            timer->deleteLater();
        }
    });
    timer->start();
}

namespace {
ModalRecord recordOf(QWidget *modal)
{
    auto *box = qobject_cast<QMessageBox *>(modal);
    return {box ? box->windowTitle() : QString(), box ? box->text() : QString(), true};
}

void press(QWidget *modal, QMessageBox::StandardButton button)
{
    auto *box = qobject_cast<QMessageBox *>(modal);
    if (box && box->button(button))
        box->button(button)->click();
    else
        modal->close();
}
} // namespace

void answerMessageBoxes(const QList<QMessageBox::StandardButton> &buttons, QList<ModalRecord> *records)
{
    if (buttons.isEmpty())
        return;
    const QList<QMessageBox::StandardButton> rest = buttons.mid(1);
    const QMessageBox::StandardButton button = buttons.first();
    withNextModal([button, rest, records](QWidget *modal) {
        if (records)
            records->append(recordOf(modal));
        answerMessageBoxes(rest, records);  // armed before this box's answer returns control
        press(modal, button);
    }, "QMessageBox");
}

void answerNextMessageBox(QMessageBox::StandardButton button, ModalRecord *record)
{
    withNextModal([button, record](QWidget *modal) {
        if (record)
            *record = recordOf(modal);
        press(modal, button);
    }, "QMessageBox");
}

bool clickButton(QWidget *parent, const char *objectName)
{
    // One button of that name, or the test is wrong about the window.
    const QList<QPushButton *> buttons = parent->findChildren<QPushButton *>(QLatin1String(objectName));
    if (buttons.size() != 1)
        return false;
    buttons.first()->click();
    return true;
}

QLineEdit *editWithPlaceholder(QWidget *parent, const QString &placeholder)
{
    for (QLineEdit *edit : parent->findChildren<QLineEdit *>()) {
        if (edit->placeholderText() == placeholder)
            return edit;
    }
    return nullptr;
}

void stopAnsweringModals()
{
    for (QTimer *timer : qApp->findChildren<QTimer *>(QStringLiteral("modalAnswerTimer"), Qt::FindDirectChildrenOnly))
        delete timer;
}
