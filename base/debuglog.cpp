#include "debuglog.h"

#include "atomicfile.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTextStream>

QString applicationDirectory()
{
    // Without an application object there is no executable path to go by.
    if (!QCoreApplication::instance())
        return QString();
    const QString program = QCoreApplication::applicationDirPath();
    // A package puts this marker among its shared files: installed programs keep their files
    // in the user's data folder (the window program's AppDataLocation, the same for the
    // command line), a program run from its build or unpacked folder beside itself.
    if (!QFileInfo::exists(program + QStringLiteral("/../share/quorvel/installed")))
        return program;
    const QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QStringLiteral("/Velistra/Quorvel");
    QDir().mkpath(data);
    return data;
}

void debugLog(const QString &message)
{
    const QString dir = applicationDirectory();
    if (!dir.isEmpty()) {
        QFile file(dir + QStringLiteral("/debug.log"));
        if (openPrivateAppend(&file)) {
            QTextStream out(&file);
            out.setEncoding(QStringConverter::Utf8);
            out << QDateTime::currentDateTime().toString(QStringLiteral("[yyyy-MM-dd HH:mm:ss] "))
                << message << '\n';
        }
    }
    qDebug().noquote() << message;
}
