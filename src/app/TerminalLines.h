#pragma once

#include <cstdio>
#include <string>

namespace kartovex {

// The windowless commands' terminal: each line starts with the program's name, so that a
// batch log tells whose it is.
inline void say(const std::string& line, std::FILE* to = stdout) {
    std::fprintf(to, "kartovex: %s\n", line.c_str());
    std::fflush(to);
}

// A message box's text on one terminal line.
inline std::string oneLine(std::string text) {
    for (char& c : text)
        if (c == '\n') c = ' ';
    return text;
}

}  // namespace kartovex
