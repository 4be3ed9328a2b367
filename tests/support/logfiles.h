#pragma once

#include "base/dailylog.h"
#include "base/debuglog.h"

#include <QFile>
#include <QStringList>

// Messages of debug.log beside the test program, without their time stamps.
inline QStringList debugLogMessages()
{
    QFile file(applicationDirectory() + QStringLiteral("/debug.log"));
    QStringList messages;
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return messages;
    const QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    for (const QString &line : lines)
        messages.append(line.mid(22));  // "[yyyy-MM-dd HH:mm:ss] "
    return messages;
}

inline void clearDebugLog()
{
    QFile::remove(applicationDirectory() + QStringLiteral("/debug.log"));
}

// Today's log file of that prefix beside the program (or in `directory`), or an empty text.
inline QString todaysLog(const QString &prefix, const QString &directory = QString())
{
    QString path = dailyLogPath(prefix, QDate::currentDate());
    if (!directory.isEmpty())
        path.replace(applicationDirectory(), directory);
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}
