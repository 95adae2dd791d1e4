// The message macro editor: the message check and its one message, the word list and
// counter, "NONE STORED" on focus, the message count without the clock option, the changes
// an upload then sends, and the DVR frame: the file dialog, the track, and a recording that
// goes out over the editor's link only with a playable file.

#include "editor_driver.h"
#include "editors/functions/message_macros_editor.h"
#include "fake_editor_services.h"
#include "link/dvr_record.h"
#include "loaded_model.h"
#include "sequence_helpers.h"
#include "temp_folder.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>

namespace vm880::test {
namespace {

using M = ConfigModel;

// The defaults with the area flag lowered, so that a test sees what Apply raises.
ConfigModel Fresh()
{
    ConfigModel m = Defaults();
    m.MessageMacrosChanged = kFalse;
    return m;
}

constexpr const char* kInvalid =
    "Invalid Message Macro Contents or Message Macro contains 'DVR20' (not allowed in Message Macros) or "
    "Message Macro contains more than 9 words";

class MessageMacrosEditorTest : public ::testing::Test {
protected:
    void Open()
    {
        editor = std::make_unique<MessageMacrosEditor>(fakes.For(model));
        editor->Load();
        ui = std::make_unique<EditorDriver>(*editor);
    }
    bool Enter(int n, const QString& text)
    {
        ui->Type("MessageSet", n, text);
        return ui->Leave("MessageSet", n);
    }
    QString Counter() const { return ui->Get<QLabel>("CharCounter")->text(); }

    ConfigModel model = Fresh();
    ScriptedPrompts prompts;
    FakeEditorServices fakes{prompts};
    std::unique_ptr<MessageMacrosEditor> editor;
    std::unique_ptr<EditorDriver> ui;
};

struct MessageCase {
    const char* typed;
    bool accepted;
    const char* stored;
};

const MessageCase kMessages[] = {
    {"one two three four five six seven eight nine", true, "ONE TWO THREE FOUR FIVE SIX SEVEN EIGHT NINE"},
    {"one two three four five six seven eight nine ten", false, nullptr},
    {"HELLO DVR20", false, nullptr},
    {"HELLO XYZZY", false, nullptr},
    {"  hello    dvr19 ", true, "HELLO DVR19"},
    {"", true, "NONE STORED"},
};

TEST_F(MessageMacrosEditorTest, MessagesAreSquashedUpperCasedAndCheckedWithOneMessage)
{
    for (const MessageCase& c : kMessages) {
        SCOPED_TRACE(c.typed);
        model = Fresh();
        model.MessageMacro(8) = "HELLO";
        prompts = ScriptedPrompts();
        Open();
        if (!c.accepted)
            prompts.Answer(Answer::Ok, "Message Macro 8");
        EXPECT_EQ(Enter(8, c.typed), c.accepted);
        EXPECT_EQ(model.giMessageMacrosUnapplied, 1);
        if (!c.accepted) {
            EXPECT_EQ(prompts.prompts().back().text, kInvalid);
            EXPECT_EQ(prompts.prompts().back().style, 48);
            prompts.Answer(Answer::Ok, "Message Macro 8").Answer(Answer::Ok, "APPLY FAIL");
            ui->Apply();
            EXPECT_EQ(model.MessageMacro(8), "HELLO");
            EXPECT_EQ(model.MessageMacrosChanged, kFalse);
        } else {
            ui->Apply();
            EXPECT_EQ(model.MessageMacro(8), c.stored);
            EXPECT_EQ(model.MessageMacroChanged(8), kTrue);
            EXPECT_EQ(model.MessageMacrosChanged, kTrue);
            EXPECT_EQ(model.DatFileSaved, kFalse);
        }
        EXPECT_EQ(prompts.pending(), 0u);
    }
}

TEST_F(MessageMacrosEditorTest, WordListInsertsAtTheCaretOfTheMessageFocusedLast)
{
    model.MessageMacro(12) = "HELLO";
    Open();
    editor->Tabs()->setCurrentIndex(1);
    Focus(*ui, "MessageSet", 15);
    EXPECT_EQ(ui->Text("MessageSet", 15), ""); // "NONE STORED" emptied for typing
    Focus(*ui, "MessageSet", 15, false);
    EXPECT_EQ(ui->Text("MessageSet", 15), "NONE STORED");
    Focus(*ui, "MessageSet", 12);
    EXPECT_EQ(editor->CurrentMessage(), 12);
    EXPECT_TRUE(DoubleClick(*ui, "VocabList", " ")); // separator: nothing
    EXPECT_EQ(ui->Text("MessageSet", 12), "HELLO");
    ui->Get<QLineEdit>("MessageSet", 12)->setCursorPosition(0);
    EXPECT_TRUE(DoubleClick(*ui, "VocabList", "DVR19"));
    EXPECT_EQ(ui->Text("MessageSet", 12), "DVR19 HELLO");
    EXPECT_EQ(Counter(), "2");
    ui->Apply();
    EXPECT_EQ(model.MessageMacro(12), "DVR19 HELLO");
    EXPECT_EQ(model.MessageMacroChanged(15), kFalse);
}

TEST_F(MessageMacrosEditorTest, WithoutTheClockOptionMessages41To70AreOutOfReachAndUntouched)
{
    model.HasRTC = kFalse;
    for (int n = 1; n <= 70; ++n)
        model.MessageMacro(n) = "hello"; // not as Apply would store it
    Open();
    Focus(*ui, "MessageSet", 40);
    for (int page = 0; page < 7; ++page)
        EXPECT_EQ(editor->Tabs()->isTabEnabled(page), page < 4) << page;
    EXPECT_TRUE(Enter(40, "HELLO"));
    ui->Apply();
    EXPECT_EQ(model.MessageMacro(40), "HELLO");
    EXPECT_EQ(model.MessageMacroChanged(1), kFalse); // shown, not rewritten
    for (int n = 41; n <= 70; ++n) {
        EXPECT_EQ(model.MessageMacro(n), "hello") << n;
        EXPECT_EQ(model.MessageMacroChanged(n), kFalse) << n;
    }
}

TEST_F(MessageMacrosEditorTest, EveryAppliedMessageGoesOutWithTheNextUploadOfChanges)
{
    for (int n : {1, 40, 70}) {
        SCOPED_TRACE(n);
        model = Defaults();
        Open();
        const auto before = ChangedCommands(model);
        ui->Type("MessageSet", n, "HELLO");
        ui->Apply();
        EXPECT_EQ(ChangedCommands(model).size(), before.size() + 1);
    }
}

// A short silent PCM WAV file.
void WriteWav(const std::string& path)
{
    std::string wav = "RIFF";
    auto u32 = [&](std::uint32_t v) {
        for (int i = 0; i < 4; ++i)
            wav += static_cast<char>(v >> (8 * i));
    };
    auto u16 = [&](std::uint16_t v) {
        wav += static_cast<char>(v);
        wav += static_cast<char>(v >> 8);
    };
    u32(36 + 400);
    wav += "WAVEfmt ";
    u32(16);
    u16(1);
    u16(1);
    u32(8000);
    u32(16000);
    u16(2);
    u16(16);
    wav += "data";
    u32(400);
    wav += std::string(400, '\0');
    WriteFile(path, wav);
}

TEST_F(MessageMacrosEditorTest, DVRFrameRecordsTheChosenFileIntoTheChosenTrack)
{
    TempFolder folder;
    const std::string wav = folder.file("net.wav");
    WriteWav(wav);
    Open();
    EXPECT_EQ(editor->CurrentTrack(), 1);
    EXPECT_EQ(ui->Get<QComboBox>("DVRTrackSet")->count(), 19);

    // Without a file nothing is sent.
    prompts.Answer(Answer::Ok, kDvrRecordTitle);
    ui->Click("SendTo880");
    EXPECT_TRUE(fakes.link.calls.empty());

    fakes.dialogs.Open(wav).Open(""); // chosen, then a cancelled dialog keeps it
    ui->Click("GetFile");
    ui->Click("GetFile");
    EXPECT_EQ(editor->WavFileName(), wav);
    EXPECT_EQ(fakes.dialogs.shown().front().title, "Open Wav File");
    EXPECT_EQ(fakes.dialogs.shown().front().filter, "Wav Files (*.wav)|*.wav");

    ui->Choose("DVRTrackSet", 0, 11);
    prompts.Answer(Answer::Ok);
    ui->Click("SendTo880");
    EXPECT_EQ(fakes.link.calls, (std::vector<std::string>{"open", "send 1*700212", "send 1*700112", "send G",
                                                          "send S", "release"}));
    EXPECT_EQ(prompts.prompts().back().text, kDvrRecordComplete);
    // Recording touches neither the model nor the pending state.
    EXPECT_EQ(model.giMessageMacrosUnapplied, -1);
    EXPECT_EQ(model.MessageMacrosChanged, kFalse);
    EXPECT_EQ(prompts.pending(), 0u);

    // The file went away since it was chosen: refused, nothing sent.
    std::filesystem::remove(wav);
    fakes.link.calls.clear();
    prompts.Answer(Answer::Ok, kDvrRecordTitle);
    ui->Click("SendTo880");
    EXPECT_TRUE(fakes.link.calls.empty());
}

} // namespace
} // namespace vm880::test
