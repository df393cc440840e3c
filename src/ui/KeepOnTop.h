#pragma once

class QWidget;

namespace kartovex {

// Puts a window in the band of topmost windows and at the top of it, activating it,
// without moving or resizing it. Failures are ignored: the window goes on as before.
void keepOnTop(QWidget& window);

}  // namespace kartovex
