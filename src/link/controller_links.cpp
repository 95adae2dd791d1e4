#include "link/controller_links.h"

#include "link/dtmf_link.h"
#include "link/serial_link.h"
#include "model/config_model.h"
#include "platform/serial_port.h"

#include <algorithm>

namespace vm880 {

// ---- Serial cable

bool SerialControllerLink::Open()
{
    link_.OpenSerialPort(); // tells the operator itself when the port cannot be opened
    return model_.PortOpenFailed == kFalse;
}

bool SerialControllerLink::Send(const LinkCommand& command)
{
    const std::string& reported = command.reported.empty() ? command.line : command.reported;
    // Only this command's outcome counts.
    model_.UploadError = kFalse;
    if (!command.awaitReply) {
        // The controller acts without answering (it restarts); the port's close drains it.
        link_.SendStr(command.line + "\r");
        return model_.UploadError == kFalse;
    }
    model_.LastCommand = reported;
    link_.SendStr(command.line + "\r");
    link_.CheckInput(reported);
    return model_.UploadError == kFalse;
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

bool ToneControllerLink::Open()
{
    key_.reset();
    key_ = std::make_unique<KeyedTransmitter>(link_, model_.TxTemp);
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

// ---- Chooser

ControllerLink& ControllerLinkChooser::Current()
{
    if (model_.ComPort != 0)
        return serial_;
    return tone_;
}

std::vector<LinkCommand> LinkCommandsOf(const Item& item, const ConfigModel& model,
                                        const ItemRef& ref)
{
    const std::vector<SerialLine> lines = SerialLines(item, model, ref);
    const std::vector<ToneCommand> tones = ToneCommands(item, model, ref);
    std::vector<LinkCommand> commands(std::max(lines.size(), tones.size()));
    for (std::size_t i = 0; i < lines.size(); ++i) {
        commands[i].line = lines[i].text;
        commands[i].reported = lines[i].reported;
    }
    for (std::size_t i = 0; i < tones.size(); ++i) {
        commands[i].codes = tones[i];
        std::string heard = HeardKeys(tones[i]);
        // The terminator is the last code; what is heard before it is the command's keys.
        if (!heard.empty())
            heard.pop_back();
        commands[i].keys = heard;
    }
    return commands;
}

} // namespace vm880
