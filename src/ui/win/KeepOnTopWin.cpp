#include <QtCore/qt_windows.h>

#include <QWidget>

#include "ui/KeepOnTop.h"

namespace kartovex {

// Joins the band of topmost windows at its top, keeping position and size. The flags do
// not suppress activation, so the window is also activated. The outcome is not looked at:
// the window goes on as before if the call fails.
void keepOnTop(QWidget& window) {
    SetWindowPos(reinterpret_cast<HWND>(window.winId()), HWND_TOPMOST, 0, 0, 0, 0,
                 SWP_NOSIZE | SWP_NOMOVE);
}

}  // namespace kartovex
