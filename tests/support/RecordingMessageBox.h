#pragma once

#include <string>
#include <vector>

#include "model/Services.h"

namespace kartovex::testing {

// A message box that only remembers what it was asked to show, in order.
struct RecordingMessageBox : MessageBoxService {
    struct Message {
        std::string text, title;
        bool operator==(const Message&) const = default;
    };
    std::vector<Message> shown;

    void information(const std::string& text, const std::string& title) override {
        shown.push_back({text, title});
    }
};

}  // namespace kartovex::testing
