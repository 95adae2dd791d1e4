#pragma once
// Codes a controller leaves the factory with; the reader falls back on them when a settings
// file holds no valid value.

#include <string>

namespace vm880::factory {

inline constexpr const char* RemoteBasePrefix = "C1";
inline constexpr const char* AutopatchPrefix = "A1";
inline constexpr const char* PadTestPrefix = "99";
inline constexpr const char* LockCode = "#";
inline constexpr const char* Terminator = "D";

// The unlock code of port p: the port digit followed by "7306".
inline std::string PortUnlock(int port) { return std::to_string(port) + "7306"; }

// The command code of macro n: a fixed four-digit prefix followed by the macro number.
inline std::string MacroCode(int macro) { return "5000" + std::to_string(macro); }

} // namespace vm880::factory
