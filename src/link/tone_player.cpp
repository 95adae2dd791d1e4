#include "link/tone_player.h"

#include "link/tone_synth.h"
#include "link/wav_file.h"
#include "interfaces/prompts.h"

namespace vm880 {

std::string SoundFailureText(const PlayResult& result)
{
    if (result.status == PlayStatus::NoDevice)
        return "No sound device: the computer has no sound output that Zel can use, so the "
               "sound could not be played.\r\n\r\nConnect or enable a sound output device and "
               "try again.";
    std::string text = "The sound could not be played: ";
    text += result.reason.empty() ? "the sound device failed" : result.reason;
    text += ".\r\n\r\nCheck the computer's sound output and try again.";
    return text;
}

bool TonePlayer::PlayDualTone(int freq1, int freq2, double seconds)
{
    // 1 Hz is inaudible: a zero frequency leaves the other tone alone.
    if (freq1 == 0)
        freq1 = 1;
    if (freq2 == 0)
        freq2 = 1;
    StopSound();
    const std::vector<std::uint8_t> wav = BuildDualToneWav(freq1, freq2, seconds);
    PcmSound sound;
    std::string error;
    if (!ParseWav(wav, sound, error)) // cannot fail on our own image; kept as a guard
        return Report({PlayStatus::Failed, "the tone could not be built (" + error + ")"});
    return Report(sound_.Play(sound));
}

bool TonePlayer::PlayWavFile(const std::string& fileName)
{
    PcmSound sound;
    std::string error;
    if (!LoadWavFile(fileName, sound, error)) {
        prompts_.Message(style::OkOnly + style::Exclamation, kSoundErrorTitle, error);
        return false;
    }
    return Report(sound_.Play(sound));
}

void TonePlayer::StopSound() { sound_.Stop(); }

bool TonePlayer::Report(const PlayResult& result)
{
    if (result.status == PlayStatus::NoDevice || result.status == PlayStatus::Failed)
        prompts_.Message(style::OkOnly + style::Exclamation, kSoundErrorTitle,
                         SoundFailureText(result));
    return result.played();
}

} // namespace vm880
