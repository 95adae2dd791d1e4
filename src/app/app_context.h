#pragma once
// What the main window receives from the program: the model, the operator prompts, the
// key access, the program folder, the serial port, the two links to the controller, the
// file dialogs and the way modal windows are run.

#include <functional>
#include <string>

class QDialog;

namespace vm880 {

struct ConfigModel;
class KeyAccess;
class Prompts;
class SerialPort;
class Clock;
class SerialLink;
class ToneLink;
class TonePlayer;
class FileViewer;
class FileDialogs;
class BusyState;
class ControllerLinks;

struct AppContext {
    ConfigModel& model;
    Prompts& prompts;
    KeyAccess& keys;
    std::string programFolder;
    SerialPort* serial = nullptr;                 // the one serial port; none in some tests
    std::function<void(QDialog&)> runModal = {};  // default: exec(); tests close it themselves
    Clock* clock = nullptr;
    SerialLink* serialLink = nullptr;             // commands over the cable (ComPort 1..8)
    ToneLink* toneLink = nullptr;                 // commands as tones over the air (ComPort 0)
    TonePlayer* player = nullptr;                 // the sound card
    FileViewer* viewer = nullptr;                 // opens error.log
    FileDialogs* dialogs = nullptr;               // open and save dialogs; none: cancelled
    BusyState* busy = nullptr;                    // a controller operation is running
    ControllerLinks* links = nullptr;             // the link ComPort chooses
};

struct EditorServices;
// The services the editors receive. Every one must be present: throws std::invalid_argument
// naming the first one missing (a wiring fault of the program or a test).
EditorServices EditorServicesOf(const AppContext& context);

struct ControllerActionContext;
// What a window's controller action works with: the context's link chooser and busy state.
// Throws std::invalid_argument, like EditorServicesOf, when either is missing.
ControllerActionContext ControllerActionOf(const AppContext& context);

// Runs a modal window: through `runModal` when the context has one (tests), else exec().
void RunModal(const AppContext& context, QDialog& dialog);

} // namespace vm880
