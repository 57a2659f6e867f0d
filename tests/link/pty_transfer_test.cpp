// The link through real pseudo-terminals: QSerialPort on one side, the virtual radio on the
// other; finding it among the listed ports, every fault it can show and the outcome an Upload
// or a Download must reach.
#include <gtest/gtest.h>

#include <cstdlib>

#include "image/cfg_file.h"
#include "link/port_detect.h"
#include "link/transfer.h"
#include "link_fakes.h"
#include "platform/port_names.h"
#include "platform/serial_port_qt.h"
#include "programs.h"
#include "test_support.h"

namespace talveron::link::test {
namespace {

using talveron::test::ReadImage;
using talveron::test::SamplePath;
using talveron::test::VradioProcess;
using Result = TransferOutcome::Result;
const std::string kTryAgainQ = " !  Make sure the connection is OK\nTry Again ?";
const std::string kA1 = SamplePath("vk-a1-16ch.cfg");
const std::string kA2 = SamplePath("vk-a2-16ch.cfg");

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

Document Load(const std::string& path) {
    const CfgReadResult r = ReadCfgFile(path);
    EXPECT_TRUE(r.ok()) << r.message;
    return OpenDocument(r.image, r.modelCode, path);
}

// A 99-channel document: the sample's head (large-memory bit set) and channels, the rest empty.
Document LargeDocument() {
    const EepromImage sample = ReadImage(kA1);
    EepromImage big(809, 0xFF);
    std::copy(sample.begin(), sample.end() - 1, big.begin());
    big[kAddrRadioType] |= 0x02;
    big.back() = 0;
    return OpenDocument(big, 0, "BIG.CFG");
}

class PtyTransfer : public ::testing::Test {
  protected:
    // Starts the radio (saving its memory on exit) and points the link at it.
    void StartRadio(std::vector<std::string> options) {
        options.insert(options.end(), {"--save", dir_.file("radio.cfg")});
        radio_ = std::make_unique<VradioProcess>(options);
        ASSERT_TRUE(radio_->Started());
        UsePort(link.state, PortChoice{0, radio_->Path()});
    }
    // Stops the radio and returns its memory with the model byte.
    EepromImage RadioMemory() {
        port.Close();
        radio_->Stop();
        return ReadImage(dir_.file("radio.cfg"));
    }
    TransferOutcome Upload() {
        return RunTransfer(link, {kOpUpload, nullptr, "MDI PC programmer"});
    }
    TransferOutcome Download(const Document& d) {
        return RunTransfer(link, {kOpDownload, &d, d.caption});
    }

    talveron::test::TempDir dir_;
    std::unique_ptr<VradioProcess> radio_;
    SteadyClock clock;
    platform::QtSerialPort qtPort;
    CountingPort port{qtPort};
    ScriptedPrompt prompt;
    RecordingStatus status;
    RecordingView view;
    RadioLink link{port, prompt, status, view, clock, LinkState{}};
};

TEST_F(PtyTransfer, RadioIsFoundOnTheThirdListedPortAfterASilentFirst) {
    VradioProcess silent({"--fault", "silent"});
    VradioProcess radio({"--model", "1"});
    ASSERT_TRUE(silent.Started() && radio.Started());
    ::setenv(platform::kPortsVariable,
             (silent.Path() + ":/dev/pts/no-such-pty:" + radio.Path()).c_str(), 1);
    DetectRS(link);
    ASSERT_EQ(link.state.portIndex, 2);
    EXPECT_EQ(link.state.portList[0].number, 1);
    EXPECT_EQ(link.state.portList[1].number, 3);
    EXPECT_FALSE(port.IsOpen());

    ConnectRadio(link);
    EXPECT_FALSE(link.state.linkDown);
    EXPECT_EQ(link.state.portIndex, 2);
    EXPECT_EQ(link.state.modelCode, 1);
    EXPECT_EQ(status.text, "VK-A2   detected");
    EXPECT_EQ(qtPort.Device(), radio.Path());
    EXPECT_TRUE(prompt.asked.empty());
    ::unsetenv(platform::kPortsVariable);

    port.Close();
    UsePort(link.state, PortChoice{0, silent.Path()});
    ConnectRadio(link);
    EXPECT_TRUE(link.state.linkDown);
    EXPECT_FALSE(port.IsOpen()) << "a port searched without answer is closed again";
}

TEST_F(PtyTransfer, UploadGivesTheRadiosMemoryAndModel) {
    const struct {
        std::vector<std::string> options;
        std::size_t size;
        int model;
    } cases[] = {{{"--memory", "small"}, 145, 0},
                 {{"--memory", "large"}, 809, 0},
                 {{"--load", kA2}, 145, 1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.options[1]);
        StartRadio(c.options);
        const TransferOutcome out = Upload();
        ASSERT_EQ(out.result, Result::Uploaded);
        const EepromImage held = RadioMemory();
        ASSERT_EQ(held.size(), c.size);
        EXPECT_EQ(out.image, held);
        EXPECT_EQ(out.modelCode, c.model);
        EXPECT_TRUE(prompt.asked.empty());
    }
    EXPECT_EQ(RadioMemory(), ReadImage(kA2));
    EXPECT_EQ(status.text, "VK-A2   detected");
}

// Every fault ends its transfer with this result after exactly these questions (the answers
// are No unless scripted), with no image and, for a Download, the last write at an address.
TEST_F(PtyTransfer, FaultsEndInTheirResultAfterTheirQuestions) {
    const std::string connecting = "Connecting Err" + kTryAgainQ;
    const std::string upload = "Upload Err" + kTryAgainQ;
    const std::string download = "Download Err" + kTryAgainQ;
    const struct {
        std::vector<std::string> options;
        const char* document;  // nullptr: an Upload
        std::deque<Answer> script;
        Result result;
        std::vector<std::string> asked;
        int lastWrite = -1;
    } cases[] = {
        {{"--fault", "silent"},
         nullptr,
         {Answer::Yes},
         Result::ConnectFailed,
         {connecting, connecting}},
        {{"--fault", "identity=0x20"}, nullptr, {}, Result::ConnectFailed, {connecting}},
        {{"--fault", "short@8"}, nullptr, {}, Result::Failed, {kTryAgainQ}},
        {{"--fault", "short@0x40"}, nullptr, {}, Result::Failed, {upload}},
        {{"--fault", "long@0x40"}, nullptr, {}, Result::Failed, {upload}},
        {{"--fault", "dead@0x40"},
         nullptr,
         {Answer::Yes},
         Result::ConnectFailed,
         {upload, connecting}},
        {{"--fault", "corrupt@0x40:always"},
         "vk-a1-16ch.cfg",
         {},
         Result::Failed,
         {download},
         0x40},
        {{"--fault", "short@0x50"}, "vk-a1-16ch.cfg", {}, Result::Failed, {download}, 0x50},
        {{"--fault", "dead@0x40"}, "vk-a1-16ch.cfg", {}, Result::Failed, {download}, 0x40},
        {{"--load", kA1},
         "vk-a2-16ch.cfg",
         {},
         Result::Declined,
         {"Error warning: Band are Crossed !\nDo you want to continue ?"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.options[1] + " " + (c.document ? c.document : "upload"));
        prompt.asked.clear();
        prompt.script = c.script;
        port.writeAddresses.clear();
        StartRadio(c.options);
        const Document doc = c.document ? Load(SamplePath(c.document)) : Document{};
        const TransferOutcome out = c.document ? Download(doc) : Upload();
        EXPECT_EQ(out.result, c.result);
        std::vector<std::string> asked;
        for (const Question& q : prompt.asked) asked.push_back(q.text);
        EXPECT_EQ(asked, c.asked);
        EXPECT_TRUE(out.image.empty());
        EXPECT_EQ(status.text == "Not detected", c.result != Result::Declined) << status.text;
        if (c.lastWrite >= 0) {
            ASSERT_FALSE(port.writeAddresses.empty());
            EXPECT_EQ(port.writeAddresses.back(), c.lastWrite);
        }
        if (c.result == Result::Declined) {
            EXPECT_TRUE(port.writeAddresses.empty());
            EXPECT_EQ(RadioMemory(), ReadImage(kA1));
        }
        RadioMemory();
    }
}

TEST_F(PtyTransfer, CorruptReadIsTakenAsReadAndTheNextReadIsClean) {
    StartRadio({"--fault", "corrupt@0x41"});
    const TransferOutcome first = Upload();
    ASSERT_EQ(first.result, Result::Uploaded);
    const TransferOutcome second = Upload();
    ASSERT_EQ(second.result, Result::Uploaded);
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
    const Document doc = Load(kA1);
    EXPECT_EQ(Download(doc).result, Result::Downloaded);
    EXPECT_TRUE(prompt.asked.empty());
    EXPECT_EQ(std::count(port.writeAddresses.begin(), port.writeAddresses.end(), 0x40), 2);
    EXPECT_EQ(port.writeAddresses.size(), 37u);
    const EepromImage held = RadioMemory();
    EXPECT_EQ(EepromImage(held.begin(), held.end() - 1), SentImage(BuildImage(doc), false));
}

TEST_F(PtyTransfer, LargeDocumentToSmallRadioWritesAddresses0To143Only) {
    const Document doc = LargeDocument();
    StartRadio({"--memory", "small"});
    ASSERT_EQ(Download(doc).result, Result::Downloaded);
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
