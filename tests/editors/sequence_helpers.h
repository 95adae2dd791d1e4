#pragma once
// Helpers of the tests of the editors of sequence texts (memories, identifications,
// messages): focus moves into and out of a box of a control array, double-clicks on a pick
// list, and the serial lines an upload of changes would send for a model as it stands, so
// that a test can check that an applied change reaches the controller.

#include "editor_driver.h"
#include "link/command_catalogue.h"
#include "model/config_model.h"

#include <QApplication>
#include <QFocusEvent>
#include <QListWidget>

#include <string>
#include <vector>

namespace vm880::test {

// The box gets (or loses) the focus as a click elsewhere gives it.
inline void Focus(EditorDriver& ui, const std::string& name, int slot, bool in = true)
{
    QFocusEvent event(in ? QEvent::FocusIn : QEvent::FocusOut, Qt::MouseFocusReason);
    QApplication::sendEvent(ui.Get(name, slot), &event);
}

// Finds the row showing `text` and double-clicks it; false when there is none.
inline bool DoubleClick(EditorDriver& ui, const std::string& list, const QString& text)
{
    QListWidget* widget = ui.Get<QListWidget>(list);
    for (int row = 0; row < widget->count(); ++row)
        if (widget->item(row)->text() == text) {
            emit widget->itemDoubleClicked(widget->item(row));
            return true;
        }
    return false;
}

inline std::vector<std::string> ChangedCommands(ConfigModel m)
{
    std::vector<std::string> lines;
    for (const Step& step : UploadOrder(m))
        if (IsChosen(*step.item, m, step.ref))
            for (const SerialLine& line : SerialLines(*step.item, m, step.ref))
                lines.push_back(line.text);
    return lines;
}

} // namespace vm880::test
