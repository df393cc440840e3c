#include <QWidget>

#include "KeepOnTop.h"

namespace kartovex {

void keepOnTop(QWidget& window) {
    // Changing the flags of a shown window hides it, so the hint is set only once; the
    // window system then keeps it above ordinary windows.
    if (!window.windowFlags().testFlag(Qt::WindowStaysOnTopHint)) {
        const bool visible = window.isVisible();
        window.setWindowFlag(Qt::WindowStaysOnTopHint, true);
        if (visible) window.show();
    }
    window.raise();
    window.activateWindow();
}

}  // namespace kartovex
