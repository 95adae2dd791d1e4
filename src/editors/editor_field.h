#pragma once
// The pieces an editor declares its fields with: where a field's values live in the model
// (a binding), how it is checked, and the controls that show it. EditorBase runs the
// editing cycle over these declarations.

#include "model/config_model.h"

#include <QString>

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class QAbstractButton;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QRadioButton;
class QWidget;

namespace vm880 {

class EditorBase;

// Element e (1..count) of a setting, and the change flag Apply raises when it copies a
// changed value. Several elements (or settings) may share one flag.
struct Binding {
    int count = 1;
    std::function<Text&(ConfigModel&, int element)> value{};
    std::function<Flag&(ConfigModel&, int element)> flag{}; // empty: no item flag
    // A part of the setting shown in a control of its own (see SplitPart); empty: the whole.
    std::function<Text(const Text& whole)> getPart{};
    std::function<Text(const Text& whole, const Text& part)> putPart{};

    Text Read(ConfigModel& m, int element) const;
    void Write(ConfigModel& m, int element, const Text& text) const;
};

// A single setting with its own flag.
Binding Bind(Text ConfigModel::*value, Flag ConfigModel::*flag);

// An array setting; element i raises flag element i (the flag array may be longer).
template <int N, int M>
Binding Bind(Array1<Text, N> ConfigModel::*value, Array1<Flag, M> ConfigModel::*flag)
{
    static_assert(M >= N, "every element needs a flag");
    return {N, [value](ConfigModel& m, int e) -> Text& { return (m.*value)(e); },
            [flag](ConfigModel& m, int e) -> Flag& { return (m.*flag)(e); }};
}

// An array setting whose elements share one flag.
template <int N>
Binding Bind(Array1<Text, N> ConfigModel::*value, Flag ConfigModel::*flag)
{
    return {N, [value](ConfigModel& m, int e) -> Text& { return (m.*value)(e); },
            [flag](ConfigModel& m, int) -> Flag& { return m.*flag; }};
}

// A two-dimensional setting (port, item): element (i - 1) * N2 + j, see Element2.
template <int N1, int N2>
Binding Bind(Array2<Text, N1, N2> ConfigModel::*value, Array2<Flag, N1, N2> ConfigModel::*flag)
{
    return {N1 * N2,
            [value](ConfigModel& m, int e) -> Text& { return (m.*value)((e - 1) / N2 + 1, (e - 1) % N2 + 1); },
            [flag](ConfigModel& m, int e) -> Flag& { return (m.*flag)((e - 1) / N2 + 1, (e - 1) % N2 + 1); }};
}

constexpr int Element2(int i, int j, int n2) { return (i - 1) * n2 + j; }

// One setting shown in two (or more) controls: each field binds the part `get` takes out of
// the whole, and Apply writes a changed part back with `put`, leaving the other parts as the
// model holds them (a macro subset "SSEE" as start and end; a frequency and its offset digit).
Binding SplitPart(Binding whole, std::function<Text(const Text& whole)> get,
                  std::function<Text(const Text& whole, const Text& part)> put);
// The characters [first, first + length) of the whole; the put replaces them, padding with
// `pad` when the whole is shorter.
Binding TextSlice(Binding whole, int first, int length, char pad = '0');

// What a check says of a value: refuse it (the focus stays, Apply stops) or warn and keep it.
enum class Outcome { Refuse, Warn };

// A refused (or warned) value: the warning box's text and title (empty: the field's title).
struct Refusal {
    std::string text{};
    std::string title{};
    Outcome outcome = Outcome::Refuse;
    QWidget* focus = nullptr; // Apply's own checks: the control that gets the focus
};

// A warning that keeps the value.
inline Refusal Warning(std::string text, std::string title = {})
{
    return {std::move(text), std::move(title), Outcome::Warn};
}

// What a field check sees: the element checked and its working value. SetText changes the
// value as typing would (the control, the working value, the colour and the pending state).
class FieldCheck {
public:
    FieldCheck(EditorBase& editor, class Field& field, int element, int slot)
        : editor_(editor), field_(field), element_(element), slot_(slot) {}
    int element() const { return element_; }
    const Text& Value() const;
    // True while the value is the one the model holds: as the file or the download left it.
    bool Unchanged() const;
    void SetText(const Text& text);
    EditorBase& editor() const { return editor_; }
    // Shows a warning at once, unless this value was warned about already, and keeps
    // checking (a check that may warn and then refuse).
    void Warn(const Refusal& warning);

private:
    EditorBase& editor_;
    class Field& field_;
    int element_;
    int slot_;
};

using CheckFn = std::function<std::optional<Refusal>(FieldCheck&)>;

// Which element a field's slot shows, which element Apply checks, and how a refused element
// is brought into view: from the tab in front, a record selector or both (record_controls.h).
struct ElementProvider {
    std::function<int(int slot)> element{};
    std::function<int()> current{};
    std::function<void(int element)> reveal{};
};

// A stored value shown as another text ("0" shown as "NONE"); typing that text stores it back.
struct ShownAs {
    Text stored;
    QString shown;
    bool checked = false; // the stored value still goes through the field's check
};
using TitleFn = std::function<std::string(int element)>;

// "Port 2: Hang Timer" for element 2 and the ending ": Hang Timer".
TitleFn PortTitle(std::string ending);
// The same title for every element.
TitleFn FixedTitle(std::string title);
// The prefix followed by the element number ("General Timer 3").
TitleFn NumberedTitle(std::string prefix);

// A text field (a line edit per slot). Its number is the pending state it sets.
struct TextFieldDecl {
    int number = 0;                      // field number k, 1 or more
    std::string name{};                  // control name; several slots are Name(1) .. Name(n)
    Binding bind{};
    // The usual check: CheckNumber(value, lo, hi), refused with `message` lo " and " hi.
    int lo = 0;
    int hi = -1;                         // hi < lo: no range check
    std::string message{};
    TitleFn title{};
    CheckFn check{};                     // any other rule, run after the range check
    // Apply also checks an element it did not change when this says so: a value whose
    // limit is another field that changed.
    std::function<bool(int element)> recheckWhen{};
    std::optional<Text> empty{};         // what an emptied box becomes when it is left
    bool digitsOnly = false;
    int slotCount = 0;                   // controls; 0 means one per element
    std::function<int(int slot)> element{}; // element shown by a slot; default the slot itself
    std::function<int()> current{};      // element Apply checks first; default the last edited
    std::function<Text(int element, const QString& typed)> normalize{}; // default: trimmed
    Flag ConfigModel::*area = nullptr;   // area flag when not the editor's
    std::function<Text(int element)> emptyFor{}; // `empty` by element ("4718" and the number)
    bool upperCase = false;              // stored upper-cased (codes)
    bool showChecked = false;            // a box left shows the value it was checked with
    bool showFromStart = false;          // shown from its first character, not scrolled to its end
    std::vector<ShownAs> shown{};        // display transforms; the stored values always pass
    // A value the box shows but empties when it gets the focus, and shows again when it is
    // left empty ("NONE STORED"); an edited box left empty becomes it too.
    std::optional<Text> blankOnFocus{};
    std::function<void(int element)> onFocus{}; // the box got the focus (current element, ...)
    std::string pickKind{};              // pick lists and counters of this kind serve the box
    ElementProvider from{};              // element of a slot, current element, reveal
    bool standing = true;                // counts for the standing-flags rule
};

// One choice among a few radio buttons.
struct OptionDecl {
    std::string name{}; // control name of the button
    QString caption{};
    Text value{};       // working value when chosen
};

// A combo box, check box or group of radio buttons: a click sets the pending state to 0.
struct ChoiceDecl {
    std::string name{};
    Binding bind{};
    QString caption{};                 // check boxes
    int digits = 0;                    // combo boxes: item data written with this many digits
    std::vector<OptionDecl> options{}; // radio buttons; the first is shown for unknown values
    int slotCount = 0;
    std::function<int(int slot)> element{};
    Flag ConfigModel::*area = nullptr;
    ElementProvider from{};
    bool standing = true; // counts for the standing-flags rule
    // false: a change marks the settings file unsaved but raises no area flag (a switch the
    // upload sends by its item flag alone)
    bool raisesArea = true;
};

enum class FieldKind { Text, Combo, Check, Options };

// A declared field with its working copy and controls. Slots and elements count from 1.
class Field {
public:
    FieldKind kind() const { return kind_; }
    const std::string& name() const { return name_; }
    int number() const { return number_; }
    int slotCount() const { return slotCount_; }
    // Elements in use (an editor may use fewer than the setting holds).
    int count() const { return count_; }
    void SetCount(int count);

    QLineEdit* Edit(int slot) const;
    QComboBox* Combo(int slot) const;
    QCheckBox* CheckBox(int slot) const;
    QRadioButton* Option(int slot, int option) const; // option counts from 1
    QWidget* Widget(int slot) const;                  // the line edit, combo or check box
    int ElementOf(int slot) const;
    int SlotOf(int element) const; // 0 when no slot shows it

    int lastElement() const { return lastElement_; }
    Flag ConfigModel::*area() const { return area_; }
    const std::string& pickKind() const { return text_.pickKind; }

private:
    friend class EditorBase;
    friend class FieldCheck;
    FieldKind kind_ = FieldKind::Text;
    std::string name_;
    int number_ = 0;
    int count_ = 1;
    int slotCount_ = 0;
    Binding bind_;
    Flag ConfigModel::*area_ = nullptr;
    std::function<int(int slot)> element_;
    std::function<void(int element)> reveal_;
    bool standing_ = true;
    bool raisesArea_ = true;
    TextFieldDecl text_;
    ChoiceDecl choice_;
    std::vector<QWidget*> widgets_;
    std::vector<std::vector<QAbstractButton*>> options_;
    std::vector<Text> working_;
    int lastElement_ = 1;
};

} // namespace vm880
