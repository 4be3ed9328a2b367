#include "sessiontask.h"

#include "connectionrule.h"
#include "databasemanager.h"
#include "base/storedtext.h"

#include <QSqlDatabase>
#include <QThread>

SessionTask::SessionTask(QObject *parent)
    : QObject(parent)
{
}

SessionTask *SessionTask::start(const Message &what, Work work, QObject *parent, Message *refusal, Connection connection)
{
    DatabaseManager *manager = DatabaseManager::instance();
    if (connection == Connection::Session && !manager->isConnected()) {
        *refusal = STORED_TEXT("未连接到数据库");
        return nullptr;
    }
    if (!manager->beginOperation(what, refusal))
        return nullptr;
    auto *task = new SessionTask(parent);
    static std::atomic_int serial{0};
    const QString name = QStringLiteral("session_task_%1").arg(++serial);
    const HostConfig config = manager->storedConfig();
    task->m_running = true;
    task->m_thread = QThread::create([task, name, config, connection, work = std::move(work)] {
        bool ok = false;
        if (connection == Connection::Own) {
            QSqlDatabase none;
            task->m_ok = work(none, *task);
            return;
        }
        {
            const ConnectionOutcome outcome = openSessionConnection(name, config);
            QSqlDatabase db = QSqlDatabase::database(name, false);
            if (outcome.ok)
                ok = work(db, *task);
            else
                task->log(STORED_TEXT("连接数据库失败: %1").arg(outcome.lastError));
            db.close();
        }
        removeNamedConnection(name);
        task->m_ok = ok;
    });
    connect(task->m_thread, &QThread::finished, task, &SessionTask::onThreadFinished);
    task->m_thread->start();
    return task;
}

SessionTask::~SessionTask()
{
    if (m_thread) {
        m_cancel = true;
        m_thread->wait();
        delete m_thread;
    }
    if (m_running)
        DatabaseManager::instance()->endOperation();
}

OperationContext SessionTask::context()
{
    OperationContext context;
    context.onLog = [this](const Message &line) { log(line); };
    context.onProgress = [this](const Message &stage, qint64 done, qint64 total) { progress(stage, done, total); };
    context.cancelFlag = &m_cancel;
    return context;
}

void SessionTask::cancel()
{
    m_cancel = true;
}

void SessionTask::onThreadFinished()
{
    if (!m_running)
        return;
    m_running = false;
    DatabaseManager::instance()->endOperation();
    emit finished(m_ok.load(), m_cancel.load());
}
