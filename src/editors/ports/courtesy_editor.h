#pragma once
// The Courtesy Tones editor (main tab 1): ten courtesy tones of four segments per port, one
// tab per port, each showing the tone chosen by its own selector. The working copy holds all
// thirty tones, so edits survive choosing another tone. "&Preview" plays the shown tone of the
// port in front, from the working copy, through the sound card.

#include "editors/editor_base.h"

#include <array>

class QComboBox;
class QTabWidget;

namespace vm880 {

class CourtesyEditor : public EditorBase {
public:
    explicit CourtesyEditor(EditorContext context, QWidget* parent = nullptr);

    int CurrentPort() const { return currentPort_; }
    // The courtesy tone shown on port p's tab.
    int CurrentCT(int port) const { return currentCT_[static_cast<std::size_t>(port - 1)]; }
    QTabWidget* Tabs() const { return tabs_; }
    QComboBox* ToneSelect(int port) const { return selectors_[static_cast<std::size_t>(port - 1)]; }

    // The button "&Preview": plays the shown tone of the port in front and returns when it has
    // sounded. False when it did not start (the box being edited was refused) or a segment
    // could not be played.
    bool Preview();

protected:
    void FillLists() override;
    void AfterLoad() override;
    void AfterCopy() override;

private:
    QWidget* portPage(int port);
    void chooseTone(int port, int tone);
    int shownElement(int port) const;

    QTabWidget* tabs_ = nullptr;
    std::array<QComboBox*, 3> selectors_{};
    std::array<int, 3> currentCT_{1, 1, 1};
    int currentPort_ = 1;
};

} // namespace vm880
