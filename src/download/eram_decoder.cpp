#include "download/eram_decoder.h"

#include "download/memory_layout.h"
#include "interfaces/prompts.h"
#include "base/text.h"
#include "tables/cw_chars.h"
#include "tables/dtmf_digits.h"
#include "tables/macro_coding.h"
#include "tables/vocabulary.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>

#include <fcntl.h>
#include <unistd.h>

namespace vm880 {

namespace {

// Error numbers of the report, as the language runtime numbered these failures.
constexpr int kOverflow = 6;
constexpr int kTypeMismatch = 13;
constexpr int kInputPastEnd = 62;

// "4095,255" is 8 characters; anything much longer is not a memory line.
constexpr std::size_t kMaxLineLength = 64;

constexpr std::uint8_t kErased = 255;
constexpr long kSetPointLimit = 35000; // hundredths, either sign

std::string lineName(int position)
{
    return "Line " + std::to_string(position + 1) + " (position " + std::to_string(position) + ")";
}

bool allDigits(std::string_view text)
{
    for (char c : text)
        if (c < '0' || c > '9')
            return false;
    return !text.empty();
}

// The value of a count decoded earlier; 0 for anything that is not a plain number.
int countValue(const Text& text)
{
    if (!allDigits(text) || text.size() > 3)
        return 0;
    return std::stoi(text);
}

std::string atLeastTwo(std::string text)
{
    if (text.size() < 2)
        text.insert(0, 1, '0');
    return text;
}

// Meter type code of a meter word; empty for a word that names no type.
Text meterTypeOf(long word)
{
    struct Pair { long word; const char* code; };
    static constexpr Pair kTypes[] = {
        {0, "0"}, {224, "1"}, {62, "2"}, {227, "3"}, {101, "4"}, {150, "5"}, {176, "6"},
    };
    for (const Pair& p : kTypes)
        if (p.word == word)
            return p.code;
    return {};
}

// Applies a section's substitution to a decoded value; false when nothing is to be stored.
// `value` is the number read (-1 for texts).
bool applyRule(Rule rule, long value, Text& text)
{
    switch (rule) {
    case Rule::None:
        break;
    case Rule::EmptyIs0:
        if (text.empty())
            text = "0";
        break;
    case Rule::ZeroOrOne:
        if (text != "0" && text != "1")
            text = "0";
        break;
    case Rule::Erased255Empty:
        if (value == kErased)
            text.clear();
        break;
    case Rule::Erased255Is0:
        if (value == kErased)
            text = "0";
        break;
    case Rule::ZeroIs0000:
        if (value == 0)
            text = "0000";
        break;
    case Rule::AlarmType:
        if (value == kErased)
            text = "0";
        else if (value >= 20 && value <= 22)
            text = text.substr(1);
        break;
    case Rule::Above90Is90:
        if (value > 90)
            text = "90";
        break;
    case Rule::Above90Is1:
        if (value > 90)
            text = "1";
        break;
    case Rule::SchedHour:
        if (value == kErased)
            text.clear();
        else if (value == 254)
            text = "0A";
        text = atLeastTwo(text);
        break;
    case Rule::SchedMinute:
        if (value == kErased)
            text.clear();
        text = atLeastTwo(text);
        break;
    case Rule::SchedMacro:
        if (value < 1)
            text = "01";
        else if (value == kErased)
            text.clear();
        text = atLeastTwo(text);
        break;
    case Rule::Skip255:
        return value != kErased;
    case Rule::MeterType:
        text = meterTypeOf(value);
        break;
    }
    return true;
}

// The first `count` entries of a list of "entry + blank" pieces, stopping for good at an
// empty first entry; outer blanks removed.
Text takeEntries(const std::string& list, int count)
{
    std::string result;
    std::size_t start = 0;
    for (int k = 0; k < count; ++k) {
        const std::size_t blank = list.find(' ', start);
        if (blank != std::string::npos && blank > 0) {
            result.append(list, start, blank - start);
            result += ' ';
            start = blank + 1;
        }
    }
    return Text(TrimSpaces(result));
}

class EntryDecoder {
public:
    EntryDecoder(const LayoutSection& section, int entry, std::span<const std::uint8_t> bytes,
                 ConfigModel& model, DecodeNotes& notes)
        : s_(section), entry_(entry), b_(bytes), m_(model), notes_(notes) {}

    void Decode();

private:
    Text& item() { return s_.item(m_, entry_); }
    Text& other() { return s_.other(m_, entry_); }
    std::string where() const;
    void storeNumber(long value);
    void storeChars(std::string chars);
    void storeSetPoint();
    std::string charsUpTo(std::size_t count, std::uint8_t end) const;
    std::string codeList(Text (*lookup)(std::string_view)) const;
    Text dtmfMemory() const;
    Text messageWords() const;

    const LayoutSection& s_;
    int entry_;
    std::span<const std::uint8_t> b_;
    ConfigModel& m_;
    DecodeNotes& notes_;
};

std::string EntryDecoder::where() const
{
    const int first = EntryPosition(s_, entry_);
    const std::string key = EntryKey(s_, entry_);
    if (s_.width == 1)
        return key + " (position " + std::to_string(first) + ")";
    return key + " (positions " + std::to_string(first) + "-" + std::to_string(first + s_.width - 1)
        + ")";
}

void EntryDecoder::storeNumber(long value)
{
    Text text = std::to_string(value);
    if (applyRule(s_.rule, value, text))
        item() = std::move(text);
}

void EntryDecoder::storeChars(std::string chars)
{
    Text text;
    StoreText(text, std::move(chars), where(), notes_);
    applyRule(s_.rule, -1, text);
    item() = std::move(text);
}

// The characters of the first `count` bytes up to the byte `end`.
std::string EntryDecoder::charsUpTo(std::size_t count, std::uint8_t end) const
{
    std::string chars;
    for (std::size_t i = 0; i < count && i < b_.size() && b_[i] != end; ++i)
        chars += static_cast<char>(b_[i]);
    return chars;
}

std::string EntryDecoder::codeList(Text (*lookup)(std::string_view)) const
{
    std::string list;
    for (std::uint8_t code : b_) {
        list += lookup(std::to_string(code));
        list += ' ';
    }
    return list;
}

Text EntryDecoder::dtmfMemory() const
{
    const std::string chars = charsUpTo(b_.size(), kErased);
    if (chars.empty() || chars[0] == '\0' || chars[0] == ' ')
        return "NONE STORED";
    std::string text;
    for (char c : chars) {
        text += c;
        text += ' ';
    }
    return Text(TrimSpaces(text));
}

// Up to nine words; the tenth position never holds one.
Text EntryDecoder::messageWords() const
{
    std::string text;
    for (std::size_t i = 0; i + 1 < b_.size() && b_[i] != 0; ++i) {
        text += b_[i] == kErased ? Text("ZERO") : VocabCodeToWord(std::to_string(b_[i]));
        text += ' ';
    }
    text = Text(TrimSpaces(text));
    return text.empty() ? Text("NONE STORED") : text;
}

void EntryDecoder::storeSetPoint()
{
    const std::array<std::uint8_t, 4> bytes = {b_[0], b_[1], b_[2], b_[3]};
    if (std::optional<std::string> text = SetPointText(bytes)) {
        item() = *text;
        return;
    }
    char value[32];
    std::snprintf(value, sizeof value, "%.6g", BytesToSingle(bytes));
    notes_.push_back(where() + ": the set point " + value
                     + " lies outside -350.00 to 350.00; stored as 0");
    item() = "0";
}

void EntryDecoder::Decode()
{
    switch (s_.encoding) {
    case Encoding::Unused:
        break;
    case Encoding::Byte:
        storeNumber(b_[0]);
        break;
    case Encoding::Word:
        storeNumber(b_[0] + 256L * b_[1]);
        break;
    case Encoding::ScaleWord:
        // Only a fully erased word reads as 0: 255 in one byte is part of a value such as
        // 1023, the full scale of a 10-bit converter.
        storeNumber(b_[0] == kErased && b_[1] == kErased ? 0 : b_[0] + 256L * b_[1]);
        break;
    case Encoding::ZeroEndedText:
        storeChars(charsUpTo(b_.size() - 1, 0));
        break;
    case Encoding::CWList:
        item() = takeEntries(codeList(CWCodeToChar), countValue(other()));
        break;
    case Encoding::VoiceList:
        item() = takeEntries(codeList(VocabCodeToWord), countValue(other()));
        break;
    case Encoding::MacroList:
        item() = DecodeMacroSlot(b_);
        break;
    case Encoding::PackedDigits:
        item() = DecodeMacroCode(charsUpTo(b_.size() - 1, 0));
        break;
    case Encoding::ScaledSingle:
        storeSetPoint();
        break;
    case Encoding::DayAndWeek: {
        const std::string value = std::to_string(b_[0]);
        if (value.size() == 2) {
            item() = value.substr(1);
            other() = value.substr(0, 1);
        } else {
            item() = value;
        }
        break;
    }
    case Encoding::DTMFMemory: {
        const Text text = dtmfMemory();
        if (text == "NONE STORED")
            item() = text;
        else
            storeChars(text);
        break;
    }
    case Encoding::MessageVocabulary:
        item() = messageWords();
        break;
    case Encoding::RemotePrefix: {
        std::string chars;
        for (std::size_t i = 0; i + 1 < b_.size() && b_[i] != 0; ++i)
            if (b_[i] != 252 && b_[i] != 253)
                chars += static_cast<char>(b_[i]);
        storeChars(chars);
        break;
    }
    case Encoding::RemoteFrequency: {
        std::string chars;
        for (std::size_t i = 0; i + 1 < b_.size() && b_[i] != 0; ++i)
            if (b_[i] != kErased)
                chars += static_cast<char>(b_[i]);
        if (chars.empty())
            item() = "NONE STORED";
        else
            storeChars(chars);
        break;
    }
    }
}

void makeEmptyFile(const std::string& path)
{
    // Never waits: a named pipe of that name fails at once instead of holding the program.
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0644);
    if (fd < 0)
        throw SystemError(error_number::FileAccess,
                          "The file cannot be created: " + path + ": " + std::strerror(errno));
    ::close(fd);
}

} // namespace

std::vector<std::uint8_t> ParseMemoryImage(std::string_view text)
{
    std::vector<std::uint8_t> image;
    image.reserve(kMemoryImageSize);
    std::size_t pos = 0;
    for (int position = 0; position < kMemoryImageSize; ++position) {
        if (pos >= text.size())
            throw ImageError(kInputPastEnd,
                             "The memory image ends after " + std::to_string(position)
                                 + " lines: " + lineName(position) + " is missing",
                             position);
        std::size_t end = text.find_first_of("\r\n", pos);
        if (end == std::string_view::npos)
            end = text.size();
        const std::string_view line = text.substr(pos, end - pos);
        pos = end;
        if (pos < text.size() && text[pos] == '\r')
            ++pos;
        if (pos < text.size() && text[pos] == '\n')
            ++pos;

        if (line.size() > kMaxLineLength)
            throw ImageError(kTypeMismatch,
                             lineName(position) + " of the memory image is "
                                 + std::to_string(line.size())
                                 + " characters long, too long for an address and a byte value",
                             position);
        const std::size_t comma = line.find(',');
        const std::string_view value =
            TrimBlanks(comma == std::string_view::npos ? line : line.substr(comma + 1));
        if (!allDigits(value))
            throw ImageError(kTypeMismatch,
                             lineName(position) + " of the memory image holds \"" + Printable(line)
                                 + "\", which has no byte value from 0 to 255",
                             position);
        unsigned number = 0;
        for (char c : value)
            number = std::min(number * 10 + unsigned(c - '0'), 1000u);
        if (number > 255)
            throw ImageError(kOverflow,
                             lineName(position) + " of the memory image holds the value "
                                 + Printable(value) + ", above the byte maximum 255",
                             position);
        image.push_back(static_cast<std::uint8_t>(number));
    }
    return image;
}

std::vector<std::uint8_t> ReadMemoryImage(const std::string& path)
{
    // Enough for every line the decoder reads, however long the file is.
    const std::size_t limit = std::size_t(kMemoryImageSize) * (kMaxLineLength + 2);
    return ParseMemoryImage(ReadFileStart(path, limit));
}

void DecodeImage(std::span<const std::uint8_t> image, ConfigModel& model, DecodeNotes& notes)
{
    if (image.size() != std::size_t(kMemoryImageSize))
        throw SystemError(error_number::BadArgument,
                          "A memory image holds " + std::to_string(kMemoryImageSize)
                              + " bytes, not " + std::to_string(image.size()));
    for (const LayoutSection& section : MemoryLayout()) {
        try {
            for (int entry = 1; entry <= section.entries; ++entry) {
                const auto bytes = image.subspan(std::size_t(EntryPosition(section, entry)),
                                                 std::size_t(section.width));
                EntryDecoder(section, entry, bytes, model, notes).Decode();
            }
        } catch (const SystemError& e) {
            throw ImageError(e.number(), e.what(), section.position);
        } catch (const std::out_of_range& e) {
            throw ImageError(error_number::OutOfRange, e.what(), section.position);
        } catch (const std::exception& e) {
            throw ImageError(error_number::Internal, e.what(), section.position);
        }
    }
}

namespace {

template <typename Image>
int decodeFrame(ConfigModel& model, Prompts& prompts, const std::string& eraFilePath, Image image)
{
    std::string step = "Setup";
    prompts.ShowWait("Decoding ERAM", "Decoding Controller Data");
    int result = kFailed;
    DecodeNotes notes;
    try {
        step = "Open File";
        if (!eraFilePath.empty())
            makeEmptyFile(eraFilePath);
        // Decoded into a copy: a failure leaves the caller's model as it was.
        ConfigModel decoded = model;
        DecodeImage(image(), decoded, notes);
        model = std::move(decoded);
        result = kDone;
    } catch (const ImageError& e) {
        if (const LayoutSection* section = SectionAt(e.position()))
            step = std::string(section->step);
        ReportSystemError(prompts, e, "LoadEram", "LoadEram", step, "Error in decoding download file");
    } catch (const std::exception& e) {
        ReportSystemError(prompts, e, "LoadEram", "LoadEram", step, "Error in decoding download file");
    }
    prompts.HideWait();
    if (result == kDone)
        ShowDecodeNotes(prompts, "ERAM Decode Warning", notes);
    return result;
}

} // namespace

int DecodeEram(ConfigModel& model, Prompts& prompts, const std::string& imagePath,
               const std::string& eraFilePath)
{
    return decodeFrame(model, prompts, eraFilePath, [&] { return ReadMemoryImage(imagePath); });
}

int DecodeEramImage(ConfigModel& model, Prompts& prompts, std::span<const std::uint8_t> image,
                    const std::string& eraFilePath)
{
    return decodeFrame(model, prompts, eraFilePath, [&] { return image; });
}

double BytesToSingle(const std::array<std::uint8_t, 4>& bytes)
{
    const std::uint32_t bits = std::uint32_t(bytes[0]) | std::uint32_t(bytes[1]) << 8
        | std::uint32_t(bytes[2]) << 16 | std::uint32_t(bytes[3]) << 24;
    const int exponent = int(bits >> 23 & 0xFF);
    const std::uint32_t fraction = bits & 0x7FFFFF;
    const std::uint32_t mantissa = exponent != 0 ? fraction | 0x800000 : fraction;
    // mantissa / 2^23 * 2^(exponent - 127); at most 2^129, far inside a double's range.
    const double value = std::ldexp(double(mantissa), exponent - 127 - 23);
    return (bits >> 31) != 0 ? -value : value;
}

std::optional<std::string> SetPointText(const std::array<std::uint8_t, 4>& bytes)
{
    if (bytes[0] == kErased && bytes[1] == kErased && bytes[2] == kErased && bytes[3] == kErased)
        return "0";
    // A float times 100 is exact in a double, so the rounding sees the true value.
    const double hundredths = RoundHalfEven(BytesToSingle(bytes) * 100.0);
    if (!(std::fabs(hundredths) <= double(kSetPointLimit)))
        return std::nullopt;
    const long value = static_cast<long>(hundredths);
    if (value == 0)
        return "0";
    return value < 0 ? "A" + std::to_string(-value) : std::to_string(value);
}

std::string DecodeMacroCode(std::string_view packed)
{
    std::string digits;
    for (char c : packed) {
        const auto byte = static_cast<std::uint8_t>(c);
        for (int nibble : {byte & 0x0F, byte >> 4})
            if (nibble != 0)
                digits += DTMFCodeToDigit(std::to_string(nibble));
    }
    return digits;
}

} // namespace vm880
