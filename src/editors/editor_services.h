#pragma once
// What every editor window receives from the main window: the model and the services its
// Apply, its checks and its controller actions use. All references: an editor never has to
// ask whether a service is there.

namespace vm880 {

struct ConfigModel;
class Prompts;
class ControllerLinks;
class BusyState;
class TonePlayer;
class Clock;
class FileDialogs;
class KeyAccess;

struct EditorServices {
    ConfigModel& model;
    Prompts& prompts;
    ControllerLinks& links; // the link ComPort chooses, for the editor actions
    BusyState& busy;        // a controller operation is running
    TonePlayer& player;     // tones and sounds (the courtesy-tone preview)
    Clock& clock;           // sleeps and waits
    FileDialogs& dialogs;
    KeyAccess& keys;        // the settings file and zel.ini
};

} // namespace vm880
