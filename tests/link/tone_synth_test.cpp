// The synthesised tone images: header bytes, sample counts, and what is really in the
// samples (frequencies, levels, channels) measured with Goertzel filters.

#include "link/dtmf_link.h"
#include "link/tone_synth.h"
#include "link/wav_file.h"
#include "recording_sound_out.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace vm880 {
namespace {

using test::ChannelSamples;
using test::GoertzelAmplitude;

std::uint32_t U32At(const std::vector<std::uint8_t>& b, std::size_t at)
{
    return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (static_cast<std::uint32_t>(b[at + 3]) << 24);
}

PcmSound Parsed(const std::vector<std::uint8_t>& wav)
{
    PcmSound sound;
    std::string error;
    EXPECT_TRUE(ParseWav(wav, sound, error)) << error;
    return sound;
}

// The frequency near `nominal` where the windowed spectrum peaks (0.01 Hz resolution).
double PeakFrequency(const std::vector<double>& x, double nominal)
{
    double best = nominal, bestLevel = -1.0;
    for (double step : {1.0, 0.1, 0.01}) {
        const double centre = best;
        const double span = step == 1.0 ? nominal * 0.03 : step * 10;
        for (double f = centre - span; f <= centre + span; f += step) {
            const double level = GoertzelAmplitude(x, f, tone_format::kSampleRate);
            if (level > bestLevel) {
                bestLevel = level;
                best = f;
            }
        }
    }
    return best;
}

TEST(ToneSynth, DigitImageHasTheExactWavHeader)
{
    const auto wav = BuildDualToneWav(697, 1209, 0.06);
    ASSERT_EQ(wav.size(), 1964u);
    const std::vector<std::uint8_t> header(wav.begin(), wav.begin() + 44);
    const std::vector<std::uint8_t> expected = {
        'R', 'I', 'F', 'F', 164, 7,  0,   0,   'W', 'A', 'V', 'E', 'f', 'm', 't', ' ',
        16,  0,   0,   0,   1,   0,  2,   0,   64,  31,  0,   0,   0,   125, 0,   0,
        4,   0,   16,  0,   'd', 'a', 't', 'a', 128, 7,   0,   0};
    EXPECT_EQ(header, expected);
    // Both sines start at phase 0.
    EXPECT_EQ(std::vector<std::uint8_t>(wav.begin() + 44, wav.begin() + 48),
              (std::vector<std::uint8_t>{0, 0, 0, 0}));
}

TEST(ToneSynth, SampleCountRoundsHalfToEven)
{
    struct Case {
        double seconds;
        std::int64_t samples;
    };
    const Case cases[] = {
        {0.06, 480},        {0.5, 4000},       {1.0, 8000},
        {0.00006, 0},       // 0.48 samples
        {0.0000625, 0},     // exactly one half: to the even 0
        {0.0001875, 2},     // 1.5: to the even 2
        {0.0003125, 2},     // 2.5: to the even 2
        {0.0, 0},           {-0.5, 0},         {std::numeric_limits<double>::quiet_NaN(), 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.seconds);
        EXPECT_EQ(DualToneSampleCount(c.seconds), c.samples);
        const auto wav = BuildDualToneWav(697, 1209, c.seconds);
        const std::uint32_t dataSize = static_cast<std::uint32_t>(4 * c.samples);
        ASSERT_EQ(wav.size(), 44u + dataSize);
        EXPECT_EQ(U32At(wav, 40), dataSize);
        EXPECT_EQ(U32At(wav, 4), dataSize + 36);
    }
    EXPECT_THROW(DualToneSampleCount(1e9), std::length_error);
}

TEST(ToneSynth, EveryDigitCarriesItsTwoFrequenciesAtEqualLevelsWithoutClipping)
{
    const std::string keys = "123A456B789C*0#D";
    for (char key : keys) {
        SCOPED_TRACE(std::string("key ") + key);
        const auto pair = DTMFTonePairOf(std::string(1, key));
        ASSERT_TRUE(pair);
        const PcmSound sound = Parsed(BuildDualToneWav(pair->row, pair->column, kDTMFToneSeconds));
        ASSERT_EQ(sound.FrameCount(), 480u);

        const auto left = ChannelSamples(sound, 0);
        EXPECT_EQ(left, ChannelSamples(sound, 1)) << "channels differ";

        // Q.23 allows 1.8 %; the synthesis is exact, so hold it to 0.1 %.
        EXPECT_NEAR(PeakFrequency(left, pair->row), pair->row, pair->row * 0.001);
        EXPECT_NEAR(PeakFrequency(left, pair->column), pair->column, pair->column * 0.001);

        // Each tone at a quarter of the mixed quarter-scale signal: 0.125 of full scale.
        const double rowLevel = GoertzelAmplitude(left, pair->row, 8000);
        const double colLevel = GoertzelAmplitude(left, pair->column, 8000);
        EXPECT_NEAR(rowLevel, 0.125, 0.125 * 0.02);
        EXPECT_NEAR(colLevel / rowLevel, 1.0, 0.02) << "unequal levels (twist)";

        // Headroom: every sample within a quarter of full scale, so nothing clips.
        for (std::size_t i = 0; i < sound.data.size(); i += 2) {
            const auto s = static_cast<std::int16_t>(sound.data[i] | (sound.data[i + 1] << 8));
            ASSERT_GE(s, -8192);
            ASSERT_LE(s, 8191);
        }
    }
}

TEST(ToneSynth, OnlyTheTwoTonesAreThere)
{
    // No other DTMF frequency shows up: a receiver must not see a second row or column.
    const PcmSound sound = Parsed(BuildDualToneWav(852, 1477, kDTMFToneSeconds)); // "9"
    const auto x = ChannelSamples(sound, 0);
    for (double f : {697.0, 770.0, 941.0, 1209.0, 1336.0, 1633.0})
        EXPECT_LT(GoertzelAmplitude(x, f, 8000), 0.125 * 0.05) << f << " Hz";
    EXPECT_EQ(test::DetectDTMF(sound), '9');
}

} // namespace
} // namespace vm880
