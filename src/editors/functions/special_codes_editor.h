#pragma once
// The Special Codes editor (main tab 9): the user DTMF regeneration, the autopatch with its
// 200 autodial numbers and 100 toll restrictions, the pad-test, pre-access and pre-command
// prefixes, the macro subset and the DTMF mute digit. The unlock, lock and terminator codes
// have a window of their own, opened from here.

#include "editors/editor_base.h"

#include <functional>

class QGroupBox;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace vm880 {

// A number the autopatch dials or refuses to dial: empty (no number), or DTMF characters of
// any length (the controller holds numbers longer than any of its codes).
bool DialledNumberValid(std::string_view number);

class SpecialCodesEditor : public EditorBase {
public:
    explicit SpecialCodesEditor(EditorServices services, QWidget* parent = nullptr);

    // What the "Change Unlock, Lock, Terminator Codes" button opens (the main window's
    // unlock window); nothing happens until it is set.
    void SetUnlockWindow(std::function<void()> open) { openUnlock_ = std::move(open); }
    void OpenUnlockWindow();

    // The toll-restriction buttons, as clicking them does.
    void AddTollRestriction();
    void DeleteTollRestriction();

    RecordSelector& AutoDialSlots() { return *autoDialSlot_; }

protected:
    void FillLists() override;
    void UpdateDependents() override;
    std::optional<Refusal> BeforeCopy() override;
    void AfterCopy() override;

private:
    void declareCodes();
    void declareChoices();
    QWidget* tollFrame();
    QWidget* leftColumn();
    QWidget* middleColumn();
    QWidget* rightColumn();
    void showTollList();
    void dropSeparators(const QString& typed);

    RecordSelector* autoDialSlot_ = nullptr;
    Field* toll_ = nullptr;
    Field* subsetStart_ = nullptr;
    Field* subsetEnd_ = nullptr;
    QGroupBox* tollFrame_ = nullptr;
    QLineEdit* tollBox_ = nullptr;
    QListWidget* tollList_ = nullptr;
    std::function<void()> openUnlock_;
};

} // namespace vm880
