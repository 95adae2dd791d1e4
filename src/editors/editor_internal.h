#pragma once
// Small helpers shared by the files of the editor framework.

#include "base/types.h"

#include <QString>
#include <QWidget>

#include <string>

namespace vm880::editor_internal {

inline constexpr const char* kSkipChecks = "vm880SkipChecks";

// Shows a control red while its working value differs from the model, black otherwise.
void SetMarked(QWidget* widget, bool marked);

// True when `next` (the control getting the focus) is, or sits in, a control whose focus must
// not run the check of the field being left.
bool SkipsChecks(const QWidget* next, const QWidget* editor);

inline std::string BoundsText(int lo, int hi)
{
    return std::to_string(lo) + " and " + std::to_string(hi);
}

} // namespace vm880::editor_internal
