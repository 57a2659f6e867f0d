// Lengths the layout rules give in twips (1440 to the inch), converted at the screen's
// logical DPI. Every twip in the program goes through these two functions.
#pragma once

namespace talveron::platform {

inline constexpr int kTwipsPerPoint = 20;

// The logical DPI of the primary screen (96 when there is none).
double LogicalDpi();

int TwipsToPixels(int twips, double dpi = LogicalDpi());
// Device pixels per twip at a resolution: the scale that makes a painter draw in twips.
double PixelsPerTwip(double dpi);
int PixelsToTwips(int pixels, double dpi = LogicalDpi());

}  // namespace talveron::platform
