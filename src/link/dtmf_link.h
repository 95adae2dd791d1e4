#pragma once
// The tone link: with no serial cable to the controller, commands go over the air as DTMF
// tones through the sound output while a transmitter is keyed by the DTR or RTS line of a
// serial port. Nothing comes back; a command counts as sent once its tones were played.
//
// Callers frame every exchange the same way:
//   KeyedTransmitter key(link, model.TxTemp);   // key, then let the transmitter settle
//   if (!key.keyed()) return;                   // the operator was told
//   link.SendUnlock("1");                       // opens the controller port
//   ... commands, each ended by the terminator, stopping when a call returns false ...
//   link.SendLock();
// and the transmitter is released when `key` goes out of scope, whatever way that happens.

#include "link/tone_player.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vm880 {

struct ConfigModel;
class SerialPort;
class Clock;
class Prompts;

inline constexpr const char* kPttPortErrorTitle = "Com Port for PTT Port Error";
// Each DTMF digit sounds this long.
inline constexpr double kDTMFToneSeconds = 0.06;

struct DTMFTonePair {
    int row = 0;    // Hz
    int column = 0; // Hz
};

// The tone pair of a digit code: "0".."9", "*", "#", "A".."D" and the aliases "11".."16" for
// "*", "#", "A".."D"; compared exactly (capitals only). nullopt for anything else.
std::optional<DTMFTonePair> DTMFTonePairOf(std::string_view code);

// The text of the box shown when the keying port `port` cannot be opened.
std::string PttPortErrorText(int port);

// The text of the box shown when the keying port `port` closed by itself while the
// transmitter was keyed; `reason` is what the port said ("" when it said nothing).
std::string PttPortClosedText(int port, std::string_view reason);

// The text of the box shown when releasing the transmitter on `port` went wrong.
std::string PttReleaseErrorText(int port, std::string_view problem);

// What the tone link works with; owned by the application, handed down to every user.
struct ToneLinkContext {
    ConfigModel& model; // link settings, access codes and PortOpenFailed
    SerialPort& port;   // the one serial port; its DTR or RTS line keys the transmitter
    Clock& clock;       // delays and yields to the window system
    Prompts& prompts;
    TonePlayer& player;
};

class ToneLink {
public:
    explicit ToneLink(const ToneLinkContext& context) : c_(context) {}
    ~ToneLink(); // releases a transmitter still keyed
    ToneLink(const ToneLink&) = delete;
    ToneLink& operator=(const ToneLink&) = delete;

    // True keys the transmitter: opens `DTMFComPort` (when closed) and raises DTR (`WhichSend`
    // 1) or RTS (otherwise), the other line low. False drops both lines and closes the port.
    // Returns false when keying failed: the operator has been told, `PortOpenFailed` is
    // raised, the port is left closed, and no digit is played until the next call of this
    // function (so a caller that goes on anyway sends nothing unkeyed).
    bool KeyDTMFTransmitter(bool keyUp);

    // Waits `DTMFToneDelay` (bounded, see keyed_wait.h), plays one digit code for 60 ms (a
    // text that is no digit plays nothing), then lets the window system run. False when the
    // digit was not played: the keying or the sound failed, or the keying port closed before
    // the tone or while it sounded (the operator has been told), or the exchange was
    // cancelled.
    bool PlayDTMFDigit(std::string_view digit);

    // Plays each character of `text`, upper-cased, as a digit; stops at the first failure.
    bool PlayDTMFString(std::string_view text);

    // On the tone link (`ComPort` 0) plays the unlock code of controller port `portNum`
    // ("1".."3"), without surrounding blanks, then the terminator. Over the serial cable it
    // plays nothing. Throws std::out_of_range for another port text.
    bool SendUnlock(std::string_view portNum);

    // Plays the lock code and the terminator.
    bool SendLock();

    // Whether the transmitter is keyed now.
    bool IsKeyed() const { return keyed_; }
    // Whether the keying port closed by itself since the transmitter was last keyed (the
    // operator was told). Releasing keeps the answer; the next keying clears it.
    bool KeyingPortLost() const { return portLost_; }

    // The operator closed the window or interrupted: a long keyed wait in progress ends
    // within one step, no further digit is played after it, and the caller's way out
    // releases the transmitter. Holds until the next keying.
    void Cancel() { cancelled_ = true; }
    bool Cancelled() const { return cancelled_; }
    // A wait of `ms` while keyed, bounded and ended by Cancel; false when cancelled.
    bool KeyedWait(std::int64_t ms);

    TonePlayer& player() { return c_.player; }
    Clock& clock() { return c_.clock; }

private:
    // Drops both lines and closes the port, always trying the close whatever the line calls
    // did. Returns what went wrong ("" when nothing did).
    std::string ReleasePort();
    // While keyed: true when the keying port is no longer open (an adapter pulled, the far end
    // gone). The exchange is then lost: no further digit plays and the operator is told once.
    bool PortLost();
    bool PlayCode(std::string_view code);

    ToneLinkContext c_;
    bool keyed_ = false;
    // Set when keying failed, or when a tone or the keying port failed while keyed: the
    // exchange is lost, and further digits are not played (nor reported again) until the
    // next keying call.
    bool exchangeFailed_ = false;
    bool portLost_ = false;
    bool cancelled_ = false;
};

// Keys the transmitter for the lifetime of the object and releases it on every way out
// (return, error, exception), so that a transmitter is never left on the air.
class KeyedTransmitter {
public:
    // Keys; when that worked, waits `settleMs` (bounded, ended by ToneLink::Cancel) so the
    // transmitter is up before the first tone. A cancelled wait releases at once: keyed()
    // is then false.
    KeyedTransmitter(ToneLink& link, std::int64_t settleMs);
    ~KeyedTransmitter();
    KeyedTransmitter(const KeyedTransmitter&) = delete;
    KeyedTransmitter& operator=(const KeyedTransmitter&) = delete;

    bool keyed() const { return keyed_; }
    // Releases now (the destructor then does nothing). False when releasing went wrong (the
    // operator was told; the port is closed all the same).
    bool Release();

private:
    ToneLink& link_;
    bool keyed_ = false;
};

} // namespace vm880
