// The dialog filters as the program writes them, turned into Qt's form.

#include "platform/qt_file_dialogs.h"

#include <gtest/gtest.h>

namespace vm880::test {
namespace {

TEST(QtFileDialogsFilter, TakesThePatternsFromEveryPair)
{
    struct Case {
        const char* filter;
        const char* qt;
    };
    const Case cases[] = {
        {"VM880 Database Files (*.dat)|*.dat|All files (*.*)|*.*", "VM880 Database Files (*.dat);;All files (*)"},
        {"VM880 Database Files (*.dat) | *.dat", "VM880 Database Files (*.dat)"},
        {"Memory files|*.mem;*.win", "Memory files (*.mem *.win)"},
        {"Wave (*.wav)|*.wav|", "Wave (*.wav)"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(QtFileDialogs::QtFilter(c.filter).toStdString(), c.qt) << c.filter;
}

} // namespace
} // namespace vm880::test
