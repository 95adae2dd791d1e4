#pragma once
// Reading WAV files into PCM for the sound output. Files come from the operator (DVR
// recordings) and may be damaged or not WAV at all: every size is checked against the bytes
// really there, and a refusal says why in words the operator can act on.

#include "interfaces/sound_out.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace vm880 {

// Largest WAV file read into memory (a DVR message is seconds long).
inline constexpr std::size_t kMaxWavFileBytes = 256u * 1024u * 1024u;

// Parses a RIFF/WAVE image holding integer PCM (8, 16, 24 or 32 bits) or 32/64-bit float
// samples, plain or in the extensible format. 24-bit samples become 32-bit, 64-bit float
// becomes 32-bit float. A data chunk cut short by the end of the file gives the whole frames
// that are there. On failure returns false, leaves `sound` empty and sets `error`.
bool ParseWav(std::span<const std::uint8_t> bytes, PcmSound& sound, std::string& error);

// The message shown when the WAV file `fileName` could not be played; `reason` from the parser.
std::string WavFileFailureText(const std::string& fileName, const std::string& reason);

// Reads and parses the file `path`; `error` is the message to show when it could not: the
// file's refusal (missing, no file, unreadable) or why it cannot be played (too large, not a
// WAV file we can play).
bool LoadWavFile(const std::string& path, PcmSound& sound, std::string& error);

} // namespace vm880
