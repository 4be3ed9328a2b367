#pragma once

#include <QString>

// Appends "[yyyy-MM-dd HH:mm:ss] message" to debug.log beside the program and
// sends the bare message to the debug output. Never fails towards the caller.
void debugLog(const QString &message);

// Directory of the executable; every file of the program lives relative to it.
QString applicationDirectory();
