#include "image/call_guard_entry.h"

#include <algorithm>

#include "image/text_util.h"

namespace talveron {

namespace {

bool IsDtmf(char c) {
    return IsDigit(c) || (c >= 'A' && c <= 'D') || c == '*' || c == '#';
}

DialogControl CodeEnterTarget(DialogMode mode, int index) {
    switch (mode) {
        case DialogMode::AutoFreq:
            return index == 0 ? DialogControl::RxDtmf1 : DialogControl::RxFreq0;
        case DialogMode::AutoSubt:
            return index == 0 ? DialogControl::RxDtmf1 : DialogControl::RxTone0;
        case DialogMode::Customer:
            return index == 0 ? DialogControl::RxDtmf1 : DialogControl::Cancel;
        case DialogMode::Channel:
            return index == 0 ? DialogControl::RxFreq1 : DialogControl::Cancel;
        case DialogMode::Other:
            break;
    }
    return DialogControl::None;
}

// A channel number as the boxes hold it: the number at its start, 0 for none.
std::int64_t Value(std::string_view text) {
    return LeadingNumber(Trim(text));
}

}  // namespace

EntryKey ToneListKey(DialogMode mode, int index, char key) {
    EntryKey result;
    result.key = key;
    if (key == kKeyEnter) {
        if (mode == DialogMode::Channel)
            result.focus = index == 0 ? DialogControl::RxFreq1 : DialogControl::OK;
        else if (IsAuto(mode))
            result.focus = index == 0 ? DialogControl::RxTone1 : DialogControl::Cancel;
        return result;
    }
    result.passes = key == kKeyBackspace || key == kKeyDelete || IsDigit(key);
    return result;
}

std::optional<int> ToneListLine(std::string_view text, int lineCount) {
    const std::string number = Trim(Mid(text, 0, 3));
    if (number.empty() || !std::all_of(number.begin(), number.end(), IsDigit)) return {};
    const int n = static_cast<int>(LeadingNumber(number));
    if (n > 255 || n > lineCount - 1) return {};
    return n;
}

std::string ToneListError(int lineCount) {
    return std::string(kInputErr) + std::to_string(lineCount - 1);
}

EntryKey CodeBoxKey(DialogMode mode, int index, char key, int caret) {
    EntryKey result;
    result.key = key;
    if (key == kKeyEnter) {
        result.passes = true;
        result.focus = CodeEnterTarget(mode, index);
        return result;
    }
    if (key == kKeyBackspace || key == kKeyDelete) {
        result.passes = true;
        return result;
    }
    switch (mode) {
        case DialogMode::Customer:
            result.passes = true;
            return result;
        case DialogMode::Channel:
            if (key >= 'a' && key <= 'd') result.key = static_cast<char>(key - 'a' + 'A');
            result.passes = caret >= 0 && caret <= 3 && IsDtmf(result.key);
            break;
        case DialogMode::AutoFreq:
        case DialogMode::AutoSubt:
            result.passes = IsDigit(key) && caret >= 0 && caret <= 1;
            break;
        case DialogMode::Other:
            result.passes = IsDigit(key) && caret >= 0 && caret <= 6;
            break;
    }
    result.overwrite = result.passes;
    return result;
}

TextBox CodeBoxChange(TextBox after) {
    const std::string t = Trim(after.text);
    const int p = std::clamp(after.caret, 0, static_cast<int>(t.size()));
    if (p == 0) return after;
    const auto at = static_cast<std::size_t>(p);
    if (at < t.size() && IsDigit(t[at])) return {t.substr(0, at) + t.substr(at + 1), p};
    return {t.substr(0, at), p};
}

std::string PadCode(std::string_view code) {
    std::string text = Trim(code);
    if (text.size() < 4) text.insert(0, 4 - text.size(), '0');
    return text;
}

TargetRange LeaveTarget(int index, TargetRange range, int channelCount) {
    const std::int64_t first = Value(range.first);
    const std::int64_t last = Value(range.last);
    std::string& box = index == 0 ? range.first : range.last;
    if (Trim(box).empty() || (index == 0 ? first : last) == 0) {
        box = index == 0 ? "1" : std::to_string(channelCount);
        range.refused = true;
    } else if (index == 0) {
        if (first > last) {
            range.first = std::to_string(last - 1);
            range.refused = true;
        }
    } else if (last > channelCount) {
        range.refused = true;
    } else if (first >= last) {
        range.first = std::to_string(last - 1);
        range.refused = true;
    }
    return range;
}

}  // namespace talveron
