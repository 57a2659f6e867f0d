#include "platform/port_names.h"

#include <QSerialPortInfo>
#include <algorithm>
#include <cctype>
#include <cstdlib>

namespace talveron::platform {

std::vector<std::string> SplitPortList(const std::string& value) {
    std::vector<std::string> entries;
    std::size_t start = 0;
    while (start <= value.size()) {
        std::size_t end = value.find(':', start);
        if (end == std::string::npos) end = value.size();
        if (end > start) entries.push_back(value.substr(start, end - start));
        start = end + 1;
    }
    return entries;
}

bool DeviceNameLess(const std::string& a, const std::string& b) {
    std::size_t i = 0;
    std::size_t j = 0;
    while (i < a.size() && j < b.size()) {
        const bool da = std::isdigit(static_cast<unsigned char>(a[i])) != 0;
        const bool db = std::isdigit(static_cast<unsigned char>(b[j])) != 0;
        if (da && db) {
            std::size_t ei = i;
            std::size_t ej = j;
            while (ei < a.size() && std::isdigit(static_cast<unsigned char>(a[ei]))) ++ei;
            while (ej < b.size() && std::isdigit(static_cast<unsigned char>(b[ej]))) ++ej;
            // Compare the digit runs as numbers: strip leading zeros, then length, then text.
            std::string_view na(a.data() + i, ei - i);
            std::string_view nb(b.data() + j, ej - j);
            while (na.size() > 1 && na.front() == '0') na.remove_prefix(1);
            while (nb.size() > 1 && nb.front() == '0') nb.remove_prefix(1);
            if (na.size() != nb.size()) return na.size() < nb.size();
            if (na != nb) return na < nb;
            i = ei;
            j = ej;
            continue;
        }
        if (a[i] != b[j]) return a[i] < b[j];
        ++i;
        ++j;
    }
    return a.size() - i < b.size() - j;
}

std::vector<std::string> NumberedPortDevices() {
    std::vector<std::string> devices;
#ifdef Q_OS_WIN
    for (int n = 1; n <= 8; ++n) devices.push_back("COM" + std::to_string(n));
#else
    if (const char* listed = std::getenv(kPortsVariable)) {
        devices = SplitPortList(listed);
    } else {
        for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts()) {
            devices.push_back(info.systemLocation().toStdString());
        }
        std::sort(devices.begin(), devices.end(), DeviceNameLess);
    }
    if (devices.size() > 8) devices.resize(8);
#endif
    return devices;
}

std::string PortDeviceName(int number) {
    const std::vector<std::string> devices = NumberedPortDevices();
    if (number < 1 || number > static_cast<int>(devices.size())) return {};
    return devices[static_cast<std::size_t>(number) - 1];
}

}  // namespace talveron::platform
