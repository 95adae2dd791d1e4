// The Port Switches editor: what each switch stores and the flag it raises, how stored
// texts are shown, the file state after an Apply, and Cancel Changes.

#include "fake_editor_services.h"
#include "editor_driver.h"
#include "editors/ports/port_switches_editor.h"
#include "loaded_model.h"

#include <functional>

namespace vm880::test {
namespace {

using M = ConfigModel;

constexpr std::pair<const char*, PortTexts M::*> kPortSettings[] = {
    {"TxEnable", &M::TxEnable},         {"RxEnable", &M::RxEnable},
    {"FDup", &M::FDup},                 {"PLAccess", &M::PLAccess},
    {"DTMFEnable", &M::DTMFEnable},     {"DTMFNeedPL", &M::DTMFNeedPL},
    {"DTMFMute", &M::DTMFMute},         {"DTMFCovertone", &M::DTMFCovertone},
    {"MonMix", &M::MonMix},             {"Kerchunk", &M::Kerchunk},
    {"SpeechOverride", &M::SpeechOverride}, {"SpeechIDOverride", &M::SpeechIDOverride},
    {"CTCSSCT", &M::CTCSSCT},           {"CTCSSID", &M::CTCSSID},
    {"PLEncodePolarity", &M::PLEncodePolarity}, {"COSClose", &M::COSClose},
};

constexpr PortFlags M::*kPortFlags[] = {
    &M::TxEnableChanged,   &M::RxEnableChanged,       &M::FDupChanged,          &M::PLAccessChanged,
    &M::DTMFEnableChanged, &M::DTMFNeedPLChanged,     &M::DTMFMuteChanged,      &M::DTMFCovertoneChanged,
    &M::MonMixChanged,     &M::KerchunkChanged,       &M::SpeechOverrideChanged, &M::SpeechIDOverrideChanged,
    &M::CTCSSCTChanged,    &M::CTCSSIDChanged,        &M::PLEncodePolarityChanged, &M::COSCloseChanged,
};

// Every change flag of the area, named after its setting.
std::vector<std::pair<std::string, Flag*>> SwitchFlags(M& m)
{
    std::vector<std::pair<std::string, Flag*>> flags;
    for (std::size_t s = 0; s < std::size(kPortFlags); ++s)
        for (int p = 1; p <= 3; ++p)
            flags.emplace_back(std::string(kPortSettings[s].first) + "(" + std::to_string(p) + ")",
                               &(m.*kPortFlags[s])(p));
    flags.emplace_back("AllowTerminatorSpeech", &m.AllowTerminatorSpeechChanged);
    flags.emplace_back("IDStartSelect", &m.IDStartSelectChanged);
    return flags;
}

class PortSwitchesEditorTest : public ::testing::Test {
protected:
    PortSwitchesEditorTest()
    {
        // Every switch off, so that each click below turns one on.
        for (const auto& [name, setting] : kPortSettings)
            for (int p = 1; p <= 3; ++p)
                (model.*setting)(p) = "0";
        model.AllowTerminatorSpeech = "0";
        model.IDStartSelect = "0";
    }

    void Open()
    {
        editor = std::make_unique<PortSwitchesEditor>(fakes.For(model));
        editor->Load();
        ui = std::make_unique<EditorDriver>(*editor);
    }
    void ExpectOnlyRaised(const std::string& raised)
    {
        for (const auto& [name, flag] : SwitchFlags(model))
            EXPECT_EQ(*flag, name == raised ? kTrue : kFalse) << name;
    }

    ConfigModel model = Defaults();
    ScriptedPrompts prompts;
    FakeEditorServices fakes{prompts};
    std::unique_ptr<PortSwitchesEditor> editor;
    std::unique_ptr<EditorDriver> ui;
};

struct Switch {
    const char* control;
    int slot;
    std::function<Text(const M&)> stored;
    const char* flag;
};

const Switch kSwitches[] = {
    {"TxEnable", 1, [](const M& m) { return m.TxEnable(1); }, "TxEnable(1)"},
    {"RxEnable", 2, [](const M& m) { return m.RxEnable(2); }, "RxEnable(2)"},
    {"FDup", 3, [](const M& m) { return m.FDup(3); }, "FDup(3)"},
    {"DTMFEnable", 1, [](const M& m) { return m.DTMFEnable(1); }, "DTMFEnable(1)"},
    {"DTMFNeedPL", 2, [](const M& m) { return m.DTMFNeedPL(2); }, "DTMFNeedPL(2)"},
    {"DTMFMute", 3, [](const M& m) { return m.DTMFMute(3); }, "DTMFMute(3)"},
    {"DTMFCovertone", 1, [](const M& m) { return m.DTMFCovertone(1); }, "DTMFCovertone(1)"},
    {"MonMix", 2, [](const M& m) { return m.MonMix(2); }, "MonMix(2)"},
    {"Kerchunk", 3, [](const M& m) { return m.Kerchunk(3); }, "Kerchunk(3)"},
    {"SpeechOverride", 1, [](const M& m) { return m.SpeechOverride(1); }, "SpeechOverride(1)"},
    {"SpeechIDOverride", 2, [](const M& m) { return m.SpeechIDOverride(2); }, "SpeechIDOverride(2)"},
    {"PLID", 3, [](const M& m) { return m.CTCSSID(3); }, "CTCSSID(3)"},
    {"PLCT", 1, [](const M& m) { return m.CTCSSCT(1); }, "CTCSSCT(1)"},
    {"PLHigh", 2, [](const M& m) { return m.PLEncodePolarity(2); }, "PLEncodePolarity(2)"},
    {"PLCloseSet", 3, [](const M& m) { return m.COSClose(3); }, "COSClose(3)"},
    {"AllowTerminatorSpeechSet", 0, [](const M& m) { return m.AllowTerminatorSpeech; }, "AllowTerminatorSpeech"},
    {"IDPTTSelect", 0, [](const M& m) { return m.IDStartSelect; }, "IDStartSelect"},
};

TEST_F(PortSwitchesEditorTest, EachSwitchStoresOneAndRaisesExactlyItsFlag)
{
    const ConfigModel base = model;
    for (const Switch& s : kSwitches) {
        SCOPED_TRACE(s.control);
        model = base;
        prompts = ScriptedPrompts();
        Open();
        ui->Click(s.control, s.slot);
        EXPECT_TRUE(ui->Red(s.control, s.slot));
        EXPECT_EQ(model.giPortSwitchesUnapplied, 0);
        ui->Apply();
        EXPECT_EQ(s.stored(model), "1");
        ExpectOnlyRaised(s.flag);
        EXPECT_EQ(model.PortSwitchesChanged, kTrue);
        EXPECT_EQ(model.TimersChanged, kFalse);
        EXPECT_EQ(model.DatFileSaved, kFalse);
        EXPECT_EQ(model.giPortSwitchesUnapplied, -1);
        EXPECT_FALSE(ui->Red(s.control, s.slot));
        EXPECT_TRUE(prompts.prompts().empty()); // nothing to refuse, no box
    }
}

TEST_F(PortSwitchesEditorTest, AccessModeStoresTheCodeOfTheChosenMode)
{
    Open();
    auto* mode = ui->Get<QComboBox>("AccessMode", 2);
    ASSERT_EQ(mode->count(), 3);
    EXPECT_EQ(mode->itemText(2), "Tone Only");
    ui->Choose("AccessMode", 2, 2);
    EXPECT_TRUE(ui->Red("AccessMode", 2));
    ui->Apply();
    EXPECT_EQ(model.PLAccess(2), "2");
    ExpectOnlyRaised("PLAccess(2)");
    EXPECT_EQ(model.DatFileSaved, kFalse);
}

TEST_F(PortSwitchesEditorTest, StoredTextsAreShownAsTheSwitchesRead)
{
    model.TxEnable(2) = "1";
    model.CTCSSCT(1) = "1";
    model.CTCSSCT(2) = ""; // anything but "1" shows the "0" choice
    model.PLEncodePolarity(3) = "1";
    model.COSClose(1) = "1";
    model.PLAccess(1) = "2";
    model.PLAccess(3) = "7"; // no such mode: the list keeps its selection
    model.IDStartSelect = "1";
    Open();
    EXPECT_TRUE(ui->Get<QCheckBox>("TxEnable", 2)->isChecked());
    EXPECT_FALSE(ui->Get<QCheckBox>("TxEnable", 1)->isChecked());
    EXPECT_TRUE(ui->Get<QRadioButton>("PLCT", 1)->isChecked());
    EXPECT_TRUE(ui->Get<QRadioButton>("PLCOS", 2)->isChecked());
    EXPECT_TRUE(ui->Get<QRadioButton>("PLHigh", 3)->isChecked());
    EXPECT_TRUE(ui->Get<QRadioButton>("PLCloseSet", 1)->isChecked());
    EXPECT_EQ(ui->Get<QComboBox>("AccessMode", 1)->currentText(), "Tone Only");
    EXPECT_EQ(ui->Get<QComboBox>("AccessMode", 3)->currentText(), "Carrier");
    EXPECT_TRUE(ui->Get<QRadioButton>("IDPTTSelect")->isChecked());
    EXPECT_FALSE(ui->Red("PLCOS", 2));
    EXPECT_EQ(model.giPortSwitchesUnapplied, -1);

    ui->Apply(); // what could not be shown is not changed either
    EXPECT_EQ(model.CTCSSCT(2), "");
    EXPECT_EQ(model.PLAccess(3), "7");
    EXPECT_EQ(model.DatFileSaved, kTrue);
}

TEST_F(PortSwitchesEditorTest, AnApplyOfNothingMarksTheFileUnsavedWhileAPortSwitchAwaitsUpload)
{
    model.SpeechOverrideChanged(3) = kTrue; // applied earlier, not uploaded yet
    Open();
    ui->Apply();
    EXPECT_EQ(model.DatFileSaved, kFalse);
    EXPECT_EQ(model.PortSwitchesChanged, kTrue);
    ExpectOnlyRaised("SpeechOverride(3)");

    // A global switch counts only when this Apply changes it.
    model = Defaults();
    model.IDStartSelectChanged = kTrue;
    Open();
    ui->Apply();
    EXPECT_EQ(model.DatFileSaved, kTrue);
    EXPECT_EQ(model.PortSwitchesChanged, kFalse);
}

TEST_F(PortSwitchesEditorTest, CancelChangesRestoresEverySwitch)
{
    Open();
    ui->Click("MonMix", 2);
    ui->Click("PLHigh", 1);
    ui->Choose("AccessMode", 3, 1);
    ui->Click("AllowTerminatorSpeechSet");

    prompts.Answer(Answer::No, "PORT SWITCH CANCEL CHANGES");
    ui->CancelChanges();
    EXPECT_TRUE(ui->Get<QCheckBox>("MonMix", 2)->isChecked());
    EXPECT_EQ(model.giPortSwitchesUnapplied, 0);

    prompts.Answer(Answer::Yes, "PORT SWITCH CANCEL CHANGES");
    ui->CancelChanges();
    EXPECT_EQ(prompts.prompts().back().text,
              "This will cancel all Port Switch changes made since your last Port Switch 'Apply' or "
              "Port Switch 'Cancel Changes'\r\n\r\nYes to proceed, No to return to editing without "
              "cancelling");
    EXPECT_FALSE(ui->Get<QCheckBox>("MonMix", 2)->isChecked());
    EXPECT_TRUE(ui->Get<QRadioButton>("PLLow", 1)->isChecked());
    EXPECT_EQ(ui->Get<QComboBox>("AccessMode", 3)->currentText(), "Carrier");
    EXPECT_FALSE(ui->Get<QCheckBox>("AllowTerminatorSpeechSet")->isChecked());
    for (const char* name : {"MonMix(2)", "PLHigh(1)", "PLLow(1)", "AccessMode(3)", "AllowTerminatorSpeechSet"})
        EXPECT_FALSE(ui->Red(name)) << name;
    EXPECT_EQ(model.giPortSwitchesUnapplied, -1);
    EXPECT_EQ(model.MonMix(2), "0");
    ExpectOnlyRaised("");
    EXPECT_EQ(model.DatFileSaved, kTrue);
}

} // namespace
} // namespace vm880::test
