#pragma once

#include "base/message.h"

#include "mergesettings.h"

#include <functional>

// Dumps the target's character and account databases into backups/ beside the program before
// a merge, with mysqldump; the files are readable by their owner only. False, with the reason
// logged, when either dump fails.
bool backupMergeTarget(const MergeSettings &settings, const std::function<void(const Message &)> &log);
