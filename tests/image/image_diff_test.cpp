// Comparing two configurations in radio terms: one change of each kind of field gives exactly
// its own finding, and over random images every differing byte is accounted for.
#include <gtest/gtest.h>

#include <map>
#include <random>
#include <set>

#include "image/cfg_file.h"
#include "image/channel_line.h"
#include "image/document.h"
#include "image/image_diff.h"
#include "test_support.h"

namespace talveron {
namespace {

std::string Text(const Finding& f) {
    const bool channel = f.kind == Finding::Kind::Channel;
    return (channel ? "CH " + std::to_string(f.channel) + " " : "") + f.what + ": " + f.a + " -> " +
           f.b;
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

TEST(ImageDiff, EachSingleChangeGivesItsOwnFinding) {
    const Document base = Base();
    const std::map<std::string, std::size_t> columns = {{"rx-freq", kColRxFreq},
                                                        {"rx-code", kColRxCode},
                                                        {"tx-freq", kColTxFreq},
                                                        {"tx-code", kColTxCode}};
    for (const auto& c : test::LoadCases("core/image_diff.txt")) {
        Document changed = base;
        const std::string op = c[0].substr(0, c[0].find(' ')),
                          text = c[0].substr(op.size() + 1 - (op == c[0]));
        if (columns.count(op)) changed.lines[2].replace(columns.at(op), text.size(), text);
        if (op == "option") changed.state.chOpt[2] ^= std::stoi(text, nullptr, 0);
        if (op == "head")
            changed.state.head[std::stoi(text, nullptr, 0)] = std::stoi(text.substr(5), nullptr, 0);
        if (op == "model") changed.state.model = std::stoi(text);
        EXPECT_EQ(Texts(BuildImage(base), BuildImage(changed)),
                  std::vector<std::string>(c.f.begin() + 1, c.f.end()))
            << c.where;
    }
    // A file with fewer channels compares with empty records of zero bytes where it has none.
    const EepromImage small = BuildImage(base);
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
