#pragma once
// The Analog editor (main tab 4): the type and scaling of each of the eight meters on the
// tabs "Ch 1" to "Ch 8"; the reference voltage and the eight meter alarms, one shown at a
// time, on the tab "Reference / Meter Alarms".

#include "editors/editor_base.h"

class QComboBox;
class QTabWidget;

namespace vm880 {

class AnalogEditor : public EditorBase {
public:
    explicit AnalogEditor(EditorContext context, QWidget* parent = nullptr);

    // The meter of the tab in front; 9 while "Reference / Meter Alarms" is in front.
    int CurrentMeter() const { return currentMeter_; }
    int CurrentMeterAlarm() const { return currentAlarm_; }
    QTabWidget* Tabs() const { return tabs_; }
    QComboBox* AlarmSelect() const { return alarmSelect_; }

protected:
    void FillLists() override;
    void AfterLoad() override;

private:
    QWidget* meterPage(int meter);
    QWidget* referencePage();
    void chooseAlarm(int alarm);

    Field* meterType_ = nullptr;
    Field* alarmType_ = nullptr;
    Field* meterNum_ = nullptr;
    Field* macro_ = nullptr;
    QTabWidget* tabs_ = nullptr;
    QComboBox* alarmSelect_ = nullptr;
    int currentMeter_ = 1;
    int currentAlarm_ = 1;
};

} // namespace vm880
