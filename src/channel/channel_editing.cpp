#include "channel/channel_editing.h"

#include <QLabel>
#include <QLineEdit>

#include "channel/editor_host.h"
#include "channel/frm_ch_edit.h"
#include "channel/frm_ch_option.h"
#include "channel/frm_set_ch_op.h"
#include "document/frm_notepad.h"
#include "image/channel_edit.h"
#include "sysoption/frm_sys_option.h"

namespace talveron::channel {

ChannelEditing::ChannelEditing(EditorHost& host, QWidget* dialogParent)
    : host_(host), parent_(dialogParent) {}

ChannelEditing::~ChannelEditing() = default;

frmCh_edit* ChannelEditing::ChEdit() const {
    return chEdit_;
}

frmCHoption* ChannelEditing::OptionList() const {
    return optionList_;
}

frmSetChOP* ChannelEditing::OptionEdit() const {
    return optionEdit_;
}

sysoption::frmSysOption* ChannelEditing::SysOption() const {
    return sysOption_;
}

frmCh_edit* ChannelEditing::NewChEdit(int number, const QString& caption, bool autoSubtMode) {
    if (chEdit_) chEdit_->Discard();
    auto* dialog = new frmCh_edit(host_, number, parent_);
    dialog->SetCaption(caption, autoSubtMode);
    dialog->onClose = [this](frmCh_edit& d) {
        const DialogMode mode = d.Mode();
        if (mode == DialogMode::Channel || IsAuto(mode)) host_.CheckActiveRanges();
        host_.HoldTimer(false);
    };
    chEdit_ = dialog;
    return dialog;
}

void ChannelEditing::Show(QWidget* dialog) {
    host_.HoldTimer(true);
    dialog->show();
    dialog->raise();
    dialog->activateWindow();
}

void ChannelEditing::OpenChannel(int number, int row) {
    const Document* doc = host_.DocumentOf(number);
    const document::frmNotePad* window = host_.Window(number);
    if (!doc || !window || row < 0 || row >= doc->BlockCount()) return;
    const int channel = row + 1;
    const QString caption = QString::fromStdString(ChannelCaption(
        channel, window->Label3(8)->text().toStdString(), window->Label3(9)->text().toStdString()));
    frmCh_edit* dialog = NewChEdit(number, caption);
    dialog->ShowChannel(channel, SidesFromLine(doc->lines[static_cast<std::size_t>(row)]));
    dialog->onOk = [this](frmCh_edit& d) {
        const int ch = d.Channel();
        const std::string line = BuildChannelLine(ch, d.Sides());
        Edit(d.Number(), "Channel " + std::to_string(ch), [&](Document& target) {
            if (ch >= 1 && ch <= target.BlockCount())
                target.lines[static_cast<std::size_t>(ch - 1)] = line;
        });
        if (document::frmNotePad* w = host_.Window(d.Number())) w->SelectRow(ch - 1);
        return true;
    };
    Show(dialog);
}

void ChannelEditing::OpenCustomer(int number) {
    const Document* doc = host_.DocumentOf(number);
    if (!doc) return;
    frmCh_edit* dialog = NewChEdit(number, QStringLiteral("Customer Info."));
    dialog->ShowCustomer(QString::fromStdString(doc->customer),
                         QString::fromStdString(doc->serial));
    dialog->onOk = [this](frmCh_edit& d) {
        const std::string customer = d.Rx_DTMF(0)->text().toStdString();
        const std::string serial = d.Rx_DTMF(1)->text().toStdString();
        Edit(d.Number(), "Customer", [&](Document& target) {
            target.customer = customer;
            target.serial = serial;
        });
        return true;
    };
    Show(dialog);
}

void ChannelEditing::OpenOptionList(int number) {
    const Document* doc = host_.DocumentOf(number);
    const document::frmNotePad* window = host_.Window(number);
    if (!doc || !window) return;
    if (!optionList_) {
        optionList_ = new frmCHoption(parent_);
        optionList_->onOpen = [this](int channel) {
            if (optionList_) OpenOptionEdit(optionList_->Number(), channel);
        };
    }
    optionList_->Fill(number, *doc);
    optionList_->PlaceBeside(*window);
    optionList_->show();
    optionList_->raise();
    optionList_->activateWindow();
}

void ChannelEditing::OpenOptionEdit(int number, int channel) {
    const Document* doc = host_.DocumentOf(number);
    if (!doc || channel < 1 || channel > static_cast<int>(doc->state.chOpt.size())) return;
    if (optionEdit_) optionEdit_->close();
    auto* dialog = new frmSetChOP(number, channel,
                                  doc->state.chOpt[static_cast<std::size_t>(channel - 1)], parent_);
    dialog->onOk = [this](frmSetChOP& d) {
        const int ch = d.Channel();
        const OptionChoices choices = d.Choices();
        Edit(d.Number(), "Channel " + std::to_string(ch) + " Option", [&](Document& target) {
            auto& option = target.state.chOpt[static_cast<std::size_t>(ch - 1)];
            option = ComposeOption(option, choices);
        });
        if (optionList_ && optionList_->Number() == d.Number()) optionList_->SelectChannel(ch);
    };
    optionEdit_ = dialog;
    dialog->show();
    dialog->raise();
    dialog->activateWindow();
}

DocChanges ChannelEditing::Edit(int number, std::string_view label,
                                const std::function<void(Document&)>& edit) {
    return Apply(number, [&](Document& doc) { return EditDocument(doc, label, edit); });
}

DocChanges ChannelEditing::Undo(int number) {
    return Apply(number, UndoEdit);
}

DocChanges ChannelEditing::Redo(int number) {
    return Apply(number, RedoEdit);
}

DocChanges ChannelEditing::Apply(int number, const std::function<DocChanges(Document&)>& step) {
    Document* doc = host_.DocumentOf(number);
    if (!doc || host_.TransferRunning()) return {};
    const DocChanges changes = step(*doc);
    ShowChanges(number, changes);
    return changes;
}

void ChannelEditing::ShowChanges(int number, const DocChanges& changes) {
    const Document* doc = host_.DocumentOf(number);
    if (!doc) return;
    if (document::frmNotePad* window = host_.Window(number)) window->ShowChanges(changes);
    const bool lines = !changes.lines.empty() || changes.lineCount;
    if (optionList_ && optionList_->Number() == number && (lines || changes.options))
        optionList_->Fill(number, *doc);
    if (lines && number == host_.ActiveNumber()) host_.CheckActiveRanges();
}

void ChannelEditing::DocumentClosing(int number) {
    if (chEdit_ && chEdit_->Number() == number) {
        chEdit_->Discard();
        host_.HoldTimer(false);
    }
    if (optionEdit_ && optionEdit_->Number() == number) optionEdit_->close();
    if (optionList_ && optionList_->Number() == number) optionList_->close();
    if (sysOption_ && sysOption_->Number() == number) sysOption_->close();
}

void ChannelEditing::CloseAll() {
    if (chEdit_) chEdit_->Discard();
    if (optionEdit_) optionEdit_->close();
    if (optionList_) optionList_->close();
    if (sysOption_) sysOption_->close();
}

void ChannelEditing::SetTransferLock(bool locked) {
    for (QWidget* w :
         {static_cast<QWidget*>(chEdit_.data()), static_cast<QWidget*>(optionList_.data()),
          static_cast<QWidget*>(optionEdit_.data()), static_cast<QWidget*>(sysOption_.data())})
        if (w) w->setEnabled(!locked);
}

}  // namespace talveron::channel
