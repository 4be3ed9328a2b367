#pragma once

#include <QDate>
#include <QString>

// "[HH:mm:ss] message" with the current local time; a "%" in the message is kept literally.
QString timestampedLine(const QString &message);

// Appends one line to Log/<prefix><yyyy-MM-dd>.log beside the program, creating the folder.
// A file that cannot be opened loses the line without report.
void appendToDailyLog(const QString &prefix, const QString &line,
                      const QDate &date = QDate::currentDate());

// The path of that file for a date.
QString dailyLogPath(const QString &prefix, const QDate &date);
