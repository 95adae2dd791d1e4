#pragma once
// One way to talk to the controller, whichever link `ComPort` chooses: over the serial cable
// (each command a line, answered "+" or "-") or as DTMF tones over the radio link (the
// transmitter keyed, each command played and ended by the terminator, nothing comes back).
// Both take the same frame: open, unlock a controller port, send, lock, release (unlock and
// lock are nothing over the cable), and each call says whether it went out.
//
// What the frame cannot hide, callers ask Kind() (or `ComPort`) about, each for its reason:
// - a command's form: LinkCommandsOf renders a catalogue item as serial lines or tone codes;
// - what one link cannot carry: the upload leaves the DVR tables out over the air, DVR
//   recording runs its own sequence on each link, the toolbar reset and the downloads refuse
//   the radio link, and manual send plays the typed keys and the lock over the air but
//   writes the typed line as it stands over the cable (an empty one not at all);
// - the controller's pace: the clock setting, manual send and the upload's toll list pause
//   over the cable only, the macro erase pauses longer over the air;
// - the walk: the upload tests for an interrupt after each remote-base memory over the cable
//   only, and an action owes a lock on its way out only where a port was unlocked (the air);
// - what the operator is told: "not acknowledged" over the cable, "could not be played" over
//   the air (clock setting, DVR recording); the macro erase asks its radio question before,
//   and shows its "sent" box only over the cable.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vm880 {

enum class LinkKind { Serial, Tone };

// One command in both of its forms.
struct LinkCommand {
    std::string line;        // serial: the line without its carriage return, port digit first ("1*5100123456")
    std::string keys;        // radio: the keys played before the terminator ("*5100123456")
    bool awaitReply = true;  // serial: false writes it to the wire without waiting (the reset)
    std::string reported;    // serial: the text a failed reply wait names; empty: `line`
    // Radio: when not empty, the key codes exactly as the catalogue gives them, terminator
    // included ("11" for the star); played instead of `keys` and the terminator.
    std::vector<std::string> codes;
    // Serial: false writes `line` without the carriage return (the DVR's single-letter
    // start and stop commands, which the controller takes as they arrive).
    bool lineEnd = true;
};

class ControllerLink {
public:
    virtual ~ControllerLink() = default;

    virtual LinkKind Kind() const = 0;

    // Serial: opens port `ComPort` (the opening carriage return included). Radio: keys the
    // transmitter and waits `TxTemp`, or `keyedSettleMs` when given (an action with a wait
    // of its own). False when that failed: the operator was told, `PortOpenFailed` is
    // raised, and nothing may be sent.
    virtual bool Open(std::optional<std::int64_t> keyedSettleMs = std::nullopt) = 0;

    // Serial: nothing to do. Radio: plays the unlock code of controller port `port` (1..3) and
    // the terminator. False when a tone could not be played.
    virtual bool Unlock(int port) = 0;

    // Sends one command: serial, writes the line and waits for "+" (unless told not to);
    // radio, plays the keys and the terminator. False when it was refused, unanswered or not
    // played (the operator was told; `UploadError` is raised for a serial failure).
    virtual bool Send(const LinkCommand& command) = 0;

    // Serial: nothing to do. Radio: plays the lock code and the terminator.
    virtual bool Lock() = 0;

    // Closes the serial port (after draining what was written) or releases the transmitter.
    // Always safe to call; called on every way out. False when releasing went wrong (the
    // operator was told; the port is closed all the same).
    virtual bool Release() = 0;

    // The operator closed the window or interrupted: radio, a keyed wait ends at once and
    // nothing more is played until the next Open; serial, nothing (the reply wait serves the
    // window and the caller stops between commands).
    virtual void Cancel() {}

    // Radio: the keying port closed by itself during the exchange last opened. The operator
    // was told that nothing more was sent, so the work in hand keys nothing more (the upload
    // sends no reset). Serial: false; a lost port fails the reply wait instead.
    virtual bool PortLost() const { return false; }
};

// The link `ComPort` chooses at the moment of asking; the link menus may change it between
// two operations, never during one.
class ControllerLinks {
public:
    virtual ~ControllerLinks() = default;
    virtual ControllerLink& Current() = 0;
};

} // namespace vm880
