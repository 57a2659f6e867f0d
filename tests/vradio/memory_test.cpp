// The radio's memory: the default configuration, the memory sizes and bit 1 of 0x0A, and
// --load and --save through real .cfg files in a temporary folder.
#include <gtest/gtest.h>

#include "image/cfg_file.h"
#include "image/channel_line.h"
#include "image/freq_codec.h"
#include "image/model_table.h"
#include "image/range_check.h"
#include "programs.h"
#include "test_support.h"
#include "vradio/default_memory.h"
#include "vradio/options.h"

namespace talveron::vradio {
namespace {

TEST(DefaultMemory, IsARealisticCanonicalConfigurationInTheModelsBand) {
    for (int model : {0, 1}) {
        for (std::size_t size : {kSmallMemory, kLargeMemory}) {
            SCOPED_TRACE(::testing::Message() << "model " << model << ", " << size << " bytes");
            EepromImage memory = DefaultMemory(model, size);
            ASSERT_EQ(memory.size(), size);
            EXPECT_EQ(memory[0], 0);
            EXPECT_EQ((memory[kAddrRadioType] & kLargeMemoryBit) != 0, size == kLargeMemory);
            const CodecContext ctx =
                CodecContext::FromHead(memory[kAddrIfIndex], memory[kAddrRefDiv625]);
            EXPECT_EQ(ctx.IfText(), model == 0 ? "+45.0" : "-45.0");
            EXPECT_EQ(ctx.prescaler, 64);
            memory.push_back(static_cast<std::uint8_t>(model));
            const ChannelList list = ImageToList(memory);
            ASSERT_EQ(list.lines.size(), size == kLargeMemory ? 99u : 16u);
            const auto inUse = std::count_if(list.lines.begin(), list.lines.end(),
                                             [](const std::string& l) { return LineInUse(l); });
            EXPECT_GE(inUse, 10);
            EXPECT_LE(inUse, 16);
            // The channels pass the program's own band and raster check.
            const RangeVerdict verdict =
                CheckRanges(list.lines, BandFromText(BandText(ModelLine(model))));
            EXPECT_EQ(verdict.text, "ALL Channels In Range");
            // What the programmer would read, edit nothing and write back equals the memory.
            EepromImage rebuilt(memory.begin(), memory.begin() + kHeadSize);
            ListToImage(rebuilt, list.lines, list.chOpt, ctx);
            rebuilt.push_back(static_cast<std::uint8_t>(model));
            EXPECT_EQ(rebuilt, memory);
        }
    }
}

// --load takes memory and model from the file, cut or filled with erased bytes to the memory
// size, which bit 1 of 0x0A then tells; --model and --memory override the file's.
TEST(LoadAndSave, LoadFitsTheFileToTheMemory) {
    test::TempDir temp;
    EepromImage big = DefaultMemory(1, kLargeMemory);
    big[800] = 0x5A;
    big.push_back(1);
    const std::string bigPath = temp.file("big.cfg");
    ASSERT_TRUE(WriteCfgFile(bigPath, big).ok());
    const std::string a2 = test::SamplePath("vk-a2-16ch.cfg");
    const EepromImage small = test::ReadImage(a2);
    const struct {
        std::string path;
        int model;
        std::size_t memory;  // 0: the file's
        int expectedModel;
        EepromImage expected;
    } cases[] = {
        {bigPath, -1, 0, 1, EepromImage(big.begin(), big.end() - 1)},
        {bigPath, -1, kSmallMemory, 1, EepromImage(big.begin(), big.begin() + kSmallMemory)},
        {a2, -1, 0, small.back(), EepromImage(small.begin(), small.end() - 1)},
        {a2, 0, kLargeMemory, 0, EepromImage(small.begin(), small.end() - 1)},
    };
    for (auto c : cases) {
        SCOPED_TRACE(c.path + " " + std::to_string(c.memory));
        Options o;
        o.loadPath = c.path;
        if (c.model >= 0) o.model = c.model;
        if (c.memory) o.memory = c.memory;
        const RadioSetup setup = MakeRadio(o);
        ASSERT_TRUE(setup.radio.has_value()) << setup.error;
        EXPECT_EQ(setup.radio->ModelCode(), c.expectedModel);
        c.expected.resize(c.memory ? c.memory : c.expected.size(), 0xFF);
        // Only bit 1 of 0x0A follows the size.
        c.expected[kAddrRadioType] = (c.expected[kAddrRadioType] & ~kLargeMemoryBit) |
                                     (c.expected.size() == kLargeMemory ? kLargeMemoryBit : 0);
        EXPECT_EQ(setup.radio->Memory(), c.expected);
    }
    const VirtualRadio radio(0, DefaultMemory(0, kSmallMemory));
    EXPECT_NE(SaveRadio(radio, temp.file("no/such/folder/x.cfg")), "");
}

}  // namespace
}  // namespace talveron::vradio
