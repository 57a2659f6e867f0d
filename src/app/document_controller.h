// Opening, saving and closing documents for the main window: File > Open with its checks of
// the file, Save and Save As with their dialogs, and the save question when a document
// closes, over the program's document set. The files go on the recent files and their folder
// is where the dialogs start next. The window shows what this opens and wires its menus here.
#pragma once

#include <QString>
#include <functional>

#include "image/document_set.h"
#include "platform/program_settings.h"
#include "platform/ui_services.h"

namespace talveron::app {

class RecentFiles;
class StatusLine;

class DocumentController {
  public:
    // What opening and closing needs of the main window.
    struct Window {
        std::function<bool()> transferRunning;
        std::function<void(int)> openWindow;    // a window for a new document
        std::function<void()> refreshCaptions;  // the windows' titles after a rename
        std::function<void(int)> closing;       // a document is about to go
        std::function<void(bool)> closed;       // it has gone; false: it was the last
    };

    DocumentController(platform::UiServices& ui, platform::ProgramSettings& settings,
                       DocumentSet& documents, StatusLine& status, Window window);
    void AttachRecent(RecentFiles* recent) { recent_ = recent; }

    // File > Open: the dialog, then OpenChosenFile.
    void ShowOpenDialog();
    // Opens a file the user chose (File > Open, a recent file): refuses one that is too big,
    // else LoadImageFile.
    bool OpenChosenFile(const QString& path);
    // Reads a .cfg file and opens it in a new window; false when it was refused.
    bool LoadImageFile(const QString& path);
    bool SaveImageFile(int number, const QString& path);
    void Save(int number);
    void SaveAs(int number);
    // The save question of a document about to close: true when it may go (and has been
    // released), false to keep it.
    bool QueryClose(int number);

  private:
    QString ShowSaveDialog(const QString& presetName);
    // A file opened or saved: first of the recent files, its folder the dialogs' next start.
    void RememberFile(const QString& path);

    platform::UiServices& ui_;
    platform::ProgramSettings& settings_;
    DocumentSet& documents_;
    StatusLine& status_;
    Window window_;
    RecentFiles* recent_ = nullptr;
};

}  // namespace talveron::app
