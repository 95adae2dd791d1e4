#include "editors/functions/analog_editor.h"

#include "editors/functions/analog_meters.h"
#include "platform/qt_lists.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
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

void addRow(QGridLayout* grid, const QString& caption, QWidget* control)
{
    const int row = grid->rowCount();
    grid->addWidget(new QLabel(caption), row, 0);
    grid->addWidget(control, row, 1);
}

QWidget* narrow(QWidget* control)
{
    control->setMaximumWidth(90);
    return control;
}

} // namespace

AnalogEditor::AnalogEditor(EditorContext context, QWidget* parent)
    : EditorBase(context,
                 {.pending = &M::giAnalogUnapplied,
                  .areaFlag = &M::AnalogChanged,
                  .cancelText = "This will cancel all Analog changes made since your last Analog "
                                "'Apply' or Analog 'Cancel Changes'",
                  .cancelTitle = "ANALOG CANCEL CHANGES"},
                 parent)
{
    setObjectName(QStringLiteral("Analog"));
    setWindowTitle(QStringLiteral("Analog Channels Configuration"));

    // A meter's type and scaling share the meter's flag: the upload sends them together.
    meterType_ = &AddCombo({.name = "MeterType", .bind = Bind(&M::Meter, &M::MeterChanged)});
    for (const MeterField& f : kMeterFields) {
        // No current element: Apply checks the meter whose box was edited, whichever tab is
        // in front (the reference tab has no meter of its own).
        AddNumber({.number = f.number,
                   .name = f.control,
                   .bind = Bind(f.value, &M::MeterChanged),
                   .hi = kMeterValueHi,
                   .message = std::string(f.name) + " invalid, must be between ",
                   .title = FixedTitle(f.name)});
    }
    AddNumber({.number = kVrefField,
               .name = "VrefSetting",
               .bind = {1, [](M& m, int) -> Text& { return m.Vref; },
                        [](M& m, int) -> Flag& { return m.MeterChanged(kVrefFlagElement); }},
               .hi = kVrefHi,
               .message = std::string(kVrefName) + " invalid, must be between ",
               .title = FixedTitle(kVrefName)});

    auto shownAlarm = [this](int) { return currentAlarm_; };
    alarmType_ = &AddCombo({.name = "MeterAlarmTypeSet",
                            .bind = Bind(&M::MeterAlarmType, &M::MeterAlarmChanged),
                            .slotCount = 1,
                            .element = shownAlarm});
    meterNum_ = &AddCombo({.name = "MeterNumSet",
                           .bind = Bind(&M::MeterNum, &M::MeterAlarmChanged),
                           .slotCount = 1,
                           .element = shownAlarm});
    Field& trip = AddText({.number = kTripValueField,
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
                           .element = shownAlarm,
                           .current = [this] { return currentAlarm_; },
                           .normalize = [](int, const QString& typed) {
                               return TripValueEntered(typed.toLatin1().toStdString());
                           }});
    trip.Edit(1)->setValidator(new TripValueInput(trip.Edit(1)));
    macro_ = &AddCombo({.name = "MeterMacroSet",
                        .bind = Bind(&M::MeterMacro, &M::MeterAlarmChanged),
                        .digits = 2,
                        .slotCount = 1,
                        .element = shownAlarm});

    tabs_ = new QTabWidget(this);
    tabs_->setObjectName(QStringLiteral("SSTab1"));
    for (int i = 1; i <= kMeterCount; ++i)
        tabs_->addTab(meterPage(i), QStringLiteral("Ch %1").arg(i));
    tabs_->addTab(referencePage(), QStringLiteral("Reference / Meter Alarms"));
    connect(tabs_, &QTabWidget::currentChanged, this, [this](int tab) {
        if (tab >= 0)
            currentMeter_ = tab + 1;
    });

    auto* layout = new QHBoxLayout(this);
    layout->addWidget(tabs_);
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(ApplyButton());
    buttons->addWidget(CancelButton());
    buttons->addWidget(new QLabel(QStringLiteral("All Channels / Meters")));
    buttons->addStretch();
    layout->addLayout(buttons);
}

QWidget* AnalogEditor::meterPage(int i)
{
    auto* page = new QWidget;
    auto* grid = new QGridLayout(page);
    addRow(grid, QStringLiteral("Meter Type"), meterType_->Combo(i));
    static constexpr const char* kCaptions[] = {"Actual Low Value", "Meter Low Value",
                                                "Actual High Value", "Meter High Value"};
    for (const MeterField& f : kMeterFields)
        addRow(grid, QString::fromLatin1(kCaptions[f.number - 1]), narrow(Control(f.control, i)));
    grid->setRowStretch(grid->rowCount(), 1);
    grid->setColumnStretch(2, 1);
    return page;
}

QWidget* AnalogEditor::referencePage()
{
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);

    auto* reference = new QGroupBox(QStringLiteral("Reference Voltage"));
    auto* referenceGrid = new QGridLayout(reference);
    addRow(referenceGrid, QStringLiteral("Reference Voltage"), narrow(Control("VrefSetting")));
    referenceGrid->setColumnStretch(2, 1);
    layout->addWidget(reference);

    auto* alarms = new QGroupBox(QStringLiteral("Meter Alarms"));
    auto* grid = new QGridLayout(alarms);
    alarmSelect_ = new QComboBox;
    alarmSelect_->setObjectName(QStringLiteral("MeterAlarmNumSet"));
    connect(alarmSelect_, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (index >= 0)
            chooseAlarm(alarmSelect_->itemData(index).toInt());
    });
    addRow(grid, QStringLiteral("Alarm Number"), alarmSelect_);
    addRow(grid, QStringLiteral("Alarm Type"), alarmType_->Combo(1));
    addRow(grid, QStringLiteral("Meter Number"), meterNum_->Combo(1));
    addRow(grid, QStringLiteral("Trip Value"), narrow(FieldNumbered(kTripValueField)->Edit(1)));
    addRow(grid, QStringLiteral("Macro To Call"), macro_->Combo(1));
    grid->setColumnStretch(2, 1);
    layout->addWidget(alarms);
    layout->addStretch();
    return page;
}

void AnalogEditor::FillLists()
{
    for (int i = 1; i <= kMeterCount; ++i)
        FillMeterTypeList(meterType_->Combo(i));
    {
        QSignalBlocker block(alarmSelect_);
        FillMeterAlarmNumList(alarmSelect_);
    }
    FillMeterAlarmTypeList(alarmType_->Combo(1));
    FillMeterNumList(meterNum_->Combo(1));
    FillNumberList(macro_->Combo(1), 1, 90);
}

void AnalogEditor::AfterLoad()
{
    {
        QSignalBlocker block(alarmSelect_);
        alarmSelect_->setCurrentIndex(0);
    }
    chooseAlarm(1);
    tabs_->setCurrentIndex(0);
    currentMeter_ = 1;
}

void AnalogEditor::chooseAlarm(int alarm)
{
    currentAlarm_ = alarm;
    // Showing another alarm is browsing: the pending state stays as it was.
    for (Field* field : {alarmType_, meterNum_, FieldNumbered(kTripValueField), macro_})
        ShowSlot(*field, 1);
}

} // namespace vm880
