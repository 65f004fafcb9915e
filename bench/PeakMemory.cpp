#include "PeakMemory.h"

#include <chrono>
#include <cstdio>

#if defined(__GLIBC__)
#include <malloc.h>
#endif
#include <unistd.h>

namespace tempolatch::bench {

namespace {

// Resident bytes, from /proc (0 where there is none).
long residentBytes() {
    std::FILE* statm = std::fopen("/proc/self/statm", "r");
    if (!statm)
        return 0;
    long size = 0;
    long resident = 0;
    const int read = std::fscanf(statm, "%ld %ld", &size, &resident);
    std::fclose(statm);
    return read == 2 ? resident * sysconf(_SC_PAGESIZE) : 0;
}

}  // namespace

PeakMemory::PeakMemory() {
#if defined(__GLIBC__)
    malloc_trim(0);
#endif
    m_start = residentBytes();
    m_peak = m_start;
    m_sampler = std::thread([this] {
        while (!m_stop) {
            const long now = residentBytes();
            if (now > m_peak)
                m_peak = now;
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    });
}

PeakMemory::~PeakMemory() {
    m_stop = true;
    m_sampler.join();
}

double PeakMemory::bytes() const {
    const long now = residentBytes();
    return double(std::max(now, m_peak.load()) - m_start);
}

}  // namespace tempolatch::bench
