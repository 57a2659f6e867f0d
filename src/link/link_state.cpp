#include "link/link_state.h"

#include <string>

namespace talveron::link {

std::string PortChoice::Name() const {
    return device.empty() ? std::to_string(number) : device;
}

bool ParsePortChoice(const std::string& text, PortChoice& out) {
    if (text.empty()) return false;
    if (text.size() == 1 && text[0] >= '1' && text[0] <= '8') {
        out = PortChoice{text[0] - '0', {}};
        return true;
    }
    out = PortChoice{0, text};
    return true;
}

void UsePort(PortState& state, const PortChoice& port) {
    state.portList = {port};
    state.portIndex = 1;
}

}  // namespace talveron::link
