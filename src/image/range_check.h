// The band and raster check over a document's channel lines, and its verdict for the
// status line.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "image/model_table.h"
#include "image/status_color.h"

namespace talveron {

// Accepted 10 kHz/1 kHz digit pairs of a frequency on the 6.25 kHz raster whose 1 kHz digit
// is neither 0 nor 5.
inline constexpr std::string_view StepEnds = "06 12 18 31 37 43 56 62 68 81 87 93";

struct RangeVerdict {
    bool setsStatus = false;  // false when no channel holds a frequency: status untouched
    std::string text;         // "ALL Channels In Range", "Channel #3 Range Out !", ...
    bool fault = false;       // a channel is out of the band or off the raster
    bool stepBad = false;

    // A fault shows in red, and a red status line blinks.
    StatusColor Color() const { return fault ? StatusColor::Red : StatusColor::Black; }
};

RangeVerdict CheckRanges(const std::vector<std::string>& lines, BandLimits band);

}  // namespace talveron
