#pragma once

#include "message.h"

// A text of the program's own, written in the source language: a Message (see message.h) that
// keeps its arguments apart until it is shown. What is kept (log lines, undo file headers, CSV
// headers, the command line's JSON) is its stored() form and stays in the source language,
// whatever language the window shows, so that logs and files read the same for scripts and
// support; windows and the command line show its shown() form. Extracted for translation with
// the rest (lupdate takes STORED_TEXT for QT_TR_NOOP).
#define STORED_TEXT(text) Message::source(QStringLiteral(text))

// The same where no class or namespace around it gives lupdate a context for the text.
#define STORED_TEXT_IN(context, text) Message::source(QStringLiteral(text))

// A text whose wording follows a count, filled into its "%Ln": STORED_COUNT("找到 %Ln 个角色").count(n).
// lupdate takes it for QT_TR_N_NOOP, so that the catalogue holds the text's plural forms.
#define STORED_COUNT(text) Message::source(QStringLiteral(text))
