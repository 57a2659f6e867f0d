// What a document window asks of the program around it: the commands of its menus, the
// status line and the shared channel clipboard. The main window implements it; the window
// itself only shows a Document and forwards its commands with its own number.
#pragma once

#include <QString>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "image/document.h"
#include "image/range_check.h"

namespace talveron::document {

// Every command of a document window's menus and of its channel list. A new dialog adds a
// command here, not a function to the host.
enum class DocCommand {
    Cut,
    Copy,
    Paste,
    Delete,
    AutoFreq,
    AutoTone,
    SystemOptions,
    Print,
    PrintPreview,
    PrinterSetup,
    Open,            // File > Open: a file into a new window
    Close,           // File > Close
    Save,            // File > Save
    SaveAs,          // File > Save As
    Customer,        // File > Customer: the customer texts
    Exit,            // File > Exit
    Undo,            // Edit > Undo: the document's last change
    Redo,            // Edit > Redo
    ChannelOptions,  // Option > Channel: the list of the document's channel options
    Channel,         // a double-click or Enter on a line of the channel list: the channel dialog
    Upload,          // Radio > Upload
    Download,        // Radio > Download
    ReadMe,          // Help > ReadMe
    About,           // Help > About
};

class DocumentHost {
  public:
    virtual ~DocumentHost() = default;

    // The document a window shows (nullptr once it has closed).
    virtual Document* DocumentOf(int number) = 0;

    // A command of the window that shows document `number`; row is the channel list's line
    // for Channel and 0 for every other command.
    virtual void Command(int number, DocCommand command, int row) = 0;

    // Every change to a document: runs edit as one step of the document's history and
    // updates every window that shows the document. Returns what changed.
    virtual DocChanges EditDocument(int number, std::string_view label,
                                    const std::function<void(Document&)>& edit) = 0;

    // Closing through the window frame: true when the window may go (the save question was
    // answered and the document has been released), false to keep it.
    virtual bool QueryClose(int number) = 0;

    // Status line of the main window.
    virtual void ShowStatus(const QString& text) = 0;
    virtual void ShowVerdict(const RangeVerdict& verdict) = 0;

    // The shared channel clipboard (ClipLines); empty means nothing to paste.
    virtual const std::vector<std::string>& ClipLines() const = 0;

    // True while a transfer runs: nothing may open, close or edit a document then.
    virtual bool TransferRunning() const = 0;
};

}  // namespace talveron::document
