#pragma once

#include "undofile.h"

#include <QSqlDatabase>
#include <QString>

// One operation's transaction with its undo file, the way every operation that changes game
// data runs: begin() starts the transaction and the file; commit() finishes the file first
// and commits only when it is whole, and removes it again when the commit fails; anything
// else (a failed step, rollback(), leaving scope) rolls the transaction back and leaves no file.
class UndoableTransaction
{
public:
    explicit UndoableTransaction(QSqlDatabase db);
    ~UndoableTransaction();
    UndoableTransaction(const UndoableTransaction &) = delete;
    UndoableTransaction &operator=(const UndoableTransaction &) = delete;

    // Starts the transaction and, with `writeUndo`, the undo file of `operation`. False with
    // *error (nothing started) when either cannot start.
    bool begin(const QString &operation, bool writeUndo, QString *error);
    bool isActive() const { return m_active; }
    // The file to write what the operation changes into; null without one.
    UndoFile *undo() { return m_withUndo ? &m_undo : nullptr; }

    // Finishes the undo file, then commits. False with *error and everything rolled back (and
    // no file) when either fails.
    bool commit(QString *error);
    void rollback();
    // The committed operation's undo file; empty without one.
    QString undoPath() const { return m_path; }

private:
    QSqlDatabase m_db;
    UndoFile m_undo;
    bool m_withUndo = false;
    bool m_active = false;
    QString m_path;
};
