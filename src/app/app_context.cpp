#include "app/app_context.h"

#include "editors/editor_services.h"
#include "link/controller_action.h"

#include <QDialog>

#include <stdexcept>
#include <string>

namespace vm880 {

namespace {

template <typename Service>
Service& Need(Service* service, const char* user, const char* name)
{
    if (!service)
        throw std::invalid_argument(std::string(user) + " need the " + name + " service");
    return *service;
}

} // namespace

EditorServices EditorServicesOf(const AppContext& context)
{
    auto need = [](auto* service, const char* name) -> auto& { return Need(service, "The editors", name); };
    return {context.model,
            context.prompts,
            need(context.links, "controller link"),
            need(context.busy, "busy state"),
            need(context.player, "tone player"),
            need(context.clock, "clock"),
            need(context.dialogs, "file dialog"),
            context.keys};
}

ControllerActionContext ControllerActionOf(const AppContext& context)
{
    const char* user = "Controller actions";
    return {context.model, context.prompts, Need(context.busy, user, "busy state"),
            Need(context.links, user, "controller link")};
}

void RunModal(const AppContext& context, QDialog& dialog)
{
    if (context.runModal)
        context.runModal(dialog);
    else
        dialog.exec();
}

} // namespace vm880
