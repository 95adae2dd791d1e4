// Fuzz target of the memory decoders: any input is a main memory image and an option memory
// file at once. Each decoder must either refuse it with its own error or produce settings that
// a settings file can hold; a decoded image must come back unchanged when written back.

#include "download/eram_decoder.h"
#include "download/memory_layout.h"
#include "download/option_decoder.h"
#include "memory_image_encoder.h"
#include "model/ini_document.h"
#include "model/settings_writer.h"

#include <cstdio>
#include <cstdlib>

namespace {

using namespace vm880;

void check(bool ok, const char* what)
{
    if (!ok) {
        std::fprintf(stderr, "broken: %s\n", what);
        std::abort();
    }
}

std::string entries(const ConfigModel& m)
{
    std::string text;
    ForEachSettingsEntry(m, [&](std::string_view, std::string_view key, std::string_view value) {
        check(IniDocument::ValidValue(value), "a value a settings file cannot hold");
        for (char c : value)
            check(c >= 0x20 && c <= 0x7E, "a character outside printable ASCII");
        text.append(key).append("=").append(value).append("\n");
    });
    return text;
}

void mainImage(std::string_view text)
{
    std::vector<std::uint8_t> image;
    try {
        image = ParseMemoryImage(text);
    } catch (const ImageError& e) {
        check(SectionAt(e.position()) != nullptr, "a refusal outside the image");
        return;
    }
    ConfigModel once;
    DecodeNotes notes;
    DecodeImage(image, once, notes);
    ConfigModel twice;
    DecodeImage(test::EncodeMemoryImage(once), twice, notes);
    check(entries(once) == entries(twice), "a decoded image that does not come back");
}

template <typename Decode>
void optionFile(std::string_view text, Decode decode)
{
    ConfigModel m;
    DecodeNotes notes;
    try {
        decode(text, m, notes);
    } catch (const SystemError&) {
    }
    entries(m);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    mainImage(text);
    optionFile(text, DecodeAPRecords);
    optionFile(text, DecodeRTCRecords);
    return 0;
}
