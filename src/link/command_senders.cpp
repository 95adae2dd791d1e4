#include "link/command_senders.h"

#include "link/dtmf_link.h"
#include "link/serial_link.h"
#include "model/config_model.h"

namespace vm880 {

bool PlayToneCommands(ToneLink& link, const std::vector<ToneCommand>& commands)
{
    for (const ToneCommand& command : commands)
        for (const std::string& code : command)
            if (!link.PlayDTMFDigit(code))
                return false;
    return true;
}

bool PlayItem(ToneLink& link, const ConfigModel& model, const Item& item, const ItemRef& ref)
{
    return PlayToneCommands(link, ToneCommands(item, model, ref));
}

bool PlaySender(ToneLink& link, const ConfigModel& model, std::string_view sender,
                const ItemRef& ref)
{
    const Item* item = ItemBySender(sender);
    if (!item)
        return false;
    return PlayToneCommands(link, SenderToneCommands(*item, sender, model, ref));
}

bool SendSerialLines(SerialLink& link, ConfigModel& model, const std::vector<SerialLine>& lines)
{
    for (const SerialLine& line : lines) {
        model.transfer.LastCommand = line.reported;
        link.SendStr(line.text + "\r");
        link.CheckInput(line.reported);
        if (model.transfer.UploadError != kFalse)
            return false;
    }
    return true;
}

namespace {

// One of the access-code items of the upload, played with the code given.
bool PlayAccessCode(ToneLink& link, const ConfigModel& model, std::string_view sender, int port,
                    std::string_view code)
{
    return PlaySender(link, model, sender, ItemRef{port, port, code});
}

} // namespace

bool SendEraseMacros(ToneLink& link, const ConfigModel& model)
{
    return PlayItem(link, model, EraseMacrosCommand(), {});
}

bool SendEraseShortMacros(ToneLink& link, const ConfigModel& model)
{
    return PlayItem(link, model, EraseShortMacrosCommand(), {});
}

bool SendReceiverMacros(ToneLink& link, const ConfigModel& model, int port)
{
    return PlaySender(link, model, "SendReceiverMacros", ItemRef{port, port});
}

bool SendResetCommand(ToneLink& link, const ConfigModel& model)
{
    return PlayItem(link, model, ResetCommand(), {});
}

bool SendNewUnlockCode(ToneLink& link, const ConfigModel& model, int port, std::string_view code)
{
    return PlayAccessCode(link, model, "SendNewUnlockCode", port, code);
}

bool SendNewLockCode(ToneLink& link, const ConfigModel& model, std::string_view code)
{
    return PlayAccessCode(link, model, "SendNewLockCode", 1, code);
}

bool SendNewTerminator(ToneLink& link, const ConfigModel& model, std::string_view code)
{
    return PlayAccessCode(link, model, "SendNewTerminator", 1, code);
}

} // namespace vm880
