// The millisecond tick counter.
#include "platform/kernel/tickcount.h"

#include <time.h>

#include <mutex>

namespace {

struct TickSeam {
    std::mutex mutex;
    std::function<DWORD()> source;
};

TickSeam& Seam()
{
    static TickSeam seam;
    return seam;
}

} // namespace

DWORD GetTickCount()
{
    std::function<DWORD()> source;
    {
        TickSeam& seam = Seam();
        std::lock_guard lock(seam.mutex);
        source = seam.source;
    }
    if (source) {
        return source();
    }
    timespec now{};
    ::clock_gettime(CLOCK_MONOTONIC, &now);
    const uint64_t ms = static_cast<uint64_t>(now.tv_sec) * 1000u + static_cast<uint64_t>(now.tv_nsec) / 1000000u;
    return static_cast<DWORD>(ms & 0xFFFFFFFFu);
}

ScopedTickSource::ScopedTickSource(std::function<DWORD()> source)
{
    TickSeam& seam = Seam();
    std::lock_guard lock(seam.mutex);
    m_previous = std::move(seam.source);
    seam.source = std::move(source);
}

ScopedTickSource::~ScopedTickSource()
{
    TickSeam& seam = Seam();
    std::lock_guard lock(seam.mutex);
    seam.source = std::move(m_previous);
}
