#include "sim_download_options.h"

#include "memory_image_encoder.h"
#include "base/file_kind.h"
#include "model/key_access.h"
#include "model/reader.h"
#include "interfaces/file_viewer.h"
#include "interfaces/prompts.h"

#include <charconv>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <map>
#include <stdexcept>
#include <unistd.h>

namespace vm880::test {

namespace {

// The reader's questions answered without anyone at the keyboard: consent, and shown.
class ConsolePrompts : public Prompts {
public:
    Answer Message(int style, std::string_view title, std::string_view text) override
    {
        std::cerr << "[" << title << "] " << text << "\n";
        return (style & 7) == style::YesNo || (style & 7) == style::YesNoCancel ? Answer::Yes : Answer::Ok;
    }
    std::optional<std::string> Input(std::string_view, std::string_view, std::string_view defaultText) override
    {
        return std::string(defaultText);
    }
    void Beep() override {}
    void ShowWait(std::string_view, std::string_view) override {}
    void HideWait() override {}
};

class NoViewer : public FileViewer {
public:
    bool Open(const std::string&) override { return false; }
};

} // namespace

bool ParseDownloadFlag(const std::string& arg, SimDownloadFaults& f)
{
    if (arg == "--refuse-download")
        f.refuseMain = true;
    else if (arg == "--split-records")
        f.splitRecords = true;
    else if (arg == "--silent-options")
        f.silentOptions = true;
    else if (arg == "--stream-options")
        f.streamOptions = true;
    else if (arg == "--echo-alone")
        f.echoAlone = true;
    else if (arg == "--end-with-last-record")
        f.endWithLastRecord = true;
    else if (arg == "--split-version")
        f.splitVersion = true;
    else
        return false;
    return true;
}

bool ParseDownloadOption(const std::string& arg, const std::string& value, SimDownloadFaults& f)
{
    const std::map<std::string, int*> numbers{
        {"--lines-per-write", &f.linesPerWrite}, {"--split-line", &f.splitLine}, {"--pause-line", &f.pauseLine},
        {"--pause-ms", &f.pauseMs}, {"--silent-from", &f.silentFromLine}, {"--garbage-line", &f.garbageLine},
        {"--image-lines", &f.imageLines}, {"--refuse-options", &f.refuseOption},
        {"--stream-pause-ms", &f.streamPauseMs}};
    const auto found = numbers.find(arg);
    if (found == numbers.end())
        return false;
    int number = 0;
    const auto [end, ec] = std::from_chars(value.data(), value.data() + value.size(), number);
    if (ec != std::errc() || end != value.data() + value.size() || number < 0)
        return false;
    *found->second = number;
    return true;
}

std::unique_ptr<SimDownloadServer> MakeDownloadServer(const std::string& datFile, const SimDownloadFaults& faults,
                                                      std::string& problem)
{
    try {
        if (datFile.empty()) {
            ConfigModel sample = SampleControllerModel();
            sample.HasRTC = kTrue;
            return std::make_unique<SimDownloadServer>(sample, faults);
        }
        if (const std::string problem = NotARegularFile(datFile); !problem.empty())
            throw std::runtime_error(problem);
        namespace fs = std::filesystem;
        // The reader may write to the file it loads and writes error.log beside it.
        const fs::path folder = fs::temp_directory_path() / ("vm880-sim-" + std::to_string(::getpid()));
        fs::create_directories(folder);
        const fs::path copy = folder / "served.dat";
        fs::copy_file(datFile, copy, fs::copy_options::overwrite_existing);
        ConsolePrompts prompts;
        KeyAccess keys(prompts);
        NoViewer viewer;
        ConfigModel model;
        model.DatFilePath = copy.string();
        FileLoadServices services{model, keys, prompts, viewer, folder.string(), {}};
        const FileLoadResult result = FileLoad(services);
        fs::remove_all(folder);
        if (result.outcome != FileLoadResult::Loaded) {
            problem = datFile + " could not be read as a settings file";
            return nullptr;
        }
        return std::make_unique<SimDownloadServer>(model, faults);
    } catch (const std::exception& e) {
        // A value without a memory form names its key.
        problem = (datFile.empty() ? std::string("the sample configuration") : datFile) + " cannot be served: " + e.what();
        return nullptr;
    }
}

} // namespace vm880::test
