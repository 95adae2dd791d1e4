#pragma once
// The "Unlock, Lock, and Terminator" window: the codes in force beside boxes for new ones,
// and the buttons that send, save or record the new codes. A thin shell over UnlockCodes;
// shown modally by the special-codes editor and after a load whose lock code equals its
// terminator.

#include "editors/functions/unlock_codes.h"

#include <QDialog>

#include <functional>
#include <vector>

class QLineEdit;
class QPushButton;

namespace vm880 {

class UnlockWindow : public QDialog {
    Q_OBJECT
public:
    explicit UnlockWindow(EditorServices services, QWidget* parent = nullptr);

    UnlockCodes& codes() { return codes_; }
    QLineEdit* CurrentBox(int box) const { return current_[box - 1]; }
    QLineEdit* NewBox(int box) const { return new_[box - 1]; }

    // Runs the box's check as moving to another box does; false when it was refused.
    bool LeaveBox(int box);

protected:
    void closeEvent(QCloseEvent* event) override;
    void reject() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // A button whose click runs `action` once the box left for it has passed its check (or
    // at once, for a button that does not check it).
    void addButton(const char* name, const QString& caption, std::function<void()> action,
                   bool checksLeftBox = true);
    int boxOf(const QObject* control) const; // 0: no new-code box
    // Checks the boxes the focus left, in order, up to the first refused one (for a button
    // when none was left: the one it is in); false when one was refused.
    bool checkLeftBoxes(bool forButton);
    void showValues();
    void edited(int box, const QString& text);
    // After a button: the refused box gets the focus back, else every box shows the model.
    void settle(int refusedBox);
    void closeIfCommitted();

    UnlockCodes codes_;
    QLineEdit* current_[kCodeBoxes] = {};
    QLineEdit* new_[kCodeBoxes] = {};
    bool refocusing_ = false;
    std::vector<int> leftBoxes_; // boxes left whose checks have not run yet, in order
    std::vector<QWidget*> uncheckedButtons_;
};

// Shows the window modally through `runModal` (exec() when empty) and releases it afterwards.
void ShowUnlockWindow(const EditorServices& services, QWidget* parent,
                      const std::function<void(QDialog&)>& runModal = {});

} // namespace vm880
