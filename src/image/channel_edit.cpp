#include "image/channel_edit.h"

#include "image/text_util.h"
#include "image/tone_codec.h"

namespace talveron {

namespace {

void SetCheck(DialogMode mode, ChannelSides& sides, int index, bool value) {
    if (sides.check[index] == value) return;
    sides.check[index] = value;
    ClickCheck(mode, sides, index);
}

std::string SideFields(const std::string& freq, const std::string& tone) {
    const std::string code = tone.substr(0, 3);
    const std::string name = code == "000" ? "None  " : Trim(Mid(tone, 9, std::string::npos));
    return PadRight(freq, 12) + PadRight(code + "=", 6) + PadRight(name, 7);
}

}  // namespace

std::string ChannelCaption(int number, std::string_view modelLabel, std::string_view rangeLabel) {
    return "Channel No." + std::to_string(number) + " (" + std::string(Mid(modelLabel, 6, 99)) +
           "," + std::string(rangeLabel) + "MHz" + ")";
}

std::string ToneListText(int code) {
    if (code >= 0 && code < kToneCount) return ToneTable()[code];
    return Pad3(code);
}

ChannelSides SidesFromLine(std::string_view line) {
    ChannelSides sides;
    sides.freq[0] = Trim(Mid(line, 3, 12));
    sides.tone[0] = ToneListText(static_cast<int>(LeadingNumber(Mid(line, 15, 4))));
    sides.freq[1] = Trim(Mid(line, 27, 12));
    sides.tone[1] = ToneListText(static_cast<int>(LeadingNumber(Mid(line, 39, 5))));
    sides.code[1] = Trim(Mid(line, 45, 4));
    return sides;
}

std::string BuildChannelLine(int number, const ChannelSides& sides) {
    return PadRight(std::to_string(number), 4) + SideFields(sides.freq[0], sides.tone[0]) +
           SideFields(sides.freq[1], sides.tone[1]);
}

void ClickCheck(DialogMode mode, ChannelSides& sides, int index) {
    if (IsAuto(mode)) {
        if (!sides.check[index]) return;
        for (int other = 0; other < 3; ++other)
            if (other != index) SetCheck(mode, sides, other, false);
        return;
    }
    if (mode != DialogMode::Channel) return;
    if (index == 1) {  // RX ONLY
        sides.freq[1] = "NONE";
        sides.tone[1] = ToneTable()[0];
        sides.code[1] = "0000";
        SetCheck(mode, sides, 2, false);
    } else if (index == 2) {  // TX=RX
        sides.freq[1] = sides.freq[0];
        sides.tone[1] = sides.tone[0];
        sides.code[1] = sides.code[0];
        SetCheck(mode, sides, 1, false);
    }
}

}  // namespace talveron
