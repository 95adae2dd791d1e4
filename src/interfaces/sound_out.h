#pragma once
// The sound output: plays a block of PCM samples and returns only when it has really been
// heard, because the tone link times its digits and the transmitter keying by it. The Qt
// implementation plays through the system's audio output; tests record what was played.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace vm880 {

enum class SampleType { UInt8, Int16, Int32, Float };

struct PcmFormat {
    int sampleRate = 0;
    int channels = 0;
    SampleType sampleType = SampleType::Int16;

    int BytesPerSample() const
    {
        switch (sampleType) {
        case SampleType::UInt8: return 1;
        case SampleType::Int16: return 2;
        case SampleType::Int32:
        case SampleType::Float: return 4;
        }
        return 0;
    }
    int BytesPerFrame() const { return BytesPerSample() * channels; }
    bool operator==(const PcmFormat&) const = default;
};

// Interleaved little-endian samples, whole frames only.
struct PcmSound {
    PcmFormat format;
    std::vector<std::uint8_t> data;

    std::size_t FrameCount() const
    {
        const int frame = format.BytesPerFrame();
        return frame > 0 ? data.size() / static_cast<std::size_t>(frame) : 0;
    }
    // Duration in milliseconds, rounded up so that a wait of this length covers the sound.
    std::int64_t DurationMs() const
    {
        if (format.sampleRate <= 0)
            return 0;
        const auto frames = static_cast<std::int64_t>(FrameCount());
        return (frames * 1000 + format.sampleRate - 1) / format.sampleRate;
    }
};

enum class PlayStatus {
    Played,   // the whole sound was played
    Stopped,  // Stop() ended it early
    NoDevice, // there is no sound output to play it on
    Failed,   // the output refused the sound or broke down; `reason` says how
};

struct PlayResult {
    PlayStatus status = PlayStatus::Played;
    std::string reason; // for the operator, e.g. "no sound device was found"

    bool played() const { return status == PlayStatus::Played; }
};

class SoundOut {
public:
    virtual ~SoundOut() = default;

    // Plays `sound` and returns when it has been heard to the end. An empty sound returns
    // Played at once. While one sound plays (the window stays responsive meanwhile), a second
    // call fails instead of mixing or cutting the first.
    virtual PlayResult Play(const PcmSound& sound) = 0;

    // Whether a sound in `format` could be played now, without playing anything: Played
    // when it could, else NoDevice or Failed with the reason. For actions that must know
    // before they commit the controller to something the sound has to complete.
    virtual PlayResult CanPlay(const PcmFormat& format) = 0;

    // Ends the sound being played, if any; its Play returns Stopped.
    virtual void Stop() = 0;
};

} // namespace vm880
