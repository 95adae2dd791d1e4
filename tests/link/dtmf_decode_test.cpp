// A real DTMF decoder (multimon-ng) hears exactly the digits of a framed command, including
// repeated digits, in the tones the link plays.

#include "link/dtmf_link.h"
#include "model/config_model.h"
#include "recording_decoder.h"
#include "recording_serial_port.h"
#include "recording_sound_out.h"
#include "scripted_prompts.h"
#include "temp_folder.h"

#include <gtest/gtest.h>

namespace vm880 {
namespace {

struct DecodeCase {
    const char* name;
    long toneDelayMs;
    std::function<void(ToneLink&)> play;
    std::string expected;
};

TEST(DTMFDecode, AMultimonDecoderHearsExactlyTheDigitsPlayed)
{
    const std::string missing = test::DecoderMissing(/*needSox=*/true);
    ASSERT_TRUE(missing.empty()) << missing;

    const DecodeCase cases[] = {
        {"framed command",
         40,
         [](ToneLink& link) {
             link.SendUnlock("2");         // 27306 D
             link.PlayDTMFDigit("11");     // *
             link.PlayDTMFString("100033"); // function 1000, value 33
             link.PlayDTMFDigit("D");      // terminator
             link.SendLock();              // 4# D
         },
         "27306D*100033D4#D"},
        {"every key, each twice", 25,
         [](ToneLink& link) { link.PlayDTMFString("11223344556677889900**##AABBCCDD"); },
         "11223344556677889900**##AABBCCDD"},
    };

    test::TempFolder folder;
    for (const DecodeCase& c : cases) {
        SCOPED_TRACE(c.name);
        ConfigModel model;
        model.ComPort = 0;
        model.DTMFComPort = 1;
        model.TxTemp = 200;
        model.DTMFToneDelay = c.toneDelayMs;
        model.CurrentPortUnlock(2) = "27306";
        model.Lock = "4#";
        model.Terminator = "D";
        test::FakeClock clock;
        test::RecordingTimeline timeline(clock);
        test::RecordingSerialPort port(timeline);
        test::RecordingSoundOut sound(timeline);
        test::ScriptedPrompts prompts;
        TonePlayer player(sound, prompts);
        ToneLink link({model, port, clock, prompts, player});
        {
            KeyedTransmitter key(link, model.TxTemp);
            ASSERT_TRUE(key.keyed());
            c.play(link);
        }

        const std::string file = folder.file(std::string(c.name) + ".wav");
        const auto wav = sound.MixdownWav();
        test::WriteFile(file, std::string(wav.begin(), wav.end()));
        std::string error;
        const std::string heard = test::DecodeDTMF("wav", file, error);
        ASSERT_TRUE(error.empty()) << error;
        EXPECT_EQ(heard, c.expected);
    }
}

} // namespace
} // namespace vm880
