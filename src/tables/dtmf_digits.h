#pragma once
// The sixteen DTMF digits and their codes: "1".."9" are 1..9, "0" is 10, "*" 11, "#" 12,
// "A".."D" 13..16. The row number equals the code.

#include "base/types.h"
#include "tables/code_table.h"

#include <array>
#include <string>
#include <string_view>

namespace vm880 {

inline constexpr std::array<std::string_view, 16> DTMFDigitTable = {
    "1", "2", "3", "4", "5", "6", "7", "8", "9", "0", "*", "#", "A", "B", "C", "D"};

// The code (1..16) of a digit text, compared exactly; -1 for empty or unknown text.
int DTMFDigitToCode(std::string_view digit);

// The digit of a code written in plain decimal ("13" gives "A"); empty when there is none.
std::string DTMFCodeToDigit(std::string_view code);

// Not empty, MinLen <= length <= MaxLen, and every character a DTMF digit
// ("0"-"9", "*", "#", "A"-"D", capitals only).
int CheckDTMFDigits(std::string_view value, int minLen, int maxLen);

// The terminator digit as the checks compare and name it: trimmed and upper-cased.
Text TerminatorDigit(std::string_view terminator);

// Whether `text` holds the terminator digit. An empty (or blank) terminator is no character
// at all, so it is found in no text and an unset terminator never warns or refuses.
bool HoldsTerminator(std::string_view text, std::string_view terminator);

} // namespace vm880
