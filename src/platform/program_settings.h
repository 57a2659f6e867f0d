// What the desktop program keeps between runs: the folder its file dialogs last used and the
// files last opened or saved. They live in an INI file through QSettings: the user's own file
// in a real run, a test's private file in the tests; an empty path keeps them for this run only.
#pragma once

#include <QString>
#include <QStringList>

class QVariant;

namespace talveron::platform {

class ProgramSettings {
  public:
    explicit ProgramSettings(QString file = {});

    // The user's settings file (~/.config/talveron/talveron.ini on Linux).
    static QString UserFile();

    QString LastFolder() const { return lastFolder_; }
    void SetLastFolder(const QString& folder);
    QStringList RecentFiles() const { return recentFiles_; }
    void SetRecentFiles(const QStringList& files);

    // Where a file dialog starts: the folder last used while it still exists, else the user's
    // documents folder, else the home folder. Never the program's own folder, which is
    // read-only once installed.
    QString DialogFolder() const;

  private:
    void Write(const QString& key, const QVariant& value) const;

    QString file_;
    QString lastFolder_;
    QStringList recentFiles_;
};

}  // namespace talveron::platform
