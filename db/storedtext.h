#pragma once

#include <QString>

// A text the program writes where it is kept: log lines, failures, undo file headers, CSV
// headers, the command line's JSON. These stay in the source language, whatever language the
// window shows, so that logs and files read the same for scripts and support; windows and the
// command line show them in the operator's language through Language::shown(). Extracted for
// translation with the rest (lupdate takes STORED_TEXT for QT_TR_NOOP).
#define STORED_TEXT(text) QStringLiteral(text)

// The same where no class or namespace around it gives lupdate a context for the text.
#define STORED_TEXT_IN(context, text) QStringLiteral(text)
