#include "image/dialog_mode.h"

#include <algorithm>

namespace talveron {

DialogMode DialogModeOf(std::string_view caption, bool autoSubtMode) {
    const std::string_view head = caption.substr(0, 4);
    if (head == "Chan") return DialogMode::Channel;
    if (head == "Auto") return autoSubtMode ? DialogMode::AutoSubt : DialogMode::AutoFreq;
    if (head == "Cust") return DialogMode::Customer;
    return DialogMode::Other;
}

bool ApplyKey(TextBox& box, char key) {
    const int size = static_cast<int>(box.text.size());
    box.caret = std::clamp(box.caret, 0, size);
    if (key == kKeyBackspace) {
        if (box.caret == 0) return false;
        box.text.erase(static_cast<std::size_t>(--box.caret), 1);
    } else if (key == kKeyDelete) {
        if (box.caret == size) return false;
        box.text.erase(static_cast<std::size_t>(box.caret), 1);
    } else {
        box.text.insert(static_cast<std::size_t>(box.caret++), 1, key);
    }
    return true;
}

}  // namespace talveron
