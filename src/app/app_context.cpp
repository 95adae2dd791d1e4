#include "app/app_context.h"

#include "editors/editor_services.h"

#include <QDialog>

#include <stdexcept>
#include <string>

namespace vm880 {

EditorServices EditorServicesOf(const AppContext& context)
{
    auto need = [](auto* service, const char* name) -> auto& {
        if (!service)
            throw std::invalid_argument(std::string("The editors need the ") + name + " service");
        return *service;
    };
    return {context.model,
            context.prompts,
            need(context.links, "controller link"),
            need(context.busy, "busy state"),
            need(context.player, "tone player"),
            need(context.clock, "clock"),
            need(context.dialogs, "file dialog"),
            context.keys};
}

void RunModal(const AppContext& context, QDialog& dialog)
{
    if (context.runModal)
        context.runModal(dialog);
    else
        dialog.exec();
}

} // namespace vm880
