#pragma once
// The editing cycle every editor window shares: a working copy of its settings, changed
// fields shown red, the pending state the main window's guard reads, field checks when a
// field is left, Apply and Cancel Changes. An editor declares its fields in its
// constructor and adds only its own rules through the hooks:
//
//   SampleEditor::SampleEditor(EditorServices s) : EditorBase(s, DeclFor(0))
//   {
//       tabs_ = &AddRecordTabs({});                      // "SSTab1", first page on load
//       tone_ = &AddRecordSelector({.name = "CTSet", .last = 10, .slotCount = 3});
//       AddNumber({.number = 1, .name = "HangTimer",
//                  .bind = Bind(&ConfigModel::HangTime, &ConfigModel::HangTimeChanged),
//                  .hi = 255, .message = "Invalid Hang Timer, must be whole number between ",
//                  .title = PortTitle(": Hang Timer"), .from = ByTab(*tabs_)});
//       AddNumber({.number = 4, .name = "Delay1Set", .bind = Bind(&ConfigModel::Delay1, ...),
//                  .slotCount = 3, .from = ByTabAndRecord(*tabs_, *tone_, 10)});
//       tabs_->AddPortPages([this](int p) { ... AddRow(grid, "Hang Timer", Control("HangTimer", p)) });
//       SetBody(tabs_->Widget());                        // and the Apply/Cancel column
//   }
//
// Fields are declared in the order Apply copies them. The controls are created by the
// declaration (named after it, "HangTimer(2)"); the main window calls Load() afterwards.
// An editor that uses fewer elements than a setting holds calls SetCount in FillLists.

#include "editors/editor_field.h"
#include "editors/editor_services.h"
#include "editors/editor_table.h"
#include "editors/record_controls.h"

#include <QWidget>

#include <map>
#include <memory>
#include <set>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

class QLabel;
class QLayout;
class QPushButton;

namespace vm880 {

struct EditorDecl {
    int ConfigModel::*pending = nullptr;    // the editor's pending state
    Flag ConfigModel::*areaFlag = nullptr;  // raised by Apply with each change it copies
    std::string cancelText;                 // first paragraph(s) of the Cancel Changes question
    std::string cancelTitle;
    bool applyFailBox = true;               // "APPLY FAIL" after a refused check
    std::string cancelButtonName = "CancelChanges";
    FlagRule flagRule = FlagRule::ChangedByApply;
};

// The declaration of the editor of main tab `tab`, from its row of kEditorTable.
EditorDecl DeclFor(int tab);

class EditorBase : public QWidget {
    Q_OBJECT
public:
    EditorBase(EditorServices services, EditorDecl decl, QWidget* parent = nullptr);
    ~EditorBase() override;

    // Window load: lists, working copy, controls, pending state -1 last.
    void Load();
    // Apply, exactly as the button does; kDone when the changes were copied.
    int DoApply();
    // Cancel Changes, exactly as the button does (asks first). Both are refused while a
    // controller operation runs.
    void CancelChanges();

    int Pending() const;

    // A control by its name: "FanTimer", or "HangTimer" with slot 2 for "HangTimer(2)".
    QWidget* Control(std::string_view name, int slot = 0) const;
    // Runs the check of a text control as leaving it does; false when the value was refused
    // (the warning was shown). Controls without a check accept.
    bool LeaveControl(QWidget* control);
    // True while a control is shown as changed (red).
    static bool IsMarked(const QWidget* control);

    // The declared fields in Apply's order, for sweeps over them (tests, screenshots).
    std::vector<const Field*> DeclaredFields() const;

    QPushButton* ApplyButton() const { return apply_; }
    QPushButton* CancelButton() const { return cancel_; }

protected:
    Field& AddNumber(TextFieldDecl decl); // digits only, an emptied box becomes "0"
    Field& AddText(TextFieldDecl decl);
    Field& AddCombo(ChoiceDecl decl);
    Field& AddCheck(ChoiceDecl decl);
    Field& AddOptions(ChoiceDecl decl);
    // A code of DTMF characters (0-9 * # A-D) of lo to hi characters, stored upper-case and
    // trimmed; refused with `message`, followed by lo " and " hi and `messageEnd` when
    // `withBounds`.
    Field& AddDtmfCode(TextFieldDecl decl, bool withBounds = true, std::string messageEnd = {});

    RecordTabs& AddRecordTabs(RecordTabsDecl decl);
    RecordSelector& AddRecordSelector(RecordSelectorDecl decl);
    PickList& AddPickList(PickListDecl decl);
    QLabel* AddCounter(CounterDecl decl);
    // A control that talks to the controller: disabled while a controller operation runs.
    void TalksToController(QWidget* control);
    // Lays the editor out: `body`, then the Apply / Cancel Changes column on the right.
    void SetBody(QWidget* body);
    void SetBody(QLayout* body);

    // Hooks, all optional.
    virtual void FillLists() {}       // before the working copy is loaded
    virtual void AfterLoad() {}       // select the first tab, set the current port, ...
    virtual void UpdateDependents() {} // enabled states; after showing values and each change
    // Apply's own rules across fields, after the field checks and before anything is copied:
    // a refusal is shown and stops Apply (no "APPLY FAIL"); a warning is shown and Apply goes on.
    virtual std::optional<Refusal> BeforeCopy() { return std::nullopt; }
    virtual void AfterCopy() {}       // after Apply copied the changes, before the reload
    // Makes a refused element visible (its tab, its item); the default selects the tab
    // pages that hold the element's control.
    virtual void RevealElement(Field& field, int element);

    // Working copy and model values of an element.
    Text& Working(Field& field, int element);
    Text Stored(Field& field, int element);
    bool AnyFlagRaised(Field& field);
    // Puts the working value of one slot into its control and colours it; no handler runs.
    void ShowSlot(Field& field, int slot);
    void ShowField(Field& field);
    // Keeps focus moves into `control` from running the check of the field left (pick lists).
    static void SkipChecksWhenFocused(QWidget* control);
    // Makes slot `slot` of `field` the box that pick lists and counters of `kind` serve, as
    // its getting the focus does (a box of another kind in the same row serving it).
    void SetPickTarget(const std::string& kind, Field& field, int slot);
    // After an action changed the model itself: the working copy reloaded and shown, every
    // control black, the pending state -1.
    void ReloadWorkingCopy() { reload(); }

    ConfigModel& model() const { return services_.model; }
    Prompts& prompts() const { return services_.prompts; }
    const EditorServices& services() const { return services_; }
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
    void controlChanged(Field& field, int slot);
    Text typedValue(const Field& field, int slot, int element) const;
    Text choiceValue(const Field& field, int slot) const;
    void colourSlot(Field& field, int slot);
    bool checkElement(Field& field, int element, int slot);
    void setWorkingText(Field& field, int element, int slot, const Text& text);
    void leaveLater(Field& field, int slot);
    void refocus(QWidget* control);
    bool showRefusal(const Refusal& refusal);
    // Shows a warning that keeps the value, unless this value of the element was warned
    // about already; true (the value stays accepted).
    bool warnOnce(Field& field, int element, Refusal warning);
    void forgetCancelledWarnings();
    void showRecords();
    bool recheckChanged(const Field* pendingField, int checkedElement);
    void applyStandingFlags();
    Flag ConfigModel::*areaOf(const Field& field) const; // null: the field raises none
    void focusIn(Field& field, int slot);
    void restoreBlank(Field& field, int slot);
    void pick(PickList& list, const QString& item);
    void updateCounters();
    std::pair<Field*, int> lastBox(const std::string& kind) const;
    // For a field with a box per port page, the slot of the page in front; else `slot`.
    int slotInFront(const Field& field, int slot) const;
    bool enteredByPageSwitch(const QWidget* control) const;
    Field* fieldOf(QObject* control, int& slot) const;

    EditorServices services_;
    EditorDecl decl_;
    std::vector<std::unique_ptr<Field>> fields_;
    QPushButton* apply_ = nullptr;
    QPushButton* cancel_ = nullptr;
    std::vector<std::unique_ptr<RecordTabs>> tabs_;
    std::vector<std::unique_ptr<RecordSelector>> selectors_;
    std::vector<std::unique_ptr<PickList>> pickLists_;
    std::vector<std::pair<QLabel*, CounterDecl>> counters_;
    std::vector<QWidget*> controllerControls_;
    int busyListener_ = 0;
    std::map<std::string, std::pair<Field*, int>> lastBoxes_; // by pick kind: field and slot
    bool showing_ = false;
    bool refocusing_ = false;
    // Warnings shown: field, element, value, warning text. The editor lives for one file;
    // Cancel Changes forgets the values it throws away.
    std::set<std::tuple<const Field*, int, Text, std::string>> warned_;
};

} // namespace vm880
