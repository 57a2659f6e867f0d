#include "sysoption/frm_sys_option.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

#include "image/document.h"

namespace talveron::sysoption {

namespace {

using S = SysSetting;

QLabel* Caption(const char* name, std::string_view text, QWidget* parent) {
    auto* label = new QLabel(QString::fromUtf8(text.data(), text.size()), parent);
    label->setObjectName(QString::fromLatin1(name));
    return label;
}

QComboBox* List(const QString& name, QWidget* parent) {
    auto* box = new QComboBox(parent);
    box->setObjectName(name);
    return box;
}

// Fills a list with entries (text, stored value) and selects the stored value; a value that
// is none of the entries gets an entry of its own, so OK keeps it unless another is chosen.
void Fill(QComboBox* box, const std::vector<std::pair<std::string, int>>& entries, S setting,
          int value) {
    box->clear();
    for (const auto& [text, stored] : entries) box->addItem(QString::fromStdString(text), stored);
    int index = box->findData(value);
    if (index < 0) {
        box->addItem(QString::fromStdString(ValueText(setting, value)), value);
        index = box->count() - 1;
    }
    box->setCurrentIndex(index);
}

std::vector<std::pair<std::string, int>> EntriesOf(S setting, const std::vector<int>& used) {
    std::vector<std::pair<std::string, int>> entries;
    const std::vector<std::string>& fixed = FixedEntries(setting);
    for (std::size_t i = 0; i < fixed.size(); ++i)
        entries.emplace_back(fixed[i],
                             setting == S::ScanAttack ? ScanAttackSeconds[i] : static_cast<int>(i));
    if (setting == S::PriorityChannel) {
        entries.emplace_back("OFF", 0);
        for (int ch : used) entries.emplace_back(std::to_string(ch), ch);
    } else if (setting == S::PttResume) {
        entries.emplace_back("OFF", 0);
        for (int s = 1; s <= 225; ++s) entries.emplace_back(std::to_string(s), s);
    }
    return entries;
}

}  // namespace

frmSysOption::frmSysOption(int number, const Document& doc, QWidget* parent)
    : QDialog(parent), number_(number), channelCount_(doc.BlockCount()), head_(doc.state.head) {
    setObjectName(QStringLiteral("frmSysOption"));
    setWindowTitle(QStringLiteral("System Option Edit"));
    setAttribute(Qt::WA_DeleteOnClose);
    setModal(false);

    auto* grid = new QGridLayout(this);
    for (int k = 0; k < 6; ++k) {
        const auto setting = static_cast<S>(k);
        labels_[k] = Caption(QStringLiteral("lblSysOp_%1").arg(k).toLatin1().constData(),
                             SettingInfo(setting).label, this);
        lists_[k] = List(QStringLiteral("cboSysOp_%1").arg(k), this);
        // Three rows of two settings: 0-2 on the left, 3-5 on the right.
        grid->addWidget(labels_[k], k % 3, (k / 3) * 2);
        grid->addWidget(lists_[k], k % 3, (k / 3) * 2 + 1);
    }
    bclo_ = List(QStringLiteral("cboBCLO"), this);
    ptt_ = List(QStringLiteral("cboPttTrsm"), this);
    grid->addWidget(Caption("Text1", SettingInfo(S::BcloFor).label, this), 3, 0);
    grid->addWidget(bclo_, 3, 1);
    grid->addWidget(Caption("Txt1", SettingInfo(S::PttResume).label, this), 3, 2);
    grid->addWidget(ptt_, 3, 3);
    auto check = [this](const char* name, S setting) {
        auto* box = new QCheckBox(QString::fromUtf8(SettingInfo(setting).label.data()), this);
        box->setObjectName(QString::fromLatin1(name));
        return box;
    };
    monitor_ = check("chkMonitor", S::Monitor);
    reverse_ = check("chkReverse", S::ReverseBurst);
    beep_ = check("chkBeep", S::Beep);
    grid->addWidget(monitor_, 4, 0, 1, 2);
    grid->addWidget(reverse_, 4, 2);
    grid->addWidget(beep_, 4, 3);

    ok_ = new QPushButton(QStringLiteral("OK"), this);
    ok_->setObjectName(QStringLiteral("OKButton"));
    cancel_ = new QPushButton(QStringLiteral("Cancel"), this);
    cancel_->setObjectName(QStringLiteral("CancelButton"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok_);
    buttons->addWidget(cancel_);
    grid->addLayout(buttons, 5, 0, 1, 4);

    // Fill from the head copy.
    SystemOptions stored = ReadSystemOptions(head_);
    const std::vector<int> used = ChannelsInUse(doc.lines);
    const bool large = HiddenForChannels(S::ScanAttack, channelCount_);
    if (large) stored[S::ScanAttack] = 0;
    for (const SysSettingInfo& info : SystemSettings()) {
        if (QComboBox* box = ListFor(info.setting))
            Fill(box, EntriesOf(info.setting, used), info.setting, stored[info.setting]);
    }
    // Without a channel in use there is nothing to give priority to.
    if (used.empty()) {
        Fill(lists_[2], {{"OFF", 0}}, S::PriorityChannel, 0);
        lists_[2]->setEnabled(false);
    }
    monitor_->setChecked(stored[S::Monitor] != 0);
    reverse_->setChecked(stored[S::ReverseBurst] != 0);
    beep_->setChecked(stored[S::Beep] != 0);
    if (large) {
        // A 99-channel radio has no scan attack timer and no reverse burst; BEEP ON takes the
        // place of the hidden label.
        labels_[5]->hide();
        lists_[5]->hide();
        reverse_->hide();
        grid->removeWidget(beep_);
        grid->addWidget(beep_, 2, 2);
    }

    connect(ok_, &QPushButton::clicked, this, [this] {
        HeadBytes head = head_;
        WriteSystemOptions(Chosen(), head, channelCount_);
        if (onAccept) onAccept(number_, head);
        close();
    });
    connect(cancel_, &QPushButton::clicked, this, &QDialog::close);
}

QComboBox* frmSysOption::ListFor(S setting) const {
    const int k = static_cast<int>(setting);
    if (k < 6) return lists_[static_cast<std::size_t>(k)];
    if (setting == S::BcloFor) return bclo_;
    if (setting == S::PttResume) return ptt_;
    return nullptr;
}

SystemOptions frmSysOption::Chosen() const {
    SystemOptions chosen = ReadSystemOptions(head_);
    for (const SysSettingInfo& info : SystemSettings())
        if (QComboBox* box = ListFor(info.setting))
            chosen[info.setting] = box->currentData().toInt();
    chosen[S::Monitor] = monitor_->isChecked();
    chosen[S::ReverseBurst] = reverse_->isChecked();
    chosen[S::Beep] = beep_->isChecked();
    return chosen;
}

}  // namespace talveron::sysoption
