// The command line of talveron-vradio, read in-process and by the program.
#include <gtest/gtest.h>

#include "programs.h"
#include "test_support.h"
#include "vradio/default_memory.h"
#include "vradio/options.h"

namespace talveron::vradio {
namespace {

Options Good(const std::vector<std::string>& args) {
    const ParsedOptions parsed = ParseOptions(args);
    EXPECT_TRUE(parsed.options.has_value()) << parsed.error;
    return parsed.options.value_or(Options{});
}

// The defaults (9600 baud, no faults; the radio a program with no options serves is the
// default small memory of model 0, as the pty tests find), every option in both spellings,
// and a usage that names every option and fault.
TEST(VradioOptions, DefaultsAndEveryOptionInBothSpellings) {
    EXPECT_EQ(Good({}).baud, 9600u);
    EXPECT_TRUE(Good({}).faults.empty() && Good({}).savePath.empty());

    const Options o = Good({"--model", "1", "--memory=large", "--load", "in.cfg", "--save=out.cfg",
                            "--baud", "0", "--fault", "short@8", "--fault=identity=0x0D"});
    EXPECT_EQ(o.model, 1);
    EXPECT_EQ(o.memory, kLargeMemory);
    EXPECT_EQ(o.loadPath, "in.cfg");
    EXPECT_EQ(o.savePath, "out.cfg");
    EXPECT_EQ(o.baud, 0u);
    ASSERT_EQ(o.faults.size(), 2u);
    EXPECT_EQ(o.faults[0].address, 8);
    EXPECT_EQ(o.faults[1].identity, 0x0D);
    EXPECT_EQ(Good({"--memory", "small"}).memory, kSmallMemory);
    EXPECT_TRUE(Good({"--help"}).help);

    for (const std::string& word :
         test::Words("--model --memory --load --save --baud --fault --help silent short@ long@ "
                     "corrupt@ :always identity= dead@ echo@"))
        EXPECT_NE(UsageText().find(word), std::string::npos) << word;
}

// Refused options name what is wrong; the program takes the same way out for each of them and
// for a file it cannot load: exit 2 with its message. --help exits 0 with the usage.
TEST(VradioOptions, RefusesBadOptionsWithAMessageNamingThem) {
    for (const auto& c : test::LoadCases("core/vradio_bad_options.txt")) {
        const ParsedOptions parsed = ParseOptions({c.f.begin() + 1, c.f.end()});
        EXPECT_FALSE(parsed.options.has_value()) << c.where;
        EXPECT_FALSE(parsed.error.empty()) << c.where;
        EXPECT_NE(parsed.error.find(c[0]), std::string::npos) << c.where << ": " << parsed.error;
    }
    test::TempDir temp;
    const test::RunResult bad = test::RunVradio({"--model", "5"});
    EXPECT_EQ(bad.status, 2);
    EXPECT_EQ(bad.err.rfind("talveron-vradio: ", 0), 0u) << bad.err;
    const test::RunResult absent = test::RunVradio({"--load", temp.file("absent.cfg")});
    EXPECT_EQ(absent.status, 2);
    EXPECT_EQ(absent.err.rfind("talveron-vradio: Can't open file: ", 0), 0u) << absent.err;
    const test::RunResult help = test::RunVradio({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.out.rfind("usage: talveron-vradio", 0), 0u) << help.out;
}

}  // namespace
}  // namespace talveron::vradio
