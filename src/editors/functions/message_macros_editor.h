#pragma once
// The message macro editor (main tab 6, "Message Macros"): 40 message macros (70 with the
// real-time-clock option) on the tabs "1-10" to "61-70", the vocabulary pick list and the
// word counter; and the frame "DVR Wave Record", which records a WAV file into one of the
// controller's DVR tracks at once (not through Apply).

#include "editors/editor_base.h"

#include <string>

class QComboBox;
class QLabel;
class QTabWidget;

namespace vm880 {

class MessageMacrosEditor : public EditorBase {
public:
    explicit MessageMacrosEditor(EditorServices services, QWidget* parent = nullptr);

    int CurrentMessage() const { return current_; }
    int CurrentTrack() const;
    const std::string& WavFileName() const { return wavFile_; }
    QTabWidget* Tabs() const { return tabs_; }

    // "&Load Wav": the open dialog; a cancelled one keeps the file chosen before.
    void LoadWav();
    // "&Send to 880": records the chosen file into the chosen track.
    void SendTo880();

protected:
    void FillLists() override;
    void AfterLoad() override;

private:
    QWidget* messagePage(int first);
    QWidget* sideColumn();

    Field* messages_ = nullptr;
    QTabWidget* tabs_ = nullptr;
    PickList* vocabulary_ = nullptr;
    QLabel* counter_ = nullptr;
    QComboBox* track_ = nullptr;
    QLabel* fileLabel_ = nullptr;
    std::string wavFile_;
    int current_ = 1;
};

} // namespace vm880
