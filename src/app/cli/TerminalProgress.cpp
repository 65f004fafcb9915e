#include "app/cli/TerminalProgress.h"

#include <QLocale>
#include <chrono>

#include "platform/WorkProgress.h"

#include <unistd.h>

namespace tempolatch {

namespace {
constexpr std::chrono::milliseconds kInterval(250);
}

TerminalProgress::TerminalProgress(const platform::WorkProgress& progress, std::FILE* out)
    : m_progress(progress), m_out(out) {
    if (isatty(fileno(out)))
        m_thread = std::thread([this] { showUntilStopped(); });
}

TerminalProgress::~TerminalProgress() {
    if (!m_thread.joinable())
        return;
    {
        const std::lock_guard lock(m_mutex);
        m_stopped = true;
    }
    m_wake.notify_one();
    m_thread.join();
}

void TerminalProgress::showUntilStopped() {
    qint64 shown = -1;
    std::unique_lock lock(m_mutex);
    while (!m_wake.wait_for(lock, kInterval, [this] { return m_stopped; })) {
        const qint64 rows = m_progress.rows();
        if (rows == shown)
            continue;
        shown = rows;
        // The cursor goes back to the line's start: a message the command
        // writes meanwhile takes the line over.
        std::fprintf(m_out, "tempolatch: %s records\r",
                     qPrintable(QLocale::system().toString(rows)));
        std::fflush(m_out);
    }
    if (shown >= 0) {
        std::fprintf(m_out, "tempolatch: %s records\n",
                     qPrintable(QLocale::system().toString(m_progress.rows())));
        std::fflush(m_out);
    }
}

}  // namespace tempolatch
