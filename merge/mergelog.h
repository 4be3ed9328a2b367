#pragma once

#include <QString>

// Appends one line to the day's "merge_" log beside the program. Safe from any thread: the
// appends of all callers are serialized, so lines never interleave. Problems reach only the
// debug output.
void writeMergeLogLine(const QString &line);
