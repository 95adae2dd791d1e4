// A complete upload of the reference configuration over the serial link, against the
// simulated controller answering at once on a pseudo-terminal, with the Qt serial port and
// event loop. The fixed pauses the controller needs (after courtesy segments and toll
// restrictions) are counted but not slept, so the time measured is the program's own plus
// the pseudo-terminal's.
//
// Counters: lines (per upload), upload_ms (wall time without the fixed pauses), paced_ms (the
// fixed pauses a real upload adds), per_line_us (upload_ms / lines), and the program's
// overhead per line: from the simulator's "+" until the next line reached it (taking the
// reply, lowering the flag, choosing and rendering the next item, writing it), as
// overhead_median_us and overhead_p99_us. Goal: well under 1 ms per line.

#include "link/dtmf_link.h"
#include "link/serial_link.h"
#include "link/tone_player.h"
#include "link/upload_engine.h"
#include "model/config_model.h"
#include "model/key_access.h"
#include "interfaces/prompts.h"
#include "platform/qt_clock.h"
#include "platform/qt_serial_port.h"
#include "interfaces/sound_out.h"
#include "bench_support.h"
#include "counting_prompts.h"
#include "sim_controller.h"

#include "../tests/link/command_reference_model.h"

#include <QCoreApplication>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <unistd.h>
#include <vector>

namespace {

using vm880::bench::Micros;
using vm880::bench::Percentile;
using vm880::bench::UnpacedClock;

using SteadyClock = std::chrono::steady_clock;

using vm880::test::CountingPrompts;

class SilentSound : public vm880::SoundOut {
public:
    vm880::PlayResult Play(const vm880::PcmSound&) override { return {}; }
    vm880::PlayResult CanPlay(const vm880::PcmFormat&) override { return {}; }
    void Stop() override {}
};

void BM_CompleteSerialUpload(benchmark::State& state)
{
    const auto folder = std::filesystem::temp_directory_path() /
                        ("vm880_upload_bench_" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);

    CountingPrompts prompts;
    vm880::KeyAccess keys(prompts);
    vm880::ConfigModel model;
    vm880::QtSerialPort port;
    UnpacedClock clock;
    SilentSound sound;
    vm880::TonePlayer player(sound, prompts);
    vm880::SerialLink serial(model, port, clock, prompts);
    vm880::ToneLink tone({model, port, clock, prompts, player});
    vm880::UploadEngine engine({model, prompts, keys, clock, serial, tone});

    std::vector<double> uploadMs, perLineUs, overheads;
    double lines = 0, pacedMs = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto sim = std::make_unique<vm880::test::SimController>();
        ::setenv("VM880_PORT1", sim->SlavePath().c_str(), 1);
        model = vm880::test::ReferenceModel(true);
        model.ComPort = 1;
        model.SerialDelay = 0;
        model.DatFilePath = (folder / "club.dat").string();
        clock.pausedMs = 0;
        state.ResumeTiming();

        const auto start = SteadyClock::now();
        const int status = engine.SendUpdate(true);
        const auto end = SteadyClock::now();

        state.PauseTiming();
        if (status != vm880::kDone || prompts.messages) {
            state.SkipWithError(prompts.last.empty() ? "the upload failed" : prompts.last.c_str());
            break;
        }
        // Command k was answered by write k-1; the next command came after that answer.
        std::vector<vm880::test::SimLine> commands;
        for (const auto& line : sim->Lines())
            if (line.number > 0)
                commands.push_back(line);
        const auto writes = sim->Writes();
        for (std::size_t k = 0; k + 1 < commands.size() && k < writes.size(); ++k)
            overheads.push_back(Micros(commands[k + 1].at - writes[k].at));
        lines = static_cast<double>(commands.size());
        pacedMs = static_cast<double>(clock.pausedMs);
        uploadMs.push_back(std::chrono::duration<double, std::milli>(end - start).count());
        perLineUs.push_back(uploadMs.back() * 1000.0 / lines);
        sim.reset();
        state.ResumeTiming();
    }
    ::unsetenv("VM880_PORT1");
    std::filesystem::remove_all(folder);

    state.counters["lines"] = lines;
    state.counters["upload_ms"] = Percentile(uploadMs, 0.5);
    state.counters["paced_ms"] = pacedMs;
    state.counters["per_line_us"] = Percentile(perLineUs, 0.5);
    state.counters["overhead_median_us"] = Percentile(overheads, 0.5);
    state.counters["overhead_p99_us"] = Percentile(overheads, 0.99);
}
BENCHMARK(BM_CompleteSerialUpload)->Iterations(5)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    return vm880::bench::RunWithEventDispatcher(argc, argv);
}
