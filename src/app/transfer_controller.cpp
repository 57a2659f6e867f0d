#include "app/transfer_controller.h"

#include <QLabel>
#include <QProgressBar>
#include <algorithm>

#include "app/status_line.h"
#include "platform/twips.h"

namespace talveron::app {

TransferController::TransferController(link::SerialPort& port, link::UserPrompt& prompt,
                                       link::StatusLine& status, link::Clock& clock,
                                       platform::UiServices& ui)
    : ui_(ui), link_{port, prompt, status, *this, clock, {}} {}

void TransferController::Attach(StatusLine& status, QWidget* toolbar, QLabel* label,
                                QProgressBar* progress, Window window) {
    status_ = &status;
    toolbar_ = toolbar;
    label_ = label;
    progress_ = progress;
    window_ = std::move(window);
}

void TransferController::Run(link::Operation operation) {
    if (running_) return;
    const Document* doc = window_.activeDocument();
    if (operation == link::kOpDownload && !doc) return;
    running_ = true;
    noPort_ = false;
    window_.lock(true);
    // The transfer works on a copy of what it writes, never on the document itself.
    link::TransferRequest request;
    request.operation = operation;
    if (doc && operation == link::kOpDownload) request.download = link::ContentOf(*doc);
    request.title = window_.questionTitle();
    const link::TransferOutcome outcome = link::RunTransfer(link_, request);
    running_ = false;
    window_.lock(false);
    progress_->hide();
    if (outcome.result == link::TransferOutcome::Result::Uploaded) {
        window_.openUpload(OpenDocument(outcome.image, outcome.modelCode, ""));
        ui_.SetBusy(false);
        return;
    }
    ui_.SetBusy(false);
    window_.closingSteps();
    // The closing steps rewrote the line; with no port to try, the refusal stays in view.
    if (noPort_) window_.permissionNotice();
}

void TransferController::BeginTransfer() {
    status_->StopTimer();
    window_.lock(true);
    progress_->show();
}

void TransferController::EndTransfer() {
    window_.lock(false);
    progress_->hide();
    status_->StartTimer();
}

void TransferController::PlaceProgress() {
    const int left = label_->geometry().right() + 1 + platform::TwipsToPixels(100);
    const int width = std::max(10, toolbar_->width() - left);
    progress_->setGeometry(left, 2, width, toolbar_->height() - 4);
    progress_->setValue(0);
}

void TransferController::SetProgressMaximum(int maximum) {
    progress_->setMaximum(maximum);
}

void TransferController::SetProgressValue(int value) {
    progress_->setValue(std::min(value, progress_->maximum()));
}

}  // namespace talveron::app
