// --virtual-radio[=MODEL,MEMORY]: starts talveron-vradio from the program's own folder, reads
// the pseudo-terminal it serves on (its first line of output) and makes that device port 1
// through TALVERON_PORTS. The radio is stopped when this object goes.
#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>
#include <optional>

namespace talveron::app {

struct VirtualRadioOptions {
    QString model = QStringLiteral("0");       // 0 or 1
    QString memory = QStringLiteral("small");  // small or large
    QStringList extra;                         // further talveron-vradio arguments
};

// Reads the text after "--virtual-radio=" ("1,large", "1", ",large"); nullopt when malformed.
std::optional<VirtualRadioOptions> ParseVirtualRadio(const QString& value);

class VirtualRadioProcess {
  public:
    VirtualRadioProcess() = default;
    ~VirtualRadioProcess();
    VirtualRadioProcess(const VirtualRadioProcess&) = delete;
    VirtualRadioProcess& operator=(const VirtualRadioProcess&) = delete;

    // Starts the program and waits (at most timeoutMs) for its device path. On success the
    // path is put first in TALVERON_PORTS and returned; on failure error() says why.
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
