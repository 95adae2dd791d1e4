#pragma once
// A main window over a temporary program folder, scripted prompts and modal windows that
// are recorded instead of shown. Tabs 0 (Timers) and 3 (Scheduler) get small sample editors.

#include "../editors/editor_driver.h"
#include "../editors/sample_editor.h"
#include "app/editor_tabs.h"
#include "app/zel_main.h"
#include "link/busy_state.h"
#include "model/key_access.h"
#include "interfaces/file_viewer.h"
#include "interfaces/serial_port.h"
#include "fake_editor_services.h"
#include "scripted_file_dialogs.h"
#include "scripted_prompts.h"
#include "temp_folder.h"

#include <QAction>
#include <QDialog>
#include <QMenu>
#include <QStackedWidget>
#include <QTabBar>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <set>
#include <vector>

namespace vm880::test {

// Remembers the ports opened and whether the program closed the port on its way out.
class RecordingPort : public SerialPort {
public:
    bool Open(int number, std::string& error) override
    {
        opened.push_back(number);
        if (missing.count(number)) {
            error = "no such port";
            return false;
        }
        open = true;
        return true;
    }
    bool IsOpen() const override { return open; }
    void Close() override { open = false; ++closes; }
    bool Write(std::string_view) override { return true; }
    std::string ReadAll() override { return {}; }
    bool WaitForInput(int) override { return false; }
    void DiscardInput() override {}
    bool SetDTR(bool) override { return true; }
    bool SetRTS(bool) override { return true; }
    std::string LastError() const override { return {}; }
    bool open = false;
    int closes = 0;
    std::vector<int> opened;
    std::set<int> missing; // ports that are not there
};

// Records the files it was asked to show.
class RecordingViewer : public FileViewer {
public:
    bool Open(const std::string& path) override
    {
        shown.push_back(path);
        return works;
    }
    std::vector<std::string> shown;
    bool works = true;
};

// A rig's model, prompts, port, links and busy state as the program's context carries them.
template <typename Rig>
AppContext ContextOf(Rig& rig)
{
    AppContext context{rig.model, rig.prompts, rig.keys, rig.folder.path().string(), &rig.port};
    context.clock = &rig.clock;
    context.serialLink = &rig.serial;
    context.toneLink = &rig.tone;
    context.busy = &rig.busy;
    context.links = &rig.links;
    return context;
}

class MainWindowTest : public ::testing::Test {
protected:
    void Start()
    {
        AppContext context{model, prompts, keys, home.path().string(), &port,
                           [this](QDialog& dialog) { modals.push_back(dialog.objectName().toStdString()); }};
        context.viewer = &viewer;
        context.dialogs = &dialogs;
        context.links = &fakes;
        context.busy = &fakes.busy;
        context.player = &fakes.player;
        if (!context.clock)
            context.clock = &fakes.clock;
        if (extendContext)
            extendContext(context);
        window = std::make_unique<ZelMain>(std::move(context));
        window->tabs().SetFactory([](int area, EditorServices ctx) -> std::unique_ptr<EditorBase> {
            if (area == 0)
                return std::make_unique<SampleEditor>(ctx);
            if (area == 3)
                return std::make_unique<SampleEditor>(ctx, true, &ConfigModel::giSchedulerUnapplied);
            return nullptr;
        });
        QObject::connect(window.get(), &ZelMain::programEnded, [this] { ++endings; });
        window->Load();
    }

    // What a successful load leaves behind, then the main window's part.
    void LoadFile(const std::string& path = "/srv/club/repeater.dat")
    {
        window->fUnloadForms();
        model.DatFilePath = path;
        model.HangTime(1) = "10";
        model.FanTime = "5";
        model.DatFileLoaded = kTrue;
        window->ShowLoadedFile();
    }

    std::string Ini() const { return home.file("zel.ini"); }
    Text Key(const std::string& key) { return keys.ReadSetting("Main", key, Ini()); }
    bool IniExists() const { return std::filesystem::exists(Ini()); }

    EditorBase* Editor(int area) const { return window->tabs().Editor(area); }
    QTabBar* TabBar() const { return window->tabs().tabBar(); }
    int Page() const { return window->tabs().pages()->currentIndex(); }

    // An unapplied edit in the Timers editor.
    void EditTimers()
    {
        EditorDriver(*Editor(0)).Type("FanTimer", "7");
        ASSERT_EQ(model.giTimersUnapplied, 2);
    }

    TempFolder home;
    ConfigModel model;
    ScriptedPrompts prompts;
    KeyAccess keys{prompts};
    RecordingPort port;
    RecordingViewer viewer;
    ScriptedFileDialogs dialogs;
    FakeEditorServices fakes{prompts};
    BusyState& busy = fakes.busy;
    std::vector<std::string> modals;
    std::unique_ptr<ZelMain> window;
    std::function<void(AppContext&)> extendContext; // what a test adds before Start()
    int endings = 0;
};

} // namespace vm880::test
