#include "platform/program_settings.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <QVariant>

namespace talveron::platform {

namespace {

constexpr const char* kLastFolderKey = "dialogs/lastFolder";
constexpr const char* kRecentFilesKey = "recentFiles";

}  // namespace

ProgramSettings::ProgramSettings(QString file) : file_(std::move(file)) {
    if (file_.isEmpty()) return;
    const QSettings settings(file_, QSettings::IniFormat);
    lastFolder_ = settings.value(QLatin1String(kLastFolderKey)).toString();
    recentFiles_ = settings.value(QLatin1String(kRecentFilesKey)).toStringList();
}

QString ProgramSettings::UserFile() {
    // Named here rather than through the application's names, which would change how the
    // window manager titles the windows.
    return QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("talveron"),
                     QStringLiteral("talveron"))
        .fileName();
}

void ProgramSettings::Write(const QString& key, const QVariant& value) const {
    if (file_.isEmpty()) return;
    QSettings settings(file_, QSettings::IniFormat);
    settings.setValue(key, value);
}

void ProgramSettings::SetLastFolder(const QString& folder) {
    lastFolder_ = folder;
    Write(QLatin1String(kLastFolderKey), folder);
}

void ProgramSettings::SetRecentFiles(const QStringList& files) {
    recentFiles_ = files;
    Write(QLatin1String(kRecentFilesKey), files);
}

QString ProgramSettings::DialogFolder() const {
    if (!lastFolder_.isEmpty() && QFileInfo(lastFolder_).isDir()) return lastFolder_;
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (!documents.isEmpty() && QFileInfo(documents).isDir()) return documents;
    return QDir::homePath();
}

}  // namespace talveron::platform
