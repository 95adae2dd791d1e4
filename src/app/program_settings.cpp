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

    s.dtmfDelayText = read("DTMFDelay");
    s.dtmfDelay = LeadingWholeNumber(s.dtmfDelayText);
    s.txTempText = read("TxTemp");
    s.txTemp = LeadingWholeNumber(s.txTempText);
    s.whichSend = smallInt(LeadingWholeNumber(read("WhichSend")));
    s.comPort = smallInt(LeadingWholeNumber(read("ComPort")));
    s.dtmfComPort = smallInt(LeadingWholeNumber(read("DTMFComPort")));
    s.serialDelay = LeadingWholeNumber(read("SerialDelay"));
    return s;
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
