// The serving loop of talveron-vradio: bytes from the pseudo-terminal's master go into the
// radio and its echo and answers go back out, both with the timing of a serial line at the
// chosen baud rate (serial_line.h), until a stop signal.
#pragma once

#include <signal.h>

#include "platform/pty.h"
#include "vradio/virtual_radio.h"

namespace talveron::vradio {

// Serves radio on pty until stop becomes non-zero. The stop signals are blocked by the caller
// and unblocked only while waiting (waitMask is the mask to wait with), so none is lost
// between a check of stop and the wait. When a "dead@" fault strikes, closes the pty and
// waits for the stop signal. Returns false with error set when the pty fails.
bool Serve(VirtualRadio& radio, PtyPair& pty, unsigned baud, const volatile sig_atomic_t& stop,
           const sigset_t& waitMask, std::string& error);

}  // namespace talveron::vradio
