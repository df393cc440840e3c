#pragma once

#include <stdexcept>
#include <string>

namespace kartovex {

// A run-time error as the user sees it: a number and a description. Numbers follow the
// classic Basic run-time error numbers, so a report reads the same on every platform.
class RuntimeError : public std::runtime_error {
public:
    RuntimeError(long number, const std::string& description)
        : std::runtime_error(description), number_(number) {}

    long number() const { return number_; }
    std::string description() const { return what(); }

private:
    long number_;
};

namespace error {
inline constexpr long InvalidArgument = 5;
inline constexpr long Overflow = 6;
inline constexpr long FileNotFound = 53;
inline constexpr long DiskFull = 61;
inline constexpr long PermissionDenied = 70;
inline constexpr long PathFileAccess = 75;
inline constexpr long CannotCreateObject = 429;
inline constexpr long InvalidPicture = 481;
inline constexpr long AutomationError = 440;
inline constexpr long DialogCancelled = 32755;
}  // namespace error

}  // namespace kartovex
