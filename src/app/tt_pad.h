#pragma once
// The touch-tone pad: sixteen DTMF keys that play their tone through the sound card, "Tx" and
// "Rx" to key and release the transmitter. Whatever way the pad closes, the transmitter is
// released: a pad that is gone must not leave a transmitter on the air.

#include "app/app_context.h"

#include <QDialog>

#include <deque>
#include <functional>

class QLineEdit;
class QPushButton;

namespace vm880 {

class TTPad : public QDialog {
    Q_OBJECT
public:
    explicit TTPad(AppContext context, QWidget* parent = nullptr);
    ~TTPad() override;

    QLineEdit* display() const { return txtNum_; }
    // The keypad button of `index` (0..9, 11..16); nullptr for another index.
    QPushButton* key(int index) const;

    void done(int result) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void cmdNum_Click(int index);
    bool Form_KeyPress(QKeyEvent* event);
    void TxSet_Click();
    void RxSet_Click();
    // Plays `code` and shows `shown`; tells the operator, once per showing, when a tone could
    // not be played while the transmitter is keyed.
    void playKey(const std::string& code, const QString& shown);
    // Runs `action` after those still waiting. Playing a tone and the key-up delay let window
    // events run, so a key pressed meanwhile waits its turn instead of cutting a tone short.
    void enqueue(std::function<void()> action);
    void releaseTransmitter();

    AppContext context_;
    QLineEdit* txtNum_ = nullptr;
    std::deque<std::function<void()>> pending_;
    bool busy_ = false;
    bool closed_ = false;
    bool toldStillKeyed_ = false;
};

// The "&DTMF Test Pad" command: one modal showing.
void ShowTTPad(const AppContext& context, QWidget* parent);

} // namespace vm880
