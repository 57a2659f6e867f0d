#include "platform/data_folder.h"

#include <QDir>
#include <QStandardPaths>

namespace talveron::platform {

std::string UserDataFolder(const std::string& name) {
    const QString base = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (base.isEmpty()) return {};
    return QDir(base)
        .filePath(QStringLiteral("talveron/") + QString::fromStdString(name))
        .toStdString();
}

}  // namespace talveron::platform
