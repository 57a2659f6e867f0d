// Small text helpers for the fixed-column texts of the program.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace talveron {

// Up to n characters of s from position pos (0-based); empty past the end.
inline std::string_view Mid(std::string_view s, std::size_t pos, std::size_t n) {
    if (pos >= s.size()) return {};
    return s.substr(pos, n);
}

// s cut or blank-padded on the right to exactly width characters.
inline std::string PadRight(std::string_view s, std::size_t width, char fill = ' ') {
    std::string out(s.substr(0, width));
    out.resize(width, fill);
    return out;
}

inline std::string Trim(std::string_view s) {
    const auto first = s.find_first_not_of(" \t\r\n");
    if (first == std::string_view::npos) return {};
    const auto last = s.find_last_not_of(" \t\r\n");
    return std::string(s.substr(first, last - first + 1));
}

// The value of the number at the start of s after leading blanks (optional sign, then
// digits); 0 when there is none. Like reading a number off a fixed column.
inline std::int64_t LeadingNumber(std::string_view s) {
    std::size_t i = 0;
    while (i < s.size() && s[i] == ' ') ++i;
    bool negative = false;
    if (i < s.size() && (s[i] == '-' || s[i] == '+')) {
        negative = s[i] == '-';
        ++i;
    }
    std::int64_t value = 0;
    while (i < s.size() && s[i] >= '0' && s[i] <= '9' && value < 1'000'000'000'000LL) {
        value = value * 10 + (s[i] - '0');
        ++i;
    }
    return negative ? -value : value;
}

// The value of a text of one to maxDigits decimal digits and nothing else; empty otherwise.
inline std::optional<int> DigitsValue(std::string_view s, std::size_t maxDigits) {
    if (s.empty() || s.size() > maxDigits) return std::nullopt;
    int value = 0;
    for (char c : s) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + (c - '0');
    }
    return value;
}

}  // namespace talveron
