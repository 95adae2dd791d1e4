#pragma once
// The open and save file dialogs of the main window. A cancelled dialog gives an empty
// answer, so that tests can script the operator's choice like any other prompt.

#include <string>
#include <string_view>

namespace vm880 {

class FileDialogs {
public:
    virtual ~FileDialogs() = default;

    // `filter` lists description and pattern pairs separated by "|":
    // "VM880 Database Files (*.dat)|*.dat|All files (*.*)|*.*".
    // Returns the chosen existing file, or an empty text when the operator cancelled.
    virtual std::string OpenFile(std::string_view filter, std::string_view title) = 0;

    // Returns the chosen file name, or an empty text when the operator cancelled. The dialog
    // itself asks nothing about an existing file: the caller does.
    virtual std::string SaveFile(std::string_view filter, std::string_view title,
                                 std::string_view presetPath) = 0;
};

} // namespace vm880
