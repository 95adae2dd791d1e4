#include "link/command_clock.h"

#include "link/command_catalogue.h"
#include "link/controller_links.h"
#include "model/config_model.h"
#include "interfaces/clock.h"
#include "interfaces/serial_port.h"
#include "interfaces/prompts.h"

#include <ctime>

namespace vm880 {

namespace {

std::string TwoDigits(int value)
{
    value %= 100;
    return std::string(1, static_cast<char>('0' + value / 10)) +
           static_cast<char>('0' + value % 10);
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

bool SendClockCommands(ControllerAction& action, Clock& clock, const ClockSource& now)
{
    const ClockReading reading = now();
    const ConfigModel& model = action.model();
    const bool serial = action.Kind() == LinkKind::Serial;
    if (serial)
        clock.SleepMs(50);
    if (!action.Send(LinkCommandsOf(ClockDateCommand(), model, {1, 0, ControllerDateText(reading)},
                                    action.Kind())))
        return false;
    if (serial)
        clock.SleepMs(500);
    return action.Send(LinkCommandsOf(ClockTimeCommand(), model, {1, 0, ControllerTimeText(reading)},
                                      action.Kind()));
}

ControllerActionResult SetControllerClock(const ControllerActionContext& context, Clock& clock,
                                          const ClockSource& now)
{
    return RunControllerAction(context, {"clock setting", "Scheduler", "ClockSet_Click"},
                               [&](ControllerAction& action) {
                                   return action.Unlock(1) && SendClockCommands(action, clock, now);
                               });
}

void TellClockOutcome(Prompts& prompts, const ControllerActionResult& result)
{
    if (result.Done()) {
        prompts.Message(style::OkOnly, kClockSetTitle, kClockSetText);
        return;
    }
    if (result.end != ActionEnd::Failed)
        return;
    const char* how = result.kind == LinkKind::Serial ? "was not acknowledged by the VM880"
                                               : "could not be played";
    std::string text = result.acknowledged == 0
                           ? std::string("The VM880 clock and calendar were not set: the date command ") + how + "."
                       : result.acknowledged == 1
                           ? std::string("The VM880 calendar was set, but its clock was not: the time command ") + how + "."
                           : std::string("The clock and calendar commands went out, but the lock code could not be played: the VM880 may still be unlocked.");
    text += "\r\n\r\nCheck the connection to the VM880 and try Set Clock again.";
    prompts.Message(style::OkOnly + style::Exclamation, kClockNotSetTitle, text);
}

} // namespace vm880
