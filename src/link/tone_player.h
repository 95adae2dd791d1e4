#pragma once
// Plays synthesised tone pairs and WAV files through the sound output and waits for their
// end. Used by the tone link for DTMF digits, by the courtesy-tone preview and by the DVR
// recording. When a sound cannot be played the operator is told why, and the call reports
// failure so that the caller stops instead of carrying on as if it had been heard.

#include "interfaces/sound_out.h"

#include <string>

namespace vm880 {

class Prompts;

inline constexpr const char* kSoundErrorTitle = "Sound Error";

// The message shown when the sound output could not play (status NoDevice or Failed).
std::string SoundFailureText(const PlayResult& result);

class TonePlayer {
public:
    TonePlayer(SoundOut& sound, Prompts& prompts) : sound_(sound), prompts_(prompts) {}

    // Plays `freq1` and `freq2` hertz together for `seconds` (a frequency of 0 is played as
    // 1 Hz, i.e. not heard) and returns when the sound has ended. First ends any sound still
    // playing. False when it was not played: the operator has been told, except when another
    // action stopped it on purpose.
    bool PlayDualTone(int freq1, int freq2, double seconds);

    // Plays the WAV file `fileName` to its end. Fails, without interrupting it, while another
    // sound plays. False when it was not played; the operator has been told why.
    bool PlayWavFile(const std::string& fileName);

    // Ends any sound that is playing.
    void StopSound();

    // Whether a sound in `format` could be played now; tells no one.
    PlayResult CanPlay(const PcmFormat& format) { return sound_.CanPlay(format); }

private:
    bool Report(const PlayResult& result);

    SoundOut& sound_;
    Prompts& prompts_;
};

} // namespace vm880
