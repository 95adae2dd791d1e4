// Reading WAV files for playback: formats that play, and damaged or hostile files that must
// be refused with a reason (never a crash, never an over-read).

#include "link/tone_synth.h"
#include "link/wav_file.h"
#include "guarded_fifo.h"
#include "temp_folder.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <random>

namespace vm880 {
namespace {

using Bytes = std::vector<std::uint8_t>;

void Tag(Bytes& b, const char* t)
{
    for (int i = 0; i < 4; ++i)
        b.push_back(static_cast<std::uint8_t>(t[i]));
}
void U16(Bytes& b, unsigned v)
{
    b.push_back(static_cast<std::uint8_t>(v));
    b.push_back(static_cast<std::uint8_t>(v >> 8));
}
void U32(Bytes& b, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        b.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

struct Fmt {
    unsigned tag = 1, channels = 1;
    std::uint32_t rate = 8000;
    unsigned bits = 16;
    int blockAlign = -1; // -1: consistent with channels and bits
};

Bytes FmtChunk(const Fmt& f)
{
    Bytes b;
    Tag(b, "fmt ");
    U32(b, 16);
    U16(b, f.tag);
    U16(b, f.channels);
    U32(b, f.rate);
    const unsigned align = f.blockAlign >= 0 ? unsigned(f.blockAlign) : f.channels * f.bits / 8;
    U32(b, f.rate * align);
    U16(b, align);
    U16(b, f.bits);
    return b;
}

Bytes Chunk(const char* tag, const Bytes& body, std::int64_t claimedSize = -1)
{
    Bytes b;
    Tag(b, tag);
    U32(b, claimedSize >= 0 ? std::uint32_t(claimedSize) : std::uint32_t(body.size()));
    b.insert(b.end(), body.begin(), body.end());
    if (claimedSize < 0 && body.size() % 2)
        b.push_back(0);
    return b;
}

Bytes Riff(std::initializer_list<Bytes> chunks)
{
    Bytes b;
    Tag(b, "RIFF");
    U32(b, 0); // filled below
    Tag(b, "WAVE");
    for (const Bytes& c : chunks)
        b.insert(b.end(), c.begin(), c.end());
    const auto size = std::uint32_t(b.size() - 8);
    std::memcpy(b.data() + 4, &size, 4); // little-endian host, as everywhere this runs
    return b;
}

TEST(WavFile, ReadsTheTonesItSynthesises)
{
    const Bytes wav = BuildDualToneWav(770, 1336, 0.06);
    PcmSound sound;
    std::string error;
    ASSERT_TRUE(ParseWav(wav, sound, error)) << error;
    EXPECT_EQ(sound.format, (PcmFormat{8000, 2, SampleType::Int16}));
    EXPECT_EQ(sound.data, Bytes(wav.begin() + 44, wav.end()));
    EXPECT_EQ(sound.DurationMs(), 60);
}

TEST(WavFile, ConvertsTheSampleCodings)
{
    struct Case {
        const char* name;
        Bytes file;
        PcmFormat format;
        Bytes data;
    };
    Bytes extensible;
    {
        // WAVE_FORMAT_EXTENSIBLE carrying 16-bit PCM, mono.
        Bytes body;
        U16(body, 0xFFFE);
        U16(body, 1);
        U32(body, 22050);
        U32(body, 44100);
        U16(body, 2);
        U16(body, 16);
        U16(body, 22);
        U16(body, 16);
        U32(body, 4);
        const std::uint8_t guid[16] = {1, 0, 0, 0, 0, 0, 0x10, 0, 0x80, 0, 0, 0xAA, 0, 0x38, 0x9B, 0x71};
        body.insert(body.end(), guid, guid + 16);
        extensible = Riff({Chunk("fmt ", body), Chunk("data", {1, 2, 3, 4})});
    }
    double wide = -0.5;
    Bytes wideBytes(8);
    std::memcpy(wideBytes.data(), &wide, 8);
    float narrow = -0.5f;
    Bytes narrowBytes(4);
    std::memcpy(narrowBytes.data(), &narrow, 4);

    const Case cases[] = {
        {"8-bit unsigned", Riff({FmtChunk({1, 1, 11025, 8}), Chunk("data", {0x80, 0xFF, 0x00})}),
         {11025, 1, SampleType::UInt8}, {0x80, 0xFF, 0x00}},
        {"24-bit to 32-bit", Riff({FmtChunk({1, 1, 8000, 24}), Chunk("data", {0x01, 0x02, 0x83})}),
         {8000, 1, SampleType::Int32}, {0x00, 0x01, 0x02, 0x83}},
        {"32-bit integer", Riff({FmtChunk({1, 2, 48000, 32}), Chunk("data", Bytes(8, 7))}),
         {48000, 2, SampleType::Int32}, Bytes(8, 7)},
        {"64-bit float to 32-bit", Riff({FmtChunk({3, 1, 8000, 64}), Chunk("data", wideBytes)}),
         {8000, 1, SampleType::Float}, narrowBytes},
        {"extensible PCM", extensible, {22050, 1, SampleType::Int16}, {1, 2, 3, 4}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PcmSound sound;
        std::string error;
        ASSERT_TRUE(ParseWav(c.file, sound, error)) << error;
        EXPECT_EQ(sound.format, c.format);
        EXPECT_EQ(sound.data, c.data);
    }
}

TEST(WavFile, WalksOddSizedChunksAndKeepsWholeFramesOfACutDataChunk)
{
    // An odd-sized LIST chunk (padded), then fmt, then a data chunk claiming more than is there.
    const Bytes file = Riff({Chunk("LIST", {1, 2, 3}), FmtChunk({1, 2, 8000, 16}),
                             Chunk("data", {1, 2, 3, 4, 5, 6, 7, 8, 9, 10}, 4000)});
    PcmSound sound;
    std::string error;
    ASSERT_TRUE(ParseWav(file, sound, error)) << error;
    EXPECT_EQ(sound.data, (Bytes{1, 2, 3, 4, 5, 6, 7, 8})); // two whole frames of four bytes
}

TEST(WavFile, RefusesWhatCannotBePlayedAndSaysWhy)
{
    const Bytes data = Chunk("data", {0, 0, 0, 0});
    Bytes notWave = Riff({FmtChunk({}), data});
    std::memcpy(notWave.data() + 8, "AVI ", 4);
    Bytes shortFmt;
    Tag(shortFmt, "fmt ");
    U32(shortFmt, 10);
    shortFmt.resize(shortFmt.size() + 10, 0);

    struct Case {
        const char* name;
        Bytes file;
        const char* reason;
    };
    const Case cases[] = {
        {"empty", {}, "not a WAV file"},
        {"text", Bytes{'h', 'e', 'l', 'l', 'o', ' ', 'w', 'o', 'r', 'l', 'd', '!'}, "not a WAV file"},
        {"other RIFF", notWave, "not a WAV file"},
        {"header only", Riff({}), "no format description"},
        {"data without format", Riff({data}), "no format description"},
        {"format without data", Riff({FmtChunk({})}), "no sound data"},
        {"short format", Riff({shortFmt, data}), "incomplete"},
        {"format cut by the end", Riff({Chunk("fmt ", Bytes(8, 0), 16)}), "cut short"},
        {"compressed", Riff({FmtChunk({0x11, 1, 8000, 4}), data}), "compressed"},
        {"12-bit", Riff({FmtChunk({1, 1, 8000, 12}), data}), "12-bit"},
        {"16-bit float", Riff({FmtChunk({3, 1, 8000, 16}), data}), "floating-point"},
        {"no channels", Riff({FmtChunk({1, 0, 8000, 16}), data}), "0 channels"},
        {"too many channels", Riff({FmtChunk({1, 9, 8000, 16}), data}), "9 channels"},
        {"zero rate", Riff({FmtChunk({1, 1, 0, 16}), data}), "sample rate"},
        {"absurd rate", Riff({FmtChunk({1, 1, 4000000000u, 16}), data}), "sample rate"},
        {"block size lies", Riff({FmtChunk({1, 2, 8000, 16, 3}), data}), "inconsistent"},
        {"junk chunk claims 4 GB", Riff({Chunk("junk", {1, 2}, 0xFFFFFFFF), FmtChunk({}), data}),
         "no format description"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PcmSound sound;
        sound.data = {9, 9};
        std::string error;
        EXPECT_FALSE(ParseWav(c.file, sound, error));
        EXPECT_NE(error.find(c.reason), std::string::npos) << error;
        EXPECT_TRUE(sound.data.empty());
    }
}

TEST(WavFile, SurvivesEveryTruncationAndRandomDamage)
{
    // Each call must end with either a sound of whole frames or a reason.
    const Bytes good = Riff({Chunk("LIST", {1, 2, 3}), FmtChunk({1, 2, 8000, 16}),
                             Chunk("data", Bytes(64, 0x55))});
    auto check = [](const Bytes& file) {
        PcmSound sound;
        std::string error;
        if (ParseWav(file, sound, error)) {
            ASSERT_GT(sound.format.BytesPerFrame(), 0);
            ASSERT_EQ(sound.data.size() % std::size_t(sound.format.BytesPerFrame()), 0u);
            ASSERT_LE(sound.data.size(), file.size());
        } else {
            ASSERT_FALSE(error.empty());
        }
    };
    for (std::size_t n = 0; n <= good.size(); ++n)
        check(Bytes(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(n)));

    std::mt19937 random(880);
    for (int round = 0; round < 20000; ++round) {
        Bytes damaged = good;
        const int hits = 1 + int(random() % 4);
        for (int h = 0; h < hits; ++h)
            damaged[random() % damaged.size()] = static_cast<std::uint8_t>(random());
        damaged.resize(random() % (damaged.size() + 1));
        check(damaged);
    }
}

TEST(WavFile, LoadNamesTheProblemWithTheFile)
{
    test::TempFolder folder;
    PcmSound sound;
    std::string error;

    EXPECT_FALSE(LoadWavFile(folder.file("missing.wav"), sound, error));
    EXPECT_EQ(error, folder.file("missing.wav") + " does not exist.");
    EXPECT_FALSE(LoadWavFile(folder.path().string(), sound, error)) << "a folder is no file";
    EXPECT_EQ(error, folder.path().string() + " is a folder, not a file.");
    test::GuardedFifo fifo(folder.file("pipe.wav"));
    ASSERT_TRUE(fifo.Made());
    EXPECT_FALSE(LoadWavFile(fifo.path(), sound, error));
    EXPECT_EQ(error, fifo.path() + " is a named pipe (FIFO), not a file.");
    EXPECT_FALSE(fifo.Opened()) << "a named pipe blocks whoever opens it";

    const std::string big = folder.file("big.wav");
    test::WriteFile(big, "RIFF");
    std::filesystem::resize_file(big, kMaxWavFileBytes + 1); // sparse: costs no disk
    EXPECT_FALSE(LoadWavFile(big, sound, error));
    EXPECT_NE(error.find("too large"), std::string::npos) << error;

    const std::string good = folder.file("tone.wav");
    const Bytes wav = BuildDualToneWav(941, 1633, 0.1);
    test::WriteFile(good, std::string(wav.begin(), wav.end()));
    ASSERT_TRUE(LoadWavFile(good, sound, error)) << error;
    EXPECT_EQ(sound.FrameCount(), 800u);
}

} // namespace
} // namespace vm880
