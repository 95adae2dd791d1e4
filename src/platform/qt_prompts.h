#pragma once
// Operator prompts shown with Qt's message, input and progress windows.

#include "interfaces/prompts.h"

#include <QDialog>
#include <QPointer>
#include <QWidget>


namespace vm880 {

class QtPrompts : public Prompts {
public:
    explicit QtPrompts(QWidget* parent = nullptr) : parent_(parent) {}
    void setParent(QWidget* parent) { parent_ = parent; }

    Answer Message(int style, std::string_view title, std::string_view text) override;
    std::optional<std::string> Input(std::string_view prompt, std::string_view title,
                                     std::string_view defaultText) override;
    void Beep() override;
    void ShowWait(std::string_view caption, std::string_view label) override;
    void HideWait() override;

private:
    QPointer<QWidget> parent_;
    QPointer<QDialog> wait_;
};

} // namespace vm880
