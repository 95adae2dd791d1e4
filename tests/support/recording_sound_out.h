#pragma once
// A sound output that records every sound on the shared timeline instead of playing it, and
// lets the fake clock run for the sound's length as a real synchronous player would. The
// recorded sounds can be told apart by their DTMF digit (Goertzel filters) and mixed down,
// with the silences between them, into one WAV image for a real decoder.

#include "interfaces/sound_out.h"
#include "recording_timeline.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace vm880::test {

// One channel of 16-bit samples as values in [-1, 1).
inline std::vector<double> ChannelSamples(const PcmSound& sound, int channel)
{
    std::vector<double> out;
    if (sound.format.sampleType != SampleType::Int16 || channel >= sound.format.channels)
        return out;
    const std::size_t frame = static_cast<std::size_t>(sound.format.BytesPerFrame());
    for (std::size_t at = static_cast<std::size_t>(channel) * 2; at + 1 < sound.data.size();
         at += frame) {
        const auto raw = static_cast<std::int16_t>(sound.data[at] | (sound.data[at + 1] << 8));
        out.push_back(raw / 32768.0);
    }
    return out;
}

// Amplitude of the `frequency` component of `x` (Goertzel filter at any frequency), optionally
// through a Hann window to keep a neighbouring tone from leaking in. For a pure sine of
// amplitude a the result is close to a.
inline double GoertzelAmplitude(const std::vector<double>& x, double frequency, double sampleRate,
                                bool hann = true)
{
    const std::size_t n = x.size();
    if (n == 0)
        return 0.0;
    const double pi = std::acos(-1.0);
    const double w = 2.0 * pi * frequency / sampleRate;
    const double coeff = 2.0 * std::cos(w);
    double s1 = 0.0, s2 = 0.0, windowSum = 0.0;
    for (std::size_t i = 0; i < n; ++i) {
        const double win = hann ? 0.5 - 0.5 * std::cos(2.0 * pi * i / (n - 1 ? n - 1 : 1)) : 1.0;
        windowSum += win;
        const double s0 = x[i] * win + coeff * s1 - s2;
        s2 = s1;
        s1 = s0;
    }
    const double re = s1 - s2 * std::cos(w);
    const double im = s2 * std::sin(w);
    return 2.0 * std::sqrt(re * re + im * im) / windowSum;
}

// The DTMF key a sound carries ('0'..'9', '*', '#', 'A'..'D'), or nullopt when it carries none.
inline std::optional<char> DetectDTMF(const PcmSound& sound)
{
    static constexpr double kRows[] = {697, 770, 852, 941};
    static constexpr double kCols[] = {1209, 1336, 1477, 1633};
    static constexpr char kKeys[4][4] = {
        {'1', '2', '3', 'A'}, {'4', '5', '6', 'B'}, {'7', '8', '9', 'C'}, {'*', '0', '#', 'D'}};
    const auto x = ChannelSamples(sound, 0);
    if (x.size() < 64)
        return std::nullopt;
    auto strongest = [&](const double (&freqs)[4], double& level) {
        int best = 0;
        level = 0.0;
        for (int i = 0; i < 4; ++i) {
            const double a = GoertzelAmplitude(x, freqs[i], sound.format.sampleRate);
            if (a > level) {
                level = a;
                best = i;
            }
        }
        return best;
    };
    double rowLevel = 0, colLevel = 0;
    const int row = strongest(kRows, rowLevel);
    const int col = strongest(kCols, colLevel);
    if (rowLevel < 0.01 || colLevel < 0.01)
        return std::nullopt;
    return kKeys[row][col];
}

class RecordingSoundOut : public SoundOut {
public:
    explicit RecordingSoundOut(RecordingTimeline& timeline) : timeline_(timeline) {}

    struct Played {
        std::int64_t atMs;
        PcmSound sound;
    };

    PlayResult Play(const PcmSound& sound) override
    {
        if (onPlay)
            onPlay(sound);
        if (failWith)
            return {*failWith, failReason};
        const auto digit = DetectDTMF(sound);
        timeline_.Add("tone " + (digit ? std::string(1, *digit) : std::string("?")) + " " +
                      std::to_string(sound.DurationMs()) + "ms");
        played.push_back({timeline_.clock().NowMs(), sound});
        timeline_.clock().Advance(sound.DurationMs());
        return {};
    }
    void Stop() override { ++stops; }
    // A missing device is known before playing; any other failure only shows in Play.
    PlayResult CanPlay(const PcmFormat&) override
    {
        if (cannotPlay)
            return *cannotPlay;
        if (failWith == PlayStatus::NoDevice)
            return {*failWith, failReason};
        return {};
    }

    // The digits of the recorded tones, in order ('?' for a sound that is no digit).
    std::string digits() const
    {
        std::string out;
        for (const auto& p : played) {
            const auto d = DetectDTMF(p.sound);
            out += d ? *d : '?';
        }
        return out;
    }

    // All recorded sounds (8000 Hz, 2 x 16 bits) placed at their times in one WAV image, with
    // `leadMs` of silence before the first and `tailMs` after the last.
    std::vector<std::uint8_t> MixdownWav(int leadMs = 100, int tailMs = 200) const
    {
        constexpr int kRate = 8000, kFrame = 4;
        const std::int64_t origin = played.empty() ? 0 : played.front().atMs - leadMs;
        std::vector<std::uint8_t> data;
        for (const auto& p : played) {
            const auto at = static_cast<std::size_t>((p.atMs - origin) * kRate / 1000 * kFrame);
            if (data.size() < at + p.sound.data.size())
                data.resize(at + p.sound.data.size(), 0);
            std::copy(p.sound.data.begin(), p.sound.data.end(),
                      data.begin() + static_cast<std::ptrdiff_t>(at));
        }
        data.resize(data.size() + static_cast<std::size_t>(tailMs) * kRate / 1000 * kFrame, 0);

        std::vector<std::uint8_t> wav;
        auto tag = [&](const char* t) {
            for (int i = 0; i < 4; ++i)
                wav.push_back(static_cast<std::uint8_t>(t[i]));
        };
        auto u32 = [&](std::uint32_t v) {
            for (int i = 0; i < 4; ++i)
                wav.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
        };
        auto u16 = [&](std::uint16_t v) {
            wav.push_back(static_cast<std::uint8_t>(v));
            wav.push_back(static_cast<std::uint8_t>(v >> 8));
        };
        tag("RIFF");
        u32(static_cast<std::uint32_t>(36 + data.size()));
        tag("WAVE");
        tag("fmt ");
        u32(16);
        u16(1);
        u16(2);
        u32(kRate);
        u32(kRate * kFrame);
        u16(kFrame);
        u16(16);
        tag("data");
        u32(static_cast<std::uint32_t>(data.size()));
        wav.insert(wav.end(), data.begin(), data.end());
        return wav;
    }

    std::vector<Played> played;
    int stops = 0;
    std::optional<PlayStatus> failWith; // every Play fails this way when set
    std::optional<PlayResult> cannotPlay; // what CanPlay answers when set
    std::string failReason;
    std::function<void(const PcmSound&)> onPlay; // runs first; may check state or throw

private:
    RecordingTimeline& timeline_;
};

} // namespace vm880::test
