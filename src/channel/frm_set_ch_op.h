// frmSetChOP, the option dialog of one channel ("Channel k Option Edit"): five frames of two
// exclusive buttons (spacing, RF power, BCLO, scan, penalty), OK and CANCL. Not modal; it
// belongs to the document whose option list opened it.
#pragma once

#include <QDialog>
#include <array>
#include <cstdint>
#include <functional>

#include "image/option_edit.h"

class QGroupBox;
class QPushButton;
class QRadioButton;

namespace talveron::channel {

class frmSetChOP : public QDialog {
    Q_OBJECT
  public:
    // The choices shown are those of the channel's option byte.
    frmSetChOP(int number, int channel, std::uint8_t option, QWidget* parent = nullptr);

    int Number() const { return number_; }
    int Channel() const { return channel_; }
    OptionChoices Choices() const;

    // OK's work; the dialog closes after it.
    std::function<void(frmSetChOP&)> onOk;

    QGroupBox* fraChOption(int j) const { return frames_[j]; }
    QRadioButton* optChOption(int i) const { return buttons_[i]; }
    QPushButton* cmdOkBT(int i) const { return commands_[i]; }

  protected:
    // Escape is CANCL: the dialog closes (and goes).
    void reject() override {
        QDialog::reject();
        close();
    }

  private:
    int number_;
    int channel_;
    std::array<QGroupBox*, 5> frames_{};
    std::array<QRadioButton*, 10> buttons_{};
    std::array<QPushButton*, 2> commands_{};
};

}  // namespace talveron::channel
