#include "image/range_check.h"

#include "image/channel_line.h"
#include "image/text_util.h"

namespace talveron {

RangeVerdict CheckRanges(const std::vector<std::string>& lines, BandLimits band) {
    RangeVerdict verdict;
    bool seen = false;
    int badChannel = 0;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string_view line = lines[i];
        for (std::size_t col : {kColRxFreq, kColTxFreq}) {
            const std::string_view mhz = Mid(line, col, 3);
            if (mhz == "NON") continue;
            seen = true;
            const std::int64_t value = LeadingNumber(mhz);
            if (value < band.low || value > band.high) {
                verdict.setsStatus = true;
                verdict.text = "Channel #" + std::to_string(i + 1) + " Range Out !";
                verdict.fault = true;
                return verdict;
            }
            if (!verdict.stepBad) {
                const std::string_view khz = Mid(line, col + 6, 1);
                if (khz != "0" && khz != "5") {
                    const std::string_view pair = Mid(line, col + 5, 2);
                    if (pair.size() != 2 || StepEnds.find(pair) == std::string_view::npos ||
                        StepEnds.find(pair) % 3 != 0) {
                        verdict.stepBad = true;
                        badChannel = static_cast<int>(i + 1);
                    }
                }
            }
        }
    }
    if (!seen) return verdict;
    verdict.setsStatus = true;
    if (verdict.stepBad) {
        verdict.text = "Channel #" + std::to_string(badChannel) + " in Bad increament !";
        verdict.fault = true;
    } else {
        verdict.text = "ALL Channels In Range";
    }
    return verdict;
}

}  // namespace talveron
