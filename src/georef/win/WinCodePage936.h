#pragma once

#include "georef/CodePage936.h"

namespace kartovex {

// Code page 936 through the system's own conversion, WideCharToMultiByte, with best-fit
// substitutes turned off. Characters of the private-use areas, which Windows maps into
// the code page's user-defined areas, are refused, as on the other platforms: another
// machine would read those bytes as other characters or none.
class WinCodePage936 : public CodePage936 {
public:
    std::optional<std::string> fromUtf8(std::string_view utf8) const override;
};

}  // namespace kartovex
