// The command line of talveron-vradio, read in-process.
#include <gtest/gtest.h>

#include "vradio/options.h"

namespace talveron::vradio {
namespace {

Options Good(const std::vector<std::string>& args) {
    const ParsedOptions parsed = ParseOptions(args);
    EXPECT_TRUE(parsed.options.has_value()) << parsed.error;
    return parsed.options.value_or(Options{});
}

std::string Bad(const std::vector<std::string>& args) {
    const ParsedOptions parsed = ParseOptions(args);
    EXPECT_FALSE(parsed.options.has_value());
    EXPECT_FALSE(parsed.error.empty());
    return parsed.error;
}

TEST(VradioOptions, DefaultsAreModel0SmallMemory9600BaudNoFaults) {
    const Options o = Good({});
    EXPECT_FALSE(o.model.has_value());
    EXPECT_FALSE(o.memory.has_value());
    EXPECT_EQ(o.baud, 9600u);
    EXPECT_TRUE(o.faults.empty());
    EXPECT_TRUE(o.loadPath.empty());
    EXPECT_TRUE(o.savePath.empty());
    const RadioSetup setup = MakeRadio(o);
    ASSERT_TRUE(setup.radio.has_value());
    EXPECT_EQ(setup.radio->ModelCode(), 0);
    EXPECT_EQ(setup.radio->Memory().size(), kSmallMemory);
}

TEST(VradioOptions, ReadsEveryOptionInBothSpellings) {
    const Options o = Good({"--model", "1", "--memory=large", "--load", "in.cfg", "--save=out.cfg",
                            "--baud", "0", "--fault", "short@8", "--fault=identity=0x0D"});
    EXPECT_EQ(o.model, 1);
    EXPECT_EQ(o.memory, kLargeMemory);
    EXPECT_EQ(o.loadPath, "in.cfg");
    EXPECT_EQ(o.savePath, "out.cfg");
    EXPECT_EQ(o.baud, 0u);
    ASSERT_EQ(o.faults.size(), 2u);
    EXPECT_EQ(o.faults[0].kind, Fault::Kind::Short);
    EXPECT_EQ(o.faults[0].address, 8);
    EXPECT_EQ(o.faults[1].kind, Fault::Kind::Identity);
    EXPECT_EQ(o.faults[1].identity, 0x0D);

    EXPECT_EQ(Good({"--memory", "small"}).memory, kSmallMemory);
    EXPECT_EQ(Good({"--model=0"}).model, 0);
    EXPECT_EQ(Good({"--baud", "115200"}).baud, 115200u);
    EXPECT_TRUE(Good({"--help"}).help);
}

TEST(VradioOptions, RefusesBadOptionsWithAMessage) {
    EXPECT_NE(Bad({"--model", "2"}).find("--model"), std::string::npos);
    EXPECT_NE(Bad({"--memory", "huge"}).find("huge"), std::string::npos);
    EXPECT_NE(Bad({"--fault", "loud"}).find("loud"), std::string::npos);
    EXPECT_NE(Bad({"--frobnicate"}).find("--frobnicate"), std::string::npos);
    EXPECT_NE(Bad({"--baud"}).find("--baud"), std::string::npos);
    Bad({"--baud", "fast"});
    Bad({"--baud", "-1"});
    Bad({"--baud", "0x2580"});
    Bad({"--load", ""});
    Bad({"--help=yes"});
    Bad({"extra"});
    Bad({"--fault", "short@8", "--fault", "corrupt@8:never"});
}

TEST(VradioOptions, UsageNamesEveryOptionAndFault) {
    const std::string usage = UsageText();
    for (const char* word :
         {"--model", "--memory", "--load", "--save", "--baud", "--fault", "--help", "silent",
          "short@", "long@", "corrupt@", ":always", "identity=", "dead@"}) {
        EXPECT_NE(usage.find(word), std::string::npos) << word;
    }
}

}  // namespace
}  // namespace talveron::vradio
