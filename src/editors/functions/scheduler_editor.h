#pragma once
// The Scheduler/Clock editor (main tab 3): twenty set points, each running a macro at a day
// and time, shown one at a time by number; the real-time clock's readback options and its
// daily correction; and Set Clock, which sets the controller's clock and calendar from the
// computer's at once (it does not wait for Apply and changes nothing in the model).

#include "editors/editor_base.h"

class QLabel;
class QPushButton;

namespace vm880 {

class SchedulerEditor : public EditorBase {
public:
    explicit SchedulerEditor(EditorServices services, QWidget* parent = nullptr);

    // The Set Clock button; the main window's menu and toolbar run the same command.
    void ClockSet_Click();

    RecordSelector& setPoints() const { return *setPoint_; }
    QPushButton* ClockSetButton() const { return clockSet_; }

protected:
    void FillLists() override;
    void UpdateDependents() override;

private:
    QWidget* schedulerFrame();
    QWidget* clockFrame();

    RecordSelector* setPoint_ = nullptr;
    Field* dow_ = nullptr;
    Field* monthly_ = nullptr;
    Field* week_ = nullptr;
    Field* hours_ = nullptr;
    Field* minutes_ = nullptr;
    Field* macro_ = nullptr;
    Field* twentyFour_ = nullptr;
    Field* sayHour_ = nullptr;
    QLabel* weekLabel_ = nullptr;
    QPushButton* clockSet_ = nullptr;
};

} // namespace vm880
