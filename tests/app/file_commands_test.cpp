// The File menu, the recent files and the RTC and DVR menus, through the real reader and
// writer, with scripted file dialogs.

#include "main_window_fixture.h"

#include "guarded_fifo.h"

#include "app/area_table.h"
#include "app/editor_pages.h"
#include "app/editor_tabs.h"
#include "app/file_commands.h"
#include "editors/editor_base.h"
#include "model/error_report.h"
#include "model/reader.h"
#include "model/settings_writer.h"

#include <QPushButton>

#include <functional>

namespace vm880::test {
namespace {

constexpr const char* kUnsavedTitle = "UNSAVED CHANGES IN YOUR DAT FILE";
constexpr const char* kTimersWarning = "Unapplied Timer Changes";

class FileCommandsTest : public MainWindowTest {
protected:
    void SetUp() override { Start(); }

    // A settings file whose every value is valid, so that opening it asks nothing.
    std::string Dat(const std::string& name, const std::function<void(ConfigModel&)>& adjust = {},
                    const std::string& version = "[Version]\r\nFirmwareVersion=600\r\nHasRTC=1\r\nDVRWrite=0\r\n")
    {
        const std::string path = files.file(name);
        WriteFile(path, version);
        ConfigModel m;
        ScriptedPrompts quiet;
        quiet.Always(Answer::No, "DAT File Errors").Always(Answer::Yes, "VERSION DIFFERENCE").AcceptNotices();
        KeyAccess k(quiet);
        RecordingViewer v;
        m.DatFilePath = path;
        FileLoadServices services{m, k, quiet, v, scratch.path().string(), {}};
        EXPECT_EQ(FileLoad(services).outcome, FileLoadResult::Loaded);
        if (adjust)
            adjust(m);
        EXPECT_EQ(FileWrite(m, k, quiet), kDone);
        return path;
    }

    Text Value(const std::string& path, const std::string& section, const std::string& key)
    {
        KeyAccess fresh(prompts);
        return fresh.ReadSetting(section, key, path);
    }

    void Open(const std::string& path)
    {
        dialogs.Open(path);
        window->menus().fileOpen->trigger();
    }

    // An applied change: the file now has unsaved changes.
    void ApplyFanTime(const char* value)
    {
        EditorDriver(*Editor(0)).Type("FanTimer", value);
        ASSERT_EQ(Editor(0)->DoApply(), kValid);
        ASSERT_EQ(model.DatFileSaved, kFalse);
    }

    std::vector<std::string> Recent() const { return window->recentFiles().paths(); }
    std::string Title() const { return window->windowTitle().toStdString(); }
    bool SavingOn() const
    {
        const MainMenus& m = window->menus();
        return m.fileSave->isEnabled() && m.fileSaveAs->isEnabled() && m.toolSave->isEnabled();
    }
    int Beeps() const
    {
        int n = 0;
        for (const auto& p : prompts.prompts())
            n += p.kind == RecordedPrompt::Beep;
        return n;
    }

    TempFolder files;   // the operator's settings files
    TempFolder scratch; // error.log of the files made for the tests
};

TEST_F(FileCommandsTest, OpenSaveAndSaveAsRoundTripThroughTheFiles)
{
    const std::string a = Dat("a.dat", [](ConfigModel& m) {
        m.FanTime = "5";
        m.HangTime(1) = "42";
    });
    Open(a);
    ASSERT_EQ(model.DatFileLoaded, kTrue);
    EXPECT_TRUE(prompts.prompts().empty());
    ASSERT_EQ(dialogs.shown().size(), 1u);
    EXPECT_EQ(dialogs.shown()[0].filter, "VM880 Database Files (*.dat)|*.dat|All files (*.*)|*.*");
    EXPECT_EQ(dialogs.shown()[0].title, "Open Controller Database File");
    EXPECT_EQ(model.DatFilePath, a);
    EXPECT_EQ(EditorDriver(*Editor(0)).Text("HangTimer", 1), "42");
    EXPECT_TRUE(TabBar()->isEnabled());
    EXPECT_TRUE(SavingOn());
    EXPECT_TRUE(window->menus().rtc->menuAction()->isEnabled());
    EXPECT_TRUE(window->menus().rtcYes->isChecked());
    EXPECT_TRUE(window->menus().dvrNoWrite->isChecked());
    EXPECT_EQ(Recent(), std::vector<std::string>{a});
    EXPECT_TRUE(Title().ends_with("a.dat"));

    ApplyFanTime("7");
    window->menus().toolSave->trigger();
    EXPECT_EQ(model.DatFileSaved, kTrue);
    EXPECT_EQ(Value(a, "Timers", "FanTime"), "7");

    ApplyFanTime("9");
    const std::string b = files.file("b.dat");
    dialogs.Save(b);
    window->menus().fileSaveAs->trigger();
    ASSERT_EQ(dialogs.shown().size(), 2u);
    EXPECT_TRUE(dialogs.shown()[1].save);
    EXPECT_EQ(dialogs.shown()[1].filter, "VM880 Database Files (*.dat) | *.dat");
    EXPECT_EQ(dialogs.shown()[1].title, "Save Controller Database File");
    EXPECT_EQ(dialogs.shown()[1].preset, a);
    EXPECT_EQ(model.DatFilePath, b);
    EXPECT_EQ(model.DatFileSaved, kTrue);
    EXPECT_EQ(Value(b, "Timers", "FanTime"), "9");
    EXPECT_EQ(Value(b, "Timers", "HangTime(1)"), "42");
    EXPECT_EQ(Value(a, "Timers", "FanTime"), "7");
    EXPECT_EQ(Recent(), (std::vector<std::string>{b, a}));
    EXPECT_TRUE(Title().ends_with("b.dat"));

    // The written file opens again without a complaint.
    window->menus().filesList[1]->trigger();
    EXPECT_EQ(model.DatFilePath, a);
    EXPECT_EQ(model.FanTime, "7");
    EXPECT_EQ(Recent(), (std::vector<std::string>{a, b}));
    EXPECT_TRUE(prompts.prompts().empty());
    EXPECT_EQ(dialogs.pending(), 0u);
}

TEST_F(FileCommandsTest, ACancelledDialogOrAMissingFileChangesNothing)
{
    const std::string a = Dat("a.dat");
    Open(a);
    ApplyFanTime("7");
    model.DatFileSaved = kTrue; // no question in the way

    dialogs.Open("");
    window->menus().fileOpen->trigger();
    EXPECT_EQ(Beeps(), 1);
    EXPECT_EQ(model.DatFilePath, a);
    EXPECT_EQ(model.FanTime, "7");
    EXPECT_NE(Editor(0), nullptr);

    const std::string gone = files.file("gone.dat");
    prompts.Answer(Answer::Ok, "File Open Error");
    Open(gone);
    EXPECT_EQ(Beeps(), 2);
    EXPECT_EQ(prompts.prompts().back().text, "The file does not exist\r\n\r\n" + gone);
    EXPECT_EQ(prompts.prompts().back().style, 48);
    EXPECT_EQ(model.DatFilePath, a);
    EXPECT_EQ(model.DatFileLoaded, kTrue);
    EXPECT_EQ(Recent(), std::vector<std::string>{a});

    // A named pipe, a folder or a UTF-16 file is refused at once, saying what it is, and the
    // open file stays; the pipe is never opened in a way that waits.
    GuardedFifo fifo(files.file("pipe.dat"));
    ASSERT_TRUE(fifo.Made());
    const std::string folder = files.file("folder.dat");
    std::filesystem::create_directory(folder);
    const std::string unicode = files.file("unicode.dat");
    WriteFile(unicode, std::string("\xFF\xFE[\0", 4));
    for (const auto& [path, what] : {std::pair{fifo.path(), " is a named pipe (FIFO), not a file.\r\n"},
                                     std::pair{folder, " is a folder, not a file.\r\n"},
                                     std::pair{unicode, " is saved as UTF-16 (Unicode).\r\n"}}) {
        prompts.Answer(Answer::Ok, "File Open Error");
        Open(path);
        EXPECT_EQ(prompts.prompts().back().text.rfind(path + what, 0), 0u) << prompts.prompts().back().text;
        EXPECT_EQ(model.DatFilePath, a);
        EXPECT_EQ(model.DatFileLoaded, kTrue);
        EXPECT_NE(Editor(0), nullptr);
        EXPECT_EQ(Recent(), std::vector<std::string>{a});
    }
    EXPECT_EQ(Beeps(), 5);
    EXPECT_FALSE(fifo.Opened());

    dialogs.Save(folder);
    prompts.Answer(Answer::Ok, "Save As Cancelled");
    window->menus().fileSaveAs->trigger();
    EXPECT_EQ(prompts.prompts().back().text, folder + " is a folder, not a file.\r\n\r\nThe data was NOT saved");
    dialogs.Save("");
    prompts.Answer(Answer::Ok, "Save As Cancelled");
    window->menus().fileSaveAs->trigger();
    EXPECT_EQ(prompts.prompts().back().text, "A SaveAs file was not selected\r\n\r\nThe data was NOT saved");
    EXPECT_EQ(model.DatFilePath, a);
    EXPECT_EQ(prompts.pending(), 0u);
}

TEST_F(FileCommandsTest, SaveAsOntoAnExistingFileAsksFirst)
{
    const std::string a = Dat("a.dat");
    const std::string b = Dat("b.dat", [](ConfigModel& m) { m.FanTime = "3"; });
    const std::string before = ReadFile(b);
    Open(a);
    ApplyFanTime("7");

    dialogs.Save(b);
    prompts.Answer(Answer::No, "Save Database");
    window->menus().fileSaveAs->trigger();
    EXPECT_EQ(prompts.prompts().back().text, "File Already Exists! Are you sure you want to overwrite?");
    EXPECT_EQ(prompts.prompts().back().style, 52);
    EXPECT_EQ(ReadFile(b), before);
    EXPECT_EQ(model.DatFilePath, a);
    EXPECT_EQ(model.DatFileSaved, kFalse);

    window->menus().fileSave->trigger(); // still the previous file
    EXPECT_EQ(Value(a, "Timers", "FanTime"), "7");

    dialogs.Save(b);
    prompts.Answer(Answer::Yes, "Save Database");
    window->menus().fileSaveAs->trigger();
    EXPECT_EQ(Value(b, "Timers", "FanTime"), "7");
    EXPECT_EQ(model.DatFilePath, b);
}

TEST_F(FileCommandsTest, AFailedSaveAsKeepsThePreviousFile)
{
    const std::string a = Dat("a.dat");
    Open(a);
    ApplyFanTime("7");
    const std::string title = Title();
    prompts.AcceptNotices();
    dialogs.Save(files.file("no such folder/x.dat"));
    window->menus().fileSaveAs->trigger();
    EXPECT_EQ(prompts.titles(), (std::vector<std::string>{kSystemErrorTitle, kSystemErrorTitle}));
    EXPECT_EQ(model.DatFilePath, a);
    EXPECT_EQ(model.DatFileSaved, kFalse);
    EXPECT_EQ(Recent(), std::vector<std::string>{a});
    EXPECT_EQ(Title(), title);
}

// A failed load leaves an empty or half-read model behind: saving it would wipe a file.
TEST_F(FileCommandsTest, SavingIsOffWhileNoFileIsLoaded)
{
    const MainMenus& m = window->menus();
    EXPECT_FALSE(SavingOn());
    EXPECT_FALSE(m.rtc->menuAction()->isEnabled());
    EXPECT_FALSE(m.dvr->menuAction()->isEnabled());
    m.toolSave->trigger();
    m.fileSaveAs->trigger();
    EXPECT_TRUE(dialogs.shown().empty());

    const std::string a = Dat("a.dat");
    const std::string old = Dat("old.dat", {}, "[Version]\r\nFirmwareVersion=528\r\nHasRTC=1\r\n");
    Open(a);
    EXPECT_TRUE(SavingOn());
    const std::string aBefore = ReadFile(a);
    const std::string oldBefore = ReadFile(old);

    prompts.Answer(Answer::No, "VERSION DIFFERENCE");
    Open(old);
    EXPECT_EQ(model.DatFileLoaded, kFalse);
    EXPECT_EQ(model.DatFilePath, old);
    EXPECT_FALSE(SavingOn());
    EXPECT_FALSE(m.rtc->menuAction()->isEnabled());
    EXPECT_FALSE(TabBar()->isEnabled());
    m.toolSave->trigger();
    m.fileSave->trigger();
    m.fileSaveAs->trigger();
    window->fileCommands().mnuFileSave_Click(); // also when reached some other way
    window->fileCommands().mnuRTCno_Click();
    EXPECT_EQ(ReadFile(old), oldBefore);
    EXPECT_EQ(ReadFile(a), aBefore);
    EXPECT_EQ(dialogs.shown().size(), 2u); // the two open dialogs only
    EXPECT_EQ(prompts.pending(), 0u);
}

struct UnsavedCase {
    const char* name;
    Answer answer;
    const char* saveAs;     // nullptr: no save dialog; "": cancelled
    bool opens;             // the open dialog follows
};

void PrintTo(const UnsavedCase& c, std::ostream* os)
{
    *os << c.name;
}

class UnsavedQuestion : public FileCommandsTest, public ::testing::WithParamInterface<UnsavedCase> {};

TEST_P(UnsavedQuestion, OnOpen)
{
    const UnsavedCase& c = GetParam();
    const std::string a = Dat("a.dat");
    const std::string b = Dat("b.dat");
    Open(a);
    ApplyFanTime("7");

    prompts.Answer(c.answer, kUnsavedTitle);
    if (c.saveAs) {
        dialogs.Save(*c.saveAs ? files.file(c.saveAs) : "");
        if (!*c.saveAs)
            prompts.Answer(Answer::Ok, "Save As Cancelled");
    }
    if (c.opens)
        dialogs.Open(b);
    window->menus().fileOpen->trigger();

    EXPECT_EQ(prompts.prompts()[0].text,
              "You have not saved your current .DAT file changes.\r\nAll changes will be lost unless "
              "you save the file.\r\n\r\nDo you want to save the current .DAT file before opening a "
              "different .DAT file?");
    EXPECT_EQ(prompts.prompts()[0].style, 51);
    EXPECT_EQ(prompts.pending(), 0u);
    EXPECT_EQ(dialogs.pending(), 0u);
    if (c.opens) {
        EXPECT_EQ(model.DatFilePath, b);
        EXPECT_EQ(model.DatFileSaved, kTrue);
    } else {
        // Nothing is lost: the changes wait in the model as they were.
        EXPECT_EQ(model.DatFilePath, a);
        EXPECT_EQ(model.FanTime, "7");
        EXPECT_EQ(model.DatFileSaved, kFalse);
    }
    if (c.saveAs && *c.saveAs) {
        EXPECT_EQ(Value(files.file(c.saveAs), "Timers", "FanTime"), "7");
    }
    EXPECT_NE(Value(a, "Timers", "FanTime"), "7");
}

INSTANTIATE_TEST_SUITE_P(
    Answers, UnsavedQuestion,
    ::testing::Values(UnsavedCase{"Cancel", Answer::Cancel, nullptr, false},
                      UnsavedCase{"No", Answer::No, nullptr, true},
                      UnsavedCase{"YesThenSaveAsCancelled", Answer::Yes, "", false},
                      UnsavedCase{"YesThenSaved", Answer::Yes, "c.dat", true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(FileCommandsTest, AFailedSaveFirstKeepsTheChanges)
{
    const std::string a = Dat("a.dat");
    Open(a);
    const std::string b = Dat("b.dat");
    Open(b);
    ApplyFanTime("7");
    prompts.AcceptNotices();
    prompts.Answer(Answer::Yes, kUnsavedTitle);
    dialogs.Save(files.file("no such folder/x.dat"));
    window->menus().filesList[1]->trigger();
    EXPECT_EQ(model.DatFilePath, b);
    EXPECT_EQ(model.FanTime, "7");
    EXPECT_EQ(model.DatFileSaved, kFalse);
}

TEST_F(FileCommandsTest, RecentFilesFollowEveryOpen)
{
    std::vector<std::string> f;
    for (const char* name : {"f1.dat", "f2.dat", "f3.dat", "f4.dat", "f5.dat"})
        f.push_back(Dat(name));
    for (int i = 0; i < 4; ++i)
        Open(f[static_cast<std::size_t>(i)]);
    EXPECT_EQ(Recent(), (std::vector<std::string>{f[3], f[2], f[1], f[0]}));
    const MainMenus& m = window->menus();
    EXPECT_EQ(m.filesList[3]->text().toStdString(), f[0]);
    EXPECT_TRUE(m.filesList[3]->isVisible());
    EXPECT_TRUE(m.filesListSeparator->isVisible());

    m.filesList[2]->trigger(); // item 3 moves up, item 4 stays
    EXPECT_EQ(model.DatFilePath, f[1]);
    EXPECT_EQ(Recent(), (std::vector<std::string>{f[1], f[3], f[2], f[0]}));
    m.filesList[0]->trigger();
    EXPECT_EQ(Recent(), (std::vector<std::string>{f[1], f[3], f[2], f[0]}));
    Open(f[4]); // a fifth file drops the oldest
    EXPECT_EQ(Recent(), (std::vector<std::string>{f[4], f[1], f[3], f[2]}));
    EXPECT_TRUE(prompts.prompts().empty());

    // A listed file deleted since: refused, and it stays listed.
    std::filesystem::remove(f[3]);
    prompts.Answer(Answer::Ok, "File Open Error");
    m.filesList[2]->trigger();
    EXPECT_EQ(Beeps(), 1);
    EXPECT_EQ(prompts.prompts().back().text, "The file does not exist on this computer");
    EXPECT_EQ(model.DatFilePath, f[4]);
    EXPECT_EQ(model.DatFileLoaded, kTrue);
    EXPECT_EQ(Recent(), (std::vector<std::string>{f[4], f[1], f[3], f[2]}));
}

// Saving first under a new name pushes the list down; the file chosen is still the one opened.
TEST_F(FileCommandsTest, ARecentFileChosenWithUnsavedChangesIsTheOneOpened)
{
    const std::string a = Dat("a.dat");
    const std::string b = Dat("b.dat");
    const std::string c = files.file("c.dat");
    Open(b);
    Open(a);
    ApplyFanTime("7");
    prompts.Answer(Answer::Yes, kUnsavedTitle);
    dialogs.Save(c);
    window->menus().filesList[1]->trigger();
    EXPECT_EQ(Value(c, "Timers", "FanTime"), "7");
    EXPECT_EQ(model.DatFilePath, b);
    EXPECT_EQ(Recent(), (std::vector<std::string>{b, c, a}));
}

TEST_F(FileCommandsTest, TheGuardStopsEveryFileCommand)
{
    const std::string a = Dat("a.dat");
    Open(a);
    const std::string before = ReadFile(a);
    model.DatFileSaved = kFalse;
    EditTimers();
    const MainMenus& m = window->menus();
    for (QAction* action : {m.fileOpen, m.toolOpen, m.fileSave, m.toolSave, m.fileSaveAs, m.filesList[0],
                            m.rtcYes, m.rtcNo, m.dvrWrite, m.dvrNoWrite}) {
        prompts.Answer(Answer::Ok, kTimersWarning);
        action->trigger();
        EXPECT_EQ(prompts.pending(), 0u) << action->objectName().toStdString();
    }
    EXPECT_EQ(dialogs.shown().size(), 1u); // the first open only
    EXPECT_EQ(ReadFile(a), before);
    EXPECT_EQ(model.giTimersUnapplied, 2);
    EXPECT_TRUE(m.rtcYes->isChecked());
    EXPECT_FALSE(m.rtcNo->isChecked());
    EXPECT_TRUE(m.dvrNoWrite->isChecked());
    EXPECT_FALSE(m.dvrWrite->isChecked());
}

TEST_F(FileCommandsTest, TheRTCMenuConfirmsWritesAndReloads)
{
    const std::string a = Dat("a.dat", [](ConfigModel& m) { m.MessageMacro(60) = "HELLO"; });
    Open(a);
    const MainMenus& m = window->menus();
    ASSERT_EQ(model.MessageMacro(60), "HELLO");

    prompts.Answer(Answer::Cancel, "Change RTC Status");
    m.rtcNo->trigger();
    EXPECT_EQ(prompts.prompts().back().style, 289);
    EXPECT_EQ(prompts.prompts().back().text,
              "You are changing this file from RTC-YES (the controller HAS an RTC) to RTC-NO (the "
              "controller does NOT have an RTC).  This will block access to message macros 41-70, "
              "remote base memories 11-40, and DTMF 21-50\r\n\r\nPlease confirm this change\r\n\r\n"
              "OK to confirm that you want to make the change\r\nCANCEL to cancel the change and "
              "leave the file as RTC-YES");
    EXPECT_EQ(Value(a, "Version", "HasRTC"), "1");
    EXPECT_TRUE(m.rtcYes->isChecked());
    EXPECT_FALSE(m.rtcNo->isChecked());

    prompts.Answer(Answer::Ok, "Change RTC Status");
    m.rtcNo->trigger();
    EXPECT_EQ(Value(a, "Version", "HasRTC"), "0");
    EXPECT_EQ(model.HasRTC, kFalse);
    EXPECT_EQ(model.DatFileLoaded, kTrue);
    EXPECT_EQ(model.MessageMacroCount(), 40);
    EXPECT_FALSE(m.rtcYes->isChecked());
    EXPECT_TRUE(m.rtcNo->isChecked());
    EXPECT_NE(Editor(0), nullptr);

    m.rtcNo->trigger(); // already so: no question, written and reloaded all the same
    EXPECT_TRUE(m.rtcNo->isChecked());
    EXPECT_EQ(model.DatFileLoaded, kTrue);

    prompts.Answer(Answer::Ok, "Change RTC Status");
    m.rtcYes->trigger();
    EXPECT_TRUE(prompts.prompts().back().text.starts_with(
        "You are changing this file from RTC-NO (the controller does NOT have an RTC) to RTC-YES (the "
        "controller HAS an RTC).  This will provide access to message macros 41-70"));
    EXPECT_TRUE(prompts.prompts().back().text.ends_with("leave the file as RTC-NO"));
    EXPECT_EQ(Value(a, "Version", "HasRTC"), "1");
    EXPECT_EQ(model.MessageMacro(60), "HELLO"); // the longer lists are back
    EXPECT_TRUE(m.rtcYes->isChecked());
    EXPECT_EQ(prompts.pending(), 0u);
}

TEST_F(FileCommandsTest, TheOptionMenusAskBeforeDroppingUnsavedChanges)
{
    const std::string a = Dat("a.dat", [](ConfigModel& m) { m.FanTime = "5"; });
    Open(a);
    const MainMenus& m = window->menus();
    ApplyFanTime("7");

    prompts.Answer(Answer::Cancel, kUnsavedTitle);
    m.dvrWrite->trigger();
    EXPECT_EQ(Value(a, "Version", "DVRWrite"), "0");
    EXPECT_EQ(model.FanTime, "7");
    EXPECT_FALSE(m.dvrWrite->isChecked());
    EXPECT_TRUE(m.dvrNoWrite->isChecked());

    prompts.Answer(Answer::Yes, kUnsavedTitle).Answer(Answer::Ok, "Save As Cancelled");
    dialogs.Save("");
    m.rtcYes->trigger(); // RTC already: only the unsaved question
    EXPECT_EQ(model.FanTime, "7");
    EXPECT_EQ(model.DatFileSaved, kFalse);

    prompts.Answer(Answer::No, kUnsavedTitle);
    m.dvrWrite->trigger();
    EXPECT_EQ(Value(a, "Version", "DVRWrite"), "1");
    EXPECT_EQ(model.DVRWrite, kTrue);
    EXPECT_EQ(model.FanTime, "5"); // read again from the file
    EXPECT_EQ(model.DatFileSaved, kTrue);
    EXPECT_TRUE(m.dvrWrite->isChecked());
    EXPECT_FALSE(m.dvrNoWrite->isChecked());

    m.dvrNoWrite->trigger(); // saved: no question
    EXPECT_EQ(Value(a, "Version", "DVRWrite"), "0");
    EXPECT_EQ(model.DVRWrite, kFalse);
    EXPECT_TRUE(m.dvrNoWrite->isChecked());

    // Saved as UTF-16 since it was opened: refused, nothing written into it.
    const std::string unicode("\xFF\xFE[\0", 4);
    WriteFile(a, unicode);
    prompts.Answer(Answer::Ok, "File Open Error").Answer(Answer::Ok, "Change RTC Status").Answer(Answer::Ok, "File Open Error");
    m.dvrWrite->trigger();
    m.rtcNo->trigger();
    EXPECT_EQ(ReadFile(a), unicode);
    EXPECT_EQ(model.DatFileLoaded, kTrue);
    EXPECT_TRUE(m.dvrNoWrite->isChecked());
    EXPECT_TRUE(m.rtcYes->isChecked());
    EXPECT_EQ(prompts.pending(), 0u);
}

TEST_F(FileCommandsTest, ViewErrorLog)
{
    const MainMenus& m = window->menus();
    prompts.Answer(Answer::Ok, "View Error Log");
    m.errorLog->trigger(); // nothing loaded yet in this folder
    EXPECT_TRUE(prompts.prompts().back().text.starts_with("There is no error log yet"));
    EXPECT_TRUE(viewer.shown.empty());

    Open(Dat("a.dat"));
    m.errorLog->trigger();
    ASSERT_EQ(viewer.shown.size(), 1u);
    EXPECT_EQ(viewer.shown[0], model.ErrorLogPath);
    EXPECT_EQ(viewer.shown[0], home.path().string() + "/error.log");

    viewer.works = false;
    prompts.Answer(Answer::Ok, "View Error Log");
    m.errorLog->trigger();
    EXPECT_TRUE(prompts.prompts().back().text.starts_with("No text viewer could be started"));
    EXPECT_EQ(prompts.pending(), 0u);
}

TEST_F(FileCommandsTest, AFileWhoseLockIsItsTerminatorOpensTheUnlockWindow)
{
    int opened = 0;
    window->SetUnlockWindow([&] { ++opened; });
    const std::string a = Dat("a.dat", [](ConfigModel& m) { m.Lock = m.Terminator; });
    prompts.AcceptNotices();
    Open(a);
    EXPECT_EQ(opened, 1);
    EXPECT_EQ(model.LockEqualsTerminator, kFalse);
    Open(Dat("b.dat"));
    EXPECT_EQ(opened, 1);
}

TEST_F(FileCommandsTest, TheUnlockWindowItOpensIsTheCodeWindow)
{
    const std::string a = Dat("a.dat", [](ConfigModel& m) { m.Lock = m.Terminator; });
    prompts.AcceptNotices();
    Open(a);
    EXPECT_EQ(modals, std::vector<std::string>{"frmUnlock"});
    EXPECT_EQ(model.LockEqualsTerminator, kFalse);
}

TEST_F(FileCommandsTest, TheSpecialCodesButtonOpensTheCodeWindow)
{
    window->tabs().SetFactory([](int area, EditorServices services) {
        return area == kSpecialCodesArea ? MakeEditor(area, services) : nullptr;
    });
    Open(Dat("a.dat"));
    window->tabs().Editor(kSpecialCodesArea)->findChild<QPushButton*>("cmdUnlock")->click();
    EXPECT_EQ(modals, std::vector<std::string>{"frmUnlock"});
}

} // namespace
} // namespace vm880::test
