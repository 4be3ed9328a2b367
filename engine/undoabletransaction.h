#pragma once

#include "base/message.h"

#include "undofile.h"

#include <QSqlDatabase>
#include <QString>

#include <functional>

// One operation's transaction with its undo file, the way every operation that changes game
// data runs: begin() starts the transaction and the file; commit() finishes the file first
// and commits only when it is whole, and removes it again when the commit fails; anything
// else (a failed step, rollback(), leaving scope) rolls the transaction back and leaves no file.
//
// A COMMIT whose answer is lost is not taken for a failure: the outcome is found out on a new
// connection to the same server (CommitCheck) from the undo file's checks. Committed, it is a
// success (with a log line); not committed, a failure; not to be found out (no undo file, the
// server out of reach, the rows changed since), a failure that says so and keeps the undo file.
class UndoableTransaction
{
public:
    explicit UndoableTransaction(QSqlDatabase db);
    ~UndoableTransaction();
    UndoableTransaction(const UndoableTransaction &) = delete;
    UndoableTransaction &operator=(const UndoableTransaction &) = delete;

    // Where commit() says what it found after a lost answer; debug.log only without one.
    void setLog(std::function<void(const Message &)> log) { m_log = std::move(log); }

    // Starts the transaction and, with `writeUndo`, the undo file of `operation`. False with
    // *error (nothing started) when either cannot start.
    bool begin(const QString &operation, bool writeUndo, Message *error);
    bool isActive() const { return m_active; }
    // The file to write what the operation changes into; null without one.
    UndoFile *undo() { return m_withUndo ? &m_undo : nullptr; }

    // Finishes the undo file, then commits. False with *error and everything rolled back (and
    // no file) when either fails; false with *error naming the kept undo file when the outcome
    // of a lost answer cannot be found out.
    bool commit(Message *error);
    void rollback();
    // The committed operation's undo file; empty without one.
    QString undoPath() const { return m_path; }

private:
    QSqlDatabase m_db;
    UndoFile m_undo;
    bool m_withUndo = false;
    bool m_active = false;
    qint64 m_connection = 0;
    QString m_path;
    std::function<void(const Message &)> m_log;
};
