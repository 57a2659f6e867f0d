// The faults: how their texts are read, and what each one does to the radio's answers.
#include <gtest/gtest.h>

#include "test_support.h"
#include "vradio/fault.h"
#include "vradio/virtual_radio.h"

namespace talveron::vradio {
namespace {

Fault Parsed(std::string_view text) {
    std::string error;
    const auto fault = ParseFault(text, error);
    EXPECT_TRUE(fault.has_value()) << text << ": " << error;
    return fault.value_or(Fault{});
}

Bytes Read(VirtualRadio& radio, int address) {
    return radio.Receive(testing::ReadFrame(address));
}

Bytes Write(VirtualRadio& radio, int address, const Bytes& data) {
    return radio.Receive(testing::WriteFrame(address, data));
}

VirtualRadio RadioWith(std::initializer_list<std::string_view> faults, int model = 0) {
    std::vector<Fault> list;
    for (std::string_view f : faults) list.push_back(Parsed(f));
    return VirtualRadio(model, testing::CountingMemory(kSmallMemory), list);
}

TEST(FaultParse, ReadsEveryKindWithDecimalAndHexAddresses) {
    EXPECT_EQ(Parsed("silent").kind, Fault::Kind::Silent);

    const Fault s = Parsed("short@0x0104");
    EXPECT_EQ(s.kind, Fault::Kind::Short);
    EXPECT_EQ(s.address, 0x104);
    const Fault l = Parsed("long@260");
    EXPECT_EQ(l.kind, Fault::Kind::Long);
    EXPECT_EQ(l.address, 260);
    const Fault c = Parsed("corrupt@0X20");
    EXPECT_EQ(c.kind, Fault::Kind::Corrupt);
    EXPECT_EQ(c.address, 0x20);
    EXPECT_FALSE(c.always);
    const Fault ca = Parsed("corrupt@8:always");
    EXPECT_EQ(ca.address, 8);
    EXPECT_TRUE(ca.always);
    const Fault d = Parsed("dead@65535");
    EXPECT_EQ(d.kind, Fault::Kind::Dead);
    EXPECT_EQ(d.address, 0xFFFF);
    const Fault i = Parsed("identity=0x0d");
    EXPECT_EQ(i.kind, Fault::Kind::Identity);
    EXPECT_EQ(i.identity, 0x0D);
    EXPECT_EQ(Parsed("identity=255").identity, 0xFF);
}

TEST(FaultParse, RefusesBadTextsWithAMessage) {
    for (std::string_view bad :
         {"", "loud", "short", "short@", "short@x", "short@65536", "short@0x10000", "long@-4",
          "corrupt@8:sometimes", "corrupt@8:", "dead@0x", "identity=", "identity=256",
          "identity=0x100", "identity=abc", "silent@4", "Silent", "short@4 "}) {
        std::string error;
        EXPECT_FALSE(ParseFault(bad, error).has_value()) << "'" << bad << "'";
        EXPECT_FALSE(error.empty()) << "'" << bad << "'";
    }
}

TEST(RadioFaults, SilentRadioSendsNothingAndStoresNothing) {
    VirtualRadio radio = RadioWith({"silent"});
    EXPECT_TRUE(radio.Receive(Bytes{0x56}).empty());
    EXPECT_TRUE(radio.Receive(Bytes{0x49, 0x07}).empty());
    EXPECT_TRUE(Read(radio, 8).empty());
    EXPECT_TRUE(Write(radio, 16, {9, 9, 9, 9}).empty());
    EXPECT_EQ(radio.Memory(), testing::CountingMemory(kSmallMemory));
}

TEST(RadioFaults, ShortReplyLacksItsLastByteEveryTimeAtItsAddressOnly) {
    VirtualRadio radio = RadioWith({"short@0x10"});
    for (int round = 0; round < 2; ++round) {
        EXPECT_EQ(Read(radio, 0x10), (Bytes{0x52, 0x00, 0x10, 0x11, 0x12, 0x13})) << round;
    }
    for (std::uint8_t round = 0; round < 2; ++round) {
        const std::uint8_t d = static_cast<std::uint8_t>(0xA0 + 4 * round);
        EXPECT_EQ(Write(radio, 0x10, {d, 0xA1, 0xA2, 0xA3}),
                  (Bytes{0x57, 0x00, 0x10, d, 0xA1, 0xA2, 0xA3, d, 0xA1, 0xA2}));
    }
    EXPECT_EQ(radio.Memory()[0x10], 0xA4) << "the write itself is stored";
    EXPECT_EQ(radio.Memory()[0x13], 0xA3);
    EXPECT_EQ(Read(radio, 0x0C).size(), 7u);
    EXPECT_EQ(Read(radio, 0x14).size(), 7u);
    EXPECT_EQ(radio.Receive(Bytes{0x56}), (Bytes{0x56, 0x11})) << "V and I are not affected";
}

TEST(RadioFaults, LongReplyHasOneByteTooManyEveryTime) {
    VirtualRadio radio = RadioWith({"long@8"});
    for (int round = 0; round < 2; ++round) {
        const Bytes read = Read(radio, 8);
        ASSERT_EQ(read.size(), 8u);
        EXPECT_EQ(Bytes(read.begin(), read.begin() + 7),
                  (Bytes{0x52, 0x00, 0x08, 0x09, 0x0A, 0x0B, 0x0C}));
    }
    for (int round = 0; round < 2; ++round) {
        const Bytes reply = Write(radio, 8, {1, 2, 3, 4});
        ASSERT_EQ(reply.size(), 12u);
        EXPECT_EQ(Bytes(reply.begin() + 7, reply.begin() + 11), (Bytes{1, 2, 3, 4}));
    }
    EXPECT_EQ(Read(radio, 4).size(), 7u);
}

TEST(RadioFaults, CorruptOnceInvertsOneReadByteTheFirstTimeOnly) {
    VirtualRadio radio = RadioWith({"corrupt@0x20"});
    EXPECT_EQ(Read(radio, 0x20), (Bytes{0x52, 0x00, 0x20, 0xDE, 0x22, 0x23, 0x24}));
    EXPECT_EQ(Read(radio, 0x20), (Bytes{0x52, 0x00, 0x20, 0x21, 0x22, 0x23, 0x24}));
    EXPECT_EQ(Write(radio, 0x20, {5, 6, 7, 8}), (Bytes{0x57, 0x00, 0x20, 5, 6, 7, 8, 5, 6, 7, 8}));
}

TEST(RadioFaults, CorruptAtAnUnalignedAddressHitsThatByteOfItsFrame) {
    VirtualRadio radio = RadioWith({"corrupt@0x23:always"});
    EXPECT_EQ(Read(radio, 0x20), (Bytes{0x52, 0x00, 0x20, 0x21, 0x22, 0x23, 0xDB}));
    EXPECT_EQ(Read(radio, 0x24), (Bytes{0x52, 0x00, 0x24, 0x25, 0x26, 0x27, 0x28}));
}

TEST(RadioFaults, CorruptReadBackStoresTheMemoryCorrectly) {
    VirtualRadio radio = RadioWith({"corrupt@0x40"});
    // The first read-back is wrong, the memory right; the retry reads back clean.
    EXPECT_EQ(Write(radio, 0x40, {0x10, 0x20, 0x30, 0x40}),
              (Bytes{0x57, 0x00, 0x40, 0x10, 0x20, 0x30, 0x40, 0xEF, 0x20, 0x30, 0x40}));
    EXPECT_EQ(radio.Memory()[0x40], 0x10);
    EXPECT_EQ(Write(radio, 0x40, {0x10, 0x20, 0x30, 0x40}),
              (Bytes{0x57, 0x00, 0x40, 0x10, 0x20, 0x30, 0x40, 0x10, 0x20, 0x30, 0x40}));
}

TEST(RadioFaults, CorruptAlwaysInvertsEveryTime) {
    VirtualRadio radio = RadioWith({"corrupt@0x40:always"});
    for (int round = 0; round < 3; ++round) {
        const Bytes reply = Write(radio, 0x40, {0x10, 0x20, 0x30, 0x40});
        ASSERT_EQ(reply.size(), 11u);
        EXPECT_EQ(reply[7], 0xEF) << round;
        EXPECT_EQ(Read(radio, 0x40)[3], 0xEF) << round;
    }
    EXPECT_EQ(radio.Memory()[0x40], 0x10);
}

TEST(RadioFaults, IdentityFaultReplacesTheIdentityByte) {
    VirtualRadio radio = RadioWith({"identity=0x0D"}, 1);
    EXPECT_EQ(radio.Receive(Bytes{0x49, 0x07}), (Bytes{0x49, 0x07, 0x0D}));
    EXPECT_EQ(radio.Receive(Bytes{0x56}), (Bytes{0x56, 0x11}));
    EXPECT_EQ(Read(radio, 0).size(), 7u);
}

TEST(RadioFaults, DeadLineEchoesTheFrameThenSendsNothingMore) {
    VirtualRadio radio = RadioWith({"dead@0x0030"});
    EXPECT_EQ(Read(radio, 0x2C).size(), 7u);
    EXPECT_FALSE(radio.Dead());
    const Bytes frame{0x57, 0x00, 0x30, 1, 2, 3, 4};
    EXPECT_EQ(radio.Receive(frame), frame) << "the echo went out, the answer never does";
    EXPECT_TRUE(radio.Dead());
    EXPECT_EQ(radio.Memory()[0x30], 0x31) << "the dying frame is not stored";
    EXPECT_TRUE(radio.Receive(Bytes{0x56}).empty());
    EXPECT_TRUE(Read(radio, 0).empty());
}

TEST(RadioFaults, SeveralFaultsAtDifferentAddressesAllApply) {
    VirtualRadio radio = RadioWith({"short@0", "long@4", "corrupt@8:always", "identity=7"});
    EXPECT_EQ(Read(radio, 0).size(), 6u);
    EXPECT_EQ(Read(radio, 4).size(), 8u);
    EXPECT_EQ(Read(radio, 8)[3], static_cast<std::uint8_t>(~0x09));
    EXPECT_EQ(Read(radio, 12), (Bytes{0x52, 0x00, 0x0C, 0x0D, 0x0E, 0x0F, 0x10}));
    EXPECT_EQ(radio.IdentityByte(), 7);
}

}  // namespace
}  // namespace talveron::vradio
