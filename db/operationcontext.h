#pragma once

#include "base/message.h"

#include <atomic>
#include <functional>

// What an operation says while it runs, and how it is stopped: the one shape in which a
// window (through SessionTask::context), the command line (through its Output) and the tests
// hand them to an engine. Every part may be left empty. Lines and stages are messages, so that
// what is kept reads in the source language and what is shown in the operator's.
struct OperationContext
{
    std::function<void(const Message &line)> onLog;
    // `done` of `total` steps of `stage` (a table, a phase), for a bar and its text.
    std::function<void(const Message &stage, qint64 done, qint64 total)> onProgress;
    const std::atomic_bool *cancelFlag = nullptr;  // polled between statements

    void log(const Message &line) const
    {
        if (onLog)
            onLog(line);
    }
    void progress(const Message &stage, qint64 done, qint64 total) const
    {
        if (onProgress)
            onProgress(stage, done, total);
    }
    bool cancelled() const { return cancelFlag && cancelFlag->load(); }
};
