#pragma once
// Time as the core sees it: sleeps, elapsed time and yields to the event loop. The Qt
// implementation keeps the window alive while waiting; tests advance instantly.

#include <cstdint>

namespace vm880 {

class Clock {
public:
    virtual ~Clock() = default;
    // Milliseconds since an arbitrary start, never going back.
    virtual std::int64_t NowMs() = 0;
    // Pauses for `ms` milliseconds (0 or less returns at once).
    virtual void SleepMs(std::int64_t ms) = 0;
    // Lets the window system handle pending events (repaint, the Interrupt button).
    virtual void Yield() = 0;
};

} // namespace vm880
