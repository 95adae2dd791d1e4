// Field checks, leaving fields, Apply and Cancel Changes.

#include "editors/editor_base.h"

#include "editors/editor_internal.h"
#include "editors/setting_text.h"

#include "link/busy_state.h"
#include "model/ini_document.h"
#include "base/value_checks.h"
#include "interfaces/prompts.h"

#include <QApplication>
#include <QFocusEvent>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTimer>

namespace vm880 {

using namespace editor_internal;

namespace {

constexpr const char* kApplyFailTitle = "APPLY FAIL";
constexpr const char* kApplyFailText = "Changes were NOT applied due to errors";
constexpr const char* kCancelQuestion = "Yes to proceed, No to return to editing without cancelling";

} // namespace

const Text& FieldCheck::Value() const
{
    return editor_.Working(field_, element_);
}

bool FieldCheck::Unchanged() const
{
    return editor_.Stored(field_, element_) == Value();
}

void FieldCheck::SetText(const Text& text)
{
    editor_.setWorkingText(field_, element_, slot_, text);
}

void FieldCheck::Warn(const Refusal& warning)
{
    Refusal shown = warning;
    shown.outcome = Outcome::Warn;
    editor_.warnOnce(field_, element_, std::move(shown));
}

// ---- Checks

bool EditorBase::showRefusal(const Refusal& refusal)
{
    prompts().Message(style::OkOnly + style::Exclamation, refusal.title, refusal.text);
    if (refusal.focus)
        refocus(refusal.focus);
    return refusal.outcome == Outcome::Warn;
}

bool EditorBase::checkElement(Field& field, int element, int slot)
{
    if (field.kind() != FieldKind::Text || element < 1 || element > field.count())
        return true;
    const TextFieldDecl& decl = field.text_;
    restoreBlank(field, slot);
    if (TrimBlanks(Working(field, element)).empty()) {
        std::optional<Text> empty = decl.emptyFor ? decl.emptyFor(element) : decl.empty;
        if (!empty)
            empty = decl.blankOnFocus;
        if (empty)
            setWorkingText(field, element, slot, *empty);
    }
    if (decl.showChecked)
        setWorkingText(field, element, slot, Working(field, element));
    for (const ShownAs& shown : decl.shown)
        if (Working(field, element) == shown.stored && !shown.checked)
            return true;

    const std::string title = decl.title ? decl.title(element) : field.name();
    std::optional<Refusal> refusal;
    if (decl.hi >= decl.lo && CheckNumber(Working(field, element), decl.lo, decl.hi) != kValid)
        refusal = Refusal{decl.message + BoundsText(decl.lo, decl.hi), title};
    if (!refusal && decl.check) {
        FieldCheck check(*this, field, element, slot);
        refusal = decl.check(check);
        if (refusal && refusal->title.empty())
            refusal->title = title;
    }
    if (!refusal)
        return true;
    if (refusal->outcome == Outcome::Warn)
        return warnOnce(field, element, std::move(*refusal));

    RevealElement(field, element);
    if (!refusal->focus)
        refusal->focus = field.Widget(field.SlotOf(element));
    return showRefusal(*refusal);
}

bool EditorBase::warnOnce(Field& field, int element, Refusal warning)
{
    // The operator sees each warned value once, whether it was typed, picked from a list or
    // pasted, and whether its box was left or Apply found it: the value is remembered, not
    // the box, for as long as the editor shows this file and the value is not cancelled.
    if (!warned_.emplace(&field, element, Working(field, element), warning.text).second)
        return true;
    if (warning.title.empty())
        warning.title = field.text_.title ? field.text_.title(element) : field.name();
    // The value stays accepted, but the operator is put back where it can be changed.
    RevealElement(field, element);
    if (!warning.focus)
        warning.focus = field.Widget(field.SlotOf(element));
    return showRefusal(warning);
}

void EditorBase::RevealElement(Field& field, int element)
{
    if (field.reveal_)
        field.reveal_(element);
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
    int slot = 0;
    if (Field* field = fieldOf(control, slot))
        return checkElement(*field, field->ElementOf(slot), slot);
    return true;
}

void EditorBase::leaveLater(Field& field, int slot)
{
    // After the focus change has finished: a box shown from inside it would fight it.
    QTimer::singleShot(0, this, [this, &field, slot] {
        checkElement(field, field.ElementOf(slot), slot);
    });
}

// ---- Focus

void EditorBase::focusIn(Field& field, int slot)
{
    if (field.kind() != FieldKind::Text)
        return;
    const TextFieldDecl& decl = field.text_;
    if (!decl.pickKind.empty())
        lastBoxes_[decl.pickKind] = {&field, slot};
    QLineEdit* edit = field.Edit(slot);
    if (decl.blankOnFocus && edit->text() == FromSetting(*decl.blankOnFocus)) {
        QSignalBlocker block(edit); // shown empty; the working value stays as it is
        edit->clear();
    }
    if (decl.onFocus)
        decl.onFocus(field.ElementOf(slot));
    updateCounters();
}

void EditorBase::restoreBlank(Field& field, int slot)
{
    QLineEdit* edit = field.Edit(slot);
    const int element = field.ElementOf(slot);
    if (!field.text_.blankOnFocus || !edit || element < 1 || element > field.count())
        return;
    if (edit->text().trimmed().isEmpty() && Working(field, element) == *field.text_.blankOnFocus) {
        QSignalBlocker block(edit);
        edit->setText(FromSetting(*field.text_.blankOnFocus));
    }
}

bool EditorBase::eventFilter(QObject* watched, QEvent* event)
{
    const bool in = event->type() == QEvent::FocusIn;
    if ((!in && event->type() != QEvent::FocusOut) || showing_)
        return QWidget::eventFilter(watched, event);
    int slot = 0;
    Field* field = fieldOf(watched, slot);
    if (!field)
        return QWidget::eventFilter(watched, event);
    if (in) {
        // A box that only came into view with its page is not the operator's choice: the
        // pick lists keep serving the box chosen before.
        if (!enteredByPageSwitch(field->Widget(slot)))
            focusIn(*field, slot);
        return QWidget::eventFilter(watched, event);
    }
    QWidget* next = QApplication::focusWidget();
    // A pick list takes the focus to put something into this box: leave it as it is.
    const bool skip = next && isAncestorOf(next) && SkipsChecks(next, this);
    if (!skip)
        restoreBlank(*field, slot);
    if (refocusing_)
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
    if (next && isAncestorOf(next) && !skip)
        leaveLater(*field, slot);
    return QWidget::eventFilter(watched, event);
}

// ---- Apply and Cancel Changes

int EditorBase::DoApply()
{
    if (RefuseWhileBusy(services_.busy, prompts()))
        return kFailed;
    bool accepted = true;
    Field* pendingField = FieldNumbered(Pending());
    int checkedElement = 0;
    if (pendingField) {
        checkedElement = pendingField->text_.current ? pendingField->text_.current()
                                                     : pendingField->lastElement();
        accepted = checkElement(*pendingField, checkedElement, pendingField->SlotOf(checkedElement));
    }
    if (accepted)
        accepted = recheckChanged(pendingField, checkedElement);
    if (!accepted) {
        if (decl_.applyFailBox)
            prompts().Message(style::OkOnly + style::Exclamation, kApplyFailTitle, kApplyFailText);
        return kFailed;
    }
    if (std::optional<Refusal> refusal = BeforeCopy(); refusal && !showRefusal(*refusal))
        return kFailed;

    ConfigModel& m = model();
    for (auto& field : fields_) {
        for (int e = 1; e <= field->count(); ++e) {
            const Text& working = Working(*field, e);
            if (working == Stored(*field, e))
                continue;
            if (field->bind_.flag)
                field->bind_.flag(m, e) = kTrue;
            if (Flag ConfigModel::*area = areaOf(*field))
                m.*area = kTrue;
            m.DatFileSaved = kFalse;
            field->bind_.Write(m, e, working);
        }
    }
    if (decl_.flagRule == FlagRule::Standing)
        applyStandingFlags();
    AfterCopy();
    reload();
    return kDone;
}

bool EditorBase::recheckChanged(const Field* pendingField, int checkedElement)
{
    // Every other changed value is checked too: a value refused when its field was left,
    // or never left at all (put in from a pick list), must not reach the model, nor one
    // whose warning the operator has not seen.
    for (auto& field : fields_) {
        if (field->kind() != FieldKind::Text)
            continue;
        for (int e = 1; e <= field->count(); ++e) {
            if (field.get() == pendingField && e == checkedElement)
                continue;
            const auto& recheck = field->text_.recheckWhen;
            if ((Working(*field, e) != Stored(*field, e) || (recheck && recheck(e)))
                && !checkElement(*field, e, field->SlotOf(e)))
                return false;
        }
    }
    return true;
}

void EditorBase::applyStandingFlags()
{
    // An item applied earlier and not uploaded yet keeps the area raised and the file
    // unsaved, even when this Apply changed nothing.
    ConfigModel& m = model();
    for (auto& field : fields_) {
        if (!field->standing_ || !AnyFlagRaised(*field))
            continue;
        if (Flag ConfigModel::*area = areaOf(*field))
            m.*area = kTrue;
        m.DatFileSaved = kFalse;
    }
}

Flag ConfigModel::*EditorBase::areaOf(const Field& field) const
{
    if (!field.raisesArea_)
        return nullptr;
    return field.area() ? field.area() : decl_.areaFlag;
}

void EditorBase::CancelChanges()
{
    if (RefuseWhileBusy(services_.busy, prompts()))
        return;
    const std::string text = decl_.cancelText + "\r\n\r\n" + kCancelQuestion;
    if (prompts().Message(style::YesNo + style::Question, decl_.cancelTitle, text) == Answer::Yes) {
        forgetCancelledWarnings();
        reload();
    }
}

void EditorBase::forgetCancelledWarnings()
{
    // A value thrown away is warned about again when it is typed again; one the model holds
    // (applied, or the file's own) was kept, and its warning stays given.
    std::erase_if(warned_, [this](const auto& warned) {
        const auto& [field, element, value, text] = warned;
        return field->bind_.Read(model(), element) != value;
    });
}

} // namespace vm880
