// Bytes handled as texts of binary digits, bit 7 first. The option and system-option code
// builds and cuts option bytes through these.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace talveron {

inline const std::array<std::string, 4> Bin2 = {"00", "01", "10", "11"};
inline const std::array<std::string, 8> Bin3 = {"000", "001", "010", "011",
                                                "100", "101", "110", "111"};

// Binary digits of a number made from its octal form, three per octal digit (9 -> 001001).
std::string ToBin(std::uint32_t value);

// Exactly eight binary digits of a byte, bit 7 first.
std::string ByteBits(std::uint8_t value);

// Value of a text of binary digits (padded on the left to whole octal digits).
std::uint32_t BitsValue(std::string_view bits);

}  // namespace talveron
