// Every file of the decoders' fuzz corpus, replayed through the three decoders as the fuzz
// target does: a file is either refused with a report-ready error or decoded into settings
// that a settings file can hold, and a decoded image is stable when written back.

#include "download/eram_decoder.h"
#include "download/memory_layout.h"
#include "download/option_decoder.h"
#include "memory_image_encoder.h"
#include "model/ini_document.h"
#include "model/settings_writer.h"
#include "temp_folder.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace vm880;

namespace {

void expectStorable(const ConfigModel& m, const std::string& what)
{
    ForEachSettingsEntry(m, [&](std::string_view, std::string_view key, std::string_view value) {
        EXPECT_TRUE(IniDocument::ValidValue(value)) << what << ": " << key;
        for (char c : value)
            ASSERT_TRUE(c >= 0x20 && c <= 0x7E) << what << ": " << key;
    });
}

std::vector<std::string> entries(const ConfigModel& m)
{
    std::vector<std::string> lines;
    ForEachSettingsEntry(m, [&](std::string_view, std::string_view key, std::string_view value) {
        lines.push_back(std::string(key) + "=" + std::string(value));
    });
    return lines;
}

std::vector<std::filesystem::path> corpus()
{
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(VM880_TEST_DATA_DIR "/corpus"))
        files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    return files;
}

} // namespace

TEST(DecoderCorpus, EveryFileIsRefusedOrDecodedIntoStorableSettings)
{
    int images = 0, refused = 0;
    for (const std::filesystem::path& file : corpus()) {
        const std::string what = file.filename().string();
        const std::string text = test::ReadFile(file.string());

        try {
            const std::vector<std::uint8_t> image = ParseMemoryImage(text);
            ConfigModel once;
            DecodeNotes notes;
            DecodeImage(image, once, notes);
            expectStorable(once, what);
            ConfigModel twice;
            DecodeImage(test::EncodeMemoryImage(once), twice, notes);
            EXPECT_EQ(entries(once), entries(twice)) << what;
            ++images;
        } catch (const ImageError& e) {
            EXPECT_GE(e.position(), 0) << what;
            EXPECT_LT(e.position(), kMemoryImageSize) << what;
            EXPECT_NE(std::string(e.what()).find("Line "), std::string::npos) << what;
            EXPECT_NE(SectionAt(e.position()), nullptr) << what;
            ++refused;
        }

        for (auto decode : {DecodeAPRecords, DecodeRTCRecords}) {
            ConfigModel m;
            DecodeNotes notes;
            try {
                decode(text, m, notes);
            } catch (const SystemError& e) {
                EXPECT_NE(std::string(e.what()).find("of the memory file"), std::string::npos) << what;
            }
            expectStorable(m, what);
        }
    }
    EXPECT_GE(images, 4);
    EXPECT_GE(refused, 3);
}
