// The command line of talveron-vradio, read in-process.
#include <gtest/gtest.h>

#include "vradio/default_memory.h"
#include "vradio/options.h"

namespace talveron::vradio {
namespace {

Options Good(const std::vector<std::string>& args) {
    const ParsedOptions parsed = ParseOptions(args);
    EXPECT_TRUE(parsed.options.has_value()) << parsed.error;
    return parsed.options.value_or(Options{});
}

TEST(VradioOptions, DefaultsAreModel0SmallMemory9600BaudNoFaults) {
    const Options o = Good({});
    EXPECT_EQ(o.baud, 9600u);
    EXPECT_TRUE(o.faults.empty() && o.loadPath.empty() && o.savePath.empty());
    const RadioSetup setup = MakeRadio(o);
    ASSERT_TRUE(setup.radio.has_value());
    EXPECT_EQ(setup.radio->ModelCode(), 0);
    EXPECT_EQ(setup.radio->Memory(), DefaultMemory(0, kSmallMemory));
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
    EXPECT_EQ(o.faults[1].identity, 0x0D);

    EXPECT_EQ(Good({"--memory", "small"}).memory, kSmallMemory);
    EXPECT_EQ(Good({"--model=0"}).model, 0);
    EXPECT_EQ(Good({"--baud", "115200"}).baud, 115200u);
    EXPECT_TRUE(Good({"--help"}).help);
}

TEST(VradioOptions, RefusesBadOptionsWithAMessageNamingThem) {
    // The word the message must name; empty when any message will do.
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{"--model", "2"}, "--model"},
        {{"--memory", "huge"}, "huge"},
        {{"--fault", "loud"}, "loud"},
        {{"--frobnicate"}, "--frobnicate"},
        {{"--baud"}, "--baud"},
        {{"--baud", "fast"}, ""},
        {{"--baud", "-1"}, ""},
        {{"--baud", "0x2580"}, ""},
        {{"--load", ""}, ""},
        {{"--help=yes"}, ""},
        {{"extra"}, ""},
        {{"--fault", "short@8", "--fault", "corrupt@8:never"}, ""},
    };
    for (const auto& [args, word] : cases) {
        SCOPED_TRACE(args.front() + (args.size() > 1 ? " " + args[1] : ""));
        const ParsedOptions parsed = ParseOptions(args);
        EXPECT_FALSE(parsed.options.has_value());
        EXPECT_FALSE(parsed.error.empty());
        EXPECT_NE(parsed.error.find(word), std::string::npos) << parsed.error;
    }
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
