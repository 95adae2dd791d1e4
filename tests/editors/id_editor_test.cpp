// The identification editor: each field's refusal, the word and character boxes with their
// pick lists and counters, the empty values of the CW numbers, the focus path across port
// tabs, the flags Apply raises (speech switch, extras, standing flags), and that every
// applied change goes out with the next upload of changes.

#include "editor_driver.h"
#include "editors/ports/id_editor.h"
#include "fake_editor_services.h"
#include "loaded_model.h"
#include "sequence_helpers.h"

#include <QLabel>
#include <QListWidget>
#include <QTabWidget>

#include <algorithm>
#include <functional>

namespace vm880::test {
namespace {

using M = ConfigModel;

QString Repeat(const QString& token, int times)
{
    QStringList tokens;
    for (int i = 0; i < times; ++i)
        tokens << token;
    return tokens.join(' ');
}

class IDEditorTest : public ::testing::Test {
protected:
    void Open()
    {
        editor = std::make_unique<IDEditor>(fakes.For(model));
        editor->Load();
        ui = std::make_unique<EditorDriver>(*editor);
    }
    bool Enter(const std::string& name, int port, const QString& text)
    {
        ui->Type(name, port, text);
        return ui->Leave(name, port);
    }
    QListWidget* List(const char* name) const { return ui->Get<QListWidget>(name); }

    ConfigModel model = Defaults();
    ScriptedPrompts prompts;
    FakeEditorServices fakes{prompts};
    std::unique_ptr<IDEditor> editor;
    std::unique_ptr<EditorDriver> ui;
};

struct Limit {
    const char* name;
    int port;
    int number;
    QString good;   // the most the field takes
    QString bad;
    const char* title;
    const char* text;
};

constexpr const char* kVoice1 = "Invalid Voice ID contents or contains more than 22 words";
constexpr const char* kVoice = "Invalid Voice ID Contents or contains more than 22 words";
constexpr const char* kCW = "Invalid CW ID Contents or contains more than 15 characters";

const Limit kLimits[] = {
    {"VoiceID1Set", 1, 1, Repeat("V", 22), Repeat("V", 23), "Voice ID1 Port 1", kVoice1},
    {"VoiceID2Set", 2, 2, "HELLO", "", "Voice ID2 Port 2", kVoice},
    {"VoiceID3Set", 3, 3, "EIGHT", "EIGHT XYZZY", "Voice ID3 Port 3", kVoice},
    {"CWID1Set", 1, 4, Repeat("8", 15), Repeat("8", 16), "CW ID1 Port 1", kCW},
    {"CWID2Set", 3, 5, "V M", "", "CW ID2 Port 3", kCW},
    {"CWID2Set", 2, 5, "AR", "V %", "CW ID2 Port 2", kCW},
    {"CWSpeedSet", 2, 6, "50", "51", "CW Speed Port 2", "Entry must be whole number between 5 and 50"},
    {"CWSpeedSet", 1, 6, "5", "4", "CW Speed Port 1", "Entry must be whole number between 5 and 50"},
    {"CWTone1Set", 1, 7, "3500", "3501", "CW Tone 1 Port 1", "Entry must be whole number between 200 and 3500"},
    {"CWTone1Set", 3, 7, "200", "199", "CW Tone 1 Port 3", "Entry must be whole number between 200 and 3500"},
    {"CwTone2Set", 3, 8, "0", "199", "CW Tone 2 Port 3", "Entry must be whole number between 200 and 3500, or 0"},
    {"CwTone2Set", 2, 8, "000", "1", "CW Tone 2 Port 2", "Entry must be whole number between 200 and 3500, or 0"},
    {"CwTone2Set", 1, 8, "200", "3501", "CW Tone 2 Port 1", "Entry must be whole number between 200 and 3500, or 0"},
};

TEST_F(IDEditorTest, EveryFieldKeepsToItsLimitsWithItsOwnWarning)
{
    Open();
    for (const Limit& l : kLimits) {
        SCOPED_TRACE(std::string(l.name) + " " + std::to_string(l.port));
        editor->Tabs()->setCurrentIndex(l.port - 1);
        EXPECT_TRUE(Enter(l.name, l.port, l.good));
        EXPECT_EQ(model.giIDUnapplied, l.number);
        ui->Type(l.name, l.port, l.bad);
        prompts.Answer(Answer::Ok, l.title);
        EXPECT_FALSE(ui->Leave(l.name, l.port));
        ASSERT_FALSE(prompts.prompts().empty());
        EXPECT_EQ(prompts.prompts().back().text, l.text);
        EXPECT_EQ(prompts.prompts().back().style, 48);
        // Apply stops on it too.
        prompts.Answer(Answer::Ok, l.title).Answer(Answer::Ok, "APPLY FAIL");
        ui->Apply();
        EXPECT_EQ(model.IDsChanged, kFalse);
        EXPECT_TRUE(Enter(l.name, l.port, l.good));
    }
    EXPECT_EQ(prompts.pending(), 0u);
}

TEST_F(IDEditorTest, EmptiedCWNumbersTakeTheirLowestValues)
{
    Open();
    const std::pair<const char*, const char*> kEmpty[] = {
        {"CWSpeedSet", "5"}, {"CWTone1Set", "200"}, {"CwTone2Set", "0"}};
    for (const auto& [name, value] : kEmpty) {
        EXPECT_TRUE(Enter(name, 2, ""));
        EXPECT_EQ(ui->Text(name, 2), value);
    }
    ui->Apply();
    EXPECT_EQ(model.CWSpeed(2), "5");
    EXPECT_EQ(model.CWTone1(2), "200");
    EXPECT_EQ(model.CWTone2(2), "0");
}

TEST_F(IDEditorTest, WordsAreHeldUpperCaseAndSquashedWhenTheBoxIsLeft)
{
    Open();
    ui->Type("VoiceID2Set", 1, "  hello   eight ");
    EXPECT_EQ(ui->Text("VoiceID2Set", 1), "  hello   eight "); // as typed while editing
    EXPECT_TRUE(ui->Red("VoiceID2Set", 1));
    EXPECT_TRUE(ui->Leave("VoiceID2Set", 1));
    EXPECT_EQ(ui->Text("VoiceID2Set", 1), "HELLO EIGHT");
    ui->Apply();
    EXPECT_EQ(model.VoiceID2(1), "HELLO EIGHT");
}

TEST_F(IDEditorTest, OnlyThePickListOfTheBoxKindFocusedLastIsShownAndItInsertsThere)
{
    Open();
    EXPECT_TRUE(List("VocabList")->isVisibleTo(editor.get()));
    EXPECT_FALSE(List("VocabList")->isEnabled());
    EXPECT_FALSE(List("CwList")->isVisibleTo(editor.get()));

    editor->Tabs()->setCurrentIndex(1);
    Focus(*ui, "CWID2Set", 2);
    EXPECT_TRUE(List("CwList")->isVisibleTo(editor.get()));
    EXPECT_TRUE(List("CwList")->isEnabled());
    EXPECT_FALSE(List("VocabList")->isVisibleTo(editor.get()));
    EXPECT_TRUE(ui->Get<QLabel>("CWCharLabel")->isVisibleTo(editor.get()));
    ui->Get<QLineEdit>("CWID2Set", 2)->setCursorPosition(0);
    EXPECT_TRUE(DoubleClick(*ui, "CwList", "8"));
    EXPECT_EQ(ui->Text("CWID2Set", 2), "8 " + QString::fromStdString(Defaults().CWID2(2)));
    EXPECT_EQ(ui->Get<QLabel>("CWCharCounter")->text().toInt(), CountWords(Defaults().CWID2(2)) + 1);

    Focus(*ui, "VoiceID3Set", 2);
    EXPECT_TRUE(List("VocabList")->isEnabled());
    EXPECT_FALSE(List("CwList")->isVisibleTo(editor.get()));
    EXPECT_TRUE(ui->Get<QLabel>("WordCharLabel")->isVisibleTo(editor.get()));
    ui->Type("VoiceID3Set", 2, "HELLO");
    EXPECT_TRUE(DoubleClick(*ui, "VocabList", " ")); // the separator row: nothing
    EXPECT_TRUE(DoubleClick(*ui, "VocabList", "EIGHT"));
    EXPECT_EQ(ui->Text("VoiceID3Set", 2), "HELLO EIGHT");
    EXPECT_EQ(ui->Get<QLabel>("CharCounter")->text(), "2");
    EXPECT_TRUE(ui->Leave("VoiceID3Set", 2));
    EXPECT_FALSE(List("VocabList")->isEnabled()); // a passed check puts the list away
}

TEST_F(IDEditorTest, ABadVoiceIDLeftForThePickListIsRefusedByApplyFromAnotherPort)
{
    Open();
    Focus(*ui, "VoiceID1Set", 1);
    ui->Type("VoiceID1Set", 1, "XYZZY");
    // The operator clicks the list (no check runs), then changes to port 2 and applies.
    editor->Tabs()->setCurrentIndex(1);
    EXPECT_EQ(editor->CurrentPort(), 2);
    prompts.Answer(Answer::Ok, "Voice ID1 Port 1").Answer(Answer::Ok, "APPLY FAIL");
    const M before = model;
    ui->Apply();
    EXPECT_EQ(prompts.pending(), 0u);
    EXPECT_EQ(model.VoiceID1(1), before.VoiceID1(1));
    EXPECT_EQ(model.VoiceID1Changed(1), kFalse);
    EXPECT_EQ(model.giIDUnapplied, 1);
    EXPECT_EQ(editor->CurrentPort(), 1); // brought back to the refused box
}

struct FlagCase {
    const char* what;
    std::function<void(EditorDriver&)> act;
    Flag ids;
    Flag extras;
};

const FlagCase kFlagCases[] = {
    {"speech switch", [](EditorDriver& ui) { ui.Click("SpeechEnabled", 2); }, kFalse, kFalse},
    {"extras", [](EditorDriver& ui) { ui.Choose("ID3ExtrasSet", 1, 5); }, kFalse, kTrue},
    {"voice ID", [](EditorDriver& ui) { ui.Type("VoiceID1Set", 3, "HELLO"); }, kTrue, kFalse},
    {"CW tone", [](EditorDriver& ui) { ui.Type("CWTone1Set", 1, "800"); }, kTrue, kFalse},
};

TEST_F(IDEditorTest, ApplyRaisesTheAreaOfWhatChangedAndMarksTheFileUnsaved)
{
    for (const FlagCase& c : kFlagCases) {
        SCOPED_TRACE(c.what);
        model = Defaults();
        model.IDExtrasChanged = kFalse;
        Open();
        c.act(*ui);
        ui->Apply();
        EXPECT_EQ(model.IDsChanged, c.ids);
        EXPECT_EQ(model.IDExtrasChanged, c.extras);
        EXPECT_EQ(model.DatFileSaved, kFalse);
        EXPECT_EQ(model.giIDUnapplied, -1);
    }
    // An Apply of nothing still marks the file unsaved while an ID item awaits the upload.
    model = Defaults();
    model.CWID2Changed(3) = kTrue;
    Open();
    ui->Apply();
    EXPECT_EQ(model.DatFileSaved, kFalse);
    EXPECT_EQ(model.IDsChanged, kTrue);
}

struct Upload {
    const char* what;
    std::function<void(EditorDriver&)> act;
};

const Upload kUploads[] = {
    {"voice ID 1", [](EditorDriver& ui) { ui.Type("VoiceID1Set", 1, "HELLO"); }},
    {"voice ID 2", [](EditorDriver& ui) { ui.Type("VoiceID2Set", 2, "HELLO"); }},
    {"voice ID 3", [](EditorDriver& ui) { ui.Type("VoiceID3Set", 3, "HELLO"); }},
    {"CW ID 1", [](EditorDriver& ui) { ui.Type("CWID1Set", 1, "A B"); }},
    {"CW ID 2", [](EditorDriver& ui) { ui.Type("CWID2Set", 2, "A B"); }},
    {"CW speed", [](EditorDriver& ui) { ui.Type("CWSpeedSet", 3, "33"); }},
    {"CW tone 1", [](EditorDriver& ui) { ui.Type("CWTone1Set", 1, "900"); }},
    {"CW tone 2", [](EditorDriver& ui) { ui.Type("CwTone2Set", 2, "901"); }},
    {"speech", [](EditorDriver& ui) { ui.Click("SpeechEnabled", 3); }},
    {"extras 1", [](EditorDriver& ui) { ui.Choose("ID1ExtrasSet", 1, 4); }},
    {"extras 2", [](EditorDriver& ui) { ui.Choose("ID2ExtrasSet", 2, 5); }},
    {"extras 3", [](EditorDriver& ui) { ui.Choose("ID3ExtrasSet", 3, 6); }},
};

TEST_F(IDEditorTest, EveryAppliedChangeGoesOutWithTheNextUploadOfChanges)
{
    for (const Upload& u : kUploads) {
        SCOPED_TRACE(u.what);
        model = Defaults();
        Open();
        const auto before = ChangedCommands(model);
        u.act(*ui);
        ui->Apply();
        EXPECT_EQ(model.giIDUnapplied, -1);
        EXPECT_GT(ChangedCommands(model).size(), before.size());
    }
}

} // namespace
} // namespace vm880::test
