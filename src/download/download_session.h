#pragma once
// One download or import from its first byte to the saved settings file: the memory files,
// the decoders, the option questions, the firmware version and the new "Dwnld_" file in the
// program folder. The main window asks the questions that come before (unapplied changes,
// unsaved file, link mode, confirmation) and loads the saved file afterwards; everything in
// between runs here, headless.
//
// Nothing is saved unless every part the operator asked for arrived and decoded: a download
// or import that failed anywhere is told plainly and leaves no settings file behind.

#include <ctime>
#include <functional>
#include <string>

namespace vm880 {

struct ConfigModel;
class FileDialogs;
class KeyAccess;
class Prompts;
class SerialDownload;

namespace session_text {
inline constexpr const char* kDownloadErrorTitle = "Download Error";
inline constexpr const char* kDecodeErrorTitle = "ERAM Decode Error";
inline constexpr const char* kRTCTitle = "Download from RTC";
inline constexpr const char* kAPTitle = "Download from QX4";
inline constexpr const char* kSavedTitle = "Download from VM880";
inline constexpr const char* kImportErrorTitle = "Import Error";
inline constexpr const char* kMemFilter = "Linux Memory Download (*.mem)|*.mem|All files (*.*)|*.*";
inline constexpr const char* kMainDialogTitle = "Open Linux VM-880 memory download file";
inline constexpr const char* kRTCDialogTitle = "Open Linux VM-880 RTC memory download file";
inline constexpr const char* kAPDialogTitle = "Open Linux VM-880 AP memory download file";
} // namespace session_text

// What one run works with.
struct SessionContext {
    ConfigModel& model;
    Prompts& prompts;
    KeyAccess& keys;
    std::string programFolder;
    std::string zelIniPath;
    std::time_t now = 0;                 // the time stamp of the new file's name
    std::function<void()> clearView = {}; // unloads the editors before the model is cleared
};

// "yyyymmdd_hhnn" of `when` in local time.
std::string DownloadTimeStamp(std::time_t when);

// The settings file a new download is saved to: "Dwnld_" + stamp + ".dat" in `folder`, or,
// when that file exists, the first free name with "_2", "_3", ... before ".dat".
std::string NewDownloadPath(const std::string& folder, const std::string& stamp);

// The memory files of the serial download in the program folder.
struct MemoryFiles {
    std::string main, rtc, ap;
};
MemoryFiles MemoryFilesIn(const std::string& folder);

// Reads the controller's memory (and the options the operator says are fitted) and saves it
// as a new settings file, whose name `DatFilePath` then holds. kDone when saved; kFailed after
// a failure that has been told, with the model cleared and nothing saved.
int DownloadToSettingsFile(SessionContext& context, SerialDownload& download);

// The same from memory files captured elsewhere: `mainFile` (already chosen by the operator),
// then the option files asked for. Every file is checked for its kind and read through its
// last record, then decoded into a scratch model that is saved; only once the new settings
// file is written is the loaded configuration let go (`clearView`, the model cleared). Any
// failure before (another kind of memory file, a folder or named pipe, a bad record,
// download.era or the settings file that cannot be written) leaves it as it was.
int ImportToSettingsFile(SessionContext& context, FileDialogs& dialogs, const std::string& mainFile);

// A copy of an option memory file with CR LF line ends, named FileName + ".win": a file that
// has no carriage return at all had its lines ended by line feeds alone; any other file keeps
// its line ends (a line feed inside a record is a byte of the record). Returns the copy's
// name, or "" after telling the operator why it could not be made.
std::string ConvertLinuxFile(Prompts& prompts, const std::string& fileName);

} // namespace vm880
