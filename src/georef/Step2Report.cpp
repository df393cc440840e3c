#include "Step2Report.h"

#include <cstddef>

#include "model/RuntimeError.h"

namespace kartovex {

void attempt(const std::string& what, const std::function<void()>& stage) {
    try {
        stage();
    } catch (const RuntimeError& e) {
        throw Failure{what, e.description()};
    } catch (const std::exception& e) {
        throw Failure{what, e.what()};
    }
}

bool succeeded(Step2Report& report, const std::string& what, const std::function<void()>& stage) {
    try {
        attempt(what, stage);
        return true;
    } catch (const Failure& failure) {
        report.failures.push_back(failure);
        return false;
    }
}

std::string shown(const std::string& path) {
    constexpr std::size_t kEnd = 120;
    if (path.size() <= 3 * kEnd) return path;
    std::size_t head = kEnd, tail = path.size() - kEnd;
    // Cut between characters, not inside one.
    while ((static_cast<unsigned char>(path[head]) & 0xC0) == 0x80) --head;
    while ((static_cast<unsigned char>(path[tail]) & 0xC0) == 0x80) ++tail;
    return path.substr(0, head) + "\u2026" + path.substr(tail);
}

std::string message(const Step2Report& report) {
    std::string text;
    for (const auto& failure : report.failures) {
        if (!text.empty()) text += "\n";
        text += failure.stage;
        if (!failure.reason.empty()) text += "\n" + failure.reason;
    }
    if (report.written.empty()) return text + "\nNo file was written.";
    for (const auto& path : report.written) text += "\nWritten: " + shown(path);
    return report.remark.empty() ? text : text + "\n\n" + report.remark;
}

std::string notice(const Step2Report& report, const std::string& folder) {
    std::string text = "Written in " + shown(folder) + ":";
    const char* separator = " ";
    for (const auto& path : report.written) {
        text += separator + path.substr(path.find_last_of("/\\") + 1);
        separator = ", ";
    }
    return report.remark.empty() ? text : text + "\n" + report.remark;
}

}  // namespace kartovex
