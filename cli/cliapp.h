#pragma once

#include <QStringList>

// quorvel-cli: the scripted operations of the program, over the same engines as the windows.
// Returns the exit code: 0 success, 1 a failed operation, 2 bad usage.
int runCommandLine(const QStringList &arguments);
