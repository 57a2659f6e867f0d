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

namespace talveron {
namespace {

using C = DialogControl;
constexpr DialogMode kChan = DialogMode::Channel;
constexpr DialogMode kAutoF = DialogMode::AutoFreq;
constexpr DialogMode kAutoS = DialogMode::AutoSubt;
constexpr DialogMode kCust = DialogMode::Customer;
constexpr char kBs = kKeyBackspace;
constexpr char kDel = kKeyDelete;

TEST(FreqBox, KeysEditTheBoxInPlace) {
    const struct {
        DialogMode mode;
        int box;
        const char* text;
        int caret;
        char key;
        const char* after;
        int caretAfter;
        C focus = C::None;
        int bandDigit = 4;
    } rows[] = {
        {kChan, 0, "NONE", 0, '4', "400.000000", 1},        // a digit into NONE
        {kChan, 0, "NONE", 2, '4', "400.000000", 4},        // later: one past, over the point
        {kChan, 0, "440.000000", 0, '1', "140.000000", 1},  // overwrite
        {kChan, 0, "440.000000", 2, '5', "445.000000", 4},  // third MHz digit, over the point
        {kChan, 0, "445.512500", 3, '7', "445.512500", 4},  // before the point: lost
        {kChan, 0, "445.010000", 6, '2', "445.012500", 7},  // 1 kHz digit: raster completed
        {kChan, 0, "145.000000", 6, '2', "145.002500", 7},
        {kChan, 0, "445.012500", 7, '3', "445.012500", 7},  // finer digits cannot be typed
        {kChan, 1, "445.012500", 3, '.', "445.012500", 3},
        {kChan, 0, "445.012500", 1, 'x', "445.012500", 1},
        {kChan, 0, "445.512500", 5, kBs, "445.012500", 4},  // removed digit turns into 0
        {kChan, 0, "445.512500", 4, kBs, "440.512500", 2},  // the point removed
        {kChan, 0, "445.512500", 1, kBs, "NONE", 0},
        {kChan, 1, "445.512500", 0, kDel, "NONE", 0},
        {kChan, 0, "445.012500", 7, kDel, "445.012500", 7},  // the digit after 1 kHz removed
        {kChan, 0, "NONE", 4, kBs, "NONE", 3},               // stays NONE (no N00.000000)
        {kChan, 0, "NONE", 1, kDel, "NONE", 1},
        {kChan, 0, "445.000000", 2, kKeyEnter, "445.000000", 2, C::RxTone0},
        {kChan, 1, "445.000000", 2, kKeyEnter, "445.000000", 2, C::RxTone1},
        {kAutoF, 0, "440.000000", 1, kBs, "140.000000", 0, C::None, 1},  // never emptied
        {kAutoF, 0, "440.000000", 0, kKeyEnter, "440.000000", 0, C::RxFreq1},
        {kAutoF, 1, "12", 2, '.', "12.", 3},  // the spacing: a free number
        {kAutoF, 1, "12.5", 4, '.', "12.5", 4},
        {kAutoF, 1, "12.5", 4, '0', "12.50", 5},
        {kAutoS, 1, "0", 1, kKeyEnter, "0", 1, C::Cancel},
    };
    for (const auto& r : rows) {
        const FreqEdit edit = FreqKey(r.mode, r.box, {r.text, r.caret}, r.key, r.bandDigit);
        EXPECT_EQ(edit.box, (TextBox{r.after, r.caretAfter})) << r.text << " " << r.caret;
        EXPECT_EQ(edit.focus, r.focus) << r.text << " " << r.caret;
    }
    // The change rule leaves a text the program set (caret 0, 4 or 10 characters) alone.
    EXPECT_FALSE(FreqChange(kChan, 0, {"440.012500", 0}, 4).ruleRan);
    EXPECT_TRUE(FreqKey(kChan, 0, {"445.512500", 1}, kBs, 4).cleared);
    EXPECT_EQ(FreqClickCaret(kChan, 1, 3), 4);
    EXPECT_EQ(FreqClickCaret(kAutoF, 1, 3), 3);
    EXPECT_TRUE(FreqFocusResets(kAutoF, 1));
    EXPECT_FALSE(FreqFocusResets(kChan, 1));
}

TEST(FreqBox, VerdictNamesTheFirstFaultOverBothBoxes) {
    const BandLimits band{440, 480};
    const struct {
        const char* rx;
        const char* tx;
        const char* verdict;
    } rows[] = {
        {"480.000000", "440.000000", ""},
        {"481.000000", "440.000000", "Rx Freqency Out of Range !"},
        {"440.000000", "481.000000", "Tx Freqency Out of Range !"},
        {"439.000000", "481.000000", "Rx Freqency Out of Range !"},
        {"440.012500", "440.018750", ""},
        {"440.015000", "NONE", ""},
        {"440.011000", "440.000000", "Rx Freqency in Bad Step !"},
        {"440.011000", "490.000000", "Tx Freqency Out of Range !"},  // range before step
        {"440.000000", "440.002000", "Tx Freqency in Bad Step !"},
    };
    for (const auto& r : rows) {
        FreqFlags flags;
        ScanFreq(kChan, flags, 0, r.rx, band);
        ScanFreq(kChan, flags, 1, r.tx, band);
        EXPECT_EQ(FreqVerdict(flags), r.verdict) << r.rx << " " << r.tx;
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

    const struct {
        DialogMode mode;
        int box;
        char key;
        int caret;
        bool passes;
        char typed;
        C focus;
    } keys[] = {
        {kChan, 0, 'a', 0, true, 'A', C::None},
        {kChan, 1, '#', 3, true, '#', C::None},
        {kChan, 1, '#', 4, false, '#', C::None},
        {kChan, 0, 'E', 0, false, 'E', C::None},
        {kAutoF, 0, '5', 1, true, '5', C::None},
        {kAutoF, 0, '5', 2, false, '5', C::None},
        {kAutoS, 1, 'A', 0, false, 'A', C::None},
        {kCust, 0, 'x', 20, true, 'x', C::None},
        {kChan, 0, kKeyEnter, 0, true, kKeyEnter, C::RxFreq1},
        {kChan, 1, kKeyEnter, 0, true, kKeyEnter, C::Cancel},
        {kAutoF, 0, kKeyEnter, 0, true, kKeyEnter, C::RxDtmf1},
        {kAutoF, 1, kKeyEnter, 0, true, kKeyEnter, C::RxFreq0},
        {kAutoS, 1, kKeyEnter, 0, true, kKeyEnter, C::RxTone0},
        {kCust, 1, kKeyEnter, 0, true, kKeyEnter, C::Cancel},
    };
    for (const auto& k : keys) {
        const EntryKey result = CodeBoxKey(k.mode, k.box, k.key, k.caret);
        EXPECT_EQ(result.passes, k.passes) << k.key << " " << k.caret;
        EXPECT_EQ(result.key, k.typed) << k.key;
        EXPECT_EQ(result.focus, k.focus) << k.key;
    }
    EXPECT_FALSE(CodeBoxKey(kChan, 0, kBs, 2).overwrite);  // Backspace never runs the rule
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
