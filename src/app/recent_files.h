// The files last opened or saved, newest first, at most four, kept between runs in the
// program's settings. Every File menu shows them in its entries mnuRecentFile1..4 (below the
// separator mnuRecentFile0), "&1 path" and so on; entries without a file, and the separator
// while the list is empty, are hidden. Choosing an entry opens its file.
#pragma once

#include <QObject>
#include <QPointer>
#include <QStringList>
#include <functional>
#include <vector>

#include "platform/program_settings.h"

class QAction;

namespace talveron::app {

inline constexpr int kRecentFileCount = 4;

// The list once path has been opened or saved: path first, no repeats, at most four.
QStringList PushRecent(QStringList files, const QString& path);

class RecentFiles : public QObject {
    Q_OBJECT
  public:
    RecentFiles(platform::ProgramSettings& settings, std::function<void(const QString&)> open,
                QObject* parent = nullptr);

    QStringList Files() const { return settings_.RecentFiles(); }
    void Add(const QString& path);
    // Drops a file that could not be opened any more.
    void Remove(const QString& path);

    // Shows the list in a File menu whose entries find() gives by their control names
    // ("mnuRecentFile0" .. "mnuRecentFile4"), now and whenever the list changes.
    void Attach(const std::function<QAction*(const QString&)>& find);

  private:
    struct Entries {
        QPointer<QAction> separator;
        std::vector<QPointer<QAction>> items;
    };
    void Show(const Entries& entries) const;
    void ShowAll();

    platform::ProgramSettings& settings_;
    std::function<void(const QString&)> open_;
    std::vector<Entries> menus_;
};

}  // namespace talveron::app
