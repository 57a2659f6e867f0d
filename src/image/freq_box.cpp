#include "image/freq_box.h"

#include <algorithm>

#include "image/freq_codec.h"
#include "image/range_check.h"
#include "image/text_util.h"

namespace talveron {

namespace {

constexpr std::string_view kNoneText = "NONE";

// Characters from a 0-based position to the end; empty past it.
std::string From(const std::string& s, std::size_t pos) {
    return pos >= s.size() ? std::string() : s.substr(pos);
}

DialogControl FreqEnterTarget(DialogMode mode, int index) {
    if (IsAuto(mode)) return index == 0 ? DialogControl::RxFreq1 : DialogControl::Cancel;
    return index == 0 ? DialogControl::RxTone0 : DialogControl::RxTone1;
}

}  // namespace

bool FreqKeyPasses(DialogMode mode, int index, char key, const TextBox& box) {
    if (key == kKeyBackspace || key == kKeyDelete) return true;
    if (IsDigit(key)) return box.caret >= 0 && box.caret <= 6;
    if (key == '.') return IsAuto(mode) && index == 1 && box.text.find('.') == std::string::npos;
    return false;
}

FreqEdit FreqKey(DialogMode mode, int index, const TextBox& box, char key, int bandDigit) {
    FreqEdit edit;
    edit.box = box;
    if (key == kKeyEnter) {
        edit.focus = FreqEnterTarget(mode, index);
        return edit;
    }
    if (!FreqKeyPasses(mode, index, key, box)) return edit;
    TextBox after = box;
    if (!ApplyKey(after, key)) return edit;
    return FreqChange(mode, index, std::move(after), bandDigit);
}

FreqEdit FreqChange(DialogMode mode, int index, TextBox after, int bandDigit) {
    FreqEdit edit;
    edit.box = after;
    if (IsAuto(mode) && index == 1) return edit;  // a free number of kHz
    std::string t = Trim(after.text);
    int p = std::clamp(after.caret, 0, static_cast<int>(t.size()));
    const auto at = static_cast<std::size_t>(p);
    if (p == 0 && (t.size() == 4 || t.size() == 10)) return edit;  // set by the program
    edit.ruleRan = true;
    if (t.size() < 10) {
        if (p == 0) {
            if (IsAuto(mode) && index == 0) {
                t.insert(t.begin(), static_cast<char>('0' + bandDigit));  // never emptied
            } else {
                t = kNoneText;
                edit.cleared = true;
            }
        } else if (t[0] == 'N' || (t.size() > 1 && t[1] == 'N')) {
            // A digit typed into "NONE" starts a frequency with that digit. A character
            // removed from "NONE" leaves it "NONE" (the typed character is then a letter,
            // and a frequency such as "N00.000000" would only show a false range fault).
            if (!IsDigit(t[at - 1])) {
                edit.box = {std::string(kNoneText), std::min(p, 4)};
                edit.cleared = true;
                return edit;
            }
            t = std::string(1, t[at - 1]) + "00.000000";
        } else if (p == 3) {  // the point was removed: the digit before it goes instead
            p = 2;
            t = t.substr(0, 2) + "0." + From(t, 3);
        } else {  // the removed digit turns into 0
            t = t.substr(0, at) + "0" + From(t, at);
        }
    } else {  // a digit was typed: it replaces the character after it
        t = t.substr(0, at) + From(t, at + 1);
    }
    if (p == 4) t = t.substr(0, 3) + "." + From(t, 4);
    if (p == 7) {
        bool stepBad = false;
        t = StepDigits(t.substr(0, 7), stepBad);
    }
    if (p == 3) p = 4;
    edit.box = {t, p};
    return edit;
}

int FreqClickCaret(DialogMode mode, int index, int caret) {
    const bool applies = index == 0 || mode == DialogMode::Channel;
    return applies && caret == 3 ? 4 : caret;
}

bool FreqFocusResets(DialogMode mode, int index) {
    return index == 1 && mode != DialogMode::Channel;
}

void ScanFreq(DialogMode mode, FreqFlags& flags, int index, std::string_view text,
              BandLimits band) {
    if (IsAuto(mode) && index == 1) return;
    const std::string t = Trim(text);
    if (t == kNoneText) return;
    const std::int64_t mhz = LeadingNumber(Mid(t, 0, 3));
    if (mhz < band.low || mhz > band.high) {
        flags.outRange[index] = true;
        return;
    }
    flags.outRange[index] = false;
    const std::string_view khz = Mid(t, 6, 1);
    if (khz == "0" || khz == "5") {
        flags.badStep[index] = false;
    } else {
        const std::string_view pair = Mid(t, 5, 2);
        flags.badStep[index] = pair.size() != 2 || StepEnds.find(pair) == std::string_view::npos;
    }
}

std::string FreqVerdict(const FreqFlags& flags) {
    if (flags.outRange[0]) return "Rx Freqency Out of Range !";
    if (flags.outRange[1]) return "Tx Freqency Out of Range !";
    if (flags.badStep[0]) return "Rx Freqency in Bad Step !";
    if (flags.badStep[1]) return "Tx Freqency in Bad Step !";
    return {};
}

}  // namespace talveron
