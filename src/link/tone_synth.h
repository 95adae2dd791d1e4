#pragma once
// Two sine tones mixed into a complete in-memory WAV sound: the DTMF digits of the tone
// link and the courtesy-tone preview are made this way.

#include <cstdint>
#include <vector>

namespace vm880 {

// The fixed format of the synthesised sounds: 8000 samples per second, 16-bit signed,
// two channels carrying the same signal.
namespace tone_format {
inline constexpr int kSampleRate = 8000;
inline constexpr int kBitsPerSample = 16;
inline constexpr int kChannels = 2;
inline constexpr int kBytesPerSample = kBitsPerSample / 8;
inline constexpr int kBlockSize = kBytesPerSample * kChannels;
inline constexpr int kHeaderSize = 44;
} // namespace tone_format

// Number of sample times in `seconds` of sound: rounded to the nearest whole number, a half to
// the even neighbour. Negative or not-a-number durations give 0. Throws std::length_error when
// the sound would not fit the 32-bit size fields of a WAV file.
std::int64_t DualToneSampleCount(double seconds);

// The WAV image (44-byte header and samples) of `freq1` and `freq2` hertz played together for
// `seconds`. Each tone has a quarter of full scale, so samples stay within -8192..8191.
// Frequencies are used as given (the player replaces 0 by 1 beforehand).
std::vector<std::uint8_t> BuildDualToneWav(int freq1, int freq2, double seconds);

} // namespace vm880
