// The editing cycle shared by every editor, driven through a small sample editor.

#include "fake_editor_services.h"
#include "editor_driver.h"
#include "sample_editor.h"
#include "scripted_prompts.h"

#include <QApplication>
#include <QTest>

#include <gtest/gtest.h>

namespace vm880::test {
namespace {

class EditorCycle : public ::testing::Test {
protected:
    EditorCycle()
    {
        model.ClearAllData();
        for (int p = 1; p <= 3; ++p) {
            model.HangTime(p) = std::to_string(10 * p);
            model.TOTReset(p) = "2";
            model.InActivityMacro(p) = "07";
            for (int t = 1; t <= 10; ++t)
                model.Delay1(p, t) = std::to_string(100 * p + t);
        }
        model.FanTime = "5";
        model.FanSelect = "0";
        model.APPrefix = "12";
        model.IDStartSelect = "0";
    }

    void Open(bool applyFailBox = true)
    {
        editor = std::make_unique<SampleEditor>(fakes.For(model), applyFailBox);
        editor->Load();
        ui = std::make_unique<EditorDriver>(*editor);
    }

    ConfigModel model;
    ScriptedPrompts prompts;
    FakeEditorServices fakes{prompts};
    std::unique_ptr<SampleEditor> editor;
    std::unique_ptr<EditorDriver> ui;
};

TEST_F(EditorCycle, LoadShowsTheModelInBlackWithNothingPending)
{
    model.giTimersUnapplied = 7;
    Open();
    EXPECT_EQ(model.giTimersUnapplied, -1);
    EXPECT_EQ(ui->Text("HangTimer", 2), "20");
    EXPECT_EQ(ui->Text("FanTimer"), "5");
    EXPECT_EQ(ui->Get<QComboBox>("TOTResetSet", 1)->currentText(), "After CT Seg 2");
    EXPECT_EQ(ui->Get<QComboBox>("InActivityMacroSet", 3)->currentText(), "7"); // "07" is item 7
    EXPECT_FALSE(ui->Get<QCheckBox>("FanSelect")->isChecked());
    EXPECT_TRUE(ui->Get<QRadioButton>("IDCOSSelect")->isChecked());
    EXPECT_EQ(ui->Text("Delay1Set", 3), "301");
    for (const char* name : {"HangTimer(1)", "FanTimer", "TOTResetSet(2)", "FanSelect", "IDPTTSelect"})
        EXPECT_FALSE(ui->Red(name)) << name;
    EXPECT_TRUE(prompts.prompts().empty());
}

TEST_F(EditorCycle, TypingMarksTheFieldRedAndPendingUntilApplied)
{
    Open();
    ui->Type("HangTimer", 2, "25");
    EXPECT_TRUE(ui->Red("HangTimer", 2));
    EXPECT_EQ(model.giTimersUnapplied, 1);
    EXPECT_EQ(model.HangTime(2), "20"); // the model waits for Apply

    // Typing the stored value again: black, but still pending.
    ui->Type("HangTimer", 2, "20");
    EXPECT_FALSE(ui->Red("HangTimer", 2));
    EXPECT_EQ(model.giTimersUnapplied, 1);

    ui->Type("FanTimer", "9");
    EXPECT_EQ(model.giTimersUnapplied, 2);
}

TEST_F(EditorCycle, NumberFieldsTakeDigitsOnly)
{
    Open();
    ui->Type("FanTimer", "1a-2 3");
    EXPECT_EQ(ui->Text("FanTimer"), "123");
    ui->Type("APPrefixSet", "a*#");
    EXPECT_EQ(ui->Text("APPrefixSet"), "a*#"); // text fields take anything
}

TEST_F(EditorCycle, LeavingAnEmptiedNumberFieldPutsZero)
{
    Open();
    ui->Type("FanTimer", "");
    EXPECT_TRUE(ui->Leave("FanTimer"));
    EXPECT_EQ(ui->Text("FanTimer"), "0");
    EXPECT_TRUE(ui->Red("FanTimer"));
    EXPECT_EQ(model.giTimersUnapplied, 2);
    EXPECT_TRUE(prompts.prompts().empty());
}

TEST_F(EditorCycle, LeavingAnInvalidFieldWarnsAndKeepsTheValue)
{
    Open();
    ui->Type("HangTimer", 3, "256");
    prompts.Answer(Answer::Ok, "Port 3: Hang Timer");
    EXPECT_FALSE(ui->Leave("HangTimer", 3));
    ASSERT_EQ(prompts.prompts().size(), 1u);
    EXPECT_EQ(prompts.prompts()[0].text, "Invalid Hang Timer, must be whole number between 0 and 255");
    EXPECT_EQ(prompts.prompts()[0].style, 48);
    EXPECT_EQ(ui->Text("HangTimer", 3), "256");
    EXPECT_TRUE(ui->Red("HangTimer", 3));
    EXPECT_EQ(model.HangTime(3), "30");

    // Leading zeros pass and are kept as typed.
    ui->Type("HangTimer", 3, "007");
    EXPECT_TRUE(ui->Leave("HangTimer", 3));
}

TEST_F(EditorCycle, ApplyCopiesChangesRaisesFlagsAndMarksTheFileUnsaved)
{
    Open();
    ui->Type("HangTimer", 2, "25");
    ui->Choose("TOTResetSet", 3, 4);
    ui->Choose("InActivityMacroSet", 1, 8); // item "9"
    ui->Click("FanSelect");
    ui->Click("IDPTTSelect");
    ui->Type("APPrefixSet", "1*");
    ui->Apply();

    EXPECT_EQ(model.HangTime(2), "25");
    EXPECT_EQ(model.TOTReset(3), "4");
    EXPECT_EQ(model.InActivityMacro(1), "09");
    EXPECT_EQ(model.FanSelect, "1");
    EXPECT_EQ(model.IDStartSelect, "1");
    EXPECT_EQ(model.APPrefix, "1*");
    EXPECT_EQ(model.HangTimeChanged(2), kTrue);
    EXPECT_EQ(model.HangTimeChanged(1), kFalse);
    EXPECT_EQ(model.TOTResetChanged(3), kTrue);
    EXPECT_EQ(model.InActivityMacroChanged(1), kTrue);
    EXPECT_EQ(model.FanSelectChanged, kTrue);
    EXPECT_EQ(model.IDStartSelectChanged, kTrue);
    EXPECT_EQ(model.APPrefixChanged, kTrue);
    EXPECT_EQ(model.FanTimeChanged, kFalse);
    EXPECT_EQ(model.TimersChanged, kTrue);
    EXPECT_EQ(model.SpecialCodesChanged, kTrue); // the field's own area flag
    EXPECT_EQ(model.DatFileSaved, kFalse);
    EXPECT_EQ(model.giTimersUnapplied, -1);
    EXPECT_EQ(editor->copies, 1);
    for (const char* name : {"HangTimer(2)", "TOTResetSet(3)", "FanSelect", "IDPTTSelect", "IDCOSSelect"})
        EXPECT_FALSE(ui->Red(name)) << name;
    EXPECT_TRUE(prompts.prompts().empty());
}

TEST_F(EditorCycle, ApplyWithoutDifferencesChangesNothingButThePendingState)
{
    Open();
    ui->Type("HangTimer", 1, "11");
    ui->Type("HangTimer", 1, "10");
    ui->Apply();
    EXPECT_EQ(model.DatFileSaved, kTrue);
    EXPECT_EQ(model.TimersChanged, kFalse);
    EXPECT_EQ(model.HangTimeChanged(1), kFalse);
    EXPECT_EQ(model.giTimersUnapplied, -1);
}

TEST_F(EditorCycle, ApplyRefusesAnInvalidPendingField)
{
    for (bool failBox : {true, false}) {
        SCOPED_TRACE(failBox);
        prompts = ScriptedPrompts();
        Open(failBox);
        ui->Type("FanTimer", "300");
        prompts.Answer(Answer::Ok, "Fan Timer");
        if (failBox)
            prompts.Answer(Answer::Ok, "APPLY FAIL");
        ui->Apply();
        EXPECT_EQ(prompts.pending(), 0u);
        if (failBox) {
            EXPECT_EQ(prompts.prompts().back().text, "Changes were NOT applied due to errors");
        }
        EXPECT_EQ(model.FanTime, "5");
        EXPECT_EQ(model.FanTimeChanged, kFalse);
        EXPECT_EQ(model.TimersChanged, kFalse);
        EXPECT_EQ(model.DatFileSaved, kTrue);
        EXPECT_EQ(model.giTimersUnapplied, 2);
        EXPECT_TRUE(ui->Red("FanTimer"));
    }
}

// A value refused when it was left, followed by an edit of another element or a click,
// once reached the model because Apply checked only the field edited last.
TEST_F(EditorCycle, ApplyChecksEveryChangedValueNotOnlyTheLastEdited)
{
    Open();
    editor->tabs()->setCurrentIndex(1); // Port 2
    ui->Type("HangTimer", 2, "999");
    prompts.Answer(Answer::Ok, "Port 2: Hang Timer");
    EXPECT_FALSE(ui->Leave("HangTimer", 2));

    editor->tabs()->setCurrentIndex(0); // Port 1: the pending field is now checked for port 1
    ui->Type("HangTimer", 1, "12");
    ui->Choose("TOTResetSet", 1, 0);     // and a click makes the pending state 0
    EXPECT_EQ(model.giTimersUnapplied, 0);

    prompts.Answer(Answer::Ok, "Port 2: Hang Timer").Answer(Answer::Ok, "APPLY FAIL");
    ui->Apply();
    EXPECT_EQ(prompts.pending(), 0u);
    EXPECT_EQ(model.HangTime(2), "20");
    EXPECT_EQ(model.HangTime(1), "10");
    EXPECT_EQ(model.TOTReset(1), "2");
    EXPECT_EQ(model.DatFileSaved, kTrue);
    EXPECT_EQ(editor->tabs()->currentIndex(), 1); // the refused field is brought forward
    EXPECT_NE(model.giTimersUnapplied, -1);

    ui->Type("HangTimer", 2, "99");
    ui->Apply();
    EXPECT_EQ(model.HangTime(2), "99");
    EXPECT_EQ(model.HangTime(1), "12");
    EXPECT_EQ(model.TOTReset(1), "0");
}

TEST_F(EditorCycle, ApplyChecksAnEmptiedFieldThatWasNeverLeft)
{
    Open();
    ui->Type("APPrefixSet", "");
    ui->Click("FanSelect");
    prompts.Answer(Answer::Ok, "Autopatch Prefix").Answer(Answer::Ok, "APPLY FAIL");
    ui->Apply();
    EXPECT_EQ(model.APPrefix, "12");
    EXPECT_EQ(model.FanSelect, "0");
}

TEST_F(EditorCycle, CancelChangesAsksAndReloadsOnlyOnYes)
{
    Open();
    ui->Type("HangTimer", 1, "44");
    ui->Click("FanSelect");
    model.DatFileSaved = kFalse;

    prompts.Answer(Answer::No, "TIMER CANCEL CHANGES");
    ui->CancelChanges();
    ASSERT_EQ(prompts.prompts().size(), 1u);
    EXPECT_EQ(prompts.prompts()[0].style, 36);
    EXPECT_EQ(prompts.prompts()[0].text,
              "This will cancel all Timer changes made since your last Timer 'Apply' or Timer "
              "'Cancel'\r\n\r\nYes to proceed, No to return to editing without cancelling");
    EXPECT_EQ(ui->Text("HangTimer", 1), "44");
    EXPECT_TRUE(ui->Red("HangTimer", 1));
    EXPECT_TRUE(ui->Red("FanSelect"));
    EXPECT_EQ(model.giTimersUnapplied, 0);

    prompts.Answer(Answer::Yes);
    ui->CancelChanges();
    EXPECT_EQ(ui->Text("HangTimer", 1), "10");
    EXPECT_FALSE(ui->Get<QCheckBox>("FanSelect")->isChecked());
    EXPECT_FALSE(ui->Red("HangTimer", 1));
    EXPECT_FALSE(ui->Red("FanSelect"));
    EXPECT_EQ(model.giTimersUnapplied, -1);
    EXPECT_EQ(model.HangTime(1), "10");
    EXPECT_EQ(model.DatFileSaved, kFalse); // Cancel Changes leaves the file state alone
}

TEST_F(EditorCycle, ChoicesSetPendingZeroAndColourAgainstTheModel)
{
    Open();
    ui->Type("HangTimer", 1, "11");
    ui->Choose("InActivityMacroSet", 2, 0);
    EXPECT_EQ(model.giTimersUnapplied, 0);
    EXPECT_TRUE(ui->Red("InActivityMacroSet", 2));
    ui->Choose("InActivityMacroSet", 2, 6); // "7", stored as "07"
    EXPECT_FALSE(ui->Red("InActivityMacroSet", 2));

    ui->Click("IDPTTSelect");
    EXPECT_TRUE(ui->Red("IDPTTSelect"));
    EXPECT_TRUE(ui->Red("IDCOSSelect"));
    ui->Click("IDCOSSelect");
    EXPECT_FALSE(ui->Red("IDPTTSelect"));
    EXPECT_FALSE(ui->Red("IDCOSSelect"));
    EXPECT_EQ(model.giTimersUnapplied, 0);
}

TEST_F(EditorCycle, UnknownStoredValuesShowTheFallback)
{
    model.IDStartSelect = "";
    model.FanSelect = "junk";
    Open();
    EXPECT_TRUE(ui->Get<QRadioButton>("IDCOSSelect")->isChecked());
    EXPECT_FALSE(ui->Get<QCheckBox>("FanSelect")->isChecked());
    EXPECT_FALSE(ui->Red("IDCOSSelect")); // shown, but the working copy still equals the model
    ui->Apply();
    EXPECT_EQ(model.IDStartSelect, "");
    EXPECT_EQ(model.DatFileSaved, kTrue);
}

TEST_F(EditorCycle, SlotsShowingOneElementOfMany)
{
    Open();
    editor->ChooseCT(2, 4);
    EXPECT_EQ(ui->Text("Delay1Set", 2), "204");
    ui->Type("Delay1Set", 2, "5");
    EXPECT_TRUE(ui->Red("Delay1Set", 2));
    EXPECT_EQ(model.giTimersUnapplied, 4);

    // Another courtesy tone: shown from the working copy, pending state unchanged.
    editor->ChooseCT(2, 5);
    EXPECT_EQ(ui->Text("Delay1Set", 2), "205");
    EXPECT_FALSE(ui->Red("Delay1Set", 2));
    EXPECT_EQ(model.giTimersUnapplied, 4);
    editor->ChooseCT(2, 4);
    EXPECT_EQ(ui->Text("Delay1Set", 2), "5");
    EXPECT_TRUE(ui->Red("Delay1Set", 2));

    ui->Apply();
    EXPECT_EQ(model.Delay1(2, 4), "5");
    EXPECT_EQ(model.CTSeg1Changed(2, 4), kTrue);
    EXPECT_EQ(model.CTSeg1Changed(2, 5), kFalse);
    EXPECT_EQ(model.CourtesyChanged, kTrue);
    EXPECT_EQ(model.TimersChanged, kFalse);
}

TEST_F(EditorCycle, ARefusedValueOutOfSightIsBroughtForward)
{
    Open();
    editor->ChooseCT(3, 2);
    ui->Type("Delay1Set", 3, "10001");
    editor->ChooseCT(3, 9);
    editor->tabs()->setCurrentIndex(3); // Global
    prompts.Answer(Answer::Ok, "WhichPort 3: Delay1").Answer(Answer::Ok, "APPLY FAIL");
    ui->Apply();
    EXPECT_EQ(prompts.pending(), 0u);
    EXPECT_EQ(editor->currentCT(3), 2);
    EXPECT_EQ(editor->tabs()->currentIndex(), 2);
    EXPECT_EQ(ui->Text("Delay1Set", 3), "10001");
    EXPECT_EQ(model.Delay1(3, 2), "302");
}

TEST_F(EditorCycle, DependentsFollowEveryChange)
{
    Open();
    const int afterLoad = editor->dependentUpdates;
    EXPECT_GE(afterLoad, 1);
    ui->Type("HangTimer", 1, "1");
    ui->Click("FanSelect");
    EXPECT_EQ(editor->dependentUpdates, afterLoad + 2);
}

// The check of a field also runs when the operator moves to another control of the editor,
// but not when the move goes to Apply (which checks by itself).
TEST_F(EditorCycle, LeavingAFieldByFocusRunsItsCheck)
{
    Open();
    editor->show();
    editor->activateWindow();
    if (!QTest::qWaitForWindowActive(editor.get()))
        GTEST_SKIP() << "the window system gives no focus";
    editor->tabs()->setCurrentIndex(3);
    QLineEdit* fan = ui->Get<QLineEdit>("FanTimer");
    fan->setFocus();
    ui->Type("FanTimer", "300");

    prompts.Answer(Answer::Ok, "Fan Timer");
    ui->Get<QLineEdit>("APPrefixSet")->setFocus(Qt::TabFocusReason);
    QTest::qWait(20);
    EXPECT_EQ(prompts.pending(), 0u);
    EXPECT_EQ(QApplication::focusWidget(), fan); // the focus went back

    editor->ApplyButton()->setFocus(Qt::MouseFocusReason);
    QTest::qWait(20);
    EXPECT_EQ(prompts.prompts().size(), 1u);
}

} // namespace
} // namespace vm880::test
