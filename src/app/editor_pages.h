#pragma once
// Creates the editor window of an area. Each editor, as it is built, adds its line to
// MakeEditor; an area without an editor shows an empty page.

#include "editors/editor_services.h"

#include <memory>

namespace vm880 {

class EditorBase;

// The editor of tab `area` (0..10), not yet loaded; null when that editor does not exist yet.
std::unique_ptr<EditorBase> MakeEditor(int area, EditorServices services);

} // namespace vm880
