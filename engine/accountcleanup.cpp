#include "accountcleanup.h"

#include "db/connectionrule.h"
#include "db/databasemanager.h"
#include "db/legacytext.h"
#include "db/sqlcolumns.h"
#include "base/storedtext.h"
#include "undofile.h"

#include <QRegularExpression>
#include <QStringDecoder>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

#include <algorithm>

namespace AccountCleanup {

namespace {
int accountDatabaseNumber(const QString &name)
{
    return name == QLatin1String("web") ? -1 : name.mid(3).toInt();
}

// Character set of account.name, to compare in the column's own terms so the unique index serves.
QString nameCharacterSet(QSqlDatabase &db, const QString &database = QString())
{
    QSqlQuery query(db);
    query.prepare(QStringLiteral("SELECT CHARACTER_SET_NAME FROM information_schema.COLUMNS WHERE "
                                 "TABLE_SCHEMA = IFNULL(?, DATABASE()) AND TABLE_NAME = 'account' AND COLUMN_NAME = 'name'"));
    query.addBindValue(database.isEmpty() ? QVariant() : textParameter(db, database));
    if (!query.exec() || !query.next())
        return QString();
    const QString charset = query.value(0).toString();
    static const QRegularExpression identifier(QStringLiteral("^[A-Za-z0-9_]+$"));
    return identifier.match(charset).hasMatch() ? charset : QString();
}

const qsizetype kNameSlice = 500;

// The condition matching a slice of names byte for byte, compared in the column's character
// set first so that the lookup can use the unique index. The names stand as literals; one that
// is no text in that character set (GBK bytes against a UTF-8 column) matches nothing there.
QString nameCondition(const QString &charset, const QList<QByteArray> &names)
{
    const bool utf8 = charset.startsWith(QLatin1String("utf8"));
    QStringList collated;
    QStringList exact;
    for (const QByteArray &name : names) {
        QStringDecoder decoder(QStringConverter::Utf8);
        const QString text = decoder.decode(name);
        if (!utf8 || !decoder.hasError())
            collated.append(Sql::bytesLiteral(name, charset));
        exact.append(Sql::bytesLiteral(name));
    }
    const QString bytes = QStringLiteral("CAST(name AS BINARY) IN (%1)").arg(exact.join(QLatin1Char(',')));
    if (charset.isEmpty())
        return bytes;
    return collated.isEmpty() ? QStringLiteral("0") : QStringLiteral("name IN (%1) AND %2").arg(collated.join(QLatin1Char(',')), bytes);
}
} // namespace

bool accountsOnSessionServer(const HostConfig &config)
{
    return (config.accountHost.isEmpty() || config.accountHost == config.host) && (config.accountPort == 0 || config.accountPort == config.port);
}

int countAccounts(QSqlDatabase &db, const QString &database, const QList<QByteArray> &accountNames)
{
    const QString charset = nameCharacterSet(db, database);
    int total = 0;
    QSqlQuery query(db);
    for (qsizetype start = 0; start < accountNames.size(); start += kNameSlice) {
        const QString where = nameCondition(charset, accountNames.mid(start, kNameSlice));
        if (!query.exec(QStringLiteral("SELECT COUNT(*) FROM %1.account WHERE %2").arg(Sql::quoted(database), where)) || !query.next())
            return -1;
        total += query.value(0).toInt();
    }
    return total;
}

bool deleteAccountsHere(QSqlDatabase &db, const QStringList &databases, const QList<QByteArray> &accountNames,
                        UndoFile *undo, const OperationContext &context, Message *error, int *deletedCount)
{
    int total = 0;
    QSqlQuery query(db);
    for (const QString &database : databases) {
        const QString charset = nameCharacterSet(db, database);
        int deleted = 0;
        for (qsizetype start = 0; start < accountNames.size(); start += kNameSlice) {
            const QString where = nameCondition(charset, accountNames.mid(start, kNameSlice));
            if (undo && undo->saveRows(db, QStringLiteral("account"), where, {}, error, database, QStringLiteral("name")) < 0)
                return false;
            if (!query.exec(QStringLiteral("DELETE FROM %1.account WHERE %2").arg(Sql::quoted(database), where))) {
                *error = STORED_TEXT("删除 %1 的账号失败: %2").arg(database, query.lastError().text());
                return false;
            }
            deleted += query.numRowsAffected();
        }
        context.log(STORED_TEXT("库 %1 成功删除 %2 个账号").arg(database).arg(deleted));
        total += deleted;
    }
    context.log(STORED_COUNT("所有账号库共删除 %Ln 个账号").count(total));
    if (deletedCount)
        *deletedCount = total;
    return true;
}

QStringList filterAccountDatabases(const QStringList &names)
{
    static const QRegularExpression numbered(QStringLiteral("^web\\d+$"));
    QStringList kept;
    for (const QString &name : names) {
        if (name == QLatin1String("web") || numbered.match(name).hasMatch())
            kept.append(name);
    }
    std::stable_sort(kept.begin(), kept.end(), [](const QString &a, const QString &b) {
        return accountDatabaseNumber(a) < accountDatabaseNumber(b);
    });
    return kept;
}

QStringList detectAccountDatabases(QSqlDatabase &db, const OperationContext &context)
{
    QSqlQuery query(db);
    if (!query.exec(QStringLiteral("SHOW DATABASES LIKE 'web%'"))) {
        context.log(STORED_TEXT("查询web库失败: ") + query.lastError().text());
        return {};
    }
    QStringList names;
    while (query.next())
        names.append(query.value(0).toString());
    const QStringList kept = filterAccountDatabases(names);
    if (kept.isEmpty())
        context.log(STORED_TEXT("未检测到账号库"));
    else
        context.log(STORED_TEXT("检测到 %1 个账号库: %2").arg(kept.size()).arg(kept.join(QStringLiteral(", "))));
    return kept;
}

bool collectAccountNames(QSqlDatabase &db, const QList<int> &worldIds, WipedAccounts *accounts, Message *error, bool locking)
{
    *accounts = WipedAccounts();
    if (worldIds.isEmpty())
        return true;
    // Read as hexadecimal and made distinct by bytes: the names are GBK bytes in a latin1
    // column, which the driver would otherwise decode as UTF-8. A player keeps an account
    // that still holds a character elsewhere.
    const QString worlds = idListText(worldIds);
    QSqlQuery query(db);
    query.setForwardOnly(true);
    const QString lock = locking ? QStringLiteral(" LOCK IN SHARE MODE") : QString();
    if (!query.exec(QStringLiteral("SELECT DISTINCT HEX(w.accname), EXISTS (SELECT 1 FROM t_char s WHERE s.accname = w.accname "
                                   "AND s.zoneworldid NOT IN (%1)%2) FROM t_char w WHERE w.zoneworldid IN (%1)%2").arg(worlds, lock))) {
        *error = query.lastError().text();
        return false;
    }
    while (query.next()) {
        if (query.value(1).toInt() != 0)
            ++accounts->kept;
        else
            accounts->names.append(bytesFromHexValue(query.value(0)));
    }
    return true;
}

AccountConnections::~AccountConnections()
{
    close();
}

void AccountConnections::close()
{
    for (const QString &name : std::as_const(m_connections)) {
        {
            QSqlDatabase db = QSqlDatabase::database(name, false);
            db.close();
        }
        removeNamedConnection(name);
    }
    m_connections.clear();
}

bool AccountConnections::open(const HostConfig &stored, const QStringList &databases, const OperationContext &context, Message *error)
{
    close();
    for (const QString &database : databases) {
        const QString connectionName = QStringLiteral("zone_wipe_web_conn_%1").arg(database);
        ConnectionRequest request;
        const HostConfig server = accountDatabaseConfig(stored);
        request.host = server.host;
        request.port = server.port;
        request.user = server.username;
        request.password = server.password;
        request.database = database;
        request.nativeOptions = QStringLiteral("MYSQL_OPT_CONNECT_TIMEOUT=30");
        request.odbcAttributes = QStringLiteral("CHARSET=gbk");
        request.odbcAfterNativeFailure = true;
        m_connections.append(connectionName);
        const ConnectionOutcome outcome = openMysqlConnection(connectionName, request);
        if (!outcome.ok) {
            *error = STORED_TEXT("无法连接账号数据库 %1 (%2:%3): %4").arg(database, request.host).arg(request.port).arg(outcome.failureReason());
            close();
            return false;
        }
        context.log(outcome.viaOdbc ? STORED_TEXT("使用 ODBC 驱动 [%1] 连接 %2 成功").arg(outcome.odbcDriver, database)
                                    : STORED_TEXT("使用 QMYSQL 驱动连接 %1 成功").arg(database));
    }
    return true;
}

QSqlDatabase AccountConnections::database(const QString &name) const
{
    return QSqlDatabase::database(QStringLiteral("zone_wipe_web_conn_%1").arg(name), false);
}

bool deleteAccounts(const HostConfig &stored, const QStringList &databases, const QList<QByteArray> &accountNames,
                    const OperationContext &context, int *deleted, Message *error)
{
    *deleted = 0;
    AccountConnections connections;
    return accountNames.isEmpty() || connections.open(stored, databases, context, error)
        ? deleteAccounts(connections, databases, accountNames, context, deleted, error)
        : false;
}

bool deleteAccounts(AccountConnections &connections, const QStringList &databases, const QList<QByteArray> &accountNames,
                    const OperationContext &context, int *deleted, Message *error)
{
    *deleted = 0;
    if (accountNames.isEmpty()) {
        context.log(STORED_TEXT("没有找到需要删除的账号"));
        return true;
    }
    context.log(STORED_COUNT("找到 %Ln 个账号需要删除").count(accountNames.size()));
    for (const QString &database : databases) {
        context.log(STORED_TEXT("正在处理账号库: %1").arg(database));
        QSqlDatabase db = connections.database(database);
        int count = 0;
        const bool ok = db.transaction() && deleteAccountsHere(db, {database}, accountNames, nullptr, OperationContext(), error, &count)
            && db.commit();
        if (!ok) {
            if (error->isEmpty())
                *error = db.lastError().text();
            *error = STORED_TEXT("删除 %1 的账号失败，该库已回滚: %2").arg(database, *error);
            db.rollback();
            if (*deleted > 0)
                context.log(STORED_TEXT("此前的账号库已删除 %1 个账号").arg(*deleted));
            return false;
        }
        *deleted += count;
        context.log(STORED_TEXT("库 %1 成功删除 %2 个账号").arg(database).arg(count));
    }
    context.log(STORED_COUNT("所有账号库共删除 %Ln 个账号").count(*deleted));
    return true;
}

bool countAccounts(QSqlDatabase &session, const HostConfig &config, const QStringList &databases,
                   const QList<QByteArray> &accountNames, QMap<QString, int> *counts, Message *error)
{
    counts->clear();
    AccountConnections connections;
    const bool here = accountsOnSessionServer(config);
    if (!here && !connections.open(config, databases, {}, error))
        return false;
    for (const QString &database : databases) {
        QSqlDatabase db = here ? session : connections.database(database);
        const int count = countAccounts(db, database, accountNames);
        if (count < 0) {
            *error = STORED_TEXT("无法统计 %1 的账号").arg(database);
            return false;
        }
        counts->insert(database, count);
    }
    return true;
}

QStringList detectAccountDatabases(QSqlDatabase &session, const HostConfig &config, const OperationContext &context)
{
    if (accountsOnSessionServer(config))
        return detectAccountDatabases(session, context);
    HostConfig server = accountDatabaseConfig(config);
    server.database.clear();
    const QString name = QStringLiteral("account_server_probe");
    QStringList names;
    const ConnectionOutcome outcome = openMysqlConnection(name, server, QStringLiteral("MYSQL_OPT_CONNECT_TIMEOUT=10"));
    if (outcome.ok) {
        QSqlDatabase db = QSqlDatabase::database(name, false);
        names = detectAccountDatabases(db, context);
        db.close();
    } else {
        context.log(STORED_TEXT("无法连接账号服务器 %1:%2: %3").arg(server.host).arg(server.port).arg(outcome.failureReason()));
    }
    removeNamedConnection(name);
    return names;
}

} // namespace AccountCleanup
