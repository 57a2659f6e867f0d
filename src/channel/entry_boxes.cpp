#include "channel/entry_boxes.h"

#include <QFocusEvent>
#include <QKeyEvent>

#include "image/dialog_mode.h"

namespace talveron::channel {

bool RuleKey(const QKeyEvent* event, char& key) {
    switch (event->key()) {
        case Qt::Key_Backspace:
            key = kKeyBackspace;
            return true;
        case Qt::Key_Delete:
            key = kKeyDelete;
            return true;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            key = kKeyEnter;
            return true;
        case Qt::Key_Escape:
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
            return false;
        default:
            break;
    }
    const QString text = event->text();
    if (text.isEmpty()) return false;
    const char16_t c = text.at(0).unicode();
    key = c < 128 ? static_cast<char>(c) : 0;
    return true;
}

bool IsLeaving(Qt::FocusReason reason) {
    return reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason;
}

void EntryBox::keyPressEvent(QKeyEvent* event) {
    if (onKey && onKey(event)) return;
    QLineEdit::keyPressEvent(event);
}

void EntryBox::mouseReleaseEvent(QMouseEvent* event) {
    QLineEdit::mouseReleaseEvent(event);
    if (onMouseUp) onMouseUp();
}

void EntryBox::focusInEvent(QFocusEvent* event) {
    const int caret = cursorPosition();
    QLineEdit::focusInEvent(event);
    if (keepCaret) setCursorPosition(caret);
    if (onFocusIn) onFocusIn();
}

void EntryBox::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    if (onLeave && IsLeaving(event->reason())) onLeave();
}

EntryList::EntryList(QWidget* parent) : QComboBox(parent) {
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    setCompleter(nullptr);  // a typed "0" must stay a "0", not become "000 No Tone"
}

void EntryList::keyPressEvent(QKeyEvent* event) {
    if (onKey && onKey(event)) return;
    QComboBox::keyPressEvent(event);
}

void EntryList::focusOutEvent(QFocusEvent* event) {
    QComboBox::focusOutEvent(event);
    if (onLeave && IsLeaving(event->reason())) onLeave();
}

}  // namespace talveron::channel
