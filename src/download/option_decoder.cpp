#include "download/option_decoder.h"

#include "model/error_report.h"
#include "interfaces/prompts.h"
#include "tables/code_lookup.h" // LeadingNumber
#include "tables/vocabulary.h"

#include <algorithm>
#include <vector>

namespace vm880 {

namespace {

constexpr int kOverflow = 6;

struct Record {
    int line; // 1-based line number in the file
    std::string_view text;
};

std::vector<Record> splitRecords(std::string_view text)
{
    std::vector<Record> records;
    int line = 0;
    for (std::string_view record : MemoryFileLines(text))
        records.push_back({++line, record});
    return records;
}

std::string_view from(std::string_view text, std::size_t start)
{
    return start < text.size() ? text.substr(start) : std::string_view();
}

std::string_view part(std::string_view text, std::size_t start, std::size_t count)
{
    return start < text.size() ? text.substr(start, count) : std::string_view();
}

std::string lineName(const Record& r)
{
    return "Line " + std::to_string(r.line) + " of the memory file";
}

// A number as the records write it: the leading number of the characters, blanks anywhere
// skipped, none giving 0; it must fit in a byte.
int recordNumber(const Record& r, std::string_view chars)
{
    std::string compact;
    for (char c : chars)
        if (c != ' ' && c != '\t' && c != '\n')
            compact += c;
    const double value = RoundHalfEven(LeadingNumber(compact));
    if (!(value >= 0 && value <= 255))
        throw SystemError(kOverflow, lineName(r) + " (\"" + Printable(r.text)
                                         + "\") has the number " + Printable(compact)
                                         + ", which is not a byte");
    return static_cast<int>(value);
}

// The item a record names, checked against its table.
int itemNumber(const Record& r, int number, int low, int high, std::string_view what)
{
    if (number < low || number > high)
        throw SystemError(error_number::OutOfRange,
                          lineName(r) + " (\"" + Printable(r.text) + "\") names " + std::string(what)
                              + " " + std::to_string(number) + ", outside " + std::to_string(low)
                              + " to " + std::to_string(high));
    return number;
}

std::string where(std::string_view key, int index, const Record& r)
{
    return std::string(key) + "(" + std::to_string(index) + ") (line " + std::to_string(r.line) + ")";
}

std::string where(std::string_view key, const Record& r)
{
    return std::string(key) + " (line " + std::to_string(r.line) + ")";
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

bool digitsAt(std::string_view text, std::size_t pos, std::size_t count)
{
    if (pos + count > text.size())
        return false;
    for (std::size_t i = pos; i < pos + count; ++i)
        if (!isDigit(text[i]))
            return false;
    return true;
}

// What one board sends: its tags, the tags whose records are looked into for a second
// record's start, and the tags that number an item with so many digits.
struct Board {
    const char* name;
    std::span<const std::string_view> tags;
    std::span<const std::string_view> checkedTags;
    std::span<const std::string_view> numberedTags;
    std::size_t itemDigits;
};

constexpr std::array<std::string_view, 4> kAPCheckedTags = {"RA", "RT", "RS", "RR"}; // "RI" is not used
constexpr std::array<std::string_view, 2> kAPNumberedTags = {"RA", "RT"};
constexpr std::array<std::string_view, 2> kRTCCheckedTags = {"T1", "T3"}; // remote base, DTMF memory

const Board kAPBoard{"autopatch option", kAPRecordTags, kAPCheckedTags, kAPNumberedTags, 3};
const Board kRTCBoard{"RTC option", kRTCRecordTags, kRTCCheckedTags, kRTCRecordTags, 2};

const Board& boardOf(OptionBoard board)
{
    return board == OptionBoard::RTC ? kRTCBoard : kAPBoard;
}

// A record is one record: a board that sent its records without waiting for each
// acknowledgement delivers them as one run of text, which must never pass for a single
// record with the rest of the run lost. Records are read by position whatever their length.
void checkOneRecord(const Record& r, OptionBoard id)
{
    const std::size_t pos = SecondRecordAt(id, r.text);
    if (pos != std::string_view::npos)
        throw SystemError(error_number::BadArgument,
                          lineName(r) + " (\"" + Printable(r.text) + "\") holds a second record from character "
                              + std::to_string(pos + 1) + ": the " + boardOf(id).name
                              + " sent its records without waiting for each acknowledgement");
}

// Checks every record of the board, then runs `decode` on every record of each tag in turn,
// so that all records of one tag are stored before any of the next.
template <typename Decode>
void byTag(const std::vector<Record>& records, OptionBoard id, Decode decode)
{
    for (const Record& r : records)
        checkOneRecord(r, id);
    for (std::string_view tag : boardOf(id).tags)
        for (const Record& r : records)
            if (r.text.substr(0, 2) == tag)
                decode(tag, r);
}

// Each character followed by one blank.
std::string spaced(std::string_view chars)
{
    std::string text;
    for (char c : chars) {
        text += c;
        text += ' ';
    }
    return text;
}

void decodeRemoteMemory(const Record& r, int memory, ConfigModel& m, DecodeNotes& notes)
{
    const std::string_view rest = from(r.text, 4);
    StoreText(m.FreqString(memory), std::string(part(rest, 0, 7)), where("FreqString", memory, r), notes);
    StoreText(m.CTCSS(memory), std::string(part(rest, 7, 2)), where("CTCSS", memory, r), notes);
    StoreText(m.CTCSSMode(memory), std::string(part(rest, 9, 1)), where("CTCSSMode", memory, r), notes);
    StoreText(m.RadioMode(memory), std::string(part(rest, 10, 1)), where("RadioMode", memory, r), notes);
    m.RemoteBaseChanged = kTrue;
}

// One word per character; a character whose code has no word adds only its blank.
void decodeMessageMacro(const Record& r, int macro, ConfigModel& m)
{
    const std::string_view rest = from(r.text, 4);
    if (rest.empty())
        return;
    std::string text;
    for (char c : rest) {
        text += VocabCodeToWord(std::to_string(static_cast<unsigned char>(c)));
        text += ' ';
    }
    m.MessageMacro(macro) = text;
}

void decodeDTMFMemory(const Record& r, int memory, ConfigModel& m, DecodeNotes& notes)
{
    // Characters 5 to the third-last of the line.
    const std::size_t count = r.text.size() > 6 ? r.text.size() - 6 : 0;
    StoreText(m.DTMF(memory), spaced(part(r.text, 4, count)), where("DTMF", memory, r), notes);
}

// What a frame decodes: the file's text, read here or already read by the caller.
template <typename Text, typename Decode>
int loadOptionText(ConfigModel& model, Prompts& prompts, const char* caption, const char* label,
                   const char* procName, const char* failureNote, const char* warningTitle, Text text,
                   Decode decode)
{
    prompts.ShowWait(caption, label);
    int status = kFailed;
    DecodeNotes notes;
    try {
        // Decoded into a copy: after a failure the model holds none of the file's records.
        ConfigModel decoded = model;
        decode(text(), decoded, notes);
        model = std::move(decoded);
        status = kDone;
    } catch (const std::exception& e) {
        ReportSystemError(prompts, e, "LoadEram", procName, "", failureNote);
    }
    prompts.HideWait();
    if (status == kDone)
        ShowDecodeNotes(prompts, warningTitle, notes);
    return status;
}

std::string readOptionFile(const std::string& fileName)
{
    std::string text = ReadFileStart(fileName, kMaxOptionFileBytes + 1);
    if (text.size() > kMaxOptionFileBytes)
        throw SystemError(error_number::FileAccess, fileName + " is larger than an option memory file can be");
    return text;
}

template <typename Text>
int loadAP(ConfigModel& model, Prompts& prompts, Text text)
{
    return loadOptionText(model, prompts, "Decode AP", "Decoding Autopatch Data", "LoadAPEram",
                          "Error in Autopatch download", "Autopatch Decode Warning", text, DecodeAPRecords);
}

template <typename Text>
int loadRTC(ConfigModel& model, Prompts& prompts, Text text)
{
    const int status = loadOptionText(model, prompts, "Decode RTC", "Decoding RTC Data", "LoadRTCEram",
                                      "Error in RTC download", "RTC Decode Warning", text, DecodeRTCRecords);
    if (status == kDone)
        model.RTCDataLoaded = kTrue;
    return status;
}

} // namespace

bool HasRecordTag(std::string_view line, std::span<const std::string_view> tags)
{
    return std::find(tags.begin(), tags.end(), line.substr(0, 2)) != tags.end();
}

std::size_t SecondRecordAt(OptionBoard id, std::string_view line)
{
    const Board& board = boardOf(id);
    if (!HasRecordTag(line, board.checkedTags))
        return std::string_view::npos;
    for (std::size_t pos = 2; pos + 1 < line.size(); ++pos) {
        const std::string_view tag = line.substr(pos, 2);
        if (HasRecordTag(tag, board.tags)
            && (!HasRecordTag(tag, board.numberedTags) || digitsAt(line, pos + 2, board.itemDigits)))
            return pos;
    }
    return std::string_view::npos;
}

std::vector<std::string_view> MemoryFileLines(std::string_view text)
{
    // A file without a carriage return had its lines ended by line feeds alone: its copy with
    // CR LF line ends reads the same.
    const char end = text.find('\r') == std::string_view::npos ? '\n' : '\r';
    std::vector<std::string_view> lines;
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t stop = text.find(end, pos);
        if (stop == std::string_view::npos)
            stop = text.size();
        lines.push_back(text.substr(pos, stop - pos));
        pos = stop + 1;
        if (end == '\r' && pos < text.size() && text[pos] == '\n')
            ++pos;
    }
    return lines;
}

void DecodeAPRecords(std::string_view text, ConfigModel& m, DecodeNotes& notes)
{
    byTag(splitRecords(text), OptionBoard::AP, [&](std::string_view tag, const Record& r) {
        const std::string rest(from(r.text, tag == "RA" || tag == "RT" ? 5 : 2));
        if (tag == "RA") {
            const int slot = itemNumber(r, recordNumber(r, part(r.text, 2, 3)), 1, 200, "autodial slot");
            StoreText(m.AutoDial(slot), rest, where("AutoDial", slot, r), notes);
        } else if (tag == "RT") {
            const int slot = itemNumber(r, recordNumber(r, part(r.text, 2, 3)), 1, 100, "toll restriction slot");
            StoreText(m.TollRestrict(slot), rest, where("TollRestrict", slot, r), notes);
        } else if (tag == "RS") {
            StoreText(m.AnswerCode, rest, where("AnswerCode", r), notes);
        } else if (tag == "RR") {
            StoreText(m.RingNumber, rest, where("RingNumber", r), notes);
        }
        // "RI" records are read and not used.
    });
}

void DecodeRTCRecords(std::string_view text, ConfigModel& m, DecodeNotes& notes)
{
    byTag(splitRecords(text), OptionBoard::RTC, [&](std::string_view tag, const Record& r) {
        const int nn = recordNumber(r, part(r.text, 2, 2));
        if (tag == "T1")
            decodeRemoteMemory(r, itemNumber(r, nn + 10, 1, 40, "remote base memory"), m, notes);
        else if (tag == "T2")
            decodeMessageMacro(r, itemNumber(r, nn + 40, 1, 70, "message macro"), m);
        else
            decodeDTMFMemory(r, itemNumber(r, nn + 20, 1, 50, "DTMF memory"), m, notes);
    });
}

int LoadAPEram(ConfigModel& model, Prompts& prompts, const std::string& fileName)
{
    return loadAP(model, prompts, [&] { return readOptionFile(fileName); });
}

int LoadRTCEram(ConfigModel& model, Prompts& prompts, const std::string& fileName)
{
    return loadRTC(model, prompts, [&] { return readOptionFile(fileName); });
}

int LoadAPEramText(ConfigModel& model, Prompts& prompts, std::string_view text)
{
    return loadAP(model, prompts, [&] { return text; });
}

int LoadRTCEramText(ConfigModel& model, Prompts& prompts, std::string_view text)
{
    return loadRTC(model, prompts, [&] { return text; });
}

} // namespace vm880
