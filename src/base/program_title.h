#pragma once
// The program's own title, shown by the splash and About windows and as the title of the
// messages that belong to no window.

namespace vm880 {

inline constexpr const char* kProgramTitle = "Kelvo Zel";

} // namespace vm880
