#pragma once
// A clock for tests: sleeps advance time at once and are recorded; Yield runs an optional hook
// (a test can use it to press a button or inject input while the code under test waits).

#include "interfaces/clock.h"

#include <functional>
#include <vector>

namespace vm880::test {

class FakeClock : public Clock {
public:
    std::int64_t NowMs() override { return now_; }
    void SleepMs(std::int64_t ms) override
    {
        sleeps.push_back(ms);
        if (ms > 0)
            now_ += ms;
    }
    void Yield() override
    {
        ++yields;
        now_ += yieldStepMs;
        if (onYield)
            onYield();
    }
    void Advance(std::int64_t ms) { now_ += ms; }

    std::vector<std::int64_t> sleeps;
    int yields = 0;
    std::int64_t yieldStepMs = 1; // time that passes on each yield, so waits come to an end
    std::function<void()> onYield;

private:
    std::int64_t now_ = 0;
};

} // namespace vm880::test
