#pragma once
// The program settings in zel.ini, section Main: recent files, the main window's placement
// and the link settings. Read at start-up; placement and recent files written at exit
// (the link menus write their own keys when chosen).

#include "base/types.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace vm880 {

class KeyAccess;
struct ConfigModel;

inline constexpr const char* kZelIniSection = "Main";

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
};

// Reads every key; missing or bad keys read as their defaults, nothing is reported.
ProgramSettings ReadProgramSettings(KeyAccess& keys, const std::string& iniPath);

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
