#pragma once
// Shared checks of a setting's text: 0 (kValid) when valid, 8 (kInvalid) when not.
// None of them changes its argument or shows a message.

#include "base/types.h"

#include <string_view>

namespace vm880 {

// Not empty, ASCII digits only, and Low <= value <= High. Leading zeros are allowed.
int CheckNumber(std::string_view value, int low, int high);
int CheckNumberLong(std::string_view value, long low, long high);

// Exactly "0" or "1".
int CheckZeroOne(std::string_view value);

// The part after the last backslash (or slash); a path without one is returned whole.
Text FileNameFromPath(std::string_view path);

} // namespace vm880
