#pragma once
// Icons of the main toolbar: the desktop theme's where it has one, else drawn here.

#include <QIcon>

namespace vm880 {

enum class ToolIcon { Open, Save, Download, Upload, Reset, Clock };

QIcon ToolbarIcon(ToolIcon which);

} // namespace vm880
