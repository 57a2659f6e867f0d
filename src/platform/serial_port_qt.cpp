#include "platform/serial_port_qt.h"

#include <QSerialPort>

#include "platform/port_names.h"

#ifdef Q_OS_UNIX
#include <grp.h>
#include <poll.h>
#ifdef Q_OS_LINUX
#include <sys/prctl.h>
#endif
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <ctime>
#endif

namespace talveron::platform {

using link::OpenFailure;
using link::OpenResult;
using link::WaitResult;

std::string PermissionText(const std::string& device, unsigned mode, unsigned gid,
                           const std::string& groupName) {
    // Joining the group helps only when the group may read and write the device; nobody is
    // told to join root.
    constexpr unsigned kGroupReadWrite = 0060;
    if ((mode & kGroupReadWrite) == kGroupReadWrite && gid != 0 && !groupName.empty())
        return device + ": permission denied (join the group " + groupName + " that owns it)";
    return device +
           ": permission denied (not accessible to this user: ask the administrator for "
           "access, or add a udev rule that gives it to a group you are in)";
}

std::string PermissionText(const std::string& device) {
#ifdef Q_OS_UNIX
    struct stat info {};
    if (::stat(device.c_str(), &info) == 0) {
        const group* owner = ::getgrgid(info.st_gid);
        return PermissionText(device, info.st_mode, info.st_gid,
                              owner ? std::string(owner->gr_name) : std::string());
    }
#endif
    return device + ": permission denied";
}

namespace {

// QSerialPort reports a port locked by another program as a permission error too; only a
// device the user may not read and write is a matter of permission.
bool LacksPermission(const std::string& device) {
#ifdef Q_OS_UNIX
    return ::access(device.c_str(), R_OK | W_OK) != 0 && errno == EACCES;
#else
    (void)device;
    return false;
#endif
}

}  // namespace

QtSerialPort::QtSerialPort() : port_(std::make_unique<QSerialPort>()) {}

QtSerialPort::~QtSerialPort() = default;

void QtSerialPort::SelectPort(int number) {
    if (port_->isOpen()) return;
    number_ = number;
    device_ = PortDeviceName(number);
}

void QtSerialPort::SelectDevice(const std::string& path) {
    if (port_->isOpen()) return;
    number_ = 0;
    device_ = path;
}

OpenResult QtSerialPort::Open() {
    lastOpen_ = OpenPort();
    return lastOpen_;
}

OpenResult QtSerialPort::OpenPort() {
    OpenResult result;
    result.device = device_;
    if (device_.empty()) {
        result.failure = OpenFailure::NotFound;
        result.device = "port " + std::to_string(number_);
        result.message = result.device + ": no such port (ports are numbered from " +
                         std::string(kPortsVariable) + " or the system's serial ports)";
        return result;
    }
    if (port_->isOpen()) return result;
    port_->setPortName(QString::fromStdString(device_));
    port_->setBaudRate(QSerialPort::Baud9600);
    port_->setDataBits(QSerialPort::Data8);
    port_->setParity(QSerialPort::NoParity);
    port_->setStopBits(QSerialPort::OneStop);
    port_->setFlowControl(QSerialPort::NoFlowControl);
    if (port_->open(QIODevice::ReadWrite)) {
        port_->clearError();
#ifdef Q_OS_LINUX
        // The thread that talks to the radio sleeps by the millisecond (the 2 ms pause after
        // a command letter, the rest of a reply at a byte per 1.04 ms); the system's default
        // slack of 50 us on every such sleep would add up over a transfer.
        ::prctl(PR_SET_TIMERSLACK, 1000UL, 0UL, 0UL, 0UL);
#endif
        return result;
    }
    result.message = device_ + ": " + port_->errorString().toStdString();
    switch (port_->error()) {
        case QSerialPort::DeviceNotFoundError:
            result.failure = OpenFailure::NotFound;
            break;
        case QSerialPort::PermissionError:
            if (LacksPermission(device_)) {
                result.failure = OpenFailure::Permission;
                result.message = PermissionText(device_);
            } else {
                result.failure = OpenFailure::Busy;
            }
            break;
        default:
            result.failure = OpenFailure::Other;
            break;
    }
    port_->clearError();
    return result;
}

void QtSerialPort::Close() {
    if (port_->isOpen()) port_->close();
    port_->clearError();
}

bool QtSerialPort::IsOpen() const {
    return port_->isOpen();
}

void QtSerialPort::SetInputMode(link::InputMode /*mode*/) {
    // QSerialPort always delivers raw bytes, which is the only mode the link uses.
}

void QtSerialPort::ClearReceiveBuffer() {
    if (!Pull()) return;
    port_->clear(QSerialPort::Input);
    port_->readAll();
}

void QtSerialPort::Lost() {
    if (port_->isOpen()) port_->close();
}

bool QtSerialPort::Pull() {
    if (!port_->isOpen()) return false;
    port_->waitForReadyRead(0);
    // A read that fails or finds the end of the line means the device has gone.
    const QSerialPort::SerialPortError error = port_->error();
    if (error == QSerialPort::ResourceError || error == QSerialPort::ReadError) {
        Lost();
        return false;
    }
    port_->clearError();
    return true;
}

std::size_t QtSerialPort::BytesWaiting() {
    // A wait that has just taken in what the system had leaves nothing new to look for.
    if (!justPulled_) Pull();
    justPulled_ = false;
    return port_->isOpen() ? static_cast<std::size_t>(port_->bytesAvailable()) : 0;
}

bool QtSerialPort::Write(std::span<const std::uint8_t> bytes) {
    if (!port_->isOpen()) return false;
    const qint64 written = port_->write(reinterpret_cast<const char*>(bytes.data()),
                                        static_cast<qint64>(bytes.size()));
    if (written != static_cast<qint64>(bytes.size())) return false;
    // No event loop runs during an exchange: hand the bytes to the system now.
    port_->flush();
    while (port_->isOpen() && port_->bytesToWrite() > 0) {
        if (!port_->waitForBytesWritten(1000)) break;
    }
    if (port_->error() == QSerialPort::ResourceError) {
        Lost();
        return false;
    }
    return port_->isOpen() && port_->bytesToWrite() == 0;
}

link::Bytes QtSerialPort::ReadAll() {
    if (!port_->isOpen()) return {};
    const QByteArray data = port_->readAll();
    return link::Bytes(data.begin(), data.end());
}

WaitResult QtSerialPort::WaitForBytes(std::chrono::microseconds timeout) {
    if (!port_->isOpen()) return WaitResult::PortLost;
    const qint64 before = port_->bytesAvailable();
#ifdef Q_OS_UNIX
    // Sleep in the system on the port's descriptor with microsecond resolution, so the poll
    // wakes as soon as a byte is in. (The link sleeps through the rest of a reply itself: a
    // terminal wakes whoever polls it for every byte it takes in, whatever VMIN says.)
    pollfd fd{static_cast<int>(port_->handle()), POLLIN, 0};
    const auto us = timeout.count() > 0 ? timeout.count() : 0;
    const timespec limit{static_cast<time_t>(us / 1000000), static_cast<long>(us % 1000000) * 1000};
    const int ready = ::ppoll(&fd, 1, &limit, nullptr);
    if (ready <= 0) return WaitResult::TimedOut;  // time is up, or a signal: look again
    const bool hungUp = (fd.revents & (POLLHUP | POLLERR | POLLNVAL)) != 0;
    if (!Pull()) return WaitResult::PortLost;
    justPulled_ = true;
    // A line that hung up may still hand over what it held; once that is taken, it is gone.
    if (hungUp && port_->bytesAvailable() == before) {
        Lost();
        return WaitResult::PortLost;
    }
#else
    const auto ms = static_cast<int>((timeout.count() + 999) / 1000);
    port_->waitForReadyRead(ms > 0 ? ms : 0);
    if (port_->error() == QSerialPort::ResourceError) {
        Lost();
        return WaitResult::PortLost;
    }
    port_->clearError();
#endif
    return port_->bytesAvailable() > before ? WaitResult::MoreBytes : WaitResult::TimedOut;
}

}  // namespace talveron::platform
