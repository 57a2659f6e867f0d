// The faults: how their texts are read, and what each one does to the radio's answers.
#include <gtest/gtest.h>

#include <numeric>

#include "programs.h"
#include "test_support.h"
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

TEST(FaultParse, ReadsEveryKindAndRefusesBadTextsWithAMessage) {
    const char* kinds[] = {"silent", "short", "long", "corrupt", "identity", "dead", "echo"};
    for (const auto& c : test::LoadCases("core/vradio_faults.txt")) {
        std::string error;
        const auto fault = ParseFault(c[0], error);
        if (c[1] == "refused") {
            EXPECT_FALSE(fault.has_value()) << c.where;
            EXPECT_FALSE(error.empty()) << c.where;
            continue;
        }
        ASSERT_TRUE(fault.has_value()) << c.where << ": " << error;
        EXPECT_EQ(kinds[static_cast<int>(fault->kind)], c[1]) << c.where;
        EXPECT_EQ(fault->always, c[3] == "yes") << c.where;
        if (c[1] == "identity") {
            EXPECT_EQ(fault->identity, c.Int(4)) << c.where;
        } else if (c[1] != "silent") {
            EXPECT_EQ(fault->address, c.Int(2)) << c.where;
        }
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
