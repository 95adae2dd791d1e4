#pragma once
// Renders the program's windows into PNG files (for the documentation), without a display
// and without touching the operator's zel.ini.

#include <QString>

namespace vm880 {

// Writes splash.png, main.png, one PNG per built editor, about.png, company.png and
// progress.png into `folder`. Returns 0 when every file was written.
int RenderScreenshots(const QString& folder);

} // namespace vm880
