// The serial port as the radio link uses it: exactly the operations the link needs, so the
// link runs against QSerialPort in the programs and against a scripted port in tests.
// Line settings are fixed: 9600 baud, 8 data bits, no parity, 1 stop bit.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace talveron::link {

using Bytes = std::vector<std::uint8_t>;

// Why an open failed. Permission is told apart so the user can be told to join the group
// that owns the device (dialout on Debian) instead of the port silently being skipped.
enum class OpenFailure { None, NotFound, Busy, Permission, Other };

struct OpenResult {
    OpenFailure failure = OpenFailure::None;
    std::string device;   // the device the port stands for ("/dev/ttyUSB0", "COM3")
    std::string message;  // the platform's text for the failure

    bool ok() const { return failure == OpenFailure::None; }
};

// The input modes of the port; the link sets byte arrays before every command.
enum class InputMode { Text = 0, Bytes = 1 };

// The outcome of waiting for more received bytes.
enum class WaitResult { MoreBytes, TimedOut, PortLost };

class SerialPort {
  public:
    virtual ~SerialPort() = default;

    // Chooses the port while it is closed: a port number 1..8, or a device path.
    virtual void SelectPort(int number) = 0;
    virtual void SelectDevice(const std::string& path) = 0;

    virtual OpenResult Open() = 0;
    virtual void Close() = 0;
    virtual bool IsOpen() const = 0;

    virtual void SetInputMode(InputMode mode) = 0;
    // Throws away every byte received so far.
    virtual void ClearReceiveBuffer() = 0;
    // How many received bytes are buffered (takes in what the system has at this moment).
    virtual std::size_t BytesWaiting() = 0;
    // Sends the bytes unchanged; false when the port could not take them.
    virtual bool Write(std::span<const std::uint8_t> bytes) = 0;
    // Every buffered byte, oldest first; empties the buffer.
    virtual Bytes ReadAll() = 0;

    // Blocks until more bytes have arrived or the timeout has passed. PortLost when the
    // device went away (adapter unplugged, pty closed); the port is then closed.
    virtual WaitResult WaitForBytes(std::chrono::microseconds timeout) = 0;
};

}  // namespace talveron::link
