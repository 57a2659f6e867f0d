// Upload and Download through a real pseudo-terminal: QSerialPort on one side, the virtual
// radio on the other, every fault it can show and the outcome the link must reach.
#include <gtest/gtest.h>

#include "image/cfg_file.h"
#include "link/port_detect.h"
#include "link/transfer.h"
#include "link_fakes.h"
#include "platform/serial_port_qt.h"
#include "vradio_process.h"

namespace talveron::link::test {
namespace {

using B = std::vector<std::uint8_t>;
const std::string kTryAgainQ = " !  Make sure the connection is OK\nTry Again ?";

// Passes everything to the Qt port and notes the address of every "W" frame sent.
class CountingPort final : public SerialPort {
  public:
    explicit CountingPort(SerialPort& inner) : inner_(inner) {}
    std::vector<int> writeAddresses;

    void SelectPort(int n) override { inner_.SelectPort(n); }
    void SelectDevice(const std::string& p) override { inner_.SelectDevice(p); }
    OpenResult Open() override { return inner_.Open(); }
    void Close() override { inner_.Close(); }
    bool IsOpen() const override { return inner_.IsOpen(); }
    void SetInputMode(InputMode m) override { inner_.SetInputMode(m); }
    void ClearReceiveBuffer() override { inner_.ClearReceiveBuffer(); }
    std::size_t BytesWaiting() override { return inner_.BytesWaiting(); }
    bool Write(std::span<const std::uint8_t> bytes) override {
        if (lastLetter_ == 'W' && bytes.size() == 6)
            writeAddresses.push_back(bytes[0] * 256 + bytes[1]);
        lastLetter_ = bytes.size() == 1 ? bytes[0] : 0;
        return inner_.Write(bytes);
    }
    Bytes ReadAll() override { return inner_.ReadAll(); }
    WaitResult WaitForBytes(std::chrono::microseconds t) override { return inner_.WaitForBytes(t); }

  private:
    SerialPort& inner_;
    std::uint8_t lastLetter_ = 0;
};

class PtyTransfer : public ::testing::Test {
  protected:
    // Starts the radio (saving its memory on exit) and points the link at it.
    void StartRadio(QStringList options) {
        options << "--save" << SavePath();
        radio_ = std::make_unique<VradioProcess>(options);
        ASSERT_TRUE(radio_->Started()) << radio_->ErrorText().toStdString();
        UsePort(link.state, PortChoice{0, radio_->Path()});
    }
    // Stops the radio and returns its memory with the model byte.
    EepromImage RadioMemory() {
        port.Close();
        radio_->Stop();
        return ReadImage(SavePath());
    }
    QString SavePath() const { return dir_.filePath("radio.cfg"); }
    QString Sample(const char* name) const { return QString(SAMPLES_DIR) + "/" + name; }
    Document Load(const QString& path) {
        const CfgReadResult r = ReadCfgFile(path.toStdString());
        EXPECT_TRUE(r.ok()) << r.message;
        return OpenDocument(r.image, r.modelCode, path.toStdString());
    }
    TransferOutcome Upload() {
        return RunTransfer(link, {kOpUpload, nullptr, "MDI PC programmer"});
    }
    TransferOutcome Download(const Document& d) {
        return RunTransfer(link, {kOpDownload, &d, d.caption});
    }

    QTemporaryDir dir_;
    std::unique_ptr<VradioProcess> radio_;
    SteadyClock clock;
    platform::QtSerialPort qtPort;
    CountingPort port{qtPort};
    ScriptedPrompt prompt;
    RecordingStatus status;
    RecordingView view;
    RadioLink link{port, prompt, status, view, clock, LinkState{}};
};

TEST_F(PtyTransfer, UploadOfBothMemorySizesMatchesTheRadio) {
    for (const char* memory : {"small", "large"}) {
        SCOPED_TRACE(memory);
        StartRadio({"--memory", memory});
        const TransferOutcome out = Upload();
        ASSERT_EQ(out.result, TransferOutcome::Result::Uploaded);
        const EepromImage held = RadioMemory();
        const std::size_t size = std::string(memory) == "small" ? 145 : 809;
        ASSERT_EQ(held.size(), size);
        EXPECT_EQ(out.image, held);
        EXPECT_TRUE(prompt.asked.empty());
    }
}

TEST_F(PtyTransfer, UploadOfALoadedFileGivesItsMemoryAndTheRadiosModel) {
    StartRadio({"--load", Sample("vk-a2-16ch.cfg")});
    const TransferOutcome out = Upload();
    ASSERT_EQ(out.result, TransferOutcome::Result::Uploaded);
    const EepromImage file = ReadImage(Sample("vk-a2-16ch.cfg"));
    EXPECT_EQ(out.image, file);
    EXPECT_EQ(out.modelCode, 1);
    EXPECT_EQ(status.text, "VK-A2   detected");
}

TEST_F(PtyTransfer, SilentRadioEndsInConnectingErr) {
    StartRadio({"--fault", "silent"});
    prompt.script = {Answer::Yes};
    const TransferOutcome out = Upload();
    EXPECT_EQ(out.result, TransferOutcome::Result::ConnectFailed);
    EXPECT_EQ(prompt.Count("Connecting Err" + kTryAgainQ), 2);
    EXPECT_TRUE(out.image.empty());
}

TEST_F(PtyTransfer, WrongIdentityEndsInConnectingErr) {
    StartRadio({"--fault", "identity=0x20"});
    const TransferOutcome out = Upload();
    EXPECT_EQ(out.result, TransferOutcome::Result::ConnectFailed);
    EXPECT_EQ(prompt.Count("Connecting Err" + kTryAgainQ), 1);
    EXPECT_EQ(status.text, "Not detected");
}

TEST_F(PtyTransfer, ProbeCutShortFailsAfterOneRetry) {
    StartRadio({"--fault", "short@8"});
    const TransferOutcome out = Upload();
    EXPECT_EQ(out.result, TransferOutcome::Result::Failed);
    ASSERT_EQ(prompt.asked.size(), 1u);
    EXPECT_EQ(prompt.asked[0].text, kTryAgainQ);
    EXPECT_TRUE(out.image.empty());
}

TEST_F(PtyTransfer, ShortAndLongReadRepliesFailTheUpload) {
    for (const char* fault : {"short@0x40", "long@0x40"}) {
        SCOPED_TRACE(fault);
        prompt.asked.clear();
        StartRadio({"--fault", fault});
        const TransferOutcome out = Upload();
        EXPECT_EQ(out.result, TransferOutcome::Result::Failed);
        EXPECT_EQ(prompt.Count("Upload Err" + kTryAgainQ), 1);
        EXPECT_TRUE(out.image.empty());
        EXPECT_EQ(status.text, "Not detected");
        RadioMemory();
    }
}

TEST_F(PtyTransfer, CorruptReadIsTakenAsReadAndTheNextReadIsClean) {
    StartRadio({"--fault", "corrupt@0x41"});
    const TransferOutcome first = Upload();
    ASSERT_EQ(first.result, TransferOutcome::Result::Uploaded);
    const TransferOutcome second = Upload();
    ASSERT_EQ(second.result, TransferOutcome::Result::Uploaded);
    const EepromImage held = RadioMemory();
    EXPECT_EQ(second.image, held);
    std::vector<std::size_t> differ;
    for (std::size_t a = 0; a < held.size(); ++a) {
        if (first.image[a] != held[a]) differ.push_back(a);
    }
    EXPECT_EQ(differ, (std::vector<std::size_t>{0x41})) << "a read is not checked";
}

TEST_F(PtyTransfer, DownloadWritesAndOneCorruptReadBackIsRetried) {
    StartRadio({"--fault", "corrupt@0x40"});
    const Document doc = Load(Sample("vk-a1-16ch.cfg"));
    const TransferOutcome out = Download(doc);
    EXPECT_EQ(out.result, TransferOutcome::Result::Downloaded);
    EXPECT_TRUE(prompt.asked.empty());
    EXPECT_EQ(std::count(port.writeAddresses.begin(), port.writeAddresses.end(), 0x40), 2);
    EXPECT_EQ(port.writeAddresses.size(), 37u);
    const EepromImage held = RadioMemory();
    const EepromImage sent = SentImage(BuildImage(doc), false);
    EXPECT_EQ(EepromImage(held.begin(), held.end() - 1), sent);
}

TEST_F(PtyTransfer, ReadBackWrongEveryTimeFailsTheDownload) {
    StartRadio({"--fault", "corrupt@0x40:always"});
    const TransferOutcome out = Download(Load(Sample("vk-a1-16ch.cfg")));
    EXPECT_EQ(out.result, TransferOutcome::Result::Failed);
    EXPECT_EQ(prompt.Count("Download Err" + kTryAgainQ), 1);
    EXPECT_EQ(port.writeAddresses.back(), 0x40);
}

TEST_F(PtyTransfer, ShortWriteReplyFailsTheDownload) {
    StartRadio({"--fault", "short@0x50"});
    const TransferOutcome out = Download(Load(Sample("vk-a1-16ch.cfg")));
    EXPECT_EQ(out.result, TransferOutcome::Result::Failed);
    EXPECT_EQ(prompt.Count("Download Err" + kTryAgainQ), 1);
}

TEST_F(PtyTransfer, DeadLineEndsTheUploadWithoutHang) {
    StartRadio({"--fault", "dead@0x40"});
    prompt.script = {Answer::Yes};  // try again on a line that is gone
    const TransferOutcome out = Upload();
    EXPECT_EQ(out.result, TransferOutcome::Result::ConnectFailed);
    ASSERT_EQ(prompt.asked.size(), 2u);
    EXPECT_EQ(prompt.asked[0].text, "Upload Err" + kTryAgainQ);
    EXPECT_EQ(prompt.asked[1].text, "Connecting Err" + kTryAgainQ);
    EXPECT_TRUE(out.image.empty());
}

TEST_F(PtyTransfer, DeadLineEndsTheDownloadWithoutHang) {
    StartRadio({"--fault", "dead@0x40"});
    const TransferOutcome out = Download(Load(Sample("vk-a1-16ch.cfg")));
    EXPECT_EQ(out.result, TransferOutcome::Result::Failed);
    EXPECT_EQ(prompt.Count("Download Err" + kTryAgainQ), 1);
}

TEST_F(PtyTransfer, BandWarningNoLeavesTheRadioAsItWas) {
    StartRadio({"--load", Sample("vk-a1-16ch.cfg")});
    const TransferOutcome out = Download(Load(Sample("vk-a2-16ch.cfg")));
    EXPECT_EQ(out.result, TransferOutcome::Result::Declined);
    EXPECT_EQ(prompt.Count("Error warning: Band are Crossed !\nDo you want to continue ?"), 1);
    EXPECT_TRUE(port.writeAddresses.empty());
    EXPECT_EQ(RadioMemory(), ReadImage(Sample("vk-a1-16ch.cfg")));
}

TEST_F(PtyTransfer, LargeDocumentToSmallRadioWritesAddresses0To143Only) {
    const EepromImage sample = ReadImage(Sample("vk-a1-16ch.cfg"));
    EepromImage big(809, 0xFF);
    std::copy(sample.begin(), sample.end() - 1, big.begin());
    big[kAddrRadioType] |= 0x02;
    big.back() = 0;
    const Document doc = OpenDocument(big, 0, "BIG.CFG");
    StartRadio({"--memory", "small"});
    const TransferOutcome out = Download(doc);
    ASSERT_EQ(out.result, TransferOutcome::Result::Downloaded);
    ASSERT_EQ(port.writeAddresses.size(), 36u);
    for (std::size_t i = 0; i < port.writeAddresses.size(); ++i) {
        EXPECT_EQ(port.writeAddresses[i], static_cast<int>(4 * i));
    }
    const EepromImage held = RadioMemory();
    ASSERT_EQ(held.size(), 145u);
    EXPECT_EQ(EepromImage(held.begin(), held.end() - 1), SentImage(BuildImage(doc), false));
    EXPECT_EQ(held[kAddrRadioType] & 0x02, 0);
}

}  // namespace
}  // namespace talveron::link::test
