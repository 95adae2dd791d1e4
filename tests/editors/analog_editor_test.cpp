// The Analog editor over a loaded model: bounds and warnings, the trip value as typed and
// pasted, and the flags Apply raises through the commands an upload of changes sends.

#include "changed_upload.h"
#include "editor_driver.h"
#include "editors/functions/analog_editor.h"
#include "fake_editor_services.h"
#include "loaded_model.h"

#include <QApplication>
#include <QClipboard>

#include <set>

namespace vm880::test {
namespace {

constexpr int kReferenceTab = 9;
constexpr const char* kTrip = "MeterSetPointSet";
constexpr const char* kTripText =
    "Trip Value invalid, must be between 0 and 35000 with a leading 'A' allowed to indicate negative";

class AnalogEditorTest : public ::testing::Test {
public:
    void Open()
    {
        editor = std::make_unique<AnalogEditor>(fakes.For(model));
        editor->Load();
        ui = std::make_unique<EditorDriver>(*editor);
    }
    void ShowTab(int tab) { editor->ShowTab(tab); }
    void ShowAlarm(int alarm) { editor->ShowAlarm(alarm); }

    ConfigModel model = Defaults();
    ScriptedPrompts prompts;
    FakeEditorServices fakes{prompts};
    std::unique_ptr<AnalogEditor> editor;
    std::unique_ptr<EditorDriver> ui;
};

TEST_F(AnalogEditorTest, EveryFieldKeepsToItsBoundsWithItsOwnWarning)
{
    struct Bounds {
        const char* name;
        int slot;
        const char* highest;
        const char* refused;
        const char* title;
        const char* text;
    };
    const Bounds bounds[] = {
        {"RealLowSetting", 2, "32767", "32768", "Real Low", "Real Low invalid, must be between 0 and 32767"},
        {"MeterLowSetting", 5, "32767", "32768", "Meter Low", "Meter Low invalid, must be between 0 and 32767"},
        {"RealHighSetting", 3, "32767", "32768", "Real High", "Real High invalid, must be between 0 and 32767"},
        {"MeterHighSetting", 8, "32767", "99999", "Meter High", "Meter High invalid, must be between 0 and 32767"},
        {"VrefSetting", 0, "520", "521", "VREF", "VREF invalid, must be between 0 and 520"},
        {kTrip, 0, "A35000", "A35001", "Meter Trip Value", kTripText},
        {kTrip, 0, "35000", "12.5", "Meter Trip Value", kTripText},
        {kTrip, 0, "a0", "35001", "Meter Trip Value", kTripText},
    };
    Open();
    for (const Bounds& b : bounds) {
        SCOPED_TRACE(b.refused);
        ui->Type(b.name, b.slot, b.highest);
        EXPECT_TRUE(ui->Leave(b.name, b.slot));
        ui->Type(b.name, b.slot, b.refused);
        prompts.Answer(Answer::Ok, b.title);
        EXPECT_FALSE(ui->Leave(b.name, b.slot));
        EXPECT_EQ(prompts.prompts().back().text, b.text);
    }
    EXPECT_EQ(prompts.pending(), 0u);
}

TEST_F(AnalogEditorTest, ATripValueIsKeptAsTheReaderReadsItTypedOrPasted)
{
    struct Case {
        const char* typed;
        bool paste;
        const char* kept;
    };
    const Case cases[] = {{"-250", false, "A250"}, {"a250", false, "A250"}, {"-250", true, "A250"},
                          {"a35000", true, "A35000"}, {" 75 ", true, "75"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        model = Defaults();
        Open();
        ShowTab(kReferenceTab);
        ShowAlarm(3);
        if (c.paste) {
            QApplication::clipboard()->setText(QString::fromLatin1(c.typed));
            auto* box = ui->Get<QLineEdit>(kTrip, 0);
            box->selectAll();
            box->paste();
        } else {
            ui->Type(kTrip, 0, c.typed);
        }
        EXPECT_TRUE(ui->Leave(kTrip, 0));
        EXPECT_EQ(model.giAnalogUnapplied, 6);
        ui->Apply();
        EXPECT_EQ(model.MeterSetPoint(3), c.kept);
        EXPECT_EQ(ui->Text(kTrip, 0), c.kept);
    }
}

TEST_F(AnalogEditorTest, ApplySendsEachChangedMeterOrAlarmWithTheFlagItsPartsShare)
{
    // Loaded defaults: meters OFF scaled 0..0, reference 500, alarms disabled on meter 1 with
    // trip value 0 and macro 90.
    struct Case {
        const char* what;
        std::function<void(AnalogEditorTest&)> act;
        std::vector<std::string> lines;
    };
    auto type = [](int tab, const char* name, int slot, const char* text) {
        return [=](AnalogEditorTest& t) { t.ShowTab(tab); t.ui->Type(name, slot, text); };
    };
    auto alarm = [](int n, std::function<void(EditorDriver&)> act) {
        return [=](AnalogEditorTest& t) { t.ShowTab(kReferenceTab); t.ShowAlarm(n); act(*t.ui); };
    };
    const Case cases[] = {
        {"meter type", [](AnalogEditorTest& t) { t.ShowTab(5); t.ui->Choose("MeterType", 5, 4); },
         {"1*20645*4*0*0*0*0*"}},
        {"actual low", type(1, "RealLowSetting", 1, "12"), {"1*20641*0*12*0*0*0*"}},
        {"meter low", type(2, "MeterLowSetting", 2, "34"), {"1*20642*0*0*34*0*0*"}},
        {"actual high", type(3, "RealHighSetting", 3, "56"), {"1*20643*0*0*0*56*0*"}},
        {"meter high", type(8, "MeterHighSetting", 8, "78"), {"1*20648*0*0*0*0*78*"}},
        {"reference", type(kReferenceTab, "VrefSetting", 0, "450"), {"1*2065450"}},
        {"alarm type", alarm(2, [](EditorDriver& ui) { ui.Choose("MeterAlarmTypeSet", 0, 2); }),
         {"1*20662*1*2*0*90*", "1160021"}},
        {"meter number", alarm(4, [](EditorDriver& ui) { ui.Choose("MeterNumSet", 0, 6); }),
         {"1*20664*7*0*0*90*", "1160040"}},
        {"trip value", alarm(6, [](EditorDriver& ui) { ui.Type(kTrip, 0, "-120"); }),
         {"1*20666*1*0*A120*90*", "1160060"}},
        {"macro", alarm(8, [](EditorDriver& ui) { ui.Choose("MeterMacroSet", 0, 4); }),
         {"1*20668*1*0*0*05*", "1160080"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        model = Defaults();
        Open();
        c.act(*this);
        ui->Apply();
        EXPECT_EQ(AddedUploadLines(Defaults(), model), c.lines);
        EXPECT_EQ(model.AnalogChanged, kTrue);
        EXPECT_EQ(model.DatFileSaved, kFalse);
        EXPECT_EQ(model.giAnalogUnapplied, -1);
    }
}

// The field edited last names no meter; once Apply took the tab in front for it and checked
// a ninth meter while "Reference / Meter Alarms" was in front.
TEST_F(AnalogEditorTest, AMeterEditIsCheckedOnItsOwnMeterWhateverTabIsInFront)
{
    Open();
    ShowTab(3);
    ui->Type("RealLowSetting", 3, "40000");
    ShowTab(kReferenceTab);
    prompts.Answer(Answer::Ok, "Real Low").Answer(Answer::Ok, "APPLY FAIL");
    ui->Apply();
    EXPECT_EQ(prompts.pending(), 0u);
    EXPECT_EQ(model.RealLow(3), "0");
    EXPECT_EQ(model.giAnalogUnapplied, 1);

    ui->Type("RealLowSetting", 3, "300");
    ShowTab(kReferenceTab);
    ui->Apply();
    EXPECT_EQ(model.RealLow(3), "300");
    EXPECT_EQ(AddedUploadLines(Defaults(), model), std::vector<std::string>{"1*20643*0*300*0*0*0*"});
}

} // namespace
} // namespace vm880::test
