#include "app/startup.h"

#include "app/version.h"
#include "model/config_model.h"
#include "tables/initialize_tables.h"

namespace vm880 {

std::string ZelVersionText(int major, int minor, int revision)
{
    return std::to_string(major) + "." + std::to_string(minor) + std::to_string(revision);
}

std::string ProgramVersionText(int major, int minor)
{
    return std::to_string(major) + std::to_string(minor);
}

std::string VersionLabel()
{
    return "Version " + std::to_string(kVersionMajor) + "." + std::to_string(kVersionMinor) + "."
        + std::to_string(kVersionRevision);
}

void InitializeProgram(ConfigModel& model)
{
    model.ZelVersion = ZelVersionText(kVersionMajor, kVersionMinor, kVersionRevision);
    model.ProgramVersion = ProgramVersionText(kVersionMajor, kVersionMinor);
    InitializeTables();
}

} // namespace vm880
