#pragma once
// Small helpers that lay out an editor's form: caption, control and unit in a row of a grid,
// notes under it, framed groups and narrow number boxes. The Apply / Cancel Changes column
// is EditorBase::SetBody; port pages are RecordTabs::AddPortPages.

#include <QString>

class QBoxLayout;
class QGridLayout;
class QWidget;

namespace vm880 {

// A caption, the control and the unit shown beside it, as the next row of `grid`.
void AddRow(QGridLayout* grid, const QString& caption, QWidget* control, const QString& unit = {});
// A wrapped note across the three columns of `grid`.
void AddNote(QGridLayout* grid, const QString& note);
// A framed group titled `title` added to `into`; returns the grid inside it.
QGridLayout* AddGroup(QBoxLayout* into, const QString& title);
// A number box kept narrow; returns it.
QWidget* Narrow(QWidget* control, int width = 80);

} // namespace vm880
