// The document tools that rewrite many lines or the head at once: the channel clipboard, the
// automatic fills through the channel dialog in its Auto modes, and the system options. Each
// change is one step of the document's history, like a channel's OK.
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

#include "channel/channel_editing.h"
#include "channel/editor_host.h"
#include "channel/frm_ch_edit.h"
#include "document/frm_notepad.h"
#include "image/auto_fill.h"
#include "image/call_guard_entry.h"
#include "image/channel_clipboard.h"
#include "platform/ui_services.h"
#include "sysoption/frm_sys_option.h"

namespace talveron::channel {

namespace {

// What the status line says when a fill is refused; the dialog stays open to mend it.
QString FillRefusal(const FillResult& result) {
    switch (result.error) {
        case FillError::BadStart:
            return QStringLiteral("Auto Frequency not done: the start is no frequency");
        case FillError::BadSpacing:
            return QStringLiteral("Auto Frequency not done: the spacing is no number");
        case FillError::OutOfDigits:
            return QStringLiteral(
                       "Auto Frequency not done: Channel #%1 would be outside "
                       "100-999 MHz")
                .arg(result.badChannel);
        case FillError::None:
            break;
    }
    return {};
}

}  // namespace

void ChannelEditing::Copy(int number) {
    document::frmNotePad* window = host_.Window(number);
    const Document* doc = host_.DocumentOf(number);
    if (!window || !doc || host_.TransferRunning()) return;
    if (QAction* paste = window->Action(QStringLiteral("mnuEPaste"))) paste->setEnabled(true);
    const std::string text = CopyChannels(doc->lines, window->SelectedRows(), host_.Clip());
    // Without a selected line the clipboard of other programs keeps what it had.
    if (!text.empty())
        host_.Ui().SetClipboardText(host_.Ui().ClipboardText() + QString::fromStdString(text));
}

void ChannelEditing::Cut(int number) {
    Copy(number);
    Delete(number, false);
}

void ChannelEditing::Delete(int number) {
    Delete(number, true);
}

void ChannelEditing::Delete(int number, bool emptyClipboards) {
    document::frmNotePad* window = host_.Window(number);
    if (!window || host_.TransferRunning()) return;
    const std::vector<int> rows = window->SelectedRows();
    Edit(number, emptyClipboards ? "Delete" : "Cut",
         [&](Document& doc) { ClearChannels(doc.lines, rows); });
    if (!emptyClipboards) return;
    host_.Ui().SetClipboardText(QString());
    host_.Clip().clear();
}

void ChannelEditing::Paste(int number) {
    document::frmNotePad* window = host_.Window(number);
    if (!window || host_.TransferRunning()) return;
    // Without a current line there is no place to paste to.
    const int current = window->CurrentRow();
    if (current < 0) return;
    const std::vector<int> rows = window->SelectedRows();
    const ClipLines clip = host_.Clip();
    Edit(number, "Paste", [&](Document& doc) { PasteChannels(doc.lines, clip, rows, current); });
    if (number == host_.ActiveNumber()) host_.CheckActiveRanges();
}

void ChannelEditing::OpenAutoFreq(int number) {
    const Document* doc = host_.DocumentOf(number);
    const document::frmNotePad* window = host_.Window(number);
    if (!doc || !window || host_.TransferRunning()) return;
    const QString range = window->Label3(9)->text();
    const QString caption = QStringLiteral("Auto Frequency (") + window->Label3(8)->text().mid(6) +
                            QLatin1Char(',') + range + QStringLiteral("MHz)");
    frmCh_edit* dialog = NewChEdit(number, caption);
    dialog->ShowAuto(doc->BlockCount(),
                     QString::fromStdString(
                         AutoFreqStart(doc->lines, window->CurrentRow(), range.toStdString())));
    dialog->onOk = [this](frmCh_edit& d) { return RunFill(d); };
    Show(dialog);
}

void ChannelEditing::OpenAutoTone(int number) {
    const Document* doc = host_.DocumentOf(number);
    if (!doc || !host_.Window(number) || host_.TransferRunning()) return;
    frmCh_edit* dialog = NewChEdit(number, QStringLiteral("Auto Subtone"), true);
    dialog->ShowAuto(doc->BlockCount(), QString());
    dialog->onOk = [this](frmCh_edit& d) { return RunFill(d); };
    Show(dialog);
}

// OK of a fill's dialog: the target channels must lie in the list, and an Auto Frequency walk
// must give frequencies a line can hold; otherwise nothing is written and the dialog stays.
bool ChannelEditing::RunFill(frmCh_edit& d) {
    const Document* doc = host_.DocumentOf(d.Number());
    if (!doc) return true;
    const auto range = FillTargets(d.Rx_DTMF(0)->text().toStdString(),
                                   d.Rx_DTMF(1)->text().toStdString(), doc->BlockCount());
    if (!range) {
        host_.Ui().Message(platform::OkMessage(
            QString::fromUtf8(kNotLegalChannel.data(), int(kNotLegalChannel.size()))));
        d.Rx_DTMF(0)->setFocus(Qt::OtherFocusReason);
        return false;
    }
    const FillArea area = FillAreaOf(d.Check1(0)->isChecked(), d.Check1(1)->isChecked());
    std::vector<std::string> lines = doc->lines;
    const bool subtone = d.Mode() == DialogMode::AutoSubt;
    FillResult result;
    if (subtone) {
        const int code = d.Rx_tone(0)->currentText().left(3).toInt();
        result = AutoSubt(lines, *range, area, code, d.Rx_tone(1)->currentIndex() == 1);
    } else {
        result = AutoFreq(lines, *range, area, d.Rx_freq(0)->text().toStdString(),
                          d.Rx_freq(1)->text().toStdString());
    }
    if (result.error != FillError::None) {
        host_.ShowDialogVerdict(FillRefusal(result));
        host_.Ui().Beep();
        return false;
    }
    const int number = d.Number();
    Edit(number, subtone ? "Auto Subtone" : "Auto Frequency",
         [&](Document& target) { target.lines = lines; });
    if (document::frmNotePad* window = host_.Window(number)) {
        window->SelectRow(range->last - 1);
        if (!subtone) window->SelectRow(0);
    }
    return true;
}

void ChannelEditing::OpenSystemOptions(int number) {
    const Document* doc = host_.DocumentOf(number);
    if (!doc || host_.TransferRunning()) return;
    if (sysOption_) sysOption_->close();
    auto* dialog = new sysoption::frmSysOption(number, *doc, parent_);
    // OK writes into the document the dialog was opened for, whichever window is active.
    dialog->onAccept = [this](int n, const HeadBytes& head) {
        Edit(n, "System Options", [&](Document& target) { target.state.head = head; });
    };
    sysOption_ = dialog;
    dialog->show();
    dialog->raise();
    dialog->activateWindow();
}

}  // namespace talveron::channel
