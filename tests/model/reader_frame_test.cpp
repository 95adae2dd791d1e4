// The reader's frame: version and RTC questions, DVR menus, the report and the closing offer.

#include "model/key_access.h"
#include "model/reader.h"
#include "model/settings_writer.h"
#include "interfaces/file_viewer.h"
#include "scripted_prompts.h"
#include "temp_folder.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace vm880;
using test::ReadFile;
using test::WriteFile;

namespace {

struct RecordingViewer : FileViewer {
    std::vector<std::string> opened;
    bool Open(const std::string& path) override
    {
        opened.push_back(path);
        return true;
    }
};

struct ReaderTest : ::testing::Test {
    test::TempFolder dir;
    test::ScriptedPrompts prompts;
    KeyAccess keys{prompts};
    RecordingViewer viewer;
    ConfigModel m;
    FileLoadServices services{m, keys, prompts, viewer, dir.path().string(),
                              [] { return std::string("20261209 0815"); }};

    std::string dat = dir.file("repeater.dat");
    std::string log = dir.file("error.log");

    ReaderTest() { m.DatFilePath = dat; }

    // A file with every key valid: the defaults of an empty file, saved.
    void writeCleanFile(bool rtc)
    {
        WriteFile(dat, std::string("[Version]\r\nFirmwareVersion=60\r\nHasRTC=") + (rtc ? "1" : "0")
                           + "\r\n");
        test::ScriptedPrompts quiet;
        quiet.AcceptNotices();
        for (int i = 0; i < 8; ++i)
            quiet.Answer(Answer::No);
        KeyAccess k{quiet};
        FileLoadServices s{m, k, quiet, viewer, dir.path().string(), services.timestamp};
        FileLoad(s);
        ASSERT_EQ(FileWrite(m, k, quiet), kDone);
        m.ClearAllData();
        std::filesystem::remove(log);
    }
};

} // namespace

TEST_F(ReaderTest, CleanFileLoadsWithoutQuestionsAndAHeaderOnlyReport)
{
    writeCleanFile(true);
    FileLoadResult r = FileLoad(services);
    EXPECT_EQ(r.outcome, FileLoadResult::Loaded);
    EXPECT_EQ(m.DatFileLoaded, kTrue);
    EXPECT_EQ(m.HasRTC, kTrue);
    EXPECT_TRUE(r.rtcYes);
    EXPECT_FALSE(r.rtcNo);
    EXPECT_TRUE(prompts.prompts().empty()) << prompts.prompts().front().text;
    EXPECT_EQ(ReadFile(log), "RESULTS OF dat EDIT/VALIDATION\r\nLoad of file: " + dat
                                 + "\r\nInitiated at: 20261209 0815\r\n");
    EXPECT_EQ(m.ErrorLogPath, log);
    EXPECT_EQ(m.DatHasErrors, kFalse);
    EXPECT_EQ(m.DatFileSaved, kTrue);
}

TEST_F(ReaderTest, VersionDifferenceDeclinedLoadsNothingAndKeepsTheOldReport)
{
    WriteFile(dat, "[Version]\r\nFirmwareVersion=59\r\nHasRTC=1\r\n");
    WriteFile(log, "older report");
    prompts.Answer(Answer::No, "VERSION DIFFERENCE");
    FileLoadResult r = FileLoad(services);
    EXPECT_EQ(r.outcome, FileLoadResult::VersionDeclined);
    EXPECT_EQ(m.DatFileLoaded, kFalse);
    EXPECT_EQ(ReadFile(log), "older report");
    ASSERT_EQ(prompts.prompts().size(), 1u);
    EXPECT_EQ(prompts.prompts()[0].style, style::YesNo + style::Critical + style::DefaultButton2);
    EXPECT_EQ(prompts.prompts()[0].text.rfind(
                  "This version of Zel is for use with Firmware version 60xx\r\nThis DAT file is "
                  "for Firmware version 59\r\n\r\n",
                  0),
              0u);

    // "6" alone does not begin with "60" either; Yes goes on.
    WriteFile(dat, "[Version]\r\nFirmwareVersion=6\r\nHasRTC=1\r\n");
    prompts.Answer(Answer::Yes, "VERSION DIFFERENCE").Always(Answer::No, "DAT File Errors").AcceptNotices();
    EXPECT_EQ(FileLoad(services).outcome, FileLoadResult::Loaded);
    EXPECT_EQ(m.FirmwareVersion, "6");
}

TEST_F(ReaderTest, MissingFirmwareVersionCanBeEnteredOrDeclined)
{
    writeCleanFile(false);
    keys.WriteSetting("Version", "FirmwareVersion", std::nullopt, dat);

    // Declined: a notice, then the file loads.
    prompts.Answer(Answer::No, "VERSION DIFFERENCE").Answer(Answer::Ok, "VERSION DIFFERENCE");
    EXPECT_EQ(FileLoad(services).outcome, FileLoadResult::Loaded);
    EXPECT_EQ(prompts.prompts()[1].style, style::Critical);
    EXPECT_EQ(m.FirmwareVersion, "");

    // Entered as 5.28: dots removed, written back, then a version difference.
    prompts.Answer(Answer::Yes, "VERSION DIFFERENCE")
        .Type(" 5.28 ", "Enter Firmware Version")
        .Answer(Answer::No, "VERSION DIFFERENCE");
    EXPECT_EQ(FileLoad(services).outcome, FileLoadResult::VersionDeclined);
    EXPECT_EQ(keys.ReadSetting("Version", "FirmwareVersion", dat), "528");

    // A cancelled input asks again; then 60.1 is accepted.
    keys.WriteSetting("Version", "FirmwareVersion", std::nullopt, dat);
    prompts.Answer(Answer::Yes).Type(std::nullopt).Answer(Answer::Yes).Type("60.1");
    EXPECT_EQ(FileLoad(services).outcome, FileLoadResult::Loaded);
    EXPECT_EQ(m.FirmwareVersion, "601");
    EXPECT_EQ(prompts.pending(), 0u);
}

TEST_F(ReaderTest, RTCAnswerIsAskedForAndWrittenBack)
{
    writeCleanFile(false);
    keys.WriteSetting("Version", "HasRTC", "yes", dat);
    prompts.Answer(Answer::Yes, "RTC Installed?").Always(Answer::No, "DAT File Errors");
    FileLoadResult r = FileLoad(services);
    EXPECT_EQ(r.outcome, FileLoadResult::Loaded);
    EXPECT_EQ(prompts.prompts()[0].kind, test::RecordedPrompt::Beep);
    EXPECT_EQ(m.HasRTC, kTrue);
    EXPECT_TRUE(r.rtcYes);
    EXPECT_EQ(keys.ReadSetting("Version", "HasRTC", dat), "1");

    keys.WriteSetting("Version", "HasRTC", "", dat);
    prompts.Answer(Answer::No, "RTC Installed?");
    r = FileLoad(services);
    EXPECT_EQ(m.HasRTC, kFalse);
    EXPECT_TRUE(r.rtcNo);
    EXPECT_EQ(keys.ReadSetting("Version", "HasRTC", dat), "0");
}

TEST_F(ReaderTest, DVRMenusAndTheUploadFollowTheFilesKey)
{
    writeCleanFile(false);
    struct Case { const char* value; bool write, noWrite; Flag model; };
    for (const Case c : {Case{"1", true, false, kTrue}, Case{"0", false, true, kFalse},
                         Case{"2", false, false, kFalse}, Case{"", false, false, kFalse}}) {
        m.DVRWrite = c.model ? kFalse : kTrue; // the opposite of what the file says
        keys.WriteSetting("Version", "DVRWrite", c.value, dat);
        FileLoadResult r = FileLoad(services);
        EXPECT_EQ(r.outcome, FileLoadResult::Loaded);
        EXPECT_EQ(r.dvrWrite, c.write) << c.value;
        EXPECT_EQ(r.dvrNoWrite, c.noWrite) << c.value;
        EXPECT_EQ(m.DVRWrite, c.model) << c.value;
    }
}

TEST_F(ReaderTest, UnreadableFileLoadsNothing)
{
    std::filesystem::create_directory(dat); // a folder where the file should be
    prompts.Answer(Answer::Ok, "File Open Error");
    FileLoadResult r = FileLoad(services);
    EXPECT_EQ(r.outcome, FileLoadResult::Unreadable);
    EXPECT_EQ(m.DatFileLoaded, kFalse);
    EXPECT_FALSE(std::filesystem::exists(log));

    // Saved as UTF-16: one box and a beep before any question; nothing loaded or written.
    std::filesystem::remove(dat);
    const std::string utf16("\xFF\xFE[\0V\0]\0\r\0\n\0", 12);
    WriteFile(dat, utf16);
    prompts.Answer(Answer::Ok, "File Open Error");
    EXPECT_EQ(FileLoad(services).outcome, FileLoadResult::Unreadable);
    EXPECT_EQ(prompts.prompts().size(), 4u);
    EXPECT_EQ(prompts.prompts().back().text,
              dat + " is saved as UTF-16 (Unicode).\r\n\r\nThe program reads settings files saved as plain text "
                    "only. Please save it as plain text (ANSI) in your text editor and open it again.\r\n\r\n"
                    "Nothing was loaded and the file was not changed.");
    EXPECT_EQ(ReadFile(dat), utf16);
    EXPECT_FALSE(std::filesystem::exists(log));
    EXPECT_EQ(m.DatFileLoaded, kFalse);
}

TEST_F(ReaderTest, ReportThatCannotBeWrittenIsToldAndTheFileStillLoads)
{
    writeCleanFile(true);
    services.programFolder = dir.file("missing-folder");
    prompts.Answer(Answer::Ok, "Error Log");
    FileLoadResult r = FileLoad(services);
    EXPECT_EQ(r.outcome, FileLoadResult::Loaded);
    EXPECT_EQ(m.DatFileLoaded, kTrue);
    ASSERT_EQ(prompts.prompts().size(), 1u);
    EXPECT_NE(prompts.prompts()[0].text.find("All values were valid."), std::string::npos);

    std::filesystem::create_directory(log); // the writer refuses what is no file
    services.programFolder = dir.path().string();
    prompts.Answer(Answer::Ok, "Error Log");
    EXPECT_EQ(FileLoad(services).outcome, FileLoadResult::Loaded);
    EXPECT_NE(prompts.prompts().back().text.find(log + " is a folder, not a file."), std::string::npos);
}

TEST_F(ReaderTest, DownloadHeader)
{
    m.LoadFromDownload = kTrue;
    EXPECT_EQ(ErrorLogHeader(m, "20260102 0304"),
              "RESULTS OF dat EDIT/VALIDATION\r\nDownload from controller into file: " + dat
                  + "\r\nInitiated at: 20260102 0304\r\n");
}
