// Cost of one command round trip over the serial link (send, then wait for "+") against the
// simulated controller answering at once on a pseudo-terminal. The program's own overhead
// is the round trip less the time the simulator held the command: from the start of the
// send until the simulator had the whole line, plus from the simulator's "+" until the wait
// returned. Goal: well under 1 ms median.
//
// Counters: median_us and p99_us (whole round trip), overhead_median_us, overhead_p99_us.

#include "link/serial_link.h"
#include "model/config_model.h"
#include "interfaces/prompts.h"
#include "platform/qt_clock.h"
#include "platform/qt_serial_port.h"
#include "bench_support.h"
#include "counting_prompts.h"
#include "sim_controller.h"

#include <QCoreApplication>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <vector>

namespace {

using vm880::bench::Micros;
using vm880::bench::Percentile;

using Clock = std::chrono::steady_clock;

using vm880::test::CountingPrompts;

void BM_SerialRoundTrip(benchmark::State& state)
{
    vm880::test::SimController sim;
    ::setenv("VM880_PORT1", sim.SlavePath().c_str(), 1);
    vm880::ConfigModel model;
    model.ComPort = 1;
    model.SerialDelay = 0;
    vm880::QtSerialPort port;
    vm880::QtClock clock;
    CountingPrompts prompts;
    vm880::SerialLink link(model, port, clock, prompts);

    link.OpenSerialPort();
    if (model.transfer.PortOpenFailed != vm880::kFalse) {
        state.SkipWithError(prompts.last.c_str());
        return;
    }

    std::vector<Clock::time_point> starts;
    std::vector<Clock::time_point> ends;
    for (auto _ : state) {
        starts.push_back(Clock::now());
        link.SendStr("2*1000123\r");
        link.CheckInput("hang time 2");
        ends.push_back(Clock::now());
        if (model.transfer.UploadError != vm880::kFalse) {
            state.SkipWithError(prompts.last.c_str());
            break;
        }
    }
    port.Close();
    ::unsetenv("VM880_PORT1");

    // Command k (1-based) was answered by write k-1: the opening's lone carriage return gets
    // no answer.
    std::vector<vm880::test::SimLine> commands;
    for (const auto& line : sim.Lines())
        if (line.number > 0)
            commands.push_back(line);
    const auto writes = sim.Writes();
    const std::size_t n = std::min({starts.size(), commands.size(), writes.size()});
    std::vector<double> total;
    std::vector<double> overhead;
    for (std::size_t i = 0; i < n; ++i) {
        total.push_back(Micros(ends[i] - starts[i]));
        overhead.push_back(Micros(commands[i].at - starts[i]) + Micros(ends[i] - writes[i].at));
    }
    state.counters["median_us"] = Percentile(total, 0.5);
    state.counters["p99_us"] = Percentile(total, 0.99);
    state.counters["overhead_median_us"] = Percentile(overhead, 0.5);
    state.counters["overhead_p99_us"] = Percentile(overhead, 0.99);
}
BENCHMARK(BM_SerialRoundTrip)->Iterations(2000)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv)
{
    return vm880::bench::RunWithEventDispatcher(argc, argv);
}
