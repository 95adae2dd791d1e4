// Kills a saving child process at random moments, many times over, and prints what the
// settings file held afterwards. Goal: torn 0 and not cleared 0, whatever the count.
// Usage: bench_kill_during_save [trials] [seed]

#include "kill_during_save.h"
#include "temp_folder.h"

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv)
{
    const int trials = argc > 1 ? std::atoi(argv[1]) : 2000;
    const unsigned seed = argc > 2 ? static_cast<unsigned>(std::atoi(argv[2])) : 1;
    vm880::test::TempFolder dir;
    const vm880::test::KillTrials r = vm880::test::RunKillDuringSave(dir.path().string(), trials, seed);
    std::printf("kill trials %d: old file %d, new file %d, torn %d; a temporary file stood beside "
                "it after %d, still there after the next save %d\n",
                r.trials, r.oldKept, r.newWritten, r.torn, r.leftBehind, r.notCleared);
    return r.torn == 0 && r.notCleared == 0 ? 0 : 1;
}
