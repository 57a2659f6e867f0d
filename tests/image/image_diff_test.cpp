// Comparing two configurations in radio terms: one change of each kind of field gives exactly
// its own finding, and over random images every differing byte is accounted for.
#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <set>

#include "image/cfg_file.h"
#include "image/channel_line.h"
#include "image/document.h"
#include "image/image_diff.h"

namespace talveron {
namespace {

std::string Text(const Finding& f) {
    const std::string where =
        f.kind == Finding::Kind::Channel ? "CH " + std::to_string(f.channel) + " " : "";
    return where + f.what + ": " + f.a + " -> " + f.b;
}

std::vector<std::string> Texts(const EepromImage& a, const EepromImage& b) {
    std::vector<std::string> out;
    for (const Finding& f : CompareImages(a, b)) out.push_back(Text(f));
    return out;
}

// The VK-A1 sample with the bytes the rows start from set by hand: channel 3 reads
// "147.300000 012= 146.700000 012=" with the options 25.0K, H, BCLO and SCAN on.
Document Base() {
    const CfgReadResult read = ReadCfgFile(std::string(TALVERON_SAMPLES) + "/vk-a1-16ch.cfg");
    EXPECT_TRUE(read.ok());
    Document doc = OpenDocument(read.image, read.modelCode, "BASE");
    doc.state.chOpt[2] = kOptRxInUse | kOptTxInUse | kOptHighPower | kOptBclo | kOptScan;
    for (std::size_t a : {0x01, 0x05, 0x09, 0x0A, 0x0E, 0x0F}) doc.state.head[a] = 0;
    doc.state.head[0x07] = 0x52;  // scan attack 5 s, scan resume 3 s
    doc.state.head[0x08] = 0x14;  // sampling 0.5s, TX timer 60 s
    return doc;
}

void Replace(Document& doc, int channel, std::size_t column, std::string_view text) {
    doc.lines[channel - 1].replace(column, text.size(), text);
}

TEST(ImageDiff, EachSingleChangeGivesItsOwnFinding) {
    using Edit = std::function<void(Document&)>;
    const struct {
        Edit edit;
        std::vector<std::string> findings;
    } rows[] = {
        {[](Document&) {}, {}},
        {[](Document& d) { Replace(d, 3, kColRxFreq, "147.312500"); },
         {"CH 3 Rx Freq.: 147.300000 -> 147.312500"}},
        {[](Document& d) { Replace(d, 3, kColRxCode, "013"); },
         {"CH 3 Rx_CTCSS/DCS: 100.0 -> 103.5"}},
        {[](Document& d) { Replace(d, 3, kColTxFreq, "146.712500"); },
         {"CH 3 Tx Freq.: 146.700000 -> 146.712500"}},
        {[](Document& d) { Replace(d, 3, kColTxCode, "051"); },
         {"CH 3 Tx_CTCSS/DCS: 100.0 -> D023"}},
        // A transmit side taken away: its call guard goes with it.
        {[](Document& d) { Replace(d, 3, kColTxFreq, "NONE      "); },
         {"CH 3 Tx Freq.: 146.700000 -> NONE", "CH 3 Tx_CTCSS/DCS: 100.0 -> None"}},
        {[](Document& d) { d.state.chOpt[2] ^= kOptNarrow; }, {"CH 3 SPACE: 25.0K -> 12.5K"}},
        {[](Document& d) { d.state.chOpt[2] ^= kOptHighPower; }, {"CH 3 RF_PWR: H -> L"}},
        {[](Document& d) { d.state.chOpt[2] ^= kOptBclo; }, {"CH 3 BCLO: ON -> OFF"}},
        {[](Document& d) { d.state.chOpt[2] ^= kOptScan; }, {"CH 3 SCAN: ON -> OFF"}},
        {[](Document& d) { d.state.chOpt[2] ^= kOptPenalty; }, {"CH 3 PENALTY: OFF -> ON"}},
        {[](Document& d) { d.state.head[0x08] = 0x10; }, {"TX Time Of Timer: 60 s -> OFF"}},
        {[](Document& d) { d.state.head[0x08] = 0x24; }, {"Priority Sampling Cycle: 0.5s -> 1.0s"}},
        {[](Document& d) { d.state.head[0x09] = 0x24; },
         {"Power Save Cycle: OFF -> 1200 ms", "BCLO for: Carrier -> wrong CTCSS"}},
        {[](Document& d) { d.state.head[0x05] = 3; }, {"Priority Channel No.: OFF -> 3"}},
        {[](Document& d) { d.state.head[0x07] = 0xF0; },
         {"Scan Resume Timer: 3 s -> 1 s", "Scan Attack Timer: 5 s -> 15 s"}},
        {[](Document& d) { d.state.head[0x0F] = 30; }, {"PTT Resume Time: OFF -> 30"}},
        {[](Document& d) { d.state.head[0x0E] = 0x90; },
         {"Monitor Button Enable: OFF -> ON", "Reverse Burst ON: ON -> OFF"}},
        // A byte shared by a setting and bits nobody names: both are told.
        {[](Document& d) { d.state.head[0x0A] = 0x21; },
         {"BEEP ON: ON -> OFF", "0x000A: 0x00 -> 0x21"}},
        {[](Document& d) { d.state.head[0x01] = 0x5A; }, {"0x0001: 0x00 -> 0x5A"}},
        {[](Document& d) { d.state.model = 1; }, {"Model: VK-A1 -> VK-A2"}},
    };
    const Document base = Base();
    for (const auto& row : rows) {
        Document changed = base;
        row.edit(changed);
        SCOPED_TRACE(row.findings.empty() ? "no change" : row.findings.front());
        EXPECT_EQ(Texts(BuildImage(base), BuildImage(changed)), row.findings);
    }
}

// A file with fewer channels compares with empty records of zero bytes where it has none.
TEST(ImageDiff, MissingChannelsCompareAsEmptyRecords) {
    const EepromImage small = BuildImage(Base());
    EepromImage large(small.begin(), small.end() - 1);
    large.resize(MemorySize(kLargeChannels), 0);
    large.push_back(small.back());
    EXPECT_EQ(Texts(small, large), std::vector<std::string>{"Channels: 16 -> 99"});
    large[RecordAddress(40)] = 0xFF;  // an empty channel all the same
    large[RecordAddress(40) + 3] = 0x12;
    EXPECT_EQ(Texts(small, large),
              (std::vector<std::string>{"Channels: 16 -> 99", "0x0150: 0x00 -> 0xFF",
                                        "0x0153: 0x00 -> 0x12"}));
}

// Over random images: the addresses of the findings are exactly the differing bytes, each
// channel field is told once, and an image compared with itself gives nothing.
TEST(ImageDiff, EveryDifferingByteIsAccountedFor) {
    std::mt19937 random(20240501);
    std::uniform_int_distribution<int> byte(0, 255);
    for (int round = 0; round < 300; ++round) {
        EepromImage a(MemorySize(kSmallChannels) + 1);
        for (auto& b : a) b = static_cast<std::uint8_t>(byte(random));
        a.back() &= 1;
        EepromImage b = a;
        for (int n = round % 6; n > 0; --n)
            b[random() % (b.size() - 1)] = static_cast<std::uint8_t>(byte(random));
        EXPECT_TRUE(CompareImages(a, a).empty());
        std::set<std::size_t> told;
        std::set<std::string> names;
        for (const Finding& f : CompareImages(a, b)) {
            told.insert(f.addresses.begin(), f.addresses.end());
            EXPECT_TRUE(names.insert(Text(f)).second) << Text(f);
        }
        std::set<std::size_t> differing;
        for (std::size_t i = 0; i + 1 < a.size(); ++i)
            if (a[i] != b[i]) differing.insert(i);
        EXPECT_EQ(told, differing);
    }
}

}  // namespace
}  // namespace talveron
