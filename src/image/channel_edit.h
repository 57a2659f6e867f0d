// One channel in the channel dialog: its two sides as the dialog's boxes hold them, filled
// from a channel line, the check boxes that make it receive-only or copy the receive side,
// and the 54-character line its OK writes back.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "image/dialog_mode.h"

namespace talveron {

// The receive (0) and transmit (1) side and the three check boxes: 0 "Scan OFF" (hidden),
// 1 "RX ONLY", 2 "TX=RX".
struct ChannelSides {
    std::array<std::string, 2> freq;  // "440.012500" or "NONE"
    std::array<std::string, 2> tone;  // the list's text: "012 CTCSS 100.0", or digits typed
    std::array<std::string, 2> code;  // the selective call and ANI codes (hidden)
    std::array<bool, 3> check{};

    bool operator==(const ChannelSides&) const = default;
};

// "Channel No.5 (" + the model label from its 7th character + "," + the range label + "MHz)".
std::string ChannelCaption(int number, std::string_view modelLabel, std::string_view rangeLabel);

// The dialog's boxes for a channel line, cut at fixed places one or two columns before the
// fields, so that lines rewritten by the Auto Subtone fill read the same way.
ChannelSides SidesFromLine(std::string_view line);

// The list text for a tone code: its line, or the code alone for a code outside the list (a
// damaged record), which the list's check then refuses.
std::string ToneListText(int code);

// The channel line OK writes: number, both frequencies, tone codes and tone names at their
// full widths (54 characters).
std::string BuildChannelLine(int number, const ChannelSides& sides);

// A click on check box index, its new state already set. In channel mode "RX ONLY" clears the
// transmit side and unchecks "TX=RX"; "TX=RX" copies the receive side and unchecks "RX ONLY";
// an uncheck by the program clicks that box in turn. In the Auto modes a checked box unchecks
// the other two. Customer mode: nothing.
void ClickCheck(DialogMode mode, ChannelSides& sides, int index);

}  // namespace talveron
