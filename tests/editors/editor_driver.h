#pragma once
// Drives an editor's controls by name, as an operator would, without window focus:
// typing goes through the box's key handling (so digits-only boxes refuse letters),
// leaving a box runs its check, clicks go through the controls' own signals.

#include "editors/editor_base.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <gtest/gtest.h>

#include <string>

namespace vm880::test {

class EditorDriver {
public:
    explicit EditorDriver(EditorBase& editor) : editor_(editor) {}

    template <typename T = QWidget>
    T* Get(const std::string& name, int slot = 0) const
    {
        auto* control = qobject_cast<T*>(editor_.Control(name, slot));
        EXPECT_NE(control, nullptr) << "no control " << name << " " << slot;
        return control;
    }

    // Replaces the box's text by typing.
    void Type(const std::string& name, int slot, const QString& text)
    {
        QLineEdit* edit = Get<QLineEdit>(name, slot);
        edit->selectAll();
        if (text.isEmpty())
            QTest::keyClick(edit, Qt::Key_Delete);
        else
            QTest::keyClicks(edit, text);
    }
    void Type(const std::string& name, const QString& text) { Type(name, 0, text); }

    // Leaves the box as a move to another control of the editor does.
    bool Leave(const std::string& name, int slot = 0)
    {
        return editor_.LeaveControl(Get(name, slot));
    }

    QString Text(const std::string& name, int slot = 0) const
    {
        return Get<QLineEdit>(name, slot)->text();
    }

    void Choose(const std::string& name, int slot, int index)
    {
        Get<QComboBox>(name, slot)->setCurrentIndex(index);
    }
    void Click(const std::string& name, int slot = 0)
    {
        Get<QAbstractButton>(name, slot)->click();
    }
    bool Red(const std::string& name, int slot = 0) const
    {
        return EditorBase::IsMarked(Get(name, slot));
    }

    void Apply() { editor_.ApplyButton()->click(); }
    void CancelChanges() { editor_.CancelButton()->click(); }

private:
    EditorBase& editor_;
};

} // namespace vm880::test
