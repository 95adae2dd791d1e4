#pragma once
// The clock correction: 0 to 59 seconds a day, negative when preceded by "A" (the DTMF digit
// stands for a minus sign, which has no tone). The box also takes "-" and "a" for it; both are
// stored as "A", the form the settings-file reader and the radio link understand.

#include "base/types.h"

#include <string_view>

namespace vm880 {

inline constexpr const char* kClockCorrectionMessage =
    "Clock correction must be an integer between 0 and 59, with a leading 'A' or '-' allowed to "
    "indicate negative correction";
inline constexpr const char* kClockCorrectionTitle = "Clock Corrections";

// The typed text as stored: without surrounding blanks, a leading "-" or "a" made "A".
Text ClockCorrectionForm(std::string_view typed);

// True for an empty value (it stands for "0") and for 0 to 59 with one optional leading
// "A", "a" or "-".
bool IsValidClockCorrection(std::string_view value);

} // namespace vm880
