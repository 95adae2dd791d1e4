#pragma once
// Recording a WAV file into one of the controller's DVR message tracks: the track is
// chosen, recording started, the file played through the sound output into the radio's
// audio, and recording stopped. Over the serial cable the commands are "1*7002" and the
// track (awaited), "1*7001" and the track, then "G" to start and "S" to stop; over the radio
// link "*7002" and "*7001" with the track between port 1's unlock and the lock.
//
// The file and the sound output are checked before anything is sent, so a missing or
// unplayable file, or a sound output that cannot play it, never leaves the controller
// recording; once recording has started "S" is sent whatever became of the sound; and
// completion is reported only when every step went through.

#include "link/controller_action.h"

#include <cstdint>
#include <string>

namespace vm880 {

class Clock;
class TonePlayer;

inline constexpr const char* kDvrRecordTitle = "DVR Wave Record";
inline constexpr const char* kDvrRecordComplete = "Wav File Upload Complete.";
inline constexpr int kDvrTrackCount = 19;

// Over the radio link, the wait between keying and the first tone.
inline constexpr std::int64_t kDvrKeyedSettleMs = 500;

// Why `wavFile` cannot be recorded (none chosen, missing, unreadable, not a WAV file that can
// be played, no sound in it, a sound output that cannot play it); empty when it can.
std::string DvrWavRefusal(const std::string& wavFile, TonePlayer& player);

// The step that failed.
enum class DvrStep { None, Refused, Unlock, TrackCommand, RecordCommand, Start, Playback, Stop };

struct DvrRecordResult {
    ControllerActionResult action;
    DvrStep failed = DvrStep::None;
    bool Done() const { return failed == DvrStep::None && action.Done(); }
};

// Records `wavFile` into track `track` (1..19) over the link `ComPort` chooses and tells the
// operator the outcome: the refusal of the file, what failed, or the completion.
DvrRecordResult RecordDvrTrack(const ControllerActionContext& context, TonePlayer& player, Clock& clock,
                               int track, const std::string& wavFile);

} // namespace vm880
