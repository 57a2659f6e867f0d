// The controls of the channel dialog and where they stand: the design layout in twips, moved
// so that every caption fits before its box, and the two arrangements of the channel and the
// customer texts.
#include <QCheckBox>
#include <QFontMetrics>
#include <QLabel>
#include <QPushButton>
#include <algorithm>

#include "channel/entry_boxes.h"
#include "channel/frm_ch_edit.h"
#include "image/tone_codec.h"
#include "platform/courier_font.h"
#include "platform/twips.h"

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
    for (const std::string& line : ToneTable()) tones << QString::fromStdString(line);
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

// The fills' dialog: four rows (area, target channels, start, spacing or mode) with the
// buttons below, every box right of the caption labels.
void frmCh_edit::ShowAuto(int lineCount, const QString& startFreq) {
    const bool subtone = Mode() == DialogMode::AutoSubt;
    constexpr std::array<int, 4> kRowTop = {120, 720, 1320, 1920};
    constexpr int kAutoButtonTop = 2520;
    constexpr int kTargetWidth = 720;
    constexpr int kToWidth = 600;
    const int labelWidth = LabelWidth();
    const int boxLeft = TwipsToPixels(kLabelLeft) + labelWidth + TwipsToPixels(100);
    const int shift = boxLeft - TwipsToPixels(kBoxLeft);

    labels_[0]->setText(QStringLiteral("Area            :"));
    labels_[2]->setText(QStringLiteral("Target Channels :"));
    labels_[5]->setText(QStringLiteral("  To"));
    labels_[3]->setText(QStringLiteral(" CH"));
    labels_[4]->setText(subtone ? QStringLiteral("Start Tone Code :")
                                : QStringLiteral("Start Freqency  :"));
    labels_[1]->setText(subtone ? QStringLiteral("Mode            :")
                                : QStringLiteral("Space Freqency  :"));
    labels_[7]->setText(QStringLiteral(" KHz"));
    checks_[0]->setText(QStringLiteral("Tx Only"));
    for (int row : {0, 2, 4, 1}) labels_[row]->show();

    // Area: "TX=RX", "RX ONLY", "Tx Only" side by side.
    Put(labels_[0], TwipsToPixels(kLabelLeft), kRowTop[0], 0);
    int left = boxLeft;
    for (int i : {2, 1, 0}) {
        Put(checks_[i], left, kRowTop[0], kCheckWidth);
        left += TwipsToPixels(kCheckWidth);
    }
    // Target channels: first "  To" last " CH".
    Put(labels_[2], TwipsToPixels(kLabelLeft), kRowTop[1], 0);
    Put(code_[0], boxLeft, kRowTop[1], kTargetWidth);
    Put(labels_[5], boxLeft + TwipsToPixels(kTargetWidth), kRowTop[1], kToWidth);
    Put(code_[1], boxLeft + TwipsToPixels(kTargetWidth + kToWidth), kRowTop[1], kTargetWidth);
    Put(labels_[3], boxLeft + TwipsToPixels(2 * kTargetWidth + kToWidth), kRowTop[1], kToWidth);
    // Start and spacing (or mode).
    Put(labels_[4], TwipsToPixels(kLabelLeft), kRowTop[2], 0);
    Put(labels_[1], TwipsToPixels(kLabelLeft), kRowTop[3], 0);
    for (int i = 0; i < 2; ++i) {
        Put(freq_[i], boxLeft, kRowTop[2 + i], kBoxWidth);
        Put(labels_[6 + i], TwipsToPixels(kUnitLeft) + shift, kRowTop[2 + i], 0);
        Put(tone_[i], boxLeft, kRowTop[2 + i], kListWidth);
    }
    for (QLabel* label : {labels_[0], labels_[1], labels_[2], labels_[4]})
        label->resize(labelWidth, label->height());
    Put(ok_, TwipsToPixels(kOkLeft), kAutoButtonTop, kButtonWidth);
    Put(cancel_, TwipsToPixels(kCancelLeft) + shift, kAutoButtonTop, kButtonWidth);
    ok_->resize(ok_->width(), std::max(ok_->height(), TwipsToPixels(kButtonHeight)));
    cancel_->resize(cancel_->width(), ok_->height());
    setFixedSize(TwipsToPixels(kDesignWidth) + shift,
                 ok_->geometry().bottom() + TwipsToPixels(kBottomMargin));

    // Presets, and what the fill does not use hidden and disabled.
    ChannelSides sides;
    sides.freq = {startFreq.toStdString(), "0"};
    sides.tone = {ToneTable()[1], "0  Identical"};
    sides.code = {"1", std::to_string(lineCount)};
    sides.check = {false, false, true};
    if (subtone) {
        tone_[1]->clear();
        tone_[1]->addItems({QStringLiteral("0  Identical"), QStringLiteral("1  Continual")});
    }
    SetSides(sides);
    for (int i = 0; i < 2; ++i) {
        QWidget* unused = subtone ? static_cast<QWidget*>(freq_[i]) : tone_[i];
        unused->hide();
        unused->setEnabled(false);
        if (subtone) labels_[6 + i]->hide();
    }
    QWidget* order[] = {code_[0],
                        code_[1],
                        subtone ? static_cast<QWidget*>(tone_[0]) : freq_[0],
                        subtone ? static_cast<QWidget*>(tone_[1]) : freq_[1],
                        cancel_,
                        ok_,
                        checks_[2],
                        checks_[1],
                        checks_[0]};
    for (std::size_t i = 1; i < std::size(order); ++i) setTabOrder(order[i - 1], order[i]);
    code_[0]->setFocus(Qt::OtherFocusReason);
}

}  // namespace talveron::channel
