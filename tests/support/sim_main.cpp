// vm880-sim: a simulated controller on a pseudo-terminal, for trying the program by hand.
// Prints the device to choose as the serial port, then one line per command received.
// `vm880-sim --help` lists every option and fault.

#include "sim_controller.h"
#include "sim_download_options.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <mutex>
#include <string>
#include <unistd.h>
#include <vector>

using vm880::test::SimController;
using vm880::test::SimLine;
using vm880::test::SimReply;

namespace {

constexpr const char* kUsage =
    "usage: vm880-sim [options] [command faults] [download faults]\n"
    "A simulated VM880 controller on a pseudo-terminal: prints the device to choose as the\n"
    "serial port, then one line per command received. Ctrl+C stops it.\n"
    "\n"
    "options:\n"
    "  --serve FILE.dat      serve this settings file to downloads (default: a sample\n"
    "                        configuration with both option boards); a file with a value that\n"
    "                        has no memory form is refused at start, naming its key\n"
    "  --link PATH           also make PATH a symbolic link to the device\n"
    "  --pace-us US          send one character every US microseconds, as a serial wire\n"
    "                        does (1042 is 9600 baud); default: every write at once\n"
    "  --help                show this text\n"
    "\n"
    "command faults (every command other than the download's):\n"
    "  --delay MS            wait MS milliseconds before each \"+\"\n"
    "  --refuse TEXT         answer \"-\" to commands holding TEXT (may be given again)\n"
    "  --ignore TEXT         leave commands holding TEXT unanswered (may be given again)\n"
    "\n";

int usage(std::ostream& out, int status)
{
    out << kUsage << vm880::test::kSimDownloadUsage;
    return status;
}

// Shows control characters so that a stray byte is visible.
std::string printable(const std::string& text)
{
    std::string out;
    for (unsigned char c : text) {
        if (c < 32 || c == 127) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\x%02X", c);
            out += escaped;
        } else {
            out += static_cast<char>(c);
        }
    }
    return out;
}

} // namespace

int main(int argc, char** argv)
{
    int delayMs = 0;
    int paceUs = 0;
    std::vector<std::string> refused;
    std::vector<std::string> ignored;
    std::string link;
    std::string served;
    vm880::test::SimDownloadFaults faults;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--help" || arg == "-h")
            return usage(std::cout, 0);
        if (vm880::test::ParseDownloadFlag(arg, faults))
            continue;
        if (i + 1 >= argc)
            return usage(std::cerr, 2);
        const std::string value = argv[++i];
        if (arg == "--delay")
            delayMs = std::atoi(value.c_str());
        else if (arg == "--refuse")
            refused.push_back(value);
        else if (arg == "--ignore")
            ignored.push_back(value);
        else if (arg == "--pace-us")
            paceUs = std::atoi(value.c_str());
        else if (arg == "--link")
            link = value;
        else if (arg == "--serve")
            served = value;
        else if (!vm880::test::ParseDownloadOption(arg, value, faults))
            return usage(std::cerr, 2);
    }
    std::string problem;
    auto server = vm880::test::MakeDownloadServer(served, faults, problem);
    if (!server) {
        std::cerr << "vm880-sim: " << problem << "\n";
        return 1;
    }

    // Block the stop signals before the responder thread starts, so only sigwait sees them.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

    SimController sim;
    sim.SetPaceUs(paceUs);
    std::mutex printing;
    sim.SetPolicy([&](const SimLine& line) {
        const double atMs =
            std::chrono::duration<double, std::milli>(line.at - sim.Started()).count();
        if (server->Handles(line)) {
            // The program's acknowledgements of a download are too many to print one by one.
            if (line.text.size() > 1 && line.text != "OK") {
                std::lock_guard lock(printing);
                std::printf("%10.1f ms  #%d  %s  -> (download)\n", atMs, line.number, line.text.c_str());
                std::fflush(stdout);
            }
            return server->Answer(line);
        }
        SimReply reply = line.number > 0 ? SimReply::Ack(delayMs) : SimReply::Silence();
        const char* answer = line.number > 0 ? "+" : "(empty line, no answer)";
        for (const std::string& text : ignored)
            if (line.text.find(text) != std::string::npos) {
                reply = SimReply::Silence();
                answer = "(no answer)";
            }
        for (const std::string& text : refused)
            if (line.text.find(text) != std::string::npos) {
                reply = SimReply::Nack(delayMs);
                answer = "-";
            }
        std::lock_guard lock(printing);
        std::printf("%10.1f ms  #%d  %s  -> %s\n", atMs, line.number, printable(line.text).c_str(),
                    answer);
        std::fflush(stdout);
        return reply;
    });

    if (!link.empty()) {
        ::unlink(link.c_str());
        if (::symlink(sim.SlavePath().c_str(), link.c_str()) != 0) {
            std::perror(link.c_str());
            return 1;
        }
    }
    std::printf("%s\n", sim.SlavePath().c_str());
    if (!link.empty())
        std::printf("(also %s)\n", link.c_str());
    std::printf("Set VM880_PORT1=%s to use it as serial port 1. Ctrl+C stops.\n",
                sim.SlavePath().c_str());
    std::fflush(stdout);

    int signal = 0;
    sigwait(&stopSignals, &signal);
    if (!link.empty())
        ::unlink(link.c_str());
    return 0;
}
