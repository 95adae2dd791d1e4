#include "app/application.h"

#include "app/info_windows.h"
#include "app/zel_main.h"
#include "platform/program_folder.h"

#include <QCoreApplication>
#include <QTimer>

namespace vm880 {

Application::Application() : programFolder_(ProgramFolder())
{
    model_.ClearAllData();
}

Application::~Application() = default;

void Application::Start()
{
    splash_ = std::make_unique<Splash>();
    connect(splash_.get(), &Splash::timeUp, this, [this] { openMainWindow(); });
    splash_->show();
}

void Application::openMainWindow()
{
    AppContext context{model_, prompts_, keys_, programFolder_};
    context.serial = &serial_;
    context.clock = &clock_;
    context.serialLink = &serialLink_;
    context.toneLink = &toneLink_;
    context.player = &player_;
    context.viewer = &viewer_;
    context.dialogs = &dialogs_;
    context.busy = &busy_;
    context.links = &links_;
    mainWindow_ = std::make_unique<ZelMain>(std::move(context));
    prompts_.setParent(mainWindow_.get());
    dialogs_.setParent(mainWindow_.get());
    connect(mainWindow_.get(), &ZelMain::programEnded, qApp, &QCoreApplication::quit, Qt::QueuedConnection);
    mainWindow_->Load();
    mainWindow_->show();
    splash_->timer()->stop();
    splash_->close();
    splash_.release()->deleteLater();
}

} // namespace vm880
