#include "channel/frm_set_ch_op.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace talveron::channel {

namespace {

struct Frame {
    const char* caption;
    const char* set;    // button 2j: the bit is 1
    const char* clear;  // button 2j + 1: the bit is 0
};
constexpr std::array<Frame, 5> kFrames = {{{"SPACE", "12.5K", "25.0K"},
                                           {"RF_POWER", "HIGH", "LOW"},
                                           {"BCLO", "ON", "OFF"},
                                           {"SCAN", "ON", "OFF"},
                                           {"PENALTY", "ON", "OFF"}}};
// Where each frame stands: SPACE, RF_POWER and BCLO above, SCAN and PENALTY below.
constexpr std::array<std::array<int, 2>, 5> kCells = {{{0, 0}, {0, 1}, {0, 2}, {1, 0}, {1, 1}}};

}  // namespace

frmSetChOP::frmSetChOP(int number, int channel, std::uint8_t option, QWidget* parent)
    : QDialog(parent), number_(number), channel_(channel) {
    setObjectName(QStringLiteral("frmSetChOP"));
    setAttribute(Qt::WA_DeleteOnClose);
    setModal(false);
    setWindowTitle(QStringLiteral("Channel %1 Option Edit").arg(channel));
    auto* grid = new QGridLayout(this);
    const OptionChoices choices = OptionChoicesOf(option);
    for (int j = 0; j < 5; ++j) {
        frames_[j] = new QGroupBox(QString::fromLatin1(kFrames[j].caption), this);
        frames_[j]->setObjectName(QStringLiteral("fraChOption%1").arg(j));
        auto* column = new QVBoxLayout(frames_[j]);
        for (int k = 0; k < 2; ++k) {
            const int i = 2 * j + k;
            buttons_[i] = new QRadioButton(
                QString::fromLatin1(k == 0 ? kFrames[j].set : kFrames[j].clear), frames_[j]);
            buttons_[i]->setObjectName(QStringLiteral("optChOption%1").arg(i));
        }
        // SPACE shows 12.5K above 25.0K; the others their second button above the first.
        const bool setFirst = j == 0;
        column->addWidget(buttons_[2 * j + (setFirst ? 0 : 1)]);
        column->addWidget(buttons_[2 * j + (setFirst ? 1 : 0)]);
        buttons_[2 * j + (choices[j] ? 0 : 1)]->setChecked(true);
        grid->addWidget(frames_[j], kCells[j][0], kCells[j][1]);
    }
    auto* commands = new QVBoxLayout;
    for (int i = 0; i < 2; ++i) {
        commands_[i] =
            new QPushButton(i == 0 ? QStringLiteral("OK") : QStringLiteral("CANCL"), this);
        commands_[i]->setObjectName(QStringLiteral("cmdOkBT%1").arg(i));
        commands->addWidget(commands_[i]);
    }
    grid->addLayout(commands, 1, 2);
    connect(commands_[0], &QPushButton::clicked, this, [this] {
        if (onOk) onOk(*this);
        close();
    });
    connect(commands_[1], &QPushButton::clicked, this, &QDialog::close);
}

OptionChoices frmSetChOP::Choices() const {
    OptionChoices choices{};
    for (int j = 0; j < 5; ++j) choices[j] = !buttons_[2 * j + 1]->isChecked();
    return choices;
}

}  // namespace talveron::channel
