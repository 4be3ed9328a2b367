#include "accountcleanup.h"

#include "db/connectionrule.h"
#include "db/databasemanager.h"
#include "db/legacytext.h"
#include "db/sqlcolumns.h"
#include "undofile.h"

#include <QRegularExpression>
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
    query.addBindValue(database.isEmpty() ? QVariant() : QVariant(database));
    if (!query.exec() || !query.next())
        return QString();
    const QString charset = query.value(0).toString();
    static const QRegularExpression identifier(QStringLiteral("^[A-Za-z0-9_]+$"));
    return identifier.match(charset).hasMatch() ? charset : QString();
}

const qsizetype kNameSlice = 500;

// The condition matching a slice of names byte for byte, converted to the column's character
// set first so that the lookup can use the unique index; its values in *values.
QString nameCondition(const QString &charset, const QList<QByteArray> &names, QVariantList *values)
{
    values->clear();
    const QString marks = QStringList(names.size(), QStringLiteral("?")).join(QLatin1Char(','));
    QStringList converted;
    for (const QByteArray &name : names) {
        converted.append(QStringLiteral("CONVERT(? USING %1)").arg(charset));
        values->append(name);
    }
    if (charset.isEmpty()) {
        values->clear();
        for (const QByteArray &name : names)
            values->append(name);
        return QStringLiteral("BINARY name IN (%1)").arg(marks);
    }
    for (const QByteArray &name : names)
        values->append(name);
    return QStringLiteral("name IN (%1) AND BINARY name IN (%2)").arg(converted.join(QLatin1Char(',')), marks);
}
} // namespace

bool accountsOnSessionServer(const HostConfig &config)
{
    return (config.webHost.isEmpty() || config.webHost == config.host) && (config.webPort == 0 || config.webPort == config.port);
}

int countAccounts(QSqlDatabase &db, const QString &database, const QList<QByteArray> &accountNames)
{
    const QString charset = nameCharacterSet(db, database);
    int total = 0;
    QSqlQuery query(db);
    for (qsizetype start = 0; start < accountNames.size(); start += kNameSlice) {
        QVariantList values;
        const QString where = nameCondition(charset, accountNames.mid(start, kNameSlice), &values);
        query.prepare(QStringLiteral("SELECT COUNT(*) FROM %1.account WHERE %2").arg(Sql::quoted(database), where));
        for (const QVariant &value : std::as_const(values))
            query.addBindValue(value);
        if (query.exec() && query.next())
            total += query.value(0).toInt();
    }
    return total;
}

bool deleteAccountsHere(QSqlDatabase &db, const QStringList &databases, const QList<QByteArray> &accountNames,
                        UndoFile *undo, const LogSink &log, QString *error)
{
    int total = 0;
    QSqlQuery query(db);
    for (const QString &database : databases) {
        const QString charset = nameCharacterSet(db, database);
        int deleted = 0;
        for (qsizetype start = 0; start < accountNames.size(); start += kNameSlice) {
            QVariantList values;
            const QString where = nameCondition(charset, accountNames.mid(start, kNameSlice), &values);
            if (undo && undo->saveRows(db, QStringLiteral("account"), where, values, error, database, QStringLiteral("name")) < 0)
                return false;
            query.prepare(QStringLiteral("DELETE FROM %1.account WHERE %2").arg(Sql::quoted(database), where));
            for (const QVariant &value : std::as_const(values))
                query.addBindValue(value);
            if (!query.exec()) {
                *error = QStringLiteral("删除 %1 的账号失败: %2").arg(database, query.lastError().text());
                return false;
            }
            deleted += query.numRowsAffected();
        }
        log(QStringLiteral("库 %1 成功删除 %2 个账号").arg(database).arg(deleted));
        total += deleted;
    }
    log(QStringLiteral("所有账号库共删除 %1 个账号").arg(total));
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

QStringList detectAccountDatabases(QSqlDatabase &db, const LogSink &log)
{
    QSqlQuery query(db);
    if (!query.exec(QStringLiteral("SHOW DATABASES LIKE 'web%'"))) {
        log(QStringLiteral("查询web库失败: ") + query.lastError().text());
        return {};
    }
    QStringList names;
    while (query.next())
        names.append(query.value(0).toString());
    const QStringList kept = filterAccountDatabases(names);
    if (kept.isEmpty())
        log(QStringLiteral("未检测到账号库"));
    else
        log(QStringLiteral("检测到 %1 个账号库: %2").arg(kept.size()).arg(kept.join(QStringLiteral(", "))));
    return kept;
}

bool collectAccountNames(QSqlDatabase &db, const QList<int> &worldIds, WipedAccounts *accounts, QString *error)
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
    if (!query.exec(QStringLiteral("SELECT DISTINCT HEX(w.accname), EXISTS (SELECT 1 FROM t_char s WHERE s.accname = w.accname "
                                   "AND s.zoneworldid NOT IN (%1)) FROM t_char w WHERE w.zoneworldid IN (%1)").arg(worlds))) {
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

int deleteAccounts(const HostConfig &stored, const QStringList &databases,
                   const QList<QByteArray> &accountNames, const LogSink &log)
{
    if (accountNames.isEmpty()) {
        log(QStringLiteral("没有找到需要删除的账号"));
        return 0;
    }
    log(QStringLiteral("找到 %1 个账号需要删除").arg(accountNames.size()));

    int total = 0;
    for (const QString &database : databases) {
        log(QStringLiteral("正在处理账号库: %1").arg(database));
        const QString connectionName = QStringLiteral("zone_delete_web_conn_%1").arg(database);

        ConnectionRequest request;
        request.host = stored.webHost.isEmpty() ? stored.host : stored.webHost;
        request.port = stored.webPort == 0 ? stored.port : stored.webPort;
        request.user = stored.webUsername.isEmpty() ? stored.username : stored.webUsername;
        request.password = stored.webPassword.isEmpty() ? stored.password : stored.webPassword;
        request.database = database;
        request.nativeOptions = QStringLiteral("MYSQL_OPT_CONNECT_TIMEOUT=30");
        request.odbcAttributes = QStringLiteral("CHARSET=gbk");
        request.odbcAfterNativeFailure = true;
        const ConnectionOutcome outcome = openMysqlConnection(connectionName, request);
        if (!outcome.ok) {
            log(QStringLiteral("无法连接账号数据库 %1: %2").arg(database, outcome.failureReason()));
            removeNamedConnection(connectionName);
            continue;
        }
        if (outcome.viaOdbc)
            log(QStringLiteral("使用 ODBC 驱动 [%1] 连接 %2 成功").arg(outcome.odbcDriver, database));
        else
            log(QStringLiteral("使用 QMYSQL 驱动连接 %1 成功").arg(database));

        {
            QSqlDatabase db = QSqlDatabase::database(connectionName, false);
            const QString charset = nameCharacterSet(db);
            // The name travels as raw bytes and is compared byte for byte; converted to the
            // column's character set first so that the lookup can use the unique index.
            const QString statement = charset.isEmpty()
                ? QStringLiteral("DELETE FROM account WHERE BINARY name = ?")
                : QStringLiteral("DELETE FROM account WHERE name = CONVERT(? USING %1) AND BINARY name = ?").arg(charset);
            db.transaction();
            int count = 0;
            QSqlQuery query(db);
            query.prepare(statement);
            for (const QByteArray &name : accountNames) {
                query.bindValue(0, name);
                if (!charset.isEmpty())
                    query.bindValue(1, name);
                if (!query.exec()) {
                    log(QStringLiteral("删除账号 %1 失败: %2").arg(decodeGbk(name), query.lastError().text()));
                    continue;
                }
                if (query.numRowsAffected() > 0)
                    ++count;
            }
            if (db.commit()) {
                total += count;
                log(QStringLiteral("库 %1 成功删除 %2 个账号").arg(database).arg(count));
            } else {
                log(QStringLiteral("提交 %1 账号删除事务失败: %2").arg(database, db.lastError().text()));
                db.rollback();
            }
            db.close();
        }
        removeNamedConnection(connectionName);
    }
    log(QStringLiteral("所有账号库共删除 %1 个账号").arg(total));
    return total;
}

} // namespace AccountCleanup
