#include "editors/functions/scheduler_editor.h"

#include "editors/editor_layout.h"
#include "editors/functions/clock_correction.h"
#include "link/command_clock.h"
#include "editors/qt_lists.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace vm880 {

namespace {

using M = ConfigModel;

constexpr const char* kClockNote =
    "Note: Setting the Clock will immediately set the VM880 clock and calendar to your "
    "computer's system time";
constexpr const char* kDateFormatNote =
    "Date Format is taken from the Windows Regional setting in your computer (Control Panel | "
    "Regional and Language Options)";

} // namespace

SchedulerEditor::SchedulerEditor(EditorServices services, QWidget* parent)
    : EditorBase(services, DeclFor(3), parent)
{
    setObjectName(QStringLiteral("Scheduler"));
    setWindowTitle(QStringLiteral("Scheduler/Clock Configuration"));

    // Each set point's six settings go out as one command under one flag.
    setPoint_ = &AddRecordSelector({.name = "SetPointNumSet", .first = 1, .last = 20});
    const ElementProvider shown = ByRecord(*setPoint_);
    dow_ = &AddCombo({.name = "DOWSet", .bind = Bind(&M::DOW, &M::SetPointChanged), .digits = 1, .slotCount = 1, .from = shown});
    monthly_ = &AddCheck({.name = "DOMEnable",
                          .bind = Bind(&M::Monthly, &M::SetPointChanged),
                          .caption = QStringLiteral("Monthly"),
                          .slotCount = 1, .from = shown});
    week_ = &AddCombo({.name = "WeekSet", .bind = Bind(&M::Week, &M::SetPointChanged), .digits = 1, .slotCount = 1, .from = shown});
    hours_ = &AddCombo({.name = "HoursSet", .bind = Bind(&M::Hours, &M::SetPointChanged), .digits = 2, .slotCount = 1, .from = shown});
    minutes_ = &AddCombo(
        {.name = "MinutesSet", .bind = Bind(&M::Minutes, &M::SetPointChanged), .digits = 2, .slotCount = 1, .from = shown});
    macro_ = &AddCombo(
        {.name = "MacroSet", .bind = Bind(&M::MacroToRun, &M::SetPointChanged), .digits = 2, .slotCount = 1, .from = shown});

    AddCheck({.name = "SayYearSet",
              .bind = Bind(&M::SayYear, &M::SayYearChanged),
              .caption = QStringLiteral("Say Year")});
    sayHour_ = &AddCheck({.name = "HoursSelect",
                          .bind = Bind(&M::SayHour, &M::SayHourChanged),
                          .caption = QStringLiteral("Say Hours")});
    twentyFour_ = &AddCheck({.name = "TwentyFourSet",
                             .bind = Bind(&M::TwentyFour, &M::TwentyFourChanged),
                             .caption = QStringLiteral("24 Hour Readback")});
    // Takes "A" and "-" as well as digits; "-" and "a" are stored as "A", which the reader
    // and the radio link understand ("-" has no tone).
    AddText({.number = 1,
             .name = "ClockCorrectionSet",
             .bind = Bind(&M::ClockCorrection, &M::ClockCorrectionChanged),
             .title = FixedTitle(kClockCorrectionTitle),
             .check = [](FieldCheck& c) -> std::optional<Refusal> {
                 if (IsValidClockCorrection(c.Value()))
                     return std::nullopt;
                 return Refusal{kClockCorrectionMessage};
             },
             .empty = Text("0"),
             .normalize = [](int, const QString& typed) { return ClockCorrectionForm(typed.toLatin1().toStdString()); }});

    auto* body = new QVBoxLayout;
    body->addWidget(schedulerFrame());
    body->addWidget(clockFrame());
    auto* date = new QGroupBox(QStringLiteral("Date Format"));
    auto* dateLayout = new QVBoxLayout(date);
    auto* dateNote = new QLabel(QString::fromLatin1(kDateFormatNote));
    dateNote->setWordWrap(true);
    dateLayout->addWidget(dateNote);
    body->addWidget(date);
    body->addStretch();
    SetBody(body);
}

QWidget* SchedulerEditor::schedulerFrame()
{
    auto* frame = new QGroupBox(QStringLiteral("Scheduler"));
    auto* grid = new QGridLayout(frame);
    AddRow(grid, "Setpoint Number", setPoint_->Combo());
    AddRow(grid, "Day Of The Week", dow_->Combo(1));
    grid->addWidget(monthly_->CheckBox(1), grid->rowCount(), 1);
    weekLabel_ = new QLabel(QStringLiteral("Week Of The Month"));
    weekLabel_->setObjectName(QStringLiteral("WOMLabel"));
    const int row = grid->rowCount();
    grid->addWidget(weekLabel_, row, 0);
    grid->addWidget(week_->Combo(1), row, 1);
    AddRow(grid, "Start Hours", hours_->Combo(1));
    AddRow(grid, "Start Minutes", minutes_->Combo(1));
    AddRow(grid, "Macro To Run", macro_->Combo(1));
    AddNote(grid, "Apply and Cancel Changes act on All Setpoints");
    return frame;
}

QWidget* SchedulerEditor::clockFrame()
{
    auto* frame = new QGroupBox(QStringLiteral("Real Time Clock"));
    auto* grid = new QGridLayout(frame);
    grid->addWidget(Control("SayYearSet"), 0, 0);
    grid->addWidget(twentyFour_->CheckBox(1), 1, 0);
    grid->addWidget(sayHour_->CheckBox(1), 1, 1);
    AddRow(grid, "Clock Correction", Narrow(Control("ClockCorrectionSet")), "seconds");
    clockSet_ = new QPushButton(QStringLiteral("Set Clock"));
    clockSet_->setObjectName(QStringLiteral("ClockSet"));
    TalksToController(clockSet_);
    connect(clockSet_, &QPushButton::clicked, this, [this] { ClockSet_Click(); });
    const int row = grid->rowCount();
    grid->addWidget(clockSet_, row, 0);
    auto* note = new QLabel(QString::fromLatin1(kClockNote));
    note->setWordWrap(true);
    grid->addWidget(note, row, 1, 1, 2);
    return frame;
}

void SchedulerEditor::FillLists()
{
    FillSchedDayList(dow_->Combo(1));
    FillSchedWeekList(week_->Combo(1));
    FillSchedHourList(hours_->Combo(1));
    FillNumberList(minutes_->Combo(1), 0, 59, true);
    FillNumberList(macro_->Combo(1), 1, 90);
}

void SchedulerEditor::UpdateDependents()
{
    // The week is kept (and uploaded) while "Monthly" is off; only its box is greyed.
    const bool monthly = Working(*monthly_, setPoint_->Value()) != "0";
    week_->Combo(1)->setEnabled(monthly);
    weekLabel_->setEnabled(monthly);
    sayHour_->CheckBox(1)->setEnabled(Working(*twentyFour_, 1) == "1");
}

void SchedulerEditor::ClockSet_Click()
{
    const EditorServices& s = services();
    const ControllerActionResult result =
        SetControllerClock({s.model, s.prompts, s.busy, s.links}, s.clock, ReadLocalClock);
    TellClockOutcome(s.prompts, result);
}

} // namespace vm880
