#include "image/freq_codec.h"

#include <locale>
#include <sstream>

#include "image/bit_text.h"
#include "image/text_util.h"

namespace talveron {

namespace {

constexpr std::int64_t kMaxWholeMhz = 1'000'000'000;  // beyond any synthesizer

// Digits-only integer with optional leading blanks and sign; empty otherwise.
std::optional<std::int64_t> ParseInteger(std::string_view s) {
    std::size_t i = 0;
    while (i < s.size() && s[i] == ' ') ++i;
    bool negative = false;
    if (i < s.size() && (s[i] == '-' || s[i] == '+')) {
        negative = s[i] == '-';
        ++i;
    }
    if (i == s.size()) return std::nullopt;
    std::int64_t value = 0;
    for (; i < s.size(); ++i) {
        if (s[i] < '0' || s[i] > '9') return std::nullopt;
        if (value > kMaxWholeMhz * 1'000'000) return std::nullopt;
        value = value * 10 + (s[i] - '0');
    }
    return negative ? -value : value;
}

// A number read off the start of a text the way a frequency field is read (leading blanks,
// sign, digits, "." and decimals), scaled to 1e-9 MHz. Further decimals are dropped.
// Empty when there is no digit at all.
std::optional<std::int64_t> ValueNanoMhz(std::string_view s) {
    std::size_t i = 0;
    while (i < s.size() && s[i] == ' ') ++i;
    bool negative = false;
    if (i < s.size() && (s[i] == '-' || s[i] == '+')) {
        negative = s[i] == '-';
        ++i;
    }
    std::int64_t whole = 0;
    bool digits = false;
    while (i < s.size() && s[i] >= '0' && s[i] <= '9') {
        if (whole > kMaxWholeMhz) return std::nullopt;
        whole = whole * 10 + (s[i] - '0');
        digits = true;
        ++i;
    }
    std::int64_t frac = 0;
    int places = 0;
    if (i < s.size() && s[i] == '.') {
        ++i;
        while (i < s.size() && s[i] >= '0' && s[i] <= '9') {
            if (places < 9) {
                frac = frac * 10 + (s[i] - '0');
                ++places;
            }
            digits = true;
            ++i;
        }
    }
    if (!digits) return std::nullopt;
    for (; places < 9; ++places) frac *= 10;
    const std::int64_t value = whole * 1'000'000'000 + frac;
    return negative ? -value : value;
}

// Shortest decimal text of a value in 1e-9 MHz ("123.6125", "-11.4", "45").
std::string NanoMhzText(std::int64_t nano) {
    std::string out;
    if (nano < 0) {
        out = "-";
        nano = -nano;
    }
    out += std::to_string(nano / 1'000'000'000);
    std::string frac = std::to_string(nano % 1'000'000'000);
    frac.insert(0, 9 - frac.size(), '0');
    while (!frac.empty() && frac.back() == '0') frac.pop_back();
    if (!frac.empty()) out += "." + frac;
    return out;
}

}  // namespace

bool DetectDotDecimal() {
    try {
        std::ostringstream out;
        out.imbue(std::locale(""));
        out << 10.0 / 3.0;
        return out.str().find('.') != std::string::npos;
    } catch (const std::exception&) {
        return true;  // an unknown locale name: the C locale's "." applies
    }
}

std::optional<std::int64_t> FreqToHz(std::string_view text, bool dotDecimal) {
    std::string s(text);
    if (!dotDecimal) {
        const auto comma = s.find(',');
        if (comma != std::string::npos) s[comma] = '.';
    }
    if (s.find('.') == std::string::npos) s += '.';
    const auto p = s.find('.');
    if (s.size() > 10) s.resize(10);
    if (p >= s.size()) return std::nullopt;  // the point itself was cut off: no frequency
    std::string before = s.substr(0, p);
    std::string after = s.substr(p + 1);
    if (after.size() > 6) after.resize(6);
    after.append(6 - after.size(), '0');
    if (Trim(before).empty() || Trim(before) == "-" || Trim(before) == "+") before += "0";
    return ParseInteger(before + after);
}

int StepClass(std::int64_t hz) {
    for (int i = 0; i < 3; ++i) {
        if (hz % StepHz[i] == 0) return i;
    }
    return 3;
}

std::string EncodeFreq(std::string_view text, bool receive, const CodecContext& ctx, PllWord& pll) {
    const std::string trimmed = Trim(text);
    if (trimmed.empty() || trimmed == "NONE") return std::string(kNotEncoded);

    std::optional<std::int64_t> hz;
    if (receive) {
        // The synthesizer runs at the receive frequency plus the IF offset. The sum is
        // written out as a decimal text and read back through FreqToHz, so it is cut to
        // 10 characters exactly as a typed frequency would be.
        const auto value = ValueNanoMhz(trimmed);
        if (!value) return std::string(kNotEncoded);
        hz = FreqToHz(NanoMhzText(*value + ctx.IfHz() * 1000));
    } else {
        // Trimmed: a line field comes with a blank in front, and that blank must not use up
        // one of the ten characters FreqToHz reads ("1000.00625" would lose a digit).
        hz = FreqToHz(trimmed, ctx.dotDecimal);
    }
    // A negative synthesizer frequency cannot be set: the side does not encode.
    if (!hz || *hz < 0) return std::string(kNotEncoded);

    const int c = StepClass(*hz);
    if (c >= 2) return std::string(kNotEncoded);

    const std::int64_t q = *hz / StepHz[c];
    const std::int64_t n = q / ctx.prescaler;
    const std::int64_t a = q % ctx.prescaler;
    const std::int64_t word = 32 * n + a / 4;
    // A word that does not fit in 16 bits (too high for the prescaler) would be stored
    // wrapped as another frequency; such a side does not encode either.
    if (word > 0xFFFF) return std::string(kNotEncoded);

    pll.high = static_cast<std::uint8_t>(word / 256);
    pll.low = static_cast<std::uint8_t>(word % 256);
    return Bin2[a % 4] + Bin2[c];
}

std::string HzToFreqText(std::int64_t hz) {
    std::string out;
    if (hz < 0) {
        out = "-";
        hz = -hz;
    }
    out += std::to_string(hz / 1'000'000);
    std::string frac = std::to_string(hz % 1'000'000);
    frac.insert(0, 6 - frac.size(), '0');
    while (!frac.empty() && frac.back() == '0') frac.pop_back();
    out += "." + frac;
    if (out.size() < 10) out.append(10 - out.size(), '0');
    return out;
}

std::string DecodeFreq(std::uint8_t high, std::uint8_t low, std::uint8_t flags, bool receive,
                       const CodecContext& ctx) {
    const int nibble = receive ? (flags & 0x0F) : (flags >> 4);
    const std::int64_t word = 256 * high + low;
    const std::int64_t n = word / 32;
    const std::int64_t a = 4 * (word % 32) + nibble / 4;
    const int c = nibble % 4;
    std::int64_t hz = (ctx.prescaler * n + a) * StepHz[c];
    if (receive) hz -= ctx.IfHz();
    return HzToFreqText(hz);
}

std::string StepDigits(std::string_view text, bool& stepBad) {
    stepBad = false;
    std::string out(text);
    const char last = text.empty() ? ' ' : text.back();
    const int tens = text.size() >= 6 ? text[5] - '0' : -1;
    const bool startsWith1 = !text.empty() && text.front() == '1';
    auto pick = [&](bool ok, const char* digits) {
        if (ok) {
            out += digits;
        } else {
            stepBad = true;
            out += "000";
        }
    };
    switch (last) {
        case '0':
        case '5':
            out += "000";
            break;
        case '1':
            pick(tens == 3 || tens == 8, "250");
            break;
        case '2':
            pick(startsWith1 || tens == 1 || tens == 6, "500");
            break;
        case '3':
            pick(tens == 4 || tens == 9, "750");
            break;
        case '6':
            pick(tens == 0 || tens == 5, "250");
            break;
        case '7':
            pick(startsWith1 || tens == 3 || tens == 8, "500");
            break;
        case '8':
            pick(tens == 1 || tens == 6, "750");
            break;
        default:
            pick(false, "000");
            break;
    }
    return out;
}

}  // namespace talveron
