#pragma once
// LoadAPEram and LoadRTCEram: the memory files of the autopatch and real-time-clock option
// boards, tagged text records one per line, decoded into the configuration model.
//
// A record is a line ended by CR (CR LF). A line feed on its own is part of a record: message
// macro records carry one byte per word, and the word with code 10 is such a byte. The two
// characters at the start of a line are the tag; lines with other tags are skipped. Records
// are read by position whatever their length. A record that holds the start of a second record
// fails the file: the board sent its records as one run of text.

#include "download/decode_notes.h"
#include "model/config_model.h"
#include "model/key_access.h"

#include <array>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace vm880 {

// The record tags of each board, in the order their records are decoded.
inline constexpr std::array<std::string_view, 3> kRTCRecordTags = {"T1", "T2", "T3"};
inline constexpr std::array<std::string_view, 5> kAPRecordTags = {"RA", "RT", "RS", "RR", "RI"};

class Prompts;

// An option memory file holds at most what a settings file can: the records of every
// configuration the program can save fit, however long its numbers are.
inline constexpr std::size_t kMaxOptionFileBytes = kMaxSettingsFileSize;

// The lines of a memory file as the decoders read them: each ends at a carriage return, a
// line feed right after it belonging to that end. In a file without any carriage return the
// lines end at line feeds, as in its converted copy.
std::vector<std::string_view> MemoryFileLines(std::string_view text);

// Whether `line` begins with one of `tags` (all two characters long).
bool HasRecordTag(std::string_view line, std::span<const std::string_view> tags);

enum class OptionBoard { RTC, AP };

// Where a second record starts inside `line`, one line of `board`'s memory file, or npos. A
// record starts with its tag and, where the tag numbers an item ("RA", "RT", "T1" to "T3"),
// the item's digits. No value an operator can enter holds such a start: autopatch numbers and
// codes are DTMF keys, remote-base and DTMF memories digits. A message macro's word codes
// can spell anything, so a second record inside one cannot be told and is not looked for.
std::size_t SecondRecordAt(OptionBoard board, std::string_view line);

// Autopatch records: "RA" + slot (3 characters) + autodial number, "RT" + slot + restricted
// number, "RS" + answer code, "RR" + ring count, "RI" (not used). Records are taken tag by tag
// in that order; a later record of the same item wins. Throws SystemError for a slot outside
// 1..200 (autodial) or 1..100 (toll restriction) or a slot number that is no byte.
void DecodeAPRecords(std::string_view text, ConfigModel& model, DecodeNotes& notes);

// Real-time-clock records: "T1" nn + remote-base memory nn + 10 (frequency 7 characters,
// CTCSS tone 2, CTCSS mode 1, radio mode 1), "T2" nn + message macro nn + 40 (one vocabulary
// code per character), "T3" nn + DTMF memory nn + 20 (one digit per character, the last two
// characters of the line not used). Throws SystemError for an item outside its table.
void DecodeRTCRecords(std::string_view text, ConfigModel& model, DecodeNotes& notes);

// The frames: wait window, the whole file decoded into a copy of the model that replaces the
// model only when every record was read, replaced characters shown to the operator, failures
// reported (module "LoadEram"). Return kDone or kFailed; after a failure the model is as it was.
int LoadAPEram(ConfigModel& model, Prompts& prompts, const std::string& fileName);
int LoadRTCEram(ConfigModel& model, Prompts& prompts, const std::string& fileName);
// The same for a file's text already read: the import decodes what it checked.
int LoadAPEramText(ConfigModel& model, Prompts& prompts, std::string_view text);
int LoadRTCEramText(ConfigModel& model, Prompts& prompts, std::string_view text);

} // namespace vm880
