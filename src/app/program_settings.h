#pragma once
// The program settings in zel.ini, section Main: recent files, the main window's placement
// and the link settings. Read at start-up; placement and recent files written at exit
// (the link menus write their own keys when chosen).

#include "base/types.h"
#include "link/keyed_wait.h" // kMaxKeyingDelayMs, the bound of the delays read and typed

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vm880 {

class KeyAccess;
struct ConfigModel;

inline constexpr const char* kZelIniSection = "Main";
inline constexpr const char* kProgramSettingsTitle = "Program Settings";

// zel.ini in the program folder.
std::string ZelIniPath(const std::string& programFolder);

// The main window's placement as zel.ini keeps it: sizes and position in twips, state 0
// normal, 1 minimised, 2 maximised. A key that is missing or not a usable number is empty.
struct WindowPlacement {
    std::optional<double> width, height, top, left;
    std::optional<int> state;
};

struct ProgramSettings {
    std::array<Text, 4> lastFiles;  // LastVMFile(1..4) as stored, most recent first
    WindowPlacement window;
    Text dtmfDelayText, txTempText; // as stored: the defaults of the delay input boxes
    long dtmfDelay = 0, txTemp = 0, serialDelay = 0;
    int whichSend = 0, comPort = 0, dtmfComPort = 0;
    // Link values outside their range, replaced by their defaults: "ComPort=12 (0 to 8)".
    std::vector<std::string> replaced;
};

// Reads every key; missing or bad keys read as their defaults, nothing is reported. Numbers
// outside their range (ports 0 to 8, SerialDelay 0 to 1, the delays 0 to kMaxKeyingDelayMs)
// are replaced by their defaults and listed in `replaced`.
ProgramSettings ReadProgramSettings(KeyAccess& keys, const std::string& iniPath);

// The start-up note on replaced values; empty when there were none.
std::string ReplacedValuesNotice(const ProgramSettings& settings, const std::string& iniPath);
// Writes the replacements back, so the note is given once.
void WriteReplacedValues(KeyAccess& keys, const std::string& iniPath, const ProgramSettings& settings);

// A zel.ini the program can neither read nor write (too large, a folder or other non-file,
// read-only, unreadable, saved as UTF-16) is renamed with the suffix ".unusable" (or ".unusable-2" and on) so
// that a fresh one is started. Returns the note for the operator; empty when zel.ini was fine
// or missing.
std::string SetAsideUnusableZelIni(KeyAccess& keys, const std::string& iniPath);

// Puts the link settings into the model.
void ApplyLinkSettings(const ProgramSettings& settings, ConfigModel& model);

// A whole text that is a finite number (blanks around it allowed); nothing else.
std::optional<double> StrictNumber(std::string_view text);
// A single-precision number as text, shortest form ("12000", "7.5").
std::string NumberText(double value);

struct ExitSettings {
    double width = 0, height = 0, top = 0, left = 0; // twips
    int state = 0;
    std::array<Text, 4> lastFiles;
};

// Writes the placement and the recent files in one go. Throws SystemError when zel.ini
// cannot be written; the previous file is then left as it was.
void WriteExitSettings(KeyAccess& keys, const std::string& iniPath, const ExitSettings& settings);

} // namespace vm880
