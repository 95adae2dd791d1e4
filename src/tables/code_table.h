#pragma once
// A code table pairs the text the operator sees with the code the settings file holds and
// the controller receives. Rows are numbered from 1 in the program's lookups.

#include <span>
#include <string_view>

namespace vm880 {

struct CodeRow {
    std::string_view text; // display text
    std::string_view code; // stored code, decimal text compared exactly ("00" is not "0")
};

using CodeTable = std::span<const CodeRow>;

} // namespace vm880
