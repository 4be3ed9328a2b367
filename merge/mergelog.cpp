#include "mergelog.h"

#include "base/atomicfile.h"
#include "base/debuglog.h"

#include <QDate>
#include <QDebug>
#include <QDir>
#include <QFile>
#include <QMutex>
#include <QMutexLocker>

void writeMergeLogLine(const QString &line)
{
    static QMutex mutex;
    QMutexLocker locker(&mutex);
    const QString directory = applicationDirectory() + QStringLiteral("/Log");
    if (!QDir(directory).exists() && !QDir().mkpath(directory)) {
        qWarning().noquote() << "Failed to create log directory:" << directory;
        return;
    }
    QFile file(directory + QStringLiteral("/merge_%1.log").arg(QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd"))));
    if (!openPrivateAppend(&file)) {
        qWarning().noquote() << "Failed to open log file:" << file.fileName() << file.errorString();
        return;
    }
    file.write(line.toUtf8() + '\n');
    file.flush();
}
