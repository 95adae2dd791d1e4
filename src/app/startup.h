#pragma once
// The start-up routine: version texts and the controller code tables.

#include <string>

namespace vm880 {

struct ConfigModel;

// "6.00" for version 6.0.0: major, ".", then minor and revision.
std::string ZelVersionText(int major, int minor, int revision);
// "60" for version 6.0: major and minor joined; a settings file's firmware version must
// begin with it.
std::string ProgramVersionText(int major, int minor);
// "Version 6.0.0", as the splash and About windows show it.
std::string VersionLabel();

// Sets ZelVersion and ProgramVersion, then builds every code table.
void InitializeProgram(ConfigModel& model);

} // namespace vm880
