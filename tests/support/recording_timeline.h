#pragma once
// One timeline shared by the recording fakes (serial port lines, sounds), so a test can check
// the order and the timing of keying and tones together.

#include "fake_clock.h"

#include <cstdint>
#include <string>
#include <vector>

namespace vm880::test {

struct TimelineEvent {
    std::int64_t atMs = 0;
    std::string what; // e.g. "open 3", "DTR on", "RTS off", "close", "tone 697+1209 60ms"

    bool operator==(const TimelineEvent&) const = default;
};

class RecordingTimeline {
public:
    explicit RecordingTimeline(FakeClock& clock) : clock_(clock) {}

    void Add(std::string what) { events_.push_back({clock_.NowMs(), std::move(what)}); }
    const std::vector<TimelineEvent>& events() const { return events_; }
    std::vector<std::string> whats() const
    {
        std::vector<std::string> out;
        for (const auto& e : events_)
            out.push_back(e.what);
        return out;
    }
    FakeClock& clock() { return clock_; }

private:
    FakeClock& clock_;
    std::vector<TimelineEvent> events_;
};

} // namespace vm880::test
