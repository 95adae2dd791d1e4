// The Scheduler/Clock editor over a model loaded from an empty settings file: the clock
// correction's check and stored form, browsing the set points, the boxes that follow the
// check boxes, the flags Apply raises and the commands a changes-only upload then sends,
// and Set Clock.

#include "editor_driver.h"
#include "editors/functions/scheduler_editor.h"
#include "fake_editor_services.h"
#include "link/command_catalogue.h"
#include "loaded_model.h"

#include <QComboBox>

#include <algorithm>

namespace vm880::test {
namespace {

using M = ConfigModel;

class SchedulerEditorTest : public ::testing::Test {
public: // the cases below drive it through lambdas
    void Open()
    {
        editor = std::make_unique<SchedulerEditor>(fakes.For(model));
        editor->Load();
        ui = std::make_unique<EditorDriver>(*editor);
    }
    QComboBox* Combo(const std::string& name) const { return ui->Get<QComboBox>(name); }
    // Picks the item whose text is `text`, as the operator does.
    void Pick(const std::string& name, const QString& text)
    {
        QComboBox* box = Combo(name);
        const int index = box->findText(text);
        ASSERT_GE(index, 0) << name << " has no " << text.toStdString();
        box->setCurrentIndex(index);
    }

    // The lines a changes-only upload sends now.
    std::vector<std::string> ChangedLines()
    {
        std::vector<std::string> lines;
        for (const Step& step : UploadOrder(model))
            if (step.group->scope == Scope::Always && IsChosen(*step.item, model, step.ref))
                for (const SerialLine& line : SerialLines(*step.item, model, step.ref))
                    lines.push_back(line.text);
        return lines;
    }

    std::vector<std::string> RaisedFlags()
    {
        std::vector<std::string> raised;
        for (int i = 1; i <= 20; ++i)
            if (model.SetPointChanged(i) != kFalse)
                raised.push_back("SetPointChanged(" + std::to_string(i) + ")");
        const std::pair<const char*, Flag*> clock[] = {{"SayYearChanged", &model.SayYearChanged},
                                                       {"SayHourChanged", &model.SayHourChanged},
                                                       {"TwentyFourChanged", &model.TwentyFourChanged},
                                                       {"ClockCorrectionChanged", &model.ClockCorrectionChanged}};
        for (const auto& [name, flag] : clock)
            if (*flag != kFalse)
                raised.push_back(name);
        return raised;
    }

    ConfigModel model = Defaults();
    ScriptedPrompts prompts;
    FakeEditorServices fakes{prompts};
    std::unique_ptr<SchedulerEditor> editor;
    std::unique_ptr<EditorDriver> ui;
};

TEST_F(SchedulerEditorTest, ClockCorrectionIsCheckedOnLeavingAndStoredWithAnAForMinus)
{
    const char* kMessage = "Clock correction must be an integer between 0 and 59, with a leading 'A' or "
                           "'-' allowed to indicate negative correction";
    struct Case {
        const char* typed;
        const char* stored; // nullptr: refused
    } cases[] = {
        {"A59", "A59"}, {"-0", "A0"}, {"a5", "A5"}, {"-5", "A5"}, {" 17 ", "17"}, {"", "0"},
        {"A60", nullptr}, {"--5", nullptr}, {"5A", nullptr}, {"+5", nullptr}, {"60", nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        model = Defaults();
        Open();
        ui->Type("ClockCorrectionSet", c.typed);
        EXPECT_EQ(editor->Pending(), 1);
        if (!c.stored)
            prompts.Answer(Answer::Ok, "Clock Corrections");
        EXPECT_EQ(ui->Leave("ClockCorrectionSet"), c.stored != nullptr);
        if (!c.stored) {
            EXPECT_EQ(prompts.prompts().back().text, kMessage);
            EXPECT_EQ(prompts.prompts().back().style, 48);
            continue;
        }
        ui->Apply();
        EXPECT_EQ(model.ClockCorrection, c.stored);
        EXPECT_EQ(editor->Pending(), -1);
    }
    EXPECT_EQ(prompts.pending(), 0u);
}

TEST_F(SchedulerEditorTest, BrowsingSetPointsShowsEachAndMarksNothing)
{
    model.DOW(2) = "3";
    model.Hours(2) = "13";
    model.Monthly(2) = "1";
    model.Week(2) = "4";
    model.MacroToRun(2) = "07";
    Open();
    EXPECT_EQ(Combo("DOWSet")->currentText(), "Everyday");
    EXPECT_FALSE(Combo("WeekSet")->isEnabled());
    editor->setPoints().Choose(2);
    EXPECT_EQ(Combo("DOWSet")->currentText(), "Wednesday");
    EXPECT_EQ(Combo("HoursSet")->currentText(), "1 PM");
    EXPECT_EQ(Combo("WeekSet")->currentText(), "4th");
    EXPECT_EQ(Combo("MacroSet")->currentText(), "7");
    EXPECT_TRUE(Combo("WeekSet")->isEnabled());
    EXPECT_EQ(editor->Pending(), -1);
}

TEST_F(SchedulerEditorTest, CancelChangesSaysTheClockIsNotCancelled)
{
    Open();
    Pick("DOWSet", "Monday");
    prompts.Answer(Answer::No, "SCHEDULER CANCEL CHANGES").Answer(Answer::Yes, "SCHEDULER CANCEL CHANGES");
    ui->CancelChanges();
    EXPECT_EQ(Combo("DOWSet")->currentText(), "Monday");
    EXPECT_EQ(prompts.prompts().front().text,
              "This will cancel all Scheduler changes made since your last Scehduler 'Apply' or Scheduler 'Cancel'"
              "\r\n\r\nIt does not cancel any 'Set Clock' or 'Date Format' changes because those were processed "
              "immediately upon your input\r\n\r\nYes to proceed, No to return to editing without cancelling");
    ui->CancelChanges();
    EXPECT_EQ(Combo("DOWSet")->currentText(), "Everyday");
    EXPECT_EQ(editor->Pending(), -1);
}

TEST_F(SchedulerEditorTest, UncheckingGreysTheDependentBoxButKeepsItsValue)
{
    model.Monthly(1) = "1";
    model.Week(1) = "3";
    model.TwentyFour = "1";
    model.SayHour = "1";
    Open();
    EXPECT_TRUE(Combo("WeekSet")->isEnabled());
    EXPECT_TRUE(ui->Get("HoursSelect")->isEnabled());
    ui->Click("DOMEnable");
    ui->Click("TwentyFourSet");
    EXPECT_FALSE(Combo("WeekSet")->isEnabled());
    EXPECT_FALSE(ui->Get("HoursSelect")->isEnabled());
    ui->Apply();
    EXPECT_EQ(model.Monthly(1), "0");
    EXPECT_EQ(model.Week(1), "3");
    EXPECT_EQ(model.SayHour, "1");
    EXPECT_EQ(model.TwentyFour, "0");
}

TEST_F(SchedulerEditorTest, ApplyRaisesExactlyTheChangedFlagsAndTheUploadSendsThem)
{
    // Each field changed alone: the flag Apply raises, and the line the upload then sends.
    struct Case {
        const char* what;
        std::function<void(SchedulerEditorTest&)> change;
        std::string flag;
        std::string line; // a set point's line: its start, up to the set point number
    } cases[] = {
        {"day", [](auto& t) { t.editor->setPoints().Choose(3); t.Pick("DOWSet", "Monday"); },
         "SetPointChanged(3)", "1*400103"},
        {"monthly", [](auto& t) { t.editor->setPoints().Choose(20); t.ui->Click("DOMEnable"); },
         "SetPointChanged(20)", "1*400120"},
        {"week", [](auto& t) { t.ui->Click("DOMEnable"); t.Pick("WeekSet", "5th"); },
         "SetPointChanged(1)", "1*400101"},
        {"hour", [](auto& t) { t.Pick("HoursSet", "11 PM"); }, "SetPointChanged(1)", "1*400101"},
        {"minutes", [](auto& t) { t.Pick("MinutesSet", "59"); }, "SetPointChanged(1)", "1*400101"},
        {"macro", [](auto& t) { t.Pick("MacroSet", "12"); }, "SetPointChanged(1)", "1*400101"},
        {"say year", [](auto& t) { t.ui->Click("SayYearSet"); }, "SayYearChanged", "1*51020"},
        {"24 hour", [](auto& t) { t.ui->Click("TwentyFourSet"); }, "TwentyFourChanged", "1*51030"},
        {"say hour", [](auto& t) { t.ui->Click("HoursSelect"); }, "SayHourChanged", "1*51040"},
        {"correction", [](auto& t) { t.ui->Type("ClockCorrectionSet", "-7"); }, "ClockCorrectionChanged",
         "1*5105A7"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        model = Defaults();
        model.TwentyFour = "1"; // "Say Hours" can be clicked
        Open();
        const std::vector<std::string> before = ChangedLines(); // flags the defaults raised
        c.change(*this);
        ui->Apply();
        EXPECT_EQ(RaisedFlags(), std::vector<std::string>{c.flag});
        EXPECT_EQ(model.SchedulerChanged, kTrue);
        EXPECT_EQ(model.DatFileSaved, kFalse);
        std::vector<std::string> lines;
        for (const std::string& line : ChangedLines())
            if (std::find(before.begin(), before.end(), line) == before.end())
                lines.push_back(line);
        ASSERT_EQ(lines.size(), 1u);
        if (c.flag.starts_with("SetPoint"))
            EXPECT_TRUE(lines[0].starts_with(c.line)) << lines[0];
        else
            EXPECT_EQ(lines[0], c.line);
    }
}

TEST_F(SchedulerEditorTest, AnApplyOfNothingMarksTheFileUnsavedWhileASetPointAwaitsUpload)
{
    Open();
    editor->setPoints().Choose(3);
    Pick("HoursSet", "2 AM");
    ui->Apply();
    model.DatFileSaved = kTrue;
    ui->Apply();
    EXPECT_EQ(model.DatFileSaved, kFalse);
    model.SetPointChanged(3) = kFalse;
    model.DatFileSaved = kTrue;
    ui->Apply();
    EXPECT_EQ(model.DatFileSaved, kTrue);
}

TEST_F(SchedulerEditorTest, SetClockSendsTheDateThenTheTimeAndReportsSuccessOnlyWhenBothWent)
{
    Open();
    prompts.Answer(Answer::Ok, "Done");
    ui->Click("ClockSet");
    ASSERT_EQ(fakes.link.sent.size(), 2u);
    EXPECT_TRUE(fakes.link.sent[0].line.starts_with("1*5101"));
    EXPECT_TRUE(fakes.link.sent[1].line.starts_with("1*5100"));
    EXPECT_EQ(fakes.link.calls.back(), "release");
    EXPECT_EQ(prompts.prompts().back().text, "Clock and Calendar have been successfully set");

    // A refused date: no time, and the operator is told the clock was not set; nothing in
    // the model changes.
    fakes.link.sent.clear();
    fakes.link.failSend = {1};
    prompts.Answer(Answer::Ok, "Set Clock");
    ui->Click("ClockSet");
    EXPECT_EQ(fakes.link.sent.size(), 1u);
    EXPECT_EQ(prompts.pending(), 0u);
    EXPECT_EQ(editor->Pending(), -1);
    EXPECT_EQ(RaisedFlags(), std::vector<std::string>{});
}

} // namespace
} // namespace vm880::test
