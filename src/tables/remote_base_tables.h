#pragma once
// The remote base: the radio the controller drives, the Yaesu model, and the checks of
// the values of a stored remote-base memory.

#include "base/types.h"
#include "tables/code_table.h"

#include <array>
#include <string_view>

namespace vm880 {

// Code 6 is not used by the controller.
inline constexpr std::array<CodeRow, 8> RadioTypes = {{
    {"Kenwood Serial", "1"},
    {"Icom", "2"},
    {"Yaesu", "3"},
    {"Kenwood V7A", "4"},
    {"Tessor", "5"},
    {"Kenwood G707", "7"},
    {"Kenwood TM-271/281", "8"},
    {"Kenwood TM-V71/D710", "9"},
}};

inline constexpr std::array<CodeRow, 6> YaesuTypes = {{
    {"Non-Yaesu", "0"},
    {"FT-100D", "1"},
    {"FT-817", "2"},
    {"FT-847", "3"},
    {"FT-857", "4"},
    {"FT-897", "5"},
}};

// Row of the code (compared exactly), or -1.
int FindRadioType(std::string_view code);
int FindYaesuType(std::string_view code);

// Checks of a remote-base memory's values, 0 (kValid) or 8 (kInvalid). Memories 1 to 10
// always hold values; from memory 11 on, "NONE" marks an unused memory.

// Digits only, any length; or "NONE" for a memory above 10.
int CheckFreqString(std::string_view value, int memory);
// CheckNumber(value, 0, 49); or "NONE" for a memory above 10.
int CheckCTCSSCode(std::string_view value, int memory);
// CheckNumber(value, 0, 2); or "NONE" for a memory above 10.
int CheckCTCSSMode(std::string_view value, int memory);
// CheckNumber(value, 1, 5); or "NONE" for a memory above 10.
int CheckRadioMode(std::string_view value, int memory);

} // namespace vm880
