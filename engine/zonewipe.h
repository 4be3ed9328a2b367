#pragma once

#include "accountcleanup.h"
#include "db/hostconfig.h"

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
    AccountCleanup::WipedAccounts accounts;  // read before the operator confirmed
    HostConfig accountServer;                // where the account databases are
};

struct Sinks
{
    std::function<void(const QString &line)> log;
    std::function<void(int step, int steps, const QString &table)> progress;
    const std::atomic_bool *cancel = nullptr;  // polled between statements of the characters' part
};

// False when the characters' part failed or was cancelled: then nothing is deleted at all.
// *deleted counts the characters deleted.
bool run(QSqlDatabase &db, const Request &request, const Sinks &sinks, int *deleted);

} // namespace ZoneWipe
