#pragma once
// The DTMF editor (main tab 7): the stored DTMF memories (20, or 50 with the real-time-clock
// option) on the tabs "1 - 20", "21 -40" and "41-50", the digit list that inserts at the
// caret of the memory edited last, the digit counter, and the tone duration and delay.

#include "editors/editor_base.h"

#include <optional>

class QTabWidget;

namespace vm880 {

class DTMFEditor : public EditorBase {
public:
    explicit DTMFEditor(EditorServices services, QWidget* parent = nullptr);

    // The memory whose box took the focus last; 1 after load.
    int CurrentMemory() const { return current_; }
    QTabWidget* Tabs() const { return tabs_; }
    PickList& Digits() const { return *digits_; }

protected:
    void FillLists() override;
    void AfterLoad() override;

private:
    std::optional<Refusal> checkMemory(FieldCheck& c);
    QWidget* memoryPage(int first, int last);
    QWidget* sideColumn();

    Field* memories_ = nullptr;
    QTabWidget* tabs_ = nullptr;
    PickList* digits_ = nullptr;
    QLabel* counter_ = nullptr;
    int current_ = 1;
};

// The warning shown when a memory holds the terminator the controller uses now.
std::string TerminatorInMemoryText(std::string_view terminator);

} // namespace vm880
