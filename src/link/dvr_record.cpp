#include "link/dvr_record.h"

#include "interfaces/clock.h"
#include "interfaces/prompts.h"
#include "link/tone_player.h"
#include "link/wav_file.h"

namespace vm880 {

namespace {

LinkCommand Awaited(std::string line)
{
    LinkCommand command;
    command.line = std::move(line);
    return command;
}

LinkCommand Unawaited(std::string line, bool lineEnd = true)
{
    LinkCommand command = Awaited(std::move(line));
    command.awaitReply = false;
    command.lineEnd = lineEnd;
    return command;
}

LinkCommand Played(std::string keys)
{
    LinkCommand command;
    command.keys = std::move(keys);
    return command;
}

std::string FailureReason(DvrStep step, LinkKind kind)
{
    const bool serial = kind == LinkKind::Serial;
    switch (step) {
    case DvrStep::Unlock:
        return "the unlock code could not be played";
    case DvrStep::TrackCommand:
        return serial ? "the VM880 did not accept the track command" : "the track command could not be played";
    case DvrStep::RecordCommand:
        return serial ? "the record command could not be sent" : "the record command could not be played";
    case DvrStep::Start:
        return "the start command could not be sent";
    case DvrStep::Playback:
        return serial ? "the WAV file could not be played; the recording was stopped"
                      : "the WAV file could not be played";
    case DvrStep::Stop:
        return "the stop command could not be sent; the VM880 may still be recording";
    default:
        return serial ? "the serial link failed at the end of the recording"
                      : "the lock code could not be played or the transmitter released";
    }
}

bool RecordOverSerial(ControllerAction& a, TonePlayer& player, const std::string& track,
                      const std::string& wavFile, DvrStep& failed)
{
    if (!a.Send(Awaited("1*7002" + track))) {
        failed = DvrStep::TrackCommand;
        return false;
    }
    if (!a.Send(Unawaited("1*7001" + track))) {
        failed = DvrStep::RecordCommand;
        return false;
    }
    if (!a.Send(Unawaited("G", false))) {
        failed = DvrStep::Start;
        return false;
    }
    const bool played = player.PlayWavFile(wavFile);
    // Recording runs until it is stopped, whatever became of the sound.
    const bool stopped = a.Send(Unawaited("S", false));
    if (!played)
        failed = DvrStep::Playback;
    else if (!stopped)
        failed = DvrStep::Stop;
    return played && stopped;
}

bool RecordOverRadio(ControllerAction& a, TonePlayer& player, Clock& clock, const std::string& track,
                     const std::string& wavFile, DvrStep& failed)
{
    if (!a.Unlock(1)) {
        failed = DvrStep::Unlock;
        return false;
    }
    if (!a.Send(Played("*7002" + track))) {
        failed = DvrStep::TrackCommand;
        return false;
    }
    clock.SleepMs(500);
    if (!a.Send(Played("*7001" + track))) {
        failed = DvrStep::RecordCommand;
        return false;
    }
    if (!player.PlayWavFile(wavFile)) {
        failed = DvrStep::Playback;
        return false;
    }
    return true;
}

} // namespace

std::string DvrWavRefusal(const std::string& wavFile, TonePlayer& player)
{
    if (wavFile.empty())
        return "No WAV file is chosen. Choose one with 'Load Wav' first.";
    PcmSound sound;
    std::string error;
    if (!LoadWavFile(wavFile, sound, error))
        return error;
    if (sound.data.empty())
        return WavFileFailureText(wavFile, "it holds no sound");
    // Once "G" went out the controller records whatever comes, so the sound output must be
    // known to play this file before the first command.
    if (const PlayResult output = player.CanPlay(sound.format); !output.played())
        return SoundFailureText(output);
    return {};
}

DvrRecordResult RecordDvrTrack(const ControllerActionContext& context, TonePlayer& player, Clock& clock,
                               int track, const std::string& wavFile)
{
    DvrRecordResult result;
    if (const std::string refusal = DvrWavRefusal(wavFile, player); !refusal.empty()) {
        context.prompts.Message(style::OkOnly + style::Exclamation, kDvrRecordTitle,
                                refusal + "\r\n\r\nNothing was sent to the VM880.");
        result.failed = DvrStep::Refused;
        return result;
    }
    const std::string digits = std::to_string(track);
    ControllerActionOptions options{"DVR recording", "MessageMacros", "SendTo880_Click"};
    options.keyedSettleMs = kDvrKeyedSettleMs;
    result.action = RunControllerAction(context, options,
                                        [&](ControllerAction& a) {
                                            return a.Kind() == LinkKind::Serial
                                                       ? RecordOverSerial(a, player, digits, wavFile, result.failed)
                                                       : RecordOverRadio(a, player, clock, digits, wavFile,
                                                                         result.failed);
                                        });
    if (result.Done()) {
        context.prompts.Message(style::OkOnly, "", kDvrRecordComplete);
        return result;
    }
    // A busy link, a port that did not open and a run-time error were reported where they
    // happened; what else failed is said here.
    if (result.action.end == ActionEnd::Failed || result.failed != DvrStep::None)
        context.prompts.Message(style::OkOnly + style::Exclamation, kDvrRecordTitle,
                                "DVR track " + digits + " was NOT recorded: " +
                                    FailureReason(result.failed, result.action.kind) + ".");
    return result;
}

} // namespace vm880
