// frmNotePad, the document window: a view over one Document of the program's document set.
// It shows the model, band, customer and serial labels, the column header and the channel
// lines (lstClient, a view of the document's own lines), carries the document's menu bar (handed to
// the main window while this window is active) and forwards every command to its DocumentHost with
// its number (Tag).
#pragma once

#include <QList>
#include <QWidget>
#include <vector>

#include "image/edit_history.h"
#include "image/model_table.h"

class QAction;
class QLabel;
class QListView;
class QMenu;

namespace talveron::document {

class ChannelListModel;
class DocumentHost;
enum class DocCommand;

// The values the active document gives the rest of the program on activation.
struct ActiveValues {
    int blockCount = 0;
    BandLimits band;
};

class frmNotePad : public QWidget {
    Q_OBJECT
  public:
    frmNotePad(DocumentHost* host, int number, QWidget* parent = nullptr);

    int Tag() const { return number_; }

    // Reloads the labels, the caption and the channel lines from the document.
    void Refresh();
    // Shows what an edit, an undo or a redo changed: the changed lines (every selection
    // stays), the customer labels, and the state of Undo and Redo.
    void ShowChanges(const DocChanges& changes);
    // Adds a line to the selection (the others stay selected).
    void SelectRow(int row);
    // Form_Load's layout: the window as wide as the main window less 400 twips, the font
    // fitted to the header. areaHeight is the height available for the window.
    void Layout(int mainWidth, int areaHeight);
    // Form_Activate without the cascade (the main window arranges its windows): takes the band
    // from the Range label, runs the range check onto the status line and enables Paste when
    // the clipboard holds lines.
    ActiveValues Activate();

    // The menus in menu-bar order: File, Edit, Option, Radio, Help, Test.
    const QList<QMenu*>& Menus() const { return menus_; }
    // A menu or menu entry by its control name ("mnuFSave", "mnuEdit", ...).
    QAction* Action(const QString& name) const;
    // The top-level menus a transfer locks: File, Edit, Option, Radio, Help.
    void SetTransferLock(bool locked);

    QListView* List() const { return lstClient_; }
    // The line with the focus mark, or -1.
    int CurrentRow() const;
    // The selected lines, in list order.
    std::vector<int> SelectedRows() const;
    QLabel* Label3(int index) const;
    int FontPointSize() const;

  protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    // A menu command of this window, to the host with the window's number.
    void Run(DocCommand command);
    void BuildMenus();
    void EditMenuOpening();
    void UpdateLabels();
    void UpdateUndoActions();
    void OpenCurrentChannel();

    DocumentHost* host_;
    int number_;
    bool released_ = false;
    QLabel* labModel_;
    QLabel* labRange_;
    QLabel* labCustomer_;
    QLabel* labSerial_;
    QLabel* labHeader_;
    QListView* lstClient_;
    ChannelListModel* model_;
    QList<QMenu*> menus_;
};

}  // namespace talveron::document
