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
    task->m_claimed = true;
    static std::atomic_int serial{0};
    const QString name = QStringLiteral("session_task_%1").arg(++serial);
    const HostConfig config = manager->storedConfig();
    task->launch([task, name, config, connection, work = std::move(work)] {
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
    return task;
}

SessionTask *SessionTask::startDetached(Work work, QObject *parent)
{
    auto *task = new SessionTask(parent);
    task->launch([task, work = std::move(work)] {
        QSqlDatabase none;
        task->m_ok = work(none, *task);
    });
    return task;
}

void SessionTask::launch(std::function<void()> body)
{
    m_running = true;
    m_thread = QThread::create(std::move(body));
    connect(m_thread, &QThread::finished, this, &SessionTask::onThreadFinished);
    // Once the caller has connected to the signals: the work's first lines are not lost.
    QMetaObject::invokeMethod(this, [this] { m_thread->start(); }, Qt::QueuedConnection);
}

void SessionTask::release()
{
    m_running = false;
    if (m_claimed)
        DatabaseManager::instance()->endOperation();
    m_claimed = false;
}

SessionTask::~SessionTask()
{
    if (m_thread) {
        m_cancel = true;
        m_thread->wait();
        delete m_thread;
    }
    if (m_running)
        release();
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
    release();
    emit finished(m_ok.load(), m_cancel.load());
}
