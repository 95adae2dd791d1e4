#pragma once
// The program's platform services and controller links, built once beside the model and the
// prompts and handed down through the AppContext. The program and the screenshot tool share
// them; nothing here opens a port or plays a sound until it is used.

#include "app/app_context.h"
#include "link/busy_state.h"
#include "link/controller_links.h"
#include "link/dtmf_link.h"
#include "link/serial_link.h"
#include "link/tone_player.h"
#include "platform/qt_clock.h"
#include "platform/qt_file_dialogs.h"
#include "platform/qt_file_viewer.h"
#include "platform/qt_serial_port.h"
#include "platform/qt_sound_out.h"

namespace vm880 {

struct ProgramServices {
    ProgramServices(ConfigModel& model, Prompts& prompts)
        : player{sound, prompts},
          serialLink{model, serial, clock, prompts},
          toneLink{ToneLinkContext{model, serial, clock, prompts, player}},
          links{model, serialLink, toneLink}
    {
    }

    // Puts every service into `context`.
    void Into(AppContext& context)
    {
        context.serial = &serial;
        context.clock = &clock;
        context.serialLink = &serialLink;
        context.toneLink = &toneLink;
        context.player = &player;
        context.viewer = &viewer;
        context.dialogs = &dialogs;
        context.busy = &busy;
        context.links = &links;
    }

    QtSerialPort serial;
    QtClock clock;
    QtSoundOut sound;
    QtFileViewer viewer;
    QtFileDialogs dialogs;
    TonePlayer player;
    SerialLink serialLink;
    ToneLink toneLink;
    ControllerLinkChooser links;
    BusyState busy;
};

} // namespace vm880
