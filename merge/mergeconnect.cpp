#include "mergerun.h"
#include "base/storedtext.h"

using MergeSql::openEndpoint;
using Sql::quoted;

// The merge's connections: both servers, with retries, and the source's snapshot for every read.
namespace MergeRunning {

void MergeRun::stage(int number, const Message &text)
{
    m_context.progress(text, number - 1, kStages);
}

bool MergeRun::stopped()
{
    if (!cancelled())
        return false;
    addLogLine(STORED_TEXT("合区已取消"));
    return true;
}

void MergeRun::closeAll()
{
    m_reader.reset();
    m_checker.reset();
    for (QSqlDatabase *db : {&m_target, &m_sourceChar, &m_sourceWeb}) {
        if (db->isOpen())
            db->close();
        *db = QSqlDatabase();
    }
    for (const QString &name : {kTarget, kSourceChar, kSourceWeb})
        removeNamedConnection(name);
}

bool MergeRun::abort()
{
    // An open transaction on the target ends with its connection: the server rolls it back.
    m_transaction.reset();
    m_targetIds.reset();
    closeAll();
    return false;
}

bool MergeRun::openWithRetry(QSqlDatabase &db, const QString &name, const MergeEndpoint &endpoint,
                             const QString &database, const Message &label)
{
    for (int attempt = 1; attempt <= kMaxAttempts; ++attempt) {
        db = QSqlDatabase();
        const ConnectionOutcome outcome = openEndpoint(name, endpoint, database, kOptions);
        db = QSqlDatabase::database(name, false);
        // TIMESTAMPs travel as seconds and are stored back in a zone without daylight saving,
        // whatever zones the servers run in.
        if (outcome.ok && !QSqlQuery(db).exec(QStringLiteral("SET time_zone = '+00:00'"))) {
            addLogLine(STORED_TEXT("连接 %1 失败：无法设置时区").arg(label));
            return false;
        }
        if (outcome.ok) {
            if (attempt >= 2)
                addLogLine(STORED_TEXT("连接 %1 成功（第%2次尝试）").arg(label).arg(attempt));
            if (outcome.viaOdbc)
                addLogLine(STORED_TEXT("%1 通过 ODBC 驱动 [%2] 连接").arg(label, outcome.odbcDriver));
            return true;
        }
        addLogLine(STORED_TEXT("连接 %1 失败（尝试 %2/%3）：%4").arg(label).arg(attempt).arg(kMaxAttempts).arg(outcome.failureReason()));
        if (attempt < kMaxAttempts) {
            addLogLine(STORED_TEXT("2秒后重试..."));
            QThread::msleep(2000);
        }
    }
    return false;
}

bool MergeRun::connectAll()
{
    stage(1, STORED_TEXT("连接数据库"));
    addLogLine(STORED_TEXT("异步线程开始连接数据库..."));
    // The target's account database lives on the same server: one connection serves both, so
    // that one transaction holds everything the merge writes.
    if (!openWithRetry(m_target, kTarget, m_settings.target, m_settings.target.charDatabase, STORED_TEXT("主区角色库"))
        || !openWithRetry(m_sourceChar, kSourceChar, m_settings.source, m_settings.source.charDatabase, STORED_TEXT("副区角色库"))
        || !openWithRetry(m_sourceWeb, kSourceWeb, m_settings.source, m_settings.source.accountDatabase, STORED_TEXT("副区账号库")))
        return false;
    m_targetWeb = quoted(m_settings.target.accountDatabase) + QStringLiteral(".account");
    m_sourceAccounts = quoted(m_settings.source.accountDatabase) + QStringLiteral(".account");
    addLogLine(STORED_TEXT("异步线程数据库连接成功"));
    return true;
}

bool MergeRun::beginSourceSnapshot()
{
    // Every read of the source sees one moment, though players may still be on it: the
    // character connection and the reader start their snapshots under a short global read lock.
    // The temporary tables exist before: no CREATE inside the snapshots' transactions.
    Message error;
    if (!createGuidTables(m_sourceChar, &error)) {
        addLogLine(error);
        return false;
    }
    startReader();
    QSqlQuery query(m_sourceChar);
    const bool locked = query.exec(QStringLiteral("SET SESSION lock_wait_timeout = 10")) && query.exec(QStringLiteral("FLUSH TABLES WITH READ LOCK"));
    if (!locked) {
        addLogLine(STORED_TEXT("无法短暂锁定副区（%1）：改为在一个连接的一个快照中读取副区，不并行读取").arg(query.lastError().text()));
        m_reader.reset();
    }
    // A consistent snapshot is one only under REPEATABLE READ; a server running READ COMMITTED
    // would have every statement read another moment.
    const auto snapshot = [](QSqlQuery &on) {
        return on.exec(QStringLiteral("SET SESSION TRANSACTION ISOLATION LEVEL REPEATABLE READ"))
            && on.exec(QStringLiteral("START TRANSACTION WITH CONSISTENT SNAPSHOT"));
    };
    bool ok = snapshot(query);
    if (!ok)
        error = query.lastError().text();
    if (ok && m_reader && !m_reader->call([&snapshot](QSqlDatabase &db) {
            QSqlQuery reader(db);
            return snapshot(reader);
        })) {
        addLogLine(STORED_TEXT("副区读取连接无法开始快照，改为单连接读取"));
        m_reader.reset();
    }
    if (locked)
        query.exec(QStringLiteral("UNLOCK TABLES"));
    if (!ok)
        addLogLine(STORED_TEXT("副区无法开始一致的读取：%1").arg(error));
    else if (locked)
        addLogLine(STORED_TEXT("副区的所有读取都在同一时刻的快照中进行"));
    return ok;
}

SourceReader::Open MergeRun::openOnThread(const QString &name, const MergeEndpoint &endpoint, const SourceReader::Open &setUp)
{
    return [name, endpoint, setUp](QSqlDatabase &db, Message *error) {
        const ConnectionOutcome outcome = openEndpoint(name, endpoint, endpoint.charDatabase, kOptions);
        db = QSqlDatabase::database(name, false);
        if (!outcome.ok) {
            *error = outcome.failureReason();
            return false;
        }
        return setUp(db, error);
    };
}

void MergeRun::startReader()
{
    // A second connection to the source, so that reading and writing overlap. Without it the
    // copy reads through the first one: slower, the same rows.
    m_reader = std::make_unique<SourceReader>(openOnThread(kSourceReader, m_settings.source, [](QSqlDatabase &db, Message *error) {
        return QSqlQuery(db).exec(QStringLiteral("SET time_zone = '+00:00'")) && createGuidTables(db, error);
    }));
    Message error;
    if (!m_reader->begin(&error)) {
        m_reader.reset();
        addLogLine(STORED_TEXT("副区读取连接失败（%1），改为单连接读取").arg(error));
    }
}

} // namespace MergeRunning
