// The customer information editor ("Customer Info."): the customer name and serial number a
// document carries beside its image. Modeless; OK writes both texts into the document it was
// opened for and refreshes that window, CANCEL leaves them.
#pragma once

#include <QDialog>
#include <functional>

class QLabel;
class QLineEdit;
class QPushButton;

namespace talveron::app {

class CustomerDialog : public QDialog {
    Q_OBJECT
  public:
    // number is the document the dialog edits; the texts are its current values.
    CustomerDialog(int number, const QString& customer, const QString& serial,
                   QWidget* parent = nullptr);

    int Number() const { return number_; }
    // Called with the document number and both texts when OK is pressed.
    std::function<void(int, const QString&, const QString&)> onAccept;
    // Called each time the dialog becomes the active window.
    std::function<void()> onActivate;
    // Called once when the dialog closes, whichever way (OK, CANCEL or its frame).
    std::function<void()> onClose;

    QLineEdit* CustomerBox() const { return customer_; }
    QLineEdit* SerialBox() const { return serial_; }
    QPushButton* OkButton() const { return ok_; }
    QPushButton* CancelButton() const { return cancel_; }

  protected:
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    int number_;
    bool closed_ = false;
    QLineEdit* customer_;
    QLineEdit* serial_;
    QPushButton* ok_;
    QPushButton* cancel_;
};

}  // namespace talveron::app
