#pragma once

#include <string>

namespace kartovex {

// The part of the program a log line is about.
enum class LogArea { Capture, Georef, Link };

// What a user or supporter needs to read after a failure: which Google Earth call failed
// with which number, which files were written and how large. The windowed program decides
// where the lines go and whether they are kept at all.
class Log {
public:
    virtual ~Log() = default;
    virtual void write(LogArea area, const std::string& line) = 0;
};

// For callers that keep no log.
class NoLog : public Log {
public:
    void write(LogArea, const std::string&) override {}
};

}  // namespace kartovex
