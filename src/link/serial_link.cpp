#include "link/serial_link.h"

#include "model/config_model.h"
#include "model/error_report.h"
#include "interfaces/clock.h"
#include "interfaces/prompts.h"
#include "interfaces/serial_port.h"

#include <algorithm>
#include <exception>

namespace vm880 {

namespace {

constexpr const char* kCrLf = "\r\n";
constexpr const char* kModule = "Declarations";

// The command as the operator should read it: without the line end it is sent with.
std::string_view withoutLineEnd(std::string_view command)
{
    while (!command.empty() && (command.back() == '\r' || command.back() == '\n'))
        command.remove_suffix(1);
    return command;
}

std::string withDetail(std::string_view reason, std::string_view detail)
{
    std::string text(reason);
    if (!detail.empty()) {
        text += " (";
        text += detail;
        text += ")";
    }
    return text;
}

} // namespace

ReplyVerdict JudgeReply(std::string_view reply)
{
    bool passingOver = false;
    for (char c : reply) {
        if (c == '\r' || c == '\n') {
            passingOver = false;
            continue;
        }
        if (passingOver || c == '\0')
            continue;
        if (c == '+')
            return ReplyVerdict::Accepted;
        if (c == '-')
            return ReplyVerdict::Refused;
        passingOver = true;
    }
    return ReplyVerdict::Pending;
}

std::string CommunicationsErrorText(std::string_view reason, std::string_view command,
                                    std::string_view lastResponse, std::string_view procedure,
                                    std::string_view step)
{
    std::string text(reason);
    text += kCrLf;
    text += kCrLf;
    text += "The command string send was: ";
    text += kCrLf;
    text += command;
    text += kCrLf;
    text += kCrLf;
    text += "The last response from the VM880 was: ";
    text += kCrLf;
    text += lastResponse;
    text += kCrLf;
    text += kCrLf;
    text += "Location = ";
    text += kModule;
    text += ": ";
    text += procedure;
    text += ": ";
    text += step;
    text += kCrLf;
    text += kCrLf;
    text += "Update will terminate";
    return text;
}

std::string SerialPortErrorText(int comPort, std::string_view detail)
{
    std::string text = "COM" + std::to_string(comPort) + " could not be opened";
    if (!detail.empty()) {
        text += kCrLf;
        text += detail;
    }
    text += kCrLf;
    text += kCrLf;
    text += "This is most likely caused by one of the following reasons:";
    static constexpr const char* kReasons[] = {
        "1. Your serial cable (or USB cable) is not connected to the computer",
        "2. You have configured Zel with the wrong serial port (Configure Zel --> Use Serial "
        "Port --> Com#)",
        "3. You are using a USB cable and have not loaded the drivers for the USB-to-serial "
        "adapter",
        "4. You do not have power to the VM-880",
        "5. Your USB-to-serial adapter is not working properly (often happens with less "
        "expensive adapters based on the 'Prolific' adapter chip)",
        "6. The serial port is in use by another program",
    };
    for (const char* reason : kReasons) {
        text += kCrLf;
        text += reason;
    }
    text += kCrLf;
    text += kCrLf;
    text += "Please check your connections and try again";
    return text;
}

SerialLink::SerialLink(ConfigModel& model, SerialPort& port, Clock& clock, Prompts& prompts,
                       ReplyTiming timing)
    : model_(model), port_(port), clock_(clock), prompts_(prompts), timing_(timing)
{
}

void SerialLink::OpenSerialPort()
{
    auto failed = [this](std::string_view detail) {
        prompts_.Message(style::OkOnly + style::Exclamation, kSerialPortErrorTitle,
                         SerialPortErrorText(model_.ComPort, detail));
        model_.transfer.PortOpenFailed = kTrue;
    };

    clock_.Yield();
    try {
        if (!port_.IsOpen() && model_.ComPort != 0) {
            std::string error;
            if (!port_.Open(model_.ComPort, error)) {
                failed(error);
                return;
            }
        }
        if (!port_.IsOpen()) {
            failed("No serial port is chosen for the command link");
            return;
        }
        // Every opening starts with a lone carriage return, so the controller drops any
        // partial command it may still hold.
        if (!port_.Write("\r")) {
            failed(port_.LastError());
            return;
        }
        clock_.SleepMs(model_.SerialDelay);
        settle();
        // A cable or adapter that drops out right after opening leaves a closed port: the
        // opening failed, and every caller has to hear it like any other failed opening.
        if (!port_.IsOpen()) {
            failed(port_.LastError());
            return;
        }
        model_.transfer.PortOpenFailed = kFalse;
    } catch (const std::exception& e) {
        failed(e.what());
    }
}

void SerialLink::SendStr(std::string_view command)
{
    sendFailed_ = false;
    lastReply_.clear();
    try {
        if (!port_.IsOpen()) {
            fail(reply_reason::ClosedBeforeSend, withoutLineEnd(command), "SendStr", "Write");
            sendFailed_ = true;
            return;
        }
        // A reply that came too late for the previous command must not be taken as the
        // answer to this one.
        port_.DiscardInput();
        if (!port_.Write(command)) {
            fail(withDetail(reply_reason::SendFailed, port_.LastError()), withoutLineEnd(command),
                 "SendStr", "Write");
            sendFailed_ = true;
            return;
        }
    } catch (const std::exception& e) {
        ReportSystemError(prompts_, e, kModule, "SendStr", "", "");
        model_.transfer.UploadError = kTrue;
        sendFailed_ = true;
        return;
    }
    clock_.SleepMs(model_.SerialDelay);
}

void SerialLink::CheckInput(std::string_view command)
{
    const char* step = "Begin";
    model_.transfer.UploadError = kFalse;
    lastReply_.clear();
    if (sendFailed_) {
        // SendStr has shown why; the caller only needs to see the failure.
        sendFailed_ = false;
        model_.transfer.UploadError = kTrue;
        return;
    }
    try {
        const std::int64_t deadline = clock_.NowMs() + timing_.TimeoutMs();
        for (;;) {
            step = "Get InputBuffer";
            // Everything since the send counts, so a reply split across reads is whole.
            lastReply_ += port_.ReadAll();

            step = "Check for ACK";
            const ReplyVerdict verdict = JudgeReply(lastReply_);
            // No drain here: the discard before the next command drops a repeated "+" later
            // than a drain could, and one that comes after that command went out cannot be
            // told from its answer without a pause after every line.
            if (verdict == ReplyVerdict::Accepted)
                return;
            step = "Check for NACK";
            if (verdict == ReplyVerdict::Refused) {
                fail(reply_reason::Refused, command, "CheckInput", step);
                return;
            }

            step = "Get InputBuffer";
            if (!port_.IsOpen()) {
                fail(withDetail(reply_reason::ClosedDuringWait, port_.LastError()), command,
                     "CheckInput", step);
                return;
            }

            step = "Check ErrorCounter";
            const std::int64_t now = clock_.NowMs();
            if (now >= deadline) {
                fail(reply_reason::NoAnswer, command, "CheckInput", step);
                return;
            }

            step = "End of loop";
            // Returns as soon as input arrives; the short step keeps the window alive.
            port_.WaitForInput(static_cast<int>(std::min<std::int64_t>(timing_.stepMs,
                                                                       deadline - now)));
            clock_.Yield();
        }
    } catch (const std::exception& e) {
        ReportSystemError(prompts_, e, kModule, "CheckInput", step, "");
        model_.transfer.UploadError = kTrue;
    }
}

void SerialLink::settle()
{
    // A controller may answer the lone carriage return within milliseconds; dropping input
    // only before the next command would miss an answer that comes just after that, and it
    // would be taken for the command's own.
    const std::int64_t until = clock_.NowMs() + timing_.settleMs;
    for (;;) {
        port_.ReadAll();
        const std::int64_t now = clock_.NowMs();
        if (now >= until || !port_.IsOpen())
            return;
        port_.WaitForInput(static_cast<int>(std::min<std::int64_t>(timing_.stepMs, until - now)));
        clock_.Yield();
    }
}

void SerialLink::fail(std::string_view reason, std::string_view command,
                      std::string_view procedure, std::string_view step)
{
    prompts_.Message(style::OkOnly + style::Exclamation, kCommunicationsErrorTitle,
                     CommunicationsErrorText(reason, command, lastReply_, procedure, step));
    model_.transfer.UploadError = kTrue;
}

} // namespace vm880
