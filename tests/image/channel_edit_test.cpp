// The entry rules of the channel dialogs, one table per rule: the frequency box editor, the
// range and step verdict, the call-guard lists, the code boxes and target channels, the check
// boxes, the option bytes, the Auto fill entries, and the channel line OK builds.
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <sstream>

#include "image/auto_fill.h"
#include "image/call_guard_entry.h"
#include "image/channel_clipboard.h"
#include "image/channel_edit.h"
#include "image/channel_line.h"
#include "image/freq_box.h"
#include "image/option_edit.h"
#include "image/tone_codec.h"
#include "image_generator.h"
#include "test_support.h"

namespace talveron {
namespace {

using C = DialogControl;
using test::Case;

DialogMode Mode(const std::string& name) {
    const char* names[] = {"Channel", "AutoFreq", "AutoSubt", "Customer"};
    const DialogMode modes[] = {DialogMode::Channel, DialogMode::AutoFreq, DialogMode::AutoSubt,
                                DialogMode::Customer};
    for (int i = 0; i < 4; ++i)
        if (name == names[i]) return modes[i];
    ADD_FAILURE() << "no dialog " << name;
    return DialogMode::Other;
}
const char* kControls[] = {"-",       "RxFreq0", "RxFreq1", "RxTone0", "RxTone1",
                           "RxDtmf0", "RxDtmf1", "OK",      "Cancel"};
C Control(const std::string& name) {
    for (int i = 0; i < 9; ++i)
        if (name == kControls[i]) return static_cast<C>(i);
    ADD_FAILURE() << "no control " << name;
    return C::None;
}

std::string Yes(bool b) {
    return b ? "yes" : "no";
}
std::string Hex(int v) {
    char text[8];
    std::snprintf(text, sizeof text, "0x%02X", v);
    return text;
}
template <typename T>
std::string Opt(const std::optional<T>& v) {
    return v ? std::to_string(*v) : "none";
}
std::string Flags(const std::array<bool, 5>& f) {
    std::string s;
    for (bool b : f) s += b ? '1' : '0';
    return s;
}

ChannelSides Sides(int which) {  // 0: as opened, 1: receive only, 2: receive copied
    ChannelSides s;
    s.freq = {"440.012500", which == 1 ? "NONE" : which == 2 ? "440.012500" : "445.000000"};
    s.tone = {ToneListText(12), ToneListText(which == 1 ? 0 : which == 2 ? 12 : 3)};
    s.code = {"1234", which == 1 ? "0000" : which == 2 ? "1234" : "5678"};
    return s;
}

// Each rule's answer to a row of core/entry_rules.txt, as text.
const std::map<std::string, std::function<std::string(const Case&)>> kRules = {
    {"ToneListLine", [](const Case& c) { return Opt(ToneListLine(c[1], c.Int(2))); }},
    {"ToneListError", [](const Case& c) { return ToneListError(c.Int(1)); }},
    {"ToneListKey",
     [](const Case& c) {
         const EntryKey k = ToneListKey(Mode(c[1]), c.Int(2), c[3][0]);
         return Yes(k.passes) + " " + kControls[static_cast<int>(k.focus)];
     }},
    {"CodeBoxChange",
     [](const Case& c) {
         const TextBox b = CodeBoxChange({c[1], c.Int(2)});
         return b.text + " " + std::to_string(b.caret);
     }},
    {"PadCode", [](const Case& c) { return PadCode(c[1]); }},
    {"LeaveTarget",
     [](const Case& c) {
         const TargetRange r = LeaveTarget(c.Int(1), {c[2], c[3]}, 32);
         return r.first + " " + r.last + (r.refused ? " refused" : "");
     }},
    {"FreqClickCaret",
     [](const Case& c) { return std::to_string(FreqClickCaret(Mode(c[1]), c.Int(2), c.Int(3))); }},
    {"FreqFocusResets", [](const Case& c) { return Yes(FreqFocusResets(Mode(c[1]), c.Int(2))); }},
    {"ComposeOption",
     [](const Case& c) {
         OptionChoices choices;
         for (int i = 0; i < 5; ++i) choices[i] = c[2][i] == '1';
         return Hex(ComposeOption(static_cast<std::uint8_t>(c.Int(1)), choices));
     }},
    {"OptionChoicesOf",
     [](const Case& c) { return Flags(OptionChoicesOf(static_cast<std::uint8_t>(c.Int(1)))); }},
    {"OptionLineChannel", [](const Case& c) { return std::to_string(OptionLineChannel(c[1])); }},
    {"ClickCheck",
     [](const Case& c) {
         ChannelSides sides = Sides(0);
         for (int i = 0; i < 3; ++i) sides.check[i] = (c[2][i] == '1') != (c.Int(3) == i);
         ClickCheck(Mode(c[1]), sides, c.Int(3));
         std::string out = "none ";
         for (int which = 0; which < 3; ++which) {
             ChannelSides expected = Sides(which);
             expected.check = sides.check;
             if (sides == expected)
                 out = std::string(which == 0 ? "base" : which == 1 ? "rxonly" : "copied") + " ";
         }
         for (bool b : sides.check) out += b ? '1' : '0';
         return out;
     }},
    {"SpacingHz", [](const Case& c) { return Opt(SpacingHz(c[1])); }},
    {"FillTargets",
     [](const Case& c) {
         const auto r = FillTargets(c[1], c[2], 16);
         return r ? std::to_string(r->first) + " " + std::to_string(r->last) : "none";
     }},
    {"FillToneText", [](const Case& c) { return FillToneText(c.Int(1)); }},
    {"PasteStart",
     [](const Case& c) {
         std::vector<int> selected;
         std::istringstream in(c[1]);
         for (int n; in >> n;) selected.push_back(n);
         return std::to_string(PasteStart(selected, c.Int(2), 16));
     }},
};

TEST(EntryRules, EveryRowOfEveryRule) {
    for (const auto& c : test::LoadCases("core/entry_rules.txt")) {
        const auto rule = kRules.find(c[0]);
        ASSERT_NE(rule, kRules.end()) << c.where;
        EXPECT_EQ(rule->second(c), c.f.back()) << c.where;
    }
}

TEST(EntryRules, KeysInTheFrequencyAndCodeBoxesAndTheVerdict) {
    for (const auto& c : test::LoadCases("core/freq_box_keys.txt")) {
        const FreqEdit edit = FreqKey(Mode(c[0]), c.Int(1), {c[2], c.Int(3)}, c[4][0], c.Int(8));
        EXPECT_EQ(edit.box, (TextBox{c[5], c.Int(6)})) << c.where;
        EXPECT_EQ(edit.focus, Control(c[7])) << c.where;
    }
    // The change rule leaves a text the program set (caret 0, 4 or 10 characters) alone.
    EXPECT_FALSE(FreqChange(DialogMode::Channel, 0, {"440.012500", 0}, 4).ruleRan);
    EXPECT_TRUE(FreqKey(DialogMode::Channel, 0, {"445.512500", 1}, kKeyBackspace, 4).cleared);
    for (const auto& c : test::LoadCases("core/code_box_keys.txt")) {
        const EntryKey result = CodeBoxKey(Mode(c[0]), c.Int(1), c[2][0], c.Int(3));
        EXPECT_EQ(result.passes, c[4] == "yes") << c.where;
        EXPECT_EQ(result.key, c[5][0]) << c.where;
        EXPECT_EQ(result.focus, Control(c[6])) << c.where;
    }
    EXPECT_FALSE(CodeBoxKey(DialogMode::Channel, 0, kKeyBackspace, 2).overwrite);

    const BandLimits band{440, 480};
    for (const auto& c : test::LoadCases("core/freq_verdict.txt")) {
        FreqFlags flags;
        ScanFreq(DialogMode::Channel, flags, 0, c[0], band);
        ScanFreq(DialogMode::Channel, flags, 1, c[1], band);
        EXPECT_EQ(FreqVerdict(flags), c[2]) << c.where;
    }
    FreqFlags flags;
    ScanFreq(DialogMode::Channel, flags, 0, "481.000000", band);
    ScanFreq(DialogMode::Channel, flags, 0, "NONE", band);  // NONE leaves the flags
    EXPECT_EQ(FreqVerdict(flags), "Rx Freqency Out of Range !");
    ScanFreq(DialogMode::AutoFreq, flags, 1, "999", band);  // the spacing is no frequency
    EXPECT_FALSE(flags.outRange[1]);
}

TEST(ChannelEdit, OkBuildsTheFullLineAndAnUnchangedDialogRewritesItAsItWas) {
    EXPECT_EQ(BuildChannelLine(5, Sides(0)),
              "5   440.012500  012=  100.0  445.000000  003=  74.4   ");
    EXPECT_EQ(ChannelCaption(5, "Model:VK-A1  ", "Range:140-175MHz"),
              "Channel No.5 (VK-A1  ,Range:140-175MHzMHz)");
    // A line rewritten by the Auto Subtone fill reads the same codes.
    const ChannelSides filled =
        SidesFromLine("7   440.012500  001 =  67.0  445.000000  051 =   023  ");
    EXPECT_EQ(filled.tone, (std::array<std::string, 2>{"001 CTCSS  67.0", "051 CDCSS   023"}));
    EXPECT_EQ(filled.freq, (std::array<std::string, 2>{"440.012500", "445.000000"}));

    test::ImageGenerator gen(7);
    for (int round = 0; round < 20; ++round) {
        const ChannelList list = ImageToList(gen.Make(99, 0x05, 64).image);
        for (std::size_t i = 0; i < list.lines.size(); ++i) {
            if (list.lines[i].find("???") != std::string::npos) continue;  // damaged tone
            EXPECT_EQ(BuildChannelLine(static_cast<int>(i) + 1, SidesFromLine(list.lines[i])),
                      list.lines[i]);
        }
    }
    // The option dialog lists the channels in use, transmit-only ones not.
    std::vector<std::string> lines;
    for (int n = 1; n <= 12; ++n) lines.push_back(EmptyChannelLine(n));
    lines[6] = "7   145.012500  000=  None   145.012500  000=  None   ";
    lines[11] = "12  145.012500  000=  None   NONE        000=  None   ";
    lines[2] = "3   NONE        000=  None   145.012500  001=  67.0   ";
    EXPECT_EQ(OptionListLines(lines, std::vector<std::uint8_t>(12, 0x84)),
              (std::vector<std::string>{"07 25.0K    H    OFF  OFF", "12 25.0K    H    OFF  OFF"}));
}

}  // namespace
}  // namespace talveron
