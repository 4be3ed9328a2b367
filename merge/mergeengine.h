#pragma once

#include "mergesettings.h"

#include <QByteArray>

#include <atomic>
#include <functional>

// The cross-server merge: copies the zone subWorldId of the source server (its characters,
// their rows in every character-owned table, and the source accounts) into the target server
// as zone mainWorldId. Runs on a worker thread: it opens, uses and removes its own four
// connections there and reports only through the two functions, which may be called from
// that thread. Text columns are copied as their stored bytes.
//
// Returns false when a stage aborted; what earlier stages committed stays. `report`, when
// given, receives what was lost or skipped even on success. `cancel` is polled between
// stages and tables; a cancelled run ends as an aborted one.
using MergeLogFunction = std::function<void(const QString &)>;
using MergeProgressFunction = std::function<void(const MergeProgress &)>;

bool runMerge(const MergeSettings &settings, const MergeLogFunction &log,
              const std::atomic_bool *cancel = nullptr, MergeReport *report = nullptr,
              const MergeProgressFunction &progress = {});

namespace MergeNames {

// A clashing name with the suffix: before the first "@" (one that is not the first character)
// for account names, at the end otherwise; then "_1", "_2", ... after the suffix until
// `taken` says no. `legacy`: GBK bytes, whose trail bytes may look like "@". The original is
// shortened at a character boundary so that the result has at most `maxLength` characters
// (bytes for legacy text); `shortened` tells whether it had to be.
QByteArray resolve(const QByteArray &name, const QByteArray &suffix, bool atRule, bool legacy,
                   int maxLength, const std::function<bool(const QByteArray &)> &taken,
                   bool *shortened = nullptr);

} // namespace MergeNames
