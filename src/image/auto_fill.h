// Filling a run of channels in one step: Auto Frequency gives the channels frequencies rising
// by a fixed spacing from a start, Auto Subtone gives them one call guard or consecutive
// codes. Both overwrite fields of the channel lines in place and renumber the lines; the
// image is rebuilt from the lines later, as after any edit.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace talveron {

// Which fields a fill writes, from the dialog's three exclusive boxes: "Tx Only" wins, then
// "RX ONLY"; with neither ticked both sides are written ("TX=RX" is never consulted).
enum class FillArea { Both, RxOnly, TxOnly };
FillArea FillAreaOf(bool txOnlyTicked, bool rxOnlyTicked);

// Target channels, counted from 1, both included.
struct FillRange {
    int first = 1;
    int last = 1;
};

// The target range as typed into the two boxes, when it can be filled: both whole numbers
// and 1 <= first <= last <= lineCount. Anything else (a first of 0 left by a correction, a
// pasted text, a last beyond the list) is refused with kNotLegalChannel (call_guard_entry.h)
// by the caller.
std::optional<FillRange> FillTargets(std::string_view first, std::string_view last, int lineCount);

// The start frequency the Auto Frequency dialog opens with: the current line's receive
// frequency (columns 5-14), or, when that is NONE or there is no current line, the lower
// band edge of the Range label (its characters 7-9, "Range:140-175MHz") and ".000000".
std::string AutoFreqStart(const std::vector<std::string>& lines, int current,
                          std::string_view rangeCaption);

// The spacing box's text in kHz, read as a single-precision number, times 1000, rounded to
// whole hertz with halves to even ("12.5" -> 12500). Empty when the text is not a number.
std::optional<std::int64_t> SpacingHz(std::string_view kilohertz);

// Writes text over a line from a 0-based column on, keeping the line's length and the
// characters on both sides.
void OverwriteField(std::string& line, std::size_t column, std::string_view text);
// Puts a channel number into a line's first columns: one digit and a blank, or the digits.
void RenumberLine(std::string& line, int number);

enum class FillError {
    None,
    BadStart,     // the start text is not three digits, ".", six digits
    BadSpacing,   // the spacing is not a number
    OutOfDigits,  // a frequency of the walk would need other than three MHz digits
};

struct FillResult {
    FillError error = FillError::None;
    int badChannel = 0;        // OutOfDigits: the first channel that could not be written
    std::vector<int> changed;  // line indices rewritten, in rising order
};

// Frequencies start, start + spacing, ... into the target channels' receive field (columns
// 5-16), transmit field (30-41) or both. A walk that would leave three MHz digits (1000 MHz
// or more, or below 100 MHz) writes nothing: such a line could not be read back.
FillResult AutoFreq(std::vector<std::string>& lines, FillRange range, FillArea area,
                    std::string_view startText, std::string_view spacingText);

// The 11-character tone text a fill writes: "001 =  67.0", "051 =   023", "000 = None ".
std::string FillToneText(int code);

// One call guard (Identical) or codes counting up from the start (Continual, wrapping from
// 154 to 1, never back to 0) into columns 17-27 and/or 42-52.
FillResult AutoSubt(std::vector<std::string>& lines, FillRange range, FillArea area, int startCode,
                    bool continual);

}  // namespace talveron
