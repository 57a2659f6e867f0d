// frmSysOption ("System Option Edit"): the radio's system-wide settings of one document. The
// lists and boxes are filled from the document's head copy and its channels in use; OK hands
// the new head copy to whoever opened the dialog. Modeless; the words and bits come from the
// core's table of system settings.
#pragma once

#include <QDialog>
#include <array>
#include <functional>

#include "image/system_options.h"

class QCheckBox;
class QComboBox;
class QGridLayout;
class QLabel;
class QPushButton;

namespace talveron {
struct Document;
}

namespace talveron::sysoption {

class frmSysOption : public QDialog {
    Q_OBJECT
  public:
    // number is the document the dialog edits; doc is read once, when it opens.
    frmSysOption(int number, const Document& doc, QWidget* parent = nullptr);

    int Number() const { return number_; }
    // OK: the document's head copy with the chosen settings written in.
    std::function<void(int number, const HeadBytes& head)> onAccept;

    // The settings the controls show now, as stored values.
    SystemOptions Chosen() const;

    QComboBox* cboSysOp(int k) const { return lists_[static_cast<std::size_t>(k)]; }
    QLabel* lblSysOp(int k) const { return labels_[static_cast<std::size_t>(k)]; }
    QComboBox* cboBCLO() const { return bclo_; }
    QComboBox* cboPttTrsm() const { return ptt_; }
    QCheckBox* chkMonitor() const { return monitor_; }
    QCheckBox* chkReverse() const { return reverse_; }
    QCheckBox* chkBeep() const { return beep_; }
    QPushButton* OKButton() const { return ok_; }
    QPushButton* CancelButton() const { return cancel_; }

  private:
    QComboBox* ListFor(SysSetting setting) const;

    int number_;
    int channelCount_;
    HeadBytes head_;
    std::array<QLabel*, 6> labels_{};
    std::array<QComboBox*, 6> lists_{};
    QComboBox* bclo_;
    QComboBox* ptt_;
    QCheckBox* monitor_;
    QCheckBox* reverse_;
    QCheckBox* beep_;
    QPushButton* ok_;
    QPushButton* cancel_;
};

}  // namespace talveron::sysoption
