#pragma once
// The catalogue of the controller's macro functions. Each function row shows its three-digit
// code, one blank and a description; separator rows (one or two blanks, empty code) split the
// list into groups of related functions for the macro editor.
//
// `MacroFunctionTable` is built once at start-up. The settings-file reader copies it into the
// working copy `MacroFunctionList` at every load, and the macro checks and the macro editor read
// the working copy only.

#include "tables/code_table.h"

#include <string>
#include <string_view>
#include <vector>

namespace vm880 {

inline constexpr int kMacroFunctionRowCount = 760;
inline constexpr int kMacroFunctionCount = 698;

// One item of a list box: the text shown and the whole number kept as the item's data.
struct ListItem {
    std::string text;
    int data = 0;
};

// Kept with the other builders of the start-up order; the rows are constant data.
void InitMacroFunctionTable();

// The table: 760 rows.
CodeTable MacroFunctionTable();

// Rebuilds the working copy from the table: afterwards it holds exactly the table's rows,
// however often this runs.
void CopyMacroFunctionTable();

// The working copy; empty until the first CopyMacroFunctionTable.
const std::vector<CodeRow>& MacroFunctionList();

// The number (from 1) of the first working-copy entry whose code equals the value exactly,
// -1 when none does. The empty text finds the first separator row.
int MacroFunctionIndex(std::string_view value);

// Appends one item per working-copy entry in row order: the display text, with the code's
// numeric value as data (0 for separator rows).
void FillMacroFunctionList(std::vector<ListItem>& list);

} // namespace vm880
