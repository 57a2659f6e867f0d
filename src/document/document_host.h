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

// The commands of the File, Edit and Option menus that work on a document's channels, head
// or printout, beyond the file and radio commands.
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
};

class DocumentHost {
  public:
    virtual ~DocumentHost() = default;

    // The document a window shows (nullptr once it has closed).
    virtual Document* DocumentOf(int number) = 0;

    // File menu.
    virtual void OpenFileCommand() = 0;
    virtual void CloseCommand(int number) = 0;
    virtual void SaveCommand(int number) = 0;
    virtual void SaveAsCommand(int number) = 0;
    virtual void CustomerCommand(int number) = 0;
    virtual void ExitCommand() = 0;
    // Edit menu: undo and redo of the document's last change.
    virtual void UndoCommand(int number) = 0;
    virtual void RedoCommand(int number) = 0;
    // Option > Channel: the list of the document's channel options.
    virtual void ChannelOptionCommand(int number) = 0;
    // A double-click or Enter on line `row` of the channel list: the channel dialog.
    virtual void ChannelCommand(int number, int row) = 0;
    // Clipboard, automatic fills, system options and printing of a document.
    virtual void DocumentCommand(int number, DocCommand command) = 0;
    // Radio menu: 0 Upload, 1 Download.
    virtual void RadioCommand(int operation) = 0;
    // Help menu.
    virtual void ReadMeCommand() = 0;
    virtual void AboutCommand() = 0;

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
