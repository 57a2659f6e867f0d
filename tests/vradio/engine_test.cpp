// The radio's engine in-process: frames in, the exact bytes out (echo and answer), also
// with each of the faults it can be told to show.
#include <gtest/gtest.h>

#include <numeric>
#include <sstream>

#include "programs.h"
#include "test_support.h"
#include "vradio/fault.h"
#include "vradio/virtual_radio.h"

namespace talveron::vradio {
namespace {

using test::HexBytes;

// Memory whose byte at address a is the low byte of a + 1, so an answer shows its address.
EepromImage CountingMemory(std::size_t size) {
    EepromImage m(size);
    std::iota(m.begin(), m.end(), std::uint8_t{1});
    return m;
}

TEST(VirtualRadioEngine, EveryFrameGetsItsEchoAndItsAnswer) {
    for (const auto& c : test::LoadCases("core/vradio_frames.txt")) {
        const std::size_t size = c[2] == "large" ? kLargeMemory : kSmallMemory;
        VirtualRadio radio(c.Int(1), CountingMemory(size));
        EXPECT_EQ(radio.Receive(HexBytes(c[3])), HexBytes(c[4])) << c.where;
        EXPECT_FALSE(radio.FrameInProgress()) << c.where;
    }
}

// The echo leaves byte by byte, the answer after the last byte; a frame abandoned half-way is
// forgotten.
TEST(VirtualRadioEngine, EchoLeavesByteByByteAndTheAnswerAfterTheLastByte) {
    VirtualRadio radio(0, CountingMemory(kSmallMemory));
    for (std::uint8_t b : {0x57, 0x00, 0x10, 0x01, 0x02, 0x03}) {
        Bytes out;
        radio.Receive(b, out);
        EXPECT_EQ(out, (Bytes{b})) << "only the echo before the frame is complete";
        EXPECT_TRUE(radio.FrameInProgress());
    }
    EXPECT_EQ(radio.Memory()[0x10], 0x11) << "nothing is stored before the last byte";
    EXPECT_EQ(radio.Receive(Bytes{0x04}), (Bytes{0x04, 0x01, 0x02, 0x03, 0x04}));
    radio.Receive(Bytes{0x52, 0x00});
    radio.AbandonFrame();
    EXPECT_EQ(radio.Receive(Bytes{0x56}), (Bytes{0x56, 0x11}));
}

// The fault texts refused with a message; then, for the ones taken, the faults of a radio
// over a counting memory, frames in order with the exact bytes each must bring back, and the
// memory afterwards.
TEST(RadioFaults, BadTextsAreRefusedAndEachFaultShowsAtItsAddressOnly) {
    for (const auto& c : test::LoadCases("core/vradio_faults.txt")) {
        std::string error;
        EXPECT_FALSE(ParseFault(c[0], error).has_value()) << c.where;
        EXPECT_FALSE(error.empty()) << c.where;
    }
    for (const auto& c : test::LoadCases("core/vradio_fault_answers.txt")) {
        std::vector<Fault> faults;
        for (std::string error; const std::string& text : test::Words(c[0]))
            faults.push_back(ParseFault(text, error).value());
        VirtualRadio radio(c.Int(1), CountingMemory(kSmallMemory), faults);
        std::istringstream steps(c[2]);
        for (std::string step; std::getline(steps, step, ';');) {
            const std::size_t arrow = step.find('>');
            EXPECT_EQ(radio.Receive(HexBytes(step.substr(0, arrow))),
                      HexBytes(step.substr(arrow + 1)))
                << c.where << ": " << step;
        }
        for (const std::string& pair : test::Words(c[3] == "-" ? "" : c[3])) {
            const std::size_t eq = pair.find('=');
            EXPECT_EQ(radio.Memory()[std::stoi(pair.substr(0, eq), nullptr, 0)],
                      std::stoi(pair.substr(eq + 1), nullptr, 0))
                << c.where << ": " << pair;
        }
    }
}

}  // namespace
}  // namespace talveron::vradio
