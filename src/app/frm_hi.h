// frmHi, the splash window shown for half a second at start-up. A click, a key press or the
// loss of focus closes it early.
#pragma once

#include <QWidget>

namespace talveron::app {

class frmHi : public QWidget {
    Q_OBJECT
  public:
    explicit frmHi(QWidget* parent = nullptr);
    // Centres the window on the screen it is shown on.
    void CenterOnScreen();

  protected:
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
};

}  // namespace talveron::app
