#pragma once
// The program's own version and title.

namespace vm880 {

inline constexpr int kVersionMajor = 6;
inline constexpr int kVersionMinor = 0;
inline constexpr int kVersionRevision = 0;

// Shown by the splash and About windows.
inline constexpr const char* kProgramTitle = "Kelvo Zel";

} // namespace vm880
