#include "app/program_settings.h"

#include "base/text.h"
#include "editors/setting_text.h"
#include "model/config_model.h"
#include "model/key_access.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <cmath>
#include <filesystem>

#include <cerrno>
#include <cstring>
#include <sys/stat.h>

namespace vm880 {

namespace {

// Far beyond any screen, in twips; anything larger is damage, not a placement.
constexpr double kMaxTwips = 10'000'000;

std::string lastFileKey(int i)
{
    return "LastVMFile(" + std::to_string(i) + ")";
}

std::optional<double> size(std::optional<double> twips)
{
    if (twips && *twips > 0 && *twips <= kMaxTwips)
        return twips;
    return std::nullopt;
}

std::optional<double> position(std::optional<double> twips)
{
    if (twips && std::fabs(*twips) <= kMaxTwips)
        return twips;
    return std::nullopt;
}

int smallInt(long value)
{
    return static_cast<int>(std::clamp<long>(value, INT_MIN, INT_MAX));
}

} // namespace

std::string ZelIniPath(const std::string& programFolder)
{
    return (std::filesystem::path(programFolder) / "zel.ini").string();
}

std::optional<double> StrictNumber(std::string_view text)
{
    text = TrimBlanks(text);
    if (!text.empty() && text.front() == '+')
        text.remove_prefix(1);
    if (text.empty())
        return std::nullopt;
    double value = 0;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value,
                                     std::chars_format::general);
    if (ec != std::errc() || end != text.data() + text.size() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

std::string NumberText(double value)
{
    char buffer[32];
    auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, static_cast<float>(value));
    if (ec != std::errc())
        return "0";
    return std::string(buffer, end);
}

ProgramSettings ReadProgramSettings(KeyAccess& keys, const std::string& iniPath)
{
    auto read = [&](const std::string& key) { return keys.ReadSetting(kZelIniSection, key, iniPath); };
    ProgramSettings s;
    for (int i = 1; i <= 4; ++i)
        s.lastFiles[static_cast<std::size_t>(i - 1)] = read(lastFileKey(i));

    s.window.width = size(StrictNumber(read("Window Width")));
    s.window.height = size(StrictNumber(read("Window Height")));
    s.window.top = position(StrictNumber(read("Window Top")));
    s.window.left = position(StrictNumber(read("Window Left")));
    if (auto state = StrictNumber(read("Window State")); state && *state >= 0 && *state <= 2)
        s.window.state = static_cast<int>(std::lround(*state));

    // A value out of range falls back on what a missing key gives: 0.
    auto bounded = [&](const char* key, const std::string& text, long highest) {
        const long value = LeadingWholeNumber(text);
        if (value >= 0 && value <= highest)
            return value;
        s.replaced.push_back(std::string(key) + "=" + text + " (0 to " + std::to_string(highest) + ")");
        return 0L;
    };
    // The delay boxes offer the value in use.
    auto delay = [&](const char* key, Text& text) {
        text = read(key);
        const std::size_t before = s.replaced.size();
        const long value = bounded(key, text, kMaxKeyingDelayMs);
        if (s.replaced.size() != before)
            text = "0";
        return value;
    };
    s.dtmfDelay = delay("DTMFDelay", s.dtmfDelayText);
    s.txTemp = delay("TxTemp", s.txTempText);
    s.whichSend = smallInt(LeadingWholeNumber(read("WhichSend")));
    s.comPort = static_cast<int>(bounded("ComPort", read("ComPort"), 8));
    s.dtmfComPort = static_cast<int>(bounded("DTMFComPort", read("DTMFComPort"), 8));
    s.serialDelay = bounded("SerialDelay", read("SerialDelay"), 1);
    return s;
}

std::string ReplacedValuesNotice(const ProgramSettings& settings, const std::string& iniPath)
{
    if (settings.replaced.empty())
        return {};
    std::string text = "These values in the program settings file were out of range and have been "
                       "replaced by their defaults (0):\r\n\r\n";
    for (const std::string& line : settings.replaced)
        text += "  " + line + "\r\n";
    return text + "\r\n" + iniPath + "\r\n\r\nPlease check the link and delay choices in the "
                                      "Configure Zel menu.";
}

void WriteReplacedValues(KeyAccess& keys, const std::string& iniPath, const ProgramSettings& settings)
{
    keys.Edit(iniPath, [&](IniDocument& doc) {
        for (const std::string& line : settings.replaced) {
            const std::string key = line.substr(0, line.find('='));
            doc.Set(kZelIniSection, key, "0");
        }
    });
}

std::string SetAsideUnusableZelIni(KeyAccess& keys, const std::string& iniPath)
{
    std::string problem;
    const FileStatus status = keys.Reload(iniPath, problem);
    if (status == FileStatus::Missing)
        return {}; // a first run: the first write creates it
    if (status == FileStatus::Ok) {
        // Read, and it must take the program's writes too: without the owner's write
        // permission the writer refuses it, even for root.
        struct stat st {};
        (void)::stat(iniPath.c_str(), &st); // a failure reads as no write permission
        if ((st.st_mode & S_IWUSR) != 0)
            return {};
        problem = iniPath + " is read-only.";
    }

    std::string movedTo;
    int err = 0;
    for (int n = 1; n <= 99 && movedTo.empty(); ++n) {
        const std::string candidate = iniPath + ".unusable" + (n == 1 ? "" : "-" + std::to_string(n));
        struct stat taken {};
        if (::lstat(candidate.c_str(), &taken) == 0)
            continue;
        if (::rename(iniPath.c_str(), candidate.c_str()) == 0)
            movedTo = candidate;
        else
            err = errno;
        break;
    }
    keys.Forget();
    std::string text = "The program settings file could not be used:\r\n\r\n" + problem + "\r\n\r\n";
    if (!movedTo.empty())
        return text + "It has been set aside as:\r\n" + movedTo
            + "\r\n\r\nA fresh one has been started: the link, the delays, the window's place and "
              "the recent files are back at their defaults.";
    return text + "It could not be set aside"
        + (err != 0 ? std::string(" (") + std::strerror(err) + ")" : std::string())
        + ", so the choices you make will not be kept. Please check the program folder.";
}

void ApplyLinkSettings(const ProgramSettings& settings, ConfigModel& model)
{
    model.DTMFToneDelay = settings.dtmfDelay;
    model.TxTemp = settings.txTemp;
    model.WhichSend = settings.whichSend;
    model.ComPort = settings.comPort;
    model.DTMFComPort = settings.dtmfComPort;
    model.SerialDelay = settings.serialDelay;
}

void WriteExitSettings(KeyAccess& keys, const std::string& iniPath, const ExitSettings& settings)
{
    keys.Edit(iniPath, [&](IniDocument& doc) {
        doc.Set(kZelIniSection, "Window Width", NumberText(settings.width));
        doc.Set(kZelIniSection, "Window Height", NumberText(settings.height));
        doc.Set(kZelIniSection, "Window Top", NumberText(settings.top));
        doc.Set(kZelIniSection, "Window Left", NumberText(settings.left));
        doc.Set(kZelIniSection, "Window State", std::to_string(settings.state));
        for (int i = 1; i <= 4; ++i) {
            const Text& path = settings.lastFiles[static_cast<std::size_t>(i - 1)];
            // A file name may hold a line break; such a path cannot be kept in zel.ini.
            doc.Set(kZelIniSection, lastFileKey(i), IniDocument::ValidValue(path) ? path : Text{});
        }
    });
}

} // namespace vm880
