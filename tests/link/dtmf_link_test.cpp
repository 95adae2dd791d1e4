// The tone link: which digits are played, how the transmitter is keyed and released, and the
// timeline of a framed exchange, with a recording serial port and sound output.

#include "link/dtmf_link.h"
#include "model/config_model.h"
#include "recording_serial_port.h"
#include "recording_sound_out.h"
#include "scripted_prompts.h"

#include <gtest/gtest.h>

namespace vm880 {
namespace {

using Events = std::vector<std::string>;

struct LinkRig {
    LinkRig()
    {
        model.ComPort = 0;
        model.DTMFComPort = 5;
        model.WhichSend = 1;
        model.TxTemp = 300;
        model.DTMFToneDelay = 50;
        model.CurrentPortUnlock(1) = "123";
        model.CurrentPortUnlock(2) = "27306";
        model.CurrentPortUnlock(3) = "9";
        model.Lock = "12";
        model.Terminator = "D";
        prompts.AcceptNotices();
        clock.yieldStepMs = 0; // keep the timeline in whole tone and delay steps
    }
    ConfigModel model;
    test::FakeClock clock;
    test::RecordingTimeline timeline{clock};
    test::RecordingSerialPort port{timeline};
    test::RecordingSoundOut sound{timeline};
    test::ScriptedPrompts prompts;
    TonePlayer player{sound, prompts};
    ToneLink link{{model, port, clock, prompts, player}};

    std::vector<std::string> titles() const { return prompts.titles(); }
};

TEST(DTMFLink, AliasesAndTextsThatAreNoDigit)
{
    // The keys themselves are checked by ear: the decoder test plays all sixteen.
    const std::pair<const char*, const char*> aliases[] = {
        {"11", "*"}, {"12", "#"}, {"13", "A"}, {"14", "B"}, {"15", "C"}, {"16", "D"}};
    for (const auto& [alias, key] : aliases) {
        const auto a = DTMFTonePairOf(alias), k = DTMFTonePairOf(key);
        ASSERT_TRUE(a && k) << alias;
        EXPECT_EQ(std::pair(a->row, a->column), std::pair(k->row, k->column)) << alias;
    }
    for (const char* none : {"", "a", "d", "10", "17", "E", " ", "1 ", "00", "**"})
        EXPECT_FALSE(DTMFTonePairOf(none)) << '"' << none << '"';
}

TEST(DTMFLink, PlaysDigitsStringsUnlockAndLockCodes)
{
    struct Case {
        const char* name;
        std::function<bool(LinkRig&)> action;
        std::string heard;
        int delays; // DTMFToneDelay waits, one per digit code (also for a code that is no digit)
    };
    const Case cases[] = {
        {"alias 11 is star", [](LinkRig& r) { return r.link.PlayDTMFDigit("11"); }, "*", 1},
        {"small letter is no digit", [](LinkRig& r) { return r.link.PlayDTMFDigit("a"); }, "", 1},
        {"10 is no digit", [](LinkRig& r) { return r.link.PlayDTMFDigit("10"); }, "", 1},
        {"string upper-cased", [](LinkRig& r) { return r.link.PlayDTMFString("1a*"); }, "1A*", 3},
        {"string keeps repeats", [](LinkRig& r) { return r.link.PlayDTMFString("0#00"); }, "0#00", 4},
        {"empty string", [](LinkRig& r) { return r.link.PlayDTMFString(""); }, "", 0},
        {"unlock port 2", [](LinkRig& r) { return r.link.SendUnlock("2"); }, "27306D", 6},
        {"unlock without blanks",
         [](LinkRig& r) {
             r.model.CurrentPortUnlock(3) = "  4B7 ";
             return r.link.SendUnlock("3");
         },
         "4B7D", 4},
        {"unlock on the serial link plays nothing",
         [](LinkRig& r) {
             r.model.ComPort = 2;
             return r.link.SendUnlock("2");
         },
         "", 0},
        {"lock", [](LinkRig& r) { return r.link.SendLock(); }, "12D", 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        LinkRig rig;
        EXPECT_TRUE(c.action(rig));
        EXPECT_EQ(rig.sound.digits(), c.heard);
        EXPECT_EQ(rig.clock.sleeps, std::vector<std::int64_t>(std::size_t(c.delays), 50));
        EXPECT_GE(rig.clock.yields, c.delays) << "the window system runs after every digit";
        for (const auto& p : rig.sound.played)
            EXPECT_EQ(p.sound.DurationMs(), 60);
        EXPECT_TRUE(rig.prompts.prompts().empty());
    }
    LinkRig rig;
    EXPECT_THROW(rig.link.SendUnlock("4"), std::out_of_range);
    EXPECT_THROW(rig.link.SendUnlock(""), std::out_of_range);
}

TEST(DTMFLink, KeyingRaisesTheChosenLineAndReleaseDropsBoth)
{
    struct Case {
        int whichSend;
        Events keyed;
    };
    const Case cases[] = {
        {1, {"open 5", "RTS off", "DTR on"}},
        {2, {"open 5", "DTR off", "RTS on"}},
        {0, {"open 5", "DTR off", "RTS on"}}, // anything but 1 keys with RTS
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.whichSend);
        LinkRig rig;
        rig.model.WhichSend = c.whichSend;
        rig.model.transfer.PortOpenFailed = kTrue;
        ASSERT_TRUE(rig.link.KeyDTMFTransmitter(true));
        EXPECT_EQ(rig.timeline.whats(), c.keyed);
        EXPECT_TRUE(rig.port.keyedBy(c.whichSend == 1));
        EXPECT_FALSE(rig.port.keyedBy(c.whichSend != 1));
        EXPECT_TRUE(rig.link.IsKeyed());
        EXPECT_EQ(rig.model.transfer.PortOpenFailed, kFalse);

        ASSERT_TRUE(rig.link.KeyDTMFTransmitter(false));
        Events all = c.keyed;
        all.insert(all.end(), {"DTR off", "RTS off", "close"});
        EXPECT_EQ(rig.timeline.whats(), all);
        EXPECT_FALSE(rig.port.IsOpen());
        EXPECT_FALSE(rig.link.IsKeyed());
    }

    // Releasing a transmitter that is not keyed only clears the flag.
    LinkRig rig;
    rig.model.transfer.PortOpenFailed = kTrue;
    EXPECT_TRUE(rig.link.KeyDTMFTransmitter(false));
    EXPECT_TRUE(rig.timeline.events().empty());
    EXPECT_EQ(rig.model.transfer.PortOpenFailed, kFalse);
}

TEST(DTMFLink, FramedGroupTimeline)
{
    LinkRig rig;
    {
        KeyedTransmitter key(rig.link, rig.model.TxTemp);
        ASSERT_TRUE(key.keyed());
        ASSERT_TRUE(rig.link.SendUnlock("3"));
        ASSERT_TRUE(rig.link.PlayDTMFDigit("11"));
        ASSERT_TRUE(rig.link.PlayDTMFString("1000"));
        ASSERT_TRUE(rig.link.PlayDTMFDigit(rig.model.Terminator));
        ASSERT_TRUE(rig.link.SendLock());
    }
    // Keyed at 0, first tone after TxTemp (300) and the delay (50); each digit 50 + 60 ms.
    const std::vector<test::TimelineEvent> expected = {
        {0, "open 5"},         {0, "RTS off"},        {0, "DTR on"},
        {350, "tone 9 60ms"},  {460, "tone D 60ms"},  {570, "tone * 60ms"},
        {680, "tone 1 60ms"},  {790, "tone 0 60ms"},  {900, "tone 0 60ms"},
        {1010, "tone 0 60ms"}, {1120, "tone D 60ms"}, {1230, "tone 1 60ms"},
        {1340, "tone 2 60ms"}, {1450, "tone D 60ms"}, {1510, "DTR off"},
        {1510, "RTS off"},     {1510, "close"},
    };
    EXPECT_EQ(rig.timeline.events(), expected);
    EXPECT_FALSE(rig.port.IsOpen());
}

TEST(DTMFLink, NoToneIsPlayedWhenTheTransmitterCannotBeKeyed)
{
    struct Case {
        const char* name;
        std::function<void(test::RecordingSerialPort&)> breakPort;
    };
    const Case cases[] = {
        {"port does not open", [](test::RecordingSerialPort& p) { p.failOpen = true; }},
        {"port vanishes", [](test::RecordingSerialPort& p) { p.throwOnOpen = true; }},
        {"keying line refused", [](test::RecordingSerialPort& p) { p.failDTR = true; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        LinkRig rig;
        c.breakPort(rig.port);
        {
            KeyedTransmitter key(rig.link, rig.model.TxTemp);
            EXPECT_FALSE(key.keyed());
            // A caller that carries on regardless still sends nothing unkeyed.
            EXPECT_FALSE(rig.link.SendUnlock("1"));
            EXPECT_FALSE(rig.link.PlayDTMFString("*1000"));
            EXPECT_FALSE(rig.link.SendLock());
        }
        EXPECT_TRUE(rig.sound.played.empty());
        EXPECT_TRUE(rig.clock.sleeps.empty()) << "no TxTemp and no digit delays";
        EXPECT_FALSE(rig.port.IsOpen()) << "nothing left half-open with a line up";
        EXPECT_EQ(rig.model.transfer.PortOpenFailed, kTrue);
        ASSERT_EQ(rig.titles(), std::vector<std::string>{kPttPortErrorTitle});
        EXPECT_EQ(rig.prompts.prompts()[0].style, style::OkOnly + style::Exclamation);
        EXPECT_EQ(rig.prompts.prompts()[0].text.rfind(
                      "COM5 could not be opened to key the transmitter\r\n", 0),
                  0u);

        // The next exchange starts afresh once the port works again.
        rig.port.failOpen = rig.port.throwOnOpen = rig.port.failDTR = false;
        KeyedTransmitter again(rig.link, 0);
        ASSERT_TRUE(again.keyed());
        EXPECT_TRUE(rig.link.PlayDTMFDigit("5"));
        EXPECT_EQ(rig.sound.digits(), "5");
        EXPECT_EQ(rig.model.transfer.PortOpenFailed, kFalse);
    }
}

TEST(DTMFLink, TheTransmitterIsReleasedOnEveryWayOut)
{
    // Every tone is played with the transmitter keyed, and it is released afterwards
    // whether the exchange ends normally, early, or by an exception.
    auto rigWithWatch = [](LinkRig& rig, int& unkeyedTones) {
        rig.sound.onPlay = [&rig, &unkeyedTones](const PcmSound&) {
            if (!rig.port.keyedBy(true))
                ++unkeyedTones;
        };
    };
    {
        LinkRig rig;
        int unkeyed = 0;
        rigWithWatch(rig, unkeyed);
        auto exchange = [&]() {
            KeyedTransmitter key(rig.link, rig.model.TxTemp);
            rig.link.SendUnlock("1");
            return; // an early return (an interrupted upload)
        };
        exchange();
        EXPECT_EQ(rig.sound.digits(), "123D");
        EXPECT_EQ(unkeyed, 0);
        EXPECT_FALSE(rig.port.IsOpen());
    }
    {
        LinkRig rig;
        int unkeyed = 0;
        rigWithWatch(rig, unkeyed);
        int tones = 0;
        rig.sound.onPlay = [&](const PcmSound&) {
            if (!rig.port.keyedBy(true))
                ++unkeyed;
            if (++tones == 3)
                throw std::runtime_error("sound driver crashed");
        };
        EXPECT_THROW(
            {
                KeyedTransmitter key(rig.link, rig.model.TxTemp);
                rig.link.SendUnlock("2");
            },
            std::runtime_error);
        EXPECT_EQ(unkeyed, 0);
        EXPECT_FALSE(rig.port.IsOpen());
        EXPECT_FALSE(rig.link.IsKeyed());
    }
    {
        // An exception while the transmitter settles.
        LinkRig rig;
        struct ThrowingClock : test::FakeClock {
            void SleepMs(std::int64_t) override { throw std::runtime_error("interrupted"); }
        } clock;
        ToneLink link({rig.model, rig.port, clock, rig.prompts, rig.player});
        EXPECT_THROW(KeyedTransmitter(link, 300), std::runtime_error);
        EXPECT_FALSE(rig.port.IsOpen());
    }
    {
        // A link destroyed while keyed (the program closing) releases the transmitter.
        LinkRig rig;
        auto link = std::make_unique<ToneLink>(
            ToneLinkContext{rig.model, rig.port, rig.clock, rig.prompts, rig.player});
        ASSERT_TRUE(link->KeyDTMFTransmitter(true));
        link.reset();
        EXPECT_FALSE(rig.port.IsOpen());
    }
}

// The keying port closes by itself (an adapter pulled), seen once window events ran: wherever
// the link looks, what it was playing counts as not sent, nothing more plays and the
// operator is told once.
TEST(DTMFLink, AKeyingPortLostIsSeenAtEveryCheck)
{
    struct Case {
        const char* name;
        std::function<bool(LinkRig&)> dropNow; // asked at every yield
        std::function<bool(ToneLink&)> play;
        std::string heard;
    };
    const Case cases[] = {
        {"before a tone: during the settle", [](LinkRig& r) { return r.sound.played.empty(); },
         [](ToneLink& l) { return l.SendUnlock("1"); }, ""},
        {"after a tone", [](LinkRig& r) { return r.sound.digits() == "5"; },
         [](ToneLink& l) { return l.PlayDTMFDigit("5"); }, "5"},
        // The terminator's own check passed; the unlock's last yield is the second after it.
        {"after the unlock code",
         [n = 0](LinkRig& r) mutable { return r.sound.digits() == "123D" && ++n == 2; },
         [](ToneLink& l) { return l.SendUnlock("1"); }, "123D"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        LinkRig rig;
        rig.clock.onYield = [&rig, dropNow = c.dropNow]() mutable {
            if (rig.port.IsOpen() && dropNow(rig))
                rig.port.Drop();
        };
        KeyedTransmitter key(rig.link, rig.model.TxTemp);
        ASSERT_TRUE(key.keyed());
        EXPECT_FALSE(c.play(rig.link));
        EXPECT_FALSE(rig.link.SendLock());
        EXPECT_EQ(rig.sound.digits(), c.heard);
        EXPECT_TRUE(rig.link.KeyingPortLost());
        ASSERT_EQ(rig.titles(), std::vector<std::string>{kPttPortErrorTitle});
        EXPECT_EQ(rig.prompts.prompts()[0].text.rfind("COM5 closed while the transmitter was keyed (unplugged)", 0), 0u);
    }
}

TEST(DTMFLink, ALostToneEndsTheExchangeWithOneMessage)
{
    LinkRig rig;
    rig.sound.failWith = PlayStatus::NoDevice;
    {
        KeyedTransmitter key(rig.link, rig.model.TxTemp);
        ASSERT_TRUE(key.keyed());
        EXPECT_FALSE(rig.link.SendUnlock("2"));
        EXPECT_FALSE(rig.link.PlayDTMFString("*1000"));
        EXPECT_FALSE(rig.link.SendLock());
    }
    EXPECT_EQ(rig.titles(), std::vector<std::string>{kSoundErrorTitle});
    EXPECT_FALSE(rig.port.IsOpen());

    // Without a keyed exchange (the touch-tone pad) each failed key press is told.
    EXPECT_FALSE(rig.link.PlayDTMFDigit("1"));
    EXPECT_FALSE(rig.link.PlayDTMFDigit("2"));
    EXPECT_EQ(rig.titles().size(), 3u);

    // With the sound back, the next exchange plays.
    rig.sound.failWith.reset();
    KeyedTransmitter key(rig.link, 0);
    EXPECT_TRUE(rig.link.SendLock());
    EXPECT_EQ(rig.sound.digits(), "12D");
}

} // namespace
} // namespace vm880
