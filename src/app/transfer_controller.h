// Radio > Upload and Download for the main window: runs the radio link's transfer on a copy of
// what the active document holds, shows its progress on ProgressBar1 of the tool strip, rests
// Timer1 and locks every other command while it runs. It owns the radio link; the window wires
// its menus to Run and tells it about the documents through Window.
#pragma once

#include <QPointer>
#include <functional>
#include <string>

#include "image/document.h"
#include "link/radio_link.h"
#include "link/transfer.h"
#include "platform/ui_services.h"

class QLabel;
class QProgressBar;
class QWidget;

namespace talveron::app {

class StatusLine;

class TransferController final : public link::TransferView {
  public:
    // What a transfer needs of the main window.
    struct Window {
        std::function<const Document*()> activeDocument;  // nullptr when none is active
        std::function<std::string()> questionTitle;       // the title of the link's questions
        std::function<void(bool)> lock;                   // every other command off while true
        std::function<void(Document)> openUpload;         // a read radio as a new document
        std::function<void()> closingSteps;               // after anything but a good Upload
        std::function<void()> permissionNotice;           // the refused ports on the line
    };

    TransferController(link::SerialPort& port, link::UserPrompt& prompt, link::StatusLine& status,
                       link::Clock& clock, platform::UiServices& ui);

    // The tool strip picToolbar, its labErrMsg and ProgressBar1, and the window.
    void Attach(StatusLine& status, QWidget* toolbar, QLabel* label, QProgressBar* progress,
                Window window);

    // Radio > Upload or Download; nothing while a transfer runs, no Download without an active
    // document.
    void Run(link::Operation operation);
    bool Running() const { return running_; }
    // The link found no port to try during this transfer.
    void NoPortToTry() { noPort_ = true; }

    link::RadioLink& Link() { return link_; }

    // link::TransferView.
    void BeginTransfer() override;
    void EndTransfer() override;
    void PlaceProgress() override;
    void SetProgressMaximum(int maximum) override;
    void SetProgressValue(int value) override;
    void SetBusy(bool busy) override { ui_.SetBusy(busy); }
    void ProcessEvents() override { ui_.ProcessEvents(); }

  private:
    platform::UiServices& ui_;
    link::RadioLink link_;
    StatusLine* status_ = nullptr;
    QPointer<QWidget> toolbar_;
    QPointer<QLabel> label_;
    QPointer<QProgressBar> progress_;
    Window window_;
    bool running_ = false;
    bool noPort_ = false;
};

}  // namespace talveron::app
