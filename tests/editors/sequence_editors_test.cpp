// The editors of sequence texts: DTMF memories, identifications and message macros. Each
// field's refusal, each editor's own rules, the pick lists, the element counts without the
// clock option, the DVR frame, and that every applied change goes out with the next upload
// of changes.

#include "changed_upload.h"
#include "editor_driver.h"
#include "editors/functions/message_macros_editor.h"
#include "editors/ports/dtmf_editor.h"
#include "editors/ports/id_editor.h"
#include "fake_editor_services.h"
#include "link/command_catalogue.h"
#include "link/dvr_record.h"
#include "loaded_model.h"
#include "temp_folder.h"
#include "wav_image.h"

#include <QApplication>
#include <QFocusEvent>
#include <QLabel>
#include <QListWidget>
#include <QTabBar>
#include <QTabWidget>

#include <filesystem>
#include <functional>

namespace vm880::test {
namespace {

using M = ConfigModel;

QString Repeat(const char* token, int times)
{
    QStringList tokens;
    for (int i = 0; i < times; ++i)
        tokens << token;
    return tokens.join(' ');
}

class SequenceEditors : public ::testing::Test {
protected:
    SequenceEditors() { model.MessageMacrosChanged = model.DTMFChanged = kFalse; }

    template <typename Editor>
    Editor& Open()
    {
        auto* e = new Editor(fakes.For(model));
        editor.reset(e);
        editor->Load();
        ui = std::make_unique<EditorDriver>(*editor);
        return *e;
    }
    // The box gets (or loses) the focus as a click elsewhere gives it.
    void Focus(const std::string& name, int slot, bool in = true)
    {
        QFocusEvent event(in ? QEvent::FocusIn : QEvent::FocusOut, Qt::MouseFocusReason);
        QApplication::sendEvent(ui->Get(name, slot), &event);
    }
    void Pick(const std::string& list, const QString& text)
    {
        const auto rows = ui->Get<QListWidget>(list)->findItems(text, Qt::MatchExactly);
        ASSERT_FALSE(rows.empty()) << text.toStdString();
        emit ui->Get<QListWidget>(list)->itemDoubleClicked(rows.front());
    }
    QString Label(const std::string& name) const { return ui->Get<QLabel>(name)->text(); }

    ConfigModel model = Defaults();
    ScriptedPrompts prompts;
    FakeEditorServices fakes{prompts};
    std::unique_ptr<EditorBase> editor;
    std::unique_ptr<EditorDriver> ui;
};

// ---- Refusals: every text field, its message and title

struct Refused {
    int editor; // tab
    const char* name;
    int slot;
    int number;
    QString good;
    QString bad;
    const char* title;
    const char* text;
};

constexpr const char* kDigits = "Invalid DTMF String or DTMF String contains more characters than 10";
constexpr const char* kDur = "DTMF Paramaters: Duration is invalid.  Must be integer number between 1 and 255";
constexpr const char* kDelay = "DTMF Paramaters: Delay is invalid.  Must be integer number between 1 and 255";
constexpr const char* kVoice = "Invalid Voice ID Contents or contains more than 22 words";
constexpr const char* kCW = "Invalid CW ID Contents or contains more than 15 characters";
constexpr const char* kTone = "Entry must be whole number between 200 and 3500";
constexpr const char* kMessage = "Invalid Message Macro Contents or Message Macro contains 'DVR20' (not "
                                 "allowed in Message Macros) or Message Macro contains more than 9 words";

const Refused kRefused[] = {
    {7, "DTMFSet", 3, 1, "1234567890", "12345678901", "DTMF Memory 3", kDigits},
    {7, "DTMFSet", 50, 1, "#", "1E", "DTMF Memory 50", kDigits},
    {7, "DTMFDurSet", 0, 2, "255", "0", "DTMF Paramters: Duration", kDur},
    {7, "DTMFDelaySet", 0, 3, "1", "256", "DTMF Paramters: Delay", kDelay},
    {5, "VoiceID1Set", 1, 1, Repeat("V", 22), Repeat("V", 23), "Voice ID1 Port 1",
     "Invalid Voice ID contents or contains more than 22 words"},
    {5, "VoiceID2Set", 2, 2, "HELLO", "", "Voice ID2 Port 2", kVoice},
    {5, "VoiceID3Set", 3, 3, "EIGHT", "EIGHT XYZZY", "Voice ID3 Port 3", kVoice},
    {5, "CWID1Set", 1, 4, Repeat("8", 15), Repeat("8", 16), "CW ID1 Port 1", kCW},
    {5, "CWID2Set", 2, 5, "AR", "", "CW ID2 Port 2", kCW},
    {5, "CWSpeedSet", 2, 6, "50", "4", "CW Speed Port 2", "Entry must be whole number between 5 and 50"},
    {5, "CWTone1Set", 3, 7, "200", "3501", "CW Tone 1 Port 3", kTone},
    {5, "CwTone2Set", 3, 8, "000", "199", "CW Tone 2 Port 3", "Entry must be whole number between 200 and 3500, or 0"},
    {5, "CwTone2Set", 1, 8, "3500", "1", "CW Tone 2 Port 1", "Entry must be whole number between 200 and 3500, or 0"},
    {6, "MessageSet", 8, 1, Repeat("ONE", 9), Repeat("ONE", 10), "Message Macro 8", kMessage},
    {6, "MessageSet", 8, 1, "DVR19", "HELLO DVR20", "Message Macro 8", kMessage},
    {6, "MessageSet", 8, 1, "hello", "HELLO XYZZY", "Message Macro 8", kMessage},
};

TEST_F(SequenceEditors, EveryFieldRefusesWithItsOwnWarningAndApplyStops)
{
    for (const Refused& r : kRefused) {
        SCOPED_TRACE(std::string(r.name) + " " + std::to_string(r.slot) + " " + r.bad.toStdString());
        prompts = ScriptedPrompts();
        r.editor == 7 ? (void)Open<DTMFEditor>() : r.editor == 5 ? (void)Open<IDEditor>() : (void)Open<MessageMacrosEditor>();
        Focus(r.name, r.slot);
        ui->Type(r.name, r.slot, r.good);
        EXPECT_TRUE(ui->Leave(r.name, r.slot));
        ui->Type(r.name, r.slot, r.bad);
        EXPECT_EQ(editor->Pending(), r.number);
        prompts.Answer(Answer::Ok, r.title);
        EXPECT_FALSE(ui->Leave(r.name, r.slot));
        EXPECT_EQ(prompts.prompts().back().text, r.text);
        EXPECT_EQ(prompts.prompts().back().style, 48);
        const M before = model;
        prompts.Answer(Answer::Ok, r.title);
        if (r.editor != 7) // the DTMF editor stops on the field's warning alone
            prompts.Answer(Answer::Ok, "APPLY FAIL");
        ui->Apply();
        EXPECT_EQ(prompts.pending(), 0u);
        EXPECT_EQ(model.DatFileSaved, before.DatFileSaved);
        EXPECT_EQ(editor->Pending(), r.number);
    }
}

// ---- DTMF memories: spacing, counting and both terminators

struct MemoryCase {
    const char* terminator;
    const char* newTerminator;
    const char* typed;
    bool accepted;
    const char* shown;
    const char* counter;
    const char* warning;      // title of the box shown on leaving, or nullptr
    const char* applyWarning; // title of the box Apply shows, or nullptr
    // A digit then double-clicked from the list into the memory, and memory 5 typed before
    // Apply: the memory is never left again.
    const char* picked = nullptr;
    const char* stored = nullptr; // memory 4 after Apply when not `shown`
    bool cancelled = false;       // then Cancel Changes, typed and left again: warned again
};

const MemoryCase kMemories[] = {
    {"D", "", "12a#", true, "1 2 A #", "4", nullptr, nullptr},
    {"D", "", "", true, "NONE STORED", "0", nullptr, nullptr},
    {"#", "", "12#", true, "1 2 #", "3", "DTMF Strings", nullptr}, // warned once, still applied
    {"#", "", "12#", true, "1 2 #", "3", "DTMF Strings", nullptr, nullptr, nullptr, true},
    {"a", "", "1A", true, "1 A", "2", "DTMF Strings", nullptr},
    {"#", "D", "1D", false, "1 D", "2", "DTMF Memory 4", "DTMF Memory 4"},
    {"", "", "1 2 3", true, "1 2 3", "3", nullptr, nullptr}, // no terminator is in no memory
    {"#", " ", "123", true, "1 2 3", "3", nullptr, nullptr},
    {"D", "", "12", true, "1 2", "2", nullptr, "DTMF Strings", "D", "1 2 D"},
    {"#", "", "12#", true, "1 2 #", "3", "DTMF Strings", "DTMF Strings", "#", "1 2 # #"}, // a new value
    {"#", "D", "12", true, "1 2", "2", nullptr, "DTMF Memory 4", "D", "NONE STORED"},
};

TEST_F(SequenceEditors, DTMFMemoryIsSpacedCountedAndCheckedAgainstBothTerminators)
{
    for (const MemoryCase& c : kMemories) {
        SCOPED_TRACE(std::string(c.typed) + (c.picked ? c.picked : ""));
        model = Defaults();
        model.Terminator = c.terminator;
        model.NewTerminator = c.newTerminator;
        prompts = ScriptedPrompts();
        Open<DTMFEditor>();
        Focus("DTMFSet", 4);
        if (c.warning)
            prompts.Answer(Answer::Ok, c.warning);
        ui->Type("DTMFSet", 4, c.typed);
        EXPECT_EQ(ui->Leave("DTMFSet", 4), c.accepted);
        EXPECT_EQ(ui->Text("DTMFSet", 4), c.shown);
        EXPECT_EQ(Label("DigitCounter"), c.counter);
        if (c.warning && c.accepted) {
            EXPECT_EQ(prompts.prompts().back().text, TerminatorInMemoryText(c.terminator));
        }
        if (c.cancelled) {
            prompts.Answer(Answer::Yes, "DTMF CANCEL CHANGES").Answer(Answer::Ok, c.warning);
            ui->CancelChanges();
            ui->Type("DTMFSet", 4, c.typed);
            EXPECT_EQ(ui->Leave("DTMFSet", 4), c.accepted);
        }
        if (c.picked) {
            Pick("DTMFList", c.picked);
            Focus("DTMFSet", 5);
            ui->Type("DTMFSet", 5, "9");
        }
        if (c.applyWarning)
            prompts.Answer(Answer::Ok, c.applyWarning);
        ui->Apply();
        EXPECT_EQ(model.DTMF(4), c.stored ? c.stored : c.accepted ? c.shown : "NONE STORED");
        if (c.warning && c.accepted) { // applied after its warning: left again, not warned again
            EXPECT_TRUE(ui->Leave("DTMFSet", 4));
            prompts.Answer(Answer::Yes, "DTMF CANCEL CHANGES"); // kept, not thrown away
            ui->CancelChanges();
            EXPECT_TRUE(ui->Leave("DTMFSet", 4));
        }
        EXPECT_EQ(prompts.pending(), 0u);
    }
}

// ---- The pick lists: insertion at the caret, separators, counters, "NONE STORED"

TEST_F(SequenceEditors, PickListsInsertAtTheCaretOfTheBoxFocusedLast)
{
    model.MessageMacro(12) = "HELLO";
    auto& messages = Open<MessageMacrosEditor>();
    Focus("MessageSet", 15);
    EXPECT_EQ(ui->Text("MessageSet", 15), ""); // emptied for typing
    Focus("MessageSet", 15, false);
    EXPECT_EQ(ui->Text("MessageSet", 15), "NONE STORED"); // left empty: shown again
    Focus("MessageSet", 12);
    ui->Get<QLineEdit>("MessageSet", 12)->setCursorPosition(0);
    Pick("VocabList", " "); // the separator inserts nothing
    Pick("VocabList", "DVR19");
    EXPECT_EQ(ui->Text("MessageSet", 12), "DVR19 HELLO");
    EXPECT_EQ(Label("CharCounter"), "2");
    EXPECT_EQ(messages.CurrentMessage(), 12);

    auto& ids = Open<IDEditor>();
    auto* vocab = ui->Get<QListWidget>("VocabList");
    auto* cw = ui->Get<QListWidget>("CwList");
    EXPECT_TRUE(vocab->isVisibleTo(&ids) && !vocab->isEnabled() && !cw->isVisibleTo(&ids));
    ids.Tabs()->setCurrentIndex(1);
    Focus("CWID2Set", 2);
    EXPECT_TRUE(cw->isVisibleTo(&ids) && cw->isEnabled() && !vocab->isVisibleTo(&ids));
    EXPECT_TRUE(ui->Get<QLabel>("CWCharLabel")->isVisibleTo(&ids));
    ui->Type("CWID2Set", 2, "v  m");
    ui->Get<QLineEdit>("CWID2Set", 2)->setCursorPosition(1);
    Pick("CwList", "8");
    EXPECT_EQ(Label("CWCharCounter"), "3");
    EXPECT_TRUE(ui->Leave("CWID2Set", 2));
    EXPECT_EQ(ui->Text("CWID2Set", 2), "V 8 M"); // upper-cased and squashed when left
    EXPECT_FALSE(cw->isEnabled());                // a passed check puts the list away
    Focus("VoiceID3Set", 2);
    EXPECT_TRUE(vocab->isEnabled() && !cw->isVisibleTo(&ids));
}

// A bad voice ID left for the pick list must not reach the model from another port's tab.
TEST_F(SequenceEditors, ABadVoiceIDIsRefusedByApplyFromAnotherPort)
{
    auto& ids = Open<IDEditor>();
    Focus("VoiceID1Set", 1);
    ui->Type("VoiceID1Set", 1, "XYZZY");
    ids.Tabs()->setCurrentIndex(1);
    prompts.Answer(Answer::Ok, "Voice ID1 Port 1").Answer(Answer::Ok, "APPLY FAIL");
    ui->Apply();
    EXPECT_EQ(prompts.pending(), 0u);
    EXPECT_EQ(model.VoiceID1(1), Defaults().VoiceID1(1));
    EXPECT_EQ(ids.CurrentPort(), 1); // brought back to the refused box
}

// The ID lists with the focus moved as the operator moves it, in a shown window: a word goes
// into the box chosen last (voice ID 3) of the port tab in front, whether the list or that
// box had the focus when the tab changed.
TEST_F(SequenceEditors, IDListsInsertIntoTheChosenBoxOfThePortInFront)
{
    for (int p = 1; p <= 2; ++p)
        for (auto id : {&M::VoiceID1, &M::VoiceID3})
            (model.*id)(p) = "HELLO";
    auto& ids = Open<IDEditor>();
    ids.show();
    ids.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&ids));
    auto* vocab = ui->Get<QListWidget>("VocabList");
    const auto click = [](QWidget* w, QPoint at = {}) { QTest::mouseClick(w, Qt::LeftButton, {}, at); };
    const auto clickTab = [&](int port) {
        QTabBar* bar = ids.Tabs()->tabBar();
        click(bar, bar->tabRect(port - 1).center());
        ASSERT_EQ(ids.CurrentPort(), port);
    };
    const auto doubleClick = [&](const QString& word) {
        QListWidgetItem* row = vocab->findItems(word, Qt::MatchExactly).value(0);
        ASSERT_NE(row, nullptr);
        vocab->scrollToItem(row);
        const QPoint at = vocab->visualItemRect(row).center();
        click(vocab->viewport(), at);
        QTest::mouseDClick(vocab->viewport(), Qt::LeftButton, {}, at);
    };
    const auto box = [&](const char* name, int port) { return ui->Get<QLineEdit>(name, port); };

    // The list has the focus when the tab changes.
    click(box("VoiceID3Set", 1));
    ASSERT_EQ(QApplication::focusWidget(), box("VoiceID3Set", 1));
    click(vocab->viewport(), vocab->visualItemRect(vocab->item(0)).center());
    ASSERT_EQ(QApplication::focusWidget(), vocab);
    clickTab(2);
    doubleClick("EIGHT");
    EXPECT_EQ(box("VoiceID3Set", 2)->text(), "HELLO EIGHT");
    EXPECT_EQ(box("VoiceID3Set", 1)->text(), "HELLO") << "nothing goes into a box out of sight";

    // The box has the focus when the tab changes: the page switch puts it into the first box
    // of the new page, which the operator did not choose.
    clickTab(1);
    click(box("VoiceID3Set", 1));
    clickTab(2);
    ASSERT_TRUE(ids.Tabs()->currentWidget()->isAncestorOf(QApplication::focusWidget()));
    ASSERT_NE(QApplication::focusWidget(), box("VoiceID3Set", 2));
    doubleClick("ONE");
    EXPECT_EQ(box("VoiceID3Set", 2)->text(), "HELLO EIGHT ONE");
    EXPECT_EQ(box("VoiceID1Set", 2)->text(), "HELLO");
    EXPECT_EQ(box("VoiceID3Set", 1)->text(), "HELLO");
}

// A box only passed through shows what it showed: the editor has nothing to apply, and the
// main window lets the operator leave the tab.
TEST_F(SequenceEditors, ABoxLeftAsItWasLeavesNothingPending)
{
    Open<IDEditor>();
    for (const char* name : {"VoiceID1Set", "CWID2Set"}) {
        EXPECT_TRUE(ui->Leave(name, 2));
        EXPECT_EQ(model.giIDUnapplied, -1) << name;
    }
}

TEST_F(SequenceEditors, EmptiedCWNumbersTakeTheirLowestValues)
{
    Open<IDEditor>();
    for (const auto& [name, value] : {std::pair{"CWSpeedSet", "5"}, {"CWTone1Set", "200"}, {"CwTone2Set", "0"}}) {
        ui->Type(name, 2, "");
        EXPECT_TRUE(ui->Leave(name, 2));
        EXPECT_EQ(ui->Text(name, 2), value);
    }
}

// ---- Element counts without the clock option

TEST_F(SequenceEditors, WithoutTheClockOptionTheExtraElementsAreOutOfReachAndUntouched)
{
    model.HasRTC = kFalse;
    for (int n = 1; n <= 70; ++n)
        model.MessageMacro(n) = model.DTMF(std::min(n, 50)) = "1"; // not as Apply would store them
    auto& dtmf = Open<DTMFEditor>();
    EXPECT_TRUE(dtmf.Tabs()->isTabEnabled(0) && !dtmf.Tabs()->isTabEnabled(1) && !dtmf.Tabs()->isTabEnabled(2));
    Focus("DTMFSet", 20);
    ui->Type("DTMFSet", 20, "9");
    ui->Apply();
    auto& messages = Open<MessageMacrosEditor>();
    for (int page = 0; page < 7; ++page)
        EXPECT_EQ(messages.Tabs()->isTabEnabled(page), page < 4) << page;
    Focus("MessageSet", 40);
    ui->Type("MessageSet", 40, "HELLO");
    ui->Apply();
    EXPECT_EQ(model.DTMF(20) + model.MessageMacro(40), "9HELLO");
    for (int n = 21; n <= 70; ++n) {
        const int memory = std::min(n, 50);
        EXPECT_EQ(model.DTMF(memory) + std::to_string(model.DTMFChangedItem(memory)), "10") << n;
        if (n > 40) {
            EXPECT_EQ(model.MessageMacro(n) + std::to_string(model.MessageMacroChanged(n)), "10") << n;
        }
    }
}

// ---- Apply: area flags, and every change reaches the upload of changes

struct Change {
    int editor;
    std::function<void(EditorDriver&)> act;
    Flag M::*area;       // raised by this Apply (nullptr: none of the ID areas)
};

const Change kChanges[] = {
    {7, [](EditorDriver& ui) { ui.Type("DTMFSet", 3, "12A#"); }, &M::DTMFChanged},
    {7, [](EditorDriver& ui) { ui.Type("DTMFSet", 50, "0"); }, &M::DTMFChanged},
    {7, [](EditorDriver& ui) { ui.Type("DTMFDurSet", 0, "99"); }, &M::DTMFChanged},
    {7, [](EditorDriver& ui) { ui.Type("DTMFDelaySet", 0, "88"); }, &M::DTMFChanged},
    {5, [](EditorDriver& ui) { ui.Type("VoiceID1Set", 1, "HELLO"); }, &M::IDsChanged},
    {5, [](EditorDriver& ui) { ui.Type("VoiceID2Set", 2, "HELLO"); }, &M::IDsChanged},
    {5, [](EditorDriver& ui) { ui.Type("VoiceID3Set", 3, "HELLO"); }, &M::IDsChanged},
    {5, [](EditorDriver& ui) { ui.Type("CWID1Set", 1, "A B"); }, &M::IDsChanged},
    {5, [](EditorDriver& ui) { ui.Type("CWID2Set", 2, "A B"); }, &M::IDsChanged},
    {5, [](EditorDriver& ui) { ui.Type("CWSpeedSet", 3, "33"); }, &M::IDsChanged},
    {5, [](EditorDriver& ui) { ui.Type("CWTone1Set", 1, "900"); }, &M::IDsChanged},
    {5, [](EditorDriver& ui) { ui.Type("CwTone2Set", 2, "901"); }, &M::IDsChanged},
    {5, [](EditorDriver& ui) { ui.Click("SpeechEnabled", 3); }, nullptr},
    {5, [](EditorDriver& ui) { ui.Choose("ID1ExtrasSet", 1, 4); }, &M::IDExtrasChanged},
    {5, [](EditorDriver& ui) { ui.Choose("ID2ExtrasSet", 2, 5); }, &M::IDExtrasChanged},
    {5, [](EditorDriver& ui) { ui.Choose("ID3ExtrasSet", 3, 6); }, &M::IDExtrasChanged},
    {6, [](EditorDriver& ui) { ui.Type("MessageSet", 1, "HELLO"); }, &M::MessageMacrosChanged},
    {6, [](EditorDriver& ui) { ui.Type("MessageSet", 70, "HELLO"); }, &M::MessageMacrosChanged},
};

TEST_F(SequenceEditors, EveryAppliedChangeRaisesItsAreaAndGoesOutWithTheNextUploadOfChanges)
{
    for (const Change& c : kChanges) {
        SCOPED_TRACE(&c - kChanges);
        model = Defaults();
        model.IDsChanged = model.IDExtrasChanged = model.MessageMacrosChanged = model.DTMFChanged = kFalse;
        c.editor == 7 ? (void)Open<DTMFEditor>() : c.editor == 5 ? (void)Open<IDEditor>() : (void)Open<MessageMacrosEditor>();
        const auto before = ChangedUploadLines(model);
        c.act(*ui);
        ui->Apply();
        EXPECT_EQ(editor->Pending(), -1);
        EXPECT_EQ(ChangedUploadLines(model).size(), before.size() + 1);
        for (Flag M::*area : {&M::IDsChanged, &M::IDExtrasChanged, &M::MessageMacrosChanged, &M::DTMFChanged})
            EXPECT_EQ(model.*area, area == c.area ? kTrue : kFalse);
        EXPECT_EQ(model.DatFileSaved, kFalse);
    }
    // An Apply of nothing still marks the file unsaved while an ID item awaits the upload.
    model = Defaults();
    model.CWID2Changed(3) = kTrue;
    Open<IDEditor>();
    ui->Apply();
    EXPECT_EQ(model.DatFileSaved, kFalse);
}

// ---- The DVR frame

TEST_F(SequenceEditors, DVRFrameRecordsTheChosenPlayableFileIntoTheChosenTrack)
{
    TempFolder folder;
    const std::string wav = folder.file("net.wav");
    WriteFile(wav, WavImage(200));
    auto& messages = Open<MessageMacrosEditor>();
    prompts.Answer(Answer::Ok, kDvrRecordTitle);
    ui->Click("SendTo880"); // no file yet: refused, nothing sent
    fakes.dialogs.Open(wav).Open("");
    ui->Click("GetFile");
    ui->Click("GetFile"); // cancelled: the file chosen before stays
    EXPECT_EQ(messages.WavFileName(), wav);
    EXPECT_EQ(fakes.dialogs.shown().front().title, "Open Wav File");
    EXPECT_EQ(fakes.dialogs.shown().front().filter, "Wav Files (*.wav)|*.wav");
    ui->Choose("DVRTrackSet", 0, 11);
    prompts.Answer(Answer::Ok);
    ui->Click("SendTo880");
    EXPECT_EQ(fakes.link.calls, (std::vector<std::string>{"open", "send 1*700212", "send 1*700112", "send G",
                                                          "send S", "release"}));
    EXPECT_EQ(prompts.prompts().back().text, kDvrRecordComplete);
    std::filesystem::remove(wav);
    prompts.Answer(Answer::Ok, kDvrRecordTitle);
    ui->Click("SendTo880"); // gone since it was chosen: refused
    EXPECT_EQ(fakes.link.calls.size(), 6u);
    EXPECT_EQ(model.giMessageMacrosUnapplied, -1); // recording is no edit
    EXPECT_EQ(prompts.pending(), 0u);
}

} // namespace
} // namespace vm880::test
