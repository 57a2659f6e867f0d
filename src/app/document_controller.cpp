#include "app/document_controller.h"

#include <QFileInfo>

#include "app/frm_mdi.h"
#include "app/recent_files.h"
#include "app/status_line.h"
#include "image/cfg_file.h"

namespace talveron::app {

using platform::MessageRequest;
using platform::MsgIcon;

DocumentController::DocumentController(platform::UiServices& ui,
                                       platform::ProgramSettings& settings, DocumentSet& documents,
                                       StatusLine& status, Window window)
    : ui_(ui),
      settings_(settings),
      documents_(documents),
      status_(status),
      window_(std::move(window)) {}

void DocumentController::ShowOpenDialog() {
    if (window_.transferRunning()) return;
    platform::FileRequest request;
    request.title = QStringLiteral("Open");
    request.filter = QString::fromLatin1(kCfgFilter);
    request.defaultSuffix = QStringLiteral("TXT");
    request.folder = settings_.DialogFolder();
    const QString path = ui_.OpenFileName(request);
    if (!path.isEmpty()) OpenChosenFile(path);
}

bool DocumentController::OpenChosenFile(const QString& path) {
    const QFileInfo info(path);
    if (info.exists() && info.size() > static_cast<qint64>(kMaxCfgFileSize)) {
        ui_.Message(platform::OkMessage(QStringLiteral("File is too big to open"),
                                        QString::fromLatin1(kAppTitle)));
        return false;
    }
    return LoadImageFile(path);
}

void DocumentController::RememberFile(const QString& path) {
    const QFileInfo info(path);
    if (recent_) recent_->Add(info.absoluteFilePath());
    settings_.SetLastFolder(info.absolutePath());
}

bool DocumentController::LoadImageFile(const QString& path) {
    if (window_.transferRunning()) return false;
    status_.StopTimer();
    ui_.SetBusy(true);
    const CfgReadResult read = ReadCfgFile(path.toStdString());
    ui_.SetBusy(false);
    if (!read.ok()) {
        // The blink timer runs again on every way out, so a red line keeps blinking.
        status_.StartTimer();
        ui_.Message(platform::OkMessage(QString::fromStdString(read.message),
                                        QString::fromLatin1(kAppTitle)));
        return false;
    }
    Document doc = OpenDocument(read.image, read.modelCode, path.toStdString());
    const int number = documents_.AddFile(std::move(doc), path.toStdString());
    window_.openWindow(number);
    RememberFile(path);
    status_.StartTimer();
    return true;
}

QString DocumentController::ShowSaveDialog(const QString& presetName) {
    platform::FileRequest request;
    request.title = QStringLiteral("Save As");
    request.filter = QString::fromLatin1(kCfgFilter);
    request.presetName = presetName;
    request.defaultSuffix = QStringLiteral("cfg");
    request.folder = settings_.DialogFolder();
    return ui_.SaveFileName(request);
}

bool DocumentController::SaveImageFile(int number, const QString& path) {
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
    window_.refreshCaptions();
    RememberFile(path);
    return true;
}

void DocumentController::Save(int number) {
    if (window_.transferRunning()) return;
    const Document* doc = documents_.Get(number);
    if (!doc) return;
    const QString path = documents_.IsTemp(number)
                             ? ShowSaveDialog(QString::fromStdString(doc->caption))
                             : QString::fromStdString(documents_.Path(number));
    if (!path.isEmpty()) SaveImageFile(number, path);
}

void DocumentController::SaveAs(int number) {
    if (window_.transferRunning()) return;
    if (!documents_.Get(number)) return;
    const QString preset = documents_.IsTemp(number)
                               ? QStringLiteral("Untitled.cfg")
                               : QString::fromStdString(documents_.Path(number));
    const QString path = ShowSaveDialog(preset);
    if (!path.isEmpty()) SaveImageFile(number, path);
}

bool DocumentController::QueryClose(int number) {
    if (window_.transferRunning()) return false;
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
    window_.closing(number);
    window_.closed(documents_.Close(number));
    return true;
}

}  // namespace talveron::app
