#include "channel/frm_ch_edit.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QEvent>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <algorithm>

#include "channel/editor_host.h"
#include "channel/entry_boxes.h"
#include "image/call_guard_entry.h"
#include "image/tone_codec.h"
#include "platform/courier_font.h"
#include "platform/twips.h"
#include "platform/ui_services.h"

namespace talveron::channel {

namespace {

using platform::TwipsToPixels;

// The design layout, in twips.
constexpr std::array<const char*, 8> kLabelText = {"Receive Frequency  :",
                                                   "Transmit Frequency :",
                                                   "Receive Call Guard :",
                                                   "Transmit Call Guard:",
                                                   "Selective Call Code:",
                                                   "ANI Number         :",
                                                   " MHz",
                                                   " MHz"};
constexpr std::array<int, 8> kLabelTop = {120, 1920, 720, 2520, 1320, 3120, 120, 1920};
constexpr std::array<int, 2> kFreqTop = {120, 1920};
constexpr std::array<int, 2> kToneTop = {720, 2520};
constexpr std::array<int, 2> kCodeTop = {1320, 3120};
constexpr std::array<int, 3> kCheckLeft = {4560, 2400, 120};  // Scan OFF, RX ONLY, TX=RX
constexpr std::array<const char*, 3> kCheckText = {"Scan OFF", "RX ONLY", "TX=RX"};
constexpr int kLabelLeft = 120;
constexpr int kBoxLeft = 2520;
constexpr int kBoxWidth = 1680;
constexpr int kListWidth = 2760;
constexpr int kUnitLeft = 4260;
constexpr int kRowHeight = 375;
constexpr int kCheckTop = 3720;
constexpr int kCheckWidth = 1560;
constexpr int kButtonTop = 4200;
constexpr int kOkLeft = 600;
constexpr int kCancelLeft = 4700;
constexpr int kButtonWidth = 1215;
constexpr int kButtonHeight = 495;
constexpr int kDesignWidth = 6600;
constexpr int kBottomMargin = 400;
// The customer texts stand on the first two rows, the buttons on the third.
constexpr int kCustomerButtonTop = 1320;

// Places a control at design twips (left in pixels, already moved).
void Put(QWidget* w, int leftPx, int topTwips, int widthTwips) {
    w->setGeometry(leftPx, TwipsToPixels(topTwips), TwipsToPixels(widthTwips),
                   std::max(TwipsToPixels(kRowHeight), w->sizeHint().height()));
}

QString Text(const std::string& s) {
    return QString::fromStdString(s);
}

platform::MessageRequest OkBox(const std::string& text) {
    platform::MessageRequest request;
    request.text = Text(text);  // no title of its own: the toolkit's default
    request.buttons = platform::kOk;
    return request;
}

}  // namespace

frmCh_edit::frmCh_edit(EditorHost& host, int number, QWidget* parent)
    : QDialog(parent), host_(host), number_(number) {
    setObjectName(QStringLiteral("frmCh_edit"));
    setAttribute(Qt::WA_DeleteOnClose);
    setModal(false);
    setFont(platform::CourierFont(12));
    setWindowTitle(QStringLiteral("Channel parameter"));
    BuildControls();
    ConnectRules();
}

void frmCh_edit::BuildControls() {
    for (int i = 0; i < 8; ++i) {
        labels_[i] = new QLabel(QString::fromLatin1(kLabelText[i]), this);
        labels_[i]->setObjectName(QStringLiteral("Label1_%1").arg(i));
    }
    QStringList tones;
    for (const std::string& line : ToneTable()) tones << Text(line);
    for (int i = 0; i < 2; ++i) {
        freq_[i] = new EntryBox(this);
        freq_[i]->setObjectName(QStringLiteral("Rx_freq_%1").arg(i));
        // Every change goes through the keys; nothing is pasted or dropped in.
        freq_[i]->setContextMenuPolicy(Qt::NoContextMenu);
        freq_[i]->setAcceptDrops(false);
        freq_[i]->keepCaret = true;
        tone_[i] = new EntryList(this);
        tone_[i]->setObjectName(QStringLiteral("Rx_tone_%1").arg(i));
        tone_[i]->addItems(tones);
        code_[i] = new EntryBox(this);
        code_[i]->setObjectName(QStringLiteral("Rx_DTMF_%1").arg(i));
    }
    for (int i = 0; i < 3; ++i) {
        checks_[i] = new QCheckBox(QString::fromLatin1(kCheckText[i]), this);
        checks_[i]->setObjectName(QStringLiteral("Check1_%1").arg(i));
    }
    ok_ = new QPushButton(QStringLiteral("OK"), this);
    ok_->setObjectName(QStringLiteral("Command1"));
    cancel_ = new QPushButton(QStringLiteral("CANCEL"), this);
    cancel_->setObjectName(QStringLiteral("Command2"));
    QWidget* order[] = {freq_[0],   tone_[0], code_[0], freq_[1],   tone_[1],  code_[1],
                        checks_[0], ok_,      cancel_,  checks_[1], checks_[2]};
    for (std::size_t i = 1; i < std::size(order); ++i) setTabOrder(order[i - 1], order[i]);
    Place(0, false);
}

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

// Every caption label is as wide as "Selective Call Code:" in the dialog's font.
int frmCh_edit::LabelWidth() const {
    return QFontMetrics(font()).horizontalAdvance(QString::fromLatin1(kLabelText[4]));
}

// Moves the boxes right by `shift` pixels so that every label fits before them.
void frmCh_edit::Place(int shift, bool customer) {
    const int labelWidth = LabelWidth();
    const int boxLeft = TwipsToPixels(kBoxLeft) + shift;
    for (int i = 0; i < 6; ++i) Put(labels_[i], TwipsToPixels(kLabelLeft), kLabelTop[i], 0);
    for (int i = 0; i < 2; ++i) {
        Put(labels_[6 + i], TwipsToPixels(kUnitLeft) + shift, kLabelTop[6 + i], 0);
        Put(freq_[i], boxLeft, kFreqTop[i], kBoxWidth);
        Put(tone_[i], boxLeft, kToneTop[i], kListWidth);
        Put(code_[i], boxLeft, customer ? kFreqTop[0] + 600 * i : kCodeTop[i],
            customer ? kListWidth : kBoxWidth);
    }
    if (customer) Put(labels_[1], TwipsToPixels(kLabelLeft), kToneTop[0], 0);
    for (QLabel* label : labels_) label->resize(labelWidth, label->height());  // all eight
    for (int i = 0; i < 3; ++i)
        Put(checks_[i], TwipsToPixels(kCheckLeft[i]) + (i < 2 ? shift / 2 : 0), kCheckTop,
            kCheckWidth);
    const int buttonTop = customer ? kCustomerButtonTop : kButtonTop;
    Put(ok_, TwipsToPixels(kOkLeft), buttonTop, kButtonWidth);
    Put(cancel_, TwipsToPixels(kCancelLeft) + shift, buttonTop, kButtonWidth);
    ok_->resize(ok_->width(), std::max(ok_->height(), TwipsToPixels(kButtonHeight)));
    cancel_->resize(cancel_->width(), ok_->height());
    setFixedSize(TwipsToPixels(kDesignWidth) + shift,
                 ok_->geometry().bottom() + TwipsToPixels(kBottomMargin));
}

void frmCh_edit::ShowChannel(int channel, const ChannelSides& sides) {
    channel_ = channel;
    ChannelSides filled = sides;
    filled.check = {false, false, false};
    SetSides(filled);
    const int shift =
        TwipsToPixels(kLabelLeft) + LabelWidth() + TwipsToPixels(100) - TwipsToPixels(kBoxLeft);
    Place(shift, false);
    for (QWidget* w : {static_cast<QWidget*>(labels_[4]), static_cast<QWidget*>(labels_[5]),
                       static_cast<QWidget*>(code_[0]), static_cast<QWidget*>(code_[1]),
                       static_cast<QWidget*>(checks_[0])})
        w->hide();
}

void frmCh_edit::ShowCustomer(const QString& customer, const QString& serial) {
    labels_[0]->setText(QStringLiteral("Customer     :"));
    labels_[1]->setText(QStringLiteral("Serial Number:"));
    code_[0]->setText(customer);
    code_[1]->setText(serial);
    Place(0, true);
    for (int i = 2; i < 8; ++i) labels_[i]->hide();
    for (int i = 0; i < 2; ++i) {
        freq_[i]->hide();
        tone_[i]->hide();
    }
    for (QCheckBox* c : checks_) c->hide();
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
        host_.Ui().Message(OkBox(ToneListError(list->count())));
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
        host_.Ui().Message(OkBox(std::string(kNotLegalChannel)));
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
