#include "editors/ports/courtesy_tone.h"

#include "link/tone_player.h"
#include "base/value_checks.h"
#include "interfaces/clock.h"

#include <string>

namespace vm880 {

namespace {

using M = ConfigModel;

constexpr int kMs = 10000; // delays and durations, milliseconds
constexpr int kHz = 3500;  // tones, hertz
constexpr const char* kDelay = "Delay invalid, must be between ";
constexpr const char* kDuration = "Duration invalid, must be between ";
constexpr const char* kTone = "Tone invalid, must be between ";

// The value of a field, or 0 when its text is not a whole number within the field's range.
int valueOf(const CourtesyToneValues& values, int number)
{
    const Text& text = values[static_cast<std::size_t>(number - 1)];
    const int hi = kCourtesyFields[static_cast<std::size_t>(number - 1)].hi;
    return CheckNumber(text, 0, hi) == kValid ? std::stoi(text) : 0;
}

} // namespace

const std::array<CourtesyField, kCourtesyValues> kCourtesyFields = {{
    {1, "Delay1", &M::Delay1, 1, kMs, kDelay, ": Delay1"},
    {2, "Delay2", &M::Delay2, 2, kMs, kDelay, ": Delay2"},
    {3, "Delay3", &M::Delay3, 3, kMs, kDelay, ": Delay3"},
    {4, "Delay4", &M::Delay4, 4, kMs, kDelay, ": Delay4"},
    {5, "Dur1", &M::Dur1, 1, kMs, kDuration, ": Dur1"},
    {6, "Dur2", &M::Dur2, 2, kMs, kDuration, ": Dur2"},
    {7, "Dur3", &M::Dur3, 3, kMs, kDuration, ": Dur3"},
    {8, "Dur4", &M::Dur4, 4, kMs, kDuration, ": Dur4"},
    {9, "Tone1", &M::Tone1, 1, kHz, kTone, ": Tone1"},
    {10, "Tone2", &M::Tone2, 1, kHz, kTone, ": Tone2"},
    {11, "Tone3", &M::Tone3, 2, kHz, kTone, ": Tone3"},
    {12, "Tone4", &M::Tone4, 2, kHz, kTone, ": Tone4"},
    {13, "Tone5", &M::Tone5, 3, kHz, kTone, ": Tone5"},
    {14, "Tone6", &M::Tone6, 3, kHz, kTone, ": Tone6"},
    {15, "Tone7", &M::Tone7, 4, kHz, kTone, ": Tone7"},
    {16, "Tone8", &M::Tone8, 4, kHz, kTone, ": Tone8"},
}};

CourtesyFlags ConfigModel::*CourtesySegmentFlag(int segment)
{
    static constexpr CourtesyFlags M::*kFlags[] = {&M::CTSeg1Changed, &M::CTSeg2Changed,
                                                   &M::CTSeg3Changed, &M::CTSeg4Changed};
    return kFlags[segment - 1];
}

std::array<PreviewSegment, kCourtesySegments> PreviewSegments(const CourtesyToneValues& values)
{
    std::array<PreviewSegment, kCourtesySegments> segments;
    for (int s = 1; s <= kCourtesySegments; ++s) {
        PreviewSegment& segment = segments[static_cast<std::size_t>(s - 1)];
        segment.delayMs = valueOf(values, s);
        segment.seconds = valueOf(values, 4 + s) / 1000.0;
        segment.tone1 = static_cast<std::int16_t>(valueOf(values, 8 + 2 * s - 1));
        segment.tone2 = static_cast<std::int16_t>(valueOf(values, 8 + 2 * s));
    }
    return segments;
}

bool PlayCourtesyTone(const CourtesyToneValues& values, TonePlayer& player, Clock& clock)
{
    for (const PreviewSegment& segment : PreviewSegments(values)) {
        clock.SleepMs(segment.delayMs);
        // Duration 0 is a sound of no samples: there is nothing to hear, so nothing is played.
        if (segment.seconds <= 0.0)
            continue;
        if (!player.PlayDualTone(segment.tone1, segment.tone2, segment.seconds))
            return false;
    }
    return true;
}

} // namespace vm880
