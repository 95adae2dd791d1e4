#pragma once

#include "interfaces/clock.h"

#include <chrono>
#include <cstdint>
#include <functional>
#include <thread>
#include <vector>

namespace vm880::test {

// Real time for the reply waits; the program's own pauses pass at once and are recorded.
// `onYield` runs whenever the code under test lets window events run.
class SkippingClock : public Clock {
public:
    std::int64_t NowMs() override
    {
        using namespace std::chrono;
        return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count() +
               skipped_;
    }
    void SleepMs(std::int64_t ms) override
    {
        sleeps.push_back(ms);
        if (ms > 0 && realSleeps)
            std::this_thread::sleep_for(std::chrono::milliseconds(ms));
        else if (ms > 0)
            skipped_ += ms;
    }
    void Yield() override
    {
        if (onYield)
            onYield();
    }

    std::vector<std::int64_t> sleeps;
    std::function<void()> onYield;
    // The program's own pauses pass in real time, for an exchange whose timing they shape.
    bool realSleeps = false;

private:
    std::int64_t skipped_ = 0;
};

} // namespace vm880::test
