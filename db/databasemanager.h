#pragma once

#include "base/message.h"

#include "characterqueries.h"
#include "connectionrule.h"
#include "hostconfig.h"

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QObject>
#include <QSqlDatabase>
#include <QVariantMap>

class QTimer;

// What a window names as its server: "一区 (host:port/database)", or the address alone.
QString serverLabel(const QString &entryName, const HostConfig &config);

// The charguids of the characters of the given worlds, on any connection; empty with *error
// when the statement fails.
QList<int> charGuidsOfWorlds(QSqlDatabase &db, const QList<int> &worldIds, Message *error);

// Opens `name` by the session's rule: its client options, and latin1 on the native plug-in so
// that legacy bytes pass unchanged. For the session and for engines that need a connection of
// the same kind on a worker thread.
ConnectionOutcome openSessionConnection(const QString &name, const HostConfig &config);

// The one long-lived session with a character database ("main_connection"), with its
// heartbeat and reconnection. Dialogs borrow its connection through database().
class DatabaseManager : public QObject
{
    Q_OBJECT

public:
    static DatabaseManager *instance();
    ~DatabaseManager() override;

    bool connectToDatabase(const HostConfig &config, Message *failure = nullptr);
    void disconnectFromDatabase();
    bool isConnected() const;
    QSqlDatabase &database();
    QString odbcDriverName() const;
    const HostConfig &storedConfig() const;

    // The host entry's name, for serverLabel(); the configuration itself carries none.
    void setEntryName(const QString &name);
    QString entryName() const { return m_entryName; }
    // What a window working on this session names as its server: "一区 (host:port/database)".
    QString serverLabel() const;

    // One operation that changes data owns the session at a time (see SessionTask): the
    // others are refused with the reason in *refusal, and the keep-alive waits.
    bool beginOperation(const Message &what, Message *refusal);
    void endOperation();
    bool isBusy() const { return !m_operation.isEmpty(); }
    // The refusal for an action that needs the session while an operation holds it; empty when none does.
    Message busyRefusal() const;

    bool testConnection(const HostConfig &config);
    // Opens and closes a connection by the session's rule, on any thread, so that a server
    // slow to answer never holds the window; `test` uses the test's short connect timeout.
    static ConnectionOutcome probe(const HostConfig &config, bool test);
    // What the operator reads when a connection fails: the server's reason, with advice on ODBC.
    static Message failureMessage(const ConnectionOutcome &outcome, bool test);
    bool checkConnection();
    bool ensureConnected();
    // Before an action on the session: true when it answers, or when a lost connection could
    // be opened again. False with the operator's text in *error: not connected, or the server
    // cannot be reached (naming it and why).
    bool ensureUsable(Message *error);
    bool reconnect();
    void startKeepAlive(int intervalMs);
    bool isKeepAliveActive() const;

    // Read-only queries of t_char on the session; empty results when it is not open. A failed
    // query names its reason in *error, when given.
    QList<CharacterSummary> queryCharacters(const QList<int> &worldIds, Message *error = nullptr);
    // On failure (not connected, or the statement failed) *error, when given, holds the reason.
    QList<int> charGuids(const QList<int> &worldIds, Message *error = nullptr);
    QMap<int, int> worldIdStatistics();

    static QString decodeGbk(const QByteArray &bytes);

signals:
    void connectionStatusChanged(bool connected);
    void busyChanged(bool busy);
    void errorOccurred(const Message &error);

private slots:
    void onKeepAliveTimeout();

private:
    DatabaseManager();
    void releaseConnection();

    QSqlDatabase m_db;
    HostConfig m_config = HostConfig::initial();
    bool m_connected = false;
    QTimer *m_keepAliveTimer = nullptr;
    QString m_odbcDriverName;
    QString m_entryName;
    Message m_operation;  // what holds the session, empty when nothing does
    bool m_wanted = false;  // connected by the operator and not disconnected since
    QString m_lastFailure;  // why the last connection attempt failed
};
