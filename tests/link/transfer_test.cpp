// Upload and Download over a scripted port: every way a transfer can end, the questions it
// asks, the frames it sends and what it hands back.
#include <gtest/gtest.h>

#include "image/cfg_file.h"
#include "link/port_detect.h"
#include "link/transfer.h"
#include "link_fakes.h"
#include "programs.h"

namespace talveron::link::test {
namespace {

using Result = TransferOutcome::Result;

const std::string kTryAgainQ = " !  Make sure the connection is OK\nTry Again ?";
const std::string kUploadTitle = "MDI PC programmer";

// A radio's memory: byte i is i * 7 + 1 (i * 5 + 3 past the small memory), with the memory
// size bit at 0x0A set for the large one.
EepromImage RadioMemory(bool large) {
    EepromImage m(large ? 808 : 144);
    for (std::size_t i = 0; i < m.size(); ++i)
        m[i] = static_cast<std::uint8_t>(i < 144 ? i * 7 + 1 : i * 5 + 3);
    m[kAddrRadioType] = large ? 0x12 : 0x10;
    return m;
}

struct TransferRig : Rig {
    explicit TransferRig(bool large = false, const std::string& faults = "", int model = 0) {
        UsePort(link.state, PortChoice{1, {}});
        port.radio = Radio(model, RadioMemory(large), faults);
    }
    TransferOutcome Upload() { return RunTransfer(link, {kOpUpload, kUploadTitle, {}}); }
    TransferOutcome Download(const Document& doc) {
        return RunTransfer(link, {kOpDownload, doc.caption, ContentOf(doc)});
    }
};

Document Sample(const char* name) {
    const EepromImage image = talveron::test::ReadImage(talveron::test::SamplePath(name));
    EXPECT_EQ(image.size(), 145u) << name;
    return OpenDocument(image, image.back(), name);
}

// Every way a transfer meets a fault or a question: the result, the questions asked in order
// (each titled with the transfer's caption, Yes/No), the frames sent and what else it left.
TEST(Transfer, FaultsAndQuestionsEndInTheirResult) {
    const std::string connecting = "Connecting Err" + kTryAgainQ;
    const std::string upload = "Upload Err" + kTryAgainQ;
    const std::string download = "Download Err" + kTryAgainQ;
    const std::string band = "Error warning: Band are Crossed !\nDo you want to continue ?";
    struct Case {
        const char* what;
        const char* document;  // nullptr: an Upload
        const char* faults;    // the radio's
        std::deque<Answer> script;
        Result result;
        std::vector<std::string> asked;
        std::vector<int> frames;  // addresses of the "R" frames of an Upload, "W" of a Download
        std::string message;      // empty: not checked
    };
    // Runs of frame addresses, each from its first to its last.
    const auto runs = [](std::initializer_list<std::pair<int, int>> list) {
        std::vector<int> at;
        for (auto [first, last] : list)
            for (int a = first; a <= last; a += 4) at.push_back(a);
        return at;
    };
    // clang-format off
    const Case cases[] = {
        {"no radio: asked until No", nullptr, "silent", {Answer::Yes, Answer::No},
         Result::ConnectFailed, {connecting, connecting}, {},
         "Connecting Err !  Make sure the connection is OK"},
        {"probe failing twice asks without a name", nullptr, "short@8", {}, Result::Failed,
         {kTryAgainQ}, {8, 8}, ""},
        {"probe failing once is sent again", nullptr, "echo@8", {}, Result::Uploaded, {},
         runs({{8, 8}, {8, 8}, {0, 140}}), ""},
        {"read frame timeout", nullptr, "short@0x40", {}, Result::Failed, {upload},
         runs({{8, 8}, {0, 0x40}}), "Upload Err !  Make sure the connection is OK"},
        {"Yes after a failed read connects again and starts over", nullptr, "echo@0x40",
         {Answer::Yes}, Result::Uploaded, {upload}, runs({{8, 8}, {0, 0x40}, {8, 8}, {0, 140}}), ""},
        {"one read-back difference is written again", "vk-a1-16ch.cfg", "corrupt@0x21", {},
         Result::Downloaded, {}, runs({{0, 0x20}, {0x20, 140}}), ""},
        {"a second difference in the pass fails it", "vk-a1-16ch.cfg", "corrupt@0x20 corrupt@0x60",
         {}, Result::Failed, {download}, runs({{0, 0x20}, {0x20, 0x60}}), ""},
        {"write timeout", "vk-a1-16ch.cfg", "short@0x30", {}, Result::Failed, {download},
         runs({{0, 0x30}}), "Download Err !  Make sure the connection is OK"},
        {"another band, No", "vk-a2-16ch.cfg", "", {}, Result::Declined, {band}, {},
         "Error warning: Band are Crossed !"},
        {"another band, Yes", "vk-a2-16ch.cfg", "", {Answer::Yes}, Result::Downloaded, {band},
         runs({{0, 140}}), ""},
        {"channel out of band, No", "out-of-band", "", {}, Result::Declined,
         {"Channel #3 Range Out !\nDo you want to continue ?"}, {}, ""},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TransferRig rig(false, c.faults);
        rig.ui.script = c.script;
        const EepromImage before = rig.port.radio.Memory();
        Document doc = Sample(c.document && c.document[0] == 'v' ? c.document : "vk-a1-16ch.cfg");
        if (c.document && c.document[0] == 'o') doc.lines[2].replace(4, 3, "190");  // 190 MHz
        const TransferOutcome out = c.document ? rig.Download(doc) : rig.Upload();
        EXPECT_EQ(out.result, c.result);
        std::vector<std::string> asked;
        for (const Question& q : rig.ui.asked) {
            asked.push_back(q.text);
            EXPECT_EQ(q.title, c.document ? doc.caption : kUploadTitle);
            EXPECT_EQ(q.buttons, Buttons::YesNo);
            const bool warning = q.text.ends_with("continue ?");
            EXPECT_EQ(q.icon, warning ? Icon::Critical : Icon::Question);
            EXPECT_EQ(q.defaultButton, warning ? Answer::No : Answer::Yes);
        }
        EXPECT_EQ(asked, c.asked);
        const std::vector<int> reads = rig.port.Frames('R');
        EXPECT_EQ(c.document ? rig.port.Frames('W') : reads, c.frames);
        // A Download reads only the probe.
        EXPECT_EQ(reads, c.document && !c.frames.empty() ? std::vector<int>{8} : reads);
        EXPECT_EQ(out.message, c.message.empty() ? out.message : c.message);
        EXPECT_EQ(rig.ui.ends, rig.ui.begins);
        EXPECT_FALSE(rig.ui.busy);
        if (out.ok()) continue;
        EXPECT_TRUE(out.image.empty()) << "a failed read never yields an image";
        if (c.result == Result::Declined) {
            EXPECT_EQ(rig.port.radio.Memory(), before);
        } else {
            EXPECT_EQ(rig.ui.text, "Not detected");
            EXPECT_EQ(rig.ui.color, StatusColor::Red);
        }
    }
}

// An Upload reads the radio's whole memory. A Download writes it (144 bytes in 36 frames, or
// 808 in 202): the document's image cut to it, or followed by empty records of zero bytes, so
// none of the radio's old channels stays behind a 16-channel document. It keeps the radio's
// own memory-size bit and asks nothing.
TEST(Transfer, UploadAndDownloadOfBothMemories) {
    // A 99-channel document: the sample's head (large-memory bit set) and channels, the rest
    // empty.
    EepromImage big(809, 0xFF);
    const EepromImage sample = BuildImage(Sample("vk-a1-16ch.cfg"));
    std::copy(sample.begin(), sample.end() - 1, big.begin());
    big[kAddrRadioType] |= 0x02;
    big.back() = 0;
    for (const bool largeRadio : {false, true}) {
        SCOPED_TRACE(largeRadio);
        // An Upload: the probe, then the whole memory in frames of four (across the carry
        // into the high address byte), the model byte last.
        TransferRig up(largeRadio, "", largeRadio ? 1 : 0);
        const TransferOutcome out = up.Upload();
        ASSERT_EQ(out.result, Result::Uploaded);
        EepromImage read = RadioMemory(largeRadio);
        read.push_back(largeRadio);
        EXPECT_EQ(out.image, read);
        EXPECT_EQ(out.modelCode, largeRadio ? 1 : 0);
        const std::vector<int> frames = up.port.Frames('R');
        ASSERT_EQ(frames.size(), largeRadio ? 1u + 202 : 1u + 36);
        EXPECT_EQ(frames[0], 8) << "the probe";
        EXPECT_EQ(frames.back(), largeRadio ? 804 : 140);
        EXPECT_EQ(up.link.state.blockCount, largeRadio ? 99 : 16);
        EXPECT_EQ(up.ui.maximum, largeRadio ? 808 : 144);
        ASSERT_FALSE(up.ui.values.empty());
        EXPECT_EQ(up.ui.values.back(), largeRadio ? 808 : 144);
        EXPECT_EQ(up.ui.text, largeRadio ? "VK-A2   detected" : "VK-A1   detected");
        for (const bool largeDocument : {false, true}) {
            SCOPED_TRACE(largeDocument);
            TransferRig rig(largeRadio);
            const Document doc =
                largeDocument ? OpenDocument(big, 0, "BIG.CFG") : Sample("vk-a1-16ch.cfg");
            const EepromImage image = BuildImage(doc);
            ASSERT_EQ(image.size(), largeDocument ? 809u : 145u);
            ASSERT_EQ(rig.Download(doc).result, Result::Downloaded);
            const int size = largeRadio ? 808 : 144;
            EepromImage expected(size, 0);
            std::copy(image.begin(), image.begin() + (largeDocument ? size : 144),
                      expected.begin());
            expected[kAddrRadioType] = (image[kAddrRadioType] & ~0x02) | (largeRadio ? 0x02 : 0);
            EXPECT_EQ(rig.port.radio.Memory(), expected);
            EXPECT_EQ(rig.port.Frames('W').size(), size / 4u);
            EXPECT_TRUE(rig.ui.asked.empty()) << "no warning, no question";
            EXPECT_EQ(rig.ui.maximum, size);
        }
    }
    // A file may hold more records than any radio (5000 bytes give 206 channels): the large
    // memory still ends at 808 bytes. Other operation codes do nothing.
    EXPECT_EQ(SentImage(EepromImage(16 + 8 * 206 + 1, 0), true).size(), 808u);
    TransferRig rig;
    EXPECT_EQ(RunTransfer(rig.link, {static_cast<Operation>(2), "x", {}}).result,
              Result::NothingDone);
    EXPECT_TRUE(rig.port.writes.empty());
}

}  // namespace
}  // namespace talveron::link::test
