#include "link/wav_file.h"

#include "base/file_kind.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <optional>

namespace vm880 {

namespace {

constexpr std::uint16_t kFormatPcm = 1;
constexpr std::uint16_t kFormatFloat = 3;
constexpr std::uint16_t kFormatExtensible = 0xFFFE;

// Limits outside which a file is refused rather than handed to the sound output.
constexpr int kMaxChannels = 8;
constexpr std::uint32_t kMinSampleRate = 1000;
constexpr std::uint32_t kMaxSampleRate = 384000;

std::uint16_t U16(const std::uint8_t* p) { return static_cast<std::uint16_t>(p[0] | (p[1] << 8)); }

std::uint32_t U32(const std::uint8_t* p)
{
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

bool TagIs(const std::uint8_t* p, const char (&tag)[5]) { return std::memcmp(p, tag, 4) == 0; }

struct FormatChunk {
    std::uint16_t formatTag = 0; // PCM or float after resolving the extensible form
    std::uint16_t channels = 0;
    std::uint32_t sampleRate = 0;
    std::uint16_t blockAlign = 0;
    std::uint16_t bitsPerSample = 0;
};

bool ReadFormat(std::span<const std::uint8_t> body, FormatChunk& fmt, std::string& error)
{
    if (body.size() < 16) {
        error = "its format description is incomplete";
        return false;
    }
    const std::uint8_t* p = body.data();
    fmt.formatTag = U16(p);
    fmt.channels = U16(p + 2);
    fmt.sampleRate = U32(p + 4);
    fmt.blockAlign = U16(p + 12);
    fmt.bitsPerSample = U16(p + 14);
    if (fmt.formatTag == kFormatExtensible) {
        // cbSize, valid bits, channel mask, then a GUID whose first two bytes are the format.
        if (body.size() < 40) {
            error = "its format description is incomplete";
            return false;
        }
        static constexpr std::array<std::uint8_t, 14> kGuidTail = {
            0x00, 0x00, 0x00, 0x00, 0x10, 0x00, 0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};
        if (!std::equal(kGuidTail.begin(), kGuidTail.end(), p + 26)) {
            error = "it uses a sound coding other than PCM";
            return false;
        }
        fmt.formatTag = U16(p + 24);
    }
    return true;
}

// The PCM layout the samples are handed on in; nullopt when the coding is not supported.
std::optional<SampleType> OutputType(const FormatChunk& fmt, std::string& error)
{
    if (fmt.formatTag == kFormatPcm) {
        switch (fmt.bitsPerSample) {
        case 8: return SampleType::UInt8;
        case 16: return SampleType::Int16;
        case 24:
        case 32: return SampleType::Int32;
        default: break;
        }
        error = "it has " + std::to_string(fmt.bitsPerSample) +
                "-bit samples (8, 16, 24 or 32 bits can be played)";
        return std::nullopt;
    }
    if (fmt.formatTag == kFormatFloat) {
        if (fmt.bitsPerSample == 32 || fmt.bitsPerSample == 64)
            return SampleType::Float;
        error = "it has " + std::to_string(fmt.bitsPerSample) + "-bit floating-point samples";
        return std::nullopt;
    }
    error = "it is compressed (format " + std::to_string(fmt.formatTag) +
            "); only uncompressed PCM WAV files can be played";
    return std::nullopt;
}

bool CheckLayout(const FormatChunk& fmt, std::string& error)
{
    if (fmt.channels < 1 || fmt.channels > kMaxChannels) {
        error = "it has " + std::to_string(fmt.channels) + " channels (1 to " +
                std::to_string(kMaxChannels) + " can be played)";
        return false;
    }
    if (fmt.sampleRate < kMinSampleRate || fmt.sampleRate > kMaxSampleRate) {
        error = "its sample rate of " + std::to_string(fmt.sampleRate) + " Hz is not supported";
        return false;
    }
    const unsigned frame = static_cast<unsigned>(fmt.bitsPerSample / 8) * fmt.channels;
    if (fmt.blockAlign != frame) {
        error = "its format description is inconsistent (block size " +
                std::to_string(fmt.blockAlign) + " for " + std::to_string(fmt.channels) +
                " channels of " + std::to_string(fmt.bitsPerSample) + " bits)";
        return false;
    }
    return true;
}

void ConvertSamples(std::span<const std::uint8_t> in, const FormatChunk& fmt,
                    std::vector<std::uint8_t>& out)
{
    const std::size_t inBytes = fmt.bitsPerSample / 8;
    if (fmt.formatTag == kFormatPcm && inBytes == 3) {
        // 24-bit to 32-bit: the three bytes become the top of the 32-bit sample.
        out.reserve(in.size() / 3 * 4);
        for (std::size_t i = 0; i + 3 <= in.size(); i += 3) {
            out.push_back(0);
            out.insert(out.end(), in.begin() + static_cast<std::ptrdiff_t>(i),
                       in.begin() + static_cast<std::ptrdiff_t>(i + 3));
        }
        return;
    }
    if (fmt.formatTag == kFormatFloat && inBytes == 8) {
        out.reserve(in.size() / 2);
        for (std::size_t i = 0; i + 8 <= in.size(); i += 8) {
            std::uint64_t bits = 0;
            for (int b = 7; b >= 0; --b)
                bits = (bits << 8) | in[i + static_cast<std::size_t>(b)];
            double wide = 0;
            std::memcpy(&wide, &bits, sizeof wide);
            const float narrow = static_cast<float>(wide);
            std::uint32_t raw = 0;
            std::memcpy(&raw, &narrow, sizeof raw);
            for (int b = 0; b < 4; ++b)
                out.push_back(static_cast<std::uint8_t>(raw >> (8 * b)));
        }
        return;
    }
    out.assign(in.begin(), in.end());
}

} // namespace

bool ParseWav(std::span<const std::uint8_t> bytes, PcmSound& sound, std::string& error)
{
    sound = PcmSound{};
    error.clear();
    if (bytes.size() < 12 || !TagIs(bytes.data(), "RIFF") || !TagIs(bytes.data() + 8, "WAVE")) {
        error = "it is not a WAV file";
        return false;
    }

    std::optional<FormatChunk> fmt;
    std::optional<std::span<const std::uint8_t>> data;
    std::size_t at = 12;
    while (bytes.size() - at >= 8 && !(fmt && data)) {
        const std::uint8_t* head = bytes.data() + at;
        const std::size_t size = U32(head + 4);
        const std::size_t available = bytes.size() - at - 8;
        const std::size_t bodySize = std::min(size, available);
        const auto body = bytes.subspan(at + 8, bodySize);
        if (TagIs(head, "fmt ") && !fmt) {
            if (size > available) {
                error = "its format description is cut short";
                return false;
            }
            FormatChunk read;
            if (!ReadFormat(body, read, error))
                return false;
            fmt = read;
        } else if (TagIs(head, "data") && !data) {
            data = body; // a data chunk cut short keeps what is there
        }
        if (size >= available)
            break;
        at += 8 + size + (size & 1); // chunks are padded to an even size
    }

    if (!fmt) {
        error = "it has no format description";
        return false;
    }
    const auto type = OutputType(*fmt, error);
    if (!type || !CheckLayout(*fmt, error))
        return false;
    if (!data) {
        error = "it holds no sound data";
        return false;
    }

    const std::size_t frame = fmt->blockAlign;
    const std::size_t whole = data->size() / frame * frame;
    sound.format.sampleRate = static_cast<int>(fmt->sampleRate);
    sound.format.channels = fmt->channels;
    sound.format.sampleType = *type;
    ConvertSamples(data->first(whole), *fmt, sound.data);
    return true;
}

std::string WavFileFailureText(const std::string& fileName, const std::string& reason)
{
    return "The WAV file could not be played:\r\n" + fileName + "\r\n\r\n" + reason + ".";
}

bool LoadWavFile(const std::string& path, PcmSound& sound, std::string& error)
{
    sound = PcmSound{};
    InputFile file(path);
    if (file.Stamp().size > kMaxWavFileBytes) {
        error = WavFileFailureText(path, "the file is too large (over "
                                             + std::to_string(kMaxWavFileBytes / (1024 * 1024)) + " MB)");
        return false;
    }
    std::string text;
    if (!file.Read(kMaxWavFileBytes, text)) {
        error = file.Refusal();
        return false;
    }
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(text.data());
    if (!ParseWav({bytes, text.size()}, sound, error)) {
        error = WavFileFailureText(path, error);
        return false;
    }
    return true;
}

} // namespace vm880
