// The radio link fed any reply bytes: an Upload or a Download over a port whose every wait
// brings the next piece of the input. It must end (no hang, each "Try Again ?" answered No
// after a few Yes), never crash, and never send a frame for an address outside the radio's
// memory or an Upload image of another size.
#include <cstdint>
#include <utility>
#include <vector>

#include "fuzz_check.h"
#include "image/document.h"
#include "link/transfer.h"

using namespace talveron;
using namespace talveron::link;

namespace {

class FuzzClock final : public Clock {
  public:
    time_point Now() override { return now_; }
    void SleepFor(std::chrono::microseconds d) override { now_ += d; }

  private:
    time_point now_ = time_point{} + std::chrono::hours(1);
};

// The far end: each wait takes the next piece (a length byte, then that many bytes) of the
// input into the receive buffer; a length of 255 is a hang-up. Frames sent are kept.
class FuzzPort final : public SerialPort {
  public:
    FuzzPort(const std::uint8_t* data, std::size_t size, FuzzClock& clock)
        : data_(data), size_(size), clock_(clock) {}
    void SelectPort(int) override {}
    void SelectDevice(const std::string&) override {}
    OpenResult Open() override {
        open_ = true;
        return {};
    }
    void Close() override { open_ = false; }
    bool IsOpen() const override { return open_; }
    void SetInputMode(InputMode) override {}
    void ClearReceiveBuffer() override { buffer_.clear(); }
    std::size_t BytesWaiting() override { return buffer_.size(); }
    bool Write(std::span<const std::uint8_t> bytes) override {
        sent.insert(sent.end(), bytes.begin(), bytes.end());
        return open_;
    }
    Bytes ReadAll() override { return std::exchange(buffer_, {}); }
    WaitResult WaitForBytes(std::chrono::microseconds timeout) override {
        if (pos_ >= size_) {
            clock_.SleepFor(timeout);
            return WaitResult::TimedOut;
        }
        const std::size_t n = data_[pos_++];
        if (n == 255) {
            open_ = false;
            return WaitResult::PortLost;
        }
        for (std::size_t i = 0; i < n && pos_ < size_; ++i) buffer_.push_back(data_[pos_++]);
        clock_.SleepFor(std::chrono::microseconds(100));
        return WaitResult::MoreBytes;
    }

    Bytes sent;

  private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t pos_ = 0;
    FuzzClock& clock_;
    bool open_ = false;
    Bytes buffer_;
};

class Prompt final : public UserPrompt {
  public:
    Answer Ask(const Question&) override { return ++asked_ <= 2 ? Answer::Yes : Answer::No; }

  private:
    int asked_ = 0;
};

class Quiet final : public StatusLine, public TransferView {
  public:
    void SetStatus(const std::string& text, StatusColor) override { text_ = text; }
    void FitStatus(int) override {}
    std::string StatusText() const override { return text_; }
    void BeginTransfer() override {}
    void EndTransfer() override {}
    void PlaceProgress() override {}
    void SetProgressMaximum(int) override {}
    void SetProgressValue(int) override {}
    void SetBusy(bool) override {}
    void ProcessEvents() override {}

  private:
    std::string text_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) return 0;
    const bool download = data[0] & 1;
    FuzzClock clock;
    FuzzPort port(data + 1, size - 1, clock);
    Prompt prompt;
    Quiet quiet;
    RadioLink link{port, prompt, quiet, quiet, clock, {}};
    UsePort(link.state, PortChoice{1, {}});

    EepromImage image(MemorySize(kLargeChannels) + 1, 0);
    const Document doc = OpenDocument(image, 0, "fuzz.cfg");
    TransferRequest request;
    request.operation = download ? kOpDownload : kOpUpload;
    request.download = ContentOf(doc);
    const TransferOutcome outcome = RunTransfer(link, request);
    if (outcome.result == TransferOutcome::Result::Uploaded)
        FUZZ_CHECK(outcome.image.size() == MemorySize(kSmallChannels) + 1 ||
                   outcome.image.size() == MemorySize(kLargeChannels) + 1);
    // The frames sent, one after another: every "R" and "W" names an address inside the
    // largest memory.
    const Bytes& sent = port.sent;
    for (std::size_t i = 0; i < sent.size();) {
        const std::uint8_t letter = sent[i];
        if (letter == 'R' || letter == 'W') {
            FUZZ_CHECK(i + 2 < sent.size());
            FUZZ_CHECK(sent[i + 1] * 256 + sent[i + 2] <
                       static_cast<int>(MemorySize(kLargeChannels)));
        }
        i += letter == 'R' ? 3 : letter == 'W' ? 7 : letter == 'I' ? 2 : 1;
    }
    return 0;
}
