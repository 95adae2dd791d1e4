#include "download/memory_file_kind.h"

#include "base/text.h"
#include "download/option_decoder.h"

namespace vm880 {

namespace {

bool digitsOnly(std::string_view text)
{
    text = TrimBlanks(text);
    return !text.empty() && text.find_first_not_of("0123456789") == std::string_view::npos;
}

bool imageLine(std::string_view line)
{
    const std::size_t comma = line.find(',');
    return comma != std::string_view::npos && digitsOnly(line.substr(0, comma))
        && digitsOnly(line.substr(comma + 1));
}

} // namespace

MemoryFileKind KindOfMemoryFile(std::string_view text)
{
    int image = 0, rtc = 0, ap = 0, ends = 0, other = 0;
    // Split as the decoders split it: a line feed inside a clock board record (a word's code)
    // is part of the record, never the start of another line.
    for (std::string_view line : MemoryFileLines(text)) {
        if (line.empty())
            continue;
        if (line.starts_with("Complete") || line.starts_with("-") || line == "Timeout")
            ++ends;
        else if (HasRecordTag(line, kRTCRecordTags))
            ++rtc;
        else if (HasRecordTag(line, kAPRecordTags))
            ++ap;
        else if (imageLine(line))
            ++image;
        else
            ++other;
    }
    if (rtc > 0 && ap == 0 && image == 0)
        return MemoryFileKind::RTCRecords;
    if (ap > 0 && rtc == 0 && image == 0)
        return MemoryFileKind::APRecords;
    if (image > other && rtc == 0 && ap == 0)
        return MemoryFileKind::MainImage;
    if (ends > 0 && image == 0 && rtc == 0 && ap == 0 && other == 0)
        return MemoryFileKind::NoRecords;
    return MemoryFileKind::Unknown;
}

std::string MemoryFileKindName(MemoryFileKind kind)
{
    switch (kind) {
    case MemoryFileKind::MainImage:
        return "a main memory download file (like download.mem)";
    case MemoryFileKind::RTCRecords:
        return "an RTC option memory file (like rtcdownload.mem)";
    case MemoryFileKind::APRecords:
        return "an autopatch option memory file (like apdownload.mem)";
    case MemoryFileKind::NoRecords:
        return "an option memory file without any records";
    case MemoryFileKind::Unknown:
        break;
    }
    return "not a VM880 memory download file";
}

} // namespace vm880
