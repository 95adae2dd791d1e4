#pragma once
// The eleven editor areas in tab order: the two texts of the unapplied-changes warning.
// Tab caption, editor window and pending state are the editors' own (kEditorTable).

#include "editors/editor_table.h"

#include <array>

namespace vm880 {

struct AreaInfo {
    const char* warningTitle;
    const char* areaWord;
};

inline constexpr int kAreaCount = kEditorCount;
inline constexpr int kTimersArea = 0;
inline constexpr int kSpecialCodesArea = 9;

inline constexpr std::array<AreaInfo, kAreaCount> kAreas = {{
    {"Unapplied Timer Changes", "Timer"},
    {"Unapplied Courtesy Tone Changes", "Courtesy Tone"},
    {"Unapplied Macro Changes", "Macro"},
    {"Unapplied Scheduler Changes", "Scheduler"},
    {"Unapplied Analog Changes", "Analog"},
    {"Unapplied ID Changes", "ID"},
    {"Unapplied Messages Changes", "Messages"},
    {"Unapplied DTMF Changes", "DTMF"},
    {"Unapplied Alarm/Remote Base Changes", "Alarm/Remote Base"},
    {"Unapplied Special Codes/Autopatch Changes", "Special Codes/Autopatch"},
    {"Unapplied Port Switch Changes", "Port Switch"},
}};

// The order in which the editors are created after a load, and destroyed before the next.
inline constexpr std::array<int, kAreaCount> kShowOrder = {4, 5, 8, 2, 3, 1, 6, 7, 0, 10, 9};
inline constexpr std::array<int, kAreaCount> kUnloadOrder = {4, 5, 8, 0, 2, 3, 1, 6, 10, 9, 7};

} // namespace vm880
