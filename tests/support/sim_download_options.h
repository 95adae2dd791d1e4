#pragma once
// The download options of vm880-sim: which configuration it serves and how it misbehaves.

#include "sim_download.h"

#include <memory>
#include <string>

namespace vm880::test {

inline constexpr const char* kSimDownloadUsage =
    "download faults (the memory download, its option boards and the version query):\n"
    "  --lines-per-write N   merge N image lines into one write\n"
    "  --split-line N        send image line N in two writes\n"
    "  --pause-line N --pause-ms MS   send image line N MS milliseconds late\n"
    "  --silent-from N       send nothing from image line N on\n"
    "  --garbage-line N      send \"garbage\" in place of image line N\n"
    "  --image-lines N       end the image after N lines (4097 is whole)\n"
    "  --refuse-download     answer \"-\" to the memory request\n"
    "  --refuse-options N    answer \"-\" to the first N option requests\n"
    "  --split-records       send every option record in two writes\n"
    "  --echo-alone          send the option boards' \"+Send...\" echo in a write of its own\n"
    "  --end-with-last-record  send the option boards' end marker with their last record\n"
    "  --stream-options      the option boards send all their records at once, without\n"
    "                        waiting for each acknowledgement\n"
    "  --stream-pause-ms MS  with --stream-options: pause MS milliseconds after each record\n"
    "  --silent-options      the option boards answer and then send nothing\n"
    "  --split-version       send the version reply in two writes\n";

// A flag without a value; false when `arg` is none.
bool ParseDownloadFlag(const std::string& arg, SimDownloadFaults& faults);
// An option with a value; false when `arg` is none or `value` is no number.
bool ParseDownloadOption(const std::string& arg, const std::string& value, SimDownloadFaults& faults);

// The server for the settings file `datFile` (read from a copy, so the file is never
// touched), or for the sample configuration with both boards when it is empty. Null, with
// `problem` saying why, when the file cannot be read or served.
std::unique_ptr<SimDownloadServer> MakeDownloadServer(const std::string& datFile, const SimDownloadFaults& faults,
                                                      std::string& problem);

} // namespace vm880::test
