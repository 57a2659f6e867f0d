// Upload and Download over a scripted port: every way a transfer can end, the questions it
// asks, the frames it sends and what it hands back.
#include <gtest/gtest.h>

#include "image/cfg_file.h"
#include "link/port_detect.h"
#include "link/transfer.h"
#include "link_fakes.h"

namespace talveron::link::test {
namespace {

using B = std::vector<std::uint8_t>;

const std::string kTryAgainQ = " !  Make sure the connection is OK\nTry Again ?";

struct Rig {
    FakeClock clock;
    FakePort port{clock};
    ScriptedPrompt prompt;
    RecordingStatus status;
    RecordingView view;
    RadioLink link{port, prompt, status, view, clock, LinkState{}};

    Rig() {
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
    TransferOutcome Upload() {
        return RunTransfer(link, {kOpUpload, nullptr, "MDI PC programmer"});
    }
    TransferOutcome Download(const Document& doc) {
        return RunTransfer(link, {kOpDownload, &doc, doc.caption});
    }
};

Document Sample(const char* name) {
    const CfgReadResult read = ReadCfgFile(std::string(SAMPLES_DIR) + "/" + name);
    EXPECT_TRUE(read.ok()) << read.message;
    return OpenDocument(read.image, read.modelCode, name);
}

// A 99-channel document: the sample's head (large-memory bit set) and channels, the rest empty.
Document LargeDocument() {
    const CfgReadResult read = ReadCfgFile(std::string(SAMPLES_DIR) + "/vk-a1-16ch.cfg");
    EepromImage image(809, 0xFF);
    std::copy(read.image.begin(), read.image.end() - 1, image.begin());
    image[kAddrRadioType] |= 0x02;
    image.back() = 0;
    return OpenDocument(image, 0, "BIG.CFG");
}

TEST(Upload, SmallRadioGivesA145ByteImageIn36FramesAfterTheProbe) {
    Rig rig;
    const TransferOutcome out = rig.Upload();
    ASSERT_EQ(out.result, TransferOutcome::Result::Uploaded);
    ASSERT_EQ(out.image.size(), 145u);
    EXPECT_EQ(B(out.image.begin(), out.image.end() - 1), rig.port.radio.memory);
    EXPECT_EQ(out.image.back(), 0);
    EXPECT_EQ(rig.port.radio.framesR, 1 + 36);
    EXPECT_EQ(rig.link.state.blockCount, 16);
    EXPECT_EQ(rig.view.maximum, 144);
    EXPECT_EQ(rig.view.values.back(), 144);
    EXPECT_EQ(rig.view.begins, 1);
    EXPECT_EQ(rig.view.ends, 1);
    EXPECT_FALSE(rig.view.busy) << "the normal pointer is back";
    EXPECT_TRUE(rig.prompt.asked.empty());
    EXPECT_EQ(rig.status.text, "VK-A1   detected");
    EXPECT_FALSE(out.NeedsClosingSteps());
}

TEST(Upload, LargeRadioGivesAn809ByteImageWithTheModelByteLast) {
    Rig rig;
    rig.MakeLarge();
    rig.port.radio.identity = 0x0E;
    const TransferOutcome out = rig.Upload();
    ASSERT_EQ(out.result, TransferOutcome::Result::Uploaded);
    ASSERT_EQ(out.image.size(), 809u);
    EXPECT_EQ(B(out.image.begin(), out.image.end() - 1), rig.port.radio.memory);
    EXPECT_EQ(out.image.back(), 1);
    EXPECT_EQ(out.modelCode, 1);
    EXPECT_EQ(rig.port.radio.framesR, 1 + 202);
    EXPECT_EQ(rig.link.state.blockCount, 99);
    // Frames step by four across the carry into the high address byte.
    EXPECT_EQ(out.image[0x100], rig.port.radio.memory[0x100]);
}

TEST(Upload, NoRadioAsksConnectingErrUntilNo) {
    Rig rig;
    rig.port.radio.vAnswer = 0x00;
    rig.prompt.script = {Answer::Yes, Answer::No};
    const TransferOutcome out = rig.Upload();
    EXPECT_EQ(out.result, TransferOutcome::Result::ConnectFailed);
    EXPECT_TRUE(out.image.empty());
    ASSERT_EQ(rig.prompt.asked.size(), 2u);
    const Question& q = rig.prompt.asked[0];
    EXPECT_EQ(q.text, "Connecting Err" + kTryAgainQ);
    EXPECT_EQ(q.title, "MDI PC programmer");
    EXPECT_EQ(q.buttons, Buttons::YesNo);
    EXPECT_EQ(q.icon, Icon::Question);
    EXPECT_EQ(out.message, "Connecting Err !  Make sure the connection is OK");
    EXPECT_TRUE(out.NeedsClosingSteps());
    EXPECT_EQ(rig.status.text, "Not detected");
}

TEST(Upload, ProbeFailingTwiceAsksWithoutAName) {
    Rig rig;
    rig.port.radio.tamper = [](B& answer, int address) {
        if (address == 8) answer.pop_back();
    };
    const TransferOutcome out = rig.Upload();
    EXPECT_EQ(out.result, TransferOutcome::Result::Failed);
    ASSERT_EQ(rig.prompt.asked.size(), 1u);
    EXPECT_EQ(rig.prompt.asked[0].text, kTryAgainQ);
    EXPECT_EQ(rig.port.radio.framesR, 2) << "the probe is sent once more, then given up";
    EXPECT_EQ(rig.status.text, "Not detected");
    EXPECT_EQ(rig.status.color, kStatusRed);
    EXPECT_EQ(rig.view.ends, 1);
    EXPECT_TRUE(out.image.empty());
}

TEST(Upload, ProbeFailingOnceIsRetriedAndTheReadGoesOn) {
    Rig rig;
    bool first = true;
    rig.port.radio.tamper = [&](B& answer, int address) {
        if (address == 8 && first) {
            first = false;
            answer.clear();
        }
    };
    const TransferOutcome out = rig.Upload();
    EXPECT_EQ(out.result, TransferOutcome::Result::Uploaded);
    EXPECT_EQ(rig.port.radio.framesR, 2 + 36);
    EXPECT_TRUE(rig.prompt.asked.empty());
}

TEST(Upload, ReadFrameTimeoutAsksUploadErrAndNoMeansNoImage) {
    Rig rig;
    rig.port.radio.tamper = [](B& answer, int address) {
        if (address == 0x40) answer.pop_back();
    };
    const TransferOutcome out = rig.Upload();
    EXPECT_EQ(out.result, TransferOutcome::Result::Failed);
    EXPECT_TRUE(out.image.empty()) << "a failed read never yields an image";
    ASSERT_EQ(rig.prompt.asked.size(), 1u);
    EXPECT_EQ(rig.prompt.asked[0].text, "Upload Err" + kTryAgainQ);
    EXPECT_EQ(out.message, "Upload Err !  Make sure the connection is OK");
    EXPECT_EQ(rig.status.text, "Not detected");
}

TEST(Upload, YesAfterAFailedReadConnectsAgainAndStartsOver) {
    Rig rig;
    int bad = 1;
    rig.port.radio.tamper = [&](B& answer, int address) {
        if (address == 0x40 && bad > 0) {
            --bad;
            answer.clear();
        }
    };
    rig.prompt.script = {Answer::Yes};
    const TransferOutcome out = rig.Upload();
    ASSERT_EQ(out.result, TransferOutcome::Result::Uploaded);
    EXPECT_EQ(B(out.image.begin(), out.image.end() - 1), rig.port.radio.memory);
    int versions = 0;
    for (const auto& w : rig.port.writes) versions += w.second == B{0x56} ? 1 : 0;
    EXPECT_EQ(versions, 2) << "the second attempt starts with a new connection";
    EXPECT_EQ(rig.prompt.asked.size(), 1u);
}

TEST(Upload, PortVanishingMidReadEndsWithoutHangOrImage) {
    Rig rig;
    rig.port.radio.tamper = [&](B& answer, int address) {
        if (address == 0x40) {
            answer.clear();
            rig.port.lostAfterWrite = true;
            rig.port.openable.clear();
        }
    };
    rig.prompt.script = {Answer::Yes};  // try again: the port is gone
    const TransferOutcome out = rig.Upload();
    EXPECT_EQ(out.result, TransferOutcome::Result::ConnectFailed);
    EXPECT_TRUE(out.image.empty());
    ASSERT_EQ(rig.prompt.asked.size(), 2u);
    EXPECT_EQ(rig.prompt.asked[0].text, "Upload Err" + kTryAgainQ);
    EXPECT_EQ(rig.prompt.asked[1].text, "Connecting Err" + kTryAgainQ);
    EXPECT_LT(rig.clock.Elapsed(), std::chrono::seconds(1));
}

TEST(Download, WritesTheDocumentsImageBlockByBlock) {
    Rig rig;
    const Document doc = Sample("vk-a1-16ch.cfg");
    const TransferOutcome out = rig.Download(doc);
    ASSERT_EQ(out.result, TransferOutcome::Result::Downloaded);
    const EepromImage image = BuildImage(doc);
    B expected(image.begin(), image.end() - 1);
    expected[kAddrRadioType] &= ~0x02;
    EXPECT_EQ(rig.port.radio.memory, expected);
    EXPECT_EQ(rig.port.radio.framesW, 36);
    EXPECT_TRUE(rig.prompt.asked.empty()) << "no warning, no question";
    EXPECT_EQ(rig.view.maximum, 144);
    EXPECT_TRUE(out.NeedsClosingSteps());
}

TEST(Download, OneReadBackDifferenceIsRetriedAtTheSameAddress) {
    Rig rig;
    int bad = 1;
    rig.port.radio.tamper = [&](B& answer, int address) {
        if (address == 0x20 && answer.size() == 4 && bad-- > 0) answer[1] ^= 0xFF;
    };
    const Document doc = Sample("vk-a1-16ch.cfg");
    const TransferOutcome out = rig.Download(doc);
    EXPECT_EQ(out.result, TransferOutcome::Result::Downloaded);
    EXPECT_EQ(std::count(rig.port.radio.writeAddresses.begin(), rig.port.radio.writeAddresses.end(),
                         0x20),
              2);
    EXPECT_EQ(rig.port.radio.framesW, 37);
    EXPECT_TRUE(rig.prompt.asked.empty());
}

TEST(Download, SecondDifferenceInThePassFailsIt) {
    Rig rig;
    std::set<int> spoilt;
    rig.port.radio.tamper = [&](B& answer, int address) {
        if ((address == 0x20 || address == 0x60) && !spoilt.count(address)) {
            spoilt.insert(address);
            answer[0] ^= 0x01;
        }
    };
    const Document doc = Sample("vk-a1-16ch.cfg");
    const TransferOutcome out = rig.Download(doc);
    EXPECT_EQ(out.result, TransferOutcome::Result::Failed);
    ASSERT_EQ(rig.prompt.asked.size(), 1u);
    EXPECT_EQ(rig.prompt.asked[0].text, "Download Err" + kTryAgainQ);
    EXPECT_EQ(rig.prompt.asked[0].title, doc.caption);
    EXPECT_EQ(rig.port.radio.writeAddresses.back(), 0x60);
    EXPECT_EQ(rig.status.text, "Not detected");
}

TEST(Download, WriteTimeoutAsksDownloadErr) {
    Rig rig;
    rig.port.radio.tamper = [](B& answer, int address) {
        if (address == 0x30 && answer.size() == 4) answer.pop_back();
    };
    const TransferOutcome out = rig.Download(Sample("vk-a1-16ch.cfg"));
    EXPECT_EQ(out.result, TransferOutcome::Result::Failed);
    EXPECT_EQ(out.message, "Download Err !  Make sure the connection is OK");
}

TEST(Download, ModelOfAnotherBandIsAskedAboutAndNoWritesNothing) {
    Rig rig;  // the radio says model 0
    const Document doc = Sample("vk-a2-16ch.cfg");
    const B before = rig.port.radio.memory;
    const TransferOutcome out = rig.Download(doc);
    EXPECT_EQ(out.result, TransferOutcome::Result::Declined);
    ASSERT_EQ(rig.prompt.asked.size(), 1u);
    const Question& q = rig.prompt.asked[0];
    EXPECT_EQ(q.text, "Error warning: Band are Crossed !\nDo you want to continue ?");
    EXPECT_EQ(q.title, doc.caption);
    EXPECT_EQ(q.icon, Icon::Critical);
    EXPECT_EQ(q.buttons, Buttons::YesNo);
    EXPECT_EQ(q.defaultButton, Answer::No);
    EXPECT_EQ(rig.port.radio.framesW, 0);
    EXPECT_EQ(rig.port.radio.memory, before);
    EXPECT_EQ(out.message, "Error warning: Band are Crossed !");
}

TEST(Download, YesToTheBandWarningWrites) {
    Rig rig;
    rig.prompt.script = {Answer::Yes};
    const TransferOutcome out = rig.Download(Sample("vk-a2-16ch.cfg"));
    EXPECT_EQ(out.result, TransferOutcome::Result::Downloaded);
    EXPECT_EQ(rig.port.radio.framesW, 36);
}

TEST(Download, ChannelOutOfBandIsAWarningToo) {
    Rig rig;
    Document doc = Sample("vk-a1-16ch.cfg");
    doc.lines[2].replace(4, 3, "190");
    const TransferOutcome out = rig.Download(doc);
    EXPECT_EQ(out.result, TransferOutcome::Result::Declined);
    ASSERT_EQ(rig.prompt.asked.size(), 1u);
    EXPECT_EQ(rig.prompt.asked[0].text, "Channel #3 Range Out !\nDo you want to continue ?");
    EXPECT_EQ(rig.port.radio.framesW, 0);
}

TEST(Download, LargeDocumentToSmallRadioWritesAddresses0To143Only) {
    Rig rig;
    const Document doc = LargeDocument();
    ASSERT_EQ(BuildImage(doc).size(), 809u);
    const TransferOutcome out = rig.Download(doc);
    ASSERT_EQ(out.result, TransferOutcome::Result::Downloaded);
    EXPECT_EQ(rig.port.radio.framesW, 36);
    EXPECT_EQ(*std::max_element(rig.port.radio.writeAddresses.begin(),
                                rig.port.radio.writeAddresses.end()),
              140);
    EXPECT_EQ(rig.port.radio.memory[kAddrRadioType] & 0x02, 0)
        << "the small radio must not be told it has the large memory";
    EXPECT_EQ(rig.view.maximum, 144);
}

TEST(Download, SmallDocumentToLargeRadioKeepsItsMemorySize) {
    Rig rig;
    rig.MakeLarge();
    const B tail(rig.port.radio.memory.begin() + 144, rig.port.radio.memory.end());
    const TransferOutcome out = rig.Download(Sample("vk-a1-16ch.cfg"));
    ASSERT_EQ(out.result, TransferOutcome::Result::Downloaded);
    EXPECT_EQ(rig.port.radio.framesW, 36);
    EXPECT_NE(rig.port.radio.memory[kAddrRadioType] & 0x02, 0);
    EXPECT_EQ(B(rig.port.radio.memory.begin() + 144, rig.port.radio.memory.end()), tail);
    // And the next read still finds all 99 channels.
    EXPECT_EQ(rig.Upload().image.size(), 809u);
}

TEST(Transfer, OtherOperationCodesDoNothing) {
    Rig rig;
    const TransferOutcome out = RunTransfer(rig.link, {2, nullptr, "x"});
    EXPECT_EQ(out.result, TransferOutcome::Result::NothingDone);
    EXPECT_TRUE(rig.port.writes.empty());
    EXPECT_TRUE(out.NeedsClosingSteps());
}

TEST(SentImage, CutsToTheMemoryAndKeepsTheRadiosSizeBit) {
    EepromImage image(809, 0x33);
    image[kAddrRadioType] = 0x12;
    const EepromImage small = SentImage(image, false);
    ASSERT_EQ(small.size(), 144u);
    EXPECT_EQ(small[kAddrRadioType], 0x10);
    const EepromImage large = SentImage(image, true);
    ASSERT_EQ(large.size(), 808u);
    EXPECT_EQ(large[kAddrRadioType], 0x12);
    EXPECT_EQ(SentImage(EepromImage(145, 0), true).size(), 144u);
    EXPECT_EQ(SentImage(EepromImage(145, 0), true)[kAddrRadioType], 0x02);
}

}  // namespace
}  // namespace talveron::link::test
