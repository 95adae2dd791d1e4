#pragma once
// The small option tables of the port editors: ID extras, access modes, time-out reset
// points and tail messages, with their lookups, and the pending-ID speech time check.

#include "base/types.h"
#include "tables/code_table.h"

#include <array>
#include <string_view>

namespace vm880 {

// What an identification adds before or after the ID. The two blanks in "Time  & Good"
// are the controller program's own text and stay.
inline constexpr std::array<CodeRow, 12> IDExtrasTable = {{
    {"None Selected", "0"},
    {"Good M/A/E Before ID", "1"},
    {"Good M/A/E After ID", "2"},
    {"Time Before ID", "3"},
    {"Time After ID", "4"},
    {"Good M/A/E & Time Before ID", "5"},
    {"Good M/A/E & Time After ID", "6"},
    {"Good M/A/E Before & Time After ID", "7"},
    {"Time Before & Good M/A/E After ID", "8"},
    {"Time & Good M/A/E Before ID", "9"},
    {"Time  & Good M/A/E After ID", "10"},
    {"Random Rotation", "11"},
}};

// A port's access mode.
inline constexpr std::array<CodeRow, 3> AccessModeTable = {{
    {"Carrier", "0"},
    {"Tone & Carrier", "1"},
    {"Tone Only", "2"},
}};

// Where the time-out timer restarts.
inline constexpr std::array<CodeRow, 5> TOTResetTable = {{
    {"After COS", "0"},
    {"After CT Seg 1", "1"},
    {"After CT Seg 2", "2"},
    {"After CT Seg 3", "3"},
    {"After CT Seg 4", "4"},
}};

// Which tail message plays.
inline constexpr std::array<CodeRow, 4> TailMessageTable = {{
    {"NONE", "0"},
    {"1", "1"},
    {"2", "2"},
    {"3", "3"},
}};

// Row (1..12) of the ID extras code `value`, compared after trimming blanks and
// upper-casing both sides (" 3 " gives 4); -1 when none.
int IDExtrasIndex(std::string_view value);

// Row of the access mode / tail message code `value`, compared exactly; -1 when none.
int AccessModeIndex(std::string_view value);
int TailMessageIndex(std::string_view value);

// Whether a port's pending-ID speech time (seconds, 0..15300) fits in its pending-ID
// timer (minutes): 0 (kValid) when it does or the timer is 0, else 8 (kInvalid).
// A timer that is not a number is invalid.
int IDSpeakTimeInvalid(std::string_view speechTime, std::string_view pendingIDTime);

} // namespace vm880
