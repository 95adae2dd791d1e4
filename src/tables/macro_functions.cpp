#include "tables/macro_functions.h"

#include "base/text.h"

#include <algorithm>
#include <climits>

namespace vm880 {

namespace {

std::vector<CodeRow>& workingCopy()
{
    static std::vector<CodeRow> list;
    return list;
}

// The list-box data of a code: its value when it is all digits, else 0 (separator rows).
int codeValue(std::string_view code)
{
    return static_cast<int>(std::min<long long>(DigitsValue(code).value_or(0), INT_MAX));
}

} // namespace

void CopyMacroFunctionTable()
{
    const CodeTable table = MacroFunctionTable();
    workingCopy().assign(table.begin(), table.end());
}

const std::vector<CodeRow>& MacroFunctionList()
{
    return workingCopy();
}

int MacroFunctionIndex(std::string_view value)
{
    const std::vector<CodeRow>& list = workingCopy();
    for (std::size_t i = 0; i < list.size(); ++i)
        if (list[i].code == value)
            return static_cast<int>(i) + 1;
    return -1;
}

void FillMacroFunctionList(std::vector<ListItem>& list)
{
    for (const CodeRow& row : workingCopy())
        list.push_back({std::string(row.text), codeValue(row.code)});
}

} // namespace vm880
