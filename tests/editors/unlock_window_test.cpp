// The unlock window's controls over its rules: typing, colours, refused boxes, the buttons.

#include "editors/functions/unlock_window.h"

#include "model/config_model.h"
#include "model/key_access.h"
#include "fake_editor_services.h"
#include "scripted_prompts.h"
#include "temp_folder.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace vm880::test {
namespace {

bool Red(const QLineEdit* box)
{
    return box->palette().color(QPalette::Text) == QColor(Qt::red);
}

struct WindowRig {
    WindowRig()
    {
        model.DatFilePath = dir.file("codes.dat");
        for (int p = 1; p <= 3; ++p)
            model.CurrentPortUnlock(p) = std::to_string(p) + "7306";
        model.NewPortUnlock(2) = "2468";
        model.Lock = "#";
        model.Terminator = "D";
        owned = std::make_unique<UnlockWindow>(fakes.For(model));
    }
    void Click(const char* name) { window().findChild<QPushButton*>(QString::fromLatin1(name))->click(); }

    TempFolder dir;
    ConfigModel model;
    ScriptedPrompts prompts;
    FakeEditorServices fakes{prompts};
    std::unique_ptr<UnlockWindow> owned;
    UnlockWindow& window() { return *owned; }
};

TEST(UnlockWindow, ShowsTheCodesMarksNewOnesAndCommitsThroughItsButtons)
{
    WindowRig rig;
    UnlockWindow& w = rig.window();
    EXPECT_EQ(w.windowTitle(), "Unlock, Lock, and Terminator");
    EXPECT_EQ(w.CurrentBox(1)->text(), "17306");
    EXPECT_EQ(w.CurrentBox(kTerminatorBox)->text(), "D");
    // A new code saved for later shows red in its box from the start.
    EXPECT_EQ(w.NewBox(2)->text(), "2468");
    EXPECT_TRUE(Red(w.NewBox(2)));
    EXPECT_FALSE(Red(w.NewBox(1)));

    QTest::keyClicks(w.NewBox(1), " 12ab ");
    EXPECT_TRUE(Red(w.NewBox(1)));
    EXPECT_EQ(w.codes().NewCode(1), "12AB");
    EXPECT_EQ(w.codes().iUnapplied(), 1);
    w.NewBox(2)->selectAll();
    QTest::keyClick(w.NewBox(2), Qt::Key_Delete);
    EXPECT_FALSE(Red(w.NewBox(2)));

    // Close keeps the window while something is unapplied.
    w.show();
    rig.prompts.Answer(Answer::Ok, "Unapplied Changes");
    rig.Click("cmdClose");
    EXPECT_TRUE(w.isVisible());

    rig.Click("cmdRecord");
    EXPECT_EQ(w.CurrentBox(1)->text(), "12AB");
    EXPECT_EQ(w.NewBox(1)->text(), "");
    // The emptied box of port 2 recorded nothing: its saved new code shows again.
    EXPECT_EQ(w.NewBox(2)->text(), "2468");
    rig.Click("cmdClose");
    EXPECT_FALSE(w.isVisible());
    EXPECT_EQ(w.result(), QDialog::Accepted);
}

TEST(UnlockWindow, ARefusedBoxGetsTheFocusBack)
{
    WindowRig rig;
    UnlockWindow& w = rig.window();
    w.show();
    w.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    // Two boxes left in one pass of events (a held Tab key): the first is checked too.
    w.NewBox(1)->setFocus(Qt::OtherFocusReason);
    QTest::keyClicks(w.NewBox(1), "x");
    w.NewBox(2)->setFocus(Qt::TabFocusReason);
    w.NewBox(3)->setFocus(Qt::TabFocusReason);
    rig.prompts.Answer(Answer::Ok, "Unlock Code Port 1");
    QTest::qWait(20);
    EXPECT_EQ(rig.prompts.pending(), 0u);
    EXPECT_EQ(QApplication::focusWidget(), w.NewBox(1));

    QTest::keyClicks(w.NewBox(kLockBox), "12345");
    rig.prompts.Answer(Answer::Ok, "Lock Code");
    EXPECT_FALSE(w.LeaveBox(kLockBox));
    EXPECT_EQ(QApplication::focusWidget(), w.NewBox(kLockBox));
    EXPECT_EQ(rig.prompts.pending(), 0u);
}

// Leaving a box for a button checks it as leaving it for another box does: a refused box
// keeps the focus and the button does nothing. Record (which takes any text) and Cancel
// Changes (which drops it) do not check.
TEST(UnlockWindow, ABoxLeftForAButtonIsCheckedFirstExceptByRecordAndCancel)
{
    WindowRig rig;
    UnlockWindow& w = rig.window();
    w.show();
    w.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    QLineEdit* lock = w.NewBox(kLockBox);
    const auto button = [&w](const char* name) { return w.findChild<QPushButton*>(QString::fromLatin1(name)); };
    QTest::mouseClick(lock, Qt::LeftButton);
    ASSERT_EQ(QApplication::focusWidget(), lock);
    QTest::keyClicks(lock, "12345");

    rig.prompts.Answer(Answer::Ok, "Lock Code");
    QTest::mouseClick(button("cmdSave"), Qt::LeftButton);
    QTest::qWait(20);
    EXPECT_EQ(rig.prompts.pending(), 0u);
    EXPECT_EQ(rig.prompts.prompts().size(), 1u) << "one warning, not a second one from Save";
    EXPECT_EQ(QApplication::focusWidget(), lock);
    EXPECT_EQ(rig.model.NewLock, "") << "Save did not run";

    // By the keyboard too: Tab onto a button.
    rig.prompts.Answer(Answer::Ok, "Lock Code");
    button("cmdSend")->setFocus(Qt::TabFocusReason);
    QTest::qWait(20);
    EXPECT_EQ(rig.prompts.pending(), 0u);
    EXPECT_EQ(QApplication::focusWidget(), lock);

    // Cancel Changes is not held back by the code it would drop.
    rig.prompts.Answer(Answer::Yes, "CANCEL UPDATE");
    QTest::mouseClick(button("cmdCancel"), Qt::LeftButton);
    QTest::qWait(20);
    EXPECT_EQ(rig.prompts.pending(), 0u);
    EXPECT_EQ(lock->text(), "");

    QTest::mouseClick(lock, Qt::LeftButton);
    QTest::keyClicks(lock, "12345");
    QTest::mouseClick(button("cmdRecord"), Qt::LeftButton);
    QTest::qWait(20);
    EXPECT_EQ(rig.model.Lock, "12345");
    EXPECT_EQ(rig.prompts.prompts().size(), 3u);
}

} // namespace
} // namespace vm880::test
