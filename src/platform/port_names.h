// Which device a port number 1..8 stands for. On Windows port n is COMn. Elsewhere it is the
// n-th entry of the environment variable TALVERON_PORTS (device paths separated by ":") when
// that is set, else the n-th of the system's serial ports ordered by device name (ttyS2
// before ttyS10). Pseudo-terminals never appear in the system's list, hence the variable.
#pragma once

#include <string>
#include <vector>

namespace talveron::platform {

inline constexpr const char* kPortsVariable = "TALVERON_PORTS";

// The entries of a TALVERON_PORTS value, empty entries dropped.
std::vector<std::string> SplitPortList(const std::string& value);

// Orders device paths the way port numbers follow them: runs of digits compare as numbers.
bool DeviceNameLess(const std::string& a, const std::string& b);

// The device paths port numbers 1, 2, ... stand for on this system (at most 8).
std::vector<std::string> NumberedPortDevices();

// The device of port number 1..8, or an empty text when there is none.
std::string PortDeviceName(int number);

}  // namespace talveron::platform
