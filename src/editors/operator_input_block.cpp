#include "editors/operator_input_block.h"

#include <QApplication>
#include <QEvent>
#include <QWindow>

#include <algorithm>

namespace vm880 {

OperatorInputBlock::OperatorInputBlock()
{
    for (QWidget* window : QApplication::topLevelWidgets())
        if (window->isVisible())
            windows_.emplace_back(window);
    qApp->installEventFilter(this);
}

OperatorInputBlock::~OperatorInputBlock()
{
    qApp->removeEventFilter(this);
}

bool OperatorInputBlock::blocks(QObject* target) const
{
    // Input reaches a window system window first, then the widget under it.
    const auto isBlocked = [this](auto matches) {
        return std::any_of(windows_.begin(), windows_.end(),
                           [&](const QPointer<QWidget>& w) { return w && matches(w.data()); });
    };
    if (auto* widget = qobject_cast<QWidget*>(target)) {
        const QWidget* window = widget->window();
        return isBlocked([window](const QWidget* w) { return w == window; });
    }
    if (auto* window = qobject_cast<QWindow*>(target))
        return isBlocked([window](const QWidget* w) { return w->windowHandle() == window; });
    return false;
}

bool OperatorInputBlock::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::ShortcutOverride:
        // Claimed for the widget, so that no menu or button shortcut runs; the key itself
        // is then stopped below.
        if (!blocks(watched))
            return false;
        event->accept();
        return true;
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::Shortcut:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel:
    case QEvent::Close:
        if (!blocks(watched))
            return false;
        event->ignore();
        return true;
    default:
        return false;
    }
}

} // namespace vm880
