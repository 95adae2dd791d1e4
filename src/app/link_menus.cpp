#include "app/link_menus.h"

#include "app/main_menus.h"
#include "app/program_settings.h"
#include "app/zel_main.h"
#include "editors/setting_text.h"
#include "model/config_model.h"
#include "model/error_report.h"
#include "model/ini_document.h"
#include "model/key_access.h"
#include "interfaces/prompts.h"
#include "interfaces/serial_port.h"

#include <QAction>

#include <optional>

namespace vm880 {

namespace {

constexpr const char* kDelayPrompt = "Enter the delay time in milliseconds";
constexpr const char* kToneDelayTitle = "DTMF Interdigit Delay";
constexpr const char* kSerialDelayTitle = "Serial Port Delay";

// The serial delay as typed: a whole number of milliseconds, blanks around it allowed.
std::optional<long> serialDelayValue(std::string_view text)
{
    text = TrimBlanks(text);
    if (text.empty())
        return std::nullopt;
    for (char c : text)
        if (c < '0' || c > '9')
            return std::nullopt;
    while (text.size() > 1 && text.front() == '0')
        text.remove_prefix(1);
    if (text.size() > 2)
        return 99; // far above the limit; spares the conversion of a long row of digits
    return std::stol(std::string(text));
}

} // namespace

LinkMenus::LinkMenus(ZelMain& window, AppContext context) : window_(window), context_(std::move(context))
{
    const MainMenus& m = window_.menus();
    for (int i = 1; i <= 8; ++i) {
        window_.SetCommand(m.com[static_cast<std::size_t>(i - 1)], [this, i] { mnuCom_Click(i); });
        window_.SetCommand(m.dtmfCom[static_cast<std::size_t>(i - 1)], [this, i] { mnuDTMFCom_Click(i); });
    }
    window_.SetCommand(m.useDTR, [this] { mnuUseDTMFDTR_Click(); });
    window_.SetCommand(m.useRTS, [this] { mnuUseDTMFRTS_Click(); });
    window_.SetCommand(m.dtmfDelay, [this] { mnuDTMFDelay_Click(); });
    window_.SetCommand(m.txDelay, [this] { mnuConfigureTXDelay_Click(); });
    window_.SetCommand(m.serialDelay, [this] { mnuSerialDelay_Click(); });
}

void LinkMenus::writeZelIni(const char* procedure, const std::vector<std::pair<std::string, std::string>>& values)
{
    const std::string ini = window_.ZelIni();
    try {
        // The keys of one choice go in together, so that zel.ini never holds half of it.
        context_.keys.Edit(ini, [&](IniDocument& doc) {
            for (const auto& [key, value] : values) {
                if (!IniDocument::ValidValue(value))
                    throw SystemError(error_number::BadArgument,
                                      "The value of " + key + " holds a line break or NUL character");
                doc.Set(kZelIniSection, key, value);
            }
        });
    } catch (const SystemError& e) {
        ReportSystemError(context_.prompts, e, "ZelMain", procedure, "", ini);
    }
}

// ---- Ports

void LinkMenus::fClearSerialPortChecks()
{
    for (QAction* item : window_.menus().com)
        item->setChecked(false);
}

void LinkMenus::fClearDTMFPortChecks()
{
    for (QAction* item : window_.menus().dtmfCom)
        item->setChecked(false);
}

void LinkMenus::CheckComPort()
{
    SerialPort* port = context_.serial;
    if (!port || port->IsOpen())
        return;
    const ConfigModel& model = context_.model;
    const int number = model.ComPort != 0 ? model.ComPort : model.DTMFComPort;
    std::string error;
    if (port->Open(number, error)) {
        port->Close();
        return;
    }
    // The choice stands all the same: the cable may be plugged in later.
    context_.prompts.Message(style::OkOnly + style::Information, "Com Port",
                             "ComPort " + std::to_string(number)
                                 + " does not currently exist on this system.\r\n\r\nThis is normal in "
                                   "Windows if you are using a USB cable and you do not currently have "
                                   "the cable plugged into the computer.");
}

void LinkMenus::mnuCom_Click(int port)
{
    ConfigModel& model = context_.model;
    model.ComPort = port;
    model.DTMFComPort = 0;
    CheckComPort();
    writeZelIni("mnuCom_Click", {{"ComPort", std::to_string(port)}, {"DTMFComPort", "0"}});
    const MainMenus& m = window_.menus();
    fClearSerialPortChecks();
    m.com[static_cast<std::size_t>(port - 1)]->setChecked(true);
    m.useDTR->setChecked(false);
    m.useRTS->setChecked(false);
    fClearDTMFPortChecks();
}

void LinkMenus::mnuDTMFCom_Click(int port)
{
    ConfigModel& model = context_.model;
    model.DTMFComPort = port;
    model.ComPort = 0;
    CheckComPort();
    writeZelIni("mnuDTMFCom_Click", {{"DTMFComPort", std::to_string(port)}, {"ComPort", "0"}});
    fClearDTMFPortChecks();
    window_.menus().dtmfCom[static_cast<std::size_t>(port - 1)]->setChecked(true);
    fClearSerialPortChecks();
}

void LinkMenus::useKeyingLine(int whichSend)
{
    ConfigModel& model = context_.model;
    model.WhichSend = whichSend;
    model.ComPort = 0;
    writeZelIni(whichSend == 1 ? "mnuUseDTMFDTR_Click" : "mnuUseDTMFRTS_Click",
                {{"WhichSend", std::to_string(whichSend)}, {"ComPort", "0"}});
    const MainMenus& m = window_.menus();
    fClearSerialPortChecks();
    m.useDTR->setChecked(whichSend == 1);
    m.useRTS->setChecked(whichSend != 1);
}

// ---- Delays

// The delays of the radio link change only the delay: the link in use stays the one the
// port menus show and zel.ini keeps.
bool LinkMenus::askToneDelay(const char* key, std::string& text, long& delay)
{
    text = context_.keys.ReadSetting(kZelIniSection, key, window_.ZelIni());
    for (;;) {
        const std::optional<std::string> answer = context_.prompts.Input(kDelayPrompt, kToneDelayTitle, text);
        if (!answer)
            return false;
        text = *answer;
        const long value = LeadingWholeNumber(text);
        // The transmitter stays keyed through the whole delay.
        if (value < 0 || value > kMaxKeyingDelayMs) {
            context_.prompts.Message(style::OkOnly, kToneDelayTitle,
                                     "The delay must be 0 to " + std::to_string(kMaxKeyingDelayMs)
                                         + " milliseconds");
            continue;
        }
        delay = value;
        return true;
    }
}

void LinkMenus::mnuDTMFDelay_Click()
{
    std::string& text = window_.dtmfDelayText();
    if (askToneDelay("DTMFDelay", text, context_.model.DTMFToneDelay))
        writeZelIni("mnuDTMFDelay_Click", {{"DTMFDelay", text}});
}

void LinkMenus::mnuConfigureTXDelay_Click()
{
    std::string& text = window_.txTempText();
    if (askToneDelay("TxTemp", text, context_.model.TxTemp))
        writeZelIni("mnuConfigureTXDelay_Click", {{"TxTemp", text}});
}

void LinkMenus::mnuSerialDelay_Click()
{
    std::string text = std::to_string(context_.model.SerialDelay);
    for (;;) {
        const std::optional<std::string> answer =
            context_.prompts.Input("Enter the delay time in milliseconds (1ms max)", kSerialDelayTitle, text);
        if (!answer)
            return;
        text = *answer;
        const std::optional<long> value = serialDelayValue(text);
        if (!value) {
            // A negative pause or a text would stall every serial send.
            context_.prompts.Message(style::OkOnly, kSerialDelayTitle,
                                     "The delay must be a whole number of milliseconds: 0 or 1");
            continue;
        }
        if (*value > 1) {
            context_.prompts.Message(style::OkOnly, kSerialDelayTitle, "Value may be no greater than 1");
            continue;
        }
        context_.model.SerialDelay = *value;
        writeZelIni("mnuSerialDelay_Click", {{"SerialDelay", std::to_string(*value)}});
        return;
    }
}

} // namespace vm880
