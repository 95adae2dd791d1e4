#include "app/editor_pages.h"

#include "editors/editor_base.h"
#include "editors/functions/alarms_remote_editor.h"
#include "editors/functions/analog_editor.h"
#include "editors/functions/macros_editor.h"
#include "editors/functions/message_macros_editor.h"
#include "editors/functions/scheduler_editor.h"
#include "editors/functions/special_codes_editor.h"
#include "editors/ports/courtesy_editor.h"
#include "editors/ports/dtmf_editor.h"
#include "editors/ports/id_editor.h"
#include "editors/ports/port_switches_editor.h"
#include "editors/ports/timers_editor.h"

namespace vm880 {

std::unique_ptr<EditorBase> MakeEditor(int area, EditorServices services)
{
    switch (area) {
    // One case per editor, by tab: 0 Timers, 1 Courtesy, 2 Macros, 3 Scheduler, 4 Analog,
    // 5 ID, 6 MessageMacros, 7 DTMF, 8 Alarms_Remote, 9 SpecialCodes, 10 PortSwitches.
    case 0:
        return std::make_unique<TimersEditor>(services);
    case 1:
        return std::make_unique<CourtesyEditor>(services);
    case 2:
        return std::make_unique<MacrosEditor>(services);
    case 3:
        return std::make_unique<SchedulerEditor>(services);
    case 4:
        return std::make_unique<AnalogEditor>(services);
    case 5:
        return std::make_unique<IDEditor>(services);
    case 6:
        return std::make_unique<MessageMacrosEditor>(services);
    case 7:
        return std::make_unique<DTMFEditor>(services);
    case 8:
        return std::make_unique<AlarmsRemoteEditor>(services);
    case 9:
        return std::make_unique<SpecialCodesEditor>(services);
    case 10:
        return std::make_unique<PortSwitchesEditor>(services);
    default:
        return nullptr;
    }
}

} // namespace vm880
