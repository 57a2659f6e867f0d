#include "image/tone_codec.h"

#include "image/text_util.h"

namespace talveron {

namespace {

constexpr std::array<std::string_view, 50> kCtcss = {
    "67.0",  "71.9",  "74.4",  "77.0",  "79.7",  "82.5",  "85.4",  "88.5",  "91.5",  "94.8",
    "97.4",  "100.0", "103.5", "107.2", "110.9", "114.8", "118.8", "123.0", "127.3", "131.8",
    "136.5", "141.3", "146.2", "151.4", "156.7", "162.2", "167.9", "173.8", "179.9", "186.2",
    "192.8", "203.5", "210.7", "218.1", "225.7", "233.6", "241.8", "250.3", "69.4",  "159.8",
    "165.5", "171.3", "177.3", "183.5", "189.9", "196.6", "199.5", "206.5", "229.1", "254.1"};

constexpr std::array<std::string_view, 104> kCdcss = {
    "023", "025", "026", "031", "032", "036", "043", "047", "051", "053", "054", "065", "071",
    "072", "073", "074", "114", "115", "116", "122", "125", "131", "132", "134", "143", "145",
    "152", "155", "156", "162", "165", "172", "174", "205", "212", "223", "225", "226", "243",
    "244", "245", "246", "251", "252", "255", "261", "263", "265", "266", "271", "274", "306",
    "311", "315", "325", "331", "332", "343", "346", "351", "356", "364", "365", "371", "411",
    "412", "413", "423", "431", "432", "445", "446", "452", "454", "455", "462", "464", "465",
    "466", "503", "506", "516", "523", "526", "532", "546", "565", "606", "612", "624", "627",
    "631", "632", "654", "662", "664", "703", "712", "723", "731", "732", "734", "743", "754"};

std::array<std::string, kToneCount> BuildTable() {
    std::array<std::string, kToneCount> table;
    table[0] = "000 No Tone";
    for (int code = 1; code < kFirstCdcss; ++code) {
        std::string hz(kCtcss[code - 1]);
        table[code] = Pad3(code) + " CTCSS " + std::string(5 - hz.size(), ' ') + hz;
    }
    for (int code = kFirstCdcss; code < kToneCount; ++code) {
        table[code] = Pad3(code) + " CDCSS   " + std::string(kCdcss[code - kFirstCdcss]);
    }
    return table;
}

}  // namespace

ToneKind ToneKindOf(int code) {
    if (code >= 1 && code < kFirstCdcss) return ToneKind::Ctcss;
    if (code >= kFirstCdcss && code < kToneCount) return ToneKind::Cdcss;
    return ToneKind::None;
}

const std::array<std::string, kToneCount>& ToneTable() {
    static const std::array<std::string, kToneCount> table = BuildTable();
    return table;
}

std::string Pad3(int value) {
    std::string text = std::to_string(value);
    if (text.size() == 1) return "00" + text;
    if (text.size() == 2) return "0" + text;
    return text;
}

std::string ToneCodeField(int code) {
    return PadRight(Pad3(code) + "=", 6);
}

std::string ToneValueText(int code) {
    if (code == 0) return "None";
    if (code < 0 || code >= kToneCount) return "???";
    return Trim(Mid(ToneTable()[code], 9, std::string::npos));
}

std::string ToneName(int code) {
    switch (ToneKindOf(code)) {
        case ToneKind::None:
            return code == 0 ? "None" : "#" + std::to_string(code);
        case ToneKind::Ctcss:
            return ToneValueText(code);
        case ToneKind::Cdcss:
            return "D" + ToneValueText(code);
    }
    return {};
}

std::optional<int> CtcssCode(std::string_view hz) {
    for (int i = 0; i < static_cast<int>(kCtcss.size()); ++i) {
        if (kCtcss[i] == hz) return i + 1;
    }
    return std::nullopt;
}

std::optional<int> CdcssCode(std::string_view octal) {
    for (int i = 0; i < static_cast<int>(kCdcss.size()); ++i) {
        if (kCdcss[i] == octal) return i + kFirstCdcss;
    }
    return std::nullopt;
}

}  // namespace talveron
