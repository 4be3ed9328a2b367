#include "connectionrule.h"

#include "base/storedtext.h"
#include "hostconfig.h"

#include <QAtomicInt>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

namespace {
QAtomicInt nativeEnabled(1);

QString odbcValue(const QString &value)
{
    static const QString special = QStringLiteral(";{}=");
    bool needsBraces = value != value.trimmed();
    for (const QChar c : value)
        needsBraces = needsBraces || special.contains(c);
    if (!needsBraces)
        return value;
    QString escaped = value;
    escaped.replace(QLatin1Char('}'), QLatin1String("}}"));
    return QLatin1Char('{') + escaped + QLatin1Char('}');
}
} // namespace

const QStringList &odbcDriverNames()
{
    static const QStringList names = {
        QStringLiteral("MySQL ODBC 9.5 Unicode Driver"),
        QStringLiteral("MySQL ODBC 9.5 ANSI Driver"),
        QStringLiteral("MySQL ODBC 9.3 ANSI Driver"),
        QStringLiteral("MySQL ODBC 9.3 Unicode Driver"),
        QStringLiteral("MySQL ODBC 9.0 Unicode Driver"),
        QStringLiteral("MySQL ODBC 9.0 ANSI Driver"),
        QStringLiteral("MySQL ODBC 8.0 Unicode Driver"),
        QStringLiteral("MySQL ODBC 8.0 ANSI Driver"),
        QStringLiteral("MySQL ODBC 5.3 Unicode Driver"),
        QStringLiteral("MySQL ODBC 5.3 ANSI Driver"),
    };
    return names;
}

QString odbcConnectionString(const QString &driver, const QString &host, int port,
                             const QString &database, const QString &user,
                             const QString &password, const QString &extraAttributes)
{
    // No ";" after the last pair: the MariaDB ODBC driver rejects a string that ends in one.
    QString text = QStringLiteral("DRIVER={%1};SERVER=%2;PORT=%3;DATABASE=%4;USER=%5;PASSWORD=%6;")
        .arg(QString(driver).replace(QLatin1Char('}'), QLatin1String("}}")), odbcValue(host),
             QString::number(port), odbcValue(database), odbcValue(user), odbcValue(password));
    if (!extraAttributes.isEmpty())
        text += extraAttributes + QLatin1Char(';');
    return text + QStringLiteral("OPTION=3");
}

QString tcpHost(const QString &host)
{
    return host.trimmed().compare(QLatin1String("localhost"), Qt::CaseInsensitive) == 0 ? QStringLiteral("127.0.0.1") : host;
}

QStringList toolConnectionArguments(const QString &host, int port, const QString &user)
{
    return {QStringLiteral("-h") + tcpHost(host), QStringLiteral("-P") + QString::number(port), QStringLiteral("--protocol=TCP"),
            QStringLiteral("-u") + user};
}

bool isNativeMysqlAvailable()
{
    return nativeEnabled.loadRelaxed() && QSqlDatabase::isDriverAvailable(QStringLiteral("QMYSQL"));
}

void setNativeMysqlEnabled(bool enabled)
{
    nativeEnabled.storeRelaxed(enabled ? 1 : 0);
}

QVariant textParameter(const QSqlDatabase &db, const QString &text)
{
    if (db.driverName() == QLatin1String("QODBC"))
        return text.toUtf8();
    return text;
}

const char *const kWorkSqlMode = "STRICT_ALL_TABLES,NO_ENGINE_SUBSTITUTION";

bool applyWorkSession(QSqlDatabase &db, QString *error)
{
    QSqlQuery query(db);
    if (query.exec(QStringLiteral("SET SESSION sql_mode = '%1'").arg(QLatin1String(kWorkSqlMode))))
        return true;
    *error = STORED_TEXT_IN("ConnectionRule", "无法设置会话的 sql_mode: %1").arg(query.lastError().text());
    return false;
}

void removeNamedConnection(const QString &name)
{
    if (QSqlDatabase::contains(name))
        QSqlDatabase::removeDatabase(name);
}

ConnectionOutcome openMysqlConnection(const QString &name, const ConnectionRequest &r)
{
    ConnectionOutcome outcome;
    removeNamedConnection(name);

    if (isNativeMysqlAvailable()) {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QMYSQL"), name);
        db.setHostName(tcpHost(r.host));
        db.setPort(r.port);
        db.setUserName(r.user);
        db.setPassword(r.password);
        db.setDatabaseName(r.database);
        db.setConnectOptions(r.nativeOptions);
        outcome.ok = db.open();
        QString error = db.lastError().text();
        if (outcome.ok && !applyWorkSession(db, &error)) {
            outcome.ok = false;
            db.close();
        }
        outcome.lastError = error;
        if (outcome.ok || !r.odbcAfterNativeFailure)
            return outcome;
        outcome.nativeError = db.lastError().text();
        db = QSqlDatabase();
        removeNamedConnection(name);
    }

    outcome.viaOdbc = true;
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QODBC"), name);
    // The driver manager's own errors only say that a driver of that name is not installed;
    // the first installed driver's error (a wrong password, an unknown database) is the one
    // the operator needs.
    QString telling;
    QStringList installed;
    for (const QString &driver : odbcDriverNames()) {
        db.setDatabaseName(odbcConnectionString(driver, tcpHost(r.host), r.port, r.database, r.user, r.password,
                                                r.odbcAttributes));
        if (db.open()) {
            QString error;
            outcome.ok = applyWorkSession(db, &error);
            outcome.lastError = error;
            outcome.odbcDriver = driver;
            if (!outcome.ok)
                db.close();
            return outcome;
        }
        const QString error = db.lastError().text();
        if (!error.contains(QLatin1String("Driver Manager]"))) {
            installed.append(driver);
            if (telling.isEmpty())
                telling = error;
        }
        outcome.lastError = error;
    }
    if (!telling.isEmpty())
        outcome.lastError = STORED_TEXT_IN("ConnectionRule", "%1（已尝试的 ODBC 驱动: %2）").arg(telling, installed.join(QStringLiteral(", ")));
    else
        outcome.lastError = STORED_TEXT_IN("ConnectionRule", "%1（没有安装 MySQL ODBC 驱动，已尝试: %2）").arg(outcome.lastError.stored(), odbcDriverNames().join(QStringLiteral(", ")));
    return outcome;
}

ConnectionOutcome openMysqlConnection(const QString &name, const HostConfig &config,
                                      const QString &options, bool odbcAfterNativeFailure)
{
    ConnectionRequest request;
    request.host = config.host;
    request.port = config.port;
    request.user = config.username;
    request.password = config.password;
    request.database = config.database;
    request.nativeOptions = options;
    request.odbcAfterNativeFailure = odbcAfterNativeFailure;
    return openMysqlConnection(name, request);
}
