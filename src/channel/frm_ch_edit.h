// frmCh_edit, the channel dialog. Its caption names its purpose: "Channel No.n (...)" edits one
// channel of a document, "Auto ..." is the dialog of the automatic fills, "Customer Info." the
// customer and serial texts. It is not modal and belongs to the document window it was opened
// for; its key, mouse and focus events go to the entry rules of the core, and OK hands the
// boxes to its opener.
#pragma once

#include <QDialog>
#include <array>
#include <functional>

#include "image/channel_edit.h"
#include "image/freq_box.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace talveron::channel {

class EditorHost;
class EntryBox;
class EntryList;

class frmCh_edit : public QDialog {
    Q_OBJECT
  public:
    // number is the document the dialog works on.
    frmCh_edit(EditorHost& host, int number, QWidget* parent = nullptr);

    // The caption decides the mode of every handler; autoSubtMode tells the two Auto
    // dialogs apart.
    void SetCaption(const QString& caption, bool autoSubtMode = false);
    DialogMode Mode() const;
    int Number() const { return number_; }
    // The channel a channel-mode dialog edits (1-based).
    int Channel() const { return channel_; }

    // Channel mode: the boxes filled from a channel, labels fitted to "Selective Call Code:",
    // the code boxes and "Scan OFF" hidden.
    void ShowChannel(int channel, const ChannelSides& sides);
    // Customer mode: the two code boxes hold the customer and serial texts; the rest hidden.
    void ShowCustomer(const QString& customer, const QString& serial);
    // The Auto modes (captioned first): area boxes, target channels 1 to lineCount, and the
    // start frequency and spacing (Auto Frequency) or start tone and mode (Auto Subtone).
    void ShowAuto(int lineCount, const QString& startFreq);

    // The boxes as they stand, and set from the program (no entry rule runs).
    ChannelSides Sides() const;
    void SetSides(const ChannelSides& sides);

    // OK's work for the mode; false keeps the dialog open. The CANCEL steps follow.
    std::function<bool(frmCh_edit&)> onOk;
    // The CANCEL steps: after OK, CANCEL, Escape or closing through the frame.
    std::function<void(frmCh_edit&)> onClose;
    // Closes without storing and without the CANCEL steps (replaced, or its document closed).
    void Discard();

    QLabel* Label1(int index) const { return labels_[index]; }
    QLineEdit* Rx_freq(int index) const;
    QComboBox* Rx_tone(int index) const;
    QLineEdit* Rx_DTMF(int index) const;
    QCheckBox* Check1(int index) const { return checks_[index]; }
    QPushButton* Command1() const { return ok_; }
    QPushButton* Command2() const { return cancel_; }
    const FreqFlags& Flags() const { return flags_; }

  protected:
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void reject() override;

  private:
    void BuildControls();
    void ConnectRules();
    int LabelWidth() const;
    void Place(int shift, bool customer);
    void FocusTo(DialogControl control);
    BandLimits Band() const;
    int BandDigit() const;
    void ScanRTxFreq(int index);
    void Activated();
    bool FreqKey(int index, QKeyEvent* event);
    void FreqEdited(int index);
    bool ToneKey(int index, QKeyEvent* event);
    bool LeaveToneList(int index);
    bool CodeKey(int index, QKeyEvent* event);
    void LeaveCode(int index);
    void CheckClicked(int index, bool checked);
    void Accept();
    void Cancel();
    // Runs f after the event that asked for it, unless the dialog has closed by then.
    void Later(const std::function<void()>& f);

    EditorHost& host_;
    int number_;
    int channel_ = 0;
    bool autoSubtMode_ = false;
    bool closed_ = false;
    FreqFlags flags_;
    std::array<QLabel*, 8> labels_{};
    std::array<EntryBox*, 2> freq_{};
    std::array<EntryList*, 2> tone_{};
    std::array<EntryBox*, 2> code_{};
    std::array<QCheckBox*, 3> checks_{};
    QPushButton* ok_ = nullptr;
    QPushButton* cancel_ = nullptr;
};

}  // namespace talveron::channel
