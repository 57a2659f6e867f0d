// The text boxes and editable lists of the channel dialogs with hooks for their key, mouse
// and focus events, so that the dialog can run the entry rules before the toolkit does.
#pragma once

#include <QComboBox>
#include <QLineEdit>
#include <functional>

class QKeyEvent;

namespace talveron::channel {

// The key as the entry rules see it: Backspace, Delete, Enter or the character typed (0 for
// one outside ASCII). False for keys left to the toolkit: moving the caret or the focus,
// Escape, and keys that type nothing.
bool RuleKey(const QKeyEvent* event, char& key);

// True for a focus loss that the leave checks answer: not to a popup of the box itself nor
// to another window.
bool IsLeaving(Qt::FocusReason reason);

class EntryBox : public QLineEdit {
  public:
    using QLineEdit::QLineEdit;
    // Keeps the caret where it was when the box gets the focus, instead of selecting all.
    bool keepCaret = false;
    // True when the key was handled (applied or dropped); false leaves it to the toolkit.
    std::function<bool(QKeyEvent*)> onKey;
    std::function<void()> onMouseUp;
    std::function<void()> onFocusIn;
    std::function<void()> onLeave;

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
};

class EntryList : public QComboBox {
  public:
    explicit EntryList(QWidget* parent = nullptr);
    std::function<bool(QKeyEvent*)> onKey;
    std::function<void()> onLeave;

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
};

}  // namespace talveron::channel
