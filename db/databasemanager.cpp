#include "databasemanager.h"

#include "base/debuglog.h"
#include "characterqueries.h"
#include "connectionrule.h"
#include "base/storedtext.h"
#include "legacytext.h"

#include <QCoreApplication>
#include <QSqlError>
#include <QSqlQuery>
#include <QTimer>

namespace {
const QString kMainConnection = QStringLiteral("main_connection");
const QString kTestConnection = QStringLiteral("test_connection");

// No MYSQL_OPT_RECONNECT: a silent client reconnection inside a transaction would let the
// rest of an operation run in autocommit, beyond the reach of its rollback.
const QString kMainOptions = QStringLiteral(
    "MYSQL_OPT_CONNECT_TIMEOUT=30;MYSQL_OPT_READ_TIMEOUT=3600;MYSQL_OPT_WRITE_TIMEOUT=3600");
const QString kTestOptions = QStringLiteral("MYSQL_OPT_CONNECT_TIMEOUT=5");

const Message kOdbcAdvice = STORED_TEXT_IN("DatabaseManager", "\n\n请检查：\n1. MySQL ODBC 驱动是否安装\n2. 数据库连接信息是否正确\n3. MySQL 服务是否运行");

void shutDownSession()
{
    // Runs while the application object still exists, before static destruction, so the
    // connection is closed while the SQL layer and the log directory are still there.
    DatabaseManager::instance()->disconnectFromDatabase();
}
} // namespace

ConnectionOutcome openSessionConnection(const QString &name, const HostConfig &config)
{
    const ConnectionOutcome outcome = openMysqlConnection(name, config, kMainOptions);
    if (outcome.ok && !outcome.viaOdbc) {
        QSqlQuery query(QSqlDatabase::database(name, false));
        query.exec(QStringLiteral("SET NAMES latin1"));
        query.exec(QStringLiteral("SET CHARACTER SET latin1"));
    }
    return outcome;
}

DatabaseManager *DatabaseManager::instance()
{
    static DatabaseManager manager;
    return &manager;
}

DatabaseManager::DatabaseManager()
    : m_keepAliveTimer(new QTimer(this))
{
    // Make sure the SQL layer's registry outlives this object.
    QSqlDatabase::connectionNames();
    connect(m_keepAliveTimer, &QTimer::timeout, this, &DatabaseManager::onKeepAliveTimeout);
    if (QCoreApplication::instance())
        qAddPostRoutine(shutDownSession);
}

DatabaseManager::~DatabaseManager()
{
    if (m_keepAliveTimer->isActive()) {
        m_keepAliveTimer->stop();
        debugLog(STORED_TEXT("停止数据库心跳保活"));
    }
    disconnectFromDatabase();
}

void DatabaseManager::releaseConnection()
{
    m_db = QSqlDatabase();
    removeNamedConnection(kMainConnection);
}

bool DatabaseManager::connectToDatabase(const HostConfig &config, Message *failure)
{
    if (m_connected)
        disconnectFromDatabase();
    releaseConnection();
    m_config = config;

    const ConnectionOutcome outcome = openSessionConnection(kMainConnection, m_config);
    m_db = QSqlDatabase::database(kMainConnection, false);
    if (!outcome.ok) {
        m_lastFailure = outcome.failureReason();
        releaseConnection();
        const Message reason = failureMessage(outcome, false);
        emit errorOccurred(reason);
        if (failure)
            *failure = reason;
        return false;
    }
    m_wanted = true;

    if (outcome.viaOdbc)
        m_odbcDriverName = outcome.odbcDriver;
    m_connected = true;
    emit connectionStatusChanged(true);
    return true;
}

void DatabaseManager::disconnectFromDatabase()
{
    if (m_keepAliveTimer->isActive()) {
        m_keepAliveTimer->stop();
        debugLog(STORED_TEXT("停止数据库心跳保活"));
    }
    if (m_connected) {
        m_db.close();
        m_connected = false;
        emit connectionStatusChanged(false);
    }
    m_wanted = false;
    releaseConnection();
}

bool DatabaseManager::isConnected() const
{
    return m_connected && m_db.isOpen();
}

QSqlDatabase &DatabaseManager::database()
{
    return m_db;
}

QString DatabaseManager::odbcDriverName() const
{
    return m_odbcDriverName;
}

const HostConfig &DatabaseManager::storedConfig() const
{
    return m_config;
}

void DatabaseManager::setEntryName(const QString &name)
{
    m_entryName = name;
}

QString serverLabel(const QString &entryName, const HostConfig &config)
{
    const QString address = QStringLiteral("%1:%2/%3").arg(config.host, QString::number(config.port), config.database);
    return entryName.isEmpty() ? address : QStringLiteral("%1 (%2)").arg(entryName, address);
}

QString DatabaseManager::serverLabel() const
{
    return ::serverLabel(m_entryName, m_config);
}

bool DatabaseManager::beginOperation(const Message &what, Message *refusal)
{
    if (isBusy()) {
        *refusal = busyRefusal();
        return false;
    }
    m_operation = what;
    emit busyChanged(true);
    return true;
}

void DatabaseManager::endOperation()
{
    if (!isBusy())
        return;
    m_operation.clear();
    emit busyChanged(false);
}

Message DatabaseManager::busyRefusal() const
{
    return isBusy() ? STORED_TEXT("正在%1，请等它结束后再操作").arg(m_operation) : Message();
}

bool DatabaseManager::testConnection(const HostConfig &config)
{
    const ConnectionOutcome outcome = probe(config, true);
    if (!outcome.ok)
        emit errorOccurred(failureMessage(outcome, true));
    return outcome.ok;
}

ConnectionOutcome DatabaseManager::probe(const HostConfig &config, bool test)
{
    static std::atomic_int serial{0};
    const QString name = kTestConnection + QString::number(++serial);
    const ConnectionOutcome outcome = test ? openMysqlConnection(name, config, kTestOptions) : openSessionConnection(name, config);
    {
        QSqlDatabase db = QSqlDatabase::database(name, false);
        db.close();
    }
    removeNamedConnection(name);
    return outcome;
}

Message DatabaseManager::failureMessage(const ConnectionOutcome &outcome, bool test)
{
    if (!outcome.viaOdbc)
        return outcome.lastError;
    return (test ? STORED_TEXT("无法连接数据库：%1") : STORED_TEXT("无法连接数据库，最后错误：%1")).arg(outcome.lastError) + kOdbcAdvice;
}

bool DatabaseManager::checkConnection()
{
    if (!m_db.isOpen())
        return false;
    QSqlQuery query(m_db);
    if (!query.exec(QStringLiteral("SELECT 1"))) {
        debugLog(STORED_TEXT("心跳查询失败: %1").arg(query.lastError().text()));
        return false;
    }
    return true;
}

bool DatabaseManager::ensureConnected()
{
    if (m_connected && m_db.isOpen()) {
        if (checkConnection())
            return true;
        debugLog(STORED_TEXT("连接已断开，尝试重连..."));
    }
    return reconnect();
}

bool DatabaseManager::ensureUsable(Message *error)
{
    if (m_connected && checkConnection())
        return true;
    if (!m_wanted) {
        *error = STORED_TEXT("未连接到数据库");
        return false;
    }
    debugLog(STORED_TEXT("连接已断开，尝试重连..."));
    if (reconnect())
        return true;
    *error = STORED_TEXT("无法连接服务器 %1: %2").arg(serverLabel(), m_lastFailure);
    emit connectionStatusChanged(false);
    return false;
}

bool DatabaseManager::reconnect()
{
    debugLog(STORED_TEXT("执行数据库重连..."));
    const HostConfig config = m_config;
    if (m_connected) {
        m_db.close();
        m_connected = false;
    }
    releaseConnection();
    const bool ok = connectToDatabase(config);
    m_wanted = true;  // a failed attempt leaves the operator's wish to be connected
    debugLog(ok ? STORED_TEXT("数据库重连成功") : STORED_TEXT("数据库重连失败"));
    return ok;
}

void DatabaseManager::startKeepAlive(int intervalMs)
{
    m_keepAliveTimer->start(intervalMs);
    debugLog(STORED_TEXT("启动数据库心跳保活，间隔: %1ms").arg(intervalMs));
}

bool DatabaseManager::isKeepAliveActive() const
{
    return m_keepAliveTimer->isActive();
}

void DatabaseManager::onKeepAliveTimeout()
{
    // A reconnection would replace the session under the running operation's feet.
    if (isBusy() || !m_connected || checkConnection())
        return;
    debugLog(STORED_TEXT("心跳检测失败，尝试重连..."));
    if (reconnect()) {
        debugLog(STORED_TEXT("自动重连成功"));
    } else {
        debugLog(STORED_TEXT("自动重连失败"));
        emit connectionStatusChanged(false);
    }
}

QList<CharacterSummary> DatabaseManager::queryCharacters(const QList<int> &worldIds, Message *error)
{
    if (!isConnected()) {
        debugLog(STORED_TEXT("queryCharacters: 数据库未连接"));
        if (error)
            *error = STORED_TEXT("未连接到数据库");
        return {};
    }
    const CharacterQueries::Result result = CharacterQueries::byWorlds(m_db, worldIds);
    if (!result.ok) {
        debugLog(STORED_TEXT("queryCharacters: SQL 执行失败 - %1").arg(result.error));
        emit errorOccurred(result.error);
    }
    if (error)
        *error = result.error;
    return result.characters;
}

QList<int> charGuidsOfWorlds(QSqlDatabase &db, const QList<int> &worldIds, Message *error)
{
    QList<int> guids;
    QSqlQuery query(db);
    query.setForwardOnly(true);
    if (!query.exec(QStringLiteral("SELECT charguid FROM t_char WHERE zoneworldid IN (%1)").arg(idListText(worldIds)))) {
        *error = query.lastError().text();
        return guids;
    }
    while (query.next())
        guids.append(query.value(0).toInt());
    return guids;
}

QList<int> DatabaseManager::charGuids(const QList<int> &worldIds, Message *error)
{
    Message reason;
    const QList<int> guids = isConnected() ? charGuidsOfWorlds(m_db, worldIds, &reason) : QList<int>();
    if (!isConnected())
        reason = STORED_TEXT("未连接到数据库");
    if (error)
        *error = reason;
    return guids;
}

QMap<int, int> DatabaseManager::worldIdStatistics()
{
    QMap<int, int> counts;
    if (!isConnected())
        return counts;
    QSqlQuery query(m_db);
    query.setForwardOnly(true);
    if (!query.exec(QStringLiteral("SELECT zoneworldid, COUNT(*) as char_count FROM t_char "
                                   "GROUP BY zoneworldid ORDER BY zoneworldid ASC"))) {
        emit errorOccurred(STORED_TEXT("获取角色统计失败: ") + query.lastError().text());
        return counts;
    }
    while (query.next())
        counts.insert(query.value(0).toInt(), query.value(1).toInt());
    return counts;
}

QString DatabaseManager::decodeGbk(const QByteArray &bytes)
{
    return ::decodeGbk(bytes);
}
