// The font fitting of a document window: the header line is grown step by step while it is
// narrower than the window, then shrunk by steps one point smaller until it fits again or the
// steps run out.
#pragma once

#include <functional>

namespace talveron::document {

// startSize in points; windowWidth and the widths measure() returns in the same unit.
// Returns the fitted size. Growth stops at maxSize whatever the header measures.
int FitHeaderFontSize(int startSize, int windowWidth, const std::function<int(int)>& measure,
                      int maxSize = 200);

}  // namespace talveron::document
