#include "app/recent_files.h"

#include <QAction>
#include <QDir>
#include <QFontMetrics>
#include <algorithm>

namespace talveron::app {

QStringList PushRecent(QStringList files, const QString& path) {
    files.removeAll(path);
    files.prepend(path);
    while (files.size() > kRecentFileCount) files.removeLast();
    return files;
}

RecentFiles::RecentFiles(platform::ProgramSettings& settings,
                         std::function<void(const QString&)> open, QObject* parent)
    : QObject(parent), settings_(settings), open_(std::move(open)) {}

void RecentFiles::Add(const QString& path) {
    settings_.SetRecentFiles(PushRecent(settings_.RecentFiles(), path));
    ShowAll();
}

void RecentFiles::Remove(const QString& path) {
    QStringList files = settings_.RecentFiles();
    if (files.removeAll(path) == 0) return;
    settings_.SetRecentFiles(files);
    ShowAll();
}

void RecentFiles::Attach(const std::function<QAction*(const QString&)>& find) {
    Entries entries;
    entries.separator = find(QStringLiteral("mnuRecentFile0"));
    for (int i = 1; i <= kRecentFileCount; ++i) {
        QAction* item = find(QStringLiteral("mnuRecentFile%1").arg(i));
        if (!item) continue;
        connect(item, &QAction::triggered, this, [this, item] {
            const QString path = item->data().toString();
            if (!path.isEmpty()) open_(path);
        });
        entries.items.emplace_back(item);
    }
    // Menus of closed windows have gone.
    std::erase_if(menus_, [](const Entries& e) {
        return std::none_of(e.items.begin(), e.items.end(), [](const auto& a) { return a; });
    });
    Show(entries);
    menus_.push_back(std::move(entries));
}

void RecentFiles::ShowAll() {
    for (const Entries& entries : menus_) Show(entries);
}

void RecentFiles::Show(const Entries& entries) const {
    const QStringList files = settings_.RecentFiles();
    if (entries.separator) entries.separator->setVisible(!files.isEmpty());
    for (std::size_t i = 0; i < entries.items.size(); ++i) {
        QAction* item = entries.items[i];
        if (!item) continue;
        const bool used = static_cast<qsizetype>(i) < files.size();
        item->setVisible(used);
        item->setEnabled(used);
        item->setData(used ? files[static_cast<qsizetype>(i)] : QString());
        if (!used) {
            item->setText(QStringLiteral("RecentFile%1").arg(i + 1));  // the design caption
            continue;
        }
        // A long path keeps its start and its file name.
        const QFontMetrics metrics(item->font());
        QString shown =
            metrics.elidedText(QDir::toNativeSeparators(files[static_cast<qsizetype>(i)]),
                               Qt::ElideMiddle, metrics.averageCharWidth() * 60);
        shown.replace(QLatin1Char('&'), QLatin1String("&&"));
        item->setText(QStringLiteral("&%1 %2").arg(i + 1).arg(shown));
        item->setStatusTip(files[static_cast<qsizetype>(i)]);
    }
}

}  // namespace talveron::app
