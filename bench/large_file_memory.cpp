// Peak memory of loading, saving and reopening the largest settings files the reader
// accepts, each shape in a process of its own. Goal: the peak beyond the program's own stays
// within tens of times the file's size, and every file saves and reopens.

#include "counting_prompts.h"
#include "model/key_access.h"
#include "model/reader.h"
#include "model/settings_writer.h"
#include "interfaces/file_viewer.h"
#include "temp_folder.h"

#include <chrono>
#include <cstdio>
#include <fstream>
#include <functional>
#include <string>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace vm880;

namespace {

struct NoViewer : FileViewer {
    bool Open(const std::string&) override { return true; }
};

long peakKiB()
{
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// Fills the file up to the largest size it may have and still be saved; written line by
// line, so that building it raises no memory peak of its own.
std::size_t build(const std::string& path, const std::function<std::string(std::size_t)>& line)
{
    std::ofstream out(path, std::ios::binary);
    std::string text = "[Version]\nFirmwareVersion=60\nHasRTC=1\n";
    std::size_t size = 0;
    const std::size_t limit = kMaxSettingsFileSize - 200 * 1024;
    for (std::size_t i = 0; size < limit; ++i) {
        out << text;
        size += text.size();
        text = line(i);
    }
    return size;
}

int measure(const char* shape, const std::function<std::string(std::size_t)>& line)
{
    const pid_t child = ::fork();
    if (child != 0) {
        int status = 0;
        ::waitpid(child, &status, 0);
        return WIFEXITED(status) ? WEXITSTATUS(status) : 1;
    }
    test::TempFolder dir;
    const std::string dat = dir.file("large.dat");
    const std::size_t size = build(dat, line);
    const long before = peakKiB();
    const auto start = std::chrono::steady_clock::now();
    test::CountingPrompts prompts;
    NoViewer viewer;
    bool ok = true;
    {
        KeyAccess keys(prompts);
        ConfigModel m;
        m.DatFilePath = dat;
        FileLoadServices s{m, keys, prompts, viewer, dir.path().string(), [] { return std::string("x"); }};
        ok = FileLoad(s).outcome == FileLoadResult::Loaded && FileWrite(m, keys, prompts) == kDone;
    }
    {
        KeyAccess keys(prompts);
        ConfigModel m;
        m.DatFilePath = dat;
        FileLoadServices s{m, keys, prompts, viewer, dir.path().string(), [] { return std::string("x"); }};
        ok = ok && FileLoad(s).outcome == FileLoadResult::Loaded;
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const double mib = static_cast<double>(size) / (1024 * 1024);
    const double peakMiB = static_cast<double>(peakKiB() - before) / 1024;
    std::printf("%-28s %6.2f MiB file: %s, peak +%7.1f MiB (%4.1f times the file), %.2f s\n", shape,
                mib, ok ? "loaded, saved, reopened" : "FAILED", peakMiB, peakMiB / mib, seconds);
    std::fflush(stdout);
    ::_exit(ok ? 0 : 1);
}

} // namespace

int main()
{
    int failed = 0;
    failed += measure("entries, LF", [](std::size_t i) { return "Note" + std::to_string(i) + "=kept\n"; });
    failed += measure("short entries, LF", [](std::size_t i) { return "k" + std::to_string(i) + "=\n"; });
    failed += measure("blank lines, LF", [](std::size_t) { return std::string("\n"); });
    failed += measure("sections, LF", [](std::size_t i) { return "[s" + std::to_string(i) + "]\n"; });
    failed += measure("entries, CRLF", [](std::size_t i) { return "Note" + std::to_string(i) + "=kept\r\n"; });
    return failed == 0 ? 0 : 1;
}
