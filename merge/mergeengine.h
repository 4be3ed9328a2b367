#pragma once

#include "db/operationcontext.h"
#include "mergenames.h"
#include "mergesettings.h"

#include <atomic>
#include <functional>

// The cross-server merge: copies the zone sourceWorldId of the source server (its characters,
// their rows in every character-owned table, and the source accounts) into the target server
// as zone targetWorldId. Runs on a worker thread: it opens, uses and removes its own connections
// there and reports only through the two functions, which may be called from that thread.
// Text columns are copied as their stored bytes.
//
// All or nothing on the target: everything it writes there (the low-level clean-up, accounts,
// characters, their rows and the id counter) goes through one connection in one transaction,
// committed once at the end; a failure, a cancellation, a lost connection or a killed program
// leaves the target as it was. The source is changed only by the low-level clean-up, in a
// transaction of its own with its own undo file, after the target has committed; a merge that
// fails leaves the source whole. A run refuses to start on what its preflight finds (see
// CrossServerMerge::preview).
// Progress goes by stage ("合并角色" and the others, `done` of the 11 stages as each starts),
// then by table of the related tables (the table's name, rows of the rows it will get).
namespace CrossServerMerge {

using Request = MergeSettings;
using Preview = MergePreflight;
using Result = MergeReport;

Result run(const Request &request, const OperationContext &context);

// Counts on both servers what run() would do, and what would stop it (the same database on
// both sides, a main world without an id counter, a clean-up level outside 1 to 150, required
// target columns the source cannot fill, too few free character ids). Changes nothing. Not ok
// when a server cannot be reached or read.
Preview preview(const Request &request, const OperationContext &context);

} // namespace CrossServerMerge
