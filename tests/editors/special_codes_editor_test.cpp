// The Special Codes editor over a model loaded from an empty settings file: each field's
// refusal, the "NONE" codes, the autodial browser, the toll list, the macro subset and what
// an Apply hands to the upload.

#include "changed_upload.h"
#include "editor_driver.h"
#include "editors/functions/special_codes_editor.h"
#include "editors/setting_text.h"
#include "fake_editor_services.h"
#include "loaded_model.h"
#include "refusal_sweep.h"

#include <QApplication>
#include <QClipboard>
#include <QListWidget>

#include <algorithm>
#include <functional>

namespace vm880::test {
namespace {

using M = ConfigModel;

class SpecialCodesEditorTest : public ::testing::Test {
protected:
    void Open()
    {
        editor = std::make_unique<SpecialCodesEditor>(fakes.For(model));
        editor->Load();
        ui = std::make_unique<EditorDriver>(*editor);
    }
    int Pending() const { return model.giSpecialCodesUnapplied; }
    QListWidget* TollList() const { return ui->Get<QListWidget>("TollRestrictList"); }
    void AddToll(const QString& number)
    {
        ui->Type("TollRestrictSet", number);
        editor->AddTollRestriction();
    }
    ConfigModel model = Defaults();
    ScriptedPrompts prompts;
    FakeEditorServices fakes{prompts};
    std::unique_ptr<SpecialCodesEditor> editor;
    std::unique_ptr<EditorDriver> ui;
};

const Bounds kBounds[] = {
    {"DTMFRegenPrefixSet", 4, "*#ABCD", "1234567", "User DTMF Prefix",
     "User DTMF Regenerate: User DTMF Prefix invalid.  Must be between 1 and 6 DTMF characters"},
    {"APPrefixSet", 5, "12345678", "123456789", "Autopatch Prefix",
     "Autopatch: Prefix invalid.  Must be between 1 and 8 DTMF characters"},
    {"AnswerCodeSet", 6, "1234567890ABCD#", "1234567890ABCD#*", "Answer Code",
     "Autopatch: Answer Code invalid.  Must be between 1 and 15 DTMF characters"},
    {"RingNumberSet", 7, "8", "9", "Ring Numbers",
     "Autopatch: Number Of Rings To Answer invalid.  Must be between 1 and 8"},
    {"RingNumberSet", 7, "1", "", "Ring Numbers", // an emptied box stays empty
     "Autopatch: Number Of Rings To Answer invalid.  Must be between 1 and 8"},
    {"APTimeOutSet", 8, "32767", "32768", "AP Timeout", "Autopatch: Timeout invalid.  Must be between 1 and 32767"},
    {"APTimeOutSet", 8, "1", "0", "AP Timeout", "Autopatch: Timeout invalid.  Must be between 1 and 32767"},
    {"DTMFTestPrefixSet", 9, "12345", "123456", "DTMF Pad Test",
     "DTMF Pad Test: Prefix invalid.  Must be between 1 and 5 DTMF characters"},
    {"PreAccessSet", 10, "123", "none", "Pre Access Code",
     "Pre Access Code invalid.  Must be between 1 and 3 DTMF characters"},
    {"PreProgramSet", 11, "1234", "12345", "Pre Program Prefix",
     "Pre Program Prefix invalid.  Must be between 1 and 4 DTMF characters"},
    {"AutoDialNumberSet", 0, "1234567890ABCD#", "555-1212", "AutoDial Slot 1",
     "AutoDial Slot 1: Phone Number invalid.  Must be DTMF characters (0-9, *, #, A-D) only, or empty for no "
     "number"},
    {"AutoDialNumberSet", 0, "123456789012345678901234", "1234567890123456E", "AutoDial Slot 1",
     "AutoDial Slot 1: Phone Number invalid.  Must be DTMF characters (0-9, *, #, A-D) only, or empty for no "
     "number"},
};

TEST_F(SpecialCodesEditorTest, EveryTextFieldRefusesWithItsOwnWarning)
{
    Open();
    std::vector<std::string> declared, golden{"TollRestrict"};
    for (const Field* field : editor->DeclaredFields())
        if (field->kind() == FieldKind::Text)
            declared.push_back(field->name());
    for (const Bounds& b : kBounds)
        if (std::find(golden.begin(), golden.end(), b.name) == golden.end())
            golden.push_back(b.name);
    std::sort(declared.begin(), declared.end());
    std::sort(golden.begin(), golden.end());
    EXPECT_EQ(declared, golden);

    SweepRefusals(*ui, prompts, [this] { return Pending(); }, kBounds);
}

TEST_F(SpecialCodesEditorTest, NoCodeIsStoredAsZeroAndShownAsNone)
{
    model.PreProgramPrefix = "12";
    Open();
    EXPECT_EQ(ui->Text("PreAccessSet"), "NONE");
    EXPECT_EQ(ui->Text("PreProgramSet"), "12");

    struct Case {
        const char* typed;
        const char* stored;
    };
    for (const Case& c : {Case{"NONE", "0"}, Case{"", "0"}, Case{" 1a ", "1A"}, Case{"0", "0"}}) {
        SCOPED_TRACE(c.typed);
        model.PreProgramPrefix = "12";
        ui->Type("PreProgramSet", c.typed);
        EXPECT_TRUE(ui->Leave("PreProgramSet"));
        ui->Apply();
        EXPECT_EQ(model.PreProgramPrefix, c.stored);
        EXPECT_EQ(ui->Text("PreProgramSet"), c.stored == Text("0") ? "NONE" : c.stored);
        EXPECT_EQ(Pending(), -1);
    }
    // Applying another change leaves the shown "NONE" stored as "0".
    ui->Type("APPrefixSet", "B7");
    ui->Apply();
    EXPECT_EQ(model.PreAccessPrefix, "0");
    EXPECT_EQ(model.PreProgramPrefix, "0");
    EXPECT_EQ(model.PreAccessPrefixChanged, kFalse);
}

TEST_F(SpecialCodesEditorTest, BrowsingAutodialSlotsShowsThemWithoutMarkingPending)
{
    model.AutoDial(2) = "5551212";
    model.AutoDial(200) = "911";
    // As a download or a file left them: longer than any code, or not DTMF keys at all.
    model.AutoDial(3) = "1234567890123456";
    model.AutoDial(4) = "123456789012345678901234";
    model.AutoDial(5) = "555-1212";
    Open();
    for (int slot : {2, 3, 4, 5, 200, 1, 2}) {
        editor->AutoDialSlots().Choose(slot);
        EXPECT_EQ(ui->Text("AutoDialNumberSet"), FromSetting(model.AutoDial(slot)));
        EXPECT_EQ(ui->Get<QLineEdit>("AutoDialNumberSet")->cursorPosition(), 0); // its first digit in view
        EXPECT_TRUE(ui->Leave("AutoDialNumberSet")); // kept as it is
        EXPECT_EQ(Pending(), -1) << slot;
    }
    ui->Type("AutoDialNumberSet", "5551213");
    EXPECT_EQ(Pending(), 0);
    editor->AutoDialSlots().Choose(5);
    EXPECT_FALSE(ui->Red("AutoDialNumberSet"));
    ui->Type("AutoDialNumberSet", "");
    EXPECT_TRUE(ui->Leave("AutoDialNumberSet")); // emptied: no number
    editor->AutoDialSlots().Choose(2);
    EXPECT_TRUE(ui->Red("AutoDialNumberSet"));
    ui->Apply();
    EXPECT_EQ(model.AutoDial(2), "5551213");
    EXPECT_EQ(model.AutoDialChanged(2), kTrue);
    EXPECT_EQ(model.AutoDialChanged(200), kFalse);
    EXPECT_EQ(model.AutoDial(5), "");
}

TEST_F(SpecialCodesEditorTest, TheTollListHoldsAHundredAndReusesAFreedSlot)
{
    for (int i = 1; i <= 99; ++i)
        model.TollRestrict(i) = std::to_string(9000 + i);
    model.TollRestrict(5) = "123456789012345678901234"; // kept as the file has it
    Open();
    ASSERT_EQ(TollList()->count(), 99);
    EXPECT_EQ(TollList()->item(6)->text(), "007 | 9007");
    AddToll("1900");
    EXPECT_EQ(TollList()->count(), 100);
    EXPECT_EQ(ui->Text("TollRestrictSet"), "");
    EXPECT_EQ(Pending(), 0);

    prompts.Answer(Answer::Ok, "Toll Restrict");
    AddToll("1976");
    EXPECT_EQ(prompts.prompts().back().text,
              "You have used all 100 of your Toll Restrictions (Blacklist).  You cannot enter additional "
              "restrictions until you delete one or more existing restrictions\r\n\r\nToll restriction was NOT added");
    EXPECT_EQ(ui->Text("TollRestrictSet"), "1976"); // kept

    TollList()->setCurrentRow(36); // slot 37
    editor->DeleteTollRestriction();
    editor->AddTollRestriction();
    ui->Apply();
    EXPECT_EQ(model.TollRestrict(37), "1976");
    EXPECT_EQ(model.TollRestrict(100), "1900");
    EXPECT_EQ(model.TollRestrictChanged(37), kTrue);
    EXPECT_EQ(model.TollRestrictChanged(36), kFalse);
    EXPECT_EQ(model.TollRestrictChanged(5), kFalse);
    EXPECT_EQ(model.SpecialCodesChanged, kTrue);
    EXPECT_EQ(TollList()->item(36)->text(), "037 | 1976");

    TollList()->clearSelection();
    prompts.Answer(Answer::Ok, "Toll Restrict");
    editor->DeleteTollRestriction();
    EXPECT_EQ(prompts.prompts().back().text, "Nothing was selected for delete");
    EXPECT_EQ(prompts.pending(), 0u);
}

TEST_F(SpecialCodesEditorTest, TheTollBoxTakesOnlyDialledNumbers)
{
    Open();
    ui->Type("TollRestrictSet", "12|34");
    EXPECT_EQ(ui->Text("TollRestrictSet"), "1234");
    QApplication::clipboard()->setText("5|6");
    ui->Get<QLineEdit>("TollRestrictSet")->paste();
    EXPECT_EQ(ui->Text("TollRestrictSet"), "123456");
    const auto beeps = std::count_if(prompts.prompts().begin(), prompts.prompts().end(),
                                     [](const RecordedPrompt& p) { return p.kind == RecordedPrompt::Beep; });
    EXPECT_EQ(beeps, 2);

    for (const char* bad : {"555-1212", "1234567890123456E", "12\n34", "12\x01" "34"}) {
        prompts.Answer(Answer::Ok, "Toll Restrict");
        ui->Get<QLineEdit>("TollRestrictSet")->setText(bad);
        editor->AddTollRestriction();
        EXPECT_EQ(prompts.prompts().back().text,
                  "Toll Restrict Slot 1: Phone Number invalid.  Must be DTMF characters (0-9, *, #, A-D) only"
                  "\r\n\r\nToll restriction was NOT added")
            << bad;
        EXPECT_EQ(TollList()->count(), 0);
    }
    AddToll(" 1a* ");
    EXPECT_EQ(TollList()->item(0)->text(), "001 | 1A*");
    EXPECT_EQ(prompts.pending(), 0u);
}

TEST_F(SpecialCodesEditorTest, AnInvalidMacroSubsetStopsApplyAndStaysPending)
{
    Open();
    ui->Choose("cboMacroSubsetStart", 0, 49);
    ui->Choose("cboMacroSubsetEnd", 0, 9);
    ui->Type("APPrefixSet", "B7");
    prompts.Answer(Answer::Ok, "Macro Subset");
    ui->Apply();
    EXPECT_EQ(prompts.prompts().back().text,
              "Start and End must be valid macro numbers and Start must be less than or equal to End");
    EXPECT_EQ(Pending(), 5);
    EXPECT_EQ(model.MacroSubset, "0190");
    EXPECT_EQ(model.APPrefix, "A1");
    EXPECT_EQ(model.DatFileSaved, kTrue);

    ui->Choose("cboMacroSubsetEnd", 0, 49); // start equal to end
    ui->Apply();
    EXPECT_EQ(model.MacroSubset, "5050");
    EXPECT_EQ(model.MacroSubsetRangeChanged, kTrue);
    EXPECT_EQ(Pending(), -1);
    EXPECT_EQ(prompts.pending(), 0u);
}

struct Change {
    const char* what;
    std::function<void(EditorDriver&, SpecialCodesEditor&)> act;
    const char* line; // what the upload of changes now sends
    bool area;        // raises SpecialCodesChanged
};

void Type(EditorDriver& ui, const char* name, const char* text) { ui.Type(name, text); }

const Change kChanges[] = {
    {"regeneration prefix", [](auto& ui, auto&) { Type(ui, "DTMFRegenPrefixSet", "1234"); }, "1*21041234", false},
    {"regeneration port", [](auto& ui, auto&) { ui.Choose("DTMFPortSet", 0, 7); }, "1*211799", false},
    {"regeneration macro", [](auto& ui, auto&) { ui.Choose("DTMFSpeechSet", 0, 5); }, "1*211805", false},
    {"autopatch prefix", [](auto& ui, auto&) { Type(ui, "APPrefixSet", "b2"); }, "1*2061B2", false},
    {"answer code", [](auto& ui, auto&) { Type(ui, "AnswerCodeSet", "1234567890ABCD#"); },
     "1*20631234567890ABCD#", false},
    {"rings", [](auto& ui, auto&) { Type(ui, "RingNumberSet", "4"); }, "1*10254", false},
    {"time-out", [](auto& ui, auto&) { Type(ui, "APTimeOutSet", "300"); }, "1*1024300", false},
    {"patch ports", [](auto& ui, auto&) { ui.Choose("EnablePatchSet", 0, 7); }, "1*21160", false},
    {"patch muting", [](auto& ui, auto&) { ui.Click("PatchMuteSet"); }, "12700", false},
    {"autodial", [](auto& ui, SpecialCodesEditor& e) { e.AutoDialSlots().Choose(7); Type(ui, "AutoDialNumberSet", "5551212"); },
     "1*21150075551212", true},
    {"long autodial", [](auto& ui, SpecialCodesEditor& e) { e.AutoDialSlots().Choose(8); Type(ui, "AutoDialNumberSet", "123456789012345678901234"); },
     "1*2115008123456789012345678901234", true},
    {"toll restriction", [](auto& ui, SpecialCodesEditor& e) { Type(ui, "TollRestrictSet", "900"); e.AddTollRestriction(); },
     "1*2062001900", true},
    {"long toll restriction", [](auto& ui, SpecialCodesEditor& e) { Type(ui, "TollRestrictSet", "1234567890123456"); e.AddTollRestriction(); },
     "1*20620011234567890123456", true},
    {"pad test", [](auto& ui, auto&) { Type(ui, "DTMFTestPrefixSet", "12"); }, "1*209312", false},
    {"pre-access", [](auto& ui, auto&) { Type(ui, "PreAccessSet", "12"); }, "1*210812", false},
    {"pre-command", [](auto& ui, auto&) { Type(ui, "PreProgramSet", "34"); }, "1*210934", false},
    {"subset start", [](auto& ui, auto&) { ui.Choose("cboMacroSubsetStart", 0, 4); }, "1*40090590", false},
    {"subset end", [](auto& ui, auto&) { ui.Choose("cboMacroSubsetEnd", 0, 79); }, "1*40090180", false},
    {"subset enable", [](auto& ui, auto&) { ui.Click("MacroSubsetEnable"); }, "12801", false},
    {"mute digit", [](auto& ui, auto&) { ui.Click("SecondDigitSet"); }, "1*20902", false},
};

TEST_F(SpecialCodesEditorTest, EveryAppliedChangeReachesTheUploadOfChanges)
{
    for (const Change& c : kChanges) {
        SCOPED_TRACE(c.what);
        model = Defaults();
        model.DTMFRegenChanged = kFalse; // raised by the reader, which filled in a missing prefix
        prompts = ScriptedPrompts();
        Open();
        ASSERT_FALSE(Sends(model, c.line));
        const std::size_t before = ChangedUploadLines(model).size();
        c.act(*ui, *editor);
        ui->Apply();
        EXPECT_TRUE(Sends(model, c.line));
        // The three regeneration settings go out together.
        const bool regen = std::string(c.what).starts_with("regeneration");
        EXPECT_EQ(ChangedUploadLines(model).size(), before + (regen ? 3u : 1u));
        EXPECT_EQ(model.SpecialCodesChanged, c.area ? kTrue : kFalse);
        EXPECT_EQ(model.DatFileSaved, kFalse);
        EXPECT_EQ(Pending(), -1);
        EXPECT_TRUE(prompts.prompts().empty());
    }
}

TEST_F(SpecialCodesEditorTest, AnApplyThatChangesNothingStillMarksUnsavedWhileAFlagStands)
{
    model.DTMFRegenChanged = kFalse; // raised by the reader, which filled in a missing prefix
    Open();
    ui->Apply();
    EXPECT_EQ(model.DatFileSaved, kTrue);
    model.SpecialCodesChanged = kTrue; // an autodial number applied earlier and uploaded since
    ui->Apply();
    EXPECT_EQ(model.DatFileSaved, kFalse);
    model.SpecialCodesChanged = kFalse;
    model.DatFileSaved = kTrue;
    model.RingNumberChanged = kTrue;
    ui->Apply();
    EXPECT_EQ(model.DatFileSaved, kFalse);
    EXPECT_EQ(model.SpecialCodesChanged, kFalse);
}

} // namespace
} // namespace vm880::test
