#pragma once

#include <QApplication>

namespace kartovex {

// A command shows the busy cursor while it runs; a box or dialog that waits for the user
// lifts it for as long as it is open, and the command's cursor returns after.
class LiftedBusyCursor {
public:
    LiftedBusyCursor() {
        while (QApplication::overrideCursor()) {
            QApplication::restoreOverrideCursor();
            ++lifted_;
        }
    }
    ~LiftedBusyCursor() {
        while (lifted_-- > 0) QApplication::setOverrideCursor(Qt::WaitCursor);
    }
    LiftedBusyCursor(const LiftedBusyCursor&) = delete;
    LiftedBusyCursor& operator=(const LiftedBusyCursor&) = delete;

private:
    int lifted_ = 0;
};

}  // namespace kartovex
