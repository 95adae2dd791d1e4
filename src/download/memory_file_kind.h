#pragma once
// Which of the three memory files a text is, told from its lines alone: the main image's
// "address,value" lines, or the tagged records of the clock board or of the autopatch board.
// Every memory file may end with "Complete", so that line tells nothing.

#include <string>
#include <string_view>

namespace vm880 {

enum class MemoryFileKind {
    MainImage,  // "address,value" lines and no option record
    RTCRecords, // clock board records ("T1", "T2", "T3") and no other board's
    APRecords,  // autopatch records ("RA", "RT", "RS", "RR", "RI") and no other board's
    NoRecords,  // only the end marker (and refusals): an option board with nothing stored
    Unknown,
};

MemoryFileKind KindOfMemoryFile(std::string_view text);

// The kind in words, to follow "is" or "was expected": "a main memory download file (like
// download.mem)", ...
std::string MemoryFileKindName(MemoryFileKind kind);

} // namespace vm880
