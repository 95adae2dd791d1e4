#pragma once
// Operator prompts answered from a script. Every prompt is recorded; a prompt that the
// script did not expect fails the running test instead of blocking it.

#include "interfaces/prompts.h"

#include <deque>
#include <optional>
#include <string>
#include <vector>

namespace vm880::test {

struct RecordedPrompt {
    enum Kind { Message, Input, Beep } kind;
    int style = 0;
    std::string title;
    std::string text;
    std::string defaultText; // what an input box offered
};

class ScriptedPrompts : public Prompts {
public:
    // The next message box is answered with `answer`; when `title` is given it must match.
    ScriptedPrompts& Answer(vm880::Answer answer, std::string title = {});
    // The next input box returns `text` (nullopt: the operator cancelled).
    ScriptedPrompts& Type(std::optional<std::string> text, std::string title = {});
    // OK-only message boxes are answered OK without a script line.
    ScriptedPrompts& AcceptNotices(bool accept = true);
    // Any message box titled `title` that the script does not answer next gets `answer`.
    ScriptedPrompts& Always(vm880::Answer answer, std::string title);

    vm880::Answer Message(int style, std::string_view title, std::string_view text) override;
    std::optional<std::string> Input(std::string_view prompt, std::string_view title,
                                     std::string_view defaultText) override;
    void Beep() override;
    void ShowWait(std::string_view caption, std::string_view label) override;
    void HideWait() override;

    const std::vector<RecordedPrompt>& prompts() const { return recorded_; }
    std::vector<std::string> titles() const;
    bool waitShown() const { return waitVisible_; }
    int waitShownCount() const { return waitShownCount_; }
    // Script lines that were never used.
    std::size_t pending() const { return answers_.size() + inputs_.size(); }

private:
    struct ScriptedAnswer {
        vm880::Answer answer;
        std::string title;
    };
    struct ScriptedInput {
        std::optional<std::string> text;
        std::string title;
    };
    std::deque<ScriptedAnswer> answers_;
    std::deque<ScriptedInput> inputs_;
    std::vector<RecordedPrompt> recorded_;
    std::vector<ScriptedAnswer> always_;
    bool acceptNotices_ = false;
    bool waitVisible_ = false;
    int waitShownCount_ = 0;
};

} // namespace vm880::test
