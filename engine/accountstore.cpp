#include "accountstore.h"

#include "db/connectionrule.h"
#include "db/sqlcolumns.h"
#include "base/storedtext.h"
#include "undoabletransaction.h"

#include <QCryptographicHash>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

AccountStore::AccountStore(const QString &connectionName)
    : m_connectionName(connectionName)
{
}

AccountStore::~AccountStore()
{
    if (QSqlDatabase::contains(m_connectionName)) {
        QSqlDatabase::database(m_connectionName, false).close();
        QSqlDatabase::removeDatabase(m_connectionName);
    }
}

bool AccountStore::open(const HostConfig &web)
{
    // By the connection rule, on whatever thread the store lives: never through the window's
    // session, which belongs to the window's thread.
    // Found rows rather than changed rows, so that "no such account" can be told apart (the
    // ODBC connection string asks for the same).
    const ConnectionOutcome outcome = openMysqlConnection(m_connectionName, web, QStringLiteral("MYSQL_OPT_CONNECT_TIMEOUT=10;CLIENT_FOUND_ROWS"));
    m_open = outcome.ok;
    m_error = m_open ? Message() : outcome.failureReason();
    return m_open;
}

QList<AccountRow> AccountStore::list(const QString &filter)
{
    QList<AccountRow> rows;
    if (!m_open)
        return rows;
    const QSqlDatabase db = QSqlDatabase::database(m_connectionName, false);
    QSqlQuery query(db);
    QString sql = QStringLiteral("SELECT id, name, point, expoint, is_online, is_lock, is_gm FROM account");
    if (!filter.isEmpty())
        sql += QStringLiteral(" WHERE name LIKE ?");
    sql += QStringLiteral(" ORDER BY id");
    query.setForwardOnly(true);
    query.prepare(sql);
    if (!filter.isEmpty())
        query.addBindValue(textParameter(db, QLatin1Char('%') + filter + QLatin1Char('%')));
    if (!query.exec()) {
        m_error = query.lastError().text();
        return rows;
    }
    m_error.clear();
    while (query.next()) {
        AccountRow row;
        row.id = query.value(0).toLongLong();
        row.name = query.value(1).toString();
        row.point = query.value(2).toLongLong();
        row.expoint = query.value(3).toLongLong();
        row.online = query.value(4).toLongLong() != 0;
        row.locked = query.value(5).toLongLong() != 0;
        row.gm = query.value(6).toLongLong() != 0;
        rows.append(row);
    }
    return rows;
}

bool AccountStore::run(const QString &sql, const QVariantList &values, bool mustMatch)
{
    const QSqlDatabase db = QSqlDatabase::database(m_connectionName, false);
    QSqlQuery query(db);
    bool ok = query.prepare(sql);
    if (ok) {
        for (const QVariant &value : values)
            query.addBindValue(value.typeId() == QMetaType::QString ? textParameter(db, value.toString()) : value);
        ok = query.exec();
    }
    if (!ok) {
        m_error = query.lastError().text();
        m_lastErrorNumber = Sql::errorNumber(query.lastError());
        return false;
    }
    if (mustMatch && query.numRowsAffected() == 0) {
        m_error = STORED_TEXT("账号不存在（可能已被删除）");
        return false;
    }
    m_error.clear();
    return true;
}

bool AccountStore::registerAccount(const QString &name, const QString &password)
{
    // Deployments add required columns (registration time, address, ...): each gets what the
    // game writes for a new account.
    QStringList columns = {QStringLiteral("name"), QStringLiteral("password"), QStringLiteral("point"), QStringLiteral("expoint"),
                           QStringLiteral("is_online"), QStringLiteral("is_lock"), QStringLiteral("is_gm")};
    QStringList values = {QStringLiteral("?"), QStringLiteral("?"), QStringLiteral("0"), QStringLiteral("0"),
                          QStringLiteral("0"), QStringLiteral("0"), QStringLiteral("0")};
    QSqlDatabase db = QSqlDatabase::database(m_connectionName, false);
    QSqlError error;
    for (const Sql::Column &column : Sql::readColumns(db, QStringLiteral("account"), &error)) {
        const QString value = Sql::newRowValue(column);
        if (column.needsValue() && !columns.contains(column.lower) && !value.isEmpty()) {
            columns.append(Sql::quoted(column.name));
            values.append(value);
        }
    }
    if (run(QStringLiteral("INSERT INTO account (%1) VALUES (%2)").arg(columns.join(QStringLiteral(", ")), values.join(QStringLiteral(", "))),
            {name, hashPassword(password)}, false))
        return true;
    if (m_lastErrorNumber == 1062)  // the unique name index: the name is taken
        m_error = STORED_TEXT("账号已存在: %1").arg(name);
    return false;
}

bool AccountStore::runWithUndo(const QString &operation, const QString &sql, const QVariantList &values, const QString &where,
                               const QVariantList &whereValues, bool pointsOnly)
{
    m_undoPath.clear();
    QSqlDatabase db = QSqlDatabase::database(m_connectionName, false);
    QVariantList bound;
    for (const QVariant &value : whereValues)
        bound.append(value.typeId() == QMetaType::QString ? textParameter(db, value.toString()) : value);
    UndoableTransaction transaction(db);
    Message error;
    if (!transaction.begin(operation, true, &error)) {
        m_error = error;
        return false;
    }
    UndoFile *undo = transaction.undo();
    const bool saved = (pointsOnly ? undo->saveColumns(db, QStringLiteral("account"), QStringLiteral("id"), {QStringLiteral("point")}, where,
                                                       bound, &error)
                                   : undo->saveRows(db, QStringLiteral("account"), where, bound, &error, QString(), QStringLiteral("name")))
        >= 0;
    if (!saved) {
        m_error = STORED_TEXT("撤销文件无法写入，未做任何修改: %1").arg(error);
        return false;
    }
    if (!run(sql, values, !pointsOnly))
        return false;
    if (!transaction.commit(&error)) {
        m_error = error;
        return false;
    }
    m_undoPath = transaction.undoPath();
    return true;
}

qint64 AccountStore::countRows(const QString &name)
{
    QSqlDatabase db = QSqlDatabase::database(m_connectionName, false);
    QSqlQuery query(db);
    query.prepare(name.isEmpty() ? QStringLiteral("SELECT COUNT(*) FROM account") : QStringLiteral("SELECT COUNT(*) FROM account WHERE name = ?"));
    if (!name.isEmpty())
        query.addBindValue(textParameter(db, name));
    if (!query.exec() || !query.next()) {
        m_error = query.lastError().text();
        return -1;
    }
    return query.value(0).toLongLong();
}

bool AccountStore::deleteAccount(const QString &name)
{
    return runWithUndo(STORED_TEXT("删除账号 %1").arg(name), QStringLiteral("DELETE FROM account WHERE name = ?"), {name},
                       QStringLiteral("name = ?"), {name}, false);
}

bool AccountStore::setPassword(const QString &name, const QString &password)
{
    return run(QStringLiteral("UPDATE account SET password = ? WHERE name = ?"), {hashPassword(password), name}, true);
}

bool AccountStore::setPoint(const QString &name, qint64 point)
{
    return run(QStringLiteral("UPDATE account SET point = ? WHERE name = ?"), {point, name}, true);
}

bool AccountStore::updateAccount(qint64 id, const QStringList &assignments, const QVariantList &values)
{
    return run(QStringLiteral("UPDATE account SET %1 WHERE id = ?").arg(assignments.join(QStringLiteral(", "))),
               QVariantList(values) << id, true);
}

bool AccountStore::addPointsToAll(qint64 points)
{
    // One statement: it changes every account or, when it fails, none.
    return runWithUndo(STORED_TEXT("所有账号增加点数 %1").arg(points), QStringLiteral("UPDATE account SET point = point + %1").arg(points), {},
                       QStringLiteral("1 = 1"), {}, true);
}

bool AccountStore::clearPoints()
{
    return runWithUndo(STORED_TEXT("清空所有账号点数"), QStringLiteral("UPDATE account SET point = 0"), {}, QStringLiteral("1 = 1"), {}, true);
}

bool AccountStore::setAllPoints(qint64 points)
{
    return runWithUndo(STORED_TEXT("所有账号点数设为 %1").arg(points), QStringLiteral("UPDATE account SET point = %1").arg(points), {},
                       QStringLiteral("1 = 1"), {}, true);
}

QString AccountStore::hashPassword(const QString &password)
{
    return QString::fromLatin1(QCryptographicHash::hash(password.toUtf8(), QCryptographicHash::Md5).toHex());
}

AccountChange::Preview AccountChange::preview(AccountStore &store) const
{
    Preview result;
    if (kind == Kind::Register)
        return result;
    result.rows = store.countRows(changesAll() ? QString() : name);
    if (result.rows < 0)
        result.failure = STORED_TEXT("无法统计账号: %1").arg(store.error());
    else if (!changesAll() && kind != Kind::Edit && result.rows == 0)
        result.refusal = STORED_TEXT("账号不存在: %1").arg(name);
    return result;
}

AccountChange::Result AccountChange::run(AccountStore &store) const
{
    Result result;
    switch (kind) {
    case Kind::Register:
        result.ok = store.registerAccount(name, password);
        break;
    case Kind::Delete:
        result.ok = store.deleteAccount(name);
        break;
    case Kind::Password:
        result.ok = store.setPassword(name, password);
        break;
    case Kind::Point:
        result.ok = store.setPoint(name, value);
        break;
    case Kind::Edit:
        result.ok = store.updateAccount(id, assignments, values);
        break;
    case Kind::AddToAll:
        result.ok = store.addPointsToAll(value);
        break;
    case Kind::ClearAll:
        result.ok = store.clearPoints();
        break;
    case Kind::SetAll:
        result.ok = store.setAllPoints(value);
        break;
    }
    if (!result.ok)
        result.failure = store.error();
    result.undoPath = store.undoPath();
    return result;
}
