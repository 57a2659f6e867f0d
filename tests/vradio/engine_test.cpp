// The radio's engine in-process: frames in, the exact bytes out (echo and answer).
#include <gtest/gtest.h>

#include <numeric>

#include "test_support.h"
#include "vradio/virtual_radio.h"

namespace talveron::vradio {
namespace {

using testing::CountingMemory;
using testing::Join;

TEST(VirtualRadioEngine, AnswersVersionAndIdentityWithEcho) {
    VirtualRadio model0(0, CountingMemory(kSmallMemory));
    EXPECT_EQ(model0.Receive(Bytes{0x56}), (Bytes{0x56, 0x11}));
    EXPECT_EQ(model0.Receive(Bytes{0x49, 0x07}), (Bytes{0x49, 0x07, 0x0F}));

    VirtualRadio model1(1, CountingMemory(kSmallMemory));
    EXPECT_EQ(model1.Receive(Bytes{0x49, 0x07}), (Bytes{0x49, 0x07, 0x0E}));
    EXPECT_EQ(model1.IdentityByte(), 0x0E);
}

TEST(VirtualRadioEngine, ReadAnswersFourBytesAtTheAddress) {
    VirtualRadio radio(0, CountingMemory(kLargeMemory));
    EXPECT_EQ(radio.Receive(Bytes{0x52, 0x00, 0x08}),
              (Bytes{0x52, 0x00, 0x08, 0x09, 0x0A, 0x0B, 0x0C}));
    // 0x0104 = 260: bytes 261..264 wrap to 0x05..0x08 in the low byte.
    EXPECT_EQ(radio.Receive(Bytes{0x52, 0x01, 0x04}),
              (Bytes{0x52, 0x01, 0x04, 0x05, 0x06, 0x07, 0x08}));
}

TEST(VirtualRadioEngine, WriteStoresAndAnswersTheBytesNowHeld) {
    VirtualRadio radio(0, CountingMemory(kSmallMemory));
    const Bytes frame{0x57, 0x00, 0x20, 0xDE, 0xAD, 0xBE, 0xEF};
    EXPECT_EQ(radio.Receive(frame), Join(frame, {0xDE, 0xAD, 0xBE, 0xEF}));
    EXPECT_EQ(radio.Memory()[0x1F], 0x20);  // the byte before is untouched
    EXPECT_EQ(radio.Memory()[0x20], 0xDE);
    EXPECT_EQ(radio.Memory()[0x23], 0xEF);
    EXPECT_EQ(radio.Memory()[0x24], 0x25);  // and so is the byte after
    EXPECT_EQ(radio.Receive(Bytes{0x52, 0x00, 0x20}),
              (Bytes{0x52, 0x00, 0x20, 0xDE, 0xAD, 0xBE, 0xEF}));
}

TEST(VirtualRadioEngine, EchoLeavesByteByByteAndTheAnswerAfterTheLastByte) {
    VirtualRadio radio(0, CountingMemory(kSmallMemory));
    Bytes out;
    radio.Receive(0x57, out);
    EXPECT_EQ(out, (Bytes{0x57}));
    for (std::uint8_t b : {0x00, 0x10, 0x01, 0x02, 0x03}) {
        out.clear();
        radio.Receive(b, out);
        EXPECT_EQ(out, (Bytes{b})) << "only the echo before the frame is complete";
        EXPECT_TRUE(radio.FrameInProgress());
    }
    EXPECT_EQ(radio.Memory()[0x10], 0x11) << "nothing is stored before the last byte";
    out.clear();
    radio.Receive(0x04, out);
    EXPECT_EQ(out, (Bytes{0x04, 0x01, 0x02, 0x03, 0x04}));
    EXPECT_FALSE(radio.FrameInProgress());
}

TEST(VirtualRadioEngine, PastTheEndReadsFFAndWritesNothing) {
    VirtualRadio radio(0, CountingMemory(kSmallMemory));
    // 0x008E = 142: two bytes inside (142, 143), two past the end.
    EXPECT_EQ(radio.Receive(Bytes{0x52, 0x00, 0x8E}),
              (Bytes{0x52, 0x00, 0x8E, 0x8F, 0x90, 0xFF, 0xFF}));
    EXPECT_EQ(radio.Receive(Bytes{0x57, 0x00, 0x8E, 0xA1, 0xA2, 0xA3, 0xA4}),
              (Bytes{0x57, 0x00, 0x8E, 0xA1, 0xA2, 0xA3, 0xA4, 0xA1, 0xA2, 0xFF, 0xFF}));
    EXPECT_EQ(radio.Memory().size(), kSmallMemory);
    EXPECT_EQ(radio.Memory()[143], 0xA2);
    EXPECT_EQ(radio.Receive(Bytes{0x52, 0xFF, 0xFC}),
              (Bytes{0x52, 0xFF, 0xFC, 0xFF, 0xFF, 0xFF, 0xFF}));
}

TEST(VirtualRadioEngine, UnknownBytesAreEchoedOnlyAndKeepTheRadioInStep) {
    VirtualRadio radio(0, CountingMemory(kSmallMemory));
    EXPECT_EQ(radio.Receive(Bytes{0x00, 0x41, 0xFF, 0x11}), (Bytes{0x00, 0x41, 0xFF, 0x11}));
    EXPECT_FALSE(radio.FrameInProgress());
    EXPECT_EQ(radio.Receive(Bytes{0x56}), (Bytes{0x56, 0x11}));
}

TEST(VirtualRadioEngine, FrameBytesAreDataEvenWhenTheyLookLikeCommands) {
    VirtualRadio radio(0, CountingMemory(kLargeMemory));
    // The low address byte 0x56 is "V", the data bytes are "V" "I" "R" "W": all are data here.
    EXPECT_EQ(radio.Receive(Bytes{0x52, 0x00, 0x56}),
              (Bytes{0x52, 0x00, 0x56, 0x57, 0x58, 0x59, 0x5A}));
    const Bytes frame{0x57, 0x00, 0x40, 0x56, 0x49, 0x52, 0x57};
    EXPECT_EQ(radio.Receive(frame), Join(frame, {0x56, 0x49, 0x52, 0x57}));
}

TEST(VirtualRadioEngine, AbandonedFrameIsForgotten) {
    VirtualRadio radio(0, CountingMemory(kSmallMemory));
    radio.Receive(Bytes{0x52, 0x00});
    ASSERT_TRUE(radio.FrameInProgress());
    radio.AbandonFrame();
    EXPECT_EQ(radio.Receive(Bytes{0x56}), (Bytes{0x56, 0x11}));
}

TEST(VirtualRadioEngine, WholeMemoryReadsBackInFourByteFrames) {
    for (std::size_t size : {kSmallMemory, kLargeMemory}) {
        EepromImage memory(size);
        std::iota(memory.begin(), memory.end(), std::uint8_t{0x37});
        VirtualRadio radio(1, memory);
        EepromImage read;
        for (std::size_t a = 0; a < size; a += 4) {
            const Bytes reply = radio.Receive(Bytes{0x52, static_cast<std::uint8_t>(a >> 8),
                                                    static_cast<std::uint8_t>(a & 0xFF)});
            ASSERT_EQ(reply.size(), 7u);
            read.insert(read.end(), reply.begin() + 3, reply.end());
        }
        EXPECT_EQ(read, memory) << size;
        const EepromImage saved = radio.SaveImage();
        ASSERT_EQ(saved.size(), size + 1);
        EXPECT_EQ(saved.back(), 1) << "the model byte follows the memory";
    }
}

}  // namespace
}  // namespace talveron::vradio
