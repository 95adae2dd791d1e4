#pragma once
// Small pieces the serial benchmarks share.

#include "platform/qt_clock.h"

#include <QCoreApplication>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <vector>

namespace vm880::bench {

// The Qt clock with the program's fixed pauses counted instead of slept, so that what is
// measured is the program's own time and the pseudo-terminal's.
class UnpacedClock : public QtClock {
public:
    void SleepMs(std::int64_t ms) override
    {
        if (ms > 0)
            pausedMs += ms;
    }
    std::int64_t pausedMs = 0;
};

inline double Percentile(std::vector<double> values, double p)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    return values[static_cast<std::size_t>(p * static_cast<double>(values.size() - 1))];
}

inline double Micros(std::chrono::steady_clock::duration d)
{
    return std::chrono::duration<double, std::micro>(d).count();
}

// A benchmark main with an event dispatcher, which the serial port's notifiers need.
inline int RunWithEventDispatcher(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

} // namespace vm880::bench
