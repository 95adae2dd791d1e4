#pragma once
// The eleven editor areas in tab order: tab caption, editor window, pending state and the
// two texts of the unapplied-changes warning.

#include "model/config_model.h"

#include <array>

namespace vm880 {

struct AreaInfo {
    const char* caption;
    const char* editor;
    int ConfigModel::*pending;
    const char* warningTitle;
    const char* areaWord;
};

inline constexpr int kAreaCount = 11;
inline constexpr int kTimersArea = 0;

inline constexpr std::array<AreaInfo, kAreaCount> kAreas = {{
    {"Timers", "Timers", &ConfigModel::giTimersUnapplied,
     "Unapplied Timer Changes", "Timer"},
    {"Courtesy Tones", "Courtesy", &ConfigModel::giCourtesyUnapplied,
     "Unapplied Courtesy Tone Changes", "Courtesy Tone"},
    {"Macros", "Macros", &ConfigModel::giMacrosUnapplied,
     "Unapplied Macro Changes", "Macro"},
    {"Scheduler/Clock", "Scheduler", &ConfigModel::giSchedulerUnapplied,
     "Unapplied Scheduler Changes", "Scheduler"},
    {"Analog", "Analog", &ConfigModel::giAnalogUnapplied,
     "Unapplied Analog Changes", "Analog"},
    {"IDs", "ID", &ConfigModel::giIDUnapplied,
     "Unapplied ID Changes", "ID"},
    {"Messages", "MessageMacros", &ConfigModel::giMessageMacrosUnapplied,
     "Unapplied Messages Changes", "Messages"},
    {"DTMF", "DTMF", &ConfigModel::giDTMFUnapplied,
     "Unapplied DTMF Changes", "DTMF"},
    {"&Logic Alarms/R Base", "Alarms_Remote", &ConfigModel::giAlarmsRemoteUnapplied,
     "Unapplied Alarm/Remote Base Changes", "Alarm/Remote Base"},
    {"Special Codes/Autopatch", "SpecialCodes", &ConfigModel::giSpecialCodesUnapplied,
     "Unapplied Special Codes/Autopatch Changes", "Special Codes/Autopatch"},
    {"Port Switches", "PortSwitches", &ConfigModel::giPortSwitchesUnapplied,
     "Unapplied Port Switch Changes", "Port Switch"},
}};

// The order in which the editors are created after a load, and destroyed before the next.
inline constexpr std::array<int, kAreaCount> kShowOrder = {4, 5, 8, 2, 3, 1, 6, 7, 0, 10, 9};
inline constexpr std::array<int, kAreaCount> kUnloadOrder = {4, 5, 8, 0, 2, 3, 1, 6, 10, 9, 7};

} // namespace vm880
