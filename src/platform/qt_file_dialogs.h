#pragma once
// The file dialogs shown with QFileDialog.

#include "interfaces/file_dialogs.h"

#include <QPointer>
#include <QString>
#include <QWidget>

namespace vm880 {

class QtFileDialogs : public FileDialogs {
public:
    explicit QtFileDialogs(QWidget* parent = nullptr) : parent_(parent) {}
    void setParent(QWidget* parent) { parent_ = parent; }

    std::string OpenFile(std::string_view filter, std::string_view title) override;
    std::string SaveFile(std::string_view filter, std::string_view title,
                         std::string_view presetPath) override;

    // "Desc (*.dat)|*.dat|All files (*.*)|*.*" as Qt writes it: "Desc (*.dat);;All files (*)".
    static QString QtFilter(std::string_view filter);

private:
    QPointer<QWidget> parent_;
};

} // namespace vm880
