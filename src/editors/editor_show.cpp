// Showing the working copy in the controls and taking the operator's changes into it.

#include "editors/editor_base.h"

#include "editors/editor_internal.h"
#include "editors/setting_text.h"

#include "model/ini_document.h"
#include "base/value_checks.h"
#include "tables/code_lookup.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QSignalBlocker>

namespace vm880 {

using namespace editor_internal;

namespace {

Text trimmed(const QString& typed)
{
    return Text(TrimBlanks(ToSetting(typed)));
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

QString shownText(const TextFieldDecl& decl, const Text& value)
{
    for (const ShownAs& shown : decl.shown)
        if (shown.stored == value)
            return shown.shown;
    return FromSetting(value);
}

} // namespace

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
            SetMarked(button, marked);
    } else {
        SetMarked(field.Widget(slot), marked);
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
        QLineEdit* edit = field.Edit(slot);
        QSignalBlocker block(edit);
        edit->setText(shownText(field.text_, value));
        if (field.text_.showFromStart)
            edit->home(false);
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
    updateCounters();
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
    for (auto& tabs : tabs_) {
        tabs->Widget()->setCurrentIndex(0);
        for (int record : tabs->records_)
            if (record > 0) {
                tabs->current_ = record;
                break;
            }
    }
    showValues();
    AfterLoad();
    UpdateDependents();
    SetPending(-1);
}

// ---- Change handling

Text EditorBase::typedValue(const Field& field, int slot, int element) const
{
    const TextFieldDecl& decl = field.text_;
    const QString typed = field.Edit(slot)->text();
    Text value = decl.normalize ? decl.normalize(element, typed) : trimmed(typed);
    if (decl.upperCase)
        value = UpperCase(value);
    for (const ShownAs& shown : decl.shown)
        if (typed.trimmed() == shown.shown)
            value = shown.stored;
    return value;
}

// The operator changed a control: its working value, its colour, the pending state (the
// field number for a text field, 0 for a click) and what depends on it.
void EditorBase::controlChanged(Field& field, int slot)
{
    if (showing_)
        return;
    const int element = field.ElementOf(slot);
    if (element < 1 || element > field.count())
        return;
    const bool text = field.kind() == FieldKind::Text;
    Working(field, element) = text ? typedValue(field, slot, element) : choiceValue(field, slot);
    colourSlot(field, slot);
    field.lastElement_ = element;
    SetPending(text ? field.number() : 0);
    UpdateDependents();
    updateCounters();
}

void EditorBase::setWorkingText(Field& field, int element, int slot, const Text& text)
{
    QLineEdit* edit = field.Edit(slot);
    const bool inBox = edit && field.ElementOf(slot) == element;
    const QString shown = shownText(field.text_, text);
    if (inBox && edit->text() != shown) {
        // As if typed: the change handling stores, colours and marks the field pending.
        edit->setText(shown);
        if (Working(field, element) == text)
            return;
    } else if (Working(field, element) == text) {
        return; // the box's text set to what it shows changes nothing, not the pending state
    }
    Working(field, element) = text;
    if (inBox)
        colourSlot(field, slot);
    field.lastElement_ = element;
    SetPending(field.number());
}

} // namespace vm880
