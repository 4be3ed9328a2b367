#include "debuglog.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDebug>
#include <QFile>
#include <QTextStream>

QString applicationDirectory()
{
    // Without an application object there is no executable path to go by.
    if (!QCoreApplication::instance())
        return QString();
    return QCoreApplication::applicationDirPath();
}

void debugLog(const QString &message)
{
    const QString dir = applicationDirectory();
    if (!dir.isEmpty()) {
        QFile file(dir + QStringLiteral("/debug.log"));
        if (file.open(QIODevice::Append | QIODevice::Text)) {
            QTextStream out(&file);
            out.setEncoding(QStringConverter::Utf8);
            out << QDateTime::currentDateTime().toString(QStringLiteral("[yyyy-MM-dd HH:mm:ss] "))
                << message << '\n';
        }
    }
    qDebug().noquote() << message;
}
