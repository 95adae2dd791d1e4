// The upload over the radio link with a recording keyer and sound output: the keys heard,
// compared with the hand-checked transcript and its framing (each port's items between that
// port's unlock code and the lock code), and the transmitter released on every way out.

#include "link/upload_session.h"
#include "model/error_report.h"

#include "upload_rig.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <stdexcept>

namespace vm880 {
namespace {

using test::GoldenRow;
using test::RadioRig;
using test::RecordedPrompt;

// The keys a listener hears for a transcript row: blanks between commands and the codes
// that play nothing (shown in brackets) left out.
std::string Heard(const std::string& text)
{
    std::string keys;
    int depth = 0;
    for (char ch : text) {
        if (ch == '(')
            ++depth;
        else if (ch == ')')
            --depth;
        else if (depth == 0 && ch != ' ')
            keys += ch;
    }
    return keys;
}

// The access codes as the reference model holds them, and as a complete upload leaves them.
struct Codes {
    std::string unlock[4] = {"", "17306", "27306", "37306"};
    std::string lock = "#";
    std::string terminator = "D";

    std::string Unlock(int port) const { return unlock[port] + terminator; }
    std::string Lock() const { return lock + terminator; }
};

// What a complete upload plays, built from the transcript's rows and framing notes alone;
// the controller reset last, when `reset`.
std::string ExpectedCompleteUpload(const std::vector<GoldenRow>& rows, bool reset)
{
    Codes codes;
    const std::map<std::string, std::pair<int, std::string>> newUnlock = {
        {"PortUnlock(1)", {1, "11234"}}, {"PortUnlock(3)", {3, "31234"}}};
    std::string heard;
    bool unlocked = false;
    for (const GoldenRow& row : rows) {
        const bool plays = row.text != "(serial only)" && row.text != "(not sent)";
        if (row.after == "own") {
            heard += codes.Unlock(row.port) + Heard(row.text) + codes.Lock();
            if (auto it = newUnlock.find(row.label); it != newUnlock.end())
                codes.unlock[it->second.first] = it->second.second;
            if (row.label == "Lock")
                codes.lock = "45";
            continue;
        }
        if (plays) {
            if (!unlocked)
                heard += codes.Unlock(row.port);
            unlocked = true;
            heard += Heard(row.text);
        }
        if (row.after == "lock" && unlocked)
            heard += codes.Lock();
        if (row.after == "lock" || row.after == "forget")
            unlocked = false;
    }
    heard += codes.Lock(); // the way out always locks
    if (reset)
        heard += codes.Unlock(1) + "*21999" + "D"; // without a lock
    return heard;
}

// How often the transmitter was keyed; fails the test for a tone played while it was not
// keyed or before it had settled (the rig's TxTemp of 200 ms).
int KeyingsWithTonesOnAir(const test::RecordingTimeline& timeline)
{
    int keyings = 0;
    bool keyed = false;
    std::int64_t keyedAt = 0;
    for (const test::TimelineEvent& event : timeline.events()) {
        if (event.what == "DTR on") {
            ++keyings;
            keyed = true;
            keyedAt = event.atMs;
        } else if (event.what == "DTR off" || event.what == "close" || event.what == "lost") {
            keyed = false;
        } else if (event.what.rfind("tone", 0) == 0) {
            EXPECT_TRUE(keyed) << event.what << " at " << event.atMs;
            EXPECT_GE(event.atMs - keyedAt, 200) << event.what << " at " << event.atMs;
        }
    }
    return keyings;
}

TEST(UploadRadio, CompleteUploadPlaysTheTranscriptLeavesOutTheDVRTablesAndResets)
{
    // The tables' sizes without the clock option are the serial test's business.
    for (bool lost : {false, true}) {
        SCOPED_TRACE(lost ? "keying port lost in the closing lock: no reset" : "reset");
        RadioRig rig;
        rig.prompts.Answer(Answer::Yes, upload_text::kCompleteTitle).AcceptNotices();
        std::string expected = ExpectedCompleteUpload(test::GoldenToneRows("upload_tones_rtc.txt"), !lost);
        ASSERT_GT(expected.size(), 10000u);
        if (lost) {
            expected.pop_back(); // unplugged as the closing lock's first key sounded
            rig.clock.onYield = [&rig, at = expected.size(), once = true]() mutable {
                if (once && rig.sound.played.size() == at) {
                    once = false;
                    rig.port.Drop();
                }
            };
        }

        EXPECT_EQ(SendCompleteConfig(rig.engine, rig.progress), UploadOutcome::Done);

        EXPECT_EQ(rig.sound.digits(), expected);
        // The DVR tables keep their three positions.
        EXPECT_EQ(rig.progress.steps, 1080);
        const RecordedPrompt& closing = rig.prompts.prompts().back();
        EXPECT_EQ(closing.title, upload_text::kDoneTitle);
        EXPECT_EQ(closing.text, CompleteUploadText(true, lost ? std::optional(4) : std::nullopt));
        EXPECT_EQ(closing.text.find("NOT reset") != std::string::npos, lost) << closing.text;
        EXPECT_EQ(rig.prompts.titles().size(), lost ? 3u : 2u) << "the question, [the lost port,] the end";

        // Keyed for the upload and again for the reset, unless the port was lost.
        EXPECT_EQ(KeyingsWithTonesOnAir(rig.timeline), lost ? 1 : 2);
        EXPECT_FALSE(rig.Keyed());
        EXPECT_EQ(rig.UnlockKey("CurrentPortUnlock(1)"), "11234");
    }
}

TEST(UploadRadio, ChangesOnlyFramesEachPortsItems)
{
    // U<p>: port p's unlock code; L: the lock code; anything else is a transcript row.
    struct Case {
        const char* name;
        std::function<void(ConfigModel&)> raise;
        std::vector<std::string> heard;
        std::set<std::string> stillRaised = {};
    };
    const Case cases[] = {
        {"nothing changed: only the final lock", [](ConfigModel&) {}, {"L"}},
        {"one courtesy segment of port 3",
         [](ConfigModel& m) { m.CTSeg2Changed(3, 7) = kTrue; },
         {"U3", "CTSeg2(3,7)", "L", "L"}},
        {"a port group: ports 1 and 3 each between their own codes",
         [](ConfigModel& m) {
             m.HangTimeChanged(1) = kTrue;
             m.AnnounceTimeChanged(1) = kTrue;
             m.TimeOutChanged(3) = kTrue;
         },
         {"U1", "HangTime(1)", "AnnounceTime(1)", "L", "U3", "TimeOut(3)", "L", "L"}},
        {"auxiliary timers: a lock after each",
         [](ConfigModel& m) { m.AuxTimeChanged(1) = m.AuxTimeChanged(2) = kTrue; },
         {"U1", "AuxTime(1)", "L", "U1", "AuxTime(2)", "L", "L"}},
        {"remote base: port 1 unlocked again without a lock between",
         [](ConfigModel& m) {
             m.RadioTypeChanged = kTrue;
             m.RcvMacroActiveChanged(1) = kTrue;
         },
         {"U1", "RadioType", "U1", "RcvMacros(1)", "L", "L"}},
        {"logic alarms stay unlocked into the CW IDs",
         [](ConfigModel& m) {
             m.AlarmChanged(1) = kTrue;
             m.CWID1Changed(1) = kTrue;
             m.CWID2Changed(2) = kTrue;
         },
         {"U1", "Alarm(1)", "CWID1(1)", "L", "U2", "CWID2(2)", "L", "L"}},
        {"items not sent unlock nothing",
         [](ConfigModel& m) {
             m.AlarmLowMacroNumChanged(2) = kTrue;
             m.DTMFChangedItem(6) = kTrue;
         },
         {"L"},
         {"AlarmLowMacroNum(2)", "DTMF(6)"}},
    };
    std::map<std::string, std::string> keysOf;
    for (const GoldenRow& row : test::GoldenToneRows("upload_tones_rtc.txt"))
        keysOf[row.label] = Heard(row.text);
    const Codes codes;

    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RadioRig rig;
        c.raise(rig.model);
        EXPECT_EQ(rig.Send(false), kDone);

        std::string expected;
        for (const std::string& token : c.heard) {
            if (token == "L")
                expected += codes.Lock();
            else if (token.size() == 2 && token[0] == 'U')
                expected += codes.Unlock(token[1] - '0');
            else
                expected += keysOf.at(token);
        }
        EXPECT_EQ(rig.sound.digits(), expected);
        EXPECT_EQ(test::RaisedItems(rig.model), c.stillRaised);
        EXPECT_EQ(KeyingsWithTonesOnAir(rig.timeline), 1);
        EXPECT_FALSE(rig.Keyed());
        EXPECT_EQ(rig.progress.steps, 1080);
    }
}

TEST(UploadRadio, LeftoverFlagsOfAnEarlierExchangeDoNotStopANewUpload)
{
    RadioRig rig;
    rig.model.transfer.UploadError = kTrue; // a clock setting that failed before, for one
    rig.model.transfer.UpdateInterrupted = kTrue;
    rig.model.transfer.PortOpenFailed = kTrue;
    rig.model.HangTimeChanged(1) = kTrue;
    rig.model.FanTimeChanged = kTrue;
    EXPECT_EQ(rig.Send(false), kDone);
    EXPECT_EQ(rig.model.HangTimeChanged(1), kFalse);
    EXPECT_EQ(rig.model.FanTimeChanged, kFalse);
}

// Every way the walk can end early: the keying port does not open or closes under it, a tone
// cannot be played, the operator interrupts, a run-time error, a failing closing lock. Each
// leaves the transmitter released, and no tone is played once the port is gone.
TEST(UploadRadio, EveryWayOutReleasesTheTransmitter)
{
    struct Case {
        const char* name;
        std::function<void(RadioRig&)> arrange;
        std::vector<std::string> titles;
        Flag hangTime1, hangTime2; // flags after the walk
        int status = kFailed;
    };
    const auto afterTones = [](RadioRig& rig, std::size_t count, std::function<void()> then) {
        rig.sound.onPlay = [&rig, count, then](const PcmSound&) {
            if (rig.sound.played.size() == count)
                then();
        };
    };
    std::size_t fullRunTones = 0; // the last of them is the closing lock's terminator
    {
        RadioRig rig;
        rig.model.HangTimeChanged(1) = kTrue;
        rig.model.HangTimeChanged(2) = kTrue;
        ASSERT_EQ(rig.Send(false), kDone);
        fullRunTones = rig.sound.played.size();
    }
    const Case cases[] = {
        {"keying port does not open", [](RadioRig& rig) { rig.port.failOpen = true; },
         {kPttPortErrorTitle}, kTrue, kTrue},
        // Port 1's unlock and terminator are 6 tones; the 9th is inside the hang timer.
        {"sound fails inside an item",
         [&](RadioRig& rig) {
             afterTones(rig, 8, [&rig] { rig.sound.failWith = PlayStatus::Failed; });
         },
         {kSoundErrorTitle}, kTrue, kTrue},
        // Unplugged while events run after a tone inside the second item: only the first went out.
        {"keying port closes inside the second item",
         [&](RadioRig& rig) {
             rig.clock.onYield = [&rig, at = fullRunTones - 8] { if (rig.sound.played.size() == at) rig.port.Drop(); };
         },
         {kPttPortErrorTitle}, kFalse, kTrue},
        // The first item's terminator was cut: it counts as not sent.
        {"keying port closes as the first item's last key sounds",
         [](RadioRig& rig) {
             rig.clock.onYield = [&rig] { if (rig.sound.digits() == "17306D*100050D") rig.port.Drop(); };
         },
         {kPttPortErrorTitle}, kTrue, kTrue},
        {"interrupt during the first item",
         [&](RadioRig& rig) {
             afterTones(rig, 8, [&rig] { rig.model.transfer.UpdateInterrupted = kTrue; });
         },
         {}, kFalse, kTrue},
        {"run-time error",
         [&](RadioRig& rig) {
             afterTones(rig, 8, [] { throw std::runtime_error("sound card gone"); });
         },
         // The closing lock meets the same dead sound card; the first report stands for both.
         {kSystemErrorTitle}, kTrue, kTrue},
        // The walk went through; the failure of the closing lock is reported, not swallowed.
        {"run-time error in the closing lock",
         [&](RadioRig& rig) {
             afterTones(rig, fullRunTones - 1, [] { throw std::runtime_error("sound card gone"); });
         },
         {kSystemErrorTitle}, kFalse, kFalse, kDone},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RadioRig rig;
        rig.prompts.AcceptNotices();
        rig.model.HangTimeChanged(1) = kTrue;
        rig.model.HangTimeChanged(2) = kTrue;
        c.arrange(rig);

        EXPECT_EQ(rig.Send(false), c.status);

        EXPECT_EQ(rig.prompts.titles(), c.titles);
        EXPECT_EQ(rig.model.HangTimeChanged(1), c.hangTime1);
        EXPECT_EQ(rig.model.HangTimeChanged(2), c.hangTime2);
        EXPECT_FALSE(rig.Keyed());
        EXPECT_FALSE(rig.port.IsOpen());
        EXPECT_EQ(rig.model.transfer.UpdateInterrupted, kFalse);
        KeyingsWithTonesOnAir(rig.timeline);
    }
}

} // namespace
} // namespace vm880
