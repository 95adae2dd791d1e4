#include "link/command_clock.h"

#include "link/command_catalogue.h"
#include "link/command_senders.h"
#include "link/dtmf_link.h"
#include "link/serial_link.h"
#include "model/config_model.h"
#include "interfaces/clock.h"
#include "interfaces/serial_port.h"

#include <ctime>

namespace vm880 {

namespace {

std::string TwoDigits(int value)
{
    value %= 100;
    return std::string(1, static_cast<char>('0' + value / 10)) +
           static_cast<char>('0' + value % 10);
}

int Finish(ConfigModel& model, bool done)
{
    // The flag tells callers that test it, as after any reply wait, whether it went through.
    model.UploadError = done ? kFalse : kTrue;
    return done ? kDone : kFailed;
}

} // namespace

ClockReading ReadLocalClock()
{
    const std::time_t now = std::time(nullptr);
    const std::tm* local = std::localtime(&now);
    if (!local)
        return {};
    return {local->tm_year + 1900, local->tm_mon + 1, local->tm_mday,
            local->tm_hour,        local->tm_min,     local->tm_sec};
}

std::string ControllerDateText(const ClockReading& reading)
{
    return TwoDigits(reading.month) + TwoDigits(reading.day) + TwoDigits(reading.year);
}

std::string ControllerTimeText(const ClockReading& reading)
{
    return TwoDigits(reading.hour) + TwoDigits(reading.minute) + TwoDigits(reading.second);
}

int SetControllerClock(SerialLink& link, ConfigModel& model, Clock& clock,
                       const ClockSource& now)
{
    // A port that could not be opened has been reported already; sending would only
    // report it again.
    if (model.PortOpenFailed != kFalse)
        return Finish(model, false);

    const ClockReading reading = now();
    const std::string date = ControllerDateText(reading);
    const std::string time = ControllerTimeText(reading);

    clock.SleepMs(50);
    bool done = SendSerialLines(link, model, SerialLines(ClockDateCommand(), model, {1, 0, date}));
    if (done) {
        clock.SleepMs(500);
        done = SendSerialLines(link, model, SerialLines(ClockTimeCommand(), model, {1, 0, time}));
    }
    if (link.Port().IsOpen())
        link.Port().Close();
    return Finish(model, done);
}

int SetControllerClock(ToneLink& link, ConfigModel& model, const ClockSource& now)
{
    if (model.PortOpenFailed != kFalse)
        return Finish(model, false);

    const ClockReading reading = now();
    const std::string date = ControllerDateText(reading);
    const std::string time = ControllerTimeText(reading);

    // Keeps the caller's keying (and keys when the caller did not); a failure leaves
    // PortOpenFailed raised for the caller to see.
    if (!link.KeyDTMFTransmitter(true))
        return Finish(model, false);
    const bool done = PlayItem(link, model, ClockDateCommand(), {1, 0, date}) &&
                      PlayItem(link, model, ClockTimeCommand(), {1, 0, time}) && link.SendLock();
    link.KeyDTMFTransmitter(false);
    return Finish(model, done);
}

int SetControllerClock(ConfigModel& model, SerialLink& serial, ToneLink& tone, Clock& clock,
                       const ClockSource& now)
{
    return model.ComPort != 0 ? SetControllerClock(serial, model, clock, now)
                              : SetControllerClock(tone, model, now);
}

} // namespace vm880
