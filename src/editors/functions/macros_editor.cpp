#include "editors/functions/macros_editor.h"

#include "editors/editor_layout.h"
#include "editors/qt_lists.h"
#include "editors/setting_text.h"
#include "link/busy_state.h"
#include "link/command_erase_macros.h"
#include "tables/macro_text.h"
#include "tables/port_select.h"
#include "tables/sequence_text.h"

#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace vm880 {

namespace {

using M = ConfigModel;

constexpr int kLongMacros = 40;
constexpr const char* kPickKind = "macro";
constexpr const char* kRecallPrefix = "4718";

// A macro box left: its text normalised ("none" in any case reads "NONE STORED"), then its
// function codes and the controller bytes they take.
CheckFn MacroCheck(int byteLimit)
{
    return [byteLimit](FieldCheck& c) -> std::optional<Refusal> {
        if (const Text normal = NormalizeMacroText(c.Value()); normal != c.Value())
            c.SetText(normal);
        if (CheckMacroFunctions(c.Value()) != kValid)
            return Refusal{"Macro contains invalid macro functions"};
        if (MacroByteCount(c.Value()) > byteLimit)
            return Refusal{"Macro contains more than " + std::to_string(byteLimit) + " functions"};
        return std::nullopt;
    };
}

// "Macro 41" for short-macro box 1: titles name the controller's macro number.
TitleFn MacroTitle(std::string prefix, int offset)
{
    return [prefix = std::move(prefix), offset](int e) { return prefix + std::to_string(e + offset); };
}

} // namespace

MacrosEditor::MacrosEditor(EditorServices services, QWidget* parent)
    : EditorBase(services, DeclFor(2), parent)
{
    setObjectName(QStringLiteral("Macros"));
    setWindowTitle(QStringLiteral("Macros"));
    tabs_ = &AddRecordTabs({});
    macroNum_ = &AddRecordSelector({.name = "MacroNum", .first = 1, .last = 90});
    rcvPort_ = &AddRecordSelector({.name = "RcvMacroPortSet", .first = 1, .last = 3});
    functions_ = &AddPickList({.name = "FunctionList",
                               .kind = kPickKind,
                               .insert = [](CaretText& box, std::string_view code) {
                                   const MacroEdit edit = InsertMacroFunction(
                                       box.text, box.caret, box.selectionLength, code);
                                   box = {edit.text, edit.caret, 0};
                               }});
    counter_ = AddCounter({.name = "CharCounter",
                           .kind = kPickKind,
                           .count = [](std::string_view text) { return MacroByteCount(text); }});

    declareMacros(false);
    declareMacros(true);
    // Choosing the macro or the port only shows another element; a choice in these lists is
    // a change.
    portToAllow_ = &AddCombo({.name = "PortToAllow",
                              .bind = Bind(&M::PortToAllow, &M::PortToAllowChanged),
                              .slotCount = 1,
                              .area = &M::MacroPortsChanged,
                              .from = ByRecord(*macroNum_)});
    rcvActive_ = &AddCombo({.name = "RcvMacroActiveSet",
                            .bind = Bind(&M::RcvMacroActive, &M::RcvMacroActiveChanged),
                            .slotCount = 1,
                            .from = ByRecord(*rcvPort_)});
    rcvInactive_ = &AddCombo({.name = "RcvMacroInactiveSet",
                              .bind = Bind(&M::RcvMacroInactive, &M::RcvMacroInactiveChanged),
                              .slotCount = 1,
                              .from = ByRecord(*rcvPort_)});

    erase_ = new QPushButton(QStringLiteral("&Erase All Macros"), this);
    erase_->setObjectName(QStringLiteral("Erase"));
    TalksToController(erase_);
    connect(erase_, &QPushButton::clicked, this, [this] { EraseAllMacros(); });

    for (int first = 1; first <= kLongMacros; first += 10)
        tabs_->AddPage(macroPage(false, first, first + 9, 1), QStringLiteral("%1-%2").arg(first).arg(first + 9), 0);
    tabs_->AddPage(macroPage(true, 1, 20, 2), QStringLiteral("41-60"), 0);
    tabs_->AddPage(macroPage(true, 21, 40, 2), QStringLiteral("61-80"), 0);
    tabs_->AddPage(lastPage(), QStringLiteral("81-90/Port Restrictions/RcvMacro"), 0);

    auto* body = new QHBoxLayout;
    body->addWidget(tabs_->Widget(), 3);
    body->addWidget(functionColumn(), 2);
    SetBody(body);
}

void MacrosEditor::declareMacros(bool shortMacros)
{
    const int offset = shortMacros ? kLongMacros : 0;
    Field& macro = AddText({.number = shortMacros ? 3 : 1,
                            .name = shortMacros ? "ShortMacroSet" : "MacroSet",
                            .bind = shortMacros ? Bind(&M::ShortMacro, &M::ShortMacroChanged)
                                                : Bind(&M::Macro, &M::MacroChanged),
                            .title = MacroTitle("Macro ", offset),
                            .check = MacroCheck(shortMacros ? kShortMacroByteLimit : kLongMacroByteLimit),
                            .upperCase = true,
                            .blankOnFocus = Text(kNoneStored),
                            .pickKind = kPickKind});
    (shortMacros ? shortMacros_ : macros_) = &macro;
    // The recall code's row: the function list then serves the macro of the same row.
    AddDtmfCode({.number = shortMacros ? 4 : 2,
                 .name = shortMacros ? "ShortMacroCodeSet" : "MacroCodeSet",
                 .bind = shortMacros ? Bind(&M::ShortMacroCode, &M::ShortMacroCodeChanged)
                                     : Bind(&M::MacroCode, &M::MacroCodeChanged),
                 .lo = 1,
                 .hi = 8,
                 .message = shortMacros ? "Macro Code must be 1 to 8 characters DTMF characters"
                                        : "Macro Code must be 1 to 8 DTMF characters",
                 .title = MacroTitle("Macro Code ", offset),
                 .emptyFor = [offset](int e) { return kRecallPrefix + std::to_string(e + offset); },
                 .showChecked = true,
                 .onFocus = [this, &macro](int e) { SetPickTarget(kPickKind, macro, e); }},
                false);
}

QWidget* MacrosEditor::macroPage(bool shortMacros, int first, int last, int columns)
{
    const int offset = shortMacros ? kLongMacros : 0;
    const char* macroName = shortMacros ? "ShortMacroSet" : "MacroSet";
    const char* codeName = shortMacros ? "ShortMacroCodeSet" : "MacroCodeSet";
    auto* page = new QWidget;
    auto* grid = new QGridLayout(page);
    const int perColumn = (last - first + columns) / columns;
    for (int c = 0; c < columns; ++c) {
        grid->addWidget(new QLabel(QStringLiteral("Macro")), 0, c * 3 + 1);
        grid->addWidget(new QLabel(QStringLiteral("Recall Code")), 0, c * 3 + 2);
    }
    for (int i = first; i <= last; ++i) {
        const int row = (i - first) % perColumn + 1;
        const int column = (i - first) / perColumn * 3;
        grid->addWidget(new QLabel(QString::number(i + offset)), row, column);
        grid->addWidget(Control(macroName, i), row, column + 1);
        grid->addWidget(Narrow(Control(codeName, i), 90), row, column + 2);
    }
    grid->setRowStretch(grid->rowCount(), 1);
    return page;
}

QWidget* MacrosEditor::lastPage()
{
    auto* page = new QWidget;
    auto* column = new QVBoxLayout(page);
    auto* rows = new QWidget;
    auto* rowsLayout = new QVBoxLayout(rows);
    rowsLayout->setContentsMargins(0, 0, 0, 0);
    rowsLayout->addWidget(macroPage(true, 41, 50, 2));
    column->addWidget(rows);

    auto* frames = new QHBoxLayout;
    auto* ports = new QVBoxLayout;
    QGridLayout* assign = AddGroup(ports, QStringLiteral("Macro Port Assignments"));
    AddRow(assign, QStringLiteral("Macro Number"), Narrow(macroNum_->Combo()));
    AddRow(assign, QStringLiteral("Ports Allowed To Run From"), portToAllow_->Combo(1));
    auto* receivers = new QVBoxLayout;
    QGridLayout* rcv = AddGroup(receivers, QStringLiteral("Rcv Macros"));
    AddRow(rcv, QStringLiteral("Port"), Narrow(rcvPort_->Combo()));
    AddRow(rcv, QStringLiteral("Macro Active"), Narrow(rcvActive_->Combo(1)));
    AddRow(rcv, QStringLiteral("Macro Inactive"), Narrow(rcvInactive_->Combo(1)));
    frames->addLayout(ports);
    frames->addLayout(receivers);
    column->addLayout(frames);
    column->addStretch();
    return page;
}

QWidget* MacrosEditor::functionColumn()
{
    auto* box = new QGroupBox(QStringLiteral("Function List"));
    auto* column = new QVBoxLayout(box);
    functions_->List()->setMinimumWidth(260);
    column->addWidget(functions_->List(), 1);
    auto* count = new QHBoxLayout;
    count->addWidget(new QLabel(QStringLiteral("Function Counter")));
    count->addWidget(counter_);
    count->addStretch();
    column->addLayout(count);
    column->addWidget(erase_);
    return box;
}

void MacrosEditor::FillLists()
{
    std::vector<ListItem> rows;
    FillMacroFunctionList(rows);
    for (const ListItem& row : rows) {
        const QString text = FromSetting(row.text);
        if (row.data == 0)
            functions_->AddSeparator(text); // inserts nothing
        else
            functions_->Add(text, FromSetting(FormatMacroCode(row.data)));
    }
    FillPortSelectList(portToAllow_->Combo(1), kPortSelectPortsOnly);
    FillNumberList(rcvActive_->Combo(1), 1, 90);
    FillNumberList(rcvInactive_->Combo(1), 1, 90);
}

bool MacrosEditor::eventFilter(QObject* watched, QEvent* event)
{
    // The tool tip names the functions of the macro the mouse is over, as the box reads now.
    if (event->type() == QEvent::ToolTip) {
        for (Field* field : {macros_, shortMacros_}) {
            for (int slot = 1; slot <= field->slotCount(); ++slot) {
                if (field->Edit(slot) == watched) {
                    QLineEdit* edit = field->Edit(slot);
                    edit->setToolTip(FromSetting(DescribeMacro(ToSetting(edit->text()))));
                }
            }
        }
    }
    return EditorBase::eventFilter(watched, event);
}

int MacrosEditor::EraseAllMacros()
{
    const EraseMacrosOutcome outcome =
        vm880::EraseAllMacros({model(), prompts(), services().busy, services().links}, services().clock);
    if (!outcome.AnythingErased())
        return kFailed; // the model is as it was; so are the operator's edits
    // The model changed under the working copy: show it, macro 1's restriction and port 1's
    // receiver macros.
    macroNum_->Choose(1);
    rcvPort_->Choose(1);
    ReloadWorkingCopy();
    return outcome.Complete() ? kDone : kFailed;
}

} // namespace vm880
