#pragma once

#include "operationcontext.h"

#include <QObject>
#include <QString>

#include <atomic>
#include <functional>

class QSqlDatabase;
class QThread;

// One operation on the session's server, run on a thread of its own with a connection of its
// own (opened by the session's rule), so that the window stays responsive. While it runs it
// owns the session: DatabaseManager refuses a second operation and holds the keep-alive.
//
// The work reaches the window only through this object's signals; receivers connect with a
// context object on their own thread, so that every delivery is queued.
class SessionTask : public QObject
{
    Q_OBJECT

public:
    // Runs on the worker with the open connection. True when the operation succeeded.
    using Work = std::function<bool(QSqlDatabase &db, SessionTask &task)>;

    // What the work connects to: the session's server on a connection of its own, or nothing
    // (an operation that opens its own connections, such as the merges, gets an invalid one).
    enum class Connection { Session, Own };

    // Claims the session for `what` and starts `work`. Null with *refusal when nobody is
    // connected (for Connection::Session) or another operation holds the session.
    static SessionTask *start(const Message &what, Work work, QObject *parent, Message *refusal,
                              Connection connection = Connection::Session);
    // Starts `work` on a thread of its own without claiming the session or connecting (it gets
    // an invalid connection): a connection test, a preflight that only reads, on connections
    // it opens itself. Its results go back through what it captures, read in finished().
    static SessionTask *startDetached(Work work, QObject *parent);
    // Cancels and waits for the work when it is still running.
    ~SessionTask() override;

    void cancel();
    bool isCancelled() const { return m_cancel.load(); }
    const std::atomic_bool *cancelFlag() const { return &m_cancel; }
    bool isRunning() const { return m_running; }

    // For the work, from the worker thread.
    void log(const Message &line) { emit logMessage(line); }
    void progress(const Message &stage, qint64 done, qint64 total) { emit progressChanged(stage, done, total); }
    // The operation's context: its lines and progress as this task's signals, its cancel as
    // this task's.
    OperationContext context();

signals:
    void logMessage(const Message &line);
    // The stage and how far it is, as values (showProgress() in the windows).
    void progressChanged(const Message &stage, qint64 done, qint64 total);
    // On the starting thread, after the session is released. `cancelled` when the operator
    // asked for it before the work ended.
    void finished(bool ok, bool cancelled);

private:
    explicit SessionTask(QObject *parent);
    void launch(std::function<void()> body);
    void onThreadFinished();
    void release();

    QThread *m_thread = nullptr;
    std::atomic_bool m_cancel{false};
    std::atomic_bool m_ok{false};
    bool m_running = false;
    bool m_claimed = false;  // holds the session until the work ends
};
