#pragma once
// Owns what lives as long as the program: the configuration model, the operator prompts,
// the key access and the program folder; shows the splash window, then the main window.

#include "model/config_model.h"
#include "link/busy_state.h"
#include "link/controller_links.h"
#include "link/dtmf_link.h"
#include "link/serial_link.h"
#include "link/tone_player.h"
#include "model/key_access.h"
#include "platform/qt_clock.h"
#include "platform/qt_file_dialogs.h"
#include "platform/qt_file_viewer.h"
#include "platform/qt_prompts.h"
#include "platform/qt_serial_port.h"
#include "platform/qt_sound_out.h"

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
    QtSerialPort serial_;
    QtClock clock_;
    QtSoundOut sound_;
    QtFileViewer viewer_;
    QtFileDialogs dialogs_;
    TonePlayer player_{sound_, prompts_};
    SerialLink serialLink_{model_, serial_, clock_, prompts_};
    ToneLink toneLink_{ToneLinkContext{model_, serial_, clock_, prompts_, player_}};
    ControllerLinkChooser links_{model_, serialLink_, toneLink_};
    BusyState busy_;
    std::unique_ptr<Splash> splash_;
    std::unique_ptr<ZelMain> mainWindow_;
};

} // namespace vm880
