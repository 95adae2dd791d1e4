#pragma once
// Sets of the controller's three ports: the ports a macro may run from, the ports allowed
// for the autopatch and the port that regenerated DTMF goes to. The two "None" rows differ
// only in their code; a setting's mode says which of them it admits.

#include "tables/code_table.h"

#include <array>
#include <string_view>
#include <vector>

namespace vm880 {

// A code lists the selected ports' digits in ascending order.
inline constexpr std::array<CodeRow, 9> PortSelectTable = {{
    {"Port 1", "1"},
    {"Port 2", "2"},
    {"Port 3", "3"},
    {"Ports 1 & 2", "12"},
    {"Ports 1 & 3", "13"},
    {"Ports 2 & 3", "23"},
    {"All Ports", "123"},
    {"None", "0"},
    {"None", "99"},
}};

// Modes: which rows a setting admits.
inline constexpr int kPortSelectPortsOnly = 1; // rows 1-7: a macro's port restriction
inline constexpr int kPortSelectNoneZero = 2;  // rows 1-7 and "None" "0": the autopatch ports
inline constexpr int kPortSelectNone99 = 3;    // rows 1-7 and "None" "99": the DTMF port

// The rows a list of the given mode shows, in order; any other mode gives rows 1-7.
std::vector<CodeRow> PortSelectRows(int mode);

// Row (1-9) of a stored code in the given mode: the first of rows 1-7 whose code equals
// `value` exactly, else 8 for "0" in mode 2 and 9 for "99" in mode 3, else -1.
int PortSelectIndex(std::string_view value, int mode);

} // namespace vm880
