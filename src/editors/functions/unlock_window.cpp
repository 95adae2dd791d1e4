#include "editors/functions/unlock_window.h"

#include "editors/setting_text.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFocusEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <utility>

namespace vm880 {

namespace {

constexpr const char* kCaptions[kCodeBoxes] = {"Port 1 Unlock", "Port 2 Unlock", "Port 3 Unlock",
                                               "Global Lock", "Terminator"};

QString CurrentName(int box)
{
    if (box <= 3)
        return QStringLiteral("CurrentPortUnlock(%1)").arg(box);
    return box == kLockBox ? QStringLiteral("CurrentLock") : QStringLiteral("CurrentTerminator");
}

QString NewName(int box)
{
    if (box <= 3)
        return QStringLiteral("NewPortUnlockSet(%1)").arg(box);
    return box == kLockBox ? QStringLiteral("NewLockSet") : QStringLiteral("NewTerminatorSet");
}

// A new code waiting to be committed is shown red.
void ShowPending(QLineEdit* box, bool pending)
{
    QPalette palette;
    if (pending)
        palette.setColor(QPalette::Text, Qt::red);
    box->setPalette(palette);
}

} // namespace

UnlockWindow::UnlockWindow(EditorServices services, QWidget* parent)
    : QDialog(parent), codes_(std::move(services))
{
    setObjectName(QStringLiteral("frmUnlock"));
    setWindowTitle(QStringLiteral("Unlock, Lock, and Terminator"));

    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(QStringLiteral("Current")), 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("New")), 0, 2);
    for (int box = 1; box <= kCodeBoxes; ++box) {
        auto* current = new QLineEdit(this);
        current->setObjectName(CurrentName(box));
        current->setReadOnly(true); // the codes in force change only through the buttons
        current->setFocusPolicy(Qt::NoFocus);
        auto* next = new QLineEdit(this);
        next->setObjectName(NewName(box));
        next->installEventFilter(this);
        connect(next, &QLineEdit::textEdited, this, [this, box](const QString& text) { edited(box, text); });
        current_[box - 1] = current;
        new_[box - 1] = next;
        auto* caption = new QLabel(QString::fromLatin1(kCaptions[box - 1]));
        caption->setBuddy(next);
        grid->addWidget(caption, box, 0);
        grid->addWidget(current, box, 1);
        grid->addWidget(next, box, 2);
    }

    auto* buttons = new QVBoxLayout;
    addButton("cmdSend", QStringLiteral("&Send to the controller NOW"), [this] { settle(codes_.Send()); });
    addButton("cmdSave", QStringLiteral("Save to send to the controller &LATER"), [this] { settle(codes_.Save()); });
    // Record takes the typed codes as they are, and Cancel Changes drops them: neither checks
    // the box left for it.
    addButton("cmdRecord", QStringLiteral("&Record changes already made"), [this] {
        codes_.Record();
        settle(0);
    }, false);
    addButton("cmdCancel", QStringLiteral("Ca&ncel Changes"), [this] {
        codes_.Cancel();
        settle(0);
    }, false);
    addButton("cmdClose", QStringLiteral("&Close"), [this] { closeIfCommitted(); });
    for (QPushButton* button : findChildren<QPushButton*>()) {
        button->setAutoDefault(false);
        buttons->addWidget(button);
    }
    buttons->addStretch();

    auto* layout = new QHBoxLayout(this);
    layout->addLayout(grid);
    layout->addSpacing(12);
    layout->addLayout(buttons);

    codes_.Load();
    showValues();
}

void UnlockWindow::addButton(const char* name, const QString& caption, std::function<void()> action,
                             bool checksLeftBox)
{
    auto* button = new QPushButton(caption, this);
    button->setObjectName(QString::fromLatin1(name));
    if (!checksLeftBox) {
        uncheckedButtons_.push_back(button);
        connect(button, &QPushButton::clicked, this, [this, action = std::move(action)] {
            leftBoxes_.clear();
            action();
        });
        return;
    }
    connect(button, &QPushButton::clicked, this, [this, action = std::move(action)] {
        // The box the operator left for this button is checked first; a refused box keeps
        // the focus and the button does nothing.
        if (checkLeftBoxes(true))
            action();
    });
}

void UnlockWindow::showValues()
{
    for (int box = 1; box <= kCodeBoxes; ++box) {
        current_[box - 1]->setText(FromSetting(codes_.CurrentCode(box)));
        new_[box - 1]->setText(FromSetting(codes_.NewCode(box)));
        ShowPending(new_[box - 1], !codes_.NewCode(box).empty());
    }
}

void UnlockWindow::edited(int box, const QString& text)
{
    codes_.Change(box, ToSetting(text));
    ShowPending(new_[box - 1], !codes_.NewCode(box).empty());
}

void UnlockWindow::settle(int refusedBox)
{
    if (refusedBox > 0) {
        refocusing_ = true;
        new_[refusedBox - 1]->setFocus(Qt::OtherFocusReason);
        refocusing_ = false;
        return;
    }
    if (codes_.iUnapplied() == -1)
        showValues();
}

bool UnlockWindow::LeaveBox(int box)
{
    if (codes_.Validate(box))
        return true;
    settle(box);
    return false;
}

void UnlockWindow::closeIfCommitted()
{
    if (codes_.Close())
        done(QDialog::Accepted);
}

void UnlockWindow::reject()
{
    closeIfCommitted();
}

void UnlockWindow::closeEvent(QCloseEvent* event)
{
    // Closing by the window frame asks the same as the Close button.
    if (codes_.Close())
        event->accept();
    else
        event->ignore();
}

int UnlockWindow::boxOf(const QObject* control) const
{
    for (int box = 1; box <= kCodeBoxes; ++box)
        if (control && control == new_[box - 1])
            return box;
    return 0;
}

bool UnlockWindow::checkLeftBoxes(bool forButton)
{
    std::vector<int> boxes = std::exchange(leftBoxes_, {});
    // A button pressed without taking the focus (its shortcut after a refusal, or from code)
    // still leaves the box that has it.
    if (boxes.empty() && forButton && boxOf(QApplication::focusWidget()) > 0)
        boxes.push_back(boxOf(QApplication::focusWidget()));
    // A refused box takes the focus back: the moves after it did not happen.
    return std::all_of(boxes.begin(), boxes.end(), [this](int box) { return LeaveBox(box); });
}

bool UnlockWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::FocusOut || refocusing_)
        return QDialog::eventFilter(watched, event);
    // A move to any other control of the window leaves the box, buttons included; a move
    // to another window is no leaving.
    QWidget* next = QApplication::focusWidget();
    const int box = boxOf(watched);
    if (box == 0 || !next || !isAncestorOf(next)
        || std::find(uncheckedButtons_.begin(), uncheckedButtons_.end(), next) != uncheckedButtons_.end())
        return QDialog::eventFilter(watched, event);
    // After the focus change has finished: a box shown from inside it would fight it. Every
    // box left before then is checked, in order (a held Tab key, a click while a box is
    // shown); a button clicked meanwhile runs the checks first (checkLeftBoxes).
    if (std::find(leftBoxes_.begin(), leftBoxes_.end(), box) == leftBoxes_.end())
        leftBoxes_.push_back(box);
    QTimer::singleShot(0, this, [this] { checkLeftBoxes(false); });
    return QDialog::eventFilter(watched, event);
}

void ShowUnlockWindow(const EditorServices& services, QWidget* parent,
                      const std::function<void(QDialog&)>& runModal)
{
    UnlockWindow window(services, parent);
    if (runModal)
        runModal(window);
    else
        window.exec();
}

} // namespace vm880
