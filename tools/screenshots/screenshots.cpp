// vm880-screenshots: renders the program's windows into PNG files for the documentation,
// without a display and without touching the operator's zel.ini (see scripts/screenshots.sh).
// Usage: vm880-screenshots [FOLDER], FOLDER "docs" when not given.

#include "app/area_table.h"
#include "app/editor_tabs.h"
#include "app/info_windows.h"
#include "app/zel_main.h"
#include "editors/functions/unlock_window.h"
#include "model/config_model.h"
#include "model/key_access.h"
#include "model/reader.h"
#include "interfaces/file_viewer.h"
#include "link/busy_state.h"
#include "link/controller_link.h"
#include "link/tone_player.h"
#include "tables/macro_functions.h"
#include "platform/qt_clock.h"
#include "platform/qt_file_dialogs.h"
#include "platform/qt_prompts.h"
#include "platform/qt_sound_out.h"

#include <fstream>

#include <QApplication>
#include <QDir>
#include <QProgressBar>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTextStream>
#include <QTimer>

namespace vm880 {

namespace {

bool save(QWidget& widget, const QString& folder, const QString& name)
{
    widget.show();
    QApplication::processEvents();
    const QString path = QDir(folder).filePath(name + QStringLiteral(".png"));
    const bool ok = widget.grab().save(path);
    QTextStream(stderr) << (ok ? "wrote " : "FAILED ") << path << '\n';
    return ok;
}

// "Special Codes/Autopatch" gives "special-codes-autopatch".
QString slug(const char* caption)
{
    QString out;
    for (QChar c : QString::fromLatin1(caption).toLower()) {
        if (c.isLetterOrNumber())
            out += c;
        else if (!out.isEmpty() && !out.endsWith(QLatin1Char('-')))
            out += QLatin1Char('-');
    }
    return out;
}

// Answers the reader's questions about a new file's missing keys without a window.
struct QuietPrompts : Prompts {
    Answer Message(int, std::string_view, std::string_view) override { return Answer::No; }
    std::optional<std::string> Input(std::string_view, std::string_view, std::string_view) override
    {
        return std::nullopt;
    }
    void Beep() override {}
    void ShowWait(std::string_view, std::string_view) override {}
    void HideWait() override {}
};

struct NoViewer : FileViewer {
    bool Open(const std::string&) override { return true; }
};

// The editors show the values of a new settings file: every setting at its default.
void LoadNewFile(ConfigModel& model, const QTemporaryDir& home)
{
    const std::string dat = home.filePath(QStringLiteral("club-repeater.dat")).toStdString();
    std::ofstream(dat) << "[Version]\r\nFirmwareVersion=60\r\nHasRTC=1\r\n";
    QuietPrompts quiet;
    KeyAccess keys(quiet);
    NoViewer viewer;
    model.DatFilePath = dat;
    FileLoadServices services{model, keys, quiet, viewer, home.path().toStdString(),
                              [] { return std::string("20260101 0000"); }};
    FileLoad(services);
}

// The screenshots never talk to a controller: every link refuses to open.
class NoLinks : public ControllerLinks, private ControllerLink {
public:
    ControllerLink& Current() override { return *this; }

private:
    LinkKind Kind() const override { return LinkKind::Serial; }
    bool Open(std::optional<std::int64_t> = std::nullopt) override { return false; }
    bool Unlock(int) override { return false; }
    bool Send(const LinkCommand&) override { return false; }
    bool Lock() override { return false; }
    bool Release() override { return true; }
};

// Macros as a loaded settings file holds them: the function list loaded, a few macros in
// use, the rest empty with their factory recall codes.
void fillSampleMacros(ConfigModel& model)
{
    CopyMacroFunctionTable();
    for (int i = 1; i <= 90; ++i) {
        Text& macro = i <= 40 ? model.Macro(i) : model.ShortMacro(i - 40);
        Text& code = i <= 40 ? model.MacroCode(i) : model.ShortMacroCode(i - 40);
        macro = "NONE STORED";
        code = "5000" + std::to_string(i);
        model.PortToAllow(i) = "123";
    }
    model.Macro(1) = "116 117";
    model.Macro(2) = "001 037 049 181";
    model.Macro(3) = "013 014 015 701";
    model.MacroCode(3) = "123";
    for (int p = 1; p <= 3; ++p)
        model.RcvMacroActive(p) = model.RcvMacroInactive(p) = "90";
}

} // namespace

// Writes splash.png, main.png, one PNG per built editor, about.png, company.png and
// progress.png into `folder`. Returns 0 when every file was written.
int RenderScreenshots(const QString& folder)
{
    QDir().mkpath(folder);
    QTemporaryDir home; // a program folder of its own: no zel.ini is read or written
    ConfigModel model;
    QtPrompts prompts;
    KeyAccess keys(prompts);
    bool ok = true;

    Splash splash;
    splash.timer()->stop();
    ok &= save(splash, folder, QStringLiteral("splash"));
    splash.close();

    // The editors' services; nothing here talks to a controller or plays a sound.
    NoLinks links;
    BusyState busy;
    QtClock clock;
    QtSoundOut sound;
    TonePlayer player(sound, prompts);
    QtFileDialogs dialogs;
    AppContext context{model, prompts, keys, home.path().toStdString()};
    context.links = &links;
    context.busy = &busy;
    context.clock = &clock;
    context.player = &player;
    context.dialogs = &dialogs;
    ZelMain main(context);
    prompts.setParent(&main);
    main.Load();
    main.resize(1100, 640);
    ok &= save(main, folder, QStringLiteral("main"));

    // Editors, as they appear once a settings file is loaded.
    LoadNewFile(model, home);
    model.DatFilePath = "/home/operator/repeater/club-repeater.dat";
    fillSampleMacros(model);
    main.ShowLoadedFile();
    for (int area = 0; area < kAreaCount; ++area) {
        if (!main.tabs().Editor(area))
            continue;
        main.tabs().tabBar()->setCurrentIndex(area);
        ok &= save(main, folder, QStringLiteral("editor-") + slug(kEditorTable[static_cast<std::size_t>(area)].caption));
    }

    for (int p = 1; p <= 3; ++p)
        model.CurrentPortUnlock(p) = std::to_string(p) + "7306";
    model.Lock = "#";
    model.Terminator = "D";
    model.NewPortUnlock(2) = "24680";
    UnlockWindow unlock(main.tabs().services(), &main);
    ok &= save(unlock, folder, QStringLiteral("unlock-codes"));
    unlock.hide();

    AboutWindow about(&main);
    ok &= save(about, folder, QStringLiteral("about"));
    CompanyWindow company(&main);
    ok &= save(company, folder, QStringLiteral("company"));
    ProgressWindow progress(model, &main);
    progress.ProgressBar1()->setValue(40);
    ok &= save(progress, folder, QStringLiteral("progress"));
    return ok ? 0 : 1;
}

} // namespace vm880

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName("VM880 Programmer");
    const QStringList args = QApplication::arguments();
    return vm880::RenderScreenshots(args.value(1, QStringLiteral("docs")));
}
