#include "editors/functions/special_codes_editor.h"

#include "base/value_checks.h"
#include "editors/editor_internal.h"
#include "editors/editor_layout.h"
#include "editors/qt_lists.h"
#include "editors/setting_text.h"
#include "interfaces/prompts.h"
#include "tables/code_lookup.h"
#include "tables/dtmf_digits.h"
#include "tables/macro_text.h"
#include "tables/port_select.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include <limits>

namespace vm880 {

namespace {

using M = ConfigModel;

constexpr int kTollSlots = 100;
constexpr const char* kTollTitle = "Toll Restrict";

// The fields of DTMF characters, in the order Apply copies them after the autodial and toll
// tables. The three regeneration settings go out together, so they share one flag.
struct Code {
    int number;
    const char* name;
    Text M::*value;
    Flag M::*flag;
    int hi;
    const char* message;
    const char* title;
    bool noneShown; // "0" stands for no code and is shown as "NONE"
};

constexpr Code kCodes[] = {
    {4, "DTMFRegenPrefixSet", &M::DTMFRegenPrefix, &M::DTMFRegenChanged, 6,
     "User DTMF Regenerate: User DTMF Prefix invalid.  Must be between ", "User DTMF Prefix", false},
    {5, "APPrefixSet", &M::APPrefix, &M::APPrefixChanged, 8, "Autopatch: Prefix invalid.  Must be between ",
     "Autopatch Prefix", false},
    {6, "AnswerCodeSet", &M::AnswerCode, &M::AnswerCodeChanged, 15,
     "Autopatch: Answer Code invalid.  Must be between ", "Answer Code", false},
    {9, "DTMFTestPrefixSet", &M::DTMFTestPrefix, &M::DTMFTestPrefixChanged, 5,
     "DTMF Pad Test: Prefix invalid.  Must be between ", "DTMF Pad Test", false},
    {10, "PreAccessSet", &M::PreAccessPrefix, &M::PreAccessPrefixChanged, 3,
     "Pre Access Code invalid.  Must be between ", "Pre Access Code", true},
    {11, "PreProgramSet", &M::PreProgramPrefix, &M::PreProgramPrefixChanged, 4,
     "Pre Program Prefix invalid.  Must be between ", "Pre Program Prefix", true},
};

std::string NumberRefusal(const std::string& what, int slot)
{
    return what + " " + std::to_string(slot)
        + ": Phone Number invalid.  Must be DTMF characters (0-9, *, #, A-D) only";
}

// A dialled number goes into serial lines and tone strings as it is: what the operator types
// is nothing but DTMF keys. A number as the file or the download left it is the controller's
// own and is kept, whatever it holds.
CheckFn DialledNumberCheck(std::string what)
{
    return [what](FieldCheck& c) -> std::optional<Refusal> {
        if (c.Unchanged() || DialledNumberValid(c.Value()))
            return std::nullopt;
        return Refusal{NumberRefusal(what, c.element()) + ", or empty for no number"};
    };
}

QString TollLine(int slot, const Text& number)
{
    return QString::asprintf("%03d | ", slot) + FromSetting(number);
}

} // namespace

bool DialledNumberValid(std::string_view number)
{
    return number.empty() || CheckDTMFDigits(number, 1, std::numeric_limits<int>::max()) == kValid;
}

SpecialCodesEditor::SpecialCodesEditor(EditorServices services, QWidget* parent)
    : EditorBase(services,
                 [] {
                     // Only the autodial and toll tables raise the area flag; the others have
                     // their own flags.
                     EditorDecl d = DeclFor(9);
                     d.areaFlag = nullptr;
                     return d;
                 }(),
                 parent)
{
    setObjectName(QStringLiteral("SpecialCodes"));
    setWindowTitle(QStringLiteral("Special Codes"));
    autoDialSlot_ = &AddRecordSelector({.name = "AutoDialSlotSet", .first = 1, .last = 200});
    AddText({.name = "AutoDialNumberSet",
             .bind = Bind(&M::AutoDial, &M::AutoDialChanged),
             .title = NumberedTitle("AutoDial Slot "),
             .check = DialledNumberCheck("AutoDial Slot"),
             .slotCount = 1,
             .area = &M::SpecialCodesChanged,
             .upperCase = true,
             .showFromStart = true,
             .from = ByRecord(*autoDialSlot_)});
    // The toll list edits this working copy through its Add and Delete buttons; the box is
    // never shown.
    toll_ = &AddText({.name = "TollRestrict",
                      .bind = Bind(&M::TollRestrict, &M::TollRestrictChanged),
                      .title = FixedTitle(kTollTitle),
                      .check = DialledNumberCheck("Toll Restrict Slot"),
                      .slotCount = 1,
                      .element = [](int) { return 1; },
                      .area = &M::SpecialCodesChanged,
                      .upperCase = true});
    toll_->Edit(1)->hide();
    declareCodes();
    declareChoices();

    auto* columns = new QHBoxLayout;
    columns->addWidget(leftColumn());
    columns->addWidget(middleColumn());
    columns->addWidget(rightColumn());
    SetBody(columns);
}

void SpecialCodesEditor::declareCodes()
{
    for (const Code& code : kCodes) {
        TextFieldDecl decl{.number = code.number,
                           .name = code.name,
                           .bind = Bind(code.value, code.flag),
                           .lo = 1,
                           .hi = code.hi,
                           .message = code.message,
                           .title = FixedTitle(code.title)};
        if (code.noneShown) {
            decl.empty = Text("0");
            decl.shown = {{"0", "NONE"}};
        }
        AddDtmfCode(std::move(decl), true, " DTMF characters");
        if (code.number == 6) {
            // Not digits-only, and an emptied box stays empty (and is refused).
            AddText({.number = 7,
                     .name = "RingNumberSet",
                     .bind = Bind(&M::RingNumber, &M::RingNumberChanged),
                     .lo = 1,
                     .hi = 8,
                     .message = "Autopatch: Number Of Rings To Answer invalid.  Must be between ",
                     .title = FixedTitle("Ring Numbers")});
            AddText({.number = 8,
                     .name = "APTimeOutSet",
                     .bind = Bind(&M::APTimeOut, &M::APTimeOutChanged),
                     .lo = 1,
                     .hi = 32767,
                     .message = "Autopatch: Timeout invalid.  Must be between ",
                     .title = FixedTitle("AP Timeout")});
        }
    }
}

void SpecialCodesEditor::declareChoices()
{
    AddCombo({.name = "DTMFPortSet", .bind = Bind(&M::DTMFPort, &M::DTMFRegenChanged)});
    AddCombo({.name = "DTMFSpeechSet", .bind = Bind(&M::DTMFSpeech, &M::DTMFRegenChanged), .digits = 2});
    AddCombo({.name = "EnablePatchSet", .bind = Bind(&M::EnablePatch, &M::EnablePatchChanged)});
    AddCheck({.name = "PatchMuteSet", .bind = Bind(&M::PatchMute, &M::PatchMuteChanged),
              .caption = QStringLiteral("Patch Muting")});
    const Binding subset = Bind(&M::MacroSubset, &M::MacroSubsetRangeChanged);
    subsetStart_ = &AddCombo({.name = "cboMacroSubsetStart", .bind = TextSlice(subset, 0, 2), .digits = 2});
    subsetEnd_ = &AddCombo({.name = "cboMacroSubsetEnd", .bind = TextSlice(subset, 2, 2), .digits = 2});
    AddCheck({.name = "MacroSubsetEnable", .bind = Bind(&M::MacroSubsetEnable, &M::MacroSubsetEnableChanged),
              .caption = QStringLiteral("Enable")});
    AddOptions({.name = "DTMFMuteDigitSelect",
                .bind = Bind(&M::DTMFMuteDigitSelect, &M::DTMFMuteDigitSelectChanged),
                .options = {{"FirstDigitSet", "1st Digit", "1"}, {"SecondDigitSet", "2nd Digit", "2"}}});
}

void SpecialCodesEditor::FillLists()
{
    FillPortSelectList(qobject_cast<QComboBox*>(Control("DTMFPortSet")), kPortSelectNone99);
    FillPortSelectList(qobject_cast<QComboBox*>(Control("EnablePatchSet")), kPortSelectNoneZero);
    auto* speech = qobject_cast<QComboBox*>(Control("DTMFSpeechSet"));
    speech->addItem(QStringLiteral("NONE"), 0);
    FillNumberList(speech, 1, 90);
    FillNumberList(subsetStart_->Combo(1), 1, 90);
    FillNumberList(subsetEnd_->Combo(1), 1, 90);
}

QWidget* SpecialCodesEditor::leftColumn()
{
    auto* column = new QWidget;
    auto* box = new QVBoxLayout(column);
    QGridLayout* regen = AddGroup(box, "User DTMF Regenerate");
    AddRow(regen, "User DTMF Prefix", Narrow(Control("DTMFRegenPrefixSet"), 120));
    AddRow(regen, "Send To Port", Control("DTMFPortSet"));
    AddRow(regen, "Macro To Use", Control("DTMFSpeechSet"));

    QGridLayout* patch = AddGroup(box, "Autopatch");
    AddRow(patch, "Prefix", Narrow(Control("APPrefixSet"), 120));
    AddRow(patch, "Answer Code", Control("AnswerCodeSet"));
    AddRow(patch, "Number of Rings to Answer", Narrow(Control("RingNumberSet")));
    AddRow(patch, "Timeout", Narrow(Control("APTimeOutSet")), "seconds");
    AddRow(patch, "Ports To Allow", Control("EnablePatchSet"));
    patch->addWidget(Control("PatchMuteSet"), patch->rowCount(), 1);
    AddRow(patch, "AutoDial Slot", autoDialSlot_->Combo(1));
    AddRow(patch, "Phone Number", Control("AutoDialNumberSet"));

    box->addStretch();
    return column;
}

QWidget* SpecialCodesEditor::tollFrame()
{
    tollFrame_ = new QGroupBox(QStringLiteral("Toll Restrict"));
    tollFrame_->setObjectName(QStringLiteral("Frame2"));
    auto* grid = new QGridLayout(tollFrame_);
    tollBox_ = new QLineEdit;
    tollBox_->setObjectName(QStringLiteral("TollRestrictSet"));
    connect(tollBox_, &QLineEdit::textEdited, this, [this](const QString& typed) { dropSeparators(typed); });
    auto* add = new QPushButton(QStringLiteral("&Add"));
    add->setObjectName(QStringLiteral("TollAdd"));
    connect(add, &QPushButton::clicked, this, [this] { AddTollRestriction(); });
    auto* remove = new QPushButton(QStringLiteral("&Delete"));
    remove->setObjectName(QStringLiteral("TollDelete"));
    connect(remove, &QPushButton::clicked, this, [this] { DeleteTollRestriction(); });
    tollList_ = new QListWidget;
    tollList_->setObjectName(QStringLiteral("TollRestrictList"));
    tollList_->setMinimumHeight(200);
    grid->addWidget(tollBox_, 0, 0);
    grid->addWidget(add, 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("Pos  | Item")), 1, 0);
    grid->addWidget(remove, 1, 1);
    grid->addWidget(tollList_, 2, 0, 1, 2);
    return tollFrame_;
}

QWidget* SpecialCodesEditor::rightColumn()
{
    auto* column = new QWidget;
    auto* box = new QVBoxLayout(column);
    QGridLayout* pad = AddGroup(box, "DTMF Pad Test");
    AddRow(pad, "Prefix", Narrow(Control("DTMFTestPrefixSet"), 120));
    QGridLayout* access = AddGroup(box, "Pre Access Code");
    AddRow(access, "Code", Narrow(Control("PreAccessSet"), 120));
    QGridLayout* command = AddGroup(box, "Pre Command Prefix");
    AddRow(command, "Prefix", Narrow(Control("PreProgramSet"), 120));
    QGridLayout* subset = AddGroup(box, "Macro SubSet");
    AddRow(subset, "Start", subsetStart_->Combo(1));
    AddRow(subset, "End", subsetEnd_->Combo(1));
    subset->addWidget(Control("MacroSubsetEnable"), subset->rowCount(), 1);
    QGridLayout* mute = AddGroup(box, "DTMF Mute Select");
    mute->addWidget(Control("FirstDigitSet"), 0, 0);
    mute->addWidget(Control("SecondDigitSet"), 0, 1);

    box->addStretch();
    return column;
}

QWidget* SpecialCodesEditor::middleColumn()
{
    auto* column = new QWidget;
    auto* box = new QVBoxLayout(column);
    box->addWidget(tollFrame());
    auto* unlock = new QPushButton(QStringLiteral("Change Unlock, Lock, Terminator Codes"));
    unlock->setObjectName(QStringLiteral("cmdUnlock"));
    connect(unlock, &QPushButton::clicked, this, [this] { OpenUnlockWindow(); });
    box->addWidget(unlock);
    auto* note = new QLabel(
        QStringLiteral("Unlock, Lock, and Terminator Codes are processed separately from all other changes"));
    note->setWordWrap(true);
    box->addWidget(note);
    box->addStretch();
    return column;
}

void SpecialCodesEditor::OpenUnlockWindow()
{
    if (openUnlock_)
        openUnlock_();
}

// ---- Toll restrictions

void SpecialCodesEditor::dropSeparators(const QString& typed)
{
    // "|" separates the list's columns; typed or pasted, it is dropped with a beep.
    if (!typed.contains(QLatin1Char('|')))
        return;
    const int caret = tollBox_->cursorPosition();
    QString kept = typed;
    const int before = static_cast<int>(kept.left(caret).count(QLatin1Char('|')));
    kept.remove(QLatin1Char('|'));
    tollBox_->setText(kept);
    tollBox_->setCursorPosition(caret - before);
    prompts().Beep();
}

void SpecialCodesEditor::AddTollRestriction()
{
    const Text number = UpperCase(TrimBlanks(ToSetting(tollBox_->text())));
    if (number.empty())
        return;
    int slot = 0;
    for (int i = 1; i <= kTollSlots && slot == 0; ++i)
        if (TrimBlanks(Working(*toll_, i)).empty())
            slot = i;
    if (slot == 0) {
        prompts().Message(style::OkOnly + style::Exclamation, kTollTitle,
                          "You have used all " + std::to_string(kTollSlots)
                              + " of your Toll Restrictions (Blacklist).  You cannot enter additional "
                                "restrictions until you delete one or more existing restrictions\r\n\r\n"
                                "Toll restriction was NOT added");
        tollBox_->setFocus();
        return;
    }
    if (!DialledNumberValid(number)) {
        prompts().Message(style::OkOnly + style::Exclamation, kTollTitle,
                          NumberRefusal("Toll Restrict Slot", slot) + "\r\n\r\nToll restriction was NOT added");
        tollBox_->setFocus();
        return;
    }
    Working(*toll_, slot) = number;
    tollBox_->clear();
    tollBox_->setFocus();
    showTollList();
    SetPending(0);
}

void SpecialCodesEditor::DeleteTollRestriction()
{
    const QList<QListWidgetItem*> chosen = tollList_->selectedItems();
    if (chosen.isEmpty()) {
        prompts().Message(style::OkOnly + style::Exclamation, kTollTitle, "Nothing was selected for delete");
        tollList_->setFocus();
        return;
    }
    Working(*toll_, chosen.front()->data(Qt::UserRole).toInt()).clear();
    showTollList();
    SetPending(0);
}

void SpecialCodesEditor::showTollList()
{
    // Rebuilt in slot order only when its lines changed, so a selection survives other edits.
    std::vector<std::pair<int, QString>> lines;
    bool changed = false;
    for (int i = 1; i <= kTollSlots; ++i) {
        const Text number(TrimBlanks(Working(*toll_, i)));
        if (!number.empty())
            lines.emplace_back(i, TollLine(i, number));
        changed = changed || Working(*toll_, i) != Stored(*toll_, i);
    }
    bool same = static_cast<int>(lines.size()) == tollList_->count();
    for (int row = 0; same && row < tollList_->count(); ++row)
        same = tollList_->item(row)->text() == lines[static_cast<std::size_t>(row)].second;
    if (!same) {
        QSignalBlocker block(tollList_);
        tollList_->clear();
        for (const auto& [slot, line] : lines) {
            auto* item = new QListWidgetItem(line, tollList_);
            item->setData(Qt::UserRole, slot);
        }
    }
    editor_internal::SetMarked(tollFrame_, changed);
}

void SpecialCodesEditor::UpdateDependents()
{
    showTollList();
}

std::optional<Refusal> SpecialCodesEditor::BeforeCopy()
{
    if (CheckMacroSubset(Working(*subsetStart_, 1) + Working(*subsetEnd_, 1)) == kValid)
        return std::nullopt;
    return Refusal{"Start and End must be valid macro numbers and Start must be less than or equal to End",
                   "Macro Subset", Outcome::Refuse, subsetStart_->Combo(1)};
}

void SpecialCodesEditor::AfterCopy()
{
    // The area flag stays raised once an autodial number or toll restriction was applied,
    // so every later Apply marks the settings file unsaved again.
    if (model().SpecialCodesChanged != kFalse)
        model().DatFileSaved = kFalse;
}

} // namespace vm880
