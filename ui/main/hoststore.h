#pragma once

#include "db/hostconfig.h"

// The host list file, host_configs.json beside the program.
QString hostConfigFilePath();

// Reads a host list; a missing, unreadable or malformed file gives the single default entry.
HostConfigList readHostConfigs(const QString &path);

// Writes the list in indented JSON. The file holds passwords, so it is created readable by
// its owner only where the platform has such permissions. False when it cannot be written.
bool writeHostConfigs(const QString &path, const HostConfigList &configs);
