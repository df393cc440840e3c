#pragma once

#include <string>
#include <string_view>

// Taking a picked file's path apart, to name Step 2's files after it. Folders end at a
// backslash or a slash: Windows accepts both, and every Linux path uses the slash.
// Positions are counted in characters (code points of the UTF-8 text) and held in 16 bits
// as they always were, so a path or position beyond 32,767 fails with an overflow error.
namespace kartovex {

// The leading part up to and including the last colon, backslash or slash; empty when
// there is none.
std::string ParsePath(std::string_view sPathIn);

// The part after the last backslash or slash; the whole argument when there is none.
std::string ParseFileName(std::string_view sFileIn);

// The file name without its last extension: area.old.jpg gives area.old, a name without
// "." stays whole, .jpg gives the empty name.
std::string RetureFileName(std::string_view strFile);

}  // namespace kartovex
