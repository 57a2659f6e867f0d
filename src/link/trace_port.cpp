#include "link/trace_port.h"

#include <cstdio>
#include <ostream>

namespace talveron::link {

std::string HexBytes(std::span<const std::uint8_t> bytes) {
    std::string text;
    char hex[4];
    for (std::uint8_t b : bytes) {
        std::snprintf(hex, sizeof hex, "%02X", b);
        if (!text.empty()) text += ' ';
        text += hex;
    }
    return text;
}

TracePort::TracePort(SerialPort& port, Clock& clock, std::ostream& out)
    : port_(port), clock_(clock), out_(out), start_(clock.Now()) {}

void TracePort::Line(const char* tag, std::span<const std::uint8_t> bytes,
                     const std::string& text) {
    const double seconds = std::chrono::duration<double>(clock_.Now() - start_).count();
    char time[32];
    std::snprintf(time, sizeof time, "%.6f", seconds);
    out_ << time << ' ' << tag << ' ' << (text.empty() ? HexBytes(bytes) : text) << '\n';
    out_.flush();
}

void TracePort::SelectPort(int number) {
    name_ = "port " + std::to_string(number);
    port_.SelectPort(number);
}

void TracePort::SelectDevice(const std::string& path) {
    name_ = path;
    port_.SelectDevice(path);
}

OpenResult TracePort::Open() {
    OpenResult result = port_.Open();
    const std::string device = result.device.empty() ? name_ : result.device;
    Line("open", {}, result.ok() ? device : device + " failed: " + result.message);
    return result;
}

void TracePort::ShowUnread() {
    // Reading the buffer empties it as clearing or closing would; the bytes are shown first,
    // after taking in what the system has.
    if (!port_.IsOpen()) return;
    port_.WaitForBytes(std::chrono::microseconds{0});
    const Bytes dropped = port_.ReadAll();
    if (!dropped.empty()) Line("rx dropped", dropped);
}

void TracePort::Close() {
    if (port_.IsOpen()) {
        ShowUnread();
        Line("close", {}, name_);
    }
    port_.Close();
}

void TracePort::ClearReceiveBuffer() {
    ShowUnread();
    port_.ClearReceiveBuffer();
}

bool TracePort::Write(std::span<const std::uint8_t> bytes) {
    const bool ok = port_.Write(bytes);
    Line(ok ? "tx" : "tx failed", bytes);
    return ok;
}

Bytes TracePort::ReadAll() {
    Bytes bytes = port_.ReadAll();
    if (!bytes.empty()) Line("rx", bytes);
    return bytes;
}

WaitResult TracePort::WaitForBytes(std::chrono::microseconds timeout) {
    const WaitResult result = port_.WaitForBytes(timeout);
    if (result == WaitResult::PortLost) Line("lost", {}, name_);
    return result;
}

}  // namespace talveron::link
