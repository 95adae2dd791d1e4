#include "editors/editor_layout.h"

#include <QBoxLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>

namespace vm880 {

void AddRow(QGridLayout* grid, const QString& caption, QWidget* control, const QString& unit)
{
    const int row = grid->rowCount();
    grid->addWidget(new QLabel(caption), row, 0);
    grid->addWidget(control, row, 1);
    if (!unit.isEmpty())
        grid->addWidget(new QLabel(unit), row, 2);
}

void AddNote(QGridLayout* grid, const QString& note)
{
    auto* label = new QLabel(note);
    label->setWordWrap(true);
    grid->addWidget(label, grid->rowCount(), 0, 1, 3);
}

QGridLayout* AddGroup(QBoxLayout* into, const QString& title)
{
    auto* group = new QGroupBox(title);
    into->addWidget(group);
    return new QGridLayout(group);
}

QWidget* Narrow(QWidget* control, int width)
{
    control->setMaximumWidth(width);
    return control;
}

} // namespace vm880
