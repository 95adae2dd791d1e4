#pragma once
// Time on the window thread: sleeps and yields keep the event loop running, so the window
// repaints and its buttons answer while the links wait.

#include "interfaces/clock.h"

#include <QElapsedTimer>

namespace vm880 {

class QtClock : public Clock {
public:
    QtClock();
    std::int64_t NowMs() override;
    void SleepMs(std::int64_t ms) override;
    void Yield() override;

private:
    QElapsedTimer elapsed_;
};

} // namespace vm880
