// Channel editing for the main window: opens the channel dialog, the customer dialog and the
// channel option windows for a document window, and applies every change to a document as
// one step of its history, then shows it in every window of that document (its list line by
// line, its labels, the option list, the range verdict when it is the active one).
#pragma once

#include <QObject>
#include <QPointer>
#include <functional>
#include <string_view>

#include "image/document.h"

class QWidget;

namespace talveron::sysoption {
class frmSysOption;
}

namespace talveron::channel {

class EditorHost;
class frmCh_edit;
class frmCHoption;
class frmSetChOP;

class ChannelEditing : public QObject {
    Q_OBJECT
  public:
    // dialogParent owns the dialogs (the main window).
    ChannelEditing(EditorHost& host, QWidget* dialogParent);
    ~ChannelEditing() override;

    // The channel dialog for line `row` of a document's list; a dialog already shown, in any
    // mode, is discarded first. OK writes the line back into this document.
    void OpenChannel(int number, int row);
    // The same dialog for the customer and serial texts of a document.
    void OpenCustomer(int number);
    // Option > Channel: the option list, refilled from this document.
    void OpenOptionList(int number);
    // The option dialog of a channel (1-based) of a document.
    void OpenOptionEdit(int number, int channel);

    // Edit > Copy, Cut, Paste and Delete on the selected lines of a document window, through
    // the shared channel clipboard; Copy also gives the lines to other programs as text.
    void Copy(int number);
    void Cut(int number);
    void Paste(int number);
    void Delete(int number);
    // Edit > AutoFreq and AutoTone: the channel dialog as the dialog of a fill.
    void OpenAutoFreq(int number);
    void OpenAutoTone(int number);
    // Option > System: the system option dialog of a document.
    void OpenSystemOptions(int number);

    // A change to a document, its undo and its redo; each updates the windows that show it.
    DocChanges Edit(int number, std::string_view label, const std::function<void(Document&)>& edit);
    DocChanges Undo(int number);
    DocChanges Redo(int number);

    // A document is closing: the dialogs working on it close without storing.
    void DocumentClosing(int number);
    // The program ends: every dialog closes without storing.
    void CloseAll();
    // While a transfer runs nothing here may change a document.
    void SetTransferLock(bool locked);

    frmCh_edit* ChEdit() const;
    frmCHoption* OptionList() const;
    frmSetChOP* OptionEdit() const;
    sysoption::frmSysOption* SysOption() const;

  private:
    frmCh_edit* NewChEdit(int number, const QString& caption, bool autoSubtMode = false);
    bool RunFill(frmCh_edit& dialog);
    void Delete(int number, bool emptyClipboards);
    void Show(QWidget* dialog);
    // Runs an edit, an undo or a redo on a document and shows what it changed.
    DocChanges Apply(int number, const std::function<DocChanges(Document&)>& step);
    void ShowChanges(int number, const DocChanges& changes);

    EditorHost& host_;
    QWidget* parent_;
    QPointer<frmCh_edit> chEdit_;
    QPointer<frmCHoption> optionList_;
    QPointer<frmSetChOP> optionEdit_;
    QPointer<sysoption::frmSysOption> sysOption_;
};

}  // namespace talveron::channel
