#include "image/auto_fill.h"

#include <charconv>
#include <cmath>

#include "image/channel_line.h"
#include "image/text_util.h"
#include "image/tone_codec.h"

namespace talveron {

namespace {

constexpr std::int64_t kLowestThreeDigitHz = 100'000'000;
constexpr std::int64_t kHighestThreeDigitHz = 999'999'999;
constexpr std::size_t kRxToneColumn = 16;  // columns 17-27
constexpr std::size_t kTxToneColumn = 41;  // columns 42-52

bool IsDigits(std::string_view s) {
    for (char c : s)
        if (c < '0' || c > '9') return false;
    return !s.empty();
}

// Writes one side's field of every target line, as the area says.
template <class Text>
void WriteFields(std::vector<std::string>& lines, FillRange range, FillArea area,
                 std::size_t rxColumn, std::size_t txColumn, Text text, FillResult& result) {
    for (int ch = range.first; ch <= range.last; ++ch) {
        std::string& line = lines[static_cast<std::size_t>(ch - 1)];
        const std::string field = text(ch - range.first);
        if (area != FillArea::TxOnly) OverwriteField(line, rxColumn, field);
        if (area != FillArea::RxOnly) OverwriteField(line, txColumn, field);
        RenumberLine(line, ch);
        result.changed.push_back(ch - 1);
    }
}

}  // namespace

FillArea FillAreaOf(bool txOnlyTicked, bool rxOnlyTicked) {
    if (txOnlyTicked) return FillArea::TxOnly;
    return rxOnlyTicked ? FillArea::RxOnly : FillArea::Both;
}

std::optional<FillRange> FillTargets(std::string_view first, std::string_view last, int lineCount) {
    const std::optional<int> f = DigitsValue(Trim(first), 9);
    const std::optional<int> l = DigitsValue(Trim(last), 9);
    if (!f || !l || *f < 1 || *f > *l || *l > lineCount) return std::nullopt;
    return FillRange{*f, *l};
}

std::string AutoFreqStart(const std::vector<std::string>& lines, int current,
                          std::string_view rangeCaption) {
    if (current >= 0 && current < static_cast<int>(lines.size())) {
        const std::string rx = Trim(Mid(lines[static_cast<std::size_t>(current)], kColRxFreq, 10));
        if (rx != kNone && !rx.empty()) return rx;
    }
    return std::string(Mid(rangeCaption, 6, 3)) + ".000000";
}

std::optional<std::int64_t> SpacingHz(std::string_view kilohertz) {
    const std::string text = Trim(kilohertz);
    float value = 0;
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (text.empty() || ec != std::errc() || ptr != end || !std::isfinite(value))
        return std::nullopt;
    // The product is formed in single precision, as the radio's own tools always did, so a
    // spacing like 6.25 or 12.5 kHz comes out exact and an odd one rounds the same way.
    const float hz = value * 1000.0f;
    if (std::fabs(hz) > 4e12f) return std::nullopt;
    return static_cast<std::int64_t>(std::nearbyint(static_cast<double>(hz)));
}

void OverwriteField(std::string& line, std::size_t column, std::string_view text) {
    if (line.size() < column + text.size()) line.resize(column + text.size(), ' ');
    line.replace(column, text.size(), text);
}

void RenumberLine(std::string& line, int number) {
    std::string text = std::to_string(number);
    if (text.size() == 1) text += ' ';
    OverwriteField(line, 0, text);
}

FillResult AutoFreq(std::vector<std::string>& lines, FillRange range, FillArea area,
                    std::string_view startText, std::string_view spacingText) {
    FillResult result;
    const std::string start = Trim(startText);
    if (start.size() != 10 || start[3] != '.' || !IsDigits(start.substr(0, 3)) ||
        !IsDigits(start.substr(4))) {
        result.error = FillError::BadStart;
        return result;
    }
    const std::int64_t startHz = std::stoll(start.substr(0, 3) + start.substr(4));
    const std::optional<std::int64_t> spacing = SpacingHz(spacingText);
    if (!spacing) {
        result.error = FillError::BadSpacing;
        return result;
    }
    // The whole walk is checked before a line changes: a frequency without exactly three
    // MHz digits would be written as a garbled field.
    for (int ch = range.first; ch <= range.last; ++ch) {
        const std::int64_t hz = startHz + *spacing * (ch - range.first);
        if (hz < kLowestThreeDigitHz || hz > kHighestThreeDigitHz) {
            result.error = FillError::OutOfDigits;
            result.badChannel = ch;
            return result;
        }
    }
    WriteFields(
        lines, range, area, kColRxFreq, kColTxFreq,
        [&](int k) {
            const std::string digits = std::to_string(startHz + *spacing * k);
            return digits.substr(0, 3) + "." + digits.substr(3) + "  ";
        },
        result);
    return result;
}

std::string FillToneText(int code) {
    if (code <= 0 || code >= kToneCount) return Pad3(code < 0 ? 0 : code) + " = None ";
    return Pad3(code) + " = " + ToneTable()[static_cast<std::size_t>(code)].substr(10, 5);
}

FillResult AutoSubt(std::vector<std::string>& lines, FillRange range, FillArea area, int startCode,
                    bool continual) {
    FillResult result;
    int code = continual ? startCode - 1 : startCode;
    std::vector<int> codes;
    for (int ch = range.first; ch <= range.last; ++ch) {
        if (continual && ++code > kToneCount - 1) code = 1;
        codes.push_back(code);
    }
    WriteFields(
        lines, range, area, kRxToneColumn, kTxToneColumn,
        [&](int k) { return FillToneText(codes[static_cast<std::size_t>(k)]); }, result);
    return result;
}

}  // namespace talveron
