#pragma once
// The "Configure Zel" menu: the serial cable on port 1 to 8, or the radio link keyed through
// the DTR or RTS line of port 1 to 8, and the pauses of both links. Every choice takes effect
// at once and is written to zel.ini.

#include "app/app_context.h"

#include <string>
#include <utility>
#include <vector>

namespace vm880 {

class ZelMain;

class LinkMenus {
public:
    // Connects the commands to the window's menus.
    LinkMenus(ZelMain& window, AppContext context);

    void mnuCom_Click(int port);
    void mnuDTMFCom_Click(int port);
    void mnuUseDTMFDTR_Click() { useKeyingLine(1); }
    void mnuUseDTMFRTS_Click() { useKeyingLine(2); }
    void mnuDTMFDelay_Click();
    void mnuConfigureTXDelay_Click();
    void mnuSerialDelay_Click();

    // Opens and closes the port of the current choice; tells the operator when it is not there.
    void CheckComPort();
    void fClearSerialPortChecks();
    void fClearDTMFPortChecks();

private:
    void useKeyingLine(int whichSend);
    // Asks for a delay of the radio link; false when the operator cancelled.
    bool askToneDelay(const char* key, std::string& text, long& delay);
    void writeZelIni(const char* procedure, const std::vector<std::pair<std::string, std::string>>& values);

    ZelMain& window_;
    AppContext context_;
};

} // namespace vm880
