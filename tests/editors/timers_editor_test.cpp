// The Timers editor over a model loaded from an empty settings file: every field's bounds
// and warning, the pending-ID speech pair, the flags Apply raises, Cancel Changes, the port
// tabs and the controls that follow other fields.

#include "fake_editor_services.h"
#include "editor_driver.h"
#include "editors/ports/timers_editor.h"
#include "loaded_model.h"

#include <QTabWidget>

#include <algorithm>
#include <functional>

namespace vm880::test {
namespace {

using M = ConfigModel;

class TimersEditorTest : public ::testing::Test {
protected:
    void Open()
    {
        editor = std::make_unique<TimersEditor>(fakes.For(model));
        editor->Load();
        ui = std::make_unique<EditorDriver>(*editor);
    }
    void ShowTab(int tab) { editor->Tabs()->setCurrentIndex(tab); }
    bool Enabled(const std::string& name, int slot) const { return ui->Get(name, slot)->isEnabled(); }

    ConfigModel model = Defaults();
    ScriptedPrompts prompts;
    FakeEditorServices fakes{prompts};
    std::unique_ptr<TimersEditor> editor;
    std::unique_ptr<EditorDriver> ui;
};

// Every change flag of the Timers area, named for the failure messages.
std::vector<std::pair<std::string, Flag*>> TimerFlags(M& m)
{
    static const std::pair<const char*, PortFlags M::*> kArrays[] = {
        {"HangTimeChanged", &M::HangTimeChanged},       {"TimeOutChanged", &M::TimeOutChanged},
        {"TOTResetChanged", &M::TOTResetChanged},       {"IIDTimeChanged", &M::IIDTimeChanged},
        {"PIDTimeChanged", &M::PIDTimeChanged},         {"InActiveTimeChanged", &M::InActiveTimeChanged},
        {"InActivityMacroChanged", &M::InActivityMacroChanged},
        {"DTMFTimeChanged", &M::DTMFTimeChanged},       {"CTCSSTimeChanged", &M::CTCSSTimeChanged},
        {"KerchunkTimeChanged", &M::KerchunkTimeChanged}, {"IDSpeakTimeChanged", &M::IDSpeakTimeChanged},
        {"AnnounceTimeChanged", &M::AnnounceTimeChanged}, {"TailCounterChanged", &M::TailCounterChanged},
        {"TailMessageNumChanged", &M::TailMessageNumChanged}, {"MessageNumChanged", &M::MessageNumChanged},
        {"AuxTimeChanged", &M::AuxTimeChanged},         {"GeneralTimerChanged", &M::GeneralTimerChanged},
    };
    std::vector<std::pair<std::string, Flag*>> flags;
    for (const auto& [name, array] : kArrays)
        for (int i = 1; i <= 3; ++i)
            flags.emplace_back(std::string(name) + "(" + std::to_string(i) + ")", &(m.*array)(i));
    flags.emplace_back("FanTimeChanged", &m.FanTimeChanged);
    flags.emplace_back("FanSelectChanged", &m.FanSelectChanged);
    flags.emplace_back("XmtDelayChanged", &m.XmtDelayChanged);
    flags.emplace_back("TimeoutLinkChanged", &m.TimeoutLinkChanged);
    return flags;
}

struct Bounds {
    const char* name;
    int slot;
    int number; // the pending state while it is edited
    const char* highest;
    const char* tooHigh;
    const char* title;
    const char* text;
};

const Bounds kBounds[] = {
    {"HangTimer", 2, 1, "255", "256", "Port 2: Hang Timer",
     "Invalid Hang Timer, must be whole number between 0 and 255"},
    {"TimeOutTimer", 1, 2, "32767", "32768", "Port 1: Timeout Timer",
     "Invalid Timeout Timer, must be between 0 and 32767"},
    {"IIDTimer", 3, 3, "255", "256", "Port 3: Initial ID Timer", "Invalid IID Timer, must be between 0 and 255"},
    {"PIDTimer", 1, 4, "255", "256", "Port 1: Pending ID Timer", "Invalid PID Timer, must be between 0 and 255"},
    {"InactiveTimer", 2, 5, "255", "256", "Port 2: Inactivity Timer",
     "Invalid Inactivity Timer, must be between 0 and 255"},
    {"DTMFTimer", 3, 6, "99", "100", "Port 3: DTMF Mute Timer", "Invalid DTMF Timer, must be between 0 and 99"},
    {"CTCSSTimer", 1, 7, "255", "256", "Port 1: Encode Timer", "Invalid CTCSS Timer, must be between 0 and 255"},
    {"KerchunkTimer", 2, 8, "32000", "32001", "Port 2: Kerchunk Timer",
     "Invalid Kerchunk Timer, must be between 0 and 32000"},
    // The loaded pending ID timer is 10 minutes.
    {"IDSpeakTimer", 3, 9, "600", "601", "Port 3: Pending ID Speech Timer",
     "Invalid Pending ID Speech Timer, cannot be more than value of Pending ID Timer"},
    {"AnnounceTimer", 3, 10, "3600", "3601", "Port 3: TailMessage Timer",
     "TailMessage Timer invalid, must be between 0 and 3600"},
    {"AuxTimer", 2, 11, "32767", "32768", "Aux Audio Timer 2", "Aux Timer invalid, must be between 0 and 32767"},
    {"FanTimer", 0, 12, "255", "256", "Fan Timer", "Fan Timer invalid, must be between 0 and 255"},
    {"XmtDelaySet", 0, 13, "32767", "32768", "Speech/CW Delay Before Transmit",
     "Speech/CW Delay Before Transmit invalid, must be between 0 and 32767"},
    {"GeneralTimerSet", 3, 14, "32767", "32768", "General Timer 3",
     "General Timer invalid, must be between 0 and 32767"},
    {"TailCounterSet", 2, 15, "254", "255", "Tail Counter",
     "Tail Counter Port 2 invalid.  Must be between 0 and 254"},
};

TEST_F(TimersEditorTest, EveryFieldKeepsToItsBoundsWithItsOwnWarning)
{
    for (int p = 1; p <= 3; ++p)
        model.TailMessageNum(p) = "1"; // the tail message fields are in use
    Open();
    // The sweep covers every declared text field, under the number it is declared with.
    std::vector<std::pair<std::string, int>> declared, golden;
    for (const Field* field : editor->DeclaredFields())
        if (field->kind() == FieldKind::Text)
            declared.emplace_back(field->name(), field->number());
    for (const Bounds& b : kBounds)
        golden.emplace_back(b.name, b.number);
    std::sort(declared.begin(), declared.end());
    std::sort(golden.begin(), golden.end());
    EXPECT_EQ(declared, golden);
    for (const Bounds& b : kBounds) {
        SCOPED_TRACE(b.name);
        ui->Type(b.name, b.slot, "0");
        EXPECT_TRUE(ui->Leave(b.name, b.slot));
        ui->Type(b.name, b.slot, b.highest);
        EXPECT_EQ(model.giTimersUnapplied, b.number);
        EXPECT_TRUE(ui->Leave(b.name, b.slot));
        ui->Type(b.name, b.slot, b.tooHigh);
        EXPECT_TRUE(ui->Red(b.name, b.slot));

        const std::size_t before = prompts.prompts().size();
        prompts.Answer(Answer::Ok, b.title);
        EXPECT_FALSE(ui->Leave(b.name, b.slot));
        ASSERT_EQ(prompts.prompts().size(), before + 1);
        EXPECT_EQ(prompts.prompts().back().text, b.text);
        EXPECT_EQ(prompts.prompts().back().style, 48);
        EXPECT_EQ(ui->Text(b.name, b.slot), b.tooHigh); // kept for the operator to correct
    }
    EXPECT_EQ(prompts.pending(), 0u);
    EXPECT_EQ(model.HangTime(2), "50"); // leaving a field copies nothing
}

TEST_F(TimersEditorTest, SpeechTimeIsCheckedAgainstThePendingIDTimeShownNotTheStoredOne)
{
    Open();
    ui->Type("PIDTimer", 1, "0"); // IDs off: any speech time the range allows
    ui->Type("IDSpeakTimer", 1, "15300");
    EXPECT_TRUE(ui->Leave("IDSpeakTimer", 1));
    ui->Type("IDSpeakTimer", 1, "15301");
    prompts.Answer(Answer::Ok, "Port 1: Pending ID Speech Timer");
    EXPECT_FALSE(ui->Leave("IDSpeakTimer", 1));

    ui->Type("PIDTimer", 1, "2");
    ui->Type("IDSpeakTimer", 1, "120");
    EXPECT_TRUE(ui->Leave("IDSpeakTimer", 1));
    ui->Type("IDSpeakTimer", 1, "121");
    prompts.Answer(Answer::Ok, "Port 1: Pending ID Speech Timer");
    EXPECT_FALSE(ui->Leave("IDSpeakTimer", 1));
    EXPECT_EQ(prompts.pending(), 0u);
}

// Lowering the pending ID timer under the speech time it must hold was once applied
// without a word, leaving the controller a speech time longer than the timer.
TEST_F(TimersEditorTest, LoweringThePendingIDTimerRechecksTheSpeechTimeOnApply)
{
    Open();
    ShowTab(1);
    ui->Type("PIDTimer", 2, "5"); // 600 s of speech no longer fit in 5 minutes
    EXPECT_TRUE(ui->Leave("PIDTimer", 2));
    ShowTab(3);
    prompts.Answer(Answer::Ok, "Port 2: Pending ID Speech Timer").Answer(Answer::Ok, "APPLY FAIL");
    ui->Apply();
    ASSERT_EQ(prompts.pending(), 0u);
    EXPECT_EQ(prompts.prompts()[0].text,
              "Invalid Pending ID Speech Timer, cannot be more than value of Pending ID Timer");
    EXPECT_EQ(editor->Tabs()->currentIndex(), 1); // the speech time is shown to be corrected
    EXPECT_EQ(model.PIDTime(2), "10");
    EXPECT_EQ(model.PIDTimeChanged(2), kFalse);
    EXPECT_EQ(model.DatFileSaved, kTrue);
    EXPECT_EQ(model.giTimersUnapplied, 4);

    ui->Type("IDSpeakTimer", 2, "300");
    ui->Type("PIDTimer", 3, "20"); // raising it needs no change of the speech time
    ui->Apply();
    EXPECT_EQ(model.PIDTime(2), "5");
    EXPECT_EQ(model.IDSpeakTime(2), "300");
    EXPECT_EQ(model.PIDTime(3), "20");
    EXPECT_EQ(model.giTimersUnapplied, -1);
}

struct Change {
    const char* what;
    std::function<void(EditorDriver&)> act;
    std::function<Text(const M&)> stored;
    const char* expected;
    const char* flag;
};

const Change kChanges[] = {
    {"hang timer", [](EditorDriver& ui) { ui.Type("HangTimer", 2, "25"); },
     [](const M& m) { return m.HangTime(2); }, "25", "HangTimeChanged(2)"},
    {"time-out timer", [](EditorDriver& ui) { ui.Type("TimeOutTimer", 1, "300"); },
     [](const M& m) { return m.TimeOut(1); }, "300", "TimeOutChanged(1)"},
    {"time-out reset point", [](EditorDriver& ui) { ui.Choose("TOTResetSet", 3, 4); },
     [](const M& m) { return m.TOTReset(3); }, "4", "TOTResetChanged(3)"},
    {"initial ID", [](EditorDriver& ui) { ui.Type("IIDTimer", 2, "0"); },
     [](const M& m) { return m.IIDTime(2); }, "0", "IIDTimeChanged(2)"},
    {"pending ID", [](EditorDriver& ui) { ui.Type("PIDTimer", 3, "15"); },
     [](const M& m) { return m.PIDTime(3); }, "15", "PIDTimeChanged(3)"},
    {"inactivity", [](EditorDriver& ui) { ui.Type("InactiveTimer", 1, "0"); },
     [](const M& m) { return m.InActiveTime(1); }, "0", "InActiveTimeChanged(1)"},
    {"inactivity macro", [](EditorDriver& ui) { ui.Choose("InActivityMacroSet", 2, 4); },
     [](const M& m) { return m.InActivityMacro(2); }, "05", "InActivityMacroChanged(2)"},
    {"DTMF mute", [](EditorDriver& ui) { ui.Type("DTMFTimer", 3, "9"); },
     [](const M& m) { return m.DTMFTime(3); }, "9", "DTMFTimeChanged(3)"},
    {"encode", [](EditorDriver& ui) { ui.Type("CTCSSTimer", 2, "60"); },
     [](const M& m) { return m.CTCSSTime(2); }, "60", "CTCSSTimeChanged(2)"},
    {"kerchunk", [](EditorDriver& ui) { ui.Type("KerchunkTimer", 1, "500"); },
     [](const M& m) { return m.KerchunkTime(1); }, "500", "KerchunkTimeChanged(1)"},
    {"ID speech", [](EditorDriver& ui) { ui.Type("IDSpeakTimer", 3, "300"); },
     [](const M& m) { return m.IDSpeakTime(3); }, "300", "IDSpeakTimeChanged(3)"},
    {"tail message timer", [](EditorDriver& ui) { ui.Type("AnnounceTimer", 2, "30"); },
     [](const M& m) { return m.AnnounceTime(2); }, "30", "AnnounceTimeChanged(2)"},
    {"tail counter", [](EditorDriver& ui) { ui.Type("TailCounterSet", 1, "3"); },
     [](const M& m) { return m.TailCounter(1); }, "3", "TailCounterChanged(1)"},
    {"tail message", [](EditorDriver& ui) { ui.Choose("TailMessageNumSet", 3, 0); },
     [](const M& m) { return m.TailMessageNum(3); }, "0", "TailMessageNumChanged(3)"},
    // A port's three tail-message macros share the port's flag: the upload sends them together.
    {"message 2 of port 3", [](EditorDriver& ui) { ui.Choose("MessageNumSet", 8, 11); },
     [](const M& m) { return m.P3MessageNum(2); }, "12", "MessageNumChanged(3)"},
    {"message 1 of port 1", [](EditorDriver& ui) { ui.Choose("MessageNumSet", 1, 0); },
     [](const M& m) { return m.P1MessageNum(1); }, "01", "MessageNumChanged(1)"},
    {"message 3 of port 2", [](EditorDriver& ui) { ui.Choose("MessageNumSet", 6, 39); },
     [](const M& m) { return m.P2MessageNum(3); }, "40", "MessageNumChanged(2)"},
    {"aux timer", [](EditorDriver& ui) { ui.Type("AuxTimer", 3, "70"); },
     [](const M& m) { return m.AuxTime(3); }, "70", "AuxTimeChanged(3)"},
    {"general timer", [](EditorDriver& ui) { ui.Type("GeneralTimerSet", 1, "30"); },
     [](const M& m) { return m.GeneralTimer(1); }, "30", "GeneralTimerChanged(1)"},
    {"general timer macro", [](EditorDriver& ui) { ui.Choose("GeneralTimerMacroSet", 2, 0); },
     [](const M& m) { return m.GeneralTimerMacro(2); }, "01", "GeneralTimerChanged(2)"},
    {"fan timer", [](EditorDriver& ui) { ui.Type("FanTimer", "5"); },
     [](const M& m) { return m.FanTime; }, "5", "FanTimeChanged"},
    {"fan on all transmissions", [](EditorDriver& ui) { ui.Click("FanSelect"); },
     [](const M& m) { return m.FanSelect; }, "1", "FanSelectChanged"},
    {"transmit delay", [](EditorDriver& ui) { ui.Type("XmtDelaySet", "500"); },
     [](const M& m) { return m.XmtDelay; }, "500", "XmtDelayChanged"},
    {"time-out linking", [](EditorDriver& ui) { ui.Click("TimeoutLinkSet"); },
     [](const M& m) { return m.TimeoutLink; }, "1", "TimeoutLinkChanged"},
};

TEST_F(TimersEditorTest, ApplyCopiesAChangeAndRaisesExactlyItsFlags)
{
    ConfigModel base = Defaults();
    for (int p = 1; p <= 3; ++p)
        base.TailMessageNum(p) = "1";
    for (const Change& c : kChanges) {
        SCOPED_TRACE(c.what);
        model = base;
        prompts = ScriptedPrompts();
        Open();
        c.act(*ui);
        ui->Apply();
        EXPECT_EQ(c.stored(model), c.expected);
        for (const auto& [name, flag] : TimerFlags(model))
            EXPECT_EQ(*flag, name == c.flag ? kTrue : kFalse) << name;
        EXPECT_EQ(model.TimersChanged, kTrue);
        EXPECT_EQ(model.PortSwitchesChanged, kFalse);
        EXPECT_EQ(model.DatFileSaved, kFalse);
        EXPECT_EQ(model.giTimersUnapplied, -1);
        EXPECT_TRUE(prompts.prompts().empty());
    }
}

TEST_F(TimersEditorTest, CancelChangesRestoresTheStoredValues)
{
    Open();
    ShowTab(1);
    ui->Type("HangTimer", 2, "99");
    ui->Choose("TOTResetSet", 2, 3);
    ui->Choose("TailMessageNumSet", 2, 2);
    ui->Click("FanSelect");
    ASSERT_TRUE(Enabled("TailCounterSet", 2));

    prompts.Answer(Answer::Yes, "TIMER CANCEL CHANGES");
    ui->CancelChanges();
    EXPECT_EQ(prompts.prompts().back().text,
              "This will cancel all Timer changes made since your last Timer 'Apply' or Timer "
              "'Cancel'\r\n\r\nYes to proceed, No to return to editing without cancelling");
    EXPECT_EQ(ui->Text("HangTimer", 2), "50");
    EXPECT_EQ(ui->Get<QComboBox>("TOTResetSet", 2)->currentText(), "After COS");
    EXPECT_EQ(ui->Get<QComboBox>("TailMessageNumSet", 2)->currentText(), "NONE");
    EXPECT_FALSE(ui->Get<QCheckBox>("FanSelect")->isChecked());
    EXPECT_FALSE(Enabled("TailCounterSet", 2)); // follows the restored tail message
    for (const char* name : {"HangTimer(2)", "TOTResetSet(2)", "TailMessageNumSet(2)", "FanSelect"})
        EXPECT_FALSE(ui->Red(name)) << name;
    EXPECT_EQ(model.giTimersUnapplied, -1);
    EXPECT_EQ(model.HangTime(2), "50");
    for (const auto& [name, flag] : TimerFlags(model))
        EXPECT_EQ(*flag, kFalse) << name;
    EXPECT_EQ(model.DatFileSaved, kTrue);
}

TEST_F(TimersEditorTest, SwitchingPortsShowsThemWithoutMarkingAnythingPending)
{
    model.HangTime(3) = "33";
    Open();
    EXPECT_EQ(editor->Tabs()->currentIndex(), 0);
    EXPECT_EQ(editor->CurrentPort(), 1);
    for (int tab : {1, 2, 3, 0, 2}) {
        ShowTab(tab);
        EXPECT_EQ(model.giTimersUnapplied, -1) << tab;
    }
    EXPECT_EQ(editor->CurrentPort(), 3);
    EXPECT_EQ(ui->Text("HangTimer", 3), "33");
    EXPECT_FALSE(ui->Red("HangTimer", 3));
    ShowTab(3); // "Global" shows no port
    EXPECT_EQ(editor->CurrentPort(), 3);

    // An edit on port 2 is still the one Apply checks after moving to "Global".
    ShowTab(1);
    ui->Type("HangTimer", 2, "300");
    ShowTab(3);
    EXPECT_EQ(model.giTimersUnapplied, 1);
    prompts.Answer(Answer::Ok, "Port 2: Hang Timer").Answer(Answer::Ok, "APPLY FAIL");
    ui->Apply();
    EXPECT_EQ(prompts.pending(), 0u);
    EXPECT_EQ(editor->Tabs()->currentIndex(), 1);
    EXPECT_EQ(model.HangTime(2), "50");
}

TEST_F(TimersEditorTest, SwitchedOffTimersDisableWhatDependsOnThem)
{
    model.InActiveTime(3) = "0";
    Open();
    EXPECT_TRUE(Enabled("InActivityMacroSet", 1));
    EXPECT_FALSE(Enabled("InActivityMacroSet", 3));
    ui->Type("InactiveTimer", 1, "0");
    EXPECT_FALSE(Enabled("InActivityMacroSet", 1));
    ui->Type("InactiveTimer", 1, "5");
    EXPECT_TRUE(Enabled("InActivityMacroSet", 1));

    // Tail message "NONE" (the loaded default) switches the port's tail program off.
    EXPECT_FALSE(Enabled("TailCounterSet", 2));
    EXPECT_FALSE(Enabled("AnnounceTimer", 2));
    ui->Choose("TailMessageNumSet", 2, 2);
    EXPECT_TRUE(Enabled("TailCounterSet", 2));
    EXPECT_TRUE(Enabled("AnnounceTimer", 2));
    EXPECT_FALSE(Enabled("TailCounterSet", 1));
    ui->Choose("TailMessageNumSet", 2, 0);
    EXPECT_FALSE(Enabled("TailCounterSet", 2));
    EXPECT_FALSE(Enabled("AnnounceTimer", 2));
}

} // namespace
} // namespace vm880::test
