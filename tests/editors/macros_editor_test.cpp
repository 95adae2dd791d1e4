// The Macros editor: each box's refusals with their own wording and title, the byte limits at
// their edges, recall-code defaults, the function list and the row it serves, browsing
// without marking anything, and what a changes-only upload sends after each kind of change.

#include "editor_driver.h"
#include "editors/functions/macros_editor.h"
#include "fake_editor_services.h"
#include "link/command_catalogue.h"
#include "link/command_erase_macros.h"
#include "loaded_model.h"

#include <QApplication>
#include <QFocusEvent>
#include <QHelpEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>

#include <functional>

namespace vm880::test {
namespace {

using M = ConfigModel;

QString Repeat(const QString& code, int times)
{
    QStringList codes;
    for (int i = 0; i < times; ++i)
        codes << code;
    return codes.join(' ');
}

// The serial lines a changes-only upload would send now.
std::vector<std::string> ChangedLines(ConfigModel& model)
{
    std::vector<std::string> lines;
    for (const Step& step : UploadOrder(model))
        if (IsChosen(*step.item, model, step.ref))
            for (const SerialLine& line : SerialLines(*step.item, model, step.ref))
                lines.push_back(line.text);
    return lines;
}

class MacrosEditorTest : public ::testing::Test {
protected:
    MacrosEditorTest()
    {
        model.Macro(5) = "001 002";
        model.ShortMacro(3) = "256";
        model.PortToAllow(45) = "1";
        model.RcvMacroActive(2) = "7";
        model.MacrosChanged = kFalse;
        model.MacroPortsChanged = kFalse;
    }
    void Open()
    {
        editor = std::make_unique<MacrosEditor>(fakes.For(model));
        editor->Load();
        ui = std::make_unique<EditorDriver>(*editor);
    }
    void Focus(const std::string& name, int slot, bool in = true)
    {
        QFocusEvent event(in ? QEvent::FocusIn : QEvent::FocusOut, Qt::MouseFocusReason);
        QApplication::sendEvent(ui->Get(name, slot), &event);
    }
    // Double-clicks the function list row showing `code` (or row `row` when code is empty).
    void Pick(const QString& code, int row = -1)
    {
        QListWidget* list = ui->Get<QListWidget>("FunctionList");
        for (int i = 0; row < 0 && i < list->count(); ++i)
            if (list->item(i)->text().startsWith(code + " "))
                row = i;
        Focus("FunctionList", 0);
        emit list->itemDoubleClicked(list->item(row));
    }
    QString Counter() const { return ui->Get<QLabel>("CharCounter")->text(); }

    ConfigModel model = Defaults();
    ScriptedPrompts prompts;
    FakeEditorServices fakes{prompts};
    std::unique_ptr<MacrosEditor> editor;
    std::unique_ptr<EditorDriver> ui;
};

TEST_F(MacrosEditorTest, EachBoxRefusesWithItsOwnWordsAndTheControllersMacroNumber)
{
    const struct {
        const char* field;
        int slot;
        QString typed;
        const char* text;
        const char* title;
    } cases[] = {
        {"MacroSet", 5, "001 999", "Macro contains invalid macro functions", "Macro 5"},
        {"MacroSet", 6, "1", "Macro contains invalid macro functions", "Macro 6"},
        // An unknown code is refused before the bytes are counted.
        {"MacroSet", 7, Repeat("001", 16) + " 255", "Macro contains invalid macro functions", "Macro 7"},
        {"MacroSet", 1, Repeat("001", 16), "Macro contains more than 15 functions", "Macro 1"},
        {"MacroSet", 40, Repeat("256", 8), "Macro contains more than 15 functions", "Macro 40"},
        {"ShortMacroSet", 1, "256 257 001", "Macro contains more than 4 functions", "Macro 41"},
        {"ShortMacroSet", 2, "511 256", "Macro contains more than 4 functions", "Macro 42"},
        {"ShortMacroSet", 50, "001 510", "Macro contains invalid macro functions", "Macro 90"},
        {"MacroCodeSet", 3, "123456789", "Macro Code must be 1 to 8 DTMF characters", "Macro Code 3"},
        {"MacroCodeSet", 4, "12E", "Macro Code must be 1 to 8 DTMF characters", "Macro Code 4"},
        {"ShortMacroCodeSet", 2, "12 3", "Macro Code must be 1 to 8 characters DTMF characters",
         "Macro Code 42"},
    };
    Open();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed.toStdString());
        prompts = ScriptedPrompts();
        prompts.Answer(Answer::Ok, c.title);
        ui->Type(c.field, c.slot, c.typed);
        EXPECT_FALSE(ui->Leave(c.field, c.slot));
        ASSERT_EQ(prompts.prompts().size(), 1u);
        EXPECT_EQ(prompts.prompts()[0].text, c.text);
        EXPECT_EQ(prompts.prompts()[0].style, 48);
        EXPECT_TRUE(ui->Red(c.field, c.slot));
    }
    prompts = ScriptedPrompts();
    // The box edited last is checked first.
    prompts.Answer(Answer::Ok, "Macro Code 42").Answer(Answer::Ok, "APPLY FAIL");
    ui->Apply();
    EXPECT_EQ(model.Macro(5), "001 002");
    EXPECT_EQ(model.MacrosChanged, kFalse);
}

TEST_F(MacrosEditorTest, AcceptedValuesAtTheLimitsAndHowTheyAreStored)
{
    const struct {
        const char* field;
        int slot;
        QString typed;
        QString shown; // after leaving
        const char* counter;
    } cases[] = {
        {"MacroSet", 1, Repeat("001", 15), Repeat("001", 15), "15"},
        {"MacroSet", 2, Repeat("256", 7) + " 254", Repeat("256", 7) + " 254", "15"},
        {"MacroSet", 3, Repeat("509", 5), Repeat("509", 5), "10"},
        {"MacroSet", 4, "  001    002 ", "001 002", "2"},
        {"MacroSet", 5, "nOnE", "NONE STORED", "0"},
        {"MacroSet", 6, "", "NONE STORED", "0"},
        {"ShortMacroSet", 1, "256 509", "256 509", "4"},
        {"ShortMacroSet", 2, "791", "791", "4"},
        {"ShortMacroSet", 4, "001 002 003 004", "001 002 003 004", "4"},
        {"MacroCodeSet", 12, "", "471812", nullptr},
        {"ShortMacroCodeSet", 3, "", "471843", nullptr},
        {"MacroCodeSet", 9, "12345678", "12345678", nullptr},
        {"ShortMacroCodeSet", 5, " a*#d ", "A*#D", nullptr}, // shown and stored as checked
    };
    Open();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed.toStdString());
        Focus(c.field, c.slot);
        ui->Type(c.field, c.slot, c.typed);
        EXPECT_TRUE(ui->Leave(c.field, c.slot));
        EXPECT_EQ(ui->Text(c.field, c.slot), c.shown);
        if (c.counter) {
            EXPECT_EQ(Counter(), c.counter);
        }
    }
    EXPECT_TRUE(prompts.prompts().empty());
    ui->Apply();
    EXPECT_EQ(model.Macro(4), "001 002");
    EXPECT_EQ(model.Macro(5), "NONE STORED");
    EXPECT_EQ(model.MacroChanged(6), kFalse); // was empty, is empty
    EXPECT_EQ(model.MacroCode(12), "471812");
    EXPECT_EQ(model.ShortMacroCode(3), "471843");
    EXPECT_EQ(model.ShortMacroCode(5), "A*#D");
    EXPECT_EQ(model.MacrosChanged, kTrue);
    EXPECT_EQ(model.MacroPortsChanged, kFalse);
}

TEST_F(MacrosEditorTest, TheFunctionListServesTheMacroOfTheRowUsedLast)
{
    Open();
    QListWidget* list = ui->Get<QListWidget>("FunctionList");
    ASSERT_EQ(list->count(), 760);
    EXPECT_EQ(list->item(759)->text(), "791 Call Macro 90");

    Focus("MacroCodeSet", 5); // the recall code of row 5: functions go into macro 5
    EXPECT_EQ(Counter(), "2");
    ui->Get<QLineEdit>("MacroSet", 5)->setCursorPosition(7);
    Pick("256");
    EXPECT_EQ(ui->Text("MacroSet", 5), "001 002 256");
    EXPECT_EQ(Counter(), "4");
    Pick("", 6); // a separator row
    EXPECT_EQ(ui->Text("MacroSet", 5), "001 002 256");
    EXPECT_EQ(model.giMacrosUnapplied, 1);

    Focus("ShortMacroSet", 7); // "NONE STORED" is emptied and the code goes in alone
    EXPECT_EQ(ui->Text("ShortMacroSet", 7), "");
    Pick("791");
    EXPECT_EQ(ui->Text("ShortMacroSet", 7), "791 ");
    EXPECT_EQ(model.giMacrosUnapplied, 3);
    ui->Apply();
    EXPECT_EQ(model.Macro(5), "001 002 256");
    EXPECT_EQ(model.ShortMacro(7), "791");
}

TEST_F(MacrosEditorTest, ABadMacroLeftForTheListIsStillRefusedByApplyFromAnotherRow)
{
    Open();
    Focus("MacroSet", 5);
    ui->Type("MacroSet", 5, "001 999");
    Focus("MacroSet", 5, false);
    Focus("FunctionList", 0); // the list takes the focus without checking the box
    Focus("MacroCodeSet", 7);
    EXPECT_TRUE(prompts.prompts().empty());
    prompts.Answer(Answer::Ok, "Macro 5").Answer(Answer::Ok, "APPLY FAIL");
    ui->Apply();
    EXPECT_EQ(prompts.pending(), 0u);
    EXPECT_EQ(prompts.prompts()[0].text, "Macro contains invalid macro functions");
    EXPECT_EQ(model.Macro(5), "001 002");
    EXPECT_EQ(model.giMacrosUnapplied, 1);
    EXPECT_EQ(editor->Tabs()->currentIndex(), 0);
}

TEST_F(MacrosEditorTest, BrowsingMarksNothingAndARestrictionAloneRaisesOnlyItsFlags)
{
    Open();
    EXPECT_EQ(editor->CurrentMacroNum(), 1);
    EXPECT_EQ(ui->Get<QComboBox>("PortToAllow")->currentText(), "All Ports");
    ui->Type("MacroCodeSet", 2, "99");
    editor->MacroNum().Choose(45);
    editor->RcvPort().Choose(2);
    EXPECT_EQ(model.giMacrosUnapplied, 2);
    EXPECT_EQ(ui->Get<QComboBox>("PortToAllow")->currentText(), "Port 1");
    EXPECT_EQ(ui->Get<QComboBox>("RcvMacroActiveSet")->currentText(), "7");
    EXPECT_FALSE(ui->Red("PortToAllow"));
    ui->Apply();
    const ConfigModel before = model;

    editor->MacroNum().Choose(2);
    editor->MacroNum().Choose(45);
    editor->RcvPort().Choose(3);
    EXPECT_TRUE(ui->Leave("MacroCodeSet", 2)); // left as it was: nothing to apply
    EXPECT_EQ(model.giMacrosUnapplied, -1);
    ui->Choose("PortToAllow", 0, 4); // Ports 1 & 3
    EXPECT_EQ(model.giMacrosUnapplied, 0);
    EXPECT_TRUE(ui->Red("PortToAllow"));
    model.MacrosChanged = kFalse;
    ui->Apply();
    EXPECT_EQ(model.PortToAllow(45), "13");
    EXPECT_EQ(model.PortToAllowChanged(45), kTrue);
    EXPECT_EQ(model.MacroPortsChanged, kTrue);
    EXPECT_EQ(model.MacrosChanged, kFalse);
    for (int i = 1; i <= 90; ++i) {
        if (i != 45) {
            EXPECT_EQ(model.PortToAllowChanged(i), before.PortToAllowChanged(i)) << i;
        }
    }
    for (int p = 1; p <= 3; ++p) {
        EXPECT_EQ(model.RcvMacroActiveChanged(p), before.RcvMacroActiveChanged(p));
        EXPECT_EQ(model.RcvMacroInactiveChanged(p), before.RcvMacroInactiveChanged(p));
    }
}

TEST_F(MacrosEditorTest, TheToolTipDescribesTheMacroAsTyped)
{
    Open();
    const struct {
        QString typed;
        QString tip;
    } cases[] = {
        {"001 999", "Port 1 Carrier & Tone Access | ***ERROR***"},
        {"116 117", "Say Time | Say Date"},
        {"NONE STORED", ""},
        {"", ""},
    };
    for (const auto& c : cases) {
        ui->Type("MacroSet", 9, c.typed);
        QLineEdit* box = ui->Get<QLineEdit>("MacroSet", 9);
        QHelpEvent hover(QEvent::ToolTip, QPoint(2, 2), box->mapToGlobal(QPoint(2, 2)));
        QApplication::sendEvent(box, &hover);
        EXPECT_EQ(box->toolTip(), c.tip) << c.typed.toStdString();
    }
}

TEST_F(MacrosEditorTest, AnEraseTheControllerTookShowsTheErasedMacrosAndOneItRefusedKeepsTheEdits)
{
    Open();
    editor->MacroNum().Choose(45);
    editor->RcvPort().Choose(2);
    ui->Type("MacroCodeSet", 3, "77");
    fakes.link.failSend = {1};
    prompts.AcceptNotices().Answer(Answer::Yes, kEraseQuestionTitle);
    ui->Click("Erase");
    EXPECT_EQ(prompts.titles().back(), kEraseFailureTitle);
    EXPECT_EQ(model.Macro(5), "001 002");
    EXPECT_EQ(ui->Text("MacroCodeSet", 3), "77");
    EXPECT_EQ(model.giMacrosUnapplied, 2);
    {
        BusyState::Hold hold = fakes.busy.TryHold("upload");
        EXPECT_FALSE(ui->Get<QPushButton>("Erase")->isEnabled());
    }

    fakes.link.failSend.clear();
    prompts.Answer(Answer::Yes, kEraseQuestionTitle);
    EXPECT_EQ(editor->EraseAllMacros(), kDone);
    EXPECT_EQ(prompts.titles().back(), kEraseDoneTitle);
    EXPECT_EQ(ui->Text("MacroSet", 5), "NONE STORED");
    EXPECT_EQ(ui->Text("ShortMacroSet", 3), "NONE STORED");
    EXPECT_EQ(ui->Text("MacroCodeSet", 3), QString::fromStdString(model.MacroCode(3)));
    EXPECT_EQ(editor->CurrentMacroNum(), 1);
    EXPECT_EQ(editor->CurrentRcvPort(), 1);
    EXPECT_EQ(ui->Get<QComboBox>("PortToAllow")->currentText(), "All Ports");
    EXPECT_EQ(ui->Get<QComboBox>("RcvMacroActiveSet")->currentText(), "90");
    for (const char* name : {"MacroSet(5)", "MacroCodeSet(3)", "PortToAllow", "RcvMacroActiveSet"})
        EXPECT_FALSE(ui->Red(name)) << name;
    EXPECT_EQ(model.giMacrosUnapplied, -1);
}

TEST_F(MacrosEditorTest, EachChangeAppliedIsInTheNextUploadOfChanges)
{
    struct Change {
        const char* what;
        std::function<void(EditorDriver&, MacrosEditor&)> edit;
        std::string line;
    };
    const Change changes[] = {
        {"long macro", [](EditorDriver& ui, MacrosEditor&) { ui.Type("MacroSet", 12, "116 256"); },
         "1*400212116256"},
        {"long macro emptied", [](EditorDriver& ui, MacrosEditor&) { ui.Type("MacroSet", 5, "none"); },
         "1*400305"},
        {"recall code", [](EditorDriver& ui, MacrosEditor&) { ui.Type("MacroCodeSet", 40, "12#"); },
         "1*20504012#"},
        {"short macro", [](EditorDriver& ui, MacrosEditor&) { ui.Type("ShortMacroSet", 50, "001"); },
         "1*400290001"},
        {"short recall code",
         [](EditorDriver& ui, MacrosEditor&) { ui.Type("ShortMacroCodeSet", 1, "5"); }, "1*2050415"},
        {"port restriction",
         [](EditorDriver& ui, MacrosEditor& e) {
             e.MacroNum().Choose(90);
             ui.Choose("PortToAllow", 0, 5);
         },
         "1*40059023"},
        {"receiver active",
         [](EditorDriver& ui, MacrosEditor& e) {
             e.RcvPort().Choose(3);
             ui.Choose("RcvMacroActiveSet", 0, 10);
         },
         "3*2113111"},
        {"receiver inactive",
         [](EditorDriver& ui, MacrosEditor& e) {
             e.RcvPort().Choose(1);
             ui.Choose("RcvMacroInactiveSet", 0, 89);
         },
         "1*2113090"},
    };
    for (const Change& c : changes) {
        SCOPED_TRACE(c.what);
        model = Defaults();
        model.Macro(5) = "001";
        Open();
        c.edit(*ui, *editor);
        ui->Apply();
        const std::vector<std::string> lines = ChangedLines(model);
        std::string sent;
        for (const std::string& line : lines)
            sent += line + " ";
        EXPECT_NE(std::find(lines.begin(), lines.end(), c.line), lines.end()) << sent;
    }
}

} // namespace
} // namespace vm880::test
