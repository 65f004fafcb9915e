#pragma once

#include <QtGlobal>
#include <atomic>

namespace tempolatch::platform {

// How far a long piece of work (a report, an export, a backup, a bulk
// change) has come, and whether whoever waits for it wants it to stop.
// The work runs on a thread of its own and counts the records it walks;
// a window or the terminal reads the count from another thread and may
// ask it to stop.
//
// The work does not carry it around: a Scope makes it the progress of the
// thread, and the few places every such work passes through use it there.
// A store walk counts each step and ends early once cancelled, and the
// two places where work becomes lasting refuse it: the output file's
// commit (no file appears, an earlier one stays) and the store's
// transaction commit (everything is taken back).
class WorkProgress {
public:
    WorkProgress() = default;
    WorkProgress(const WorkProgress&) = delete;
    WorkProgress& operator=(const WorkProgress&) = delete;

    qint64 rows() const { return m_rows.load(std::memory_order_relaxed); }
    void addRows(qint64 rows);

    // Asks the work to stop; it takes back what it has done.
    void cancel() { m_cancelled.store(true, std::memory_order_relaxed); }
    bool isCancelled() const { return m_cancelled.load(std::memory_order_relaxed); }
    // Cancels the work by itself once it has counted `rows`: a test stops a
    // work at a known place so.
    void cancelAt(qint64 rows) { m_cancelAt.store(rows, std::memory_order_relaxed); }

    // Makes `progress` the progress of the calling thread while it lives.
    class Scope {
    public:
        explicit Scope(WorkProgress& progress);
        ~Scope();
        Scope(const Scope&) = delete;
        Scope& operator=(const Scope&) = delete;

    private:
        WorkProgress* m_outer;
    };

    // The progress of the work running on this thread; nullptr outside one.
    static WorkProgress* current();
    // Counts `rows` for this thread's work: false when it is to stop.
    static bool countRows(qint64 rows = 1);
    // Whether this thread's work has been asked to stop.
    static bool cancelledHere();

private:
    std::atomic<qint64> m_rows{0};
    std::atomic<qint64> m_cancelAt{-1};
    std::atomic<bool> m_cancelled{false};
};

}  // namespace tempolatch::platform
