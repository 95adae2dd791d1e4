// The two ways out (the Exit command and closing the window) with an unsaved file, the
// Help windows, the progress window and the start-up through the splash window.

#include "main_window_fixture.h"

#include "app/application.h"
#include "app/info_windows.h"
#include "app/recent_files.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

#include <cstdlib>

namespace vm880::test {
namespace {

constexpr const char* kSaveTitle = "Save Database";

class ExitPaths : public MainWindowTest {
protected:
    void SetUp() override
    {
        Start();
        LoadFile();
        model.DatFileSaved = kFalse;
        window->SetCommand(window->menus().fileSaveAs, [this] {
            ++saveAsRuns;
            if (saveSucceeds)
                model.DatFileSaved = kTrue;
        });
    }
    int Questions() const
    {
        int n = 0;
        for (const auto& p : prompts.prompts())
            n += p.title == kSaveTitle;
        return n;
    }

    int saveAsRuns = 0;
    bool saveSucceeds = true;
};

TEST_F(ExitPaths, CloseAskedOnceCancelKeepsTheWindowOpen)
{
    prompts.Answer(Answer::Cancel, kSaveTitle);
    EXPECT_FALSE(window->close());
    EXPECT_EQ(Questions(), 1);
    EXPECT_EQ(prompts.prompts()[0].text,
              "You have not saved your new settings. All changes will be lost unless you do. Do "
              "you want to save the database file before exiting?");
    EXPECT_EQ(prompts.prompts()[0].style & 7, 3); // Yes, No and Cancel
    EXPECT_EQ(endings, 0);
    EXPECT_FALSE(IniExists());
}

TEST_F(ExitPaths, CloseAnsweredNoEndsAfterOneQuestionAndWritesZelIni)
{
    prompts.Answer(Answer::No, kSaveTitle);
    EXPECT_TRUE(window->close());
    EXPECT_EQ(Questions(), 1);
    EXPECT_EQ(endings, 1);
    EXPECT_TRUE(IniExists());
    EXPECT_EQ(saveAsRuns, 0);
}

TEST_F(ExitPaths, CloseAnsweredYesSavesAndStaysOpenUntilClosedAgain)
{
    prompts.Answer(Answer::Yes, kSaveTitle);
    EXPECT_FALSE(window->close());
    EXPECT_EQ(saveAsRuns, 1);
    EXPECT_EQ(endings, 0);
    EXPECT_TRUE(window->close()); // saved now: no question
    EXPECT_EQ(Questions(), 1);
    EXPECT_EQ(endings, 1);
    EXPECT_TRUE(IniExists());
}

TEST_F(ExitPaths, ExitAnsweredYesEndsOnlyWhenTheSaveWorked)
{
    saveSucceeds = false; // the Save As dialog was cancelled, or the write failed
    prompts.Answer(Answer::Yes, kSaveTitle);
    window->mnuFileExit_Click();
    EXPECT_EQ(saveAsRuns, 1);
    EXPECT_EQ(endings, 0);
    EXPECT_FALSE(window->ended());
    EXPECT_FALSE(IniExists());

    saveSucceeds = true;
    prompts.Answer(Answer::Yes, kSaveTitle);
    window->mnuFileExit_Click();
    EXPECT_EQ(saveAsRuns, 2);
    EXPECT_EQ(endings, 1);
    EXPECT_TRUE(IniExists());
    EXPECT_FALSE(window->isVisible());
}

TEST_F(ExitPaths, ExitAnsweredCancelOrNo)
{
    prompts.Answer(Answer::Cancel, kSaveTitle);
    window->mnuFileExit_Click();
    EXPECT_EQ(endings, 0);
    prompts.Answer(Answer::No, kSaveTitle);
    window->mnuFileExit_Click();
    EXPECT_EQ(endings, 1);
    EXPECT_EQ(Questions(), 2);
    EXPECT_EQ(saveAsRuns, 0);
}

TEST_F(ExitPaths, ASavedFileEndsWithoutAQuestion)
{
    model.DatFileSaved = kTrue;
    window->show();
    EXPECT_TRUE(window->close());
    EXPECT_TRUE(prompts.prompts().empty());
    EXPECT_EQ(endings, 1);
    EXPECT_TRUE(IniExists());
}

TEST(RecentFilesList, KeepsFourMostRecentFirst)
{
    struct Step {
        const char* path;
        std::vector<std::string> after;
    };
    const Step steps[] = {
        {"a", {"a"}},
        {"b", {"b", "a"}},
        {"  ", {"b", "a"}},
        {"c", {"c", "b", "a"}},
        {"d", {"d", "c", "b", "a"}},
        {"b", {"b", "d", "c", "a"}}, // item 3 moves up, item 4 stays
        {"b", {"b", "d", "c", "a"}},
        {"e", {"e", "b", "d", "c"}}, // a fifth path drops the oldest
        {"E", {"E", "e", "b", "d"}}, // compared exactly
    };
    RecentFiles list;
    for (const Step& s : steps) {
        list.Update(s.path);
        EXPECT_EQ(list.paths(), s.after) << "after " << s.path;
    }
    EXPECT_EQ(list.Item(5), "");
}

TEST_F(MainWindowTest, HelpWindowsAreShownModally)
{
    Start();
    window->menus().about->trigger();
    window->menus().company->trigger();
    EXPECT_EQ(modals, (std::vector<std::string>{"About", "Company"}));

    AboutWindow about;
    EXPECT_EQ(about.findChild<QLabel*>("lblVersion")->text(), "Version 6.0.0");
    EXPECT_EQ(about.findChild<QLabel*>("lblProductName")->text(), "Kelvo Zel VM880 Programmer");
}

TEST(ProgressWindowTest, EscapeRaisesTheCancelFlag)
{
    ConfigModel model;
    ProgressWindow progress(model);
    EXPECT_EQ(progress.windowTitle(), "Download From VM-880");
    EXPECT_NE(progress.Label("Decoding RTC Data"), nullptr);
    auto* cancel = progress.findChild<QPushButton*>("Cancel");
    ASSERT_NE(cancel, nullptr);
    EXPECT_EQ(cancel->text(), "&Escape");
    cancel->click();
    EXPECT_EQ(model.transfer.CancelDownload, kTrue);
}

TEST(StartSequence, SplashThenTheMainWindow)
{
    TempFolder home;
    ::setenv("VM880_HOME", home.path().c_str(), 1);
    Application program;
    program.Start();
    Splash* splash = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* s = qobject_cast<Splash*>(w))
            splash = s;
    ASSERT_NE(splash, nullptr);
    EXPECT_EQ(splash->findChild<QLabel*>("lblVersion")->text(), "Version 6.0.0");
    EXPECT_EQ(splash->findChild<QLabel*>("lblProductName")->text(), "Kelvo Zel");
    EXPECT_EQ(splash->timer()->interval(), 2000);
    EXPECT_TRUE(splash->timer()->isSingleShot());
    EXPECT_EQ(program.mainWindow(), nullptr);

    splash->timer()->start(0);
    QTest::qWait(50);
    ASSERT_NE(program.mainWindow(), nullptr);
    EXPECT_TRUE(program.mainWindow()->isVisible());
    EXPECT_EQ(program.model().ZelVersion, "6.00");
    for (QWidget* w : QApplication::topLevelWidgets())
        EXPECT_EQ(qobject_cast<Splash*>(w), nullptr);
    ::unsetenv("VM880_HOME");
}

} // namespace
} // namespace vm880::test
