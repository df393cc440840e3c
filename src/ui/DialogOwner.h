#pragma once

#include <QApplication>
#include <QWidget>

namespace kartovex {

// The window a modal box or dialog opens over: the active one, unless that window deletes
// itself when it closes (the probe window does so after a moment), which would take the
// open box with it.
inline QWidget* dialogOwner() {
    QWidget* active = QApplication::activeWindow();
    return active && !active->testAttribute(Qt::WA_DeleteOnClose) ? active : nullptr;
}

}  // namespace kartovex
