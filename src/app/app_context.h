#pragma once
// What the main window receives from the program: the model, the operator prompts, the
// key access, the program folder, the serial port and the way modal windows are run.

#include <functional>
#include <string>

class QDialog;

namespace vm880 {

struct ConfigModel;
class KeyAccess;
class Prompts;
class SerialPort;

struct AppContext {
    ConfigModel& model;
    Prompts& prompts;
    KeyAccess& keys;
    std::string programFolder;
    SerialPort* serial = nullptr;                 // the one serial port; none in some tests
    std::function<void(QDialog&)> runModal = {};  // default: exec(); tests close it themselves
};

} // namespace vm880
