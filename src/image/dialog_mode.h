// The channel dialog serves several purposes: one channel, the two automatic fills and the
// customer texts. Its opener captions it, and every rule of its boxes depends on the purpose
// the caption names; the two fills share the caption "Auto..." and are told apart by a flag.
#pragma once

#include <string>
#include <string_view>

namespace talveron {

enum class DialogMode { Channel, AutoFreq, AutoSubt, Customer, Other };

// "Chan..." is a channel, "Auto..." a fill (Auto Subtone when autoSubtMode is set),
// "Cust..." the customer texts.
DialogMode DialogModeOf(std::string_view caption, bool autoSubtMode);

constexpr bool IsAuto(DialogMode mode) {
    return mode == DialogMode::AutoFreq || mode == DialogMode::AutoSubt;
}

// Controls of the dialog that Enter can send the focus to.
enum class DialogControl { None, RxFreq0, RxFreq1, RxTone0, RxTone1, RxDtmf0, RxDtmf1, OK, Cancel };

// Keys as the boxes see them; every other key is the character it types.
inline constexpr char kKeyBackspace = 8;
inline constexpr char kKeyEnter = 13;
inline constexpr char kKeyDelete = 127;

constexpr bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// A one-line box: its text and the caret, the number of characters before it.
struct TextBox {
    std::string text;
    int caret = 0;

    bool operator==(const TextBox&) const = default;
};

// What the toolkit does with a key that reaches a box: Backspace and Delete remove the
// character before or after the caret, any other key inserts its character at the caret.
// False when the key changes nothing (Backspace at the start, Delete at the end).
bool ApplyKey(TextBox& box, char key);

}  // namespace talveron
