#pragma once
// Setting the controller's clock and calendar from the computer's, over either link: the date
// as "*5101" and MMDDYY, then the time as "*5100" and HHMMSS (hours 00 to 23). Both texts come
// from one reading of the clock, taken from a source the caller chooses, so that tests fix it.

#include "link/controller_action.h"

#include <functional>
#include <string>

namespace vm880 {

class Clock;
class Prompts;

struct ClockReading {
    int year = 2000; // four digits
    int month = 1;   // 1 to 12
    int day = 1;     // 1 to 31
    int hour = 0;    // 0 to 23
    int minute = 0;
    int second = 0;
};

using ClockSource = std::function<ClockReading()>;

// The computer's local date and time now.
ClockReading ReadLocalClock();

// "MMDDYY" and "HHMMSS".
std::string ControllerDateText(const ClockReading& reading);
std::string ControllerTimeText(const ClockReading& reading);

// The two clock commands on the action's link, both from one reading of `now`: over the
// serial cable 50 ms before the date and 500 ms between the two; the time goes out only when
// the date went through. True when both were acknowledged (serial) or played (radio).
bool SendClockCommands(ControllerAction& action, Clock& clock, const ClockSource& now);

// Set Clock (the scheduler's button, the toolbar): opens the link `ComPort` chooses (over the
// radio link keys, waits `TxTemp` and unlocks port 1), sends both commands, plays the lock
// and lets go of the link, whatever happens. Refused while another controller operation runs.
ControllerActionResult SetControllerClock(const ControllerActionContext& context, Clock& clock,
                                          const ClockSource& now);

inline constexpr const char* kClockSetTitle = "Done";
inline constexpr const char* kClockSetText = "Clock and Calendar have been successfully set";
inline constexpr const char* kClockNotSetTitle = "Set Clock";

// What the operator is told after Set Clock: the success box only when both commands went
// out; after a refused, unanswered or unplayed command which part was not set. Nothing more
// after a refusal while busy, a port that did not open or a run-time error: each has been
// reported where it happened.
void TellClockOutcome(Prompts& prompts, const ControllerActionResult& result);

} // namespace vm880
