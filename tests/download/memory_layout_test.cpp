// The layout table against the image: every position read exactly once, sizes that fit the
// encodings, and the positions the controller's memory map fixes.

#include "download/memory_layout.h"
#include "tables/macro_coding.h"

#include <gtest/gtest.h>

#include <map>
#include <vector>

using namespace vm880;

TEST(MemoryLayout, EveryPositionBelongsToExactlyOneEntry)
{
    std::vector<int> owners(kMemoryImageSize, 0);
    for (const LayoutSection& s : MemoryLayout())
        for (int e = 1; e <= s.entries; ++e)
            for (int p = EntryPosition(s, e); p < EntryPosition(s, e) + s.width; ++p) {
                ASSERT_GE(p, 0) << s.step;
                ASSERT_LT(p, kMemoryImageSize) << s.step;
                ++owners[std::size_t(p)];
            }
    for (int p = 0; p < kMemoryImageSize; ++p)
        EXPECT_EQ(owners[std::size_t(p)], 1) << "position " << p;
}

TEST(MemoryLayout, SizesFitTheEncodings)
{
    const std::map<Encoding, std::vector<int>> widths = {
        {Encoding::Byte, {1}},          {Encoding::Word, {2}},
        {Encoding::ScaleWord, {2}},     {Encoding::CWList, {15}},
        {Encoding::VoiceList, {22}},    {Encoding::PackedDigits, {5}},
        {Encoding::ScaledSingle, {4}},  {Encoding::DayAndWeek, {1}},
        {Encoding::DTMFMemory, {11}},   {Encoding::MessageVocabulary, {10}},
        {Encoding::RemotePrefix, {6}},  {Encoding::RemoteFrequency, {8}},
        {Encoding::MacroList, {int(kLongMacroSlotBytes), int(kShortMacroSlotBytes)}},
        {Encoding::ZeroEndedText, {2, 4, 5, 6, 7, 9}},
    };
    for (const LayoutSection& s : MemoryLayout()) {
        EXPECT_FALSE(s.step.empty()) << "section at " << s.position;
        if (s.encoding == Encoding::Unused) {
            EXPECT_EQ(s.item, nullptr) << s.step;
            continue;
        }
        ASSERT_NE(s.item, nullptr) << s.step;
        EXPECT_FALSE(s.name.empty()) << s.step;
        const std::vector<int>& allowed = widths.at(s.encoding);
        EXPECT_NE(std::find(allowed.begin(), allowed.end(), s.width), allowed.end())
            << s.name << " width " << s.width;
        const bool needsOther = s.encoding == Encoding::CWList || s.encoding == Encoding::VoiceList
            || s.encoding == Encoding::DayAndWeek;
        EXPECT_EQ(s.other != nullptr, needsOther) << s.name;
    }
}

// The decoder reads an ID list's count from the model, so the count must come first.
TEST(MemoryLayout, CountsLieBeforeTheirLists)
{
    ConfigModel m;
    for (const LayoutSection& list : MemoryLayout()) {
        if (list.encoding != Encoding::CWList && list.encoding != Encoding::VoiceList)
            continue;
        const Text* count = &list.other(m, 1);
        bool found = false;
        for (const LayoutSection& s : MemoryLayout())
            if (s.item != nullptr && &s.item(m, 1) == count) {
                EXPECT_LT(s.position, list.position) << list.name;
                EXPECT_EQ(s.entries, list.entries) << list.name;
                found = true;
            }
        EXPECT_TRUE(found) << "no section fills the count of " << list.name;
    }
}

TEST(MemoryLayout, FixedPositionsAndNames)
{
    ConfigModel m;
    auto entryOf = [&](const Text& target) -> std::pair<const LayoutSection*, int> {
        for (const LayoutSection& s : MemoryLayout())
            for (int e = 1; s.item != nullptr && e <= s.entries; ++e)
                if (&s.item(m, e) == &target)
                    return {&s, e};
        return {nullptr, 0};
    };
    struct Case { const Text& item; int position; const char* key; };
    const Case cases[] = {
        {m.PreAccessPrefix, 0, "PreAccessPrefix"},
        {m.DTMFTime(2), 32, "DTMFTime(2)"},
        {m.CurrentPortUnlock(3), 90, "CurrentPortUnlock(3)"},
        {m.MeterSetPoint(8), 306, "MeterSetPoint(8)"},
        {m.CWID2(1), 369, "CWID2(1)"},
        {m.VoiceID3(3), 590, "VoiceID3(3)"},
        {m.Tone1(1, 1), 712, "P1Tone1(1)"},
        {m.Delay1(2, 3), 1216, "P2Delay1(3)"},
        {m.Dur4(3, 10), 1670, "P3Dur4(10)"},
        {m.DTMF(20), 1895, "DTMF(20)"},
        {m.ID3Extras(2), 2465, "ID3Extras(2)"},
        {m.ID1Extras(3), 2466, "ID1Extras(3)"},
        {m.Macro(40), 3093, "Macro(40)"},
        {m.ShortMacroCode(50), 3804, "ShortMacroCode(50)"},
        {m.TailMessageNum(1), 3934, "TailMessageNum(1)"},
        {m.FreqString(10), 4018, "FreqString(10)"},
        {m.TOTReset(3), 4057, "TOTReset(3)"},
    };
    for (const Case& c : cases) {
        const auto [section, entry] = entryOf(c.item);
        ASSERT_NE(section, nullptr) << c.key;
        EXPECT_EQ(EntryPosition(*section, entry), c.position) << c.key;
        EXPECT_EQ(EntryKey(*section, entry), c.key);
        EXPECT_EQ(SectionAt(c.position), section) << c.key;
    }
    EXPECT_EQ(SectionAt(-1), nullptr);
    EXPECT_EQ(SectionAt(kMemoryImageSize), nullptr);
    EXPECT_EQ(SectionAt(13)->encoding, Encoding::Unused);
    EXPECT_EQ(SectionAt(700)->step, "Sched Resume/Suspend (692 - 711)");
}
