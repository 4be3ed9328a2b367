#pragma once

#include <QString>

// The few console facts the command line needs, on Windows and elsewhere.
namespace Terminal {

bool isStandardInput();   // standard input is a terminal
bool isStandardError();   // standard error is a terminal

// Reads one line from the terminal with echo switched off; the prompt goes to standard error.
QString readPassword(const QString &prompt);

// One line of standard input, without its line end.
QString readLine();

} // namespace Terminal
