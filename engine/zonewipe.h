#pragma once

#include "accountcleanup.h"
#include "db/hostconfig.h"
#include "db/operationcontext.h"

#include <QList>
#include <QStringList>

#include <atomic>
#include <functional>

class QSqlDatabase;

// A whole-zone wipe, the same for the window and the command line: the characters of the
// worlds with every row they own in one transaction, then their accounts.
namespace ZoneWipe {

struct Request
{
    QList<int> worlds;
    QStringList accountDatabases;            // empty: accounts stay
    AccountCleanup::WipedAccounts accounts;  // read by preview(), for the confirmation; the run reads them again
    HostConfig accountServer;                // where the account databases are
    bool undo = true;                        // write an undo file first
};

struct Result
{
    bool ok = false;
    bool cancelled = false;  // the operator stopped it: nothing was deleted
    int deleted = 0;   // characters
    QString undoPath;  // the undo file, when one was written
    bool accountsFailed = false;  // characters deleted, but their accounts on another server not (all)
};


// What the wipe will delete, counted where it will delete it.
struct Preview
{
    Message failure;      // something could not be read or counted: the wipe must not start
    QList<Message> lines; // table by table, the warnings first
    Message liveGame;     // the game seems to be running (also among the lines)

    bool ok() const { return failure.isEmpty(); }
};

// Reads the accounts the wipe would delete into request->accounts (when account databases are
// named), then counts the characters' rows on `db` and the accounts on the account server.
Preview preview(QSqlDatabase &db, Request *request);

// With the account databases on the same server, accounts and characters go in one
// transaction, and the undo file holds both; otherwise every account database is opened
// first (one that cannot be: nothing is deleted), and the accounts follow the committed
// characters in transactions of their own, outside the undo file. Not ok when the transaction
// failed, was cancelled or the undo file could not be written (then nothing is deleted at all),
// or when an account database's deletion failed after the characters (accountsFailed); the
// context's log says why. Progress goes by table; the cancel is polled between statements of
// the characters' part.
Result run(QSqlDatabase &db, const Request &request, const OperationContext &context);

} // namespace ZoneWipe
