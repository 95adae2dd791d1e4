#pragma once
// The controller's side of the memory files, for tests: a configuration model turned into the
// main memory image (walking the decoder's own layout table backwards) and into the records of
// the two option boards. Also a typical configuration to start from.

#include "model/config_model.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace vm880::test {

// The 4058 bytes that decode to the model's settings. Values are taken in the forms the
// decoder produces ("0A" hours, "0000" for a second CW tone of 0, "A" for negative set points,
// "NONE STORED"); the counts of the ID lists are computed from the ID texts. Unused positions
// hold 0. Throws std::invalid_argument naming the setting when a value has no encoding
// (too long, not a number, a character or word outside the controller's tables).
std::vector<std::uint8_t> EncodeMemoryImage(const ConfigModel& model);

// The image as the serial download writes it: "address,value" and CR LF for every byte.
std::string MemoryImageText(std::span<const std::uint8_t> image);
void WriteMemoryImage(const std::string& path, std::span<const std::uint8_t> image);

// Records of the autopatch board: an "RA" record for every autodial number that is not empty,
// an "RT" record for every restricted number that is not empty, then "RS" and "RR".
std::vector<std::string> APRecords(const ConfigModel& model);

// Records of the clock board for remote-base memories 11-40 (skipped when "NONE" or empty),
// message macros 41-70 and DTMF memories 21-50 (skipped when "NONE STORED" or empty).
std::vector<std::string> RTCRecords(const ConfigModel& model);

// An option memory file as the download writes it: each record and CR LF, then "Complete".
std::string OptionFileText(const std::vector<std::string>& records);

// A complete, valid configuration in the decoder's forms, with varied values in every area
// (long and short macros with multi-byte codes, negative set points, every-hour schedules,
// a second CW tone of 0, empty message macros and DTMF memories).
ConfigModel SampleControllerModel();

} // namespace vm880::test
