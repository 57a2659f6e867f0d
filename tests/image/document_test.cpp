// The document: an image opened as channel lines and built again (over generated images of
// both memory sizes, both prescalers and every IF byte), the model it names, and its edit
// history with undo, redo and the saved point.
#include <gtest/gtest.h>

#include <sstream>

#include "image/channel_line.h"
#include "image/document.h"
#include "image/document_set.h"
#include "image/tone_codec.h"
#include "image_generator.h"
#include "test_support.h"

namespace talveron {
namespace {

// The line a generated channel must show, put together from its parts.
std::string ExpectedLine(int number, const test::GeneratedChannel& ch) {
    auto pad = [](std::string s, std::size_t w) { return s.resize(w, ' '), s; };
    auto side = [&](const std::string& freq, int tone) {
        if (freq == "NONE") return pad("NONE", 12) + "000=  None   ";
        return pad(freq, 12) + Pad3(tone) + "=  " + pad(ToneValueText(tone), 7);
    };
    return pad(std::to_string(number), 4) + side(ch.rxText, ch.rxTone) + side(ch.txText, ch.txTone);
}

TEST(Document, GeneratedImagesOpenAsTheirLinesAndRebuildTheBytesThatCarryMeaning) {
    test::ImageGenerator gen(0x7A1E0);
    for (int ifByte = 0; ifByte < 16; ++ifByte) {  // 8..15: an index above 7
        for (int prescaler : {64, 128}) {
            for (int channels : {16, 99, 16, 99, 16, 99}) {
                const auto oscillator = static_cast<std::uint8_t>(gen.Uniform(0, 15) << 4);
                const auto g = gen.Make(channels, oscillator | ifByte, prescaler);
                SCOPED_TRACE("IF byte " + std::to_string(ifByte) + " P" +
                             std::to_string(prescaler) + " N" + std::to_string(channels));
                const Document doc = OpenDocument(g.image, g.modelCode, "gen.cfg");
                ASSERT_EQ(doc.BlockCount(), channels);
                for (int k = 0; k < channels; ++k) {
                    ASSERT_EQ(doc.lines[k], ExpectedLine(k + 1, g.channels[k])) << "ch " << k + 1;
                    ASSERT_EQ(doc.state.chOpt[k], g.channels[k].option) << "ch " << k + 1;
                    ASSERT_EQ(LineInUse(doc.lines[k]), g.channels[k].rxText != "NONE");
                }
                const EepromImage built = BuildImage(doc);
                ASSERT_EQ(built.size(), g.expected.size());
                for (std::size_t i = 0; i < built.size(); ++i)
                    ASSERT_EQ(built[i], g.expected[i]) << "address 0x" << std::hex << i;
                // A rebuilt image is a fixed point.
                ASSERT_EQ(BuildImage(OpenDocument(built, g.modelCode, "gen.cfg")), built);
            }
        }
    }
}

TEST(Document, NamesItsModelAndBandAndCountsItsChannels) {
    EepromImage image(MemorySize(2) + 1, 0);
    image.back() = 1;
    Document doc = OpenDocument(image, 1, "/tmp/some where/Radio.cfg");
    doc.state.head[0] = 0x99;  // address 0 is never used: built as 0
    EXPECT_EQ(BuildImage(doc)[0], 0);
    EXPECT_EQ(doc.caption, "/TMP/SOME WHERE/RADIO.CFG");
    EXPECT_FALSE(doc.state.changed);
    EXPECT_EQ(doc.ModelName(), "VK-A2  ");
    EXPECT_EQ(doc.Band(), "440-480");
    EXPECT_EQ(std::pair(doc.Limits().low, doc.Limits().high), std::pair(440, 480));
    EXPECT_EQ(OpenDocument(EepromImage(17), 0, "x").BlockCount(), 0);
    EXPECT_EQ(BuildImage(OpenDocument(EepromImage(17), 0, "x")).size(), 17u);
}

Document Doc() {
    Document doc;
    doc.lines = {"line 0", "line 1", "line 2", "line 3"};
    doc.state.chOpt.assign(4, 0xC0);
    return doc;
}

std::string Reported(const DocChanges& c) {
    std::string s;
    for (int i : c.lines) s += " line " + std::to_string(i);
    s += std::string(c.options ? " options" : "") + (c.customer ? " customer" : "") +
         (c.head ? " head" : "") + (c.lineCount ? " count" : "");
    return s.empty() ? "nothing" : s.substr(1);
}

TEST(EditHistory, StepsUndoRedoAndTheSavedPoint) {
    DocumentSet set;
    const int n = set.AddFile(Doc(), "/tmp/a.cfg");
    Document& doc = *set.Get(n);
    for (const auto& c : test::LoadCases("core/edit_steps.txt")) {
        std::istringstream write(c[2]);
        std::string what, text;
        int index = 0;
        write >> what >> index >> text;
        DocChanges changes;
        if (c[0] == "undo") changes = UndoEdit(doc);
        if (c[0] == "redo") changes = RedoEdit(doc);
        if (c[0] == "save") set.MarkSaved(n, "/tmp/a.cfg");
        if (c[0] == "edit") {
            changes = EditDocument(doc, c[1], [&](Document& d) {
                if (what == "line") d.lines[index] = text;
                if (what == "option") d.state.chOpt[index] = std::stoi(text, nullptr, 0);
                if (what == "customer") d.customer = c[2].substr(9);
            });
        }
        EXPECT_EQ(Reported(changes), c[3]) << c.where;
        EXPECT_EQ(doc.state.changed, c[4] == "yes") << c.where;
        EXPECT_EQ(CanUndo(doc) ? doc.history.UndoLabel() : "-", c[5]) << c.where;
        EXPECT_EQ(CanRedo(doc) ? doc.history.RedoLabel() : "-", c[6]) << c.where;
        EXPECT_EQ(doc.lines[2], c[7]) << c.where;
        EXPECT_EQ(doc.state.chOpt[2], c.Int(8)) << c.where;
    }

    // The history keeps its depth of steps: the oldest go.
    Document deep = Doc();
    for (std::size_t i = 0; i < EditHistory::kDepth + 10; ++i)
        EditDocument(deep, "x", [i](Document& d) { d.lines[0] = std::to_string(i); });
    std::size_t undone = 0;
    while (UndoEdit(deep).Any()) ++undone;
    EXPECT_EQ(undone, EditHistory::kDepth);
    EXPECT_EQ(deep.lines[0], "9");
}

// An empty channel stored with the byte 0x7F that an edit fills keeps no options of it and
// is saved in use (0xFF, which reads back empty, would lose the edit).
TEST(EditHistory, ALineAnEditPutsInUseStartsWithNoOptions) {
    Document doc;  // IF -21.4 MHz, prescaler 128
    doc.lines = {"1   NONE        000=  None   NONE        000=  None   "};
    doc.state.chOpt = {0x7F};
    const std::string line = "1   150.005000  001=  67.0   150.006250  051=  023    ";
    EditDocument(doc, "Channel 1", [&](Document& d) { d.lines[0] = line; });
    EXPECT_EQ(doc.state.chOpt[0], 0x00);
    const EepromImage image = BuildImage(doc);
    EXPECT_EQ(image[kHeadSize], 0xC0);
    EXPECT_EQ(ImageToList(image).lines[0], line);
    // An option set afterwards on the line is kept, as in the worked record (0x04 gives 0xC4).
    EditDocument(doc, "Channel 1 Option", [](Document& d) { d.state.chOpt[0] = 0x04; });
    EXPECT_EQ(BuildImage(doc)[kHeadSize], 0xC4);
}

}  // namespace
}  // namespace talveron
