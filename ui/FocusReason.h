#pragma once

#include <Qt>

// The user (or the program) moved the focus into a box. Returning to the window after a dialog or
// a menu is not a change of focus, so it must not re-select or re-copy.
inline bool IsFocusChange(Qt::FocusReason reason) {
    return reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason &&
           reason != Qt::MenuBarFocusReason;
}
