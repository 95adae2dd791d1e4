#include "editors/editor_base.h"

#include "editors/setting_text.h"

#include "model/ini_document.h"
#include "base/value_checks.h"
#include "interfaces/prompts.h"
#include "editors/qt_lists.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFocusEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTimer>

namespace vm880 {

namespace {

constexpr const char* kSkipChecks = "vm880SkipChecks";
constexpr const char* kApplyFailTitle = "APPLY FAIL";
constexpr const char* kApplyFailText = "Changes were NOT applied due to errors";
constexpr const char* kCancelQuestion = "Yes to proceed, No to return to editing without cancelling";

Text trimmed(const QString& typed)
{
    return Text(TrimBlanks(ToSetting(typed)));
}

// Numeric fields refuse anything but digits as they are typed or pasted.
// (Single place to switch to the shared SetNumericOnly helper of the list fillers.)
void setMarked(QWidget* widget, bool marked)
{
    if (!widget)
        return;
    if (marked) {
        QPalette palette = widget->palette();
        for (auto role : {QPalette::Text, QPalette::WindowText, QPalette::ButtonText})
            palette.setColor(role, Qt::red);
        widget->setPalette(palette);
    } else {
        widget->setPalette(QPalette());
    }
}

// A list entry matches a stored code by number when both are numbers ("01" is item 1).
bool itemMatches(const QVariant& data, const Text& stored)
{
    bool isNumber = false;
    const int number = data.toInt(&isNumber);
    if (isNumber)
        return number == LeadingWholeNumber(stored);
    return ToSetting(data.toString()) == stored;
}

std::string boundsText(int lo, int hi)
{
    return std::to_string(lo) + " and " + std::to_string(hi);
}

} // namespace

const Text& FieldCheck::Value() const
{
    return editor_.Working(field_, element_);
}

void FieldCheck::SetText(const Text& text)
{
    editor_.setWorkingText(field_, element_, slot_, text);
}

EditorBase::EditorBase(EditorContext context, EditorDecl decl, QWidget* parent)
    : QWidget(parent), context_(context), decl_(std::move(decl))
{
    apply_ = new QPushButton(tr("&Apply"), this);
    apply_->setObjectName(QStringLiteral("Apply"));
    cancel_ = new QPushButton(tr("&Cancel Changes"), this);
    cancel_->setObjectName(QString::fromStdString(decl_.cancelButtonName));
    // Apply checks the fields itself and Cancel Changes throws the edits away: moving the
    // focus onto them must not run the check of the field being left first.
    SkipChecksWhenFocused(apply_);
    SkipChecksWhenFocused(cancel_);
    connect(apply_, &QPushButton::clicked, this, [this] { DoApply(); });
    connect(cancel_, &QPushButton::clicked, this, [this] { CancelChanges(); });
}

EditorBase::~EditorBase() = default;

int EditorBase::Pending() const
{
    return decl_.pending ? model().*decl_.pending : -1;
}

void EditorBase::SetPending(int state)
{
    if (decl_.pending)
        model().*decl_.pending = state;
}

Text& EditorBase::Working(Field& field, int element)
{
    return field.working_.at(static_cast<std::size_t>(element - 1));
}

Text& EditorBase::Stored(Field& field, int element)
{
    return field.bind_.value(model(), element);
}

bool EditorBase::AnyFlagRaised(Field& field)
{
    if (!field.bind_.flag)
        return false;
    for (int e = 1; e <= field.count(); ++e)
        if (field.bind_.flag(model(), e) != kFalse)
            return true;
    return false;
}

Field* EditorBase::FieldNumbered(int number) const
{
    if (number < 1)
        return nullptr;
    for (const auto& field : fields_)
        if (field->kind() == FieldKind::Text && field->number() == number)
            return field.get();
    return nullptr;
}

void EditorBase::SkipChecksWhenFocused(QWidget* control)
{
    control->setProperty(kSkipChecks, true);
}

// ---- Declarations

Field& EditorBase::add(std::unique_ptr<Field> field, int count)
{
    field->working_.assign(static_cast<std::size_t>(field->bind_.count), Text{});
    field->count_ = field->bind_.count;
    field->slotCount_ = count;
    fields_.push_back(std::move(field));
    return *fields_.back();
}

void EditorBase::nameSlot(Field& field, QWidget* widget, const std::string& name, int slot)
{
    const bool array = field.bind_.count > 1 || field.slotCount_ > 1;
    widget->setObjectName(QString::fromStdString(array ? name + "(" + std::to_string(slot) + ")" : name));
}

Field& EditorBase::AddNumber(TextFieldDecl decl)
{
    decl.digitsOnly = true;
    if (!decl.empty)
        decl.empty = "0";
    return AddText(std::move(decl));
}

Field& EditorBase::AddText(TextFieldDecl decl)
{
    auto owned = std::make_unique<Field>();
    owned->kind_ = FieldKind::Text;
    owned->name_ = decl.name;
    owned->number_ = decl.number;
    owned->bind_ = decl.bind;
    owned->area_ = decl.area;
    owned->element_ = decl.element;
    const int count = decl.slotCount > 0 ? decl.slotCount : decl.bind.count;
    owned->text_ = std::move(decl);
    Field& field = add(std::move(owned), count);
    for (int slot = 1; slot <= count; ++slot) {
        auto* edit = new QLineEdit(this);
        nameSlot(field, edit, field.name_, slot);
        if (field.text_.digitsOnly)
            SetNumericOnly(edit);
        edit->installEventFilter(this);
        connect(edit, &QLineEdit::textChanged, this, [this, &field, slot] { textChanged(field, slot); });
        field.widgets_.push_back(edit);
    }
    return field;
}

Field& EditorBase::addChoice(FieldKind kind, ChoiceDecl decl)
{
    auto owned = std::make_unique<Field>();
    owned->kind_ = kind;
    owned->name_ = decl.name;
    owned->bind_ = decl.bind;
    owned->area_ = decl.area;
    owned->element_ = decl.element;
    const int count = decl.slotCount > 0 ? decl.slotCount : decl.bind.count;
    owned->choice_ = std::move(decl);
    return add(std::move(owned), count);
}

Field& EditorBase::AddCombo(ChoiceDecl decl)
{
    Field& field = addChoice(FieldKind::Combo, std::move(decl));
    const int count = field.slotCount();
    for (int slot = 1; slot <= count; ++slot) {
        auto* combo = new QComboBox(this);
        nameSlot(field, combo, field.name_, slot);
        connect(combo, &QComboBox::currentIndexChanged, this,
                [this, &field, slot] { choiceChanged(field, slot); });
        field.widgets_.push_back(combo);
    }
    return field;
}

Field& EditorBase::AddCheck(ChoiceDecl decl)
{
    Field& field = addChoice(FieldKind::Check, std::move(decl));
    const int count = field.slotCount();
    for (int slot = 1; slot <= count; ++slot) {
        auto* box = new QCheckBox(field.choice_.caption, this);
        nameSlot(field, box, field.name_, slot);
        connect(box, &QCheckBox::toggled, this, [this, &field, slot] { choiceChanged(field, slot); });
        field.widgets_.push_back(box);
    }
    return field;
}

Field& EditorBase::AddOptions(ChoiceDecl decl)
{
    Field& field = addChoice(FieldKind::Options, std::move(decl));
    const int count = field.slotCount();
    for (int slot = 1; slot <= count; ++slot) {
        // A group per slot keeps the choice exclusive wherever the editor lays the buttons out.
        auto* group = new QButtonGroup(this);
        std::vector<QAbstractButton*> buttons;
        for (const OptionDecl& option : field.choice_.options) {
            auto* button = new QRadioButton(option.caption, this);
            nameSlot(field, button, option.name, slot);
            group->addButton(button);
            connect(button, &QRadioButton::toggled, this, [this, &field, slot](bool on) {
                if (on)
                    choiceChanged(field, slot);
            });
            buttons.push_back(button);
        }
        field.widgets_.push_back(buttons.empty() ? nullptr : buttons.front());
        field.options_.push_back(std::move(buttons));
    }
    return field;
}

// ---- Showing values

Text EditorBase::choiceValue(const Field& field, int slot) const
{
    switch (field.kind()) {
    case FieldKind::Combo: {
        QComboBox* combo = field.Combo(slot);
        const int index = combo->currentIndex();
        if (index < 0)
            return {};
        const QVariant data = combo->itemData(index);
        bool isNumber = false;
        const int number = data.toInt(&isNumber);
        if (!isNumber)
            return ToSetting(data.isValid() ? data.toString() : combo->currentText());
        QString text = QString::number(number);
        if (field.choice_.digits > 0)
            text = text.rightJustified(field.choice_.digits, QLatin1Char('0'));
        return ToSetting(text);
    }
    case FieldKind::Check:
        return field.CheckBox(slot)->isChecked() ? "1" : "0";
    case FieldKind::Options: {
        const auto& buttons = field.options_[static_cast<std::size_t>(slot - 1)];
        for (std::size_t i = 0; i < buttons.size(); ++i)
            if (buttons[i]->isChecked())
                return field.choice_.options[i].value;
        return {};
    }
    case FieldKind::Text:
        break;
    }
    return {};
}

void EditorBase::colourSlot(Field& field, int slot)
{
    const int element = field.ElementOf(slot);
    const bool marked = element >= 1 && element <= field.count()
        && Working(field, element) != Stored(field, element);
    if (field.kind() == FieldKind::Options) {
        for (QAbstractButton* button : field.options_[static_cast<std::size_t>(slot - 1)])
            setMarked(button, marked);
    } else {
        setMarked(field.Widget(slot), marked);
    }
}

void EditorBase::ShowSlot(Field& field, int slot)
{
    const int element = field.ElementOf(slot);
    if (element < 1 || element > field.count())
        return;
    const bool wasShowing = showing_;
    showing_ = true;
    const Text& value = Working(field, element);
    switch (field.kind()) {
    case FieldKind::Text: {
        QSignalBlocker block(field.Edit(slot));
        field.Edit(slot)->setText(FromSetting(value));
        break;
    }
    case FieldKind::Combo: {
        QComboBox* combo = field.Combo(slot);
        QSignalBlocker block(combo);
        for (int i = 0; i < combo->count(); ++i) {
            if (itemMatches(combo->itemData(i), value)) {
                combo->setCurrentIndex(i);
                break;
            }
        }
        break;
    }
    case FieldKind::Check: {
        QSignalBlocker block(field.CheckBox(slot));
        field.CheckBox(slot)->setChecked(LeadingWholeNumber(value) != 0);
        break;
    }
    case FieldKind::Options: {
        const auto& buttons = field.options_[static_cast<std::size_t>(slot - 1)];
        std::size_t chosen = 0; // an unknown value shows the first option
        for (std::size_t i = 0; i < buttons.size(); ++i)
            if (field.choice_.options[i].value == value)
                chosen = i;
        if (!buttons.empty()) {
            QSignalBlocker block(buttons[chosen]);
            buttons[chosen]->setChecked(true);
        }
        break;
    }
    }
    colourSlot(field, slot);
    showing_ = wasShowing;
}

void EditorBase::ShowField(Field& field)
{
    for (int slot = 1; slot <= field.slotCount(); ++slot)
        ShowSlot(field, slot);
}

void EditorBase::loadTempValues()
{
    for (auto& field : fields_)
        for (int e = 1; e <= field->count(); ++e)
            Working(*field, e) = Stored(*field, e);
}

void EditorBase::showValues()
{
    for (auto& field : fields_)
        ShowField(*field);
}

void EditorBase::reload()
{
    loadTempValues();
    showValues();
    UpdateDependents();
    // Last: nothing shown above may leave the editor pending.
    SetPending(-1);
}

void EditorBase::Load()
{
    FillLists();
    loadTempValues();
    showValues();
    AfterLoad();
    UpdateDependents();
    SetPending(-1);
}

// ---- Change handling

void EditorBase::textChanged(Field& field, int slot)
{
    if (showing_)
        return;
    const int element = field.ElementOf(slot);
    if (element < 1 || element > field.count())
        return;
    const QString typed = field.Edit(slot)->text();
    Working(field, element) = field.text_.normalize ? field.text_.normalize(element, typed) : trimmed(typed);
    colourSlot(field, slot);
    field.lastElement_ = element;
    SetPending(field.number());
    UpdateDependents();
}

void EditorBase::choiceChanged(Field& field, int slot)
{
    if (showing_)
        return;
    const int element = field.ElementOf(slot);
    if (element < 1 || element > field.count())
        return;
    Working(field, element) = choiceValue(field, slot);
    colourSlot(field, slot);
    field.lastElement_ = element;
    SetPending(0);
    UpdateDependents();
}

void EditorBase::setWorkingText(Field& field, int element, int slot, const Text& text)
{
    QLineEdit* edit = field.Edit(slot);
    if (edit && field.ElementOf(slot) == element && edit->text() != FromSetting(text)) {
        // As if typed: the change handling stores, colours and marks the field pending.
        edit->setText(FromSetting(text));
        return;
    }
    Working(field, element) = text;
    if (edit && field.ElementOf(slot) == element)
        colourSlot(field, slot);
    field.lastElement_ = element;
    SetPending(field.number());
}

// ---- Checks

bool EditorBase::checkElement(Field& field, int element, int slot)
{
    if (field.kind() != FieldKind::Text || element < 1 || element > field.count())
        return true;
    const TextFieldDecl& decl = field.text_;
    if (decl.empty && TrimBlanks(Working(field, element)).empty())
        setWorkingText(field, element, slot, *decl.empty);

    std::optional<Refusal> refusal;
    if (decl.hi >= decl.lo && CheckNumber(Working(field, element), decl.lo, decl.hi) != kValid) {
        refusal = Refusal{decl.message + boundsText(decl.lo, decl.hi),
                          decl.title ? decl.title(element) : field.name()};
    }
    if (!refusal && decl.check) {
        FieldCheck check(*this, field, element, slot);
        refusal = decl.check(check);
        if (refusal && refusal->title.empty())
            refusal->title = decl.title ? decl.title(element) : field.name();
    }
    if (!refusal)
        return true;

    RevealElement(field, element);
    prompts().Message(style::OkOnly + style::Exclamation, refusal->title, refusal->text);
    if (QWidget* control = field.Widget(field.SlotOf(element)))
        refocus(control);
    return false;
}

void EditorBase::RevealElement(Field& field, int element)
{
    QWidget* control = field.Widget(field.SlotOf(element));
    if (!control)
        return;
    // Bring forward every tab page between the control and this editor.
    QWidget* inner = control;
    for (QWidget* outer = control->parentWidget(); outer && outer != this;
         inner = outer, outer = outer->parentWidget()) {
        if (auto* tabs = qobject_cast<QTabWidget*>(outer)) {
            for (int i = 0; i < tabs->count(); ++i)
                if (tabs->widget(i) == control || tabs->widget(i)->isAncestorOf(control))
                    tabs->setCurrentIndex(i);
        } else if (auto* stack = qobject_cast<QStackedWidget*>(outer);
                   stack && !qobject_cast<QTabWidget*>(stack->parentWidget())) {
            stack->setCurrentWidget(inner);
        }
    }
}

void EditorBase::refocus(QWidget* control)
{
    refocusing_ = true;
    control->setFocus(Qt::OtherFocusReason);
    refocusing_ = false;
}

bool EditorBase::LeaveControl(QWidget* control)
{
    for (auto& field : fields_) {
        for (int slot = 1; slot <= field->slotCount(); ++slot)
            if (field->Widget(slot) == control)
                return checkElement(*field, field->ElementOf(slot), slot);
    }
    return true;
}

void EditorBase::leaveLater(Field& field, int slot)
{
    // After the focus change has finished: a box shown from inside it would fight it.
    QTimer::singleShot(0, this, [this, &field, slot] {
        checkElement(field, field.ElementOf(slot), slot);
    });
}

bool EditorBase::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::FocusOut || refocusing_ || showing_)
        return QWidget::eventFilter(watched, event);
    switch (static_cast<QFocusEvent*>(event)->reason()) {
    case Qt::MouseFocusReason:
    case Qt::TabFocusReason:
    case Qt::BacktabFocusReason:
    case Qt::ShortcutFocusReason:
    case Qt::OtherFocusReason:
        break;
    default: // another window, a menu or a popup: the field is not being left
        return QWidget::eventFilter(watched, event);
    }
    // Only a move to another control of this editor leaves a field, as in a form.
    QWidget* next = QApplication::focusWidget();
    if (!next || !isAncestorOf(next))
        return QWidget::eventFilter(watched, event);
    for (QWidget* w = next; w && w != this; w = w->parentWidget())
        if (w->property(kSkipChecks).toBool())
            return QWidget::eventFilter(watched, event);
    for (auto& field : fields_) {
        for (int slot = 1; slot <= field->slotCount(); ++slot)
            if (field->Widget(slot) == watched)
                leaveLater(*field, slot);
    }
    return QWidget::eventFilter(watched, event);
}

// ---- Apply and Cancel Changes

int EditorBase::DoApply()
{
    bool accepted = true;
    Field* pendingField = FieldNumbered(Pending());
    int checkedElement = 0;
    if (pendingField) {
        checkedElement = pendingField->text_.current ? pendingField->text_.current()
                                                     : pendingField->lastElement();
        accepted = checkElement(*pendingField, checkedElement, pendingField->SlotOf(checkedElement));
    }
    // Every other changed value is checked too: a value refused when its field was left,
    // or never left at all, must not reach the model.
    for (auto& field : fields_) {
        if (!accepted || field->kind() != FieldKind::Text)
            continue;
        for (int e = 1; accepted && e <= field->count(); ++e) {
            if (field.get() == pendingField && e == checkedElement)
                continue;
            const auto& recheck = field->text_.recheckWhen;
            if (Working(*field, e) != Stored(*field, e) || (recheck && recheck(e)))
                accepted = checkElement(*field, e, field->SlotOf(e));
        }
    }
    if (!accepted) {
        if (decl_.applyFailBox)
            prompts().Message(style::OkOnly + style::Exclamation, kApplyFailTitle, kApplyFailText);
        return kFailed;
    }

    ConfigModel& m = model();
    for (auto& field : fields_) {
        for (int e = 1; e <= field->count(); ++e) {
            Text& stored = Stored(*field, e);
            const Text& working = Working(*field, e);
            if (working == stored)
                continue;
            if (field->bind_.flag)
                field->bind_.flag(m, e) = kTrue;
            if (Flag ConfigModel::*area = field->area() ? field->area() : decl_.areaFlag)
                m.*area = kTrue;
            m.DatFileSaved = kFalse;
            stored = working;
        }
    }
    AfterCopy();
    reload();
    return kDone;
}

void EditorBase::CancelChanges()
{
    const std::string text = decl_.cancelText + "\r\n\r\n" + kCancelQuestion;
    if (prompts().Message(style::YesNo + style::Question, decl_.cancelTitle, text) == Answer::Yes)
        reload();
}

// ---- Lookup

QWidget* EditorBase::Control(std::string_view name, int slot) const
{
    std::string full(name);
    if (slot > 0)
        full += "(" + std::to_string(slot) + ")";
    return findChild<QWidget*>(QString::fromStdString(full));
}

bool EditorBase::IsMarked(const QWidget* control)
{
    if (!control)
        return false;
    const QPalette& palette = control->palette();
    return palette.color(QPalette::Text) == QColor(Qt::red)
        || palette.color(QPalette::WindowText) == QColor(Qt::red);
}

} // namespace vm880
