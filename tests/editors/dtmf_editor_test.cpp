// The DTMF editor: each field's refusal, the memory rules (spacing, ten digits, the current
// and the coming terminator), the digit list and counter, the memory count without the
// clock option, and that every applied change goes out with the next upload of changes.

#include "editor_driver.h"
#include "editors/ports/dtmf_editor.h"
#include "fake_editor_services.h"
#include "loaded_model.h"
#include "sequence_helpers.h"

#include <QLabel>
#include <QTabWidget>

#include <algorithm>

namespace vm880::test {
namespace {

using M = ConfigModel;

class DTMFEditorTest : public ::testing::Test {
protected:
    void Open()
    {
        editor = std::make_unique<DTMFEditor>(fakes.For(model));
        editor->Load();
        ui = std::make_unique<EditorDriver>(*editor);
    }
    // Types into memory n and leaves it; false when it was refused.
    bool Enter(int n, const QString& text)
    {
        ui->Type("DTMFSet", n, text);
        return ui->Leave("DTMFSet", n);
    }
    QString Counter() const { return ui->Get<QLabel>("DigitCounter")->text(); }

    ConfigModel model = Defaults();
    ScriptedPrompts prompts;
    FakeEditorServices fakes{prompts};
    std::unique_ptr<DTMFEditor> editor;
    std::unique_ptr<EditorDriver> ui;
};

struct Refused {
    const char* name;
    int slot;
    int number;
    const char* typed;
    const char* title;
    const char* text;
};

constexpr const char* kMemoryText = "Invalid DTMF String or DTMF String contains more characters than 10";
constexpr const char* kDurationText =
    "DTMF Paramaters: Duration is invalid.  Must be integer number between 1 and 255";
constexpr const char* kDelayText = "DTMF Paramaters: Delay is invalid.  Must be integer number between 1 and 255";

const Refused kRefused[] = {
    {"DTMFSet", 3, 1, "12345678901", "DTMF Memory 3", kMemoryText},
    {"DTMFSet", 17, 1, "1E", "DTMF Memory 17", kMemoryText},
    {"DTMFSet", 50, 1, "12 x", "DTMF Memory 50", kMemoryText},
    {"DTMFDurSet", 0, 2, "0", "DTMF Paramters: Duration", kDurationText},
    {"DTMFDurSet", 0, 2, "256", "DTMF Paramters: Duration", kDurationText},
    {"DTMFDelaySet", 0, 3, "0", "DTMF Paramters: Delay", kDelayText},
    {"DTMFDelaySet", 0, 3, "256", "DTMF Paramters: Delay", kDelayText},
};

TEST_F(DTMFEditorTest, EveryFieldRefusesBadValuesWithItsOwnWarningAndNoApplyFailBox)
{
    Open();
    std::vector<std::pair<std::string, int>> declared;
    for (const Field* field : editor->DeclaredFields())
        declared.emplace_back(field->name(), field->number());
    EXPECT_EQ(declared, (std::vector<std::pair<std::string, int>>{
                            {"DTMFSet", 1}, {"DTMFDurSet", 2}, {"DTMFDelaySet", 3}}));
    for (const Refused& r : kRefused) {
        SCOPED_TRACE(std::string(r.name) + " " + r.typed);
        ui->Type(r.name, r.slot, r.typed);
        EXPECT_EQ(model.giDTMFUnapplied, r.number);
        prompts.Answer(Answer::Ok, r.title);
        EXPECT_FALSE(ui->Leave(r.name, r.slot));
        ASSERT_FALSE(prompts.prompts().empty());
        EXPECT_EQ(prompts.prompts().back().text, r.text);
        EXPECT_EQ(prompts.prompts().back().style, 48);
        // Apply runs the same check and stops on its warning alone.
        prompts.Answer(Answer::Ok, r.title);
        const M before = model;
        ui->Apply();
        EXPECT_EQ(prompts.prompts().back().title, r.title);
        EXPECT_EQ(model.DTMFChanged, before.DTMFChanged);
        EXPECT_EQ(model.giDTMFUnapplied, r.number);
        ui->Type(r.name, r.slot, "1"); // a good value before the next case
        EXPECT_TRUE(ui->Leave(r.name, r.slot));
    }
    EXPECT_EQ(prompts.pending(), 0u);
    const auto titles = prompts.titles();
    EXPECT_EQ(std::count(titles.begin(), titles.end(), "APPLY FAIL"), 0);
}

struct MemoryCase {
    const char* what;
    const char* terminator;
    const char* newTerminator;
    const char* typed;
    bool accepted;
    const char* shown;
    const char* counter;
    const char* warningTitle; // nullptr: no box
};

const MemoryCase kMemoryCases[] = {
    {"spaced and upper-cased", "D", "", "12a#", true, "1 2 A #", "4", nullptr},
    {"ten digits", "D", "", "1234567890", true, "1 2 3 4 5 6 7 8 9 0", "10", nullptr},
    {"emptied", "D", "", "", true, "NONE STORED", "0", nullptr},
    {"holds the current terminator", "#", "", "12#", true, "1 2 #", "3", "DTMF Strings"},
    {"lower-case current terminator", "a", "", "1A", true, "1 A", "2", "DTMF Strings"},
    {"holds the coming terminator", "#", "D", "1D", false, "1 D", "2", "DTMF Memory 4"},
    {"no terminator set is found nowhere", "", "", "1 2 3", true, "1 2 3", "3", nullptr},
    {"blank coming terminator", "#", " ", "123", true, "1 2 3", "3", nullptr},
};

TEST_F(DTMFEditorTest, MemoryIsSpacedCountedAndCheckedAgainstBothTerminators)
{
    for (const MemoryCase& c : kMemoryCases) {
        SCOPED_TRACE(c.what);
        model = Defaults();
        model.Terminator = c.terminator;
        model.NewTerminator = c.newTerminator;
        prompts = ScriptedPrompts();
        Open();
        Focus(*ui, "DTMFSet", 4);
        if (c.warningTitle)
            prompts.Answer(Answer::Ok, c.warningTitle);
        EXPECT_EQ(Enter(4, c.typed), c.accepted);
        EXPECT_EQ(ui->Text("DTMFSet", 4), c.shown);
        EXPECT_EQ(Counter(), c.counter);
        EXPECT_EQ(prompts.prompts().size(), c.warningTitle ? 1u : 0u);
        if (c.warningTitle) {
            const std::string& text = prompts.prompts().back().text;
            if (c.accepted)
                EXPECT_EQ(text, TerminatorInMemoryText(c.terminator));
            else
                EXPECT_NE(text.find("('D')"), std::string::npos);
        }
        if (c.accepted) {
            if (c.warningTitle)
                prompts.Answer(Answer::Ok, c.warningTitle); // Apply checks it again
            ui->Apply();
            EXPECT_EQ(model.DTMF(4), c.shown);
            EXPECT_EQ(model.DTMFChangedItem(4), c.shown == Defaults().DTMF(4) ? kFalse : kTrue);
        }
        EXPECT_EQ(prompts.pending(), 0u);
    }
}

TEST_F(DTMFEditorTest, DigitListInsertsAtTheCaretOfTheMemoryFocusedLast)
{
    model.DTMF(2) = "1 2";
    Open();
    Focus(*ui, "DTMFSet", 7); // "NONE STORED" is emptied for typing
    EXPECT_EQ(ui->Text("DTMFSet", 7), "");
    Focus(*ui, "DTMFSet", 7, false); // left empty: shown again
    EXPECT_EQ(ui->Text("DTMFSet", 7), "NONE STORED");
    Focus(*ui, "DTMFSet", 2);
    ui->Get<QLineEdit>("DTMFSet", 2)->setCursorPosition(1);
    EXPECT_TRUE(DoubleClick(*ui, "DTMFList", "#"));
    EXPECT_EQ(ui->Text("DTMFSet", 2), "1 #  2"); // spaced when the box is left
    EXPECT_EQ(Counter(), "3");
    EXPECT_EQ(editor->CurrentMemory(), 2);
    EXPECT_EQ(model.giDTMFUnapplied, 1);
    ui->Apply();
    EXPECT_EQ(model.DTMF(2), "1 # 2");
    EXPECT_EQ(model.DTMF(7), "NONE STORED");
    EXPECT_EQ(model.DTMFChangedItem(7), kFalse);
}

TEST_F(DTMFEditorTest, EmptiedParametersBecomeOne)
{
    Open();
    for (const char* name : {"DTMFDurSet", "DTMFDelaySet"}) {
        ui->Type(name, 0, "");
        EXPECT_TRUE(ui->Leave(name));
        EXPECT_EQ(ui->Text(name), "1");
    }
    ui->Apply();
    EXPECT_EQ(model.DTMFDur, "1");
    EXPECT_EQ(model.DTMFDelay, "1");
}

TEST_F(DTMFEditorTest, WithoutTheClockOptionMemories21To50AreOutOfReachAndUntouched)
{
    model.HasRTC = kFalse;
    for (int n = 1; n <= 50; ++n)
        model.DTMF(n) = "1  2"; // not as Apply would store it
    Open();
    EXPECT_TRUE(editor->Tabs()->isTabEnabled(0));
    EXPECT_FALSE(editor->Tabs()->isTabEnabled(1));
    EXPECT_FALSE(editor->Tabs()->isTabEnabled(2));
    EXPECT_TRUE(Enter(20, "9"));
    ui->Apply();
    EXPECT_EQ(model.DTMF(20), "9");
    for (int n = 21; n <= 50; ++n) {
        EXPECT_EQ(model.DTMF(n), "1  2") << n;
        EXPECT_EQ(model.DTMFChangedItem(n), kFalse) << n;
    }
}

struct Upload {
    const char* what;
    const char* name;
    int slot;
    const char* typed;
    const char* line; // a line the upload of changes now holds
};

const Upload kUploads[] = {
    {"memory 3", "DTMFSet", 3, "12A#", "*21050312A#"},
    {"memory 50", "DTMFSet", 50, "0", "*2105500"},
    {"duration", "DTMFDurSet", 0, "99", "*210699"},
    {"delay", "DTMFDelaySet", 0, "88", "*210788"},
};

TEST_F(DTMFEditorTest, EveryAppliedChangeGoesOutWithTheNextUploadOfChanges)
{
    for (const Upload& u : kUploads) {
        SCOPED_TRACE(u.what);
        model = Defaults();
        Open();
        const auto before = ChangedCommands(model);
        ui->Type(u.name, u.slot, u.typed);
        ui->Apply();
        const auto after = ChangedCommands(model);
        EXPECT_EQ(after.size(), before.size() + 1);
        std::string all;
        for (const std::string& line : after)
            all += line + "|";
        EXPECT_NE(all.find(u.line), std::string::npos) << all;
    }
}

} // namespace
} // namespace vm880::test
