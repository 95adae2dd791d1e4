#include "link/tone_synth.h"

#include <cmath>
#include <limits>
#include <stdexcept>

namespace vm880 {

namespace {

using namespace tone_format;

// Each tone's amplitude on both channels and the master volume; together they keep the
// mixed signal at a quarter of full scale.
constexpr double kToneAmplitude = 0.25;
constexpr double kMasterVolume = 0.5;

void PutU16(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint32_t value)
{
    bytes[at] = static_cast<std::uint8_t>(value & 0xFF);
    bytes[at + 1] = static_cast<std::uint8_t>((value >> 8) & 0xFF);
}

void PutU32(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint32_t value)
{
    PutU16(bytes, at, value & 0xFFFF);
    PutU16(bytes, at + 2, value >> 16);
}

void PutTag(std::vector<std::uint8_t>& bytes, std::size_t at, const char (&tag)[5])
{
    for (int i = 0; i < 4; ++i)
        bytes[at + i] = static_cast<std::uint8_t>(tag[i]);
}

std::vector<std::uint8_t> BuildHeader()
{
    std::vector<std::uint8_t> bytes(kHeaderSize, 0);
    PutTag(bytes, 0, "RIFF");
    PutTag(bytes, 8, "WAVE");
    PutTag(bytes, 12, "fmt ");
    PutU32(bytes, 16, 16);
    PutU16(bytes, 20, 1); // PCM
    PutU16(bytes, 22, kChannels);
    PutU32(bytes, 24, kSampleRate);
    PutU32(bytes, 28, kBytesPerSample * kChannels * kSampleRate);
    PutU16(bytes, 32, kBlockSize);
    PutU16(bytes, 34, kBitsPerSample);
    PutTag(bytes, 36, "data");
    return bytes; // the two sizes are filled in once the sample count is known
}

double PhaseStep(int frequency)
{
    const double pi = 4.0 * std::atan(1.0);
    // Two pi over the number of samples in one period.
    const double samplesPerPeriod = (1.0 / frequency) / (1.0 / kSampleRate);
    return 2.0 * pi / samplesPerPeriod;
}

std::int16_t ToSample(double mixed)
{
    return static_cast<std::int16_t>(std::floor(kMasterVolume * mixed * 32767.0));
}

} // namespace

std::int64_t DualToneSampleCount(double seconds)
{
    const double exact = seconds * kSampleRate;
    if (!(exact > 0.0))
        return 0;
    // Room left in the RIFF size field (data size + 36).
    constexpr double kMaxSamples =
        static_cast<double>((std::numeric_limits<std::uint32_t>::max() - 36) / kBlockSize);
    const double rounded = std::nearbyint(exact); // the default mode rounds a half to even
    if (rounded > kMaxSamples)
        throw std::length_error("a tone of " + std::to_string(seconds) +
                                " seconds is too long for a WAV sound");
    return static_cast<std::int64_t>(rounded);
}

std::vector<std::uint8_t> BuildDualToneWav(int freq1, int freq2, double seconds)
{
    const std::int64_t count = DualToneSampleCount(seconds);
    const std::uint32_t dataSize = static_cast<std::uint32_t>(count * kBlockSize);

    std::vector<std::uint8_t> bytes = BuildHeader();
    bytes.resize(kHeaderSize + static_cast<std::size_t>(dataSize));
    PutU32(bytes, 40, dataSize);
    PutU32(bytes, 4, dataSize + 36);

    const double step1 = PhaseStep(freq1);
    const double step2 = PhaseStep(freq2);
    std::size_t at = kHeaderSize;
    for (std::int64_t i = 0; i < count; ++i) {
        const double t = static_cast<double>(i);
        double left = 0.0;
        left += std::sin(t * step1) * kToneAmplitude;
        left += std::sin(t * step2) * kToneAmplitude;
        // Both channels carry the same tones at the same amplitudes.
        const std::int16_t sample = ToSample(left);
        const auto raw = static_cast<std::uint16_t>(sample);
        PutU16(bytes, at, raw);
        PutU16(bytes, at + 2, raw);
        at += kBlockSize;
    }
    return bytes;
}

} // namespace vm880
