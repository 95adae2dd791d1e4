#include "model/key_access.h"
#include "scripted_prompts.h"
#include "temp_folder.h"

#include <gtest/gtest.h>

#include <filesystem>

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

TEST_F(KeyAccessTest, MissingAndUnreadableFilesAreTold)
{
    EXPECT_EQ(keys.ReadSetting("Main", "ComPort", dir.file("none.ini")), "");
    EXPECT_EQ(keys.Status(dir.file("none.ini")), FileStatus::Missing);
    EXPECT_EQ(keys.Status(dir.path().string()), FileStatus::Unreadable); // a folder
    EXPECT_TRUE(prompts.prompts().empty());
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
