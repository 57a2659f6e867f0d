// The main window's radio commands: Radio > Upload and Download through the radio link, the
// lock on everything else while a transfer runs, and the progress bar on the tool strip.
#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QProgressBar>
#include <algorithm>

#include "app/frm_mdi.h"
#include "link/transfer.h"
#include "platform/twips.h"

namespace talveron::app {

using document::frmNotePad;
using platform::TwipsToPixels;

std::string frmMDI::QuestionTitle() const {
    if (frmNotePad* w = ActiveWindow()) return w->windowTitle().toStdString();
    return kMainCaption;
}

void frmMDI::SetTransferLock(bool locked) {
    for (const char* name : {"mnuFile", "mnuRadio", "munHelp"})
        if (QAction* a = MainAction(QString::fromLatin1(name))) a->setEnabled(!locked);
    windowMenu_->Menu()->menuAction()->setEnabled(!locked);
    for (auto& [number, sub] : windows_)
        if (frmNotePad* w = Window(number)) w->SetTransferLock(locked);
    // The ReadMe viewer is a window of its own; its Exit would reset the documents or check
    // them in the middle of the transfer.
    if (readMe_) readMe_->SetLocked(locked);
    editing_->SetTransferLock(locked);
}

void frmMDI::RadioCommand(int operation) {
    if (transferRunning_) return;
    frmNotePad* window = ActiveWindow();
    const Document* doc = window ? documents_.Get(window->Tag()) : nullptr;
    if (operation == link::kOpDownload && !doc) return;
    transferRunning_ = true;
    commPortError_ = false;
    SetTransferLock(true);
    link::TransferRequest request;
    request.operation = static_cast<link::Operation>(operation);
    request.document = doc;
    request.title = QuestionTitle();
    const link::TransferOutcome outcome = link::RunTransfer(link_, request);
    transferRunning_ = false;
    SetTransferLock(false);
    progress_->hide();
    if (outcome.result == link::TransferOutcome::Result::Uploaded) {
        Document uploaded = OpenDocument(outcome.image, outcome.modelCode, "");
        const int number = documents_.AddUpload(std::move(uploaded));
        OpenDocumentWindow(number);
        RefreshCaptions();
        ui_.SetBusy(false);
        return;
    }
    ui_.SetBusy(false);
    documents_.RenumberTemps();
    if (!documents_.AnyDocumentOpen())
        ResetDocuments();
    else {
        RefreshCaptions();
        CheckActiveRanges();
    }
    // The closing steps rewrote the line; with no port to try, the refusal stays in view.
    if (commPortError_) ShowPermissionNotice();
}

void frmMDI::BeginTransfer() {
    status_->StopTimer();
    SetTransferLock(true);
    progress_->show();
}

void frmMDI::EndTransfer() {
    SetTransferLock(false);
    progress_->hide();
    status_->StartTimer();
}

void frmMDI::PlaceProgress() {
    const int left = labErrMsg_->geometry().right() + 1 + TwipsToPixels(100);
    const int width = std::max(10, picToolbar_->width() - left);
    progress_->setGeometry(left, 2, width, picToolbar_->height() - 4);
    progress_->setValue(0);
}

void frmMDI::SetProgressMaximum(int maximum) {
    progress_->setMaximum(maximum);
}

void frmMDI::SetProgressValue(int value) {
    progress_->setValue(std::min(value, progress_->maximum()));
}

}  // namespace talveron::app
