#pragma once
// The serial command link: opens the controller's port, sends one command line at a time
// and waits for the controller's one-character answer, "+" (accepted) or "-" (refused).
// Every failure is shown to the operator and leaves `UploadError` or `PortOpenFailed`
// raised in the model, which is what callers test to stop their sequence.

#include <cstdint>
#include <string>
#include <string_view>

namespace vm880 {

struct ConfigModel;
class SerialPort;
class Clock;
class Prompts;

inline constexpr const char* kCommunicationsErrorTitle = "VM880 Communications Error";
inline constexpr const char* kSerialPortErrorTitle = "Serial Port Error";

// Reasons shown first in the communications error box.
namespace reply_reason {
inline constexpr const char* Refused =
    "Zel receive a NACK from the VM880 after sending it a command string";
inline constexpr const char* NoAnswer =
    "Zel did not receive a valid response from the VM880 after sending it a command string";
inline constexpr const char* ClosedBeforeSend =
    "The serial port was closed, so Zel could not send the command string to the VM880";
inline constexpr const char* SendFailed =
    "Zel could not send the command string to the VM880";
inline constexpr const char* ClosedDuringWait =
    "The serial port was closed while Zel waited for a response from the VM880";
} // namespace reply_reason

// How long the reply wait lasts. The wait fails after `periods` periods of `periodMs`
// without an answer (about 9 s by default); tests shorten it. `stepMs` is the longest the
// wait blocks on the port before it lets window events run again. `settleMs` is how long
// the opening waits, after its lone carriage return, for whatever the controller answers
// to it, which is then dropped.
struct ReplyTiming {
    std::int64_t periodMs = 3000;
    int periods = 3;
    int stepMs = 10;
    int settleMs = 30;

    std::int64_t TimeoutMs() const { return periodMs * periods; }
};

// What the text received since a send says. Each line counts by its first character, line
// ends and NUL bytes before it not counting: "+" accepts, "-" refuses. A line beginning with
// anything else (the command echoed by an adapter, noise) is passed over up to its line end,
// and a later line still decides. Read boundaries do not matter: the text is judged whole.
enum class ReplyVerdict { Pending, Accepted, Refused };
ReplyVerdict JudgeReply(std::string_view reply);

// The text of the "VM880 Communications Error" box.
std::string CommunicationsErrorText(std::string_view reason, std::string_view command,
                                    std::string_view lastResponse, std::string_view procedure,
                                    std::string_view step);

// The text of the "Serial Port Error" box for port `comPort`; `detail` (the system's own
// reason, may be empty) goes on the line after the port name.
std::string SerialPortErrorText(int comPort, std::string_view detail);

class SerialLink {
public:
    SerialLink(ConfigModel& model, SerialPort& port, Clock& clock, Prompts& prompts,
               ReplyTiming timing = {});

    // Opens port `ComPort` at 9600,N,8,1 unless it is open already, then writes a lone
    // carriage return, sleeps `SerialDelay` and drops what arrives within the settle time.
    // Clears `PortOpenFailed`; on failure (a port that closed during the settle included)
    // shows the "Serial Port Error" box and raises it.
    void OpenSerialPort();

    // Writes `command` (which ends with its carriage return) after discarding any input
    // still pending, then sleeps `SerialDelay`. A closed or failing port shows the
    // communications error box and raises `UploadError`.
    void SendStr(std::string_view command);

    // Waits for the answer to the command just sent (see JudgeReply). `UploadError` is false
    // afterwards when the controller accepted, true when it refused, did not answer in
    // time, or the port failed; each failure has been shown. `command` is only used in the
    // failure message.
    void CheckInput(std::string_view command);

    // What the last wait received (all reads since the send).
    const std::string& LastReply() const { return lastReply_; }

    const ReplyTiming& Timing() const { return timing_; }
    void SetTiming(const ReplyTiming& timing) { timing_ = timing; }

    SerialPort& Port() { return port_; }

private:
    void settle();
    void fail(std::string_view reason, std::string_view command, std::string_view procedure,
              std::string_view step);

    ConfigModel& model_;
    SerialPort& port_;
    Clock& clock_;
    Prompts& prompts_;
    ReplyTiming timing_;
    std::string lastReply_;
    // Set when SendStr already reported a failure, so the wait that follows does not
    // report it a second time.
    bool sendFailed_ = false;
};

} // namespace vm880
