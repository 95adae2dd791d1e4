// The unapplied-changes guard on the tab strip and on the commands that leave the editor
// in front, and the sequence that shows a freshly loaded file.

#include "main_window_fixture.h"

namespace vm880::test {
namespace {

constexpr const char* kTimerWarning =
    "You have unapplied Timer changes, you must either apply them or cancel them before you "
    "can leave the form";

class Guard : public MainWindowTest {
protected:
    void SetUp() override
    {
        Start();
        LoadFile();
    }
};

TEST_F(Guard, ATabChangeIsRefusedWhileTheEditorInFrontHoldsAnEdit)
{
    EditTimers();
    prompts.Answer(Answer::Ok, "Unapplied Timer Changes");
    TabBar()->setCurrentIndex(3);
    ASSERT_EQ(prompts.prompts().size(), 1u);
    EXPECT_EQ(prompts.prompts()[0].text, kTimerWarning);
    EXPECT_EQ(prompts.prompts()[0].style, 48);
    EXPECT_EQ(TabBar()->currentIndex(), 0);
    EXPECT_EQ(window->tabs().CurrentArea(), 0);
    EXPECT_EQ(Page(), 0);

    // A click (pending state 0) holds the operator as well.
    EditorDriver(*Editor(0)).Click("FanSelect");
    prompts.Answer(Answer::Ok, "Unapplied Timer Changes");
    TabBar()->setCurrentIndex(10);
    EXPECT_EQ(TabBar()->currentIndex(), 0);

    // Applied: the change goes through.
    Editor(0)->DoApply();
    TabBar()->setCurrentIndex(3);
    EXPECT_EQ(window->tabs().CurrentArea(), 3);
    EXPECT_EQ(Page(), 3);
    EXPECT_EQ(prompts.pending(), 0u);
}

TEST_F(Guard, OnlyTheEditorInFrontCounts)
{
    TabBar()->setCurrentIndex(3);
    EditorDriver(*Editor(0)).Type("FanTimer", "7"); // an edit behind another tab
    EXPECT_EQ(window->CheckUnappliedChanges(), kValid);

    EditorDriver(*Editor(3)).Type("FanTimer", "9");
    prompts.Answer(Answer::Ok, "Unapplied Scheduler Changes");
    TabBar()->setCurrentIndex(5);
    EXPECT_EQ(prompts.pending(), 0u);
    EXPECT_EQ(TabBar()->currentIndex(), 3);
    EXPECT_EQ(Page(), 3);
}

TEST_F(Guard, EveryGuardedCommandIsRefusedAndRunsOnceApplied)
{
    const MainMenus& m = window->menus();
    struct Command {
        QAction* action;   // the command registered
        QAction* trigger;  // what the operator chooses
    };
    const std::vector<Command> guarded = {
        {m.fileOpen, m.fileOpen},     {m.fileSave, m.fileSave},       {m.fileSaveAs, m.fileSaveAs},
        {m.upload, m.upload},         {m.manualData, m.manualData},   {m.download, m.download},
        {m.importLinux, m.importLinux}, {m.fileOpen, m.toolOpen},     {m.fileSave, m.toolSave},
        {m.download, m.toolDownload}, {m.upload, m.toolUpload},
    };
    std::map<QAction*, int> runs;
    for (const Command& c : guarded)
        window->SetCommand(c.action, [&runs, a = c.action] { ++runs[a]; });
    int recentRuns = 0;
    window->SetRecentFileCommand([&](int item) { recentRuns += item; });
    window->fUpdateFilesList("/srv/club/old.dat");

    EditTimers();
    for (const Command& c : guarded) {
        prompts.Answer(Answer::Ok, "Unapplied Timer Changes");
        c.trigger->trigger();
        EXPECT_EQ(runs[c.action], 0) << c.trigger->objectName().toStdString();
    }
    prompts.Answer(Answer::Ok, "Unapplied Timer Changes");
    m.filesList[0]->trigger();
    EXPECT_EQ(recentRuns, 0);
    EXPECT_EQ(prompts.pending(), 0u);

    Editor(0)->DoApply();
    for (const Command& c : guarded)
        c.trigger->trigger();
    m.filesList[0]->trigger();
    EXPECT_EQ(runs[m.fileOpen], 2);
    EXPECT_EQ(runs[m.fileSaveAs], 1);
    EXPECT_EQ(runs[m.importLinux], 1);
    EXPECT_EQ(recentRuns, 1);
}

TEST_F(Guard, ToolsAndOptionMenusDoNotAskIt)
{
    const MainMenus& m = window->menus();
    int runs = 0;
    for (QAction* action : {m.testPad, m.toolReset, m.toolSetClock, m.rtcYes, m.dvrWrite, m.com[1],
                            m.dtmfCom[2], m.serialDelay, m.useDTR})
        window->SetCommand(action, [&runs] { ++runs; });
    EditTimers();
    for (QAction* action : {m.testPad, m.toolReset, m.toolSetClock, m.rtcYes, m.dvrWrite, m.com[1],
                            m.dtmfCom[2], m.serialDelay, m.useDTR})
        action->trigger();
    EXPECT_EQ(runs, 9);
    EXPECT_TRUE(prompts.prompts().empty());
}

TEST_F(Guard, ExitAndCloseAreRefused)
{
    EditTimers();
    prompts.Answer(Answer::Ok, "Unapplied Timer Changes").Answer(Answer::Ok, "Unapplied Timer Changes");
    window->menus().fileExit->trigger();
    EXPECT_FALSE(window->close());
    EXPECT_EQ(prompts.pending(), 0u);
    EXPECT_EQ(endings, 0);
    EXPECT_FALSE(IniExists());
}

TEST_F(Guard, ALoadEndsOnTheTimersTab)
{
    TabBar()->setCurrentIndex(5);
    ASSERT_EQ(window->tabs().CurrentArea(), 5);
    LoadFile("/srv/club/other.dat");
    EXPECT_TRUE(TabBar()->isEnabled());
    EXPECT_EQ(TabBar()->currentIndex(), 0);
    EXPECT_EQ(window->tabs().CurrentArea(), 0);
    EXPECT_EQ(Page(), 0);
    EXPECT_EQ(EditorDriver(*Editor(0)).Text("HangTimer", 1), "10");
    EXPECT_EQ(Editor(5), nullptr); // an editor not built yet: an empty page
}

// A failed load leaves no editors and a cleared model; the strip must not stay usable.
TEST_F(Guard, TheStripIsOffWhileNoFileIsLoaded)
{
    ASSERT_TRUE(TabBar()->isEnabled());
    EditTimers();
    window->fUnloadForms(); // what every load does first; the load then fails
    EXPECT_FALSE(TabBar()->isEnabled());
    EXPECT_EQ(Editor(0), nullptr);
    EXPECT_EQ(model.giTimersUnapplied, -1);
    EXPECT_EQ(model.HangTime(1), "");
    EXPECT_EQ(window->CheckUnappliedChanges(), kValid);
}

TEST_F(Guard, TheUnlockWindowOpensOnlyForAFileThatNeedsIt)
{
    int opened = 0;
    window->SetUnlockWindow([&] {
        ++opened;
        EXPECT_TRUE(TabBar()->isEnabled()); // after the strip, before the Timers focus
    });
    model.LockEqualsTerminator = kTrue;
    LoadFile();
    EXPECT_EQ(opened, 1);
    EXPECT_EQ(model.LockEqualsTerminator, kFalse);
    LoadFile();
    EXPECT_EQ(opened, 1);
}

TEST_F(Guard, CaptionShowsLongPathsByTheirName)
{
    const std::string forty = "/srv/club/" + std::string(26, 'a') + ".dat";
    ASSERT_EQ(forty.size(), 40u);
    LoadFile(forty);
    EXPECT_EQ(window->windowTitle().toStdString(), "Kelvo Zel Programmer  6.00  " + forty);
    const std::string fortyOne = "/srv/club/" + std::string(27, 'b') + ".dat";
    LoadFile(fortyOne);
    EXPECT_EQ(window->windowTitle().toStdString(),
              "Kelvo Zel Programmer  6.00  " + std::string(27, 'b') + ".dat");
}

} // namespace
} // namespace vm880::test
