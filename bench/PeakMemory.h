#pragma once

#include <atomic>
#include <thread>

namespace tempolatch::bench {

// The most memory the process held above where it stood at the start: the
// resident set, sampled every millisecond by a thread of its own (a
// benchmark runs its sizes in one process, so the process's own peak says
// nothing about the later ones). Freed blocks go back to the system first,
// so that an earlier size's leftovers do not hide the next one's growth.
class PeakMemory {
public:
    PeakMemory();
    ~PeakMemory();
    PeakMemory(const PeakMemory&) = delete;
    PeakMemory& operator=(const PeakMemory&) = delete;

    // The peak so far, in bytes above the start.
    double bytes() const;

private:
    long m_start = 0;
    std::atomic<long> m_peak{0};
    std::atomic<bool> m_stop{false};
    std::thread m_sampler;
};

}  // namespace tempolatch::bench
