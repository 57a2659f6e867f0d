#include "platform/ui_services.h"

#include <QApplication>
#include <QClipboard>
#include <QCoreApplication>
#include <QCursor>
#include <QFileDialog>
#include <QMessageBox>

namespace talveron::platform {

namespace {

QMessageBox::Icon ToQtIcon(MsgIcon icon) {
    switch (icon) {
        case MsgIcon::Information:
            return QMessageBox::Information;
        case MsgIcon::Question:
            return QMessageBox::Question;
        case MsgIcon::Exclamation:
            return QMessageBox::Warning;
        case MsgIcon::Critical:
            return QMessageBox::Critical;
        case MsgIcon::None:
            break;
    }
    return QMessageBox::NoIcon;
}

}  // namespace

MsgButton QtUiServices::Message(const MessageRequest& request) {
    // A box without a title of its own gets a blank one: an empty title would make the window
    // system show the program's name instead.
    const QString title = request.title.isEmpty() ? QStringLiteral(" ") : request.title;
    QMessageBox box(ToQtIcon(request.icon), title, request.text, QMessageBox::NoButton, parent_);
    struct Pair {
        MsgButton ours;
        QMessageBox::StandardButton qt;
    };
    const Pair pairs[] = {{kYes, QMessageBox::Yes},
                          {kNo, QMessageBox::No},
                          {kOk, QMessageBox::Ok},
                          {kCancel, QMessageBox::Cancel}};
    unsigned buttons = request.buttons ? request.buttons : unsigned{kOk};
    for (const Pair& p : pairs)
        if (buttons & p.ours) box.addButton(p.qt);
    if (request.defaultButton != kNoButton) {
        for (const Pair& p : pairs)
            if (p.ours == request.defaultButton) box.setDefaultButton(p.qt);
    }
    // Escape or the window frame give Cancel, else No, else OK.
    if (buttons & kCancel)
        box.setEscapeButton(QMessageBox::Cancel);
    else if (buttons & kNo)
        box.setEscapeButton(QMessageBox::No);
    else
        box.setEscapeButton(QMessageBox::Ok);
    // The busy pointer must not hide the arrow while the user answers.
    const bool wasBusy = busy_;
    if (wasBusy) SetBusy(false);
    box.exec();
    if (wasBusy) SetBusy(true);
    const auto clicked = box.standardButton(box.clickedButton());
    for (const Pair& p : pairs)
        if (p.qt == clicked) return p.ours;
    if (buttons & kCancel) return kCancel;
    if (buttons & kNo) return kNo;
    return kOk;
}

namespace {

// The platform's file dialog for one request; empty when the user cancels.
QString RunFileDialog(QWidget* parent, const FileRequest& request, QFileDialog::AcceptMode accept,
                      QFileDialog::FileMode mode) {
    QFileDialog dialog(parent, request.title, request.folder, request.filter);
    dialog.setAcceptMode(accept);
    dialog.setFileMode(mode);
    dialog.selectFile(request.presetName);
    if (!request.defaultSuffix.isEmpty()) dialog.setDefaultSuffix(request.defaultSuffix);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().first();
}

}  // namespace

QString QtUiServices::OpenFileName(const FileRequest& request) {
    return RunFileDialog(parent_, request, QFileDialog::AcceptOpen, QFileDialog::ExistingFile);
}

QString QtUiServices::SaveFileName(const FileRequest& request) {
    return RunFileDialog(parent_, request, QFileDialog::AcceptSave, QFileDialog::AnyFile);
}

void QtUiServices::SetBusy(bool busy) {
    if (busy == busy_) return;
    busy_ = busy;
    if (busy)
        QApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
    else
        QApplication::restoreOverrideCursor();
}

void QtUiServices::SetClipboardText(const QString& text) {
    if (QClipboard* clip = QGuiApplication::clipboard()) clip->setText(text);
}

QString QtUiServices::ClipboardText() const {
    QClipboard* clip = QGuiApplication::clipboard();
    return clip ? clip->text() : QString();
}

void QtUiServices::Beep() {
    QApplication::beep();
}

void QtUiServices::ProcessEvents() {
    QCoreApplication::processEvents();
}

}  // namespace talveron::platform
