// Finding the radio: DetectRS lists the ports that can be opened at all (once, at start),
// ConnectRadio finds the port a radio answers on and takes its model code.
#pragma once

#include <string_view>

#include "link/radio_link.h"

namespace talveron::link {

inline constexpr std::string_view kNoPortText = " No RS232 Port is available\nDetect Again ?";
inline constexpr std::string_view kCommPortErrorText = "AvailableRS232 port was not detected !";
inline constexpr std::string_view kCommPortErrorTitle = "Comm Port Error";
inline constexpr std::string_view kDetectedSuffix = " detected";
inline constexpr std::string_view kNotDetected = "Not detected";

// Tries port numbers 1..8 and keeps those that open in state.portList; asks to detect again
// when none opens. Ports refused for lack of permission are kept in state.refused and named
// on the status line.
void DetectRS(RadioLink& link);

// Connects to the radio: reuses the open port, or tries the ports of portList in order with
// "V"; then "I" gives the model code. Writes the verdict on the status line ("VK-A1   detected"
// in black, or "Not detected" in red) and sets linkDown. Shows "Comm Port Error" when there
// is no usable port at all.
void ConnectRadio(RadioLink& link);

// The text that tells the user why a port could not be used for lack of permission, or an
// empty text when no port was refused that way.
std::string PermissionNotice(const PortState& state);

}  // namespace talveron::link
