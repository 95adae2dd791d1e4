#pragma once
// Waits while the transmitter is keyed. They are bounded, so a mistyped or damaged delay
// cannot hold a carrier on the air for hours, and they end at once when the operator closes
// the window or interrupts, so the line can be released.

#include <cstdint>
#include <functional>

namespace vm880 {

class Clock;

// The longest `TxTemp` or `DTMFToneDelay` used while keyed; where these values are read or
// typed they are bounded by the same figure.
inline constexpr long kMaxKeyingDelayMs = 10'000;

// The longest the wait blocks before it lets window events run and checks for a cancel.
inline constexpr std::int64_t kKeyedWaitStepMs = 50;

// `ms` brought into 0..kMaxKeyingDelayMs.
std::int64_t BoundedKeyingDelay(std::int64_t ms);

// Sleeps `ms` (bounded as above) in steps of at most kKeyedWaitStepMs, letting window events
// run between steps. Returns false, early, when `cancelled` says so between two steps. A
// wait of one step or less is one sleep and never cut: the ordinary pacing of the digits
// lets a command and its lock finish; only a long wait is ended.
bool InterruptibleSleep(Clock& clock, std::int64_t ms, const std::function<bool()>& cancelled);

} // namespace vm880
