// The touch-tone pad: a real decoder hears every key, keys typed and clicked alike; "Tx" and
// "Rx" key and release the transmitter; every way of closing the pad releases it.

#include "app/tt_pad.h"
#include "link/dtmf_link.h"
#include "model/config_model.h"
#include "model/error_report.h"
#include "model/key_access.h"
#include "recording_decoder.h"
#include "recording_serial_port.h"
#include "recording_sound_out.h"
#include "scripted_prompts.h"
#include "temp_folder.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <stdexcept>

namespace vm880 {
namespace {

class PadTest : public ::testing::Test {
protected:
    PadTest()
    {
        model.ComPort = 0;
        model.DTMFComPort = 4;
        model.WhichSend = 1;
        model.TxTemp = 200;
        model.DTMFToneDelay = 40;
    }
    AppContext Context()
    {
        AppContext context{model, prompts, keys, home.path().string(), &port};
        context.clock = &clock;
        context.toneLink = &link;
        return context;
    }
    QPushButton* Button(TTPad& pad, const char* name)
    {
        auto* button = pad.findChild<QPushButton*>(QString::fromLatin1(name));
        EXPECT_NE(button, nullptr) << name;
        return button;
    }
    std::string Display(const TTPad& pad) const { return pad.display()->text().toStdString(); }
    bool OnAir() const { return port.keyedBy(model.WhichSend == 1); }

    test::TempFolder home;
    ConfigModel model;
    test::ScriptedPrompts prompts;
    KeyAccess keys{prompts};
    test::FakeClock clock;
    test::RecordingTimeline timeline{clock};
    test::RecordingSerialPort port{timeline};
    test::RecordingSoundOut sound{timeline};
    TonePlayer player{sound, prompts};
    ToneLink link{ToneLinkContext{model, port, clock, prompts, player}};
};

TEST_F(PadTest, ADecoderHearsEveryKeyClickedOrTypedWhileTheTransmitterIsKeyed)
{
    const std::string missing = test::DecoderMissing(/*needSox=*/true);
    ASSERT_TRUE(missing.empty()) << missing;

    TTPad pad(Context());
    pad.show();
    Button(pad, "TxSet")->click();
    ASSERT_TRUE(OnAir());

    // Row by row, as the keys are laid out; "#" is code 12, "*" 11, "A" to "D" 13 to 16.
    for (int index : {1, 2, 3, 13, 4, 5, 6, 14, 7, 8, 9, 15, 11, 0, 12, 16}) {
        QPushButton* key = pad.key(index);
        ASSERT_NE(key, nullptr) << index;
        key->click();
    }
    // Typed keys, whichever button has the focus, in capitals; other keys play nothing.
    pad.key(5)->setFocus();
    QTest::keyClicks(pad.key(5), "5a#");
    QTest::keyClicks(&pad, "ex!");
    EXPECT_TRUE(OnAir()) << "playing does not change the keying";

    const std::string expected = "123A456B789C*0#D5A#";
    EXPECT_EQ(Display(pad), expected);
    EXPECT_EQ(sound.digits(), expected);
    for (const auto& played : sound.played)
        EXPECT_EQ(played.sound.DurationMs(), 60);

    const std::string file = home.file("pad.wav");
    const auto wav = sound.MixdownWav();
    test::WriteFile(file, std::string(wav.begin(), wav.end()));
    std::string error;
    EXPECT_EQ(test::DecodeDTMF("wav", file, error), expected);
    EXPECT_TRUE(error.empty()) << error;

    Button(pad, "Clear")->click();
    EXPECT_EQ(Display(pad), "");
    EXPECT_TRUE(prompts.prompts().empty());
}

TEST_F(PadTest, TxKeysAfterTheKeyUpDelayAndRxReleasesOnTheChosenLine)
{
    for (int whichSend : {1, 2}) {
        SCOPED_TRACE(whichSend);
        model.WhichSend = whichSend;
        const char* line = whichSend == 1 ? "DTR" : "RTS";
        const char* other = whichSend == 1 ? "RTS" : "DTR";
        const std::size_t from = timeline.events().size();
        const std::int64_t pressed = clock.NowMs();
        TTPad pad(Context());
        Button(pad, "TxSet")->click();
        EXPECT_TRUE(OnAir());
        ASSERT_GT(timeline.events().size(), from);
        EXPECT_EQ(timeline.events()[from].what, "open 4");
        EXPECT_GE(timeline.events()[from].atMs - pressed, model.TxTemp);

        Button(pad, "RxSet")->click();
        EXPECT_FALSE(OnAir());
        EXPECT_FALSE(port.IsOpen());
        const auto whats = timeline.whats();
        EXPECT_EQ(std::vector<std::string>(whats.begin() + static_cast<std::ptrdiff_t>(from), whats.end()),
                  (std::vector<std::string>{"open 4", std::string(other) + " off", std::string(line) + " on",
                                            "DTR off", "RTS off", "close"}));
    }
}

TEST_F(PadTest, EveryWayOfClosingThePadReleasesTheTransmitter)
{
    enum class Way { CloseButton, Escape, WindowClose, Destroyed, DuringATone };
    for (Way way : {Way::CloseButton, Way::Escape, Way::WindowClose, Way::Destroyed, Way::DuringATone}) {
        SCOPED_TRACE(static_cast<int>(way));
        sound.played.clear();
        auto pad = std::make_unique<TTPad>(Context());
        pad->show();
        Button(*pad, "TxSet")->click();
        ASSERT_TRUE(OnAir());
        switch (way) {
        case Way::CloseButton: Button(*pad, "Exit")->click(); break;
        case Way::Escape: QTest::keyClick(pad.get(), Qt::Key_Escape); break;
        case Way::WindowClose: pad->close(); break;
        case Way::Destroyed: pad.reset(); break;
        case Way::DuringATone:
            // The operator closes while the first of two keys still sounds: the second is dropped.
            sound.onPlay = [&](const PcmSound&) {
                sound.onPlay = nullptr;
                pad->key(9)->click();
                Button(*pad, "Exit")->click();
            };
            pad->key(8)->click();
            EXPECT_EQ(sound.digits(), "8");
            break;
        }
        if (pad) {
            EXPECT_FALSE(pad->isVisible());
        }
        EXPECT_FALSE(OnAir());
        EXPECT_FALSE(port.IsOpen());
        EXPECT_FALSE(link.IsKeyed());
        // The last thing done to the port (a tone may still end after it) is closing it.
        std::string lastPortEvent;
        for (const auto& e : timeline.events())
            if (e.what.rfind("tone ", 0) != 0)
                lastPortEvent = e.what;
        EXPECT_EQ(lastPortEvent, "close");
    }
    EXPECT_TRUE(prompts.prompts().empty());
}

TEST_F(PadTest, AKeyPressedWhileAToneSoundsWaitsItsTurn)
{
    TTPad pad(Context());
    sound.onPlay = [&](const PcmSound&) {
        sound.onPlay = nullptr;
        QTest::keyClick(&pad, Qt::Key_3);
        pad.key(16)->click();
    };
    pad.key(1)->click();
    EXPECT_EQ(sound.digits(), "13D");
    EXPECT_EQ(Display(pad), "13D");
    for (std::size_t i = 1; i < sound.played.size(); ++i)
        EXPECT_GE(sound.played[i].atMs - sound.played[i - 1].atMs, 60 + model.DTMFToneDelay)
            << "each tone sounds whole";
}

TEST_F(PadTest, KeysWithoutToneAreShownAndATransmitterThatCannotBeKeyedIsReported)
{
    TTPad pad(Context());
    sound.failWith = PlayStatus::NoDevice;
    prompts.Answer(Answer::Ok, kSoundErrorTitle);
    pad.key(7)->click();
    EXPECT_EQ(Display(pad), "7"); // not keyed: the sound error says it all
    sound.failWith.reset();

    port.failOpen = true;
    prompts.Answer(Answer::Ok, kPttPortErrorTitle);
    Button(pad, "TxSet")->click();
    EXPECT_FALSE(OnAir());
    EXPECT_EQ(model.transfer.PortOpenFailed, kTrue);
    EXPECT_EQ(prompts.pending(), 0u);
}

// A tone that fails while the transmitter is keyed leaves a bare carrier on the air, however
// the sound layer failed: the operator hears of it once per showing of the pad, and every
// key still lands in the display.
TEST_F(PadTest, AKeyedTransmitterWithoutToneIsToldOncePerShowing)
{
    struct Way {
        const char* name;
        std::function<void()> fail;
        const char* title; // of the box that says what failed
        const char* keys;  // what the display shows
    };
    const Way ways[] = {
        {"no sound device", [this] { sound.failWith = PlayStatus::NoDevice; }, kSoundErrorTitle, "1#D"},
        {"sound device failed", [this] { sound.failWith = PlayStatus::Failed; }, kSoundErrorTitle, "1#D"},
        // One key: each such failure has its own system-error box.
        {"exception from the sound layer",
         [this] { sound.onPlay = [](const PcmSound&) { throw std::runtime_error("audio server gone"); }; },
         kSystemErrorTitle, "1"},
    };
    for (const Way& way : ways) {
        SCOPED_TRACE(way.name);
        way.fail();
        for (int showing = 0; showing < 2; ++showing) {
            TTPad pad(Context());
            Button(pad, "TxSet")->click();
            ASSERT_TRUE(OnAir());
            prompts.Answer(Answer::Ok, way.title).Answer(Answer::Ok, "DTMF Dialer");
            for (int index : {1, 12, 16}) {
                if (std::string(way.keys).size() > 1 || index == 1)
                    pad.key(index)->click();
            }
            EXPECT_EQ(Display(pad), way.keys);
            EXPECT_EQ(prompts.pending(), 0u);
            EXPECT_NE(prompts.prompts().back().text.find("still keyed. Press Rx"), std::string::npos);
            EXPECT_TRUE(OnAir());
            Button(pad, "RxSet")->click();
            EXPECT_FALSE(OnAir());
        }
        sound.failWith.reset();
        sound.onPlay = nullptr;
    }
}

} // namespace
} // namespace vm880
