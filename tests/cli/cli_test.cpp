// talveron-cli end to end: the built program run on files in a temporary folder, with its
// standard output, standard error and exit status captured.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdio>

#include "image/document.h"
#include "image_generator.h"
#include "programs.h"
#include "test_support.h"

namespace talveron::test {
namespace {

const std::string kA1 = SamplePath("vk-a1-16ch.cfg");
const std::string kA2 = SamplePath("vk-a2-16ch.cfg");
const std::string kHeader = "Channel,RxFreq,RxTone,TxFreq,TxTone,Spacing,Power,BCLO,Scan,Penalty\n";

void WriteImage(const std::string& path, const EepromImage& image) {
    WriteBytes(path, ByteRecords(image));
}

// Expects the run to end with status and exactly err on standard error, nothing on standard
// output.
void ExpectOnlyErr(const RunResult& r, int status, const std::string& err) {
    EXPECT_EQ(r.status, status);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, err);
}

TEST(CliShow, PrintsTheSamplesLineByLineWithTheirTrailingBlanks) {
    const RunResult r = RunCli({"show", kA1});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "");
    // Decoded by hand from the sample's bytes (IF +45.0 MHz, prescaler 64).
    EXPECT_EQ(r.out, DataText("core/show_vk-a1-16ch.txt"));
    // The UHF sample names its own model and band.
    EXPECT_EQ(RunCli({"show", kA2}).out.rfind("Model:VK-A2  \nRange:440-480MHz\n", 0), 0u);
}

// Each refused file with another command: the reader's message on standard error, nothing on
// standard output, nothing written.
TEST(CliRefusedFiles, MessageOnStandardErrorNothingOnStandardOutput) {
    TempDir dir;
    const std::string missing = dir.file("missing.cfg");
    auto image = ReadImage(kA1);
    image.back() = 2;
    WriteImage(dir.file("model2.cfg"), image);
    WriteBytes(dir.file("big.cfg"), std::vector<std::uint8_t>(5001, 0x11));
    fs::create_directory(dir.file("folder.cfg"));
    const std::string out = dir.file("out.cfg");
    const std::string model2 =
        "Model or Type Error!  Can not Open  " + dir.file("model2.cfg") + "\n";
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{"show", missing}, "Can't open file: " + missing + "\n"},
        {{"check", dir.file("folder.cfg")}, "Can't open file: " + dir.file("folder.cfg") + "\n"},
        {{"export", dir.file("model2.cfg")}, model2},
        {{"diff", dir.file("big.cfg"), kA1}, "File is too big to open\n"},
        {{"diff", kA1, dir.file("model2.cfg")}, model2},
        {{"import", dir.file("model2.cfg"), dir.file("x.csv"), "-o", out}, model2},
        {{"system", dir.file("big.cfg")}, "File is too big to open\n"},
        // Input that is no channel list: a device, or a file too big to be one.
        {{"import", kA1, "/dev/zero", "-o", out}, "Can't open file: /dev/zero\n"},
    };
    for (const auto& [args, message] : cases) {
        SCOPED_TRACE(args[0] + " " + args[1]);
        ExpectOnlyErr(RunCli(args), 2, message);
    }
    WriteText(dir.file("big.csv"), std::string(2 << 20, 'a'));
    const RunResult huge = RunCli({"import", kA1, dir.file("big.csv"), "-o", out});
    EXPECT_EQ(huge.status, 2);
    EXPECT_NE(huge.err.find("too big for a channel list"), std::string::npos);
    EXPECT_FALSE(fs::exists(out));
}

TEST(CliUsage, HelpOfEveryCommandAndUsageErrors) {
    const RunResult top = RunCli({"--help"});
    EXPECT_EQ(top.status, 0);
    for (const char* command : {"show", "check", "export", "import"}) {
        const RunResult help = RunCli({command, "--help"});
        EXPECT_EQ(help.status, 0) << command;
        EXPECT_EQ(help.err, "") << command;
        EXPECT_EQ(help.out.rfind(std::string("usage: talveron-cli ") + command + " ", 0), 0u)
            << help.out;
        EXPECT_NE(top.out.find(std::string("  ") + command + " "), std::string::npos) << command;
    }
    for (const auto& c : LoadCases("core/cli_usage_errors.txt")) {
        std::vector<std::string> args;
        for (const std::string& a : c.f) {
            if (!a.empty()) args.push_back(a == "A1" ? kA1 : a == "A2" ? kA2 : a);
        }
        const RunResult r = RunCli(args);
        EXPECT_EQ(r.status, 2) << c.where;
        EXPECT_EQ(r.out, "") << c.where;
        EXPECT_NE(r.err.find("usage: talveron-cli"), std::string::npos) << c.where;
    }
}

TEST(CliCheck, VerdictsAndExitCodes) {
    TempDir dir;
    // Channel 5's receive side on the 2.5 kHz raster: 190.0025 MHz in the synthesizer,
    // 145.0025 MHz shown (q 76001, N 1187, A 33 with P 64: word 0x9468, nibble 0110).
    auto raster = ReadImage(kA1);
    std::uint8_t* ch5 = raster.data() + 16 + 8 * 4;
    ch5[3] = 0x94;
    ch5[4] = 0x68;
    ch5[7] = static_cast<std::uint8_t>((ch5[7] & 0xF0) | 0x06);
    WriteImage(dir.file("raster.cfg"), raster);
    // And channel 9 transmitting on 176 MHz (q 28160: word 0x3700, nibble 0000): the band
    // fault wins over the raster fault before it.
    auto band = raster;
    std::uint8_t* ch9 = band.data() + 16 + 8 * 8;
    ch9[5] = 0x37;
    ch9[6] = 0x00;
    ch9[7] = static_cast<std::uint8_t>(ch9[7] & 0x0F);
    WriteImage(dir.file("band.cfg"), band);
    // No channel holds a frequency: nothing to say.
    auto empty = ReadImage(kA1);
    for (int k = 0; k < 16; ++k) empty[16 + 8 * k] = 0;
    WriteImage(dir.file("empty.cfg"), empty);
    const std::pair<std::string, std::string> cases[] = {
        {kA1, "ALL Channels In Range\n"},
        {kA2, "ALL Channels In Range\n"},
        {dir.file("raster.cfg"), "Channel #5 in Bad increament !\n"},
        {dir.file("band.cfg"), "Channel #9 Range Out !\n"},
        {dir.file("empty.cfg"), ""},
    };
    for (const auto& [path, verdict] : cases) {
        const RunResult r = RunCli({"check", path});
        EXPECT_EQ(r.status, verdict.starts_with("Channel") ? 1 : 0) << path;
        EXPECT_EQ(r.out, verdict);
        EXPECT_EQ(r.err, "");
    }
}

TEST(CliExportImport, ExportThenImportShowsTheSameDocument) {
    TempDir dir;
    for (const std::string& base : {kA1, kA2}) {
        const RunResult exported = RunCli({"export", base});
        ASSERT_EQ(exported.status, 0) << exported.err;
        EXPECT_EQ(exported.out.rfind(kHeader, 0), 0u);
        const std::string csv = dir.file("plan.csv");
        const RunResult toFile = RunCli({"export", base, "-o", csv});
        ASSERT_EQ(toFile.status, 0) << toFile.err;
        EXPECT_EQ(toFile.out, "");
        EXPECT_EQ(ReadText(csv), exported.out);
        const std::string out = dir.file("imported.cfg");
        ExpectOnlyErr(RunCli({"import", base, csv, "-o", out}), 0, "");
        // The samples were saved by this program: their import gives them back byte for byte.
        EXPECT_EQ(ReadBytes(out), ReadBytes(base));
    }
}

// Rows that are no channel of the base, files that are no CSV, a target that cannot be
// written: refused, and nothing is written.
TEST(CliExportImport, BadRowsAndTargetsAreRefused) {
    TempDir dir;
    const std::string big = dir.file("big.cfg");
    ImageGenerator gen(5);
    WriteImage(big, gen.Make(99, 0x00, 128).image);
    const std::string good = "1,145.012500,67.0,145.012500,67.0,12.5,H,OFF,ON,OFF\n";
    fs::create_directory(dir.file("folder.csv"));
    // The base, the rows after the header and a good row (nullptr: "none.csv" or
    // "folder.csv", which are no files), and the start of the message then a part of it.
    const struct {
        std::string base;
        const char* rows;
        std::string start;
        std::string part;
    } cases[] = {
        {kA1, "2,145.01x,,,,25.0,L,OFF,OFF,OFF\n", "line 3, column 2 (RxFreq)", ""},
        {kA1, "17,145.0,,,,25.0,L,OFF,OFF,OFF\n", "line 3, column 1 (Channel)", "outside 1..16"},
        {big, "100,145.0,,,,25.0,L,OFF,OFF,OFF\n", "line 3, column 1 (Channel)", "outside 1..99"},
        {kA1, nullptr, "none.csv", ""},
        {kA1, nullptr, "folder.csv", ""},
    };
    const std::string out = dir.file("out.cfg");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.rows ? c.rows : c.start);
        const std::string csv = c.rows ? dir.file("bad.csv") : dir.file(c.start);
        if (c.rows) WriteText(csv, kHeader + good + c.rows);
        const RunResult r = RunCli({"import", c.base, csv, "-o", out});
        EXPECT_EQ(r.status, 2);
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(r.err.rfind(c.rows ? csv + ": " + c.start : "Can't open file: " + csv + "\n", 0),
                  0u)
            << r.err;
        EXPECT_NE(r.err.find(c.part), std::string::npos) << r.err;
        EXPECT_FALSE(fs::exists(out));
    }
    // A 99-channel base takes channel 99.
    WriteText(dir.file("99.csv"), kHeader + "99,145.0,,,,25.0,L,OFF,OFF,OFF\n");
    EXPECT_EQ(RunCli({"import", big, dir.file("99.csv"), "-o", out}).status, 0);
    EXPECT_NE(RunCli({"show", out})
                  .out.find("\n99  145.000000  000=  None   NONE        000=  None   \n"),
              std::string::npos);

    // A read-only target, a folder that is not there, the configuration itself, a full disk.
    const std::string locked = dir.file("locked.cfg");
    WriteText(locked, "old");
    ::chmod(locked.c_str(), 0444);
    ExpectOnlyErr(RunCli({"import", big, dir.file("99.csv"), "-o", locked}), 1,
                  locked + " is a read only file\n");
    EXPECT_EQ(ReadText(locked), "old");
    const RunResult nowhere = RunCli({"export", kA1, "-o", dir.file("absent/plan.csv")});
    EXPECT_EQ(nowhere.status, 1);
    EXPECT_NE(nowhere.err, "");
    fs::copy_file(kA1, dir.file("radio.cfg"));
    const RunResult self = RunCli({"export", dir.file("radio.cfg"), "-o", dir.file("radio.cfg")});
    EXPECT_EQ(self.status, 2);
    EXPECT_NE(self.err.find("is the configuration being exported"), std::string::npos);
    EXPECT_EQ(ReadBytes(dir.file("radio.cfg")), ReadBytes(kA1));
    // A full disk behind standard output: the CSV never arrived, so this is no success.
    const RunResult full =
        RunProgram("/bin/sh", {"-c", "exec \"$0\" export \"$1\" > /dev/full", CliProgram(), kA1});
    EXPECT_EQ(full.status, 1);
    EXPECT_NE(full.err.find("cannot write the output"), std::string::npos);
}

// diff of a file with its copy says nothing; of two files, one line per difference in the
// radio's terms (the sample's channel 2 and its TX timer), and any other byte by address.
TEST(CliDiff, NothingForTheSameOneLinePerDifference) {
    TempDir dir;
    const EepromImage sample = ReadImage(kA1);
    ASSERT_EQ(sample.size(), 145u);
    WriteImage(dir.file("same.cfg"), sample);
    ExpectOnlyErr(RunCli({"diff", kA1, dir.file("same.cfg")}), 0, "");
    EepromImage image = sample;
    image[0x18] ^= 0x10;                        // channel 2: scan
    image[0x08] = (image[0x08] & 0xF0) | 0x0F;  // TX Time Of Timer
    image[0x02] ^= 0x01;                        // a byte the program gives no meaning
    WriteImage(dir.file("changed.cfg"), image);
    const RunResult r = RunCli({"diff", kA1, dir.file("changed.cfg")});
    EXPECT_EQ(r.status, 1);
    // The sample's timer is 3 (45 s), its byte 2 0x41.
    EXPECT_EQ(r.out,
              "TX Time Of Timer: 45 s -> 225 s\nCH 2 SCAN: ON -> OFF\n0x0002: 0x41 -> 0x40\n");
    EXPECT_EQ(r.err, "");
}

// system: the settings read in the dialog's words, set into exactly their bits, refused
// with nothing written.
TEST(CliSystem, ReadsSetsAndRefuses) {
    TempDir dir;
    const std::string out = dir.file("out.cfg");
    const RunResult shown = RunCli({"system", kA1});
    ASSERT_EQ(shown.status, 0) << shown.err;
    EXPECT_EQ(std::count(shown.out.begin(), shown.out.end(), '\n'), 11);
    EXPECT_NE(shown.out.find("\nscan-attack = 5 s\n"), std::string::npos) << shown.out;

    const RunResult set =
        RunCli({"system", kA1, "tx-timeout=60 s", "scan-attack=15 s", "scan-resume=1 s", "beep=OFF",
                "ptt-resume=30", "priority-channel=3", "-o", out});
    ASSERT_EQ(set.status, 0) << set.err;
    EepromImage expected = ReadImage(kA1);
    expected[0x08] = (expected[0x08] & 0xF0) | 4;
    expected[0x07] = 0xF0;
    expected[0x0A] |= 0x20;
    expected[0x0F] = 30;
    expected[0x05] = 3;
    EXPECT_EQ(ReadImage(out), expected);
    EXPECT_NE(RunCli({"system", out}).out.find("beep = OFF\n"), std::string::npos);

    ImageGenerator gen(3);
    WriteImage(dir.file("99.cfg"), gen.Make(99, 0x00, 128).image);
    const std::vector<std::vector<std::string>> refused = {
        {kA1, "colour=red"},
        {kA1, "tx-timeout=61 s"},
        {kA1, "priority-channel=16"},
        {kA1, "beep"},
        {dir.file("99.cfg"), "scan-attack=OFF"},
        {dir.file("99.cfg"), "reverse-burst=ON"}};
    for (const auto& row : refused) {
        const RunResult r = RunCli({"system", row[0], row[1], "-o", dir.file("no.cfg")});
        EXPECT_EQ(r.status, 2) << row[1];
        EXPECT_NE(r.err.find(row[1].substr(0, row[1].find('='))), std::string::npos) << r.err;
        EXPECT_FALSE(fs::exists(dir.file("no.cfg"))) << row[1];
    }
}

// print: the plan as PDF, read back as text; a refused file writes nothing.
TEST(CliPrint, WritesThePlanOfBothSizesAndRefusesBadFiles) {
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
    WriteImage(dir.file("big.cfg"), gen.Make(99, 0x00, 128).image);
    ASSERT_EQ(RunCli({"print", dir.file("big.cfg"), "-o", dir.file("big.pdf")}).status, 0);
    EXPECT_NE(text(dir.file("big.pdf")).find("Page :2"), std::string::npos);

    WriteText(dir.file("bad.cfg"), "not a configuration");
    EXPECT_EQ(RunCli({"print", dir.file("bad.cfg"), "-o", dir.file("bad.pdf")}).status, 2);
    EXPECT_FALSE(fs::exists(dir.file("bad.pdf")));
}

}  // namespace
}  // namespace talveron::test
