#include "model/key_access.h"
#include "guarded_fifo.h"
#include "scripted_prompts.h"
#include "temp_folder.h"

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <future>
#include <thread>
#include <tuple>

#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

using namespace vm880;
using test::ReadFile;
using test::WriteFile;

namespace {

struct KeyAccessTest : ::testing::Test {
    test::TempFolder dir;
    test::ScriptedPrompts prompts;
    KeyAccess keys{prompts};
    std::string file = dir.file("zel.ini");
};

} // namespace

TEST_F(KeyAccessTest, ReadsFollowProfileRules)
{
    WriteFile(file, "; comment line\r\n[Main]\r\nComPort=  12  \r\nempty=\r\nword=Default\r\n"
                    "small=default\r\n  Spaced Key  =  v ; not a comment \r\nDup=first\r\n"
                    "dup=second\r\n[main]\r\nLater=x\r\n[Other]\nLF=1\rCR=2\n");
    EXPECT_EQ(keys.ReadSetting("Main", "ComPort", file), "12");
    EXPECT_EQ(keys.ReadSetting("MAIN", "comport", file), "12");
    EXPECT_EQ(keys.ReadSetting("Main", "empty", file), "");
    EXPECT_EQ(keys.ReadSetting("Main", "word", file), "");
    EXPECT_EQ(keys.ReadSetting("Main", "small", file), "default");
    EXPECT_EQ(keys.ReadSetting("Main", "spaced key", file), "v ; not a comment");
    EXPECT_EQ(keys.ReadSetting("Main", "DUP", file), "first");
    EXPECT_EQ(keys.ReadSetting("Main", "Later", file), ""); // only the first matching section counts
    EXPECT_EQ(keys.ReadSetting("Other", "LF", file), "1");
    EXPECT_EQ(keys.ReadSetting("Other", "CR", file), "2");
    EXPECT_EQ(keys.ReadSetting("Missing", "x", file), "");
    EXPECT_EQ(keys.Status(file), FileStatus::Ok);
}

// Whatever a name stands for, it is refused at once with one sentence naming it, reads as
// empty and is never written; only a file of plain text (a UTF-8 mark and all) is read.
TEST_F(KeyAccessTest, MissingAndUnreadableFilesAreTold)
{
    prompts.AcceptNotices();
    test::GuardedFifo fifo(dir.file("pipe.ini"));
    sockaddr_un address{AF_UNIX, {}};
    const std::string socket = dir.file("socket.ini"), loop = dir.file("loop.ini");
    socket.copy(address.sun_path, sizeof address.sun_path - 1);
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_EQ(::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
    ::close(fd);
    std::filesystem::create_symlink(loop, loop);
    const std::string le = dir.file("le.ini"), be = dir.file("be.ini"), bare = dir.file("bare.ini");
    WriteFile(le, {"\xFF\xFE[\0M\0", 6}), WriteFile(be, {"\xFE\xFF\0[\0M", 6}), WriteFile(bare, {"[\0M\0", 4});
    WriteFile(file, "\xEF\xBB\xBF[Main]\r\nA=1\r\n"); // the mark hides the section, as from the platform
    const std::tuple<std::string, FileStatus, std::string> rows[] = { // path, status, after the path
        {dir.file("none.ini"), FileStatus::Missing, ""}, {file + "/x", FileStatus::Missing, ""}, {file, FileStatus::Ok, ""},
        {dir.path().string(), FileStatus::Unreadable, " is a folder, not a file."},
        {fifo.path(), FileStatus::Unreadable, " is a named pipe (FIFO), not a file."},
        {socket, FileStatus::Unreadable, " is a socket, not a file."},
        {"/dev/zero", FileStatus::Unreadable, " is a device, not a file."},
        {loop, FileStatus::Unreadable, " cannot be opened: Too many levels of symbolic links."},
        {"/proc/self/mem", FileStatus::Unreadable, " cannot be read: Input/output error."},
        {le, FileStatus::Utf16, " is saved as UTF-16 (Unicode)."}, {be, FileStatus::Utf16, " is saved as UTF-16 (Unicode)."},
        {bare, FileStatus::Utf16, " is saved as UTF-16 (Unicode)."},
    };
    for (const auto& [path, status, sentence] : rows) {
        std::string problem = "?";
        EXPECT_EQ(keys.Status(path, &problem), status) << path;
        EXPECT_EQ(problem, sentence.empty() ? "" : path + sentence);
        EXPECT_EQ(keys.ReadSetting("Main", "A", path), "") << path;
        EXPECT_TRUE(sentence.empty() || !keys.WriteSetting("Main", "A", "2", path).ok()) << path;
    }
    EXPECT_EQ(ReadFile(le), std::string("\xFF\xFE[\0M\0", 6));
    EXPECT_FALSE(fifo.Opened());
}

// A file swapped for a named pipe after a look at its name: the open never waits, and what
// was opened is what is looked at.
TEST_F(KeyAccessTest, AFileSwappedForANamedPipeNeverHoldsARead)
{
    const std::string pipe = dir.file("pipe");
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    WriteFile(file, "[Main]\r\nA=1\r\n");
    std::atomic<bool> done{false}, swapping{false};
    std::thread swapper([&] {
        for (swapping = true; !done;)
            ::renameat2(AT_FDCWD, file.c_str(), AT_FDCWD, pipe.c_str(), RENAME_EXCHANGE);
    });
    auto reads = std::async(std::launch::async, [&] {
        const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(500);
        while (!swapping || std::chrono::steady_clock::now() < end)
            KeyAccess(prompts).ReadSetting("Main", "A", file);
    });
    const bool ended = reads.wait_for(std::chrono::seconds(5)) == std::future_status::ready;
    done = true;
    swapper.join();
    while (reads.wait_for(std::chrono::milliseconds(20)) != std::future_status::ready)
        for (const std::string& name : {file, pipe}) // a writer lets a held read go
            if (const int fd = ::open(name.c_str(), O_WRONLY | O_NONBLOCK); fd >= 0)
                ::close(fd);
    EXPECT_TRUE(ended) << "a read waited for a writer of the named pipe";
}

// A write keeps the file's own line ends (so its size stays what the reader accepts) and
// lands in the first of repeated sections, where reads look.
TEST_F(KeyAccessTest, WritesKeepLineEndsAndTheFirstOfRepeatedSections)
{
    WriteFile(file, "[A]\nOne=1\n\n[B]\nx=1\n[a]\nTwo=2\n[A]\nThree=3");
    ASSERT_TRUE(keys.WriteSetting("A", "Two", "zwei", file).ok());
    ASSERT_TRUE(keys.WriteSetting("A", "One", "eins", file).ok());
    EXPECT_EQ(ReadFile(file), "[A]\nOne=eins\nTwo=zwei\n\n[B]\nx=1\n[a]\nTwo=2\n[A]\nThree=3\n");
    EXPECT_EQ(keys.ReadSetting("A", "Two", file), "zwei");

    WriteFile(file, "[A]\rOne=1\r");
    ASSERT_TRUE(keys.WriteSetting("A", "Two", "2", file).ok());
    EXPECT_EQ(ReadFile(file), "[A]\rOne=1\rTwo=2\r");
}

TEST_F(KeyAccessTest, WritesReplaceInPlaceAndAppendAtSectionEnd)
{
    WriteFile(file, "; keep me\r\n[A]\r\nOne=1\r\nTwo=2\r\n\r\n[B]\r\nThree=3\r\n");
    ASSERT_TRUE(keys.WriteSetting("a", "ONE", "uno", file).ok());
    ASSERT_TRUE(keys.WriteSetting("A", "Four", "4", file).ok());
    ASSERT_TRUE(keys.WriteSetting("C", "Five", "5", file).ok());
    ASSERT_TRUE(keys.WriteSetting("B", "Three", std::nullopt, file).ok());
    ASSERT_TRUE(keys.WriteSetting("B", "Absent", std::nullopt, file).ok());
    EXPECT_EQ(ReadFile(file),
              "; keep me\r\n[A]\r\nONE=uno\r\nTwo=2\r\nFour=4\r\n\r\n[B]\r\n[C]\r\nFive=5\r\n");
}

TEST_F(KeyAccessTest, ValuesRoundTripByteForByte)
{
    const std::string values[] = {
        "", "Default ", "a;b", "\"quoted\"", "x=y", "[not a section]",
        std::string(400, 'W'), "caf\xe9 \xff\x80", "  ",
    };
    int i = 0;
    for (const std::string& v : values)
        ASSERT_TRUE(keys.WriteSetting("S", "K" + std::to_string(i++), v, file).ok());
    keys.Forget();
    i = 0;
    for (const std::string& v : values) {
        std::string expected(TrimBlanks(v));
        if (expected == "Default")
            expected.clear();
        EXPECT_EQ(keys.ReadSetting("S", "K" + std::to_string(i++), file), expected);
    }
}

TEST_F(KeyAccessTest, CreatesAMissingFileAndSeesChangesMadeBehindItsBack)
{
    ASSERT_TRUE(keys.WriteSetting("Main", "ComPort", "2", file).ok());
    EXPECT_EQ(ReadFile(file), "[Main]\r\nComPort=2\r\n");
    WriteFile(file, "[Main]\r\nComPort=345\r\n"); // changed size
    EXPECT_EQ(keys.ReadSetting("Main", "ComPort", file), "345");
    std::filesystem::remove(file);
    EXPECT_EQ(keys.ReadSetting("Main", "ComPort", file), "");
}

TEST_F(KeyAccessTest, RefusesLineBreaksAndNulInsteadOfInjectingEntries)
{
    prompts.AcceptNotices();
    WriteFile(file, "[Main]\r\nA=1\r\n");
    EXPECT_FALSE(keys.WriteSetting("Main", "A", "1\r\nInjected=1", file).ok());
    EXPECT_FALSE(keys.WriteSetting("Main", "A", std::string("1\0x", 3), file).ok());
    EXPECT_FALSE(keys.WriteSetting("Ma]in", "A", "1", file).ok());
    EXPECT_FALSE(keys.WriteSetting("Main", "A=B", "1", file).ok());
    EXPECT_FALSE(keys.WriteSetting("Main\n", "A", "1", file).ok());
    EXPECT_EQ(ReadFile(file), "[Main]\r\nA=1\r\n");
    EXPECT_EQ(prompts.prompts().size(), 5u);
}

TEST_F(KeyAccessTest, RefusedWritesAreReportedAndChangeNothing)
{
    prompts.AcceptNotices();
    WriteFile(file, "[Main]\r\nA=1\r\n");
    std::filesystem::permissions(file, std::filesystem::perms::owner_read);
    WriteResult result = keys.WriteSetting("Main", "A", "2", file);
    EXPECT_FALSE(result.ok());
    EXPECT_EQ(result.status, kFailed);
    EXPECT_EQ(ReadFile(file), "[Main]\r\nA=1\r\n");

    result = keys.WriteSetting("Main", "A", "2", dir.file("no/such/folder/x.ini"));
    EXPECT_FALSE(result.ok());
    EXPECT_FALSE(std::filesystem::exists(dir.file("no")));

    ASSERT_EQ(prompts.prompts().size(), 2u);
    EXPECT_NE(prompts.prompts()[0].text.find("Location = Declarations: WriteSetting"),
              std::string::npos);
    EXPECT_NE(prompts.prompts()[0].text.find(file), std::string::npos);
    // No temporary file is left behind.
    int files = 0;
    for (auto& e : std::filesystem::directory_iterator(dir.path()))
        files += e.is_regular_file();
    EXPECT_EQ(files, 1);
}
