#include "tables/macro_coding.h"

#include "base/text.h"

namespace vm880 {

namespace {

constexpr std::uint8_t kEscape = 255; // a 255 byte means "add the next byte too"
constexpr int kMaxEscapes = 3;

// k: how many 255 bytes stand in front of the last byte of a code from 1 to 1019.
constexpr long long escapeCount(long long code)
{
    return (code - 1) / 255;
}

bool hasForm(long long code)
{
    return code >= 1 && code <= kMaxMacroCode && code % 255 != 0;
}

} // namespace

int MacroCodeByteCount(long long code)
{
    if (code < 1 || code > kMaxMacroCode)
        return kMaxEscapes + 1;
    return static_cast<int>(escapeCount(code)) + 1;
}

std::vector<std::uint8_t> EncodeMacroCode(long long code)
{
    if (!hasForm(code))
        return {};
    const long long k = escapeCount(code);
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(k), kEscape);
    bytes.push_back(static_cast<std::uint8_t>(code - 255 * k));
    return bytes;
}

std::optional<std::vector<std::uint8_t>> EncodeMacroText(std::string_view text)
{
    std::vector<std::uint8_t> bytes;
    if (text == "NONE STORED")
        return bytes;
    std::size_t pos = 0;
    while (pos <= text.size()) {
        std::size_t end = text.find(' ', pos);
        if (end == std::string_view::npos)
            end = text.size();
        const std::string_view token = text.substr(pos, end - pos);
        pos = end + 1;
        if (token.empty())
            continue;
        const std::optional<long long> code = DigitsValue(token);
        if (!code || !hasForm(*code))
            return std::nullopt;
        const std::vector<std::uint8_t> codeBytes = EncodeMacroCode(*code);
        bytes.insert(bytes.end(), codeBytes.begin(), codeBytes.end());
    }
    return bytes;
}

std::optional<std::vector<std::uint8_t>> EncodeMacroSlot(std::string_view text,
                                                         std::size_t slotBytes)
{
    std::optional<std::vector<std::uint8_t>> bytes = EncodeMacroText(text);
    if (!bytes || bytes->size() >= slotBytes)
        return std::nullopt;
    bytes->resize(slotBytes, 0);
    return bytes;
}

std::string DecodeMacroSlot(std::span<const std::uint8_t> slot)
{
    std::string text;
    std::size_t i = 0;
    while (i < slot.size() && slot[i] != 0) {
        std::uint8_t last = slot[i++];
        long long code = last;
        for (int escapes = 0; escapes < kMaxEscapes && last == kEscape; ++escapes) {
            if (i >= slot.size() || slot[i] == 0)
                break;
            last = slot[i++];
            code += last;
        }
        if (!text.empty())
            text += ' ';
        text += FormatMacroCode(code);
    }
    return text.empty() ? std::string("NONE STORED") : text;
}

std::string FormatMacroCode(long long code)
{
    std::string digits = std::to_string(code);
    if (code >= 0 && digits.size() < 3)
        digits.insert(0, 3 - digits.size(), '0');
    return digits;
}

} // namespace vm880
