// DecodeEram on memory files: line formats, truncated and malformed images, the report of a
// failure, the untouched model after one, and the files the decoder creates.

#include "download/eram_decoder.h"
#include "memory_image_encoder.h"
#include "model/error_report.h"
#include "scripted_prompts.h"
#include "temp_folder.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace vm880;
using test::ReadFile;
using test::WriteFile;

namespace {

struct EramFileTest : ::testing::Test {
    test::TempFolder dir;
    test::ScriptedPrompts prompts;
    ConfigModel m;
    std::string mem = dir.file("download.mem");
    std::vector<std::uint8_t> image = test::EncodeMemoryImage(test::SampleControllerModel());

    // The image's lines, each without its line end.
    std::vector<std::string> lines() const
    {
        std::vector<std::string> out;
        for (std::size_t i = 0; i < image.size(); ++i)
            out.push_back(std::to_string(i) + "," + std::to_string(image[i]));
        return out;
    }

    static std::string join(const std::vector<std::string>& lines, const std::string& end = "\r\n")
    {
        std::string text;
        for (const std::string& l : lines)
            text += l + end;
        return text;
    }

    // Decodes `text` and expects the failure report naming `step` and containing `error`.
    void expectFailure(const std::string& text, const std::string& step, const std::string& error)
    {
        WriteFile(mem, text);
        m.HangTime(1) = "untouched";
        prompts.Answer(Answer::Ok, kSystemErrorTitle);
        EXPECT_EQ(DecodeEram(m, prompts, mem), kFailed) << step;
        ASSERT_FALSE(prompts.prompts().empty());
        const std::string& report = prompts.prompts().back().text;
        EXPECT_NE(report.find("Location = LoadEram: LoadEram: " + step + "\r\n"), std::string::npos) << report;
        EXPECT_NE(report.find(error), std::string::npos) << report;
        EXPECT_NE(report.find("Error in decoding download file"), std::string::npos);
        EXPECT_EQ(m.HangTime(1), "untouched") << "a failed decode must leave the model alone";
        EXPECT_FALSE(prompts.waitShown());
    }
};

} // namespace

TEST_F(EramFileTest, LineFormsThatDecodeAlike)
{
    std::vector<std::string> plain = lines();
    std::vector<std::string> loose = lines();
    for (std::size_t i = 0; i < loose.size(); i += 3)
        loose[i] = std::to_string(image[i]); // no address and no comma
    for (std::size_t i = 1; i < loose.size(); i += 3)
        loose[i] = "x," + std::string(" \t") + std::to_string(image[i]) + " "; // blanks around
    for (std::size_t i = 2; i < loose.size(); i += 3)
        loose[i] = "9,00" + std::to_string(image[i]); // leading zeros, wrong address

    ConfigModel expected;
    DecodeNotes notes;
    DecodeImage(image, expected, notes);
    const std::pair<std::string, std::string> files[] = {
        {"CR LF", join(plain)},
        {"LF", join(plain, "\n")},
        {"CR", join(plain, "\r")},
        {"no end on the last line", join(plain).substr(0, join(plain).size() - 2)},
        {"loose lines", join(loose)},
        {"lines after 4057 ignored", join(plain) + "4058,999\r\ngarbage\r\n" + std::string(100000, 'x')},
    };
    for (const auto& [what, text] : files) {
        WriteFile(mem, text);
        ConfigModel decoded;
        ASSERT_EQ(DecodeEram(decoded, prompts, mem), kDone) << what;
        EXPECT_EQ(decoded.Macro(2), expected.Macro(2)) << what;
        EXPECT_EQ(decoded.TOTReset(3), expected.TOTReset(3)) << what;
        EXPECT_EQ(decoded.PreAccessPrefix, expected.PreAccessPrefix) << what;
    }
    EXPECT_TRUE(prompts.prompts().empty());
    EXPECT_EQ(prompts.waitShownCount(), 6);
    EXPECT_FALSE(prompts.waitShown());
}

TEST_F(EramFileTest, TruncatedImagesFailInTheSectionTheyEndIn)
{
    std::vector<std::string> l = lines();
    l.pop_back();
    expectFailure(join(l), "TOT Reset (4055 - 4057)",
                  "Error Number = 62\r\nError = The memory image ends after 4057 lines: Line 4058 "
                  "(position 4057) is missing");
    l.resize(1000);
    expectFailure(join(l), "Courtesy Tone(712 - 1671)", "ends after 1000 lines");
    expectFailure("", "PreAccess Prefix (0-3)", "ends after 0 lines");
}

TEST_F(EramFileTest, MalformedLinesFailNamingTheLine)
{
    struct Bad { int position; std::string line; const char* step; const char* error; };
    const Bad cases[] = {
        {100, "100,abc", "Speech ID Override (99, 100, 101)",
         "Error Number = 13\r\nError = Line 101 (position 100) of the memory image holds \"100,abc\", "
         "which has no byte value from 0 to 255"},
        {13, "13,", "Get byte for future Weather Station Type Select after General Timer Macro (13-)",
         "Line 14 (position 13)"},
        {2000, "", "DVR Rows Used (1990 - 2029)", "Line 2001 (position 2000)"},
        {15, "15,-1", "Hang Time (15, 16, 17)", "holds \"15,-1\""},
        {16, "16,1 2", "Hang Time (15, 16, 17)", "holds \"16,1 2\""},
        {17, "17,256", "Hang Time (15, 16, 17)",
         "Error Number = 6\r\nError = Line 18 (position 17) of the memory image holds the value 256, "
         "above the byte maximum 255"},
        {18, "18,99999999999999999999", "IID Time (18, 19, 20)", "above the byte maximum 255"},
        {3000, "3000," + std::string(200, '0') + "1", "Macros 1 - 40 (2469 - 3108)",
         "Line 3001 (position 3000) of the memory image is 206 characters long"},
        {4057, std::string("4057,\0", 6) + "1", "TOT Reset (4055 - 4057)", "holds \"4057,?1\""},
    };
    for (const Bad& c : cases) {
        std::vector<std::string> l = lines();
        l[std::size_t(c.position)] = c.line;
        expectFailure(join(l), c.step, c.error);
    }
}

TEST_F(EramFileTest, MissingFileFailsAtOpenFile)
{
    prompts.Answer(Answer::Ok, kSystemErrorTitle);
    EXPECT_EQ(DecodeEram(m, prompts, dir.file("nowhere.mem")), kFailed);
    EXPECT_NE(prompts.prompts().back().text.find("Error Number = 53"), std::string::npos);
    EXPECT_NE(prompts.prompts().back().text.find("Location = LoadEram: LoadEram: Open File\r\n"),
              std::string::npos);
    prompts.Answer(Answer::Ok, kSystemErrorTitle);
    EXPECT_EQ(DecodeEram(m, prompts, dir.path().string()), kFailed);
    EXPECT_NE(prompts.prompts().back().text.find(dir.path().string() + " is a folder, not a file."), std::string::npos);
}

TEST_F(EramFileTest, TheEraFileIsCreatedEmptyOnEveryRun)
{
    const std::string era = dir.file("download.era");
    WriteFile(mem, join(lines()));
    WriteFile(era, "left over");
    EXPECT_EQ(DecodeEram(m, prompts, mem, era), kDone);
    EXPECT_EQ(ReadFile(era), "");

    // A folder that cannot take it stops the decoding before anything is read.
    prompts.Answer(Answer::Ok, kSystemErrorTitle);
    EXPECT_EQ(DecodeEram(m, prompts, mem, dir.file("missing/download.era")), kFailed);
    EXPECT_NE(prompts.prompts().back().text.find("LoadEram: Open File"), std::string::npos);
}

TEST_F(EramFileTest, ReplacedValuesAreShownAfterASuccessfulDecode)
{
    image[3915] = 13; // the lock code holds a carriage return
    image[302] = 0;   // set point 7 far out of range
    image[303] = 0;
    image[304] = 0x80;
    image[305] = 0x7F;
    WriteFile(mem, join(lines()));
    prompts.Answer(Answer::Ok, "ERAM Decode Warning");
    ASSERT_EQ(DecodeEram(m, prompts, mem), kDone);
    EXPECT_EQ(m.Lock, "?");
    EXPECT_EQ(m.MeterSetPoint(7), "0");
    const test::RecordedPrompt& box = prompts.prompts().back();
    EXPECT_EQ(box.style, style::OkOnly + style::Exclamation);
    EXPECT_EQ(box.text,
              "Some values could not be taken as they are and were replaced:\r\n\r\n"
              "MeterSetPoint(7) (positions 302-305): the set point 3.40282e+38 lies outside "
              "-350.00 to 350.00; stored as 0\r\n"
              "Lock (positions 3915-3919): 1 character that a settings file cannot hold replaced "
              "by \"?\"\r\n\r\n"
              "Please check these settings before you upload them to the controller.");
}
