#include "dailylog.h"

#include "atomicfile.h"
#include "debuglog.h"

#include <QDir>
#include <QFile>
#include <QTextStream>
#include <QTime>

QString timestampedLine(const QString &message)
{
    return QStringLiteral("[%1] %2").arg(QTime::currentTime().toString(QStringLiteral("HH:mm:ss")),
                                         message);
}

QString dailyLogPath(const QString &prefix, const QDate &date)
{
    return applicationDirectory() + QStringLiteral("/Log/") + prefix
        + date.toString(QStringLiteral("yyyy-MM-dd")) + QStringLiteral(".log");
}

void appendToDailyLog(const QString &prefix, const QString &line, const QDate &date)
{
    QDir().mkpath(applicationDirectory() + QStringLiteral("/Log"));
    QFile file(dailyLogPath(prefix, date));
    if (!openPrivateAppend(&file))
        return;
    QTextStream out(&file);
    out.setEncoding(QStringConverter::Utf8);
    out << line << '\n';
}
