// The radio link's serial port on QSerialPort: 9600 baud, 8 data bits, no parity, 1 stop bit,
// no flow control, raw bytes. Used without an event loop: the link polls it and blocks in
// WaitForBytes, which sleeps in the system until the line brings something or time is up.
// A QCoreApplication must exist.
#pragma once

#include <memory>
#include <string>

#include "link/serial_port.h"

class QSerialPort;

namespace talveron::platform {

class QtSerialPort final : public link::SerialPort {
  public:
    QtSerialPort();
    ~QtSerialPort() override;
    QtSerialPort(const QtSerialPort&) = delete;
    QtSerialPort& operator=(const QtSerialPort&) = delete;

    void SelectPort(int number) override;
    void SelectDevice(const std::string& path) override;
    link::OpenResult Open() override;
    void Close() override;
    bool IsOpen() const override;
    void SetInputMode(link::InputMode mode) override;
    void ClearReceiveBuffer() override;
    std::size_t BytesWaiting() override;
    bool Write(std::span<const std::uint8_t> bytes) override;
    link::Bytes ReadAll() override;
    link::WaitResult WaitForBytes(std::chrono::microseconds timeout) override;

    // The device chosen last ("" when a port number has no device).
    const std::string& Device() const { return device_; }
    // What the last Open found (the failure and the platform's text for it).
    const link::OpenResult& LastOpen() const { return lastOpen_; }

  private:
    // Takes in whatever the system holds for the port; false when the device has gone.
    link::OpenResult OpenPort();
    bool Pull();
    void Lost();

    std::unique_ptr<QSerialPort> port_;
    int number_ = 0;
    std::string device_;
    link::OpenResult lastOpen_;
    bool justPulled_ = false;  // WaitForBytes took in what the system had, a moment ago
};

// The text that names a device the user may not open and what would help: joining the
// device's group when that group may read and write it and is not root ("... join the group
// dialout that owns it"), else asking for access (the administrator, or a udev rule).
std::string PermissionText(const std::string& device);
// The same from the device's mode bits, group id and group name.
std::string PermissionText(const std::string& device, unsigned mode, unsigned gid,
                           const std::string& groupName);

}  // namespace talveron::platform
