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

using B = std::vector<std::uint8_t>;
using Result = TransferOutcome::Result;

const std::string kTryAgainQ = " !  Make sure the connection is OK\nTry Again ?";
const std::string kUploadTitle = "MDI PC programmer";

struct TransferRig : Rig {
    TransferRig() {
        UsePort(link.state, PortChoice{1, {}});
        for (std::size_t i = 0; i < port.radio.memory.size(); ++i)
            port.radio.memory[i] = static_cast<std::uint8_t>(i * 7 + 1);
        port.radio.memory[kAddrRadioType] = 0x10;  // small memory
    }
    void MakeLarge() {
        port.radio.memory.resize(808);
        for (std::size_t i = 144; i < 808; ++i)
            port.radio.memory[i] = static_cast<std::uint8_t>(i * 5 + 3);
        port.radio.memory[kAddrRadioType] = 0x12;
    }
    TransferOutcome Upload() { return RunTransfer(link, {kOpUpload, kUploadTitle, {}}); }
    TransferOutcome Download(const Document& doc) {
        return RunTransfer(link, {kOpDownload, doc.caption, ContentOf(doc)});
    }
};

Document Sample(const char* name) {
    const CfgReadResult read = ReadCfgFile(talveron::test::SamplePath(name));
    EXPECT_TRUE(read.ok()) << read.message;
    return OpenDocument(read.image, read.modelCode, name);
}

// A 99-channel document: the sample's head (large-memory bit set) and channels, the rest empty.
Document LargeDocument() {
    const EepromImage sample =
        talveron::test::ReadImage(talveron::test::SamplePath("vk-a1-16ch.cfg"));
    EepromImage image(809, 0xFF);
    std::copy(sample.begin(), sample.end() - 1, image.begin());
    image[kAddrRadioType] |= 0x02;
    image.back() = 0;
    return OpenDocument(image, 0, "BIG.CFG");
}

// The four data bytes of the answers at address changed, the first times times (always when
// times < 0).
MiniRadio::Tamper At(int address, std::function<void(B&)> change, int times = -1) {
    return [=](B& answer, int at) mutable {
        if (at != address || answer.size() != 4 || times == 0) return;
        times -= times > 0 ? 1 : 0;
        change(answer);
    };
}
std::function<void(B&)> Cut(std::size_t keep) {
    return [keep](B& answer) { answer.resize(keep); };
}

// The probe, then the whole memory in frames of four (across the carry into the high address
// byte), the model byte last.
TEST(Upload, GivesTheRadiosMemoryAndModelInFourByteFramesAfterTheProbe) {
    for (const bool large : {false, true}) {
        SCOPED_TRACE(large);
        TransferRig rig;
        if (large) rig.MakeLarge();
        rig.port.radio.identity = large ? 0x0E : 0x0F;
        const TransferOutcome out = rig.Upload();
        ASSERT_EQ(out.result, Result::Uploaded);
        EXPECT_EQ(out.image, talveron::test::Join(rig.port.radio.memory, {B::value_type{large}}));
        EXPECT_EQ(out.modelCode, large ? 1 : 0);
        EXPECT_EQ(rig.port.radio.framesR, large ? 1 + 202 : 1 + 36);
        EXPECT_EQ(rig.link.state.blockCount, large ? 99 : 16);
        const int size = large ? 808 : 144;
        EXPECT_EQ(rig.view.maximum, size);
        ASSERT_FALSE(rig.view.values.empty());
        EXPECT_EQ(rig.view.values.back(), size);
        EXPECT_EQ(rig.view.begins, 1);
        EXPECT_EQ(rig.view.ends, 1);
        EXPECT_FALSE(rig.view.busy) << "the normal pointer is back";
        EXPECT_TRUE(rig.prompt.asked.empty());
        EXPECT_EQ(rig.status.text, large ? "VK-A2   detected" : "VK-A1   detected");
    }
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
        std::function<void(TransferRig&)> setup;
        std::deque<Answer> script;
        Result result;
        std::vector<std::string> asked;
        int frames;           // "R" frames of an Upload, "W" frames of a Download
        std::string message;  // empty: not checked
        std::function<void(TransferRig&)> check = nullptr;
    };
    const auto tamper = [](MiniRadio::Tamper t) {
        return [t](TransferRig& r) { r.port.radio.tamper = t; };
    };
    const auto flip = [](std::size_t i) { return [i](B& a) { a[i] ^= 0x01; }; };
    // clang-format off
    const Case cases[] = {
        {"no radio: asked until No", nullptr, [](TransferRig& r) { r.port.radio.vAnswer = 0; },
         {Answer::Yes, Answer::No}, Result::ConnectFailed, {connecting, connecting}, 0,
         "Connecting Err !  Make sure the connection is OK"},
        {"probe failing twice asks without a name", nullptr, tamper(At(8, Cut(3))), {},
         Result::Failed, {kTryAgainQ}, 2, ""},
        {"probe failing once is sent again", nullptr, tamper(At(8, Cut(0), 1)), {},
         Result::Uploaded, {}, 2 + 36, ""},
        {"read frame timeout", nullptr, tamper(At(0x40, Cut(3))), {}, Result::Failed, {upload},
         1 + 17, "Upload Err !  Make sure the connection is OK"},
        {"Yes after a failed read connects again and starts over", nullptr,
         tamper(At(0x40, Cut(0), 1)), {Answer::Yes}, Result::Uploaded, {upload}, 1 + 17 + 1 + 36,
         "",
         [](TransferRig& r) {
             EXPECT_EQ(std::count_if(r.port.writes.begin(), r.port.writes.end(),
                                     [](const auto& w) { return w.second == B{0x56}; }), 2);
         }},
        {"port vanishing mid read", nullptr,
         [](TransferRig& r) {
             r.port.radio.tamper = At(0x40, [&r](B& answer) {
                 answer.clear();
                 r.port.lostAfterWrite = true;
                 r.port.openable.clear();
             });
         },
         {Answer::Yes}, Result::ConnectFailed, {upload, connecting}, 1 + 17, "",
         [](TransferRig& r) { EXPECT_LT(r.clock.Elapsed(), std::chrono::seconds(1)); }},
        {"one read-back difference is written again", "vk-a1-16ch.cfg",
         tamper(At(0x20, flip(1), 1)), {}, Result::Downloaded, {}, 37, "",
         [](TransferRig& r) {
             const auto& at = r.port.radio.writeAddresses;
             EXPECT_EQ(std::count(at.begin(), at.end(), 0x20), 2);
         }},
        {"a second difference in the pass fails it", "vk-a1-16ch.cfg",
         [&](TransferRig& r) {
             auto a = At(0x20, flip(0), 1), b = At(0x60, flip(0), 1);
             r.port.radio.tamper = [a, b](B& x, int at) mutable { a(x, at), b(x, at); };
         },
         {}, Result::Failed, {download}, 26, "",
         [](TransferRig& r) {
             ASSERT_FALSE(r.port.radio.writeAddresses.empty());
             EXPECT_EQ(r.port.radio.writeAddresses.back(), 0x60);
         }},
        {"write timeout", "vk-a1-16ch.cfg", tamper(At(0x30, Cut(3))), {}, Result::Failed,
         {download}, 13, "Download Err !  Make sure the connection is OK"},
        {"another band, No", "vk-a2-16ch.cfg", nullptr, {}, Result::Declined, {band}, 0,
         "Error warning: Band are Crossed !"},
        {"another band, Yes", "vk-a2-16ch.cfg", nullptr, {Answer::Yes}, Result::Downloaded, {band},
         36, ""},
        {"channel out of band, No", "out-of-band", nullptr, {}, Result::Declined,
         {"Channel #3 Range Out !\nDo you want to continue ?"}, 0, ""},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TransferRig rig;
        if (c.setup) c.setup(rig);
        rig.prompt.script = c.script;
        const B before = rig.port.radio.memory;
        Document doc = Sample(c.document && c.document[0] == 'v' ? c.document : "vk-a1-16ch.cfg");
        if (c.document && c.document[0] == 'o') doc.lines[2].replace(4, 3, "190");  // 190 MHz
        const TransferOutcome out = c.document ? rig.Download(doc) : rig.Upload();
        EXPECT_EQ(out.result, c.result);
        std::vector<std::string> asked;
        for (const Question& q : rig.prompt.asked) {
            asked.push_back(q.text);
            EXPECT_EQ(q.title, c.document ? doc.caption : kUploadTitle);
            EXPECT_EQ(q.buttons, Buttons::YesNo);
            const bool warning = q.text.ends_with("continue ?");
            EXPECT_EQ(q.icon, warning ? Icon::Critical : Icon::Question);
            EXPECT_EQ(q.defaultButton, warning ? Answer::No : Answer::Yes);
        }
        EXPECT_EQ(asked, c.asked);
        EXPECT_EQ(c.document ? rig.port.radio.framesW : rig.port.radio.framesR, c.frames);
        EXPECT_EQ(out.message, c.message.empty() ? out.message : c.message);
        if (c.check) c.check(rig);
        EXPECT_EQ(rig.view.ends, rig.view.begins);
        EXPECT_FALSE(rig.view.busy);
        if (out.ok()) continue;
        EXPECT_TRUE(out.image.empty()) << "a failed read never yields an image";
        if (c.result == Result::Declined) {
            EXPECT_EQ(rig.port.radio.memory, before);
        } else {
            EXPECT_EQ(rig.status.text, "Not detected");
            EXPECT_EQ(rig.status.color, StatusColor::Red);
        }
    }
}

// A Download writes the radio's whole memory (144 bytes in 36 frames, or 808 in 202): the
// document's image cut to it, or followed by empty records of zero bytes, so none of the
// radio's old channels stays behind a 16-channel document. It keeps the radio's own
// memory-size bit and asks nothing.
TEST(Download, WritesTheImageBlockByBlockKeepingTheRadiosMemorySize) {
    for (const bool largeDocument : {false, true}) {
        for (const bool largeRadio : {false, true}) {
            SCOPED_TRACE(::testing::Message() << largeDocument << largeRadio);
            TransferRig rig;
            if (largeRadio) rig.MakeLarge();
            const Document doc = largeDocument ? LargeDocument() : Sample("vk-a1-16ch.cfg");
            ASSERT_EQ(BuildImage(doc).size(), largeDocument ? 809u : 145u);
            ASSERT_EQ(rig.Download(doc).result, Result::Downloaded);
            const int size = largeRadio ? 808 : 144;
            B expected(size, 0);
            const EepromImage image = BuildImage(doc);
            std::copy(image.begin(), image.begin() + (largeDocument ? size : 144),
                      expected.begin());
            expected[kAddrRadioType] = (image[kAddrRadioType] & ~0x02) | (largeRadio ? 0x02 : 0);
            EXPECT_EQ(rig.port.radio.memory, expected);
            ASSERT_EQ(rig.port.radio.framesW, size / 4);
            EXPECT_EQ(rig.port.radio.writeAddresses.back(), size - 4);
            EXPECT_TRUE(rig.prompt.asked.empty()) << "no warning, no question";
            EXPECT_EQ(rig.view.maximum, size);
            // And the next read still finds all the radio's channels.
            EXPECT_EQ(rig.Upload().image.size(), largeRadio ? 809u : 145u);
        }
    }
}

TEST(Transfer, OtherOperationCodesDoNothing) {
    TransferRig rig;
    EXPECT_EQ(RunTransfer(rig.link, {static_cast<Operation>(2), "x", {}}).result, Result::NothingDone);
    EXPECT_TRUE(rig.port.writes.empty());
}

// (How a document's image is cut to either radio with the radio's size bit is followed by
// the Download test above.) A file may hold more records than any radio (5000 bytes give 206
// channels): the large memory still ends at 808 bytes.
TEST(SentImage, ALargerFileIsCutToTheLargeMemory) {
    EXPECT_EQ(SentImage(EepromImage(16 + 8 * 206 + 1, 0), true).size(), 808u);
}

}  // namespace
}  // namespace talveron::link::test
