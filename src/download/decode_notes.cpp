#include "download/decode_notes.h"

#include "base/file_kind.h"

#include "model/error_report.h"
#include "interfaces/prompts.h"

#include <cmath>

namespace vm880 {

namespace {

constexpr std::size_t kNotesShown = 15;

} // namespace

void StoreText(Text& target, std::string text, std::string_view where, DecodeNotes& notes)
{
    int replaced = 0;
    for (char& c : text)
        if (!StorableChar(static_cast<unsigned char>(c))) {
            c = kReplacementChar;
            ++replaced;
        }
    if (replaced > 0)
        notes.push_back(std::string(where) + ": " + std::to_string(replaced)
                        + (replaced == 1 ? " character" : " characters")
                        + " that a settings file cannot hold replaced by \"?\"");
    target = std::move(text);
}

void ShowDecodeNotes(Prompts& prompts, std::string_view title, const DecodeNotes& notes)
{
    if (notes.empty())
        return;
    std::string text = "Some values could not be taken as they are and were replaced:\r\n\r\n";
    for (std::size_t i = 0; i < notes.size() && i < kNotesShown; ++i)
        text += notes[i] + "\r\n";
    if (notes.size() > kNotesShown)
        text += "... and " + std::to_string(notes.size() - kNotesShown) + " more\r\n";
    text += "\r\nPlease check these settings before you upload them to the controller.";
    prompts.Message(style::OkOnly + style::Exclamation, title, text);
}

std::string ReadFileStart(const std::string& path, std::size_t limit)
{
    InputFile file(path);
    std::string text;
    if (!file.Read(limit, text))
        throw SystemError(file.Missing() ? error_number::FileNotFound : error_number::FileAccess, file.Refusal());
    return text;
}

double RoundHalfEven(double value)
{
    const double low = std::floor(value);
    const double fraction = value - low;
    if (fraction > 0.5)
        return low + 1;
    if (fraction < 0.5)
        return low;
    return std::fmod(low, 2.0) == 0 ? low : low + 1;
}

std::string Printable(std::string_view text, std::size_t maxLength)
{
    std::string shown(text.substr(0, maxLength));
    for (char& c : shown)
        if (!StorableChar(static_cast<unsigned char>(c)))
            c = kReplacementChar;
    if (text.size() > maxLength)
        shown += "...";
    return shown;
}

} // namespace vm880
