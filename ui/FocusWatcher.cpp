#include "ui/FocusWatcher.h"

#include <QFocusEvent>
#include <QMouseEvent>
#include <QWidget>

namespace {
// The user (or the program) moved the focus into a box. Returning to the window after a dialog or
// a menu is not a change of focus, so it must not re-select or re-copy.
bool IsFocusChange(Qt::FocusReason reason) {
    return reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason &&
           reason != Qt::MenuBarFocusReason;
}
} // namespace

FocusWatcher::FocusWatcher(QWidget* box, QWidget* mouseTarget)
    : QObject(box), box_(box), mouseTarget_(mouseTarget) {
    box_->installEventFilter(this);
    if (mouseTarget_ != box_) {
        mouseTarget_->installEventFilter(this);
    }
}

bool FocusWatcher::eventFilter(QObject* watched, QEvent* event) {
    if (watched == box_ && event->type() == QEvent::FocusIn) {
        const auto reason = static_cast<QFocusEvent*>(event)->reason();
        if (IsFocusChange(reason)) {
            clickGaveFocus_ = reason == Qt::MouseFocusReason;
            emit gotFocus();
        }
        return false;
    }
    if (watched == box_ && event->type() == QEvent::FocusOut) {
        clickGaveFocus_ = false;
        return false;
    }
    if (watched == mouseTarget_ && clickGaveFocus_) {
        return swallowMouse(event);
    }
    return false;
}

// Swallows the press, drag and release of the click that brought the focus.
bool FocusWatcher::swallowMouse(QEvent* event) {
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
        return true;
    case QEvent::MouseMove:
        return (static_cast<QMouseEvent*>(event)->buttons() & Qt::LeftButton) != 0;
    case QEvent::MouseButtonRelease:
        clickGaveFocus_ = false;
        return true;
    default:
        return false;
    }
}
