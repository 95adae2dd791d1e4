#include "memory_image_encoder.h"

#include "download/memory_layout.h"
#include "tables/code_lookup.h"
#include "tables/cw_chars.h"
#include "tables/dtmf_digits.h"
#include "tables/macro_coding.h"
#include "tables/vocabulary.h"

#include <bit>
#include <fstream>
#include <stdexcept>

namespace vm880::test {

namespace {

constexpr std::uint8_t kErased = 255;

using Bytes = std::vector<std::uint8_t>;

[[noreturn]] void refuse(const LayoutSection& s, int entry, const std::string& value,
                         const std::string& why)
{
    throw std::invalid_argument(EntryKey(s, entry) + " = \"" + value + "\": " + why);
}

// The pieces between single blanks; an empty text has none.
std::vector<std::string> tokens(const std::string& text)
{
    std::vector<std::string> pieces;
    if (text.empty())
        return pieces;
    for (std::string_view piece : SplitAtBlanks(text))
        pieces.emplace_back(piece);
    return pieces;
}

class EntryEncoder {
public:
    EntryEncoder(const LayoutSection& s, int entry, ConfigModel& m, std::span<std::uint8_t> out)
        : s_(s), e_(entry), m_(m), out_(out), v_(s.item(m, entry)) {}

    void Encode();

private:
    [[noreturn]] void no(const std::string& why) const { refuse(s_, e_, v_, why); }
    long number(const std::string& text, long max) const;
    void put(const Bytes& bytes, std::uint8_t fill);
    void putChars(const std::string& chars, std::size_t max, std::uint8_t fill);
    long byteValue() const;
    long wordValue() const;
    Bytes codeList(bool cw) const;
    Bytes macroBytes() const;
    Bytes packedDigits() const;
    Bytes setPoint() const;
    Bytes dtmfMemory() const;
    Bytes messageWords() const;

    const LayoutSection& s_;
    int e_;
    ConfigModel& m_; // only read; the layout's accessors take a non-const model
    std::span<std::uint8_t> out_;
    std::string v_;
};

long EntryEncoder::number(const std::string& text, long max) const
{
    if (text.empty() || text.size() > 6 || text.find_first_not_of("0123456789") != std::string::npos)
        no("not a number");
    const long value = std::stol(text);
    if (value > max)
        no("above " + std::to_string(max));
    return value;
}

void EntryEncoder::put(const Bytes& bytes, std::uint8_t fill)
{
    if (bytes.size() > out_.size())
        no("needs " + std::to_string(bytes.size()) + " positions, has " + std::to_string(out_.size()));
    for (std::size_t i = 0; i < out_.size(); ++i)
        out_[i] = i < bytes.size() ? bytes[i] : fill;
}

void EntryEncoder::putChars(const std::string& chars, std::size_t max, std::uint8_t fill)
{
    if (chars.size() > max)
        no("longer than " + std::to_string(max) + " characters");
    put(Bytes(chars.begin(), chars.end()), fill);
}

// The byte of a byte setting, undoing the section's substitution.
long EntryEncoder::byteValue() const
{
    switch (s_.rule) {
    case Rule::Erased255Empty:
    case Rule::Skip255:
        if (v_.empty())
            return kErased;
        break;
    case Rule::SchedHour:
        if (v_ == "0A" || v_ == "99")
            return 254;
        [[fallthrough]];
    case Rule::SchedMinute:
    case Rule::SchedMacro:
        if (v_ == "0")
            return kErased; // what an erased entry decodes to
        break;
    default:
        break;
    }
    return number(v_, 255);
}

long EntryEncoder::wordValue() const
{
    if (s_.rule == Rule::MeterType) {
        static const char* const kWords[] = {"0", "224", "62", "227", "101", "150", "176"};
        if (v_.empty())
            return 65535;
        return std::stol(kWords[number(v_, 6)]);
    }
    // A negative clock correction ("A5", "-5") is held as its 16-bit two's complement; the
    // program reads the word unsigned, so it arrives as a number its reader refuses.
    if (EntryKey(s_, e_) == "ClockCorrection" && !v_.empty() && (v_[0] == 'A' || v_[0] == 'a' || v_[0] == '-'))
        return v_.size() == 1 ? 0 : (65536 - number(v_.substr(1), 59)) % 65536;
    const long value = number(v_, 65535);
    if (s_.encoding == Encoding::ScaleWord && value == 65535)
        no("an erased scale word reads as 0");
    return value;
}

// Codes of an ID list; an empty piece becomes a code without an entry.
Bytes EntryEncoder::codeList(bool cw) const
{
    Bytes bytes;
    for (const std::string& token : tokens(v_)) {
        if (token.empty()) {
            bytes.push_back(kErased);
            continue;
        }
        const Text code = cw ? CWCharToCode(token) : VocabWordToCode(token);
        if (code.empty())
            no("\"" + token + "\" is not in the table");
        bytes.push_back(static_cast<std::uint8_t>(std::stoi(code)));
    }
    return bytes;
}

// The controller's macro coding; a code cut short (255, 510, 765) may only end a macro.
Bytes EntryEncoder::macroBytes() const
{
    Bytes bytes;
    if (v_ == "NONE STORED")
        return bytes;
    const std::vector<std::string> codes = tokens(v_);
    for (std::size_t i = 0; i < codes.size(); ++i) {
        const long code = number(codes[i], 1020);
        Bytes codeBytes = EncodeMacroCode(code);
        if (codeBytes.empty() && code > 0 && code % 255 == 0 && (code == 1020 || i + 1 == codes.size()))
            codeBytes.assign(std::size_t(code / 255), kErased);
        if (codeBytes.empty())
            no("code " + codes[i] + " has no byte form here");
        bytes.insert(bytes.end(), codeBytes.begin(), codeBytes.end());
    }
    return bytes;
}

Bytes EntryEncoder::packedDigits() const
{
    if (v_.size() > 8)
        no("more than eight digits");
    Bytes bytes;
    for (std::size_t i = 0; i < v_.size(); i += 2) {
        int nibbles[2] = {0, 0};
        for (std::size_t k = 0; k < 2 && i + k < v_.size(); ++k) {
            const int code = DTMFDigitToCode(v_.substr(i + k, 1));
            if (code < 1 || code > 15)
                no("digit " + v_.substr(i + k, 1) + " has no code below 16");
            nibbles[k] = code;
        }
        bytes.push_back(static_cast<std::uint8_t>(nibbles[0] | nibbles[1] << 4));
    }
    return bytes;
}

Bytes EntryEncoder::setPoint() const
{
    const bool negative = !v_.empty() && v_[0] == 'A';
    const long hundredths = number(negative ? v_.substr(1) : v_, 35000);
    const float value = static_cast<float>((negative ? -hundredths : hundredths) / 100.0);
    const auto bits = std::bit_cast<std::uint32_t>(value);
    return {std::uint8_t(bits), std::uint8_t(bits >> 8), std::uint8_t(bits >> 16), std::uint8_t(bits >> 24)};
}

// Each character is followed by one blank in the text.
Bytes EntryEncoder::dtmfMemory() const
{
    Bytes bytes;
    if (v_ == "NONE STORED" || v_.empty())
        return bytes;
    for (std::size_t i = 0; i < v_.size(); i += 2) {
        if (i + 1 < v_.size() && v_[i + 1] != ' ')
            no("characters are not separated by single blanks");
        bytes.push_back(static_cast<std::uint8_t>(v_[i]));
    }
    return bytes;
}

Bytes EntryEncoder::messageWords() const
{
    Bytes bytes;
    if (v_ == "NONE STORED" || v_.empty())
        return bytes;
    for (const std::string& word : tokens(v_)) {
        const Text code = VocabWordToCode(word);
        if (code.empty())
            no("\"" + word + "\" is not a vocabulary word");
        const int value = std::stoi(code);
        bytes.push_back(value == 0 ? kErased : static_cast<std::uint8_t>(value));
    }
    if (bytes.size() > 9)
        no("more than nine words");
    return bytes;
}

void EntryEncoder::Encode()
{
    switch (s_.encoding) {
    case Encoding::Unused:
        put({}, 0);
        break;
    case Encoding::Byte:
        out_[0] = static_cast<std::uint8_t>(byteValue());
        break;
    case Encoding::Word:
    case Encoding::ScaleWord: {
        const long value = wordValue();
        put({std::uint8_t(value & 0xFF), std::uint8_t(value >> 8)}, 0);
        break;
    }
    case Encoding::ZeroEndedText:
        putChars(s_.rule == Rule::EmptyIs0 && v_ == "0" ? std::string() : v_, out_.size() - 1, 0);
        break;
    case Encoding::CWList:
    case Encoding::VoiceList:
        put(codeList(s_.encoding == Encoding::CWList), kErased);
        break;
    case Encoding::MacroList:
        put(macroBytes(), 0);
        break;
    case Encoding::PackedDigits:
        put(packedDigits(), 0);
        break;
    case Encoding::ScaledSingle:
        put(setPoint(), 0);
        break;
    case Encoding::DayAndWeek: {
        const std::string week = s_.other(m_, e_);
        if (v_.size() == 1 && !week.empty())
            out_[0] = static_cast<std::uint8_t>(number(week, 9) * 10 + number(v_, 9));
        else if (v_.size() == 2)
            no("a two-digit day reads back as a day and a week");
        else
            out_[0] = static_cast<std::uint8_t>(number(v_, 255));
        break;
    }
    case Encoding::DTMFMemory:
        put(dtmfMemory(), kErased);
        break;
    case Encoding::MessageVocabulary:
        put(messageWords(), 0);
        break;
    case Encoding::RemotePrefix:
    case Encoding::RemoteFrequency:
        if (s_.encoding == Encoding::RemoteFrequency && v_ == "NONE STORED")
            put({}, 0);
        else
            putChars(v_, out_.size() - 1, 0);
        break;
    }
}

} // namespace

std::vector<std::uint8_t> EncodeMemoryImage(const ConfigModel& model)
{
    // The counts of the ID lists follow from the texts.
    ConfigModel work = model;
    for (const LayoutSection& s : MemoryLayout())
        if (s.encoding == Encoding::CWList || s.encoding == Encoding::VoiceList)
            for (int e = 1; e <= s.entries; ++e)
                s.other(work, e) = std::to_string(tokens(s.item(work, e)).size());

    std::vector<std::uint8_t> image(kMemoryImageSize, 0);
    for (const LayoutSection& s : MemoryLayout())
        for (int e = 1; e <= s.entries; ++e) {
            const std::span<std::uint8_t> out(image.data() + EntryPosition(s, e), std::size_t(s.width));
            if (s.encoding != Encoding::Unused)
                EntryEncoder(s, e, work, out).Encode();
        }
    return image;
}

std::string MemoryImageText(std::span<const std::uint8_t> image)
{
    std::string text;
    for (std::size_t i = 0; i < image.size(); ++i)
        text += std::to_string(i) + "," + std::to_string(image[i]) + "\r\n";
    return text;
}

void WriteMemoryImage(const std::string& path, std::span<const std::uint8_t> image)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << MemoryImageText(image);
    if (!out)
        throw std::runtime_error("cannot write " + path);
}

namespace {

std::string threeDigits(int n)
{
    std::string s = std::to_string(n);
    return std::string(3 - s.size(), '0') + s;
}

std::string twoDigits(int n)
{
    return n < 10 ? "0" + std::to_string(n) : std::to_string(n);
}

} // namespace

std::vector<std::string> APRecords(const ConfigModel& m)
{
    std::vector<std::string> records;
    for (int i = 1; i <= 200; ++i)
        if (!m.AutoDial(i).empty())
            records.push_back("RA" + threeDigits(i) + m.AutoDial(i));
    for (int i = 1; i <= 100; ++i)
        if (!m.TollRestrict(i).empty())
            records.push_back("RT" + threeDigits(i) + m.TollRestrict(i));
    records.push_back("RS" + m.AnswerCode);
    records.push_back("RR" + m.RingNumber);
    return records;
}

std::vector<std::string> RTCRecords(const ConfigModel& m)
{
    auto unused = [](const Text& t) { return t.empty() || t == "NONE" || t == "NONE STORED"; };
    std::vector<std::string> records;
    for (int i = 11; i <= 40; ++i) {
        if (unused(m.FreqString(i)))
            continue;
        // The record's fields have fixed widths: anything else has no record form.
        const std::pair<const char*, const Text*> fields[] = {
            {"FreqString", &m.FreqString(i)}, {"CTCSS", &m.CTCSS(i)}, {"CTCSSMode", &m.CTCSSMode(i)},
            {"RadioMode", &m.RadioMode(i)}};
        const std::size_t widths[] = {7, 2, 1, 1};
        for (std::size_t f = 0; f < 4; ++f)
            if (fields[f].second->size() != widths[f])
                throw std::invalid_argument(std::string(fields[f].first) + "(" + std::to_string(i) + ") = \""
                                            + *fields[f].second + "\": the clock board's record holds "
                                            + std::to_string(widths[f]) + " character(s) there");
        records.push_back("T1" + twoDigits(i - 10) + m.FreqString(i) + m.CTCSS(i) + m.CTCSSMode(i)
                          + m.RadioMode(i));
    }
    for (int i = 41; i <= 70; ++i) {
        if (unused(m.MessageMacro(i)))
            continue;
        std::string record = "T2" + twoDigits(i - 40);
        for (const std::string& word : tokens(m.MessageMacro(i))) {
            const Text code = VocabWordToCode(word);
            if (code.empty() || code == "013")
                throw std::invalid_argument("MessageMacro(" + std::to_string(i) + ") = \"" + m.MessageMacro(i)
                                            + "\": the word \"" + word + "\" cannot be written in a record");
            record += static_cast<char>(std::stoi(code));
        }
        records.push_back(record);
    }
    for (int i = 21; i <= 50; ++i) {
        if (unused(m.DTMF(i)))
            continue;
        std::string digits;
        for (const std::string& digit : tokens(m.DTMF(i)))
            digits += digit;
        records.push_back("T3" + twoDigits(i - 20) + digits + "00");
    }
    return records;
}

std::string OptionFileText(const std::vector<std::string>& records)
{
    std::string text;
    for (const std::string& r : records)
        text += r + "\r\n";
    return text + "Complete\r\n";
}

} // namespace vm880::test

namespace vm880::test {

namespace {

template <typename Array>
void fill(Array& array, std::initializer_list<const char*> values)
{
    int i = 1;
    for (const char* v : values)
        array(i++) = v;
}

} // namespace

ConfigModel SampleControllerModel()
{
    ConfigModel m;
    m.FirmwareVersion = "6012";

    // Timers
    fill(m.HangTime, {"50", "0", "255"});
    fill(m.TimeOut, {"180", "32767", "0"});
    fill(m.TOTReset, {"0", "2", "4"});
    fill(m.IIDTime, {"10", "0", "255"});
    fill(m.PIDTime, {"10", "1", "255"});
    fill(m.InActiveTime, {"20", "0", "255"});
    fill(m.InActivityMacro, {"90", "12", "45"});
    fill(m.DTMFTime, {"7", "0", "99"});
    fill(m.CTCSSTime, {"50", "0", "255"});
    fill(m.KerchunkTime, {"1000", "300", "32000"});
    fill(m.IDSpeakTime, {"600", "0", "15300"});
    fill(m.AnnounceTime, {"0", "600", "3600"});
    fill(m.TailMessageNum, {"0", "2", "3"});
    fill(m.TailCounter, {"0", "17", "254"});
    fill(m.P1MessageNum, {"90", "10", "33"});
    fill(m.P2MessageNum, {"41", "90", "12"});
    fill(m.P3MessageNum, {"11", "22", "90"});
    fill(m.AuxTime, {"50", "0", "32767"});
    fill(m.GeneralTimer, {"0", "600", "32767"});
    fill(m.GeneralTimerMacro, {"90", "10", "45"});
    m.FanTime = "1";
    m.FanSelect = "1";
    m.XmtDelay = "1000";
    m.TimeoutLink = "0";

    // Port switches and logic alarms
    fill(m.TxEnable, {"1", "1", "0"});
    fill(m.FDup, {"1", "0", "1"});
    fill(m.PLAccess, {"0", "1", "2"});
    fill(m.DTMFEnable, {"1", "0", "1"});
    fill(m.DTMFNeedPL, {"0", "1", "0"});
    fill(m.DTMFMute, {"1", "1", "0"});
    fill(m.DTMFCovertone, {"0", "0", "1"});
    fill(m.MonMix, {"1", "0", "0"});
    fill(m.Kerchunk, {"0", "1", "1"});
    fill(m.SpeechOverride, {"1", "0", "1"});
    fill(m.SpeechIDOverride, {"0", "1", "1"});
    fill(m.CTCSSID, {"1", "0", "0"});
    fill(m.CTCSSCT, {"0", "1", "0"});
    fill(m.PLEncodePolarity, {"1", "0", "1"});
    fill(m.COSClose, {"0", "1", "1"});
    m.AllowTerminatorSpeech = "1";
    m.IDStartSelect = "0";
    fill(m.Alarm, {"1", "0", "1", "1", "0"});
    fill(m.AlarmLowMacroNum, {"90", "10", "11", "89", "50"});
    fill(m.AlarmHighMacroNum, {"12", "90", "13", "14", "88"});

    // Scheduler and clock: every hour, disabled, midnight, weekly and monthly set points
    for (int i = 1; i <= 20; ++i) {
        m.DOW(i) = std::to_string(i % 10);
        m.Week(i) = i % 3 == 0 ? std::to_string(i % 5 + 1) : "";
        m.Hours(i) = i == 1 ? "0A" : i == 2 ? "25" : twoDigits((i * 7) % 24);
        m.Minutes(i) = twoDigits((i * 13) % 60);
        m.MacroToRun(i) = twoDigits(i == 3 ? 1 : 90 - i);
    }
    m.TwentyFour = "1";
    m.SayHour = "1";
    m.SayYear = "0";
    m.ClockCorrection = "17";

    // Analog meters, scaled up to a 10-bit converter's 1023 and the settings' 32767
    for (int i = 1; i <= 8; ++i) {
        m.Meter(i) = std::to_string(i % 7);
        m.RealLow(i) = std::to_string(i * 100);
        m.MeterLow(i) = std::to_string(i);
        m.RealHigh(i) = i == 8 ? "32767" : std::to_string(i * 1000 + 1);
        m.MeterHigh(i) = i == 1 ? "1023" : std::to_string(i * 300);
        m.MeterAlarmType(i) = std::to_string(i % 3);
        m.MeterNum(i) = std::to_string(9 - i);
        m.MeterMacro(i) = std::to_string(80 + i);
    }
    m.Vref = "500";
    fill(m.MeterSetPoint, {"0", "1250", "A250", "35000", "A35000", "1", "A1", "32768"});

    // Remote base: memories 1-10 in the main image
    m.RadioType = "3";
    m.YaesuType = "2";
    m.RemoteBasePrefix = "C1";
    for (int i = 1; i <= 10; ++i) {
        m.FreqString(i) = std::to_string(1465200 + i % 3 + 1);
        m.CTCSS(i) = std::to_string(10 + i * 3);
        m.CTCSSMode(i) = std::to_string(i % 3);
        m.RadioMode(i) = std::to_string(i % 5 + 1);
    }

    // Identification
    fill(m.VoiceID1, {"V M EIGHT EIGHTY", "W ONE A W REPEATER", "ZERO"});
    fill(m.VoiceID2, {"HELLO", "HELLO REPEATER SYSTEM IS READY", "A B C D E F G H I J K L M N O P Q R S T U V"});
    fill(m.VoiceID3, {"PORT ONE", "PORT TWO", "PORT THREE"});
    fill(m.CWID1, {"V M 8 8 0", "W 1 A W / R", "A B C D E F G H I J K L M N O"});
    fill(m.CWID2, {"K 1 X X WORD_SPACE SK", "?", "0 - , AR"});
    fill(m.CWSpeed, {"20", "5", "50"});
    fill(m.CWTone1, {"500", "200", "3500"});
    fill(m.CWTone2, {"0000", "800", "3500"});
    fill(m.SpeechEnable, {"1", "0", "1"});
    fill(m.ID1Extras, {"0", "5", "11"});
    fill(m.ID2Extras, {"1", "10", "3"});
    fill(m.ID3Extras, {"7", "0", "2"});

    // Access codes, regeneration, autopatch and special prefixes
    fill(m.CurrentPortUnlock, {"17306", "27306AB*", "3"});
    m.Lock = "#";
    m.Terminator = "D";
    m.DTMFRegenPrefix = "90817";
    m.DTMFPort = "99";
    m.DTMFSpeech = "45";
    m.APPrefix = "A1";
    m.EnablePatch = "12";
    m.PatchMute = "1";
    m.DTMFTestPrefix = "99";
    m.PreAccessPrefix = "0";
    m.PreProgramPrefix = "1234";
    m.MacroSubset = "0190";
    m.MacroSubsetEnable = "1";

    // Macros: one-, two-, three- and four-byte codes, full and empty slots
    for (int i = 1; i <= 40; ++i) {
        m.Macro(i) = "NONE STORED";
        m.MacroCode(i) = "5000" + twoDigits(i);
    }
    m.Macro(1) = "001 010 300";
    m.Macro(2) = "766 791 520 254 256";        // 4 + 4 + 3 + 1 + 2 = 14 bytes
    m.Macro(40) = "001 001 001 001 001 001 001 001 001 001 001 001 001 001 001";
    m.MacroCode(1) = "1";
    m.MacroCode(2) = "0*#ABC98";
    for (int j = 1; j <= 50; ++j) {
        m.ShortMacro(j) = j % 2 == 0 ? "NONE STORED" : "045";
        m.ShortMacroCode(j) = std::to_string(6000 + j);
    }
    m.ShortMacro(1) = "766";
    m.ShortMacro(3) = "001 509";
    m.ShortMacro(5) = "010 020 030 040";
    for (int i = 1; i <= 90; ++i) {
        static const char* const kPorts[] = {"1", "2", "3", "12", "13", "23", "123"};
        m.PortToAllow(i) = kPorts[i % 7];
    }
    fill(m.RcvMacroActive, {"90", "1", "45"});
    fill(m.RcvMacroInactive, {"89", "90", "12"});

    // Message macros 1-40: nine words, "ZERO", and empty ones
    for (int i = 1; i <= 40; ++i)
        m.MessageMacro(i) = i % 4 == 0 ? "NONE STORED" : "GOOD MORNING";
    m.MessageMacro(1) = "ONE TWO THREE FOUR FIVE SIX SEVEN EIGHT NINE";
    m.MessageMacro(2) = "ZERO";
    m.MessageMacro(3) = "TEN ZERO ONE";

    // Courtesy tones
    CourtesyTexts* const delays[] = {&m.Delay1, &m.Delay2, &m.Delay3, &m.Delay4};
    CourtesyTexts* const durations[] = {&m.Dur1, &m.Dur2, &m.Dur3, &m.Dur4};
    CourtesyTexts* const tones[] = {&m.Tone1, &m.Tone2, &m.Tone3, &m.Tone4,
                                    &m.Tone5, &m.Tone6, &m.Tone7, &m.Tone8};
    for (int p = 1; p <= 3; ++p)
        for (int t = 1; t <= 10; ++t) {
            for (int s = 0; s < 4; ++s) {
                (*delays[s])(p, t) = std::to_string((p * 1000 + t * 100 + s * 10) % 10001);
                (*durations[s])(p, t) = std::to_string(t == 10 ? 10000 : 50 * (s + t));
            }
            for (int k = 0; k < 8; ++k)
                (*tones[k])(p, t) = std::to_string(k == 7 && t == 10 ? 3500 : 100 * (k + p) + t);
        }

    // DTMF memories 1-20
    for (int i = 1; i <= 20; ++i)
        m.DTMF(i) = i % 5 == 0 ? "NONE STORED" : "1 2 3";
    m.DTMF(1) = "1 2 3 4 5 6 7 8 9 0";
    m.DTMF(2) = "* # A B C D";
    m.DTMFDur = "100";
    m.DTMFDelay = "255";

    // Settings the main image does not hold: port receivers, monthly flags, option boards
    fill(m.RxEnable, {"1", "0", "1"});
    for (int i = 1; i <= 20; ++i)
        m.Monthly(i) = m.Week(i).empty() ? "0" : "1";
    m.DTMFMuteDigitSelect = "1";
    m.APTimeOut = "120";
    m.AutoDial(1) = "5551212";
    m.AutoDial(17) = "*18005551234#";
    m.AutoDial(200) = "911";
    m.TollRestrict(1) = "1900";
    m.TollRestrict(100) = "976";
    m.AnswerCode = "6085";
    m.RingNumber = "2";
    for (int i = 11; i <= 40; ++i) {
        const bool used = i % 2 == 1;
        m.FreqString(i) = used ? "146240" + std::to_string(i % 3 + 1) : "NONE";
        m.CTCSS(i) = used ? std::to_string(i) : "NONE";
        m.CTCSSMode(i) = used ? std::to_string(i % 3) : "NONE";
        m.RadioMode(i) = used ? std::to_string(i % 5 + 1) : "NONE";
    }
    for (int i = 41; i <= 70; ++i)
        m.MessageMacro(i) = i % 3 == 0 ? "NONE STORED" : "REPEATER READY";
    m.MessageMacro(70) = "ZERO ONE TWO THREE FOUR FIVE SIX SEVEN EIGHT";
    for (int i = 21; i <= 50; ++i)
        m.DTMF(i) = i % 4 == 0 ? "NONE STORED" : "9 8 7";
    m.DTMF(50) = "* # A B C D 0 1 2 3";

    // DVR tables
    for (int i = 1; i <= 64; ++i)
        m.DVRSeconds(i) = std::to_string(i * 3);
    for (int i = 1; i <= 20; ++i) {
        m.DVRTracks(i) = std::to_string(i);
        m.DVRRowsUsed(i) = std::to_string(i * 500);
    }
    return m;
}

} // namespace vm880::test
