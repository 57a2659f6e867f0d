// talveron-cli where output or input is not what a script expects: the configuration named
// as the export's target, a full disk, and inputs that are no channel list.
#include <gtest/gtest.h>

#include "programs.h"
#include "test_support.h"

namespace talveron::test {
namespace {

TEST(CliSafety, ExportingOntoItsOwnConfigurationIsRefused) {
    TempDir dir;
    const std::string cfg = dir.file("radio.cfg");
    fs::copy_file(SamplePath("vk-a1-16ch.cfg"), cfg);
    const auto before = ReadBytes(cfg);
    const RunResult run = RunCli({"export", cfg, "-o", cfg});
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.err.find("is the configuration being exported"), std::string::npos);
    EXPECT_EQ(ReadBytes(cfg), before);
}

TEST(CliSafety, OutputThatCannotBeWrittenFailsTheCommand) {
    // A full disk behind standard output: the CSV never arrived, so this is no success.
    const RunResult run = RunProgram("/bin/sh", {"-c", "exec \"$0\" export \"$1\" > /dev/full",
                                                 CliProgram(), SamplePath("vk-a1-16ch.cfg")});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("cannot write the output"), std::string::npos);
}

TEST(CliSafety, ImportTakesOnlyARegularFileOfSensibleSize) {
    TempDir dir;
    const std::string out = dir.file("out.cfg");
    const RunResult device =
        RunCli({"import", SamplePath("vk-a1-16ch.cfg"), "/dev/zero", "-o", out});
    EXPECT_EQ(device.status, 2);
    EXPECT_EQ(device.err, "Can't open file: /dev/zero\n");

    const std::string big = dir.file("big.csv");
    WriteText(big, std::string(2 << 20, 'a'));
    const RunResult huge = RunCli({"import", SamplePath("vk-a1-16ch.cfg"), big, "-o", out});
    EXPECT_EQ(huge.status, 2);
    EXPECT_NE(huge.err.find("too big for a channel list"), std::string::npos);
    EXPECT_FALSE(fs::exists(out));
}

}  // namespace
}  // namespace talveron::test
