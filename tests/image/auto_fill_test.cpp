// Auto Frequency, Auto Subtone and the channel clipboard over the lines of a document (their
// small entry rules are rows of core/entry_rules.txt).
#include <gtest/gtest.h>

#include "image/auto_fill.h"
#include "image/channel_clipboard.h"
#include "image/channel_line.h"

namespace talveron {
namespace {

// n channel lines; channel k holds 145.0k MHz with tone code k both ways.
std::vector<std::string> Lines(int n) {
    std::vector<std::string> lines;
    for (int k = 1; k <= n; ++k) {
        ChannelRecord ch;
        ch.number = k;
        ch.rxFreq = ch.txFreq = "145.0" + std::to_string(k % 10) + "0000";
        ch.rxTone = ch.txTone = k;
        lines.push_back(FormatChannelLine(ch));
    }
    return lines;
}

TEST(AutoFill, FrequencyWalksBySpacingAndSubtoneCountsIntoTheChosenFields) {
    const struct {
        FillArea area;
        const char* spacing;
        const char* ch2;  // what channel 2's written fields read
        bool rx, tx;      // which fields change
    } rows[] = {
        {FillArea::Both, "12.5", "140.025000  ", true, true},
        {FillArea::TxOnly, "12.5", "140.025000  ", false, true},
        {FillArea::RxOnly, "6.25", "140.018750  ", true, false},
        {FillArea::Both, "0", "140.012500  ", true, true},
    };
    for (const auto& r : rows) {
        std::vector<std::string> lines = Lines(16);
        const std::vector<std::string> before = lines;
        const FillResult result = AutoFreq(lines, {1, 3}, r.area, "140.012500", r.spacing);
        ASSERT_EQ(result.error, FillError::None) << r.spacing;
        EXPECT_EQ(result.changed, (std::vector<int>{0, 1, 2}));
        EXPECT_EQ(lines[1].substr(4, 12), r.rx ? r.ch2 : before[1].substr(4, 12)) << r.spacing;
        EXPECT_EQ(lines[1].substr(29, 12), r.tx ? r.ch2 : before[1].substr(29, 12)) << r.spacing;
        EXPECT_EQ(lines[0].substr(0, 2), "1 ");
        EXPECT_EQ(lines[1].size(), 54u);
        EXPECT_EQ(lines[3], before[3]);
    }
    std::vector<std::string> lines = Lines(16);
    AutoFreq(lines, {1, 3}, FillArea::Both, "140.012500", "12.5");
    EXPECT_EQ(lines[2].substr(4, 12), "140.037500  ");
    AutoFreq(lines, {7, 12}, FillArea::Both, "150.000000", "25");
    EXPECT_EQ(lines[6].substr(0, 2), "7 ");
    EXPECT_EQ(lines[11].substr(0, 16), "12  150.125000  ");

    // What cannot be written is refused and nothing is written.
    const std::vector<std::string> before = lines;
    FillResult r = AutoFreq(lines, {3, 5}, FillArea::Both, "999.000000", "1000");
    EXPECT_EQ(r.error, FillError::OutOfDigits);
    EXPECT_EQ(r.badChannel, 4);
    EXPECT_EQ(AutoFreq(lines, {1, 2}, FillArea::Both, "NONE", "12.5").error, FillError::BadStart);
    EXPECT_EQ(AutoFreq(lines, {1, 2}, FillArea::Both, "140.0125", "1").error, FillError::BadStart);
    EXPECT_EQ(AutoFreq(lines, {1, 2}, FillArea::Both, "140.012500", ".").error,
              FillError::BadSpacing);
    EXPECT_EQ(lines, before);

    // The start: the current line's receive frequency, else the lower band edge.
    lines[1] = EmptyChannelLine(2);
    EXPECT_EQ(AutoFreqStart(lines, 0, "Range:140-175MHz"), "140.012500");
    EXPECT_EQ(AutoFreqStart(lines, 1, "Range:140-175MHz"), "140.000000");
    EXPECT_EQ(AutoFreqStart(lines, -1, "Range:440-480MHz"), "440.000000");

    // Subtones identical or counting up, with the wrap past 154.
    lines = Lines(16);
    AutoSubt(lines, {1, 4}, FillArea::Both, 153, true);
    const char* expected[] = {"153 =   743", "154 =   754", "001 =  67.0", "002 =  71.9"};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(lines[i].substr(16, 11), expected[i]);
        EXPECT_EQ(lines[i].substr(41, 11), expected[i]);
        EXPECT_EQ(LineToneCode(lines[i], true), i < 2 ? 153 + i : i - 1);
    }
    const std::string line6 = lines[5];
    AutoSubt(lines, {5, 6}, FillArea::TxOnly, 0, false);
    EXPECT_EQ(lines[5].substr(41, 11), "000 = None ");
    EXPECT_EQ(lines[5].substr(0, 41), line6.substr(0, 41));
    EXPECT_EQ(lines[5].substr(52), line6.substr(52));
}

TEST(ChannelClipboard, CopyPasteCutAndDelete) {
    std::vector<std::string> a = Lines(16);
    std::vector<std::string> b = Lines(16);
    ClipLines clip;
    // Channels 3 and 5 pasted with channel 7 current: they land on 7 and 8, renumbered.
    EXPECT_EQ(CopyChannels(a, {4, 2}, clip), a[2] + "\n" + a[4] + "\n");
    EXPECT_EQ(PasteChannels(b, clip, {6}, 6), (std::vector<int>{6, 7}));
    EXPECT_EQ(b[6], "7 " + a[2].substr(2));
    EXPECT_EQ(b[7], "8 " + a[4].substr(2));
    // Only what fits below the start line is pasted; nothing without a start.
    std::vector<std::string> eight = Lines(8);
    CopyChannels(a, {0, 1, 2}, clip);
    EXPECT_EQ(PasteChannels(eight, clip, {}, 7), (std::vector<int>{7}));
    EXPECT_TRUE(PasteChannels(eight, clip, {1}, -1).empty());
    EXPECT_EQ(eight[1], Lines(2)[1]);
    // Delete gives the empty line of each channel.
    EXPECT_EQ(ClearChannels(a, {9, 1}), (std::vector<int>{1, 9}));
    EXPECT_EQ(a[9], EmptyChannelLine(10));
    EXPECT_EQ(a[1], EmptyChannelLine(2));
    // A cut run pasted back at its first line restores it.
    std::vector<std::string> c = Lines(16);
    const std::vector<std::string> before = c;
    CopyChannels(c, {3, 4, 5}, clip);
    ClearChannels(c, {3, 4, 5});
    PasteChannels(c, clip, {3, 4, 5}, 5);
    EXPECT_EQ(c, before);
}

}  // namespace
}  // namespace talveron
