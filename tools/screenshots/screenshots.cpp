// vm880-screenshots: renders the program's windows into PNG files for the documentation,
// without a display and without touching the operator's zel.ini (see scripts/screenshots.sh).
// Usage: vm880-screenshots [FOLDER], FOLDER "docs" when not given.

#include "app/area_table.h"
#include "app/editor_tabs.h"
#include "app/info_windows.h"
#include "app/zel_main.h"
#include "link/busy_state.h"
#include "link/controller_links.h"
#include "link/dtmf_link.h"
#include "link/serial_link.h"
#include "link/tone_player.h"
#include "model/config_model.h"
#include "model/key_access.h"
#include "platform/qt_clock.h"
#include "platform/qt_file_dialogs.h"
#include "platform/qt_file_viewer.h"
#include "platform/qt_prompts.h"
#include "platform/qt_serial_port.h"
#include "platform/qt_sound_out.h"

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

    // The services the editors receive; nothing is opened or played while rendering.
    QtSerialPort serial;
    QtClock clock;
    QtSoundOut sound;
    QtFileViewer viewer;
    QtFileDialogs dialogs;
    TonePlayer player{sound, prompts};
    SerialLink serialLink{model, serial, clock, prompts};
    ToneLink toneLink{ToneLinkContext{model, serial, clock, prompts, player}};
    ControllerLinkChooser links{model, serialLink, toneLink};
    BusyState busy;
    AppContext context{model, prompts, keys, home.path().toStdString()};
    context.serial = &serial;
    context.clock = &clock;
    context.serialLink = &serialLink;
    context.toneLink = &toneLink;
    context.player = &player;
    context.viewer = &viewer;
    context.dialogs = &dialogs;
    context.busy = &busy;
    context.links = &links;
    ZelMain main(std::move(context));
    prompts.setParent(&main);
    main.Load();
    main.resize(1100, 640);
    ok &= save(main, folder, QStringLiteral("main"));

    // Editors, as they appear once a settings file is loaded.
    model.DatFilePath = "/home/operator/repeater/club-repeater.dat";
    main.ShowLoadedFile();
    for (int area = 0; area < kAreaCount; ++area) {
        if (!main.tabs().Editor(area))
            continue;
        main.tabs().tabBar()->setCurrentIndex(area);
        ok &= save(main, folder, QStringLiteral("editor-") + slug(kEditorTable[static_cast<std::size_t>(area)].caption));
    }

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
