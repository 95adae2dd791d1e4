#pragma once
// The Timers editor (main tab 0): the timers and the tail message program of each port on
// the tabs "Port 1" to "Port 3", the timers that belong to no port on the tab "Global".

#include "editors/editor_base.h"

class QTabWidget;

namespace vm880 {

class TimersEditor : public EditorBase {
public:
    explicit TimersEditor(EditorServices services, QWidget* parent = nullptr);

    // The port of the port tab in front, or of the last one when "Global" is in front.
    int CurrentPort() const { return tabs_->Current(); }
    QTabWidget* Tabs() const { return tabs_->Widget(); }

protected:
    void FillLists() override;
    void UpdateDependents() override;

private:
    void declarePortFields();
    void declareGlobalFields();
    QWidget* portPage(int port);
    QWidget* globalPage();

    Field* pendingID_ = nullptr;
    Field* inactive_ = nullptr;
    Field* inactivityMacro_ = nullptr;
    Field* totReset_ = nullptr;
    Field* tailMessage_ = nullptr;
    Field* tailMacros_ = nullptr;
    Field* announce_ = nullptr;
    Field* tailCounter_ = nullptr;
    Field* generalMacro_ = nullptr;
    RecordTabs* tabs_ = nullptr;
};

} // namespace vm880
