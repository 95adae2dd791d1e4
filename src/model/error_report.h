#pragma once
// The common report of unexpected run-time failures.

#include <stdexcept>
#include <string>
#include <string_view>

namespace vm880 {

class Prompts;

inline constexpr const char* kSystemErrorTitle = "***** Zel SYSTEM ERROR *****";

// A run-time failure with a number and a description, carried to the report.
class SystemError : public std::runtime_error {
public:
    SystemError(int number, const std::string& description)
        : std::runtime_error(description), number_(number) {}
    int number() const { return number_; }

private:
    int number_;
};

// Error numbers of the failures the core raises itself.
namespace error_number {
inline constexpr int FileNotFound = 53;
inline constexpr int FileAccess = 75;   // path or file access error (permissions, I/O)
inline constexpr int PathNotFound = 76;
inline constexpr int DiskFull = 61;
inline constexpr int BadArgument = 5;   // invalid procedure call or argument
inline constexpr int OutOfRange = 9;    // subscript out of range
inline constexpr int Internal = 51;
} // namespace error_number

// The text of the report box.
std::string SystemErrorText(int number, std::string_view description, std::string_view moduleName,
                            std::string_view procName, std::string_view stepName,
                            std::string_view extraText);

// Shows the report of `error` (critical icon, OK only) and returns when the operator closed it.
// A SystemError keeps its number, an index out of range reports 9, anything else 51.
void ReportSystemError(Prompts& prompts, const std::exception& error, std::string_view moduleName,
                       std::string_view procName, std::string_view stepName,
                       std::string_view extraText);

} // namespace vm880
