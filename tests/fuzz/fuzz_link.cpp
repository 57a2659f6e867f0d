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
#include "link_fakes.h"

using namespace talveron;
using namespace talveron::link;

namespace {

// The port: each wait takes the next piece (a length byte, then that many bytes) of the input
// into the receive buffer; a length of 255 is a hang-up. Frames sent are kept. The clock
// moves only when the link waits.
struct FarEnd final : SerialPort {
    FarEnd(const std::uint8_t* d, std::size_t n, test::FakeClock& c) : data(d), size(n), clock(c) {}
    void SelectPort(int) override {}
    void SelectDevice(const std::string&) override {}
    OpenResult Open() override { return open = true, OpenResult{}; }
    void Close() override { open = false; }
    bool IsOpen() const override { return open; }
    void SetInputMode(InputMode) override {}
    void ClearReceiveBuffer() override { buffer.clear(); }
    std::size_t BytesWaiting() override { return buffer.size(); }
    bool Write(std::span<const std::uint8_t> bytes) override {
        sent.insert(sent.end(), bytes.begin(), bytes.end());
        return open;
    }
    Bytes ReadAll() override { return std::exchange(buffer, {}); }
    WaitResult WaitForBytes(std::chrono::microseconds timeout) override {
        if (pos >= size) return clock.SleepFor(timeout), WaitResult::TimedOut;
        const std::size_t n = data[pos++];
        if (n == 255) return open = false, WaitResult::PortLost;
        for (std::size_t i = 0; i < n && pos < size; ++i) buffer.push_back(data[pos++]);
        clock.SleepFor(std::chrono::microseconds(100));
        return WaitResult::MoreBytes;
    }

    const std::uint8_t* data;
    std::size_t size, pos = 0;
    test::FakeClock& clock;
    bool open = false;
    Bytes buffer, sent;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) return 0;
    test::FakeClock clock;
    FarEnd far(data + 1, size - 1, clock);
    test::Recorder ui;  // each "Try Again ?" answered Yes twice, then No
    ui.script = {Answer::Yes, Answer::Yes};
    RadioLink link{far, ui, ui, ui, clock, {}};
    UsePort(link.state, PortChoice{1, {}});
    TransferRequest request;
    request.operation = data[0] & 1 ? kOpDownload : kOpUpload;
    request.download =
        ContentOf(OpenDocument(EepromImage(MemorySize(kLargeChannels) + 1, 0), 0, "fuzz.cfg"));
    const TransferOutcome outcome = RunTransfer(link, request);
    if (outcome.result == TransferOutcome::Result::Uploaded)
        FUZZ_CHECK(outcome.image.size() == MemorySize(kSmallChannels) + 1 ||
                   outcome.image.size() == MemorySize(kLargeChannels) + 1);
    // The frames sent, one after another: every "R" and "W" names an address inside the
    // largest memory.
    const Bytes& sent = far.sent;
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
