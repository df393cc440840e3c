#pragma once

#include <exception>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace kartovex {

// One thing Step 2 could not do: what failed, and the system's reason under it.
struct Failure : std::exception {
    Failure(std::string failedStage, std::string why)
        : stage(std::move(failedStage)), reason(std::move(why)) {}
    const char* what() const noexcept override { return stage.c_str(); }

    std::string stage;
    std::string reason;
};

// What one Step 2 did: the files it wrote, in order, what it could not do, and what is
// worth knowing about what it wrote.
struct Step2Report {
    std::vector<std::string> written;
    std::vector<Failure> failures;
    std::string remark;
};

// Runs one stage, telling any failure in it as `what` failing.
void attempt(const std::string& what, const std::function<void()>& stage);

// Runs one stage and tells whether it succeeded; a failure in it is recorded as `what`
// failing.
bool succeeded(Step2Report& report, const std::string& what, const std::function<void()>& stage);

// A path as a message shows it: one beyond any real path keeps only its two ends.
std::string shown(const std::string& path);

// Every failure with its reason, then the files written, or that none was, then the
// remark after a blank line.
std::string message(const Step2Report& report);

// What a Step 2 without failure tells: the files it wrote in `folder`, by name, then the
// remark on a line of its own.
std::string notice(const Step2Report& report, const std::string& folder);

}  // namespace kartovex
