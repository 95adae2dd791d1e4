#pragma once
// The scheduler's choices: start hour, day of the week and week of the month of a setpoint.

#include "base/types.h"
#include "tables/code_table.h"

#include <array>
#include <string_view>

namespace vm880 {

// Hour codes have two digits; the texts have no leading zero.
inline constexpr std::array<CodeRow, 26> SchedHours = {{
    {"Disabled", "25"},
    {"Every Hour", "99"},
    {"12 AM", "00"},
    {"1 AM", "01"},
    {"2 AM", "02"},
    {"3 AM", "03"},
    {"4 AM", "04"},
    {"5 AM", "05"},
    {"6 AM", "06"},
    {"7 AM", "07"},
    {"8 AM", "08"},
    {"9 AM", "09"},
    {"10 AM", "10"},
    {"11 AM", "11"},
    {"12 PM", "12"},
    {"1 PM", "13"},
    {"2 PM", "14"},
    {"3 PM", "15"},
    {"4 PM", "16"},
    {"5 PM", "17"},
    {"6 PM", "18"},
    {"7 PM", "19"},
    {"8 PM", "20"},
    {"9 PM", "21"},
    {"10 PM", "22"},
    {"11 PM", "23"},
}};

// Sunday is listed first although its code is 7.
inline constexpr std::array<CodeRow, 10> SchedDays = {{
    {"Sunday", "7"},
    {"Monday", "1"},
    {"Tuesday", "2"},
    {"Wednesday", "3"},
    {"Thursday", "4"},
    {"Friday", "5"},
    {"Saturday", "6"},
    {"Weekdays", "8"},
    {"Weekends", "9"},
    {"Everyday", "0"},
}};

inline constexpr std::array<CodeRow, 5> SchedWeeks = {{
    {"1st", "1"},
    {"2nd", "2"},
    {"3rd", "3"},
    {"4th", "4"},
    {"5th", "5"},
}};

// Unlike the other lookups these are value checks: 0 (kValid) when the code (compared
// exactly) is one of the table's codes, 8 (kInvalid) when it is not; never a row number.
int FindSchedHour(std::string_view code);
int FindSchedDay(std::string_view code);
int FindSchedWeek(std::string_view code);

} // namespace vm880
