// Replays the committed fuzz corpus through the parser and the reader.

#include "../../fuzz/settings_file_target.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

std::vector<std::string> corpus()
{
    std::vector<std::string> files;
    for (const auto& e : std::filesystem::directory_iterator(VM880_TEST_DATA_DIR "/corpus"))
        files.push_back(e.path().string());
    return files;
}

std::string bytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

} // namespace

TEST(FuzzCorpus, ParserAndReaderSurviveEveryInput)
{
    const auto files = corpus();
    ASSERT_GE(files.size(), 5u);
    for (const std::string& f : files) {
        SCOPED_TRACE(f);
        const std::string data = bytes(f);
        const auto* p = reinterpret_cast<const std::uint8_t*>(data.data());
        vm880::fuzz::ParseIni(p, data.size());
        vm880::fuzz::LoadSettingsFile(p, data.size());
    }
}
