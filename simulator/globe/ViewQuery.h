#pragma once

#include <string>

#include "ViewGeometry.h"

namespace earthsim {

// The query a network link's refresh sends, as Google Earth sends it: every view
// placeholder of KML 2.2 in `viewFormat` filled in from the view (numbers with as many
// decimals as they need, up to Google Earth's: 0.01 m, 0.001 degree, 14 decimals for
// positions), the others left as written, characters unsafe in a URL percent-encoded,
// and, between every other pair of parameters, the encoded line break and tabs that a
// view format written over several lines brings along.
std::string viewQuery(const std::string& viewFormat, const ViewGeometry& view);

}  // namespace earthsim
