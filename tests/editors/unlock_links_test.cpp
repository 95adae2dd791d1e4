// Send of new access codes on the real back-ends: the serial one against the simulated
// controller, the radio one with a recording keyer and sound output.

#include "../link/upload_rig.h"
#include "editors/functions/unlock_codes.h"
#include "fake_editor_services.h"
#include "link/controller_links.h"

#include <gtest/gtest.h>

namespace vm880::test {
namespace {

void SetCodes(ConfigModel& m, const std::string& path)
{
    for (int p = 1; p <= 3; ++p)
        m.CurrentPortUnlock(p) = std::to_string(p) + "7306";
    m.Lock = "#";
    m.Terminator = "D";
    m.DatFilePath = path;
}

// Types the new codes (ports 1 to 3, lock, terminator) and answers Yes to the question.
void SendCodes(UnlockCodes& codes, ScriptedPrompts& prompts, const std::vector<std::string>& typed)
{
    codes.Load();
    for (int box = 1; box <= kCodeBoxes; ++box)
        codes.Change(box, typed[static_cast<std::size_t>(box - 1)]);
    prompts.Answer(Answer::Yes, "UPDATE CONTROLLER");
    codes.Send();
}

struct SerialCodesRig {
    explicit SerialCodesRig(const std::string& device = {}) : port(device.empty() ? sim.SlavePath() : device)
    {
        SetCodes(model, folder.file("club.dat"));
        model.ComPort = 2;
        serial.SetTiming({100, 3, 10});
        prompts.AcceptNotices();
    }
    std::string Key(const std::string& key)
    {
        keys.Forget();
        return keys.ReadSetting("Unlock", key, model.DatFilePath);
    }

    TempFolder folder;
    SimController sim;
    PtySerialPort port;
    SkippingClock clock;
    ConfigModel model;
    ScriptedPrompts prompts;
    FakeEditorServices fakes{prompts};
    KeyAccess& keys = fakes.keys;
    SerialLink serial{model, port, clock, prompts};
    ToneLink tone{{model, port, clock, prompts, fakes.player}};
    ControllerLinkChooser links{model, serial, tone};
    UnlockCodes codes{{model, prompts, links, fakes.busy, fakes.player, clock, fakes.dialogs, keys}};
};

TEST(UnlockSend, SerialSendsEachFlaggedCodeAsOneLineInOrder)
{
    SerialCodesRig rig;
    SendCodes(rig.codes, rig.prompts, {"1111", "2222", "3333", "*", "#"});
    EXPECT_EQ(rig.sim.Commands(),
              (std::vector<std::string>{"1*90001111", "2*90002222", "3*90003333", "1*9010*", "1*9020#"}));
    EXPECT_EQ(rig.model.CurrentPortUnlock(3), "3333");
    EXPECT_EQ(rig.model.Terminator, "#");
    EXPECT_EQ(rig.Key("CurrentPortUnlock(2)"), "2222");
    EXPECT_EQ(rig.Key("Lock"), "*");
    EXPECT_EQ(rig.Key("NewTerminator"), "");
    for (int p = 1; p <= 3; ++p)
        EXPECT_EQ(rig.model.PortUnlockChanged(p), kFalse);
    EXPECT_EQ(rig.model.LockChanged, kFalse);
    EXPECT_EQ(rig.model.TerminatorChanged, kFalse);
    EXPECT_EQ(rig.model.DatFileSaved, kTrue);
    EXPECT_EQ(rig.codes.iUnapplied(), -1);
    EXPECT_EQ(rig.codes.NewCode(1), "");
    EXPECT_FALSE(rig.port.IsOpen());
}

TEST(UnlockSend, SerialRefusalAtPortTwoRecordsPortOneOnly)
{
    SerialCodesRig rig;
    rig.sim.FaultOnPattern("2*9000", SimReply::Nack());
    SendCodes(rig.codes, rig.prompts, {"1111", "2222", "3333", "", ""});
    EXPECT_EQ(rig.sim.Commands(), (std::vector<std::string>{"1*90001111", "2*90002222"}));
    EXPECT_EQ(rig.prompts.titles().back(), kCommunicationsErrorTitle);
    const ConfigModel& m = rig.model;
    EXPECT_EQ(m.CurrentPortUnlock(1), "1111");
    EXPECT_EQ(rig.Key("CurrentPortUnlock(1)"), "1111");
    EXPECT_EQ(rig.Key("NewPortUnlock(1)"), "");
    for (int p = 2; p <= 3; ++p) {
        EXPECT_EQ(m.PortUnlockChanged(p), kTrue);
        EXPECT_EQ(m.CurrentPortUnlock(p), std::to_string(p) + "7306");
        EXPECT_EQ(rig.Key("CurrentPortUnlock(" + std::to_string(p) + ")"), "");
    }
    EXPECT_EQ(m.NewPortUnlock(2), "2222");
    EXPECT_EQ(m.transfer.UploadError, kFalse);
}

TEST(UnlockSend, APortThatCannotBeOpenedSendsAndRecordsNothing)
{
    SerialCodesRig rig("/nonexistent/tty");
    SendCodes(rig.codes, rig.prompts, {"1111", "", "", "9", ""});
    EXPECT_EQ(rig.prompts.titles().back(), kSerialPortErrorTitle);
    EXPECT_TRUE(rig.sim.Commands().empty());
    EXPECT_EQ(rig.model.CurrentPortUnlock(1), "17306");
    EXPECT_EQ(rig.model.PortUnlockChanged(1), kTrue);
    EXPECT_EQ(rig.model.LockChanged, kTrue);
    EXPECT_EQ(rig.Key("CurrentPortUnlock(1)"), "");
}

struct RadioCodesRig : RadioRig {
    RadioCodesRig()
    {
        SetCodes(model, folder.file("club.dat"));
        prompts.AcceptNotices();
    }
    FakeEditorServices fakes{prompts};
    ControllerLinkChooser links{model, serial, tone};
    UnlockCodes codes{{model, prompts, links, fakes.busy, player, clock, fakes.dialogs, keys}};
};

TEST(UnlockSend, RadioPlaysEachCodeBetweenUnlockAndLockEndingTheTerminatorWithTheOldOne)
{
    RadioCodesRig rig;
    SendCodes(rig.codes, rig.prompts, {"1111", "", "", "*", "C"});
    // Port 1's new code; the lock code and the terminator each after port 1's (new) unlock;
    // each lock with the codes in force before the change, and a last one with the new ones.
    EXPECT_EQ(rig.sound.digits(), "17306D*90001111D#D"
                                  "1111D*9010*D#D"
                                  "1111D*9020CD*D"
                                  "*C");
    EXPECT_EQ(rig.model.Terminator, "C");
    EXPECT_EQ(rig.model.Lock, "*");
    EXPECT_EQ(rig.model.CurrentPortUnlock(1), "1111");
    EXPECT_FALSE(rig.Keyed());
}

TEST(UnlockSend, RadioKeyingFailureRecordsNothing)
{
    RadioCodesRig rig;
    rig.port.failOpen = true;
    SendCodes(rig.codes, rig.prompts, {"1111", "", "", "", "C"});
    EXPECT_EQ(rig.prompts.titles().back(), kPttPortErrorTitle);
    EXPECT_TRUE(rig.sound.played.empty());
    EXPECT_EQ(rig.model.CurrentPortUnlock(1), "17306");
    EXPECT_EQ(rig.model.Terminator, "D");
    EXPECT_EQ(rig.model.TerminatorChanged, kTrue);
    EXPECT_EQ(rig.UnlockKey("CurrentPortUnlock(1)"), "");
}

} // namespace
} // namespace vm880::test
