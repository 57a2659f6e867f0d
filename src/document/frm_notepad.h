// frmNotePad, the document window: a view over one Document of the program's document set.
// It shows the model, band, customer and serial labels, the column header and the channel
// lines (lstClient), carries the document's menu bar (handed to the main window while this
// window is active) and forwards every command to its DocumentHost with its number (Tag).
#pragma once

#include <QList>
#include <QWidget>

#include "image/model_table.h"

class QAction;
class QLabel;
class QListWidget;
class QMenu;

namespace talveron::document {

class DocumentHost;

inline constexpr const char* kHeaderCaption =
    " CH   Rx Freq.  Rx_CTCSS/DCS   Tx Freq.  Tx_CTCSS/DCS ";

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
    // The top-level menus a transfer locks: File, Edit, Radio, Help.
    void SetTransferLock(bool locked);

    QListWidget* List() const { return lstClient_; }
    QLabel* Label3(int index) const;
    int FontPointSize() const;

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void BuildMenus();
    void EditMenuOpening();

    DocumentHost* host_;
    int number_;
    bool released_ = false;
    QLabel* labModel_;
    QLabel* labRange_;
    QLabel* labCustomer_;
    QLabel* labSerial_;
    QLabel* labHeader_;
    QListWidget* lstClient_;
    QList<QMenu*> menus_;
};

}  // namespace talveron::document
