#include "platform/qt_prompts.h"

#include <QApplication>
#include <QDialog>
#include <QInputDialog>
#include <QLabel>
#include <QMessageBox>
#include <QVBoxLayout>

namespace vm880 {

namespace {

QString latin1(std::string_view text)
{
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

// The program's messages use CR LF line breaks; Qt wants LF.
QString messageText(std::string_view text)
{
    return latin1(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

} // namespace

Answer QtPrompts::Message(int boxStyle, std::string_view title, std::string_view text)
{
    QMessageBox box(parent_);
    box.setWindowTitle(latin1(title));
    box.setText(messageText(text));
    switch (boxStyle & 0x70) {
    case style::Critical: box.setIcon(QMessageBox::Critical); break;
    case style::Question: box.setIcon(QMessageBox::Question); break;
    case style::Exclamation: box.setIcon(QMessageBox::Warning); break;
    case style::Information: box.setIcon(QMessageBox::Information); break;
    default: break;
    }
    QList<QMessageBox::StandardButton> buttons;
    switch (boxStyle & 7) {
    case style::OkCancel: buttons = {QMessageBox::Ok, QMessageBox::Cancel}; break;
    case style::YesNoCancel: buttons = {QMessageBox::Yes, QMessageBox::No, QMessageBox::Cancel}; break;
    case style::YesNo: buttons = {QMessageBox::Yes, QMessageBox::No}; break;
    default: buttons = {QMessageBox::Ok}; break;
    }
    for (auto b : buttons)
        box.addButton(b);
    const int defaultIndex = (boxStyle & style::DefaultButton3) ? 2 : (boxStyle & style::DefaultButton2) ? 1 : 0;
    box.setDefaultButton(buttons.value(defaultIndex, buttons.front()));
    box.setEscapeButton(buttons.contains(QMessageBox::Cancel) ? QMessageBox::Cancel : buttons.back());
    switch (box.exec()) {
    case QMessageBox::Yes: return Answer::Yes;
    case QMessageBox::No: return Answer::No;
    case QMessageBox::Cancel: return Answer::Cancel;
    default: return Answer::Ok;
    }
}

std::optional<std::string> QtPrompts::Input(std::string_view prompt, std::string_view title,
                                            std::string_view defaultText)
{
    bool ok = false;
    QString text = QInputDialog::getText(parent_, latin1(title), messageText(prompt),
                                         QLineEdit::Normal, latin1(defaultText), &ok);
    if (!ok)
        return std::nullopt;
    return text.toLatin1().toStdString();
}

void QtPrompts::Beep()
{
    QApplication::beep();
}

void QtPrompts::ShowWait(std::string_view caption, std::string_view label)
{
    if (!wait_) {
        wait_ = new QDialog(parent_);
        wait_->setAttribute(Qt::WA_DeleteOnClose);
        auto* layout = new QVBoxLayout(wait_);
        layout->addWidget(new QLabel(wait_));
    }
    wait_->setWindowTitle(latin1(caption));
    wait_->findChild<QLabel*>()->setText(latin1(label));
    wait_->show();
    // Paint it once: the work that follows does not return to the event loop.
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void QtPrompts::HideWait()
{
    if (wait_)
        wait_->close();
}

} // namespace vm880
