// The framework's pieces for the editors that show one record at a time, take picked words,
// count them, warn, check across fields, and act on the controller; driven through the
// sample editor.

#include "editor_driver.h"
#include "fake_editor_services.h"
#include "sample_editor.h"
#include "scripted_prompts.h"

#include <QApplication>
#include <QFocusEvent>
#include <QLabel>
#include <QListWidget>

#include <gtest/gtest.h>

namespace vm880::test {
namespace {

class EditorPieces : public ::testing::Test {
protected:
    EditorPieces()
    {
        model.ClearAllData();
        for (int p = 1; p <= 3; ++p)
            model.HangTime(p) = "10";
        model.FanTime = "5";
        model.APPrefix = "12";
        model.MessageMacro(1) = "HELLO";
        model.MessageMacro(2) = "NONE STORED";
        model.MessageMacro(3) = "ONE TWO";
        for (int n = 1; n <= 40; ++n)
            model.MacroCode(n) = "4718" + std::to_string(n);
        model.RemoteBasePrefix = "0";
        model.MacroSubset = "0190";
    }

    void Open(FlagRule rule = FlagRule::ChangedByApply)
    {
        editor = std::make_unique<SampleEditor>(fakes.For(model), true, &ConfigModel::giTimersUnapplied, rule);
        editor->Load();
        ui = std::make_unique<EditorDriver>(*editor);
    }

    // The box gets (or loses) the focus as a click elsewhere gives it.
    void Focus(const std::string& name, bool in = true)
    {
        QFocusEvent event(in ? QEvent::FocusIn : QEvent::FocusOut, Qt::MouseFocusReason);
        QApplication::sendEvent(ui->Get(name), &event);
    }
    void DoubleClick(int row)
    {
        QListWidget* list = ui->Get<QListWidget>("VocabList");
        emit list->itemDoubleClicked(list->item(row));
    }
    QString Words() const { return ui->Get<QLabel>("WordCount")->text(); }

    ConfigModel model;
    ScriptedPrompts prompts;
    FakeEditorServices fakes{prompts};
    std::unique_ptr<SampleEditor> editor;
    std::unique_ptr<EditorDriver> ui;
};

TEST_F(EditorPieces, RecordTabsFollowThePageInFrontAndStartOnTheFirst)
{
    Open();
    EXPECT_EQ(editor->tabs()->currentIndex(), 0);
    EXPECT_EQ(editor->currentPort(), 1);
    const struct { int tab; int port; } steps[] = {{2, 3}, {3, 3}, {4, 3}, {1, 2}, {4, 2}};
    for (const auto& step : steps) {
        editor->tabs()->setCurrentIndex(step.tab);
        EXPECT_EQ(editor->currentPort(), step.port) << "tab " << step.tab;
    }
    EXPECT_EQ(model.giTimersUnapplied, -1);
}

TEST_F(EditorPieces, RecordSelectorShowsTheWorkingCopyOfItsRecordWithoutChangingThePendingState)
{
    Open();
    EXPECT_EQ(ui->Text("MessageMacroSet"), "HELLO");
    ui->Type("MessageMacroSet", 0, "hello one");
    EXPECT_EQ(model.giTimersUnapplied, 5);
    editor->messages().Choose(3);
    EXPECT_EQ(ui->Text("MessageMacroSet"), "ONE TWO");
    EXPECT_FALSE(ui->Red("MessageMacroSet"));
    EXPECT_EQ(model.giTimersUnapplied, 5);
    editor->messages().Choose(1);
    EXPECT_EQ(ui->Text("MessageMacroSet"), "HELLO ONE"); // the working value, as normalised
    EXPECT_TRUE(ui->Red("MessageMacroSet"));
    EXPECT_EQ(Words(), "Words: 2");
    editor->messages().Choose(3); // Apply checks the message last edited and copies it
    ui->Apply();
    EXPECT_EQ(model.MessageMacro(1), "HELLO ONE");
    EXPECT_EQ(model.MessageMacroChanged(1), kTrue);
    EXPECT_EQ(model.MessageMacroChanged(3), kFalse);
    EXPECT_EQ(model.MessageMacrosChanged, kTrue);
}

TEST_F(EditorPieces, ARefusedValueInAHiddenRecordSelectsItsRecord)
{
    Open();
    editor->macros().Choose(7);
    ui->Type("MacroCodeSet", 0, "12345678E");
    editor->macros().Choose(2);
    editor->tabs()->setCurrentIndex(1);
    prompts.Answer(Answer::Ok, "Macro Code 7").Answer(Answer::Ok, "APPLY FAIL");
    ui->Apply();
    EXPECT_EQ(prompts.pending(), 0u);
    EXPECT_EQ(prompts.prompts()[0].text, "Macro Code must be 1 to 8 DTMF characters");
    EXPECT_EQ(editor->macros().Value(), 7);
    EXPECT_EQ(ui->Text("MacroCodeSet"), "12345678E");
    EXPECT_EQ(model.MacroCode(7), "47187");
}

TEST_F(EditorPieces, PickListInsertsAtTheCaretOfTheLastFocusedBoxAndTheCounterFollows)
{
    Open();
    editor->messages().Choose(3);
    EXPECT_EQ(Words(), "Words: 2");
    Focus("MessageMacroSet");
    ui->Get<QLineEdit>("MessageMacroSet")->setCursorPosition(3); // after "ONE"
    Focus("MessageMacroSet", false);
    DoubleClick(0); // HELLO, blanks on both sides (squashed when the box is left)
    EXPECT_EQ(ui->Text("MessageMacroSet"), "ONE HELLO  TWO");
    EXPECT_EQ(Words(), "Words: 3");
    DoubleClick(2); // the separator
    DoubleClick(3); // "one (1)" inserts its word
    EXPECT_EQ(ui->Text("MessageMacroSet"), "ONE HELLO  ONE  TWO");
    EXPECT_EQ(model.giTimersUnapplied, 5);
    EXPECT_TRUE(ui->Red("MessageMacroSet"));
    EXPECT_TRUE(prompts.prompts().empty()); // the list never runs the check of the box
    ui->Apply();
    EXPECT_EQ(model.MessageMacro(3), "ONE HELLO ONE TWO");
}

TEST_F(EditorPieces, ABoxOfAnotherKindCanDirectThePickListAndAnActionCanReloadTheEditor)
{
    Open();
    Focus("MacroCodeSet");
    DoubleClick(1);
    EXPECT_EQ(ui->Text("MessageMacroSet"), "HELLO ZERO");
    EXPECT_EQ(Words(), "Words: 2");
    EXPECT_EQ(model.giTimersUnapplied, 5);

    model.MessageMacro(1) = "ONE";
    editor->ModelChangedElsewhere();
    EXPECT_EQ(ui->Text("MessageMacroSet"), "ONE");
    EXPECT_FALSE(ui->Red("MessageMacroSet"));
    EXPECT_EQ(model.giTimersUnapplied, -1);
}

TEST_F(EditorPieces, NoneStoredIsEmptiedOnFocusAndShownAgainWhenLeftEmpty)
{
    Open();
    editor->messages().Choose(2);
    Focus("MessageMacroSet");
    EXPECT_EQ(ui->Text("MessageMacroSet"), "");
    EXPECT_EQ(editor->focusedMessage, 2);
    EXPECT_EQ(model.giTimersUnapplied, -1);
    EXPECT_EQ(Words(), "Words: 0");
    DoubleClick(1); // ZERO goes into the empty box, not after "NONE STORED"
    EXPECT_EQ(ui->Text("MessageMacroSet"), "ZERO ");
    ui->Type("MessageMacroSet", 0, "");
    EXPECT_TRUE(ui->Leave("MessageMacroSet"));
    EXPECT_EQ(ui->Text("MessageMacroSet"), "NONE STORED");

    editor->messages().Choose(1);
    Focus("MessageMacroSet");
    EXPECT_EQ(ui->Text("MessageMacroSet"), "HELLO");
    editor->messages().Choose(2);
    Focus("MessageMacroSet");
    Focus("MessageMacroSet", false);
    EXPECT_EQ(ui->Text("MessageMacroSet"), "NONE STORED");
    EXPECT_FALSE(ui->Red("MessageMacroSet"));
}

TEST_F(EditorPieces, AWarningKeepsTheValueAndApplyGoesOn)
{
    Open();
    ui->Type("MessageMacroSet", 0, "one two three four five six seven");
    prompts.Answer(Answer::Ok, "Message Length");
    EXPECT_TRUE(ui->Leave("MessageMacroSet"));
    EXPECT_EQ(prompts.prompts()[0].text, "A long message");
    ui->Apply(); // the value warned about is not warned about again
    EXPECT_EQ(prompts.pending(), 0u);
    EXPECT_EQ(model.MessageMacro(1), "ONE TWO THREE FOUR FIVE SIX SEVEN");
    EXPECT_EQ(model.giTimersUnapplied, -1);

    // A check may warn and still refuse.
    ui->Type("MessageMacroSet", 0, "zero dvr20");
    prompts.Answer(Answer::Ok, "Message Macro 1").Answer(Answer::Ok, "Message Macro 1");
    EXPECT_FALSE(ui->Leave("MessageMacroSet"));
    EXPECT_EQ(prompts.pending(), 0u);
    EXPECT_EQ(prompts.prompts().back().text, "Invalid message");
}

TEST_F(EditorPieces, CodeFieldsWithComputedEmptyValuesAndShownTexts)
{
    Open();
    editor->macros().Choose(12);
    EXPECT_EQ(ui->Text("RemoteBasePrefixSet"), "No Prefix");
    const struct {
        const char* field;
        QString typed;
        QString shown;  // after leaving
        const char* refusal;
    } cases[] = {
        {"MacroCodeSet", "", "471812", nullptr},
        {"MacroCodeSet", " 12a* ", " 12a* ", nullptr},
        {"MacroCodeSet", "12E", "12E", "Macro Code must be 1 to 8 DTMF characters"},
        {"RemoteBasePrefixSet", "", "No Prefix", nullptr},
        {"RemoteBasePrefixSet", "No Prefix", "No Prefix", nullptr},
        {"RemoteBasePrefixSet", "123456", "123456",
         "Remote Base Prefix invalid, must be between 1 and 5 DTMF characters"},
        {"RemoteBasePrefixSet", "#d", "#d", nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed.toStdString());
        prompts = ScriptedPrompts();
        if (c.refusal)
            prompts.Answer(Answer::Ok);
        ui->Type(c.field, 0, c.typed);
        EXPECT_EQ(ui->Leave(c.field), c.refusal == nullptr);
        EXPECT_EQ(ui->Text(c.field), c.shown);
        if (c.refusal) {
            EXPECT_EQ(prompts.prompts().at(0).text, c.refusal);
        }
    }
    ui->Type("MacroCodeSet", 0, "");
    ui->Leave("MacroCodeSet");
    ui->Apply();
    EXPECT_EQ(model.MacroCode(12), "471812");
    EXPECT_EQ(model.MacroCodeChanged(12), kFalse); // the same code as before
    EXPECT_EQ(model.RemoteBasePrefix, "#D");        // upper case
    ui->Type("RemoteBasePrefixSet", 0, "No Prefix");
    ui->Apply();
    EXPECT_EQ(model.RemoteBasePrefix, "0");
}

TEST_F(EditorPieces, OneSettingInTwoListsAndARuleAcrossThemBeforeTheCopy)
{
    Open();
    ui->Choose("SubsetStart", 0, 49); // 50
    ui->Choose("SubsetEnd", 0, 9);    // 10
    EXPECT_TRUE(ui->Red("SubsetStart"));
    prompts.Answer(Answer::Ok, "Macro Subset");
    ui->Apply();
    EXPECT_EQ(prompts.pending(), 0u);
    EXPECT_EQ(prompts.prompts().size(), 1u); // its own box, no "APPLY FAIL"
    EXPECT_EQ(model.MacroSubset, "0190");
    EXPECT_EQ(model.giTimersUnapplied, 0);

    ui->Choose("SubsetEnd", 0, 89); // 90: only the start differs
    ui->Apply();
    EXPECT_EQ(model.MacroSubset, "5090");
    EXPECT_EQ(model.MacroSubsetRangeChanged, kTrue);
    EXPECT_EQ(model.SpecialCodesChanged, kTrue);
    ui->Choose("SubsetEnd", 0, 49);
    ui->Apply();
    EXPECT_EQ(model.MacroSubset, "5050"); // start equal to end is accepted
}

TEST_F(EditorPieces, TheStandingFlagsRuleLooksAtTheFlagsAfterTheCopy)
{
    const struct {
        FlagRule rule;
        bool hangFlagStands;   // applied earlier, not uploaded
        bool idStartStands;    // a field that does not count for the rule
        bool areaRaised;
    } cases[] = {
        {FlagRule::ChangedByApply, true, false, false},
        {FlagRule::Standing, true, false, true},
        {FlagRule::Standing, false, true, false},
        {FlagRule::Standing, false, false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.rule) * 100 + c.hangFlagStands * 10 + c.idStartStands);
        model.HangTimeChanged(2) = c.hangFlagStands ? kTrue : kFalse;
        model.IDStartSelectChanged = c.idStartStands ? kTrue : kFalse;
        model.TimersChanged = kFalse;
        model.DatFileSaved = kTrue;
        Open(c.rule);
        ui->Apply(); // nothing changed
        EXPECT_EQ(model.TimersChanged, c.areaRaised ? kTrue : kFalse);
        EXPECT_EQ(model.DatFileSaved, c.areaRaised ? kFalse : kTrue);
    }
}

TEST_F(EditorPieces, WhileTheControllerIsBusyApplyAndCancelAreRefusedAndItsControlsDisabled)
{
    Open();
    QWidget* send = ui->Get("SendNow");
    EXPECT_TRUE(send->isEnabled());
    ui->Type("FanTimer", "9");
    {
        BusyState::Hold hold = fakes.busy.TryHold("Upload");
        EXPECT_FALSE(send->isEnabled());
        prompts.Answer(Answer::Ok, kBusyTitle).Answer(Answer::Ok, kBusyTitle);
        EXPECT_EQ(editor->DoApply(), kFailed);
        ui->CancelChanges();
        EXPECT_EQ(prompts.pending(), 0u);
        EXPECT_EQ(model.FanTime, "5");
        EXPECT_EQ(ui->Text("FanTimer"), "9");
        EXPECT_EQ(model.giTimersUnapplied, 2);
    }
    EXPECT_TRUE(send->isEnabled());
    ui->Apply();
    EXPECT_EQ(model.FanTime, "9");

    editor.reset(); // a closed editor no longer listens
    BusyState::Hold hold = fakes.busy.TryHold("Download");
    EXPECT_TRUE(hold.held());
}

TEST_F(EditorPieces, PickListRowsFromACodeTableKeepItsSeparatorsAndSkipEmptyEntries)
{
    Open();
    static constexpr CodeRow kRows[] = {{"TWO", "002"}, {"--", "-1"}, {"", ""}, {"THREE", "003"}};
    QListWidget* list = editor->vocabulary().List();
    const int before = list->count();
    editor->vocabulary().AddRows(kRows);
    ASSERT_EQ(list->count(), before + 3);
    Focus("MessageMacroSet");
    DoubleClick(before + 1); // the separator
    DoubleClick(before + 2);
    EXPECT_EQ(ui->Text("MessageMacroSet"), "HELLO THREE");
}

TEST_F(EditorPieces, AFieldThatRaisesNoAreaFlagStillMarksTheFileUnsaved)
{
    model.AllowTerminatorSpeech = "0";
    model.DatFileSaved = kTrue;
    Open(FlagRule::Standing);
    ui->Click("TerminatorSpeech");
    ui->Apply();
    EXPECT_EQ(model.AllowTerminatorSpeech, "1");
    EXPECT_EQ(model.AllowTerminatorSpeechChanged, kTrue);
    EXPECT_EQ(model.TimersChanged, kFalse); // the editor's area stays down
    EXPECT_EQ(model.DatFileSaved, kFalse);
}

} // namespace
} // namespace vm880::test

namespace vm880::test {
namespace {

// A value shown as another text that still has to pass the check: an empty box standing for
// "NONE", which only some elements may hold.
class ShownButCheckedEditor : public EditorBase {
public:
    explicit ShownButCheckedEditor(EditorServices services) : EditorBase(services, DeclFor(8))
    {
        AddText({.number = 1,
                 .name = "CTCSS",
                 .bind = Bind(&ConfigModel::CTCSS, &ConfigModel::RemoteBaseMemoriesChanged),
                 .check = [](FieldCheck& c) -> std::optional<Refusal> {
                     if (c.Value() == "NONE" && c.element() <= 10)
                         return Refusal{"required"};
                     return std::nullopt;
                 },
                 .shown = {{"NONE", QString(), true}}});
        SetBody(new QWidget);
    }
};

TEST(EditorShownValues, AShownValueMarkedCheckedGoesThroughTheCheck)
{
    ConfigModel model;
    model.CTCSS(3) = model.CTCSS(11) = "10";
    ScriptedPrompts prompts;
    FakeEditorServices fakes{prompts};
    ShownButCheckedEditor editor(fakes.For(model));
    editor.Load();
    EditorDriver ui(editor);
    for (int element : {3, 11}) {
        ui.Type("CTCSS", element, "");
        if (element <= 10)
            prompts.Answer(Answer::Ok);
        EXPECT_EQ(ui.Leave("CTCSS", element), element > 10);
    }
    EXPECT_EQ(prompts.pending(), 0u);
}

} // namespace
} // namespace vm880::test
