// Start-up from zel.ini (none, damaged, complete) and the settings written back at exit.

#include "main_window_fixture.h"

#include "app/program_settings.h"
#include "app/startup.h"
#include "editors/setting_text.h"
#include "model/key_access.h"

#include <functional>

#include <sys/stat.h>

namespace vm880::test {
namespace {

void SetAllPending(ConfigModel& m, int value)
{
    for (int* state : {&m.giTimersUnapplied, &m.giCourtesyUnapplied, &m.giMacrosUnapplied,
                       &m.giAnalogUnapplied, &m.giIDUnapplied, &m.giMessageMacrosUnapplied,
                       &m.giSchedulerUnapplied, &m.giDTMFUnapplied, &m.giAlarmsRemoteUnapplied,
                       &m.giSpecialCodesUnapplied, &m.giPortSwitchesUnapplied})
        *state = value;
}

std::vector<int> AllPending(const ConfigModel& m)
{
    return {m.giTimersUnapplied, m.giCourtesyUnapplied, m.giMacrosUnapplied,
            m.giAnalogUnapplied, m.giIDUnapplied, m.giMessageMacrosUnapplied,
            m.giSchedulerUnapplied, m.giDTMFUnapplied, m.giAlarmsRemoteUnapplied,
            m.giSpecialCodesUnapplied, m.giPortSwitchesUnapplied};
}

class StartUp : public MainWindowTest {};

// A first run has no zel.ini: every window key is missing. The start-up once stopped at the
// first of them, leaving pending states that made the guard refuse every command.
TEST_F(StartUp, WithoutZelIniStartsEmptyAndCanExit)
{
    SetAllPending(model, 3);
    model.DatFileSaved = kFalse;
    Start();
    EXPECT_TRUE(prompts.prompts().empty());
    EXPECT_EQ(AllPending(model), std::vector<int>(11, -1));
    EXPECT_EQ(model.ZelVersion, "6.00");
    EXPECT_EQ(model.ProgramVersion, "60");
    EXPECT_EQ(model.DatFileSaved, kTrue);
    EXPECT_EQ(model.DatFileLoaded, kFalse);
    EXPECT_EQ(window->windowTitle(), "Kelvo Zel Programmer  6.00  ");
    EXPECT_EQ(window->size(), QSize(1100, 720));
    EXPECT_EQ(model.ComPort, 0);
    EXPECT_EQ(model.SerialDelay, 0);
    EXPECT_FALSE(TabBar()->isEnabled());
    EXPECT_FALSE(window->menus().rtc->menuAction()->isEnabled());
    EXPECT_FALSE(window->menus().dvr->menuAction()->isEnabled());
    EXPECT_FALSE(window->menus().filesListSeparator->isVisible());
    EXPECT_EQ(window->recentFiles().count(), 0);
    for (QAction* com : window->menus().com)
        EXPECT_FALSE(com->isChecked());

    EXPECT_EQ(window->CheckUnappliedChanges(), kValid);
    window->menus().fileExit->trigger();
    EXPECT_EQ(endings, 1);
    EXPECT_TRUE(IniExists());
    EXPECT_EQ(Key("Window Width"), "16500");
    EXPECT_EQ(Key("Window State"), "0");
    EXPECT_EQ(Key("LastVMFile(1)"), "");
}

TEST_F(StartUp, DamagedKeysReadAsDefaults)
{
    WriteFile(Ini(), "[Main]\r\n"
                     "Window Width=abc\r\n"
                     "Window Height=\r\n"
                     "Window Top=1e999\r\n"
                     "Window Left=12x\r\n"
                     "Window State=7\r\n"
                     "DTMFDelay= 12ab\r\n"
                     "TxTemp=-30\r\n"
                     "WhichSend=Default\r\n"
                     "ComPort=3\r\n"
                     "DTMFComPort=junk\r\n"
                     "SerialDelay=\r\n"
                     "LastVMFile(1)=" + std::string(300, 'x') + "\r\n");
    prompts.Answer(Answer::Ok, kProgramSettingsTitle);
    Start();
    ASSERT_EQ(prompts.prompts().size(), 1u);
    EXPECT_NE(prompts.prompts()[0].text.find("  TxTemp=-30 (0 to 10000)\r\n\r\n"), std::string::npos);
    EXPECT_EQ(AllPending(model), std::vector<int>(11, -1));
    EXPECT_EQ(window->size(), QSize(1100, 720));
    EXPECT_FALSE(window->isMaximized());
    EXPECT_EQ(model.DTMFToneDelay, 12);
    EXPECT_EQ(window->dtmfDelayText(), "12ab");
    EXPECT_EQ(model.TxTemp, 0);
    EXPECT_EQ(model.WhichSend, 0);
    EXPECT_EQ(model.ComPort, 3);
    EXPECT_EQ(model.DTMFComPort, 0);
    EXPECT_EQ(model.SerialDelay, 0);
    EXPECT_TRUE(window->menus().com[2]->isChecked());
    EXPECT_EQ(window->recentFiles().count(), 0);
    EXPECT_FALSE(TabBar()->isEnabled());
    window->menus().fileExit->trigger();
    EXPECT_EQ(endings, 1);
}

// Numbers no link can use are replaced by 0, listed once at start-up and written back.
TEST_F(StartUp, OutOfRangeLinkValuesFallBackOnTheirDefaultsOnce)
{
    WriteFile(Ini(), "[Main]\r\nComPort=2147483647\r\nDTMFComPort=-5\r\nSerialDelay=2147483648\r\n"
                     "TxTemp=99999999\r\nDTMFDelay=10000\r\nWhichSend=2\r\n");
    prompts.Answer(Answer::Ok, kProgramSettingsTitle);
    Start();
    EXPECT_EQ(prompts.pending(), 0u);
    const std::string note = prompts.prompts().at(0).text;
    for (const char* line : {"ComPort=2147483647 (0 to 8)", "DTMFComPort=-5 (0 to 8)",
                             "SerialDelay=2147483648 (0 to 1)", "TxTemp=99999999 (0 to 10000)"})
        EXPECT_NE(note.find(line), std::string::npos) << line;
    EXPECT_EQ(note.find("DTMFDelay"), std::string::npos); // at the limit, still valid
    EXPECT_EQ(model.ComPort, 0);
    EXPECT_EQ(model.DTMFComPort, 0);
    EXPECT_EQ(model.SerialDelay, 0);
    EXPECT_EQ(model.TxTemp, 0);
    EXPECT_EQ(window->txTempText(), "0");
    EXPECT_EQ(model.DTMFToneDelay, 10000);
    EXPECT_EQ(Key("ComPort"), "0");
    EXPECT_EQ(Key("TxTemp"), "0");
    EXPECT_EQ(Key("DTMFDelay"), "10000");

    Start(); // the values written back raise no note
    EXPECT_EQ(prompts.prompts().size(), 1u);
}

// A zel.ini that can be neither read nor written is set aside at start-up, with one note;
// the exit then writes a fresh one without any error.
TEST_F(StartUp, AnUnusableZelIniIsSetAsideAndAFreshOneStarted)
{
    struct Case {
        const char* why;
        std::function<void(const std::string&)> make;
    };
    const Case cases[] = {
        {"is a folder, not a file.", [](const std::string& p) { std::filesystem::create_directory(p); }},
        {"is a named pipe (FIFO), not a file.", [](const std::string& p) { ::mkfifo(p.c_str(), 0644); }},
        {"is read-only.",
         [](const std::string& p) {
             WriteFile(p, "[Main]\r\nComPort=3\r\n");
             std::filesystem::permissions(p, std::filesystem::perms::owner_read);
         }},
        {"is larger than 16 MB.",
         [](const std::string& p) { WriteFile(p, std::string(kMaxSettingsFileSize + 1, ';')); }},
        {"is saved as UTF-16 (Unicode).",
         [](const std::string& p) { WriteFile(p, std::string("\xFF\xFE[\0M\0a\0i\0n\0]\0", 14)); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        std::filesystem::remove_all(Ini());
        std::filesystem::remove_all(Ini() + ".unusable");
        c.make(Ini());
        const std::size_t seen = prompts.prompts().size();
        prompts.Answer(Answer::Ok, kProgramSettingsTitle);
        Start();
        ASSERT_EQ(prompts.prompts().size(), seen + 1);
        const std::string note = prompts.prompts().back().text;
        EXPECT_NE(note.find(":\r\n\r\n" + Ini() + " " + c.why + "\r\n"), std::string::npos) << note;
        EXPECT_NE(note.find("set aside as:\r\n" + Ini() + ".unusable\r\n"), std::string::npos);
        EXPECT_TRUE(std::filesystem::exists(std::filesystem::symlink_status(Ini() + ".unusable")));
        EXPECT_EQ(model.ComPort, 0);
        window->mnuFileExit_Click();
        EXPECT_EQ(prompts.pending(), 0u);
        EXPECT_TRUE(std::filesystem::is_regular_file(Ini()));
        EXPECT_EQ(Key("Window State"), "0");
    }
    // A second damaged file does not overwrite the first one set aside.
    std::filesystem::remove(Ini());
    std::filesystem::create_directory(Ini());
    prompts.Answer(Answer::Ok, kProgramSettingsTitle);
    Start();
    EXPECT_NE(prompts.prompts().back().text.find(Ini() + ".unusable-2"), std::string::npos);
}

TEST_F(StartUp, CompleteZelIniRestoresPlacementRecentFilesAndLink)
{
    const std::string first = home.file("first.dat");
    const std::string second = home.file("second.dat");
    const std::string third = home.file("third.dat");
    const std::string fourth = home.file("fourth & last.dat");
    for (const auto& f : {first, fourth})
        WriteFile(f, "[Version]\r\n");
    WriteFile(Ini(), "[Main]\r\n"
                     "LastVMFile(1)=" + first + "\r\n"
                     "LastVMFile(2)=" + second + "\r\n"
                     "LastVMFile(3)=" + third + "\r\n"
                     "LastVMFile(4)=" + fourth + "\r\n"
                     "Window Width=12000\r\n"
                     "Window Height=9000\r\n"
                     "Window Top=1500\r\n"
                     "Window Left=3000\r\n"
                     "Window State=2\r\n"
                     "DTMFDelay=80\r\n"
                     "TxTemp=250\r\n"
                     "WhichSend=1\r\n"
                     "ComPort=0\r\n"
                     "DTMFComPort=5\r\n"
                     "SerialDelay=1\r\n");
    Start();
    EXPECT_TRUE(prompts.prompts().empty());
    EXPECT_EQ(window->size(), QSize(800, 600));
    EXPECT_EQ(window->pos(), QPoint(200, 100));
    EXPECT_TRUE(window->isMaximized());
    EXPECT_EQ(model.DTMFToneDelay, 80);
    EXPECT_EQ(model.TxTemp, 250);
    EXPECT_EQ(model.WhichSend, 1);
    EXPECT_EQ(model.DTMFComPort, 5);
    EXPECT_EQ(model.SerialDelay, 1);
    EXPECT_TRUE(window->menus().dtmfCom[4]->isChecked());
    EXPECT_FALSE(window->menus().dtmfCom[0]->isChecked());

    // Deleted files are dropped; the others keep their order.
    EXPECT_EQ(window->recentFiles().paths(), (std::vector<std::string>{first, fourth}));
    EXPECT_TRUE(window->menus().filesListSeparator->isVisible());
    EXPECT_EQ(window->menus().filesList[1]->text(), FromSetting(fourth).replace("&", "&&"));
    EXPECT_TRUE(window->menus().filesList[1]->isVisible());
    EXPECT_FALSE(window->menus().filesList[2]->isVisible());

    window->menus().fileExit->trigger();
    EXPECT_EQ(Key("LastVMFile(1)"), first);
    EXPECT_EQ(Key("LastVMFile(2)"), fourth);
    EXPECT_EQ(Key("LastVMFile(3)"), "");
    EXPECT_EQ(Key("LastVMFile(4)"), "");
    EXPECT_EQ(Key("Window State"), "2");
    EXPECT_EQ(Key("DTMFDelay"), "80"); // the link keys are not the exit's business
}

TEST_F(StartUp, ExitWritesThePlacementItWasGiven)
{
    WriteFile(Ini(), "[Main]\r\nWindow Width=10500\r\nWindow Height=7500\r\nWindow Top=450\r\n"
                     "Window Left=600\r\nWindow State=0\r\n");
    Start();
    window->mnuFileExit_Click();
    EXPECT_EQ(Key("Window Width"), "10500");
    EXPECT_EQ(Key("Window Height"), "7500");
    EXPECT_EQ(Key("Window Top"), "450");
    EXPECT_EQ(Key("Window Left"), "600");
    EXPECT_EQ(Key("Window State"), "0");
}

TEST_F(StartUp, ExitClosesAnOpenSerialPort)
{
    Start();
    port.open = true;
    window->mnuFileExit_Click();
    EXPECT_EQ(port.closes, 1);
    EXPECT_TRUE(window->ended());
}

TEST_F(StartUp, AnUnwritableZelIniIsReportedAndTheProgramStillEnds)
{
    Start();
    std::filesystem::create_directory(Ini()); // a folder where the file should be
    prompts.Answer(Answer::Ok, "***** Zel SYSTEM ERROR *****");
    window->mnuFileExit_Click();
    EXPECT_EQ(prompts.pending(), 0u);
    EXPECT_EQ(endings, 1);
}

TEST_F(StartUp, TimersAreOffAndOnlyCount)
{
    Start();
    for (QTimer* timer : {window->SerialTimer(), window->SerialTimer2()}) {
        EXPECT_FALSE(timer->isActive());
        EXPECT_EQ(timer->interval(), 1000);
        timer->setInterval(1);
        timer->start();
    }
    QTest::qWait(30);
    EXPECT_GT(model.transfer.ZelMainDownloadTimer, 0);
    EXPECT_GT(model.transfer.SerialTimer2Ticks, 0);
}

TEST(VersionTexts, FollowTheVersionNumbers)
{
    EXPECT_EQ(ZelVersionText(6, 0, 0), "6.00");
    EXPECT_EQ(ZelVersionText(6, 1, 12), "6.112");
    EXPECT_EQ(ProgramVersionText(6, 0), "60");
    EXPECT_EQ(VersionLabel(), "Version 6.0.0");
}

TEST(ProgramSettingsText, NumbersAsZelIniHoldsThem)
{
    struct Case {
        const char* text;
        std::optional<double> strict;
        long leading;
    };
    const Case cases[] = {
        {"12000", 12000, 12000}, {" 7.5 ", 7.5, 7},   {"+3", 3, 3},       {"-45", -45, -45},
        {"", std::nullopt, 0},   {"abc", std::nullopt, 0}, {"12x", std::nullopt, 12},
        {"1e999", std::nullopt, 1}, {"nan", std::nullopt, 0}, {"  -", std::nullopt, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(StrictNumber(c.text), c.strict) << c.text;
        EXPECT_EQ(LeadingWholeNumber(c.text), c.leading) << c.text;
    }
    EXPECT_EQ(NumberText(15000), "15000");
    EXPECT_EQ(NumberText(7.5), "7.5");
}

} // namespace
} // namespace vm880::test
