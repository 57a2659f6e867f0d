// The frequency boxes of the channel dialog (index 0 receive, 1 transmit) as a small editor.
// A box holds "NONE" or ten characters such as 440.012500; only the MHz digits and the first
// three decimals can be typed, over what is there (overwrite), and the last three decimals are
// completed to the channel raster. In the Auto Frequency dialog box 0 is the start frequency
// and box 1 a free spacing in kHz.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "image/dialog_mode.h"
#include "image/model_table.h"

namespace talveron {

// What a key or a change did to a box.
struct FreqEdit {
    TextBox box;                                // the box afterwards
    DialogControl focus = DialogControl::None;  // where Enter sends the focus
    bool ruleRan = false;  // the change rule rewrote the box: its range check follows
    bool cleared = false;  // the box became "NONE": its range and step flags clear
};

// The key filter: Backspace and Delete pass; digits while the caret is at 0 to 6; "." only in
// the spacing box of the Auto modes while it has none; Enter and every other key are dropped.
bool FreqKeyPasses(DialogMode mode, int index, char key, const TextBox& box);

// A key in a box: the filter, Enter's focus move, the toolkit's insert or delete, then the
// change rule. bandDigit is the first digit of the band (start frequency of Auto Frequency).
FreqEdit FreqKey(DialogMode mode, int index, const TextBox& box, char key, int bandDigit);

// The change rule alone, on the text and caret the toolkit left after an insert or delete.
FreqEdit FreqChange(DialogMode mode, int index, TextBox after, int bandDigit);

// The caret after a mouse click: position 3 (before the point) becomes 4, in box 0 and in
// box 1 of the channel dialog.
int FreqClickCaret(DialogMode mode, int index, int caret);

// Box 1 outside channel mode shows "0" whenever it gets the focus.
bool FreqFocusResets(DialogMode mode, int index);

// FG_OutRange and FG_BadStep of both boxes.
struct FreqFlags {
    std::array<bool, 2> outRange{};
    std::array<bool, 2> badStep{};
};

// ScanRTxFreq's check of one box against the band in whole MHz and the 5 kHz and 6.25 kHz
// rasters. "NONE" leaves the flags; the spacing box of Auto Frequency is not checked.
void ScanFreq(DialogMode mode, FreqFlags& flags, int index, std::string_view text, BandLimits band);

// The first verdict over both boxes ("Rx Freqency Out of Range !" ...), or empty.
std::string FreqVerdict(const FreqFlags& flags);

}  // namespace talveron
