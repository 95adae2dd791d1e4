// The rules of the unlock, lock and terminator window: checks, conflicts, what Send, Save and
// Record change in the model and the settings file, and what goes to the controller.

#include "editors/functions/unlock_codes.h"

#include "link/busy_state.h"
#include "model/config_model.h"
#include "model/key_access.h"
#include "fake_editor_services.h"
#include "scripted_prompts.h"
#include "temp_folder.h"

#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <string>
#include <vector>

namespace vm880::test {
namespace {

// The model's access codes and the settings file they are written to.
struct UnlockRig {
    explicit UnlockRig(LinkKind kind = LinkKind::Serial)
    {
        fakes.link = RecordingControllerLink(kind);
        model.DatFilePath = dir.file("codes.dat");
        WriteFile(model.DatFilePath, "[Unlock]\r\nCurrentPortUnlock(1)=17306\r\n");
        for (int p = 1; p <= 3; ++p)
            model.CurrentPortUnlock(p) = std::to_string(p) + "7306";
        model.Lock = "#";
        model.Terminator = "D";
        codes.Load();
    }

    std::string FileValue(const std::string& key)
    {
        keys.Forget();
        return keys.ReadSetting("Unlock", key, model.DatFilePath);
    }

    void TypeAll(const std::vector<std::string>& typed)
    {
        for (int box = 1; box <= kCodeBoxes; ++box)
            codes.Change(box, typed[static_cast<std::size_t>(box - 1)]);
    }

    TempFolder dir;
    ConfigModel model;
    ScriptedPrompts prompts;
    FakeEditorServices fakes{prompts};
    KeyAccess& keys = fakes.keys;
    RecordingControllerLink& link = fakes.link;
    BusyState& busy = fakes.busy;
    UnlockCodes codes{fakes.For(model)};
};

TEST(UnlockCodes, EachBoxRefusesWhatItsCheckRefusesWithItsMessage)
{
    const std::string unlock = "Unlock invalid.  Must be between 1 and 8 DTMF characters";
    const std::string lock = "Lock code invalid.  Must be between 1 and 4 DTMF characters";
    const std::string terminator = "Terminator Digit invalid.  Must be a single DTMF character";
    struct Case {
        int box;
        std::string value;
        std::string text; // empty: passes
        std::string title;
    } cases[] = {
        {1, "", "", ""},
        {1, "*#ABCD09", "", ""},
        {1, "123456789", unlock, "Unlock Code Port 1"},
        {2, "12E", unlock, "Unlock Code Port 2"},
        {3, "1 2", unlock, "Unlock Code Port 3"},
        {kLockBox, "1234", "", ""},
        {kLockBox, "12345", lock, "Lock Code"},
        {kLockBox, "X", lock, "Lock Code"},
        {kTerminatorBox, "#", "", ""},
        {kTerminatorBox, "##", terminator, "Terminator Code"},
        {kTerminatorBox, "E", terminator, "Terminator Code"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.box) + " '" + c.value + "'");
        CodeRefusal refusal;
        EXPECT_EQ(CheckNewCode(c.box, c.value, &refusal), c.text.empty());
        EXPECT_EQ(refusal.text, c.text);
        EXPECT_EQ(refusal.title, c.title);

        // Leaving the box shows the same warning, as an exclamation box.
        UnlockRig rig;
        rig.codes.Change(c.box, c.value);
        if (!c.text.empty())
            rig.prompts.Answer(Answer::Ok, c.title);
        EXPECT_EQ(rig.codes.Validate(c.box), c.text.empty());
        if (!c.text.empty()) {
            ASSERT_EQ(rig.prompts.prompts().size(), 1u);
            EXPECT_EQ(rig.prompts.prompts()[0].style, 48);
            EXPECT_EQ(rig.prompts.prompts()[0].text, c.text);
        }
    }
}

TEST(UnlockCodes, TypedCodesAreTrimmedUpperCasedAndMarkTheBoxEdited)
{
    UnlockRig rig;
    const int pending[] = {1, 1, 1, 2, 3};
    for (int box = 1; box <= kCodeBoxes; ++box) {
        rig.codes.Change(box, "  12ab# ");
        EXPECT_EQ(rig.codes.NewCode(box), "12AB#");
        EXPECT_EQ(rig.codes.iUnapplied(), pending[box - 1]);
    }
    // An empty box keeps the current code in force; an invalid one too.
    rig.codes.Change(2, "   ");
    EXPECT_EQ(rig.codes.Temp_Code(2), "27306");
    rig.codes.Change(2, "9E");
    EXPECT_EQ(rig.codes.Temp_Code(2), "27306");
    rig.codes.Change(2, "9a");
    EXPECT_EQ(rig.codes.Temp_Code(2), "9A");
}

TEST(UnlockCodes, ASendNotAnsweredYesLeavesTheNewCodesFlaggedAndSendsNothing)
{
    for (Answer answer : {Answer::No, Answer::Cancel}) {
        UnlockRig rig;
        rig.TypeAll({"", "2222", "", "", "C"});
        rig.prompts.Answer(answer, "UPDATE CONTROLLER").Answer(Answer::Ok, "CONTROLLER NOT UPDATED");
        rig.codes.Send();
        EXPECT_TRUE(rig.link.calls.empty());
        EXPECT_EQ(rig.prompts.prompts()[0].style, 547);
        EXPECT_EQ(rig.prompts.prompts()[1].style, 64);
        EXPECT_EQ(rig.prompts.prompts()[1].text, "The controller was NOT updated");
        const ConfigModel& m = rig.model;
        EXPECT_EQ(m.PortUnlockChanged(1), kFalse);
        EXPECT_EQ(m.PortUnlockChanged(2), kTrue);
        EXPECT_EQ(m.NewPortUnlock(2), "2222");
        EXPECT_EQ(m.TerminatorChanged, kTrue);
        EXPECT_EQ(m.NewTerminator, "C");
        EXPECT_EQ(m.CurrentPortUnlock(2), "27306");
        EXPECT_EQ(rig.codes.iUnapplied(), 3);
        EXPECT_EQ(rig.FileValue("NewPortUnlock(2)"), "");
    }
}

TEST(UnlockCodes, ACodeInForceThatHoldsTheTerminatorBlocksSendAndSave)
{
    struct Case {
        std::vector<std::string> typed;
        int refused;
        std::string title;
        std::string text;
    } cases[] = {
        // The current unlock code of port 2 holds the new terminator; nothing typed for it.
        {{"", "", "", "", "2"}, 2, "Unlock Code and Terminator Conflict",
         "Port 2 Unlock Code cannot contain the Terminator Digit'2'"},
        {{"1D", "", "", "", ""}, 1, "Unlock Code and Terminator Conflict",
         "Port 1 Unlock Code cannot contain the Terminator Digit'D'"},
        {{"", "", "", "1d", ""}, kLockBox, "Lock Code and Terminator Conflict",
         "Lock Code cannot contain the Terminator Digit"},
        // New codes keyed before the new terminator is in force, so ended by the old one.
        {{"12D3", "", "", "", "C"}, 1, "Unlock Code and Terminator Conflict",
         "Port 1 Unlock Code '12D3' cannot contain the Terminator Digit in force 'D'\r\n\r\n"
         "The VM880 would end the command at that digit. Send the new terminator first and the "
         "new code after it, or choose a code without that digit."},
        {{"", "", "", "5d", "C"}, kLockBox, "Lock Code and Terminator Conflict",
         "Lock Code '5D' cannot contain the Terminator Digit in force 'D'\r\n\r\n"
         "The VM880 would end the command at that digit. Send the new terminator first and the "
         "new code after it, or choose a code without that digit."},
    };
    for (const Case& c : cases) {
        for (bool send : {true, false}) {
            SCOPED_TRACE(c.text + (send ? " send" : " save"));
            UnlockRig rig;
            rig.TypeAll(c.typed);
            rig.prompts.Answer(Answer::Ok, c.title);
            EXPECT_EQ(send ? rig.codes.Send() : rig.codes.Save(), c.refused);
            ASSERT_EQ(rig.prompts.prompts().size(), 1u);
            EXPECT_EQ(rig.prompts.prompts()[0].text, c.text);
            EXPECT_EQ(rig.prompts.prompts()[0].style, 48);
            EXPECT_NE(rig.codes.iUnapplied(), -1);
            EXPECT_TRUE(rig.link.calls.empty());
        }
    }
}

TEST(UnlockCodes, SaveWritesTheNewCodesUntilTheFirstRefusal)
{
    UnlockRig rig;
    rig.TypeAll({"1111", "", "3333", "12345", "C"});
    rig.prompts.Answer(Answer::Ok, "Lock Code");
    EXPECT_EQ(rig.codes.Save(), kLockBox);
    EXPECT_EQ(rig.FileValue("NewPortUnlock(1)"), "1111");
    EXPECT_EQ(rig.FileValue("NewPortUnlock(3)"), "3333");
    EXPECT_EQ(rig.FileValue("NewLock"), "");
    EXPECT_EQ(rig.FileValue("NewTerminator"), "");
    EXPECT_EQ(rig.model.NewPortUnlock(3), "3333");
    EXPECT_EQ(rig.model.NewLock, "");

    rig.codes.Change(kLockBox, "99");
    EXPECT_EQ(rig.codes.Save(), 0);
    EXPECT_EQ(rig.FileValue("NewLock"), "99");
    EXPECT_EQ(rig.FileValue("NewTerminator"), "C");
    // Saved for later: no flag, no current code, nothing sent, the file not marked unsaved.
    EXPECT_EQ(rig.model.LockChanged, kFalse);
    EXPECT_EQ(rig.model.PortUnlockChanged(1), kFalse);
    EXPECT_EQ(rig.model.Lock, "#");
    EXPECT_EQ(rig.model.DatFileSaved, kTrue);
    EXPECT_EQ(rig.codes.iUnapplied(), -1);
    EXPECT_EQ(rig.codes.NewCode(kLockBox), "99");
}

TEST(UnlockCodes, RecordTakesTheTypedCodesWithoutChecks)
{
    UnlockRig rig;
    rig.model.NewPortUnlock(3) = "3333";
    rig.codes.Load();
    rig.TypeAll({"xyz", "", "3333", "", "DD"});
    rig.codes.Record();
    EXPECT_TRUE(rig.prompts.prompts().empty());
    EXPECT_EQ(rig.model.CurrentPortUnlock(1), "XYZ");
    EXPECT_EQ(rig.model.CurrentPortUnlock(2), "27306");
    EXPECT_EQ(rig.model.CurrentPortUnlock(3), "3333");
    EXPECT_EQ(rig.model.NewPortUnlock(3), "");
    EXPECT_EQ(rig.model.Terminator, "DD");
    EXPECT_EQ(rig.FileValue("CurrentPortUnlock(1)"), "XYZ");
    EXPECT_EQ(rig.FileValue("CurrentPortUnlock(2)"), "");
    EXPECT_EQ(rig.FileValue("Terminator"), "DD");
    EXPECT_EQ(rig.FileValue("Lock"), "");
    EXPECT_EQ(rig.codes.iUnapplied(), -1);
}

TEST(UnlockCodes, CloseWaitsForUnappliedCodesToBeCommittedOrCancelled)
{
    UnlockRig rig;
    EXPECT_TRUE(rig.codes.Close());
    rig.codes.Change(1, "55");
    rig.prompts.Answer(Answer::Ok, "Unapplied Changes");
    EXPECT_FALSE(rig.codes.Close());
    EXPECT_EQ(rig.prompts.prompts().back().text, "You have unapplied changes\r\n\r\nEither apply them or cancel them");

    rig.prompts.Answer(Answer::No, "CANCEL UPDATE");
    rig.codes.Cancel();
    EXPECT_EQ(rig.codes.NewCode(1), "55");
    EXPECT_EQ(rig.prompts.prompts().back().style, 36);
    EXPECT_EQ(rig.prompts.prompts().back().text,
              "This will cancel all changes that have not yet been sent to the controller\r\n\r\n"
              "YES to proceed, NO to continue editing the data");

    rig.prompts.Answer(Answer::Yes, "CANCEL UPDATE");
    rig.codes.Cancel();
    EXPECT_EQ(rig.codes.NewCode(1), "");
    EXPECT_TRUE(rig.codes.Close());
}

TEST(UnlockCodes, NothingChangesWhileAControllerOperationRuns)
{
    UnlockRig rig;
    rig.TypeAll({"1111", "", "", "", ""});
    auto hold = rig.busy.TryHold("Upload");
    for (int button = 0; button < 4; ++button) {
        rig.prompts.Answer(Answer::Ok, kBusyTitle);
        switch (button) {
        case 0: rig.codes.Send(); break;
        case 1: rig.codes.Save(); break;
        case 2: rig.codes.Record(); break;
        default: rig.codes.Cancel(); break;
        }
    }
    EXPECT_EQ(rig.prompts.pending(), 0u);
    EXPECT_TRUE(rig.link.calls.empty());
    EXPECT_EQ(rig.model.PortUnlockChanged(1), kFalse);
    EXPECT_EQ(rig.model.NewPortUnlock(1), "");
    EXPECT_EQ(rig.model.CurrentPortUnlock(1), "17306");
    EXPECT_EQ(rig.codes.NewCode(1), "1111");
}

} // namespace
} // namespace vm880::test
