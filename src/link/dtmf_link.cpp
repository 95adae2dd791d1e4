#include "link/dtmf_link.h"

#include "base/text.h"
#include "link/keyed_wait.h"

#include "model/config_model.h"
#include "interfaces/clock.h"
#include "interfaces/prompts.h"
#include "interfaces/serial_port.h"

#include <array>
#include <cctype>
#include <stdexcept>

namespace vm880 {

namespace {

struct DigitTones {
    std::string_view code;
    DTMFTonePair tones;
};

// Digit codes and their tone pairs (row Hz, column Hz); "11".."16" are the program's own
// names for * # A B C D.
constexpr std::array<DigitTones, 22> kDigitTones = {{
    {"1", {697, 1209}},
    {"2", {697, 1336}},
    {"3", {697, 1477}},
    {"A", {697, 1633}},
    {"13", {697, 1633}},
    {"4", {770, 1209}},
    {"5", {770, 1336}},
    {"6", {770, 1477}},
    {"B", {770, 1633}},
    {"14", {770, 1633}},
    {"7", {852, 1209}},
    {"8", {852, 1336}},
    {"9", {852, 1477}},
    {"C", {852, 1633}},
    {"15", {852, 1633}},
    {"*", {941, 1209}},
    {"11", {941, 1209}},
    {"0", {941, 1336}},
    {"#", {941, 1477}},
    {"12", {941, 1477}},
    {"D", {941, 1633}},
    {"16", {941, 1633}},
}};

} // namespace

std::optional<DTMFTonePair> DTMFTonePairOf(std::string_view code)
{
    for (const DigitTones& row : kDigitTones)
        if (row.code == code)
            return row.tones;
    return std::nullopt;
}

std::string PttPortErrorText(int port)
{
    std::string text = "COM" + std::to_string(port) + " could not be opened to key the transmitter";
    text += "\r\n\r\nThis is most likely caused by one of the following reasons:";
    static constexpr const char* kReasons[] = {
        "1. Your serial cable (or USB cable) is not connected to the computer",
        "2. You have configured Zel with the wrong DTMF port (Configure Zel --> Use DTMF --> Com # "
        "For PTT)",
        "3. You are using a USB cable and have not loaded the drivers for the USB-to-serial adapter",
        "4. You do not have power to the VM-880",
        "5. Your USB-to-serial adapter is not working properly (often happens with less expensive "
        "adapters based on the 'Prolific' adapter chip)",
        "6. The serial port is in use by another program",
    };
    for (const char* reason : kReasons) {
        text += "\r\n";
        text += reason;
    }
    text += "\r\n\r\nPlease check your connections and try again";
    return text;
}

ToneLink::~ToneLink()
{
    if (keyed_) {
        try {
            ReleasePort();
        } catch (...) {
            // Nothing more can be done while shutting down.
        }
    }
}

std::string ToneLink::ReleasePort()
{
    keyed_ = false;
    std::string problem;
    auto note = [&problem](const std::string& what) {
        if (problem.empty())
            problem = what;
    };
    // Drop the lines before closing, so the transmitter is off before the port goes away;
    // whatever they do, the port is closed, which drops them too.
    for (bool dtr : {true, false}) {
        try {
            if (c_.port.IsOpen() && !(dtr ? c_.port.SetDTR(false) : c_.port.SetRTS(false)))
                note(std::string(dtr ? "DTR" : "RTS") + " could not be lowered: " + c_.port.LastError());
        } catch (const std::exception& e) {
            note(std::string(dtr ? "DTR" : "RTS") + " could not be lowered: " + e.what());
        }
    }
    try {
        c_.port.Close();
        if (c_.port.IsOpen())
            note("the port did not close");
    } catch (const std::exception& e) {
        note(std::string("the port could not be closed: ") + e.what());
    }
    return problem;
}

std::string PttReleaseErrorText(int port, std::string_view problem)
{
    return "Releasing the transmitter on COM" + std::to_string(port) + " went wrong (" +
           std::string(problem) +
           ").\r\n\r\nThe port has been closed. Check that the transmitter is no longer on "
           "the air.";
}

std::string PttPortClosedText(int port, std::string_view reason)
{
    std::string text = "COM" + std::to_string(port) + " closed while the transmitter was keyed";
    if (!reason.empty())
        text += " (" + std::string(reason) + ")";
    return text + ".\r\n\r\nThe transmitter was released because the port closed, and nothing more "
                  "was sent: what was still to be sent did not reach the VM880.\r\n\r\nCheck that "
                  "the serial cable (or USB-to-serial adapter) is still plugged in and working, then "
                  "try again.";
}

bool ToneLink::PortLost()
{
    if (!keyed_ || c_.port.IsOpen())
        return false;
    const std::string reason = c_.port.LastError();
    ReleasePort();
    exchangeFailed_ = true;
    portLost_ = true;
    c_.prompts.Message(style::OkOnly + style::Exclamation, kPttPortErrorTitle,
                       PttPortClosedText(c_.model.DTMFComPort, reason));
    return true;
}

bool ToneLink::KeyedWait(std::int64_t ms)
{
    return InterruptibleSleep(c_.clock, ms, [this] { return cancelled_; });
}

bool ToneLink::KeyDTMFTransmitter(bool keyUp)
{
    if (!keyUp) {
        const bool wasOpen = c_.port.IsOpen();
        const std::string problem = ReleasePort();
        exchangeFailed_ = false;
        c_.model.transfer.PortOpenFailed = kFalse;
        if (wasOpen && !problem.empty()) {
            c_.prompts.Message(style::OkOnly + style::Exclamation, kPttPortErrorTitle,
                               PttReleaseErrorText(c_.model.DTMFComPort, problem));
            return false;
        }
        return true;
    }
    cancelled_ = false;
    portLost_ = false;

    const bool byDTR = c_.model.WhichSend == 1;
    bool ok = false;
    try {
        std::string error;
        ok = c_.port.IsOpen() || c_.port.Open(c_.model.DTMFComPort, error);
        // Opening raises both lines: drop the unused one and hold the chosen one at once.
        if (ok)
            ok = byDTR ? c_.port.SetRTS(false) && c_.port.SetDTR(true)
                       : c_.port.SetDTR(false) && c_.port.SetRTS(true);
    } catch (const std::exception&) {
        ok = false;
    }

    if (!ok) {
        // Whatever state the port was left in, it must not hold the transmitter on.
        // Its own failures add nothing to the report below.
        ReleasePort();
        exchangeFailed_ = true;
        c_.prompts.Message(style::OkOnly + style::Exclamation, kPttPortErrorTitle,
                           PttPortErrorText(c_.model.DTMFComPort));
        c_.model.transfer.PortOpenFailed = kTrue;
        return false;
    }
    keyed_ = true;
    exchangeFailed_ = false;
    c_.model.transfer.PortOpenFailed = kFalse;
    return true;
}

bool ToneLink::PlayDTMFDigit(std::string_view digit)
{
    if (exchangeFailed_)
        return false;
    if (!KeyedWait(c_.model.DTMFToneDelay)) {
        exchangeFailed_ = true;
        return false;
    }
    // A port that closed by itself shows once window events ran: it is looked at before the
    // tone and after it, so a digit counts as sent only when the port outlived its tone.
    if (PortLost())
        return false;
    bool played = true;
    if (const auto tones = DTMFTonePairOf(digit)) {
        played = c_.player.PlayDualTone(tones->row, tones->column, kDTMFToneSeconds);
        // A lost tone spoils the whole command: stop the exchange here rather than let the
        // caller send the rest (and tell the operator again for every digit).
        if (!played && keyed_)
            exchangeFailed_ = true;
    }
    c_.clock.Yield();
    return !PortLost() && played;
}

bool ToneLink::PlayCode(std::string_view code)
{
    for (char ch : code)
        if (!PlayDTMFDigit(std::string_view(&ch, 1)))
            return false;
    return true;
}

bool ToneLink::PlayDTMFString(std::string_view text)
{
    for (char ch : text) {
        const char upper = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
        if (!PlayDTMFDigit(std::string_view(&upper, 1)))
            return false;
    }
    return true;
}

bool ToneLink::SendUnlock(std::string_view portNum)
{
    const std::string_view number = TrimSpaces(portNum);
    if (number.size() != 1 || number[0] < '1' || number[0] > '3')
        throw std::out_of_range("controller port \"" + std::string(portNum) + "\" is not 1 to 3");
    const std::string code = std::string(TrimSpaces(c_.model.CurrentPortUnlock(number[0] - '0')));

    bool played = true;
    if (c_.model.ComPort == 0)
        played = PlayCode(code) && PlayDTMFDigit(c_.model.Terminator);
    c_.clock.Yield();
    return !PortLost() && played;
}

bool ToneLink::SendLock()
{
    return PlayCode(c_.model.Lock) && PlayDTMFDigit(c_.model.Terminator);
}

KeyedTransmitter::KeyedTransmitter(ToneLink& link, std::int64_t settleMs) : link_(link)
{
    keyed_ = link_.KeyDTMFTransmitter(true);
    if (!keyed_)
        return;
    try {
        if (!link_.KeyedWait(settleMs))
            Release(); // cancelled while settling
    } catch (...) {
        Release(); // no destructor runs for a half-built object
        throw;
    }
}

KeyedTransmitter::~KeyedTransmitter()
{
    try {
        Release();
    } catch (...) {
        // A destructor must not throw; the port layer reports its own failures.
    }
}

bool KeyedTransmitter::Release()
{
    if (!keyed_)
        return true;
    keyed_ = false;
    return link_.KeyDTMFTransmitter(false);
}

} // namespace vm880
