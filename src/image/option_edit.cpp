#include "image/option_edit.h"

#include "image/bit_text.h"
#include "image/channel_line.h"
#include "image/text_util.h"

namespace talveron {

OptionChoices OptionChoicesOf(std::uint8_t option) {
    const std::string bits = ByteBits(option);  // bit 7 first
    OptionChoices choices{};
    for (int j = 0; j < 5; ++j) choices[j] = bits[6 - j] == '1';
    return choices;
}

std::uint8_t ComposeOption(std::uint8_t old, const OptionChoices& choices) {
    // Bits 7 and 6 as they were, then penalty, scan, BCLO, power and spacing, then bit 0.
    std::string bits = ByteBits(old).substr(0, 2);
    for (int j = 4; j >= 0; --j) bits += choices[j] ? '1' : '0';
    bits += '0';
    return static_cast<std::uint8_t>(BitsValue(bits));
}

std::vector<std::string> OptionListLines(const std::vector<std::string>& lines,
                                         const std::vector<std::uint8_t>& chOpt) {
    std::vector<std::string> out;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (!LineInUse(lines[i])) continue;
        out.push_back(OptionLine(static_cast<int>(i) + 1, i < chOpt.size() ? chOpt[i] : 0));
    }
    return out;
}

int OptionLineChannel(std::string_view line) {
    return static_cast<int>(LeadingNumber(Mid(line, 0, 2)));
}

}  // namespace talveron
