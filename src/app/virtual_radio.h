// --virtual-radio[=MODEL,MEMORY]: starts talveron-vradio from the program's own folder, reads
// the pseudo-terminal it serves on (its first line of output) and makes that device port 1
// through TALVERON_PORTS, the other ports following it, so that a real adapter stays
// reachable. The radio is stopped when this object goes, and ends with the program should
// that crash or be killed.
#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>
#include <optional>
#include <string>
#include <vector>

namespace talveron::app {

struct VirtualRadioOptions {
    QString model = QStringLiteral("0");       // 0 or 1
    QString memory = QStringLiteral("small");  // small or large
    QStringList extra;                         // further talveron-vradio arguments
    // When TALVERON_PORTS is unset: true puts the system's serial ports after the radio (the
    // command line's radio); false makes the radio the only port (a test's known setting).
    bool systemPortsToo = false;
};

// The TALVERON_PORTS value that makes device port 1: device followed by the entries of
// current when the variable is set (current is its value), else by the system's ports as
// port numbers map them (systemPorts, from platform::NumberedPortDevices()).
QByteArray PortListWithRadio(const QString& device, const std::optional<QByteArray>& current,
                             const std::vector<std::string>& systemPorts);

// Reads the text after "--virtual-radio=" ("1,large", "1", ",large"); nullopt when malformed.
std::optional<VirtualRadioOptions> ParseVirtualRadio(const QString& value);

class VirtualRadioProcess {
  public:
    VirtualRadioProcess() = default;
    ~VirtualRadioProcess();
    VirtualRadioProcess(const VirtualRadioProcess&) = delete;
    VirtualRadioProcess& operator=(const VirtualRadioProcess&) = delete;

    // Starts the program and waits (at most timeoutMs) for its device path. On success the
    // path is put first in TALVERON_PORTS (PortListWithRadio); on failure Error() says why.
    bool Start(const QString& program, const VirtualRadioOptions& options, int timeoutMs = 10000);
    void Stop();

    QString Device() const { return device_; }
    QString Error() const { return error_; }
    bool Running() const { return process_.state() != QProcess::NotRunning; }

  private:
    QProcess process_;
    QString device_;
    QString error_;
};

// The talveron-vradio next to this program's executable.
QString VirtualRadioProgram(const QString& programDir);

}  // namespace talveron::app
