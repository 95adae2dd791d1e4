#include "app/app_context.h"

#include <QDialog>

namespace vm880 {

void RunModal(const AppContext& context, QDialog& dialog)
{
    if (context.runModal)
        context.runModal(dialog);
    else
        dialog.exec();
}

} // namespace vm880
