#pragma once
// The identification editor (main tab 5, "ID Messages"): per port three voice IDs, two CW
// IDs, the CW speed and tones, the speech switch and the three ID extras, on the tabs
// "Port 1" to "Port 3". Beside them the vocabulary and CW pick lists, of which only the
// one for the kind of box focused last is shown, and its word or character counter.

#include "editors/editor_base.h"

class QLabel;
class QTabWidget;

namespace vm880 {

class IDEditor : public EditorBase {
public:
    explicit IDEditor(EditorServices services, QWidget* parent = nullptr);

    int CurrentPort() const { return tabs_->Current(); }
    QTabWidget* Tabs() const { return tabs_->Widget(); }

protected:
    void FillLists() override;
    void AfterLoad() override;

private:
    enum class Kind { Words, CW };
    void declareIDs();
    void declareCW();
    void showKind(Kind kind, bool usable);
    QWidget* portPage(int port);
    QWidget* listColumn();

    RecordTabs* tabs_ = nullptr;
    PickList* vocabulary_ = nullptr;
    PickList* cw_ = nullptr;
    QLabel* vocabLabel_ = nullptr;
    QLabel* cwLabel_ = nullptr;
    QLabel* wordCounter_ = nullptr;
    QLabel* cwCounter_ = nullptr;
    QLabel* wordCaption_ = nullptr;
    QLabel* cwCaption_ = nullptr;
    Field* extras_[3] = {};
};

} // namespace vm880
