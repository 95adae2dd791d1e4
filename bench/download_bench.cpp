// A complete main-image download (4,097 lines) over the serial link, against the simulated
// controller answering each acknowledgement at once on a pseudo-terminal, with the Qt serial
// port and event loop. The program's fixed pauses (before and after the request) are counted
// but not slept.
//
// Counters: lines, download_ms (wall time without the fixed pauses), per_line_us
// (download_ms / lines), and the program's overhead per line: from the simulator's write of
// a line until the program's "OK" for it reached the simulator (reading, framing, checking and
// writing the line, sending the acknowledgement), as overhead_median_us and overhead_p99_us.
// Goal: under 1 ms per line, so that a real download is bound by the wire and the controller.

#include "download/serial_download.h"
#include "link/serial_link.h"
#include "memory_image_encoder.h"
#include "model/config_model.h"
#include "platform/qt_clock.h"
#include "platform/qt_serial_port.h"
#include "bench_support.h"
#include "counting_prompts.h"
#include "sim_download.h"

#include <benchmark/benchmark.h>

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

void BM_MainImageDownload(benchmark::State& state)
{
    const auto folder = std::filesystem::temp_directory_path() /
                        ("vm880_download_bench_" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    const std::string mem = (folder / "download.mem").string();

    vm880::test::CountingPrompts prompts;
    vm880::ConfigModel model;
    model.ComPort = 1;
    vm880::QtSerialPort port;
    UnpacedClock clock;
    vm880::SerialLink serial(model, port, clock, prompts);
    vm880::SerialDownload download(model, prompts, clock, serial);
    const vm880::ConfigModel served = vm880::test::SampleControllerModel();

    std::vector<double> downloadMs, perLineUs, overheads;
    double lines = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto sim = std::make_unique<vm880::test::SimController>();
        vm880::test::SimDownloadServer server(served);
        sim->SetPolicy(server.Policy());
        ::setenv("VM880_PORT1", sim->SlavePath().c_str(), 1);
        state.ResumeTiming();

        const auto start = SteadyClock::now();
        const int status = download.VM880Download(mem);
        const auto end = SteadyClock::now();

        state.PauseTiming();
        if (status != vm880::kDone || prompts.messages) {
            state.SkipWithError(prompts.last.empty() ? "the download failed" : prompts.last.c_str());
            break;
        }
        // Write k (line k) was acknowledged by the k+1-th "OK" after the request.
        std::vector<vm880::test::SimLine> acks;
        bool requested = false;
        for (const auto& line : sim->Lines()) {
            if (line.text == "1SendEram")
                requested = true;
            else if (requested && line.text == "OK")
                acks.push_back(line);
        }
        const auto writes = sim->Writes();
        for (std::size_t k = 0; k < acks.size() && k < writes.size(); ++k)
            overheads.push_back(Micros(acks[k].at - writes[k].at));
        lines = download.LinesWritten();
        downloadMs.push_back(std::chrono::duration<double, std::milli>(end - start).count());
        perLineUs.push_back(downloadMs.back() * 1000.0 / lines);
        sim.reset();
        state.ResumeTiming();
    }
    ::unsetenv("VM880_PORT1");
    std::filesystem::remove_all(folder);

    state.counters["lines"] = lines;
    state.counters["download_ms"] = Percentile(downloadMs, 0.5);
    state.counters["per_line_us"] = Percentile(perLineUs, 0.5);
    state.counters["overhead_median_us"] = Percentile(overheads, 0.5);
    state.counters["overhead_p99_us"] = Percentile(overheads, 0.99);
}
BENCHMARK(BM_MainImageDownload)->Iterations(5)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    return vm880::bench::RunWithEventDispatcher(argc, argv);
}
