#pragma once
// The facts of the eleven editors, one row each in main-tab order, so that they can be
// checked line by line: tab caption, window name, pending state, the area flag(s) Apply
// raises, the Cancel Changes question and whether a refused check ends in "APPLY FAIL".

#include "model/config_model.h"

#include <array>

namespace vm880 {

// When Apply raises the area flag and marks the settings file unsaved: for each value this
// Apply changed, or (also) whenever an item flag of the area still stands after the copy.
enum class FlagRule { ChangedByApply, Standing };

struct EditorRow {
    int tab;
    const char* caption;  // main tab caption
    const char* editor;   // window name
    int ConfigModel::*pending;
    std::array<Flag ConfigModel::*, 2> areaFlags; // the first is the editor's own; second may be null
    const char* cancelText;                       // the Cancel Changes question before its last paragraph
    const char* cancelTitle;
    bool applyFailBox;                            // "APPLY FAIL" after a refused check
    FlagRule flagRule;
};

inline constexpr int kEditorCount = 11;

inline constexpr std::array<EditorRow, kEditorCount> kEditorTable = {{
    {0, "Timers", "Timers", &ConfigModel::giTimersUnapplied, {&ConfigModel::TimersChanged, nullptr},
     "This will cancel all Timer changes made since your last Timer 'Apply' or Timer 'Cancel'",
     "TIMER CANCEL CHANGES", true, FlagRule::ChangedByApply},
    {1, "Courtesy Tones", "Courtesy", &ConfigModel::giCourtesyUnapplied, {&ConfigModel::CourtesyChanged, nullptr},
     "This will cancel all Courtesy Tone changes made since your last Courtesy Tone 'Apply' or "
     "Courtesy Tone 'Cancel Changes'",
     "COURTESY TONE CANCEL CHANGES", true, FlagRule::Standing},
    {2, "Macros", "Macros", &ConfigModel::giMacrosUnapplied, {&ConfigModel::MacrosChanged, nullptr},
     "This will cancel all Macro changes made since your last Macro 'Apply' or Macro 'Cancel'",
     "MACRO CANCEL CHANGES", true, FlagRule::ChangedByApply},
    {3, "Scheduler/Clock", "Scheduler", &ConfigModel::giSchedulerUnapplied, {&ConfigModel::SchedulerChanged, nullptr},
     "This will cancel all Scheduler changes made since your last Scehduler 'Apply' or Scheduler "
     "'Cancel'\r\n\r\nIt does not cancel any 'Set Clock' or 'Date Format' changes because those were "
     "processed immediately upon your input",
     "SCHEDULER CANCEL CHANGES", true, FlagRule::Standing},
    {4, "Analog", "Analog", &ConfigModel::giAnalogUnapplied, {&ConfigModel::AnalogChanged, nullptr},
     "This will cancel all Analog changes made since your last Analog 'Apply' or Analog 'Cancel Changes'",
     "ANALOG CANCEL CHANGES", true, FlagRule::ChangedByApply},
    {5, "IDs", "ID", &ConfigModel::giIDUnapplied, {&ConfigModel::IDsChanged, &ConfigModel::IDExtrasChanged},
     "This will cancel all ID changes made to all ports since your last ID 'Apply' or 'Cancel'",
     "ID CANCEL CHANGES", true, FlagRule::Standing},
    {6, "Messages", "MessageMacros", &ConfigModel::giMessageMacrosUnapplied, {&ConfigModel::MessageMacrosChanged, nullptr},
     "This will cancel all Message Macro changes made since your last Message Macro 'Apply' or "
     "Message Macro 'Cancel'",
     "MESSAGE MACRO CANCEL CHANGES", true, FlagRule::ChangedByApply},
    {7, "DTMF", "DTMF", &ConfigModel::giDTMFUnapplied, {&ConfigModel::DTMFChanged, nullptr},
     "This will cancel all DTMF changes made since your last DTMF 'Apply' or DTMF 'Cancel Changes'",
     "DTMF CANCEL CHANGES", false, FlagRule::ChangedByApply},
    {8, "&Logic Alarms/R Base", "Alarms_Remote", &ConfigModel::giAlarmsRemoteUnapplied,
     {&ConfigModel::AlarmsChanged, &ConfigModel::RemoteBaseChanged},
     "This will cancel all Alarm/RemoteBase changes made since your last Alarm/Remote Base 'Apply' or "
     "Alarm/Remote Base 'Cancel Changes'",
     "ALARM/REMOTE BASE CANCEL CHANGES", true, FlagRule::ChangedByApply},
    {9, "Special Codes/Autopatch", "SpecialCodes", &ConfigModel::giSpecialCodesUnapplied,
     {&ConfigModel::SpecialCodesChanged, nullptr},
     "This will cancel all Special Codes/Autopatch changes made since your last Special Codes/Autopatch "
     "'Apply' or Special Codes/Autopatch 'Cancel Changes'",
     "SPECIAL CODES/AUTOPATCH CANCEL CHANGES", true, FlagRule::Standing},
    {10, "Port Switches", "PortSwitches", &ConfigModel::giPortSwitchesUnapplied, {&ConfigModel::PortSwitchesChanged, nullptr},
     "This will cancel all Port Switch changes made since your last Port Switch 'Apply' or Port Switch "
     "'Cancel Changes'",
     "PORT SWITCH CANCEL CHANGES", false, FlagRule::Standing},
}};

} // namespace vm880
