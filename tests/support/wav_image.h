#pragma once
// A small WAV image for tests: `frames` silent frames of mono 16-bit sound at 8000 Hz;
// `format` 1 is PCM, anything else a format the reader does not play.

#include <cstdint>
#include <string>

namespace vm880::test {

inline std::string WavImage(int frames, int format = 1)
{
    std::string wav;
    auto u32 = [&](std::uint32_t v) {
        for (int i = 0; i < 4; ++i)
            wav += static_cast<char>(v >> (8 * i));
    };
    auto u16 = [&](std::uint32_t v) { u32(v), wav.resize(wav.size() - 2); };
    const auto bytes = static_cast<std::uint32_t>(frames * 2);
    wav += "RIFF";
    u32(36 + bytes);
    wav += "WAVEfmt ";
    u32(16);
    u16(static_cast<std::uint32_t>(format));
    u16(1);
    u32(8000);
    u32(16000);
    u16(2);
    u16(16);
    wav += "data";
    u32(bytes);
    return wav + std::string(bytes, '\0');
}

} // namespace vm880::test
