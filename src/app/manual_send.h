#pragma once
// The manual command window: the operator types one controller command of DTMF characters and
// sends it over the current link, as a command line over the serial cable (answered "+" or
// "-") or as tones over the radio link, closed by the lock code. The window keeps its
// placement in zel.ini, section "Manualsend".

#include "app/app_context.h"
#include "base/types.h"

#include <QDialog>

class QLineEdit;
class QPushButton;

namespace vm880 {

class ControllerAction;

inline constexpr const char* kManualSendSection = "Manualsend";

class ManualSendWindow : public QDialog {
    Q_OBJECT
public:
    explicit ManualSendWindow(AppContext context, QWidget* parent = nullptr);
    ~ManualSendWindow() override;

    QLineEdit* commandLine() const { return line_; }
    QPushButton* sendButton() const { return send_; }
    QPushButton* closeButton() const { return close_; }
    // The command line as last changed.
    const Text& ManualText() const { return manualText_; }

    // Sends the command line; Enter in the line and the Send button run it.
    void SendManualData();

    void done(int result) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Form_Load();
    bool ManualSendData_KeyPress(QKeyEvent* event);
    // The command on the action's link; true when it (and over the air the lock) went out.
    bool sendCommand(ControllerAction& action, const Text& command);
    // Writes the placement and lets go of the port; once, whichever way the window goes.
    void Close_Click();

    AppContext context_;
    QLineEdit* line_ = nullptr;
    QPushButton* send_ = nullptr;
    QPushButton* close_ = nullptr;
    Text manualText_;
    bool sending_ = false;
    bool closeRequested_ = false; // asked to close while a send was waiting
    bool closed_ = false;
};

// The "&Manual Data Send" command after the unapplied-changes guard: one modal showing.
void ShowManualSendData(const AppContext& context, QWidget* parent);

} // namespace vm880
