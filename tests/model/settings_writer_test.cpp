#include "model/error_report.h"
#include "model/key_access.h"
#include "model/settings_writer.h"
#include "scripted_prompts.h"
#include "temp_folder.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace vm880;
using test::ReadFile;
using test::WriteFile;

namespace {

struct WriterTest : ::testing::Test {
    test::TempFolder dir;
    test::ScriptedPrompts prompts;
    KeyAccess keys{prompts};
    ConfigModel m;

    WriterTest()
    {
        m.ClearAllData();
        m.DatFilePath = dir.file("repeater.dat");
    }
    std::string read(std::string_view section, std::string_view key)
    {
        return keys.ReadSetting(section, key, m.DatFilePath);
    }
    static int countLines(const std::string& text, char first)
    {
        int n = 0;
        for (std::size_t pos = 0; pos < text.size();) {
            std::size_t end = text.find("\r\n", pos);
            n += text[pos] == first;
            pos = end + 2;
        }
        return n;
    }
};

// A model with a few values that show the file's value forms.
void fillSample(ConfigModel& m)
{
    m.HasRTC = kTrue;
    m.FirmwareVersion = " 60B ";
    m.HangTime(2) = "50";
    m.P2MessageNum(3) = "0";
    m.P1MessageNum(1) = "12";
    m.Hours(5) = "99";
    m.Hours(6) = "23";
    m.MessageMacro(1) = "HELLO";
    m.NewPortUnlock(2) = "1234";
    m.NewLock = "99";
    m.NewTerminator = "#";
    m.CurrentPortUnlock(1) = "123";
    m.Lock = "9";
    m.Terminator = "D";
    m.Tone8(3, 10) = "1633";
    m.FreqString(40) = "146520";
    m.DTMF(50) = "1 2 3";
    m.Vref = "500";
    m.DVRSeconds(64) = "10";
}

} // namespace

TEST_F(WriterTest, NewFileHasTheFixedLayout)
{
    fillSample(m);
    ASSERT_EQ(FileWrite(m, keys, prompts), kDone);
    const std::string text = ReadFile(m.DatFilePath);
    const std::string goldenPath = VM880_TEST_DATA_DIR "/new_file_rtc.dat";
    if (std::getenv("VM880_UPDATE_GOLDEN"))
        WriteFile(goldenPath, text);
    const std::string golden = ReadFile(goldenPath);
    EXPECT_EQ(text, golden) << "regenerate only after checking the difference by hand";
    EXPECT_EQ(countLines(text, '['), 21);
    EXPECT_TRUE(prompts.prompts().empty());
    EXPECT_EQ(prompts.waitShownCount(), 1);
    EXPECT_FALSE(prompts.waitShown());
}

TEST_F(WriterTest, EntryCountsFollowHasRTC)
{
    int entries = 0;
    auto count = [&](std::string_view, std::string_view, std::string_view) { ++entries; };
    m.HasRTC = kTrue;
    ForEachSettingsEntry(m, count);
    EXPECT_EQ(entries, 1835);
    entries = 0;
    m.HasRTC = 1; // stored as "1", but the large tables need exactly true
    ForEachSettingsEntry(m, count);
    EXPECT_EQ(entries, 1655);
}

TEST_F(WriterTest, ValueFormsInFileAndModel)
{
    fillSample(m);
    m.DatFileSaved = kFalse;
    ASSERT_EQ(FileWrite(m, keys, prompts), kDone);

    EXPECT_EQ(read("Version", "FirmwareVersion"), "60B");
    EXPECT_EQ(m.FirmwareVersion, " 60B ");
    EXPECT_EQ(read("Version", "HasRTC"), "1");
    EXPECT_EQ(read("Version", "ZelVersion"), m.ZelVersion);
    EXPECT_EQ(read("PortSwitches", "P2MessageNum(3)"), "90");
    EXPECT_EQ(m.P2MessageNum(3), "90");
    EXPECT_EQ(read("PortSwitches", "P1MessageNum(1)"), "12");
    EXPECT_EQ(read("Scheduler", "Hours(5)"), "0A");
    EXPECT_EQ(m.Hours(5), "99");
    EXPECT_EQ(read("Scheduler", "Hours(6)"), "23");
    EXPECT_EQ(read("MessageMacros", "MessageMacro(7)"), "NONE STORED");
    EXPECT_EQ(m.MessageMacro(7), "NONE STORED");
    EXPECT_EQ(read("MessageMacros", "MessageMacro(1)"), "HELLO");
    EXPECT_EQ(read("Unlock", "NewPortUnlock(2)"), "");
    EXPECT_EQ(m.NewPortUnlock(2), "");
    EXPECT_EQ(m.NewLock, "");
    EXPECT_EQ(m.NewTerminator, "");
    EXPECT_EQ(read("Unlock", "CurrentPortUnlock(1)"), "123");
    EXPECT_EQ(read("Courtesy", "P3Tone8(10)"), "1633");
    EXPECT_EQ(read("Remote", "FreqString(40)"), "146520");
    EXPECT_EQ(read("DTMF", "DTMF(50)"), "1 2 3");
    EXPECT_EQ(read("Timers", "HangTime(2)"), "50");
    EXPECT_EQ(m.DatFileSaved, kTrue);

    m.HasRTC = 5;
    ASSERT_EQ(FileWrite(m, keys, prompts), kDone);
    EXPECT_EQ(read("Version", "HasRTC"), "1");
    m.HasRTC = kFalse;
    ASSERT_EQ(FileWrite(m, keys, prompts), kDone);
    EXPECT_EQ(read("Version", "HasRTC"), "0");
}

TEST_F(WriterTest, ExistingFileKeepsForeignEntriesAndOrder)
{
    WriteFile(m.DatFilePath, "[DTMF]\r\nDTMF(50)=old fifty\r\nDTMF(1)=x\r\n[Version]\r\n"
                             "DVRWrite=1\r\nZelVersion=5.00\r\n[Remote]\r\nFreqString(11)=147000\r\n");
    m.HasRTC = kFalse;
    m.DTMF(1) = "1 2";
    for (int round = 0; round < 2; ++round)
        ASSERT_EQ(FileWrite(m, keys, prompts), kDone);

    const std::string text = ReadFile(m.DatFilePath);
    EXPECT_EQ(text.rfind("[DTMF]\r\nDTMF(50)=old fifty\r\nDTMF(1)=1 2\r\nDTMF(2)=\r\n", 0), 0u);
    EXPECT_EQ(read("Version", "DVRWrite"), "1");
    EXPECT_EQ(read("Remote", "FreqString(11)"), "147000");
    EXPECT_EQ(read("Version", "ZelVersion"), m.ZelVersion);
    EXPECT_LT(text.find("[DTMF]"), text.find("[Version]"));

    // Save As: a new file does not carry the foreign entry over.
    m.DatFilePath = dir.file("copy.dat");
    ASSERT_EQ(FileWrite(m, keys, prompts), kDone);
    EXPECT_EQ(read("Version", "DVRWrite"), "");
}

TEST_F(WriterTest, FailedSaveKeepsTheOldFileAndTheUnsavedState)
{
    WriteFile(m.DatFilePath, "[Version]\r\nDVRWrite=1\r\n");
    std::filesystem::permissions(m.DatFilePath, std::filesystem::perms::owner_read);
    m.DatFileSaved = kFalse;
    m.NewLock = "77";
    m.MessageMacro(3) = "";
    prompts.Answer(Answer::Ok, kSystemErrorTitle).Answer(Answer::Ok, kSystemErrorTitle);

    EXPECT_EQ(FileWrite(m, keys, prompts), kFailed);

    EXPECT_EQ(ReadFile(m.DatFilePath), "[Version]\r\nDVRWrite=1\r\n");
    EXPECT_EQ(m.DatFileSaved, kFalse);
    EXPECT_EQ(m.NewLock, "77"); // a pending code is not thrown away by a save that failed
    EXPECT_EQ(m.MessageMacro(3), "");
    ASSERT_EQ(prompts.prompts().size(), 2u);
    EXPECT_NE(prompts.prompts()[0].text.find("Location = Declarations: FileWrite\r\n"),
              std::string::npos);
    EXPECT_EQ(prompts.prompts()[1].style, style::Critical);
    EXPECT_EQ(prompts.prompts()[1].text.rfind("An error occurred while writing data to dat file:\r\n\r\n"
                                              + m.DatFilePath + "\r\n\r\nTHE DATA",
                                              0),
              0u);
    EXPECT_FALSE(prompts.waitShown());
}

TEST_F(WriterTest, MissingFolderAndBadValuesAreFailures)
{
    prompts.AcceptNotices();
    m.DatFilePath = dir.file("gone/repeater.dat");
    m.DatFileSaved = kFalse;
    EXPECT_EQ(FileWrite(m, keys, prompts), kFailed);
    EXPECT_EQ(m.DatFileSaved, kFalse);

    m.DatFilePath = dir.file("repeater.dat");
    m.Macro(3) = "001\r\n[Version]";
    EXPECT_EQ(FileWrite(m, keys, prompts), kFailed);
    EXPECT_FALSE(std::filesystem::exists(m.DatFilePath));
    EXPECT_EQ(prompts.prompts().size(), 4u);
}
