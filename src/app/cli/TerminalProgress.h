#pragma once

#include <QtGlobal>
#include <condition_variable>
#include <cstdio>
#include <mutex>
#include <thread>

namespace tempolatch {

namespace platform {
class WorkProgress;
}

// The count of a command's records on standard error while it runs, when
// standard error is a terminal: "tempolatch: 12,345 records", written over
// itself a few times a second and ended with a new line once the command
// has. A command that
// ends within the first interval shows nothing; a log file or a pipe never
// gets a count.
class TerminalProgress {
public:
    // Shows nothing unless `out` is a terminal.
    TerminalProgress(const platform::WorkProgress& progress, std::FILE* out = stderr);
    ~TerminalProgress();
    TerminalProgress(const TerminalProgress&) = delete;
    TerminalProgress& operator=(const TerminalProgress&) = delete;

private:
    void showUntilStopped();

    const platform::WorkProgress& m_progress;
    std::FILE* m_out;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    bool m_stopped = false;
    std::thread m_thread;
};

}  // namespace tempolatch
