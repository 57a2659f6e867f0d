// The radio's engine in-process: frames in, the exact bytes out (echo and answer). Whole
// memories read, written and saved are followed through the program in program_test.
#include <gtest/gtest.h>

#include <numeric>

#include "programs.h"
#include "vradio/virtual_radio.h"

namespace talveron::vradio {
namespace {

using test::Join;
using test::ReadFrame;
using test::WriteFrame;

// Memory whose byte at address a is the low byte of a + 1, so an answer shows its address.
EepromImage CountingMemory(std::size_t size) {
    EepromImage m(size);
    std::iota(m.begin(), m.end(), std::uint8_t{1});
    return m;
}

TEST(VirtualRadioEngine, EveryFrameGetsItsEchoAndItsAnswer) {
    struct Case {
        const char* what;
        int model;
        std::size_t size;
        Bytes in;
        Bytes out;
    };
    const auto R = [](int a, Bytes data) { return Join(ReadFrame(a), data); };
    const Bytes a1{0xA1, 0xA2, 0xA3, 0xA4}, v{0x56}, i{0x49, 0x07}, ff{0xFF, 0xFF, 0xFF, 0xFF};
    const Bytes vlike{0x56, 0x49, 0x52, 0x57};  // "V" "I" "R" "W"
    // clang-format off
    const Case cases[] = {
        {"version", 0, kSmallMemory, v, {0x56, 0x11}},
        {"identity of model 0", 0, kSmallMemory, i, {0x49, 0x07, 0x0F}},
        {"identity of model 1", 1, kSmallMemory, i, {0x49, 0x07, 0x0E}},
        {"read", 0, kLargeMemory, ReadFrame(8), R(8, {9, 10, 11, 12})},
        // 0x0104 = 260: bytes 261..264 wrap to 0x05..0x08 in the low byte.
        {"read above 0xFF", 0, kLargeMemory, ReadFrame(0x104), R(0x104, {5, 6, 7, 8})},
        // The high address byte counts: a write at 0x0104 leaves 0x0004 as it was.
        {"write above 0xFF", 0, kLargeMemory, Join(WriteFrame(0x104, a1), ReadFrame(4)),
         Join(Join(WriteFrame(0x104, a1), a1), R(4, {5, 6, 7, 8}))},
        // 0x008E = 142: two bytes inside (142, 143), two past the end.
        {"read past the end", 0, kSmallMemory, ReadFrame(0x8E), R(0x8E, {0x8F, 0x90, 0xFF, 0xFF})},
        {"read far past the end", 0, kSmallMemory, ReadFrame(0xFFFC), R(0xFFFC, ff)},
        {"write past the end", 0, kSmallMemory, WriteFrame(0x8E, a1),
         Join(WriteFrame(0x8E, a1), {0xA1, 0xA2, 0xFF, 0xFF})},
        {"unknown bytes are echoed only", 0, kSmallMemory, {0x00, 0x41, 0xFF, 0x11, 0x56},
         {0x00, 0x41, 0xFF, 0x11, 0x56, 0x11}},
        // The low address byte 0x56 is "V", and so are the data: all are data here.
        {"frame bytes that look like commands", 0, kLargeMemory,
         Join(ReadFrame(0x56), WriteFrame(0x40, vlike)),
         Join(R(0x56, {0x57, 0x58, 0x59, 0x5A}), Join(WriteFrame(0x40, vlike), vlike))},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        VirtualRadio radio(c.model, CountingMemory(c.size));
        EXPECT_EQ(radio.Receive(c.in), c.out);
        EXPECT_FALSE(radio.FrameInProgress());
        EXPECT_EQ(radio.Memory().size(), c.size);
    }
}

TEST(VirtualRadioEngine, EchoLeavesByteByByteAndTheAnswerAfterTheLastByte) {
    VirtualRadio radio(0, CountingMemory(kSmallMemory));
    for (std::uint8_t b : {0x57, 0x00, 0x10, 0x01, 0x02, 0x03}) {
        Bytes out;
        radio.Receive(b, out);
        EXPECT_EQ(out, (Bytes{b})) << "only the echo before the frame is complete";
        EXPECT_TRUE(radio.FrameInProgress());
    }
    EXPECT_EQ(radio.Memory()[0x10], 0x11) << "nothing is stored before the last byte";
    Bytes out;
    radio.Receive(0x04, out);
    EXPECT_EQ(out, (Bytes{0x04, 0x01, 0x02, 0x03, 0x04}));
    EXPECT_FALSE(radio.FrameInProgress());
}

TEST(VirtualRadioEngine, AbandonedFrameIsForgotten) {
    VirtualRadio radio(0, CountingMemory(kSmallMemory));
    radio.Receive(Bytes{0x52, 0x00});
    radio.AbandonFrame();
    EXPECT_EQ(radio.Receive(Bytes{0x56}), (Bytes{0x56, 0x11}));
}

}  // namespace
}  // namespace talveron::vradio
