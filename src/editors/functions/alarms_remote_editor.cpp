#include "editors/functions/alarms_remote_editor.h"

#include "editors/editor_layout.h"
#include "editors/qt_lists.h"
#include "model/factory_defaults.h"
#include "tables/dtmf_digits.h"
#include "tables/remote_base_tables.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include <algorithm>

namespace vm880 {

namespace {

using M = ConfigModel;

constexpr int kAlarms = 5;
constexpr int kMemoriesNeedingValues = 10;
constexpr const char* kNone = "NONE";
constexpr const char* kYaesu = "3";
constexpr const char* kNonYaesu = "0";

bool EndsWithNone(const Text& text)
{
    return text.size() > 4 && text.compare(text.size() - 4, 4, kNone) == 0;
}

// A value of a remote-base memory: "NONE" (an empty box) only above memory 10, otherwise
// passing `valid` and filled with zeros in front up to `width` characters.
CheckFn MemoryValueCheck(std::string required, int (*valid)(std::string_view, int), std::string invalid,
                         std::size_t width)
{
    return [=](FieldCheck& c) -> std::optional<Refusal> {
        const int m = c.element();
        const Text value = c.Value();
        const std::string head = "Remote Base Memory " + std::to_string(m) + "\r\nRemote Base Memory: ";
        if (value == kNone) {
            if (m > kMemoriesNeedingValues)
                return std::nullopt;
            return Refusal{head + required + " for Remote Base Memories 1-10"};
        }
        if (valid(value, m) != kValid)
            return Refusal{head + invalid};
        if (value.size() < width)
            c.SetText(Text(width - value.size(), '0') + value);
        return std::nullopt;
    };
}

// Shows no option at all for a value none of them stands for ("NONE" of an unused memory),
// so that choosing any of them is a change.
void ShowNoOptionFor(const Field& field, const std::vector<Text>& values, const Text& value)
{
    if (std::find(values.begin(), values.end(), value) != values.end())
        return;
    for (std::size_t i = 1; i <= values.size(); ++i) {
        QRadioButton* button = field.Option(1, static_cast<int>(i));
        QSignalBlocker block(button);
        QButtonGroup* group = button->group();
        group->setExclusive(false);
        button->setChecked(false);
        group->setExclusive(true);
    }
}

const std::vector<Text> kOffsets = {"1", "2", "3"};
const std::vector<Text> kPlModes = {"0", "1", "2"};
const std::vector<Text> kRadioModes = {"1", "2", "3", "4", "5"};

} // namespace

Text FrequencyPart(const Text& whole)
{
    if (whole == kNone || whole.empty())
        return whole;
    return whole.substr(0, whole.size() - (EndsWithNone(whole) ? 4 : 1));
}

Text OffsetPart(const Text& whole)
{
    if (whole == kNone || EndsWithNone(whole))
        return kNone;
    return whole.empty() ? whole : whole.substr(whole.size() - 1);
}

Text WithFrequency(const Text& whole, const Text& frequency)
{
    // No frequency, no memory: an offset alone is not stored.
    return frequency == kNone ? Text(kNone) : frequency + OffsetPart(whole);
}

Text WithOffset(const Text& whole, const Text& offset)
{
    return whole == kNone ? whole : FrequencyPart(whole) + offset;
}

AlarmsRemoteEditor::AlarmsRemoteEditor(EditorServices services, QWidget* parent)
    : EditorBase(services, DeclFor(8), parent), memoryCount_(services.model.RemoteBaseMemoryCount())
{
    setObjectName(QStringLiteral("Alarms_Remote"));
    setWindowTitle(QStringLiteral("Alarms"));
    alarm_ = &AddRecordSelector({.name = "AlarmNumSet", .first = 1, .last = kAlarms});
    memory_ = &AddRecordSelector({.name = "OtherMemoryNum", .first = 1, .last = memoryCount_});
    declareAlarms();
    declareRemoteBase();
    declareMemories();

    auto* column = new QVBoxLayout;
    auto* top = new QHBoxLayout;
    top->addWidget(alarmFrame());
    top->addWidget(setupFrame());
    column->addLayout(top);
    column->addWidget(memoryFrame());
    column->addStretch();
    SetBody(column);
}

void AlarmsRemoteEditor::declareAlarms()
{
    const ElementProvider alarm = ByRecord(*alarm_);
    lowMacro_ = &AddCombo({.name = "UseLowMacroSet",
                           .bind = Bind(&M::AlarmLowMacroNum, &M::AlarmLowMacroNumChanged),
                           .digits = 2,
                           .slotCount = 1,
                           .area = &M::AlarmsChanged,
                           .from = alarm});
    highMacro_ = &AddCombo({.name = "UseHighMacroSet",
                            .bind = Bind(&M::AlarmHighMacroNum, &M::AlarmHighMacroNumChanged),
                            .digits = 2,
                            .slotCount = 1,
                            .area = &M::AlarmsChanged,
                            .from = alarm});
    AddCheck({.name = "LogicAlarmEnabled",
              .bind = Bind(&M::Alarm, &M::AlarmChanged),
              .caption = QStringLiteral("Alarm Enabled"),
              .slotCount = 1,
              .area = &M::AlarmsChanged,
              .from = alarm});
}

void AlarmsRemoteEditor::declareRemoteBase()
{
    radio_ = &AddCombo({.name = "RadioType", .bind = Bind(&M::RadioType, &M::RadioTypeChanged),
                        .area = &M::RemoteBaseChanged});
    yaesu_ = &AddCombo({.name = "YaesuType", .bind = Bind(&M::YaesuType, &M::RadioTypeChanged),
                        .area = &M::RemoteBaseChanged});
    AddDtmfCode(
        {.number = 1,
         .name = "RemoteBasePrefixSet",
         .bind = Bind(&M::RemoteBasePrefix, &M::RemoteBasePrefixChanged),
         .lo = 1,
         .hi = 5,
         .message = "Remote Base Setup: Remote Base Prefix is invalid.  Must be 1-5 valid DTMF characters",
         .title = FixedTitle("Remote Base Prefix"),
         .check = [this](FieldCheck& c) -> std::optional<Refusal> {
             const Text terminator = TerminatorDigit(model().Terminator);
             if (HoldsTerminator(c.Value(), terminator))
                 c.Warn({"*** WARNING  WARNING  WARNING ***\r\nThe Remote Base Prefix string contains the "
                         "character that is presently defined as your DTMF Terminator ('"
                         + terminator
                         + "')\r\n\r\nChange the Terminator before trying to upload the new Remote Base "
                           "Prefix or else change the Remote Base Terminator\r\nFailure to do so will result "
                           "in loss of your new Remote Base Prefix"});
             const Text next = TerminatorDigit(model().NewTerminator);
             if (HoldsTerminator(c.Value(), next))
                 return Refusal{"The Remote Base Prefix string may not contain the character that is going to be "
                                "uploaded to the controller as your new Terminator Digit ('"
                                + next + "')"};
             return std::nullopt;
         },
         .empty = Text(factory::RemoteBasePrefix),
         .area = &M::RemoteBaseChanged,
         .showChecked = true,
         .shown = {{"0", "No Prefix"}}},
        false);
}

void AlarmsRemoteEditor::declareMemories()
{
    const ElementProvider memory = ByRecord(*memory_);
    const Binding freqString = Bind(&M::FreqString, &M::RemoteBaseMemoriesChanged);
    frequency_ = &AddText({.number = 2,
                           .name = "OtherFreqStringSet",
                           .bind = SplitPart(freqString, FrequencyPart, WithFrequency),
                           .title = FixedTitle("Remote Base Frequency"),
                           .check = MemoryValueCheck("Frequency is required", CheckFreqString,
                                                     "Frequency is invalid.  Must be numeric", 6),
                           .slotCount = 1,
                           .area = &M::RemoteBaseChanged,
                           .shown = {{kNone, QString(), true}},
                           .from = memory});
    offset_ = &AddOptions({.name = "OffsetFrame",
                           .bind = SplitPart(freqString, OffsetPart, WithOffset),
                           .options = {{"OtherMinus", "- Minus", "1"},
                                       {"OtherSimplex", "Simplex", "2"},
                                       {"OtherPlus", "+ Plus", "3"}},
                           .slotCount = 1,
                           .area = &M::RemoteBaseChanged,
                           .from = memory});
    ctcss_ = &AddText({.number = 3,
                       .name = "OtherCTCSSSet",
                       .bind = Bind(&M::CTCSS, &M::RemoteBaseMemoriesChanged),
                       .title = FixedTitle("Remote Base CTCSS"),
                       .check = MemoryValueCheck("CTCSS is required", CheckCTCSSCode,
                                                 "CTCSS code invalid, must be between numeric and must be valid "
                                                 "for the radio",
                                                 2),
                       .slotCount = 1,
                       .area = &M::RemoteBaseChanged,
                       .shown = {{kNone, QString(), true}},
                       .from = memory});
    plMode_ = &AddOptions({.name = "PLFrame",
                           .bind = Bind(&M::CTCSSMode, &M::RemoteBaseMemoriesChanged),
                           .options = {{"OtherNoPL", "Off", "0"},
                                       {"OtherEncode", "Encode", "1"},
                                       {"OtherDecode", "Decode", "2"}},
                           .slotCount = 1,
                           .area = &M::RemoteBaseChanged,
                           .from = memory});
    radioMode_ = &AddOptions({.name = "ModeFrame",
                              .bind = Bind(&M::RadioMode, &M::RemoteBaseMemoriesChanged),
                              .options = {{"LSBSet", "LSB", "1"},
                                          {"USBSet", "USB", "2"},
                                          {"CWSet", "CW", "3"},
                                          {"FMSet", "FM", "4"},
                                          {"AMSet", "AM", "5"}},
                              .slotCount = 1,
                              .area = &M::RemoteBaseChanged,
                              .from = memory});
}

void AlarmsRemoteEditor::FillLists()
{
    FillNumberList(lowMacro_->Combo(1), 1, 90);
    FillNumberList(highMacro_->Combo(1), 1, 90);
    FillRadioTypeList(radio_->Combo(1));
    FillYaesuTypeList(yaesu_->Combo(1));
    // Memories beyond the controller's table are neither shown, checked nor copied.
    for (Field* field : {frequency_, offset_, ctcss_, plMode_, radioMode_})
        field->SetCount(memoryCount_);
}

void AlarmsRemoteEditor::UpdateDependents()
{
    // Only a Yaesu radio has a model; any other radio stores "Non-Yaesu".
    const bool yaesu = Working(*radio_, 1) == kYaesu;
    yaesu_->Combo(1)->setEnabled(yaesu);
    if (!yaesu && Working(*yaesu_, 1) != kNonYaesu) {
        Working(*yaesu_, 1) = kNonYaesu;
        ShowField(*yaesu_);
    }
    const int m = memory_->Value();
    ShowNoOptionFor(*offset_, kOffsets, Working(*offset_, m));
    ShowNoOptionFor(*plMode_, kPlModes, Working(*plMode_, m));
    ShowNoOptionFor(*radioMode_, kRadioModes, Working(*radioMode_, m));
}

std::optional<Refusal> AlarmsRemoteEditor::BeforeCopy()
{
    if (Working(*radio_, 1) == kYaesu && Working(*yaesu_, 1) == kNonYaesu)
        return Refusal{"Yaesu Type required with Radio Type: Yaesu", "Yaesu Type", Outcome::Refuse,
                       radio_->Combo(1)};
    return inconsistentMemories();
}

// Memories with some values entered and others "NONE" are applied as they are, with a
// warning that they will not be uploaded.
std::optional<Refusal> AlarmsRemoteEditor::inconsistentMemories()
{
    std::string numbers;
    std::string example;
    for (int m = 1; m <= memoryCount_; ++m) {
        const Text values[] = {Working(*frequency_, m), Working(*offset_, m), Working(*ctcss_, m),
                               Working(*plMode_, m), Working(*radioMode_, m)};
        const auto unset = std::count(std::begin(values), std::end(values), Text(kNone));
        if (unset == 0 || static_cast<std::size_t>(unset) == std::size(values))
            continue;
        numbers += (numbers.empty() ? "" : ", ") + std::to_string(m);
        example = "Remote Base Memory = " + std::to_string(m) + "\r\n  Freq = '" + values[0] + "'\r\n  Offset = '"
            + values[1] + "'\r\n  CTCSS = '" + values[2] + "'\r\n  CTCSS Mode = '" + values[3]
            + "'\r\n  Radio Mode = '" + values[4] + "'";
    }
    if (numbers.empty())
        return std::nullopt;
    return Warning("WARNING\r\n\r\nData for Remote Base Memories is inconsistent.  Some of the parameters for a "
                   "memory have been entered and some have not been entered (value of 'NONE').\r\nFor example: \r\n"
                       + example
                       + "\r\n\r\nData for the following Remote Base Memories is inconsistent and data for these "
                         "individual memories will not be uploaded to the controller:\r\n"
                       + numbers,
                   "Remote Base Error");
}

// ---- Layout

QWidget* AlarmsRemoteEditor::alarmFrame()
{
    auto* frame = new QGroupBox(QStringLiteral("Logic Alarm Setup"));
    auto* grid = new QGridLayout(frame);
    AddRow(grid, "Alarm Number", Narrow(alarm_->Combo(1)));
    grid->addWidget(Control("LogicAlarmEnabled"), grid->rowCount(), 1);
    AddRow(grid, "Low-to-High Macro To Use", Narrow(lowMacro_->Combo(1)));
    AddRow(grid, "High-to-Low Macro To Use", Narrow(highMacro_->Combo(1)));
    grid->setRowStretch(grid->rowCount(), 1);
    return frame;
}

QWidget* AlarmsRemoteEditor::setupFrame()
{
    auto* frame = new QGroupBox(QStringLiteral("Remote Base Setup"));
    auto* grid = new QGridLayout(frame);
    AddRow(grid, "Radio Type", radio_->Combo(1));
    AddRow(grid, "Yaesu Type", yaesu_->Combo(1));
    AddRow(grid, "Remote Base Prefix", Narrow(Control("RemoteBasePrefixSet"), 110));
    grid->setRowStretch(grid->rowCount(), 1);
    return frame;
}

QWidget* AlarmsRemoteEditor::memoryFrame()
{
    auto* frame = new QGroupBox(QStringLiteral("Remote Base Memories"));
    auto* column = new QVBoxLayout(frame);
    auto* grid = new QGridLayout;
    AddRow(grid, "Memory Number", Narrow(memory_->Combo(1)));
    AddRow(grid, "Frequency", Narrow(Control("OtherFreqStringSet"), 120));
    AddRow(grid, "CTCSS Code", Narrow(Control("OtherCTCSSSet")));
    grid->setColumnStretch(2, 1);
    column->addLayout(grid);
    auto* options = new QHBoxLayout;
    const auto optionFrame = [&](const char* title, Field* field, int count) {
        auto* box = new QGroupBox(QString::fromLatin1(title));
        auto* inner = new QVBoxLayout(box);
        for (int i = 1; i <= count; ++i)
            inner->addWidget(field->Option(1, i));
        inner->addStretch();
        options->addWidget(box);
    };
    optionFrame("Offset", offset_, 3);
    optionFrame("PL", plMode_, 3);
    optionFrame("Mode", radioMode_, 5);
    column->addLayout(options);
    column->addWidget(new QLabel(QStringLiteral("Apply and Cancel Changes act on All alarms and memories")));
    return frame;
}

} // namespace vm880
