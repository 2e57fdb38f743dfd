// The millisecond tick counter, and the seam through which tests script it.
#pragma once

#include <functional>

#include "platform/base/api.h"
#include "platform/base/types.h"

// Milliseconds since an arbitrary start (the system's monotonic clock),
// wrapping at 2^32 like the 32-bit counter it stands for.
NUVEX_PLATFORM_API DWORD GetTickCount();

// While alive, GetTickCount answers from `source` instead of the clock.
// Guards nest; the innermost one answers.
class NUVEX_PLATFORM_API ScopedTickSource {
public:
    explicit ScopedTickSource(std::function<DWORD()> source);
    ~ScopedTickSource();
    ScopedTickSource(const ScopedTickSource&) = delete;
    ScopedTickSource& operator=(const ScopedTickSource&) = delete;

private:
    std::function<DWORD()> m_previous;
};
