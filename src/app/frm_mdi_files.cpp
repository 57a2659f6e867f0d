// The main window's file commands: File > Open (with its checks of the file), Save, Save As
// and Close with the save question, for the documents of the program's document set.
#include <QFileInfo>
#include <QMdiSubWindow>

#include "app/frm_mdi.h"
#include "image/cfg_file.h"

namespace talveron::app {

using document::frmNotePad;
using platform::MessageRequest;
using platform::MsgIcon;

void frmMDI::OpenFileCommand() {
    ShowOpenDialog();
}

void frmMDI::ShowOpenDialog() {
    if (transferRunning_) return;
    platform::FileRequest request;
    request.title = tr("Open");
    request.filter = QString::fromLatin1(kCfgFilter);
    request.defaultSuffix = QStringLiteral("TXT");
    request.folder = settings_.DialogFolder();
    const QString path = ui_.OpenFileName(request);
    if (!path.isEmpty()) OpenChosenFile(path);
}

bool frmMDI::OpenChosenFile(const QString& path) {
    const QFileInfo info(path);
    if (info.exists() && info.size() > static_cast<qint64>(kMaxCfgFileSize)) {
        ui_.Message(platform::OkMessage(QStringLiteral("File is too big to open"),
                                        QString::fromLatin1(kAppTitle)));
        return false;
    }
    return LoadImageFile(path);
}

void frmMDI::RememberFile(const QString& path) {
    const QFileInfo info(path);
    recent_->Add(info.absoluteFilePath());
    settings_.SetLastFolder(info.absolutePath());
}

bool frmMDI::LoadImageFile(const QString& path) {
    if (transferRunning_) return false;
    status_->StopTimer();
    ui_.SetBusy(true);
    const CfgReadResult read = ReadCfgFile(path.toStdString());
    ui_.SetBusy(false);
    if (!read.ok()) {
        // The blink timer runs again on every way out, so a red line keeps blinking.
        status_->StartTimer();
        ui_.Message(platform::OkMessage(QString::fromStdString(read.message),
                                        QString::fromLatin1(kAppTitle)));
        return false;
    }
    Document doc = OpenDocument(read.image, read.modelCode, path.toStdString());
    const int number = documents_.AddFile(std::move(doc), path.toStdString());
    OpenDocumentWindow(number);
    RememberFile(path);
    status_->StartTimer();
    return true;
}

QString frmMDI::ShowSaveDialog(const QString& presetName) {
    platform::FileRequest request;
    request.title = tr("Save As");
    request.filter = QString::fromLatin1(kCfgFilter);
    request.presetName = presetName;
    request.defaultSuffix = QStringLiteral("cfg");
    request.folder = settings_.DialogFolder();
    return ui_.SaveFileName(request);
}

bool frmMDI::SaveImageFile(int number, const QString& path) {
    const Document* doc = documents_.Get(number);
    if (!doc || path.isEmpty()) return false;
    ui_.SetBusy(true);
    const EepromImage image = BuildImage(*doc);
    const CfgWriteResult written = WriteCfgFile(path.toStdString(), image);
    ui_.SetBusy(false);
    if (!written.ok()) {
        MessageRequest request;
        request.text = QString::fromStdString(written.message);
        request.title = written.status == CfgWriteResult::Status::ReadOnly
                            ? QStringLiteral("Path/File access error")
                            : QString::fromLatin1(kAppTitle);
        request.buttons = platform::kOk;
        request.icon = MsgIcon::Exclamation;
        ui_.Message(request);
        return false;
    }
    documents_.MarkSaved(number, path.toStdString());
    RefreshCaptions();
    RememberFile(path);
    return true;
}

void frmMDI::SaveCommand(int number) {
    if (transferRunning_) return;
    const Document* doc = documents_.Get(number);
    if (!doc) return;
    const QString path = documents_.IsTemp(number)
                             ? ShowSaveDialog(QString::fromStdString(doc->caption))
                             : QString::fromStdString(documents_.Path(number));
    if (!path.isEmpty()) SaveImageFile(number, path);
}

void frmMDI::SaveAsCommand(int number) {
    if (transferRunning_) return;
    if (!documents_.Get(number)) return;
    const QString preset = documents_.IsTemp(number)
                               ? QStringLiteral("Untitled.cfg")
                               : QString::fromStdString(documents_.Path(number));
    const QString path = ShowSaveDialog(preset);
    if (!path.isEmpty()) SaveImageFile(number, path);
}

void frmMDI::CloseCommand(int number) {
    if (transferRunning_) return;
    if (QMdiSubWindow* sub = SubWindow(number)) sub->close();
}

bool frmMDI::QueryClose(int number) {
    if (transferRunning_) return false;
    Document* doc = documents_.Get(number);
    if (!doc) return true;
    // An upload never saved exists nowhere else: it is asked about as a changed document is.
    if (doc->state.changed || documents_.IsTemp(number)) {
        const QString base = QString::fromStdString(FileBaseName(doc->caption));
        MessageRequest request;
        request.text = QStringLiteral("The data in [") + base +
                       QStringLiteral("] has changed.\nDo you want to save the changes?");
        request.title = QString::fromLatin1(kMainCaption);
        request.buttons = platform::kYes | platform::kNo | platform::kCancel;
        request.icon = MsgIcon::Exclamation;
        const platform::MsgButton answer = ui_.Message(request);
        if (answer == platform::kYes) {
            // A document read from or saved to a file is offered its own file (folder and
            // real name); an upload that was never saved is offered its TEMP name.
            const QString preset =
                documents_.IsTemp(number) ? base : QString::fromStdString(documents_.Path(number));
            const QString path = ShowSaveDialog(preset);
            // A cancelled dialog or a failed save keeps the window and its changes.
            if (path.isEmpty() || !SaveImageFile(number, path)) return false;
        } else if (answer != platform::kNo) {
            return false;
        }
    }
    editing_->DocumentClosing(number);
    windows_.erase(number);
    const bool anyOpen = documents_.Close(number);
    RefreshCaptions();
    if (!anyOpen) {
        active_ = nullptr;
        ShowMenusOf(nullptr);
        ResetDocuments();
    }
    return true;
}

}  // namespace talveron::app
