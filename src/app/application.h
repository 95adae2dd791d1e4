#pragma once
// Owns what lives as long as the program: the configuration model, the operator prompts,
// the key access and the program folder, and hands them to the windows.

#include "model/config_model.h"
#include "model/key_access.h"
#include "platform/qt_prompts.h"

#include <QObject>
#include <memory>
#include <string>

class QMainWindow;

namespace vm880 {

class Application {
public:
    Application();
    ~Application();

    void Start();

    ConfigModel& model() { return model_; }
    Prompts& prompts() { return prompts_; }
    KeyAccess& keys() { return keys_; }
    const std::string& programFolder() const { return programFolder_; }

private:
    ConfigModel model_;
    QtPrompts prompts_;
    KeyAccess keys_{prompts_};
    std::string programFolder_;
    std::unique_ptr<QMainWindow> mainWindow_;
};

} // namespace vm880
