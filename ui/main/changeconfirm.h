#pragma once

#include <QMessageBox>
#include "base/message.h"

#include <QList>

// The confirmation of an operation that changes data: the question, then what it will touch as
// counted on the server (`shown` in the text, `details` behind "Show Details..."), then where
// the way back is. True when the operator answers Yes; No is the default.
bool confirmChange(QWidget *parent, QMessageBox::Icon icon, const QString &title, const QString &question,
                   const QList<Message> &shown, const QList<Message> &details = {}, bool undoFile = true);

// "\n\n撤销文件: <path>" for a result box, or nothing when no file was written.
QString undoFileLine(const QString &path);
