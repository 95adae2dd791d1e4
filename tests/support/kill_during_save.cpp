#include "kill_during_save.h"

#include "counting_prompts.h"
#include "model/atomic_file.h"
#include "model/key_access.h"
#include "model/settings_writer.h"
#include "temp_folder.h"

#include <chrono>
#include <filesystem>
#include <random>

#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

namespace vm880::test {

namespace {

int temporariesBeside(const std::filesystem::path& folder, const std::string& name)
{
    int n = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        n += IsSaveTemporaryOf(name, entry.path().filename().string());
    return n;
}

ConfigModel sampleModel(const std::string& path, const char* hang)
{
    ConfigModel m;
    m.ClearAllData();
    m.HasRTC = kTrue;
    m.FirmwareVersion = "60";
    m.DatFilePath = path;
    for (int i = 1; i <= 200; ++i)
        m.AutoDial(i) = std::string(hang) + std::string(40, static_cast<char>('0' + i % 10));
    m.HangTime(1) = hang;
    return m;
}

// What a save of `m` into a file holding `before` leaves in the file.
std::string savedText(ConfigModel m, const std::string& before)
{
    CountingPrompts prompts;
    KeyAccess keys(prompts);
    WriteFile(m.DatFilePath, before);
    FileWrite(m, keys, prompts);
    return ReadFile(m.DatFilePath);
}

} // namespace

KillTrials RunKillDuringSave(const std::string& folderName, int trials, unsigned seed)
{
    const std::filesystem::path folder(folderName);
    const std::string name = "repeater.dat";
    const std::string path = (folder / name).string();
    const ConfigModel oldModel = sampleModel(path, "50");
    const ConfigModel newModel = sampleModel(path, "60");
    const std::string oldText = savedText(oldModel, "");
    const std::string newText = savedText(newModel, oldText);

    // How long one save takes, so that the kills spread over the whole of it.
    const auto start = std::chrono::steady_clock::now();
    savedText(newModel, oldText);
    const auto saveMicros = std::chrono::duration_cast<std::chrono::microseconds>(
                                std::chrono::steady_clock::now() - start).count();

    std::mt19937 random(seed);
    std::uniform_int_distribution<long> moment(0, std::max<long>(50, static_cast<long>(saveMicros) * 3 / 2));
    KillTrials result;
    for (int t = 0; t < trials; ++t) {
        WriteFileAtomically(path, oldText); // also clears what the last trial left
        result.notCleared += temporariesBeside(folder, name) != 0;
        const pid_t child = ::fork();
        if (child == 0) {
            CountingPrompts prompts;
            KeyAccess keys(prompts);
            ConfigModel m = newModel;
            ::_exit(FileWrite(m, keys, prompts) == kDone ? 0 : 1);
        }
        if (child < 0)
            break;
        ::usleep(static_cast<useconds_t>(moment(random)));
        ::kill(child, SIGKILL);
        int status = 0;
        ::waitpid(child, &status, 0);

        ++result.trials;
        const std::string now = ReadFile(path);
        if (now == oldText)
            ++result.oldKept;
        else if (now == newText)
            ++result.newWritten;
        else
            ++result.torn;
        result.leftBehind += temporariesBeside(folder, name) != 0;
    }
    WriteFileAtomically(path, oldText);
    result.notCleared += temporariesBeside(folder, name) != 0;
    return result;
}

} // namespace vm880::test
