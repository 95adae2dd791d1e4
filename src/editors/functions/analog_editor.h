#pragma once
// The Analog editor (main tab 4): the type and scaling of each of the eight meters on the
// tabs "Ch 1" to "Ch 8"; the reference voltage and the eight meter alarms, one shown at a
// time, on the tab "Reference / Meter Alarms".

#include "editors/editor_base.h"

namespace vm880 {

class AnalogEditor : public EditorBase {
public:
    explicit AnalogEditor(EditorServices services, QWidget* parent = nullptr);

    // The meter of the tab in front; 9 while "Reference / Meter Alarms" is in front.
    int CurrentMeter() const;
    int CurrentMeterAlarm() const { return alarms_->Value(); }
    // Brings tab 1..9 to the front / shows meter alarm 1..8, as the operator would.
    void ShowTab(int tab);
    void ShowAlarm(int alarm) { alarms_->Choose(alarm); }

protected:
    void FillLists() override;

private:
    QWidget* meterPage(int meter);
    QWidget* referencePage();

    RecordTabs* tabs_ = nullptr;
    RecordSelector* alarms_ = nullptr;
    Field* meterType_ = nullptr;
    Field* alarmType_ = nullptr;
    Field* meterNum_ = nullptr;
    Field* tripValue_ = nullptr;
    Field* macro_ = nullptr;
};

} // namespace vm880
