// Property tests over generated images: image -> document lines -> image keeps every byte
// that carries meaning, for both memory sizes, both prescalers and every IF index.
#include <gtest/gtest.h>

#include "image/cfg_file.h"
#include "image/channel_line.h"
#include "image/document.h"
#include "image/tone_codec.h"
#include "image_generator.h"
#include "test_support.h"

namespace talveron {
namespace {

// The line the generator's channel must show, put together from its parts.
std::string ExpectedLine(int number, const test::GeneratedChannel& ch) {
    auto pad = [](std::string s, std::size_t w) {
        s.resize(w, ' ');
        return s;
    };
    auto side = [&](const std::string& freq, int tone) {
        if (freq == "NONE") return pad("NONE", 12) + "000=  None   ";
        std::string code = std::to_string(tone);
        code.insert(0, code.size() < 3 ? 3 - code.size() : 0, '0');
        return pad(freq, 12) + code + "=  " + pad(ToneValueText(tone), 7);
    };
    return pad(std::to_string(number), 4) + side(ch.rxText, ch.rxTone) + side(ch.txText, ch.txTone);
}

void CheckRoundTrip(const test::GeneratedImage& g, const std::string& label) {
    const Document doc = OpenDocument(g.image, g.modelCode, "GEN.CFG");
    ASSERT_EQ(doc.BlockCount(), static_cast<int>(g.channels.size())) << label;
    for (std::size_t k = 0; k < g.channels.size(); ++k) {
        const auto& ch = g.channels[k];
        ASSERT_EQ(doc.lines[k], ExpectedLine(static_cast<int>(k + 1), ch))
            << label << " ch " << k + 1;
        ASSERT_EQ(doc.lines[k].size(), kLineWidth);
        ASSERT_EQ(doc.state.chOpt[k], ch.option) << label << " ch " << k + 1;
        ASSERT_EQ(LineInUse(doc.lines[k]), ch.kind != test::GeneratedChannel::Empty);
    }
    const EepromImage built = BuildImage(doc);
    ASSERT_EQ(built.size(), g.expected.size()) << label;
    for (std::size_t i = 0; i < built.size(); ++i) {
        ASSERT_EQ(built[i], g.expected[i])
            << label << " address 0x" << std::hex << i << std::dec
            << (i >= kHeadSize ? " channel " + std::to_string((i - kHeadSize) / 8 + 1) : "");
    }
    // A rebuilt image is a fixed point: opening and building it again changes nothing.
    ASSERT_EQ(BuildImage(OpenDocument(built, g.modelCode, "GEN.CFG")), built) << label;
}

TEST(RoundTrip, EveryIfByteBothPrescalersBothMemorySizes) {
    test::ImageGenerator gen(0x7A1E0);
    int images = 0;
    for (int ifByte = 0; ifByte < 16; ++ifByte) {  // 8..15: an index above 7
        for (int prescaler : {64, 128}) {
            for (int channels : {16, 99}) {
                for (int rep = 0; rep < 3; ++rep) {
                    const auto oscillator = static_cast<std::uint8_t>(gen.Uniform(0, 15) << 4);
                    const auto g = gen.Make(
                        channels, static_cast<std::uint8_t>(oscillator | ifByte), prescaler);
                    CheckRoundTrip(g, "IF byte " + std::to_string(ifByte) + " P" +
                                          std::to_string(prescaler) + " N" +
                                          std::to_string(channels) + " #" + std::to_string(rep));
                    if (HasFatalFailure()) return;
                    ++images;
                }
            }
        }
    }
    EXPECT_EQ(images, 192);
}

TEST(RoundTrip, SampleFilesSaveBackByteForByte) {
    for (const char* name : {"vk-a1-16ch.cfg", "vk-a2-16ch.cfg"}) {
        const std::string path = std::string(TALVERON_SAMPLES) + "/" + name;
        const CfgReadResult read = ReadCfgFile(path);
        ASSERT_TRUE(read.ok()) << read.message;
        ASSERT_EQ(read.image.size(), 145u);
        const Document doc = OpenDocument(read.image, read.modelCode, path);
        EXPECT_EQ(EncodeCfgRecords(BuildImage(doc)), std::string(test::ReadText(path))) << name;
    }
}

}  // namespace
}  // namespace talveron
