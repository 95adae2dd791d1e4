// Playing tone pairs and WAV files through the sound output, and what the operator is told
// when that fails.

#include "link/tone_player.h"
#include "link/tone_synth.h"
#include "link/wav_file.h"
#include "recording_sound_out.h"
#include "scripted_prompts.h"
#include "temp_folder.h"

#include <gtest/gtest.h>

namespace vm880 {
namespace {

using test::ChannelSamples;
using test::GoertzelAmplitude;

struct ToneRig {
    test::FakeClock clock;
    test::RecordingTimeline timeline{clock};
    test::RecordingSoundOut sound{timeline};
    test::ScriptedPrompts prompts;
    TonePlayer player{sound, prompts};
};

TEST(TonePlayer, PlaysBothTonesForTheGivenTimeAndWaitsForTheEnd)
{
    ToneRig rig;
    ASSERT_TRUE(rig.player.PlayDualTone(0, 1000, 0.5)); // 0 Hz is played as 1 Hz
    ASSERT_EQ(rig.sound.played.size(), 1u);
    const PcmSound& sound = rig.sound.played[0].sound;
    EXPECT_EQ(sound.format, (PcmFormat{8000, 2, SampleType::Int16}));
    EXPECT_EQ(sound.FrameCount(), 4000u);
    EXPECT_EQ(rig.clock.NowMs(), 500) << "the call returns once the sound was heard";
    EXPECT_EQ(rig.sound.stops, 1) << "any sound still playing is ended first";

    const auto x = ChannelSamples(sound, 0);
    EXPECT_NEAR(GoertzelAmplitude(x, 1000, 8000), 0.125, 0.003);
    // The 1 Hz tone moves the signal by at most 1/8 of a quarter period in half a second:
    // nothing a listener or a DTMF decoder would hear.
    EXPECT_LT(GoertzelAmplitude(x, 697, 8000), 0.005);

    // A sound of no samples is "played" at once.
    ASSERT_TRUE(rig.player.PlayDualTone(697, 1209, 0.00006));
    EXPECT_EQ(rig.sound.played.back().sound.FrameCount(), 0u);
    EXPECT_TRUE(rig.prompts.prompts().empty());
}

TEST(TonePlayer, ASoundThatCannotBePlayedIsReportedAsAFailure)
{
    struct Case {
        PlayStatus status;
        const char* reason;
        const char* shown; // part of the message, or nullptr for no message
    };
    const Case cases[] = {
        {PlayStatus::NoDevice, "no sound device was found", "No sound device"},
        {PlayStatus::Failed, "the sound device could not be started",
         "the sound device could not be started"},
        {PlayStatus::Stopped, "", nullptr}, // stopped on purpose: nothing to tell
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.reason);
        ToneRig rig;
        rig.prompts.AcceptNotices();
        rig.sound.failWith = c.status;
        rig.sound.failReason = c.reason;
        EXPECT_FALSE(rig.player.PlayDualTone(697, 1209, 0.06));
        if (!c.shown) {
            EXPECT_TRUE(rig.prompts.prompts().empty());
            continue;
        }
        ASSERT_EQ(rig.prompts.prompts().size(), 1u);
        EXPECT_EQ(rig.prompts.prompts()[0].title, kSoundErrorTitle);
        EXPECT_EQ(rig.prompts.prompts()[0].style, style::OkOnly + style::Exclamation);
        EXPECT_NE(rig.prompts.prompts()[0].text.find(c.shown), std::string::npos);
    }
}

TEST(TonePlayer, PlaysAWavFileOrSaysWhichFileFailedAndWhy)
{
    test::TempFolder folder;
    const std::string good = folder.file("message.wav");
    const auto wav = BuildDualToneWav(440, 880, 0.25);
    test::WriteFile(good, std::string(wav.begin(), wav.end()));
    const std::string junk = folder.file("junk.wav");
    test::WriteFile(junk, "not a sound");

    {
        ToneRig rig;
        ASSERT_TRUE(rig.player.PlayWavFile(good));
        ASSERT_EQ(rig.sound.played.size(), 1u);
        EXPECT_EQ(rig.sound.played[0].sound.data, std::vector<std::uint8_t>(wav.begin() + 44, wav.end()));
        EXPECT_EQ(rig.clock.NowMs(), 250);
        EXPECT_EQ(rig.sound.stops, 0) << "a file never cuts another sound short";
    }
    struct Case {
        std::string file;
        std::string text;
    };
    for (const Case& c : {Case{folder.file("missing.wav"), folder.file("missing.wav") + " does not exist."},
                          Case{junk, WavFileFailureText(junk, "it is not a WAV file")}}) {
        SCOPED_TRACE(c.file);
        ToneRig rig;
        rig.prompts.AcceptNotices();
        EXPECT_FALSE(rig.player.PlayWavFile(c.file));
        EXPECT_TRUE(rig.sound.played.empty()) << "no default sound instead";
        ASSERT_EQ(rig.prompts.prompts().size(), 1u);
        EXPECT_EQ(rig.prompts.prompts()[0].text, c.text);
        EXPECT_NE(rig.prompts.prompts()[0].text.find(c.file), std::string::npos);
    }
    {
        ToneRig rig;
        rig.prompts.AcceptNotices();
        rig.sound.failWith = PlayStatus::NoDevice;
        EXPECT_FALSE(rig.player.PlayWavFile(good));
        ASSERT_EQ(rig.prompts.prompts().size(), 1u);
        EXPECT_NE(rig.prompts.prompts()[0].text.find("No sound device"), std::string::npos);
    }
}

} // namespace
} // namespace vm880
