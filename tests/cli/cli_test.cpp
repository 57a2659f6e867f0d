// talveron-cli end to end: the built program run on files in a temporary folder, with its
// standard output, standard error and exit status captured.
#include <gtest/gtest.h>

#include <cstdio>

#include "image/document.h"
#include "image_generator.h"
#include "programs.h"
#include "test_support.h"

namespace talveron {
namespace {

using test::ReadBytes;
using test::ReadText;
using test::RunCli;
using test::TempDir;
using CliRun = test::RunResult;

std::string Sample(const char* name) {
    return test::SamplePath(name);
}

void WriteImage(const std::string& path, const EepromImage& image) {
    test::WriteBytes(path, test::ByteRecords(image));
}

TEST(CliShow, PrintsTheSamplesLineByLineWithTheirTrailingBlanks) {
    const CliRun r = RunCli({"show", Sample("vk-a1-16ch.cfg")});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "");
    // Decoded by hand from the sample's bytes (IF +45.0 MHz, prescaler 64).
    EXPECT_EQ(r.out, test::DataText("core/show_vk-a1-16ch.txt"));

    // The UHF sample names its own model and band.
    const CliRun a2 = RunCli({"show", Sample("vk-a2-16ch.cfg")});
    ASSERT_EQ(a2.status, 0) << a2.err;
    EXPECT_EQ(a2.out.rfind("Model:VK-A2  \nRange:440-480MHz\n", 0), 0u) << a2.out;
}

TEST(CliRefusedFiles, MessageOnStandardErrorNothingOnStandardOutput) {
    TempDir dir;
    const std::string missing = dir.file("missing.cfg");
    auto image = test::ReadImage(Sample("vk-a1-16ch.cfg"));
    image.back() = 2;
    WriteImage(dir.file("model2.cfg"), image);
    test::WriteBytes(dir.file("big.cfg"), std::vector<std::uint8_t>(5001, 0x11));
    std::filesystem::create_directory(dir.file("folder.cfg"));
    const std::pair<std::string, std::string> cases[] = {
        {missing, "Can't open file: " + missing + "\n"},
        {dir.file("folder.cfg"), "Can't open file: " + dir.file("folder.cfg") + "\n"},
        {dir.file("model2.cfg"),
         "Model or Type Error!  Can not Open  " + dir.file("model2.cfg") + "\n"},
        {dir.file("big.cfg"), "File is too big to open\n"},
    };
    for (const auto& [path, message] : cases) {
        for (const char* command : {"show", "check", "export"}) {
            const CliRun r = RunCli({command, path});
            EXPECT_EQ(r.status, 2) << command << " " << path;
            EXPECT_EQ(r.out, "") << command << " " << path;
            EXPECT_EQ(r.err, message) << command << " " << path;
        }
        for (const auto& pair :
             {std::vector<std::string>{"diff", path, Sample("vk-a1-16ch.cfg")},
              std::vector<std::string>{"diff", Sample("vk-a1-16ch.cfg"), path}}) {
            const CliRun r = RunCli(pair);
            EXPECT_EQ(r.status, 2) << path;
            EXPECT_EQ(r.out, "") << path;
            EXPECT_EQ(r.err, message) << path;
        }
        const CliRun imp = RunCli({"import", path, dir.file("x.csv"), "-o", dir.file("out.cfg")});
        EXPECT_EQ(imp.status, 2);
        EXPECT_EQ(imp.out, "");
        EXPECT_EQ(imp.err, message);
        EXPECT_FALSE(std::filesystem::exists(dir.file("out.cfg")));
    }
}

TEST(CliUsage, HelpOfEveryCommandAndUsageErrors) {
    for (const char* command : {"show", "check", "export", "import"}) {
        const CliRun help = RunCli({command, "--help"});
        EXPECT_EQ(help.status, 0) << command;
        EXPECT_EQ(help.err, "") << command;
        EXPECT_EQ(help.out.rfind(std::string("usage: talveron-cli ") + command + " ", 0), 0u)
            << help.out;
    }
    const CliRun top = RunCli({"--help"});
    EXPECT_EQ(top.status, 0);
    for (const char* command : {"show", "check", "export", "import"})
        EXPECT_NE(top.out.find(std::string("  ") + command + " "), std::string::npos) << command;

    for (const auto& c : test::LoadCases("core/cli_usage_errors.txt")) {
        std::vector<std::string> args;
        for (const std::string& a : c.f) {
            if (!a.empty())
                args.push_back(a == "A1" || a == "A2"
                                   ? Sample(a == "A1" ? "vk-a1-16ch.cfg" : "vk-a2-16ch.cfg")
                                   : a);
        }
        const CliRun r = RunCli(args);
        EXPECT_EQ(r.status, 2) << c.where;
        EXPECT_EQ(r.out, "") << c.where;
        EXPECT_NE(r.err.find("usage: talveron-cli"), std::string::npos) << c.where;
    }
}

TEST(CliCheck, VerdictsAndExitCodes) {
    TempDir dir;
    const CliRun ok = RunCli({"check", Sample("vk-a1-16ch.cfg")});
    EXPECT_EQ(ok.status, 0);
    EXPECT_EQ(ok.out, "ALL Channels In Range\n");
    EXPECT_EQ(ok.err, "");

    // Channel 5's receive side on the 2.5 kHz raster: 190.0025 MHz in the synthesizer,
    // 145.0025 MHz shown (q 76001, N 1187, A 33 with P 64: word 0x9468, nibble 0110).
    auto image = test::ReadImage(Sample("vk-a1-16ch.cfg"));
    std::uint8_t* ch5 = image.data() + 16 + 8 * 4;
    ch5[3] = 0x94;
    ch5[4] = 0x68;
    ch5[7] = static_cast<std::uint8_t>((ch5[7] & 0xF0) | 0x06);
    WriteImage(dir.file("raster.cfg"), image);
    const CliRun raster = RunCli({"check", dir.file("raster.cfg")});
    EXPECT_EQ(raster.status, 1);
    EXPECT_EQ(raster.out, "Channel #5 in Bad increament !\n");

    // And channel 9 transmitting on 176 MHz (q 28160: word 0x3700, nibble 0000): the band
    // fault wins over the raster fault before it.
    std::uint8_t* ch9 = image.data() + 16 + 8 * 8;
    ch9[5] = 0x37;
    ch9[6] = 0x00;
    ch9[7] = static_cast<std::uint8_t>(ch9[7] & 0x0F);
    WriteImage(dir.file("band.cfg"), image);
    const CliRun band = RunCli({"check", dir.file("band.cfg")});
    EXPECT_EQ(band.status, 1);
    EXPECT_EQ(band.out, "Channel #9 Range Out !\n");

    // No channel holds a frequency: nothing to say.
    auto empty = test::ReadImage(Sample("vk-a1-16ch.cfg"));
    for (int k = 0; k < 16; ++k) empty[16 + 8 * k] = 0;
    WriteImage(dir.file("empty.cfg"), empty);
    const CliRun none = RunCli({"check", dir.file("empty.cfg")});
    EXPECT_EQ(none.status, 0);
    EXPECT_EQ(none.out, "");
    EXPECT_EQ(none.err, "");

    // The UHF sample is in its own band.
    EXPECT_EQ(RunCli({"check", Sample("vk-a2-16ch.cfg")}).out, "ALL Channels In Range\n");
}

TEST(CliExportImport, ExportThenImportShowsTheSameDocument) {
    TempDir dir;
    for (const std::string& base : {Sample("vk-a1-16ch.cfg"), Sample("vk-a2-16ch.cfg")}) {
        const CliRun exported = RunCli({"export", base});
        ASSERT_EQ(exported.status, 0) << exported.err;
        EXPECT_EQ(exported.out.rfind("Channel,RxFreq,RxTone,TxFreq,TxTone,Spacing,Power,BCLO,"
                                     "Scan,Penalty\n",
                                     0),
                  0u);
        const std::string csv = dir.file("plan.csv");
        const CliRun toFile = RunCli({"export", base, "-o", csv});
        ASSERT_EQ(toFile.status, 0) << toFile.err;
        EXPECT_EQ(toFile.out, "");
        EXPECT_EQ(ReadText(csv), exported.out);

        const std::string out = dir.file("imported.cfg");
        const CliRun imported = RunCli({"import", base, csv, "-o", out});
        ASSERT_EQ(imported.status, 0) << imported.err;
        EXPECT_EQ(imported.out, "");
        EXPECT_EQ(imported.err, "");
        EXPECT_EQ(RunCli({"show", out}).out, RunCli({"show", base}).out) << base;
        // The samples were saved by this program: their import gives them back byte for byte.
        EXPECT_EQ(ReadBytes(out), ReadBytes(base));
    }
}

TEST(CliExportImport, BadRowsAreRefusedAndNothingIsWritten) {
    TempDir dir;
    const std::string base = Sample("vk-a1-16ch.cfg");
    const std::string big = dir.file("big.cfg");
    test::ImageGenerator gen(5);
    WriteImage(big, gen.Make(99, 0x00, 128).image);
    const std::string header =
        "Channel,RxFreq,RxTone,TxFreq,TxTone,Spacing,Power,BCLO,Scan,Penalty\n";
    const std::string good = "1,145.012500,67.0,145.012500,67.0,12.5,H,OFF,ON,OFF\n";
    std::filesystem::create_directory(dir.file("folder.csv"));
    // The base, the rows after the header and a good row (nullptr: "none.csv" or
    // "folder.csv", which are no files), and the start of the message then a part of it.
    const struct {
        std::string base;
        const char* rows;
        std::string start;
        std::string part;
    } cases[] = {
        {base, "2,145.01x,,,,25.0,L,OFF,OFF,OFF\n", "line 3, column 2 (RxFreq)", ""},
        {base, "17,145.0,,,,25.0,L,OFF,OFF,OFF\n", "line 3, column 1 (Channel)", "outside 1..16"},
        {big, "100,145.0,,,,25.0,L,OFF,OFF,OFF\n", "line 3, column 1 (Channel)", "outside 1..99"},
        {base, nullptr, "none.csv", ""},
        {base, nullptr, "folder.csv", ""},
    };
    const std::string out = dir.file("out.cfg");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.rows ? c.rows : c.start);
        const std::string csv = c.rows ? dir.file("bad.csv") : dir.file(c.start);
        if (c.rows) test::WriteText(csv, header + good + c.rows);
        const CliRun r = RunCli({"import", c.base, csv, "-o", out});
        EXPECT_EQ(r.status, 2);
        EXPECT_EQ(r.out, "");
        if (c.rows) {
            EXPECT_EQ(r.err.rfind(csv + ": " + c.start, 0), 0u) << r.err;
        } else {
            EXPECT_EQ(r.err, "Can't open file: " + csv + "\n");
        }
        EXPECT_NE(r.err.find(c.part), std::string::npos) << r.err;
        EXPECT_FALSE(std::filesystem::exists(out));
    }
    // A 99-channel base takes channel 99.
    test::WriteText(dir.file("99.csv"), header + "99,145.0,,,,25.0,L,OFF,OFF,OFF\n");
    EXPECT_EQ(RunCli({"import", big, dir.file("99.csv"), "-o", out}).status, 0);
    EXPECT_NE(RunCli({"show", out})
                  .out.find("\n99  145.000000  000=  None   NONE        000=  None   \n"),
              std::string::npos);
}

TEST(CliExportImport, ImportOverAReadOnlyFileIsRefused) {
    TempDir dir;
    const std::string base = Sample("vk-a1-16ch.cfg");
    const std::string csv = dir.file("plan.csv");
    ASSERT_EQ(RunCli({"export", base, "-o", csv}).status, 0);
    const std::string out = dir.file("locked.cfg");
    test::WriteText(out, "old");
    ::chmod(out.c_str(), 0444);
    const CliRun r = RunCli({"import", base, csv, "-o", out});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, out + " is a read only file\n");
    EXPECT_EQ(ReadText(out), "old");

    const CliRun nowhere = RunCli({"export", base, "-o", dir.file("absent/plan.csv")});
    EXPECT_EQ(nowhere.status, 1);
    EXPECT_NE(nowhere.err, "");
}

// diff of a file with its copy says nothing; of two files, one line per difference in the
// radio's terms (the sample's channel 2 and its TX timer), and any other byte by address.
TEST(CliDiff, NothingForTheSameOneLinePerDifference) {
    TempDir dir;
    EepromImage image = test::ReadImage(Sample("vk-a1-16ch.cfg"));
    ASSERT_EQ(image.size(), 145u);
    WriteImage(dir.file("same.cfg"), image);
    CliRun r = RunCli({"diff", Sample("vk-a1-16ch.cfg"), dir.file("same.cfg")});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "");
    image[0x18] ^= 0x10;                        // channel 2: scan
    image[0x08] = (image[0x08] & 0xF0) | 0x0F;  // TX Time Of Timer
    image[0x02] ^= 0x01;                        // a byte the program gives no meaning
    WriteImage(dir.file("changed.cfg"), image);
    r = RunCli({"diff", Sample("vk-a1-16ch.cfg"), dir.file("changed.cfg")});
    EXPECT_EQ(r.status, 1);
    const EepromImage sample = test::ReadImage(Sample("vk-a1-16ch.cfg"));
    const std::string timer =
        (sample[0x08] & 0x0F) == 0 ? "OFF" : std::to_string((sample[0x08] & 0x0F) * 15) + " s";
    char other[64];
    std::snprintf(other, sizeof other, "0x0002: 0x%02X -> 0x%02X\n", sample[2], image[2]);
    EXPECT_EQ(r.out, "TX Time Of Timer: " + timer + " -> 225 s\nCH 2 SCAN: ON -> OFF\n" + other);
    EXPECT_EQ(r.err, "");
}

}  // namespace
}  // namespace talveron

namespace talveron {
namespace {

// system: the settings read in the dialog's words, set into exactly their bits, refused
// with nothing written.
TEST(CliSystem, ReadsSetsAndRefuses) {
    TempDir dir;
    const std::string base = test::SamplePath("vk-a1-16ch.cfg");
    const std::string out = dir.file("out.cfg");
    const CliRun shown = RunCli({"system", base});
    ASSERT_EQ(shown.status, 0) << shown.err;
    EXPECT_EQ(std::count(shown.out.begin(), shown.out.end(), '\n'), 11);
    EXPECT_NE(shown.out.find("\nscan-attack = 5 s\n"), std::string::npos) << shown.out;

    const CliRun set =
        RunCli({"system", base, "tx-timeout=60 s", "scan-attack=15 s", "scan-resume=1 s",
                "beep=OFF", "ptt-resume=30", "priority-channel=3", "-o", out});
    ASSERT_EQ(set.status, 0) << set.err;
    const EepromImage before = test::ReadImage(base);
    const EepromImage after = test::ReadImage(out);
    ASSERT_EQ(after.size(), before.size());
    EXPECT_EQ(after[0x08], (before[0x08] & 0xF0) | 4);
    EXPECT_EQ(after[0x07], 0xF0);
    EXPECT_EQ(after[0x0A], before[0x0A] | 0x20);
    EXPECT_EQ(after[0x0F], 30);
    EXPECT_EQ(after[0x05], 3);
    for (std::size_t a = 0x10; a < after.size(); ++a) ASSERT_EQ(after[a], before[a]) << a;
    EXPECT_NE(RunCli({"system", out}).out.find("beep = OFF\n"), std::string::npos);

    TempDir big;
    test::ImageGenerator gen(3);
    WriteImage(big.file("99.cfg"), gen.Make(99, 0x00, 128).image);
    const std::vector<std::vector<std::string>> refused = {
        {base, "colour=red"},
        {base, "tx-timeout=61 s"},
        {base, "priority-channel=16"},
        {base, "beep"},
        {big.file("99.cfg"), "scan-attack=OFF"},
        {big.file("99.cfg"), "reverse-burst=ON"}};
    for (const auto& row : refused) {
        const CliRun r = RunCli({"system", row[0], row[1], "-o", dir.file("no.cfg")});
        EXPECT_EQ(r.status, 2) << row[1];
        EXPECT_NE(r.err.find(row[1].substr(0, row[1].find('='))), std::string::npos) << r.err;
        EXPECT_FALSE(std::filesystem::exists(dir.file("no.cfg"))) << row[1];
    }
}

}  // namespace
}  // namespace talveron

namespace talveron {
namespace {

// print: the plan as PDF, read back as text; a refused file writes nothing.
TEST(CliPrint, WritesThePlanOfBothSizesAndRefusesBadFiles) {
    TempDir dir;
    const std::string pdf = dir.file("plan.pdf");
    const CliRun small = RunCli({"print", test::SamplePath("vk-a1-16ch.cfg"), "-o", pdf,
                                 "--customer", "ACME Taxi", "--serial", "SN-7"});
    ASSERT_EQ(small.status, 0) << small.err;
    EXPECT_EQ(small.err, "");
    const std::string text = test::RunProgram("/usr/bin/pdftotext", {"-layout", pdf, "-"}).out;
    for (const char* part :
         {"VK-A1-16CH", "Page :1", "Customer:ACME Taxi", "Serial No:SN-7", "Range:140-175MHz",
          "TX Time Of Timer:45 s", "BEEP: ON", "Reverse Burst Tone: ON", "152.487500", "12.5K"})
        EXPECT_NE(text.find(part), std::string::npos) << part << "\n" << text;
    EXPECT_EQ(text.find("Page :2"), std::string::npos);
    EXPECT_EQ(text.find("16   NONE"), std::string::npos);

    test::ImageGenerator gen(11);
    WriteImage(dir.file("big.cfg"), gen.Make(99, 0x00, 128).image);
    ASSERT_EQ(RunCli({"print", dir.file("big.cfg"), "-o", dir.file("big.pdf")}).status, 0);
    const std::string big =
        test::RunProgram("/usr/bin/pdftotext", {"-layout", dir.file("big.pdf"), "-"}).out;
    EXPECT_NE(big.find("Page :2"), std::string::npos);

    test::WriteText(dir.file("bad.cfg"), "not a configuration");
    const CliRun bad = RunCli({"print", dir.file("bad.cfg"), "-o", dir.file("bad.pdf")});
    EXPECT_EQ(bad.status, 2);
    EXPECT_FALSE(std::filesystem::exists(dir.file("bad.pdf")));
}

}  // namespace
}  // namespace talveron
