#pragma once

#include "georef/CodePage936.h"

namespace kartovex {

// Code page 936 through iconv's "CP936", whose table includes the Windows code page's own
// additions to GBK (the euro sign is the single byte 0x80). It has no code for the
// private-use characters that Windows maps into the user-defined areas, so such a name is
// refused rather than written in bytes another reader would take differently.
class IconvCodePage936 : public CodePage936 {
public:
    std::optional<std::string> fromUtf8(std::string_view utf8) const override;
};

}  // namespace kartovex
