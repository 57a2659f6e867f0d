// The Window menu both menu bars of the main window carry, as MDI programs have it: Cascade
// and Tile, then one entry per open document window ("&1 caption", the active one checked)
// that brings it to the front. The arrangement chosen last holds: each activation of a
// document window lays the windows out that way again (a cascade until Tile is chosen). The
// MDI area scrolls when windows lie beyond it; Ctrl+Tab (next window) and Ctrl+F4 (close the
// active window, through its save question) come with the area and its windows.
#pragma once

#include <QMdiSubWindow>
#include <QObject>

class QAction;
class QMdiArea;
class QMenu;
class QProxyStyle;
class QWidget;

namespace talveron::app {

// A document window's frame in the MDI area. A cascade gives it the document's whole size
// (KeepSize() takes it once the document is laid out); tiling may make it smaller, the
// document then cut at its right and bottom edges.
class DocumentSubWindow : public QMdiSubWindow {
    Q_OBJECT
  public:
    using QMdiSubWindow::QMdiSubWindow;
    void KeepSize();
    QSize sizeHint() const override;

  private:
    QSize size_;
};

class WindowMenu : public QObject {
    Q_OBJECT
  public:
    // The menu (mnuWindow "&Window") belongs to menuParent.
    WindowMenu(QMdiArea* area, QWidget* menuParent);

    QMenu* Menu() const { return menu_; }
    // Lays the document windows out as chosen last.
    void Arrange();
    bool Tiled() const { return tiled_; }
    // A long caption loses its middle in the window's title bar instead of its end, so the
    // file name stays in view. The caption itself stays whole.
    void KeepFileNameInView(QMdiSubWindow* window);

  private:
    // Runs as the menu opens: the entries of the open windows, Cascade and Tile enabled
    // while there is a window.
    void Fill();

    QMdiArea* area_;
    QMenu* menu_;
    QAction* cascade_;
    QAction* tile_;
    QAction* listStart_;
    QProxyStyle* titleStyle_;
    bool tiled_ = false;
};

}  // namespace talveron::app
