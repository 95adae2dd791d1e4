// The Courtesy Tones editor over a loaded model: the sixteen fields' bounds and warnings,
// choosing tones and ports, the segment flags Apply raises, Cancel Changes and the preview.

#include "changed_upload.h"
#include "editor_driver.h"
#include "editors/ports/courtesy_editor.h"
#include "fake_editor_services.h"
#include "link/tone_synth.h"
#include "loaded_model.h"
#include "platform/qt_prompts.h"

#include <QAbstractButton>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QWindow>

#include <functional>
#include <set>

namespace vm880::test {
namespace {

class CourtesyEditorTest : public ::testing::Test {
protected:
    void Open()
    {
        editor = std::make_unique<CourtesyEditor>(fakes.For(model));
        editor->Load();
        ui = std::make_unique<EditorDriver>(*editor);
    }
    void Show(int p, int t) { editor->Show(p, t); }

    ConfigModel model = Defaults();
    ScriptedPrompts prompts;
    FakeEditorServices fakes{prompts};
    std::unique_ptr<CourtesyEditor> editor;
    std::unique_ptr<EditorDriver> ui;
};

struct Bounds {
    std::string name;
    int port;
    std::string highest;
    std::string tooHigh;
    std::string text;
};

// Every field, shown on port 1, 2 or 3 in turn: delays and durations to 10000, tones to 3500.
std::vector<Bounds> AllBounds()
{
    std::vector<Bounds> bounds;
    const struct { const char* field; int count; const char* highest; const char* text; } kinds[] = {
        {"Delay", 4, "10000", "Delay invalid, must be between 0 and 10000"},
        {"Dur", 4, "10000", "Duration invalid, must be between 0 and 10000"},
        {"Tone", 8, "3500", "Tone invalid, must be between 0 and 3500"},
    };
    for (const auto& k : kinds)
        for (int n = 1; n <= k.count; ++n)
            bounds.push_back({k.field + std::to_string(n) + "Set", static_cast<int>(bounds.size() % 3) + 1,
                              k.highest, std::to_string(std::stoi(k.highest) + 1), k.text});
    bounds[7].tooHigh = "99999"; // Dur4: a value of another length
    return bounds;
}

TEST_F(CourtesyEditorTest, EveryFieldKeepsToItsBoundsWithItsPortInTheTitle)
{
    Open();
    std::set<std::string> declared, golden;
    for (const Field* field : editor->DeclaredFields())
        declared.insert(field->name());
    const std::vector<Bounds> bounds = AllBounds();
    for (const Bounds& b : bounds)
        golden.insert(b.name);
    EXPECT_EQ(declared, golden);
    for (const Bounds& b : bounds) {
        SCOPED_TRACE(b.name);
        Show(b.port, 4);
        ui->Type(b.name, b.port, QString::fromStdString(b.highest));
        EXPECT_TRUE(ui->Leave(b.name, b.port));
        ui->Type(b.name, b.port, QString::fromStdString(b.tooHigh));
        // The title names the port and the field: "WhichPort 2: Delay2".
        prompts.Answer(Answer::Ok, "WhichPort " + std::to_string(b.port) + ": " + b.name.substr(0, b.name.size() - 3));
        EXPECT_FALSE(ui->Leave(b.name, b.port));
        EXPECT_EQ(prompts.prompts().back().text, b.text);
    }
    EXPECT_EQ(prompts.pending(), 0u);
}

TEST_F(CourtesyEditorTest, BrowsingTonesAndPortsKeepsEditsAndThePendingState)
{
    model.Delay2(2, 3) = "750";
    Open();
    for (int p : {2, 3, 1})
        for (int t : {7, 10, 1})
            Show(p, t);
    EXPECT_EQ(model.giCourtesyUnapplied, -1);

    Show(2, 7);
    ui->Type("Delay2Set", 2, "500");
    EXPECT_EQ(model.giCourtesyUnapplied, 2);
    Show(2, 3);
    EXPECT_EQ(ui->Text("Delay2Set", 2), "750");
    EXPECT_FALSE(ui->Red("Delay2Set", 2));
    Show(1, 5);
    Show(2, 7);
    EXPECT_EQ(ui->Text("Delay2Set", 2), "500");
    EXPECT_TRUE(ui->Red("Delay2Set", 2));
    EXPECT_EQ(model.giCourtesyUnapplied, 2);
}

struct Edit {
    const char* name;
    const char* value;
};
struct ApplyCase {
    int port, tone;
    std::vector<Edit> edits;
    const char* line; // the one command an upload of changes now sends
};

TEST_F(CourtesyEditorTest, ApplyRaisesTheFlagOfEachChangedSegmentOnly)
{
    // Loaded defaults: delays and durations 250, tones 0.
    const ApplyCase cases[] = {
        {1, 1, {{"Delay1Set", "1234"}}, "1*31011234*250*0*0*"},
        {2, 2, {{"Delay2Set", "1234"}}, "2*32021234*250*0*0*"},
        {3, 3, {{"Delay3Set", "1234"}}, "3*33031234*250*0*0*"},
        {1, 4, {{"Delay4Set", "1234"}}, "1*34041234*250*0*0*"},
        {2, 5, {{"Dur1Set", "1234"}}, "2*3105250*1234*0*0*"},
        {3, 6, {{"Dur2Set", "1234"}}, "3*3206250*1234*0*0*"},
        {1, 7, {{"Dur3Set", "1234"}}, "1*3307250*1234*0*0*"},
        {2, 8, {{"Dur4Set", "1234"}}, "2*3408250*1234*0*0*"},
        {3, 9, {{"Tone1Set", "1234"}}, "3*3109250*250*1234*0*"},
        {1, 10, {{"Tone2Set", "1234"}}, "1*3110250*250*0*1234*"},
        {2, 1, {{"Tone3Set", "1234"}}, "2*3201250*250*1234*0*"},
        {3, 2, {{"Tone4Set", "1234"}}, "3*3202250*250*0*1234*"},
        {1, 3, {{"Tone5Set", "1234"}}, "1*3303250*250*1234*0*"},
        {3, 10, {{"Tone6Set", "1234"}}, "3*3310250*250*0*1234*"},
        {2, 5, {{"Tone7Set", "1234"}}, "2*3405250*250*1234*0*"},
        {3, 6, {{"Tone8Set", "1234"}}, "3*3406250*250*0*1234*"},
        // Two values of one segment raise its single flag.
        {2, 4, {{"Dur1Set", "100"}, {"Tone2Set", "880"}}, "2*3104250*100*0*880*"},
    };
    for (const ApplyCase& c : cases) {
        SCOPED_TRACE(c.line);
        model = Defaults();
        Open();
        Show(c.port, c.tone);
        for (const Edit& e : c.edits)
            ui->Type(e.name, c.port, e.value);
        ui->Apply();
        EXPECT_EQ(AddedUploadLines(Defaults(), model), std::vector<std::string>{c.line});
        EXPECT_EQ(model.CourtesyChanged, kTrue);
        EXPECT_EQ(model.DatFileSaved, kFalse);
        EXPECT_EQ(model.giCourtesyUnapplied, -1);
        EXPECT_EQ(editor->CurrentCT(c.port), c.tone) << "the same tone stays shown";
    }
}

TEST_F(CourtesyEditorTest, AnApplyOfNothingMarksTheFileUnsavedWhileASegmentAwaitsTheUpload)
{
    Open();
    ui->Apply();
    EXPECT_EQ(model.DatFileSaved, kTrue) << "no segment waits for the upload";
    ui->Type("Tone1Set", 1, "440");
    ui->Apply();
    model.DatFileSaved = kTrue; // saved
    ui->Type("Tone1Set", 1, "440");
    ui->Apply();
    EXPECT_EQ(model.DatFileSaved, kFalse);
}

TEST_F(CourtesyEditorTest, CancelChangesDropsTheEditsOfEveryToneAndKeepsTheSelections)
{
    Open();
    const std::pair<int, int> shown[] = {{1, 1}, {2, 5}, {3, 10}};
    for (auto [p, t] : shown) {
        Show(p, t);
        ui->Type("Tone3Set", p, "1000");
    }
    prompts.Answer(Answer::Yes, "COURTESY TONE CANCEL CHANGES");
    ui->CancelChanges();
    for (auto [p, t] : shown) {
        EXPECT_EQ(editor->CurrentCT(p), t);
        EXPECT_EQ(ui->Text("Tone3Set", p), "0") << p;
    }
    ui->Apply();
    EXPECT_TRUE(AddedUploadLines(Defaults(), model).empty());
}

TEST_F(CourtesyEditorTest, PreviewPlaysTheShownToneOfThePortInFrontAsEdited)
{
    model.Tone1(2, 4) = "697"; // with 1209 Hz: the DTMF key "1"
    model.Tone2(2, 4) = "1209";
    model.Tone1(1, 4) = "440";
    Open();
    Show(1, 4);
    Show(2, 4);
    ui->Type("Dur2Set", 2, "100"); // not applied
    editor->Show(3, 9);
    editor->Show(2, 4);
    ASSERT_TRUE(editor->Preview());
    std::vector<std::size_t> frames;
    for (const auto& played : fakes.sound.played)
        frames.push_back(played.sound.FrameCount());
    EXPECT_EQ(frames, (std::vector<std::size_t>{2000, 800, 2000, 2000}));
    EXPECT_EQ(fakes.sound.digits(), "1???");
    EXPECT_EQ(fakes.clock.sleeps, (std::vector<std::int64_t>{250, 250, 250, 250}));
    EXPECT_EQ(model.Dur2(2, 4), "250");
    EXPECT_TRUE(ui->Red("Dur2Set", 2));
    EXPECT_EQ(model.giCourtesyUnapplied, 6);
    EXPECT_FALSE(fakes.busy.Busy());

    // A refused value in the box being edited is shown first and nothing sounds.
    ui->Type("Dur2Set", 2, "20000");
    ui->Get("Dur2Set", 2)->setFocus();
    prompts.Answer(Answer::Ok, "WhichPort 2: Dur2");
    EXPECT_FALSE(editor->Preview());
    EXPECT_EQ(fakes.sound.played.size(), 4u);
    EXPECT_EQ(prompts.pending(), 0u);
}

// A preview that cannot sound, as the program shows it: Qt's own message box, shown while the
// preview holds the operator's input, must take the operator's answer by key, by click and by
// a close request, and the preview then ends without another box.
TEST_F(CourtesyEditorTest, APreviewThatCannotSoundShowsABoxTheOperatorCanAnswer)
{
    const auto key = [](Qt::Key k) {
        return [k](QMessageBox& box) { QTest::keyClick(box.windowHandle(), k); };
    };
    const struct {
        const char* way;
        std::function<void(QMessageBox&)> answer;
    } ways[] = {
        {"Return", key(Qt::Key_Return)},
        {"Escape", key(Qt::Key_Escape)},
        {"Space on OK", key(Qt::Key_Space)},
        {"click on OK",
         [](QMessageBox& box) {
             const QAbstractButton* ok = box.button(QMessageBox::Ok);
             QTest::mouseClick(box.windowHandle(), Qt::LeftButton, {}, ok->mapTo(&box, ok->rect().center()));
         }},
        {"close request", [](QMessageBox& box) { box.close(); }},
    };
    int plays = 0;
    fakes.sound.failWith = PlayStatus::NoDevice;
    fakes.sound.onPlay = [&plays](const PcmSound&) { ++plays; };
    QtPrompts boxes;
    TonePlayer player{fakes.sound, boxes};
    CourtesyEditor courtesy({model, boxes, fakes, fakes.busy, player, fakes.clock, fakes.dialogs, fakes.keys});
    courtesy.Load();
    courtesy.show();
    for (const auto& w : ways) {
        SCOPED_TRACE(w.way);
        plays = 0;
        std::vector<std::string> titles;
        bool answered = false, stuck = false;
        QElapsedTimer since;
        QTimer watch;
        watch.setInterval(10);
        QObject::connect(&watch, &QTimer::timeout, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box)
                return;
            if (!answered) {
                answered = true;
                titles.push_back(box->windowTitle().toStdString());
                since.start();
                w.answer(*box);
            } else if (since.elapsed() > 2000) {
                // The answer never arrived: end it behind the operator's back (hiding sends
                // no close request that could be held up), so that a failure cannot hang the run.
                stuck = true;
                box->hide();
            }
        });
        watch.start();
        EXPECT_FALSE(courtesy.Preview());
        watch.stop();
        EXPECT_FALSE(stuck) << "the box took no " << w.way;
        EXPECT_EQ(titles, std::vector<std::string>{kSoundErrorTitle});
        EXPECT_EQ(plays, 1) << "the preview ends at the first sound that failed";
        EXPECT_FALSE(fakes.busy.Busy());
    }
}

} // namespace
} // namespace vm880::test
