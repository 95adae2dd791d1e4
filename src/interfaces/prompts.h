#pragma once
// Every message box, input box, beep and wait window the program shows goes through
// this one interface, so that tests can script the operator's answers.

#include <optional>
#include <string>
#include <string_view>

namespace vm880 {

// Message box styles, combined by adding, as the program's messages are written.
namespace style {
inline constexpr int OkOnly = 0;
inline constexpr int OkCancel = 1;
inline constexpr int YesNoCancel = 3;
inline constexpr int YesNo = 4;
inline constexpr int Critical = 16;
inline constexpr int Question = 32;
inline constexpr int Exclamation = 48;
inline constexpr int Information = 64;
inline constexpr int DefaultButton2 = 256;
inline constexpr int DefaultButton3 = 512;
} // namespace style

// The button the operator chose.
enum class Answer { Ok = 1, Cancel = 2, Yes = 6, No = 7 };

class Prompts {
public:
    virtual ~Prompts() = default;

    // A modal message box; `style` is a sum of the constants above.
    virtual Answer Message(int style, std::string_view title, std::string_view text) = 0;

    // A modal input box; nullopt when the operator cancelled.
    virtual std::optional<std::string> Input(std::string_view prompt, std::string_view title,
                                             std::string_view defaultText = {}) = 0;

    virtual void Beep() = 0;

    // A non-modal "please wait" window shown during long operations such as saving.
    virtual void ShowWait(std::string_view caption, std::string_view label) = 0;
    virtual void HideWait() = 0;
};

} // namespace vm880
