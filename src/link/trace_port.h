// A serial port that tells what crosses the line: every write and every read of the port it
// wraps, as a hex dump with the seconds since the port was wrapped, one line each, for field
// engineers chasing a bad cable or a radio that misbehaves.
//   0.000124 open /dev/ttyUSB0
//   0.000311 tx 56
//   0.021907 rx 56 11
// Bytes the link throws away unread (a reply that came too short, too long or too late) show
// as "rx dropped" when the buffer is cleared or the port closed. The port behaves as before.
#pragma once

#include <iosfwd>

#include "link/link_clock.h"
#include "link/serial_port.h"

namespace talveron::link {

class TracePort final : public SerialPort {
  public:
    TracePort(SerialPort& port, Clock& clock, std::ostream& out);

    void SelectPort(int number) override;
    void SelectDevice(const std::string& path) override;
    OpenResult Open() override;
    void Close() override;
    bool IsOpen() const override { return port_.IsOpen(); }
    void SetInputMode(InputMode mode) override { port_.SetInputMode(mode); }
    void ClearReceiveBuffer() override;
    std::size_t BytesWaiting() override { return port_.BytesWaiting(); }
    bool Write(std::span<const std::uint8_t> bytes) override;
    Bytes ReadAll() override;
    WaitResult WaitForBytes(std::chrono::microseconds timeout) override;

  private:
    // Shows the received bytes nobody read, then takes them out of the buffer.
    void ShowUnread();
    // One line: the time, the tag, then the bytes in hex or the text.
    void Line(const char* tag, std::span<const std::uint8_t> bytes, const std::string& text = {});

    SerialPort& port_;
    Clock& clock_;
    std::ostream& out_;
    Clock::time_point start_;
    std::string name_;  // the port chosen, for the "open" line
};

// The bytes as two-digit upper-case hex separated by blanks ("56 11").
std::string HexBytes(std::span<const std::uint8_t> bytes);

}  // namespace talveron::link
