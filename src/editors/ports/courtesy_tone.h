#pragma once
// A courtesy tone as the editor sees it: sixteen values in four segments (a delay before the
// segment, its duration and two tones sounding together), the change flag of each segment,
// and the preview that plays one tone through the sound card. Plain C++: the editor window
// declares its fields from this table and hands the preview its working values.

#include "model/config_model.h"

#include <array>
#include <cstdint>

namespace vm880 {

class Clock;
class TonePlayer;

inline constexpr int kCourtesyPorts = 3;
inline constexpr int kCourtesyToneCount = 10;
inline constexpr int kCourtesySegments = 4;
inline constexpr int kCourtesyValues = 16;

// One of the sixteen fields. Field k sits at row k - 1, in the order Apply compares the values
// and a shown tone is written: Delay1..Delay4, Dur1..Dur4, Tone1..Tone8.
struct CourtesyField {
    int number;                        // the pending state while it is edited
    const char* setting;               // settings key; the control is this and "Set"
    CourtesyTexts ConfigModel::*value;
    int segment;                       // 1..4: whose change flag a changed value raises
    int hi;                            // the range is 0..hi
    const char* message;
    const char* titleEnding;           // after "WhichPort " and the port
};

extern const std::array<CourtesyField, kCourtesyValues> kCourtesyFields;

// The change flag of segment 1..4: one flag for its delay, duration and both tones.
CourtesyFlags ConfigModel::*CourtesySegmentFlag(int segment);

// The sixteen values of one courtesy tone, field k at index k - 1.
using CourtesyToneValues = std::array<Text, kCourtesyValues>;

// One segment as the preview plays it.
struct PreviewSegment {
    std::int32_t delayMs = 0;
    std::int16_t tone1 = 0; // hertz; 0 is played as an inaudible 1 Hz
    std::int16_t tone2 = 0;
    double seconds = 0.0;

    bool operator==(const PreviewSegment&) const = default;
};

// The four segments of a courtesy tone. The field checks let only digit texts within the
// bounds reach here; anything else is taken as 0, so it can neither fail nor pause for ever.
std::array<PreviewSegment, kCourtesySegments> PreviewSegments(const CourtesyToneValues& values);

// Plays the courtesy tone segment by segment: the delay, then both tones for the duration.
// Each sound has ended before the next delay starts, so segments never overlap; a segment of
// duration 0 plays nothing. Blocks until the last segment has sounded. False when a segment
// could not be played: the player has told the operator, and the rest is not played.
bool PlayCourtesyTone(const CourtesyToneValues& values, TonePlayer& player, Clock& clock);

} // namespace vm880
