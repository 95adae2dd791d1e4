#include "link/keyed_wait.h"

#include "interfaces/clock.h"

#include <algorithm>

namespace vm880 {

std::int64_t BoundedKeyingDelay(std::int64_t ms)
{
    return std::clamp<std::int64_t>(ms, 0, kMaxKeyingDelayMs);
}

bool InterruptibleSleep(Clock& clock, std::int64_t ms, const std::function<bool()>& cancelled)
{
    std::int64_t left = BoundedKeyingDelay(ms);
    while (left > 0) {
        const std::int64_t step = std::min(left, kKeyedWaitStepMs);
        clock.SleepMs(step);
        left -= step;
        if (left > 0) {
            clock.Yield();
            if (cancelled && cancelled())
                return false;
        }
    }
    return true;
}

} // namespace vm880
