// talveron-cli end to end: the built program run on files in a temporary folder, with its
// standard output, standard error and exit status captured.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <functional>

#include "image/document.h"
#include "image_generator.h"
#include "programs.h"
#include "test_support.h"

namespace talveron::test {
namespace {

const std::string kA1 = SamplePath("vk-a1-16ch.cfg");
const std::string kA2 = SamplePath("vk-a2-16ch.cfg");
const std::string kHeader = "Channel,RxFreq,RxTone,TxFreq,TxTone,Spacing,Power,BCLO,Scan,Penalty\n";

// Every case of core/cli_commands.txt, on files made here.
TEST(CliCommands, StatusAndOutputOfEachCommandLine) {
    TempDir dir;
    const auto edit = [&](const char* name, const std::function<void(EepromImage&)>& change) {
        EepromImage image = ReadImage(kA1);
        change(image);
        WriteBytes(dir.file(name), ByteRecords(image));
    };
    edit("model2.cfg", [](EepromImage& i) { i.back() = 2; });
    WriteBytes(dir.file("big.cfg"), std::vector<std::uint8_t>(5001, 0x11));
    fs::create_directory(dir.file("folder.cfg"));
    fs::create_directory(dir.file("folder.csv"));
    // Channel 5's receive side on the 2.5 kHz raster: 190.0025 MHz in the synthesizer,
    // 145.0025 MHz shown (q 76001, N 1187, A 33 with P 64: word 0x9468, nibble 0110). And then
    // channel 9 transmitting on 176 MHz (q 28160: word 0x3700, nibble 0000).
    const auto raster = [](EepromImage& i) {
        i[16 + 8 * 4 + 3] = 0x94;
        i[16 + 8 * 4 + 4] = 0x68;
        i[16 + 8 * 4 + 7] = static_cast<std::uint8_t>((i[16 + 8 * 4 + 7] & 0xF0) | 0x06);
    };
    edit("raster.cfg", raster);
    edit("band.cfg", [&](EepromImage& i) {
        raster(i);
        i[16 + 8 * 8 + 5] = 0x37;
        i[16 + 8 * 8 + 6] = 0x00;
        i[16 + 8 * 8 + 7] &= 0x0F;
    });
    edit("empty.cfg", [](EepromImage& i) {
        for (int k = 0; k < 16; ++k) i[16 + 8 * k] = 0;
    });
    edit("same.cfg", [](EepromImage&) {});
    edit("changed.cfg", [](EepromImage& i) {
        i[0x18] ^= 0x10;                    // channel 2: scan
        i[0x08] = (i[0x08] & 0xF0) | 0x0F;  // TX Time Of Timer
        i[0x02] ^= 0x01;                    // a byte the program gives no meaning
    });
    ImageGenerator gen(5);
    WriteBytes(dir.file("99.cfg"), ByteRecords(gen.Make(99, 0x00, 128).image));
    const std::string good = kHeader + "1,145.012500,67.0,145.012500,67.0,12.5,H,OFF,ON,OFF\n";
    WriteText(dir.file("ok.csv"), good);
    WriteText(dir.file("x.csv"), good + "2,145.01x,,,,25.0,L,OFF,OFF,OFF\n");
    WriteText(dir.file("17.csv"), good + "17,145.0,,,,25.0,L,OFF,OFF,OFF\n");
    WriteText(dir.file("100.csv"), good + "100,145.0,,,,25.0,L,OFF,OFF,OFF\n");
    WriteText(dir.file("99.csv"), kHeader + "99,145.0,,,,25.0,L,OFF,OFF,OFF\n");
    WriteText(dir.file("huge.csv"), std::string(2 << 20, 'a'));
    WriteText(dir.file("locked.cfg"), "old");
    ::chmod(dir.file("locked.cfg").c_str(), 0444);

    const auto fill = [&](std::string text) {
        for (std::size_t at; (at = text.find("DIR/")) != std::string::npos;)
            text.replace(at, 4, dir.file(""));
        return text == "A1" ? kA1 : text == "A2" ? kA2 : text;
    };
    const auto matches = [&](const std::string& got, const std::string& want) {
        const std::string rest = want.empty() ? "" : fill(want.substr(1));
        switch (want.empty() ? ' ' : want[0]) {
            case '*':
                return true;
            case '^':
                return got.rfind(rest, 0) == 0;
            case '~':
                return got.find(rest) != std::string::npos;
            case '@':
                return got == DataText(want.substr(1));
            default:
                return got == fill(want);
        }
    };
    for (const auto& c : LoadCases("core/cli_commands.txt")) {
        std::vector<std::string> args;
        for (std::size_t i = 3; i < c.f.size(); ++i) {
            if (!c[i].empty()) args.push_back(fill(c[i]));
        }
        const RunResult r = RunCli(args);
        EXPECT_EQ(r.status, c.Int(0)) << c.where << "\n" << r.err;
        EXPECT_TRUE(matches(r.out, c[1])) << c.where << ": standard output\n" << r.out;
        EXPECT_TRUE(matches(r.err, c[2])) << c.where << ": standard error\n" << r.err;
    }
    // What was refused wrote nothing.
    EXPECT_FALSE(fs::exists(dir.file("out.cfg")));
    EXPECT_FALSE(fs::exists(dir.file("out.pdf")));
    EXPECT_EQ(ReadText(dir.file("locked.cfg")), "old");
    EXPECT_EQ(ReadImage(dir.file("same.cfg")), ReadImage(kA1));
}

// A full disk behind standard output: the CSV never arrived, so this is no success.
TEST(CliExportImport, OutputThatCannotBeWrittenFailsTheCommand) {
    const RunResult full =
        RunProgram("/bin/sh", {"-c", "exec \"$0\" export \"$1\" > /dev/full", CliProgram(), kA1});
    EXPECT_EQ(full.status, 1);
    EXPECT_NE(full.err.find("cannot write the output"), std::string::npos);
}

// print: the plan as PDF, read back as text.
TEST(CliPrint, WritesThePlanOfBothSizes) {
    TempDir dir;
    const auto text = [&](const std::string& pdf) {
        return RunProgram("/usr/bin/pdftotext", {"-layout", pdf, "-"}).out;
    };
    const RunResult small = RunCli(
        {"print", kA1, "-o", dir.file("plan.pdf"), "--customer", "ACME Taxi", "--serial", "SN-7"});
    ASSERT_EQ(small.status, 0) << small.err;
    EXPECT_EQ(small.err, "");
    const std::string plan = text(dir.file("plan.pdf"));
    for (const char* part :
         {"VK-A1-16CH", "Page :1", "Customer:ACME Taxi", "Serial No:SN-7", "Range:140-175MHz",
          "TX Time Of Timer:45 s", "BEEP: ON", "Reverse Burst Tone: ON", "152.487500", "12.5K"})
        EXPECT_NE(plan.find(part), std::string::npos) << part << "\n" << plan;
    EXPECT_EQ(plan.find("Page :2"), std::string::npos);
    EXPECT_EQ(plan.find("16   NONE"), std::string::npos);

    ImageGenerator gen(11);
    WriteBytes(dir.file("big.cfg"), ByteRecords(gen.Make(99, 0x00, 128).image));
    ASSERT_EQ(RunCli({"print", dir.file("big.cfg"), "-o", dir.file("big.pdf")}).status, 0);
    EXPECT_NE(text(dir.file("big.pdf")).find("Page :2"), std::string::npos);
}

}  // namespace
}  // namespace talveron::test
