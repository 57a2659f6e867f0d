// The user-facing platform services every window goes through: message boxes, the file
// dialogs, the busy pointer, the clipboard, the beep and event processing. UiServices is the
// interface; QtUiServices shows real Qt dialogs; ScriptedUiServices (scripted_ui_services.h)
// answers from a script so that tests can drive the program and see what it asked.
#pragma once

#include <QString>

class QWidget;

namespace talveron::platform {

// Buttons of a message box, combinable as flags; also the answer given.
enum MsgButton : unsigned {
    kNoButton = 0,
    kOk = 1,
    kCancel = 2,
    kYes = 4,
    kNo = 8,
};

enum class MsgIcon { None, Information, Question, Exclamation, Critical };

struct MessageRequest {
    QString text;
    QString title;
    unsigned buttons = kOk;
    MsgIcon icon = MsgIcon::None;
    MsgButton defaultButton = kNoButton;  // kNoButton: the first button
};

// A plain box with an OK button only; no title means the toolkit's default title.
inline MessageRequest OkMessage(const QString& text, const QString& title = {}) {
    MessageRequest request;
    request.text = text;
    request.title = title;
    request.buttons = kOk;
    return request;
}

struct FileRequest {
    QString title;
    QString filter;      // Qt form: "EEPROM.CFG (*.cfg)"
    QString presetName;  // file name offered in the dialog; a relative one lies in folder
    QString defaultSuffix;
    QString folder;  // where the dialog starts
};

class UiServices {
  public:
    virtual ~UiServices() = default;

    // Shows a modal message box and returns the button pressed (kCancel or kNo when the box
    // is closed otherwise, whichever it offers; kOk for an OK-only box).
    virtual MsgButton Message(const MessageRequest& request) = 0;
    // A file to open, or an empty text when cancelled.
    virtual QString OpenFileName(const FileRequest& request) = 0;
    // A file to save to, or an empty text when cancelled.
    virtual QString SaveFileName(const FileRequest& request) = 0;

    // The busy (hourglass) pointer on or off. Not nested: off always restores the normal one.
    virtual void SetBusy(bool busy) = 0;
    virtual bool Busy() const = 0;

    virtual void SetClipboardText(const QString& text) = 0;
    virtual QString ClipboardText() const = 0;

    // Sounds the platform's warning beep (a verdict of the channel dialog).
    virtual void Beep() = 0;

    // Lets the platform handle pending window events.
    virtual void ProcessEvents() = 0;
};

// The real thing: QMessageBox, QFileDialog, QGuiApplication's override cursor and clipboard.
class QtUiServices : public UiServices {
  public:
    explicit QtUiServices(QWidget* parent = nullptr) : parent_(parent) {}
    void SetParent(QWidget* parent) { parent_ = parent; }

    MsgButton Message(const MessageRequest& request) override;
    QString OpenFileName(const FileRequest& request) override;
    QString SaveFileName(const FileRequest& request) override;
    void SetBusy(bool busy) override;
    bool Busy() const override { return busy_; }
    void SetClipboardText(const QString& text) override;
    QString ClipboardText() const override;
    void Beep() override;
    void ProcessEvents() override;

  private:
    QWidget* parent_;
    bool busy_ = false;
};

}  // namespace talveron::platform
