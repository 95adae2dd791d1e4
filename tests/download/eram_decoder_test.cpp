// Decoding single sections of the main memory image: the encodings, the substitutions the
// controller's values need, the erased value 255, and values that cannot be stored as read.

#include "download/eram_decoder.h"
#include "download/memory_layout.h"
#include "model/ini_document.h"
#include "model/settings_writer.h"

#include <gtest/gtest.h>

#include <bit>
#include <functional>
#include <random>

using namespace vm880;

namespace {

using Bytes = std::vector<std::uint8_t>;
using Getter = std::function<const Text&(const ConfigModel&)>;

struct Poke {
    int position;
    Bytes bytes;
};

// Decodes an image of zeros with the given bytes in place, into a model whose settings hold
// "old" where the image leaves them alone.
ConfigModel decodeWith(std::initializer_list<Poke> pokes, DecodeNotes* notes = nullptr)
{
    Bytes image(kMemoryImageSize, 0);
    for (const Poke& p : pokes)
        std::copy(p.bytes.begin(), p.bytes.end(), image.begin() + p.position);
    ConfigModel m;
    m.Week.fill("old");
    m.ID2Extras.fill("old");
    DecodeNotes ignored;
    DecodeImage(image, m, notes ? *notes : ignored);
    return m;
}

Bytes chars(std::string_view text)
{
    return Bytes(text.begin(), text.end());
}

Bytes floatBytes(float value)
{
    const auto bits = std::bit_cast<std::uint32_t>(value);
    return {std::uint8_t(bits), std::uint8_t(bits >> 8), std::uint8_t(bits >> 16), std::uint8_t(bits >> 24)};
}

struct Case {
    const char* what;
    std::initializer_list<Poke> pokes;
    Getter get;
    const char* expected;
};

#define GET(expr) [](const ConfigModel& m) -> const Text& { return m.expr; }

} // namespace

TEST(EramDecoder, NumbersAndTheirSubstitutions)
{
    const Case cases[] = {
        {"byte", {{15, {207}}}, GET(HangTime(1)), "207"},
        {"word low byte first", {{30, {25, 0}}}, GET(DTMFTime(1)), "25"},
        {"word high byte", {{41, {44, 1}}}, GET(KerchunkTime(2)), "300"},
        {"CW tone 2 of 0", {{108, {0, 0}}}, GET(CWTone2(1)), "0000"},
        {"CW tone 1 of 0", {{102, {0, 0}}}, GET(CWTone1(1)), "0"},
        {"say hour 2", {{14, {2}}}, GET(SayHour), "0"},
        {"say hour 1", {{14, {1}}}, GET(SayHour), "1"},
        {"speech ID override erased", {{100, {255}}}, GET(SpeechIDOverride(2)), "0"},
        {"encode polarity erased", {{57, {255}}}, GET(PLEncodePolarity(3)), ""},
        {"DTMF duration erased", {{1684, {255}}}, GET(DTMFDur), ""},
        {"meter word 225", {{184, {225, 0}}}, GET(Meter(2)), ""},
        {"meter word 224 is volts", {{184, {224, 0}}}, GET(Meter(2)), "1"},
        {"meter word 176 is percent", {{196, {176, 0}}}, GET(Meter(8)), "6"},
        {"scale word 255, 255", {{198, {255, 255}}}, GET(RealLow(1)), "0"},
        {"scale word 255, 3", {{198, {255, 3}}}, GET(RealLow(1)), "1023"},
        {"scale word 255, 0", {{200, {255, 0}}}, GET(RealLow(2)), "255"},
        {"scale word 0, 255", {{246, {0, 255}}}, GET(MeterHigh(1)), "65280"},
        {"meter number erased", {{262, {255}}}, GET(MeterNum(1)), "0"},
        {"alarm type 21", {{270, {21}}}, GET(MeterAlarmType(1)), "1"},
        {"alarm type 7", {{270, {7}}}, GET(MeterAlarmType(1)), "7"},
        {"alarm type erased", {{270, {255}}}, GET(MeterAlarmType(1)), "0"},
        {"meter macro erased", {{317, {255}}}, GET(MeterMacro(8)), "0"},
        {"receiver macro 91", {{318, {91}}}, GET(RcvMacroActive(1)), "90"},
        {"receiver macro 90", {{323, {90}}}, GET(RcvMacroInactive(3)), "90"},
        {"inactivity macro 91", {{2041, {91, 0}}}, GET(InActivityMacro(1)), "1"},
        {"inactivity macro 90", {{2045, {90, 0}}}, GET(InActivityMacro(3)), "90"},
        {"day and week", {{612, {23}}}, GET(DOW(1)), "3"},
        {"day and week: week", {{612, {23}}}, GET(Week(1)), "2"},
        {"day alone", {{613, {5}}}, GET(DOW(2)), "5"},
        {"day alone leaves the week", {{613, {5}}}, GET(Week(2)), "old"},
        {"hour 254", {{632, {254}}}, GET(Hours(1)), "0A"},
        {"hour erased", {{632, {255}}}, GET(Hours(1)), "0"},
        {"hour 7", {{632, {7}}}, GET(Hours(1)), "07"},
        {"hour 13", {{632, {13}}}, GET(Hours(1)), "13"},
        {"minute erased", {{652, {255}}}, GET(Minutes(1)), "0"},
        {"minute 0", {{652, {0}}}, GET(Minutes(1)), "00"},
        {"scheduled macro 0", {{672, {0}}}, GET(MacroToRun(1)), "01"},
        {"scheduled macro erased", {{672, {255}}}, GET(MacroToRun(1)), "0"},
        {"scheduled macro 5", {{672, {5}}}, GET(MacroToRun(1)), "05"},
        {"ID extras erased: nothing taken", {{2464, {255}}}, GET(ID2Extras(2)), "old"},
        {"ID extras port 2 ID 3", {{2465, {9}}}, GET(ID3Extras(2)), "9"},
        {"courtesy delay 1, port 2, tone 3", {{1216, {0x10, 0x27}}}, GET(Delay1(2, 3)), "10000"},
        {"DVR rows used", {{2028, {0x88, 0x13}}}, GET(DVRRowsUsed(20)), "5000"},
        {"set point 12.5", {{278, {0, 0, 72, 65}}}, GET(MeterSetPoint(1)), "1250"},
        {"set point erased", {{282, {255, 255, 255, 255}}}, GET(MeterSetPoint(2)), "0"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.get(decodeWith(c.pokes)), c.expected) << c.what;
}

TEST(EramDecoder, TextsListsAndMacros)
{
    const Bytes nines(9, '9');
    const Case cases[] = {
        {"prefix starting with 0", {{0, {0, '1'}}}, GET(PreAccessPrefix), "0"},
        {"prefix", {{0, chars("12*")}}, GET(PreAccessPrefix), "12*"},
        {"nine-position code without a 0 keeps eight", {{72, nines}}, GET(CurrentPortUnlock(1)), "99999999"},
        {"terminator keeps one", {{3920, chars("DD")}}, GET(Terminator), "D"},
        {"DTMF memory up to 255", {{1686, {49, 42, 35, 255, 50}}}, GET(DTMF(1)), "1 * #"},
        {"DTMF memory of eleven", {{1686, chars("12345678901")}}, GET(DTMF(1)), "1 2 3 4 5 6 7 8 9 0 1"},
        {"DTMF memory erased", {{1697, {255, 49}}}, GET(DTMF(2)), "NONE STORED"},
        {"DTMF memory starting with 0", {{1697, {0, 49, 255}}}, GET(DTMF(2)), "NONE STORED"},
        {"DTMF memory starting with a blank", {{1697, {32, 49, 255}}}, GET(DTMF(2)), "NONE STORED"},
        {"message macro up to 0", {{2060, {5, 255, 0, 7}}}, GET(MessageMacro(1)), "FIVE ZERO"},
        {"message macro of ten values keeps nine", {{2060, Bytes(10, 1)}}, GET(MessageMacro(1)),
         "ONE ONE ONE ONE ONE ONE ONE ONE ONE"},
        {"message macro empty", {{2070, {0, 5}}}, GET(MessageMacro(2)), "NONE STORED"},
        {"long macro", {{2469, {10, 255, 45, 0}}}, GET(Macro(1)), "010 300"},
        {"long macro empty", {{2485, {0, 10}}}, GET(Macro(2)), "NONE STORED"},
        {"short macro", {{3309, {255, 45, 0}}}, GET(ShortMacro(1)), "300"},
        {"short macro filling its slot", {{3314, {1, 2, 3, 4, 5}}}, GET(ShortMacro(2)), "001 002 003 004 005"},
        {"recall code", {{3109, {0x21, 0xBA, 0xF0, 0x0C}}}, GET(MacroCode(1)), "120*C#"},
        {"recall code empty", {{3114, {0, 0x21}}}, GET(MacroCode(2)), ""},
        {"recall code: fifth byte never", {{3559, {0x11, 0x11, 0x11, 0x11, 0x22}}}, GET(ShortMacroCode(1)), "11111111"},
        {"remote prefix", {{3909, {'1', 252, '2', 0, '3'}}}, GET(RemoteBasePrefix), "12"},
        {"remote prefix: sixth never", {{3909, chars("123456")}}, GET(RemoteBasePrefix), "12345"},
        {"frequency of seven", {{3946, chars("1465202\0")}}, GET(FreqString(1)), "1465202"},
        {"frequency skips 255", {{3946, {'1', 255, '2', 0}}}, GET(FreqString(1)), "12"},
        {"frequency empty", {{3954, {0, '1'}}}, GET(FreqString(2)), "NONE STORED"},
        {"frequency erased", {{3954, Bytes(8, 255)}}, GET(FreqString(2)), "NONE STORED"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.get(decodeWith(c.pokes)), c.expected) << c.what;
}

// The count decides how many codes are taken; an empty first entry stops the list.
TEST(EramDecoder, IdentificationListsFollowTheirCounts)
{
    // CW codes: 21 A, 22 B, 99 none; vocabulary: 1 ONE, 2 TWO, 255 none.
    const Case cases[] = {
        {"CW count 2", {{117, {2}}, {324, {21, 22, 23}}}, GET(CWID1(1)), "A B"},
        {"CW count 0", {{117, {0}}, {324, {21, 22}}}, GET(CWID1(1)), ""},
        {"CW count above the codes", {{117, {200}}, {324, Bytes(15, 21)}}, GET(CWID1(1)),
         "A A A A A A A A A A A A A A A"},
        {"CW first code without entry", {{117, {3}}, {324, {99, 21, 22}}}, GET(CWID1(1)), ""},
        {"CW later code without entry", {{117, {3}}, {324, {21, 99, 22}}}, GET(CWID1(1)), "A  B"},
        {"CW ID 2 of port 3", {{122, {1}}, {399, {83}}}, GET(CWID2(3)), "V"},
        {"voice count 3", {{123, {3}}, {414, {1, 2, 0, 5}}}, GET(VoiceID1(1)), "ONE TWO ZERO"},
        {"voice 22 words", {{131, {22}}, {590, Bytes(22, 2)}}, GET(VoiceID3(3)),
         "TWO TWO TWO TWO TWO TWO TWO TWO TWO TWO TWO TWO TWO TWO TWO TWO TWO TWO TWO TWO TWO TWO"},
        {"voice code without entry", {{126, {3}}, {480, {1, 255, 2}}}, GET(VoiceID2(1)), "ONE  TWO"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.get(decodeWith(c.pokes)), c.expected) << c.what;
}

// Set points: the whole range of the settings (-350.00 to 350.00), negatives with "A", and
// any packed value outside it a reported bad value, whatever its exponent.
TEST(EramDecoder, SetPointsCoverTheSettingsRange)
{
    struct SetPoint { Bytes bytes; const char* expected; bool noted; };
    const SetPoint cases[] = {
        {floatBytes(350.0f), "35000", false},
        {floatBytes(-350.0f), "A35000", false},
        {floatBytes(327.68f), "32768", false},
        {floatBytes(-2.5f), "A250", false},
        {floatBytes(0.01f), "1", false},
        {floatBytes(-0.0f), "0", false},
        {floatBytes(0.125f), "12", false},   // 12.5: a half goes to the even neighbour
        {floatBytes(0.375f), "38", false},   // 37.5
        {floatBytes(1e-30f), "0", false},
        {{1, 0, 0, 0}, "0", false},          // exponent 0: a tiny fraction
        {floatBytes(350.01f), "0", true},
        {floatBytes(-1e6f), "0", true},
        {{0, 0, 0x80, 0x7F}, "0", true},     // exponent 255: 2^128, no special meaning
        {{0xFF, 0xFF, 0xFF, 0x7F}, "0", true},
        {{0xFF, 0xFF, 0xFF, 0xFF}, "0", false}, // erased
        {{0xFF, 0xFF, 0xFF, 0xFE}, "0", true},
    };
    for (const SetPoint& c : cases) {
        DecodeNotes notes;
        const ConfigModel m = decodeWith({{302, c.bytes}}, &notes);
        EXPECT_EQ(m.MeterSetPoint(7), c.expected) << int(c.bytes[3]) << " " << int(c.bytes[2]);
        ASSERT_EQ(notes.size(), c.noted ? 1u : 0u) << c.expected;
        if (c.noted) {
            EXPECT_EQ(notes[0].rfind("MeterSetPoint(7) (positions 302-305): the set point ", 0), 0u) << notes[0];
        }
    }
    EXPECT_EQ(BytesToSingle({0, 0, 0x80, 0x7F}), std::ldexp(1.0, 128));
    EXPECT_EQ(BytesToSingle({1, 0, 0, 0}), std::ldexp(1.0, -150));
}

// For every exponent but 0 and 255 the packed value is the machine's own float.
TEST(EramDecoder, PackedValuesMatchTheMachinesFloats)
{
    std::mt19937 random(880);
    for (int i = 0; i < 20000; ++i) {
        const std::uint32_t bits = random();
        const int exponent = int(bits >> 23 & 0xFF);
        if (exponent == 0 || exponent == 255)
            continue;
        const std::array<std::uint8_t, 4> bytes = {std::uint8_t(bits), std::uint8_t(bits >> 8),
                                                   std::uint8_t(bits >> 16), std::uint8_t(bits >> 24)};
        ASSERT_EQ(BytesToSingle(bytes), double(std::bit_cast<float>(bits))) << std::hex << bits;
    }
}

// Characters that a settings file cannot hold become "?" and are listed; nothing else is noted.
TEST(EramDecoder, RawBytesNeverReachTheSettings)
{
    DecodeNotes notes;
    const ConfigModel m = decodeWith({{72, {'1', 13, '2', 10, 0}},
                                      {3915, {1, 127, '#', 0}},
                                      {3920, {200, 0}},
                                      {1686, {'1', 0, 9, 255}},
                                      {3909, {'C', 255, 0}},
                                      {3946, {'1', 27, 0}}},
                                     &notes);
    EXPECT_EQ(m.CurrentPortUnlock(1), "1?2?");
    EXPECT_EQ(m.Lock, "??#");
    EXPECT_EQ(m.Terminator, "?");
    EXPECT_EQ(m.DTMF(1), "1 ? ?");
    EXPECT_EQ(m.RemoteBasePrefix, "C?");
    EXPECT_EQ(m.FreqString(1), "1?");
    ASSERT_EQ(notes.size(), 6u);
    EXPECT_EQ(notes[0], "CurrentPortUnlock(1) (positions 72-80): 2 characters that a settings file "
                        "cannot hold replaced by \"?\"");
    EXPECT_EQ(notes[1].rfind("DTMF(1) (positions 1686-1696): 2 characters", 0), 0u) << notes[1];

    // Whatever the image holds, every value can be written to a settings file.
    std::mt19937 random(4057);
    for (int round = 0; round < 20; ++round) {
        Bytes image(kMemoryImageSize);
        for (std::uint8_t& b : image)
            b = static_cast<std::uint8_t>(random() % 4 == 0 ? 255 : random());
        ConfigModel decoded;
        DecodeNotes ignored;
        DecodeImage(image, decoded, ignored);
        ForEachSettingsEntry(decoded, [&](std::string_view, std::string_view key, std::string_view value) {
            EXPECT_TRUE(IniDocument::ValidValue(value)) << key;
            for (char c : value)
                ASSERT_TRUE(c >= 0x20 && c <= 0x7E) << key << " holds code " << int(static_cast<unsigned char>(c));
        });
    }
}

TEST(EramDecoder, DecodeMacroCodeTakesLowThenHighNibbles)
{
    EXPECT_EQ(DecodeMacroCode("\x21"), "12");
    EXPECT_EQ(DecodeMacroCode("\x0A\xB0"), "0*");
    EXPECT_EQ(DecodeMacroCode("\xDC\xFE"), "#ABC");
    EXPECT_EQ(DecodeMacroCode(""), "");
    EXPECT_EQ(DecodeMacroCode(std::string_view("\x00\x01", 2)), "1");
}
