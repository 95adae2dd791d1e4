#pragma once
// The Macros editor (main tab 2): the long macros 1-40 (up to 15 bytes of function codes)
// and the short macros 41-90 (up to 4 bytes) with their recall codes, the function list that
// puts a function into the macro of the row used last, the byte counter, each macro's
// description as its tool tip, the ports each macro may run from and each port's receiver
// macros. "&Erase All Macros" erases every macro in the controller, then in the program.

#include "editors/editor_base.h"

class QLabel;
class QPushButton;

namespace vm880 {

class MacrosEditor : public EditorBase {
public:
    explicit MacrosEditor(EditorServices services, QWidget* parent = nullptr);

    // The button: kDone when the controller took every erase command.
    int EraseAllMacros();

    // The macro whose port restriction is shown, and the port whose receiver macros are.
    int CurrentMacroNum() const { return macroNum_->Value(); }
    int CurrentRcvPort() const { return rcvPort_->Value(); }
    RecordSelector& MacroNum() { return *macroNum_; }
    RecordSelector& RcvPort() { return *rcvPort_; }
    QPushButton* EraseButton() const { return erase_; }
    QTabWidget* Tabs() const { return tabs_->Widget(); }

protected:
    void FillLists() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void declareMacros(bool shortMacros);
    QWidget* macroPage(bool shortMacros, int first, int last, int columns);
    QWidget* lastPage();
    QWidget* functionColumn();

    RecordTabs* tabs_ = nullptr;
    RecordSelector* macroNum_ = nullptr;
    RecordSelector* rcvPort_ = nullptr;
    Field* macros_ = nullptr;
    Field* shortMacros_ = nullptr;
    Field* portToAllow_ = nullptr;
    Field* rcvActive_ = nullptr;
    Field* rcvInactive_ = nullptr;
    PickList* functions_ = nullptr;
    QLabel* counter_ = nullptr;
    QPushButton* erase_ = nullptr;
};

} // namespace vm880
