#pragma once
// The catalogue's commands put on a link: the radio-link senders by name, for the editors'
// direct actions (erasing macros, new access codes, the controller reset) and the upload, and
// the serial lines of an item sent one by one with their replies awaited.

#include "link/command_catalogue.h"

#include <string_view>
#include <vector>

namespace vm880 {

struct ConfigModel;
class SerialLink;
class ToneLink;

// Plays each command's key codes in order; false as soon as one could not be played (the
// operator has been told by the tone link).
bool PlayToneCommands(ToneLink& link, const std::vector<ToneCommand>& commands);

// Plays the radio-link commands of one instance of an item.
bool PlayItem(ToneLink& link, const ConfigModel& model, const Item& item, const ItemRef& ref);

// Plays what the sender named `sender` plays for the instance `ref` ("SendHangTime" with
// ref {2, 2} plays port 2's hang timer). False, playing nothing, for an unknown sender.
bool PlaySender(ToneLink& link, const ConfigModel& model, std::string_view sender,
                const ItemRef& ref = {});

// Sends the lines one by one over the serial link, each followed by the wait for its reply,
// and stops at the first line refused or not answered. `LastCommand` holds the reported text
// of the line being waited for. True when every line was accepted.
bool SendSerialLines(SerialLink& link, ConfigModel& model, const std::vector<SerialLine>& lines);

// ---- Named radio-link senders (the caller has keyed the transmitter and unlocked the port).

bool SendEraseMacros(ToneLink& link, const ConfigModel& model);
bool SendEraseShortMacros(ToneLink& link, const ConfigModel& model);
// Port p's receiver-active and receiver-inactive macros, two commands.
bool SendReceiverMacros(ToneLink& link, const ConfigModel& model, int port);
// "*21999": the controller restarts; no lock follows.
bool SendResetCommand(ToneLink& link, const ConfigModel& model);
// "*9000", "*9010", "*9020" with the code given.
bool SendNewUnlockCode(ToneLink& link, const ConfigModel& model, int port, std::string_view code);
bool SendNewLockCode(ToneLink& link, const ConfigModel& model, std::string_view code);
bool SendNewTerminator(ToneLink& link, const ConfigModel& model, std::string_view code);

} // namespace vm880
