// Send of new access codes on the real back-ends: the serial one against the simulated
// controller, the radio one with a recording keyer and sound output.

#include "../link/upload_rig.h"
#include "editors/functions/unlock_codes.h"
#include "fake_editor_services.h"
#include "interfaces/file_viewer.h"
#include "link/controller_links.h"
#include "model/reader.h"

#include <gtest/gtest.h>

#include <algorithm>

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


// ---- One rule for new codes: the reader, Send (both links) and Save give the same verdict

struct CodeCase {
    const char* name;
    std::vector<std::string> typed;   // the new codes of boxes 1 to 5
    int refused;                      // the box Send and Save refuse; 0: taken
    std::vector<std::string> dropped; // the pending codes the reader clears
    std::string lock = "#", port2 = "27306"; // codes in force beside SetCodes' others
};

const CodeCase kCodeCases[] = {
    // Keyed with the old terminator, "12D3" would end at its "D".
    {"new code holds the terminator in force", {"12D3", "", "", "", "C"}, 1, {"NewPortUnlock(1)"}},
    {"new lock code holds the terminator in force", {"", "", "", "5D", ""}, kLockBox, {"NewLock"}},
    {"new lock code holds it beside a new terminator", {"", "", "", "5D", "C"}, kLockBox, {"NewLock"}},
    {"new code holds the new terminator", {"", "2C", "", "", "C"}, 2, {"NewPortUnlock(2)"}},
    {"code in force holds the new terminator", {"", "", "", "", "7"}, 1, {"NewTerminator"}},
    // Every code that holds the "7" is replaced by the same change.
    {"new terminator only in codes being replaced", {"1111", "2222", "3333", "", "7"}, 0, {}},
    {"codes without terminator digits", {"A1B2", "", "", "*", "C"}, 0, {}},
    {"new codes, no new terminator", {"1111", "", "", "9", ""}, 0, {}},
    // The new terminator is part of a code that stays in force; once it goes, the new unlock
    // code holding it is keyed with the terminator in force and ends as typed.
    {"lock code in force holds the new terminator", {"1C", "", "", "", "C"}, 1, {"NewTerminator"}, "C"},
    {"new and replaced code both hold the new terminator", {"", "2#", "", "", "#"}, 2, {"NewTerminator"}, "*", "2A*#"},
    {"new lock and lock in force both hold it", {"", "", "", "5C", "C"}, kLockBox, {"NewTerminator"}, "C"},
    // Dropped for the terminator in force, "12D3" leaves "17306" in force, which holds the "7".
    {"new code and new terminator both go", {"12D3", "", "", "", "7"}, 1, {"NewPortUnlock(1)", "NewTerminator"}},
};

const char* const kPendingKeys[] = {"NewPortUnlock(1)", "NewPortUnlock(2)", "NewPortUnlock(3)", "NewLock",
                                    "NewTerminator"};

// Reads a settings file holding the case's codes in force and `typed` as pending codes.
void ReadPending(const CodeCase& c)
{
    struct NoViewer : FileViewer {
        bool Open(const std::string&) override { return true; }
    } viewer;
    TempFolder dir;
    std::string text = "[Version]\r\nFirmwareVersion=60\r\nHasRTC=1\r\n[Unlock]\r\n"
                       "CurrentPortUnlock(1)=17306\r\nCurrentPortUnlock(2)=" + c.port2 + "\r\n"
                       "CurrentPortUnlock(3)=37306\r\nLock=" + c.lock + "\r\nTerminator=D\r\n";
    for (int box = 1; box <= kCodeBoxes; ++box)
        text += std::string(kPendingKeys[box - 1]) + "=" + c.typed[static_cast<std::size_t>(box - 1)]
                + "\r\n";
    const std::string dat = dir.file("pending.dat");
    WriteFile(dat, text);
    ScriptedPrompts quiet;
    quiet.AcceptNotices().Always(Answer::No, "DAT File Errors");
    KeyAccess keys{quiet};
    ConfigModel m;
    m.DatFilePath = dat;
    FileLoadServices services{m, keys, quiet, viewer, dir.path().string(),
                              [] { return std::string("20261209 0815"); }};
    ASSERT_EQ(FileLoad(services).outcome, FileLoadResult::Loaded);
    const std::string report = ReadFile(dir.file("error.log"));
    const Text* pending[] = {&m.NewPortUnlock(1), &m.NewPortUnlock(2), &m.NewPortUnlock(3), &m.NewLock,
                             &m.NewTerminator};
    for (int box = 1; box <= kCodeBoxes; ++box) {
        const std::string key = kPendingKeys[box - 1];
        const bool dropped = std::find(c.dropped.begin(), c.dropped.end(), key) != c.dropped.end();
        EXPECT_EQ(*pending[box - 1], dropped ? "" : c.typed[static_cast<std::size_t>(box - 1)]) << key;
        EXPECT_EQ(report.find("Unlock/Lock/Terminator: New") != std::string::npos &&
                      report.find("DAT item: " + key + "\r\n") != std::string::npos,
                  dropped)
            << key << report;
    }
}

TEST(AccessCodeRule, TheReaderSendOnBothLinksAndSaveGiveOneVerdict)
{
    for (const CodeCase& c : kCodeCases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.refused != 0, !c.dropped.empty()) << "the window refuses what the reader drops";
        {
            SCOPED_TRACE("reader");
            ReadPending(c);
        }
        // The window refuses before anything is sent or written.
        auto refusal = [&](UnlockCodes& codes, ConfigModel& m, ScriptedPrompts& prompts, bool send) {
            m.Lock = c.lock;
            m.CurrentPortUnlock(2) = c.port2;
            codes.Load();
            for (int box = 1; box <= kCodeBoxes; ++box)
                codes.Change(box, c.typed[static_cast<std::size_t>(box - 1)]);
            if (send && c.refused == 0)
                prompts.Answer(Answer::Yes, "UPDATE CONTROLLER");
            const int refused = send ? codes.Send() : codes.Save();
            EXPECT_EQ(refused, c.refused);
            if (c.refused != 0) {
                EXPECT_NE(prompts.titles().back().find("Terminator Conflict"), std::string::npos);
                EXPECT_EQ(prompts.pending(), 0u);
            }
            return refused;
        };
        {
            SCOPED_TRACE("serial send");
            SerialCodesRig rig;
            refusal(rig.codes, rig.model, rig.prompts, true);
            EXPECT_EQ(rig.sim.Commands().empty(), c.refused != 0);
            EXPECT_EQ(rig.model.CurrentPortUnlock(1) != "17306", c.refused == 0 && !c.typed[0].empty());
        }
        {
            SCOPED_TRACE("radio send");
            RadioCodesRig rig;
            refusal(rig.codes, rig.model, rig.prompts, true);
            EXPECT_EQ(rig.sound.played.empty(), c.refused != 0);
            EXPECT_EQ(rig.timeline.events().empty(), c.refused != 0) << "not even keyed";
            EXPECT_EQ(rig.model.Terminator != "D", c.refused == 0 && !c.typed[4].empty());
        }
        {
            SCOPED_TRACE("save");
            SerialCodesRig rig;
            if (refusal(rig.codes, rig.model, rig.prompts, false) == 0) {
                for (int box = 1; box <= kCodeBoxes; ++box)
                    EXPECT_EQ(rig.Key(kPendingKeys[box - 1]), c.typed[static_cast<std::size_t>(box - 1)]);
            }
            EXPECT_TRUE(rig.sim.Commands().empty());
        }
    }
}

} // namespace
} // namespace vm880::test
