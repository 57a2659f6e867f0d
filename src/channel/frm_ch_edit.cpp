// The channel dialog's events: each key, click, focus change and button goes to the entry
// rules of the core for the mode the caption names, and the dialog shows what they return.
#include "channel/frm_ch_edit.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QEvent>
#include <QKeyEvent>
#include <QPushButton>
#include <QTimer>

#include "channel/editor_host.h"
#include "channel/entry_boxes.h"
#include "image/call_guard_entry.h"
#include "platform/ui_services.h"

namespace talveron::channel {

namespace {

QString Text(const std::string& s) {
    return QString::fromStdString(s);
}

}  // namespace

void frmCh_edit::ConnectRules() {
    for (int i = 0; i < 2; ++i) {
        EntryBox* freq = freq_[i];
        freq->onKey = [this, i](QKeyEvent* e) { return FreqKey(i, e); };
        connect(freq, &QLineEdit::textEdited, this, [this, i] { FreqEdited(i); });
        freq->onMouseUp = [this, i, freq] {
            if (i == 0 || Mode() == DialogMode::Channel)
                freq->setCursorPosition(FreqClickCaret(Mode(), i, freq->cursorPosition()));
        };
        freq->onFocusIn = [this, i, freq] {
            if (FreqFocusResets(Mode(), i)) freq->setText(QStringLiteral("0"));
        };
        tone_[i]->onKey = [this, i](QKeyEvent* e) { return ToneKey(i, e); };
        tone_[i]->onLeave = [this, i] { Later([this, i] { LeaveToneList(i); }); };
        code_[i]->onKey = [this, i](QKeyEvent* e) { return CodeKey(i, e); };
        code_[i]->onLeave = [this, i] { Later([this, i] { LeaveCode(i); }); };
    }
    for (int i = 0; i < 3; ++i)
        connect(checks_[i], &QCheckBox::clicked, this, [this, i](bool on) { CheckClicked(i, on); });
    connect(ok_, &QPushButton::clicked, this, &frmCh_edit::Accept);
    connect(cancel_, &QPushButton::clicked, this, &frmCh_edit::Cancel);
}

void frmCh_edit::SetCaption(const QString& caption, bool autoSubtMode) {
    setWindowTitle(caption);
    autoSubtMode_ = autoSubtMode;
    const bool customer = Mode() == DialogMode::Customer;
    for (EntryBox* box : code_) {
        box->keepCaret = !customer;
        box->setContextMenuPolicy(customer ? Qt::DefaultContextMenu : Qt::NoContextMenu);
    }
}

DialogMode frmCh_edit::Mode() const {
    return DialogModeOf(windowTitle().toStdString(), autoSubtMode_);
}

QLineEdit* frmCh_edit::Rx_freq(int index) const {
    return freq_[index];
}

QComboBox* frmCh_edit::Rx_tone(int index) const {
    return tone_[index];
}

QLineEdit* frmCh_edit::Rx_DTMF(int index) const {
    return code_[index];
}

ChannelSides frmCh_edit::Sides() const {
    ChannelSides sides;
    for (int i = 0; i < 2; ++i) {
        sides.freq[i] = freq_[i]->text().toStdString();
        sides.tone[i] = tone_[i]->currentText().toStdString();
        sides.code[i] = code_[i]->text().toStdString();
    }
    for (int i = 0; i < 3; ++i) sides.check[i] = checks_[i]->isChecked();
    return sides;
}

void frmCh_edit::SetSides(const ChannelSides& sides) {
    // A text set by the program leaves the caret at the start.
    auto set = [](QLineEdit* box, const std::string& text) {
        if (box->text() == Text(text)) return;
        box->setText(Text(text));
        box->setCursorPosition(0);
    };
    for (int i = 0; i < 2; ++i) {
        set(freq_[i], sides.freq[i]);
        set(code_[i], sides.code[i]);
        const QString tone = Text(sides.tone[i]);
        const int line = tone_[i]->findText(tone);
        if (line >= 0) tone_[i]->setCurrentIndex(line);
        tone_[i]->setEditText(tone);
    }
    for (int i = 0; i < 3; ++i) checks_[i]->setChecked(sides.check[i]);
}

void frmCh_edit::FocusTo(DialogControl control) {
    QWidget* target = nullptr;
    switch (control) {
        case DialogControl::RxFreq0:
        case DialogControl::RxFreq1:
            target = freq_[control == DialogControl::RxFreq1];
            break;
        case DialogControl::RxTone0:
        case DialogControl::RxTone1:
            target = tone_[control == DialogControl::RxTone1];
            break;
        case DialogControl::RxDtmf0:
        case DialogControl::RxDtmf1:
            target = code_[control == DialogControl::RxDtmf1];
            break;
        case DialogControl::OK:
            target = ok_;
            break;
        case DialogControl::Cancel:
            target = cancel_;
            break;
        case DialogControl::None:
            break;
    }
    if (!target) return;
    target->setFocus(Qt::OtherFocusReason);
    // A list taking the focus offers its whole text for typing over, as a tab into it does.
    for (EntryList* list : tone_)
        if (target == list) list->lineEdit()->selectAll();
}

BandLimits frmCh_edit::Band() const {
    const Document* doc = host_.DocumentOf(number_);
    return doc ? doc->Limits() : BandLimits{};
}

int frmCh_edit::BandDigit() const {
    const Document* doc = host_.DocumentOf(number_);
    const std::string band = doc ? doc->Band() : std::string();
    return !band.empty() && IsDigit(band[0]) ? band[0] - '0' : 0;
}

void frmCh_edit::ScanRTxFreq(int index) {
    const DialogMode mode = Mode();
    if (IsAuto(mode) && index == 1) return;
    ScanFreq(mode, flags_, index, freq_[index]->text().toStdString(), Band());
    const std::string verdict = FreqVerdict(flags_);
    host_.ShowDialogVerdict(Text(verdict));
    if (!verdict.empty()) host_.Ui().Beep();
}

void frmCh_edit::Activated() {
    host_.HoldTimer(true);
    const DialogMode mode = Mode();
    if ((mode == DialogMode::Channel || IsAuto(mode)) && !autoSubtMode_) {
        flags_.outRange = {false, false};
        host_.ShowDialogVerdict(QString());
        ScanRTxFreq(0);
        ScanRTxFreq(1);
    }
}

bool frmCh_edit::FreqKey(int index, QKeyEvent* event) {
    char key = 0;
    if (!RuleKey(event, key)) return false;
    EntryBox* box = freq_[index];
    const TextBox before{box->text().toStdString(), box->cursorPosition()};
    const FreqEdit edit = talveron::FreqKey(Mode(), index, before, key, BandDigit());
    if (edit.focus != DialogControl::None) {
        FocusTo(edit.focus);
        return true;
    }
    if (edit.box.text != before.text) box->setText(Text(edit.box.text));
    box->setCursorPosition(edit.box.caret);  // a selection collapses to the caret
    if (edit.cleared) flags_.outRange[index] = flags_.badStep[index] = false;
    if (edit.ruleRan) ScanRTxFreq(index);
    return true;
}

// A change the keys did not make (an input method, a middle-button paste): the change rule
// runs on what the toolkit left.
void frmCh_edit::FreqEdited(int index) {
    EntryBox* box = freq_[index];
    const FreqEdit edit =
        FreqChange(Mode(), index, {box->text().toStdString(), box->cursorPosition()}, BandDigit());
    box->setText(Text(edit.box.text));
    box->setCursorPosition(edit.box.caret);
    if (edit.cleared) flags_.outRange[index] = flags_.badStep[index] = false;
    if (edit.ruleRan) ScanRTxFreq(index);
}

bool frmCh_edit::ToneKey(int index, QKeyEvent* event) {
    char key = 0;
    if (!RuleKey(event, key)) return false;
    const EntryKey result = ToneListKey(Mode(), index, key);
    if (key == kKeyEnter) {
        FocusTo(result.focus);
        return true;
    }
    return !result.passes;
}

bool frmCh_edit::LeaveToneList(int index) {
    EntryList* list = tone_[index];
    const auto line = ToneListLine(list->currentText().toStdString(), list->count());
    if (!line) {
        host_.Ui().Message(platform::OkMessage(Text(ToneListError(list->count()))));
        list->setFocus(Qt::OtherFocusReason);
        return false;
    }
    list->setCurrentIndex(*line);
    list->setEditText(list->itemText(*line));
    return true;
}

bool frmCh_edit::CodeKey(int index, QKeyEvent* event) {
    char key = 0;
    if (!RuleKey(event, key)) return false;
    EntryBox* box = code_[index];
    const EntryKey result = CodeBoxKey(Mode(), index, key, box->cursorPosition());
    if (key == kKeyEnter) {
        FocusTo(result.focus);
        return true;
    }
    if (!result.passes) return true;
    if (!result.overwrite) return false;  // Backspace, Delete and the customer texts
    TextBox after{box->text().toStdString(), box->cursorPosition()};
    ApplyKey(after, result.key);
    after = CodeBoxChange(after);
    box->setText(Text(after.text));
    box->setCursorPosition(after.caret);
    return true;
}

void frmCh_edit::LeaveCode(int index) {
    const DialogMode mode = Mode();
    if (mode == DialogMode::Channel) {
        code_[index]->setText(Text(PadCode(code_[index]->text().toStdString())));
        return;
    }
    if (!IsAuto(mode)) return;
    const Document* doc = host_.DocumentOf(number_);
    const TargetRange range =
        LeaveTarget(index, {code_[0]->text().toStdString(), code_[1]->text().toStdString()},
                    doc ? doc->BlockCount() : 0);
    code_[0]->setText(Text(range.first));
    code_[1]->setText(Text(range.last));
    if (range.refused) {
        host_.Ui().Message(platform::OkMessage(
            QString::fromUtf8(kNotLegalChannel.data(), int(kNotLegalChannel.size()))));
        code_[index]->setFocus(Qt::OtherFocusReason);
    }
}

void frmCh_edit::CheckClicked(int index, bool checked) {
    ChannelSides sides = Sides();
    const std::string transmit = sides.freq[1];
    sides.check[index] = checked;
    ClickCheck(Mode(), sides, index);
    SetSides(sides);
    // The transmit side the boxes rewrote gets its verdict again: a "NONE" has no fault.
    if (Mode() == DialogMode::Channel && sides.freq[1] != transmit) {
        if (sides.freq[1] == "NONE") flags_.outRange[1] = flags_.badStep[1] = false;
        ScanRTxFreq(1);
    }
}

void frmCh_edit::Accept() {
    if (closed_) return;
    // The lists as their leave check makes them (it may not have run yet); one whose text
    // names no line is not stored, and leaving it has said why.
    for (EntryList* list : tone_) {
        if (!list->isVisible()) continue;
        const auto line = ToneListLine(list->currentText().toStdString(), list->count());
        if (!line) {
            list->setFocus(Qt::OtherFocusReason);
            return;
        }
        list->setCurrentIndex(*line);
        list->setEditText(list->itemText(*line));
    }
    if (onOk && !onOk(*this)) return;
    Cancel();
}

void frmCh_edit::Cancel() {
    if (closed_) return;
    closed_ = true;
    if (onClose) onClose(*this);
    close();
}

void frmCh_edit::Discard() {
    closed_ = true;
    close();
}

// Escape runs CANCEL. Closing itself comes here too (the dialog's close event rejects it),
// and then only hides it.
void frmCh_edit::reject() {
    if (closed_)
        QDialog::reject();
    else
        Cancel();
}

void frmCh_edit::changeEvent(QEvent* event) {
    QDialog::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow() && !closed_) Activated();
}

void frmCh_edit::closeEvent(QCloseEvent* event) {
    if (!closed_) {  // through the window frame: the CANCEL steps
        closed_ = true;
        if (onClose) onClose(*this);
    }
    QDialog::closeEvent(event);
}

void frmCh_edit::Later(const std::function<void()>& f) {
    QTimer::singleShot(0, this, [this, f] {
        if (!closed_) f();
    });
}

}  // namespace talveron::channel
