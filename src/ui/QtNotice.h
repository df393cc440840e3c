#pragma once

#include <QPointer>
#include <QWidget>
#include <chrono>

#include "model/Services.h"

namespace kartovex {

// A small note just below the main window: what was written, with a link that opens the
// folder. It takes no focus and no click, and closes itself after `lasting`; the next
// notice replaces it. Each notice is logged too.
class QtNotice : public NoticeService {
public:
    explicit QtNotice(std::chrono::milliseconds lasting = kLasting) : lasting_(lasting) {}

    void notice(const std::string& text, const std::string& folder) override;
    // The window the notice belongs to; without one, the active window.
    void setOwner(QWidget* owner) { owner_ = owner; }

    static constexpr std::chrono::milliseconds kLasting{12000};

private:
    std::chrono::milliseconds lasting_;
    QPointer<QWidget> owner_;
};

}  // namespace kartovex
