#pragma once

#include "undoscript.h"

#include <QByteArray>
#include <QList>
#include <QSqlDatabase>
#include <QString>

// What became of a transaction whose COMMIT failed. A server that refuses a COMMIT rolls the
// transaction back; a COMMIT whose answer was lost (the connection broke after it was sent) may
// have taken place or not, and only the server can tell.
namespace CommitCheck {

enum class Outcome { Committed, RolledBack, Unknown };

// A query whose value tells the transaction's effect apart: what it gave before the transaction
// and what it gave at its end, inside it. Equal values tell nothing.
struct Probe
{
    QByteArray query;
    QByteArray before;
    QByteArray after;
};

// The connection's id on the server, read before the transaction: to wait for the server to
// finish with that connection after it was lost. 0 when it cannot be read.
qint64 connectionId(QSqlDatabase &db);

// After a COMMIT on `db` failed: when the connection still answers, the server refused the
// COMMIT and rolled back. Otherwise a new connection to the same server (checked by `identity`)
// waits until the server has finished with the lost one (`lostId`; one still holding its
// transaction, whose COMMIT never arrived, is ended), then runs the probes: all at their end
// values means committed, all at their values before means rolled back, anything else (changed
// since, no probe, the server out of reach) unknown. *detail says what was found.
Outcome settle(QSqlDatabase &db, qint64 lostId, const UndoScript::ServerIdentity &identity, const QList<Probe> &probes,
               QString *detail);

// The identity of the connection's server; invalid when it cannot be read.
UndoScript::ServerIdentity serverIdentity(QSqlDatabase &db);

} // namespace CommitCheck
