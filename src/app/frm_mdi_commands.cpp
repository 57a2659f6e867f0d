// The main window's wiring: every command of the document windows' menus to the document
// controller, the transfer controller, the channel editing or printing; the window's side of
// the two controllers; the lock on every other command while a transfer runs; and the Help
// commands.
#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QMdiSubWindow>
#include <QMenu>

#include "app/frm_mdi.h"
#include "version.h"

namespace talveron::app {

using document::frmNotePad;

// ---- the document windows' commands -----------------------------------------------------

void frmMDI::Command(int number, document::DocCommand command, int row) {
    using C = document::DocCommand;
    const Document* doc = documents_.Get(number);
    // Undo and Redo refuse by themselves during a transfer, About is harmless; the rest wait
    // for its end.
    const bool anyTime = command == C::Undo || command == C::Redo || command == C::About;
    if (TransferRunning() && !anyTime) return;
    switch (command) {
        case C::Open:
            return files_->ShowOpenDialog();
        case C::Close:
            if (QMdiSubWindow* sub = SubWindow(number)) sub->close();
            return;
        case C::Save:
            return files_->Save(number);
        case C::SaveAs:
            return files_->SaveAs(number);
        case C::Exit:
            close();
            return;
        case C::Upload:
            return transfer_->Run(link::kOpUpload);
        case C::Download:
            return transfer_->Run(link::kOpDownload);
        case C::ReadMe:
            return ReadMeCommand();
        case C::About:
            return AboutCommand();
        case C::Undo:
            editing_->Undo(number);
            return;
        case C::Redo:
            editing_->Redo(number);
            return;
        case C::Customer:
            return editing_->OpenCustomer(number);
        case C::Channel:
            return editing_->OpenChannel(number, row);
        case C::ChannelOptions:
            return editing_->OpenOptionList(number);
        default:
            break;
    }
    if (!doc) return;
    switch (command) {
        case C::Cut:
            return editing_->Cut(number);
        case C::Copy:
            return editing_->Copy(number);
        case C::Paste:
            return editing_->Paste(number);
        case C::Delete:
            return editing_->Delete(number);
        case C::AutoFreq:
            return editing_->OpenAutoFreq(number);
        case C::AutoTone:
            return editing_->OpenAutoTone(number);
        case C::SystemOptions:
            return editing_->OpenSystemOptions(number);
        case C::Print:
            printing_->Print(print::ChannelPlanJob(*doc));
            return;
        case C::PrintPreview:
            return printing_->Preview(print::ChannelPlanJob(*doc));
        case C::PrinterSetup:
            return printing_->Setup();
        default:
            return;
    }
}

DocumentController::Window frmMDI::FilesWindow() {
    DocumentController::Window w;
    w.transferRunning = [this] { return TransferRunning(); };
    w.openWindow = [this](int number) { OpenDocumentWindow(number); };
    w.refreshCaptions = [this] { RefreshCaptions(); };
    w.closing = [this](int number) {
        editing_->DocumentClosing(number);
        windows_.erase(number);
    };
    w.closed = [this](bool anyOpen) {
        RefreshCaptions();
        if (anyOpen) return;
        active_ = nullptr;
        ShowMenusOf(nullptr);
        ResetDocuments();
    };
    return w;
}

TransferController::Window frmMDI::TransferWindow() {
    TransferController::Window w;
    w.activeDocument = [this]() -> const Document* {
        frmNotePad* window = ActiveWindow();
        return window ? documents_.Get(window->Tag()) : nullptr;
    };
    w.questionTitle = [this] { return QuestionTitle(); };
    w.lock = [this](bool locked) { SetTransferLock(locked); };
    w.openUpload = [this](Document uploaded) {
        OpenDocumentWindow(documents_.AddUpload(std::move(uploaded)));
        RefreshCaptions();
    };
    w.closingSteps = [this] {
        documents_.RenumberTemps();
        if (!documents_.AnyDocumentOpen()) {
            ResetDocuments();
        } else {
            RefreshCaptions();
            CheckActiveRanges();
        }
    };
    w.permissionNotice = [this] { ShowPermissionNotice(); };
    return w;
}

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

// ---- help ------------------------------------------------------------------------------

void frmMDI::AboutCommand() {
    ui_.Message(platform::OkMessage(
        QStringLiteral("TALVERON Programmer Vertion ") + QString::fromLatin1(kVersion),
        QString::fromLatin1(kAppTitle)));
}

void frmMDI::ReadMeCommand() {
    if (TransferRunning()) return;
    const QString path =
        ReadMePath(options_.programDir.isEmpty() ? QDir::currentPath() : options_.programDir);
    if (!QFileInfo(path).isFile()) {
        ui_.Message(
            platform::OkMessage(QStringLiteral("Can not find ReadMe.txt File in current Directory"),
                                QString::fromLatin1(kAppTitle)));
        return;
    }
    // The viewer shown already goes first: its closing puts the saved status back, which
    // must not end up over the hint below.
    if (readMe_) readMe_->close();
    ui_.SetBusy(true);
    ShowStatus(QStringLiteral("Openning ReadMe File, Please wait..."));
    QFile file(path);
    QString text;
    if (file.open(QIODevice::ReadOnly)) text = QString::fromUtf8(file.readAll());
    file.close();
    ui_.SetBusy(false);
    ShowStatus(QStringLiteral("To print Readme pressb Ctrl+P, to close ReadMe press Ctrl+Q"));
    auto* viewer = new frmReadMe(text, path, this);
    viewer->onPrint = [this](const QStringList& lines) {
        printing_->Print(print::ReadMeJob(lines));
    };
    viewer->onUnload = [this] {
        status_->SetText(status_->StatusText(), StatusColor::Black,
                         status_->SavedChannelWarning());
        status_->FitStatus(labErrMsg_->font().pointSize());
    };
    viewer->onExit = [this] {
        documents_.RenumberTemps();
        if (!documents_.AnyDocumentOpen())
            ResetDocuments();
        else
            CheckActiveRanges();
    };
    viewer->move(x() + (width() - viewer->width()) / 2, y() + (height() - viewer->height()) / 2);
    readMe_ = viewer;
    viewer->show();
}

}  // namespace talveron::app
