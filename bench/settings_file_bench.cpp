// Saving a full settings file and reading every key of it back, beside a naive reader that
// parses the file again for each key (what a profile-string call per key costs).
// Goal: each well under 10 ms, and at least 50 times faster than the naive reader; a save over
// a section of 200,000 unknown entries stays in milliseconds (it took 28 s when each added key
// re-indexed the section).

#include "model/key_access.h"
#include "model/settings_writer.h"
#include "counting_prompts.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <utility>
#include <vector>

using namespace vm880;

namespace {


struct Fixture {
    test::CountingPrompts prompts;
    ConfigModel model;
    std::vector<std::pair<std::string, std::string>> keys; // section, key
    std::string path;

    Fixture()
    {
        path = (std::filesystem::temp_directory_path() / "vm880-bench.dat").string();
        model.ClearAllData();
        model.HasRTC = kTrue;
        model.DatFilePath = path;
        ForEachSettingsEntry(model, [&](std::string_view s, std::string_view k, std::string_view) {
            keys.emplace_back(s, k);
        });
        KeyAccess access(prompts);
        FileWrite(model, access, prompts);
    }
};

Fixture& fixture()
{
    static Fixture f;
    return f;
}

void BM_SaveFullModel(benchmark::State& state)
{
    Fixture& f = fixture();
    KeyAccess access(f.prompts);
    for (auto _ : state)
        benchmark::DoNotOptimize(FileWrite(f.model, access, f.prompts));
    state.counters["entries"] = static_cast<double>(f.keys.size());
}
BENCHMARK(BM_SaveFullModel)->Unit(benchmark::kMillisecond);

void BM_ReadEveryKey(benchmark::State& state)
{
    Fixture& f = fixture();
    for (auto _ : state) {
        KeyAccess access(f.prompts); // a fresh cache: the file is parsed once per round
        for (auto& [section, key] : f.keys)
            benchmark::DoNotOptimize(access.ReadSetting(section, key, f.path));
    }
}
BENCHMARK(BM_ReadEveryKey)->Unit(benchmark::kMillisecond);

void BM_ReadEveryKeyNaive(benchmark::State& state)
{
    Fixture& f = fixture();
    for (auto _ : state) {
        for (auto& [section, key] : f.keys) {
            std::ifstream in(f.path, std::ios::binary);
            std::stringstream text;
            text << in.rdbuf();
            benchmark::DoNotOptimize(IniDocument::Parse(text.str()).Get(section, key));
        }
    }
}
BENCHMARK(BM_ReadEveryKeyNaive)->Unit(benchmark::kMillisecond);

// A file whose [Courtesy] holds 200,000 entries the program does not know, followed by the
// blank line that separates sections: every key the save adds to that section lands behind
// them. Each round saves into a fresh copy, so the keys are missing every time.
void BM_SaveOverLargeUnknownSection(benchmark::State& state)
{
    Fixture& f = fixture();
    std::string junk = "[Version]\r\nFirmwareVersion=60\r\n\r\n[Courtesy]\r\n";
    for (int i = 0; i < 200000; ++i)
        junk += "Junk" + std::to_string(i) + "=" + std::to_string(i) + "\r\n";
    junk += "\r\n";
    const std::string path =
        (std::filesystem::temp_directory_path() / "vm880-bench-junk.dat").string();
    ConfigModel model = f.model;
    model.DatFilePath = path;
    for (auto _ : state) {
        state.PauseTiming();
        std::ofstream(path, std::ios::binary | std::ios::trunc) << junk;
        KeyAccess access(f.prompts);
        access.ReadSetting("Version", "FirmwareVersion", path); // parsed outside the timing
        state.ResumeTiming();
        benchmark::DoNotOptimize(FileWrite(model, access, f.prompts));
    }
    std::filesystem::remove(path);
}
BENCHMARK(BM_SaveOverLargeUnknownSection)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

BENCHMARK_MAIN();
