// The colours of the main window's status line as the program keeps them (red in the low
// byte): black, and red for a line that blinks.
#pragma once

#include <cstdint>

namespace talveron {

enum class StatusColor : std::uint32_t { Black = 0, Red = 255 };

}  // namespace talveron
