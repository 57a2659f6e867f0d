// frmMDI, the main window ("MDI PC programmer"): the MDI area with the document windows, the
// tool strip with the status line and ProgressBar1, Timer1, and the main window's own menus
// (shown while no document window is active; an active document window's menus replace
// them). It holds the program's explicit state: the document set and the channel clipboard,
// shows the documents in their windows and wires the menus to the document controller
// (opening, saving, closing), the transfer controller (Upload, Download, the radio link) and
// the channel editing.
#pragma once

#include <QMainWindow>
#include <QPointer>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "app/document_controller.h"
#include "app/frm_readme.h"
#include "app/link_adapters.h"
#include "app/recent_files.h"
#include "app/status_line.h"
#include "app/transfer_controller.h"
#include "app/window_menu.h"
#include "channel/channel_editing.h"
#include "channel/editor_host.h"
#include "document/document_host.h"
#include "document/frm_notepad.h"
#include "image/document_set.h"
#include "platform/program_settings.h"
#include "platform/ui_services.h"
#include "print/printing.h"

class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QProgressBar;

namespace talveron::app {

inline constexpr const char* kMainCaption = "MDI PC programmer";
inline constexpr const char* kAppTitle = "TALVERON Programmer";
inline constexpr const char* kMenuHint =
    "To Access Menu,Press F10 or 'ALT+underlined Key' or Click a Title";
inline constexpr const char* kCfgFilter = "EEPROM.CFG (*.cfg)";

struct MdiProbe;

struct MainOptions {
    QString programDir;  // where ReadMe.Txt lies; the current folder after start-up
    int splashMs = 500;  // how long the splash shows
    bool showSplash = true;
    // Where the dialogs' last folder and the recent files are kept between runs; empty keeps
    // them for this run only.
    QString settingsFile;
};

class frmMDI : public QMainWindow, public document::DocumentHost, public channel::EditorHost {
    Q_OBJECT
  public:
    frmMDI(platform::UiServices& ui, link::SerialPort& port, link::Clock& clock,
           MainOptions options, QWidget* parent = nullptr);
    ~frmMDI() override;

    // The start-up sequence: size and place, show, current folder, splash, port
    // detection, the document reset and the saved status.
    void Startup();

    // Commands reachable from the command line: a file opened in a new window (false when it
    // was refused), Upload (0) or Download (1).
    bool LoadImageFile(const QString& path) { return files_->LoadImageFile(path); }
    void RadioCommand(int operation) { transfer_->Run(static_cast<link::Operation>(operation)); }
    void ResetDocuments();

    // The status line, for the parts of the program that build on this window.
    app::StatusLine& Status() { return *status_; }
    // The active document window and its number (0 when none).
    document::frmNotePad* ActiveWindow() const;
    int ActiveNumber() const override;
    document::frmNotePad* Window(int number) const override;
    QMdiSubWindow* SubWindow(int number) const;
    // A main-window menu or entry by its control name ("mnuFOpen", "mnuRadio", ...).
    QAction* MainAction(const QString& name) const;
    print::Printing& Printer() { return *printing_; }

    // DocumentHost.
    Document* DocumentOf(int number) override { return documents_.Get(number); }
    void Command(int number, document::DocCommand command, int row) override;
    bool QueryClose(int number) override { return files_->QueryClose(number); }
    void ShowStatus(const QString& text) override;
    void ShowVerdict(const RangeVerdict& verdict) override;
    const std::vector<std::string>& ClipLines() const override { return clipLines_; }
    bool TransferRunning() const override { return transfer_->Running(); }
    DocChanges EditDocument(int number, std::string_view label,
                            const std::function<void(Document&)>& edit) override;

    // channel::EditorHost.
    platform::UiServices& Ui() override { return ui_; }
    void HoldTimer(bool hold) override;
    void ShowDialogVerdict(const QString& text) override;
    std::vector<std::string>& Clip() override { return clipLines_; }

    // Runs the range check of the active document onto the status line.
    void CheckActiveRanges() override;

  protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    // Tests look inside (the documents, the clipboard, the link's state, the menus the menu
    // bar shows, ...) through MdiProbe, which their fixture defines.
    friend struct MdiProbe;
    // The menus the menu bar shows at this moment.
    QList<QAction*> MenuBarActions() const;

    void BuildMainMenus();
    void ShowMenusOf(document::frmNotePad* window);
    void OnSubWindowActivated(QMdiSubWindow* sub);
    int OpenDocumentWindow(int number);
    void RefreshCaptions();
    void SetTransferLock(bool locked);
    // Puts the names of the ports refused for lack of permission on the status line; false
    // (and the line untouched) when no port was refused.
    bool ShowPermissionNotice();
    void WaitMs(int ms);
    std::string QuestionTitle() const;
    // The window's side of the controllers.
    DocumentController::Window FilesWindow();
    TransferController::Window TransferWindow();
    void ReadMeCommand();
    void AboutCommand();

    platform::UiServices& ui_;
    MainOptions options_;
    platform::ProgramSettings settings_;
    int bandDigit_ = 0;
    DocumentSet documents_;
    std::vector<std::string> clipLines_;
    document::ActiveValues activeValues_;
    std::map<int, QPointer<QMdiSubWindow>> windows_;
    QPointer<QMdiSubWindow> active_;
    bool cascading_ = false;

    QMdiArea* mdi_;
    QWidget* picToolbar_;
    QLabel* labErrMsg_;
    QProgressBar* progress_;
    std::unique_ptr<app::StatusLine> status_;
    QList<QMenu*> mainMenus_;
    RecentFiles* recent_;
    WindowMenu* windowMenu_;
    QPointer<frmReadMe> readMe_;
    std::unique_ptr<channel::ChannelEditing> editing_;
    std::unique_ptr<print::Printing> printing_;

    PromptAdapter prompt_;
    StatusAdapter statusAdapter_;
    std::unique_ptr<TransferController> transfer_;
    std::unique_ptr<DocumentController> files_;
};

}  // namespace talveron::app
