#include "image/bit_text.h"

namespace talveron {

std::string ToBin(std::uint32_t value) {
    std::string octal;
    do {
        octal.insert(octal.begin(), static_cast<char>('0' + value % 8));
        value /= 8;
    } while (value != 0);
    std::string out;
    for (char digit : octal) out += Bin3[digit - '0'];
    return out;
}

std::string ByteBits(std::uint8_t value) {
    std::string bits = ToBin(value);
    if (bits.size() > 8) return bits.substr(bits.size() - 8);
    return std::string(8 - bits.size(), '0') + bits;
}

std::uint32_t BitsValue(std::string_view bits) {
    std::string padded(bits);
    if (padded.size() % 3 != 0) padded.insert(0, 3 - padded.size() % 3, '0');
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < padded.size(); i += 3) {
        const int digit = (padded[i] - '0') * 4 + (padded[i + 1] - '0') * 2 + (padded[i + 2] - '0');
        value = value * 8 + static_cast<std::uint32_t>(digit);
    }
    return value;
}

}  // namespace talveron
