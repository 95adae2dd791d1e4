#pragma once
// The program folder holds zel.ini, error.log, the memory files and saved downloads.

#include <string>

namespace vm880 {

// VM880_HOME when set; otherwise the executable's folder when it is writable; otherwise the
// per-user application data folder (created when missing).
std::string ProgramFolder();

} // namespace vm880
