#pragma once

#include <functional>

#include "model/Services.h"

namespace kartovex {

// Runs each command from start to end with the busy cursor. An error that the command
// does not trap is shown with its number and description, titled "Kartovex", and then
// the program ends.
class CommandRunner {
public:
    CommandRunner(MessageBoxService& messages, std::function<void()> endProgram);

    void run(const std::function<void()>& command);

private:
    MessageBoxService& messages_;
    std::function<void()> endProgram_;
};

}  // namespace kartovex
