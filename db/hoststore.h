#pragma once

#include "base/message.h"

#include "db/hostconfig.h"

// The host list file, host_configs.json beside the program.
QString hostConfigFilePath();

// Reads a host list; a missing, unreadable or malformed file gives the single default entry.
HostConfigList readHostConfigs(const QString &path);

// A warning when the host list can be read by other users of the machine (it holds
// passwords); empty when it cannot, or where the platform has no such permissions.
Message hostFileExposure(const QString &path);

// Writes the list in indented JSON. The file holds passwords, so it is made readable by its
// owner only where the platform has such permissions. False, with the reason in *error, when
// it cannot be written; the old file is then kept as it was.
bool writeHostConfigs(const QString &path, const HostConfigList &configs, Message *error = nullptr);
