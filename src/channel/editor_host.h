// What channel editing asks of the program around it: the documents and their windows, the
// platform services, and the main window's status line and Timer1. The main window
// implements it.
#pragma once

#include <QString>
#include <string>
#include <vector>

#include "image/document.h"

class QWidget;

namespace talveron::platform {
class UiServices;
}
namespace talveron::document {
class frmNotePad;
}

namespace talveron::channel {

class EditorHost {
  public:
    virtual ~EditorHost() = default;

    // The document of a number and its window (nullptr once closed).
    virtual Document* DocumentOf(int number) = 0;
    virtual document::frmNotePad* Window(int number) const = 0;
    // The number of the active document window (0 when none).
    virtual int ActiveNumber() const = 0;
    virtual bool TransferRunning() const = 0;
    virtual platform::UiServices& Ui() = 0;

    // Timer1 rests while a dialog is active, with labErrMsg shown, and runs again after.
    virtual void HoldTimer(bool hold) = 0;
    // A verdict of the channel dialog on labErrMsg, in the line's colour, fitted at 15 points.
    virtual void ShowDialogVerdict(const QString& text) = 0;
    // The band and raster check of the active document onto the status line.
    virtual void CheckActiveRanges() = 0;
    // The channel clipboard (ClipLines) all document windows share.
    virtual std::vector<std::string>& Clip() = 0;
};

}  // namespace talveron::channel
