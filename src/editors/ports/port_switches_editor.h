#pragma once
// The Port Switches editor (main tab 10): the on/off switches and small choices of each
// port, all three ports in view at once, and the two switches that belong to no port.
// Only check boxes, option pairs and lists: nothing to check, so Apply never refuses.

#include "editors/editor_base.h"

#include <vector>

namespace vm880 {

class PortSwitchesEditor : public EditorBase {
public:
    explicit PortSwitchesEditor(EditorContext context, QWidget* parent = nullptr);

protected:
    void FillLists() override;
    void AfterCopy() override;

private:
    QWidget* portFrame(int port);

    std::vector<Field*> portFields_; // the per-port settings
    Field* accessMode_ = nullptr;
};

} // namespace vm880
