// Saves that must keep the operator's file whole: through links, after crashes, at the size
// limit.

#include "kill_during_save.h"
#include "model/atomic_file.h"
#include "model/error_report.h"
#include "model/key_access.h"
#include "model/reader.h"
#include "model/settings_writer.h"
#include "interfaces/file_viewer.h"
#include "scripted_prompts.h"
#include "temp_folder.h"

#include <gtest/gtest.h>

#include <filesystem>

#include <sys/stat.h>

using namespace vm880;
using test::ReadFile;
using test::WriteFile;
namespace fs = std::filesystem;

namespace {

struct AtomicFileTest : ::testing::Test {
    test::TempFolder dir;
    test::ScriptedPrompts prompts;

    FileLoadResult::Outcome Load(const std::string& dat, ConfigModel& m, KeyAccess& keys)
    {
        struct NoViewer : FileViewer {
            bool Open(const std::string&) override { return true; }
        } viewer;
        m.DatFilePath = dat;
        FileLoadServices s{m, keys, prompts, viewer, dir.path().string(), [] { return std::string("x"); }};
        return FileLoad(s).outcome;
    }

    int temporaries(const std::string& name)
    {
        int n = 0;
        for (const auto& e : fs::directory_iterator(dir.path()))
            n += IsSaveTemporaryOf(name, e.path().filename().string());
        return n;
    }
};

} // namespace

TEST_F(AtomicFileTest, SavesThroughSymbolicLinksReachTheTarget)
{
    fs::create_directories(dir.path() / "real");
    const std::string target = dir.file("real/repeater.dat");
    WriteFile(target, "old");
    fs::create_symlink("real/repeater.dat", dir.path() / "link.dat");
    fs::create_symlink(dir.path() / "link.dat", dir.path() / "link2.dat"); // a chain
    WriteFileAtomically(dir.file("link2.dat"), "new");
    EXPECT_TRUE(fs::is_symlink(dir.path() / "link.dat"));
    EXPECT_TRUE(fs::is_symlink(dir.path() / "link2.dat"));
    EXPECT_EQ(ReadFile(target), "new");
    EXPECT_EQ(temporaries("repeater.dat"), 0);

    // A link to a file not yet there creates it.
    fs::create_symlink("real/fresh.dat", dir.path() / "fresh-link.dat");
    WriteFileAtomically(dir.file("fresh-link.dat"), "made");
    EXPECT_EQ(ReadFile(dir.file("real/fresh.dat")), "made");

    // A loop of links is refused, not followed forever.
    fs::create_symlink("loop-b", dir.path() / "loop-a");
    fs::create_symlink("loop-a", dir.path() / "loop-b");
    EXPECT_THROW(WriteFileAtomically(dir.file("loop-a"), "x"), SystemError);
}

TEST_F(AtomicFileTest, HardLinkedFilesStayOneFile)
{
    const std::string first = dir.file("repeater.dat");
    WriteFile(first, "old settings, longer than the new ones");
    fs::create_hard_link(first, dir.file("backup-name.dat"));
    ::chmod(first.c_str(), 0640);
    WriteFileAtomically(first, "new");
    EXPECT_EQ(ReadFile(dir.file("backup-name.dat")), "new");
    EXPECT_EQ(fs::hard_link_count(first), 2u);
    EXPECT_EQ(fs::status(first).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    EXPECT_EQ(temporaries("repeater.dat"), 0);
}

TEST_F(AtomicFileTest, StaleTemporariesOfTheSameFileAreRemoved)
{
    const std::string file = dir.file("repeater.dat");
    for (const char* name : {".repeater.dat.a1B2c3", ".repeater.dat.ZZZZZZ", ".other.dat.a1B2c3",
                             ".repeater.dat.toolong1", "repeater.dat.a1B2c3"})
        WriteFile(dir.file(name), "left");
    WriteFileAtomically(file, "data");
    EXPECT_FALSE(fs::exists(dir.file(".repeater.dat.a1B2c3")));
    EXPECT_FALSE(fs::exists(dir.file(".repeater.dat.ZZZZZZ")));
    // Only our own pattern for this very file goes.
    EXPECT_TRUE(fs::exists(dir.file(".other.dat.a1B2c3")));
    EXPECT_TRUE(fs::exists(dir.file(".repeater.dat.toolong1")));
    EXPECT_TRUE(fs::exists(dir.file("repeater.dat.a1B2c3")));
}

TEST_F(AtomicFileTest, AKilledSaveLeavesTheOldOrTheNewFile)
{
    const test::KillTrials r = test::RunKillDuringSave(dir.path().string(), 30, 20261209);
    EXPECT_EQ(r.trials, 30);
    EXPECT_EQ(r.torn, 0);
    EXPECT_EQ(r.notCleared, 0);
    EXPECT_EQ(r.oldKept + r.newWritten, r.trials);
}

// A large file with LF line ends keeps them, so its size stays what the reader accepts.
TEST_F(AtomicFileTest, ALargeLFFileSavesAndReopens)
{
    std::string text = "[Version]\nFirmwareVersion=60\nHasRTC=1\n\n[Junk]\n";
    while (text.size() < 3u * 1024 * 1024)
        text += "Note" + std::to_string(text.size()) + "=kept as it is\n\n";
    const std::string dat = dir.file("large.dat");
    WriteFile(dat, text);

    prompts.AcceptNotices().Always(Answer::No, "DAT File Errors");
    KeyAccess keys(prompts);
    ConfigModel m;
    ASSERT_EQ(Load(dat, m, keys), FileLoadResult::Loaded);
    ASSERT_EQ(FileWrite(m, keys, prompts), kDone);
    const std::string saved = ReadFile(dat);
    EXPECT_EQ(saved.find('\r'), std::string::npos);
    EXPECT_NE(saved.find(text.substr(text.find("[Junk]"))), std::string::npos);
    EXPECT_LT(saved.size(), text.size() + 100 * 1024);

    ConfigModel again;
    KeyAccess fresh(prompts);
    EXPECT_EQ(Load(dat, again, fresh), FileLoadResult::Loaded);
    EXPECT_EQ(fresh.ReadSetting("Junk", "Note100", dat), "");
    EXPECT_EQ(fresh.ReadSetting("Version", "HasRTC", dat), "1");
}

// A file the reader accepts but that a save would push past the limit is not loaded, so no
// load can end in a save that fails. It is refused before the version and RTC questions,
// whose answers would otherwise be written into it.
TEST_F(AtomicFileTest, AFileThatCouldNotBeSavedAgainIsNotLoaded)
{
    for (const std::size_t below : {std::size_t{10}, std::size_t{40 * 1024}}) {
        for (const std::string head : {"[Version]\nFirmwareVersion=60\nHasRTC=1\n;", "[Timers]\n;"}) {
            std::string text = head;
            text.append(static_cast<std::size_t>(kMaxSettingsFileSize) - text.size() - below, 'x');
            text += "\n";
            const std::string dat = dir.file("full.dat");
            WriteFile(dat, text);
            prompts = test::ScriptedPrompts(); // any question fails the test
            prompts.Answer(Answer::Ok, "File Open Error");
            KeyAccess keys(prompts);
            ConfigModel m;
            EXPECT_EQ(Load(dat, m, keys), FileLoadResult::Unreadable) << head << below;
            ASSERT_EQ(prompts.prompts().size(), 1u) << prompts.prompts().back().title;
            EXPECT_NE(prompts.prompts().back().text.find("too large to be saved again"), std::string::npos);
            EXPECT_EQ(ReadFile(dat), text);
        }
    }
}
