// The entry rules of the channel dialogs, one table per rule: the frequency box editor, the
// range and step verdict, the call-guard lists, the code boxes and target channels, the check
// boxes, the channel line OK builds, and the option bytes of the option dialog.
#include <gtest/gtest.h>

#include "image/call_guard_entry.h"
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
constexpr DialogMode kChan = DialogMode::Channel;
constexpr DialogMode kAutoF = DialogMode::AutoFreq;
constexpr DialogMode kAutoS = DialogMode::AutoSubt;
constexpr DialogMode kCust = DialogMode::Customer;

DialogMode Mode(const std::string& name) {
    for (const auto& [text, mode] : std::initializer_list<std::pair<const char*, DialogMode>>{
             {"Channel", kChan}, {"AutoFreq", kAutoF}, {"AutoSubt", kAutoS}, {"Customer", kCust}})
        if (name == text) return mode;
    ADD_FAILURE() << "no dialog " << name;
    return DialogMode::Other;
}
C Control(const std::string& name) {
    const char* names[] = {"-",       "RxFreq0", "RxFreq1", "RxTone0", "RxTone1",
                           "RxDtmf0", "RxDtmf1", "OK",      "Cancel"};
    for (int i = 0; i < 9; ++i)
        if (name == names[i]) return static_cast<C>(i);
    ADD_FAILURE() << "no control " << name;
    return C::None;
}

TEST(FreqBox, KeysEditTheBoxInPlace) {
    for (const auto& c : test::LoadCases("core/freq_box_keys.txt")) {
        const FreqEdit edit = FreqKey(Mode(c[0]), c.Int(1), {c[2], c.Int(3)}, c[4][0], c.Int(8));
        EXPECT_EQ(edit.box, (TextBox{c[5], c.Int(6)})) << c.where;
        EXPECT_EQ(edit.focus, Control(c[7])) << c.where;
    }
    // The change rule leaves a text the program set (caret 0, 4 or 10 characters) alone.
    EXPECT_FALSE(FreqChange(kChan, 0, {"440.012500", 0}, 4).ruleRan);
    EXPECT_TRUE(FreqKey(kChan, 0, {"445.512500", 1}, kKeyBackspace, 4).cleared);
    EXPECT_EQ(FreqClickCaret(kChan, 1, 3), 4);
    EXPECT_EQ(FreqClickCaret(kAutoF, 1, 3), 3);
    EXPECT_TRUE(FreqFocusResets(kAutoF, 1));
    EXPECT_FALSE(FreqFocusResets(kChan, 1));
}

TEST(FreqBox, VerdictNamesTheFirstFaultOverBothBoxes) {
    const BandLimits band{440, 480};
    for (const auto& c : test::LoadCases("core/freq_verdict.txt")) {
        FreqFlags flags;
        ScanFreq(kChan, flags, 0, c[0], band);
        ScanFreq(kChan, flags, 1, c[1], band);
        EXPECT_EQ(FreqVerdict(flags), c[2]) << c.where;
    }
    FreqFlags flags;
    ScanFreq(kChan, flags, 0, "481.000000", band);
    ScanFreq(kChan, flags, 0, "NONE", band);  // NONE leaves the flags
    EXPECT_EQ(FreqVerdict(flags), "Rx Freqency Out of Range !");
    ScanFreq(kAutoF, flags, 1, "999", band);  // the spacing is no frequency
    EXPECT_FALSE(flags.outRange[1]);
}

TEST(CallGuardEntry, ListsTakeALineNumberAndCodeBoxesTheirOwnCharacters) {
    EXPECT_EQ(ToneListLine("7", kToneCount), 7);
    EXPECT_EQ(ToneListLine("12", kToneCount), 12);
    EXPECT_EQ(ToneListLine("154 CDCSS   754", kToneCount), 154);
    for (const char* bad : {"155", "", "256", "1550"})
        EXPECT_FALSE(ToneListLine(bad, kToneCount).has_value()) << bad;
    EXPECT_EQ(ToneListError(kToneCount), "Input Err! Maximun Number is 154");
    EXPECT_EQ(ToneListError(2), "Input Err! Maximun Number is 1");

    for (const auto& c : test::LoadCases("core/code_box_keys.txt")) {
        const EntryKey result = CodeBoxKey(Mode(c[0]), c.Int(1), c[2][0], c.Int(3));
        EXPECT_EQ(result.passes, c[4] == "yes") << c.where;
        EXPECT_EQ(result.key, c[5][0]) << c.where;
        EXPECT_EQ(result.focus, Control(c[6])) << c.where;
    }
    EXPECT_FALSE(
        CodeBoxKey(kChan, 0, kKeyBackspace, 2).overwrite);  // Backspace never runs the rule
    EXPECT_EQ(ToneListKey(kChan, 0, kKeyEnter).focus, C::RxFreq1);
    EXPECT_EQ(ToneListKey(kChan, 1, kKeyEnter).focus, C::OK);
    EXPECT_EQ(ToneListKey(kAutoS, 0, kKeyEnter).focus, C::RxTone1);
    EXPECT_EQ(ToneListKey(kAutoS, 1, kKeyEnter).focus, C::Cancel);
    EXPECT_FALSE(ToneListKey(kChan, 0, 'a').passes);
    EXPECT_TRUE(ToneListKey(kChan, 0, '9').passes);

    // Overwrite: the digit after the caret goes, else the text ends at the caret.
    EXPECT_EQ(CodeBoxChange({"390", 1}), (TextBox{"30", 1}));
    EXPECT_EQ(CodeBoxChange({"56", 2}), (TextBox{"56", 2}));
    EXPECT_EQ(CodeBoxChange({"1AB12", 1}), (TextBox{"1", 1}));
    EXPECT_EQ(PadCode("5"), "0005");
}

TEST(CallGuardEntry, TargetChannelsAreCheckedOnLeaving) {
    const struct {
        int box;
        const char* first;
        const char* last;
        const char* firstAfter;
        const char* lastAfter;
        bool refused;
    } rows[] = {
        {1, "1", "", "1", "32", true},  {1, "1", "33", "1", "33", true},
        {0, "5", "5", "5", "5", false}, {1, "5", "5", "4", "5", true},
        {0, "0", "9", "1", "9", true},  {0, "9", "5", "4", "5", true},
        {1, "3", "9", "3", "9", false}, {1, "2", "1", "0", "1", true},
    };
    for (const auto& r : rows) {
        const TargetRange after = LeaveTarget(r.box, {r.first, r.last}, 32);
        EXPECT_EQ(after.first, r.firstAfter) << r.box << r.first << "-" << r.last;
        EXPECT_EQ(after.last, r.lastAfter) << r.box << r.first << "-" << r.last;
        EXPECT_EQ(after.refused, r.refused) << r.box << r.first << "-" << r.last;
    }
}

TEST(ChannelEdit, OkBuildsTheFullLineAndAnUnchangedDialogRewritesItAsItWas) {
    ChannelSides sides;
    sides.freq = {"440.012500", "445.000000"};
    sides.tone = {ToneListText(12), ToneListText(0)};
    EXPECT_EQ(BuildChannelLine(5, sides), "5   440.012500  012=  100.0  445.000000  000=  None   ");
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
}

TEST(ChannelEdit, CheckBoxesCascadeAsTheirClicksDo) {
    ChannelSides base;
    base.freq = {"440.012500", "445.000000"};
    base.tone = {ToneListText(12), ToneListText(3)};
    base.code = {"1234", "5678"};
    auto click = [](DialogMode mode, ChannelSides sides, std::array<bool, 3> before, int index) {
        sides.check = before;
        sides.check[index] = !sides.check[index];
        ClickCheck(mode, sides, index);
        return sides;
    };
    ChannelSides rxOnly = base;
    rxOnly.freq[1] = "NONE";
    rxOnly.tone[1] = ToneListText(0);
    rxOnly.code[1] = "0000";
    ChannelSides copied = base;
    copied.freq[1] = base.freq[0];
    copied.tone[1] = base.tone[0];
    copied.code[1] = base.code[0];

    ChannelSides expected = rxOnly;
    expected.check = {false, true, false};
    EXPECT_EQ(click(kChan, base, {false, false, false}, 1), expected);
    expected.check = {false, false, false};
    EXPECT_EQ(click(kChan, base, {false, false, true}, 1), expected);  // with TX=RX checked
    expected = copied;
    expected.check = {false, false, false};
    EXPECT_EQ(click(kChan, base, {false, true, false}, 2), expected);  // with RX ONLY checked
    expected = base;
    expected.check = {true, false, false};
    EXPECT_EQ(click(kAutoF, base, {false, true, true}, 0), expected);  // exclusive
    expected.check = {false, true, true};
    EXPECT_EQ(click(kCust, base, {false, true, false}, 2), expected);  // nothing
}

TEST(OptionEdit, TheFramesSetBitsFiveToOneAndKeepTheSides) {
    const struct {
        std::uint8_t old;
        OptionChoices choices;  // 12.5K, HIGH, BCLO, SCAN, PENALTY
        std::uint8_t stored;
    } rows[] = {
        {0x84, {false, true, false, false, false}, 0x84},
        {0x84, {true, false, true, true, true}, 0xBA},
        {0xC0, {true, true, true, true, true}, 0xFE},
        {0x41, {false, false, false, false, false}, 0x40},  // bit 0 always 0
    };
    for (const auto& r : rows) EXPECT_EQ(ComposeOption(r.old, r.choices), r.stored) << +r.old;
    EXPECT_EQ(OptionChoicesOf(0x84), (OptionChoices{false, true, false, false, false}));
    EXPECT_EQ(OptionChoicesOf(0xBA), (OptionChoices{true, false, true, true, true}));

    ChannelRecord ch;
    ch.rxFreq = ch.txFreq = "145.012500";
    std::vector<std::string> lines;
    for (int n = 1; n <= 12; ++n) {
        ch.number = n;
        lines.push_back(n == 7 || n == 12 ? FormatChannelLine(ch) : EmptyChannelLine(n));
    }
    lines[2] = "3   NONE        000=  None   145.012500  001=  67.0   ";  // transmit only
    EXPECT_EQ(OptionListLines(lines, std::vector<std::uint8_t>(12, 0x84)),
              (std::vector<std::string>{"07 25.0K    H    OFF  OFF", "12 25.0K    H    OFF  OFF"}));
    EXPECT_EQ(OptionLineChannel("07 25.0K    H    OFF  OFF"), 7);
}

}  // namespace
}  // namespace talveron
