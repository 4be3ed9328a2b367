#pragma once

#include <QString>
#include <QStringList>

// True when the SQL layer has its ODBC plug-in and a MySQL ODBC driver is installed.
bool checkOdbcDriver();

// Runs one probe program and returns the name of the first installed driver whose name
// contains "MySQL", or an empty text when the program is missing, silent or too slow.
QString probeOdbcDriverName(const QString &program, const QStringList &arguments,
                            int timeoutMs = 3000);

// The text of that warning.
QString missingOdbcDriverText();
