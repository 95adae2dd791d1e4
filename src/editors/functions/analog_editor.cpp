#include "editors/functions/analog_editor.h"

#include "editors/editor_layout.h"
#include "editors/functions/analog_meters.h"
#include "editors/qt_lists.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QValidator>
#include <QVBoxLayout>

namespace vm880 {

namespace {

using M = ConfigModel;

// The trip value box shows what is kept: a typed or pasted "-" appears as "A", in capitals.
class TripValueInput : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& input, int&) const override
    {
        input.replace(QLatin1Char('-'), QLatin1Char('A'));
        input = input.toUpper();
        return Acceptable;
    }
};

} // namespace

AnalogEditor::AnalogEditor(EditorServices services, QWidget* parent)
    : EditorBase(services, DeclFor(4), parent)
{
    setObjectName(QStringLiteral("Analog"));
    setWindowTitle(QStringLiteral("Analog Channels Configuration"));
    tabs_ = &AddRecordTabs({});
    alarms_ = &AddRecordSelector({.name = "MeterAlarmNumSet", .first = 1, .last = kMeterAlarmCount});

    // Apply checks the meter whose box was edited last, not the tab in front: the reference
    // tab has no meter of its own, and another meter's box was checked when it was left.
    ElementProvider meter = ByTab(*tabs_);
    meter.current = {};
    // A meter's type and scaling share the meter's flag: the upload sends them together.
    meterType_ = &AddCombo({.name = "MeterType", .bind = Bind(&M::Meter, &M::MeterChanged), .from = meter});
    for (const MeterField& f : kMeterFields) {
        AddNumber({.number = f.number,
                   .name = f.control,
                   .bind = Bind(f.value, &M::MeterChanged),
                   .hi = kMeterValueHi,
                   .message = std::string(f.name) + " invalid, must be between ",
                   .title = FixedTitle(f.name),
                   .from = meter});
    }
    AddNumber({.number = kVrefField,
               .name = "VrefSetting",
               .bind = {1, [](M& m, int) -> Text& { return m.Vref; },
                        [](M& m, int) -> Flag& { return m.MeterChanged(kVrefFlagElement); }},
               .hi = kVrefHi,
               .message = std::string(kVrefName) + " invalid, must be between ",
               .title = FixedTitle(kVrefName)});

    const ElementProvider alarm = ByRecord(*alarms_);
    alarmType_ = &AddCombo({.name = "MeterAlarmTypeSet",
                            .bind = Bind(&M::MeterAlarmType, &M::MeterAlarmChanged),
                            .slotCount = 1,
                            .from = alarm});
    meterNum_ = &AddCombo({.name = "MeterNumSet",
                           .bind = Bind(&M::MeterNum, &M::MeterAlarmChanged),
                           .slotCount = 1,
                           .from = alarm});
    tripValue_ = &AddText({.number = kTripValueField,
                           .name = "MeterSetPointSet",
                           .bind = Bind(&M::MeterSetPoint, &M::MeterAlarmChanged),
                           .title = FixedTitle(kTripValueTitle),
                           .check = [](FieldCheck& c) -> std::optional<Refusal> {
                               if (auto text = TripValueRefusal(c.Value()))
                                   return Refusal{*text};
                               return std::nullopt;
                           },
                           .empty = Text("0"),
                           .slotCount = 1,
                           .normalize = [](int, const QString& typed) {
                               return TripValueEntered(typed.toLatin1().toStdString());
                           },
                           .from = alarm});
    tripValue_->Edit(1)->setValidator(new TripValueInput(tripValue_->Edit(1)));
    macro_ = &AddCombo({.name = "MeterMacroSet",
                        .bind = Bind(&M::MeterMacro, &M::MeterAlarmChanged),
                        .digits = 2,
                        .slotCount = 1,
                        .from = alarm});

    for (int i = 1; i <= kMeterCount; ++i)
        tabs_->AddPage(meterPage(i), QStringLiteral("Ch %1").arg(i), i);
    tabs_->AddPage(referencePage(), QStringLiteral("Reference / Meter Alarms"), 0);

    auto* layout = new QHBoxLayout(this);
    layout->addWidget(tabs_->Widget());
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(ApplyButton());
    buttons->addWidget(CancelButton());
    buttons->addWidget(new QLabel(QStringLiteral("All Channels / Meters")));
    buttons->addStretch();
    layout->addLayout(buttons);
}

int AnalogEditor::CurrentMeter() const
{
    return tabs_->Widget()->currentIndex() + 1;
}

void AnalogEditor::ShowTab(int tab)
{
    tabs_->Widget()->setCurrentIndex(tab - 1);
}

QWidget* AnalogEditor::meterPage(int i)
{
    auto* page = new QWidget;
    auto* grid = new QGridLayout(page);
    AddRow(grid, QStringLiteral("Meter Type"), meterType_->Combo(i));
    static constexpr const char* kCaptions[] = {"Actual Low Value", "Meter Low Value",
                                                "Actual High Value", "Meter High Value"};
    for (const MeterField& f : kMeterFields)
        AddRow(grid, QString::fromLatin1(kCaptions[f.number - 1]), Narrow(Control(f.control, i), 90));
    grid->setRowStretch(grid->rowCount(), 1);
    grid->setColumnStretch(3, 1);
    return page;
}

QWidget* AnalogEditor::referencePage()
{
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    QGridLayout* reference = AddGroup(layout, QStringLiteral("Reference Voltage"));
    AddRow(reference, QStringLiteral("Reference Voltage"), Narrow(Control("VrefSetting"), 90));
    reference->setColumnStretch(3, 1);
    QGridLayout* grid = AddGroup(layout, QStringLiteral("Meter Alarms"));
    AddRow(grid, QStringLiteral("Alarm Number"), alarms_->Combo());
    AddRow(grid, QStringLiteral("Alarm Type"), alarmType_->Combo(1));
    AddRow(grid, QStringLiteral("Meter Number"), meterNum_->Combo(1));
    AddRow(grid, QStringLiteral("Trip Value"), Narrow(tripValue_->Edit(1), 90));
    AddRow(grid, QStringLiteral("Macro To Call"), macro_->Combo(1));
    grid->setColumnStretch(3, 1);
    layout->addStretch();
    return page;
}

void AnalogEditor::FillLists()
{
    for (int i = 1; i <= kMeterCount; ++i)
        FillMeterTypeList(meterType_->Combo(i));
    FillMeterAlarmTypeList(alarmType_->Combo(1));
    FillMeterNumList(meterNum_->Combo(1));
    FillNumberList(macro_->Combo(1), 1, 90);
}

} // namespace vm880
