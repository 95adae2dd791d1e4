#include "link/controller_links.h"

#include "link/dtmf_link.h"
#include "link/serial_link.h"
#include "model/config_model.h"
#include "interfaces/serial_port.h"

#include <algorithm>

namespace vm880 {

// ---- Serial cable

bool SerialControllerLink::Open(std::optional<std::int64_t>)
{
    // An open port only needs no second opening; OpenSerialPort tells the operator itself
    // when the port cannot be opened.
    if (!link_.Port().IsOpen())
        link_.OpenSerialPort();
    return model_.transfer.PortOpenFailed == kFalse && link_.Port().IsOpen();
}

bool SerialControllerLink::Send(const LinkCommand& command)
{
    const std::string& reported = command.reported.empty() ? command.line : command.reported;
    // Only this command's outcome counts.
    model_.transfer.UploadError = kFalse;
    const std::string wire = command.lineEnd ? command.line + "\r" : command.line;
    if (!command.awaitReply) {
        // The controller acts without answering (it restarts); the port's close drains it.
        link_.SendStr(wire);
        return model_.transfer.UploadError == kFalse;
    }
    model_.transfer.LastCommand = reported;
    link_.SendStr(wire);
    link_.CheckInput(reported);
    return model_.transfer.UploadError == kFalse;
}

bool SerialControllerLink::Release()
{
    SerialPort& port = link_.Port();
    if (port.IsOpen())
        port.Close();
    return !port.IsOpen();
}

// ---- Radio link

ToneControllerLink::ToneControllerLink(ToneLink& link, ConfigModel& model)
    : link_(link), model_(model)
{
}

ToneControllerLink::~ToneControllerLink() = default;

bool ToneControllerLink::Open(std::optional<std::int64_t> keyedSettleMs)
{
    key_.reset();
    key_ = std::make_unique<KeyedTransmitter>(link_, keyedSettleMs.value_or(model_.TxTemp));
    return key_->keyed();
}

bool ToneControllerLink::Unlock(int port)
{
    if (port < 1 || port > 3)
        return false;
    return link_.SendUnlock(std::to_string(port));
}

bool ToneControllerLink::Send(const LinkCommand& command)
{
    if (!command.codes.empty()) {
        for (const std::string& code : command.codes)
            if (!link_.PlayDTMFDigit(code))
                return false;
        return true;
    }
    return link_.PlayDTMFString(command.keys) && link_.PlayDTMFDigit(model_.Terminator);
}

bool ToneControllerLink::Lock()
{
    return link_.SendLock();
}

bool ToneControllerLink::Release()
{
    bool released = true;
    if (key_)
        released = key_->Release();
    key_.reset();
    return released;
}

void ToneControllerLink::Cancel()
{
    link_.Cancel();
}

bool ToneControllerLink::PortLost() const
{
    return link_.KeyingPortLost();
}

// ---- Chooser

ControllerLink& ControllerLinkChooser::Current()
{
    if (model_.ComPort != 0)
        return serial_;
    return tone_;
}

std::vector<LinkCommand> LinkCommandsOf(const Item& item, const ConfigModel& model,
                                        const ItemRef& ref, LinkKind kind)
{
    std::vector<LinkCommand> commands;
    if (kind == LinkKind::Serial) {
        for (const SerialLine& line : SerialLines(item, model, ref)) {
            LinkCommand& command = commands.emplace_back();
            command.line = line.text;
            command.reported = line.reported;
        }
        return commands;
    }
    for (const ToneCommand& tone : ToneCommands(item, model, ref)) {
        LinkCommand& command = commands.emplace_back();
        command.codes = tone;
        // What a listener hears before the terminator, the last code.
        command.keys = HeardKeys(ToneCommand(tone.begin(), tone.empty() ? tone.end() : tone.end() - 1));
    }
    return commands;
}

} // namespace vm880
