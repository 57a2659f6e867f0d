// Channel options: the list of option lines of a document's channels in use, and the five
// choices of the option dialog, bits 1 to 5 of a channel's option byte. The dialog keeps
// bits 7 and 6 (the sides in use) and always writes bit 0 as 0.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace talveron {

// One choice per frame: 0 12.5 kHz spacing, 1 high power, 2 BCLO on, 3 scan on, 4 penalty on.
using OptionChoices = std::array<bool, 5>;

OptionChoices OptionChoicesOf(std::uint8_t option);
std::uint8_t ComposeOption(std::uint8_t old, const OptionChoices& choices);

// The option line of every channel whose receive side is not "NONE", in channel order.
std::vector<std::string> OptionListLines(const std::vector<std::string>& lines,
                                         const std::vector<std::uint8_t>& chOpt);

// The channel an option line names (its first two characters); 0 for none.
int OptionLineChannel(std::string_view line);

}  // namespace talveron
