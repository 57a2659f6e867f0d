// The channel plan laid out in twips: heads, labels, the option summary, channel rows, pages.
#include <gtest/gtest.h>

#include "image/channel_line.h"
#include "image/print_layout.h"
#include "test_support.h"

namespace talveron {
namespace {

constexpr int kChar = 132;  // Courier 11: 0.6 em of 220 twips
constexpr int kLine = 250;
constexpr int kPage = 11906;  // A4
constexpr int kMargin = 2 * kChar;
constexpr int kWidth = kPage - 4 * kMargin;

PrintMetrics Mono() {
    PrintMetrics m;
    m.width = [](std::string_view s) { return static_cast<int>(s.size()) * kChar; };
    m.lineHeight = kLine;
    m.pageWidth = kPage;
    m.margin = kMargin;
    return m;
}

std::string Used(int k, const char* tx = "145.012500") {
    ChannelRecord ch;
    ch.number = k;
    ch.rxFreq = "145.012500";
    ch.txFreq = tx;
    return FormatChannelLine(ch);
}

ChannelPlan Plan(int channels, int used) {
    ChannelPlan p;
    p.fileName = "FLEET";
    p.modelLabel = "Model:VK-A1  ";
    p.rangeLabel = "Range:140-175MHz";
    p.customerLabel = "Customer:ACME";
    p.serialLabel = "Serial No:42";
    p.date = "07/12/2026 ";
    p.time = "13:40:50";
    p.channelCount = channels;
    for (int k = 1; k <= channels; ++k) {
        p.lines.push_back(k <= used ? Used(k) : EmptyChannelLine(k));
        p.chOpt.push_back(0xC4);
    }
    return p;
}

// Where a text was placed: page, x, y; page 0 when it was not printed.
PrintText Find(const PrintLayout& l, std::string_view text, int page = 0) {
    for (const PrintText& t : l.texts)
        if (t.text == text && (page == 0 || t.page == page)) return t;
    return {0, 0, 0, std::string(text)};
}

void ExpectAt(const PrintLayout& l, std::string_view text, int page, int x, int y) {
    const PrintText t = Find(l, text, page);
    EXPECT_EQ(t.page, page) << text;
    EXPECT_EQ(t.x, x) << text;
    EXPECT_EQ(t.y, y) << text;
}

TEST(PrintLayout, FirstPageHeadLabelsSummaryAndRows) {
    ChannelPlan plan = Plan(16, 3);
    plan.lines[3] = Used(4, "NONE");  // receive-only: printed
    plan.system[SysSetting::TxTimeout] = 4;
    plan.system[SysSetting::Beep] = 1;
    const PrintLayout l = LayoutChannelPlan(plan, Mono());
    ASSERT_EQ(l.pages, 1);
    EXPECT_EQ(l.originX, kMargin);
    EXPECT_EQ(l.lineWidth, kWidth);
    for (const auto& c : test::LoadCases("core/print_first_page.txt")) {
        SCOPED_TRACE(c.where);
        ExpectAt(l, c[0], c.Int(1), c.Int(2), c.Int(3));
    }
    ASSERT_EQ(l.rules.size(), 2u);
    EXPECT_EQ(l.rules[0].y, 4 * kLine);
    EXPECT_EQ(l.rules[1].y, 8 * kLine);
    EXPECT_EQ(l.rules[1].x2, kWidth);
    EXPECT_EQ(l.rules[1].lineWidth, 5);
    // Channels 1-4 in use (4 receive-only), 5-16 not printed.
    for (int k = 1; k <= 4; ++k) ExpectAt(l, plan.lines[k - 1], 1, kChar, (9 + k) * kLine);
    EXPECT_EQ(Find(l, plan.lines[4]).page, 0);
    EXPECT_EQ(Find(l, "25.0K    H    OFF  OFF").x, 56 * kChar);
}

// Two mends: the page number ends at the line's end however many digits it has, and a label
// too long for its third of narrow paper pushes the next one right instead of under it.
TEST(PrintLayout, PageNumbersAndLongLabelsStayReadable) {
    PrintMetrics tall = Mono();
    tall.lineHeight = 1400;
    ChannelPlan plan = Plan(99, 99);
    plan.system[SysSetting::PrioritySampling] = 1;
    const PrintLayout l = LayoutChannelPlan(plan, tall);
    ASSERT_GE(l.pages, 10);
    ExpectAt(l, "Page :10", 10, kWidth - 8 * kChar, 0);
    ExpectAt(l, "Priority Sampling Cycle:0.5s", 1, 0, 6 * 1400);
    ExpectAt(l, "Scan Resume Timer:1 s", 1, 29 * kChar, 6 * 1400);
}

TEST(PrintLayout, PagesBreakAtTheLimitWithAShortHead) {
    const PrintLayout l = LayoutChannelPlan(Plan(99, 99), Mono());
    // Rows start at line 10; the first row ending at or below the limit closes the page.
    const int perPage1 = (kPrintPageLimitTwips - 10 * kLine + kLine - 1) / kLine;
    ASSERT_EQ(l.pages, 2);
    ExpectAt(l, "Page :2", 2, kWidth - 7 * kChar, 0);
    ExpectAt(l, kColumnHeader, 2, 0, 4 * kLine);
    ExpectAt(l, "  SPACE  RF_PWR BCLO SCAN ", 2, 54 * kChar, 4 * kLine);
    const std::string firstOnPage2 = Used(perPage1 + 1);
    ExpectAt(l, firstOnPage2, 2, kChar, 5 * kLine);
    EXPECT_EQ(Find(l, Used(perPage1)).page, 1);
    EXPECT_EQ(Find(l, "Model:VK-A1  ", 2).page, 0);
    EXPECT_EQ(Find(l, "BEEP: OFF", 2).page, 0);
    ASSERT_EQ(l.rules.size(), 3u);
    EXPECT_EQ(l.rules[2].page, 2);
    EXPECT_EQ(l.rules[2].y, 2 * kLine);
    // A 99-channel radio has no scan attack timer: the summary says OFF whatever is stored.
    ChannelPlan plan = Plan(99, perPage1);
    plan.system[SysSetting::ScanAttack] = 5;
    const PrintLayout exact = LayoutChannelPlan(plan, Mono());
    EXPECT_EQ(exact.pages, 2);  // the last row filled page 1: page 2 has heads only
    ExpectAt(exact, "Scan Attack Timer:OFF", 1, 2 * kWidth / 3, 6 * kLine);
}

}  // namespace
}  // namespace talveron
