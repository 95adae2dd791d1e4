#pragma once
// Setting the controller's clock and calendar from the computer's, over either link: the date
// as "*5101" and MMDDYY, then the time as "*5100" and HHMMSS (hours 00 to 23). Both texts come
// from one reading of the clock, taken from a source the caller chooses, so that tests fix it.

#include <functional>
#include <string>

namespace vm880 {

struct ConfigModel;
class Clock;
class SerialLink;
class ToneLink;

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

// Serial link; the caller has opened the port. Waits 50 ms, sends the date and waits for the
// reply; when it was accepted, waits 500 ms and sends the time the same way. Closes the port
// afterwards. Returns 0 when the controller accepted both, 8 when it refused one, did not
// answer, or the port was not open (the operator has been told); `UploadError` then stays
// raised.
int SetControllerClock(SerialLink& link, ConfigModel& model, Clock& clock,
                       const ClockSource& now);

// Radio link; the caller has keyed the transmitter and unlocked port 1. Plays the date and
// time commands and the lock code, then releases the transmitter. Returns 0 when every key
// was played, 8 when the keying or the sound failed (the operator has been told).
int SetControllerClock(ToneLink& link, ConfigModel& model, const ClockSource& now);

// The link `ComPort` chooses: serial when it is 1 to 8, radio when it is 0.
int SetControllerClock(ConfigModel& model, SerialLink& serial, ToneLink& tone, Clock& clock,
                       const ClockSource& now);

} // namespace vm880
