#pragma once
// The program's own version and title.

#include "base/program_title.h"

namespace vm880 {

inline constexpr int kVersionMajor = 6;
inline constexpr int kVersionMinor = 0;
inline constexpr int kVersionRevision = 0;

} // namespace vm880
