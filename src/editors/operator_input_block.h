#pragma once
// Keeps the operator's keys, clicks and close requests away from the program's windows while
// an operation that must not be interrupted runs on the window system's thread (the
// courtesy-tone preview). The windows still repaint. Only the windows on screen when the
// block began are blocked: a message box the operation shows meanwhile takes the mouse and
// the keyboard as usual, since a box nobody can answer would hang the program.

#include <QObject>
#include <QPointer>
#include <QWidget>

#include <vector>

namespace vm880 {

class OperatorInputBlock : public QObject {
public:
    OperatorInputBlock();
    ~OperatorInputBlock() override;
    OperatorInputBlock(const OperatorInputBlock&) = delete;
    OperatorInputBlock& operator=(const OperatorInputBlock&) = delete;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool blocks(QObject* target) const;

    std::vector<QPointer<QWidget>> windows_;
};

} // namespace vm880
