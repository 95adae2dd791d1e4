#pragma once
// Prompts for benchmarks and fuzzing: nothing is shown, every box is counted and answered
// with its first button (Yes or OK), and an input box returns `inputAnswer`.

#include "interfaces/prompts.h"

#include <optional>
#include <string>

namespace vm880::test {

class CountingPrompts : public Prompts {
public:
    Answer Message(int boxStyle, std::string_view, std::string_view text) override
    {
        ++messages;
        last = text;
        const int buttons = boxStyle & 7;
        return buttons == style::YesNo || buttons == style::YesNoCancel ? Answer::Yes : Answer::Ok;
    }
    std::optional<std::string> Input(std::string_view, std::string_view, std::string_view) override
    {
        return inputAnswer;
    }
    void Beep() override {}
    void ShowWait(std::string_view, std::string_view) override {}
    void HideWait() override {}

    int messages = 0;
    std::string last;
    std::optional<std::string> inputAnswer;
};

} // namespace vm880::test
