// Entry rules of the call-guard lists (Rx_tone 0 and 1) and the code boxes (Rx_DTMF 0 and 1)
// of the channel dialog, in each of its modes. A list holds numbered lines (the 155 tones:
// list position = tone code) and takes a typed line number; the code boxes are the selective
// call and ANI codes of a channel, the target channels of the Auto fills, or the customer
// and serial texts.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "image/dialog_mode.h"

namespace talveron {

inline constexpr std::string_view kInputErr = "Input Err! Maximun Number is ";
inline constexpr std::string_view kNotLegalChannel =
    "Not a legal channel number,please input again";

// What a key does in a list or a code box.
struct EntryKey {
    bool passes = false;                        // the key reaches the box
    char key = 0;                               // the character it types (a to d typed as A to D)
    DialogControl focus = DialogControl::None;  // where Enter sends the focus
    bool overwrite = false;  // the code box change rule follows the typed character
};

// Lists: Enter moves the focus, Backspace, Delete and digits pass, every other key is dropped.
EntryKey ToneListKey(DialogMode mode, int index, char key);

// Leaving a list: the line its text names (the first three characters as a number 0 to 255,
// no greater than the last line), or nothing, when "Input Err! Maximun Number is " followed
// by lineCount - 1 is shown (ToneListError) and the focus stays in the list.
std::optional<int> ToneListLine(std::string_view text, int lineCount);
std::string ToneListError(int lineCount);

// Code boxes: channel mode takes up to four DTMF characters (digits, A to D, * and #), the
// Auto modes two-digit channel numbers, customer mode any text.
EntryKey CodeBoxKey(DialogMode mode, int index, char key, int caret);

// The change rule after a typed character (not in customer mode): the digit after the caret
// is overwritten; when no digit follows, the text ends at the caret.
TextBox CodeBoxChange(TextBox after);

// Leaving a channel-mode code box: padded with "0" in front to four characters.
std::string PadCode(std::string_view code);

// Leaving a target channel box of the Auto modes (index 0 first, 1 last) with N channels:
// the texts afterwards, and whether kNotLegalChannel is shown (the focus then returns).
struct TargetRange {
    std::string first;
    std::string last;
    bool refused = false;
};
TargetRange LeaveTarget(int index, TargetRange range, int channelCount);

}  // namespace talveron
