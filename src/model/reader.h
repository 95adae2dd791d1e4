#pragma once
// FileLoad: reads the settings file named by DatFilePath into the model. Nothing in the file
// is trusted: every key is checked, a bad value is replaced by its default and listed in the
// validation report error.log in the program folder.

#include "model/config_model.h"

#include <functional>
#include <string>

namespace vm880 {

class FileViewer;
class KeyAccess;
class Prompts;
enum class FileStatus;

struct FileLoadServices {
    ConfigModel& model;
    KeyAccess& keys;
    Prompts& prompts;
    FileViewer& viewer;
    std::string programFolder;
    // The local date and time as "yyyymmdd hhnn"; the system clock when empty.
    std::function<std::string()> timestamp;
};

struct FileLoadResult {
    enum Outcome {
        Loaded,          // the model holds the whole file (DatFileLoaded is true)
        VersionDeclined, // the operator declined a firmware version difference; model cleared
        Unreadable,      // the file could not be read; the operator was told, model cleared
        Fatal,           // an unexpected failure was reported; the program should end
    } outcome = Fatal;
    // Check marks of the RTC and DVR menus, valid (and both menus to be enabled) when Loaded.
    bool rtcYes = false, rtcNo = false;
    bool dvrWrite = false, dvrNoWrite = false;
};

// Reads DatFilePath as `services.keys` last read it (a file unchanged since is not read
// again); a file that cannot be read or is saved as UTF-16 is refused, nothing written.
FileLoadResult FileLoad(FileLoadServices& services);

// The "File Open Error" box of a settings file that cannot be loaded: `status` Unreadable or
// Utf16 and the problem KeyAccess gave for it.
void TellUnusableSettingsFile(Prompts& prompts, FileStatus status, const std::string& problem);

// "Load of file: ..." or "Download from controller into file: ..." header of error.log.
std::string ErrorLogHeader(const ConfigModel& model, const std::string& timestamp);

} // namespace vm880
