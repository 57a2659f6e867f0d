// The faults: how their texts are read, and what each one does to the radio's answers.
#include <gtest/gtest.h>

#include <numeric>

#include "programs.h"
#include "vradio/fault.h"
#include "vradio/virtual_radio.h"

namespace talveron::vradio {
namespace {

using test::Join;
using test::ReadFrame;
using test::WriteFrame;

// What a fault-free radio over a memory whose byte at a is a + 1 answers to a read at a.
Bytes Clean(int a) {
    Bytes data(4);
    std::iota(data.begin(), data.end(), static_cast<std::uint8_t>(a + 1));
    return Join(ReadFrame(a), data);
}
Bytes Cut(Bytes b) {
    b.pop_back();
    return b;
}
Bytes Set(Bytes b, std::size_t i, std::uint8_t v) {
    b[i] = v;
    return b;
}

TEST(FaultParse, ReadsEveryKindWithDecimalAndHexAddresses) {
    using K = Fault::Kind;
    const struct {
        const char* text;
        K kind;
        int address;
        bool always;
        std::uint8_t identity;
    } cases[] = {
        // clang-format off
        {"silent", K::Silent, 0, false, 0},            {"short@0x0104", K::Short, 0x104, false, 0},
        {"long@260", K::Long, 260, false, 0},          {"corrupt@0X20", K::Corrupt, 0x20, false, 0},
        {"corrupt@8:always", K::Corrupt, 8, true, 0},  {"dead@65535", K::Dead, 0xFFFF, false, 0},
        {"identity=0x0d", K::Identity, 0, false, 13},  {"identity=255", K::Identity, 0, false, 255},
        {"echo@0x40", K::Echo, 0x40, false, 0},        {"echo@9:always", K::Echo, 9, true, 0},
        // clang-format on
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        std::string error;
        const auto fault = ParseFault(c.text, error);
        ASSERT_TRUE(fault.has_value()) << error;
        EXPECT_EQ(fault->kind, c.kind);
        EXPECT_EQ(fault->always, c.always);
        if (c.kind == K::Identity) {
            EXPECT_EQ(fault->identity, c.identity);
        } else if (c.kind != K::Silent) {
            EXPECT_EQ(fault->address, c.address);
        }
    }
}

TEST(FaultParse, RefusesBadTextsWithAMessage) {
    for (std::string_view bad :
         {"", "loud", "short", "short@", "short@x", "short@65536", "short@0x10000", "long@-4",
          "corrupt@8:sometimes", "corrupt@8:", "echo@8:once", "dead@0x", "identity=",
          "identity=256", "identity=0x100", "identity=abc", "silent@4", "Silent", "short@4 "}) {
        std::string error;
        EXPECT_FALSE(ParseFault(bad, error).has_value()) << "'" << bad << "'";
        EXPECT_FALSE(error.empty()) << "'" << bad << "'";
    }
}

// Each case: the faults of a radio over the counting memory, then frames in order with the
// exact bytes each must bring back.
TEST(RadioFaults, EachFaultShowsInTheAnswersAtItsAddressOnly) {
    struct Step {
        Bytes in;
        Bytes out;
    };
    struct Case {
        std::vector<const char*> faults;
        int model;
        std::vector<Step> steps;
        std::vector<std::pair<int, std::uint8_t>> memoryAfter;
    };
    const Bytes w{0xA0, 0xA1, 0xA2, 0xA3};
    const auto W = [&](int a) { return WriteFrame(a, w); };            // writes w at a
    const auto Ok = [&](int a) { return Join(WriteFrame(a, w), w); };  // its clean answer
    const auto R = [](int a) { return ReadFrame(a); };
    const Bytes v{0x56}, vAnswer{0x56, 0x11}, i{0x49, 0x07};
    // clang-format off
    const Case cases[] = {
        {{"silent"}, 0, {{v, {}}, {i, {}}, {R(8), {}}, {W(16), {}}}, {{16, 17}}},
        // Every time, writes and reads alike; the write itself is stored; V is not affected.
        {{"short@0x10"}, 0,
         {{R(0x10), Cut(Clean(0x10))}, {R(0x10), Cut(Clean(0x10))}, {W(0x10), Cut(Ok(0x10))},
          {W(0x10), Cut(Ok(0x10))}, {R(0x0C), Clean(0x0C)}, {R(0x14), Clean(0x14)}, {v, vAnswer}},
         {{0x10, 0xA0}, {0x13, 0xA3}}},
        // The stray byte repeats the last one.
        {{"long@8"}, 0,
         {{R(8), Join(Clean(8), {0x0C})}, {R(8), Join(Clean(8), {0x0C})},
          {W(8), Join(Ok(8), {0xA3})}, {R(4), Clean(4)}}, {}},
        // Once: the first answer at the address has that byte inverted, the memory is right.
        {{"corrupt@0x20"}, 0,
         {{R(0x20), Set(Clean(0x20), 3, 0xDE)}, {R(0x20), Clean(0x20)}, {W(0x20), Ok(0x20)}}, {}},
        {{"corrupt@0x40"}, 0, {{W(0x40), Set(Ok(0x40), 7, 0x5F)}, {W(0x40), Ok(0x40)}},
         {{0x40, 0xA0}}},
        {{"corrupt@0x23:always"}, 0,
         {{R(0x20), Set(Clean(0x20), 6, 0xDB)}, {R(0x20), Set(Clean(0x20), 6, 0xDB)},
          {W(0x20), Set(Ok(0x20), 10, 0x5C)}, {R(0x24), Clean(0x24)}}, {{0x23, 0xA3}}},
        {{"identity=0x0D"}, 1, {{i, {0x49, 0x07, 0x0D}}, {v, vAnswer}, {R(0), Clean(0)}}, {}},
        // The echo of the dying frame goes out, its answer never does, nor anything after.
        {{"dead@0x0030"}, 0, {{R(0x2C), Clean(0x2C)}, {W(0x30), W(0x30)}, {v, {}}, {R(0), {}}},
         {{0x30, 0x31}}},
        // The echo of the frame's last byte has its bit 0 inverted, the first time only;
        // the answer and the memory are right.
        {{"echo@0x42"}, 0,
         {{R(0x40), Set(Clean(0x40), 2, 0x41)}, {R(0x40), Clean(0x40)}, {v, vAnswer}}, {}},
        {{"echo@0x10:always"}, 0,
         {{W(0x10), Set(Ok(0x10), 6, 0xA2)}, {W(0x10), Set(Ok(0x10), 6, 0xA2)},
          {R(0x14), Clean(0x14)}, {i, {0x49, 0x07, 0x0F}}}, {{0x10, 0xA0}, {0x13, 0xA3}}},
        {{"short@0", "long@4", "corrupt@8:always", "identity=7"}, 0,
         {{R(0), Cut(Clean(0))}, {R(4), Join(Clean(4), {0x08})}, {R(8), Set(Clean(8), 3, 0xF6)},
          {R(12), Clean(12)}, {i, {0x49, 0x07, 0x07}}}, {}},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.faults.front());
        std::vector<Fault> faults;
        for (const char* text : c.faults) {
            std::string error;
            faults.push_back(ParseFault(text, error).value());
        }
        EepromImage memory(kSmallMemory);
        std::iota(memory.begin(), memory.end(), std::uint8_t{1});
        VirtualRadio radio(c.model, memory, faults);
        for (std::size_t i = 0; i < c.steps.size(); ++i)
            EXPECT_EQ(radio.Receive(c.steps[i].in), c.steps[i].out) << "step " << i;
        for (const auto& [address, value] : c.memoryAfter)
            EXPECT_EQ(radio.Memory()[address], value) << "at " << address;
    }
}

}  // namespace
}  // namespace talveron::vradio
