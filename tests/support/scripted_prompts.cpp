#include "scripted_prompts.h"

#include <gtest/gtest.h>

namespace vm880::test {

ScriptedPrompts& ScriptedPrompts::Answer(vm880::Answer answer, std::string title)
{
    answers_.push_back({answer, std::move(title)});
    return *this;
}

ScriptedPrompts& ScriptedPrompts::Type(std::optional<std::string> text, std::string title)
{
    inputs_.push_back({std::move(text), std::move(title)});
    return *this;
}

ScriptedPrompts& ScriptedPrompts::AcceptNotices(bool accept)
{
    acceptNotices_ = accept;
    return *this;
}

ScriptedPrompts& ScriptedPrompts::Always(vm880::Answer answer, std::string title)
{
    always_.push_back({answer, std::move(title)});
    return *this;
}

vm880::Answer ScriptedPrompts::Message(int style, std::string_view title, std::string_view text)
{
    recorded_.push_back({RecordedPrompt::Message, style, std::string(title), std::string(text), {}});
    const int buttons = style & 7;
    const bool nextFits = !answers_.empty()
        && (answers_.front().title.empty() || answers_.front().title == title);
    if (!nextFits) {
        for (const ScriptedAnswer& a : always_)
            if (a.title == title)
                return a.answer;
    }
    if (answers_.empty()) {
        if (acceptNotices_ && buttons == style::OkOnly)
            return vm880::Answer::Ok;
        ADD_FAILURE() << "unscripted message box \"" << title << "\": " << text;
        return buttons == style::OkOnly ? vm880::Answer::Ok : vm880::Answer::Cancel;
    }
    ScriptedAnswer next = answers_.front();
    answers_.pop_front();
    if (!next.title.empty()) {
        EXPECT_EQ(next.title, title) << "message text: " << text;
    }
    return next.answer;
}

std::optional<std::string> ScriptedPrompts::Input(std::string_view prompt, std::string_view title,
                                                  std::string_view defaultText)
{
    recorded_.push_back({RecordedPrompt::Input, 0, std::string(title), std::string(prompt),
                         std::string(defaultText)});
    if (inputs_.empty()) {
        ADD_FAILURE() << "unscripted input box \"" << title << "\": " << prompt;
        return std::nullopt;
    }
    ScriptedInput next = inputs_.front();
    inputs_.pop_front();
    if (!next.title.empty()) {
        EXPECT_EQ(next.title, title) << "input prompt: " << prompt;
    }
    return next.text;
}

void ScriptedPrompts::Beep()
{
    recorded_.push_back({RecordedPrompt::Beep, 0, {}, {}, {}});
}

void ScriptedPrompts::ShowWait(std::string_view, std::string_view)
{
    waitVisible_ = true;
    ++waitShownCount_;
}

void ScriptedPrompts::HideWait()
{
    waitVisible_ = false;
}

std::vector<std::string> ScriptedPrompts::titles() const
{
    std::vector<std::string> out;
    for (const RecordedPrompt& p : recorded_)
        if (p.kind != RecordedPrompt::Beep)
            out.push_back(p.title);
    return out;
}

} // namespace vm880::test
