#include "app/application.h"

#include "platform/program_folder.h"

#include <QMainWindow>

namespace vm880 {

Application::Application() : programFolder_(ProgramFolder())
{
    model_.ClearAllData();
}

Application::~Application() = default;

void Application::Start()
{
    mainWindow_ = std::make_unique<QMainWindow>();
    mainWindow_->setWindowTitle("VM880 Programmer");
    prompts_.setParent(mainWindow_.get());
    mainWindow_->show();
}

} // namespace vm880
