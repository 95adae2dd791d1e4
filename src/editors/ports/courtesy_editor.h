#pragma once
// The Courtesy Tones editor (main tab 1): ten courtesy tones of four segments per port, one
// tab per port, each showing the tone chosen by its own selector. The working copy holds all
// thirty tones, so edits survive choosing another tone. "&Preview" plays the shown tone of the
// port in front, from the working copy, through the sound card.

#include "editors/editor_base.h"

namespace vm880 {

class CourtesyEditor : public EditorBase {
public:
    explicit CourtesyEditor(EditorServices services, QWidget* parent = nullptr);

    int CurrentPort() const { return tabs_->Current(); }
    // The courtesy tone shown on port p's tab.
    int CurrentCT(int port) const { return tones_->Value(port); }
    // Brings port p's tab to the front showing courtesy tone t, as the operator would.
    void Show(int port, int tone);

    // The button "&Preview": plays the shown tone of the port in front and returns when it has
    // sounded. False when it did not start (the box being edited was refused, or a controller
    // operation runs) or a segment could not be played.
    bool Preview();

private:
    QWidget* portPage(int port);

    RecordTabs* tabs_ = nullptr;
    RecordSelector* tones_ = nullptr;
};

} // namespace vm880
