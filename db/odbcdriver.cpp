#include "odbcdriver.h"

#include "base/storedtext.h"

#include <QProcess>
#include <QSqlDatabase>

namespace {
const char *const kDownloadUrl = "https://dev.mysql.com/downloads/connector/odbc/";
}

QString probeOdbcDriverName(const QString &program, const QStringList &arguments, int timeoutMs)
{
    QProcess process;
    process.start(program, arguments, QIODevice::ReadWrite);
    process.waitForFinished(timeoutMs);
    // Whatever arrived within the time counts; a probe still running is ended here.
    const QString output = QString::fromLocal8Bit(process.readAllStandardOutput());
    if (process.state() != QProcess::NotRunning) {
        process.kill();
        process.waitForFinished(1000);
    }
    // PowerShell prints just the name; odbcinst prints "[name]" per installed driver.
    const QStringList lines = output.split(QLatin1Char('\n'));
    for (QString line : lines) {
        line = line.trimmed();
        if (line.startsWith(QLatin1Char('[')) && line.endsWith(QLatin1Char(']')))
            line = line.mid(1, line.size() - 2).trimmed();
        if (line.contains(QLatin1String("MySQL"), Qt::CaseInsensitive))
            return line;
    }
    return QString();
}

bool checkOdbcDriver()
{
    const QStringList drivers = QSqlDatabase::drivers();
    if (drivers.isEmpty() || !drivers.contains(QStringLiteral("QODBC")))
        return false;
#ifdef Q_OS_WIN
    return !probeOdbcDriverName(
                QStringLiteral("powershell"),
                {QStringLiteral("-Command"),
                 QStringLiteral("Get-OdbcDriver | Where-Object { $_.Name -like '*MySQL*' } | "
                                "Select-Object -First 1 -ExpandProperty Name")})
                .isEmpty();
#else
    // Without PowerShell, unixODBC's own list of installed drivers answers the same question.
    return !probeOdbcDriverName(QStringLiteral("odbcinst"),
                                {QStringLiteral("-q"), QStringLiteral("-d")})
                .isEmpty();
#endif
}

QString missingOdbcDriverText()
{
    return STORED_TEXT_IN("Startup", "未检测到 MySQL ODBC 驱动，程序可能无法连接数据库。\n\n请下载安装 MySQL ODBC 驱动:\n")
        + QLatin1String(kDownloadUrl)
        + STORED_TEXT_IN("Startup", "\n\n或者运行程序目录下的 mysql-connector-odbc-9.x.x-winx64.msi\n\n是否继续启动程序？");
}

