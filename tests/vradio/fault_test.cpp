// The faults: how their texts are read, and what each one does to the radio's answers.
#include <gtest/gtest.h>

#include <numeric>
#include <sstream>

#include "programs.h"
#include "test_support.h"
#include "vradio/fault.h"
#include "vradio/virtual_radio.h"

namespace talveron::vradio {
namespace {

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

using test::HexBytes;

// Each case: the faults of a radio over a counting memory, then frames in order with the
// exact bytes each must bring back, and the memory afterwards.
TEST(RadioFaults, EachFaultShowsInTheAnswersAtItsAddressOnly) {
    for (const auto& c : test::LoadCases("core/vradio_fault_answers.txt")) {
        std::vector<Fault> faults;
        std::istringstream texts(c[0]);
        for (std::string text, error; texts >> text;)
            faults.push_back(ParseFault(text, error).value());
        EepromImage memory(kSmallMemory);
        std::iota(memory.begin(), memory.end(), std::uint8_t{1});
        VirtualRadio radio(c.Int(1), memory, faults);
        std::istringstream steps(c[2]);
        for (std::string step; std::getline(steps, step, ';');) {
            const std::size_t arrow = step.find('>');
            EXPECT_EQ(radio.Receive(HexBytes(step.substr(0, arrow))),
                      HexBytes(step.substr(arrow + 1)))
                << c.where << ": " << step;
        }
        std::istringstream after(c[3] == "-" ? "" : c[3]);
        for (std::string pair; after >> pair;) {
            const std::size_t eq = pair.find('=');
            EXPECT_EQ(radio.Memory()[std::stoi(pair.substr(0, eq), nullptr, 0)],
                      std::stoi(pair.substr(eq + 1), nullptr, 0))
                << c.where << ": " << pair;
        }
    }
}

}  // namespace
}  // namespace talveron::vradio
