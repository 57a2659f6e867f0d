// The radio's memory: the default configuration, the memory sizes and bit 1 of 0x0A, and the
// --load / --save round trip through real .cfg files in a temporary folder.
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

using test::ReadImage;
using test::TempDir;

const std::string kSampleA1 = test::SamplePath("vk-a1-16ch.cfg");
const std::string kSampleA2 = test::SamplePath("vk-a2-16ch.cfg");

Options LoadOptions(const std::string& path) {
    Options o;
    o.loadPath = path;
    return o;
}

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
            const BandLimits band = BandFromText(BandText(ModelLine(model)));
            const auto inUse = std::count_if(list.lines.begin(), list.lines.end(),
                                             [](const std::string& l) { return LineInUse(l); });
            EXPECT_GE(inUse, 10);
            EXPECT_LE(inUse, 16);
            // The channels decode and pass the program's own band and raster check.
            const RangeVerdict verdict = CheckRanges(list.lines, band);
            EXPECT_TRUE(verdict.setsStatus);
            EXPECT_EQ(verdict.Color(), StatusColor::Black) << verdict.text;
            EXPECT_FALSE(verdict.stepBad) << verdict.text;
            // What the programmer would read, edit nothing and write back equals the memory.
            EepromImage rebuilt(memory.begin(), memory.begin() + kHeadSize);
            ListToImage(rebuilt, list.lines, list.chOpt, ctx);
            rebuilt.push_back(static_cast<std::uint8_t>(model));
            EXPECT_EQ(rebuilt, memory);
        }
    }
}

TEST(MemorySize, FitCutsOrFillsWithErasedBytesAndMarksBit1) {
    EepromImage image(200, 0x00);
    image[kAddrRadioType] = 0x10;
    const EepromImage small = FitMemory(image, kSmallMemory);
    ASSERT_EQ(small.size(), kSmallMemory);
    EXPECT_EQ(small[kAddrRadioType], 0x10);
    const EepromImage large = FitMemory(image, kLargeMemory);
    ASSERT_EQ(large.size(), kLargeMemory);
    EXPECT_EQ(large[kAddrRadioType], 0x12);
    EXPECT_EQ(large[199], 0x00);
    EXPECT_EQ(large[200], 0xFF);
    EXPECT_EQ(large[807], 0xFF);

    EepromImage marked(kSmallMemory, 0xFF);
    MarkMemorySize(marked);
    EXPECT_EQ(marked[kAddrRadioType], 0xFD) << "only bit 1 changes";
    EXPECT_EQ(marked[kAddrRadioType - 1], 0xFF);
}

TEST(LoadAndSave, LoadTakesMemoryAndModelFromTheFile) {
    for (const std::string& path : {kSampleA1, kSampleA2}) {
        const EepromImage file = ReadImage(path);
        const RadioSetup setup = MakeRadio(LoadOptions(path));
        ASSERT_TRUE(setup.radio.has_value()) << setup.error;
        EXPECT_EQ(setup.radio->ModelCode(), file.back());
        // The samples carry bit 1 although they hold 16 channels; the radio clears it.
        EepromImage expected(file.begin(), file.end() - 1);
        expected[kAddrRadioType] &= static_cast<std::uint8_t>(~kLargeMemoryBit);
        EXPECT_EQ(setup.radio->Memory(), expected) << path;
    }
    // Options override the file's model and size.
    Options o = LoadOptions(kSampleA1);
    o.model = 1;
    o.memory = kLargeMemory;
    const RadioSetup setup = MakeRadio(o);
    ASSERT_TRUE(setup.radio.has_value()) << setup.error;
    EXPECT_EQ(setup.radio->ModelCode(), 1);
    ASSERT_EQ(setup.radio->Memory().size(), kLargeMemory);
    EXPECT_NE(setup.radio->Memory()[kAddrRadioType] & kLargeMemoryBit, 0);
    EXPECT_EQ(setup.radio->Memory()[kSmallMemory], 0xFF);
}

TEST(LoadAndSave, LargeFileMakesALargeRadioAndASmallRadioCutsIt) {
    TempDir temp;
    EepromImage big = DefaultMemory(1, kLargeMemory);
    big[800] = 0x5A;
    big.push_back(1);
    const std::string path = temp.file("big.cfg");
    ASSERT_TRUE(WriteCfgFile(path, big).ok());

    const RadioSetup large = MakeRadio(LoadOptions(path));
    ASSERT_TRUE(large.radio.has_value()) << large.error;
    EXPECT_EQ(large.radio->Memory().size(), kLargeMemory);
    EXPECT_EQ(large.radio->Memory()[800], 0x5A);

    Options o = LoadOptions(path);
    o.memory = kSmallMemory;
    const RadioSetup small = MakeRadio(o);
    ASSERT_TRUE(small.radio.has_value()) << small.error;
    EepromImage expected(big.begin(), big.begin() + kSmallMemory);
    expected[kAddrRadioType] &= static_cast<std::uint8_t>(~kLargeMemoryBit);
    EXPECT_EQ(small.radio->Memory(), expected);
}

// (A file --load cannot open is refused by the program with the reader's message: see
// program_test; the reader's messages themselves are pinned in the image tests.)
TEST(LoadAndSave, SaveToAnUnwritablePlaceReportsTheFailure) {
    TempDir temp;
    VirtualRadio radio(0, DefaultMemory(0, kSmallMemory));
    EXPECT_NE(SaveRadio(radio, temp.file("no/such/folder/x.cfg")), "");
}

}  // namespace
}  // namespace talveron::vradio
