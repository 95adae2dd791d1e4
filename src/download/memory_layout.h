#pragma once
// The controller's main memory image as the programmer reads it: positions 0 to 4057, each
// section declared once with its position, size, encoding and the setting it fills. The
// decoder walks this table; the tests' image encoder walks the same table backwards.

#include "model/config_model.h"

#include <span>
#include <string_view>

namespace vm880 {

inline constexpr int kMemoryImageSize = 4058; // positions 0..4057

// How the bytes of one entry become its setting's text.
enum class Encoding {
    Unused,            // read, not used
    Byte,              // the byte as decimal text
    Word,              // low byte first
    ScaleWord,         // a word; 255, 255 (erased) counts as 0
    ZeroEndedText,     // characters up to the first 0; the last position never belongs
    CWList,            // CW codes, as many as the count in `other` says
    VoiceList,         // vocabulary codes, as many as the count in `other` says
    MacroList,         // the controller's macro byte coding
    PackedDigits,      // macro recall code: two DTMF digit codes per byte
    ScaledSingle,      // a 4-byte float, stored in hundredths
    DayAndWeek,        // scheduler day, with the week of the month in `other`
    DTMFMemory,        // DTMF digit characters up to the first 255
    MessageVocabulary, // vocabulary codes up to the first 0; 255 is "ZERO"
    RemotePrefix,      // characters up to the first 0, 252 and 253 left out
    RemoteFrequency,   // characters up to the first 0, 255 left out
};

// A substitution applied to the decoded text.
enum class Rule {
    None,
    EmptyIs0,        // an empty text is "0"
    ZeroOrOne,       // anything but "0" and "1" is "0"
    Erased255Empty,  // 255 is the empty text
    Erased255Is0,    // 255 is "0"
    ZeroIs0000,      // 0 is "0000"
    AlarmType,       // 255 is "0"; 20, 21 and 22 keep their last digit
    Above90Is90,     // a macro number above 90 is "90"
    Above90Is1,      // a macro number above 90 is "1"
    SchedHour,       // 255 empty, 254 "0A", then at least two characters
    SchedMinute,     // 255 empty, then at least two characters
    SchedMacro,      // below 1 "01", 255 empty, then at least two characters
    Skip255,         // a 255 leaves the setting as it was
    MeterType,       // the word names the meter type: 0, 224, 62, 227, 101, 150, 176
};

using LayoutItemFn = Text& (*)(ConfigModel&, int entry);

struct LayoutSection {
    int position;          // position of entry 1
    int entries;           // 1 for a single setting
    int width;             // positions per entry
    Encoding encoding;
    LayoutItemFn item;     // setting of entry 1..entries; nullptr for unused positions
    std::string_view name; // settings key name, for reports ("" for unused positions)
    std::string_view step; // step label reported when decoding fails here
    Rule rule = Rule::None;
    int stride = 0;        // positions from one entry to the next when it is not `width`
    LayoutItemFn other = nullptr; // the count of an ID list, the week of a scheduler day
    bool courtesy = false; // entries are port-major courtesy tones: entry (port-1)*10 + tone
};

// Every section in image order (interleaved sections next to each other).
std::span<const LayoutSection> MemoryLayout();

// First position of an entry (1-based).
int EntryPosition(const LayoutSection& section, int entry);

// The section holding `position`, or nullptr outside the image.
const LayoutSection* SectionAt(int position);

// "HangTime(2)" for an array entry, "Vref" for a single setting; courtesy tones name their
// port and tone as the settings file does ("P2Tone1(3)").
std::string EntryKey(const LayoutSection& section, int entry);

} // namespace vm880
