#pragma once
// The analog meters: what an input measures, the alarm types, and the check of an alarm's
// trip value.

#include "base/types.h"
#include "tables/code_table.h"

#include <array>
#include <string_view>

namespace vm880 {

inline constexpr std::array<CodeRow, 7> MeterTypes = {{
    {"OFF", "0"},
    {"Volts", "1"},
    {"Amps", "2"},
    {"Watts", "3"},
    {"Degrees", "4"},
    {"MPH", "5"},
    {"Percent", "6"},
}};

inline constexpr std::array<CodeRow, 3> MeterAlarmTypes = {{
    {"Disabled", "0"},
    {"Low", "1"},
    {"High", "2"},
}};

// Row of the code (compared exactly), or -1.
int FindMeterType(std::string_view code);
int FindMeterAlarmType(std::string_view code);

// A meter alarm's trip value: 0..35000, with a leading "A" or "a" marking a negative value
// ("A250" is -250). 0 (kValid) or 8 (kInvalid); a minus sign is never accepted.
int CheckMeterSetPoint(std::string_view value);

// A trip value in the form the settings file keeps: a minus sign written as "A", letters in
// capitals ("-250" and "a250" both become "A250"). The reader and the editor both use it, so a
// value typed in the editor is stored, saved and sent as the next load will read it.
Text MeterSetPointForm(std::string_view value);

} // namespace vm880
