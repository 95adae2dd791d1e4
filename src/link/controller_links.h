#pragma once
// The two back-ends of the controller link, over the serial command link and over the tone
// link, and the chooser that hands out the one `ComPort` names when an operation starts.

#include "link/command_catalogue.h"
#include "link/controller_link.h"

#include <memory>
#include <vector>

namespace vm880 {

struct ConfigModel;
class SerialLink;
class ToneLink;
class KeyedTransmitter;

// The serial cable: Open opens port `ComPort` (or reuses it when open) and sends the opening
// carriage return; each command is a line awaited for "+"; Release closes the port, which
// drains what was written first.
class SerialControllerLink : public ControllerLink {
public:
    SerialControllerLink(SerialLink& link, ConfigModel& model) : link_(link), model_(model) {}

    LinkKind Kind() const override { return LinkKind::Serial; }
    bool Open(std::optional<std::int64_t> keyedSettleMs = std::nullopt) override;
    bool Unlock(int) override { return true; }
    bool Send(const LinkCommand& command) override;
    bool Lock() override { return true; }
    bool Release() override;

private:
    SerialLink& link_;
    ConfigModel& model_;
};

// The radio link: Open keys the transmitter and waits `TxTemp` (or the action's own wait);
// each command is played and ended by the terminator; Release lets the transmitter go and closes the keying port.
class ToneControllerLink : public ControllerLink {
public:
    ToneControllerLink(ToneLink& link, ConfigModel& model);
    ~ToneControllerLink() override;

    LinkKind Kind() const override { return LinkKind::Tone; }
    bool Open(std::optional<std::int64_t> keyedSettleMs = std::nullopt) override;
    bool Unlock(int port) override;
    bool Send(const LinkCommand& command) override;
    bool Lock() override;
    bool Release() override;
    void Cancel() override;
    bool PortLost() const override;

private:
    ToneLink& link_;
    ConfigModel& model_;
    std::unique_ptr<KeyedTransmitter> key_;
};

// Chooses at each call of Current: the serial back-end while `ComPort` is 1 to 8, the radio
// back-end when it is 0.
class ControllerLinkChooser : public ControllerLinks {
public:
    ControllerLinkChooser(ConfigModel& model, SerialLink& serial, ToneLink& tone)
        : model_(model), serial_(serial, model), tone_(tone, model)
    {
    }

    ControllerLink& Current() override;

private:
    ConfigModel& model_;
    SerialControllerLink serial_;
    ToneControllerLink tone_;
};

// The commands of one instance of a catalogue item in the form link `kind` needs: its serial
// lines, or its radio commands (none when it has no radio form).
std::vector<LinkCommand> LinkCommandsOf(const Item& item, const ConfigModel& model,
                                        const ItemRef& ref, LinkKind kind);

} // namespace vm880
