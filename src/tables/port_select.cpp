#include "tables/port_select.h"

#include "tables/code_lookup.h"

namespace vm880 {

namespace {

constexpr std::size_t kPortRows = 7;
constexpr int kNoneZeroRow = 8;
constexpr int kNone99Row = 9;

CodeTable portRows()
{
    return CodeTable(PortSelectTable).first(kPortRows);
}

} // namespace

std::vector<CodeRow> PortSelectRows(int mode)
{
    std::vector<CodeRow> rows(portRows().begin(), portRows().end());
    if (mode == kPortSelectNoneZero)
        rows.push_back(PortSelectTable[kNoneZeroRow - 1]);
    else if (mode == kPortSelectNone99)
        rows.push_back(PortSelectTable[kNone99Row - 1]);
    return rows;
}

int PortSelectIndex(std::string_view value, int mode)
{
    const int row = FindRowByCode(portRows(), value);
    if (row != -1)
        return row;
    if (mode == kPortSelectNoneZero && value == PortSelectTable[kNoneZeroRow - 1].code)
        return kNoneZeroRow;
    if (mode == kPortSelectNone99 && value == PortSelectTable[kNone99Row - 1].code)
        return kNone99Row;
    return -1;
}

} // namespace vm880
