#pragma once

#include <fstream>
#include <string>

// The largest resident set since the last reset, in MB. Linux keeps it as VmHWM and resets
// it through clear_refs, so that a row's figure is the writer's own and not that of making
// its input.
inline void resetPeakResident() {
    std::ofstream("/proc/self/clear_refs") << "5";
}

inline double peakResidentMegabytes() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmHWM:", 0) == 0) return std::stod(line.substr(6)) / 1024;
    return 0;
}
