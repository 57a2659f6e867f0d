#include "app/virtual_radio.h"

#include <QDir>
#include <QElapsedTimer>

#include "platform/port_names.h"

#ifdef Q_OS_UNIX
#include "platform/end_with_parent.h"
#endif

namespace talveron::app {

std::optional<VirtualRadioOptions> ParseVirtualRadio(const QString& value) {
    VirtualRadioOptions options;
    // The user's own adapters stay reachable behind the radio.
    options.systemPortsToo = true;
    if (value.isEmpty()) return options;
    const QStringList parts = value.split(QLatin1Char(','));
    if (parts.size() > 2) return std::nullopt;
    if (!parts[0].isEmpty()) {
        if (parts[0] != QLatin1String("0") && parts[0] != QLatin1String("1")) return std::nullopt;
        options.model = parts[0];
    }
    if (parts.size() == 2 && !parts[1].isEmpty()) {
        const QString memory = parts[1].toLower();
        if (memory != QLatin1String("small") && memory != QLatin1String("large"))
            return std::nullopt;
        options.memory = memory;
    }
    return options;
}

QByteArray PortListWithRadio(const QString& device, const std::optional<QByteArray>& current,
                             const std::vector<std::string>& systemPorts) {
    QByteArray ports = device.toLocal8Bit();
    if (current) {
        if (!current->isEmpty()) ports += ':' + *current;
        return ports;
    }
    for (const std::string& other : systemPorts) ports += ':' + QByteArray::fromStdString(other);
    return ports;
}

QString VirtualRadioProgram(const QString& programDir) {
#ifdef Q_OS_WIN
    const QString name = QStringLiteral("talveron-vradio.exe");
#else
    const QString name = QStringLiteral("talveron-vradio");
#endif
    return QDir(programDir).filePath(name);
}

VirtualRadioProcess::~VirtualRadioProcess() {
    Stop();
}

bool VirtualRadioProcess::Start(const QString& program, const VirtualRadioOptions& options,
                                int timeoutMs) {
    QStringList args{QStringLiteral("--model"), options.model, QStringLiteral("--memory"),
                     options.memory};
    args += options.extra;
    process_.setProcessChannelMode(QProcess::SeparateChannels);
#ifdef Q_OS_UNIX
    // The radio ends with this program even when it crashes or is killed.
    process_.setChildProcessModifier([parent = ::getpid()] { platform::EndWithParent(parent); });
#endif
    process_.start(program, args);
    if (!process_.waitForStarted(timeoutMs)) {
        error_ = QStringLiteral("cannot start %1: %2").arg(program, process_.errorString());
        return false;
    }
    QElapsedTimer clock;
    clock.start();
    while (!process_.canReadLine()) {
        const int left = timeoutMs - static_cast<int>(clock.elapsed());
        if (left <= 0 || process_.state() == QProcess::NotRunning ||
            !process_.waitForReadyRead(left)) {
            if (process_.canReadLine()) break;
            error_ = QStringLiteral("%1 gave no device: %2")
                         .arg(program, QString::fromLocal8Bit(process_.readAllStandardError()));
            Stop();
            return false;
        }
    }
    device_ = QString::fromLocal8Bit(process_.readLine()).trimmed();
    if (device_.isEmpty()) {
        error_ = QStringLiteral("%1 gave an empty device").arg(program);
        Stop();
        return false;
    }
    std::optional<QByteArray> current;
    if (qEnvironmentVariableIsSet(platform::kPortsVariable))
        current = qgetenv(platform::kPortsVariable);
    // Read while the variable is still unset: then these are the system's own ports.
    const std::vector<std::string> systemPorts = !current && options.systemPortsToo
                                                     ? platform::NumberedPortDevices()
                                                     : std::vector<std::string>{};
    qputenv(platform::kPortsVariable, PortListWithRadio(device_, current, systemPorts));
    return true;
}

void VirtualRadioProcess::Stop() {
    if (process_.state() == QProcess::NotRunning) return;
    process_.terminate();
    if (!process_.waitForFinished(3000)) {
        process_.kill();
        process_.waitForFinished(3000);
    }
}

}  // namespace talveron::app
