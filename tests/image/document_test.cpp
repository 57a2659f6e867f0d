// The model table and the document: opening an image as a document and building the image
// of a document again.
#include <gtest/gtest.h>

#include "image/channel_line.h"
#include "image/document.h"
#include "image/model_table.h"

namespace talveron {
namespace {

TEST(ModelTable, LinesAndTheirColumns) {
    ASSERT_EQ(ModelTable.size(), 5u);
    for (const ModelEntry& e : ModelTable) EXPECT_EQ(e.line.size(), 43u) << e.line;
    EXPECT_EQ(kModelHeader, "NO. Model    CH Range(MHz) Step(KHz) IF(MHz)  ");
    EXPECT_EQ(ShortModelName(0), "VK-A1  ");
    EXPECT_EQ(ShortModelName(1), "VK-A2  ");
    EXPECT_EQ(ModelNameField(ModelLine(4)), "VK-B2  ");
    // The band sits at columns 18-24; the "-" in the model name must not mislead.
    EXPECT_EQ(BandText(ModelLine(0)), "140-175");
    EXPECT_EQ(BandText(ModelLine(1)), "440-480");
    EXPECT_EQ(BandText(ModelLine(3)), "480-529");
    const BandLimits a2 = BandFromText(BandText(ModelLine(1)));
    EXPECT_EQ(a2.low, 440);
    EXPECT_EQ(a2.high, 480);
    EXPECT_TRUE(ModelLine(5).empty());
    EXPECT_TRUE(ModelLine(-1).empty());
    EXPECT_TRUE(IsAcceptedModel(0));
    EXPECT_TRUE(IsAcceptedModel(1));
    EXPECT_FALSE(IsAcceptedModel(2));
}

TEST(ImageLayout, SizesAndModelByteAddress) {
    EXPECT_EQ(MemorySize(16), 144u);
    EXPECT_EQ(MemorySize(99), 808u);
    EXPECT_EQ(RecordAddress(0), 0x10u);
    // The model byte follows the last record: 0x90 for 16 channels, 0x328 for 99.
    EXPECT_EQ(RecordAddress(16), 0x90u);
    EXPECT_EQ(RecordAddress(99), 0x328u);
    EXPECT_EQ(ChannelCount(EepromImage(145)), 16);
    EXPECT_EQ(ChannelCount(EepromImage(809)), 99);
    EXPECT_EQ(ChannelCount(EepromImage(17)), 0);
    EXPECT_EQ(ChannelCount(EepromImage(16)), 0);
}

EepromImage SmallImage(std::uint8_t fill) {
    EepromImage image(MemorySize(2) + 1, 0);
    for (std::size_t i = 0; i < kHeadSize; ++i) image[i] = static_cast<std::uint8_t>(fill + i);
    image[kAddrIfIndex] = 0x10;  // oscillator index 1, IF -21.4
    image[kAddrRefDiv625] = 0x05;
    const std::uint8_t rec[8] = {0xC4, 0x01, 0x33, 0x19, 0x1E, 0x17, 0x70, 0x45};
    std::copy(rec, rec + 8, image.begin() + 16);
    image.back() = 1;
    return image;
}

TEST(Document, OpenCopiesHeadOptionsModelAndLines) {
    const EepromImage image = SmallImage(0xA0);
    const Document doc = OpenDocument(image, 1, "/tmp/some where/Radio.cfg");
    EXPECT_EQ(doc.caption, "/TMP/SOME WHERE/RADIO.CFG");
    EXPECT_FALSE(doc.state.changed);
    EXPECT_EQ(doc.state.model, 1);
    for (std::size_t i = 1; i < kHeadSize; ++i) EXPECT_EQ(doc.state.head[i], image[i]) << i;
    ASSERT_EQ(doc.BlockCount(), 2);
    EXPECT_EQ(doc.lines[0], "1   150.005000  001=  67.0   150.006250  051=  023    ");
    EXPECT_EQ(doc.lines[1], "2   NONE        000=  None   NONE        000=  None   ");
    EXPECT_EQ(doc.state.chOpt, (std::vector<std::uint8_t>{0xC4, 0x00}));
    EXPECT_EQ(doc.ModelName(), "VK-A2  ");
    EXPECT_EQ(doc.Band(), "440-480");
    EXPECT_EQ(doc.Limits().low, 440);
}

TEST(Document, BuildImageTakesTheEditedHeadOptionsAndModelAndWritesAddressZeroAsZero) {
    const EepromImage image = SmallImage(0xA0);
    Document doc = OpenDocument(image, 1, "X");
    // (That a build gives back the head and records read is followed in round_trip_test.)
    // Edits of the head copy and the option bytes go into the next build.
    doc.state.head[0x0F] = 0x42;
    doc.state.head[0] = 0x99;  // index 0 is never used
    doc.state.chOpt[0] = 0xFC;
    doc.state.model = 0;
    const EepromImage built = BuildImage(doc);
    EXPECT_EQ(built[0x0F], 0x42);
    EXPECT_EQ(built[0], 0);
    EXPECT_EQ(built[16], 0xFC);
    EXPECT_EQ(built.back(), 0);
}

TEST(Document, ImageWithoutRecordsGivesNoLines) {
    EepromImage image(kHeadSize, 0);
    image.push_back(0);
    const Document doc = OpenDocument(image, 0, "X");
    EXPECT_EQ(doc.BlockCount(), 0);
    EXPECT_EQ(BuildImage(doc).size(), 17u);
}

}  // namespace
}  // namespace talveron
