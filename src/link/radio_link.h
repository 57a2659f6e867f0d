// The radio link: the services it works through and its state, handed to every routine.
#pragma once

#include "link/link_clock.h"
#include "link/link_state.h"
#include "link/serial_port.h"
#include "link/status_line.h"
#include "link/transfer_view.h"
#include "link/user_prompt.h"

namespace talveron::link {

struct RadioLink {
    SerialPort& port;
    UserPrompt& prompt;
    StatusLine& status;
    TransferView& view;
    Clock& clock;
    LinkState state;
};

}  // namespace talveron::link
