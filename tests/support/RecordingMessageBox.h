#pragma once

#include <string>
#include <vector>

#include "model/Services.h"

namespace kartovex::testing {

// A message box that only remembers what it showed and asked, and answers as scripted.
struct RecordingMessageBox : MessageBoxService {
    struct Message {
        std::string text, title;
        bool operator==(const Message&) const = default;
    };
    std::vector<Message> shown, asked;
    bool answer = false;

    void information(const std::string& text, const std::string& title) override {
        shown.push_back({text, title});
    }
    bool question(const std::string& text, const std::string& title) override {
        asked.push_back({text, title});
        return answer;
    }
};

}  // namespace kartovex::testing
