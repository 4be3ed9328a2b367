#include "commitcheck.h"

#include "base/debuglog.h"
#include "db/connectionrule.h"
#include "base/storedtext.h"

#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QSqlError>
#include <QSqlQuery>
#include <QThread>

namespace CommitCheck {

namespace {
QByteArray valueOf(QSqlDatabase &db, const QByteArray &sql, bool *ok)
{
    QSqlQuery query(db);
    *ok = query.exec(QString::fromUtf8(sql)) && query.next();
    return *ok ? query.value(0).toByteArray() : QByteArray();
}

// Waits until the server has finished with the lost connection: gone, or idle without a
// transaction. One that stays idle inside its transaction never got the COMMIT: ended, it rolls
// back. A COMMIT still on its way (unread in the server's socket on a busy machine) finds the
// connection idle for a moment too, so it is ended only after two seconds of that.
bool waitForLostConnection(QSqlDatabase &db, qint64 id, QString *detail)
{
    if (id <= 0)
        return true;
    QSqlQuery query(db);
    const QDeadlineTimer deadline(20000);
    QElapsedTimer idle;
    bool ended = false;
    while (!deadline.hasExpired()) {
        if (!query.exec(QStringLiteral("SELECT COMMAND FROM information_schema.PROCESSLIST WHERE ID = %1").arg(id))) {
            *detail = query.lastError().text();
            return false;
        }
        if (!query.next())
            return true;
        const QString command = query.value(0).toString();
        if (command == QLatin1String("Sleep")) {
            const bool open = query.exec(QStringLiteral("SELECT COUNT(*) FROM information_schema.INNODB_TRX WHERE trx_mysql_thread_id = %1").arg(id))
                && query.next() && query.value(0).toInt() > 0;
            if (!open)
                return true;
            if (!idle.isValid())
                idle.start();
            if (!ended && idle.elapsed() >= 2000) {
                ended = query.exec(QStringLiteral("KILL %1").arg(id));
                debugLog(STORED_TEXT("提交未到达服务器的连接 %1 仍持有事务，已结束它").arg(id));
            }
        } else {
            idle.invalidate();
        }
        QThread::msleep(100);
    }
    *detail = STORED_TEXT("服务器 20 秒内没有结束原来的连接 %1").arg(id);
    return false;
}
} // namespace

qint64 connectionId(QSqlDatabase &db)
{
    bool ok = false;
    return valueOf(db, "SELECT CONNECTION_ID()", &ok).toLongLong();
}

UndoScript::ServerIdentity serverIdentity(QSqlDatabase &db)
{
    bool ok = false;
    UndoScript::ServerIdentity identity;
    const QByteArray version = valueOf(db, "SELECT VERSION()", &ok);
    if (!ok)
        return identity;
    const QString kind = version.contains("MariaDB") ? QStringLiteral("host") : QStringLiteral("uuid");
    const QByteArray value = valueOf(db, "SELECT CAST(" + UndoScript::identityExpression(kind) + " AS BINARY)", &ok);
    if (ok && !value.isEmpty()) {
        identity.kind = kind;
        identity.value = value;
    }
    return identity;
}

Outcome settle(QSqlDatabase &db, qint64 lostId, const UndoScript::ServerIdentity &identity, const QList<Probe> &probes, QString *detail)
{
    detail->clear();
    {
        // The server answered: it refused the COMMIT, and a refused COMMIT rolls back.
        QSqlQuery alive(db);
        if (db.isOpen() && alive.exec(QStringLiteral("SELECT 1")) && alive.next()) {
            db.rollback();
            *detail = STORED_TEXT("服务器拒绝了提交，事务已回滚");
            return Outcome::RolledBack;
        }
    }
    const QString name = QStringLiteral("quorvel_commit_check_%1").arg(quintptr(&db));
    Outcome outcome = Outcome::Unknown;
    {
        QSqlDatabase check = QSqlDatabase::cloneDatabase(db, name);
        bool open = false;
        for (int attempt = 0; attempt < 6 && !open; ++attempt) {
            if (attempt > 0)
                QThread::msleep(500);
            open = check.open();
        }
        QString error;
        if (!open) {
            *detail = STORED_TEXT("无法重新连接服务器: %1").arg(check.lastError().text());
        } else if (!applyWorkSession(check, &error) || !waitForLostConnection(check, lostId, &error)) {
            *detail = error;
        } else if (const UndoScript::ServerIdentity now = serverIdentity(check);
                   identity.isValid() && (now.value != identity.value || now.kind != identity.kind)) {
            *detail = STORED_TEXT("重新连接到的不是原来的服务器（%1，原来是 %2）").arg(now.text(), identity.text());
        } else {
            int atEnd = 0;
            int atStart = 0;
            int telling = 0;
            for (const Probe &probe : probes) {
                if (probe.before == probe.after)
                    continue;
                ++telling;
                bool ok = false;
                const QByteArray value = valueOf(check, probe.query, &ok);
                if (!ok) {
                    error = check.lastError().text();
                    break;
                }
                atEnd += value == probe.after ? 1 : 0;
                atStart += value == probe.before ? 1 : 0;
            }
            if (!error.isEmpty())
                *detail = error;
            else if (telling == 0)
                *detail = STORED_TEXT("没有可以判断的数据");
            else if (atEnd == telling)
                outcome = Outcome::Committed;
            else if (atStart == telling)
                outcome = Outcome::RolledBack;
            else
                *detail = STORED_TEXT("%1 项数据中 %2 项是提交后的样子、%3 项是提交前的样子，其余已被改动").arg(telling).arg(atEnd).arg(atStart);
        }
        check.close();
    }
    QSqlDatabase::removeDatabase(name);
    return outcome;
}

} // namespace CommitCheck
