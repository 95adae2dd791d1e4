#include "editors/ports/timers_editor.h"

#include "base/value_checks.h"
#include "editors/qt_lists.h"
#include "editors/editor_layout.h"
#include "tables/option_tables.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace vm880 {

namespace {

using M = ConfigModel;

// The per-port timers checked by range only, in the order Apply copies them.
struct PortTimer {
    int number;
    const char* name;
    PortTexts M::*value;
    PortFlags M::*flag;
    int hi;
    const char* message;
    const char* titleEnding;
};

constexpr PortTimer kPortTimers[] = {
    {1, "HangTimer", &M::HangTime, &M::HangTimeChanged, 255,
     "Invalid Hang Timer, must be whole number between ", ": Hang Timer"},
    {2, "TimeOutTimer", &M::TimeOut, &M::TimeOutChanged, 32767,
     "Invalid Timeout Timer, must be between ", ": Timeout Timer"},
    {3, "IIDTimer", &M::IIDTime, &M::IIDTimeChanged, 255,
     "Invalid IID Timer, must be between ", ": Initial ID Timer"},
    {4, "PIDTimer", &M::PIDTime, &M::PIDTimeChanged, 255,
     "Invalid PID Timer, must be between ", ": Pending ID Timer"},
    {5, "InactiveTimer", &M::InActiveTime, &M::InActiveTimeChanged, 255,
     "Invalid Inactivity Timer, must be between ", ": Inactivity Timer"},
    {6, "DTMFTimer", &M::DTMFTime, &M::DTMFTimeChanged, 99,
     "Invalid DTMF Timer, must be between ", ": DTMF Mute Timer"},
    {7, "CTCSSTimer", &M::CTCSSTime, &M::CTCSSTimeChanged, 255,
     "Invalid CTCSS Timer, must be between ", ": Encode Timer"},
    {8, "KerchunkTimer", &M::KerchunkTime, &M::KerchunkTimeChanged, 32000,
     "Invalid Kerchunk Timer, must be between ", ": Kerchunk Timer"},
    {10, "AnnounceTimer", &M::AnnounceTime, &M::AnnounceTimeChanged, 3600,
     "TailMessage Timer invalid, must be between ", ": TailMessage Timer"},
};

// Tail message m of port p is shown by MessageNumSet(3 * (p - 1) + m). The three macros of
// a port go out to the controller together, so they share the port's change flag.
Binding TailMessageMacros()
{
    static constexpr PortTexts M::*kPorts[] = {&M::P1MessageNum, &M::P2MessageNum, &M::P3MessageNum};
    return {9,
            [](M& m, int k) -> Text& { return (m.*kPorts[(k - 1) / 3])((k - 1) % 3 + 1); },
            [](M& m, int k) -> Flag& { return m.MessageNumChanged((k - 1) / 3 + 1); }};
}

constexpr const char* kNoIDsNote = "(note: setting this to 0 will disable IDs)";
constexpr const char* kNoInactivityNote = "Note: Setting this to 0 will disable Inactivity Timer";

} // namespace

TimersEditor::TimersEditor(EditorServices services, QWidget* parent)
    : EditorBase(services, DeclFor(0), parent)
{
    setObjectName(QStringLiteral("Timers"));
    setWindowTitle(QStringLiteral("Timers"));
    // The "Global" tab shows no port: Apply keeps checking the port last shown.
    tabs_ = &AddRecordTabs({});
    declarePortFields();
    declareGlobalFields();
    tabs_->AddPortPages([this](int p) { return portPage(p); });
    tabs_->AddPage(globalPage(), QStringLiteral("Global"), 0);
    SetBody(tabs_->Widget());
}

void TimersEditor::declarePortFields()
{
    const ElementProvider port = ByTab(*tabs_);
    for (const PortTimer& t : kPortTimers) {
        AddNumber({.number = t.number,
                   .name = t.name,
                   .bind = Bind(t.value, t.flag),
                   .hi = t.hi,
                   .message = t.message,
                   .title = PortTitle(t.titleEnding),
                   .from = port});
    }
    pendingID_ = FieldNumbered(4);
    inactive_ = FieldNumbered(5);
    announce_ = FieldNumbered(10);

    // The speech must fit in the pending ID time, so lowering that time re-checks it.
    AddNumber({.number = 9,
               .name = "IDSpeakTimer",
               .bind = Bind(&M::IDSpeakTime, &M::IDSpeakTimeChanged),
               .title = PortTitle(": Pending ID Speech Timer"),
               .check = [this](FieldCheck& c) -> std::optional<Refusal> {
                   if (IDSpeakTimeInvalid(c.Value(), Working(*pendingID_, c.element())) == kValid)
                       return std::nullopt;
                   return Refusal{"Invalid Pending ID Speech Timer, cannot be more than value of "
                                  "Pending ID Timer"};
               },
               .recheckWhen = [this](int p) { return Working(*pendingID_, p) != Stored(*pendingID_, p); },
               .from = port});
    tailCounter_ = &AddNumber({.number = 15,
                               .name = "TailCounterSet",
                               .bind = Bind(&M::TailCounter, &M::TailCounterChanged),
                               .title = FixedTitle("Tail Counter"),
                               .check = [](FieldCheck& c) -> std::optional<Refusal> {
                                   if (CheckNumber(c.Value(), 0, 254) == kValid)
                                       return std::nullopt;
                                   return Refusal{"Tail Counter Port " + std::to_string(c.element())
                                                  + " invalid.  Must be between 0 and 254"};
                               },
                               .from = port});

    totReset_ = &AddCombo({.name = "TOTResetSet", .bind = Bind(&M::TOTReset, &M::TOTResetChanged)});
    inactivityMacro_ = &AddCombo({.name = "InActivityMacroSet",
                                  .bind = Bind(&M::InActivityMacro, &M::InActivityMacroChanged),
                                  .digits = 2});
    tailMessage_ = &AddCombo({.name = "TailMessageNumSet",
                              .bind = Bind(&M::TailMessageNum, &M::TailMessageNumChanged)});
    tailMacros_ = &AddCombo({.name = "MessageNumSet", .bind = TailMessageMacros(), .digits = 2});
}

void TimersEditor::declareGlobalFields()
{
    AddNumber({.number = 11,
               .name = "AuxTimer",
               .bind = Bind(&M::AuxTime, &M::AuxTimeChanged),
               .hi = 32767,
               .message = "Aux Timer invalid, must be between ",
               .title = NumberedTitle("Aux Audio Timer ")});
    AddNumber({.number = 14,
               .name = "GeneralTimerSet",
               .bind = Bind(&M::GeneralTimer, &M::GeneralTimerChanged),
               .hi = 32767,
               .message = "General Timer invalid, must be between ",
               .title = NumberedTitle("General Timer ")});
    generalMacro_ = &AddCombo({.name = "GeneralTimerMacroSet",
                               .bind = Bind(&M::GeneralTimerMacro, &M::GeneralTimerChanged),
                               .digits = 2});
    AddNumber({.number = 12,
               .name = "FanTimer",
               .bind = Bind(&M::FanTime, &M::FanTimeChanged),
               .hi = 255,
               .message = "Fan Timer invalid, must be between ",
               .title = FixedTitle("Fan Timer")});
    AddCheck({.name = "FanSelect",
              .bind = Bind(&M::FanSelect, &M::FanSelectChanged),
              .caption = QStringLiteral("All Xmt Activity")});
    AddNumber({.number = 13,
               .name = "XmtDelaySet",
               .bind = Bind(&M::XmtDelay, &M::XmtDelayChanged),
               .hi = 32767,
               .message = "Speech/CW Delay Before Transmit invalid, must be between ",
               .title = FixedTitle("Speech/CW Delay Before Transmit")});
    AddCheck({.name = "TimeoutLinkSet",
              .bind = Bind(&M::TimeoutLink, &M::TimeoutLinkChanged),
              .caption = QStringLiteral("Enable Linking Control")});
}

QWidget* TimersEditor::portPage(int p)
{
    auto* page = new QWidget;
    auto* columns = new QHBoxLayout(page);

    auto* timers = new QGridLayout;
    AddRow(timers, "Hang Timer", Narrow(Control("HangTimer", p)), "1/10 seconds");
    AddRow(timers, "Timeout Timer", Narrow(Control("TimeOutTimer", p)), "seconds");
    AddRow(timers, "TOT Reset Point", totReset_->Combo(p));
    AddRow(timers, "Initial ID Timer", Narrow(Control("IIDTimer", p)), "minutes");
    AddNote(timers, kNoIDsNote);
    AddRow(timers, "Pending ID Timer", Narrow(Control("PIDTimer", p)), "minutes");
    AddRow(timers, "Pending ID Speech Timer", Narrow(Control("IDSpeakTimer", p)), "seconds");
    AddRow(timers, "DTMF Mute Timer", Narrow(Control("DTMFTimer", p)), "1/10 seconds");
    AddRow(timers, "Encode Timer", Narrow(Control("CTCSSTimer", p)), "1/10 seconds");
    AddRow(timers, "Kerchunk Timer", Narrow(Control("KerchunkTimer", p)), "1/1000 seconds");
    timers->setRowStretch(timers->rowCount(), 1);
    columns->addLayout(timers);

    auto* right = new QVBoxLayout;
    QGridLayout* inactivityGrid = AddGroup(right, "Inactivity Timer");
    AddRow(inactivityGrid, "Timer", Narrow(inactive_->Edit(p)), "minutes");
    AddRow(inactivityGrid, "Macro To Use", inactivityMacro_->Combo(p));
    AddNote(inactivityGrid, kNoInactivityNote);

    QGridLayout* tailGrid = AddGroup(right, "Tail Message");
    AddRow(tailGrid, "Tail Msg #", tailMessage_->Combo(p));
    tailGrid->addWidget(new QLabel("Macro To Use"), tailGrid->rowCount(), 0);
    for (int m = 1; m <= 3; ++m)
        AddRow(tailGrid, QStringLiteral("Msg %1").arg(m), tailMacros_->Combo(3 * (p - 1) + m));
    AddRow(tailGrid, "TailMessage Timer", Narrow(announce_->Edit(p)), "seconds");
    AddRow(tailGrid, "Tail Counter", Narrow(tailCounter_->Edit(p)));
    right->addStretch();
    columns->addLayout(right);
    return page;
}

QWidget* TimersEditor::globalPage()
{
    auto* page = new QWidget;
    auto* columns = new QHBoxLayout(page);
    auto* left = new QVBoxLayout;
    auto* right = new QVBoxLayout;

    QGridLayout* auxGrid = AddGroup(left, "Aux Audio Timers");
    for (int i = 1; i <= 3; ++i)
        AddRow(auxGrid, QStringLiteral("Timer %1").arg(i), Narrow(Control("AuxTimer", i)), "seconds");

    QGridLayout* fanGrid = AddGroup(left, "Fan");
    AddRow(fanGrid, "Fan Timer", Narrow(Control("FanTimer")), "minutes");
    fanGrid->addWidget(Control("FanSelect"), fanGrid->rowCount(), 0, 1, 3);

    QGridLayout* delayGrid = AddGroup(left, "Speech/CW Delay Before Transmit");
    AddRow(delayGrid, "Delay", Narrow(Control("XmtDelaySet")), "ms");
    left->addStretch();

    auto* link = new QGroupBox("Timeout Timer Control");
    auto* linkLayout = new QVBoxLayout(link);
    linkLayout->addWidget(Control("TimeoutLinkSet"));
    right->addWidget(link);

    QGridLayout* generalGrid = AddGroup(right, "General Timers");
    generalGrid->addWidget(new QLabel("Macro To Use"), 0, 3);
    for (int i = 1; i <= 3; ++i) {
        AddRow(generalGrid, QStringLiteral("Timer %1").arg(i), Narrow(Control("GeneralTimerSet", i)), "seconds");
        generalGrid->addWidget(generalMacro_->Combo(i), generalGrid->rowCount() - 1, 3);
    }
    right->addStretch();

    columns->addLayout(left);
    columns->addLayout(right);
    return page;
}

void TimersEditor::FillLists()
{
    for (int i = 1; i <= 3; ++i) {
        FillNumberList(inactivityMacro_->Combo(i), 1, 90);
        FillNumberList(generalMacro_->Combo(i), 1, 90);
        FillTailMessageList(tailMessage_->Combo(i));
        FillTOTResetList(totReset_->Combo(i));
    }
    for (int k = 1; k <= 9; ++k)
        FillNumberList(tailMacros_->Combo(k), 1, 90);
}

void TimersEditor::UpdateDependents()
{
    for (int p = 1; p <= 3; ++p) {
        // An inactivity timer of 0 is off; tail message "NONE" switches the tail program off.
        inactivityMacro_->Combo(p)->setEnabled(Working(*inactive_, p) != "0");
        const bool tailOn = Working(*tailMessage_, p) != "0";
        tailCounter_->Edit(p)->setEnabled(tailOn);
        announce_->Edit(p)->setEnabled(tailOn);
    }
}

} // namespace vm880
