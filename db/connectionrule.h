#pragma once

#include "base/message.h"

#include <QString>
#include <QStringList>
#include <QVariant>

class QSqlDatabase;

struct HostConfig;

// The MySQL ODBC driver names tried, in order, when the native plug-in is not available.
const QStringList &odbcDriverNames();

// ODBC connection string for one driver. Values that would break the string (";", "{",
// "}", "=", surrounding blanks) are wrapped in braces with "}" doubled. `extraAttributes`
// (for example "CHARSET=gbk") stand before the final OPTION=3.
QString odbcConnectionString(const QString &driver, const QString &host, int port,
                             const QString &database, const QString &user,
                             const QString &password, const QString &extraAttributes = QString());

// The host to reach `host` and its port over TCP: every host entry names a port, and that port
// is meant on every path. MySQL's client libraries, their ODBC drivers and tools take "localhost"
// for the default local socket and ignore the port; 127.0.0.1 is always TCP.
QString tcpHost(const QString &host);
// The same for the command-line tools, which also get --protocol=TCP: -h, -P and the protocol.
QStringList toolConnectionArguments(const QString &host, int port, const QString &user);

// Whether the native "QMYSQL" plug-in is used. Tests switch it off to exercise the ODBC path.
bool isNativeMysqlAvailable();
void setNativeMysqlEnabled(bool enabled);

// A text value to bind on this connection. On ODBC connections the UTF-8 bytes are bound:
// Qt 6.4's ODBC plug-in passes bound text with its terminating NUL, which the MariaDB ODBC
// driver keeps as part of the value, so "alice" would never equal 'alice'.
QVariant textParameter(const QSqlDatabase &db, const QString &text);

// The SQL mode of every connection the program works on: strict, so that the server refuses a
// value that does not fit instead of cutting or converting it with a warning, and without the
// zero-date flags (rows of older game servers hold zero dates) and ONLY_FULL_GROUP_BY. One known
// mode whatever the server's: no quoting or escaping flag of a server changes what a statement
// of the program means.
extern const char *const kWorkSqlMode;
// Sets kWorkSqlMode on an open connection; false with *error when the server refuses it.
bool applyWorkSession(QSqlDatabase &db, QString *error);

// Releases and unregisters a named connection if one is registered.
void removeNamedConnection(const QString &name);

struct ConnectionOutcome
{
    bool ok = false;
    bool viaOdbc = false;
    QString odbcDriver;  // the driver that opened, on the ODBC path
    Message lastError;   // the connection's last error text after the last attempt
    Message nativeError; // why the native plug-in failed, when it was tried

    // The most telling reason of a failure: the native plug-in's, else the last attempt's.
    Message failureReason() const { return nativeError.isEmpty() ? lastError : nativeError; }
};

// Opens a named MySQL connection: native plug-in with the given client options first;
// ODBC with every driver of the list when the plug-in is missing (or, on request, when
// the native open failed). The connection stays registered under its name either way.
struct ConnectionRequest
{
    QString host;
    int port = 3306;
    QString user;
    QString password;
    QString database;
    QString nativeOptions;         // client options of the native plug-in
    QString odbcAttributes;        // extra attributes of the ODBC connection string
    bool odbcAfterNativeFailure = false;
};

ConnectionOutcome openMysqlConnection(const QString &name, const ConnectionRequest &request);

ConnectionOutcome openMysqlConnection(const QString &name, const HostConfig &config,
                                      const QString &options,
                                      bool odbcAfterNativeFailure = false);
