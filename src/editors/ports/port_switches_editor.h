#pragma once
// The Port Switches editor (main tab 10): the on/off switches and small choices of each
// port, all three ports in view at once, and the two switches that belong to no port.
// Only check boxes, option pairs and lists: nothing to check, so Apply never refuses.

#include "editors/editor_base.h"


namespace vm880 {

class PortSwitchesEditor : public EditorBase {
public:
    explicit PortSwitchesEditor(EditorServices services, QWidget* parent = nullptr);

protected:
    void FillLists() override;

private:
    QWidget* portFrame(int port);

    Field* accessMode_ = nullptr;
};

} // namespace vm880
