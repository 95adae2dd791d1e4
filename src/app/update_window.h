#pragma once
// The upload window "Send To VM880": sends the changed settings or the complete configuration
// to the controller, shows the progress of a complete upload and lets the operator interrupt.
// The upload runs inside a button's handler; the links let window events run while they
// wait, so the progress repaints and Interrupt answers meanwhile. While an upload runs only
// Interrupt is enabled, and closing the window asks to interrupt instead: the port must stay
// open until the item in progress is finished. The upload holds the application's busy state,
// so no other command reaches the port, the transmitter or the model meanwhile.

#include "app/app_context.h"
#include "link/busy_state.h"
#include "link/upload_engine.h"

#include <QDialog>

#include <memory>

class QLabel;
class QProgressBar;
class QPushButton;

namespace vm880 {

class UpdateWindow : public QDialog, public UploadProgress {
    Q_OBJECT
public:
    // `context` must carry the clock and both links.
    explicit UpdateWindow(const AppContext& context, QWidget* parent = nullptr);
    ~UpdateWindow() override;

    void Complete_Click();
    void Update_Click();
    void Interrupt_Click();
    void Close_Click();

    // Called by the upload after every item position.
    void StepProgress() override;
    void ResetProgress() override;

    // Closing by the title bar or Escape is Close_Click, or a request to interrupt while an
    // upload runs.
    void done(int result) override;

    bool uploading() const { return hold_.held(); }
    QPushButton* completeButton() const { return complete_; }
    QPushButton* updateButton() const { return update_; }
    QPushButton* interruptButton() const { return interrupt_; }
    QPushButton* closeButton() const { return close_; }
    QProgressBar* progressBar() const { return progressBar_; }
    QLabel* progressLabel() const { return progressLabel_; }
    QLabel* percentLabel() const { return percentProgress_; }

private:
    void Form_Load();
    void showProgress(bool visible);
    // Takes the application's busy state for the upload (false, the operator told, when
    // another controller operation holds it) or gives it back.
    bool setUploading(bool on);
    // Ends the window without the closing steps of Close_Click.
    void finish();
    std::string zelIni() const;

    AppContext context_;
    BusyState ownBusy_; // when the context brings none
    BusyState& busy_;
    BusyState::Hold hold_;
    UploadEngine engine_;
    QPushButton* complete_ = nullptr;
    QPushButton* update_ = nullptr;
    QPushButton* interrupt_ = nullptr;
    QPushButton* close_ = nullptr;
    QLabel* progressLabel_ = nullptr;
    QProgressBar* progressBar_ = nullptr;
    QLabel* percentProgress_ = nullptr;
    int UpdateStepTotal = 0; // positions of a complete upload; 0 until one starts
    int UpdatePercent = 0;
    bool interruptAsked_ = false;
};

// The main window's upload command: needs a loaded file, asks "VERSION DIFFERENCE" when the
// file's firmware version does not match, then shows the upload window modally.
void mnuVM880Upload_Click(const AppContext& context, QWidget* parent);

// The firmware version check before an upload: true when the file's version begins with the
// program's, or the operator chose to proceed anyway.
bool ConfirmUploadFirmwareVersion(const ConfigModel& model, Prompts& prompts);

} // namespace vm880
