// The Alarms / Remote Base editor over a model loaded from an empty settings file: its three
// checks, the radio and Yaesu rules, the prefix against the terminators, memories edited in
// parts and only partly filled, browsing, and what an Apply hands to the upload.

#include "changed_upload.h"
#include "editor_driver.h"
#include "editors/functions/alarms_remote_editor.h"
#include "fake_editor_services.h"
#include "tables/code_lookup.h"
#include "loaded_model.h"
#include "refusal_sweep.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>

#include <functional>

namespace vm880::test {
namespace {

using M = ConfigModel;

class AlarmsRemoteEditorTest : public ::testing::Test {
protected:
    void Open()
    {
        editor = std::make_unique<AlarmsRemoteEditor>(fakes.For(model));
        editor->Load();
        ui = std::make_unique<EditorDriver>(*editor);
    }
    int Pending() const { return model.giAlarmsRemoteUnapplied; }
    void Memory(int m, Text freq, Text ctcss, Text pl, Text mode)
    {
        model.FreqString(m) = std::move(freq);
        model.CTCSS(m) = std::move(ctcss);
        model.CTCSSMode(m) = std::move(pl);
        model.RadioMode(m) = std::move(mode);
    }
    QComboBox* Yaesu() const { return ui->Get<QComboBox>("YaesuType"); }

    ConfigModel model = Defaults();
    ScriptedPrompts prompts;
    FakeEditorServices fakes{prompts};
    std::unique_ptr<AlarmsRemoteEditor> editor;
    std::unique_ptr<EditorDriver> ui;
};

const Bounds kBounds[] = {
    {"RemoteBasePrefixSet", 1, "*#ABC", "123456", "Remote Base Prefix",
     "Remote Base Setup: Remote Base Prefix is invalid.  Must be 1-5 valid DTMF characters"},
    {"RemoteBasePrefixSet", 1, "1", "1-2", "Remote Base Prefix",
     "Remote Base Setup: Remote Base Prefix is invalid.  Must be 1-5 valid DTMF characters"},
    {"OtherFreqStringSet", 2, "146520", "146.52", "Remote Base Frequency",
     "Remote Base Memory 1\r\nRemote Base Memory: Frequency is invalid.  Must be numeric"},
    {"OtherFreqStringSet", 2, "1465200", "", "Remote Base Frequency",
     "Remote Base Memory 1\r\nRemote Base Memory: Frequency is required for Remote Base Memories 1-10"},
    {"OtherCTCSSSet", 3, "49", "50", "Remote Base CTCSS",
     "Remote Base Memory 1\r\nRemote Base Memory: CTCSS code invalid, must be between numeric and must be valid "
     "for the radio"},
    {"OtherCTCSSSet", 3, "0", "", "Remote Base CTCSS",
     "Remote Base Memory 1\r\nRemote Base Memory: CTCSS is required for Remote Base Memories 1-10"},
};

TEST_F(AlarmsRemoteEditorTest, EveryTextFieldRefusesWithItsOwnWarning)
{
    model.Terminator = "D";
    Open();
    std::vector<std::string> declared;
    for (const Field* field : editor->DeclaredFields())
        if (field->kind() == FieldKind::Text)
            declared.push_back(field->name());
    EXPECT_EQ(declared, (std::vector<std::string>{"RemoteBasePrefixSet", "OtherFreqStringSet", "OtherCTCSSSet"}));
    SweepRefusals(*ui, prompts, [this] { return Pending(); }, kBounds);
    // Apply checks the field edited last and copies nothing.
    prompts.Answer(Answer::Ok, "Remote Base CTCSS").Answer(Answer::Ok, "APPLY FAIL");
    ui->Apply();
    EXPECT_EQ(Pending(), 3);
    EXPECT_EQ(model.RemoteBasePrefix, "C1");
    EXPECT_EQ(prompts.pending(), 0u);
}

TEST_F(AlarmsRemoteEditorTest, ShortCodesAreFilledWithZerosAndLongFrequenciesKeptAsTyped)
{
    Open();
    struct Case {
        int memory;
        const char* frequency;
        const char* ctcss;
        const char* shown;
        const char* stored;
        const char* storedCtcss;
    };
    for (const Case& c : {Case{1, "14652", "7", "014652", "0146522", "07"},
                          Case{2, "1465200", "12", "1465200", "14652002", "12"},
                          Case{11, "52525", "0", "052525", "0525252", "00"}}) {
        SCOPED_TRACE(c.memory);
        editor->Memories().Choose(c.memory);
        if (c.memory > 10) {
            ui->Click("OtherSimplex");
            ui->Click("OtherNoPL");
            ui->Click("FMSet");
        }
        ui->Type("OtherFreqStringSet", c.frequency);
        EXPECT_TRUE(ui->Leave("OtherFreqStringSet"));
        EXPECT_EQ(ui->Text("OtherFreqStringSet"), c.shown);
        ui->Type("OtherCTCSSSet", c.ctcss);
        ui->Apply();
        EXPECT_EQ(model.FreqString(c.memory), c.stored);
        EXPECT_EQ(model.CTCSS(c.memory), c.storedCtcss);
        EXPECT_EQ(model.RemoteBaseMemoriesChanged, kTrue);
    }
    EXPECT_EQ(model.CTCSSMode(11), "0");
    EXPECT_EQ(model.RadioMode(11), "4");
    EXPECT_TRUE(prompts.prompts().empty());
}

TEST_F(AlarmsRemoteEditorTest, PartlyFilledMemoriesAreAppliedWithOneWarningNamingThem)
{
    Memory(12, "1465203", "10", "1", "4");
    Open();
    editor->Memories().Choose(12);
    EXPECT_EQ(ui->Text("OtherFreqStringSet"), "146520");
    ui->Type("OtherFreqStringSet", ""); // memory 12 may be unused
    EXPECT_TRUE(ui->Leave("OtherFreqStringSet"));
    editor->Memories().Choose(20); // unused: no option shown, so any is a choice
    EXPECT_EQ(ui->Text("OtherFreqStringSet"), "");
    EXPECT_FALSE(ui->Get<QRadioButton>("OtherPlus")->isChecked());
    ui->Click("OtherPlus");
    EXPECT_TRUE(ui->Red("OtherPlus"));
    editor->Memories().Choose(15); // everything but the offset
    ui->Type("OtherFreqStringSet", "146520");
    ui->Type("OtherCTCSSSet", "22");
    ui->Click("OtherNoPL");
    ui->Click("FMSet");

    prompts.Answer(Answer::Ok, "Remote Base Error");
    ui->Apply();
    ASSERT_EQ(prompts.prompts().size(), 1u);
    EXPECT_EQ(prompts.prompts()[0].text,
              "WARNING\r\n\r\nData for Remote Base Memories is inconsistent.  Some of the parameters for a memory "
              "have been entered and some have not been entered (value of 'NONE').\r\nFor example: \r\n"
              "Remote Base Memory = 20\r\n  Freq = 'NONE'\r\n  Offset = '3'\r\n  CTCSS = 'NONE'\r\n"
              "  CTCSS Mode = 'NONE'\r\n  Radio Mode = 'NONE'\r\n\r\nData for the following Remote Base Memories "
              "is inconsistent and data for these individual memories will not be uploaded to the controller:\r\n"
              "12, 15, 20");
    EXPECT_EQ(model.FreqString(12), "NONE");
    EXPECT_EQ(model.CTCSS(12), "10");
    EXPECT_EQ(model.FreqString(20), "NONE"); // an offset without a frequency is not stored
    EXPECT_EQ(model.FreqString(15), "146520NONE"); // kept as entered, visibly incomplete
    EXPECT_EQ(model.CTCSS(15), "22");
    EXPECT_EQ(Pending(), -1);
    editor->Memories().Choose(20);
    EXPECT_FALSE(ui->Get<QRadioButton>("OtherPlus")->isChecked());
    // None of them goes out.
    for (const std::string& line : ChangedUploadLines(model))
        EXPECT_EQ(line.find("NONE"), std::string::npos) << line;
}

TEST_F(AlarmsRemoteEditorTest, AYaesuRadioNeedsItsModelAndOtherRadiosHaveNone)
{
    Open();
    EXPECT_EQ(ui->Get<QComboBox>("RadioType")->currentText(), "Icom");
    EXPECT_FALSE(Yaesu()->isEnabled());
    ui->Choose("RadioType", 0, 2); // Yaesu
    EXPECT_TRUE(Yaesu()->isEnabled());
    EXPECT_EQ(Yaesu()->currentText(), "Non-Yaesu");
    prompts.Answer(Answer::Ok, "Yaesu Type");
    ui->Apply();
    EXPECT_EQ(prompts.prompts().back().text, "Yaesu Type required with Radio Type: Yaesu");
    EXPECT_EQ(prompts.prompts().size(), 1u); // no "APPLY FAIL"
    EXPECT_EQ(model.RadioType, "2");
    EXPECT_EQ(Pending(), 0);

    ui->Choose("YaesuType", 0, 2);
    ui->Choose("RadioType", 0, 1); // back to Icom: the model is dropped
    EXPECT_FALSE(Yaesu()->isEnabled());
    EXPECT_EQ(Yaesu()->currentText(), "Non-Yaesu");
    ui->Choose("RadioType", 0, 2);
    ui->Choose("YaesuType", 0, 2);
    ui->Apply();
    EXPECT_EQ(model.RadioType, "3");
    EXPECT_EQ(model.YaesuType, "2");
    EXPECT_EQ(model.RadioTypeChanged, kTrue);
    EXPECT_EQ(model.RemoteBaseChanged, kTrue);
    EXPECT_EQ(model.AlarmsChanged, kFalse);
    EXPECT_EQ(prompts.pending(), 0u);
}

TEST_F(AlarmsRemoteEditorTest, ThePrefixIsCheckedAgainstTheTerminators)
{
    struct Case {
        const char* terminator;
        const char* next;
        const char* typed;
        bool warned;
        bool refused;
        const char* stored;
    };
    const Case cases[] = {
        {"#", "", "1#2", true, false, "1#2"},
        {"#", "2", "1#2", true, true, "C1"},
        {"d", "", "1d", true, false, "1D"},
        {"", "", "1#2", false, false, "1#2"}, // no terminator: nothing to find
        {"#", " ", "12", false, false, "12"},
        {"#", "", "", false, false, "C1"}, // emptied: the factory prefix
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.terminator) + "/" + c.next + "/" + c.typed);
        model = Defaults();
        model.Terminator = c.terminator;
        model.NewTerminator = c.next;
        prompts = ScriptedPrompts();
        Open();
        ui->Type("RemoteBasePrefixSet", c.typed);
        if (c.warned)
            prompts.Answer(Answer::Ok, "Remote Base Prefix");
        if (c.refused)
            prompts.Answer(Answer::Ok, "Remote Base Prefix");
        EXPECT_EQ(ui->Leave("RemoteBasePrefixSet"), !c.refused);
        if (c.warned) {
            EXPECT_EQ(prompts.prompts().front().text,
                      "*** WARNING  WARNING  WARNING ***\r\nThe Remote Base Prefix string contains the character that "
                      "is presently defined as your DTMF Terminator ('"
                          + UpperCase(c.terminator)
                          + "')\r\n\r\nChange the Terminator before trying to upload the new Remote Base Prefix or "
                            "else change the Remote Base Terminator\r\nFailure to do so will result in loss of your "
                            "new Remote Base Prefix");
        }
        if (c.refused) {
            EXPECT_EQ(prompts.prompts().back().text,
                      "The Remote Base Prefix string may not contain the character that is going to be uploaded to "
                      "the controller as your new Terminator Digit ('2')");
            continue;
        }
        EXPECT_EQ(ui->Text("RemoteBasePrefixSet").toStdString(), c.stored) << "the box shows what was checked";
        EXPECT_EQ(prompts.pending(), 0u);
        prompts.AcceptNotices();
        ui->Apply();
        EXPECT_EQ(model.RemoteBasePrefix, c.stored);
    }
}

// The terminator warning, with the focus moved as the operator moves it: the focus comes back
// to the prefix, and an Apply after another field was edited does not warn about it again.
TEST_F(AlarmsRemoteEditorTest, ThePrefixWarningTakesTheFocusBackAndIsGivenOnce)
{
    model.Terminator = "#";
    Open();
    editor->show();
    editor->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(editor.get()));
    QLineEdit* prefix = ui->Get<QLineEdit>("RemoteBasePrefixSet");
    QLineEdit* frequency = ui->Get<QLineEdit>("OtherFreqStringSet");
    QTest::mouseClick(prefix, Qt::LeftButton);
    ui->Type("RemoteBasePrefixSet", "1#2");
    prompts.Answer(Answer::Ok, "Remote Base Prefix");
    QTest::mouseClick(frequency, Qt::LeftButton);
    QTest::qWait(20);
    EXPECT_EQ(prompts.pending(), 0u);
    EXPECT_EQ(QApplication::focusWidget(), prefix);

    ui->Type("OtherFreqStringSet", "146520");
    ASSERT_EQ(Pending(), 2);
    ui->Apply(); // an unscripted box fails the test
    EXPECT_EQ(prompts.prompts().size(), 1u);
    EXPECT_EQ(model.RemoteBasePrefix, "1#2");
    EXPECT_EQ(Pending(), -1);
}

TEST_F(AlarmsRemoteEditorTest, NoPrefixIsShownForZeroAndStaysZero)
{
    model.RemoteBasePrefix = "0";
    Open();
    EXPECT_EQ(ui->Text("RemoteBasePrefixSet"), "No Prefix");
    ui->Click("LogicAlarmEnabled");
    ui->Apply();
    EXPECT_EQ(model.RemoteBasePrefix, "0");
    EXPECT_EQ(model.RemoteBasePrefixChanged, kFalse);
    ui->Type("RemoteBasePrefixSet", "12");
    ui->Type("RemoteBasePrefixSet", "No Prefix");
    EXPECT_TRUE(ui->Leave("RemoteBasePrefixSet"));
    ui->Apply();
    EXPECT_EQ(model.RemoteBasePrefix, "0");
    EXPECT_EQ(model.RemoteBasePrefixChanged, kFalse);
}

TEST_F(AlarmsRemoteEditorTest, BrowsingAlarmsAndMemoriesNeverMarksPending)
{
    model.Alarm(3) = "1";
    model.AlarmLowMacroNum(3) = "07";
    Memory(4, "4400003", "12", "2", "5");
    Open();
    for (int a : {3, 5, 1, 3}) {
        editor->Alarms().Choose(a);
        EXPECT_EQ(Pending(), -1) << a;
    }
    EXPECT_TRUE(ui->Get<QCheckBox>("LogicAlarmEnabled")->isChecked());
    EXPECT_EQ(ui->Get<QComboBox>("UseLowMacroSet")->currentText(), "7");
    for (int m : {4, 40, 1, 4}) {
        editor->Memories().Choose(m);
        EXPECT_EQ(Pending(), -1) << m;
    }
    EXPECT_EQ(ui->Text("OtherFreqStringSet"), "440000");
    EXPECT_TRUE(ui->Get<QRadioButton>("OtherPlus")->isChecked());
    EXPECT_TRUE(ui->Get<QRadioButton>("OtherDecode")->isChecked());
    EXPECT_TRUE(ui->Get<QRadioButton>("AMSet")->isChecked());

    // An edit survives browsing, and Apply checks the memory it was made in.
    ui->Type("OtherCTCSSSet", "77");
    editor->Memories().Choose(9);
    EXPECT_EQ(Pending(), 3);
    prompts.Answer(Answer::Ok, "Remote Base CTCSS").Answer(Answer::Ok, "APPLY FAIL");
    ui->Apply();
    EXPECT_EQ(editor->Memories().Value(), 4);
    EXPECT_EQ(prompts.prompts().front().text.substr(0, 21), "Remote Base Memory 4\r");
}

TEST_F(AlarmsRemoteEditorTest, WithoutTheClockOptionTenMemoriesAreOffered)
{
    model.HasRTC = kFalse;
    Open();
    EXPECT_EQ(editor->MemoryCount(), 10);
    EXPECT_EQ(ui->Get<QComboBox>("OtherMemoryNum")->count(), 10);
    model.HasRTC = kTrue;
    Open();
    EXPECT_EQ(ui->Get<QComboBox>("OtherMemoryNum")->count(), 40);
}

struct Change {
    const char* what;
    std::function<void(EditorDriver&, AlarmsRemoteEditor&)> act;
    const char* line; // what the upload of changes now sends
};

const Change kChanges[] = {
    {"alarm enabled", [](auto& ui, AlarmsRemoteEditor& e) { e.Alarms().Choose(3); ui.Click("LogicAlarmEnabled"); },
     "13910"}, // alarms load enabled
    {"low macro", [](auto& ui, AlarmsRemoteEditor& e) { e.Alarms().Choose(2); ui.Choose("UseLowMacroSet", 0, 4); },
     "1*2101205"},
    {"high macro", [](auto& ui, auto&) { ui.Choose("UseHighMacroSet", 0, 9); }, "1*2102110"},
    {"radio type", [](auto& ui, auto&) { ui.Choose("RadioType", 0, 0); }, "1*20831"},
    {"Yaesu model", [](auto& ui, auto&) { ui.Choose("RadioType", 0, 2); ui.Choose("YaesuType", 0, 3); }, "1*20843"},
    {"prefix", [](auto& ui, auto&) { ui.Type("RemoteBasePrefixSet", "b7"); }, "1*2060B7"},
    {"frequency", [](auto& ui, AlarmsRemoteEditor& e) { e.Memories().Choose(3); ui.Type("OtherFreqStringSet", "147000"); },
     "1**C111470002"},
    {"offset", [](auto& ui, AlarmsRemoteEditor& e) { e.Memories().Choose(3); ui.Click("OtherPlus"); },
     "1**C110000003"},
    {"CTCSS", [](auto& ui, auto&) { ui.Type("OtherCTCSSSet", "33"); }, "1**C12330"},
    {"PL", [](auto& ui, auto&) { ui.Click("OtherDecode"); }, "1**C12002"},
    {"mode", [](auto& ui, auto&) { ui.Click("USBSet"); }, "1**C132"},
};

TEST_F(AlarmsRemoteEditorTest, EveryAppliedChangeReachesTheUploadOfChanges)
{
    for (const Change& c : kChanges) {
        SCOPED_TRACE(c.what);
        model = Defaults();
        model.RemoteBaseChanged = kFalse;
        prompts = ScriptedPrompts();
        Open();
        ASSERT_FALSE(Sends(model, c.line));
        c.act(*ui, *editor);
        ui->Apply();
        EXPECT_TRUE(Sends(model, c.line)) << ::testing::PrintToString(ChangedUploadLines(model));
        const bool alarm = std::string(c.what).find("alarm") != std::string::npos
            || std::string(c.what).find("macro") != std::string::npos;
        EXPECT_EQ(model.AlarmsChanged, alarm ? kTrue : kFalse);
        EXPECT_EQ(model.RemoteBaseChanged, alarm ? kFalse : kTrue);
        EXPECT_EQ(model.DatFileSaved, kFalse);
        EXPECT_EQ(Pending(), -1);
        EXPECT_TRUE(prompts.prompts().empty());
    }
}

} // namespace
} // namespace vm880::test
