#pragma once
// The editing cycle every editor window shares: a working copy of its settings, changed
// fields shown red, the pending state the main window's guard reads, field checks when a
// field is left, Apply and Cancel Changes. An editor declares its fields in its
// constructor and adds only its own rules through the hooks:
//
//   TimersEditor::TimersEditor(EditorContext c)
//       : EditorBase(c, {.pending = &ConfigModel::giTimersUnapplied,
//                        .areaFlag = &ConfigModel::TimersChanged,
//                        .cancelText = "This will cancel all Timer changes ...",
//                        .cancelTitle = "TIMER CANCEL CHANGES"})
//   {
//       hang_ = &AddNumber({.number = 1, .name = "HangTimer",
//                           .bind = Bind(&ConfigModel::HangTime, &ConfigModel::HangTimeChanged),
//                           .lo = 0, .hi = 255,
//                           .message = "Invalid Hang Timer, must be whole number between ",
//                           .title = PortTitle(": Hang Timer"),
//                           .current = [this] { return currentPort_; }});
//       // ... then lay out hang_->Edit(p), ApplyButton() and CancelButton().
//   }
//
// Fields are declared in the order Apply copies them. The controls are created by the
// declaration (named after it, "HangTimer(2)"); the main window calls Load() afterwards.
// An editor that uses fewer elements than a setting holds calls SetCount in FillLists.

#include "editors/editor_context.h"
#include "editors/editor_field.h"

#include <QWidget>

#include <memory>
#include <string>
#include <string_view>
#include <vector>

class QPushButton;

namespace vm880 {

struct EditorDecl {
    int ConfigModel::*pending = nullptr;    // the editor's pending state
    Flag ConfigModel::*areaFlag = nullptr;  // raised by Apply with each change it copies
    std::string cancelText;                 // first paragraph(s) of the Cancel Changes question
    std::string cancelTitle;
    bool applyFailBox = true;               // "APPLY FAIL" after a refused check
    std::string cancelButtonName = "CancelChanges";
};

class EditorBase : public QWidget {
    Q_OBJECT
public:
    EditorBase(EditorContext context, EditorDecl decl, QWidget* parent = nullptr);
    ~EditorBase() override;

    // Window load: lists, working copy, controls, pending state -1 last.
    void Load();
    // Apply, exactly as the button does; kDone when the changes were copied.
    int DoApply();
    // Cancel Changes, exactly as the button does (asks first).
    void CancelChanges();

    int Pending() const;

    // A control by its name: "FanTimer", or "HangTimer" with slot 2 for "HangTimer(2)".
    QWidget* Control(std::string_view name, int slot = 0) const;
    // Runs the check of a text control as leaving it does; false when the value was refused
    // (the warning was shown). Controls without a check accept.
    bool LeaveControl(QWidget* control);
    // True while a control is shown as changed (red).
    static bool IsMarked(const QWidget* control);

    QPushButton* ApplyButton() const { return apply_; }
    QPushButton* CancelButton() const { return cancel_; }

protected:
    Field& AddNumber(TextFieldDecl decl); // digits only, an emptied box becomes "0"
    Field& AddText(TextFieldDecl decl);
    Field& AddCombo(ChoiceDecl decl);
    Field& AddCheck(ChoiceDecl decl);
    Field& AddOptions(ChoiceDecl decl);

    // Hooks, all optional.
    virtual void FillLists() {}       // before the working copy is loaded
    virtual void AfterLoad() {}       // select the first tab, set the current port, ...
    virtual void UpdateDependents() {} // enabled states; after showing values and each change
    virtual void AfterCopy() {}       // after Apply copied the changes, before the reload
    // Makes a refused element visible (its tab, its item); the default selects the tab
    // pages that hold the element's control.
    virtual void RevealElement(Field& field, int element);

    // Working copy and model values of an element.
    Text& Working(Field& field, int element);
    Text& Stored(Field& field, int element);
    bool AnyFlagRaised(Field& field);
    // Puts the working value of one slot into its control and colours it; no handler runs.
    void ShowSlot(Field& field, int slot);
    void ShowField(Field& field);
    // Keeps focus moves into `control` from running the check of the field left (pick lists).
    static void SkipChecksWhenFocused(QWidget* control);

    ConfigModel& model() const { return context_.model; }
    Prompts& prompts() const { return context_.prompts; }
    void SetPending(int state);
    Field* FieldNumbered(int number) const;
    const std::vector<std::unique_ptr<Field>>& fields() const { return fields_; }

    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    friend class FieldCheck;
    Field& add(std::unique_ptr<Field> field, int count);
    Field& addChoice(FieldKind kind, ChoiceDecl decl);
    void nameSlot(Field& field, QWidget* widget, const std::string& name, int slot);
    void loadTempValues();
    void showValues();
    void reload();
    void textChanged(Field& field, int slot);
    void choiceChanged(Field& field, int slot);
    Text choiceValue(const Field& field, int slot) const;
    void colourSlot(Field& field, int slot);
    bool checkElement(Field& field, int element, int slot);
    void setWorkingText(Field& field, int element, int slot, const Text& text);
    void leaveLater(Field& field, int slot);
    void refocus(QWidget* control);

    EditorContext context_;
    EditorDecl decl_;
    std::vector<std::unique_ptr<Field>> fields_;
    QPushButton* apply_ = nullptr;
    QPushButton* cancel_ = nullptr;
    bool showing_ = false;
    bool refocusing_ = false;
};

} // namespace vm880
