#pragma once
// Decodes recorded DTMF with multimon-ng, a real decoder used as the far end in tests.
// multimon-ng exits 0 even when it heard nothing, and without sox it cannot read WAV files
// at all, so the caller compares the digits and the tools are checked beforehand.

#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>
#include <string_view>

namespace vm880::test {

// Whether `program` is an executable file in one of the PATH folders.
inline bool FoundOnPath(const std::string& program)
{
    const char* path = std::getenv("PATH");
    if (!path)
        return false;
    std::stringstream folders(path);
    std::string folder;
    while (std::getline(folders, folder, ':')) {
        if (folder.empty())
            continue;
        std::error_code ec;
        const auto candidate = std::filesystem::path(folder) / program;
        if (std::filesystem::is_regular_file(candidate, ec))
            return true;
    }
    return false;
}

// Why the decoder cannot run here ("" when it can); `needSox` for WAV input.
inline std::string DecoderMissing(bool needSox)
{
    std::string missing;
    if (!FoundOnPath("multimon-ng"))
        missing += "multimon-ng ";
    if (needSox && !FoundOnPath("sox"))
        missing += "sox ";
    if (FoundOnPath("timeout") == false)
        missing += "timeout ";
    if (missing.empty())
        return {};
    return missing + "not found on PATH (scripts/setup.sh installs them)";
}

// The DTMF digits multimon-ng hears in `file`: `type` is "wav" or "raw" (22050 Hz s16le mono).
// `error` is set when the decoder could not be run; it is given at most 60 seconds.
inline std::string DecodeDTMF(const std::string& type, const std::string& file, std::string& error)
{
    error.clear();
    const std::string command = "timeout 60 multimon-ng -q -t " + type + " -a DTMF '" + file +
                                "' 2>/dev/null";
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) {
        error = "cannot run: " + command;
        return {};
    }
    std::string output;
    std::array<char, 4096> chunk{};
    std::size_t n = 0;
    while ((n = std::fread(chunk.data(), 1, chunk.size(), pipe)) > 0)
        output.append(chunk.data(), n);
    const int status = pclose(pipe);
    if (status != 0)
        error = "\"" + command + "\" ended with status " + std::to_string(status);

    std::string digits;
    std::istringstream lines(output);
    std::string line;
    constexpr std::string_view kPrefix = "DTMF: ";
    while (std::getline(lines, line))
        if (line.rfind(kPrefix, 0) == 0 && line.size() > kPrefix.size())
            digits += line[kPrefix.size()];
    return digits;
}

} // namespace vm880::test
