#pragma once
// Owns what lives as long as the program: the configuration model, the operator prompts,
// the key access and the program folder; shows the splash window, then the main window.

#include "app/program_services.h"
#include "model/config_model.h"
#include "model/key_access.h"
#include "platform/qt_prompts.h"

#include <QObject>

#include <memory>
#include <string>

namespace vm880 {

class Splash;
class ZelMain;

class Application : public QObject {
    Q_OBJECT
public:
    Application();
    ~Application() override;

    // Shows the splash window; its timer opens the main window.
    void Start();

    ConfigModel& model() { return model_; }
    Prompts& prompts() { return prompts_; }
    KeyAccess& keys() { return keys_; }
    const std::string& programFolder() const { return programFolder_; }
    ZelMain* mainWindow() const { return mainWindow_.get(); }

private:
    void openMainWindow();

    ConfigModel model_;
    QtPrompts prompts_;
    KeyAccess keys_{prompts_};
    std::string programFolder_;
    ProgramServices services_{model_, prompts_};
    std::unique_ptr<Splash> splash_;
    std::unique_ptr<ZelMain> mainWindow_;
};

} // namespace vm880
