#pragma once

#include <chrono>

#include "model/Services.h"

namespace kartovex {

// A small note at the foot of the active window: what was written, with a link that opens
// the folder. It takes no focus and no click, and closes itself after `lasting`; the
// next notice replaces it. Each notice is logged too.
class QtNotice : public NoticeService {
public:
    explicit QtNotice(std::chrono::milliseconds lasting = kLasting) : lasting_(lasting) {}

    void notice(const std::string& text, const std::string& folder) override;

    static constexpr std::chrono::milliseconds kLasting{12000};

private:
    std::chrono::milliseconds lasting_;
};

}  // namespace kartovex
