#pragma once

#include <chrono>
#include <string>

#include "capture/GoogleEarth.h"
#include "model/Services.h"

namespace kartovex {

// What the real back ends share: the program's own message box and the steady clock.
// Each still says how it pauses, as only it knows whether its thread may sleep.
class GoogleEarthBackEnd : public GoogleEarthPlatform {
public:
    explicit GoogleEarthBackEnd(MessageBoxService& messages) : messages_(messages) {}

    void messageBox(const std::string& text, const std::string& title) override {
        messages_.information(text, title);
    }
    std::chrono::steady_clock::time_point now() override {
        return std::chrono::steady_clock::now();
    }

private:
    MessageBoxService& messages_;
};

}  // namespace kartovex
