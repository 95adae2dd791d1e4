#include "tables/macro_coding.h"
#include "tables/macro_functions.h"
#include "tables/macro_text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace vm880;

namespace {

using Bytes = std::vector<std::uint8_t>;

std::string decode(const Bytes& bytes)
{
    return DecodeMacroSlot(bytes);
}

std::vector<int> tableCodes()
{
    InitMacroFunctionTable();
    std::vector<int> codes;
    for (const CodeRow& row : MacroFunctionTable())
        if (!row.code.empty())
            codes.push_back(std::stoi(std::string(row.code)));
    return codes;
}

} // namespace

TEST(MacroCoding, CodesAtTheByteBoundaries)
{
    struct Case { long long code; Bytes bytes; };
    const Case cases[] = {
        {1, {1}},
        {254, {254}},
        {255, {}},
        {256, {255, 1}},
        {300, {255, 45}},
        {509, {255, 254}},
        {510, {}},
        {511, {255, 255, 1}},
        {764, {255, 255, 254}},
        {765, {}},
        {766, {255, 255, 255, 1}},
        {791, {255, 255, 255, 26}},
        {1019, {255, 255, 255, 254}},
        {1020, {}},
        {0, {}},
        {-1, {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(EncodeMacroCode(c.code), c.bytes) << c.code;
}

// The byte count charges every number; for coded numbers it must agree with the coding, and
// everywhere with the controller's limits: 1 below 256, 2 below 511, 3 below 766, else 4.
TEST(MacroCoding, ByteCountFollowsTheCodingAndTheLimits)
{
    for (long long v = -300; v <= 2100; ++v) {
        const int limitsRule = (v > 0 && v < 256) ? 1 : (v >= 256 && v < 511) ? 2
                             : (v >= 511 && v < 766) ? 3 : 4;
        EXPECT_EQ(MacroCodeByteCount(v), limitsRule) << v;
        const Bytes bytes = EncodeMacroCode(v);
        if (!bytes.empty()) {
            EXPECT_EQ(static_cast<int>(bytes.size()), MacroCodeByteCount(v)) << v;
        }
    }
}

TEST(MacroCoding, EveryFunctionCodeRoundTrips)
{
    const std::vector<int> codes = tableCodes();
    ASSERT_EQ(codes.size(), 698u);
    for (int code : codes) {
        const std::string text = FormatMacroCode(code);
        ASSERT_EQ(text.size(), 3u);
        const Bytes bytes = EncodeMacroCode(code);
        ASSERT_FALSE(bytes.empty()) << code;
        EXPECT_EQ(static_cast<int>(bytes.size()), MacroByteCount(text)) << code;

        // Alone in a short slot, and between neighbours in a long slot.
        const auto shortSlot = EncodeMacroSlot(text, kShortMacroSlotBytes);
        ASSERT_TRUE(shortSlot) << code;
        EXPECT_EQ(shortSlot->size(), kShortMacroSlotBytes);
        EXPECT_EQ(DecodeMacroSlot(*shortSlot), text);

        const std::string longText = "791 " + text + " 001 " + text;
        const auto longSlot = EncodeMacroSlot(longText, kLongMacroSlotBytes);
        ASSERT_TRUE(longSlot) << code;
        EXPECT_EQ(DecodeMacroSlot(*longSlot), longText);
    }
}

TEST(MacroCoding, SlotsHoldTheLimitsAndNoMore)
{
    struct Case { std::string text; std::size_t slot; bool fits; };
    const Case cases[] = {
        {"001 001 001 001 001 001 001 001 001 001 001 001 001 001 001", 16, true},
        {"001 001 001 001 001 001 001 001 001 001 001 001 001 001 001 001", 16, false},
        {"300 300 300 300 300 300 300 001", 16, true},
        {"300 300 300 300 300 300 300 300", 16, false},
        {"766 766 766 511", 16, true},
        {"791 791 791 791", 16, false},
        {"001 001 001 001", 5, true},
        {"001 001 001 001 001", 5, false},
        {"256 509", 5, true},
        {"766", 5, true},
        {"764 256", 5, false},
        {"766 001", 5, false},
        {"NONE STORED", 5, true},
    };
    for (const Case& c : cases) {
        const auto slot = EncodeMacroSlot(c.text, c.slot);
        EXPECT_EQ(slot.has_value(), c.fits) << c.text;
        EXPECT_EQ(MacroByteCount(c.text) <= static_cast<int>(c.slot) - 1, c.fits) << c.text;
        if (slot) {
            EXPECT_EQ(DecodeMacroSlot(*slot), c.text);
        }
    }
}

TEST(MacroCoding, EncodeText)
{
    EXPECT_EQ(EncodeMacroText("NONE STORED"), Bytes{});
    EXPECT_EQ(EncodeMacroText(""), Bytes{});
    EXPECT_EQ(EncodeMacroText(" 001  300 "), (Bytes{1, 255, 45}));
    EXPECT_EQ(EncodeMacroText("999"), (Bytes{255, 255, 255, 234}));
    EXPECT_FALSE(EncodeMacroText("001 abc"));
    EXPECT_FALSE(EncodeMacroText("001 255"));
    EXPECT_FALSE(EncodeMacroText("-1"));
    EXPECT_FALSE(EncodeMacroText("001\t002"));
    EXPECT_FALSE(EncodeMacroText("none stored"));
}

TEST(MacroCoding, DecodeSlots)
{
    struct Case { Bytes slot; std::string text; };
    const Case cases[] = {
        {{10, 255, 45, 0, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7}, "010 300"},
        {{0, 1, 2, 3, 4}, "NONE STORED"},
        {{}, "NONE STORED"},
        {{7, 0, 0, 0, 0}, "007"},
        {{255, 255, 255, 1, 0}, "766"},
        {{255, 255, 1, 254, 0}, "511 254"},
        {{1, 2, 3, 4, 5}, "001 002 003 004 005"}, // no ending 0: the slot's end ends it
    };
    for (const Case& c : cases)
        EXPECT_EQ(decode(c.slot), c.text);
}

TEST(MacroCoding, DecodeHostileSlots)
{
    struct Case { Bytes slot; std::string text; };
    const Case cases[] = {
        {{1, 1, 255}, "001 001 255"},                 // cut by the slot's end
        {{255, 255}, "510"},
        {{1, 255, 255, 255}, "001 765"},
        {{255, 0, 9, 9, 0}, "255"},                   // a 0 ends the macro even inside a code
        {{255, 255, 0, 9}, "510"},
        {{255, 255, 255, 255, 7}, "1020 007"},        // the fourth byte always ends a code
        {{255, 255, 255, 255, 255}, "1020 255"},
        {Bytes(16, 255), "1020 1020 1020 1020"},
        {Bytes(16, 1), "001 001 001 001 001 001 001 001 001 001 001 001 001 001 001 001"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(decode(c.slot), c.text);
        EXPECT_EQ(CheckMacroFunctions(c.text) == kValid, false) << c.text;
    }

    // Only the slot is read, never the bytes behind it.
    const Bytes memory = {255, 255, 9, 9, 0};
    EXPECT_EQ(DecodeMacroSlot(std::span(memory).first(2)), "510");
    EXPECT_EQ(DecodeMacroSlot(std::span(memory).first(0)), "NONE STORED");
}

TEST(MacroCoding, FormatCode)
{
    EXPECT_EQ(FormatMacroCode(7), "007");
    EXPECT_EQ(FormatMacroCode(45), "045");
    EXPECT_EQ(FormatMacroCode(300), "300");
    EXPECT_EQ(FormatMacroCode(0), "000");
    EXPECT_EQ(FormatMacroCode(1020), "1020");
}
