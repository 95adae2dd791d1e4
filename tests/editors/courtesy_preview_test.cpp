// The courtesy-tone preview: what it plays, in which order and for how long, through the
// recording sound output and a fake clock, so no test waits for the sound.

#include "editors/ports/courtesy_tone.h"
#include "link/tone_player.h"
#include "link/tone_synth.h"
#include "recording_sound_out.h"
#include "scripted_prompts.h"

#include <gtest/gtest.h>

namespace vm880::test {
namespace {

struct PreviewRig {
    FakeClock fake;
    RecordingTimeline timeline{fake};
    RecordingSoundOut sound{timeline};
    ScriptedPrompts prompts;
    TonePlayer player{sound, prompts};

    bool Play(const CourtesyToneValues& values) { return PlayCourtesyTone(values, player, fake); }
};

// Delay1..4, Dur1..4, Tone1..8.
CourtesyToneValues Tone(std::array<const char*, 4> delays, std::array<const char*, 4> durations,
                        std::array<const char*, 8> tones)
{
    CourtesyToneValues values;
    for (std::size_t i = 0; i < 4; ++i) {
        values[i] = delays[i];
        values[4 + i] = durations[i];
    }
    for (std::size_t i = 0; i < 8; ++i)
        values[8 + i] = tones[i];
    return values;
}

// The samples of the two tones as the synthesiser makes them, without the WAV header.
std::vector<std::uint8_t> Samples(int freq1, int freq2, double seconds)
{
    auto wav = BuildDualToneWav(freq1, freq2, seconds);
    return {wav.begin() + tone_format::kHeaderSize, wav.end()};
}

TEST(CourtesyPreview, PlaysEachSegmentAfterItsDelayWithTheExactTonesAndLengths)
{
    PreviewRig rig;
    // Segment 3 has duration 0 (nothing to hear); segment 4 has both tones 0 (a silence).
    ASSERT_TRUE(rig.Play(Tone({"500", "0", "20", "1000"}, {"250", "100", "0", "60"},
                              {"440", "0", "697", "1209", "1000", "1000", "0", "0"})));

    // Segment 3's delay is still waited; the sounds' times below place each sleep.
    EXPECT_EQ(rig.fake.sleeps, (std::vector<std::int64_t>{500, 0, 20, 1000}));

    struct Heard {
        std::int64_t atMs;
        int freq1, freq2; // as synthesised: 0 becomes an inaudible 1 Hz
        double seconds;
    };
    const Heard heard[] = {{500, 440, 1, 0.25}, {750, 697, 1209, 0.1}, {1870, 1, 1, 0.06}};
    ASSERT_EQ(rig.sound.played.size(), std::size(heard));
    for (std::size_t i = 0; i < std::size(heard); ++i) {
        SCOPED_TRACE(i);
        const auto& played = rig.sound.played[i];
        EXPECT_EQ(played.atMs, heard[i].atMs) << "each delay counts from the end of the sound before";
        EXPECT_EQ(played.sound.data, Samples(heard[i].freq1, heard[i].freq2, heard[i].seconds));
    }
    EXPECT_EQ(rig.fake.NowMs(), 1930);
    EXPECT_TRUE(rig.prompts.prompts().empty());
}

TEST(CourtesyPreview, AllZeroSoundsNothingAndTheLongestTakesEightySecondsOfClockTime)
{
    PreviewRig silent, longest;
    CourtesyToneValues zero, highest;
    zero.fill("0");
    highest.fill("10000");
    for (std::size_t tone = 8; tone < 16; ++tone)
        highest[tone] = "3500";
    ASSERT_TRUE(silent.Play(zero));
    EXPECT_TRUE(silent.sound.played.empty());
    EXPECT_EQ(silent.fake.NowMs(), 0);
    ASSERT_TRUE(longest.Play(highest));
    EXPECT_EQ(longest.sound.played.size(), 4u);
    EXPECT_EQ(longest.fake.NowMs(), 80000);
}

TEST(CourtesyPreview, ASegmentThatCannotBePlayedEndsThePreviewWithOneMessage)
{
    PreviewRig rig;
    rig.prompts.AcceptNotices();
    rig.sound.failWith = PlayStatus::NoDevice;
    EXPECT_FALSE(rig.Play(Tone({"100", "100", "100", "100"}, {"50", "50", "50", "50"},
                               {"440", "0", "440", "0", "440", "0", "440", "0"})));
    ASSERT_EQ(rig.prompts.prompts().size(), 1u);
    EXPECT_EQ(rig.prompts.prompts()[0].title, kSoundErrorTitle);
    EXPECT_EQ(rig.fake.sleeps, (std::vector<std::int64_t>{100})) << "no further segment is waited for";
}

TEST(CourtesyPreview, ValuesOutsideTheFieldsAreTakenAsZero)
{
    // The field checks keep these out; should one arrive it must neither throw nor pause for
    // hours. Leading zeros read as the number they write.
    const auto s = PreviewSegments(Tone({"", "abc", "10001", "0500"}, {"12.5", "-5", "10000", " 7"},
                                        {"3501", "3500", "0440", "99999999999", "1", "2", "3", "4"}));
    EXPECT_EQ(s, (std::array<PreviewSegment, 4>{{{0, 0, 3500, 0.0}, {0, 440, 0, 0.0},
                                                  {0, 1, 2, 10.0}, {500, 3, 4, 0.0}}}));
}

} // namespace
} // namespace vm880::test
