#pragma once

#include <QDialogButtonBox>
#include <QMessageBox>
#include <QString>

#include <functional>

class QLineEdit;
class QWidget;

// Answers the next modal widget from a timer, so a test never hangs on a box.
// The seen title and text are recorded for the test to check.
struct ModalRecord
{
    QString title;
    QString text;
    bool seen = false;
};

// Presses `button` on the next QMessageBox that becomes the active modal widget.
void answerNextMessageBox(QMessageBox::StandardButton button, ModalRecord *record = nullptr);

// Answers the next message boxes in turn, one button each; records what they said.
void answerMessageBoxes(const QList<QMessageBox::StandardButton> &buttons, QList<ModalRecord> *records = nullptr);

// Drops every answer still armed, e.g. the guard against an error box that did not come.
void stopAnsweringModals();

// Clicks the one push button of this object name among the widget's children; false when there is
// none or more than one.
bool clickButton(QWidget *parent, const char *objectName);

// The line edit with this placeholder among the widget's children, or null.
QLineEdit *editWithPlaceholder(QWidget *parent, const QString &placeholder);

// Calls `action` with the next active modal widget (a dialog), e.g. to fill and accept it.
// With a class name, other modal windows (such as the dialog that opens a box) are passed over.
void withNextModal(std::function<void(QWidget *)> action, const char *className = nullptr);
