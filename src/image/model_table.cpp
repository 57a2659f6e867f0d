#include "image/model_table.h"

#include "image/text_util.h"

namespace talveron {

std::string_view ModelLine(int code) {
    if (code < 0 || code >= static_cast<int>(ModelTable.size())) return {};
    return ModelTable[code].line;
}

std::string ModelNameField(std::string_view modelLine) {
    const auto pair = modelLine.find("  ");
    if (pair == std::string_view::npos) return PadRight("", 7);
    return PadRight(Mid(modelLine, pair + 2, 7), 7);
}

std::string ShortModelName(int code) {
    return ModelNameField(ModelLine(code));
}

std::string BandText(std::string_view modelLine) {
    // Columns 18-24. The model names themselves hold a "-" ("VK-A1"), so the band cannot be
    // found by looking for the first dash of the line.
    return std::string(Mid(modelLine, 17, 7));
}

BandLimits BandFromText(std::string_view band) {
    BandLimits limits;
    const std::string trimmed = Trim(band);
    limits.low = static_cast<int>(LeadingNumber(Mid(trimmed, 0, 3)));
    if (trimmed.size() >= 3) {
        limits.high = static_cast<int>(LeadingNumber(Mid(trimmed, trimmed.size() - 3, 3)));
    }
    return limits;
}

}  // namespace talveron
